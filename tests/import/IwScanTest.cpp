#include "import/IwScan.h"
#include "ImportTestData.h"
#include "import/ImportFiles.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::ImportFixture;
using test::ImportFixtureText;

MacAddress Mac(std::uint8_t last) {
    return {0x02, 0x1A, 0x2B, 0x3C, 0x4D, last};
}

TEST(IwScan, ReadsEveryEntryOfAFullScan) {
    const CIwScan scan = ParseIwScan(ImportFixtureText("iw/scan-01.txt"));
    EXPECT_TRUE(scan.problems.empty());
    ASSERT_EQ(scan.entries.size(), 3u); // "BSS Load:" and "BSS Transition" start no entry
    const CIwBss& office = scan.entries[0];
    EXPECT_EQ(office.bssid, Mac(1));
    EXPECT_EQ(office.ssid, "Office");
    EXPECT_DOUBLE_EQ(office.frequencyMhz, 5180.0);
    EXPECT_EQ(office.channel, 36); // no DS Parameter set: (5180 - 5000) / 5
    EXPECT_DOUBLE_EQ(office.signalDbm, -48.0);
    EXPECT_TRUE(office.associated);
    EXPECT_EQ(office.line, 1);

    const CIwBss& cafe = scan.entries[1];
    EXPECT_EQ(cafe.ssid, "Caf\xC3\xA9 Gast"); // \xc3\xa9 is UTF-8 e-acute
    EXPECT_EQ(cafe.channel, 6);
    EXPECT_DOUBLE_EQ(cafe.frequencyMhz, 2437.0);
    EXPECT_FALSE(cafe.associated);
    EXPECT_EQ(cafe.line, 48);

    // A hidden network that sends its SSID's length in zero bytes.
    EXPECT_EQ(scan.entries[2].ssid, std::string(6, '\0'));
    EXPECT_EQ(scan.entries[2].channel, 1);
    EXPECT_DOUBLE_EQ(scan.entries[2].signalDbm, -71.0);
}

TEST(IwScan, HiddenSsidEscapedBlanksAndChannelsFromTheFrequency) {
    const CIwScan scan = ParseIwScan(ImportFixtureText("iw/scan-02.txt"));
    ASSERT_EQ(scan.entries.size(), 3u);
    EXPECT_DOUBLE_EQ(scan.entries[0].signalDbm, -55.5);
    EXPECT_EQ(scan.entries[0].channel, 36);
    EXPECT_EQ(scan.entries[1].ssid, "");    // "SSID: " with nothing after it
    EXPECT_EQ(scan.entries[1].channel, 48); // freq: 5240.0
    EXPECT_EQ(scan.entries[2].ssid, " Lobby ");
    EXPECT_EQ(scan.entries[2].channel, 11);
}

TEST(IwScan, RefusesASignalNotInDbmWithItsLine) {
    const CIwScan scan = ParseIwScan(ImportFixtureText("iw/scan-unspecified-signal.txt"));
    EXPECT_TRUE(scan.entries.empty());
    ASSERT_EQ(scan.problems.size(), 1u);
    EXPECT_EQ(scan.problems[0].line, 6);
    EXPECT_EQ(scan.problems[0].reason, "signal not in dBm: 'signal: 60/100'");
}

TEST(IwScan, OddTexts) {
    EXPECT_TRUE(ParseIwScan("").entries.empty());
    EXPECT_TRUE(ParseIwScan("").problems.empty()); // a scan that heard nothing

    // iw's own error message is not a scan.
    CIwScan failed = ParseIwScan("command failed: Device or resource busy (-16)\n");
    ASSERT_EQ(failed.problems.size(), 1u);
    EXPECT_EQ(failed.problems[0].line, 1);

    // A broken MAC, an entry without a signal, CR LF ends, the first line
    // of a kind winning, an indented BSS line, a frequency the plan lacks.
    const CIwScan odd = ParseIwScan("BSS 02:1a:2b:3c:4d(on wlan0)\r\n"
                                    "\tsignal: -40.00 dBm\r\n"
                                    "BSS 02:1a:2b:3c:4d:0a(on wlan1)\r\n"
                                    "\tfreq: 2412\r\n"
                                    "BSS 02:1a:2b:3c:4d:0b\r\n"
                                    "\tsignal: -50.00 dBm\r\n"
                                    "\tsignal: -10.00 dBm\r\n"
                                    "\tSSID: first\r\n"
                                    "\tSSID: second\r\n"
                                    "\t BSS 02:1a:2b:3c:4d:0c(on wlan0)\r\n"
                                    "\tfreq: 5955\r\n");
    ASSERT_EQ(odd.problems.size(), 2u);
    EXPECT_EQ(odd.problems[0].line, 1);
    EXPECT_EQ(odd.problems[1].line, 3);
    EXPECT_EQ(odd.problems[1].reason, "no signal line for this BSS");
    ASSERT_EQ(odd.entries.size(), 1u);
    EXPECT_EQ(odd.entries[0].bssid, Mac(0x0B));
    EXPECT_DOUBLE_EQ(odd.entries[0].signalDbm, -50.0);
    EXPECT_EQ(odd.entries[0].ssid, "first");
    EXPECT_DOUBLE_EQ(odd.entries[0].frequencyMhz, 5955.0);
    EXPECT_EQ(odd.entries[0].channel, 0); // 6 GHz: not in the channel plan

    EXPECT_EQ(DecodeIwEscapes("a\\x5cb\\x4\\xZZ\\"), "a\\b\\x4\\xZZ\\");
}

CImportPlan Plan200x100() {
    CImportPlan plan;
    plan.width = 200;
    plan.height = 100;
    plan.scaleX = plan.scaleY = 0.1;
    return plan;
}

CWalk ImportFile(const std::string& name, std::vector<std::string>& read) {
    CWalkOptions options;
    options.plan = Plan200x100();
    return AssembleWalk({ReadImportFile(ImportFixture(name), std::nullopt, read)}, options);
}

TEST(IwScan, AManifestGivesTheWalkOfTheEquivalentTable) {
    std::vector<std::string> manifestFiles, tableFiles;
    const CWalk scans = ImportFile("iw/walk-manifest.csv", manifestFiles);
    const CWalk table = ImportFile("iw/walk-equivalent.csv", tableFiles);
    ASSERT_TRUE(scans.Ok());
    ASSERT_TRUE(table.Ok());
    EXPECT_EQ(scans.locations, table.locations);
    // The manifest, then each scan it names.
    ASSERT_EQ(manifestFiles.size(), 4u);
    EXPECT_EQ(manifestFiles[3], ImportFixture("iw/scan-03.txt"));

    ASSERT_EQ(scans.locations.size(), 3u);
    const CDataPoint& first = scans.locations[0];
    EXPECT_EQ(first.kind, 2);
    EXPECT_EQ(first.pixelX, 20); // 2.0 m / 0.1
    EXPECT_EQ(first.pixelY, 70); // 100 - 3.0 m / 0.1
    ASSERT_EQ(first.samples.GetSize(), 3);
    EXPECT_EQ(first.samples[0].rssi, -48 * 16);
    EXPECT_EQ(first.samples[0].level2, kDefaultNoiseDbm);
    EXPECT_EQ(first.date1, 5);
    EXPECT_EQ(first.date2, 14);
    EXPECT_EQ(first.year, 44);
    EXPECT_EQ(first.hour, 9);
    EXPECT_EQ(scans.locations[1].samples[0].rssi, -888); // -55.5 dBm
    EXPECT_EQ(scans.locations[1].second, 20);
    EXPECT_TRUE(scans.locations[2].samples.IsEmpty()); // the empty scan
    EXPECT_EQ(scans.samples, 6);
    EXPECT_EQ(scans.bssids, 5);
}

TEST(IwScan, AManifestRowWithABadSignalIsRefusedAtTheScansLine) {
    std::vector<std::string> read;
    const CWalk stopped = ImportFile("iw/bad-signal-manifest.csv", read);
    EXPECT_FALSE(stopped.Ok());
    ASSERT_EQ(stopped.refused.size(), 1u);
    EXPECT_EQ(stopped.refused[0].Text(), ImportFixture("iw/scan-unspecified-signal.txt") +
                                             ":6: signal not in dBm: 'signal: 60/100'");
}

} // namespace
} // namespace tarvo
