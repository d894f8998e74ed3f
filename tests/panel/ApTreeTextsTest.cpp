// Long AP-tree texts in the narrow panel: each item's tool tip shows its
// whole text, and the tree scrolls sideways to the end of the longest.

#include "PanelTestSupport.h"

#include "model/Text.h"
#include "panel/PanelLayout.h"

#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <gtest/gtest.h>

#include <vector>

namespace tarvo {
namespace {

using Zone = CApTreeCtrl::Zone;

CAPInfo ApOn(int last, const char* ssid, int channel) {
    CAPInfo ap;
    ap.bssid = {0x02, 0x54, 0x56, 0x6F, 0x00, static_cast<std::uint8_t>(last)};
    ap.ssid = SsidFromText(ssid);
    ap.channel = channel;
    ap.selected = 1;
    return ap;
}

std::vector<QTreeWidgetItem*> AllItems(CApTreeCtrl& tree) {
    std::vector<QTreeWidgetItem*> items;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        items.push_back(tree.topLevelItem(i));
        for (int c = 0; c < tree.topLevelItem(i)->childCount(); ++c)
            items.push_back(tree.topLevelItem(i)->child(c));
    }
    return items;
}

// The tool tip the tree shows for the pointer resting on `item`'s text.
QString ToolTipAt(CApTreeCtrl& tree, QTreeWidgetItem* item) {
    QToolTip::hideText();
    const QPoint at = tree.ZoneRect(item, Zone::Label).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST(ApTreeTexts, EveryItemShowsItsWholeTextAndTheTreeScrollsToIt) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    CTarvoAnalyzerDoc& doc = rig.doc();
    doc.processed = true;
    doc.linearPointsPresent = true;
    doc.aps.Add(ApOn(1, "Guest network of the east wing", 11));
    doc.aps.Add(ApOn(2, "Guest network of the east wing", 149));
    doc.aps.Add(ApOn(3, "lab", 6));
    CDataFile walk;
    walk.title = "walk1.ssd";
    walk.path = "/surveys/east wing/walk1.ssd";
    walk.selected = 1;
    doc.files.Add(walk);
    rig.host.notify(kChangeStudy);
    test::ShowPage(panel, kPageDataStudy);

    CApTreeCtrl& tree = *panel.apTree();
    ASSERT_EQ(tree.width(), ApTreeRect(1).width()) << "the panel's narrow tree";
    const std::vector<QTreeWidgetItem*> items = AllItems(tree);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[1]->text(0), "02-54-56-6F-00-01, Chan: 11");

    // Before scrolling the channel of the long texts lies past the edge.
    const int visible = tree.viewport()->width();
    EXPECT_GT(tree.ZoneRect(items[2], Zone::Label).right(), visible);
    for (QTreeWidgetItem* item : items)
        EXPECT_EQ(ToolTipAt(tree, item), item->text(0));
    QToolTip::hideText();

    // Scrolled to the end, every text ends inside the tree, at full length.
    QScrollBar* bar = tree.horizontalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    bar->setValue(bar->maximum());
    const QFontMetrics metrics(tree.font());
    for (QTreeWidgetItem* item : items) {
        const QRect label = tree.ZoneRect(item, Zone::Label);
        EXPECT_LE(label.right(), visible) << item->text(0).toStdString();
        EXPECT_GE(label.width(), metrics.horizontalAdvance(item->text(0)))
            << item->text(0).toStdString();
    }
    QToolTip::hideText();

    // A file keeps the tool tip of its own, its path; the root shows its text.
    test::ShowPage(panel, kPageFiles);
    CApTreeCtrl& files = *panel.fileList();
    ASSERT_EQ(files.topLevelItemCount(), 1);
    EXPECT_EQ(ToolTipAt(files, files.topLevelItem(0)), "SSD Files");
    EXPECT_EQ(ToolTipAt(files, files.topLevelItem(0)->child(0)), "/surveys/east wing/walk1.ssd");
    QToolTip::hideText();
}

} // namespace
} // namespace tarvo
