#include "analysis/AccuracyText.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"

#include <cmath>

namespace tarvo {

namespace {

std::string Decimal(double value, const char* unit) {
    if (!std::isfinite(value))
        return "-";
    return Format("%.1f%s", value, unit);
}

CAccuracyRow RowOf(const CAccuracyFigures& f) {
    CAccuracyRow row;
    row.pairs = Format("%lld", static_cast<long long>(f.pairs));
    row.inside = Decimal(100.0 * f.InsideShare(), " %");
    row.rmse = Decimal(f.rmse, "");
    row.mae = Decimal(f.mae, "");
    row.median = Decimal(f.medianAbs, "");
    row.bias = Decimal(f.bias, "");
    row.falseCoverage = Decimal(100.0 * f.FalseCoverage(), " %");
    row.positionError = "-";
    return row;
}

} // namespace

const char* FoldSchemeName(FoldScheme scheme) {
    return scheme == FoldScheme::Random ? "random" : "block";
}

std::vector<std::string> AccuracyColumnTitles() {
    return {"MAC",      "SSID",        "Pairs",     "Inside box",     "RMSE (dB)",
            "MAE (dB)", "Median (dB)", "Bias (dB)", "False coverage", "Position error"};
}

std::vector<CAccuracyRow> AccuracyRows(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                                       bool useFeet) {
    const double unit = useFeet ? kMetresPerFoot : 1.0;
    const char* unitText = useFeet ? " ft" : " m";
    std::vector<CAccuracyRow> rows;
    CAccuracyRow all = RowOf(accuracy.overall);
    all.name = "All APs";
    if (accuracy.medianPositionErrorM)
        all.positionError = Decimal(*accuracy.medianPositionErrorM / unit, unitText) + " (median)";
    rows.push_back(all);
    for (const CApAccuracy& ap : accuracy.aps) {
        CAccuracyRow row = RowOf(ap.figures);
        const CAPInfo& record = doc.aps[ap.apIndex];
        row.mac = MacText(record.bssid);
        row.name = SsidText(record.ssid);
        if (ap.positionErrorM)
            row.positionError = Decimal(*ap.positionErrorM / unit, unitText);
        rows.push_back(row);
    }
    return rows;
}

std::string AccuracySetting(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc) {
    return Format("%d %s folds over %d locations; positions by the %s estimator, maps by the %s "
                  "coverage model.",
                  accuracy.folds, FoldSchemeName(accuracy.scheme), accuracy.locations,
                  std::string(EstimatorName(doc.estimator)).c_str(),
                  std::string(CoverageModelName(doc.coverageModel)).c_str());
}

std::string AccuracyExplanation(const CTarvoAnalyzerDoc& doc) {
    return Format("Each fold of locations was held out in turn and the maps made again from the "
                  "rest; a pair is an AP heard at a held-out location, and its error is the "
                  "map's level there minus the measured one. False coverage is the share of "
                  "held-out locations in an AP's box where it was not heard but the map shows "
                  "%d dBm or more.",
                  doc.PowerLow);
}

} // namespace tarvo
