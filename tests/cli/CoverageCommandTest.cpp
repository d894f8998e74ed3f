#include "cli/ToolRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace tarvo {
namespace {

using test::RunTarvo;

// The text of a JSON value starting right after `"key":` (first match).
std::string ValueAfter(const std::string& json, const std::string& key) {
    const std::size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? std::string() : json.substr(at + key.size() + 3);
}

// Number of elements of the flat number array that follows `"key":`.
int ArrayLength(const std::string& json, const std::string& key) {
    const std::string rest = ValueAfter(json, key);
    const std::string body = rest.substr(1, rest.find(']') - 1);
    return body.empty() ? 0 : static_cast<int>(std::count(body.begin(), body.end(), ',')) + 1;
}

int IntAfter(const std::string& json, const std::string& key) {
    return std::atoi(ValueAfter(json, key).c_str());
}

class CoverageCommandTest : public ::testing::Test {
protected:
    void SetUp() override { survey = test::WriteGridWalk(dir); }
    test::CTempDir dir;
    std::string survey;
};

TEST_F(CoverageCommandTest, JsonHoldsTheMatricesContoursAndRadii) {
    test::CToolRun r = RunTarvo({"coverage", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& j = r.out;
    const int rows = IntAfter(j, "rows"), cols = IntAfter(j, "cols");
    ASSERT_GT(std::min(rows, cols), 1);
    EXPECT_EQ(ArrayLength(j, "strength"), rows * cols);
    EXPECT_EQ(ArrayLength(j, "margin"), rows * cols);
    EXPECT_EQ(ArrayLength(j, "apCount"), rows * cols);
    // Ten levels each, starting at PowerLow and at 1.0.
    EXPECT_EQ(ValueAfter(j, "strengthLevels").rfind("[{\"level\":-90", 0), 0u);
    EXPECT_EQ(ValueAfter(j, "apCountLevels").rfind("[{\"level\":1", 0), 0u);
    // Every AP selected by default; AP 1 has a model and nine radii, AP 2
    // (flat along its two rows) none.
    EXPECT_EQ(ArrayLength(j.substr(j.find("00-1A-2B-3C-4D-01")), "levels"), 9);
    EXPECT_NE(j.find("{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"levels\":null}"),
              std::string::npos);

    r = RunTarvo({"coverage", survey});
    std::istringstream lines(r.out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_EQ(first.rfind("Coverage of 2 selected APs: grid ", 0), 0u) << first;
    EXPECT_EQ(second.rfind("At or above -90 dBm: ", 0), 0u) << second;
}

TEST_F(CoverageCommandTest, SelectionPowerRangeAndResolution) {
    test::CToolRun r =
        RunTarvo({"coverage", "--select", "00:1a:2b:3c:4d:01", "--power-low", "-95", "--power-high",
                  "-40", "--resolution", "1000", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("00-1A-2B-3C-4D-02"), std::string::npos);
    EXPECT_NE(r.out.find("{\"level\":-89.5,"), std::string::npos);
    // A resolution beyond the range is clamped to its coarse end: 20
    // points along the shorter side.
    EXPECT_EQ(std::min(IntAfter(r.out, "rows"), IntAfter(r.out, "cols")), 20);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"coverage", "--select", "00-11-22-33-44-55", survey},
             {"coverage", "--power-low", "-30", "--power-high", "-40", survey},
             {"coverage", "--power-low", "loud", survey},
             {"coverage", "--resolution", "nan", survey},
             {"coverage"}}) {
        r = RunTarvo(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_NE(r.err.find("tarvo coverage: "), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace tarvo
