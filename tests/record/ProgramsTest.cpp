// The helper programs of a recorded walk, with fake iw and iperf3 scripts
// on the PATH: what the process runner collects, the iw runner's fallback
// to cached results and its messages, the interface list, and iperf3's
// reports.

#include "record/IperfRunner.h"
#include "record/IwScanSource.h"
#include "record/ProcessRunner.h"
#include "record/WirelessInterfaces.h"
#include "support/FakePrograms.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tarvo::test {
namespace {

class ProgramsTest : public ::testing::Test {
protected:
    CTempDir dir;
    CPathFirst path{dir.Path(), true};
};

TEST_F(ProgramsTest, ARunCollectsBothStreamsAndHowTheProgramEnded) {
    WriteScript(dir.Path(), "talk", "echo out; echo err >&2; exit 3");
    const CProgramRun run = RunProgram({"talk"}, 5000);
    EXPECT_TRUE(run.started);
    EXPECT_EQ(run.out, "out\n");
    EXPECT_EQ(run.err, "err\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_FALSE(run.Succeeded());
    EXPECT_EQ(ProgramFailureText(run, 5000), "err");

    // Arguments arrive as given, blanks and quotes included.
    WriteScript(dir.Path(), "args", "for a in \"$@\"; do echo \"[$a]\"; done");
    EXPECT_EQ(RunProgram({"args", "a b", "'c'"}, 5000).out, "[a b]\n['c']\n");

    const CProgramRun missing = RunProgram({"no-such-program"}, 5000);
    EXPECT_FALSE(missing.started);
    EXPECT_TRUE(missing.notFound);

    // Standard input is empty: a program that reads it does not wait.
    WriteScript(dir.Path(), "reader", "/bin/cat; echo done");
    EXPECT_EQ(RunProgram({"reader"}, 5000).out, "done\n");
}

TEST_F(ProgramsTest, AProgramThatHangsOrFloodsIsKilled) {
    WriteScript(dir.Path(), "hang", "exec /bin/sleep 30");
    const auto start = std::chrono::steady_clock::now();
    const CProgramRun run = RunProgram({"hang"}, 300);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(run.timedOut);
    EXPECT_EQ(run.signal, 9);
    EXPECT_EQ(ProgramFailureText(run, 300), "no answer within 1 s");

    // Output closed, still running: ended at the time allowed all the same.
    WriteScript(dir.Path(), "quiet", "exec /bin/sleep 30 >&- 2>&-");
    const CProgramRun quiet = RunProgram({"quiet"}, 300);
    EXPECT_TRUE(quiet.timedOut);
    EXPECT_EQ(quiet.signal, 9);

    WriteScript(dir.Path(), "flood", "exec /usr/bin/yes");
    const CProgramRun flood = RunProgram({"flood"}, 10000, 4096);
    EXPECT_TRUE(flood.tooLong);
    EXPECT_FALSE(flood.Succeeded());
}

TEST_F(ProgramsTest, TheIwRunnerScansAndReadsTheText) {
    WriteCatScript(dir.Path(), "iw", RecordData("replay/scan-2.txt"));
    CIwScanSource source("wlan0", "iw", [] { return std::int64_t{1715682030}; });
    const CScanOutcome outcome = source.Scan();
    ASSERT_TRUE(outcome.scan) << outcome.error;
    ASSERT_EQ(outcome.scan->heard.size(), 3u);
    EXPECT_EQ(outcome.scan->heard[1].ssid, "Office");
    EXPECT_EQ(outcome.scan->heard[1].signalDbm, -52.5);
    EXPECT_EQ(outcome.scan->heard[2].channel, 11);
    EXPECT_EQ(outcome.scan->timeSeconds, 1715682030);
    EXPECT_FALSE(outcome.scan->stale);
    EXPECT_EQ(outcome.scan->note, "");
    EXPECT_EQ(source.Name(), "wlan0");
}

TEST_F(ProgramsTest, WithoutThePermissionTheCachedResultsAreUsedWithANote) {
    // Like iw run without CAP_NET_ADMIN: the scan is refused, the dump works.
    WriteScript(dir.Path(), "iw",
                "if [ \"$4\" = dump ]; then /bin/cat '" + RecordData("replay/scan-1.txt") +
                    "'; exit 0; fi\n"
                    "echo 'command failed: Operation not permitted (-1)' >&2; exit 255");
    CIwScanSource source("wlan0");
    CScanOutcome first = source.Scan();
    ASSERT_TRUE(first.scan) << first.error;
    EXPECT_TRUE(first.scan->stale);
    EXPECT_EQ(first.scan->heard.size(), 2u);
    EXPECT_EQ(first.scan->note, IwStaleNote("wlan0"));
    EXPECT_NE(first.scan->note.find("CAP_NET_ADMIN"), std::string::npos);
    EXPECT_NE(first.scan->note.find("may be stale"), std::string::npos);
    EXPECT_TRUE(source.DumpOnly());
    // Said once; later scans read the cache straight away.
    CScanOutcome second = source.Scan();
    ASSERT_TRUE(second.scan);
    EXPECT_TRUE(second.scan->stale);
    EXPECT_EQ(second.scan->note, "");
}

TEST_F(ProgramsTest, IwFailuresGiveTheirMessages) {
    // Neither the scan nor the dump permitted.
    WriteScript(dir.Path(), "iw",
                "echo 'command failed: Operation not permitted (-1)' >&2; exit 255");
    CScanOutcome refused = CIwScanSource("wlan0").Scan();
    EXPECT_FALSE(refused.scan);
    EXPECT_EQ(refused.error, IwPermissionText("wlan0"));
    EXPECT_EQ(refused.error,
              "iw dev wlan0 scan: Operation not permitted: scanning needs the CAP_NET_ADMIN "
              "capability (run as root, or grant it to a copy of iw: sudo setcap "
              "cap_net_admin+ep /usr/local/bin/iw)");

    // Any other failure is quoted and the cache is not tried.
    WriteScript(dir.Path(), "iw",
                "[ \"$4\" = dump ] && exit 0; echo 'command failed: No such device (-19)' >&2; "
                "exit 237");
    CScanOutcome noDevice = CIwScanSource("wlan9").Scan();
    EXPECT_EQ(noDevice.error, "iw dev wlan9 scan: command failed: No such device (-19)");

    // Text that is no scan.
    WriteScript(dir.Path(), "iw", "echo 'nl80211 not found.'");
    EXPECT_EQ(CIwScanSource("wlan0").Scan().error,
              "iw dev wlan0 scan printed no scan: nl80211 not found.");

    // An empty text is a scan that heard nothing.
    WriteScript(dir.Path(), "iw", "exit 0");
    const CScanOutcome empty = CIwScanSource("wlan0").Scan();
    ASSERT_TRUE(empty.scan);
    EXPECT_TRUE(empty.scan->heard.empty());

    std::filesystem::remove(dir.Path() / "iw");
    const std::vector<std::string> nowhere;
    EXPECT_EQ(CIwScanSource("wlan0", "iw", {}, nowhere).Scan().error,
              "iw is not installed (or not on the PATH): scanning needs the program iw (Debian "
              "package iw)");
}

TEST_F(ProgramsTest, IwOffThePathIsFoundWhereTheSystemKeepsIt) {
    CTempDir sbin;
    const std::string iw = WriteCatScript(sbin.Path(), "iw", RecordData("replay/scan-10.txt"));
    EXPECT_EQ(FindIw("iw", {sbin.File("missing"), iw}), iw);
    const CScanOutcome outcome = CIwScanSource("wlan0", "iw", {}, {iw}).Scan();
    ASSERT_TRUE(outcome.scan) << outcome.error;
    EXPECT_EQ(outcome.scan->heard.size(), 1u);
    // On the PATH it wins; a path is taken as it stands.
    WriteCatScript(dir.Path(), "iw", RecordData("replay/scan-2.txt"));
    EXPECT_EQ(FindIw("iw", {iw}), "iw");
    EXPECT_EQ(FindIw("/opt/iw", {iw}), "/opt/iw");
}

TEST_F(ProgramsTest, EntriesTheReaderLeavesOutAreNoted) {
    WriteCatScript(dir.Path(), "iw",
                   std::string(TARVO_TEST_DATA_DIR) + "/import/iw/scan-unspecified-signal.txt");
    const CScanOutcome outcome = CIwScanSource("wlan0").Scan();
    ASSERT_TRUE(outcome.scan) << outcome.error;
    EXPECT_NE(outcome.scan->note.find("left out"), std::string::npos) << outcome.scan->note;
}

TEST_F(ProgramsTest, TheInterfacesComeFromTheKernelOrFromIwDev) {
    CTempDir sys;
    for (const char* entry : {"wlan1/wireless", "wlp2s0/phy80211", "eth0/statistics", "lo"})
        std::filesystem::create_directories(sys.Path() / entry);
    std::filesystem::create_directories(sys.Path() / "wlan10/wireless");
    EXPECT_EQ(ListWirelessInterfaces(sys.Path().string()),
              (std::vector<std::string>{"wlan1", "wlan10", "wlp2s0"}));

    CTempDir none;
    const std::string iwDev = dir.Write("iw-dev.txt", [] {
        const std::string text = "phy#1\n\tInterface wlx00c0ca\n\t\tifindex 5\n\t\ttype "
                                 "managed\nphy#0\n\tUnnamed/non-netdev interface\n"
                                 "\tInterface wlan0\n\t\ttype managed\n";
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }());
    WriteCatScript(dir.Path(), "iw", iwDev);
    EXPECT_EQ(ListWirelessInterfaces(none.Path().string()),
              (std::vector<std::string>{"wlan0", "wlx00c0ca"}));
    std::filesystem::remove(dir.Path() / "iw");
    EXPECT_TRUE(ListWirelessInterfaces(none.Path().string(), "iw", {}).empty());
}

TEST_F(ProgramsTest, IperfMeasuresDownWithReverseAndUp) {
    // The fake server answers the reverse test with the download report.
    WriteScript(dir.Path(), "iperf3",
                "echo \"$@\" >> '" + dir.File("calls") +
                    "'\n"
                    "case \" $* \" in *' -R '*) /bin/cat '" +
                    RecordData("iperf/down.json") + "';; *) /bin/cat '" +
                    RecordData("iperf/up.json") + "';; esac");
    CIperfOptions options;
    options.server = "192.168.10.2";
    const CThroughputResult result = MeasureThroughput(options);
    EXPECT_EQ(result.down.bitsPerSecond, 54217400.5);
    EXPECT_EQ(result.up.bitsPerSecond, 21700000.0);
    EXPECT_FALSE(result.down.jitterMs);
    EXPECT_EQ(result.ErrorText(), "");
    EXPECT_EQ(ReadText(dir.File("calls")), "-c 192.168.10.2 -J -t 3 -R\n-c 192.168.10.2 -J -t 3\n");

    options.server = "perf.example:5202";
    MeasureThroughput(options);
    EXPECT_NE(ReadText(dir.File("calls")).find("-c perf.example -p 5202 -J -t 3 -R\n"),
              std::string::npos);
    EXPECT_EQ(CheckIperf(), "");
}

TEST_F(ProgramsTest, IperfFailuresAndItsAbsenceAreClear) {
    WriteCatScript(dir.Path(), "iperf3", RecordData("iperf/refused.json"));
    CIperfOptions options;
    options.server = "nowhere";
    const CThroughputResult refused = MeasureThroughput(options);
    EXPECT_FALSE(refused.AnyMeasured());
    EXPECT_EQ(refused.ErrorText(), "download: unable to connect to server: Connection refused; "
                                   "upload: unable to connect to server: Connection refused");

    WriteScript(dir.Path(), "iperf3", "echo 'iperf3: error - the server is busy' >&2; exit 1");
    EXPECT_EQ(MeasureThroughput(options).down.error, "iperf3: error - the server is busy");

    std::filesystem::remove(dir.Path() / "iperf3");
    const std::string missing = "iperf3 is not installed (or not on the PATH): the throughput "
                                "is not measured (Debian package iperf3)";
    EXPECT_EQ(CheckIperf(), missing);
    EXPECT_EQ(MeasureThroughput(options).down.error, missing);
}

} // namespace
} // namespace tarvo::test
