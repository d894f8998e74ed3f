// tarvo report, table and kml on a small GPS walk.

#ifdef TARVO_HAVE_tarvo_export

#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CSsdBuilder;
using test::RunTarvo;

std::string ReadText(const std::string& path) {
    auto bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class ExportCommands : public ::testing::Test {
protected:
    void SetUp() override {
        // A 6 x 6 GPS grid about 11 m apart, one AP whose signal falls off
        // with distance from near the middle; its SSID is markup.
        CSsdBuilder walk;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) {
                const double d = std::hypot((i - 2.6) * 11.0, (j - 2.3) * 11.0);
                CSampleSpec s;
                s.mac[5] = 1;
                s.ssid = "<b>x</b>";
                s.rssi16 = static_cast<std::int16_t>(
                    std::lround((-30 - 25 * std::log10(std::max(d, 1.0))) * 16));
                walk.Gps(1.0 + i * 0.0001, 2.0 + j * 0.0001, {s});
            }
        survey = dir.Write("walk.ssd", walk.Bytes());
    }

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
    // The coverage was computed for the report: strength and overlap shown.
    EXPECT_NE(html.find("<h3>Coverage of Signal Strength</h3>"), std::string::npos);
    EXPECT_NE(html.find("<h3>Overlap of Selected APs</h3>"), std::string::npos);
    for (const char* name : {"bmp2.bmp", "bmp3.bmp", "bmp4.bmp", "report.css"})
        EXPECT_TRUE(std::filesystem::exists(dir.File(std::string("study/") + name))) << name;

    // Sections turned off.
    const auto small = RunTarvo({"report", survey, "--out", dir.File("s.html"), "--no-open",
                                 "--no-ssd-files", "--no-aps", "--no-coverage", "--no-overlay"});
    ASSERT_EQ(small.status, 0) << small.err;
    const std::string text = ReadText(dir.File("s.html"));
    EXPECT_EQ(text.find("SSD File Infomation"), std::string::npos);
    EXPECT_EQ(text.find("Access Point Information"), std::string::npos);
    EXPECT_EQ(text.find("Coverage of Signal Strength"), std::string::npos);
    EXPECT_NE(text.find("Survey Path"), std::string::npos);

    EXPECT_EQ(RunTarvo({"report", survey}).status, 2);
    EXPECT_EQ(RunTarvo({"report", survey, "--out", out, "--select", "00-00-00-00-00-09"}).status,
              2);
}

TEST_F(ExportCommands, TableWithDelimiters) {
    const std::string out = dir.File("t.txt");
    const auto run =
        RunTarvo({"table", survey, "--out", out, "--delimiter", "comma", "--no-index"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = ReadText(out);
    EXPECT_EQ(text.substr(0, 35), "Lat,Lon,CH(MHz),MAC              ,S");
    // 36 locations of one sample each, plus the header, every row CR LF.
    std::size_t rows = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++rows;
    EXPECT_EQ(rows, 37u);

    ASSERT_EQ(RunTarvo({"table", survey, "--out", out, "--delimiter", ";", "--no-header"}).status,
              0);
    EXPECT_EQ(ReadText(out).substr(0, 2), "0;");
    EXPECT_EQ(RunTarvo({"table", survey, "--out", out, "--delimiter", "ab"}).status, 2);
}

TEST_F(ExportCommands, KmlWithImageAndDescription) {
    const std::string kml = dir.File("overlay.kml");
    const std::string bmp = dir.File("pictures.bmp");
    const auto run =
        RunTarvo({"kml", survey, "--out", kml, "--image", bmp, "--description", "Site A & <B>"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = ReadText(kml);
    EXPECT_NE(text.find("<description> Site A &amp; &lt;B&gt; \n Created Time: "),
              std::string::npos);
    EXPECT_NE(text.find("\n\t<name> overlay </name>"), std::string::npos);
    EXPECT_NE(text.find("<href> " + bmp + " </href>"), std::string::npos);
    const auto picture = test::ReadBytes(bmp);
    ASSERT_GT(picture.size(), 54u + 800u * 600u * 3u - 1u);
    EXPECT_EQ(picture[0], 'B');
    // Latitudes of the walk run from 1.0 to 1.0005 degrees: the box holds
    // them, north above south, although the site Y of a study without a map
    // runs south.
    const double north = std::stod(text.substr(text.find("<north>") + 7));
    const double south = std::stod(text.substr(text.find("<south>") + 7));
    EXPECT_GE(north, 1.0005);
    EXPECT_LE(south, 1.0);
    EXPECT_LT(north - south, 0.01);
}

} // namespace
} // namespace tarvo

#endif // TARVO_HAVE_tarvo_export
