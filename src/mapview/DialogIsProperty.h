#pragma once
// "Interference Source Property": name, frequency, bandwidth and notes as
// text.

#include "mapview/DialogService.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace tarvo {

class CDialogISProperty : public QDialog {
public:
    CDialogISProperty(QWidget* parent, const CSourcePropertiesText& fields);

    CSourcePropertiesText Fields() const;

    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, CSourcePropertiesText& fields);

private:
    QLineEdit* name_;
    QLineEdit* frequency_;
    QLineEdit* bandwidth_;
    QPlainTextEdit* notes_;
};

} // namespace tarvo
