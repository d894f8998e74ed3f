#include "formats/WorkspaceWriter.h"

#include "formats/FileIo.h"
#include "model/LittleEndian.h"
#include "model/ThroughputView.h"

#include <limits>
#include <optional>

namespace tarvo {

namespace {

class CWorkspaceWriter {
public:
    std::optional<std::vector<std::uint8_t>> Write(const CTarvoAnalyzerDoc& doc) {
        out_.U32(kTwsMagic);
        out_.U32(kTwsVersion);
        // GPS locations without a map were placed by a projection made from
        // them; a map block without an image keeps it for the next reading.
        const bool projectionOnly = !doc.mapLoaded && doc.gpsPointsPresent;
        Flag(doc.mapLoaded || projectionOnly);
        if (doc.mapLoaded || projectionOnly)
            Projection(doc, projectionOnly ? kProjectionGps : doc.projectionKind);

        Count(doc.files.size());
        for (const CDataFile& f : doc.files)
            File(f);
        Count(doc.aps.size());
        for (const CAPInfo& ap : doc.aps)
            Ap(ap);
        Count(doc.points.size());
        for (const CDataPoint& p : doc.points)
            Point(p);
        Count(doc.markers.size());
        for (const CAPMarker& m : doc.markers)
            Marker(m);
        Count(doc.sources.size());
        for (const CISMarker& s : doc.sources)
            Source(s);

        Geometry(doc);
        DocumentState(doc);
        PanelState(doc.panel);
        ViewState(doc.view);
        if (doc.coveragePresent)
            Coverage(doc);
        if (tooLarge_)
            return std::nullopt;
        return out_.Take();
    }

private:
    void Flag(bool value) { out_.U8(value ? 1 : 0); }

    // Counts are signed 32-bit in the file; no real study comes near the
    // limit, but a silent wrap would write a file that reads back wrongly.
    void Count(std::size_t n) {
        if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            tooLarge_ = true;
        out_.I32(static_cast<std::int32_t>(n));
    }

    void Text(const std::string& text) {
        out_.U32(static_cast<std::uint32_t>(text.size() + 1));
        out_.Bytes(text.data(), text.size());
        out_.U8(0);
    }

    void Data(const CArray<CData>& samples) {
        Count(samples.size());
        for (const CData& d : samples) {
            out_.F64(d.y);
            out_.F64(d.x);
            out_.F64(d.rssi);
            out_.I32(d.level2);
        }
    }

    void Doubles(const CArray<double>& values) {
        Count(values.size());
        for (double v : values)
            out_.F64(v);
    }

    void Areas(const CArray<CDataArea>& areas) {
        Count(areas.size());
        for (const CDataArea& a : areas) {
            for (double x : a.x)
                out_.F64(x);
            for (double y : a.y)
                out_.F64(y);
            out_.I32(a.vertexCount);
        }
    }

    void Lines(const CArray<CDataLine>& lines) {
        Count(lines.size());
        for (const CDataLine& l : lines)
            for (double v : l.v)
                out_.F64(v);
    }

    void Projection(const CTarvoAnalyzerDoc& doc, std::int32_t kind) {
        const bool gps = kind == kProjectionGps;
        out_.I32(kind);
        // Only the two projection kinds have a header; other kinds go
        // straight to the map size and image.
        if (gps || kind == kProjectionLinear) {
            out_.U32(gps ? kTwsGpsHeaderSize : kTwsLinearHeaderSize);
            out_.U32(gps ? kTwsGpsHeaderMagic : kTwsLinearHeaderMagic);
            out_.U16(1);
            out_.U16(0);
            out_.U8(doc.projectionSubtype);
            for (const auto& row : doc.ProjectionMatrix)
                for (double m : row)
                    out_.F64(m);
            if (gps)
                out_.Zeros(4);
        }
        out_.I32(doc.ImageWidth);
        out_.I32(doc.ImageHeight);
        if (doc.mapBytes.size() > std::numeric_limits<std::uint32_t>::max())
            tooLarge_ = true;
        const std::span<const std::uint8_t> image =
            doc.mapLoaded ? std::span(doc.mapBytes) : std::span<const std::uint8_t>();
        out_.U32(static_cast<std::uint32_t>(image.size()));
        out_.Bytes(image);
    }

    void File(const CDataFile& f) {
        Text(f.title);
        Text(f.path);
        Text(f.created);
        Text(f.spareText);
        out_.U32(f.colour);
        out_.I32(f.pointCount);
        out_.I32(f.selected);
    }

    void Ap(const CAPInfo& ap) {
        out_.U8(ap.selected);
        out_.I32(ap.state);
        out_.U8(ap.valid);
        out_.U32(ap.colour);
        out_.Bytes(ap.bssid.data(), ap.bssid.size());
        out_.Bytes(ap.ssid.data(), ap.ssid.size());
        out_.I32(ap.channel);
        out_.I32(ap.frequency);
        Data(ap.samples);
        Data(ap.filteredSamples);
        Doubles(ap.matrix);
        Areas(ap.areas);
        Lines(ap.lines);
        for (int i = 0; i < kCoverageLevels; ++i) {
            out_.I32(ap.table1[i]);
            out_.I32(ap.table2[i]);
            out_.I32(ap.table3[i]);
        }
        for (double level : ap.levels)
            out_.F64(level);
        for (const auto* pair : {&ap.extent, &ap.origin, &ap.position}) {
            out_.F64((*pair)[0]);
            out_.F64((*pair)[1]);
        }
        out_.I32(ap.iconKind);
        out_.I32(ap.icon);
        out_.F64(ap.maxValue);
        out_.F64(ap.minValue);
        out_.I32(ap.columns);
        out_.I32(ap.rows);
        out_.F64(ap.sigma);
        out_.F64(ap.slope);
        out_.F64(ap.intercept);
        Text(ap.name);
        Text(ap.antennaDirection);
        Text(ap.antennaHeight);
        Text(ap.antennaGain);
        Text(ap.notes);
        Text(ap.txPower);
    }

    void Point(const CDataPoint& p) {
        std::uint8_t record[CDataPoint::kRecordSize];
        p.ToRecord(record);
        out_.Bytes(record, sizeof record);
        Count(p.samples.size());
        for (const CDataSsd& s : p.samples) {
            std::uint8_t sample[CDataSsd::kRecordSize];
            s.ToRecord(sample);
            out_.Bytes(sample, sizeof sample);
        }
    }

    void Marker(const CAPMarker& m) {
        out_.I32(m.icon);
        out_.F64(m.y);
        out_.F64(m.x);
        out_.U32(m.channel);
        out_.Bytes(m.bssid.data(), m.bssid.size());
        out_.Bytes(m.ssid.data(), m.ssid.size());
        out_.Bytes(m.dateTime.data(), m.dateTime.size());
        Text(m.antennaDirection);
        Text(m.antennaHeight);
        Text(m.antennaGain);
        Text(m.notes);
        Text(m.txPower);
        Text(m.name);
    }

    void Source(const CISMarker& s) {
        out_.I32(s.icon);
        out_.F64(s.y);
        out_.F64(s.x);
        out_.Bytes(s.dateTime.data(), s.dateTime.size());
        Text(s.notes);
        Text(s.name);
        Text(s.bandwidth);
        Text(s.frequency);
    }

    void Box(const CBox& box) {
        out_.F64(box.minY);
        out_.F64(box.minX);
        out_.F64(box.extentY);
        out_.F64(box.extentX);
    }

    void Geometry(const CTarvoAnalyzerDoc& doc) {
        out_.F64(doc.mapOriginY);
        out_.F64(doc.mapOriginX);
        out_.F64(doc.MapExtentHeight);
        out_.F64(doc.MapExtentWidth);
        Box(doc.ViewWindow);
        Box(doc.AnalysisBox);
        Box(doc.DataExtent);
        out_.F64(doc.viewGeometrySpare[0]);
        out_.F64(doc.viewGeometrySpare[1]);
    }

    void DocumentState(const CTarvoAnalyzerDoc& doc) {
        Flag(doc.geographicLinear);
        out_.I32(doc.projectionKind);
        Flag(doc.gpsPointsPresent);
        Flag(doc.linearPointsPresent);

        Text(doc.projectionPath);
        Text(doc.currentFilePath);
        Text(doc.spareText1);
        Text(StudyRecordToStore(doc));

        out_.I32(doc.MinPointsForEstimate);
        out_.I32(doc.colourSeed);
        out_.I32(doc.CoverageRows);
        out_.I32(doc.CoverageCols);
        out_.F64(doc.strengthScaleLow);
        out_.F64(doc.strengthScaleHigh);

        out_.F64(doc.SiteScaleX);
        out_.F64(doc.SiteScaleY);

        out_.I32(doc.pathWidth);
        out_.I32(doc.gridLineCount);
        out_.I32(doc.coverageOpacity);
        out_.I32(doc.PowerLow);
        out_.I32(doc.PowerHigh);

        for (bool flag : {doc.noSurveyLoaded, doc.graphWindow, doc.coveragePresent, doc.UseFeet,
                          doc.pathShown, doc.MergeApsAcrossFiles, doc.scaleShown, doc.legendShown,
                          doc.infoWindowShown, doc.processed, doc.mapLoaded, doc.apIconsShown,
                          doc.interferenceIconsShown, doc.markedApIconsShown, doc.pointStatus,
                          doc.linearCoordinates, doc.sortBySsid, doc.onlySelected})
            Flag(flag);

        out_.F64(doc.Resolution);
        out_.I32(doc.coverageSelection);
        out_.I32(doc.coverageMode);
        out_.I32(doc.coverageSetting3);
        out_.I32(DisplayTypeToStore(doc));

        for (ColourRef colour : doc.CoveragePalette)
            out_.U32(colour);
    }

    void PanelState(const CPanelState& panel) {
        out_.I32(panel.page);
        const CReportOptions& r = panel.report;
        for (bool option : {r.showSsdFiles, r.showAllFiles, r.showAccessPoints, r.showAllAps,
                            r.showMarkedAps, r.showInterferenceSources, r.showSurveyPath,
                            r.showApCoverage, r.showApOverlay, r.showCoverageReliability})
            Flag(option);
        Text(panel.reportPath);
    }

    void ViewState(const CMapViewState& view) {
        Flag(view.showMap);
        Flag(view.scrollBarsShown);
        out_.I32(view.verticalScroll);
        out_.I32(view.horizontalScroll);
        out_.I32(view.hitIndex);
        out_.Bytes(view.tools.data(), view.tools.size());
        out_.F64(view.zoomLeft);
        out_.F64(view.zoomRight);
        out_.F64(view.zoomBottom);
        out_.F64(view.zoomTop);
        out_.F64(view.zoomWidth);
        out_.F64(view.zoomHeight);
    }

    void Coverage(const CTarvoAnalyzerDoc& doc) {
        for (const CCoverageDrawing& drawing : doc.coverageDrawings) {
            Areas(drawing.areas);
            Lines(drawing.lines);
        }
        Doubles(doc.StrengthMatrix);
        Doubles(doc.MarginMatrix);
        Doubles(doc.ApCountMatrix);
        for (const auto& table : doc.coverageTables)
            for (std::int32_t value : table)
                out_.I32(value);
    }

    ByteWriter out_;
    bool tooLarge_ = false;
};

} // namespace

std::optional<std::vector<std::uint8_t>> WriteWorkspace(const CTarvoAnalyzerDoc& doc) {
    return CWorkspaceWriter().Write(doc);
}

bool WriteWorkspaceFile(const CTarvoAnalyzerDoc& doc, const std::string& path,
                        CWriteFailure* failure) {
    const std::optional<std::vector<std::uint8_t>> bytes = WriteWorkspace(doc);
    return bytes && WriteFileAtomically(path, *bytes, failure);
}

} // namespace tarvo
