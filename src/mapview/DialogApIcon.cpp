#include "mapview/DialogApIcon.h"

#include "mapview/IconDialog.h"
#include "view/Icons.h"

namespace tarvo {

bool CDialogAPicon::Run(QWidget* parent, int& iconId) {
    static const CIconDialogLayout layout{.title = "Select AP Icon",
                                          .width = 137,
                                          .height = 164,
                                          .okX = 12,
                                          .okY = 143,
                                          .cancelX = 73,
                                          .cancelY = 143,
                                          .selectTitle = "Please Select",
                                          .selectGroup = {17, 15, 103, 75},
                                          .selectedGroup = {45, 96, 48, 40},
                                          .firstIcon = kFirstApIcon};
    return RunIconDialog(parent, layout, iconId);
}

} // namespace tarvo
