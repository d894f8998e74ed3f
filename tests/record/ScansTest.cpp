// Scans replayed from a folder, and scans of one point made into one
// reading per BSS.

#include "record/ReplayScanSource.h"
#include "record/ScanAverage.h"
#include "support/FakePrograms.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarvo::test {
namespace {

CIwBss Bss(int last, double dbm, const std::string& ssid = "net", int channel = 6) {
    CIwBss bss;
    bss.bssid = {2, 0, 0, 0, 0, static_cast<std::uint8_t>(last)};
    bss.signalDbm = dbm;
    bss.ssid = ssid;
    bss.channel = channel;
    return bss;
}

CScan ScanOf(std::vector<CIwBss> heard) {
    CScan scan;
    scan.heard = std::move(heard);
    return scan;
}

TEST(NaturalOrder, NumbersCompareByValue) {
    EXPECT_TRUE(NaturalLess("scan-2.txt", "scan-10.txt"));
    EXPECT_FALSE(NaturalLess("scan-10.txt", "scan-2.txt"));
    EXPECT_TRUE(NaturalLess("scan-2", "scan-02")) << "fewer leading zeros first";
    EXPECT_TRUE(NaturalLess("a", "ab"));
    EXPECT_TRUE(NaturalLess("A1", "a1")) << "other characters by byte";
    EXPECT_FALSE(NaturalLess("x7", "x7"));
    EXPECT_TRUE(NaturalLess("p9z", "p10a"));
    EXPECT_TRUE(NaturalLess("p00000000000000000000001", "p2")) << "runs longer than a number";
}

TEST(ReplaySource, ScansComeInNaturalOrderUntilNoneIsLeft) {
    int clock = 100;
    CReplayScanSource source(RecordData("replay"), [&clock] { return std::int64_t{clock++}; });
    ASSERT_EQ(source.Error(), "");
    ASSERT_EQ(source.Files().size(), 4u);
    EXPECT_EQ(source.Files()[2], RecordData("replay") + "/scan-3.txt");
    EXPECT_EQ(source.Files()[3], RecordData("replay") + "/scan-10.txt");

    const CScanOutcome first = source.Scan();
    ASSERT_TRUE(first.scan);
    ASSERT_EQ(first.scan->heard.size(), 2u);
    EXPECT_EQ(first.scan->heard[0].signalDbm, -48.0);
    EXPECT_EQ(first.scan->heard[1].ssid, "Caf\xc3\xa9 Gast");
    EXPECT_EQ(first.scan->timeSeconds, 100);
    EXPECT_EQ(source.Scan().scan->heard.size(), 3u);
    const CScanOutcome empty = source.Scan();
    ASSERT_TRUE(empty.scan) << "an empty text is a scan that heard nothing";
    EXPECT_TRUE(empty.scan->heard.empty());
    EXPECT_EQ(source.Scan().scan->heard[0].signalDbm, -70.0);
    const CScanOutcome over = source.Scan();
    EXPECT_FALSE(over.scan);
    EXPECT_EQ(over.error,
              "the replay folder " + RecordData("replay") + " has no more scans (4 used)");
}

TEST(ReplaySource, FoldersAndFilesThatCannotBeReplayedAreRefused) {
    CTempDir dir;
    EXPECT_EQ(CReplayScanSource(dir.File("missing")).Error(),
              "the replay folder " + dir.File("missing") + " does not exist or is not a folder");
    EXPECT_EQ(CReplayScanSource(dir.Path().string()).Error(),
              "the replay folder " + dir.Path().string() + " holds no scan files");

    // Hidden files and folders are not scans; a text that is no scan is an error.
    dir.Write(".hidden", {'x'});
    std::filesystem::create_directory(dir.Path() / "sub");
    const std::string notes = "a note, not a scan\n";
    dir.Write("notes.txt", std::vector<std::uint8_t>(notes.begin(), notes.end()));
    CReplayScanSource source(dir.Path().string());
    ASSERT_EQ(source.Files().size(), 1u);
    EXPECT_EQ(source.Scan().error,
              dir.File("notes.txt") + ": no BSS line: this is not the text of an iw scan");
    EXPECT_EQ(source.Used(), 1u);
}

TEST(ScanAverage, EachBssGetsTheMeanOfTheScansThatHeardIt) {
    // A heard by all three scans, B by two, C by the last only.
    const std::vector<CScan> scans = {
        ScanOf({Bss(0xA, -50.0, "a", 1), Bss(0xB, -60.0, "b", 0)}),
        ScanOf({Bss(0xB, -61.0, "b2", 11), Bss(0xA, -53.0), Bss(0xA, -20.0)}),
        ScanOf({Bss(0xC, -80.25, ""), Bss(0xA, -51.5)}),
    };
    const std::vector<CHeardBss> heard = AverageScans(scans);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].bssid[5], 0xA);
    EXPECT_DOUBLE_EQ(heard[0].meanDbm, (-50.0 - 53.0 - 51.5) / 3.0)
        << "the repeat at -20 is not used";
    EXPECT_EQ(heard[0].heard, 3);
    EXPECT_EQ(heard[0].ssid, "a");
    EXPECT_EQ(heard[0].channel, 1);
    EXPECT_EQ(heard[1].bssid[5], 0xB);
    EXPECT_DOUBLE_EQ(heard[1].meanDbm, -60.5);
    EXPECT_EQ(heard[1].heard, 2);
    EXPECT_EQ(heard[1].ssid, "b") << "the first scan's SSID";
    EXPECT_EQ(heard[1].channel, 11) << "the first channel known";
    EXPECT_EQ(heard[2].meanDbm, -80.25);
    EXPECT_EQ(heard[2].heard, 1);
    EXPECT_TRUE(AverageScans({}).empty());
    EXPECT_TRUE(AverageScans({CScan{}}).empty());
}

} // namespace
} // namespace tarvo::test
