#pragma once
// "Access Point Properties": every field of an AP as text; the caller
// chooses the coordinate and antenna-height labels and reads the texts back.

#include "mapview/DialogService.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace tarvo {

class CDialogAPProperties : public QDialog {
public:
    CDialogAPProperties(QWidget* parent, const CApPropertiesText& fields);

    // The texts as they stand; labels come back as they were given.
    CApPropertiesText Fields() const;

    // Shows the dialog modally; true on OK with the fields written back.
    static bool Run(QWidget* parent, CApPropertiesText& fields);

private:
    CApPropertiesText given_;
    QLineEdit* mac_;
    QLineEdit* ssid_;
    QLineEdit* name_;
    QLineEdit* channel_;
    QLineEdit* first_;
    QLineEdit* second_;
    QLineEdit* txPower_;
    QLineEdit* direction_;
    QLineEdit* gain_;
    QLineEdit* height_;
    QPlainTextEdit* notes_;
};

} // namespace tarvo
