// The modal dialogs of the pointer tools: texts in and out, layout in
// dialog units, and the icon squares.

#include "mapview/DialogApIcon.h"
#include "mapview/DialogApProperties.h"
#include "mapview/DialogIsProperty.h"
#include "mapview/DialogLayout.h"
#include "mapview/DialogRuler.h"
#include "mapview/IconDialog.h"

#include <QApplication>
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
        EXPECT_EQ(d.size(), CDialogUnits(DialogFont()).Size(162, 249));
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
