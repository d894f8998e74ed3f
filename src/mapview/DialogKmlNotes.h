#pragma once
// "KML File Description".

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogKMLnotes {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, std::string& description);
};

} // namespace tarvo
