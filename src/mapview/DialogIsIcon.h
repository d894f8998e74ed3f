#pragma once
// "Selct Interference Icon": six interference icons to choose from.

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogISicon {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, int& iconId);
};

} // namespace tarvo
