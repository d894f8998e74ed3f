#include "mapview/DialogRuler.h"

namespace tarvo {

// Placeholder until the dialog is built: behaves as Cancel.
bool CDialogRuler::Run(QWidget*, const CRulerText&) {
    return false;
}

} // namespace tarvo
