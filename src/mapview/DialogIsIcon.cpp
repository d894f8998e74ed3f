#include "mapview/DialogIsIcon.h"

#include "mapview/IconDialog.h"

namespace tarvo {

bool CDialogISicon::Run(QWidget* parent, int& iconId) {
    return RunIconDialog(parent, kSourceIconDialog, iconId);
}

} // namespace tarvo
