#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CSsdBuilder;
using test::RunTarvo;

CSampleSpec Heard(std::uint8_t last, double dbm) {
    CSampleSpec s;
    s.mac[5] = last;
    s.rssi16 = static_cast<std::int16_t>(std::lround(dbm * 16));
    return s;
}

// The text of a JSON value starting right after `"key":` (first match).
std::string ValueAfter(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos)
        return {};
    return json.substr(at + key.size() + 3);
}

// Number of elements of the flat number array that follows `"key":`.
int ArrayLength(const std::string& json, const std::string& key) {
    const std::string rest = ValueAfter(json, key);
    if (rest.empty() || rest[0] != '[')
        return -1;
    const std::string body = rest.substr(1, rest.find(']') - 1);
    return body.empty() ? 0 : static_cast<int>(std::count(body.begin(), body.end(), ',')) + 1;
}

int IntAfter(const std::string& json, const std::string& key) {
    return std::atoi(ValueAfter(json, key).c_str());
}

class CoverageCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A 7 x 7 GPS grid about 11 m apart: AP 1 falls off with distance
        // from near the middle; AP 2 is heard on two rows only.
        CSsdBuilder walk;
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j) {
                const double d = std::hypot((i - 3.2) * 11.0, (j - 2.7) * 11.0);
                std::vector<CSampleSpec> heard{Heard(1, -30 - 25 * std::log10(std::max(d, 1.0)))};
                if (i < 2)
                    heard.push_back(Heard(2, -70 - j));
                walk.Gps(1.0 + i * 0.0001, 2.0 + j * 0.0001, heard);
            }
        survey = dir.Write("walk.ssd", walk.Bytes());
    }

    test::CTempDir dir;
    std::string survey;
};

TEST_F(CoverageCommandTest, JsonHoldsTheMatricesContoursAndRadii) {
    test::CToolRun r = RunTarvo({"coverage", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& j = r.out;
    EXPECT_EQ(j.rfind("{\"rows\":", 0), 0u);
    const int rows = IntAfter(j, "rows"), cols = IntAfter(j, "cols");
    ASSERT_GT(rows, 1);
    ASSERT_GT(cols, 1);
    EXPECT_LE(std::max(rows, cols), 200);
    EXPECT_EQ(ArrayLength(j, "analysisBox"), 4);
    EXPECT_EQ(ArrayLength(j, "strength"), rows * cols);
    EXPECT_EQ(ArrayLength(j, "margin"), rows * cols);
    EXPECT_EQ(ArrayLength(j, "apCount"), rows * cols);
    EXPECT_EQ(ArrayLength(j, "scale"), 2);
    // Ten levels each, starting at PowerLow and at 1.0.
    EXPECT_EQ(ValueAfter(j, "strengthLevels").rfind("[{\"level\":-90", 0), 0u);
    EXPECT_EQ(ValueAfter(j, "apCountLevels").rfind("[{\"level\":1", 0), 0u);
    std::size_t levels = 0;
    for (std::size_t at = j.find("\"level\":"); at != std::string::npos;
         at = j.find("\"level\":", at + 1))
        ++levels;
    EXPECT_EQ(levels, 20u);
    // Every AP selected by default; AP 1 has a model and nine radii, AP 2
    // (flat along its two rows) none.
    EXPECT_NE(j.find("{\"mac\":\"00-1A-2B-3C-4D-01\",\"ssid\":\"net\",\"levels\":["),
              std::string::npos);
    EXPECT_EQ(ArrayLength(j.substr(j.find("00-1A-2B-3C-4D-01")), "levels"), 9);
    EXPECT_NE(j.find("{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"levels\":null}"),
              std::string::npos);
}

TEST_F(CoverageCommandTest, SelectionPowerRangeAndResolution) {
    test::CToolRun r =
        RunTarvo({"coverage", "--select", "00:1a:2b:3c:4d:01", "--power-low", "-95", "--power-high",
                  "-40", "--resolution", "1000", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("00-1A-2B-3C-4D-02"), std::string::npos);
    EXPECT_EQ(ValueAfter(r.out, "strengthLevels").rfind("[{\"level\":-95,", 0), 0u);
    EXPECT_NE(r.out.find("{\"level\":-89.5,"), std::string::npos);
    // A resolution beyond the range is clamped to its coarse end: 20
    // points along the shorter side.
    EXPECT_EQ(std::min(IntAfter(r.out, "rows"), IntAfter(r.out, "cols")), 20);
}

TEST_F(CoverageCommandTest, SummaryAndFileOutput) {
    test::CToolRun r = RunTarvo({"coverage", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    EXPECT_EQ(first.rfind("Coverage of 2 selected APs: grid ", 0), 0u) << first;
    EXPECT_EQ(second.rfind("At or above -90 dBm: ", 0), 0u) << second;
    EXPECT_NE(second.find(" % of the analysis box"), std::string::npos);
    EXPECT_EQ(third.rfind("Strength: worst ", 0), 0u) << third;

    const std::string out = dir.File("coverage.json");
    test::CToolRun f = RunTarvo({"coverage", "--json", out, survey});
    ASSERT_EQ(f.status, 0) << f.err;
    EXPECT_EQ(f.out, "");
    std::ifstream in(out);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("{\"rows\":", 0), 0u);
}

TEST_F(CoverageCommandTest, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"coverage", "--select", "00-11-22-33-44-55", survey},
        {"coverage", "--select", ",", survey},
        {"coverage", "--power-low", "-30", "--power-high", "-40", survey},
        {"coverage", "--power-low", "-9000", survey},
        {"coverage", "--power-low", "loud", survey},
        {"coverage", "--resolution", "0", survey},
        {"coverage", "--resolution", "nan", survey},
        {"coverage", "--unknown", survey},
        {"coverage"},
    };
    for (const auto& args : bad) {
        test::CToolRun r = RunTarvo(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("tarvo coverage: "), std::string::npos) << r.err;
    }
    test::CToolRun missing = RunTarvo({"coverage", dir.File("none.ssd")});
    EXPECT_EQ(missing.status, 1);
}

} // namespace
} // namespace tarvo
