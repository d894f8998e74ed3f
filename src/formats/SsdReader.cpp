#include "formats/SsdReader.h"

#include "formats/FileIo.h"
#include "model/LittleEndian.h"
#include "model/Text.h"

#include <algorithm>
#include <ctime>
#include <memory>

namespace tarvo {

namespace {

constexpr std::int64_t kLastCreatedSecond = 32535215999; // 3000-12-31 23:59:59 UTC

std::string BoundedText(std::span<const std::uint8_t> field) {
    auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    return std::string(field.begin(), end);
}

DateTimeBytes DateTimeOf(std::span<const std::uint8_t> record) {
    DateTimeBytes dt{};
    std::copy_n(record.begin() + 13, 6, dt.begin());
    return dt;
}

// Markers and sources read from survey files are appended once: a repeated
// load (or a load after reopening a workspace) finds the one it appended
// before by the AP's identity and the time it was marked, and skips it.
// Markers inserted by the user are never touched by a load.
bool HasMarker(const CTarvoAnalyzerDoc& doc, int count, const CAPMarker& m) {
    for (int i = 0; i < count; ++i) {
        const CAPMarker& o = doc.markers[i];
        if (o.bssid == m.bssid && o.ssid == m.ssid && o.channel == m.channel &&
            o.dateTime == m.dateTime)
            return true;
    }
    return false;
}

bool HasSource(const CTarvoAnalyzerDoc& doc, int count, const CISMarker& s) {
    for (int i = 0; i < count; ++i) {
        const CISMarker& o = doc.sources[i];
        if (o.dateTime == s.dateTime && o.name == s.name)
            return true;
    }
    return false;
}

// Reads sampleCount sample records; returns how many were complete. A walk
// mostly hears the same APs in the same order from one location to the
// next, so the previous location's samples say which identity to expect.
int ReadSamples(ByteReader& in, std::uint32_t sampleSize, int sampleCount, CDataPoint* point,
                const CPointSamples* previous) {
    int complete = 0;
    if (point)
        point->samples.Reserve(static_cast<std::size_t>(sampleCount));
    for (int i = 0; i < sampleCount; ++i) {
        auto record = in.Take(sampleSize);
        if (record.empty())
            break; // a truncated sample is dropped: the file ends here
        if (point) {
            const std::uint32_t likely = previous && i < previous->GetSize()
                                             ? previous->IdentityAt(static_cast<std::size_t>(i))
                                             : CPointSamples::kNoIdentity;
            point->samples.Add(CDataSsd::FromRecord(record.first<CDataSsd::kRecordSize>()), likely);
        }
        ++complete;
    }
    return complete;
}

// A GPS location whose latitude or longitude the 32-bit fields carry past
// the poles or the date line is no place at all: it would stretch the
// study's extent over the whole planet.
bool OnTheGlobe(const CDataPoint& point) {
    return point.northing >= -kMaxLatitudeRaw && point.northing <= kMaxLatitudeRaw &&
           point.easting >= -kMaxLongitudeRaw && point.easting <= kMaxLongitudeRaw;
}

struct LoadContext {
    int markersBefore = 0;
    int sourcesBefore = 0;
    // The sample identities of every point of the load.
    std::shared_ptr<CSampleIdentities> identities = std::make_shared<CSampleIdentities>();
};

bool ReadSurveyFileImpl(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file, int fileIndex,
                        IUiServices& ui, const LoadContext& ctx) {
    CDataFile& entry = doc.files[fileIndex];
    entry.skippedLocations = 0;
    ByteReader in(file);
    auto header = in.Take(kSsdHeaderSize);
    if (header.empty())
        return false;
    if (header[12] != 0 && header[12] != 1) {
        ui.MessageBox(Format("%s: Unsupported SSD Filetype. May be for a different product.",
                             entry.path.c_str()),
                      "Invalid File", MsgIcon::Error);
        return false;
    }
    entry.created = CreatedText(GetI64(header.data() + 13));

    in.Seek(GetU32(header.data() + 21));
    std::uint32_t recordSize = in.U32();
    std::uint32_t sampleSize = in.U32();
    if (in.Failed())
        return false;
    if (recordSize == 0 || sampleSize == 0) {
        entry.pointCount = 0;
        return true;
    }
    // Smaller records cannot hold the fields every record is read for.
    if (recordSize < CDataPoint::kRecordSize || sampleSize < CDataSsd::kRecordSize)
        return false;

    const int pointsBefore = doc.points.GetSize();
    while (true) {
        auto record = in.Take(recordSize);
        if (record.empty())
            break;
        const std::uint8_t kind = record[0];
        auto location = record.first<CDataPoint::kRecordSize>();
        switch (kind) {
        case kSsdGpsFix:
        case kSsdGpsNoFix:
        case kSsdLinear: {
            CDataPoint point(location);
            point.samples = CPointSamples(ctx.identities);
            const CPointSamples* previous =
                doc.points.GetSize() > pointsBefore ? &doc.points.Vector().back().samples : nullptr;
            int kept = ReadSamples(in, sampleSize, point.sampleCount, &point, previous);
            if (kind != kSsdLinear && !OnTheGlobe(point)) {
                ++entry.skippedLocations;
                break;
            }
            point.sampleCount = static_cast<std::uint16_t>(kept);
            doc.points.Add(std::move(point));
            if (kind == kSsdLinear)
                doc.linearPointsPresent = true;
            else
                doc.gpsPointsPresent = true;
            break;
        }
        case kSsdMarkedAp: {
            auto payload = in.Take(kSsdMarkedApPayload);
            if (payload.empty())
                break;
            CAPMarker marker;
            marker.y = static_cast<double>(GetU32(record.data() + 1));
            marker.x = static_cast<double>(GetU32(record.data() + 5));
            marker.dateTime = DateTimeOf(record);
            marker.icon = kDefaultApIcon;
            marker.channel = GetU32(payload.data());
            std::copy_n(payload.begin() + 4, 6, marker.bssid.begin());
            std::copy_n(payload.begin() + 10, 32, marker.ssid.begin());
            marker.name = BoundedText(payload.subspan(42, 128));
            marker.inSiteUnits = false;
            if (!HasMarker(doc, ctx.markersBefore, marker))
                doc.markers.Add(std::move(marker));
            break;
        }
        case kSsdInterference: {
            auto payload = in.Take(kSsdInterferencePayload);
            if (payload.empty())
                break;
            CISMarker source;
            source.y = static_cast<double>(GetU32(record.data() + 1));
            source.x = static_cast<double>(GetU32(record.data() + 5));
            source.dateTime = DateTimeOf(record);
            source.icon = kDefaultSourceIcon;
            source.frequency = Format("%u MHz", GetU32(payload.data()) / 20u);
            source.bandwidth = Format("%u MHz", GetU32(payload.data() + 4) / 20u);
            source.name = BoundedText(payload.subspan(8, 128));
            source.inSiteUnits = false;
            if (!HasSource(doc, ctx.sourcesBefore, source))
                doc.sources.Add(std::move(source));
            break;
        }
        case kSsdSkipped:
            ReadSamples(in, sampleSize, GetU16(record.data() + 34), nullptr, nullptr);
            break;
        default:
            break;
        }
    }
    entry.pointCount = doc.points.GetSize() - pointsBefore;
    return true;
}

} // namespace

std::string CreatedText(std::int64_t secondsSince1970) {
    if (secondsSince1970 < 0 || secondsSince1970 > kLastCreatedSecond)
        return {};
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return {};
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return Format("%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_year + 1900);
}

bool ReadSurveyFile(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file, int fileIndex,
                    IUiServices& ui) {
    LoadContext ctx{doc.markers.GetSize(), doc.sources.GetSize()};
    return ReadSurveyFileImpl(doc, file, fileIndex, ui, ctx);
}

namespace {

bool OpenAndReadImpl(CTarvoAnalyzerDoc& doc, int fileIndex, IUiServices& ui,
                     const LoadContext& ctx) {
    CDataFile& entry = doc.files[fileIndex];
    auto bytes = ReadWholeFile(entry.path);
    if (!bytes) {
        ui.MessageBox(Format("Could not open file \"%s\".", entry.path.c_str()), "File Open Error",
                      MsgIcon::Error);
        entry.selected = 0;
        return false;
    }
    const bool magicOk = bytes->size() >= 8 && GetU32(bytes->data() + 4) == kSsdMagic;
    if (!magicOk || !ReadSurveyFileImpl(doc, *bytes, fileIndex, ui, ctx)) {
        ui.MessageBox(Format("File is not a valid SSD file: \"%s\".", entry.path.c_str()),
                      "Invalid File", MsgIcon::Error);
        entry.selected = 0;
        return false;
    }
    return true;
}

} // namespace

bool OpenAndReadSurveyFile(CTarvoAnalyzerDoc& doc, int fileIndex, IUiServices& ui) {
    LoadContext ctx{doc.markers.GetSize(), doc.sources.GetSize()};
    return OpenAndReadImpl(doc, fileIndex, ui, ctx);
}

bool LoadSelectedFiles(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    doc.points.RemoveAll();
    doc.legendShown = false;
    doc.processed = false;
    doc.gpsPointsPresent = false;
    doc.linearPointsPresent = false;
    doc.noSurveyLoaded = true;

    const LoadContext ctx{doc.markers.GetSize(), doc.sources.GetSize()};
    int loaded = 0;
    for (int i = 0; i < doc.files.GetSize(); ++i) {
        doc.currentFilePath = doc.files[i].path;
        if (doc.files[i].selected == 0)
            continue;
        if (!OpenAndReadImpl(doc, i, ui, ctx))
            continue;
        if (doc.linearPointsPresent && doc.projectionKind != kProjectionLinear) {
            ui.MessageBox("The SSD File is collected with linear projection. Please input the map",
                          "Please input the map.", MsgIcon::Information);
            return false;
        }
        if (doc.gpsPointsPresent && doc.mapLoaded && doc.projectionKind != kProjectionGps) {
            ui.MessageBox("The SSD File is collected with GPS. Please input the GPS-projected map",
                          "Please input the map.", MsgIcon::Information);
            return false;
        }
        ++loaded;
        doc.noSurveyLoaded = false;
    }
    return loaded > 0;
}

} // namespace tarvo
