#pragma once
// "Measured Distance": the ruler's two end points and their distance, all
// read-only.

#include "mapview/DialogService.h"

#include <QDialog>

namespace tarvo {

class CDialogRuler : public QDialog {
public:
    CDialogRuler(QWidget* parent, const CRulerText& fields);

    // Shows the dialog modally; true on OK.
    static bool Run(QWidget* parent, const CRulerText& fields);
};

} // namespace tarvo
