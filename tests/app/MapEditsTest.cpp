// Edits made with the pointer on the map, as the whole window shows them:
// the panel's groups keep the colours the user picked, commands that write
// the study see it as it is outside a drag, and the report keeps the zoom.

#include "FrameFixture.h"
#include "mapview/ResourceEditing.h"
#include "panel/PanelLayout.h"
#include "panel/PanelTestSupport.h"
#include "view/HitTest.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tarvo
