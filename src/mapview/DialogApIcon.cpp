#include "mapview/DialogApIcon.h"

#include "mapview/IconDialog.h"

namespace tarvo {

bool CDialogAPicon::Run(QWidget* parent, int& iconId) {
    return RunIconDialog(parent, kApIconDialog, iconId);
}

} // namespace tarvo
