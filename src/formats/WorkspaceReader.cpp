#include "formats/WorkspaceReader.h"

#include "formats/FileByteReader.h"
#include "formats/FileIo.h"
#include "formats/WorkspaceWriter.h"
#include "model/ApGroups.h"
#include "model/ChannelPlan.h"
#include "model/CoverageViews.h"
#include "model/LittleEndian.h"
#include "model/SettingRanges.h"
#include "model/UncertaintyRecord.h"

#include <algorithm>
#include <memory>

namespace tarvo {

namespace {

// The fewest bytes one element of each array can take in the file (texts at
// least their 4-byte length, nested arrays at least their 4-byte count).
// A count is refused when that many elements cannot fit in what is left.
constexpr std::size_t kMinText = 4;
constexpr std::size_t kMinFile = 4 * kMinText + 12;
constexpr std::size_t kMinAp =
    56 + 5 * 4 + 3 * 4 * kCoverageLevels + 8 * kReliabilityLevels + 6 * 8 + 56 + 6 * kMinText;
constexpr std::size_t kMinPoint = CDataPoint::kRecordSize + 4;
constexpr std::size_t kMinMarker = 4 + 8 + 8 + 4 + 6 + 32 + 6 + 6 * kMinText;
constexpr std::size_t kMinSource = 4 + 8 + 8 + 6 + 4 * kMinText;
constexpr std::size_t kProjectionMatrixOffset = kTwsSubtypeOffset + 1;

// Reads from a ByteReader over bytes in memory or a CFileByteReader over
// the file itself: both have the same field reads.
template <typename Input> class CWorkspaceReader {
public:
    CWorkspaceReader(Input& in, IUiServices& ui) : in_(in), ui_(ui) {}

    WorkspaceReadStatus Read(CTarvoAnalyzerDoc& doc) {
        if (in_.U32() != kTwsMagic || in_.Failed())
            return WorkspaceReadStatus::NotWorkspace;
        in_.U32(); // version: every version so far has this layout
        doc.mapLoaded = in_.U8() != 0;
        if (doc.mapLoaded) {
            WorkspaceReadStatus status = Projection(doc);
            if (status != WorkspaceReadStatus::Ok)
                return status;
        }
        const bool ok = Files(doc) && Aps(doc) && Points(doc) && Markers(doc) && Sources(doc) &&
                        Geometry(doc) && DocumentState(doc) && PanelState(doc.panel) &&
                        ViewState(doc.view) && (!doc.coveragePresent || Coverage(doc));
        if (!ok || in_.Failed())
            return WorkspaceReadStatus::Damaged;
        BringSettingsIntoRange(doc);
        return WorkspaceReadStatus::Ok;
    }

private:
    bool Flag() { return in_.U8() != 0; }

    // Reads an element count and checks that many elements of at least
    // minSize bytes each can still be in the file.
    bool Count(std::size_t minSize, std::size_t& n) {
        const std::int32_t count = in_.I32();
        if (in_.Failed() || count < 0)
            return false;
        n = static_cast<std::size_t>(count);
        return n <= in_.Remaining() / minSize;
    }

    bool Text(std::string& text) {
        const std::uint32_t length = in_.U32();
        if (in_.Failed() || length > in_.Remaining())
            return false;
        auto bytes = in_.Take(length);
        auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        text.assign(bytes.begin(), end);
        return true;
    }

    template <std::size_t N> void Bytes(std::array<std::uint8_t, N>& out) {
        in_.Bytes(out.data(), N);
    }

    bool Data(CArray<CData>& samples) {
        std::size_t n = 0;
        if (!Count(CData::kBlockSize, n))
            return false;
        samples.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CData& d : samples) {
            d.y = in_.F64();
            d.x = in_.F64();
            d.rssi = in_.F64();
            d.level2 = in_.I32();
        }
        return !in_.Failed();
    }

    bool Doubles(CArray<double>& values) {
        std::size_t n = 0;
        if (!Count(8, n))
            return false;
        values.SetSize(static_cast<std::ptrdiff_t>(n));
        for (double& v : values)
            v = in_.F64();
        return !in_.Failed();
    }

    bool Areas(CArray<CDataArea>& areas) {
        std::size_t n = 0;
        if (!Count(CDataArea::kBlockSize, n))
            return false;
        areas.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CDataArea& a : areas) {
            for (double& x : a.x)
                x = in_.F64();
            for (double& y : a.y)
                y = in_.F64();
            a.vertexCount = in_.I32();
        }
        return !in_.Failed();
    }

    bool Lines(CArray<CDataLine>& lines) {
        std::size_t n = 0;
        if (!Count(CDataLine::kBlockSize, n))
            return false;
        lines.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CDataLine& l : lines)
            for (double& v : l.v)
                v = in_.F64();
        return !in_.Failed();
    }

    WorkspaceReadStatus Projection(CTarvoAnalyzerDoc& doc) {
        doc.projectionKind = in_.I32();
        // Other kinds carry no header: the map size and image follow.
        if (doc.projectionKind == kProjectionGps || doc.projectionKind == kProjectionLinear) {
            const std::size_t headerSize =
                doc.projectionKind == kProjectionGps ? kTwsGpsHeaderSize : kTwsLinearHeaderSize;
            auto header = in_.Take(headerSize);
            if (header.empty())
                return WorkspaceReadStatus::Damaged;
            const std::uint8_t subtype = header[kTwsSubtypeOffset];
            if (subtype != 0 && subtype != 1) {
                ui_.MessageBox("Unsupported TWS Filetype. May be for a different product.",
                               "Invalid File", MsgIcon::Error);
                return WorkspaceReadStatus::UnsupportedType;
            }
            // The header's size and magic are carried, not checked.
            doc.projectionSubtype = subtype;
            const std::uint8_t* m = header.data() + kProjectionMatrixOffset;
            for (auto& row : doc.ProjectionMatrix)
                for (double& value : row) {
                    value = GetF64(m);
                    m += 8;
                }
        }
        doc.ImageWidth = in_.I32();
        doc.ImageHeight = in_.I32();
        const std::uint32_t imageSize = in_.U32();
        if (in_.Failed() || imageSize > in_.Remaining())
            return WorkspaceReadStatus::Damaged;
        if (imageSize == 0) {
            doc.mapLoaded = false;
            return WorkspaceReadStatus::Ok;
        }
        doc.linearCoordinates = false;
        auto image = in_.Take(imageSize);
        doc.mapBytes.assign(image.begin(), image.end());
        // The bytes are kept even when they do not make a picture, so that a
        // later save writes the study back unchanged; the view then simply
        // has no map image to draw.
        doc.mapPicture.Release();
        if (doc.mapPicture.Load(image))
            doc.mapPicture.SetStoredSize(doc.ImageWidth, doc.ImageHeight);
        return WorkspaceReadStatus::Ok;
    }

    bool Files(CTarvoAnalyzerDoc& doc) {
        std::size_t n = 0;
        if (!Count(kMinFile, n))
            return false;
        doc.files.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CDataFile& f : doc.files) {
            if (!Text(f.title) || !Text(f.path) || !Text(f.created) || !Text(f.spareText))
                return false;
            f.colour = in_.U32();
            f.pointCount = in_.I32();
            f.selected = in_.I32();
        }
        return !in_.Failed();
    }

    bool Ap(CAPInfo& ap) {
        ap.selected = in_.U8();
        ap.state = in_.I32();
        ap.valid = in_.U8();
        ap.colour = in_.U32();
        Bytes(ap.bssid);
        Bytes(ap.ssid);
        ap.channel = in_.I32();
        ap.frequency = in_.I32();
        // Studies saved while the channel plan stopped at 64 and 161 hold -1
        // for channels such as 100 or 165; the plan knows them now.
        if (ap.frequency == -1)
            ap.frequency = FrequencyForChannel(ap.channel);
        if (!Data(ap.samples) || !Data(ap.filteredSamples) || !Doubles(ap.matrix) ||
            !Areas(ap.areas) || !Lines(ap.lines))
            return false;
        for (int i = 0; i < kCoverageLevels; ++i) {
            ap.table1[i] = in_.I32();
            ap.table2[i] = in_.I32();
            ap.table3[i] = in_.I32();
        }
        for (double& level : ap.levels)
            level = in_.F64();
        for (auto* pair : {&ap.extent, &ap.origin, &ap.position}) {
            (*pair)[0] = in_.F64();
            (*pair)[1] = in_.F64();
        }
        ap.iconKind = in_.I32();
        ap.icon = in_.I32();
        ap.maxValue = in_.F64();
        ap.minValue = in_.F64();
        ap.columns = in_.I32();
        ap.rows = in_.I32();
        ap.sigma = in_.F64();
        ap.slope = in_.F64();
        ap.intercept = in_.F64();
        return Text(ap.name) && Text(ap.antennaDirection) && Text(ap.antennaHeight) &&
               Text(ap.antennaGain) && Text(ap.notes) && Text(ap.txPower);
    }

    bool Aps(CTarvoAnalyzerDoc& doc) {
        std::size_t n = 0;
        if (!Count(kMinAp, n))
            return false;
        doc.aps.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CAPInfo& ap : doc.aps)
            if (!Ap(ap))
                return false;
        return true;
    }

    bool Points(CTarvoAnalyzerDoc& doc) {
        std::size_t n = 0;
        if (!Count(kMinPoint, n))
            return false;
        doc.points.Reserve(n);
        // One identity table for every point's samples.
        const auto identities = std::make_shared<CSampleIdentities>();
        for (std::size_t i = 0; i < n; ++i) {
            const std::span<const std::uint8_t> record = in_.Take(CDataPoint::kRecordSize);
            if (record.empty())
                return false;
            CDataPoint point(record.first<CDataPoint::kRecordSize>());
            std::size_t samples = 0;
            if (!Count(CDataSsd::kRecordSize, samples))
                return false;
            point.samples = CPointSamples(identities);
            point.samples.Reserve(samples);
            const CPointSamples* previous = i > 0 ? &doc.points.Vector().back().samples : nullptr;
            for (std::size_t s = 0; s < samples; ++s) {
                const std::span<const std::uint8_t> sample = in_.Take(CDataSsd::kRecordSize);
                if (sample.empty())
                    return false;
                const std::uint32_t likely = previous && s < previous->size()
                                                 ? previous->IdentityAt(s)
                                                 : CPointSamples::kNoIdentity;
                point.samples.Add(CDataSsd::FromRecord(sample.first<CDataSsd::kRecordSize>()),
                                  likely);
            }
            doc.points.Add(std::move(point));
        }
        return !in_.Failed();
    }

    bool Markers(CTarvoAnalyzerDoc& doc) {
        std::size_t n = 0;
        if (!Count(kMinMarker, n))
            return false;
        doc.markers.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CAPMarker& m : doc.markers) {
            m.icon = in_.I32();
            m.y = in_.F64();
            m.x = in_.F64();
            m.channel = in_.U32();
            Bytes(m.bssid);
            Bytes(m.ssid);
            Bytes(m.dateTime);
            if (!Text(m.antennaDirection) || !Text(m.antennaHeight) || !Text(m.antennaGain) ||
                !Text(m.notes) || !Text(m.txPower) || !Text(m.name))
                return false;
            m.inSiteUnits = true; // the file keeps them converted
        }
        return !in_.Failed();
    }

    bool Sources(CTarvoAnalyzerDoc& doc) {
        std::size_t n = 0;
        if (!Count(kMinSource, n))
            return false;
        doc.sources.SetSize(static_cast<std::ptrdiff_t>(n));
        for (CISMarker& s : doc.sources) {
            s.icon = in_.I32();
            s.y = in_.F64();
            s.x = in_.F64();
            Bytes(s.dateTime);
            if (!Text(s.notes) || !Text(s.name) || !Text(s.bandwidth) || !Text(s.frequency))
                return false;
            s.inSiteUnits = true;
        }
        return !in_.Failed();
    }

    void Box(CBox& box) {
        box.minY = in_.F64();
        box.minX = in_.F64();
        box.extentY = in_.F64();
        box.extentX = in_.F64();
    }

    bool Geometry(CTarvoAnalyzerDoc& doc) {
        doc.mapOriginY = in_.F64();
        doc.mapOriginX = in_.F64();
        doc.MapExtentHeight = in_.F64();
        doc.MapExtentWidth = in_.F64();
        Box(doc.ViewWindow);
        Box(doc.AnalysisBox);
        Box(doc.DataExtent);
        doc.viewGeometrySpare[0] = in_.F64();
        doc.viewGeometrySpare[1] = in_.F64();
        return !in_.Failed();
    }

    bool DocumentState(CTarvoAnalyzerDoc& doc) {
        doc.geographicLinear = Flag();
        doc.projectionKind = in_.I32();
        doc.gpsPointsPresent = Flag();
        doc.linearPointsPresent = Flag();

        if (!Text(doc.projectionPath) || !Text(doc.currentFilePath) || !Text(doc.spareText1) ||
            !Text(doc.spareText2))
            return false;
        doc.spareText2 = TakeUncertaintyRecord(doc.spareText2, doc.aps);
        doc.estimator = EstimatorFromRecord(doc.spareText2);
        doc.coverageModel = CoverageModelFromRecord(doc.spareText2);

        doc.MinPointsForEstimate = in_.I32();
        doc.colourSeed = in_.I32();
        doc.CoverageRows = in_.I32();
        doc.CoverageCols = in_.I32();
        doc.strengthScaleLow = in_.F64();
        doc.strengthScaleHigh = in_.F64();

        doc.SiteScaleX = in_.F64();
        doc.SiteScaleY = in_.F64();

        doc.pathWidth = in_.I32();
        doc.gridLineCount = in_.I32();
        doc.coverageOpacity = in_.I32();
        doc.PowerLow = in_.I32();
        doc.PowerHigh = in_.I32();

        for (bool* flag :
             {&doc.noSurveyLoaded, &doc.graphWindow, &doc.coveragePresent, &doc.UseFeet,
              &doc.pathShown, &doc.MergeApsAcrossFiles, &doc.scaleShown, &doc.legendShown,
              &doc.infoWindowShown, &doc.processed, &doc.mapLoaded, &doc.apIconsShown,
              &doc.interferenceIconsShown, &doc.markedApIconsShown, &doc.pointStatus,
              &doc.linearCoordinates, &doc.sortBySsid, &doc.onlySelected})
            *flag = Flag();

        doc.Resolution = in_.F64();
        doc.coverageSelection = in_.I32();
        doc.coverageMode = in_.I32();
        doc.coverageSetting3 = in_.I32();
        doc.coverageDisplayType = in_.I32();
        RestoreRecordedView(doc);

        for (ColourRef& colour : doc.CoveragePalette)
            colour = in_.U32();
        return !in_.Failed();
    }

    bool PanelState(CPanelState& panel) {
        panel.page = in_.I32();
        CReportOptions& r = panel.report;
        for (bool* option : {&r.showSsdFiles, &r.showAllFiles, &r.showAccessPoints, &r.showAllAps,
                             &r.showMarkedAps, &r.showInterferenceSources, &r.showSurveyPath,
                             &r.showApCoverage, &r.showApOverlay, &r.showCoverageReliability})
            *option = Flag();
        return Text(panel.reportPath);
    }

    bool ViewState(CMapViewState& view) {
        view.showMap = Flag();
        view.scrollBarsShown = Flag();
        view.verticalScroll = in_.I32();
        view.horizontalScroll = in_.I32();
        view.hitIndex = in_.I32();
        Bytes(view.tools);
        view.zoomLeft = in_.F64();
        view.zoomRight = in_.F64();
        view.zoomBottom = in_.F64();
        view.zoomTop = in_.F64();
        view.zoomWidth = in_.F64();
        view.zoomHeight = in_.F64();
        return !in_.Failed();
    }

    bool Coverage(CTarvoAnalyzerDoc& doc) {
        for (CCoverageDrawing& drawing : doc.coverageDrawings)
            if (!Areas(drawing.areas) || !Lines(drawing.lines))
                return false;
        if (!Doubles(doc.StrengthMatrix) || !Doubles(doc.MarginMatrix) ||
            !Doubles(doc.ApCountMatrix))
            return false;
        for (auto& table : doc.coverageTables)
            for (std::int32_t& value : table)
                value = in_.I32();
        return !in_.Failed();
    }

    Input& in_;
    IUiServices& ui_;
};

// Reads with `in` into a fresh document that replaces doc only once the
// whole file was read.
template <typename Input>
WorkspaceReadStatus ReadInto(CTarvoAnalyzerDoc& doc, Input& in, IUiServices& ui) {
    CTarvoAnalyzerDoc fresh;
    const WorkspaceReadStatus status = CWorkspaceReader<Input>(in, ui).Read(fresh);
    if (status != WorkspaceReadStatus::Ok)
        return status;

    // Carry over what belongs to the session or the window, not the study.
    fresh.workspacePath = std::move(doc.workspacePath);
    fresh.workspaceNamed = doc.workspaceNamed;
    fresh.view.clientWidth = doc.view.clientWidth;
    fresh.view.clientHeight = doc.view.clientHeight;
    fresh.view.compassShown = doc.view.compassShown;
    fresh.view.hitKind = doc.view.hitKind;
    RefreshAfterWorkspaceRead(fresh);
    doc = std::move(fresh); // the busy flag is not copied: the caller's stays
    return WorkspaceReadStatus::Ok;
}

} // namespace

bool HasWorkspaceMagic(std::span<const std::uint8_t> file) {
    return file.size() >= 4 && GetU32(file.data()) == kTwsMagic;
}

WorkspaceReadStatus ReadWorkspace(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file,
                                  IUiServices& ui) {
    ByteReader in(file);
    return ReadInto(doc, in, ui);
}

std::optional<WorkspaceReadStatus> ReadWorkspaceFile(CTarvoAnalyzerDoc& doc,
                                                     const std::string& path, IUiServices& ui) {
    CFileByteReader in(path, kMaxWorkspaceFileBytes);
    if (!in.Opened())
        return std::nullopt;
    return ReadInto(doc, in, ui);
}

void RefreshAfterWorkspaceRead(CTarvoAnalyzerDoc& doc) {
    doc.sortBySsid = true;
    for (CAPMarker& m : doc.markers)
        m.inSiteUnits = true;
    for (CISMarker& s : doc.sources)
        s.inSiteUnits = true;
    // Groups are not stored: they are rebuilt by SSID, as a freshly loaded
    // collection has them, so colour mode 1 and the legend have their groups.
    BuildApGroups(doc);
}

} // namespace tarvo
