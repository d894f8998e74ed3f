#include "analysis/Requirements.h"

#include "analysis/Contours.h"
#include "analysis/Coordinates.h"
#include "analysis/Grid.h"
#include "model/SettingRanges.h"
#include "model/Text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tarvo {

namespace {

constexpr int kBoxPartition = 200;

std::optional<double> Number(std::string_view text) {
    // from_chars for doubles takes no leading '+'; the levels are negative.
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double PolygonArea(const CDataArea& a) {
    double twice = 0.0;
    for (int k = 0; k < a.vertexCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const auto n = static_cast<std::size_t>((k + 1) % a.vertexCount);
        twice += a.x[i] * a.y[n] - a.x[n] * a.y[i];
    }
    return std::fabs(twice) / 2.0;
}

} // namespace

std::optional<CRequirement> ParseRequirement(std::string_view text, bool secondary) {
    CRequirement r;
    r.secondary = secondary;
    const std::size_t colon = text.find(':');
    const auto level = Number(text.substr(0, colon));
    if (!level || *level < kLowestPowerDbm || *level > kHighestPowerDbm)
        return std::nullopt;
    r.levelDbm = *level;
    if (colon != std::string_view::npos) {
        std::string_view area = text.substr(colon + 1);
        if (!area.empty() && area.back() == '%')
            area.remove_suffix(1);
        const auto percent = Number(area);
        if (!percent || *percent < 0.0 || *percent > 100.0)
            return std::nullopt;
        r.areaPercent = *percent;
    }
    return r;
}

CRequirement DefaultRequirement(const CTarvoAnalyzerDoc& doc) {
    CRequirement r;
    r.levelDbm = doc.PowerLow;
    return r;
}

double ShareOfBoxAtOrAbove(const CTarvoAnalyzerDoc& doc, std::span<const double> matrix,
                           double level) {
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    if (!MatchesGrid(matrix.size(), rows, cols))
        return 0.0;
    const CBox& box = doc.AnalysisBox;
    const double boxArea = std::fabs(box.extentX * box.extentY);
    if (rows >= 2 && cols >= 2 && boxArea > 0.0) {
        const std::vector<double> x = GridAxis(box.minX, box.extentX, rows);
        const std::vector<double> y = GridAxis(box.minY, box.extentY, cols);
        CArray<CDataArea> bands;
        TraceContourBands(matrix, rows, cols, x, y, level, bands);
        double area = 0.0;
        for (const CDataArea& a : bands)
            area += PolygonArea(a);
        return std::min(area / boxArea, 1.0);
    }
    std::size_t above = 0;
    for (double v : matrix)
        if (v >= level)
            ++above;
    return static_cast<double>(above) / static_cast<double>(matrix.size());
}

CRequirementResult JudgeRequirement(const CTarvoAnalyzerDoc& doc, const CRequirement& requirement,
                                    const CSiteApLevels& levels) {
    CRequirementResult result;
    result.requirement = requirement;
    const int rows = doc.CoverageRows, cols = doc.CoverageCols;
    if (!doc.coveragePresent || !MatchesGrid(doc.StrengthMatrix.size(), rows, cols))
        return result;
    if (requirement.secondary && !MatchesGrid(levels.secondary.size(), rows, cols))
        return result;
    const std::span<const double> matrix =
        requirement.secondary ? std::span<const double>(levels.secondary)
                              : std::span<const double>(doc.StrengthMatrix.Vector());
    result.judged = true;
    result.sharePercent = 100.0 * ShareOfBoxAtOrAbove(doc, matrix, requirement.levelDbm);
    std::size_t worst = 0;
    for (std::size_t at = 1; at < matrix.size(); ++at)
        if (matrix[at] < matrix[worst])
            worst = at;
    result.worstDbm = matrix[worst];
    const int i = static_cast<int>(worst / static_cast<std::size_t>(cols));
    const int j = static_cast<int>(worst % static_cast<std::size_t>(cols));
    const CBox& box = doc.AnalysisBox;
    result.worstX = GridAxis(box.minX, box.extentX, rows)[static_cast<std::size_t>(i)];
    result.worstY = GridAxis(box.minY, box.extentY, cols)[static_cast<std::size_t>(j)];
    result.passed = result.sharePercent >= requirement.areaPercent;
    return result;
}

std::vector<CRequirementResult> JudgeRequirements(const CTarvoAnalyzerDoc& doc,
                                                  const std::vector<CRequirement>& requirements,
                                                  unsigned threads) {
    CSiteApLevels levels;
    for (const CRequirement& r : requirements)
        if (r.secondary) {
            levels = ComputeSiteApLevels(doc, doc.coChannelLevelDbm, threads);
            break;
        }
    std::vector<CRequirementResult> results;
    for (const CRequirement& r : requirements)
        results.push_back(JudgeRequirement(doc, r, levels));
    return results;
}

bool AllPassed(const std::vector<CRequirementResult>& results) {
    for (const CRequirementResult& r : results)
        if (!r.passed)
            return false;
    return true;
}

double ShareOfBoxWithin(const CBox& box, double y, double x, double radiusM) {
    if (!(std::fabs(box.extentX * box.extentY) > 0.0) || !(radiusM >= 0.0))
        return 0.0;
    const double r2 = radiusM * radiusM;
    int inside = 0;
    for (int i = 0; i < kBoxPartition; ++i) {
        const double dx = box.minX + (i + 0.5) * box.extentX / kBoxPartition - x;
        for (int j = 0; j < kBoxPartition; ++j) {
            const double dy = box.minY + (j + 0.5) * box.extentY / kBoxPartition - y;
            if (dx * dx + dy * dy <= r2)
                ++inside;
        }
    }
    return static_cast<double>(inside) / (kBoxPartition * kBoxPartition);
}

CRequirementTexts RequirementTexts(const CTarvoAnalyzerDoc& doc, const CRequirementResult& result,
                                   IUiServices& ui) {
    const CRequirement& r = result.requirement;
    CRequirementTexts t;
    t.signal = r.secondary ? "second-strongest" : "strongest";
    t.level = Format("%g dBm", r.levelDbm);
    t.area = Format("%.1f %%", r.areaPercent);
    if (!result.judged) {
        t.achieved = "-";
        t.worst = "-";
        t.verdict = "FAIL (no coverage)";
        return t;
    }
    t.achieved = Format("%.1f %%", result.sharePercent);
    const bool geographic = doc.projectionKind != kProjectionLinear && !doc.linearPointsPresent;
    if (geographic) {
        double lat = 0.0, lon = 0.0;
        TransformPoint(doc, false, result.worstX, result.worstY, lat, lon, ui);
        t.worst = Format("%.1f dBm at lat %.5f, lon %.5f", result.worstDbm, lat, lon);
    } else {
        const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
        const char* label = LengthUnitLabel(doc.UseFeet);
        t.worst = Format("%.1f dBm at Y %.2f %s, X %.2f %s", result.worstDbm, result.worstY / unit,
                         label, result.worstX / unit, label);
    }
    t.verdict = result.passed ? "PASS" : "FAIL";
    return t;
}

std::string RequirementLine(const CRequirementTexts& t) {
    return t.signal + " signal at or above " + t.level + " on " + t.area +
           " of the box: " + t.achieved + ", worst " + t.worst + ": " + t.verdict;
}

} // namespace tarvo
