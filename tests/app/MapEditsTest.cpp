// Edits made with the pointer on the map, as the whole window shows them:
// the panel's groups keep the colours the user picked, commands that write
// the study see it as it is outside a drag, and the report keeps the zoom.

#include "FrameFixture.h"
#include "formats/WorkspaceCommands.h"
#include "mapview/ResourceEditing.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTestSupport.h"
#include "view/HitTest.h"
#include "view/ViewGeometry.h"

#include <QScrollBar>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace tarvo {
namespace {

class MapEdits : public test::FrameTest {
protected:
    QPoint ApPixel(int i) {
        const QSize client = View().ClientSize();
        const CAPInfo& ap = Doc().aps[i];
        return HitPixel(Doc(), ap.position[1], ap.position[0], client.width(), client.height());
    }
    // A valid AP whose icon no other resource hides, not in group `notIn`.
    int HittableAp(int notIn = -1) {
        const QSize client = View().ClientSize();
        for (int i = 0; i < Doc().aps.GetSize(); ++i) {
            const CHit hit = HitTestResource(Doc(), ApPixel(i), client.width(), client.height());
            if (Doc().aps[i].valid && hit.kind == kHitAp && hit.index == i && GroupOf(i) != notIn)
                return i;
        }
        return -1;
    }
    int GroupOf(int ap) {
        const auto& groups = Doc().activeGroups.groups;
        for (int j = 0; j < groups.GetSize(); ++j)
            for (const CGroupItem& item : groups[j].items)
                if (item.apIndex == ap)
                    return j;
        return -1;
    }
    CApTreeCtrl& Tree() { return *frame->Panel()->apTree(); }
    QTreeWidgetItem* GroupItem(int j) {
        for (int i = 0; i < Tree().topLevelItemCount(); ++i)
            if (CApTreeCtrl::ItemData(Tree().topLevelItem(i)) == ~j)
                return Tree().topLevelItem(i);
        return nullptr;
    }
    QColor SwatchOf(QTreeWidgetItem* item) {
        return item->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8);
    }
    void ClickSwatch(QTreeWidgetItem* item, Qt::MouseButton button) {
        QTest::mouseClick(Tree().viewport(), button, {},
                          Tree().ZoneRect(item, CApTreeCtrl::Zone::Icon).center());
    }
};

TEST_F(MapEdits, APickedGroupColourSurvivesEditsThatRegroupTheAps) {
    Load("office");
    test::ShowPage(*frame->Panel(), kPageDataStudy);
    const int a = HittableAp();
    ASSERT_GE(a, 0);
    const int j = GroupOf(a);
    ASSERT_NE(GroupItem(j), nullptr);

    // Colour mode 1 by the group's swatch, then its colour picked.
    ClickSwatch(GroupItem(j), Qt::LeftButton);
    ASSERT_EQ(Doc().coverageMode, 1);
    const ColourRef picked = 0x123456; // red in the low byte
    const QColor shown(0x56, 0x34, 0x12);
    dialogs.colourAnswers.push_back(picked);
    ClickSwatch(GroupItem(j), Qt::RightButton);
    ASSERT_EQ(Doc().activeGroups.groups[j].colour, picked);
    ASSERT_EQ(SwatchOf(GroupItem(j)), shown);

    // A double-click edit that only renames the AP.
    CApPropertiesText renamed = ApPropertiesOf(Doc(), Doc().aps[a], ui);
    renamed.name = "Lobby";
    dialogs.apAnswers.push_back(renamed);
    QTest::mouseDClick(&View(), Qt::LeftButton, {}, ApPixel(a));
    ASSERT_EQ(Doc().aps[a].name, "Lobby");
    ASSERT_EQ(GroupOf(a), j);
    EXPECT_EQ(Doc().activeGroups.groups[j].colour, picked);
    EXPECT_EQ(SwatchOf(GroupItem(j)), shown);

    // An AP of another group deleted from the map's menu.
    test::ClickAt(*frame->Panel(), test::Button(10, 99)); // "Show Access Point"
    ASSERT_TRUE(Doc().apIconsShown);
    const int b = HittableAp(j);
    ASSERT_GE(b, 0);
    const MacAddress kept = Doc().aps[a].bssid;
    const int count = Doc().aps.GetSize();
    dialogs.menuAnswers.push_back(0); // "Delete"
    QTest::mouseClick(&View(), Qt::RightButton, {}, ApPixel(b));
    ASSERT_EQ(Doc().aps.GetSize(), count - 1);
    const int moved = a > b ? a - 1 : a;
    ASSERT_EQ(Doc().aps[moved].bssid, kept);
    const int group = GroupOf(moved);
    ASSERT_GE(group, 0);
    EXPECT_EQ(Doc().activeGroups.groups[group].colour, picked);
    EXPECT_EQ(SwatchOf(GroupItem(group)), shown);
}

TEST_F(MapEdits, SavingDuringADragWritesTheStudyAsItIsOutsideTheDrag) {
    Load("office");
    const int a = HittableAp();
    ASSERT_GE(a, 0);
    const std::array<double, 2> at = Doc().aps[a].position;
    const QPoint from = ApPixel(a);

    // Lift the AP, then save with the shortcut while it is in the air.
    Trigger("moveResource");
    QTest::mousePress(&View(), Qt::LeftButton, {}, from);
    QTest::mouseMove(&View(), from + QPoint(20, 10));
    ASSERT_NE(Doc().aps[a].position, at) << "lifted out of the picture";
    ui.QueuePath(dir.File("dragged.tws"));
    QTest::keyClick(frame.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Doc().aps[a].position, at) << "the drag ends before the save";
    EXPECT_FALSE(host.isModified());
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, from + QPoint(20, 10));
    EXPECT_EQ(Doc().aps[a].position, at) << "the release after it moves nothing";
    EXPECT_FALSE(host.isModified()) << "the file on disk is the study";

    CTarvoAnalyzerDoc saved;
    ASSERT_TRUE(OpenWorkspaceFile(saved, dir.File("dragged.tws"), ui));
    EXPECT_EQ(saved.aps[a].position, at);
}

TEST_F(MapEdits, TheReportKeepsTheZoomAndTheView) {
    Load("office");
    const QSize client = View().ClientSize();
    Trigger("zoomIn");
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(client.width() / 4, client.height() / 4));
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(client.width() / 4, client.height() / 4));
    const QImage shown = View().grab().toImage(); // brings the client size up to date
    const CMapViewState view = Doc().view;
    const CBox window = Doc().ViewWindow;
    ASSERT_LT(view.zoomWidth, 1.0);

    test::ShowPage(*frame->Panel(), kPageReports);
    ui.QueuePath(dir.File("study.html"));
    test::ClickAt(*frame->Panel(), test::Button(90, 298)); // "Genereate Report"
    host.waitForWorker();
    ASSERT_TRUE(std::filesystem::exists(dir.File("study.html")));
    EXPECT_EQ(Doc().view, view);
    EXPECT_EQ(Doc().ViewWindow, window);
    EXPECT_FALSE(View().HorizontalBar()->isHidden());
    EXPECT_EQ(View().HorizontalBar()->value(), view.horizontalScroll);
    EXPECT_EQ(View().grab().toImage(), shown);
}

TEST_F(MapEdits, ADoubleClickInAZoomModeZoomsTwiceAndOpensTheHitResource) {
    Load("office");
    // Zoomed in once, so that the scroll bars are there already; then a
    // marked AP under the middle of the view, where a zoom keeps it.
    Trigger("zoomIn");
    QTest::mouseClick(&View(), Qt::LeftButton, {}, View().rect().center());
    ASSERT_FALSE(View().HorizontalBar()->isHidden());
    const QSize client = View().ClientSize();
    const QPoint middle(client.width() / 2, client.height() / 2);
    CAPMarker marker;
    ClientToSite(VisibleRect(Doc()), middle.x(), middle.y(), client.width(), client.height(),
                 marker.x, marker.y);
    marker.name = "Atrium";
    Doc().markers.Add(marker);
    host.notify(kChangeAps);

    // Through the window, as a user's: press, release, double click (in
    // place of the second press), release.
    QTest::mouseDClick(frame->windowHandle(), Qt::LeftButton, {},
                       View().mapTo(frame.get(), middle));
    EXPECT_NEAR(Doc().view.zoomWidth, 0.8 * 0.8 * 0.8, 1e-12) << "each release zooms";
    ASSERT_EQ(dialogs.apShown.size(), 1u);
    EXPECT_EQ(dialogs.apShown[0].name, "Atrium");
    EXPECT_TRUE(Act("zoomIn")->isChecked()) << "the zoom mode stays on";
}

} // namespace
} // namespace tarvo
