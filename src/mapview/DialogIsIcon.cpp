#include "mapview/DialogIsIcon.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogISicon::Run(QWidget*, int&) {
    return false;
}

} // namespace tarvo
