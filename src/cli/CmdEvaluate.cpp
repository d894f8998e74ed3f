// tarvo evaluate: how wrong are the study's maps? Cross-validates the AP
// matrices over the survey locations (CrossValidation.h) and prints the
// figures per AP and for the whole study, as a table or as JSON.

#include "analysis/AccuracyText.h"
#include "analysis/CrossValidation.h"
#include "cli/Args.h"
#include "cli/CliOutput.h"
#include "cli/CliUi.h"
#include "cli/Commands.h"
#include "cli/Study.h"
#include "formats/Json.h"
#include "formats/TruthFile.h"
#include "model/Text.h"

#include <ostream>

namespace tarvo {

namespace {

void FiguresJson(CJsonWriter& w, const CAccuracyFigures& f) {
    w.Field("pairs", static_cast<std::int64_t>(f.pairs))
        .Field("inside", static_cast<std::int64_t>(f.inside))
        .Field("insideShare", f.InsideShare())
        .Field("rmse", f.rmse)
        .Field("mae", f.mae)
        .Field("medianAbsoluteError", f.medianAbs)
        .Field("bias", f.bias)
        .Field("unheard", static_cast<std::int64_t>(f.unheard))
        .Field("falseCovered", static_cast<std::int64_t>(f.falseCovered))
        .Field("falseCoverage", f.FalseCoverage());
}

void WriteJson(const CTarvoAnalyzerDoc& doc, const CStudyAccuracy& accuracy, std::ostream& out) {
    CJsonWriter w(out);
    w.BeginObject()
        .Field("folds", accuracy.folds)
        .Field("scheme", FoldSchemeName(accuracy.scheme))
        .Field("locations", accuracy.locations)
        .Field("estimator", std::string(EstimatorName(doc.estimator)))
        .Field("coverageModel", std::string(CoverageModelName(doc.coverageModel)))
        .Field("powerLow", doc.PowerLow);
    w.Key("overall").BeginObject();
    FiguresJson(w, accuracy.overall);
    if (accuracy.medianPositionErrorM)
        w.Field("medianPositionError", *accuracy.medianPositionErrorM);
    w.EndObject();
    w.Key("aps").BeginArray();
    for (const CApAccuracy& ap : accuracy.aps) {
        const CAPInfo& record = doc.aps[ap.apIndex];
        w.BeginObject().Field("mac", MacText(record.bssid)).Field("ssid", SsidText(record.ssid));
        FiguresJson(w, ap.figures);
        if (ap.positionErrorM)
            w.Field("positionError", *ap.positionErrorM);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    out << '\n';
}

void WriteTable(const CTarvoAnalyzerDoc& doc, const CStudyAccuracy& accuracy, std::ostream& out) {
    out << "Cross-validation: " << AccuracySetting(accuracy, doc) << '\n';
    const std::vector<CAccuracyRow> rows = AccuracyRows(accuracy, doc);
    const auto line = [&out](const CAccuracyRow& r) {
        out << Format("%-17s  %-24.24s  %6s  %10s  %9s  %8s  %11s  %9s  %14s  %s\n", r.mac.c_str(),
                      r.name.c_str(), r.pairs.c_str(), r.inside.c_str(), r.rmse.c_str(),
                      r.mae.c_str(), r.median.c_str(), r.bias.c_str(), r.falseCoverage.c_str(),
                      r.positionError.c_str());
    };
    const std::vector<std::string> t = AccuracyColumnTitles();
    line({t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9]});
    for (std::size_t i = 1; i < rows.size(); ++i)
        line(rows[i]);
    line(rows[0]);
    out << AccuracyExplanation(doc) << '\n';
}

int RunEvaluate(const std::vector<std::string>& rawArgs, CCommandIo& io) {
    std::set<std::string> valueOptions = StudyValueOptions();
    valueOptions.insert({"--json", "--folds", "--scheme", "--truth", kThreadsOption});
    CArgs args(rawArgs, valueOptions, StudyFlags());
    auto options = StudyOptionsOrComplain(args, "evaluate", io.err);
    const auto json = args.Get("--json");
    if (!options || !StudyOutputsAreFree("evaluate", *options, std::nullopt, json, io.err))
        return 2;
    const auto threads = ThreadsOrComplain(args, "evaluate", io.err);
    if (!threads)
        return 2;
    options->threads = *threads;

    CEvaluationOptions evaluation;
    evaluation.threads = *threads;
    const auto folds = args.GetInt("--folds");
    if (!args.Ok() || (folds && (*folds < kMinFolds || *folds > kMaxFolds))) {
        io.err << "tarvo evaluate: --folds must be between " << kMinFolds << " and " << kMaxFolds
               << '\n';
        return 2;
    }
    if (folds)
        evaluation.folds = static_cast<int>(*folds);
    if (const auto scheme = args.Get("--scheme")) {
        if (*scheme != "block" && *scheme != "random") {
            io.err << "tarvo evaluate: --scheme must be block or random\n";
            return 2;
        }
        evaluation.scheme = *scheme == "random" ? FoldScheme::Random : FoldScheme::Block;
    }
    std::optional<CTruthFile> truth;
    if (const auto path = args.Get("--truth")) {
        if (json && *json != "-" && !OutputIsFree("evaluate", *json, {*path}, io.err))
            return 2;
        truth = ReadTruthFile(*path);
        if (!truth->ok) {
            io.err << "tarvo evaluate: " << *path << ": " << truth->error << '\n';
            return 1;
        }
    }

    CTarvoAnalyzerDoc doc;
    CStderrUi ui(io.err, io.progress);
    if (!OpenStudy(doc, *options, ui)) {
        io.err << "tarvo evaluate: nothing was loaded\n";
        return 1;
    }
    CStudyAccuracy accuracy = EvaluateStudy(doc, evaluation, ui.Progress());
    if (accuracy.aps.empty()) {
        io.err << "tarvo evaluate: no AP's samples could be tied to the study's locations\n";
        return 1;
    }
    if (truth)
        AddPositionErrors(accuracy, doc, truth->aps);

    if (!json) {
        WriteTable(doc, accuracy, io.out);
        return ui.ExitStatus();
    }
    const int status =
        WriteJsonTarget(*json, "evaluate", io.out, io.err,
                        [&](std::ostream& stream) { WriteJson(doc, accuracy, stream); });
    return status != 0 ? status : ui.ExitStatus();
}

const CRegisterCommand kRegister{
    {"evaluate",
     "evaluate [--map FILE.gpf|.lpf] [--no-merge] [--min-points N] [--estimator study|joint] "
     "[--coverage-model study|survey] [--threads N] [--folds N] [--scheme block|random] "
     "[--truth TRUTH.json] [--json OUT|-] SURVEY.ssd...|STUDY.tws  how accurate the maps are",
     RunEvaluate,
     std::string("Cross-validates the study's maps: the survey locations are split into folds;\n"
                 "each fold is held out in turn, the APs are estimated again from the other\n"
                 "locations with the study's estimator and coverage model, and each AP's matrix\n"
                 "is read (between its grid points) at the held-out locations. Prints, per AP and\n"
                 "for all: the pairs (an AP heard at a held-out location), the share of them\n"
                 "inside the AP's matrix box, the RMSE, mean and median absolute error and the\n"
                 "bias (map minus measured, dB) over those inside, and the false coverage: the\n"
                 "share of held-out locations in the box where the AP was not heard but the map\n"
                 "shows the study's low power level (-90 dBm unless changed) or more.\n\n") +
         kStudyHelp + kThreadsHelp +
         "  --folds N            how many folds, 2..100 (default 5)\n"
         "  --scheme block|random  block: each fold a stretch of the walk, location i of n\n"
         "                       in fold i * N / n (default); random: a fixed shuffle of the\n"
         "                       locations dealt round the folds\n"
         "  --truth TRUTH.json   true AP positions (\"aps\": \"mac\" with \"x_m\" and \"y_m\", or\n"
         "                       \"position\": [y, x]); adds each AP's position error in\n"
         "                       metres\n"
         "  --json OUT|-         the figures as JSON, to a file or to stdout (-)\n"}};

} // namespace

} // namespace tarvo
