#include "mapview/DialogKmlNotes.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogKMLnotes::Run(QWidget*, std::string&) {
    return false;
}

} // namespace tarvo
