// tarvo report, table, kml and render on a small GPS walk.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace tarvo {
namespace {

using test::RunTarvo;

std::string ReadText(const std::string& path) {
    auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class ExportCommands : public ::testing::Test {
protected:
    void SetUp() override { survey = test::WriteGridWalk(dir, "<b>x</b>"); }
    test::CTempDir dir;
    std::string survey;
};

TEST_F(ExportCommands, ReportWithPicturesAndEscapedSsid) {
    const std::string out = dir.File("study.html");
    const auto run = RunTarvo({"report", survey, "--out", out, "--no-open"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string html = ReadText(out);
    EXPECT_NE(html.find("&lt;b&gt;x&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<b>x</b>"), std::string::npos);
    // The coverage was computed for the report.
    EXPECT_NE(html.find("<h3>Coverage of Signal Strength</h3>"), std::string::npos);
    for (const char* name : {"bmp2.bmp", "bmp4.bmp", "report.css"})
        EXPECT_TRUE(std::filesystem::exists(dir.File(std::string("study/") + name))) << name;

    ASSERT_EQ(RunTarvo({"report", survey, "--out", dir.File("s.html"), "--no-open", "--no-aps",
                        "--no-coverage"})
                  .status,
              0);
    const std::string text = ReadText(dir.File("s.html"));
    EXPECT_EQ(text.find("Access Point Information"), std::string::npos);
    EXPECT_EQ(text.find("Coverage of Signal Strength"), std::string::npos);
    EXPECT_NE(text.find("Survey Path"), std::string::npos);
    EXPECT_EQ(RunTarvo({"report", survey}).status, 2);
}

TEST_F(ExportCommands, TableAndKml) {
    const std::string out = dir.File("t.txt");
    ASSERT_EQ(
        RunTarvo({"table", survey, "--out", out, "--delimiter", "comma", "--no-index"}).status, 0);
    const std::string text = ReadText(out);
    EXPECT_EQ(text.substr(0, 35), "Lat,Lon,CH(MHz),MAC              ,S");
    // One row per sample (49 + 14), plus the header, every row CR LF.
    std::size_t rows = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++rows;
    EXPECT_EQ(rows, 64u);
    EXPECT_EQ(RunTarvo({"table", survey, "--out", out, "--delimiter", "ab"}).status, 2);

    const std::string kml = dir.File("overlay.kml"), bmp = dir.File("pictures.bmp");
    const auto run =
        RunTarvo({"kml", survey, "--out", kml, "--image", bmp, "--description", "Site A & <B>"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string k = ReadText(kml);
    EXPECT_NE(k.find("<description> Site A &amp; &lt;B&gt; \n Created Time: "), std::string::npos);
    EXPECT_NE(k.find("<href> " + bmp + " </href>"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(bmp).size(), 54u + 800u * 600u * 3u);
    // Latitudes of the walk run from 1.0 to 1.0006 degrees: the box holds
    // them, north above south, although the site Y of a study without a map
    // runs south.
    const double north = std::stod(k.substr(k.find("<north>") + 7));
    const double south = std::stod(k.substr(k.find("<south>") + 7));
    EXPECT_TRUE(north >= 1.0006 && south <= 1.0 && north - south < 0.01) << north << ", " << south;
}

TEST_F(ExportCommands, RenderedPictures) {
    const auto colours = [](const QImage& image) {
        std::set<unsigned> found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found.insert(image.pixel(x, y) & 0xFFFFFFu);
        return found;
    };
    const std::string samples = dir.File("samples.png"), bands = dir.File("bands.bmp");
    auto r = RunTarvo({"render", survey, "--type", "1", "--size", "400x300", "--select",
                       "00-1A-2B-3C-4D-01", "--out", samples});
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage image(QString::fromStdString(samples));
    ASSERT_EQ(image.size(), QSize(400, 300));
    // The strongest sample, 4 m from the AP, reads -45 dBm: band
    // trunc(10 * 45 / 60.001) = 7, palette colour 2 (dark red).
    EXPECT_TRUE(colours(image).count(0x800000u));

    r = RunTarvo({"render", survey, "--type", "4", "--opacity", "255", "--out", bands});
    ASSERT_EQ(r.status, 0) << r.err;
    // Several palette bands appear, unblended at full opacity.
    const std::set<unsigned> found = colours(QImage(QString::fromStdString(bands)));
    int palette = 0;
    for (unsigned c : {0xFF0000u, 0xCD5A6Au, 0x800000u, 0x228B22u, 0x32CD9Au, 0x2FFFADu, 0x5C5CCDu,
                       0xB469FFu, 0x00FFFFu, 0x0000FFu})
        palette += static_cast<int>(found.count(c));
    EXPECT_GE(palette, 3);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"render", survey, "--type", "6", "--out", samples},
             {"render", survey, "--out", dir.File("x.gif")},
             {"render", survey, "--out", samples, "--size", "800"},
             {"render", survey, "--out", samples, "--opacity", "300"},
             {"render", survey, "--out", samples, "--select", "00-00-00-00-00-07"}})
        EXPECT_EQ(RunTarvo(bad).status, 2) << bad[2];
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
