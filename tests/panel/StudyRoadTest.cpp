// A whole study through the panel's own widgets: map, two walks, loading on
// the worker, ticking APs, coverage, display types, power range, report,
// and a report and a coverage run cancelled half-way from the progress
// window.

#include "PanelTestSupport.h"

#include "analysis/Coverage.h"
#include "mapview/DialogProgress.h"
#include "panel/BitCheckButton.h"
#include "panel/PanelLayout.h"
#include "panel/RangeControl.h"
#include "panel/ResolutionControl.h"
#include "panel/SliderCtrlDiamond.h"
#include "support/TempDir.h"
#include "support/gui/HoldingUi.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <utility>

namespace tarvo {
namespace {

using test::Button;
using test::ClickAt;
using test::ShowPage;

using CRoadUi = test::CHoldingUi;

bool AnyAp(const CTarvoAnalyzerDoc& doc, const std::function<bool(const CAPInfo&)>& test) {
    return std::any_of(doc.aps.begin(), doc.aps.end(), test);
}

TEST(StudyRoad, ATypicalStudyThroughThePanel) {
    test::CTempDir dir;
    ASSERT_TRUE(test::WriteSampleStudyTo("office", dir.Path().string()));
    CRoadUi ui;
    test::CPanelRig rig(&ui);
    CControlView& panel = *rig.panel;
    CTarvoAnalyzerDoc& doc = rig.doc();

    // Files: the projection, two walks, processing on the worker.
    ui.QueuePath(dir.File("office.lpf"));
    ClickAt(panel, Button(10, 66));
    ASSERT_TRUE(doc.mapLoaded);
    for (const char* walk : {"walk1.ssd", "walk2.ssd"}) {
        ui.QueuePath(dir.File(walk));
        ClickAt(panel, Button(42, 66));
    }
    rig.host.setEstimatorChoice(EstimatorKind::Joint);
    ClickAt(panel, Button(138, 66));
    EXPECT_TRUE(rig.host.isBusy());
    EXPECT_FALSE(panel.button(kIdOpenSsd)->isEnabled()) << "no changes while loading";
    rig.host.waitForWorker();
    ASSERT_TRUE(doc.processed) << (ui.messages.empty() ? "" : ui.messages[0].text);
    EXPECT_EQ(doc.spareText2, "estimator=joint") << "placed by the host's choice";
    EXPECT_EQ(doc.coverageOpacity, 192);
    EXPECT_EQ(panel.opacity()->value(), 192);
    EXPECT_TRUE(doc.linearCoordinates);
    EXPECT_FALSE(panel.button(kIdCoordinates)->isEnabled()) << "linear data only";
    EXPECT_TRUE(panel.button(kIdOpenSsd)->isEnabled());
    EXPECT_GT(panel.resolution()->maximum(), panel.resolution()->minimum());
    EXPECT_TRUE(panel.resolution()->text().endsWith(QStringLiteral(" Ft")));

    // Data Study: tick every group, compute the coverage.
    ShowPage(panel, kPageDataStudy);
    CApTreeCtrl& tree = *panel.apTree();
    ASSERT_GT(tree.topLevelItemCount(), 0);
    for (int j = 0; j < tree.topLevelItemCount(); ++j)
        ClickAt(panel,
                test::TreeZone(panel, tree, tree.topLevelItem(j), CApTreeCtrl::Zone::CheckBox));
    EXPECT_TRUE(AnyAp(doc, [](const CAPInfo& ap) { return ap.selected && !ap.lines.IsEmpty(); }));
    EXPECT_EQ(doc.coverageDisplayType, kDisplayApSamples);
    ClickAt(panel, Button(138, 99)); // "Plot Graph"
    rig.host.waitForWorker();
    ASSERT_TRUE(doc.coveragePresent);
    EXPECT_EQ(doc.coverageDisplayType, kDisplayStrengthBands);
    EXPECT_TRUE(panel.button(kIdPlotOverlay)->isEnabled());

    // The analysis group, n = 6 rows of APs: y = 20 n + 184.
    const std::pair<int, int> presses[] = {{138, kDisplayApCountBands},
                                           {74, kDisplayApBands},
                                           {42, kDisplayReliability},
                                           {10, kDisplayApSamples},
                                           {106, kDisplayStrengthBands}};
    for (const auto& [x, type] : presses) {
        ClickAt(panel, Button(x, 304));
        EXPECT_EQ(doc.coverageDisplayType, type);
        EXPECT_EQ(static_cast<CBitCheckButton*>(panel.button(kIdPlotCoverage))->check(),
                  type == kDisplayStrengthBands ? 1 : 0);
    }
    EXPECT_TRUE(AnyAp(doc, [](const CAPInfo& ap) { return ap.levels[0] > 0.0; }));

    // The high thumb of the power range, at (10 + 170, 20 n + 217); the
    // low one at 10 + 30, grabbed 6 pixels into its picture and let go at
    // x = 61: trunc((51 - 6 - 25) / (140 / 60) - 90) = -81.
    test::DragAt(panel, {181, 337 + 14}, {150, 337 + 14});
    EXPECT_EQ(doc.PowerHigh, -43);
    EXPECT_FALSE(doc.coveragePresent);
    EXPECT_EQ(doc.coverageDisplayType, kDisplayNone);
    test::DragAt(panel, {41, 337 + 14}, {61, 337 + 14});
    EXPECT_EQ(doc.PowerLow, -81);

    // Reports: the report is written on the worker and opened.
    ShowPage(panel, kPageReports);
    const std::string report = dir.File("study.html");
    ui.QueuePath(report);
    ClickAt(panel, Button(90, 298));
    rig.host.waitForWorker();
    EXPECT_TRUE(std::filesystem::exists(report));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("study")));
    EXPECT_EQ(ui.opened, std::vector<std::string>{report});
    EXPECT_EQ(doc.panel.reportPath, report);

    // A second report cancelled from the progress window leaves the first
    // one as it was: the same files, not even rewritten.
    const auto identity = [](const std::string& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return std::pair(info.st_ino, info.st_mtim.tv_nsec);
    };
    const auto html = identity(report), picture = identity(dir.File("study/bmp2.bmp"));
    const auto folder = identity(dir.File("study"));
    ui.HoldAt("Draw Measurement Path...", 30);
    ui.QueuePath(report);
    ClickAt(panel, Button(90, 298));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Held(); }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Window()->isVisible(); }, 5000));
    QTest::mouseClick(ui.Window()->findChild<QPushButton*>(QStringLiteral("progressCancel")),
                      Qt::LeftButton);
    ui.Release();
    rig.host.waitForWorker();
    EXPECT_EQ(identity(report), html);
    EXPECT_EQ(identity(dir.File("study")), folder);
    EXPECT_EQ(identity(dir.File("study/bmp2.bmp")), picture);
    EXPECT_EQ(ui.opened, std::vector<std::string>{report}) << "the cancelled one is not opened";
    EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(dir.Path()), {},
                            [](const std::filesystem::directory_entry& entry) {
                                return entry.path().filename().string().rfind(".tarvo-", 0) == 0;
                            }),
              0);

    // A coverage run cancelled half-way leaves the last results as they were.
    const CArray<double> strength = doc.StrengthMatrix;
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    std::vector<std::array<double, 2>> positions;
    for (const CAPInfo& ap : doc.aps)
        positions.push_back(ap.position);
    ShowPage(panel, kPageDataStudy);
    ui.HoldAt(kCalculatingCoverageText, 35);
    ClickAt(panel, Button(138, 99));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.Held(); }, 60000));
    CDialogProgress* window = ui.Window();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("progressText"))->text(),
              QString::fromLatin1(kCalculatingCoverageText));
    EXPECT_FALSE(panel.button(kIdDeleteAp)->isEnabled());
    EXPECT_FALSE(panel.powerRange()->isEnabled());
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("progressCancel")),
                      Qt::LeftButton);
    EXPECT_FALSE(window->isVisible()) << "Cancel hides the window at once";
    ui.Release();
    rig.host.waitForWorker();
    EXPECT_FALSE(doc.coveragePresent);
    EXPECT_EQ(doc.StrengthMatrix, strength);
    EXPECT_EQ(doc.CoverageRows, rows);
    EXPECT_EQ(doc.CoverageCols, cols);
    for (int i = 0; i < doc.aps.GetSize(); ++i)
        EXPECT_EQ(doc.aps[i].position, positions[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(panel.button(kIdDeleteAp)->isEnabled());
}

} // namespace
} // namespace tarvo
