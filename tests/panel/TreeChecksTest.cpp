// The check boxes of the file list and the AP tree show the document's
// flags after every click, double click and key press, as the user sees
// them: read back from the widget, not from the document alone.

#include "PanelTestSupport.h"

#include "model/Text.h"
#include "panel/PanelLayout.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using Zone = CApTreeCtrl::Zone;

CAPInfo MakeAp(int last, const char* ssid, bool selected) {
    CAPInfo ap;
    ap.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, static_cast<std::uint8_t>(last)};
    ap.ssid = SsidFromText(ssid);
    ap.channel = 6;
    ap.selected = selected;
    return ap;
}

bool Ticked(const QTreeWidgetItem* item) {
    return item->checkState(0) == Qt::Checked;
}

class TreeChecks : public ::testing::Test {
protected:
    void SetUp() override {
        CTarvoAnalyzerDoc& doc = rig.doc();
        doc.processed = true;
        doc.linearPointsPresent = true;
        doc.aps.Add(MakeAp(0, "Office", true));
        doc.aps.Add(MakeAp(1, "Office", false));
        doc.aps.Add(MakeAp(2, "lab", false));
        for (const char* name : {"walk1.ssd", "walk2.ssd"}) {
            CDataFile file;
            file.title = name;
            file.path = std::string("/data/") + name;
            file.selected = 1;
            doc.files.Add(file);
        }
        rig.host.notify(kChangeStudy);
    }

    // Clicks the check box of `item` with a real press and release.
    void ClickBox(CApTreeCtrl& tree, QTreeWidgetItem* item) {
        test::ClickAt(*rig.panel, test::TreeZone(*rig.panel, tree, item, Zone::CheckBox));
    }
    // Through the window, as a user's: press, release, double click (in
    // place of the second press), release.
    void DoubleClickBox(CApTreeCtrl& tree, QTreeWidgetItem* item) {
        QTest::mouseDClick(rig.panel->windowHandle(), Qt::LeftButton, {},
                           test::TreeZone(*rig.panel, tree, item, Zone::CheckBox));
    }
    void PressSpace(CApTreeCtrl& tree, QTreeWidgetItem* item) {
        tree.setCurrentItem(item);
        QTest::keyClick(&tree, Qt::Key_Space);
    }

    test::CPanelRig rig;
};

TEST_F(TreeChecks, AnApBoxFollowsItsApThroughClicksDoubleClicksAndSpace) {
    test::ShowPage(*rig.panel, kPageDataStudy);
    CApTreeCtrl& tree = *rig.panel->apTree();
    CTarvoAnalyzerDoc& doc = rig.doc();
    ASSERT_EQ(tree.topLevelItemCount(), 2); // "lab", then "Office"
    QTreeWidgetItem* office = tree.topLevelItem(1);
    QTreeWidgetItem* first = office->child(0);
    ASSERT_EQ(CApTreeCtrl::ItemData(first), 0);
    ASSERT_TRUE(Ticked(first));

    // Each click flips the AP once, and the box shows it.
    for (const bool expected : {false, true, false}) {
        ClickBox(tree, first);
        EXPECT_EQ(doc.aps[0].selected != 0, expected);
        EXPECT_EQ(Ticked(first), expected);
    }
    // A double click is two ticks: back where it was.
    DoubleClickBox(tree, first);
    EXPECT_EQ(doc.aps[0].selected, 0);
    EXPECT_FALSE(Ticked(first));
    // Space ticks the current item like a click on its box.
    PressSpace(tree, first);
    EXPECT_EQ(doc.aps[0].selected, 1);
    EXPECT_TRUE(Ticked(first));
    PressSpace(tree, first);
    EXPECT_EQ(doc.aps[0].selected, 0);
    EXPECT_FALSE(Ticked(first));
}

TEST_F(TreeChecks, AGroupBoxTicksItsMembersAndShowsWhatTheyAre) {
    test::ShowPage(*rig.panel, kPageDataStudy);
    CApTreeCtrl& tree = *rig.panel->apTree();
    CTarvoAnalyzerDoc& doc = rig.doc();
    QTreeWidgetItem* office = tree.topLevelItem(1);
    ASSERT_EQ(office->childCount(), 2);
    EXPECT_EQ(office->checkState(0), Qt::PartiallyChecked) << "one of two selected";

    ClickBox(tree, office); // half ticked: all of them
    EXPECT_TRUE(doc.aps[0].selected && doc.aps[1].selected);
    EXPECT_EQ(office->checkState(0), Qt::Checked);
    EXPECT_TRUE(Ticked(office->child(0)) && Ticked(office->child(1)));

    ClickBox(tree, office);
    EXPECT_FALSE(doc.aps[0].selected || doc.aps[1].selected);
    EXPECT_EQ(office->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(Ticked(office->child(0)) || Ticked(office->child(1)));

    DoubleClickBox(tree, office);
    EXPECT_FALSE(doc.aps[0].selected || doc.aps[1].selected);
    EXPECT_EQ(office->checkState(0), Qt::Unchecked);

    QTreeWidgetItem* lab = tree.topLevelItem(0);
    PressSpace(tree, lab);
    EXPECT_TRUE(doc.aps[2].selected);
    EXPECT_EQ(lab->checkState(0), Qt::Checked);
}

TEST_F(TreeChecks, FileBoxesAndTheRootFollowTheFiles) {
    CApTreeCtrl& list = *rig.panel->fileList();
    CTarvoAnalyzerDoc& doc = rig.doc();
    // The list is filled again after every tick: items are looked up anew.
    QTreeWidgetItem* root = list.topLevelItem(0);
    ASSERT_EQ(root->childCount(), 2);

    for (const bool expected : {false, true, false}) {
        ClickBox(list, list.topLevelItem(0)->child(1));
        EXPECT_EQ(doc.files[1].selected != 0, expected);
        EXPECT_EQ(Ticked(list.topLevelItem(0)->child(1)), expected);
    }
    EXPECT_FALSE(Ticked(list.topLevelItem(0))) << "not every file is ticked";

    ClickBox(list, list.topLevelItem(0)); // the root ticks every file
    EXPECT_TRUE(doc.files[0].selected && doc.files[1].selected);
    root = list.topLevelItem(0);
    EXPECT_TRUE(Ticked(root) && Ticked(root->child(0)) && Ticked(root->child(1)));

    DoubleClickBox(list, root->child(0));
    EXPECT_EQ(doc.files[0].selected, 1);
    EXPECT_TRUE(Ticked(list.topLevelItem(0)->child(0)));

    PressSpace(list, list.topLevelItem(0)->child(0));
    EXPECT_EQ(doc.files[0].selected, 0);
    EXPECT_FALSE(Ticked(list.topLevelItem(0)->child(0)));
}

} // namespace
} // namespace tarvo
