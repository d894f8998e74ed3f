#include "formats/FileIo.h"
#include "formats/WorkspaceCommands.h"
#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/LittleEndian.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/FileSizeLimit.h"
#include "support/HandMadeBitmap.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <tuple>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;
using test::HandMadeBitmap;

CData Sample(double y, double x, double rssi, std::int32_t level2) {
    return {y, x, rssi, level2};
}

CDataArea Area(double base) {
    CDataArea a;
    for (int i = 0; i < 4; ++i) {
        a.x[i] = base + i;
        a.y[i] = -base - i;
    }
    a.vertexCount = 3;
    return a;
}

CDataLine Line(double base) {
    return {{base, base + 0.5, base + 1.0, base + 1.5}};
}

// The 18 flag bytes of the document state, in file order.
using D = CTarvoAnalyzerDoc;
using Flag = bool D::*;
// clang-format off
const Flag kStateFlags[18] = {
    &D::noSurveyLoaded, &D::graphWindow, &D::coveragePresent, &D::UseFeet, &D::pathShown,
    &D::MergeApsAcrossFiles, &D::scaleShown, &D::legendShown, &D::infoWindowShown, &D::processed,
    &D::mapLoaded, &D::apIconsShown, &D::interferenceIconsShown, &D::markedApIconsShown,
    &D::pointStatus, &D::linearCoordinates, &D::sortBySsid, &D::onlySelected};
// clang-format on

// A study with something unusual in every saved field, so that a field read
// into the wrong place shows up. mapKind 0 leaves it without a map.
CTarvoAnalyzerDoc MakeStudy(std::int32_t mapKind, bool coverage) {
    CTarvoAnalyzerDoc doc;
    if (mapKind != kProjectionNone) {
        doc.mapLoaded = true;
        doc.projectionKind = mapKind;
        doc.projectionSubtype = mapKind == kProjectionLinear ? 1 : 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                doc.ProjectionMatrix[r][c] = r * 4 + c + 0.125;
        doc.ImageWidth = 3;
        doc.ImageHeight = 2;
        doc.mapBytes = HandMadeBitmap(3, 2);
        EXPECT_TRUE(doc.mapPicture.Load(doc.mapBytes));
        doc.view.showMap = true;
    }
    doc.gpsPointsPresent = mapKind != kProjectionLinear;
    doc.linearPointsPresent = mapKind == kProjectionLinear;
    doc.geographicLinear = mapKind == kProjectionLinear;

    doc.files.Add(CDataFile{"walk1.ssd", "/data/walk1.ssd", "Thu Jan  1 00:00:00 1970\n", "", 1, 2,
                            0x112233});
    doc.files.Add(CDataFile{"walk2.ssd", "/data/walk2.ssd", "", "spare", 0, 0, 0x445566});

    CAPInfo ap;
    ap.selected = ap.state = ap.valid = 1;
    ap.colour = 0xA0B0C0;
    ap.bssid = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    ap.ssid = SsidFromText("lab network");
    ap.channel = 6;
    ap.frequency = 2437;
    ap.name = "AP in hall";
    ap.notes = "ceiling, \"north\" side";
    ap.samples = {Sample(1.5, 2.5, -60.0625, 7), Sample(3.5, 4.5, -71.5, -2)};
    ap.filteredSamples = {Sample(1.5, 2.5, -60.0625, 7)};
    ap.matrix = {-55.5, -80.25};
    ap.areas = {Area(10.0)};
    ap.lines = {Line(20.0)};
    ap.extent = {11.0, 12.0};
    ap.origin = {-1.0, -2.0};
    ap.position = {4.25, 5.75};
    ap.iconKind = 2;
    ap.icon = 175;
    ap.maxValue = -40.5;
    ap.minValue = -95.5;
    ap.columns = 2;
    ap.rows = 1;
    ap.sigma = 3.25;
    ap.slope = -31.5;
    ap.intercept = -38.0;
    for (int i = 0; i < kCoverageLevels; ++i) {
        ap.table1[i] = i + 1;
        ap.table2[i] = 100 + i;
        ap.table3[i] = 0x10000 * i;
    }
    for (int i = 0; i < kReliabilityLevels; ++i)
        ap.levels[i] = 5.0 * (i + 1);
    doc.aps.Add(ap);
    CAPInfo bare; // no samples, default texts
    bare.bssid = {1, 2, 3, 4, 5, 6};
    doc.aps.Add(bare);

    std::uint8_t record[CDataPoint::kRecordSize];
    for (std::size_t i = 0; i < sizeof record; ++i)
        record[i] = static_cast<std::uint8_t>(0xC0 + i);
    CDataPoint point(record);
    CDataSsd s;
    s.channel = 11;
    s.rssi = -1000;
    s.level2 = 3;
    s.bssid = ap.bssid;
    s.ssid = SsidFromText("0123456789abcdef0123456789ABCDEF"); // all 32 bytes
    point.samples.Add(s);
    doc.points.Add(point);
    doc.points.Add(CDataPoint{}); // no samples

    CAPMarker marker;
    marker.y = 12.5;
    marker.x = -3.25;
    marker.dateTime = {1, 2, 30, 4, 5, 6};
    marker.icon = 176;
    marker.bssid = {9, 8, 7, 6, 5, 4};
    marker.ssid = SsidFromText("marked");
    marker.channel = 149;
    marker.name = "M1";
    doc.markers.Add(marker);
    CISMarker source;
    source.y = -7.5;
    source.x = 8.5;
    source.dateTime = {6, 5, 4, 3, 2, 1};
    source.icon = 181;
    source.name = "microwave";
    doc.sources.Add(source);

    doc.projectionPath = "/maps/floor.lpf";
    doc.currentFilePath = "/data/walk2.ssd";
    doc.spareText1 = "";
    doc.spareText2 = "kml/out.kml";
    doc.workspacePath = "/not/saved.tws";
    // Each flag away from its default (sorting by SSID is restored on read);
    // the scalar settings are covered by ScalarStateSitsAtHandComputedOffsets.
    const bool flags[18] = {1, 1, coverage, 0, 1, 0, 1, 1, 1, 1, mapKind != kProjectionNone,
                            1, 1, 1,        0, 0, 1, 0};
    for (int i = 0; i < 18; ++i)
        doc.*kStateFlags[i] = flags[i];
    doc.panel.page = 2;
    doc.panel.report.showAllFiles = false;
    doc.panel.report.showAllAps = false;
    doc.panel.report.showCoverageReliability = false;
    doc.panel.reportPath = "/reports/study.html";
    doc.view.scrollBarsShown = true;

    if (coverage) {
        for (int d = 0; d < 3; ++d) {
            doc.coverageDrawings[d].areas.Add(Area(30.0 + d));
            doc.coverageDrawings[d].lines.Add(Line(40.0 + d));
            doc.coverageDrawings[d].lines.Add(Line(50.0 + d));
        }
        for (int i = 0; i < 6; ++i) {
            doc.StrengthMatrix.Add(-50.0 - i);
            doc.MarginMatrix.Add(10.0 + i);
            doc.ApCountMatrix.Add(i % 3);
        }
        for (int t = 0; t < 6; ++t)
            for (int i = 0; i < 10; ++i)
                doc.coverageTables[t][i] = t * 10 + i;
    }
    return doc;
}

// Every field that a workspace saves; the records first, for clearer failures.
auto Saved(const D& d) {
    return std::tuple_cat(
        std::tie(d.files, d.aps, d.points, d.markers, d.sources, d.mapBytes, d.mapPicture),
        std::tie(d.ImageWidth, d.ImageHeight, d.coverageDrawings, d.StrengthMatrix, d.MarginMatrix,
                 d.ApCountMatrix, d.coverageTables, d.projectionKind, d.projectionSubtype,
                 d.ProjectionMatrix, d.SiteScaleX, d.SiteScaleY, d.mapOriginY, d.mapOriginX,
                 d.MapExtentHeight, d.MapExtentWidth, d.ViewWindow, d.AnalysisBox, d.DataExtent,
                 d.viewGeometrySpare, d.projectionPath, d.currentFilePath, d.spareText1,
                 d.spareText2, d.MinPointsForEstimate, d.colourSeed, d.CoverageRows, d.CoverageCols,
                 d.strengthScaleLow, d.strengthScaleHigh, d.pathWidth, d.gridLineCount,
                 d.coverageOpacity, d.PowerLow, d.PowerHigh, d.Resolution),
        std::tie(d.coverageSelection, d.coverageMode, d.coverageSetting3, d.coverageDisplayType,
                 d.CoveragePalette, d.geographicLinear, d.gpsPointsPresent, d.linearPointsPresent,
                 d.panel, d.view.showMap, d.view.scrollBarsShown, d.view.verticalScroll,
                 d.view.horizontalScroll, d.view.hitIndex, d.view.tools, d.view.zoomLeft,
                 d.view.zoomRight, d.view.zoomBottom, d.view.zoomTop, d.view.zoomWidth,
                 d.view.zoomHeight));
}

void ExpectSameStudy(const D& a, const D& b) {
    EXPECT_EQ(a.files, b.files);
    EXPECT_EQ(a.aps, b.aps);
    EXPECT_EQ(a.points, b.points);
    EXPECT_TRUE(Saved(a) == Saved(b));
    for (std::size_t i = 0; i < std::size(kStateFlags); ++i)
        EXPECT_EQ(a.*kStateFlags[i], b.*kStateFlags[i]) << "flag " << i;
}

std::vector<std::uint8_t> Save(const CTarvoAnalyzerDoc& doc) {
    auto bytes = WriteWorkspace(doc);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(std::vector<std::uint8_t>{});
}

TEST(Workspace, SaveReopenSaveGivesIdenticalBytesAndFields) {
    for (std::int32_t mapKind : {kProjectionNone, kProjectionGps, kProjectionLinear}) {
        for (bool coverage : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "map kind " << mapKind << " coverage " << coverage);
            const CTarvoAnalyzerDoc original = MakeStudy(mapKind, coverage);
            const std::vector<std::uint8_t> first = Save(original);
            CTarvoAnalyzerDoc reopened;
            CFakeUi ui;
            ASSERT_EQ(ReadWorkspace(reopened, first, ui), WorkspaceReadStatus::Ok);
            EXPECT_TRUE(ui.messages.empty());
            ExpectSameStudy(original, reopened);
            EXPECT_EQ(Save(reopened), first);
        }
    }
}

// The robust estimator's radii travel in the study record, beside the
// choices already there, and come back to their APs; the record in memory
// never holds them.
TEST(Workspace, UncertaintyRadiiComeBackToTheirAps) {
    CTarvoAnalyzerDoc original = MakeStudy(kProjectionLinear, false);
    ASSERT_GE(original.aps.GetSize(), 2);
    original.spareText2 = "estimator=robust";
    original.aps[0].uncertaintyM = 2.5;
    const std::vector<std::uint8_t> bytes = Save(original);
    CTarvoAnalyzerDoc reopened;
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(reopened, bytes, ui), WorkspaceReadStatus::Ok);
    ExpectSameStudy(original, reopened);
    EXPECT_EQ(reopened.aps[0].uncertaintyM, 2.5);
    EXPECT_EQ(reopened.aps[1].uncertaintyM, 0.0);
    EXPECT_EQ(reopened.spareText2, "estimator=robust");
    EXPECT_EQ(reopened.estimator, EstimatorKind::Robust);
    EXPECT_EQ(Save(reopened), bytes);
}

TEST(Workspace, ReadKeepsSessionStateAndLoadsTheMapAtItsStoredSize) {
    CTarvoAnalyzerDoc original = MakeStudy(kProjectionGps, false);
    original.ImageWidth = 300; // the stored size wins over the bitmap's own
    original.sortBySsid = false;
    const auto bytes = Save(original);

    CTarvoAnalyzerDoc doc;
    doc.workspacePath = "/kept.tws";
    doc.view.clientWidth = 1234;
    doc.markers.Add(CAPMarker{});
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(doc, bytes, ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(doc.workspacePath, "/kept.tws");
    EXPECT_EQ(doc.view.clientWidth, 1234);
    EXPECT_TRUE(doc.sortBySsid); // the AP listing is sorted by SSID again
    ASSERT_EQ(doc.markers.GetSize(), 1);
    EXPECT_EQ(doc.markers[0].name, "M1");
    EXPECT_TRUE(doc.markers[0].inSiteUnits);
    EXPECT_EQ(doc.mapPicture.Bytes(), HandMadeBitmap(3, 2));
    EXPECT_EQ(doc.mapPicture.Width(), 300);
}

// Offsets worked out by hand for a default document without a map: magic 0,
// version 4, mapLoaded 8, five counts from 9, 18 geometry doubles from 29,
// document state from 173, panel state from 350, view state from 369, end
// at 440; the coverage block adds 3 x (4 + 4) + 3 x 4 + 6 x 40 = 276 bytes.
TEST(WorkspaceLayout, DefaultDocumentFieldsSitAtHandComputedOffsets) {
    CTarvoAnalyzerDoc doc;
    const auto b = Save(doc);
    ASSERT_EQ(b.size(), 440u);
    const std::uint8_t head[] = {0x20, 'T', 'W', 'S', 1, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(b.data(), head, sizeof head));
    // Five zero counts, then the defaults MinPointsForEstimate 20 and
    // power -90..-30 (every scalar offset: ScalarStateSitsAtHandComputedOffsets).
    for (auto [at, value] : {std::pair{9, 0}, {25, 0}, {200, 20}, {260, -90}, {264, -30}})
        EXPECT_EQ(GetI32(&b[at]), value) << at;
    // Four empty texts, each of length 1 holding one NUL.
    const std::uint8_t texts[] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(&b[180], texts, sizeof texts));
    EXPECT_EQ(b[173], 0); // geographic linear
    // UseFeet, MergeApsAcrossFiles, point status, linear coordinates, sort
    // by SSID and only selected are on by default.
    const std::uint8_t flags[18] = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1};
    EXPECT_EQ(0, std::memcmp(&b[268], flags, sizeof flags));
    EXPECT_EQ(b[354], 1);            // show SSD files
    EXPECT_EQ(GetF64(&b[400]), 1.0); // zoom right

    doc.coveragePresent = true;
    doc.coverageTables[5][9] = 77;
    const auto c = Save(doc);
    ASSERT_EQ(c.size(), 440u + 276u);
    EXPECT_EQ(c[268 + 2], 1); // coverage present flag
    EXPECT_EQ(GetI32(&c[712]), 77);
}

// Each scalar gets its own value, so that two fields exchanged in both the
// writer and the reader still show up at the wrong offset, and one read into
// the wrong field shows up after the round trip.
TEST(WorkspaceLayout, ScalarStateSitsAtHandComputedOffsets) {
    CTarvoAnalyzerDoc doc;
    double value = 1.0;
    for (double* d : {&doc.mapOriginY, &doc.mapOriginX, &doc.MapExtentHeight, &doc.MapExtentWidth,
                      &doc.ViewWindow.minY, &doc.ViewWindow.minX, &doc.ViewWindow.extentY,
                      &doc.ViewWindow.extentX, &doc.AnalysisBox.minY, &doc.AnalysisBox.minX,
                      &doc.AnalysisBox.extentY, &doc.AnalysisBox.extentX, &doc.DataExtent.minY,
                      &doc.DataExtent.minX, &doc.DataExtent.extentY, &doc.DataExtent.extentX,
                      &doc.viewGeometrySpare[0], &doc.viewGeometrySpare[1]})
        *d = value++;
    doc.projectionKind = 7; // without a map it is only kept in the state
    std::int32_t next = 201;
    for (std::int32_t* i :
         {&doc.MinPointsForEstimate, &doc.colourSeed, &doc.CoverageRows, &doc.CoverageCols})
        *i = next++;
    value = 205.5;
    for (double* d :
         {&doc.strengthScaleLow, &doc.strengthScaleHigh, &doc.SiteScaleX, &doc.SiteScaleY})
        *d = value++;
    // Settings within their ranges, which a read keeps.
    doc.pathWidth = 2;
    doc.gridLineCount = 9;
    doc.coverageOpacity = 211;
    doc.PowerLow = -187;
    doc.PowerHigh = -13;
    doc.Resolution = 214.5;
    next = 215;
    for (std::int32_t* i : {&doc.coverageSelection, &doc.coverageMode, &doc.coverageSetting3,
                            &doc.coverageDisplayType, &doc.panel.page, &doc.view.verticalScroll,
                            &doc.view.horizontalScroll, &doc.view.hitIndex})
        *i = next++;
    doc.coverageMode = 2;
    doc.coverageDisplayType = 5;
    doc.panel.page = 1;
    doc.CoveragePalette[9] = 0xABCDEF;
    for (int i = 0; i < kPointerToolCount; ++i)
        doc.view.tools[i] = static_cast<std::uint8_t>(0x30 + i);
    value = 223.5;
    for (double* d : {&doc.view.zoomLeft, &doc.view.zoomRight, &doc.view.zoomBottom,
                      &doc.view.zoomTop, &doc.view.zoomWidth, &doc.view.zoomHeight})
        *d = value++;
    const auto b = Save(doc);
    ASSERT_EQ(b.size(), 440u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(GetF64(&b[29 + 8 * i]), i + 1.0) << "geometry double " << i;
    const std::pair<std::size_t, std::int32_t> ints[] = {
        {174, 7},        {200, 201},  {204, 202}, {208, 203}, {212, 204}, {248, 2},   {252, 9},
        {256, 211},      {260, -187}, {264, -13}, {294, 215}, {298, 2},   {302, 217}, {306, 5},
        {346, 0xABCDEF}, {350, 1},    {371, 220}, {375, 221}, {379, 222}};
    for (auto [at, expected] : ints)
        EXPECT_EQ(GetI32(&b[at]), expected) << at;
    for (auto [at, expected] :
         {std::pair{216, 205.5}, {224, 206.5}, {232, 207.5}, {240, 208.5}, {286, 214.5}})
        EXPECT_EQ(GetF64(&b[at]), expected) << at;
    for (int i = 0; i < kPointerToolCount; ++i)
        EXPECT_EQ(b[383 + i], 0x30 + i);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetF64(&b[392 + 8 * i]), 223.5 + i) << "zoom double " << i;

    CTarvoAnalyzerDoc reopened;
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(reopened, b, ui), WorkspaceReadStatus::Ok);
    ExpectSameStudy(doc, reopened);
}

// Setting one flag at a time must set exactly its own byte.
TEST(WorkspaceLayout, EachFlagHasItsOwnByte) {
    auto allOff = [&] {
        CTarvoAnalyzerDoc doc;
        for (Flag f : kStateFlags)
            doc.*f = false;
        return doc;
    };
    for (int i = 0; i < 18; ++i) {
        CTarvoAnalyzerDoc doc = allOff();
        doc.*kStateFlags[i] = true;
        const auto b = Save(doc);
        // Coverage adds its block, a loaded map its kind, size and image.
        const std::size_t map = i == 10 ? 16 : 0;
        ASSERT_EQ(b.size(), (i == 2 ? 440 + 276 : 440) + map) << i;
        for (int j = 0; j < 18; ++j)
            EXPECT_EQ(b[268 + map + j], i == j ? 1 : 0) << "flag " << i << " byte " << j;
    }
    using Option = bool CReportOptions::*;
    const Option options[10] = {
        &CReportOptions::showSsdFiles,     &CReportOptions::showAllFiles,
        &CReportOptions::showAccessPoints, &CReportOptions::showAllAps,
        &CReportOptions::showMarkedAps,    &CReportOptions::showInterferenceSources,
        &CReportOptions::showSurveyPath,   &CReportOptions::showApCoverage,
        &CReportOptions::showApOverlay,    &CReportOptions::showCoverageReliability};
    for (int i = 0; i < 10; ++i) {
        CTarvoAnalyzerDoc doc;
        for (Option o : options)
            doc.panel.report.*o = false;
        doc.panel.report.*options[i] = true;
        const auto b = Save(doc);
        for (int j = 0; j < 10; ++j)
            EXPECT_EQ(b[354 + j], i == j ? 1 : 0) << "option " << i << " byte " << j;
    }
    CTarvoAnalyzerDoc doc = allOff();
    doc.geographicLinear = doc.gpsPointsPresent = doc.linearPointsPresent = true;
    doc.view.showMap = doc.view.scrollBarsShown = true;
    const auto b = Save(doc);
    // After the map block that keeps a GPS study's projection (161 bytes).
    for (std::size_t at : {173, 178, 179, 369, 370})
        EXPECT_EQ(b[161 + at], 1) << at;
}

TEST(WorkspaceLayout, TextsAndProjectionHeaderAreLaidOutByteForByte) {
    CTarvoAnalyzerDoc doc;
    doc.projectionPath = "ab";
    doc.mapLoaded = true;
    doc.projectionKind = kProjectionGps;
    doc.projectionSubtype = 1;
    doc.ProjectionMatrix[0][1] = 2.5;
    doc.ProjectionMatrix[3][3] = -1.0;
    doc.ImageWidth = 3;
    doc.ImageHeight = 2;
    doc.mapBytes = {7, 8, 9};
    const auto g = Save(doc);
    // kind at 9, header 13..157, W 158, H 162, N 166, image 170..172, counts
    // from 173; the projection path follows the geometry and four bytes of
    // flags and kind: 173 + 20 + 144 + 7 = 344.
    // The four zero bytes at 154 close the GPS header.
    for (auto [at, value] : {std::pair{9, 1}, {13, 145}, {154, 0}, {158, 3}, {162, 2}, {166, 3}})
        EXPECT_EQ(GetI32(&g[at]), value) << at;
    const std::uint8_t magic[] = {0x20, 0x46, 0x50, 0x47, 1, 0, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(&g[17], magic, sizeof magic));
    EXPECT_EQ(GetF64(&g[26 + 8]), 2.5);    // m01
    EXPECT_EQ(GetF64(&g[26 + 120]), -1.0); // m33
    EXPECT_EQ(g[170], 7);
    EXPECT_EQ(g[172], 9);
    const std::uint8_t text[] = {3, 0, 0, 0, 'a', 'b', 0};
    EXPECT_EQ(0, std::memcmp(&g[344], text, sizeof text));
    EXPECT_EQ(g.size(), 440u + 4 + 145 + 12 + 3 + 2);

    doc.projectionKind = kProjectionLinear;
    const auto l = Save(doc);
    EXPECT_EQ(GetU32(&l[13]), 141u);
    const std::uint8_t linearMagic[] = {0x20, 0x46, 0x50, 0x4C};
    EXPECT_EQ(0, std::memcmp(&l[17], linearMagic, sizeof linearMagic));
    EXPECT_EQ(GetI32(&l[154]), 3); // W follows the matrix directly
    EXPECT_EQ(l.size(), g.size() - 4);
}

void ExpectText(const std::vector<std::uint8_t>& b, std::size_t at, const std::string& chars) {
    std::vector<std::uint8_t> expected; // each text: length 2, its letter, a NUL
    for (char c : chars)
        expected.insert(expected.end(), {2, 0, 0, 0, static_cast<std::uint8_t>(c), 0});
    ASSERT_LE(at + expected.size(), b.size());
    EXPECT_EQ(std::vector(b.begin() + at, b.begin() + at + expected.size()), expected) << at;
}

TEST(WorkspaceLayout, ApRecordFieldsFollowInFileOrder) {
    CTarvoAnalyzerDoc doc;
    CAPInfo ap;
    ap.selected = 1;
    ap.colour = 0x123456;
    ap.samples.Add(Sample(1.0, 2.0, -3.0, 4));
    ap.table1[0] = 11;
    ap.table2[0] = 22;
    ap.table3[0] = 33;
    ap.table1[1] = 44;
    ap.name = "n";
    ap.antennaDirection = "d";
    ap.antennaHeight = "h";
    ap.antennaGain = "g";
    ap.notes = "o";
    ap.txPower = "t";
    doc.aps.Add(ap);
    const auto b = Save(doc);
    // aps count at 13; the record from 17: selected 17, state 18, valid 22,
    // colour 23, bssid 27, ssid 33, channel 65, frequency 69, samples count
    // 73 and one block 77..104, four empty arrays 105..120, tables from 121;
    // levels 241, extent/origin/position 313, iconKind 361, icon 365, max 369,
    // min 377, columns 385, rows 389, sigma 393, slope 401, intercept 409;
    // texts from 417: name, direction, height, gain, notes, transmit power.
    EXPECT_EQ(b[17], 1);
    const std::pair<std::size_t, std::int32_t> ints[] = {{13, 1},   {23, 0x123456}, {73, 1},
                                                         {101, 4},  {121, 11},      {125, 22},
                                                         {129, 33}, {133, 44},      {365, 174}};
    for (auto [at, value] : ints)
        EXPECT_EQ(GetI32(&b[at]), value) << at;
    for (auto [at, value] : {std::pair{77, 1.0}, {85, 2.0}, {93, -3.0}, {369, -100.0}})
        EXPECT_EQ(GetF64(&b[at]), value) << at;
    ExpectText(b, 417, "ndhgot");
}

TEST(WorkspaceLayout, MarkerAndSourceRecordsFollowInFileOrder) {
    CTarvoAnalyzerDoc doc;
    CAPMarker m;
    m.icon = 5;
    m.y = 1.0;
    m.x = 2.0;
    m.channel = 36;
    m.dateTime = {1, 2, 3, 4, 5, 6};
    m.antennaDirection = "d";
    m.antennaHeight = "h";
    m.antennaGain = "g";
    m.notes = "o";
    m.txPower = "t";
    m.name = "N";
    doc.markers.Add(m);
    CISMarker s;
    s.notes = "x";
    s.name = "m";
    s.bandwidth = "b";
    s.frequency = "f";
    doc.sources.Add(s);
    const auto b = Save(doc);
    // markers count at 21, the marker from 25: icon 25, Y 29, X 37, channel
    // 45, bssid 49, ssid 55, date/time 87, texts from 93. Sources count at
    // 129, the source from 133: icon, Y, X, date/time, texts notes, name,
    // bandwidth, frequency from 159.
    for (auto [at, value] :
         {std::pair{21, 1}, {25, 5}, {45, 36}, {129, 1}, {133, kDefaultSourceIcon}})
        EXPECT_EQ(GetI32(&b[at]), value) << at;
    EXPECT_EQ(GetF64(&b[29]), 1.0);
    EXPECT_EQ(GetF64(&b[37]), 2.0);
    EXPECT_EQ(b[87], 1);
    EXPECT_EQ(b[92], 6);
    ExpectText(b, 93, "dhgotN");
    ExpectText(b, 159, "xmbf");
}

TEST(WorkspaceLayout, PointKeepsItsLocationRecordAndSamplesVerbatim) {
    CTarvoAnalyzerDoc doc;
    std::uint8_t record[CDataPoint::kRecordSize];
    for (std::size_t i = 0; i < sizeof record; ++i)
        record[i] = static_cast<std::uint8_t>(i + 1);
    CDataPoint p(record);
    CDataSsd s;
    s.channel = 0x01020304;
    s.rssi = -16;
    p.samples.Add(s);
    doc.points.Add(p);
    const auto b = Save(doc);
    // points count at 17, the 36-byte record from 21, sample count at 57,
    // the 46-byte sample from 61, then the markers count.
    EXPECT_EQ(GetI32(&b[17]), 1);
    EXPECT_EQ(0, std::memcmp(&b[21], record, sizeof record));
    EXPECT_EQ(GetI32(&b[57]), 1);
    EXPECT_EQ(GetU32(&b[61]), 0x01020304u);
    EXPECT_EQ(GetI16(&b[65]), -16);
    EXPECT_EQ(GetI32(&b[61 + 46]), 0);
}

// Every proper prefix of a complete file (with map and coverage, so that no
// prefix happens to end where a file may) is refused, and the open study
// stays as it was.
TEST(WorkspaceDamage, EveryPrefixIsRefusedAndLeavesTheStudyUntouched) {
    const auto full = Save(MakeStudy(kProjectionGps, true));
    CTarvoAnalyzerDoc doc = MakeStudy(kProjectionLinear, false);
    doc.view.clientWidth = 640;
    const auto before = Save(doc);
    CFakeUi ui;
    for (std::size_t n = 0; n < full.size(); ++n) {
        std::span<const std::uint8_t> prefix(full.data(), n);
        const WorkspaceReadStatus status = ReadWorkspace(doc, prefix, ui);
        ASSERT_NE(status, WorkspaceReadStatus::Ok) << n;
        EXPECT_EQ(status, n < 4 ? WorkspaceReadStatus::NotWorkspace : WorkspaceReadStatus::Damaged)
            << n;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Save(doc), before);
    EXPECT_EQ(doc.view.clientWidth, 640);
    EXPECT_EQ(ReadWorkspace(doc, full, ui), WorkspaceReadStatus::Ok);
}

TEST(WorkspaceDamage, RandomByteFlipsNeverCrashAndFailuresChangeNothing) {
    const auto full = Save(MakeStudy(kProjectionLinear, true));
    CTarvoAnalyzerDoc doc = MakeStudy(kProjectionNone, false);
    const auto before = Save(doc);
    std::mt19937 random(20261206);
    CFakeUi ui;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        auto damaged = full;
        const int flips = 1 + round % 4;
        for (int f = 0; f < flips; ++f)
            damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        CTarvoAnalyzerDoc target = doc;
        if (ReadWorkspace(target, damaged, ui) == WorkspaceReadStatus::Ok) {
            // Whatever was read must save and read back again.
            CTarvoAnalyzerDoc again;
            auto resaved = Save(target);
            ASSERT_EQ(ReadWorkspace(again, resaved, ui), WorkspaceReadStatus::Ok) << round;
        } else {
            ++refused;
            ASSERT_EQ(Save(target), before) << round;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(WorkspaceDamage, ImpossibleCountsAndUnknownKindsAreDamage) {
    const auto plain = Save(CTarvoAnalyzerDoc{});
    CTarvoAnalyzerDoc mapped;
    mapped.mapLoaded = true;
    mapped.projectionKind = kProjectionGps;
    mapped.mapBytes = {1, 2, 3};
    const auto withMap = Save(mapped);
    struct Case {
        const char* name;
        const std::vector<std::uint8_t>& base;
        std::size_t at;
        std::uint32_t value;
    };
    CTarvoAnalyzerDoc doc;
    CFakeUi ui;
    for (const Case& c : {Case{"files count huge", plain, 9, 0x7FFFFFFF},
                          Case{"aps count -1", plain, 13, 0xFFFFFFFF},
                          Case{"projection path past the end", plain, 180, 1000},
                          Case{"image size huge", withMap, 166, 0xFFFFFFF0}}) {
        auto bytes = c.base;
        PutU32(&bytes[c.at], c.value);
        EXPECT_EQ(ReadWorkspace(doc, bytes, ui), WorkspaceReadStatus::Damaged) << c.name;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Save(doc), plain);
}

// A map under a kind without a header layout: kind, width, height, bytes.
TEST(WorkspaceLayout, MapUnderAKindWithoutHeaderKeepsItsMap) {
    for (const std::int32_t kind : {0, 3}) {
        CTarvoAnalyzerDoc doc;
        doc.mapLoaded = true;
        doc.projectionKind = kind;
        doc.ImageWidth = 7;
        doc.mapBytes = {1, 2, 3};
        const auto b = Save(doc);
        EXPECT_EQ(b[8], 1);
        EXPECT_EQ(GetI32(&b[9]), kind);
        EXPECT_EQ(GetI32(&b[13]), 7);
        EXPECT_EQ(GetU32(&b[21]), 3u);
        CTarvoAnalyzerDoc reopened;
        CFakeUi ui;
        ASSERT_EQ(ReadWorkspace(reopened, b, ui), WorkspaceReadStatus::Ok);
        EXPECT_EQ(reopened.mapBytes, doc.mapBytes);
        EXPECT_EQ(Save(reopened), b);
    }
    // GPS locations without a map keep the projection made from them.
    CTarvoAnalyzerDoc gps = MakeStudy(kProjectionNone, false);
    gps.ProjectionMatrix[0][1] = 111000.0;
    gps.ImageHeight = 70;
    CTarvoAnalyzerDoc reopened;
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(reopened, Save(gps), ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(reopened.ProjectionMatrix, gps.ProjectionMatrix);
    EXPECT_EQ(reopened.ImageHeight, 70);
    EXPECT_FALSE(reopened.mapLoaded);
}

TEST(WorkspaceCommandsTest, SaveAsksOnceAndKeepsTheOldFileOnFailure) {
    EXPECT_EQ(WorkspacePathFor("/s.v2/study"), "/s.v2/study.tws");
    EXPECT_EQ(WorkspacePathFor("/s/a.b.c"), "/s/a.b.tws");
    CTempDir dir;
    CTarvoAnalyzerDoc doc = MakeStudy(kProjectionLinear, true);
    CFakeUi ui;
    ui.QueuePath(std::nullopt); // a cancelled dialog writes nothing
    EXPECT_FALSE(SaveWorkspaceCommand(doc, ui));
    ui.QueuePath(dir.File("study.dat"));
    ASSERT_TRUE(SaveWorkspaceCommand(doc, ui));
    EXPECT_EQ(ui.choices.at(1).filter,
              "Tarvo Work Space (tws)|*.tws|TWS (*.tws)|*.tws|All Files (*.*)|*.*||");
    const std::string path = dir.File("study.tws");
    EXPECT_EQ(doc.workspacePath, path);
    doc.aps[0].name = "renamed"; // the next save writes without asking
    ASSERT_TRUE(SaveWorkspaceCommand(doc, ui));
    EXPECT_EQ(ui.choices.size(), 2u);
    EXPECT_EQ(test::ReadBytes(path), Save(doc));

    // A write that fails part-way (as on a full disk) keeps the old file.
    const auto old = test::ReadBytes(path);
    doc.aps[0].name = "again";
    {
        test::CFileSizeLimit full(100);
        EXPECT_FALSE(SaveWorkspaceFile(doc, path, ui));
    }
    EXPECT_EQ(ui.Said(), "File Save Error: Could not save file \"" + path + "\" (File too large)");
    EXPECT_EQ(test::ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    ASSERT_TRUE(doc.busy.TrySet()); // refused while a worker owns the document
    EXPECT_FALSE(SaveWorkspaceCommand(doc, ui));
    EXPECT_FALSE(OpenWorkspaceCommand(doc, ui));
}

// A study of several megabytes goes to the file in pieces: the file holds
// the bytes the writer gives in memory, and a write that fails after some
// pieces are out keeps the earlier file and leaves no temporary behind.
TEST(WorkspaceCommandsTest, ALargeStudyIsWrittenInPiecesByteForByte) {
    CTarvoAnalyzerDoc doc = MakeStudy(kProjectionGps, true);
    const CDataPoint point = doc.points[0];
    for (int i = 0; i < 40000; ++i) // 40,000 points of 2 samples: 5.2 MB
        doc.points.Add(point);
    for (int i = 0; i < 40000; ++i)
        doc.points[i + 2].samples.Add(point.samples[0]);
    const std::vector<std::uint8_t> bytes = Save(doc);
    ASSERT_GT(bytes.size(), std::size_t{5} << 20);
    // Read back, the points hold their one sample identity once.
    CTarvoAnalyzerDoc reopened;
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(reopened, bytes, ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(reopened.points, doc.points);
    EXPECT_EQ(reopened.points[40001].samples.Identities(), reopened.points[0].samples.Identities());
    EXPECT_EQ(reopened.points[0].samples.Identities()->Size(), 1u);

    CTempDir dir;
    const std::string path = dir.File("big.tws");
    CWriteFailure failure;
    ASSERT_TRUE(WriteWorkspaceFile(doc, path, &failure));
    EXPECT_EQ(test::ReadBytes(path), bytes);

    doc.aps[0].name = "changed";
    {
        test::CFileSizeLimit full(3 << 20); // the disk fills after three pieces
        EXPECT_FALSE(WriteWorkspaceFile(doc, path, &failure));
    }
    EXPECT_TRUE(failure.opened);
    EXPECT_EQ(failure.reason, "File too large");
    EXPECT_EQ(test::ReadBytes(path), bytes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(WorkspaceCommandsTest, OpenRestoresTheStudyOrChangesNothing) {
    CTempDir dir;
    const CTarvoAnalyzerDoc original = MakeStudy(kProjectionGps, true);
    const std::string path = dir.Write("saved.tws", Save(original));
    CTarvoAnalyzerDoc doc;
    doc.workspaceNamed = true;
    CFakeUi ui;
    ui.QueuePath(path);
    ASSERT_TRUE(OpenWorkspaceCommand(doc, ui));
    EXPECT_EQ(ui.choices[0].title, "Open a TWS file");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(doc.workspacePath, path);
    EXPECT_FALSE(doc.workspaceNamed); // opening does not name the workspace
    CTarvoAnalyzerDoc expected = original;
    expected.noSurveyLoaded = false;
    ExpectSameStudy(expected, doc);

    const auto before = Save(doc);
    const std::string notTws = "\nInvalid File: File is not recognized as a TWS file.";
    // An unknown projection subtype: the reader's own message, then the
    // open command's.
    auto subtype = Save(MakeStudy(kProjectionLinear, false));
    subtype[13 + kTwsSubtypeOffset] = 2;
    CFakeUi bad;
    EXPECT_FALSE(OpenWorkspaceFile(doc, dir.Write("a.tws", subtype), bad));
    EXPECT_FALSE(OpenWorkspaceFile(doc, dir.Write("b.tws", {0x20, 'D', 'S', 'S', 1, 0}), bad));
    EXPECT_FALSE(OpenWorkspaceFile(doc, dir.File("none.tws"), bad));
    EXPECT_EQ(bad.Said(),
              "Invalid File: Unsupported TWS Filetype. May be for a different product." + notTws +
                  notTws + "\nFile Open Error: Could not open file \"" + dir.File("none.tws") +
                  "\"");
    for (const test::CRecordedMessage& m : bad.messages)
        EXPECT_EQ(m.icon, MsgIcon::Error);
    EXPECT_EQ(Save(doc), before);
}

} // namespace
} // namespace tarvo

namespace tarvo {
namespace {

TEST(Workspace, TheStudysCoverageModelComesBackWithIt) {
    CTarvoAnalyzerDoc doc;
    doc.spareText2 = "estimator=joint;coverage=survey";
    doc.coverageModel = CoverageModelKind::Survey;
    CTarvoAnalyzerDoc reopened;
    CFakeUi ui;
    ASSERT_EQ(ReadWorkspace(reopened, Save(doc), ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(reopened.coverageModel, CoverageModelKind::Survey);
    EXPECT_EQ(reopened.estimator, EstimatorKind::Joint);
    // A workspace without the key was made by the study model.
    CTarvoAnalyzerDoc older;
    ASSERT_EQ(ReadWorkspace(older, Save(CTarvoAnalyzerDoc()), ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(older.coverageModel, CoverageModelKind::Study);
}

} // namespace
} // namespace tarvo
