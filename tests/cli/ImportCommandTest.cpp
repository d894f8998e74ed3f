// `tarvo import` end to end: round trips through a table of exact values
// and through `tarvo table`, the committed fixtures, new plans, and every
// refusal with its place and nothing written.

#include "cli/ToolRunner.h"
#include "formats/ProjectionReader.h"
#include "formats/SsdReader.h"
#include "model/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tarvo {

// Readable failures: a location as its record fields and sample count.
void PrintTo(const CDataPoint& p, std::ostream* out) {
    *out << Format("{kind %d, %d/%d, px %d,%d, %02d-%02d-%02d %02d:%02d:%02d, alt %d, speed %d, "
                   "fix %d, %d samples}",
                   p.kind, p.northing, p.easting, p.pixelX, p.pixelY, p.year, p.date1, p.date2,
                   p.hour, p.minute, p.second, p.altitude, p.speed, p.fix, p.samples.GetSize());
}

namespace {

using test::CToolRun;
using test::Has;
using test::RunTarvo;

std::string Fixture(const std::string& name) {
    return std::string(TARVO_TEST_DATA_DIR) + "/import/" + name;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The locations of a survey file as the reader gives them.
std::vector<CDataPoint> Locations(const std::string& path) {
    CTarvoAnalyzerDoc doc;
    CDataFile entry;
    entry.title = entry.path = path;
    doc.files.Add(entry);
    CSilentUi ui;
    EXPECT_TRUE(ReadSurveyFile(doc, test::ReadBytes(path), 0, ui)) << path;
    return doc.points.Vector();
}

struct CMap {
    int width = 0, height = 0;
    double scaleX = 0, scaleY = 0;
};

CMap LinearMap(const std::string& path) {
    const CProjectionParse parse =
        ParseProjection(test::ReadBytes(path), ProjectionFileKind::Linear);
    EXPECT_EQ(parse.status, ProjectionParseStatus::Ok);
    return {parse.contents.width, parse.contents.height, parse.contents.matrix[0][0],
            parse.contents.matrix[1][1]};
}

// A walk on a linear map written as the generic table, every value exact:
// positions in site metres to 17 digits, the RSSI in sixteenths (four
// decimals hold them exactly), the noise, the time and a location number
// that keeps apart consecutive locations on one pixel.
std::string WalkAsTable(const std::vector<CDataPoint>& points, const CMap& map) {
    std::string text = "location,x_m,y_m,bssid,ssid,rssi,channel,noise,time\n";
    for (std::size_t i = 0; i < points.size(); ++i) {
        const CDataPoint& p = points[i];
        const std::string lead = Format("%zu,%.17g,%.17g,", i, p.pixelX * map.scaleX,
                                        (map.height - p.pixelY) * map.scaleY);
        const std::string time = Format("%04d-%02d-%02dT%02d:%02d:%02d", 1980 + p.year, p.date1,
                                        p.date2, p.hour, p.minute, p.second);
        if (p.samples.IsEmpty())
            text += lead + ",,,,," + time + "\n";
        for (const CDataSsd& s : p.samples) {
            const auto& m = s.bssid;
            text +=
                lead +
                Format("%02x:%02x:%02x:%02x:%02x:%02x,\"%s\",%.4f,%d,%d,", m[0], m[1], m[2], m[3],
                       m[4], m[5], SsidText(s.ssid).c_str(), s.rssi / 16.0, s.channel, s.level2) +
                time + "\n";
        }
    }
    return text;
}

// What `process --json --with-matrix` says about the APs and the points:
// everything but the file names and times.
std::string ApsAndPoints(const std::string& json) {
    const std::size_t aps = json.find("\"aps\":");
    const std::size_t markers = json.find("\"markers\":");
    const std::size_t points = json.find("\"points\":[[");
    EXPECT_NE(aps, std::string::npos);
    EXPECT_NE(points, std::string::npos);
    return json.substr(aps, markers - aps) + json.substr(points);
}

// The locations without what the generic table does not carry for plan
// positions (the speed the receiver logged, altitude, fix, reserved fields).
std::vector<CDataPoint> WithoutGpsDetails(std::vector<CDataPoint> points) {
    for (CDataPoint& p : points) {
        p.speed = 0;
        p.altitude = 0;
        p.fix = 0;
        p.reserved1 = p.reserved2 = p.reserved3 = 0;
    }
    return points;
}

class ImportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    // A sample study written by `tarvo simulate`.
    std::string Simulate(const std::string& scenario) {
        const std::string out = dir.File(scenario);
        const CToolRun r =
            RunTarvo({"simulate", "--scenario", scenario, "--out", out, "--seed", "3"});
        EXPECT_EQ(r.status, 0) << r.err;
        return out;
    }
    std::string Write(const std::string& name, const std::string& text) {
        return dir.Write(name, Bytes(text));
    }
    bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    test::CTempDir dir;
};

TEST_F(ImportCommand, AnExactTableGivesTheStudyBack) {
    const std::string study = Simulate("office");
    const std::string map = study + "/office.lpf";
    const CMap plan = LinearMap(map);
    std::vector<std::string> originals, imported;
    for (const char* walk : {"walk1", "walk2"}) {
        const std::string original = study + "/" + walk + ".ssd";
        const std::string csv =
            Write(std::string(walk) + ".csv", WalkAsTable(Locations(original), plan));
        const std::string back = dir.File(std::string(walk) + "-back.ssd");
        const CToolRun r = RunTarvo({"import", csv, "--plan", map, "--out", back});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Locations(back), WithoutGpsDetails(Locations(original)));
        originals.push_back(original);
        imported.push_back(back);
    }
    auto process = [&map](const std::vector<std::string>& walks) {
        std::vector<std::string> args = {"process", "--map",         map,         "--json",
                                         "-",       "--with-matrix", "--threads", "1"};
        args.insert(args.end(), walks.begin(), walks.end());
        const CToolRun r = RunTarvo(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return ApsAndPoints(r.out);
    };
    const std::string expected = process(originals);
    EXPECT_TRUE(Has(expected, "\"valid\":true"));
    EXPECT_EQ(process(imported), expected);
}

TEST_F(ImportCommand, OurTableComesBackWithItsRoundingOnly) {
    const std::string study = Simulate("office");
    const std::string map = study + "/office.lpf";
    const std::string walk = study + "/walk1.ssd";
    const std::string table = dir.File("walk1.txt");
    ASSERT_EQ(RunTarvo({"table", "--map", map, walk, "--out", table}).status, 0);
    const std::string back = dir.File("back.ssd");
    const CToolRun r = RunTarvo({"import", table, "--plan", map, "--out", back});
    ASSERT_EQ(r.status, 0) << r.err;
    // The table rounds positions to 0.1 ft: half a step is 1.524 cm, less
    // than half of this plan's 5 cm pixels, so every pixel comes back. The
    // RSSI comes back truncated to whole dBm toward zero (less than 1 dBm
    // off); the noise, which the table leaves out, is the default.
    std::vector<CDataPoint> expected = WithoutGpsDetails(Locations(walk));
    for (CDataPoint& p : expected) {
        CPointSamples rounded;
        for (CDataSsd s : p.samples) {
            s.rssi = static_cast<std::int16_t>(s.rssi / 16 * 16);
            s.level2 = -95;
            rounded.Add(s);
        }
        p.samples = rounded;
    }
    EXPECT_EQ(Locations(back), expected);
}

TEST_F(ImportCommand, OurGpsTableComesBackWithinItsRounding) {
    const std::string study = Simulate("campus");
    const std::string walk = study + "/walk1.ssd";
    const std::string table = dir.File("campus.txt");
    ASSERT_EQ(RunTarvo({"table", walk, "--out", table, "--delimiter", ";"}).status, 0);
    const std::string back = dir.File("back.ssd");
    const CToolRun r = RunTarvo({"import", table, "--out", back});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<CDataPoint> original = Locations(walk), imported = Locations(back);
    ASSERT_EQ(imported.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        const CDataPoint& a = original[i];
        const CDataPoint& b = imported[i];
        // Positions pass through site centimetres (truncated: up to 1 cm,
        // 0.33 raw units of 1/3,600,000 degree) and six decimals of a
        // degree (up to 1.8 raw units).
        EXPECT_LE(std::abs(a.northing - b.northing), 3) << i;
        EXPECT_LE(std::abs(a.easting - b.easting), 3) << i;
        EXPECT_EQ(a.kind, b.kind) << i;
        ASSERT_EQ(a.samples.GetSize(), b.samples.GetSize()) << i;
        EXPECT_EQ(std::make_tuple(a.date1, a.date2, a.year, a.hour, a.minute, a.second),
                  std::make_tuple(b.date1, b.date2, b.year, b.hour, b.minute, b.second));
        if (a.kind == 0) {
            EXPECT_EQ(a.fix, b.fix) << i;
            // Whole miles per hour and feet: one step of 411.99 and 78.03 raw units.
            EXPECT_LE(std::abs(a.speed - b.speed), 412) << i;
            EXPECT_LE(std::abs(a.altitude - b.altitude), 79) << i;
        }
        for (int s = 0; s < a.samples.GetSize(); ++s) {
            EXPECT_EQ(b.samples[s].rssi, a.samples[s].rssi / 16 * 16);
            EXPECT_EQ(b.samples[s].bssid, a.samples[s].bssid);
            EXPECT_EQ(b.samples[s].channel, a.samples[s].channel);
        }
    }
}

TEST_F(ImportCommand, APhoneLogIsAGpsWalkProcessedWithoutAPlan) {
    const std::string out = dir.File("phone.ssd");
    const CToolRun r = RunTarvo({"import", Fixture("wigle/phone-log.csv"), "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out + ": 3 locations, 7 samples, 3 distinct BSSIDs, 0 rows skipped, 2 rows "
                           "of other radios left out (GPS locations)\n");
    const std::vector<CDataPoint> points = Locations(out);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].northing, 189072000); // 52.52 degrees
    EXPECT_EQ(points[0].kind, 0);
    EXPECT_EQ(points[0].fix, 2);
    const CToolRun processed = RunTarvo({"process", "--json", "-", "--min-points", "1", out});
    ASSERT_EQ(processed.status, 0) << processed.err;
    EXPECT_TRUE(
        Has(processed.out, "\"gps\":true,\"linear\":false,\"projectionKind\":0,\"points\":3,"));
    EXPECT_TRUE(
        Has(processed.out, "\"mac\":\"02-5E-00-00-00-03\",\"ssid\":\"Campus\",\"channel\":36"));
}

TEST_F(ImportCommand, SeveralInputsMakeOneWalkAndJsonCountsIt) {
    const std::string out = dir.File("both.ssd");
    const CToolRun r = RunTarvo(
        {"import", Fixture("iw/walk-manifest.csv"), Fixture("iw/walk-equivalent.csv"), "--new-plan",
         dir.File("plan.lpf"), "--plan-scale", "0.5", "--out", out, "--json", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "\"inputs\":[{\"path\":\"" + Fixture("iw/walk-manifest.csv") +
                               "\",\"format\":\"iw\"},{\"path\":\"" +
                               Fixture("iw/walk-equivalent.csv") + "\",\"format\":\"csv\"}]"));
    EXPECT_TRUE(Has(r.out, "\"gps\":false,\"locations\":6,\"samples\":12,\"bssids\":5,"
                           "\"skipped\":0,"));
    // 11 + 5 m across and 3 + 5 m up at 0.5 m per pixel; nothing negative.
    EXPECT_TRUE(Has(r.out, "\"newPlan\":{\"path\":\"" + dir.File("plan.lpf") +
                               "\",\"width\":32,\"height\":16,\"metresPerPixel\":0.5},"
                               "\"shift_m\":[0,0]}"));
    EXPECT_EQ(Locations(out).size(), 6u);
}

TEST_F(ImportCommand, ANewPlanShiftsNegativePositionsByWholeMetres) {
    const std::string csv = Write("neg.csv", "x_m,y_m,bssid,rssi\n"
                                             "-3.5,2.0,02:00:00:00:00:01,-50\n"
                                             "4.0,-1.0,02:00:00:00:00:01,-60\n");
    const std::string plan = dir.File("blank.lpf");
    const std::string out = dir.File("neg.ssd");
    const CToolRun r =
        RunTarvo({"import", csv, "--new-plan", plan, "--plan-scale", "0.5", "--out", out});
    ASSERT_EQ(r.status, 0) << r.err;
    // ceil(5 + 3.5) = 9 m across, ceil(5 + 1) = 6 m up; (4 + 9 + 5) / 0.5
    // by (2 + 6 + 5) / 0.5 pixels.
    EXPECT_TRUE(Has(r.out, plan + ": new blank plan of 36 x 26 pixels at 0.5 m per pixel (18 x "
                                  "13 m); positions shifted by (9, 6) m: site = input + shift\n"));
    const CToolRun processed = RunTarvo(
        {"process", "--map", plan, "--json", "-", "--with-matrix", "--min-points", "1", out});
    ASSERT_EQ(processed.status, 0) << processed.err;
    // Site centimetres (Y, X) of the two locations: input + shift.
    EXPECT_TRUE(Has(processed.out, "\"points\":[[800,550],[500,1300]]"));
}

TEST_F(ImportCommand, RefusedRowsAreReportedWithTheirPlaceAndNothingIsWritten) {
    const std::string study = Simulate("office"); // 0.05 m per pixel
    const std::string map = study + "/office.lpf";
    const std::string out = dir.File("never.ssd");
    auto refused = [&](const std::string& text, std::vector<std::string> extra = {}) {
        const std::string csv = Write("bad.csv", text);
        std::vector<std::string> args = {"import", csv, "--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        const CToolRun r = RunTarvo(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(Exists(out));
        return r.err;
    };
    const std::string header = "x_m,y_m,bssid,rssi\n1,1,02:00:00:00:00:01,-50\n";
    const std::string file = dir.File("bad.csv");
    for (const auto& [row, message] : std::vector<std::pair<std::string, std::string>>{
             {"1,1,02:00:00:00:00,-50", ":3: bad MAC '02:00:00:00:00'"},
             {"1,1,02:00:00:00:00:01,-160", ":3: RSSI outside -150..+20 dBm: -160"},
             {"1,1,02:00:00:00:00:01,loud", ":3: rssi is not a number: 'loud'"},
             {"1,1,02:00:00:00:00:01", ":3: missing column rssi"},
             {"1,999,02:00:00:00:00:01,-50", ":3: position outside the plan: (1.00, 999.00) m"}}) {
        const std::string err = refused(header + row + "\n", {"--plan", map});
        EXPECT_TRUE(Has(err, file + message)) << err;
        EXPECT_TRUE(Has(err, "stopped at the first refused row, nothing written")) << err;
    }
    EXPECT_TRUE(Has(refused("x_m,y_m,mac\n1,1,02:00:00:00:00:01\n", {"--plan", map}),
                    file + ":1: missing column rssi (or rssi_dbm, signal)"));
    EXPECT_TRUE(Has(refused("x,y,bssid,rssi\n1,1,02:00:00:00:00:01,-50\n"),
                    file + ":2: positions in map pixels (x,y) need the plan they were taken on"));
    EXPECT_TRUE(Has(refused("x,y,bssid,rssi\n70000,1,02:00:00:00:00:01,-50\n", {"--plan", map}),
                    file + ":2: position beyond 65,535 pixels"));
    EXPECT_TRUE(Has(refused("lat,lon,bssid,rssi\n1,1,02:00:00:00:00:01,-50\n", {"--plan", map}),
                    "cannot be placed on a floor plan"));

    // --skip-bad imports the rest, reports each refused row and counts them.
    const std::string csv = Write("some.csv", header + "1,1,zz,-50\n2,2,02:00:00:00:00:02,-61\n"
                                                       "3,3,02:00:00:00:00:03,99\n");
    const CToolRun skipped = RunTarvo({"import", csv, "--plan", map, "--out", out, "--skip-bad"});
    ASSERT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(skipped.err,
              csv + ":3: bad MAC 'zz'\n" + csv + ":5: RSSI outside -150..+20 dBm: 99\n");
    EXPECT_TRUE(Has(skipped.out, ": 2 locations, 2 samples, 2 distinct BSSIDs, 2 rows skipped"));
}

TEST_F(ImportCommand, OutputsNeverReplaceAnInput) {
    const std::string csv = Write("in.csv", "lat,lon,bssid,rssi\n1,1,02:00:00:00:00:01,-50\n");
    const std::string before = test::ReadText(csv);
    CToolRun r = RunTarvo({"import", csv, "--out", csv});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Has(r.err, "will not write " + csv));
    EXPECT_EQ(test::ReadText(csv), before);

    // A manifest's scan files are inputs too.
    const std::string scans = dir.File("scans");
    std::filesystem::create_directory(scans);
    for (const char* name : {"walk-manifest.csv", "scan-01.txt", "scan-02.txt", "scan-03.txt"})
        std::filesystem::copy_file(Fixture(std::string("iw/") + name), scans + "/" + name);
    r = RunTarvo({"import", scans + "/walk-manifest.csv", "--new-plan", dir.File("p.lpf"), "--out",
                  scans + "/scan-02.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(test::ReadText(scans + "/scan-02.txt"), test::ReadText(Fixture("iw/scan-02.txt")));
    EXPECT_FALSE(Exists(dir.File("p.lpf")));

    EXPECT_EQ(RunTarvo({"import", csv, "--out", dir.File("a.ssd"), "--plan", "x.lpf", "--new-plan",
                        "y.lpf"})
                  .status,
              2);
    EXPECT_EQ(RunTarvo({"import", csv, "--out", dir.File("a.ssd"), "--plan-scale", "1"}).status, 2);
    EXPECT_EQ(RunTarvo({"import", csv, "--out", dir.File("a.ssd"), "--format", "xml"}).status, 2);
    r = RunTarvo({"import", csv, "--out", dir.File("missing/a.ssd")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "Error opening file")) << r.err;
}

TEST_F(ImportCommand, InputsThatAreNoTables) {
    const std::string walk = dir.Write("walk.ssd", test::CSsdBuilder().Bytes());
    CToolRun r = RunTarvo({"import", walk, "--out", dir.File("a.ssd")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, walk + ": this is a survey file already: open it as it is")) << r.err;
    r = RunTarvo({"import", Fixture("iw/scan-01.txt"), "--out", dir.File("a.ssd")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, "this is the text of one iw scan")) << r.err;
    r = RunTarvo({"import", dir.File("nothing.csv"), "--out", dir.File("a.ssd")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Has(r.err, dir.File("nothing.csv") + ": cannot read the file")) << r.err;
}

} // namespace
} // namespace tarvo
