#pragma once
// "Floor Plan Scale": the line drawn over a new plan's picture (read-only),
// the real length it stands for and the unit of that length.

#include "mapview/DialogService.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace tarvo {

class CDialogPlanLength : public QDialog {
public:
    CDialogPlanLength(QWidget* parent, const CPlanLengthText& fields);

    // The fields as they stand; the unit is "m" or "ft".
    CPlanLengthText Fields() const;

    // Shows the dialog modally; on OK writes the fields back and returns true.
    static bool Run(QWidget* parent, CPlanLengthText& fields);

private:
    CPlanLengthText shown_;
    QLineEdit* length_ = nullptr;
    QComboBox* unit_ = nullptr;
};

} // namespace tarvo
