// The modal dialogs of the pointer tools: texts in and out, layout in
// dialog units, and the icon squares.

#include "mapview/DialogApIcon.h"
#include "mapview/DialogApProperties.h"
#include "mapview/DialogIsProperty.h"
#include "mapview/DialogKmlNotes.h"
#include "mapview/DialogLayout.h"
#include "mapview/DialogRuler.h"
#include "mapview/DialogSaveTable.h"
#include "mapview/IconDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace tarvo {
namespace {

// Presses a button of the modal dialog once it runs.
void PressWhenShown(const char* button, std::function<void(QDialog&)> before = {}) {
    QTimer::singleShot(0, [button, before] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        if (before)
            before(*dialog);
        dialog->findChild<QPushButton*>(button)->click();
    });
}

TEST(Dialogs, ApPropertiesPassTextsInAndOutOnOkOnly) {
    CApPropertiesText fields;
    fields.mac = "00-1A-2B-3C-4D-5E";
    fields.firstLabel = "Y (m):";
    fields.secondLabel = "   X (m):";
    fields.antennaHeightLabel = "Antenna Height (m):";
    fields.notes = "a\r\nb";
    const CApPropertiesText given = fields;

    PressWhenShown("cancel",
                   [](QDialog& d) { d.findChild<QLineEdit*>("name")->setText("changed"); });
    EXPECT_FALSE(CDialogAPProperties::Run(nullptr, fields));
    EXPECT_EQ(fields, given);

    PressWhenShown("ok", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Access Point Properties");
        EXPECT_EQ(d.height(), CDialogUnits(DialogFont()).Y(249));
        EXPECT_EQ(d.findChild<QLabel*>("secondLabel")->text(), "   X (m):");
        EXPECT_EQ(d.findChild<QLineEdit*>("antennaHeightLabel")->text(), "Antenna Height (m):");
        EXPECT_EQ(d.findChild<QPlainTextEdit*>("notes")->toPlainText(), "a\nb");
        d.findChild<QLineEdit*>("name")->setText("Lobby");
        d.findChild<QPlainTextEdit*>("notes")->setPlainText("one\ntwo");
    });
    ASSERT_TRUE(CDialogAPProperties::Run(nullptr, fields));
    CApPropertiesText expected = given;
    expected.name = "Lobby";
    expected.notes = "one\r\ntwo";
    EXPECT_EQ(fields, expected);

    CSourcePropertiesText source{"Oven", "2450 MHz", "", ""};
    PressWhenShown("ok", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Interference Source Property");
        d.findChild<QLineEdit*>("bandwidth")->setText("20 MHz");
    });
    ASSERT_TRUE(CDialogISProperty::Run(nullptr, source));
    EXPECT_EQ(source, (CSourcePropertiesText{"Oven", "2450 MHz", "20 MHz", ""}));
}

TEST(Dialogs, RulerFieldsAreReadOnly) {
    const CRulerText r{"Lon", "Lat", "1", "2", "3", "4", "5.000 KM"};
    CDialogRuler dialog(nullptr, r);
    EXPECT_EQ(dialog.windowTitle(), "Measured Distance");
    const auto edits = dialog.findChildren<QLineEdit*>();
    EXPECT_EQ(edits.size(), 7);
    for (const QLineEdit* edit : edits)
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    EXPECT_EQ(dialog.findChild<QLineEdit*>("distance")->text(), "5.000 KM");
}

// Titles must fit the title bar: the dialogs whose templates are narrower
// than their title needs grow to the right; height and every control stay
// where the template puts them.
TEST(Dialogs, EachDialogIsAsWideAsItsTitleNeedsWithItsControlsInPlace) {
    const CDialogUnits units(DialogFont());
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);

    CDialogAPProperties ap(nullptr, CApPropertiesText{});
    CDialogISProperty source(nullptr, CSourcePropertiesText{});
    CDialogRuler ruler(nullptr, CRulerText{});
    CDialogKMLnotes kml(nullptr, "");
    CIconDialog apIcon(nullptr, kApIconDialog, kApIconDialog.firstIcon);
    CIconDialog sourceIcon(nullptr, kSourceIconDialog, kSourceIconDialog.firstIcon);
    struct CCase {
        QDialog& dialog;
        QSize template_; // dialog units
        QRect ok;        // dialog units
        const char* field = nullptr;
        QRect fieldAt = {};
    };
    const CCase cases[] = {
        {ap, {162, 249}, {20, 228, 50, 14}, "mac", {60, 17, 76, 14}},
        {source, {136, 156}, {16, 135, 50, 14}, "name", {58, 15, 66, 14}},
        {ruler, {214, 148}, {32, 127, 50, 14}, "distance", {64, 101, 72, 14}},
        {kml, {156, 102}, {21, 81, 50, 14}, "description", {14, 30, 126, 47}},
        {apIcon, {137, 164}, {12, 143, 50, 14}},
        {sourceIcon, {133, 159}, {13, 138, 50, 14}},
    };
    for (const CCase& c : cases) {
        const std::string name = c.dialog.windowTitle().toStdString();
        const int text = title.horizontalAdvance(c.dialog.windowTitle());
        const int templateWidth = units.X(c.template_.width());
        // Room for the text, the window icon and a close button at least;
        // a template already wide enough is kept as it is.
        EXPECT_GE(c.dialog.width(), text + 4 * title.lineSpacing()) << name;
        if (templateWidth >= text + 12 * title.lineSpacing()) {
            EXPECT_EQ(c.dialog.width(), templateWidth) << name;
        }
        EXPECT_GE(c.dialog.width(), templateWidth) << name;
        EXPECT_EQ(c.dialog.height(), units.Y(c.template_.height())) << name;
        EXPECT_EQ(c.dialog.minimumSize(), c.dialog.maximumSize()) << name << " keeps a fixed size";
        const auto at = [&](const QRect& r) {
            return units.Rect(r.x(), r.y(), r.width(), r.height());
        };
        EXPECT_EQ(c.dialog.findChild<QPushButton*>("ok")->geometry(), at(c.ok)) << name;
        if (c.field) {
            EXPECT_EQ(c.dialog.findChild<QWidget*>(c.field)->geometry(), at(c.fieldAt)) << name;
        }
    }
    // The table dialog is laid out by Qt, wide enough for its title.
    CDialogSaveTable table(nullptr, CTableOptions{});
    table.adjustSize();
    EXPECT_GE(table.width(),
              title.horizontalAdvance(table.windowTitle()) + 4 * title.lineSpacing());

    // The long titles of the narrow templates are the ones that grow.
    EXPECT_GT(ap.width(), units.X(162));
    EXPECT_GT(source.width(), units.X(136));
    EXPECT_GT(kml.width(), units.X(156));
    EXPECT_GT(sourceIcon.width(), units.X(133));
}

TEST(Dialogs, IconSquaresSelectAndGapsKeepTheSelection) {
    const CIconDialogLayout& layout = kApIconDialog;
    CIconDialog dialog(nullptr, layout, 176);
    EXPECT_EQ(dialog.SelectedIndex(), 2);
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(100, 110));
    EXPECT_EQ(dialog.SelectedIcon(), 178);
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(78, 50)); // between two squares
    EXPECT_EQ(dialog.SelectedIcon(), 178);
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(42, 40));
    EXPECT_EQ(dialog.SelectedIcon(), 174);
    EXPECT_EQ(CIconDialog(nullptr, layout, 0).SelectedIcon(), 174) << "an unknown id";

    int id = 179;
    PressWhenShown("ok", [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select AP Icon");
        QTest::mouseClick(&d, Qt::LeftButton, {}, QPoint(130, 50));
    });
    ASSERT_TRUE(CDialogAPicon::Run(nullptr, id));
    EXPECT_EQ(id, 176);
}

} // namespace
} // namespace tarvo
