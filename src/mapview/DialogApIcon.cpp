#include "mapview/DialogApIcon.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogAPicon::Run(QWidget*, int&) {
    return false;
}

} // namespace tarvo
