#include "mapview/DialogIsProperty.h"

#include "mapview/DialogLayout.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace tarvo {

CDialogISProperty::CDialogISProperty(QWidget* parent, const CSourcePropertiesText& fields)
    : QDialog(parent) {
    CDialogLayout layout(*this, "Interference Source Property", 136, 156);
    layout.Label(QStringLiteral("Name:"), {14, 18, 42, 8});
    name_ = layout.Edit("name", {58, 15, 66, 14}, fields.name);
    layout.Label(QStringLiteral("Frequency:"), {14, 37, 42, 8});
    frequency_ = layout.Edit("frequency", {58, 34, 66, 14}, fields.frequency);
    layout.Label(QStringLiteral("Bandwidth:"), {14, 56, 42, 8});
    bandwidth_ = layout.Edit("bandwidth", {58, 53, 66, 14}, fields.bandwidth);
    layout.Label(QStringLiteral("Notes:"), {14, 76, 40, 8});
    notes_ = layout.Notes("notes", {14, 86, 108, 42}, fields.notes);
    layout.Buttons(16, 135, 77, 135);
}

CSourcePropertiesText CDialogISProperty::Fields() const {
    return {TextOf(name_), TextOf(frequency_), TextOf(bandwidth_), TextOf(notes_)};
}

bool CDialogISProperty::Run(QWidget* parent, CSourcePropertiesText& fields) {
    CDialogISProperty dialog(parent, fields);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.Fields();
    return true;
}

} // namespace tarvo
