#include "analysis/SampleSets.h"

#include "analysis/Coordinates.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tarvo {

namespace {

double Distance(double y1, double x1, double y2, double x2) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    return std::sqrt(dx * dx + dy * dy);
}

struct CThinGroup {
    double startY = 0.0, startX = 0.0;
    double lastY = 0.0, lastX = 0.0;
    double rssiSum = 0.0;
    std::int64_t level2Sum = 0;
    std::int64_t count = 0;

    void Start(const CData& s) {
        startY = lastY = s.y;
        startX = lastX = s.x;
        rssiSum = s.rssi;
        level2Sum = s.level2;
        count = 1;
    }
    void Take(const CData& s) {
        rssiSum += s.rssi;
        level2Sum += s.level2;
        ++count;
        lastY = s.y;
        lastX = s.x;
    }
    // One averaged point; a group of several samples sits halfway between
    // its start and the sample that ended it.
    CData Emit(const CData& ending) const {
        CData out;
        if (count == 1) {
            out.y = startY;
            out.x = startX;
        } else {
            out.y = (startY + ending.y) / 2.0;
            out.x = (startX + ending.x) / 2.0;
        }
        out.rssi = rssiSum / static_cast<double>(count);
        out.level2 = static_cast<std::int32_t>(level2Sum / count);
        return out;
    }
};

// Grid cells for the no-signal spacing test. A cell is wider than the
// spacing, so any sample within it of a point lies in the point's cell or
// one of the eight around it.
constexpr double kCellM = 0.125;

std::int64_t CellOf(double v, double cellM = kCellM) {
    const double c = std::floor(v / cellM);
    if (!(c > -4.0e15))
        return -4000000000000000LL;
    if (c > 4.0e15)
        return 4000000000000000LL;
    return static_cast<std::int64_t>(c);
}

std::uint64_t CellKey(std::int64_t cy, std::int64_t cx) {
    // Different cells may share a key; that only adds candidates, which
    // are then tested exactly.
    return static_cast<std::uint64_t>(cy) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(cx);
}

class CSampleGrid {
public:
    void Add(const CData& s) { cells_[CellKey(CellOf(s.y), CellOf(s.x))].push_back({s.y, s.x}); }
    bool AnyWithin(double y, double x, double spacing) const {
        const std::int64_t cy = CellOf(y), cx = CellOf(x);
        for (std::int64_t iy = cy - 1; iy <= cy + 1; ++iy)
            for (std::int64_t ix = cx - 1; ix <= cx + 1; ++ix) {
                auto it = cells_.find(CellKey(iy, ix));
                if (it == cells_.end())
                    continue;
                for (const auto& [sy, sx] : it->second)
                    if (std::fabs(sy - y) + std::fabs(sx - x) < spacing)
                        return true;
            }
        return false;
    }

private:
    std::unordered_map<std::uint64_t, std::vector<std::pair<double, double>>> cells_;
};

// Pass 2 of the thinning. Each seed visits the later, not yet consumed
// points in index order; only those closer than the window change anything,
// so the visit is limited to the points of the neighbouring grid cells
// (cells 1.5 windows wide, so a point within the window is always in one
// of the nine), taken in index order: the same sums in the same order as a
// scan of the whole list.
std::vector<CData> MergeNearPoints(const std::vector<CData>& points,
                                   const CThinningDistances& dist) {
    const double cellM = 1.5 * dist.windowM;
    const bool useGrid = std::isfinite(cellM) && cellM > 0.0;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells;
    if (useGrid)
        for (std::size_t i = 0; i < points.size(); ++i)
            cells[CellKey(CellOf(points[i].y, cellM), CellOf(points[i].x, cellM))].push_back(i);

    std::vector<CData> out;
    std::vector<char> consumed(points.size(), 0);
    std::vector<std::size_t> later;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (consumed[i])
            continue;
        consumed[i] = 1;
        const CData& seed = points[i];
        later.clear();
        if (useGrid) {
            const std::int64_t cy = CellOf(seed.y, cellM), cx = CellOf(seed.x, cellM);
            for (std::int64_t iy = cy - 1; iy <= cy + 1; ++iy)
                for (std::int64_t ix = cx - 1; ix <= cx + 1; ++ix) {
                    auto it = cells.find(CellKey(iy, ix));
                    if (it == cells.end())
                        continue;
                    auto& members = it->second;
                    std::erase_if(members, [&](std::size_t j) { return consumed[j] != 0; });
                    for (std::size_t j : members)
                        if (j > i)
                            later.push_back(j);
                }
            // Cells that share a key would list a point twice.
            std::sort(later.begin(), later.end());
            later.erase(std::unique(later.begin(), later.end()), later.end());
        } else {
            for (std::size_t j = i + 1; j < points.size(); ++j)
                if (!consumed[j])
                    later.push_back(j);
        }
        double rssiSum = seed.rssi;
        std::int64_t level2Sum = seed.level2;
        std::int64_t count = 1;
        for (std::size_t j : later) {
            const double d = Distance(seed.y, seed.x, points[j].y, points[j].x);
            if (d < dist.windowM) {
                consumed[j] = 1;
                if (d > dist.minimumM) {
                    rssiSum += points[j].rssi;
                    level2Sum += points[j].level2;
                    ++count;
                }
            }
        }
        out.push_back({seed.y, seed.x, rssiSum / static_cast<double>(count),
                       static_cast<std::int32_t>(level2Sum / count)});
    }
    return out;
}

} // namespace

ColourRef NextColour(CTarvoAnalyzerDoc& doc) {
    doc.colourSeed = NextColourSeed(doc.colourSeed);
    return HueWheelColour(doc.colourSeed);
}

CThinningDistances ThinningDistancesFor(std::int32_t frequencyMhz) {
    const double f = static_cast<double>(static_cast<std::uint32_t>(frequencyMhz));
    return {3000.0 / f, 114.0 / f};
}

std::vector<CData> ThinSampleList(std::span<const CData> samples, std::int32_t frequencyMhz) {
    std::vector<CData> pass1;
    if (samples.empty())
        return pass1;
    const CThinningDistances dist = ThinningDistancesFor(frequencyMhz);

    CThinGroup group;
    group.Start(samples[0]);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const CData& s = samples[i];
        const double ds = Distance(group.startY, group.startX, s.y, s.x);
        const double dl = Distance(group.lastY, group.lastX, s.y, s.x);
        if (ds >= dist.windowM) {
            pass1.push_back(group.Emit(s));
            group.Start(s);
        } else if (dl > dist.minimumM) {
            group.Take(s);
        }
    }
    pass1.push_back(group.Emit(samples.back()));

    return MergeNearPoints(pass1, dist);
}

void AddNoSignalSamples(std::span<const CDataPoint> points, CAPInfo& ap) {
    const double minY = ap.origin[0], minX = ap.origin[1];
    const double extentY = ap.extent[0], extentX = ap.extent[1];
    std::vector<CData> withSilence = ap.samples.Vector();

    CSampleGrid grid;
    for (const CData& s : withSilence)
        grid.Add(s);
    for (const CDataPoint& p : points) {
        const double y = p.northing / 100.0, x = p.easting / 100.0;
        const double dy = y - minY, dx = x - minX;
        if (!(dy >= 0.0 && dy <= extentY && dx >= 0.0 && dx <= extentX))
            continue;
        if (grid.AnyWithin(y, x, kNoSignalSpacingM))
            continue;
        const CData silent{y, x, kNoSignalDbm, 0};
        withSilence.push_back(silent);
        grid.Add(silent);
    }
    ap.filteredSamples.Vector() = ThinSampleList(withSilence, ap.frequency);
}

void BuildApSampleSets(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    doc.aps.RemoveAll();
    const double sx = doc.SiteScaleX, sy = doc.SiteScaleY;
    const double heightM = doc.ImageHeight * sy;

    // MAC -> AP index; with merging off it holds only the current file's APs.
    std::unordered_map<std::uint64_t, int> apOfMac;
    auto macKey = [](const MacAddress& mac) {
        std::uint64_t key = 0;
        for (std::uint8_t b : mac)
            key = key << 8 | b;
        return key;
    };

    int nextPoint = 0;
    int selectedFiles = 0;
    for (CDataFile& file : doc.files) {
        if (file.selected == 0)
            continue;
        ++selectedFiles;
        file.colour = NextColour(doc);
        if (!doc.MergeApsAcrossFiles)
            apOfMac.clear();

        const int pointEnd =
            std::min(doc.points.GetSize(), nextPoint + std::max(0, file.pointCount));
        for (int pi = nextPoint; pi < pointEnd; ++pi) {
            const CDataPoint& point = doc.points[pi];
            double y, x;
            if (point.kind == kProjectionLinear) {
                y = heightM - point.pixelY * sy;
                x = point.pixelX * sx;
            } else {
                y = point.northing / kMilliArcSecondsPerDegree;
                x = point.easting / kMilliArcSecondsPerDegree;
            }
            for (const CDataSsd& sample : point.samples) {
                const CData data{y, x, sample.rssi * 0.0625, sample.level2};
                auto [it, isNew] = apOfMac.try_emplace(macKey(sample.bssid), doc.aps.GetSize());
                if (!isNew) {
                    doc.aps[it->second].samples.Add(data);
                    continue;
                }
                CAPInfo ap;
                ap.bssid = sample.bssid;
                ap.ssid = sample.ssid;
                if (!doc.MergeApsAcrossFiles && selectedFiles >= 2)
                    ap.ssid = SsidFromText(
                        Format("%s: %s", SsidText(sample.ssid).c_str(), file.title.c_str()));
                ap.selected = 0;
                ap.state = 1;
                ap.colour = NextColour(doc);
                ap.channel = sample.channel;
                ap.frequency = FrequencyForChannel(sample.channel);
                ap.samples.Add(data);
                doc.aps.Add(std::move(ap));
            }
        }
        nextPoint = pointEnd;
    }

    if (doc.gpsPointsPresent && !doc.mapLoaded)
        ApplySyntheticProjection(doc);
    ConvertLoadedPositions(doc, ui);
    doc.processed = false;
    doc.coverageMode = 0; // each AP its own colour
}

} // namespace tarvo
