#include "FrameFixture.h"
#include "view/Icons.h"

#include <QScrollBar>

#include <atomic>
#include <filesystem>
#include <thread>

namespace tarvo {
namespace {

using test::FrameTest;

constexpr const char* kViewCommands[] = {
    "measureDistance", "zoomIn",         "zoomOut",     "fitInWindow",  "fitInMap",
    "showLegend",      "showInfoWindow", "showCompass", "insertAp",     "insertInterference",
    "moveResource",    "showMap",        "createKml",   "takeSnapshot", "outputTable"};

// "1" enabled, "0" disabled, in the order of kViewCommands.
std::string EnabledPattern(const CMainFrame& frame) {
    std::string pattern;
    for (const char* name : kViewCommands)
        pattern += frame.Action(QString::fromLatin1(name))->isEnabled() ? '1' : '0';
    return pattern;
}

QImage PointerImage(const QWidget& w) {
    return w.cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST_F(FrameTest, EnableAndCheckRulesAcrossTheStudyStates) {
    //                                       measure  ..  table
    EXPECT_EQ(EnabledPattern(*frame), "000000000000000") << "nothing loaded";

    Load("campus", false); // a GPS map alone: shown, since there are no APs
    EXPECT_EQ(EnabledPattern(*frame), "111110011111010") << "map only";
    EXPECT_TRUE(Act("showMap")->isChecked());

    Load("campus"); // processed GPS data over the map
    EXPECT_EQ(EnabledPattern(*frame), "111111111111011") << "GPS data, map shown";
    Trigger("showMap"); // the bare data: the KML export, no compass, no table
    EXPECT_FALSE(Doc().view.showMap);
    EXPECT_TRUE(host.isModified());
    EXPECT_EQ(EnabledPattern(*frame), "111111101111110") << "GPS data, map hidden";

    Trigger("showLegend");
    EXPECT_TRUE(Doc().legendShown);
    EXPECT_TRUE(Act("showLegend")->isChecked());
    Trigger("showInfoWindow");
    EXPECT_TRUE(Act("showInfoWindow")->isChecked());

    // A worker owns the document: every view command waits.
    std::atomic<bool> release{false};
    ASSERT_TRUE(host.runWorker(
        [&] {
            while (!release.load())
                std::this_thread::yield();
        },
        {}));
    EXPECT_EQ(EnabledPattern(*frame), "000000000000000") << "busy";
    EXPECT_FALSE(Act("fileOpen")->isEnabled());
    release.store(true);
    host.waitForWorker();
    EXPECT_EQ(EnabledPattern(*frame), "111111101111110");
}

TEST_F(FrameTest, PointerModesAreExclusiveWithTheirPointers) {
    Load("office");
    const struct {
        const char* action;
        int tool;
        int icon; // 0: the default pointer
    } modes[] = {{"zoomIn", kToolZoomIn, kZoomInPointerIcon},
                 {"zoomOut", kToolZoomOut, kZoomOutPointerIcon},
                 {"measureDistance", kToolMeasure, kMeasurePointerIcon},
                 {"insertAp", kToolInsertAp, kFirstApIcon},
                 {"insertInterference", kToolInsertSource, kFirstSourceIcon},
                 {"moveResource", kToolMove, 0}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.action);
        Trigger(mode.action);
        for (const auto& other : modes) {
            EXPECT_EQ(Doc().view.tools[other.tool] != 0, other.tool == mode.tool) << other.action;
            EXPECT_EQ(Act(other.action)->isChecked(), other.tool == mode.tool) << other.action;
        }
        if (mode.icon)
            EXPECT_EQ(PointerImage(View()), ProgramIcon(mode.icon));
        else
            EXPECT_EQ(View().cursor().shape(), Qt::ArrowCursor);
    }
    Trigger("moveResource"); // toggles off: no mode
    for (const auto& mode : modes)
        EXPECT_EQ(Doc().view.tools[mode.tool], 0);
}

TEST_F(FrameTest, ZoomScrollAndFitThroughTheActions) {
    Load("office");
    const CMapViewState& v = Doc().view;
    const QSize full = View().ClientSize();
    EXPECT_TRUE(View().HorizontalBar()->isHidden());

    Trigger("zoomIn");
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(full.width() / 2, full.height() / 2));
    const double cx = 0.5 * (full.width() / 2 * 2) / full.width();
    EXPECT_NEAR(v.zoomLeft, cx - 0.4, 1e-12);
    EXPECT_NEAR(v.zoomRight, cx + 0.4, 1e-12);
    EXPECT_NEAR(v.zoomWidth, 0.8, 1e-12);
    EXPECT_NEAR(v.zoomHeight, 0.8, 1e-12);
    // Zoomed in: both bars, 0..1000, and a smaller client area.
    QScrollBar* h = View().HorizontalBar();
    QScrollBar* vert = View().VerticalBar();
    ASSERT_FALSE(h->isHidden());
    ASSERT_FALSE(vert->isHidden());
    EXPECT_EQ(h->minimum(), 0);
    EXPECT_EQ(h->maximum(), 1000);
    EXPECT_EQ(h->value(), v.horizontalScroll);
    EXPECT_LT(View().ClientSize().width(), full.width());

    // Scroll to the right end and the top: the window follows.
    h->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(h->value(), 1000);
    EXPECT_NEAR(v.zoomLeft, 0.2, 1e-12);
    EXPECT_NEAR(v.zoomRight, 1.0, 1e-12);
    vert->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_NEAR(v.zoomTop, 1.0, 1e-12);
    const int before = vert->value();
    vert->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_GT(vert->value(), before);
    EXPECT_LT(v.zoomTop, 1.0);
    const int renders = View().LayerRenders();
    View().repaint();
    EXPECT_LE(View().LayerRenders(), renders + 1) << "scrolling crops the cached layers";

    // A click outside the client area is refused and changes nothing.
    const double left = v.zoomLeft;
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(-4, -4));
    EXPECT_EQ(ui.Said(), "Invalid Point: The Point Is Out of View!");
    EXPECT_EQ(v.zoomLeft, left);

    // Zooming in repeatedly wraps around to the whole picture.
    bool wrapped = false;
    for (int i = 0; i < 15 && !wrapped; ++i) {
        const double width = v.zoomWidth;
        QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(40, 40));
        wrapped = width < 0.1 && v.zoomWidth == 1.0;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_TRUE(View().HorizontalBar()->isHidden());

    // Zooming out from the whole picture at its middle.
    Trigger("zoomOut");
    const QSize client = View().ClientSize();
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(client.width() / 2, client.height() / 2));
    EXPECT_NEAR(v.zoomLeft, -0.125, 1e-3);
    EXPECT_NEAR(v.zoomRight, 1.125, 1e-3);
    EXPECT_NEAR(v.zoomBottom, -0.125, 1e-3);

    Trigger("fitInWindow");
    EXPECT_EQ(v.zoomWidth, 1.0);
    EXPECT_EQ(v.zoomLeft, 0.0);
    Trigger("fitInMap"); // the map and the data, with a tenth's margin
    EXPECT_LE(Doc().ViewWindow.minX, -Doc().MapExtentWidth / 10 + 1e-9);
    EXPECT_EQ(v.zoomWidth, 1.0);
}

TEST_F(FrameTest, SnapshotKmlAndTableCommands) {
    Load("campus");
    const QSize client = View().ClientSize();

    ui.QueuePath(dir.File("view.final.bmp"));
    Trigger("takeSnapshot");
    ASSERT_TRUE(std::filesystem::exists(dir.File("view.bmp")));
    const QImage snapshot(QString::fromStdString(dir.File("view.bmp")));
    EXPECT_EQ(snapshot.size(), client);

    Trigger("showMap"); // the KML export takes the bare data
    ui.QueuePath(dir.File("site.kml"));
    ui.QueuePath(std::nullopt); // the picture beside it
    dialogs.kmlAnswers.push_back(std::string("north wing"));
    Trigger("createKml");
    EXPECT_NE(test::ReadText(dir.File("site.kml")).find("<description> north wing"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.File("site.bmp")));
    EXPECT_EQ(dialogs.kmlShown.size(), 1u);

    Trigger("showMap"); // the table is offered over the map
    CTableOptions options;
    options.path = dir.File("table.txt");
    options.fileChosen = true;
    options.delimiter = kDelimiterComma;
    dialogs.tableAnswers.push_back(options);
    Trigger("outputTable");
    host.waitForWorker();
    EXPECT_EQ(dialogs.tableShown, 1);
    EXPECT_EQ(test::ReadText(dir.File("table.txt")).rfind("#,Lat,Lon,CH(MHz),", 0), 0u);
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir.File("table.txt")});
}

} // namespace
} // namespace tarvo
