#pragma once
// "Measured Distance": the two points of the ruler and their distance.

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogRuler {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, const CRulerText& fields);
};

} // namespace tarvo
