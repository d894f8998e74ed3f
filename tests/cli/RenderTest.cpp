// tarvo render: argument checks and pictures of a small GPS walk.

#ifdef TARVO_HAVE_tarvo_view

#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CSsdBuilder;
using test::RunTarvo;

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A 7 x 7 GPS grid about 11 m apart; one AP near the middle whose
        // signal falls off with distance.
        CSsdBuilder walk;
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j) {
                const double d = std::hypot((i - 3.2) * 11.0, (j - 2.7) * 11.0);
                CSampleSpec s;
                s.mac[5] = 1;
                s.rssi16 = static_cast<std::int16_t>(
                    std::lround((-30 - 25 * std::log10(std::max(d, 1.0))) * 16));
                walk.Gps(1.0 + i * 0.0001, 2.0 + j * 0.0001, {s});
            }
        survey = dir.Write("walk.ssd", walk.Bytes());
    }

    // Distinct colours of a picture, as 0xRRGGBB.
    static std::set<unsigned> Colours(const QImage& image) {
        std::set<unsigned> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y) & 0xFFFFFFu);
        return colours;
    }

    test::CTempDir dir;
    std::string survey;
};

TEST_F(RenderTest, RefusesBadArguments) {
    const std::string out = dir.Path().string() + "/x.png";
    EXPECT_EQ(RunTarvo({"render", survey, "--type", "6", "--out", out}).status, 2);
    EXPECT_EQ(RunTarvo({"render", survey, "--out", dir.Path().string() + "/x.gif"}).status, 2);
    EXPECT_EQ(RunTarvo({"render", survey, "--out", out, "--size", "800"}).status, 2);
    EXPECT_EQ(RunTarvo({"render", survey, "--out", out, "--opacity", "300"}).status, 2);
    EXPECT_EQ(RunTarvo({"render", "--out", out}).status, 2);
    const test::CToolRun r =
        RunTarvo({"render", survey, "--out", out, "--select", "00-00-00-00-00-07"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("00-00-00-00-00-07"), std::string::npos);
}

TEST_F(RenderTest, SamplesAndPathAtTheRequestedSize) {
    const std::string out = dir.Path().string() + "/samples.png";
    const test::CToolRun r =
        RunTarvo({"render", survey, "--type", "1", "--path", "--size", "400x300", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(400, 300));
    const std::set<unsigned> colours = Colours(image);
    // The strongest sample, 4 m from the AP, reads -45 dBm: band
    // trunc(10 * 45 / 60.001) = 7, palette colour 2 (dark red).
    EXPECT_TRUE(colours.count(0x800000u));
    // The path: the file's colour is neither white nor a palette colour.
    EXPECT_GT(colours.size(), 4u);
}

TEST_F(RenderTest, StrengthBandsAsBitmap) {
    const std::string out = dir.Path().string() + "/bands.bmp";
    const test::CToolRun r =
        RunTarvo({"render", survey, "--type", "4", "--opacity", "255", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(800, 600));
    // Several palette bands appear, unblended at full opacity.
    const std::set<unsigned> colours = Colours(image);
    int bands = 0;
    for (unsigned c : {0xFF0000u, 0xCD5A6Au, 0x800000u, 0x228B22u, 0x32CD9Au, 0x2FFFADu, 0x5C5CCDu,
                       0xB469FFu, 0x00FFFFu, 0x0000FFu})
        bands += static_cast<int>(colours.count(c));
    EXPECT_GE(bands, 3);
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_view
