// "Record Walk..." driven through the real window: the dialog answered by
// script, clicks on the map scanned with saved scans or a fake iw, the walk
// saved after every point, Ctrl+Z, Esc, the file list and "Process Files",
// and View > Throughput over a walk measured with a fake iperf3.

#include "FrameFixture.h"
#include "app/RecordCommands.h"
#include "app/StatusPanes.h"
#include "import/ImportFiles.h"
#include "mapview/DialogRecordWalk.h"
#include "mapview/RecordTool.h"
#include "model/LittleEndian.h"
#include "record/RecordSession.h"
#include "record/ReplayScanSource.h"
#include "support/FakePrograms.h"
#include "support/RecordedWalkBytes.h"
#include "view/ViewGeometry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cstdlib>

namespace tarvo {
namespace {

using test::FrameTest;
using test::RecordData;

void KeepPicture(QWidget& widget, const char* name) {
    if (const char* folder = std::getenv("TARVO_SCREENSHOT_DIR"))
        widget.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
}

// The locations of a survey file: (pixel x, pixel y, samples), read by hand
// from the layout (record area at 25, 36-byte locations, 48-byte samples).
struct CStored {
    int px, py, samples;
    bool operator==(const CStored&) const = default;
};
std::vector<CStored> Stored(const std::vector<std::uint8_t>& file) {
    std::vector<CStored> out;
    if (file.size() < 33)
        return out;
    const std::uint32_t sampleSize = GetU32(file.data() + 29);
    for (std::size_t at = 33; at + 36 <= file.size();) {
        const int samples = GetU16(file.data() + at + 34);
        out.push_back({GetU16(file.data() + at + 9), GetU16(file.data() + at + 11), samples});
        at += 36 + static_cast<std::size_t>(samples) * sampleSize;
    }
    return out;
}

class RecordWalkTest : public FrameTest {
protected:
    // The office plan (60 x 40 m, 1200 x 800 pixels) with no survey file.
    void OpenPlan() {
        Load("office", false);
        Doc().files.RemoveAll();
        host.notify(kChangeStudy);
    }
    // The view pixel over site (x, y).
    QPoint At(double x, double y) {
        const QSize size = View().ClientSize();
        const CClientPoint p = SiteToClient(VisibleRect(Doc()), x, y, size.width(), size.height());
        return {static_cast<int>(p.px), static_cast<int>(p.py)};
    }
    QString Pane(int pane) { return frame->StatusPanes()->Pane(pane)->text(); }
    void Click(QPoint p) {
        QTest::mouseClick(&View(), Qt::LeftButton, {}, p);
        host.waitForWorker();
    }
    CRecordCommands& Recording() { return *frame->Recording(); }
    void StartReplay(const std::string& folder, const std::string& iperf = "") {
        CRecordWalkText answer;
        answer.replayFolder = folder;
        answer.iperfServer = iperf;
        dialogs.recordWalkAnswers.push_back(answer);
        ui.QueuePath(dir.File("walk.ssd"));
        Trigger("fileRecordWalk");
    }
};

TEST_F(RecordWalkTest, ClicksRecordAWalkSavedAfterEveryPoint) {
    OpenPlan();
    StartReplay(RecordData("replay"));
    ASSERT_EQ(dialogs.recordWalkShown.size(), 1u);
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_EQ(ui.choices[0].title, "Save the recorded walk");
    EXPECT_EQ(ui.choices[0].defaultName, dir.File("office/walk.ssd")) << "beside the plan";
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
    ASSERT_TRUE(View().RecordingActive());
    EXPECT_EQ(View().cursor().shape(), Qt::BitmapCursor) << "the recording's own pointer";
    EXPECT_TRUE(Act("editUndo")->isEnabled());
    EXPECT_EQ(Act("fileRecordWalk")->text(), "&End the Recorded Walk");
    EXPECT_EQ(Pane(4), "0 points recorded");
    EXPECT_FALSE(std::filesystem::exists(dir.File("walk.ssd"))) << "written at the first point";

    // scan-1 at the first point, scan-2 at the second (undone), scan-3
    // (nothing heard) at the third.
    Click(At(10.0, 30.0));
    EXPECT_EQ(Pane(4), "1 point recorded");
    EXPECT_EQ(Stored(test::ReadBytes(dir.File("walk.ssd"))).size(), 1u);
    Click(At(25.0, 20.0));
    EXPECT_EQ(Stored(test::ReadBytes(dir.File("walk.ssd"))).size(), 2u);
    KeepPicture(*frame, "record-walk-two-points.png");
    QTest::keyClick(&View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Pane(4), "1 point recorded");
    EXPECT_EQ(Stored(test::ReadBytes(dir.File("walk.ssd"))).size(), 1u) << "saved at once";
    Click(At(40.0, 12.0));
    Click(At(50.0, 8.0)); // scan-10
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
    KeepPicture(*frame, "record-walk.png");

    // Each point lies under its click: within a view pixel of the plan's
    // pixel there (the view shows 20 map pixels in fewer than 20 of its own).
    const std::vector<std::uint8_t> bytes = test::ReadBytes(dir.File("walk.ssd"));
    const std::vector<CStored> stored = Stored(bytes);
    ASSERT_EQ(stored.size(), 3u);
    const double perViewPixel = VisibleRect(Doc()).wv / View().ClientSize().width() / 0.05;
    const double wanted[3][2] = {{10.0 / 0.05, 800 - 30.0 / 0.05},
                                 {40.0 / 0.05, 800 - 12.0 / 0.05},
                                 {50.0 / 0.05, 800 - 8.0 / 0.05}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(stored[i].px, wanted[i][0], perViewPixel + 1.0) << i;
        EXPECT_NEAR(stored[i].py, wanted[i][1], perViewPixel + 1.0) << i;
    }
    EXPECT_EQ(stored[0].samples, 2);
    EXPECT_EQ(stored[1].samples, 0);
    EXPECT_EQ(stored[2].samples, 1);

    // The same walk recorded by the engine at those pixels, from the same
    // scans (the undone point used one of them), is the same file.
    CRecordSession expected(*PlanOfStudy(Doc()), 0);
    CReplayScanSource replay(RecordData("replay"));
    std::vector<CScan> scans;
    for (int i = 0; i < 4; ++i)
        scans.push_back(*replay.Scan().scan);
    const int used[3] = {0, 2, 3};
    for (int i = 0; i < 3; ++i)
        expected.Add({ImportFrame::Pixels, static_cast<double>(stored[i].px),
                      static_cast<double>(stored[i].py)},
                     {scans[used[i]]});
    EXPECT_EQ(test::WithoutTimes(bytes), test::WithoutTimes(expected.WalkBytes()));

    // Esc ends the walk: listed, and "Process Files" offered and taken.
    ui.QueueAnswer(MsgAnswer::Yes);
    QTest::keyClick(&View(), Qt::Key_Escape);
    host.waitForWorker();
    EXPECT_FALSE(View().RecordingActive());
    EXPECT_FALSE(Act("editUndo")->isEnabled());
    EXPECT_EQ(Act("fileRecordWalk")->text(), "Record &Walk...");
    EXPECT_EQ(Pane(4), "");
    ASSERT_EQ(ui.messages.size(), 1u) << ui.Said();
    EXPECT_EQ(ui.messages[0].text,
              "The walk \"walk.ssd\" holds 3 points and is in the file list. Process Files now?");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    ASSERT_EQ(Doc().files.GetSize(), 1);
    EXPECT_EQ(Doc().files[0].path, dir.File("walk.ssd"));
    EXPECT_TRUE(Doc().processed) << ui.Said();
    EXPECT_EQ(Doc().points.GetSize(), 3);
    EXPECT_EQ(Doc().aps.GetSize(), 3);
    EXPECT_TRUE(Doc().pathShown) << "the walk stays on the map";
    KeepPicture(*frame, "record-walk-processed.png");
}

TEST_F(RecordWalkTest, AScanOnTheWorkerShowsScanningAndAFreshScanFallsBackToTheCache) {
    OpenPlan();
    // An iw that may only read the cache, and takes its time.
    test::CPathFirst path(dir.Path(), true);
    test::WriteScript(
        dir.Path(), "iw",
        "if [ \"$4\" = dump ]; then /bin/sleep 0.5; /bin/cat '" + RecordData("replay/scan-2.txt") +
            "'; exit 0; fi\n"
            "[ \"$1\" = dev ] && [ -z \"$2\" ] && { echo '\tInterface wlan0'; exit 0; }\n"
            "echo 'command failed: Operation not permitted (-1)' >&2; exit 255");
    CRecordWalkText answer;
    answer.source = "wlan0";
    answer.scansPerPoint = 2;
    dialogs.recordWalkAnswers.push_back(answer);
    ui.QueuePath(dir.File("walk.ssd"));
    Trigger("fileRecordWalk");
    ASSERT_TRUE(View().RecordingActive()) << ui.Said();

    View().repaint(); // the map as the user sees it before the click
    QTest::mouseClick(&View(), Qt::LeftButton, {}, At(20.0, 20.0));
    EXPECT_TRUE(host.isBusy());
    EXPECT_EQ(Pane(4), "Scanning... 0 points recorded");
    EXPECT_FALSE(Act("fileRecordWalk")->isEnabled()) << "nothing else starts meanwhile";
    KeepPicture(*frame, "record-walk-scanning.png");
    // A second click while the scan runs records nothing.
    QTest::mouseClick(&View(), Qt::LeftButton, {}, At(30.0, 20.0));
    host.waitForWorker();
    EXPECT_EQ(Pane(4), "1 point recorded");
    ASSERT_EQ(ui.messages.size(), 1u) << ui.Said();
    EXPECT_EQ(ui.messages[0].title, "Record Walk");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    EXPECT_NE(ui.messages[0].text.find("CAP_NET_ADMIN"), std::string::npos);
    EXPECT_NE(ui.messages[0].text.find("may be stale"), std::string::npos);
    ASSERT_EQ(Recording().Session()->Count(), 1u);
    EXPECT_EQ(Recording().Session()->Points()[0].scans, 2);
    EXPECT_EQ(Recording().Session()->Points()[0].heard, (std::vector<std::uint16_t>{2, 2, 2}));

    // The next scan reads the cache at once, without a second note.
    Click(At(30.0, 20.0));
    EXPECT_EQ(ui.messages.size(), 1u) << ui.Said();
    // The command again ends the walk; No leaves the study unprocessed.
    ui.QueueAnswer(MsgAnswer::No);
    Trigger("fileRecordWalk");
    EXPECT_FALSE(View().RecordingActive());
    EXPECT_EQ(Doc().files.GetSize(), 1);
    EXPECT_FALSE(Doc().processed);
}

TEST_F(RecordWalkTest, RefusalsAndFailuresKeepTheWalk) {
    // Without a plan nothing starts.
    Trigger("fileRecordWalk");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "No Floor Plan");
    EXPECT_TRUE(dialogs.recordWalkShown.empty());

    OpenPlan();
    ui.messages.clear();
    // A folder without scans is refused and the dialog comes back; Cancel.
    CRecordWalkText empty;
    empty.replayFolder = dir.File("nothing");
    dialogs.recordWalkAnswers.push_back(empty);
    Trigger("fileRecordWalk");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "The replay folder " + dir.File("nothing") + " does not exist or is not a folder.");
    EXPECT_EQ(dialogs.recordWalkShown.size(), 2u);
    EXPECT_EQ(dialogs.recordWalkShown[1].replayFolder, dir.File("nothing")) << "as typed";
    EXPECT_FALSE(View().RecordingActive());

    // Without iperf3 the walk is recorded without throughput, after a word.
    test::CPathFirst path(dir.Path(), true);
    ui.messages.clear();
    StartReplay(RecordData("replay"), "192.168.10.2");
    ASSERT_TRUE(View().RecordingActive());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Iperf3 is not installed (or not on the PATH): the throughput is not measured "
              "(Debian package iperf3). The walk is recorded without it.");

    // A click beside the plan is refused before anything is scanned.
    ui.messages.clear();
    Click(At(-3.0, 20.0));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Invalid Point");
    EXPECT_FALSE(std::filesystem::exists(dir.File("walk.ssd")));
    Click(At(5.0, 5.0));
    EXPECT_FALSE(std::filesystem::exists(dir.File("walk.throughput.csv")));

    // Out of scans: the point is not recorded, the walk goes on.
    for (int i = 0; i < 3; ++i)
        Click(At(10.0 + i, 5.0));
    ui.messages.clear();
    Click(At(20.0, 5.0));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Scan Error");
    EXPECT_EQ(ui.messages[0].text, "The replay folder " + RecordData("replay") +
                                       " has no more scans (4 used). The point is not recorded.");
    EXPECT_EQ(Recording().Session()->Count(), 4u);
    EXPECT_TRUE(View().RecordingActive());

    // Opening another study ends the walk; its points stay on disk.
    ui.messages.clear();
    Trigger("fileNew");
    EXPECT_FALSE(View().RecordingActive());
    ASSERT_EQ(ui.messages.size(), 1u) << ui.Said();
    EXPECT_EQ(ui.messages[0].text, "The map changed, so the recorded walk has ended. Its 4 points "
                                   "are saved in \"" +
                                       dir.File("walk.ssd") + "\".");
    EXPECT_EQ(Stored(test::ReadBytes(dir.File("walk.ssd"))).size(), 4u);
}

TEST_F(RecordWalkTest, ThroughputAlongTheWalkIsShownByTheViewMenu) {
    OpenPlan();
    test::CPathFirst path(dir.Path(), true);
    // A fake iperf3 whose rates grow by 10 Mbit/s with every run, from 15:
    // the downloads are 15, 35, 55 and 75 Mbit/s.
    test::WriteCountingIperf(dir.Path(), 5000000);
    EXPECT_FALSE(Act("viewThroughput")->isEnabled()) << "not processed yet";
    StartReplay(RecordData("replay"), "192.168.10.2");
    ASSERT_TRUE(View().RecordingActive()) << ui.Said();
    // Inside the plan's rooms, away from its walls.
    const double places[4][2] = {{12.0, 12.0}, {34.0, 28.0}, {56.0, 12.0}, {33.0, 13.0}};
    for (const auto& place : places)
        Click(At(place[0], place[1]));
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
    EXPECT_EQ(Pane(5), "Throughput: down 75.0 Mbit/s, up 85.0 Mbit/s");
    const std::string csv = test::ReadText(dir.File("walk.throughput.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "x_m,y_m,down_bps,up_bps,jitter_ms");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);

    ui.QueueAnswer(MsgAnswer::Yes);
    QTest::keyClick(&View(), Qt::Key_Escape);
    host.waitForWorker();
    ASSERT_TRUE(Doc().processed) << ui.Said();
    EXPECT_EQ(Pane(5), "");
    ASSERT_TRUE(Act("viewThroughput")->isEnabled());
    Doc().legendShown = true;
    Trigger("viewThroughput");
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayThroughput);
    EXPECT_TRUE(Act("viewThroughput")->isChecked());
    ASSERT_EQ(Doc().throughput.size(), 4u);
    EXPECT_EQ(Doc().throughput[3].downBps, 75e6);
    EXPECT_TRUE(host.isModified());
    View().RefreshFrame();
    View().repaint();
    KeepPicture(*frame, "throughput-view.png");

    // Just above the point of 55 Mbit/s (band 5 of 0..100), clear of its
    // ring and of the walk path, the others far away: that band's colour
    // blended with the coverage opacity over the plan's light floor.
    const CThroughputPoint& measured = Doc().throughput[2];
    EXPECT_EQ(measured.downBps, 55e6);
    const QColor shown = View().Picture().pixelColor(At(measured.x - 0.1, measured.y + 0.5));
    const ColourRef band = Doc().CoveragePalette[9 - 5];
    const double alpha = Doc().coverageOpacity / 255.0;
    EXPECT_NEAR(shown.red(), RedOf(band) * alpha + 245 * (1 - alpha), 12);
    EXPECT_NEAR(shown.green(), GreenOf(band) * alpha + 245 * (1 - alpha), 12);
    EXPECT_NEAR(shown.blue(), BlueOf(band) * alpha + 245 * (1 - alpha), 12);

    // Again: back to no view.
    Trigger("viewThroughput");
    EXPECT_EQ(Doc().coverageDisplayType, kDisplayNone);
    EXPECT_FALSE(Act("viewThroughput")->isChecked());
}

TEST(RecordWalkDialog, FieldsByName) {
    CRecordWalkText fields;
    fields.interfaces = {"wlan0", "wlan1"};
    fields.source = "wlan1";
    fields.scansPerPoint = 3;
    CDialogRecordWalk dialog(nullptr, fields);
    auto* source = dialog.findChild<QComboBox*>(QStringLiteral("source"));
    auto* folder = dialog.findChild<QLineEdit*>(QStringLiteral("replayFolder"));
    auto* scans = dialog.findChild<QSpinBox*>(QStringLiteral("scansPerPoint"));
    auto* server = dialog.findChild<QLineEdit*>(QStringLiteral("iperfServer"));
    ASSERT_TRUE(source && folder && scans && server);
    EXPECT_EQ(dialog.windowTitle(), "Record Walk");
    ASSERT_EQ(source->count(), 3);
    EXPECT_EQ(source->currentText(), "wlan1");
    EXPECT_EQ(source->itemText(2), "Saved scans (replay folder)");
    EXPECT_FALSE(folder->isEnabled()) << "only for the replay";
    EXPECT_EQ(scans->value(), 3);
    dialog.show();
    KeepPicture(dialog, "record-walk-dialog.png");
    source->setCurrentIndex(2);
    EXPECT_TRUE(folder->isEnabled());
    folder->setText(QStringLiteral("/data/scans"));
    scans->setValue(500);
    server->setText(QStringLiteral("perf.local"));
    CRecordWalkText expected = fields;
    expected.source = "";
    expected.replayFolder = "/data/scans";
    expected.scansPerPoint = 100;
    expected.iperfServer = "perf.local";
    EXPECT_EQ(dialog.Fields(), expected);
}

} // namespace
} // namespace tarvo
