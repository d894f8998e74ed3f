#include "formats/SsdReader.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CSampleSpec;
using test::CSsdBuilder;

class SsdReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }

    // Adds a file entry for bytes written to the temporary folder.
    int AddFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        CDataFile entry;
        entry.title = name;
        entry.path = dir.Write(name, bytes);
        return doc.files.Add(entry);
    }

    CSampleSpec Sample(std::uint8_t lastMacByte, std::int16_t rssiDbm, const char* ssid = "lab") {
        CSampleSpec s;
        s.mac[5] = lastMacByte;
        s.rssi16 = static_cast<std::int16_t>(rssiDbm * 16);
        s.ssid = ssid;
        return s;
    }

    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    CFakeUi ui;
};

TEST_F(SsdReaderTest, GpsWalkLoadsLocationsAndSamples) {
    CSsdBuilder b;
    b.Created(0).Gps(47.5, -122.25, {Sample(1, -60), Sample(2, -75, "guest")});
    b.Gps(47.5001, -122.2501, {Sample(1, -62)}, 1);
    AddFile("walk.ssd", b.Bytes());

    ASSERT_TRUE(LoadSelectedFiles(doc, ui));
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(doc.points.GetSize(), 2);
    EXPECT_EQ(doc.files[0].pointCount, 2);
    EXPECT_EQ(doc.files[0].created, "Thu Jan  1 00:00:00 1970\n");
    EXPECT_TRUE(doc.gpsPointsPresent);
    EXPECT_FALSE(doc.linearPointsPresent);

    const CDataPoint& p = doc.points[0];
    EXPECT_EQ(p.northing, 47.5 * 3600000);
    EXPECT_EQ(p.easting, -122.25 * 3600000);
    ASSERT_EQ(p.samples.GetSize(), 2);
    EXPECT_EQ(p.samples[1].RssiDbm(), -75.0);
    EXPECT_EQ(p.samples[1].level2, -95);
    EXPECT_EQ(MacText(p.samples[1].bssid), "00-1A-2B-3C-4D-02");
    EXPECT_EQ(SsidText(p.samples[1].ssid), "guest");
    EXPECT_EQ(doc.points[1].kind, 1);
}

// The points of one load keep each AP's channel, MAC and SSID once,
// whichever file and whichever place in a location's list it comes from;
// every sample still reads back as stored.
TEST_F(SsdReaderTest, ApsHeardEverywhereAreHeldOncePerLoad) {
    CSsdBuilder a, b;
    for (int i = 0; i < 30; ++i)
        a.Gps(1 + i * 1e-4, 1, {Sample(1, -40 - i), Sample(2, -50), Sample(3, -60, "other")});
    b.Gps(2, 2, {Sample(3, -61, "other"), Sample(1, -41)}) // another order
        .Gps(2, 2, {Sample(1, -42, "renamed")});
    AddFile("a.ssd", a.Bytes());
    AddFile("b.ssd", b.Bytes());
    ASSERT_TRUE(LoadSelectedFiles(doc, ui));
    ASSERT_EQ(doc.points.GetSize(), 32);
    const CSampleIdentities* table = doc.points[0].samples.Identities();
    for (const CDataPoint& p : doc.points)
        EXPECT_EQ(p.samples.Identities(), table);
    EXPECT_EQ(table->Size(), 4u); // MACs 1, 2, 3 and MAC 1 renamed
    EXPECT_EQ(doc.points[29].samples[0].rssi, -69 * 16);
    EXPECT_EQ(SsidText(doc.points[30].samples[0].ssid), "other");
    EXPECT_EQ(doc.points[30].samples[1].rssi, -41 * 16);
    EXPECT_EQ(SsidText(doc.points[31].samples[0].ssid), "renamed");
    EXPECT_EQ(doc.points[31].samples[0].bssid[5], 1);
}

TEST_F(SsdReaderTest, MarkerOnlyFileAddsMarkersAndSourcesButNoPoints) {
    CSsdBuilder b;
    b.MarkedAp(1000, 2000, 11, "corp", "AP-3F").Interference(5, 6, 48740, 400, "oven");
    AddFile("marks.ssd", b.Bytes());

    ASSERT_TRUE(LoadSelectedFiles(doc, ui));
    EXPECT_EQ(doc.points.GetSize(), 0);
    EXPECT_EQ(doc.files[0].pointCount, 0);
    ASSERT_EQ(doc.markers.GetSize(), 1);
    const CAPMarker& m = doc.markers[0];
    EXPECT_EQ(m.y, 1000.0);
    EXPECT_EQ(m.x, 2000.0);
    EXPECT_EQ(m.channel, 11u);
    EXPECT_EQ(SsidText(m.ssid), "corp");
    EXPECT_EQ(m.name, "AP-3F");
    EXPECT_EQ(m.dateTime, (DateTimeBytes{7, 4, 30, 10, 20, 0}));
    EXPECT_FALSE(m.inSiteUnits);
    ASSERT_EQ(doc.sources.GetSize(), 1);
    EXPECT_EQ(doc.sources[0].frequency, "2437 MHz");
    EXPECT_EQ(doc.sources[0].bandwidth, "20 MHz");
}

TEST_F(SsdReaderTest, ZeroSizedRecordAreaLoadsWithNoPoints) {
    CSsdBuilder zeroRecords(0, 46);
    zeroRecords.Linear(1, 1, {Sample(1, -50)});
    AddFile("empty.ssd", zeroRecords.Bytes());
    CSsdBuilder zeroSamples(36, 0); // zero is checked before the minimum sizes
    AddFile("empty2.ssd", zeroSamples.Bytes());

    EXPECT_TRUE(LoadSelectedFiles(doc, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.points.GetSize(), 0);
    EXPECT_EQ(doc.files[0].selected, 1);
    EXPECT_EQ(doc.files[1].selected, 1);
    EXPECT_FALSE(doc.noSurveyLoaded);
}

TEST_F(SsdReaderTest, UnsupportedFileTypeShowsBothMessagesAndDeselects) {
    CSsdBuilder b;
    b.FileType(2).Gps(1, 1, {Sample(1, -50)});
    AddFile("type2.ssd", b.Bytes());
    const std::string path = doc.files[0].path;

    EXPECT_FALSE(LoadSelectedFiles(doc, ui));
    EXPECT_EQ(ui.Said(), "Invalid File: " + path +
                             ": Unsupported SSD Filetype. May be for a different product.\n"
                             "Invalid File: File is not a valid SSD file: \"" +
                             path + "\".");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(doc.files[0].selected, 0);
    EXPECT_TRUE(doc.noSurveyLoaded);
}

TEST_F(SsdReaderTest, RefusedFilesAreDeselectedAndTheLoadGoesOn) {
    CSsdBuilder wrongMagic;
    wrongMagic.Magic(0x12345678).Gps(1, 1, {});
    AddFile("magic.ssd", wrongMagic.Bytes());
    CSsdBuilder tooSmallRecords(35, 46);
    AddFile("small.ssd", tooSmallRecords.Bytes());
    CSsdBuilder tooSmallSamples(36, 45);
    AddFile("small2.ssd", tooSmallSamples.Bytes());
    auto shortHeader = CSsdBuilder().Bytes();
    shortHeader.resize(20);
    AddFile("short.ssd", shortHeader);
    CSsdBuilder pastEnd;
    pastEnd.RecordAreaOffset(25);
    auto cut = pastEnd.Bytes();
    cut.resize(29); // recordSize readable, sampleSize not
    AddFile("cut.ssd", cut);
    CDataFile missing;
    missing.path = dir.File("missing.ssd");
    doc.files.Add(missing);
    CSsdBuilder good;
    good.Gps(1, 1, {Sample(1, -50)});
    AddFile("good.ssd", good.Bytes());

    EXPECT_TRUE(LoadSelectedFiles(doc, ui));
    std::string said;
    for (int i = 0; i < 6; ++i) {
        said += "Invalid File: File is not a valid SSD file: \"" + doc.files[i].path + "\".\n";
        EXPECT_EQ(doc.files[i].selected, 0) << i;
    }
    said.erase(said.rfind("Invalid File"));
    EXPECT_EQ(ui.Said(), said + "File Open Error: Could not open file \"" + missing.path + "\".");
    EXPECT_EQ(ui.messages[5].icon, MsgIcon::Error);
    EXPECT_EQ(doc.files[6].selected, 1);
    EXPECT_EQ(doc.points.GetSize(), 1);
}

TEST_F(SsdReaderTest, TruncatedDataEndsTheFileQuietlyAndDropsPartialSamples) {
    CSsdBuilder b;
    // Skipped and unknown records add no points.
    b.Skipped({Sample(1, -50)}).Raw(0x33, 7).Gps(1, 1, {Sample(1, -50)});
    b.Gps(2, 2, {Sample(1, -51), Sample(2, -52)});
    auto bytes = b.Bytes();
    bytes.resize(bytes.size() - 10); // the last sample is cut short
    AddFile("cut.ssd", bytes);

    ASSERT_TRUE(LoadSelectedFiles(doc, ui));
    ASSERT_EQ(doc.points.GetSize(), 2);
    ASSERT_EQ(doc.points[1].samples.GetSize(), 1);
    EXPECT_EQ(doc.points[1].sampleCount, 1);
    EXPECT_EQ(doc.points[1].samples[0].rssi, -51 * 16);
}

TEST_F(SsdReaderTest, LinearDataNeedsALinearProjection) {
    CSsdBuilder gps;
    gps.Gps(1, 1, {Sample(1, -50)});
    CSsdBuilder gps2;
    gps2.Gps(1.1, 1.1, {Sample(1, -50)});
    CSsdBuilder linear;
    linear.Linear(3, 4, {Sample(1, -50)});
    CSsdBuilder after;
    after.Gps(1, 1, {});
    AddFile("a.ssd", gps.Bytes());
    AddFile("b.ssd", gps2.Bytes());
    AddFile("c.ssd", linear.Bytes());
    AddFile("d.ssd", after.Bytes());
    doc.mapLoaded = true;
    doc.projectionKind = kProjectionGps;

    EXPECT_FALSE(LoadSelectedFiles(doc, ui));
    EXPECT_EQ(ui.Said(), "Please input the map.: The SSD File is collected with linear "
                         "projection. Please input the map");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(doc.points.GetSize(), 3); // the fourth file was never read
    EXPECT_EQ(doc.currentFilePath, doc.files[2].path);

    // GPS data with a linear map are refused the same way.
    doc.projectionKind = kProjectionLinear;
    ui.messages.clear();
    EXPECT_FALSE(LoadSelectedFiles(doc, ui));
    EXPECT_EQ(ui.Said(), "Please input the map.: The SSD File is collected with GPS. Please "
                         "input the GPS-projected map");
}

TEST_F(SsdReaderTest, EveryPrefixOfAValidFileIsHandled) {
    CSsdBuilder b(38, 48);
    b.Gps(1, 1, {Sample(1, -50), Sample(2, -60)})
        .MarkedAp(1, 2, 3, "m", "n")
        .Interference(1, 2, 3, 4, "s")
        .Skipped({Sample(3, -70)})
        .Gps(2, 2, {Sample(1, -55)});
    const auto full = b.Bytes();
    // Whole, the larger record and sample sizes skip their extra bytes.
    CTarvoAnalyzerDoc whole;
    whole.files.Add(CDataFile{});
    ASSERT_TRUE(ReadSurveyFile(whole, full, 0, ui));
    ASSERT_EQ(whole.points.GetSize(), 2);
    EXPECT_EQ(whole.points[0].samples[1].rssi, -60 * 16);
    EXPECT_EQ(whole.points[1].samples[0].bssid[5], 1);
    EXPECT_EQ(whole.markers.GetSize(), 1);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        CTarvoAnalyzerDoc d;
        d.files.Add(CDataFile{});
        std::vector<std::uint8_t> prefix(full.begin(), full.begin() + n);
        bool ok = ReadSurveyFile(d, prefix, 0, ui);
        EXPECT_EQ(ok, n >= 33) << n; // header and both sizes present
        for (const CDataPoint& p : d.points)
            EXPECT_EQ(p.samples.GetSize(), p.sampleCount);
    }
}

TEST(CreatedTextTest, FollowsCtimeAndRefusesOutOfRangeStamps) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(CreatedText(1262304000), "Fri Jan  1 00:00:00 2010\n");
    EXPECT_EQ(CreatedText(-1), "");
    EXPECT_EQ(CreatedText(32535215999), "Wed Dec 31 23:59:59 3000\n");
    EXPECT_EQ(CreatedText(32535216000), "");
}

} // namespace
} // namespace tarvo
