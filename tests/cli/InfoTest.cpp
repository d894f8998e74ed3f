#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tarvo {
namespace {

using test::CToolRun;
using test::RunTarvo;

class InfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        test::CSampleSpec a, b;
        b.mac[5] = 9;
        test::CSsdBuilder walk;
        walk.Created(1262304000)
            .Gps(1, 1, {a, b})
            .Gps(1, 2, {a}, 1)
            .MarkedAp(1, 2, 6, "x", "m")
            .Interference(1, 2, 48740, 400, "oven");
        good = dir.Write("walk.ssd", walk.Bytes());
        test::CSsdBuilder typeTwo;
        typeTwo.FileType(2);
        bad = dir.Write("bad.ssd", typeTwo.Bytes());
    }

    test::CTempDir dir;
    std::string good, bad;
};

TEST_F(InfoTest, JsonSummaryOfASurveyFile) {
    CToolRun r = RunTarvo({"info", "--json", good});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[{\"path\":\"" + good +
                         "\",\"kind\":\"survey\",\"created\":\"Fri Jan  1 00:00:00 2010\","
                         "\"locations\":{\"gpsFix\":1,\"gpsNoFix\":1,\"linear\":0},"
                         "\"samples\":3,\"markedAps\":1,\"interferenceSources\":1,"
                         "\"distinctMacs\":2}]\n");
}

TEST_F(InfoTest, RefusedFileGivesMessagesAndNonZeroStatus) {
    CToolRun r = RunTarvo({"info", good, bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("distinct MACs:        2"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "Invalid File: " + bad +
                         ": Unsupported SSD Filetype. May be for a different product.\n"
                         "Invalid File: File is not a valid SSD file: \"" +
                         bad + "\".\n");
}

TEST(ToolTest, UnknownCommandsAndOptionsAreUsageErrors) {
    EXPECT_EQ(RunTarvo({"frobnicate"}).status, 2);
    EXPECT_EQ(RunTarvo({}).status, 2);
    CToolRun r = RunTarvo({"info", "--bogus", "x.ssd"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown option --bogus"), std::string::npos);
    EXPECT_EQ(RunTarvo({"help"}).status, 0);
}

} // namespace
} // namespace tarvo
