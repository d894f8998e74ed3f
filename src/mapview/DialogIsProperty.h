#pragma once
// "Interference Source Property".

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogISProperty {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, CSourcePropertiesText& fields);
};

} // namespace tarvo
