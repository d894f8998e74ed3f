#include "cli/ToolRunner.h"
#include "formats/WorkspaceWriter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using test::CToolRun;
using test::RunTarvo;

class InfoWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.files.Add(CDataFile{"a.ssd", "/d/a.ssd", "", "", 1, 2, 0});
        doc.files.Add(CDataFile{"b.ssd", "/d/b.ssd", "", "", 0, 0, 0});
        CDataPoint gps;
        gps.samples.Add(CDataSsd{});
        gps.samples.Add(CDataSsd{});
        doc.points.Add(gps);
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
        doc.markers.Add(CAPMarker{});
        doc.processed = true;
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
    }

    std::string Write(const std::string& name) {
        std::string path = dir.File(name);
        EXPECT_TRUE(WriteWorkspaceFile(doc, path));
        return path;
    }

    test::CTempDir dir;
    CTarvoAnalyzerDoc doc;
};

TEST_F(InfoWorkspaceTest, JsonSummary) {
    const std::string path = Write("study.tws");
    CToolRun r = RunTarvo({"info", "--json", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "[{\"path\":\"" + path +
                  "\",\"kind\":\"workspace\",\"version\":1,"
                  "\"map\":{\"projection\":\"linear\",\"subtype\":1,\"width\":30,\"height\":20,"
                  "\"imageBytes\":100,\"projectionFile\":\"/maps/f.lpf\"},"
                  "\"files\":[{\"title\":\"a.ssd\",\"path\":\"/d/a.ssd\",\"selected\":true,"
                  "\"points\":2},{\"title\":\"b.ssd\",\"path\":\"/d/b.ssd\",\"selected\":false,"
                  "\"points\":0}],"
                  "\"locations\":{\"gpsFix\":1,\"gpsNoFix\":0,\"linear\":1},\"samples\":3,"
                  "\"aps\":{\"count\":2,\"valid\":1,\"selected\":1},\"markedAps\":1,"
                  "\"interferenceSources\":0,\"processed\":true,"
                  "\"coverage\":{\"rows\":4,\"columns\":5,\"resolution\":0.5},"
                  "\"useFeet\":true,\"powerLowDbm\":-90,\"powerHighDbm\":-30,"
                  "\"minPointsForEstimate\":20}]\n");
}

TEST_F(InfoWorkspaceTest, TextSummaryAndRecognitionByMagic) {
    doc.mapLoaded = false;
    doc.coveragePresent = false;
    const std::string path = Write("study.bak"); // not named .tws: known by its magic
    CToolRun r = RunTarvo({"info", path});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("  map:                  none\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("    [ ] /d/b.ssd (0 points)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  APs:                  2 (valid 1, selected 1)\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  coverage:             none\n"), std::string::npos) << r.out;
}

TEST_F(InfoWorkspaceTest, DamagedWorkspaceIsRefused) {
    const std::string path = dir.Write("cut.tws", {0x20, 'T', 'W', 'S', 1, 0, 0, 0, 0, 5});
    CToolRun r = RunTarvo({"info", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid File: File is not recognized as a TWS file.\n");
    EXPECT_EQ(r.out, "");
}

} // namespace
} // namespace tarvo
