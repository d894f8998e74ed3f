// tarvo simulate, and tarvo map and info on the projection file it writes.

#include "cli/ToolRunner.h"
#include "samples/SampleStudy.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::RunTarvo;

class SimulateTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto r = RunTarvo({"simulate", "--scenario", "campus", "--out", dir.Path().string()});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    test::CTempDir dir;
};

TEST_F(SimulateTest, WritesTheGeneratorsStudy) {
    const auto study = GenerateSampleStudy("campus", 1);
    ASSERT_TRUE(study);
    EXPECT_EQ(test::ReadBytes(dir.File("campus.gpf")), study->projectionBytes);
    EXPECT_EQ(test::ReadBytes(dir.File("walk2.ssd")), study->walks[1].bytes);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"simulate", "--out", "x"},
          {"simulate", "--scenario", "office"},
          {"simulate", "--scenario", "mall", "--out", "x"},
          {"simulate", "--scenario", "office", "--out", "x", "--seed", "z"}})
        EXPECT_EQ(RunTarvo(args).status, 2) << args.back();
}

TEST_F(SimulateTest, MapAndInfoOfTheProjection) {
    auto r = RunTarvo({"map", dir.File("campus.gpf"), "--out", dir.File("map.bmp")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadBytes(dir.File("map.bmp")), GenerateSampleStudy("campus", 1)->bitmap);
    EXPECT_EQ(RunTarvo({"map", dir.File("campus.gpf")}).status, 2);

    r = RunTarvo({"info", dir.File("campus.gpf"), dir.File("walk1.ssd")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("projection:     GPS, subtype 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("image:          600 x 400 pixels"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("200.000 x 300.000 m (height x width)"), std::string::npos) << r.out;
    r = RunTarvo({"info", "--json", dir.File("campus.gpf")});
    EXPECT_NE(r.out.find("\"kind\":\"projection\",\"projection\":\"GPS\",\"subtype\":0"),
              std::string::npos)
        << r.out;

    auto bytes = test::ReadBytes(dir.File("campus.gpf"));
    bytes.resize(2000);
    const std::string cut = dir.Write("cut.lpf", bytes);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", cut}, {"map", cut, "--out", dir.File("cut.bmp")}}) {
        r = RunTarvo(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Invalid File: File is not recognized as a projection file.\n");
    }
}

} // namespace
} // namespace tarvo
