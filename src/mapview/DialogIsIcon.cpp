#include "mapview/DialogIsIcon.h"

#include "mapview/IconDialog.h"
#include "view/Icons.h"

namespace tarvo {

bool CDialogISicon::Run(QWidget* parent, int& iconId) {
    static const CIconDialogLayout layout{.title = "Selct Interference Icon",
                                          .width = 133,
                                          .height = 159,
                                          .okX = 13,
                                          .okY = 138,
                                          .cancelX = 70,
                                          .cancelY = 138,
                                          .selectTitle = "Please Select ",
                                          .selectGroup = {15, 15, 106, 75},
                                          .selectedGroup = {45, 92, 48, 40},
                                          .firstIcon = kFirstSourceIcon};
    return RunIconDialog(parent, layout, iconId);
}

} // namespace tarvo
