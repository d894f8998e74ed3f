#include "mapview/DialogPlanLength.h"

#include "mapview/DialogLayout.h"

#include <QComboBox>
#include <QLineEdit>

namespace tarvo {

CDialogPlanLength::CDialogPlanLength(QWidget* parent, const CPlanLengthText& fields)
    : QDialog(parent), shown_(fields) {
    CDialogLayout layout(*this, "Floor Plan Scale", 186, 96);
    layout.Label(QStringLiteral("How long is the line you drew, in reality?"), {10, 8, 166, 8});
    layout.Label(QStringLiteral("Line on the picture:"), {10, 26, 70, 8});
    layout.Edit("pixels", {84, 23, 92, 14}, fields.pixels, true);
    layout.Label(QStringLiteral("Real length:"), {10, 48, 70, 8});
    length_ = layout.Edit("length", {84, 45, 52, 14}, fields.length);
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("unit"));
    unit_->addItems({QStringLiteral("m"), QStringLiteral("ft")});
    unit_->setCurrentIndex(fields.unit == "ft" ? 1 : 0);
    unit_->setGeometry(layout.Units().Rect(140, 45, 36, 14));
    layout.Buttons(30, 72, 106, 72);
    length_->setFocus();
}

CPlanLengthText CDialogPlanLength::Fields() const {
    CPlanLengthText fields = shown_;
    fields.length = TextOf(length_);
    fields.unit = unit_->currentText().toStdString();
    return fields;
}

bool CDialogPlanLength::Run(QWidget* parent, CPlanLengthText& fields) {
    CDialogPlanLength dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.Fields();
    return true;
}

} // namespace tarvo
