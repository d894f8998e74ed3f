// Studies built from hostile survey files: memory in proportion to the
// file, and locations that are no place on earth left out.

#include "analysis/ApGridLimit.h"
#include "analysis/CollectionLoader.h"
#include "support/FakeUi.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CSsdBuilder;

CSampleSpec Mac(int n) {
    CSampleSpec s;
    s.mac[4] = static_cast<std::uint8_t>(n >> 8);
    s.mac[5] = static_cast<std::uint8_t>(n);
    return s;
}

LoadOutcome Load(CTarvoAnalyzerDoc& doc, const test::CTempDir& dir, const CSsdBuilder& walk) {
    CDataFile f;
    f.title = "walk.ssd";
    f.path = dir.Write("walk.ssd", walk.Bytes());
    doc.files.Add(f);
    test::CFakeUi ui;
    return LoadCollection(doc, ui);
}

// 500 APs heard at three locations along a 100 m line: each AP's box is
// 200 times longer than wide, which alone would ask for a 20 x 2000 matrix
// per AP (160 MB in all for a 70 KB file).
TEST(HostileStudy, ApsHeardAlongAThinLineKeepMatricesInProportionToTheFile) {
    std::vector<CSampleSpec> heard;
    for (int n = 0; n < 500; ++n)
        heard.push_back(Mac(n));
    std::vector<CSampleSpec> twice = heard;
    twice.push_back(Mac(500)); // heard at two locations only
    CSsdBuilder walk;
    walk.Linear(0, 100, twice).Linear(100, 101, twice).Linear(200, 100, heard);

    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    doc.projectionKind = kProjectionLinear;
    doc.ImageWidth = doc.ImageHeight = 400;
    doc.SiteScaleX = doc.SiteScaleY = 0.5;
    ASSERT_EQ(Load(doc, dir, walk), LoadOutcome::Loaded);
    ASSERT_EQ(doc.aps.GetSize(), 501);

    std::size_t cells = 0;
    for (int i = 0; i < 500; ++i) {
        const CAPInfo& ap = doc.aps[i];
        ASSERT_EQ(ap.filteredSamples.GetSize(), 3);
        EXPECT_EQ(ap.columns, 20);
        EXPECT_GE(ap.rows, 20);
        EXPECT_EQ(ap.matrix.size(), static_cast<std::size_t>(ap.rows) * 20);
        cells += ap.matrix.size();
    }
    // 2^21 elements shared by 1502 samples: 3 / 1502 of it each, 16 MB in all.
    EXPECT_LE(cells, std::size_t{1} << 21);
    EXPECT_TRUE(doc.aps[500].matrix.IsEmpty()); // two thinned samples keep none
}

// A location whose latitude field is near its 32-bit end (596 degrees)
// changes nothing of the study; it is counted as skipped.
TEST(HostileStudy, LocationsOffTheGlobeLeaveTheStudyAsWithoutThem) {
    CSsdBuilder plain, hostile;
    for (CSsdBuilder* walk : {&plain, &hostile})
        for (int i = 0; i < 6; ++i)
            walk->Gps(60.0 + 0.0001 * i, 25.0 + 0.0002 * (i % 3), {Mac(1), Mac(2)});
    CSampleSpec loud = Mac(1);
    loud.rssi16 = -20 * 16;
    hostile.Gps(596.0, 25.0, {loud, Mac(3)});

    test::CTempDir dir;
    CTarvoAnalyzerDoc expected, doc;
    ASSERT_EQ(Load(expected, dir, plain), LoadOutcome::Loaded);
    ASSERT_EQ(Load(doc, dir, hostile), LoadOutcome::Loaded);
    EXPECT_EQ(doc.files[0].skippedLocations, 1);
    EXPECT_EQ(doc.DataExtent, expected.DataExtent);
    EXPECT_EQ(doc.AnalysisBox, expected.AnalysisBox);
    ASSERT_EQ(doc.aps.GetSize(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(doc.aps[i].samples, expected.aps[i].samples);
        EXPECT_EQ(doc.aps[i].position, expected.aps[i].position);
    }
}

} // namespace
} // namespace tarvo
