#include "mapview/DialogKmlNotes.h"

#include "mapview/DialogLayout.h"

#include <QPlainTextEdit>

namespace tarvo {

CDialogKMLnotes::CDialogKMLnotes(QWidget* parent, const std::string& description)
    : QDialog(parent) {
    CDialogLayout layout(*this, "KML File Description", 156, 102);
    layout.Label(QStringLiteral("Please type the description for this file:"), {15, 17, 126, 8});
    text_ = layout.Notes("description", {14, 30, 126, 47}, description);
    layout.Buttons(21, 81, 87, 81);
}

std::string CDialogKMLnotes::Description() const {
    return TextOf(text_);
}

bool CDialogKMLnotes::Run(QWidget* parent, std::string& description) {
    CDialogKMLnotes dialog(parent, description);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    description = dialog.Description();
    return true;
}

} // namespace tarvo
