// "New Floor Plan from Image..." and "Import Survey Data..." driven through
// the real window: the calibration line dragged over the picture, the
// length dialog, the plan opened as the study's map, and a walk imported
// into the file list and processed.

#include "FrameFixture.h"
#include "app/StatusPanes.h"
#include "formats/FileIo.h"
#include "mapview/DialogPlanLength.h"
#include "model/Text.h"
#include "panel/ApTreeCtrl.h"
#include "panel/ControlView.h"
#include "panel/PanelLayout.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace tarvo {
namespace {

using test::FrameTest;

// Keeps a picture of a widget where TARVO_SCREENSHOT_DIR says, for a
// person to look at; nothing otherwise.
void KeepPicture(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("TARVO_SCREENSHOT_DIR"))
        widget.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
}

// A plan drawing: walls on white, a grey room.
QImage FloorPicture() {
    QImage image(400, 300, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillRect(60, 60, 120, 90, QColor(220, 220, 220));
    painter.setPen(QPen(Qt::black, 4));
    painter.drawRect(20, 20, 360, 260);
    painter.drawLine(200, 20, 200, 180);
    return image;
}

class ImportCommandsTest : public FrameTest {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        return dir.Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    // The view position of a point of the picture being calibrated.
    QPoint OnPicture(double x, double y) {
        const QRectF shown = View().PlanCalibrationPicture();
        return QPoint(static_cast<int>(std::lround(shown.left() + x * shown.width() / 400.0)),
                      static_cast<int>(std::lround(shown.top() + y * shown.height() / 300.0)));
    }
    // The picture point under a view position.
    QPointF PicturePoint(QPoint p) {
        const QRectF shown = View().PlanCalibrationPicture();
        return {(p.x() - shown.left()) * 400.0 / shown.width(),
                (p.y() - shown.top()) * 300.0 / shown.height()};
    }
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(&View(), Qt::LeftButton, {}, from);
        QTest::mouseMove(&View(), to);
        QTest::mouseRelease(&View(), Qt::LeftButton, {}, to);
    }
    std::string StartCalibration() {
        const std::string png = dir.File("floor.png");
        EXPECT_TRUE(FloorPicture().save(QString::fromStdString(png)));
        ui.QueuePath(png);
        Trigger("fileNewPlan");
        EXPECT_TRUE(View().PlanCalibrationActive());
        return png;
    }
};

TEST_F(ImportCommandsTest, ANewPlanIsCalibratedSavedAndOpened) {
    const std::string png = StartCalibration();
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_EQ(ui.choices[0].title, "New Floor Plan from Image");
    EXPECT_TRUE(Doc().processed == false && !Doc().mapLoaded) << "the study is not touched yet";
    KeepPicture(*frame, "new-plan-calibration.png");

    // Along the top wall, 360 pixels of the picture: 18 m.
    const QPoint a = OnPicture(20, 20), b = OnPicture(380, 20);
    const QPointF pa = PicturePoint(a), pb = PicturePoint(b);
    const double pixels = std::hypot(pb.x() - pa.x(), pb.y() - pa.y());
    dialogs.planLengthAnswers.push_back(CPlanLengthText{"", "18", "m"});
    ui.QueuePath(dir.File("floor.lpf"));
    QTest::mousePress(&View(), Qt::LeftButton, {}, a);
    QTest::mouseMove(&View(), b);
    EXPECT_EQ(frame->StatusPanes()->Pane(1)->text(),
              QStringLiteral("Line: %1 pixels").arg(pixels, 0, 'f', 1));
    KeepPicture(*frame, "new-plan-line.png");
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, b);

    ASSERT_EQ(dialogs.planLengthShown.size(), 1u);
    EXPECT_EQ(dialogs.planLengthShown[0].pixels, Format("%.1f pixels", pixels));
    EXPECT_EQ(dialogs.planLengthShown[0].unit, "ft") << "the study's unit";
    EXPECT_EQ(dialogs.planLengthShown[0].length, "");
    ASSERT_EQ(ui.choices.size(), 2u);
    EXPECT_EQ(ui.choices[1].defaultName, dir.File("floor.lpf")) << "beside the picture";
    EXPECT_FALSE(View().PlanCalibrationActive());
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();

    // The plan is the study's map now, at the measured scale.
    EXPECT_TRUE(Doc().mapLoaded);
    EXPECT_EQ(Doc().projectionKind, kProjectionLinear);
    EXPECT_EQ(Doc().ImageWidth, 400);
    EXPECT_EQ(Doc().ImageHeight, 300);
    EXPECT_DOUBLE_EQ(Doc().SiteScaleX, 18.0 / pixels);
    EXPECT_EQ(Doc().projectionPath, dir.File("floor.lpf"));
    EXPECT_TRUE(host.isModified());
    KeepPicture(*frame, "new-plan-opened.png");
}

TEST_F(ImportCommandsTest, TheCalibrationCanBeRedrawnAndLeft) {
    StartCalibration();
    // A click is no line; a press beside the picture is refused.
    QTest::mouseClick(&View(), Qt::LeftButton, {}, OnPicture(100, 100));
    EXPECT_TRUE(dialogs.planLengthShown.empty());
    const QRectF shown = View().PlanCalibrationPicture();
    if (shown.left() > 2) {
        QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(1, 200));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Start the line on the picture.");
        EXPECT_EQ(ui.messages[0].title, "Invalid Point");
        QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(1, 200));
    }
    // Cancel in the length dialog goes back to the picture; a length that
    // is no number is refused and asked again.
    Drag(OnPicture(20, 20), OnPicture(20, 280));
    EXPECT_EQ(dialogs.planLengthShown.size(), 1u);
    EXPECT_TRUE(View().PlanCalibrationActive());
    dialogs.planLengthAnswers.push_back(CPlanLengthText{"", "ten", "m"});
    dialogs.planLengthAnswers.push_back(std::nullopt);
    Drag(OnPicture(20, 20), OnPicture(20, 280));
    EXPECT_EQ(dialogs.planLengthShown.size(), 3u);
    EXPECT_EQ(ui.messages.back().text,
              "Please type the real length of the line, a number above 0.");
    EXPECT_EQ(dialogs.planLengthShown[2].length, "ten") << "shown again as typed";
    EXPECT_TRUE(View().PlanCalibrationActive());

    QTest::keyClick(&View(), Qt::Key_Escape);
    EXPECT_FALSE(View().PlanCalibrationActive());
    StartCalibration();
    QTest::mouseClick(&View(), Qt::RightButton, {}, OnPicture(100, 100));
    EXPECT_FALSE(View().PlanCalibrationActive());
    EXPECT_FALSE(Doc().mapLoaded);
    EXPECT_FALSE(std::filesystem::exists(dir.File("floor.lpf")));
}

TEST_F(ImportCommandsTest, AnImportedWalkJoinsTheFileListAndIsProcessed) {
    Load("office", false); // the office plan: 60 x 40 m
    const int filesBefore = Doc().files.GetSize();
    std::string csv = "x_m,y_m,bssid,ssid,rssi\n";
    for (int i = 0; i < 40; ++i) {
        const double x = 5.0 + i, y = 10.0 + (i % 7);
        const double d = std::hypot(x - 20.0, y - 12.0);
        csv += Format("%.1f,%.1f,02:aa:00:00:00:01,Imported,%.2f\n", x, y,
                      -35.0 - 30.0 * std::log10(std::max(d, 1.0)));
    }
    const std::string input = Write("walk.csv", csv);
    ui.QueuePath(input);
    ui.QueuePath(dir.File("walk.ssd"));
    Trigger("fileImportSurvey");
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
    ASSERT_EQ(ui.choices.size(), 2u);
    EXPECT_EQ(ui.choices[1].defaultName, dir.File("walk.ssd"));
    ASSERT_EQ(Doc().files.GetSize(), filesBefore + 1);
    const CDataFile& added = Doc().files[filesBefore];
    EXPECT_EQ(added.title, "walk.ssd");
    EXPECT_EQ(added.path, dir.File("walk.ssd"));
    EXPECT_EQ(added.selected, 1);
    EXPECT_FALSE(Doc().processed);
    // The panel lists it under "SSD Files", its path as the tip.
    const QTreeWidgetItem* root = frame->Panel()->fileList()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->childCount(), filesBefore + 1);
    EXPECT_EQ(root->child(filesBefore)->text(0), "walk.ssd");
    EXPECT_EQ(root->child(filesBefore)->toolTip(0).toStdString(), dir.File("walk.ssd"));
    KeepPicture(*frame, "import-file-list.png");

    // Processed as any survey file.
    QTest::mouseClick(frame->Panel()->button(kIdProcessFiles), Qt::LeftButton);
    host.waitForWorker();
    ASSERT_TRUE(Doc().processed) << ui.Said();
    bool found = false;
    for (const CAPInfo& ap : Doc().aps)
        found = found || SsidText(ap.ssid) == "Imported";
    EXPECT_TRUE(found);

    // Imported again over the same file: listed once.
    ui.QueuePath(input);
    ui.QueuePath(dir.File("walk.ssd"));
    Trigger("fileImportSurvey");
    EXPECT_EQ(Doc().files.GetSize(), filesBefore + 1);
    EXPECT_FALSE(Doc().processed);
}

TEST_F(ImportCommandsTest, RefusedRowsAreListedInOneMessage) {
    Load("office", false);
    const int filesBefore = Doc().files.GetSize();
    std::string csv = "x_m,y_m,bssid,rssi\n1,1,02:aa:00:00:00:01,-50\n";
    for (int i = 0; i < 25; ++i)
        csv += "1,1,bad-mac,-50\n";
    const std::string input = Write("bad.csv", csv);
    ui.QueuePath(input);
    ui.QueueAnswer(MsgAnswer::No);
    Trigger("fileImportSurvey");
    ASSERT_EQ(ui.messages.size(), 1u);
    const test::CRecordedMessage& m = ui.messages[0];
    EXPECT_EQ(m.title, "Import Survey Data");
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
    std::string expected = "25 rows were refused:\n";
    for (int line = 3; line < 23; ++line)
        expected += input + ":" + std::to_string(line) + ": bad MAC 'bad-mac'\n";
    expected += "... and 5 more\n\nImport the other rows?";
    EXPECT_EQ(m.text, expected);
    EXPECT_EQ(ui.choices.size(), 1u) << "no save dialog after No";
    EXPECT_EQ(Doc().files.GetSize(), filesBefore);

    // Positions in site metres without a plan: one error with the way out.
    frame->MapView()->StopPlanCalibration();
    Trigger("fileNew");
    ui.messages.clear();
    ui.QueuePath(Write("metres.csv", "x_m,y_m,bssid,rssi\n1,1,02:aa:00:00:00:01,-50\n"));
    Trigger("fileImportSurvey");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Invalid File");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_TRUE(ui.messages[0].text.find("need a plan") != std::string::npos);
    EXPECT_TRUE(ui.messages[0].text.find("New Floor Plan from Image") != std::string::npos);
    EXPECT_EQ(Doc().files.GetSize(), 0);
}

TEST(PlanLengthDialog, FieldsByName) {
    CDialogPlanLength dialog(nullptr, CPlanLengthText{"412.3 pixels", "", "ft"});
    auto* pixels = dialog.findChild<QLineEdit*>(QStringLiteral("pixels"));
    auto* length = dialog.findChild<QLineEdit*>(QStringLiteral("length"));
    auto* unit = dialog.findChild<QComboBox*>(QStringLiteral("unit"));
    ASSERT_TRUE(pixels && length && unit);
    EXPECT_TRUE(pixels->isReadOnly());
    EXPECT_EQ(pixels->text(), "412.3 pixels");
    EXPECT_EQ(unit->currentText(), "ft");
    EXPECT_EQ(dialog.windowTitle(), "Floor Plan Scale");
    length->setText(QStringLiteral("25,5"));
    unit->setCurrentIndex(0);
    EXPECT_EQ(dialog.Fields(), (CPlanLengthText{"412.3 pixels", "25,5", "m"}));
    dialog.show();
    KeepPicture(dialog, "plan-length-dialog.png");
}

} // namespace
} // namespace tarvo
