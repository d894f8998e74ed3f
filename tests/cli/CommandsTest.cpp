// The tool's commands end to end on a small GPS walk and on sample
// studies: their options, their output and their refusals. What the
// libraries compute is tested beside them.

#include "cli/ToolRunner.h"
#include "formats/WorkspaceWriter.h"
#include "samples/SampleStudy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iconv.h>
#include <string>
#include <vector>

#ifdef TARVO_HAVE_tarvo_view
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#endif

namespace tarvo {
namespace {

using test::CToolRun;
using test::Has;
using test::RunTarvo;

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        survey = test::WriteGridWalk(dir);
    }
    test::CTempDir dir;
    std::string survey;
};

TEST_F(Commands, ProcessDescribesTheStudy) {
    CToolRun r = RunTarvo({"process", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"document\":{\"gps\":true,\"linear\":false,\"projectionKind\":0,"
                          "\"points\":49,",
                          0),
              0u);
    for (const std::string& part :
         {"\"files\":[{\"title\":\"walk.ssd\",\"path\":\"" + survey +
              "\",\"created\":\"Fri Jan  1 00:00:00 2010\",\"selected\":true,\"pointCount\":49,",
          std::string("{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"channel\":200,"
                      "\"frequency\":-1,"),
          std::string("\"markers\":[{\"mac\":\"AA-BB-CC-DD-EE-FF\",\"ssid\":\"net\",\"channel\":6,"
                      "\"name\":\"desk\",\"position\":["),
          std::string("\"sources\":[{\"name\":\"oven\",\"frequency\":\"2437 MHz\",")})
        EXPECT_TRUE(Has(r.out, part)) << part;
    EXPECT_FALSE(Has(r.out, "\"matrix\"") || Has(r.out, "nan"));
    EXPECT_TRUE(
        Has(RunTarvo({"process", "--with-matrix", "--json", "-", survey}).out, "\"matrix\":[-"));
    // The table: MAC, SSID padded to 32, channel, samples, thinned samples.
    r = RunTarvo({"process", "--no-merge", survey});
    EXPECT_EQ(r.out.rfind("2 APs from 49 points; resolution ", 0), 0u) << r.out;
    EXPECT_TRUE(
        Has(r.out, "00-1A-2B-3C-4D-01  net" + std::string(29, ' ') + "     6      49      49"))
        << r.out;

    EXPECT_EQ(RunTarvo({"process", "--min-points", "0", survey}).status, 2);
    EXPECT_EQ(RunTarvo({"process"}).status, 2);
    const std::string missing = dir.File("missing.ssd");
    r = RunTarvo({"process", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "File Open Error: Could not open file \"" + missing +
                         "\".\ntarvo process: nothing was loaded\n");
}

// A JSON file goes out in pieces as it is written; it holds what the same
// command prints, whatever its size.
TEST_F(Commands, JsonFileHoldsWhatTheCommandPrints) {
    const std::string json = dir.File("study.json");
    const CToolRun printed = RunTarvo({"process", "--with-matrix", "--json", "-", survey});
    ASSERT_EQ(printed.status, 0) << printed.err;
    ASSERT_GT(printed.out.size(), std::size_t{1} << 15); // several of the file's pieces
    ASSERT_EQ(RunTarvo({"process", "--with-matrix", "--json", json, survey}).status, 0);
    const std::vector<std::uint8_t> written = test::ReadBytes(json);
    EXPECT_EQ(std::string(written.begin(), written.end()), printed.out);
}

// The estimator is always named, the study method by default, and a
// workspace keeps the one that placed its APs.
TEST_F(Commands, EstimatorIsChosenNamedAndKept) {
    const std::string study = dir.File("joint.tws");
    CToolRun joint =
        RunTarvo({"process", "--estimator", "joint", "--save", study, "--json", "-", survey});
    ASSERT_EQ(joint.status, 0) << joint.err;
    EXPECT_TRUE(Has(joint.out, "\"points\":49,\"estimator\":\"joint\","));
    const std::string reopened = RunTarvo({"process", "--json", "-", study}).out;
    EXPECT_TRUE(Has(reopened, "\"points\":49,\"estimator\":\"joint\","));
    const std::size_t at = joint.out.find("\"position\":");
    EXPECT_TRUE(Has(reopened, joint.out.substr(at, joint.out.find(']', at) - at)));
    EXPECT_TRUE(Has(RunTarvo({"process", study}).out, "\nPositions by the joint estimator\n"));

    CToolRun byDefault = RunTarvo({"process", "--json", "-", survey});
    EXPECT_TRUE(Has(byDefault.out, "\"points\":49,\"estimator\":\"study\","));
    EXPECT_EQ(RunTarvo({"process", "--estimator", "study", "--json", "-", survey}).out,
              byDefault.out);
    CToolRun bad = RunTarvo({"process", "--estimator", "best", survey});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "tarvo process: --estimator must be one of study|joint|robust\n");
    EXPECT_TRUE(Has(byDefault.out, "\"uncertainty_m\":null,")) << "no radius without robust";
    EXPECT_FALSE(Has(RunTarvo({"process", survey}).out, "Radius"));
}

// The robust estimator gives each placed AP a radius: in the JSON, in a
// column of the table, and kept by a saved workspace.
TEST_F(Commands, RobustRadiusIsPrintedAndKept) {
    const std::string study = dir.File("robust.tws");
    CToolRun robust =
        RunTarvo({"process", "--estimator", "robust", "--save", study, "--json", "-", survey});
    ASSERT_EQ(robust.status, 0) << robust.err;
    EXPECT_TRUE(Has(robust.out, "\"estimator\":\"robust\","));
    const std::size_t at = robust.out.find("\"uncertainty_m\":");
    ASSERT_NE(at, std::string::npos);
    const std::string radius = robust.out.substr(at, robust.out.find(',', at) - at);
    EXPECT_NE(radius, "\"uncertainty_m\":null") << "AP 1 has a position, so a radius";
    EXPECT_TRUE(Has(RunTarvo({"process", "--json", "-", study}).out, radius + ","));
    const std::string table = RunTarvo({"process", study}).out;
    EXPECT_TRUE(Has(table, "X (m)  Radius (m)     Slope")) << table;
}

TEST_F(Commands, CoverageSelectionPowerRangeAndResolution) {
    CToolRun r = RunTarvo({"coverage", "--json", "-", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\"rows\":", 0), 0u);
    EXPECT_TRUE(Has(r.out, "\"strengthLevels\":[{\"level\":-90,"));
    // AP 1 has a model and radii; AP 2 (flat along its two rows) none.
    EXPECT_TRUE(Has(r.out, "{\"mac\":\"00-1A-2B-3C-4D-01\",\"ssid\":\"net\",\"levels\":["));
    EXPECT_TRUE(Has(r.out, "{\"mac\":\"00-1A-2B-3C-4D-02\",\"ssid\":\"net\",\"levels\":null}"));

    r = RunTarvo({"coverage", "--select", "00:1a:2b:3c:4d:01", "--power-low", "-95", "--power-high",
                  "-40", "--resolution", "1000", survey});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Coverage of 1 selected APs: grid ", 0), 0u) << r.out;
    EXPECT_TRUE(Has(r.out, "At or above -95 dBm: ")) << r.out;
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"coverage", "--select", "00-11-22-33-44-55", survey},
             {"coverage", "--power-low", "-30", "--power-high", "-40", survey},
             {"coverage", "--resolution", "nan", survey},
             {"coverage", "--threads", "0", survey}}) {
        r = RunTarvo(bad);
        EXPECT_EQ(r.status, 2) << bad[1];
        EXPECT_TRUE(Has(r.err, "tarvo coverage: ")) << r.err;
    }
}

// The office sample study comes with its map, so everything its results
// depend on is in the workspace: reopened, it gives the same results and,
// saved again, the same bytes (on one thread first, then on every core).
TEST_F(Commands, SavedStudiesReopenWithTheSameResults) {
    const auto sample = GenerateSampleStudy("office", 9);
    std::string error;
    ASSERT_TRUE(sample && WriteSampleStudy(*sample, dir.Path().string(), error)) << error;
    std::vector<std::string> args{
        "coverage",        "--threads", "1",
        "--json",          "-",         "--save",
        dir.File("s.tws"), "--map",     dir.File(sample->projectionFileName)};
    for (const auto& walk : sample->walks)
        args.push_back(dir.File(walk.fileName));
    const CToolRun first = RunTarvo(args);
    ASSERT_EQ(first.status, 0) << first.err;
    const CToolRun again =
        RunTarvo({"coverage", "--json", "-", "--save", dir.File("t.tws"), dir.File("s.tws")});
    EXPECT_TRUE(again.out == first.out) << "coverage differs after reopening";
    EXPECT_TRUE(test::ReadBytes(dir.File("t.tws")) == test::ReadBytes(dir.File("s.tws")));

    EXPECT_EQ(RunTarvo({"process", dir.File("s.tws"), survey}).status, 2); // a workspace alone
    EXPECT_EQ(RunTarvo({"process", "--estimator", "joint", dir.File("s.tws")}).status, 2);
}

// True when text decodes as UTF-8 by glibc's own (strict) decoder.
bool IsStrictUtf8(std::string text) {
    iconv_t cd = ::iconv_open("UTF-8", "UTF-8");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = text.data();
    char* to = out.data();
    std::size_t inLeft = text.size(), outLeft = out.size();
    const bool ok = ::iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    return ok && inLeft == 0;
}

// Names in any script come out as they are; a byte of an old Latin-1 name
// as U+FFFD, so that the output always parses.
TEST_F(Commands, JsonKeepsNamesInAnyScriptAndStaysValidUtf8) {
    const std::vector<std::string> names = {"walk 1 \xC3\xBC.ssd", "\xE6\xB8\xAC\xE9\x87\x8F.ssd",
                                            "old\xFCname.ssd"};
    std::vector<std::string> args = {"info", "--json"};
    for (const std::string& name : names) {
        std::filesystem::copy_file(survey, dir.File(name));
        args.push_back(dir.File(name));
    }
    const CToolRun r = RunTarvo(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(IsStrictUtf8(r.out));
#ifdef TARVO_HAVE_tarvo_view
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
    const QStringList expected = {QStringLiteral("walk 1 \u00FC.ssd"),
                                  QStringLiteral("\u6E2C\u91CF.ssd"),
                                  QStringLiteral("old\uFFFDname.ssd")};
    ASSERT_EQ(json.array().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QString path = json.array()[i].toObject().value(QStringLiteral("path")).toString();
        EXPECT_TRUE(path.endsWith(QStringLiteral("/") + expected[i])) << path.toStdString();
    }
#endif
}

TEST_F(Commands, InfoOnSurveysWorkspacesAndRefusedFiles) {
    CToolRun r = RunTarvo({"info", "--json", survey});
    EXPECT_EQ(r.out, "[{\"path\":\"" + survey +
                         "\",\"kind\":\"survey\",\"created\":\"Fri Jan  1 00:00:00 2010\","
                         "\"locations\":{\"gpsFix\":49,\"gpsNoFix\":0,\"linear\":0},"
                         "\"samples\":63,\"markedAps\":1,\"interferenceSources\":1,"
                         "\"distinctMacs\":2}]\n");
    CTarvoAnalyzerDoc doc;
    doc.files.Add(CDataFile{"b.ssd", "/d/b.ssd", "", "", 0, 0, 0});
    doc.aps.SetSize(2);
    doc.aps[1].valid = 1;
    doc.coveragePresent = true;
    doc.CoverageRows = 4;
    doc.CoverageCols = 5;
    doc.Resolution = 0.5;
    const std::string study = dir.File("study.bak"); // known by its magic, not its name
    ASSERT_TRUE(WriteWorkspaceFile(doc, study));
    r = RunTarvo({"info", "--json", study});
    EXPECT_TRUE(Has(r.out, "\"kind\":\"workspace\",\"version\":1,")) << r.out;
    EXPECT_TRUE(Has(r.out, "\"aps\":{\"count\":2,\"valid\":1,\"selected\":0}")) << r.out;
    EXPECT_TRUE(Has(r.out, "\"coverage\":{\"rows\":4,\"columns\":5,\"resolution\":0.5}"));
    EXPECT_TRUE(Has(RunTarvo({"info", study}).out, "    [ ] /d/b.ssd (0 points)\n"));

    const std::string bad = dir.Write("bad.ssd", test::CSsdBuilder().FileType(2).Bytes());
    r = RunTarvo({"info", survey, bad});
    EXPECT_EQ(r.status, 1);
    // Each message starts with the file it is about.
    EXPECT_EQ(r.err, bad + ": Invalid File: " + bad +
                         ": Unsupported SSD Filetype. May be for a different product.\n" + bad +
                         ": Invalid File: File is not a valid SSD file: \"" + bad + "\".\n");
    const std::string cut = dir.Write("cut.tws", {0x20, 'T', 'W', 'S', 1, 0, 0, 0, 0, 5});
    r = RunTarvo({"info", survey, cut});
    EXPECT_EQ(r.err, cut + ": Invalid File: File is not recognized as a TWS file.\n");
    EXPECT_EQ(RunTarvo({"frobnicate"}).status, 2);
}

TEST_F(Commands, SimulateMapAndProjectionInfo) {
    const std::string out = dir.File("campus");
    ASSERT_EQ(RunTarvo({"simulate", "--scenario", "campus", "--out", out}).status, 0);
    const auto study = GenerateSampleStudy("campus", 1);
    EXPECT_EQ(test::ReadBytes(out + "/walk2.ssd"), study->walks[1].bytes);
    // A study already there is replaced only with --force.
    const std::vector<std::string> again{"simulate", "--scenario", "campus", "--out",
                                         out,        "--seed",     "2"};
    EXPECT_EQ(RunTarvo(again).status, 1);
    EXPECT_EQ(test::ReadBytes(out + "/walk2.ssd"), study->walks[1].bytes);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "campus", "--out", out, "--force"}).status, 0);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "mall", "--out", out}).status, 2);
    EXPECT_EQ(RunTarvo({"simulate", "--scenario", "office"}).status, 2);

    const std::string map = out + "/campus.gpf";
    ASSERT_EQ(RunTarvo({"map", map, "--out", dir.File("map.bmp")}).status, 0);
    EXPECT_EQ(test::ReadBytes(dir.File("map.bmp")), study->bitmap);
    CToolRun r = RunTarvo({"info", map});
    EXPECT_TRUE(Has(r.out, "projection:     GPS, subtype 0")) << r.out;
    EXPECT_TRUE(Has(r.out, "200.000 x 300.000 m (height x width)")) << r.out;
    auto bytes = test::ReadBytes(map);
    bytes.resize(2000);
    r = RunTarvo({"map", dir.Write("cut.lpf", bytes), "--out", dir.File("cut.bmp")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Invalid File: File is not recognized as a projection file.\n");
}

} // namespace
} // namespace tarvo
