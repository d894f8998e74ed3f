#include "import/WalkAssembly.h"

#include "formats/SsdWriter.h"
#include "import/ImportFields.h"
#include "import/PlanScale.h"
#include "model/Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>

namespace tarvo {

namespace {

constexpr double kRawPerDegree = 3600000.0;
constexpr std::size_t kMostSamplesPerLocation = 65535;
constexpr std::uint8_t kLinearKind = 2;
// Metres by which a position may lie beyond the plan's edge and still be
// on it: the edges are products of a scale and a size.
constexpr double kEdgeToleranceM = 1e-9;

// Where a row is stored: map pixel (linear walks) or latitude/longitude in
// 1/3,600,000 degree (GPS walks).
struct CPlacement {
    std::string reason; // not empty: refused
    std::uint16_t px = 0, py = 0;
    std::int32_t northing = 0, easting = 0;

    bool SameAs(const CPlacement& other) const {
        return px == other.px && py == other.py && northing == other.northing &&
               easting == other.easting;
    }
};

std::string Pair(double a, double b) {
    return Format("(%.2f, %.2f)", a, b);
}

class CPlacer {
public:
    CPlacer(std::optional<CImportPlan> plan, double shiftX, double shiftY)
        : plan_(std::move(plan)), shiftX_(shiftX), shiftY_(shiftY) {}

    CPlacement Place(const CImportRow& row) const {
        CPlacement at;
        if (row.frame == ImportFrame::LatLon) {
            at.northing = static_cast<std::int32_t>(std::lround(row.first * kRawPerDegree));
            at.easting = static_cast<std::int32_t>(std::lround(row.second * kRawPerDegree));
            return at;
        }
        const CImportPlan& plan = *plan_;
        double column = 0.0, line = 0.0;
        if (row.frame == ImportFrame::Pixels) {
            if (row.first > kMaxPlanSide || row.second > kMaxPlanSide) {
                at.reason = "position beyond 65,535 pixels: " + Pair(row.first, row.second);
                return at;
            }
            const long x = std::lround(row.first), y = std::lround(row.second);
            if (row.first < 0.0 || row.second < 0.0 || x > plan.width - 1 || y > plan.height - 1) {
                at.reason = "position outside the plan: pixel " + Pair(row.first, row.second) +
                            Format(" of a %d x %d pixel plan", plan.width, plan.height);
                return at;
            }
            column = row.first;
            line = row.second;
        } else {
            const double x = row.first + shiftX_, y = row.second + shiftY_;
            const double widthM = plan.width * plan.scaleX, heightM = plan.height * plan.scaleY;
            if (!(x >= -kEdgeToleranceM && y >= -kEdgeToleranceM && x <= widthM + kEdgeToleranceM &&
                  y <= heightM + kEdgeToleranceM)) {
                at.reason = "position outside the plan: " + Pair(row.first, row.second) +
                            Format(" m (x_m, y_m); the plan covers 0 to %.2f m across and 0 to "
                                   "%.2f m up",
                                   widthM - shiftX_, heightM - shiftY_);
                return at;
            }
            column = x / plan.scaleX;
            line = plan.height - y / plan.scaleY;
            if (column > kMaxPlanSide || line > kMaxPlanSide) {
                at.reason = "position beyond 65,535 pixels: " + Pair(row.first, row.second) + " m";
                return at;
            }
        }
        at.px = static_cast<std::uint16_t>(std::clamp(std::lround(column), 0L, plan.width - 1L));
        at.py = static_cast<std::uint16_t>(std::clamp(std::lround(line), 0L, plan.height - 1L));
        if (plan.gps)
            ToLatLon(column, line, at);
        return at;
    }

private:
    // A map pixel to latitude/longitude by inverting the projection's
    // affine map: u = column - c, v = row - f.
    void ToLatLon(double column, double line, CPlacement& at) const {
        const ProjectionMatrix4& m = plan_->matrix;
        const double a = m[0][0], b = m[0][1], c = m[0][3];
        const double d = m[1][0], e = m[1][1], f = m[1][3];
        const double det = a * e - b * d;
        const double u = column - c, v = line - f;
        const double lat = (e * u - b * v) / det, lon = (a * v - d * u) / det;
        if (!(std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0)) {
            at.reason = Format("the plan's projection puts this position off the globe (%.6f, "
                               "%.6f)",
                               lat, lon);
            return;
        }
        at.px = at.py = 0;
        at.northing = static_cast<std::int32_t>(std::lround(lat * kRawPerDegree));
        at.easting = static_cast<std::int32_t>(std::lround(lon * kRawPerDegree));
    }

    std::optional<CImportPlan> plan_;
    double shiftX_, shiftY_;
};

struct CFirstRow {
    const CImportRow* row = nullptr;
    const std::string* file = nullptr;
};

CImportProblem FatalAt(const CFirstRow& first, const std::string& reason) {
    return CImportProblem{*first.file, first.row->line, reason, first.row->line};
}

// The blank plan over every position in site metres.
std::optional<CNewPlan> PlanOver(const std::vector<CImportRead>& inputs, double metresPerPixel,
                                 std::string& error) {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    for (const CImportRead& input : inputs)
        for (const CImportRow& row : input.rows) {
            minX = std::min(minX, row.first);
            maxX = std::max(maxX, row.first);
            minY = std::min(minY, row.second);
            maxY = std::max(maxY, row.second);
        }
    CNewPlan plan;
    plan.metresPerPixel = metresPerPixel;
    // Negative positions move the frame by whole metres, so that the shift
    // stays easy to apply by hand; the margin then lies on that side too.
    const double shiftX = minX < 0.0 ? std::ceil(kNewPlanMarginM - minX) : 0.0;
    const double shiftY = minY < 0.0 ? std::ceil(kNewPlanMarginM - minY) : 0.0;
    const double width = std::ceil((maxX + shiftX + kNewPlanMarginM) / metresPerPixel);
    const double height = std::ceil((maxY + shiftY + kNewPlanMarginM) / metresPerPixel);
    if (!(width <= kMaxPlanSide && height <= kMaxPlanSide &&
          width * height <= static_cast<double>(kMaxPlanPixels)) ||
        shiftX > 1e9 || shiftY > 1e9) {
        error = Format("a new plan over these positions would be %.0f x %.0f pixels at %g m per "
                       "pixel, more than a plan holds (65,535 pixels a side, 64 Mi pixels): "
                       "choose more metres per pixel",
                       width, height, metresPerPixel);
        return std::nullopt;
    }
    plan.width = static_cast<int>(width);
    plan.height = static_cast<int>(height);
    plan.shiftX = static_cast<int>(shiftX);
    plan.shiftY = static_cast<int>(shiftY);
    return plan;
}

// Checks that the positions fit together and with the plan; sets the fatal
// problem otherwise.
bool CheckFrames(const std::vector<CImportRead>& inputs, const CWalkOptions& options, CWalk& walk) {
    std::array<CFirstRow, 3> first{};
    for (const CImportRead& input : inputs)
        for (const CImportRow& row : input.rows) {
            CFirstRow& slot = first[static_cast<int>(row.frame)];
            if (!slot.row)
                slot = {&row, &input.file};
        }
    const CFirstRow& pixels = first[static_cast<int>(ImportFrame::Pixels)];
    const CFirstRow& metres = first[static_cast<int>(ImportFrame::SiteMetres)];
    const CFirstRow& gps = first[static_cast<int>(ImportFrame::LatLon)];
    const CFirstRow& plan = pixels.row ? pixels : metres;
    if (gps.row && plan.row) {
        walk.fatal =
            FatalAt(gps, "GPS positions (lat,lon) and plan positions (x,y or x_m,y_m) in one "
                         "walk: a walk holds one kind");
    } else if (gps.row && options.plan && !options.plan->gps) {
        walk.fatal = FatalAt(gps, "GPS positions (lat,lon) cannot be placed on a floor plan "
                                  "(.lpf): import them without a plan or with a GPS projection");
    } else if (options.newPlanMetresPerPixel && (gps.row || pixels.row)) {
        walk.fatal = FatalAt(gps.row ? gps : pixels,
                             "a new plan is made for positions in site metres (x_m,y_m) only");
    } else if (pixels.row && !options.plan) {
        walk.fatal =
            FatalAt(pixels, "positions in map pixels (x,y) need the plan they were taken on");
    } else if (metres.row && !options.plan && !options.newPlanMetresPerPixel) {
        walk.fatal = FatalAt(metres, "positions in site metres (x_m,y_m) need a plan: the plan "
                                     "they belong to, or a new blank plan");
    }
    if (!walk.fatal && options.plan && options.plan->gps && plan.row) {
        const ProjectionMatrix4& m = options.plan->matrix;
        if (!(std::fabs(m[0][0] * m[1][1] - m[0][1] * m[1][0]) > 0.0))
            walk.fatal = FatalAt(plan, "the plan's projection matrix cannot be inverted: no "
                                       "position can be placed on it");
    }
    walk.gps = gps.row != nullptr || (options.plan && options.plan->gps);
    return !walk.fatal;
}

} // namespace

CWalk AssembleWalk(const std::vector<CImportRead>& inputs, const CWalkOptions& options) {
    CWalk walk;
    for (const CImportRead& input : inputs) {
        if (input.fatal) {
            walk.fatal = input.fatal;
            return walk;
        }
        walk.otherRadios += input.otherRadios;
    }
    if (!CheckFrames(inputs, options, walk))
        return walk;

    std::optional<CImportPlan> plan = options.plan;
    double shiftX = 0.0, shiftY = 0.0;
    if (options.newPlanMetresPerPixel) {
        std::string error;
        walk.newPlan = PlanOver(inputs, *options.newPlanMetresPerPixel, error);
        if (!walk.newPlan) {
            walk.fatal = CImportProblem{inputs.front().file, 0, error};
            return walk;
        }
        CImportPlan blank;
        blank.width = walk.newPlan->width;
        blank.height = walk.newPlan->height;
        blank.scaleX = blank.scaleY = walk.newPlan->metresPerPixel;
        plan = blank;
        shiftX = walk.newPlan->shiftX;
        shiftY = walk.newPlan->shiftY;
    }
    const CPlacer placer(plan, shiftX, shiftY);

    // Every row placed; the problems of all inputs in input order.
    std::vector<std::vector<CPlacement>> placed(inputs.size());
    std::vector<std::pair<std::size_t, CImportProblem>> problems;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (const CImportProblem& problem : inputs[i].refused)
            problems.emplace_back(i, problem);
        for (const CImportRow& row : inputs[i].rows) {
            placed[i].push_back(placer.Place(row));
            if (!placed[i].back().reason.empty())
                problems.emplace_back(
                    i, CImportProblem{inputs[i].file, row.line, placed[i].back().reason, row.line});
        }
    }
    std::stable_sort(problems.begin(), problems.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.order < b.second.order;
    });
    for (auto& [input, problem] : problems)
        walk.refused.push_back(std::move(problem));
    if (!walk.refused.empty() && !options.skipBad) {
        walk.refused.resize(1);
        walk.stopped = true;
        return walk;
    }
    walk.skippedRows = static_cast<int>(walk.refused.size());

    std::set<MacAddress> bssids;
    CPlacement current;
    std::string currentKey;
    bool open = false;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        open = false; // every input starts a location of its own
        for (std::size_t r = 0; r < inputs[i].rows.size(); ++r) {
            const CImportRow& row = inputs[i].rows[r];
            const CPlacement& at = placed[i][r];
            if (!at.reason.empty())
                continue;
            const bool full = open && row.heard &&
                              walk.locations.back().samples.GetSize() >=
                                  static_cast<int>(kMostSamplesPerLocation);
            if (!open || full || row.locationKey != currentKey || !at.SameAs(current)) {
                CDataPoint point;
                point.kind = walk.gps ? row.gpsKind.value_or(0) : kLinearKind;
                point.pixelX = at.px;
                point.pixelY = at.py;
                point.northing = at.northing;
                point.easting = at.easting;
                const DateTimeBytes time = row.time.value_or(LocalDateFields(
                    options.importSeconds + static_cast<std::int64_t>(walk.locations.size())));
                point.date1 = time[0];
                point.date2 = time[1];
                point.year = time[2];
                point.hour = time[3];
                point.minute = time[4];
                point.second = time[5];
                if (walk.gps) {
                    point.fix = row.fix.value_or(1);
                    point.altitude = row.altitudeRaw.value_or(0);
                    point.speed = row.speedRaw.value_or(0);
                }
                walk.locations.push_back(std::move(point));
                current = at;
                currentKey = row.locationKey;
                open = true;
            }
            if (!row.heard)
                continue;
            walk.locations.back().samples.Add(row.sample);
            ++walk.samples;
            bssids.insert(row.sample.bssid);
        }
    }
    walk.bssids = static_cast<int>(bssids.size());
    for (CDataPoint& point : walk.locations)
        point.sampleCount = static_cast<std::uint16_t>(point.samples.GetSize());
    if (walk.locations.empty())
        walk.fatal =
            CImportProblem{inputs.empty() ? std::string() : inputs.front().file, 0,
                           walk.skippedRows > 0 ? "nothing to import: every measurement was refused"
                                                : "nothing to import: no measurement was read"};
    return walk;
}

std::vector<std::uint8_t> WalkFileBytes(const CWalk& walk, std::int64_t createdSeconds) {
    CSsdWriter writer(createdSeconds);
    for (const CDataPoint& point : walk.locations)
        writer.AddLocation(point);
    return writer.Bytes();
}

} // namespace tarvo
