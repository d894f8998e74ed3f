// The tool's coverage-model choice and its accuracy figures, as a user
// meets them: the choice is named and kept, a workspace takes the other
// model's maps on request, `tarvo evaluate` judges a simulated study whose
// truth is known, and the report carries the figures only when asked.

#include "cli/ToolRunner.h"
#include "formats/JsonReader.h"
#include "formats/TruthFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace tarvo {
namespace {

using test::CToolRun;
using test::Has;
using test::RunTarvo;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

CJsonValue Json(const std::string& text) {
    CJsonParse parsed = ParseJson(text);
    EXPECT_TRUE(parsed.value) << parsed.error;
    return parsed.value.value_or(CJsonValue());
}

std::vector<double> Matrix(const CJsonValue& study, int ap) {
    std::vector<double> values;
    for (const CJsonValue& v :
         study.Find("aps")->items[static_cast<std::size_t>(ap)].Find("matrix")->items)
        values.push_back(v.number);
    return values;
}

class MapAccuracyCommands : public ::testing::Test {
protected:
    test::CTempDir dir;
    const std::string survey = test::WriteGridWalk(dir);
};

TEST_F(MapAccuracyCommands, TheCoverageModelIsChosenNamedAndKept) {
    const std::string saved = dir.File("survey.tws");
    const CToolRun survey1 = RunTarvo({"process", "--coverage-model", "survey", "--with-matrix",
                                       "--save", saved, "--json", "-", survey});
    ASSERT_EQ(survey1.status, 0) << survey1.err;
    EXPECT_TRUE(Has(survey1.out, "\"estimator\":\"study\",\"coverageModel\":\"survey\","));
    const CToolRun study = RunTarvo({"process", "--with-matrix", "--json", "-", survey});
    EXPECT_TRUE(Has(study.out, "\"coverageModel\":\"study\","));
    const CJsonValue surveyJson = Json(survey1.out), studyJson = Json(study.out);
    EXPECT_NE(Matrix(surveyJson, 0), Matrix(studyJson, 0));
    for (const std::string threads : {"1", "3"})
        EXPECT_EQ(RunTarvo({"process", "--coverage-model", "survey", "--with-matrix", "--threads",
                            threads, "--json", "-", survey})
                      .out,
                  RunTarvo({"process", "--coverage-model", "survey", "--with-matrix", "--json", "-",
                            survey})
                      .out)
            << "the same maps on " << threads << " threads";
    EXPECT_TRUE(Has(RunTarvo({"process", saved}).out, "\nMaps by the survey coverage model\n"));
    EXPECT_TRUE(Has(RunTarvo({"process", survey}).out, "\nMaps by the study coverage model\n"));

    // The workspace keeps its model; asked for the other one it gets that
    // model's maps, the same as processing with it.
    EXPECT_EQ(Matrix(Json(RunTarvo({"process", "--with-matrix", "--json", "-", saved}).out), 0),
              Matrix(surveyJson, 0));
    const CToolRun back =
        RunTarvo({"process", "--coverage-model", "study", "--with-matrix", "--json", "-", saved});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(Matrix(Json(back.out), 0), Matrix(studyJson, 0));
    EXPECT_EQ(Matrix(Json(back.out), 1), Matrix(studyJson, 1));

    const CToolRun bad = RunTarvo({"process", "--coverage-model", "kriging", survey});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "tarvo process: --coverage-model must be one of study|survey\n");
    // Every command that makes maps takes the choice.
    for (const std::string command : {"coverage", "render", "report", "table", "kml", "evaluate"})
        EXPECT_TRUE(Has(RunTarvo({"help", command}).out, "  --coverage-model NAME")) << command;
}

// The office sample study: APs whose signals follow a log-distance law with
// 3 to 6 dB of scatter, and its truth file with their positions.
TEST_F(MapAccuracyCommands, EvaluateJudgesASimulatedStudyAgainstItsTruth) {
    const std::string folder = dir.File("office");
    ASSERT_EQ(RunTarvo({"simulate", "--scenario", "office", "--out", folder, "--seed", "3"}).status,
              0);
    const std::string truthPath = folder + "/truth.json";
    const std::vector<std::string> study = {"--map", folder + "/office.lpf", folder + "/walk1.ssd",
                                            folder + "/walk2.ssd"};
    std::vector<std::string> args = {"evaluate", "--coverage-model", "survey", "--truth",
                                     truthPath,  "--json",           "-"};
    args.insert(args.end(), study.begin(), study.end());
    const CToolRun r = RunTarvo(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const CJsonValue figures = Json(r.out);
    EXPECT_EQ(figures.Find("folds")->number, 5);
    EXPECT_EQ(figures.Find("scheme")->text, "block");
    EXPECT_EQ(figures.Find("coverageModel")->text, "survey");
    EXPECT_EQ(figures.Find("locations")->number, 900);
    EXPECT_EQ(figures.Find("powerLow")->number, -90);

    // The scatter the walks were made with, as root mean square.
    const CJsonValue truth = Json(ReadText(truthPath));
    double squares = 0.0;
    for (const CJsonValue& ap : truth.Find("aps")->items)
        squares += ap.Find("sigma")->number * ap.Find("sigma")->number;
    const double scatter = std::sqrt(squares / truth.Find("aps")->items.size());
    const CJsonValue& overall = *figures.Find("overall");
    EXPECT_GT(overall.Find("insideShare")->number, 0.9);
    EXPECT_GT(overall.Find("rmse")->number, 0.8 * scatter);
    EXPECT_LT(overall.Find("rmse")->number, 1.3 * scatter);
    EXPECT_LT(std::fabs(overall.Find("bias")->number), 1.5);
    EXPECT_LT(overall.Find("medianPositionError")->number, 3.0);
    const auto& aps = figures.Find("aps")->items;
    ASSERT_EQ(aps.size(), truth.Find("aps")->items.size());
    double pairs = 0.0;
    for (const CJsonValue& ap : aps) {
        EXPECT_TRUE(ap.Find("positionError")) << ap.Find("mac")->text;
        pairs += ap.Find("pairs")->number;
    }
    EXPECT_EQ(pairs, overall.Find("pairs")->number);

    // The table: every AP, the study last, and how to read it.
    args = {"evaluate", "--folds", "3", "--scheme", "random"};
    args.insert(args.end(), study.begin(), study.end());
    const CToolRun table = RunTarvo(args);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out.rfind("Cross-validation: 3 random folds over 900 locations; positions by "
                              "the study estimator, maps by the study coverage model.\nMAC ",
                              0),
              0u)
        << table.out;
    EXPECT_TRUE(Has(table.out, "  All APs  "));
    EXPECT_TRUE(Has(table.out, "but the map shows -90 dBm or more.\n"));

    for (const auto& [option, value] : std::vector<std::pair<std::string, std::string>>{
             {"--folds", "1"}, {"--folds", "x"}, {"--scheme", "walk"}}) {
        args = {"evaluate", option, value};
        args.insert(args.end(), study.begin(), study.end());
        EXPECT_EQ(RunTarvo(args).status, 2) << option << ' ' << value;
    }
    args = {"evaluate", "--truth", dir.File("none.json")};
    args.insert(args.end(), study.begin(), study.end());
    const CToolRun missing = RunTarvo(args);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tarvo evaluate: " + dir.File("none.json") + ": cannot be read\n");
    args = {"evaluate", "--truth", truthPath, "--json", truthPath};
    args.insert(args.end(), study.begin(), study.end());
    EXPECT_EQ(RunTarvo(args).status, 2) << "the truth file is not overwritten";
}

TEST_F(MapAccuracyCommands, TheReportTellsHowAccurateItsMapsAreOnlyWhenAsked) {
    const std::string plain = dir.File("plain.html"), judged = dir.File("judged.html");
    ASSERT_EQ(RunTarvo({"report", survey, "--out", plain, "--no-open"}).status, 0);
    const CToolRun r = RunTarvo({"report", survey, "--coverage-model", "survey", "--accuracy",
                                 "--out", judged, "--no-open"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string without = ReadText(plain), with = ReadText(judged);
    for (const char* part : {"How accurate are these maps", "RMSE (dB)", "Maps made by"})
        EXPECT_FALSE(Has(without, part)) << part;
    EXPECT_TRUE(Has(with, "<p>Maps made by the survey coverage model</p>"));
    EXPECT_TRUE(Has(with, "<h3>How accurate are these maps</h3>"));
    EXPECT_TRUE(Has(with, "<p>5 block folds over 49 locations; positions by the study estimator, "
                          "maps by the survey coverage model.</p>"));
    // The AP table gains four columns: a header row and a row per AP.
    EXPECT_TRUE(Has(with, "<th align =\"Center\">N2 Points</th>\r\n <th align =\"Center\">Pairs"
                          "</th>"));
}

} // namespace
} // namespace tarvo
