#pragma once
// The table output options: file, header, index column, delimiter.

#include "mapview/DialogService.h"

class QWidget;

namespace tarvo {

class CDialogSaveTable {
public:
    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, CTableOptions& options);
};

} // namespace tarvo
