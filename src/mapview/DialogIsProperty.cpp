#include "mapview/DialogIsProperty.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogISProperty::Run(QWidget*, CSourcePropertiesText&) {
    return false;
}

} // namespace tarvo
