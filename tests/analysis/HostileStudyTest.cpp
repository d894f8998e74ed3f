// A study built from a hostile survey file: memory in proportion to the
// file.

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

} // namespace
} // namespace tarvo
