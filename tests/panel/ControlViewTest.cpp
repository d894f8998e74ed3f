// The control panel driven with the mouse at its fixed positions: what each
// command does to the document and which messages it shows.

#include "PanelTestSupport.h"

#include "model/Text.h"
#include "panel/ApTreeCommands.h"
#include "panel/BitCheckButton.h"
#include "panel/ImageTextButton.h"
#include "panel/PanelLayout.h"
#include "panel/ResolutionControl.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::Button;
using test::ClickAt;
using test::ShowPage;
using Zone = CApTreeCtrl::Zone;

int CheckOf(const CControlView& panel, int id) {
    return static_cast<CBitCheckButton*>(panel.button(id))->check();
}

TEST(ControlView, SurveyFilesAreListedOnceDeletedWhenTickedAndNeededForProcessing) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    test::CFakeUi& ui = rig.fakeUi;
    for (const char* path : {"/data/walk1.ssd", "/data/walk1.ssd", "/data/WALK1.ssd"}) {
        ui.QueuePath(std::string(path));
        ClickAt(panel, Button(42, 66)); // "Open SSD Files"
    }
    const auto& files = rig.doc().files;
    ASSERT_EQ(files.GetSize(), 2) << "a path differing only in case is another file";
    EXPECT_EQ(files[1].title, "WALK1.ssd");
    EXPECT_EQ(ui.choices[0].filter, "Tarvo Site Survey File (*.ssd)|*.ssd||");
    ASSERT_EQ(ui.Said(), "Invalid File: This file has been selected!");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);

    // Untick the first file in the list, then delete the ticked one.
    CApTreeCtrl& list = *panel.fileList();
    QTreeWidgetItem* root = list.topLevelItem(0);
    ASSERT_EQ(root->childCount(), 2);
    ClickAt(panel, test::TreeZone(panel, list, root->child(0), Zone::CheckBox));
    EXPECT_EQ(files[0].selected, 0);
    ui.QueueAnswer(MsgAnswer::Yes);
    ClickAt(panel, Button(74, 66)); // "Delete Files"
    ASSERT_EQ(files.GetSize(), 1);
    EXPECT_EQ(files[0].path, "/data/walk1.ssd");
    EXPECT_EQ(ui.messages[1].text, "Delete Selected Files?");
    EXPECT_EQ(ui.messages[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(list.topLevelItem(0)->childCount(), 1);

    ClickAt(panel, Button(138, 66)); // "Process Files" with nothing ticked
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[2].text, "Please select files");
    EXPECT_EQ(ui.messages[2].title, "No File Selected");
    EXPECT_FALSE(rig.host.isBusy());
}

TEST(ControlView, DeletingTheLastFileEmptiesTheList) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    CApTreeCtrl& list = *panel.fileList();
    EXPECT_EQ(list.topLevelItemCount(), 1) << "the root of an empty study";
    rig.fakeUi.QueuePath(std::string("/data/walk1.ssd"));
    ClickAt(panel, Button(42, 66)); // "Open SSD Files"
    ASSERT_EQ(list.topLevelItem(0)->childCount(), 1);

    rig.fakeUi.QueueAnswer(MsgAnswer::Yes);
    ClickAt(panel, Button(74, 66)); // "Delete Files"
    EXPECT_TRUE(rig.doc().files.IsEmpty());
    EXPECT_EQ(list.topLevelItemCount(), 0);

    rig.fakeUi.QueuePath(std::string("/data/walk2.ssd"));
    ClickAt(panel, Button(42, 66));
    ASSERT_EQ(list.topLevelItemCount(), 1);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("SSD Files"));
    EXPECT_EQ(list.topLevelItem(0)->child(0)->text(0), QStringLiteral("walk2.ssd"));
}

TEST(ControlView, TopStripAndDataStudyButtonsKeepTheirBounds) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    CTarvoAnalyzerDoc& doc = rig.doc();
    for (int i = 0; i < 8; ++i)
        ClickAt(panel, {113, 9}); // "Increase Grid Lines"
    EXPECT_EQ(doc.gridLineCount, 10);
    for (int i = 0; i < 8; ++i)
        ClickAt(panel, {113, 25}); // "Decrease Grid Lines"
    EXPECT_EQ(doc.gridLineCount, 3);
    ClickAt(panel, Button(1, 1)); // "Select Metric": metres
    EXPECT_FALSE(doc.UseFeet);
    EXPECT_EQ(CheckOf(panel, kIdSelectMetric), 1);
    EXPECT_TRUE(panel.resolution()->text().endsWith(QStringLiteral(" m")));

    ShowPage(panel, kPageDataStudy);
    EXPECT_EQ(doc.panel.page, kPageDataStudy);

    auto* width = static_cast<CImageTextButton*>(panel.button(kIdPathWidth));
    ClickAt(panel, Button(42, 66));
    EXPECT_EQ(doc.pathWidth, 2);
    EXPECT_EQ(width->pictureName(), QStringLiteral("path_width_2"));
    ClickAt(panel, Button(42, 66));
    ClickAt(panel, Button(42, 66));
    EXPECT_EQ(doc.pathWidth, 1);
    EXPECT_EQ(width->pictureName(), QStringLiteral("path_width_1"));

    // Before processing the study these change nothing.
    ClickAt(panel, Button(10, 66));  // "Walk Path"
    ClickAt(panel, Button(10, 224)); // "Show Color Walk Path", 20 n + 184 with n = 2
    EXPECT_FALSE(doc.pathShown);
    EXPECT_EQ(CheckOf(panel, kIdWalkPath), 0);
    EXPECT_EQ(doc.coverageDisplayType, kDisplayNone);
}

CAPInfo MakeAp(int last, const char* ssid, int channel, bool selected, int thinned) {
    CAPInfo ap;
    ap.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, static_cast<std::uint8_t>(last)};
    ap.ssid = SsidFromText(ssid);
    ap.channel = channel;
    ap.selected = selected;
    ap.colour = MakeRgb(200, 40 * last, 30);
    ap.filteredSamples.SetSize(thinned);
    return ap;
}

TEST(ControlView, ApTreeGroupsBySsidIgnoringCaseFiltersAndTicks) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    CTarvoAnalyzerDoc& doc = rig.doc();
    doc.processed = true;
    doc.linearPointsPresent = true;
    doc.aps.Add(MakeAp(0, "Office", 6, true, 1));
    doc.aps.Add(MakeAp(1, "lab", 1, false, 2));
    doc.aps.Add(MakeAp(2, "Office", 11, false, 0));
    rig.host.notify(kChangeStudy); // as after opening a workspace
    ShowPage(panel, kPageDataStudy);

    CApTreeCtrl& tree = *panel.apTree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), QStringLiteral("SSID: \"lab\""));
    EXPECT_EQ(tree.topLevelItem(1)->text(0), QStringLiteral("SSID: \"Office\""));
    EXPECT_EQ(tree.topLevelItem(1)->child(1)->text(0),
              QStringLiteral("00-11-22-33-44-02, Chan: 11"));

    ClickAt(panel, Button(170, 66)); // "Only Selected APs or All APs"
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 1);
    ClickAt(panel, Button(170, 66));
    ASSERT_EQ(tree.topLevelItemCount(), 2);

    // Ticking a group of APs that all lack thinned points: one message.
    ClickAt(panel, test::TreeZone(panel, tree, tree.topLevelItem(1), Zone::CheckBox));
    EXPECT_TRUE(doc.aps[2].selected);
    EXPECT_EQ(rig.fakeUi.Said(),
              "Invalid AP: No enough filtered points for these APs: \n\n N,\tMAC\n  1, "
              "00-11-22-33-44-00\n 0, 00-11-22-33-44-02\n \n\n N: Number of Points");
    EXPECT_TRUE(doc.aps[0].lines.IsEmpty());
    EXPECT_EQ(doc.coverageDisplayType, kDisplayApSamples);
    EXPECT_EQ(CheckOf(panel, kIdColorWalkPath), 1);

    // Swatches switch the colour mode: AP 0 -> 2 -> 0, group -> 1 -> 2 -> 1.
    QTreeWidgetItem* ap0 = tree.topLevelItem(1)->child(0);
    std::vector<int> modes;
    for (QTreeWidgetItem* item :
         {ap0, ap0, tree.topLevelItem(0), tree.topLevelItem(0), tree.topLevelItem(0)}) {
        ClickAt(panel, test::TreeZone(panel, tree, item, Zone::Icon));
        modes.push_back(doc.coverageMode);
    }
    EXPECT_EQ(modes, (std::vector<int>{2, 0, 1, 2, 1}));

    // The properties of an AP, as the map's pointer tools edit them.
    CApPropertiesText answer = ApPropertiesOf(doc, 0, rig.fakeUi);
    answer.name = "Lobby";
    rig.dialogs.apAnswers.push_back(answer);
    test::DoubleClickAt(panel, test::TreeZone(panel, tree, ap0, Zone::Label));
    ASSERT_EQ(rig.dialogs.apShown.size(), 1u);
    EXPECT_EQ(rig.dialogs.apShown[0].mac, "00-11-22-33-44-00");
    EXPECT_EQ(doc.aps[0].name, "Lobby");
}

// The power range does the same, on the road of a study.
TEST(ControlView, AResolutionChangeDropsTheShownCoverage) {
    test::CPanelRig rig;
    CControlView& panel = *rig.panel;
    CTarvoAnalyzerDoc& doc = rig.doc();
    doc.processed = true;
    doc.coveragePresent = true;
    doc.coverageDisplayType = kDisplayStrengthBands;
    rig.host.notify(kChangeStudy);
    ShowPage(panel, kPageDataStudy);
    EXPECT_TRUE(panel.button(kIdPlotCoverage)->isEnabled());
    EXPECT_EQ(CheckOf(panel, kIdPlotCoverage), 1);
    EXPECT_TRUE(panel.button(kIdReportCoverage)->isEnabled());

    // The resolution control at (113, 20 n + 251), one decimal in the panel.
    ClickAt(panel, {113 + 47, 291 + 18});
    EXPECT_EQ(panel.resolution()->text(), QStringLiteral(" 5.5 Ft"));
    EXPECT_DOUBLE_EQ(doc.Resolution, 5.5 * 0.3048);
    EXPECT_EQ(doc.coverageDisplayType, kDisplayNone);
    EXPECT_FALSE(doc.coveragePresent);
    for (int id : {kIdPlotCoverage, kIdPlotOverlay, kIdReportCoverage, kIdReportOverlay})
        EXPECT_FALSE(panel.button(id)->isEnabled()) << std::hex << id;
    EXPECT_EQ(CheckOf(panel, kIdPlotCoverage), 0);
    EXPECT_TRUE(rig.fakeUi.messages.empty());
}

} // namespace
} // namespace tarvo
