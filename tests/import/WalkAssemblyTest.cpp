#include "import/WalkAssembly.h"
#include "formats/SsdReader.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

CImportRow Row(ImportFrame frame, double first, double second, int line, std::uint8_t mac = 1) {
    CImportRow row;
    row.line = line;
    row.frame = frame;
    row.first = first;
    row.second = second;
    row.sample.bssid = {2, 0, 0, 0, 0, mac};
    row.sample.rssi = -60 * 16;
    row.sample.channel = 6;
    row.sample.level2 = kDefaultNoiseDbm;
    return row;
}

CImportRead Input(std::vector<CImportRow> rows, const std::string& file = "in.csv") {
    CImportRead read;
    read.file = file;
    read.rows = std::move(rows);
    return read;
}

// 200 x 100 pixels at 0.1 m: 20 m across, 10 m up.
CImportPlan LinearPlan() {
    CImportPlan plan;
    plan.width = 200;
    plan.height = 100;
    plan.scaleX = plan.scaleY = 0.1;
    return plan;
}

CWalk Assemble(std::vector<CImportRead> inputs, std::optional<CImportPlan> plan = LinearPlan(),
               bool skipBad = true) {
    CWalkOptions options;
    options.plan = plan;
    options.skipBad = skipBad;
    options.importSeconds = 1715682030; // 2024-05-14 10:20:30 UTC
    return AssembleWalk(inputs, options);
}

TEST(WalkAssembly, SiteMetresAndPixelsOnALinearPlan) {
    using F = ImportFrame;
    const CWalk walk =
        Assemble({Input({Row(F::SiteMetres, 2.0, 3.0, 2), Row(F::SiteMetres, 0.0, 0.0, 3),
                         Row(F::SiteMetres, 20.0, 10.0, 4), Row(F::SiteMetres, 20.01, 5.0, 5),
                         Row(F::SiteMetres, -0.01, 5.0, 6), Row(F::Pixels, 199.4, 99.4, 7),
                         Row(F::Pixels, 199.6, 0.0, 8), Row(F::Pixels, 70000.0, 0.0, 9)})});
    ASSERT_TRUE(walk.Ok());
    ASSERT_EQ(walk.locations.size(), 4u);
    auto pixel = [&](int i) {
        return std::pair<int, int>(walk.locations[i].pixelX, walk.locations[i].pixelY);
    };
    EXPECT_EQ(pixel(0), std::pair(20, 70)); // 2.0 / 0.1, 100 - 3.0 / 0.1
    EXPECT_EQ(pixel(1), std::pair(0, 99));  // the bottom edge is the last row
    EXPECT_EQ(pixel(2), std::pair(199, 0)); // the far corner
    EXPECT_EQ(pixel(3), std::pair(199, 99));
    EXPECT_EQ(walk.locations[0].kind, 2);
    ASSERT_EQ(walk.refused.size(), 4u);
    EXPECT_EQ(walk.refused[0].Text(),
              "in.csv:5: position outside the plan: (20.01, 5.00) m (x_m, y_m); the plan covers "
              "0 to 20.00 m across and 0 to 10.00 m up");
    EXPECT_EQ(walk.refused[1].line, 6);
    EXPECT_EQ(walk.refused[2].Text(),
              "in.csv:8: position outside the plan: pixel (199.60, 0.00) of a 200 x 100 pixel "
              "plan");
    EXPECT_EQ(walk.refused[3].Text(), "in.csv:9: position beyond 65,535 pixels: (70000.00, 0.00)");
    EXPECT_EQ(walk.skippedRows, 4);
}

TEST(WalkAssembly, ANewPlanCoversThePositionsAndShiftsNegativeOnes) {
    using F = ImportFrame;
    CWalkOptions options;
    options.newPlanMetresPerPixel = 0.5;
    const CWalk walk = AssembleWalk(
        {Input({Row(F::SiteMetres, -3.2, 2.0, 2), Row(F::SiteMetres, 10.0, 4.0, 3)})}, options);
    ASSERT_TRUE(walk.Ok());
    ASSERT_TRUE(walk.newPlan);
    // Shift ceil(5 - -3.2) = 9 m across, none up; 10 + 9 + 5 = 24 m and
    // 4 + 5 = 9 m at 0.5 m per pixel.
    EXPECT_EQ(walk.newPlan->shiftX, 9);
    EXPECT_EQ(walk.newPlan->shiftY, 0);
    EXPECT_EQ(walk.newPlan->width, 48);
    EXPECT_EQ(walk.newPlan->height, 18);
    EXPECT_EQ(walk.locations[0].pixelX, 12); // (-3.2 + 9) / 0.5 = 11.6
    EXPECT_EQ(walk.locations[0].pixelY, 14); // 18 - 2 / 0.5
    EXPECT_EQ(walk.locations[1].pixelX, 38);

    options.newPlanMetresPerPixel = 0.001; // 24 km of pixels
    const CWalk huge = AssembleWalk(
        {Input({Row(F::SiteMetres, 0.0, 0.0, 2), Row(F::SiteMetres, 100.0, 100.0, 3)})}, options);
    ASSERT_TRUE(huge.fatal);
    EXPECT_NE(huge.fatal->reason.find("105000 x 105000 pixels"), std::string::npos);
}

TEST(WalkAssembly, PositionsOnAGpsPlanBecomeLatitudeAndLongitude) {
    // North-aligned: column = 100000 * (lon - 13), row = -100000 * (lat - 53).
    CImportPlan plan;
    plan.gps = true;
    plan.width = plan.height = 1000;
    plan.scaleX = plan.scaleY = 1.0;
    plan.matrix[0][1] = 100000.0;
    plan.matrix[0][3] = -1300000.0;
    plan.matrix[1][0] = -100000.0;
    plan.matrix[1][3] = 5300000.0;
    const CWalk walk = Assemble({Input({Row(ImportFrame::SiteMetres, 250.0, 400.0, 2)})}, plan);
    ASSERT_TRUE(walk.Ok());
    EXPECT_TRUE(walk.gps);
    const CDataPoint& p = walk.locations[0];
    // Column 250, row 1000 - 400 = 600: longitude 13.0025, latitude 52.994.
    EXPECT_EQ(p.kind, 0);
    EXPECT_EQ(p.northing, 190778400);
    EXPECT_EQ(p.easting, 46809000);
    EXPECT_EQ(p.fix, 1);

    plan.matrix[0][1] = 0.0; // singular
    EXPECT_TRUE(Assemble({Input({Row(ImportFrame::SiteMetres, 1.0, 1.0, 2)})}, plan).fatal);
}

TEST(WalkAssembly, GpsPositionsNeedNoPlan) {
    const CWalk walk = Assemble({Input({Row(ImportFrame::LatLon, -33.5, 151.25, 2)})}, {});
    ASSERT_TRUE(walk.Ok());
    EXPECT_TRUE(walk.gps);
    EXPECT_EQ(walk.locations[0].northing, -120600000);
    EXPECT_EQ(walk.locations[0].easting, 544500000);
}

TEST(WalkAssembly, PositionsThatCannotBePlaced) {
    using F = ImportFrame;
    auto fatal = [](std::vector<CImportRead> inputs, std::optional<CImportPlan> plan,
                    bool newPlan = false) {
        CWalkOptions options;
        options.plan = plan;
        if (newPlan)
            options.newPlanMetresPerPixel = 0.1;
        const CWalk walk = AssembleWalk(inputs, options);
        return walk.fatal ? walk.fatal->Text() : std::string("(placed)");
    };
    EXPECT_EQ(fatal({Input({Row(F::SiteMetres, 1, 1, 2)}), Input({Row(F::LatLon, 1, 1, 4)}, "b")},
                    LinearPlan()),
              "b:4: GPS positions (lat,lon) and plan positions (x,y or x_m,y_m) in one walk: a "
              "walk holds one kind");
    EXPECT_EQ(fatal({Input({Row(F::LatLon, 1, 1, 2)})}, LinearPlan()),
              "in.csv:2: GPS positions (lat,lon) cannot be placed on a floor plan (.lpf): "
              "import them without a plan or with a GPS projection");
    EXPECT_EQ(fatal({Input({Row(F::Pixels, 1, 1, 3)})}, {}),
              "in.csv:3: positions in map pixels (x,y) need the plan they were taken on");
    EXPECT_EQ(fatal({Input({Row(F::SiteMetres, 1, 1, 3)})}, {}),
              "in.csv:3: positions in site metres (x_m,y_m) need a plan: the plan they belong "
              "to, or a new blank plan");
    EXPECT_EQ(fatal({Input({Row(F::LatLon, 1, 1, 2)})}, {}, true),
              "in.csv:2: a new plan is made for positions in site metres (x_m,y_m) only");
    EXPECT_EQ(fatal({Input({})}, LinearPlan()),
              "in.csv: nothing to import: no measurement was read");
    CImportRead unreadable = Input({});
    unreadable.fatal = CImportProblem{"in.csv", 1, "missing column rssi"};
    EXPECT_EQ(fatal({Input({Row(F::SiteMetres, 1, 1, 2)}), unreadable}, LinearPlan()),
              "in.csv:1: missing column rssi");
}

TEST(WalkAssembly, RowsFormLocationsByKeyPositionAndInput) {
    using F = ImportFrame;
    std::vector<CImportRow> rows = {Row(F::SiteMetres, 1, 1, 2, 1), Row(F::SiteMetres, 1, 1, 3, 2),
                                    Row(F::SiteMetres, 1, 1, 4, 3), Row(F::SiteMetres, 1, 1, 5, 4),
                                    Row(F::SiteMetres, 2, 1, 6, 5), Row(F::SiteMetres, 1, 1, 7, 6)};
    rows[2].locationKey = rows[3].locationKey = "k"; // a new key at the same place
    rows[3].heard = false;                           // joins its location
    const CWalk walk = Assemble({Input(rows), Input({Row(F::SiteMetres, 1, 1, 2, 7)}, "next")});
    ASSERT_TRUE(walk.Ok());
    std::vector<int> counts;
    for (const CDataPoint& p : walk.locations)
        counts.push_back(p.samples.GetSize());
    // {1,2} | key k: {3} | moved: {5} | back: {6} | the next input: {7}
    EXPECT_EQ(counts, (std::vector<int>{2, 1, 1, 1, 1}));
    EXPECT_EQ(walk.locations[0].sampleCount, 2);
    EXPECT_EQ(walk.samples, 6);
    EXPECT_EQ(walk.bssids, 6);
    // Without times of their own: the import time, a second per location.
    EXPECT_EQ(walk.locations[0].second, 30);
    EXPECT_EQ(walk.locations[4].second, 34);
    EXPECT_EQ(walk.locations[4].minute, 20);
    EXPECT_EQ(walk.locations[0].date2, 14);
}

TEST(WalkAssembly, ALocationHoldsAtMost65535Samples) {
    std::vector<CImportRow> rows(65536, Row(ImportFrame::SiteMetres, 1, 1, 2));
    const CWalk walk = Assemble({Input(std::move(rows))});
    ASSERT_EQ(walk.locations.size(), 2u);
    EXPECT_EQ(walk.locations[0].sampleCount, 65535);
    EXPECT_EQ(walk.locations[1].sampleCount, 1);
}

TEST(WalkAssembly, TheFirstRefusedRowStopsAnImportWithoutSkipping) {
    using F = ImportFrame;
    CImportRead read = Input(
        {Row(F::SiteMetres, 1, 1, 2), Row(F::SiteMetres, 99, 1, 3), Row(F::SiteMetres, 1, 1, 6)});
    read.refused.push_back({"in.csv", 5, "bad MAC 'x'", 5});
    read.refused.push_back({"in.csv", 4, "a quote is not closed", 4});
    const CWalk stopped = Assemble({read}, LinearPlan(), false);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.Ok());
    ASSERT_EQ(stopped.refused.size(), 1u);
    EXPECT_EQ(stopped.refused[0].line, 3); // the position outside the plan comes first
    EXPECT_TRUE(stopped.locations.empty());

    const CWalk skipped = Assemble({read}, LinearPlan(), true);
    EXPECT_TRUE(skipped.Ok());
    ASSERT_EQ(skipped.refused.size(), 3u);
    EXPECT_EQ(skipped.refused[1].line, 4);
    EXPECT_EQ(skipped.refused[2].line, 5);
    EXPECT_EQ(skipped.skippedRows, 3);
    EXPECT_EQ(skipped.locations.size(), 1u); // rows 2 and 6 at one place
}

TEST(WalkAssembly, TheWalkFileReadsBackAsItsLocations) {
    CImportRow gps = Row(ImportFrame::LatLon, 52.52, 13.405, 2);
    gps.gpsKind = 1;
    gps.altitudeRaw = -3000;
    gps.speedRaw = 700;
    gps.time = DateTimeBytes{12, 31, 43, 23, 59, 58};
    CImportRow silent = Row(ImportFrame::LatLon, 52.53, 13.405, 3);
    silent.heard = false;
    const CWalk walk = Assemble({Input({gps, silent})}, {});
    ASSERT_TRUE(walk.Ok());
    CTarvoAnalyzerDoc doc;
    CDataFile entry;
    entry.title = entry.path = "walk.ssd";
    doc.files.Add(entry);
    CSilentUi ui;
    ASSERT_TRUE(ReadSurveyFile(doc, WalkFileBytes(walk, 1715682030), 0, ui));
    ASSERT_EQ(doc.points.GetSize(), 2);
    EXPECT_EQ(doc.points[0], walk.locations[0]);
    EXPECT_EQ(doc.points[1], walk.locations[1]);
    EXPECT_EQ(doc.points[0].kind, 1);
    EXPECT_EQ(doc.points[0].altitude, -3000);
    EXPECT_EQ(doc.points[0].year, 43);
    EXPECT_EQ(doc.points[1].sampleCount, 0);
}

} // namespace
} // namespace tarvo
