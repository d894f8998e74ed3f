// The 5 GHz channels the old plan did not know (the DFS channels 52..144
// and 165) reach every output with their frequency.

#include "cli/ToolRunner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarvo {
namespace {

using test::Has;
using test::RunTarvo;

TEST(ChannelPlanOutputs, DfsChannelsHaveTheirFrequencyInJsonAndTable) {
    test::CTempDir dir;
    test::CSsdBuilder walk;
    for (int i = 0; i < 4; ++i) {
        std::vector<test::CSampleSpec> heard;
        for (std::int32_t channel : {100, 165, 178}) {
            test::CSampleSpec s;
            s.channel = channel;
            s.mac[5] = static_cast<std::uint8_t>(channel);
            heard.push_back(s);
        }
        walk.Gps(1.0 + i * 0.0001, 2.0, heard);
    }
    const std::string survey = dir.Write("walk.ssd", walk.Bytes());
    const test::CToolRun json = RunTarvo({"process", "--json", "-", survey});
    ASSERT_EQ(json.status, 0) << json.err;
    // 5000 + 5 x channel; 178 is no 802.11 channel.
    for (const char* part :
         {"\"channel\":100,\"frequency\":5500,", "\"channel\":165,\"frequency\":5825,",
          "\"channel\":178,\"frequency\":-1,"})
        EXPECT_TRUE(Has(json.out, part)) << part << "\n" << json.out;

    const std::string table = dir.File("t.txt");
    ASSERT_EQ(RunTarvo({"table", survey, "--out", table}).status, 0);
    std::istringstream lines(test::ReadText(table));
    std::string line;
    int dfs = 0, unknown = 0;
    while (std::getline(lines, line)) {
        dfs += Has(line, "\t5500\t00-1A-2B-3C-4D-64") || Has(line, "\t5825\t00-1A-2B-3C-4D-A5");
        unknown += Has(line, "\t-1\t00-1A-2B-3C-4D-B2");
    }
    EXPECT_EQ(dfs, 8);
    EXPECT_EQ(unknown, 4);
}

} // namespace
} // namespace tarvo
