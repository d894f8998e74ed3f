// A recorded walk's points, its survey file written out byte by byte from
// the file layout (independently of the writer), undo, refusals, the GPS
// plan and the throughput side file.

#include "record/RecordSession.h"
#include "import/ImportFields.h"
#include "record/ThroughputCsv.h"
#include "support/RecordedWalkBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace tarvo::test {
namespace {

// 2024-05-14 10:20:30 UTC (the tests run with TZ=UTC).
constexpr std::int64_t kScanTime = 1715682030;
constexpr std::int64_t kCreated = 1715680000;

CImportPlan FloorPlan() {
    CImportPlan plan;
    plan.width = 200;
    plan.height = 100;
    plan.scaleX = plan.scaleY = 0.1; // 20 x 10 m
    return plan;
}

CIwBss Bss(int last, double dbm, const std::string& ssid, int channel) {
    CIwBss bss;
    bss.bssid = {0x02, 0x1a, 0x2b, 0x3c, 0x4d, static_cast<std::uint8_t>(last)};
    bss.signalDbm = dbm;
    bss.ssid = ssid;
    bss.channel = channel;
    return bss;
}

CScan ScanOf(std::vector<CIwBss> heard, std::int64_t time = kScanTime) {
    CScan scan;
    scan.heard = std::move(heard);
    scan.timeSeconds = time;
    return scan;
}

CRecordPosition Metres(double x, double y) {
    return {ImportFrame::SiteMetres, x, y};
}

// 2024-05-14 10:20:30, and 4 s before.
const std::vector<int> kTime = {5, 14, 44, 10, 20, 30};
const std::vector<int> kEarlier = {5, 14, 44, 10, 20, 26};

TEST(RecordSession, TheSurveyFileHoldsTheMeanLevelsAndHowManyScansHeardThem) {
    CRecordSession session(FloorPlan(), kCreated);
    // Point 1 at (3, 4) m: pixel (30, 100 - 40); A in both scans, B in one.
    const CAddOutcome first = session.Add(
        Metres(3.0, 4.0), {ScanOf({Bss(1, -48.0, "Office", 36), Bss(2, -63.0, "Gast", 6)}),
                           ScanOf({Bss(1, -52.5, "Office", 36)}, kScanTime - 4)});
    ASSERT_EQ(first.refusal, "");
    // Point 2 hears nothing: a location without samples.
    ASSERT_EQ(session.Add(Metres(12.34, 0.0), {ScanOf({})}).refusal, "");

    CWalkBytes expected = CWalkBytes::Header(kCreated);
    // The last scan's time stands for the point: 4 s earlier than kScanTime.
    expected.Location(30, 60, kEarlier, 2);
    // A: (-48 - 52.5) / 2 = -50.25 dBm = -804 sixteenths; B: -63 dBm = -1008.
    expected.Sample(36, -804, 1, "Office", 2).Sample(6, -1008, 2, "Gast", 1);
    // 12.34 m is pixel 123.4, stored as 123; y 0 is the bottom edge, row
    // 100, held to the last row, 99.
    expected.Location(123, 99, kTime, 0);
    EXPECT_EQ(session.WalkBytes(), expected.bytes);

    const CRecordedPoint& point = session.Points()[0];
    EXPECT_EQ(point.scans, 2);
    EXPECT_EQ(point.heard, (std::vector<std::uint16_t>{2, 1}));
    EXPECT_EQ(point.strongestDbm, -50.25);
    EXPECT_NEAR(point.siteX, 3.0, 1e-12);
    EXPECT_NEAR(point.siteY, 4.0, 1e-12);
    EXPECT_FALSE(session.Points()[1].strongestDbm);
    EXPECT_NEAR(session.Points()[1].siteX, 12.3, 1e-12) << "where the stored pixel lies";
}

TEST(RecordSession, UndoTakesTheLastPointBack) {
    CRecordSession session(FloorPlan(), kCreated);
    EXPECT_FALSE(session.Undo());
    session.Add(Metres(3.0, 4.0), {ScanOf({Bss(1, -48.0, "Office", 36)})});
    const std::vector<std::uint8_t> one = session.WalkBytes();
    session.Add(Metres(5.0, 4.0), {ScanOf({Bss(2, -70.0, "Gast", 6)})});
    EXPECT_GT(session.WalkBytes().size(), one.size());
    EXPECT_TRUE(session.Undo());
    EXPECT_EQ(session.WalkBytes(), one);
    EXPECT_TRUE(session.Undo());
    EXPECT_EQ(session.WalkBytes(), CWalkBytes::Header(kCreated).bytes) << "an empty walk";
}

TEST(RecordSession, PositionsOffThePlanAndLevelsBeyondASurveyAreRefused) {
    CRecordSession session(FloorPlan(), kCreated);
    const auto outside = session.Place(Metres(20.5, 3.0));
    EXPECT_EQ(outside.refusal, "position outside the plan: (20.50, 3.00) m (x_m, y_m); the plan "
                               "covers 0 to 20.00 m across and 0 to 10.00 m up");
    EXPECT_EQ(session.Add(Metres(-1.0, 3.0), {ScanOf({})}).refusal.rfind("position outside", 0),
              0u);
    const auto pixel = session.Place({ImportFrame::Pixels, 199.4, 0.0});
    EXPECT_EQ(pixel.refusal, "");
    EXPECT_EQ(pixel.point.location.pixelX, 199);
    EXPECT_NE(session.Place({ImportFrame::Pixels, 10.0, 100.0}).refusal, "") << "rows 0 to 99";
    EXPECT_EQ(session.Add(Metres(1.0, 1.0), {}).refusal, "no scan was taken");

    const CAddOutcome loud =
        session.Add(Metres(1.0, 1.0), {ScanOf({Bss(1, 25.0, "x", 1), Bss(2, -40.0, "y", 1)})});
    EXPECT_EQ(loud.refusal, "");
    EXPECT_EQ(loud.leftOut, (std::vector<std::string>{"02-1A-2B-3C-4D-01 at 25.00 dBm"}));
    EXPECT_EQ(session.Points().back().heard.size(), 1u);
    EXPECT_EQ(session.Count(), 1u);
}

TEST(RecordSession, OnAGpsPlanPointsGetLatitudeAndLongitude) {
    CImportPlan plan;
    plan.gps = true;
    plan.width = 1000;
    plan.height = 1000;
    plan.scaleX = plan.scaleY = 0.1;
    // Pixel column = 10000 * (longitude - 8), row = 10000 * (50 - latitude).
    plan.matrix[0] = {0.0, 10000.0, 0.0, -80000.0};
    plan.matrix[1] = {-10000.0, 0.0, 0.0, 500000.0};
    CRecordSession session(plan, kCreated);
    ASSERT_TRUE(session.Gps());
    ASSERT_EQ(session.Add({ImportFrame::Pixels, 250.0, 400.0}, {ScanOf({})}).refusal, "");
    const CDataPoint& at = session.Points()[0].location;
    EXPECT_EQ(at.kind, 0);
    EXPECT_EQ(at.fix, 2) << "placed on the map, not a GPS fix";
    EXPECT_EQ(at.northing, 3600000 * 50 - 3600000 * 4 / 100) << "latitude 49.96";
    EXPECT_EQ(at.easting, 3600000 * 8 + 3600000 * 25 / 1000) << "longitude 8.025";
    EXPECT_TRUE(std::isnan(session.Points()[0].siteX));
}

TEST(RecordSession, TheThroughputSideFileHasARowPerMeasuredPoint) {
    CTempDir dir;
    CRecordSession session(FloorPlan(), kCreated);
    CThroughputResult both;
    both.down.bitsPerSecond = 54217400.7;
    both.up.bitsPerSecond = 21700000.0;
    both.up.jitterMs = 0.412;
    CThroughputResult upFailed;
    upFailed.down.bitsPerSecond = 1048719.4;
    upFailed.up.error = "unable to connect";
    session.Add(Metres(3.0, 4.0), {ScanOf({})}, both);
    session.Add(Metres(4.0, 4.0), {ScanOf({})});
    session.Add(Metres(15.06, 9.94), {ScanOf({})}, upFailed);
    const std::string walk = dir.File("walk.ssd");
    ASSERT_EQ(SaveRecording(session, walk, true), "");
    EXPECT_EQ(ReadBytes(walk), session.WalkBytes());
    // 15.06 m is pixel 150.6, rounded to 151 (15.1 m); 9.94 m up is row
    // 0.6 from the top, rounded to 1 (9.9 m).
    EXPECT_EQ(ReadText(dir.File("walk.throughput.csv")), "x_m,y_m,down_bps,up_bps,jitter_ms\n"
                                                         "3.000,4.000,54217401,21700000,0.412\n"
                                                         "15.100,9.900,1048719,,\n");

    // Without throughput only the walk is written.
    const std::string plain = dir.File("plain.ssd");
    ASSERT_EQ(SaveRecording(session, plain, false), "");
    EXPECT_FALSE(std::filesystem::exists(dir.File("plain.throughput.csv")));
    // A folder that does not exist: the message names the file.
    EXPECT_EQ(SaveRecording(session, dir.File("no/walk.ssd"), false).rfind("Error opening file", 0),
              0u);
}

} // namespace
} // namespace tarvo::test
