#include "cli/SampleStudy.h"
#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace tarvo {
namespace {

using test::CSampleSpec;
using test::CSsdBuilder;
using test::RunTarvo;

CSampleSpec Heard(std::uint8_t last, double dbm, int channel = 6) {
    CSampleSpec s;
    s.mac[5] = last;
    s.channel = channel;
    s.rssi16 = static_cast<std::int16_t>(std::lround(dbm * 16));
    return s;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        // A 7 x 7 GPS grid, about 11 m between rows and columns, with two
        // APs: one near the grid's middle, one heard only on two rows.
        CSsdBuilder walk, other;
        for (int i = 0; i < 7; ++i)
            for (int j = 0; j < 7; ++j) {
                const double lat = 1.0 + i * 0.0001, lon = 2.0 + j * 0.0001;
                const double d = std::hypot((i - 3.2) * 11.0, (j - 2.7) * 11.0);
                std::vector<CSampleSpec> heard{Heard(1, -30 - 25 * std::log10(std::max(d, 1.0)))};
                if (i < 2)
                    heard.push_back(Heard(2, -70 - j, 200));
                walk.Gps(lat, lon, heard);
            }
        walk.MarkedAp(3600000, 7200000, 6, "net", "desk")
            .Interference(3600360, 7200360, 48740, 400, "oven");
        other.Gps(1.0003, 2.0003, {Heard(1, -35)});
        survey = dir.Write("walk.ssd", walk.Bytes());
        second = dir.Write("other.ssd", other.Bytes());
    }

    test::CTempDir dir;
    std::string survey, second;
};

TEST_F(ProcessTest, JsonDescribesTheStudyAndIsStable) {
    test::CToolRun r = RunTarvo({"process", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("{\"document\":{\"gps\":true,\"linear\":false,\"projectionKind\":0,"
                          "\"points\":49,\"dataExtent\":[",
                          0),
              0u)
        << r.out.substr(0, 200);
    EXPECT_NE(r.out.find("\"files\":[{\"title\":\"walk.ssd\",\"path\":\"" + survey +
                         "\",\"created\":\"Fri Jan  1 00:00:00 2010\",\"selected\":true,"
                         "\"pointCount\":49,\"colour\":"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"aps\":[{\"mac\":\"00-1A-2B-3C-4D-01\",\"ssid\":\"net\",\"channel\":6,"
                         "\"frequency\":2437,\"colour\":"),
              std::string::npos);
    EXPECT_NE(r.out.find("{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"channel\":200,"
                         "\"frequency\":-1,"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"latlon\":["), std::string::npos);
    EXPECT_NE(r.out.find("\"markers\":[{\"mac\":\"AA-BB-CC-DD-EE-FF\",\"ssid\":\"net\","
                         "\"channel\":6,\"name\":\"desk\",\"position\":["),
              std::string::npos);
    EXPECT_NE(r.out.find("\"sources\":[{\"name\":\"oven\",\"frequency\":\"2437 MHz\","
                         "\"bandwidth\":\"20 MHz\",\"position\":["),
              std::string::npos);
    EXPECT_EQ(r.out.find("\"matrix\""), std::string::npos);
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');

    EXPECT_EQ(RunTarvo({"process", "--json", "-", survey}).out, r.out);

    // The same document to a file.
    const std::string out = dir.File("study.json");
    ASSERT_EQ(RunTarvo({"process", "--json", out, survey}).status, 0);
    const std::vector<std::uint8_t> bytes = test::ReadBytes(out);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.out);
}

TEST_F(ProcessTest, MatrixAndPointsOnRequest) {
    test::CToolRun r = RunTarvo({"process", "--with-matrix", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"matrix\":[-"), std::string::npos);
    EXPECT_NE(r.out.find("\"points\":[["), std::string::npos);
}

TEST_F(ProcessTest, ReadableTable) {
    test::CToolRun r = RunTarvo({"process", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("2 APs from 49 points; resolution ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("MAC                SSID"), std::string::npos) << r.out;
    // MAC, SSID padded to 32, channel, samples and thinned samples.
    EXPECT_NE(
        r.out.find("00-1A-2B-3C-4D-01  net" + std::string(29, ' ') + "     6      49      49"),
        std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
}

TEST_F(ProcessTest, MergeOptionAndMinimumPoints) {
    test::CToolRun merged = RunTarvo({"process", "--json", "-", survey, second});
    EXPECT_EQ(merged.out.find("net: other.ssd"), std::string::npos);
    test::CToolRun apart = RunTarvo({"process", "--no-merge", "--json", "-", survey, second});
    ASSERT_EQ(apart.status, 0) << apart.err;
    EXPECT_NE(apart.out.find("\"ssid\":\"net: other.ssd\""), std::string::npos);

    // With a minimum above every AP's thinned count nothing is estimated.
    test::CToolRun none = RunTarvo({"process", "--min-points", "1000", survey});
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(none.out.find(" yes\n"), std::string::npos) << none.out;
    EXPECT_EQ(RunTarvo({"process", "--min-points", "0", survey}).status, 2);
    EXPECT_EQ(RunTarvo({"process", "--min-points", "x", survey}).status, 2);
    EXPECT_EQ(RunTarvo({"process"}).status, 2);
}

TEST_F(ProcessTest, EstimatorIsChosenAndNamed) {
    test::CToolRun joint = RunTarvo({"process", "--estimator", "joint", "--json", "-", survey});
    ASSERT_EQ(joint.status, 0) << joint.err;
    EXPECT_NE(joint.out.find("\"points\":49,\"estimator\":\"joint\","), std::string::npos);
    test::CToolRun table = RunTarvo({"process", "--estimator", "joint", survey});
    EXPECT_NE(table.out.find("\nPositions by the joint estimator\n"), std::string::npos);
    // The default is the study method, and its output does not change.
    test::CToolRun study = RunTarvo({"process", "--estimator", "study", "--json", "-", survey});
    EXPECT_EQ(study.out, RunTarvo({"process", "--json", "-", survey}).out);
    EXPECT_EQ(study.out.find("estimator"), std::string::npos);
    test::CToolRun bad = RunTarvo({"process", "--estimator", "best", survey});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "tarvo process: --estimator must be one of study|joint\n");
}

TEST_F(ProcessTest, NothingLoadedIsAFailure) {
    const std::string missing = dir.File("missing.ssd");
    test::CToolRun r = RunTarvo({"process", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File Open Error: Could not open file \"" + missing +
                         "\".\ntarvo process: nothing was loaded\n");
    EXPECT_EQ(r.out, "");
}

TEST(ProcessMapTest, LinearStudyWithItsMap) {
    test::CTempDir dir;
    const std::optional<CSampleStudy> study = GenerateSampleStudy("office", 1);
    ASSERT_TRUE(study);
    std::string error;
    ASSERT_TRUE(WriteSampleStudy(*study, dir.Path().string(), error)) << error;
    const std::string map = dir.File(study->projectionFileName);
    std::vector<std::string> args{"process", "--map", map, "--json", "-"};
    for (const CSimulatedWalk& walk : study->walks)
        args.push_back(dir.File(walk.fileName));
    test::CToolRun r = RunTarvo(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("{\"document\":{\"gps\":false,\"linear\":true,\"projectionKind\":2,"
                          "\"points\":900,",
                          0),
              0u)
        << r.out.substr(0, 200);
    EXPECT_EQ(r.out.find("latlon"), std::string::npos);
    EXPECT_EQ(r.out.find("\"valid\":false"), std::string::npos);

    // Without the map the linear walks are refused.
    args.erase(args.begin() + 1, args.begin() + 3);
    test::CToolRun refused = RunTarvo(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("Please input the map.: The SSD File is collected with linear "
                                "projection. Please input the map\n",
                                0),
              0u)
        << refused.err;
}

} // namespace
} // namespace tarvo
