#include "mapview/DialogSaveTable.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogSaveTable::Run(QWidget*, CTableOptions&) {
    return false;
}

} // namespace tarvo
