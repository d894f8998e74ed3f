#include "record/RecordSession.h"

#include "formats/OutputFile.h"
#include "formats/SsdWriter.h"
#include "import/ImportFields.h"
#include "model/Text.h"
#include "record/ThroughputCsv.h"

#include <algorithm>

namespace tarvo {

namespace {

constexpr const char* kPointKey = "point";

SsidBytes SsidOf(const std::string& bytes) {
    SsidBytes ssid{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), ssid.size()), ssid.begin());
    return ssid;
}

// The refusal of an assembled walk, empty when it holds the point.
std::string Refusal(const CWalk& walk) {
    if (walk.fatal)
        return walk.fatal->reason;
    if (!walk.refused.empty())
        return walk.refused.front().reason;
    if (walk.locations.size() != 1)
        return "the point holds more BSSs than a survey location can";
    return {};
}

bool WriteWhole(const std::string& path, std::string_view bytes, std::string& error) {
    COutputFile file(path);
    if (file.Write(bytes) && file.Commit())
        return true;
    error = WriteFailureText(path, file.Failure());
    return false;
}

} // namespace

CRecordSession::CRecordSession(CImportPlan plan, std::int64_t createdSeconds)
    : plan_(std::move(plan)), created_(createdSeconds) {}

CWalk CRecordSession::Assemble(const CRecordPosition& at, const std::vector<CHeardBss>& heard,
                               std::int64_t timeSeconds, std::vector<std::string>* leftOut) const {
    CImportRead read;
    read.file = "the recorded point";
    CImportRow place;
    place.line = 1;
    place.locationKey = kPointKey;
    place.frame = at.frame;
    place.first = at.first;
    place.second = at.second;
    place.time = LocalDateFields(timeSeconds);
    // Placed on the map by hand: no GPS status ring belongs to it.
    place.fix = 2;
    for (const CHeardBss& bss : heard) {
        const auto rssi = RssiTo16thDbm(bss.meanDbm);
        if (!rssi) {
            if (leftOut)
                leftOut->push_back(MacText(bss.bssid) + Format(" at %.2f dBm", bss.meanDbm));
            continue;
        }
        CImportRow row = place;
        row.line = static_cast<int>(read.rows.size()) + 1;
        row.sample.channel = bss.channel;
        row.sample.rssi = *rssi;
        row.sample.level2 = kDefaultNoiseDbm;
        row.sample.bssid = bss.bssid;
        row.sample.ssid = SsidOf(bss.ssid);
        read.rows.push_back(row);
    }
    if (read.rows.empty()) {
        place.heard = false;
        read.rows.push_back(place);
    }
    CWalkOptions options;
    options.plan = plan_;
    options.importSeconds = timeSeconds;
    return AssembleWalk({read}, options);
}

CRecordSession::CPlaced CRecordSession::Place(const CRecordPosition& at) const {
    CPlaced placed;
    const CWalk walk = Assemble(at, {}, created_, nullptr);
    placed.refusal = Refusal(walk);
    if (!placed.refusal.empty())
        return placed;
    CRecordedPoint& point = placed.point;
    point.location = walk.locations.front();
    if (!plan_.gps) {
        const double py = point.location.pixelY;
        point.siteX = point.location.pixelX * plan_.scaleX;
        // As processing places a floor-plan point: the plan's height in
        // metres less the row's.
        point.siteY = plan_.height * plan_.scaleY - py * plan_.scaleY;
    }
    return placed;
}

CAddOutcome CRecordSession::Add(const CRecordPosition& at, const std::vector<CScan>& scans,
                                const std::optional<CThroughputResult>& throughput) {
    CAddOutcome outcome;
    CPlaced placed = Place(at);
    if (!placed.refusal.empty()) {
        outcome.refusal = placed.refusal;
        return outcome;
    }
    if (scans.empty()) {
        outcome.refusal = "no scan was taken";
        return outcome;
    }
    const std::vector<CHeardBss> averaged = AverageScans(scans);
    const CWalk walk = Assemble(at, averaged, scans.back().timeSeconds, &outcome.leftOut);
    outcome.refusal = Refusal(walk);
    if (!outcome.refusal.empty())
        return outcome;
    CRecordedPoint point = std::move(placed.point);
    point.location = walk.locations.front();
    point.scans = static_cast<int>(scans.size());
    for (const CHeardBss& bss : averaged) {
        if (!RssiTo16thDbm(bss.meanDbm))
            continue;
        point.heard.push_back(static_cast<std::uint16_t>(std::min(bss.heard, 65535)));
        if (!point.strongestDbm || bss.meanDbm > *point.strongestDbm)
            point.strongestDbm = bss.meanDbm;
    }
    if (throughput && !plan_.gps) {
        CThroughputPoint measured;
        measured.x = point.siteX;
        measured.y = point.siteY;
        if (throughput->down.bitsPerSecond)
            measured.downBps = *throughput->down.bitsPerSecond;
        if (throughput->up.bitsPerSecond)
            measured.upBps = *throughput->up.bitsPerSecond;
        if (const auto jitter =
                throughput->down.jitterMs ? throughput->down.jitterMs : throughput->up.jitterMs)
            measured.jitterMs = *jitter;
        point.throughput = measured;
    }
    points_.push_back(std::move(point));
    return outcome;
}

bool CRecordSession::Undo() {
    if (points_.empty())
        return false;
    points_.pop_back();
    return true;
}

std::vector<std::uint8_t> CRecordSession::WalkBytes() const {
    CSsdWriter writer(created_, 0, CDataPoint::kRecordSize, kRecordedSampleSize);
    for (const CRecordedPoint& point : points_)
        writer.AddLocation(point.location, point.heard);
    return writer.Bytes();
}

std::vector<CThroughputPoint> CRecordSession::Throughput() const {
    std::vector<CThroughputPoint> measured;
    for (const CRecordedPoint& point : points_)
        if (point.throughput)
            measured.push_back(*point.throughput);
    return measured;
}

std::string SaveRecording(const CRecordSession& session, const std::string& walkPath,
                          bool withThroughput) {
    std::string error;
    const std::vector<std::uint8_t> walk = session.WalkBytes();
    if (!WriteWhole(walkPath,
                    std::string_view(reinterpret_cast<const char*>(walk.data()), walk.size()),
                    error))
        return error;
    if (withThroughput &&
        !WriteWhole(ThroughputPathFor(walkPath), ThroughputCsvText(session.Throughput()), error))
        return error;
    return {};
}

} // namespace tarvo
