#include "cli/ToolRunner.h"
#include "formats/WorkspaceWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvo {
namespace {

using test::CToolRun;
using test::RunTarvo;

TEST(InfoTest, SurveyFilesAndRefusals) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    test::CTempDir dir;
    test::CSampleSpec a, b;
    b.mac[5] = 9;
    test::CSsdBuilder walk;
    walk.Gps(1, 1, {a, b}).Gps(1, 2, {a}, 1).MarkedAp(1, 2, 6, "x", "m");
    const std::string good = dir.Write("walk.ssd", walk.Bytes());
    const std::string bad = dir.Write("bad.ssd", test::CSsdBuilder().FileType(2).Bytes());

    CToolRun r = RunTarvo({"info", "--json", good});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[{\"path\":\"" + good +
                         "\",\"kind\":\"survey\",\"created\":\"Fri Jan  1 00:00:00 2010\","
                         "\"locations\":{\"gpsFix\":1,\"gpsNoFix\":1,\"linear\":0},"
                         "\"samples\":3,\"markedAps\":1,\"interferenceSources\":0,"
                         "\"distinctMacs\":2}]\n");
    r = RunTarvo({"info", good, bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("distinct MACs:        2"), std::string::npos) << r.out;
    EXPECT_EQ(r.err, "Invalid File: " + bad +
                         ": Unsupported SSD Filetype. May be for a different product.\n"
                         "Invalid File: File is not a valid SSD file: \"" +
                         bad + "\".\n");
    EXPECT_EQ(RunTarvo({"frobnicate"}).status, 2);
    EXPECT_NE(RunTarvo({"info", "--bogus", good}).err.find("unknown option --bogus"),
              std::string::npos);
    EXPECT_EQ(RunTarvo({"help"}).status, 0);
}

TEST(InfoTest, WorkspaceSummaryRecognisedByItsMagic) {
    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
    doc.files.Add(CDataFile{"a.ssd", "/d/a.ssd", "", "", 1, 2, 0});
    doc.files.Add(CDataFile{"b.ssd", "/d/b.ssd", "", "", 0, 0, 0});
    CDataPoint linear;
    linear.kind = 2;
    linear.samples.Add(CDataSsd{});
    doc.points.Add(linear);
    CAPInfo ap;
    ap.valid = 1;
    doc.aps.Add(ap);
    ap.valid = 0;
    ap.selected = 1;
    doc.aps.Add(ap);
    doc.mapLoaded = true;
    doc.projectionKind = kProjectionLinear;
    doc.projectionSubtype = 1;
    doc.projectionPath = "/maps/f.lpf";
    doc.ImageWidth = 30;
    doc.ImageHeight = 20;
    doc.mapBytes.assign(100, 0);
    doc.coveragePresent = true;
    doc.CoverageRows = 4;
    doc.CoverageCols = 5;
    doc.Resolution = 0.5;
    const std::string path = dir.File("study.bak"); // not named .tws
    ASSERT_TRUE(WriteWorkspaceFile(doc, path));

    CToolRun r = RunTarvo({"info", "--json", path});
    EXPECT_EQ(r.status, 0) << r.err;
    for (const char* part :
         {"\"kind\":\"workspace\",\"version\":1,\"map\":{\"projection\":\"linear\",\"subtype\":1,"
          "\"width\":30,\"height\":20,\"imageBytes\":100,\"projectionFile\":\"/maps/f.lpf\"}",
          "{\"title\":\"b.ssd\",\"path\":\"/d/b.ssd\",\"selected\":false,\"points\":0}",
          "\"aps\":{\"count\":2,\"valid\":1,\"selected\":1}",
          "\"coverage\":{\"rows\":4,\"columns\":5,\"resolution\":0.5}"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
    r = RunTarvo({"info", path});
    EXPECT_NE(r.out.find("    [ ] /d/b.ssd (0 points)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  APs:                  2 (valid 1, selected 1)\n"), std::string::npos);

    r = RunTarvo({"info", dir.Write("cut.tws", {0x20, 'T', 'W', 'S', 1, 0, 0, 0, 0, 5})});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid File: File is not recognized as a TWS file.\n");
}

} // namespace
} // namespace tarvo
