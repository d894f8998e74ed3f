// The pointer tools driven with mouse events on a canvas over the generated
// office study: moving, inserting, deleting and editing resources, the
// ruler and the information window, with the dialogs answered by a script.

#include "TestCanvas.h"

#include "analysis/Coordinates.h"
#include "mapview/InfoWnd.h"
#include "mapview/ResourceEditing.h"
#include "model/Text.h"
#include "samples/SampleStudyOpen.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"
#include "support/gui/ScriptedDialogs.h"
#include "view/HitTest.h"
#include "view/ViewGeometry.h"

#include <QTest>
#include <gtest/gtest.h>

namespace tarvo {
namespace {

constexpr QSize kCanvasSize(600, 420);

class MapInteractionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        study_ = new CTarvoAnalyzerDoc;
        test::CTempDir dir;
        test::CFakeUi ui;
        std::string error;
        ASSERT_TRUE(OpenSampleStudy(*study_, *GenerateSampleStudy("office", 1), dir.Path().string(),
                                    true, ui, error))
            << error;
    }
    static void TearDownTestSuite() {
        delete study_;
        study_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(study_);
        host.setUiServices(&ui);
        host.setDialogService(&dialogs);
        host.doc() = *study_;
        CTarvoAnalyzerDoc& d = doc();
        d.apIconsShown = d.markedApIconsShown = d.interferenceIconsShown = true;
        for (CAPInfo& ap : d.aps)
            ap.selected = 1;
        ComputeViewExtent(d, kCanvasSize.width(), kCanvasSize.height());
        canvas = std::make_unique<test::CTestCanvas>(host, kCanvasSize);
        canvas->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(canvas.get()));
    }

    CTarvoAnalyzerDoc& doc() { return host.doc(); }
    QPoint PixelOf(double x, double y) {
        return HitPixel(doc(), x, y, kCanvasSize.width(), kCanvasSize.height());
    }
    QPoint ApPixel(int i) { return PixelOf(doc().aps[i].position[1], doc().aps[i].position[0]); }
    CSitePoint SiteAt(QPoint p) {
        CSitePoint s;
        ClientToSite(VisibleRect(doc()), p.x(), p.y(), kCanvasSize.width(), kCanvasSize.height(),
                     s.x, s.y);
        return s;
    }
    // A valid AP with enough samples for a refit, its icon clear of others.
    int MovableAp() {
        for (int i = 0; i < doc().aps.GetSize(); ++i) {
            const CAPInfo& ap = doc().aps[i];
            const CHit hit =
                HitTestResource(doc(), ApPixel(i), kCanvasSize.width(), kCanvasSize.height());
            if (ap.valid && ap.filteredSamples.GetSize() >= doc().MinPointsForEstimate &&
                hit.kind == kHitAp && hit.index == i)
                return i;
        }
        return -1;
    }
    void Drag(QPoint from, QPoint to) {
        doc().view.tools[kToolMove] = 1;
        QTest::mousePress(canvas.get(), Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas.get(), (from + to) / 2);
        QTest::mouseMove(canvas.get(), to);
        QTest::mouseRelease(canvas.get(), Qt::LeftButton, {}, to);
    }
    void RightClick(QPoint p) { QTest::mouseClick(canvas.get(), Qt::RightButton, {}, p); }

    static CTarvoAnalyzerDoc* study_;
    test::CFakeUi ui;
    test::CScriptedDialogs dialogs;
    CDocumentHost host;
    std::unique_ptr<test::CTestCanvas> canvas;
};

CTarvoAnalyzerDoc* MapInteractionTest::study_ = nullptr;

TEST_F(MapInteractionTest, DraggedApIsRefittedThereOrPutBackWhenRefused) {
    const int a = MovableAp();
    ASSERT_GE(a, 0);
    doc().coveragePresent = true; // a computed coverage goes stale with the move
    doc().coverageDisplayType = kDisplayStrengthBands;
    doc().aps[a].uncertaintyM = 1.5; // as the robust estimator left it
    const CAPInfo before = doc().aps[a];
    const QPoint from = ApPixel(a), to = from + QPoint(12, -9);
    const CSitePoint site = SiteAt(to);

    Drag(from, to);
    const CAPInfo& moved = doc().aps[a];
    EXPECT_DOUBLE_EQ(moved.position[0], site.y);
    EXPECT_DOUBLE_EQ(moved.position[1], site.x);
    EXPECT_NE(moved.slope, before.slope) << "refitted at the new place";
    EXPECT_NE(moved.matrix, before.matrix);
    EXPECT_EQ(moved.uncertaintyM, 0.0) << "where the user puts it, the radius means nothing";
    EXPECT_EQ(doc().lastApPosition, moved.position);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc().coveragePresent);
    EXPECT_EQ(doc().coverageDisplayType, kDisplayNone);
    EXPECT_FALSE(doc().view.tools[kToolMove]) << "one move per mode";
    EXPECT_EQ(doc().view.hitIndex, -1);
    EXPECT_TRUE(host.isModified());

    // Onto the weakest sample's place the signal no longer falls with
    // distance: refused, and the AP goes back to where it was accepted,
    // radius and all.
    doc().aps[a].uncertaintyM = 2.0;
    const CAPInfo accepted = doc().aps[a];
    const CData* weakest = &accepted.filteredSamples[0];
    for (const CData& s : accepted.filteredSamples)
        if (s.rssi < weakest->rssi)
            weakest = &s;
    Drag(ApPixel(a), PixelOf(weakest->x, weakest->y) + QPoint(2, 2));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Invalid Position");
    EXPECT_EQ(doc().aps[a], accepted);

    // A drag released outside the view puts the AP back untouched.
    Drag(ApPixel(a), QPoint(-20, 30));
    EXPECT_EQ(doc().aps[a], accepted);
}

TEST_F(MapInteractionTest, InsertedApWithAReceivedMacPlacesThatAp) {
    const int a = MovableAp();
    ASSERT_GE(a, 0);
    const int markers = doc().markers.GetSize();
    const QPoint click(300, 200);
    const CSitePoint site = SiteAt(click);
    const CSitePoint typed{doc().aps[a].position[0] + 0.3, doc().aps[a].position[1] - 0.4};

    CApPropertiesText answer = NewApProperties(doc(), site, ui);
    answer.mac = MacText(doc().aps[a].bssid);
    answer.name = "Lobby";
    answer.firstCoordinate = Format("%4.6f", typed.y / kMetresPerFoot);
    answer.secondCoordinate = Format("%4.6f", typed.x / kMetresPerFoot);
    dialogs.apAnswers.push_back(answer);
    doc().view.tools[kToolInsertAp] = 1;
    QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, click);

    ASSERT_EQ(dialogs.apShown.size(), 1u);
    const CApPropertiesText& shown = dialogs.apShown[0];
    EXPECT_EQ(shown.mac, "00-00-00-00-00-00");
    EXPECT_EQ(shown.firstLabel, "Y (Ft):");
    EXPECT_EQ(shown.secondLabel, "   X (Ft):");
    EXPECT_EQ(shown.antennaHeightLabel, "Antenna Height (Ft):");
    EXPECT_EQ(shown.firstCoordinate, Format("%4.6f", site.y / kMetresPerFoot));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "AP Found!");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(doc().markers.GetSize(), markers) << "no marker for a received AP";
    const CAPInfo& ap = doc().aps[a];
    EXPECT_EQ(ap.name, "Lobby");
    EXPECT_TRUE(ap.valid);
    EXPECT_NEAR(ap.position[0], typed.y, 1e-5);
    EXPECT_NEAR(ap.position[1], typed.x, 1e-5);
    EXPECT_EQ(doc().lastApPosition, ap.position) << "refitted there";
    EXPECT_FALSE(doc().view.tools[kToolInsertAp]);

    // A MAC nobody received makes a marked AP where the click was.
    answer = dialogs.apShown[0];
    answer.mac = "0a-1B-2c-3D-4e-5F";
    answer.channel = "6";
    answer.notes = "first\r\nsecond";
    dialogs.apAnswers.push_back(answer);
    doc().view.tools[kToolInsertAp] = 1;
    QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, click);
    ASSERT_EQ(doc().markers.GetSize(), markers + 1);
    const CAPMarker& m = doc().markers[markers];
    EXPECT_EQ(m.bssid, (MacAddress{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}));
    EXPECT_EQ(m.icon, 174);
    EXPECT_EQ(m.channel, 6u);
    EXPECT_EQ(m.notes, "first<br>second");
    EXPECT_NEAR(m.y, site.y, 1e-5);
    EXPECT_NEAR(m.x, site.x, 1e-5);
    EXPECT_EQ(ui.messages.size(), 1u);

    // Cancel adds nothing, and the mode ends all the same.
    const int sources = doc().sources.GetSize();
    doc().view.tools[kToolInsertSource] = 1;
    QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, click);
    EXPECT_EQ(dialogs.sourceShown.size(), 1u);
    EXPECT_EQ(doc().sources.GetSize(), sources);
    EXPECT_FALSE(doc().view.tools[kToolInsertSource]);
}

TEST_F(MapInteractionTest, ContextMenuDeletesWithoutAskingAndChangesIcons) {
    const int a = MovableAp();
    ASSERT_GE(a, 0);
    const int aps = doc().aps.GetSize();
    const MacAddress deleted = doc().aps[a].bssid;
    dialogs.menuAnswers.push_back(0);
    RightClick(ApPixel(a));
    ASSERT_EQ(dialogs.menuShown.size(), 1u);
    EXPECT_EQ(dialogs.menuShown[0], (std::vector<std::string>{"Delete", "Change Icon"}));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(doc().aps.GetSize(), aps - 1);
    for (const CGroupInfo& g : doc().activeGroups.groups)
        for (const CGroupItem& item : g.items) {
            EXPECT_NE(item.bssid, deleted);
            EXPECT_EQ(doc().aps[item.apIndex].bssid, item.bssid) << "groups follow the array";
        }
    EXPECT_TRUE(host.isModified());

    const QPoint at(15, kCanvasSize.height() - 15);
    CISMarker source;
    source.y = SiteAt(at).y;
    source.x = SiteAt(at).x;
    const int added = doc().sources.Add(source);
    const CHit hit = HitTestResource(doc(), at, kCanvasSize.width(), kCanvasSize.height());
    ASSERT_EQ(hit.kind, kHitSource);
    ASSERT_EQ(hit.index, added);
    dialogs.menuAnswers.push_back(1);
    dialogs.iconAnswers.push_back(183);
    RightClick(at);
    EXPECT_EQ(dialogs.iconShown, (std::vector<int>{180}));
    EXPECT_EQ(doc().sources[added].icon, 183);

    // Hidden layers give no menu.
    doc().interferenceIconsShown = false;
    RightClick(at);
    EXPECT_EQ(dialogs.menuShown.size(), 2u);
}

TEST_F(MapInteractionTest, DoubleClickEditsTheRecordOnlyOnOk) {
    const int a = MovableAp();
    ASSERT_GE(a, 0);
    const CAPInfo before = doc().aps[a];
    QTest::mouseDClick(canvas.get(), Qt::LeftButton, {}, ApPixel(a));
    ASSERT_EQ(dialogs.apShown.size(), 1u);
    const CApPropertiesText shown = dialogs.apShown[0];
    EXPECT_EQ(shown.mac, MacText(before.bssid));
    EXPECT_EQ(shown.firstCoordinate, Format("%3.6f", before.position[0] / kMetresPerFoot));
    EXPECT_EQ(doc().aps[a], before) << "Cancel";
    EXPECT_FALSE(host.isModified());

    CApPropertiesText answer = shown;
    dialogs.apAnswers.push_back(answer);
    QTest::mouseDClick(canvas.get(), Qt::LeftButton, {}, ApPixel(a));
    EXPECT_EQ(doc().aps[a], before) << "OK with the texts unchanged";

    answer.channel = "0";
    answer.txPower = "17";
    answer.notes = "mounted\r\nhigh";
    dialogs.apAnswers.push_back(answer);
    QTest::mouseDClick(canvas.get(), Qt::LeftButton, {}, ApPixel(a));
    EXPECT_EQ(doc().aps[a].channel, before.channel) << "channel only above 0";
    EXPECT_EQ(doc().aps[a].txPower, "17");
    EXPECT_EQ(doc().aps[a].notes, "mounted<br>high");
    EXPECT_EQ(doc().aps[a].position, before.position);
    EXPECT_TRUE(host.isModified());
}

TEST_F(MapInteractionTest, RulerMeasuresBetweenPressAndRelease) {
    doc().UseFeet = false;
    doc().view.tools[kToolMeasure] = 1;
    QTest::mousePress(canvas.get(), Qt::LeftButton, {}, QPoint(-3, 10));
    EXPECT_EQ(ui.Said(), "Invalid Point: The 1st Point Is Out of View!");

    const QPoint first(100, 300), second(400, 100);
    const CSitePoint a = SiteAt(first), b = SiteAt(second);
    const double d = std::hypot(b.x - a.x, b.y - a.y);
    QTest::mousePress(canvas.get(), Qt::LeftButton, {}, first);
    QTest::mouseMove(canvas.get(), second);
    EXPECT_EQ(canvas->panes[3].toStdString(), Format("d = %5.2f m", d));
    EXPECT_EQ(canvas->panes[1].toStdString(), Format("(X1 = %5.3f, Y1 = %5.3f)", a.x, a.y));
    QTest::mouseRelease(canvas.get(), Qt::LeftButton, {}, second);
    ASSERT_EQ(dialogs.rulerShown.size(), 1u);
    const CRulerText& r = dialogs.rulerShown[0];
    EXPECT_EQ(r.firstHeader, "X");
    EXPECT_EQ(r.firstPoint1, Format("%5.3f m", a.x));
    EXPECT_EQ(r.secondPoint2, Format("%5.3f m", b.y));
    EXPECT_EQ(r.distance, Format("%5.3f m", d));
    EXPECT_FALSE(doc().view.tools[kToolMeasure]);
    EXPECT_FALSE(doc().view.tools[kToolRulerDragging]);
    // The ruler has ended: its distance leaves the status bar, and the
    // pointer's own position takes the place of the two end points.
    EXPECT_EQ(canvas->panes[3], QString());
    EXPECT_EQ(canvas->panes[1].toStdString(), Format("(X = %5.3f, Y = %5.3f)", b.x, b.y));
    EXPECT_EQ(canvas->panes[2], QString());
}

TEST_F(MapInteractionTest, InformationWindowOnAnApIcon) {
    const int a = MovableAp();
    ASSERT_GE(a, 0);
    doc().infoWindowShown = true;
    doc().aps[a].uncertaintyM = 1.75;
    const QPoint p = ApPixel(a);
    canvas->interaction.Hover(p);
    const CInfoWnd* info = canvas->interaction.InfoWindow();
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isVisible());
    const std::string ap = Format("\n %s    (AP)", MacText(doc().aps[a].bssid).c_str());
    EXPECT_NE(info->Text().toStdString().find(ap), std::string::npos) << info->Text().toStdString();
    EXPECT_NE(info->Text().toStdString().find("\n Position uncertainty 5.74 Ft (68 %)"),
              std::string::npos)
        << info->Text().toStdString();
    EXPECT_TRUE(QRect(QPoint(0, 0), kCanvasSize).contains(info->geometry()));

    QTest::mouseMove(canvas.get(), p + QPoint(3, 0));
    EXPECT_FALSE(info->isVisible()) << "hidden once the pointer moves on";
}

} // namespace
} // namespace tarvo
