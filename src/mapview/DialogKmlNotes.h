#pragma once
// "KML File Description": the description text of a KML file.

#include <QDialog>

#include <string>

class QPlainTextEdit;

namespace tarvo {

class CDialogKMLnotes : public QDialog {
public:
    CDialogKMLnotes(QWidget* parent, const std::string& description);

    // The text with "\r\n" line breaks.
    std::string Description() const;

    // Shows the dialog modally; true on OK with the text written back.
    static bool Run(QWidget* parent, std::string& description);

private:
    QPlainTextEdit* text_;
};

} // namespace tarvo
