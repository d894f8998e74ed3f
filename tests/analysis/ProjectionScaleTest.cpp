#include "analysis/Coordinates.h"
#include "analysis/ProjectionOpen.h"
#include "formats/BitmapFile.h"
#include "formats/ProjectionWriter.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvo {
namespace {

// A linear projection with a pixel scale (subtype 1) over a 4 x 3 map.
std::vector<std::uint8_t> PixelScaleFile(double sx, double sy) {
    ProjectionMatrix4 m{};
    m[0][0] = sx;
    m[1][1] = sy;
    const std::vector<std::uint8_t> rgb(4 * 3 * 3, 200);
    return EncodeProjectionFile(ProjectionFileKind::Linear, 1, m, EncodeBitmapFile(4, 3, rgb));
}

TEST(ProjectionScale, InsaneScalesAndNonFiniteMatricesAreRefusedLeavingTheStudy) {
    test::CFakeUi ui;
    CTarvoAnalyzerDoc doc;
    ASSERT_TRUE(
        ReadProjection(doc, PixelScaleFile(0.05, 0.05), ProjectionFileKind::Linear, 800, 600, ui));
    ASSERT_TRUE(ui.messages.empty());
    const CTarvoAnalyzerDoc before = doc;

    struct Case {
        double sx, sy;
        const char* message;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Case& c :
         {Case{0.05, 4.1e-322, kSingularProjectionText}, Case{1e-10, 0.05, kSingularProjectionText},
          Case{0.05, 2e9, kSingularProjectionText}, Case{nan, 0.05, kNotProjectionText},
          Case{0.05, HUGE_VAL, kNotProjectionText}}) {
        SCOPED_TRACE(c.sy);
        ui.messages.clear();
        EXPECT_FALSE(ReadProjection(doc, PixelScaleFile(c.sx, c.sy), ProjectionFileKind::Linear,
                                    800, 600, ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(doc.mapBytes, before.mapBytes);
        EXPECT_EQ(doc.ProjectionMatrix, before.ProjectionMatrix);
        EXPECT_EQ(doc.ViewWindow, before.ViewWindow);
        EXPECT_EQ(doc.SiteScaleY, before.SiteScaleY);
        EXPECT_EQ(doc.MapExtentHeight, before.MapExtentHeight);
    }
}

TEST(ProjectionScale, WindowFitNeverBecomesInfinite) {
    CBox window{0.0, 0.0, 1e-300, 1e300};
    FitWindowToClient(window, 800, 600);
    EXPECT_TRUE(std::isfinite(window.minY) && std::isfinite(window.minX));
    EXPECT_TRUE(std::isfinite(window.extentY) && std::isfinite(window.extentX));
}

} // namespace
} // namespace tarvo
