#include "cli/ToolRunner.h"
#include "samples/SampleStudy.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo {
namespace {

using test::RunTarvo;

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        survey = test::WriteGridWalk(dir);
    }
    test::CTempDir dir;
    std::string survey;
};

TEST_F(ProcessTest, JsonDescribesTheStudyAndIsStable) {
    test::CToolRun r = RunTarvo({"process", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("{\"document\":{\"gps\":true,\"linear\":false,\"projectionKind\":0,"
                          "\"points\":49,\"dataExtent\":[",
                          0),
              0u);
    for (const std::string& part :
         {"\"files\":[{\"title\":\"walk.ssd\",\"path\":\"" + survey +
              "\",\"created\":\"Fri Jan  1 00:00:00 2010\",\"selected\":true,\"pointCount\":49,",
          std::string("\"aps\":[{\"mac\":\"00-1A-2B-3C-4D-01\",\"ssid\":\"net\",\"channel\":6,"
                      "\"frequency\":2437,"),
          std::string("{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"channel\":200,"
                      "\"frequency\":-1,"),
          std::string("\"markers\":[{\"mac\":\"AA-BB-CC-DD-EE-FF\",\"ssid\":\"net\",\"channel\":6,"
                      "\"name\":\"desk\",\"position\":["),
          std::string("\"sources\":[{\"name\":\"oven\",\"frequency\":\"2437 MHz\","),
          std::string("\"latlon\":[")})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    EXPECT_EQ(r.out.find("\"matrix\""), std::string::npos);
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(RunTarvo({"process", "--json", "-", survey}).out, r.out);
    ASSERT_EQ(RunTarvo({"process", "--json", dir.File("s.json"), survey}).status, 0);
    const auto bytes = test::ReadBytes(dir.File("s.json"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), r.out);

    r = RunTarvo({"process", "--with-matrix", "--json", "-", survey});
    EXPECT_NE(r.out.find("\"matrix\":[-"), std::string::npos);
    r = RunTarvo({"process", survey}); // MAC, SSID padded to 32, channel, samples, thinned
    EXPECT_EQ(r.out.rfind("2 APs from 49 points; resolution ", 0), 0u) << r.out;
    EXPECT_NE(
        r.out.find("00-1A-2B-3C-4D-01  net" + std::string(29, ' ') + "     6      49      49"),
        std::string::npos)
        << r.out;
}

TEST_F(ProcessTest, OptionsAndRefusals) {
    const std::string second = dir.Write(
        "other.ssd", test::CSsdBuilder().Gps(1.0003, 2.0003, {test::CSampleSpec{}}).Bytes());
    test::CToolRun apart = RunTarvo({"process", "--no-merge", "--json", "-", survey, second});
    ASSERT_EQ(apart.status, 0) << apart.err;
    EXPECT_NE(apart.out.find("\"ssid\":\"net: other.ssd\""), std::string::npos);
    // With a minimum above every AP's thinned count nothing is estimated.
    test::CToolRun none = RunTarvo({"process", "--min-points", "1000", survey});
    EXPECT_EQ(none.out.find(" yes\n"), std::string::npos) << none.out;
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"process", "--min-points", "0", survey}, {"process"}})
        EXPECT_EQ(RunTarvo(bad).status, 2);

    const std::string missing = dir.File("missing.ssd");
    test::CToolRun r = RunTarvo({"process", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File Open Error: Could not open file \"" + missing +
                         "\".\ntarvo process: nothing was loaded\n");
}

TEST(ProcessMapTest, LinearStudyWithItsMap) {
    test::CTempDir dir;
    const std::optional<CSampleStudy> study = GenerateSampleStudy("office", 1);
    std::string error;
    ASSERT_TRUE(study && WriteSampleStudy(*study, dir.Path().string(), error)) << error;
    std::vector<std::string> args{"process", "--map", dir.File(study->projectionFileName), "--json",
                                  "-"};
    for (const CSimulatedWalk& walk : study->walks)
        args.push_back(dir.File(walk.fileName));
    test::CToolRun r = RunTarvo(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"document\":{\"gps\":false,\"linear\":true,\"projectionKind\":2,"
                          "\"points\":900,",
                          0),
              0u);
    EXPECT_EQ(r.out.find("\"valid\":false"), std::string::npos);

    args.erase(args.begin() + 1, args.begin() + 3); // without the map: refused
    test::CToolRun refused = RunTarvo(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind("Please input the map.: The SSD File is collected with linear "
                                "projection. Please input the map\n",
                                0),
              0u);
}

} // namespace
} // namespace tarvo
