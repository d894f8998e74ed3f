#pragma once
// "Access Point Properties".

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogAPProperties {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, CApPropertiesText& fields);
};

} // namespace tarvo
