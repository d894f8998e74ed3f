#pragma once
// The one document of a run: every record array, the projection, the map,
// the coverage results and every setting and flag that a workspace saves.
// Operations on it are free functions of the formats and analysis layers.

#include "model/ApRecords.h"
#include "model/Array.h"
#include "model/CoverageModelKind.h"
#include "model/EstimatorKind.h"
#include "model/GroupRecords.h"
#include "model/Picture.h"
#include "model/SurveyRecords.h"
#include "model/ThroughputRecords.h"
#include "model/ViewState.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

// A box in site metres: lower corner and size, Y first.
struct CBox {
    double minY = 0.0;
    double minX = 0.0;
    double extentY = 0.0;
    double extentX = 0.0;

    bool operator==(const CBox&) const = default;
};

enum ProjectionKind : std::int32_t {
    kProjectionNone = 0,
    kProjectionGps = 1,
    kProjectionLinear = 2
};

enum CoverageDisplay : std::int32_t {
    kDisplayNone = 0,
    kDisplayApSamples = 1,
    kDisplayReliability = 2,
    kDisplayApBands = 3,
    kDisplayStrengthBands = 4,
    kDisplayApCountBands = 5,
    // Survey views beyond the five above (CoverageViews.h): drawn from the
    // coverage matrices and the selected APs' own matrices.
    kDisplaySnrMargin = 6,   // strongest signal over the noise floor
    kDisplaySecondary = 7,   // the second-strongest AP's level
    kDisplayCoChannel = 8,   // other APs on the strongest AP's channel
    kDisplayStrongestAp = 9, // which AP is strongest
    kDisplayThroughput = 10, // throughput measured along recorded walks
    kDisplayTypeCount = 11
};

// A site-wide coverage drawing: filled bands and contour segments.
struct CCoverageDrawing {
    CArray<CDataArea> areas;
    CArray<CDataLine> lines;

    bool operator==(const CCoverageDrawing&) const = default;
};

// A painted picture kept without any toolkit type: width x height pixels,
// rows from the top, three bytes (red, green, blue) per pixel.
struct CViewBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> rgb;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const CViewBitmap&) const = default;
};

// Set while a worker thread owns the document. Copies start idle.
class CBusyFlag {
public:
    CBusyFlag() = default;
    CBusyFlag(const CBusyFlag&) {}
    CBusyFlag& operator=(const CBusyFlag&) { return *this; }
    bool IsSet() const { return busy_.load(std::memory_order_acquire); }
    // Returns false when it was already set.
    bool TrySet() { return !busy_.exchange(true, std::memory_order_acq_rel); }
    void Clear() { busy_.store(false, std::memory_order_release); }
    bool operator==(const CBusyFlag&) const { return true; }

private:
    std::atomic<bool> busy_{false};
};

constexpr std::array<ColourRef, 10> kDefaultCoveragePalette = {
    0x0000FF, 0x6A5ACD, 0x000080, 0x228B22, 0x9ACD32,
    0xADFF2F, 0xCD5C5C, 0xFF69B4, 0xFFFF00, 0xFF0000};

class CTarvoAnalyzerDoc {
public:
    // --- record collections, in document order ---
    CArray<CDataFile> files;
    CArray<CDataPoint> points; // all files' locations in load order
    CArray<CAPInfo> aps;
    CArray<CAPMarker> markers;
    CArray<CISMarker> sources;
    CArray<CDataLine> workLines;                      // not saved
    CArray<CDataArea> workAreas;                      // not saved
    std::vector<std::uint8_t> mapBytes;               // decoded map bitmap file
    std::array<CCoverageDrawing, 3> coverageDrawings; // strength, margin, AP count
    CArray<double> StrengthMatrix;
    CArray<double> MarginMatrix;
    CArray<double> ApCountMatrix;
    std::array<std::array<std::int32_t, 10>, 6> coverageTables{}; // per-level counts
    CGroups groupsBySsid;
    CGroups groupsByChannel;
    CGroups activeGroups;
    CPicture mapPicture;
    CViewBitmap lastViewBitmap; // copy of the last painted view; not saved
    // Throughput measured along recorded walks (their side files), drawn by
    // display type 10; not saved.
    std::vector<CThroughputPoint> throughput;

    // --- projection (file or synthetic) ---
    std::int32_t projectionKind = kProjectionNone;
    std::uint8_t projectionSubtype = 0;
    std::array<std::array<double, 4>, 4> ProjectionMatrix{};
    double SiteScaleX = 0.0; // metres per pixel
    double SiteScaleY = 0.0;
    std::int32_t ImageWidth = 0;
    std::int32_t ImageHeight = 0;

    // --- geometry (18 doubles in the workspace) ---
    double mapOriginY = 0.0;
    double mapOriginX = 0.0;
    double MapExtentHeight = 0.0;
    double MapExtentWidth = 0.0;
    CBox ViewWindow;
    CBox AnalysisBox;
    CBox DataExtent;
    std::array<double, 2> viewGeometrySpare{};

    // --- texts ---
    std::string projectionPath;
    std::string currentFilePath;
    std::string spareText1;
    std::string spareText2;    // the study record (StudyRecord.h): estimator, coverage model
    std::string workspacePath; // not saved
    bool workspaceNamed = false;

    // --- settings ---
    std::int32_t MinPointsForEstimate = 20;
    // The estimator a load places the APs with; a reopened workspace gets
    // the one that placed its APs, from spareText2.
    EstimatorKind estimator = EstimatorKind::Study;
    // The model that predicts the APs' signal (their matrices and the
    // site-wide coverage); a reopened workspace gets the one that made its
    // maps, from spareText2.
    CoverageModelKind coverageModel = CoverageModelKind::Study;
    std::int32_t colourSeed = 122;
    std::int32_t CoverageRows = 0;
    std::int32_t CoverageCols = 0;
    double strengthScaleLow = 0.0;
    double strengthScaleHigh = 0.0;
    std::int32_t pathWidth = 1;
    std::int32_t gridLineCount = 3;
    std::int32_t coverageOpacity = 0;
    std::int32_t PowerLow = -90; // dBm
    std::int32_t PowerHigh = -30;
    double Resolution = 0.0;
    std::int32_t coverageSelection = 0;
    std::int32_t coverageMode = 0; // 0 per AP, 1 groups, 2 combined
    std::int32_t coverageSetting3 = 1;
    std::int32_t coverageDisplayType = kDisplayNone;
    // The co-channel view counts the other APs on the strongest AP's channel
    // heard at or above this level, dBm. Not saved.
    std::int32_t coChannelLevelDbm = -85;
    std::array<ColourRef, 10> CoveragePalette = kDefaultCoveragePalette;
    ColourRef commonColour = 0x0000FF; // AP contours in colour mode 2; not saved
    // Y, X of the last position at which an edited AP was accepted; a
    // refused move puts the AP back there. Not saved.
    std::array<double, 2> lastApPosition{};

    // --- flags, in workspace order after the first four ---
    bool geographicLinear = false;
    bool gpsPointsPresent = false;
    bool linearPointsPresent = false;
    bool noSurveyLoaded = false;
    bool graphWindow = false;
    bool coveragePresent = false;
    bool UseFeet = true;
    bool pathShown = false;
    bool MergeApsAcrossFiles = true;
    bool scaleShown = false;
    bool legendShown = false;
    bool infoWindowShown = false;
    bool processed = false;
    bool mapLoaded = false;
    bool apIconsShown = false;
    bool interferenceIconsShown = false;
    bool markedApIconsShown = false;
    bool pointStatus = true;
    bool linearCoordinates = true;
    bool sortBySsid = true;
    bool onlySelected = true;

    // --- state of the document's views, saved with the workspace ---
    CPanelState panel;
    CMapViewState view;

    // Set while a long operation runs on a worker; commands that change the
    // document are refused meanwhile.
    CBusyFlag busy;

    bool operator==(const CTarvoAnalyzerDoc&) const = default;
};

} // namespace tarvo
