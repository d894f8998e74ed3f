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

// The places already measured around an AP, bucketed by grid cell: one
// flat list of entries chained per bucket (no allocation per cell), since
// an AP heard everywhere puts every location of a large survey in it.
class CSampleGrid {
public:
    explicit CSampleGrid(std::size_t expected) {
        std::size_t buckets = 16;
        while (buckets < 2 * expected)
            buckets *= 2;
        heads_.assign(buckets, kEnd);
        entries_.reserve(expected);
    }

    void Add(double y, double x) {
        if (entries_.size() >= heads_.size())
            Rehash(2 * heads_.size());
        const std::uint64_t key = CellKey(CellOf(y), CellOf(x));
        std::uint32_t& head = heads_[Bucket(key)];
        entries_.push_back({y, x, key, head});
        head = static_cast<std::uint32_t>(entries_.size() - 1);
    }

    // Whether an entry of the point's cell or of the eight around it lies
    // closer than `spacing` (|dY| + |dX|). Cells that share a key are one
    // cell here; that only adds candidates, which are tested exactly.
    bool AnyWithin(double y, double x, double spacing) const {
        const std::int64_t cy = CellOf(y), cx = CellOf(x);
        for (std::int64_t iy = cy - 1; iy <= cy + 1; ++iy)
            for (std::int64_t ix = cx - 1; ix <= cx + 1; ++ix) {
                const std::uint64_t key = CellKey(iy, ix);
                for (std::uint32_t e = heads_[Bucket(key)]; e != kEnd; e = entries_[e].next) {
                    const CEntry& entry = entries_[e];
                    if (entry.key == key &&
                        std::fabs(entry.y - y) + std::fabs(entry.x - x) < spacing)
                        return true;
                }
            }
        return false;
    }

private:
    static constexpr std::uint32_t kEnd = 0xFFFFFFFFu;
    struct CEntry {
        double y, x;
        std::uint64_t key;
        std::uint32_t next;
    };

    std::size_t Bucket(std::uint64_t key) const {
        return static_cast<std::size_t>((key * 0xD6E8FEB86659FD93ULL) >> 32) & (heads_.size() - 1);
    }
    void Rehash(std::size_t buckets) {
        heads_.assign(buckets, kEnd);
        for (std::size_t e = 0; e < entries_.size(); ++e) {
            std::uint32_t& head = heads_[Bucket(entries_[e].key)];
            entries_[e].next = head;
            head = static_cast<std::uint32_t>(e);
        }
    }

    std::vector<std::uint32_t> heads_;
    std::vector<CEntry> entries_;
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

namespace {

// The thinning of the n samples that at(i) gives, in order.
template <typename SampleAt>
std::vector<CData> ThinSequence(std::size_t n, const SampleAt& at, std::int32_t frequencyMhz) {
    std::vector<CData> pass1;
    if (n == 0)
        return pass1;
    const CThinningDistances dist = ThinningDistancesFor(frequencyMhz);

    CThinGroup group;
    group.Start(at(0));
    for (std::size_t i = 1; i < n; ++i) {
        const CData s = at(i);
        const double ds = Distance(group.startY, group.startX, s.y, s.x);
        const double dl = Distance(group.lastY, group.lastX, s.y, s.x);
        if (ds >= dist.windowM) {
            pass1.push_back(group.Emit(s));
            group.Start(s);
        } else if (dl > dist.minimumM) {
            group.Take(s);
        }
    }
    pass1.push_back(group.Emit(at(n - 1)));

    return MergeNearPoints(pass1, dist);
}

} // namespace

std::vector<CData> ThinSampleList(std::span<const CData> samples, std::int32_t frequencyMhz) {
    return ThinSequence(
        samples.size(), [samples](std::size_t i) { return samples[i]; }, frequencyMhz);
}

// The no-signal samples are not built: they are the heard samples followed
// by the points listed in `silent`, each read as a sample when the thinning
// comes to it.
void AddNoSignalSamples(std::span<const CDataPoint> points, CAPInfo& ap) {
    const double minY = ap.origin[0], minX = ap.origin[1];
    const double extentY = ap.extent[0], extentX = ap.extent[1];
    const std::span<const CData> heard = ap.samples.Vector();
    const auto placeOf = [](const CDataPoint& p) {
        return std::pair{p.northing / 100.0, p.easting / 100.0};
    };

    CSampleGrid grid(heard.size());
    for (const CData& s : heard)
        grid.Add(s.y, s.x);
    std::vector<std::uint32_t> silent; // indices into points
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [y, x] = placeOf(points[i]);
        const double dy = y - minY, dx = x - minX;
        if (!(dy >= 0.0 && dy <= extentY && dx >= 0.0 && dx <= extentX))
            continue;
        if (grid.AnyWithin(y, x, kNoSignalSpacingM))
            continue;
        silent.push_back(static_cast<std::uint32_t>(i));
        grid.Add(y, x);
    }

    const auto at = [&](std::size_t i) {
        if (i < heard.size())
            return heard[i];
        const auto [y, x] = placeOf(points[silent[i - heard.size()]]);
        return CData{y, x, kNoSignalDbm, 0};
    };
    std::vector<CData> thinned = ThinSequence(heard.size() + silent.size(), at, ap.frequency);
    thinned.shrink_to_fit(); // kept with the AP: no spare room
    ap.filteredSamples.Vector() = std::move(thinned);
}

namespace {

// The AP of every sample of the selected files, in load order, creating
// the APs (with their colours) in the order their first samples come.
class CApAssignment {
public:
    explicit CApAssignment(CTarvoAnalyzerDoc& doc) : doc_(doc) {}

    // The samples' APs, file by file, point by point, sample by sample.
    std::vector<std::int32_t> Assign() {
        std::vector<std::int32_t> apOfSample;
        int nextPoint = 0;
        int selectedFiles = 0;
        for (CDataFile& file : doc_.files) {
            if (file.selected == 0)
                continue;
            ++selectedFiles;
            file.colour = NextColour(doc_);
            if (!doc_.MergeApsAcrossFiles) {
                apOfMac_.clear();
                apOfIdentity_.assign(apOfIdentity_.size(), -1);
            }
            const int pointEnd = PointEnd(file, nextPoint);
            for (int pi = nextPoint; pi < pointEnd; ++pi) {
                const CPointSamples& samples = doc_.points[pi].samples;
                for (std::size_t i = 0; i < samples.size(); ++i)
                    apOfSample.push_back(ApOf(samples, i, file, selectedFiles));
            }
            nextPoint = pointEnd;
        }
        return apOfSample;
    }

    int PointEnd(const CDataFile& file, int firstPoint) const {
        return std::min(doc_.points.GetSize(), firstPoint + std::max(0, file.pointCount));
    }

private:
    static std::uint64_t MacKey(const MacAddress& mac) {
        std::uint64_t key = 0;
        for (std::uint8_t b : mac)
            key = key << 8 | b;
        return key;
    }

    // Samples of one identity belong to one AP, so each identity is looked
    // up by its MAC once (per file when APs are not merged across files).
    std::int32_t ApOf(const CPointSamples& samples, std::size_t i, const CDataFile& file,
                      int selectedFiles) {
        if (samples.Identities() != table_) {
            table_ = samples.Identities();
            apOfIdentity_.assign(table_->Size(), -1);
        }
        const std::uint32_t identity = samples.IdentityAt(i);
        if (identity < apOfIdentity_.size() && apOfIdentity_[identity] >= 0)
            return apOfIdentity_[identity];
        const CDataSsd sample = samples[static_cast<std::ptrdiff_t>(i)];
        auto [it, isNew] = apOfMac_.try_emplace(MacKey(sample.bssid), doc_.aps.GetSize());
        if (isNew)
            doc_.aps.Add(NewAp(sample, file, selectedFiles));
        if (identity < apOfIdentity_.size())
            apOfIdentity_[identity] = it->second;
        return it->second;
    }

    CAPInfo NewAp(const CDataSsd& sample, const CDataFile& file, int selectedFiles) {
        CAPInfo ap;
        ap.bssid = sample.bssid;
        ap.ssid = sample.ssid;
        if (!doc_.MergeApsAcrossFiles && selectedFiles >= 2)
            ap.ssid =
                SsidFromText(Format("%s: %s", SsidText(sample.ssid).c_str(), file.title.c_str()));
        ap.selected = 0;
        ap.state = 1;
        ap.colour = NextColour(doc_);
        ap.channel = sample.channel;
        ap.frequency = FrequencyForChannel(sample.channel);
        return ap;
    }

    CTarvoAnalyzerDoc& doc_;
    // MAC -> AP index; with merging off it holds only the current file's APs.
    std::unordered_map<std::uint64_t, std::int32_t> apOfMac_;
    const CSampleIdentities* table_ = nullptr;
    std::vector<std::int32_t> apOfIdentity_; // -1: not looked up yet
};

} // namespace

void BuildApSampleSets(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    doc.aps.RemoveAll();
    const double sx = doc.SiteScaleX, sy = doc.SiteScaleY;
    const double heightM = doc.ImageHeight * sy;

    // The APs first, then each AP's samples into a list of exactly their
    // number: the lists are most of a large study's memory.
    CApAssignment assignment(doc);
    const std::vector<std::int32_t> apOfSample = assignment.Assign();
    std::vector<std::size_t> counts(static_cast<std::size_t>(doc.aps.GetSize()), 0);
    for (std::int32_t ap : apOfSample)
        ++counts[static_cast<std::size_t>(ap)];
    for (std::size_t a = 0; a < counts.size(); ++a)
        doc.aps[static_cast<std::ptrdiff_t>(a)].samples.Reserve(counts[a]);

    std::size_t next = 0;
    int nextPoint = 0;
    for (const CDataFile& file : doc.files) {
        if (file.selected == 0)
            continue;
        const int pointEnd = assignment.PointEnd(file, nextPoint);
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
            for (std::size_t i = 0; i < point.samples.size(); ++i) {
                const CData data{y, x, point.samples.RssiAt(i) * 0.0625, point.samples.Level2At(i)};
                doc.aps[apOfSample[next++]].samples.Add(data);
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
