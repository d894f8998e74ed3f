#include "mapview/DialogApProperties.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogAPProperties::Run(QWidget*, CApPropertiesText&) {
    return false;
}

} // namespace tarvo
