#include "analysis/CollectionLoader.h"
#include "analysis/SampleSets.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CSampleSpec;
using test::CSsdBuilder;

CSampleSpec Ap(std::uint8_t last, const std::string& ssid = "net", int channel = 6) {
    CSampleSpec s;
    s.mac[5] = last;
    s.ssid = ssid;
    s.channel = channel;
    return s;
}

class CollectionLoaderTest : public ::testing::Test {
protected:
    // A linear projection without a map image: 0.5 m per pixel, 200 rows,
    // so pixel (column, row) lies at X = column / 2, Y = 100 - row / 2.
    void UseLinearProjection() {
        doc.projectionKind = kProjectionLinear;
        doc.ImageHeight = 200;
        doc.ImageWidth = 200;
        doc.SiteScaleX = 0.5;
        doc.SiteScaleY = 0.5;
    }
    void AddFile(const std::string& name, const CSsdBuilder& builder, bool selected = true) {
        CDataFile f;
        f.title = name;
        f.path = dir.Write(name, builder.Bytes());
        f.selected = selected ? 1 : 0;
        doc.files.Add(f);
    }

    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    CFakeUi ui;
};

TEST_F(CollectionLoaderTest, ApsMergeAcrossFilesWithTheirColours) {
    UseLinearProjection();
    CSsdBuilder a, b;
    a.Linear(10, 10, {Ap(1)});
    b.Linear(20, 20, {Ap(1), Ap(2)});
    AddFile("a.ssd", a);
    AddFile("b.ssd", b);

    ASSERT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    ASSERT_EQ(doc.aps.GetSize(), 2);
    EXPECT_EQ(SsidText(doc.aps[0].ssid), "net");
    EXPECT_EQ(SsidText(doc.aps[1].ssid), "net");
    ASSERT_EQ(doc.aps[0].samples.GetSize(), 2);
    EXPECT_EQ(doc.aps[0].samples[0], (CData{95.0, 5.0, -60.0, -95}));
    EXPECT_EQ(doc.aps[0].samples[1], (CData{90.0, 10.0, -60.0, -95}));
    // Seeds 174 (file a), 226 (AP 1), 26 (file b), 78 (AP 2).
    EXPECT_EQ(doc.files[0].colour, HueWheelColour(174));
    EXPECT_EQ(doc.aps[0].colour, HueWheelColour(226));
    EXPECT_EQ(doc.files[1].colour, HueWheelColour(26));
    EXPECT_EQ(doc.aps[1].colour, HueWheelColour(78));
    EXPECT_EQ(doc.aps[0].frequency, 2437);
    EXPECT_TRUE(doc.processed);
    // A loaded study is drawn with its coverage visible and its APs grouped.
    EXPECT_EQ(doc.coverageOpacity, 192);
    ASSERT_EQ(doc.activeGroups.groups.GetSize(), 1);
    EXPECT_EQ(doc.activeGroups.groups[0].items.GetSize(), 2);
}

TEST_F(CollectionLoaderTest, WithoutMergingApsAreNamedAfterTheirFile) {
    UseLinearProjection();
    doc.MergeApsAcrossFiles = false;
    CSsdBuilder skipped, a, b;
    skipped.Linear(1, 1, {Ap(7)});
    a.Linear(10, 10, {Ap(1)});
    b.Linear(20, 20, {Ap(1), Ap(2, "abcdefghijklmnopqrstuvwxyz0123")}); // 30 characters
    AddFile("skipped.ssd", skipped, false);
    AddFile("a.ssd", a);
    AddFile("b.ssd", b);
    ASSERT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    ASSERT_EQ(doc.aps.GetSize(), 3);
    // The first selected file keeps the plain SSID (the skipped one does
    // not count); the SSID text is cut to its 32 bytes.
    EXPECT_EQ(SsidText(doc.aps[0].ssid), "net");
    EXPECT_EQ(SsidText(doc.aps[1].ssid), "net: b.ssd");
    EXPECT_EQ(SsidText(doc.aps[2].ssid), "abcdefghijklmnopqrstuvwxyz0123: ");
}

TEST_F(CollectionLoaderTest, MixedGpsAndLinearDataAreRefusedAndTheStudyKept) {
    // A linear projection without a map lets both kinds through the reader.
    UseLinearProjection();
    CSsdBuilder gps, linear;
    gps.Gps(1.0, 2.0, {Ap(1)});
    linear.Linear(10, 10, {Ap(2)});
    AddFile("gps.ssd", gps);
    AddFile("linear.ssd", linear);
    CAPInfo old;
    old.ssid = SsidFromText("old");
    doc.aps.Add(old);
    CDataPoint oldPoint;
    oldPoint.northing = 1234;
    doc.points.Add(oldPoint);
    doc.processed = true;
    doc.spareText2 = "estimator=joint"; // the old APs were placed by the joint fit
    doc.estimator = EstimatorKind::Study;

    EXPECT_EQ(LoadCollection(doc, ui), LoadOutcome::MixedData);
    EXPECT_EQ(ui.Said(), std::string("Reselect Files: ") + kMixedDataText);
    ASSERT_EQ(doc.aps.GetSize(), 1);
    EXPECT_EQ(SsidText(doc.aps[0].ssid), "old");
    ASSERT_EQ(doc.points.GetSize(), 1);
    EXPECT_EQ(doc.points[0].northing, 1234);
    EXPECT_TRUE(doc.processed);
    EXPECT_EQ(doc.estimator, EstimatorKind::Joint);
    EXPECT_TRUE(ui.progress.Texts().empty());
}

TEST_F(CollectionLoaderTest, ProgressTextsAndResolution) {
    UseLinearProjection();
    CSsdBuilder a;
    // A 40 m x 10 m walk: fine 40 / 200 = 0.2, coarse 10 / 20 = 0.5, so the
    // resolution is clamped into [0.2, 0.5] from the last AP's 0.25.
    a.Linear(0, 0, {Ap(1), Ap(2)}).Linear(80, 20, {Ap(1)}).Linear(40, 10, {Ap(2)});
    AddFile("a.ssd", a);
    ASSERT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    EXPECT_EQ(ui.progress.Texts(),
              (std::vector<std::string>{"Loading Collection Data ...", "Process 1 out of 2 APs....",
                                        "Process 2 out of 2 APs...."}));
    EXPECT_FALSE(ui.progress.Visible());
    EXPECT_EQ(doc.AnalysisBox, (CBox{90.0, 0.0, 10.0, 40.0}));
    EXPECT_DOUBLE_EQ(doc.Resolution, 0.25);
    EXPECT_FALSE(doc.coveragePresent);
}

TEST_F(CollectionLoaderTest, RefusedLoadLeavesNoUnconvertedMarkers) {
    CSsdBuilder gps, linear;
    gps.Gps(1.0, 2.0, {Ap(1)}).MarkedAp(3600000, 7200000, 6, "net", "desk");
    linear.Linear(10, 10, {Ap(2)});
    AddFile("gps.ssd", gps);
    AddFile("linear.ssd", linear);

    // Nothing selected ends the command.
    doc.files[0].selected = doc.files[1].selected = 0;
    EXPECT_EQ(LoadCollection(doc, ui), LoadOutcome::NotLoaded);
    EXPECT_FALSE(doc.processed);
    // No projection: the linear file stops the load.
    doc.files[0].selected = doc.files[1].selected = 1;
    EXPECT_EQ(LoadCollection(doc, ui), LoadOutcome::NotLoaded);
    EXPECT_EQ(ui.messages.size(), 1u); // the reader's message
    EXPECT_TRUE(doc.markers.IsEmpty());

    doc.files[1].selected = 0;
    ASSERT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    ASSERT_EQ(doc.markers.GetSize(), 1);
    const CAPMarker first = doc.markers[0];
    EXPECT_TRUE(first.inSiteUnits);
    // The marker stands where the point at the same latitude/longitude is.
    EXPECT_NEAR(first.y, doc.points[0].northing / 100.0, 0.01);
    EXPECT_NEAR(first.x, doc.points[0].easting / 100.0, 0.01);

    // Reloading neither duplicates nor converts it a second time.
    ASSERT_EQ(LoadCollection(doc, ui), LoadOutcome::Loaded);
    ASSERT_EQ(doc.markers.GetSize(), 1);
    EXPECT_EQ(doc.markers[0].y, first.y);
    EXPECT_EQ(doc.markers[0].x, first.x);
}

TEST(ResolutionRangeTest, CoarseAndFineEnds) {
    // 100 x 10: fine 0.5, coarse 0.5 -> value coarse, range coarse .. 2 coarse.
    CResolutionRange r = ResolutionRangeFor({0, 0, 10, 100}, 7.0);
    EXPECT_TRUE(r.usable);
    EXPECT_EQ(r.value, 0.5);
    EXPECT_EQ(r.low, 0.5);
    EXPECT_EQ(r.high, 1.0);
    // 100 x 50: fine 0.5, coarse 2.5; the value is clamped into them.
    r = ResolutionRangeFor({0, 0, 50, 100}, 0.1);
    EXPECT_EQ(r.value, 0.5);
    EXPECT_EQ(r.low, 0.5);
    EXPECT_EQ(r.high, 2.5);
    EXPECT_EQ(ResolutionRangeFor({0, 0, 50, 100}, 3.0).value, 2.5);
    EXPECT_FALSE(ResolutionRangeFor({0, 0, 0, 100}, 1.0).usable);
    EXPECT_FALSE(ResolutionRangeFor({0, 0, -5, 100}, 1.0).usable);
}

} // namespace
} // namespace tarvo
