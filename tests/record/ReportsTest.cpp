// iperf3's JSON reports, and the throughput side file read back.

#include "record/IperfRunner.h"
#include "record/ThroughputCsv.h"
#include "support/FakePrograms.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvo::test {
namespace {

TEST(IperfReport, TcpUdpAndErrorReports) {
    const CIperfReading down = ReadIperfReport(ReadText(RecordData("iperf/down.json")));
    EXPECT_EQ(down.error, "");
    EXPECT_EQ(down.bitsPerSecond, 54217400.5) << "the receiver's count";
    EXPECT_FALSE(down.jitterMs);
    const CIperfReading udp = ReadIperfReport(ReadText(RecordData("iperf/udp.json")));
    EXPECT_EQ(udp.bitsPerSecond, 1048719.4);
    EXPECT_EQ(udp.jitterMs, 0.412);
    EXPECT_EQ(ReadIperfReport(ReadText(RecordData("iperf/refused.json"))).error,
              "unable to connect to server: Connection refused");
    EXPECT_EQ(ReadIperfReport("iperf3: error - unable to connect\n").error,
              "iperf3 printed no JSON report: iperf3: error - unable to connect");
    EXPECT_EQ(ReadIperfReport("").error, "iperf3 printed no report");
    EXPECT_EQ(ReadIperfReport(R"({"end": {"sum_received": {"bits_per_second": -4}}})").error,
              "iperf3's report holds no throughput");
}

TEST(ThroughputFile, NamedBesideTheWalkAndReadBack) {
    EXPECT_EQ(ThroughputPathFor("/d/walk.ssd"), "/d/walk.throughput.csv");
    EXPECT_EQ(ThroughputPathFor("/d/WALK.SSD"), "/d/WALK.throughput.csv");
    EXPECT_EQ(ThroughputPathFor("/d/walk"), "/d/walk.throughput.csv");
    EXPECT_EQ(ThroughputPathFor("/d.ssd/walk"), "/d.ssd/walk.throughput.csv");
    EXPECT_EQ(ThroughputPathFor("/d/.ssd"), "/d/.ssd.throughput.csv");

    CThroughputPoint a;
    a.x = 1.5;
    a.y = 2.25;
    a.downBps = 5e7;
    CThroughputPoint b = a;
    b.downBps = std::nan("");
    b.upBps = 1e6;
    b.jitterMs = 0.5;
    const std::string text = ThroughputCsvText({a, b});
    EXPECT_EQ(text, "x_m,y_m,down_bps,up_bps,jitter_ms\n1.500,2.250,50000000,,\n"
                    "1.500,2.250,,1000000,0.500\n");
    const CThroughputRead read = ReadThroughputCsv(text, "t.csv");
    ASSERT_EQ(read.points.size(), 2u);
    EXPECT_EQ(read.points[0].downBps, 5e7);
    EXPECT_TRUE(std::isnan(read.points[0].upBps));
    EXPECT_FALSE(read.points[1].HasDown());
    EXPECT_EQ(read.points[1].jitterMs, 0.5);
}

TEST(ThroughputFile, BadRowsAreReportedWithTheirPlace) {
    const CThroughputRead read =
        ReadThroughputCsv("Y_M;X_M;DOWN_BPS\n1;2;3\nx;2;3\n1;2;-3\n\n4;5;\n", "t.csv");
    ASSERT_EQ(read.points.size(), 2u) << "columns by name in any order and case";
    EXPECT_EQ(read.points[0].x, 2.0);
    EXPECT_EQ(read.points[0].y, 1.0);
    EXPECT_EQ(read.refused,
              (std::vector<std::string>{"t.csv:3: the position is not a pair of numbers (x_m, y_m)",
                                        "t.csv:4: down_bps is not a number of at least 0: '-3'"}));
    EXPECT_EQ(ReadThroughputCsv("a,b\n", "t.csv").fatal,
              "t.csv:1: missing column x_m or y_m (the header must be "
              "x_m,y_m,down_bps,up_bps,jitter_ms)");
    EXPECT_EQ(ReadThroughputCsv("", "t.csv").fatal, "t.csv: no header line");
}

} // namespace
} // namespace tarvo::test
