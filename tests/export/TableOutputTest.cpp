#include "export/TableOutput.h"

#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;
using test::ReadText;

CDataSsd Sample(int channel, int rssi, const std::string& ssid, std::uint8_t lastMacByte) {
    CDataSsd s;
    s.channel = channel;
    s.rssi = static_cast<std::int16_t>(rssi);
    s.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, lastMacByte};
    s.ssid = SsidFromText(ssid);
    return s;
}

// A location with speed and altitude in 1/256 units, its time (hour,
// minute, second) and its date bytes.
CDataPoint Location(std::uint8_t kind, std::int32_t northing, std::int32_t easting,
                    std::uint16_t speed, std::int32_t altitude, std::uint8_t fix,
                    std::array<std::uint8_t, 6> timeAndDate) {
    CDataPoint p;
    p.kind = kind;
    p.northing = northing;
    p.easting = easting;
    p.speed = speed;
    p.altitude = altitude;
    p.fix = fix;
    p.hour = timeAndDate[0];
    p.minute = timeAndDate[1];
    p.second = timeAndDate[2];
    p.date1 = timeAndDate[3];
    p.date2 = timeAndDate[4];
    p.year = timeAndDate[5];
    return p;
}

// A GPS study whose projection maps site (X, Y) straight to (lon, lat):
// a = 0, b = 1, d = -1, e = 0, c = f = 0, H = 0, one metre per pixel, so
// the inverse gives det = 1, latitude = Y and longitude = X.
CTarvoAnalyzerDoc GpsStudy() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.gpsPointsPresent = true;
    doc.UseFeet = false;
    doc.projectionKind = kProjectionGps;
    doc.ProjectionMatrix[0][1] = 1.0;
    doc.ProjectionMatrix[1][0] = -1.0;
    doc.SiteScaleX = 1.0;
    doc.SiteScaleY = 1.0;
    CAPInfo office;
    office.ssid = SsidFromText("office");
    CAPInfo guest;
    guest.ssid = SsidFromText("guest-net"); // longest SSID: width 9
    doc.aps.Add(office);
    doc.aps.Add(guest);

    // Y 45.12 m -> latitude 45.12, X -73.5 m -> longitude -73.5; 10 km/h,
    // 10 m; a good fix with two samples.
    doc.points.Add(Location(0, 4512, -7350, 2560, 2560, 2, {9, 5, 30, 3, 14, 46}));
    doc.points[0].samples = {Sample(6, -1, "office", 0x5E), Sample(165, -1000, "lab<&>", 0x01)};
    // A good fix without altitude, an unknown fix value and no samples.
    doc.points.Add(Location(0, 0, 0, 0, -10000, 5, {23, 59, 9, 12, 31, 5}));
    // GPS without a good fix.
    doc.points.Add(Location(1, -100, 250, 5000, 100, 1, {10, 10, 10, 10, 10, 10}));
    doc.points[2].samples = {Sample(0, -16, "guest-net", 0xFF)};
    return doc;
}

CTableOptions Chosen(const std::string& path) {
    CTableOptions options;
    options.path = path;
    options.fileChosen = true;
    return options;
}

TEST(TableOutput, GpsStudyWholeFile) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = GpsStudy();
    CFakeUi ui;
    const std::string path = dir.File("survey.txt");
    ASSERT_EQ(WriteTable(doc, Chosen(path), ui), TableResult::Written);

    const std::string expected =
        "#\tLat\tLon\tCH(MHz)\tMAC              \tSSID     \tRSSI\tV(KPH)\tH(M)\tGPS\tTime    "
        "\tDate\t\r\n"
        // raw RSSI -1 -> 0, channel 6 -> 2437 MHz, 10 km/h, 10 m, fix 2 -> 3D
        "0\t45.120000\t-73.500000\t2437\t00-1A-2B-3C-4D-5E\toffice   \t0\t10\t10\t3D\t09:05:30"
        "\t46/03/14\t\r\n"
        // channel 165 -> 5000 + 5 * 165 = 5825 MHz, raw RSSI -1000 -> -62;
        // SSID written as it is
        "0\t45.120000\t-73.500000\t5825\t00-1A-2B-3C-4D-01\tlab<&>   \t-62\t10\t10\t3D\t09:05:30"
        "\t46/03/14\t\r\n"
        // no samples: empty AP cells, SSID cell blank to width 9; altitude
        // -10000 and fix 5 give empty cells
        "1\t0.000000\t0.000000\t\t\t         \t\t0\t\t\t23:59:09\t5/12/31\t\r\n"
        // no good fix: speed, height and fix cells empty; channel 0 -> -1;
        // raw RSSI -16 -> -1
        "2\t-1.000000\t2.500000\t-1\t00-1A-2B-3C-4D-FF\tguest-net\t-1\t\t\t\t10:10:10\t10/10/10"
        "\t\r\n";
    EXPECT_EQ(ReadText(path), expected);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.opened, std::vector<std::string>{path});
    EXPECT_EQ(ui.progress.Texts(), (std::vector<std::string>{"Writing...", "Finish..."}));
    EXPECT_FALSE(ui.progress.Visible());
}

TEST(TableOutput, LinearStudyCommaWithoutHeaderOrIndex) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.linearPointsPresent = true;
    doc.UseFeet = true;
    doc.ImageHeight = 100;
    doc.SiteScaleY = 0.5;
    doc.SiteScaleX = 0.25;
    CAPInfo ap;
    ap.ssid = SsidFromText("ab");
    doc.aps.Add(ap);
    CDataPoint p = Location(2, 0, 0, 0, 5000, 0, {7, 0, 0, 1, 2, 45});
    p.pixelX = 40; // 10 m = 32.8 ft
    p.pixelY = 20; // (100 - 20) * 0.5 = 40 m = 131.2 ft
    p.samples.Add(Sample(11, 33, "ab", 0x10));
    doc.points.Add(p);

    CTableOptions options = Chosen(dir.File("lin.txt"));
    options.includeHeader = false;
    options.includeIndex = false;
    options.delimiter = kDelimiterComma;
    CFakeUi ui;
    ASSERT_EQ(WriteTable(doc, options, ui), TableResult::Written);
    EXPECT_EQ(ReadText(options.path),
              "131.2,32.8,2462,00-1A-2B-3C-4D-10,ab,2,07:00:00,45/01/02,\r\n");
}

TEST(TableOutput, RefusalsAndCancellation) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = GpsStudy();
    CFakeUi ui;
    EXPECT_EQ(WriteTable(doc, std::nullopt, ui), TableResult::Cancelled);
    CTableOptions typed; // a path typed by hand is not used
    typed.path = dir.File("typed.txt");
    EXPECT_EQ(WriteTable(doc, typed, ui), TableResult::Cancelled);
    EXPECT_EQ(WriteTable(CTarvoAnalyzerDoc{}, Chosen(dir.File("x.txt")), ui),
              TableResult::NotProcessed);
    EXPECT_EQ(ui.messages.at(0).text, "Please load a SSD file.");
    const std::string bad = dir.File("missing/folder/t.txt");
    EXPECT_EQ(WriteTable(doc, Chosen(bad), ui), TableResult::Failed);
    EXPECT_EQ(ui.messages.at(1).text,
              "Error opening file " + bad + ". (No such file or directory)");
    // Cancel while writing leaves no half-written table.
    ui.progress.CancelAtText("Writing...");
    EXPECT_EQ(WriteTable(doc, Chosen(dir.File("c.txt")), ui), TableResult::Cancelled);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_TRUE(ui.opened.empty());
}

TEST(TableOutput, LargeStudySplitsIntoFolder) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.points.SetSize(kTableLocationsPerFile + 1); // 60001 locations, no samples
    CTableOptions options = Chosen(dir.File("big.txt"));
    options.includeHeader = false;
    CFakeUi ui;
    ASSERT_EQ(WriteTable(doc, options, ui), TableResult::WrittenSplit);

    // k = 60001 / 60000 + 1 = 2 files, shared out as 30001 and 30000 rows.
    const std::string folder = dir.File("big");
    EXPECT_EQ(ui.opened, std::vector<std::string>{folder});
    EXPECT_EQ(ui.Said(), "Output Files: The converted files have been saved to: \n " + folder +
                             "\\ \t \nbig_1.txt\t\t \t 30001 Samples \n"
                             "big_2.txt\t\t \t 30000 Samples \n");
    const std::string second = ReadText(folder + "/big_2.txt");
    EXPECT_EQ(second.substr(0, 15), "30001\t\t\t\t\t00:00");
    EXPECT_FALSE(std::filesystem::exists(options.path));
}

} // namespace
} // namespace tarvo
