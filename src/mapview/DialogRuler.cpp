#include "mapview/DialogRuler.h"

#include "mapview/DialogLayout.h"

#include <QLineEdit>

namespace tarvo {

CDialogRuler::CDialogRuler(QWidget* parent, const CRulerText& fields) : QDialog(parent) {
    CDialogLayout layout(*this, "Measured Distance", 214, 148);
    // A 3 x 3 table of frames: row titles, then the two coordinate columns.
    const int columns[] = {10, 66, 132, 198};
    const int rows[] = {12, 40, 64, 88};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            layout.Group(QString(),
                         {columns[c], rows[r], columns[c + 1] - columns[c], rows[r + 1] - rows[r]});
    layout.Edit("firstHeader", {79, 21, 40, 14}, fields.firstHeader, true);
    layout.Edit("secondHeader", {139, 21, 48, 14}, fields.secondHeader, true);
    layout.Label(QStringLiteral("First Point:"), {14, 48, 50, 8});
    layout.Edit("firstPoint1", {69, 45, 61, 14}, fields.firstPoint1, true);
    layout.Edit("firstPoint2", {134, 45, 58, 14}, fields.firstPoint2, true);
    layout.Label(QStringLiteral("Second Point:"), {14, 72, 50, 8});
    layout.Edit("secondPoint1", {68, 69, 62, 14}, fields.secondPoint1, true);
    layout.Edit("secondPoint2", {134, 69, 59, 14}, fields.secondPoint2, true);
    layout.Label(QStringLiteral("Distance:"), {24, 104, 38, 8});
    layout.Edit("distance", {64, 101, 72, 14}, fields.distance, true);
    layout.Buttons(32, 127, 108, 127);
}

bool CDialogRuler::Run(QWidget* parent, const CRulerText& fields) {
    CDialogRuler dialog(parent, fields);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tarvo
