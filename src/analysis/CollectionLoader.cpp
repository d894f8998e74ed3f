#include "analysis/CollectionLoader.h"

#include "analysis/Coordinates.h"
#include "analysis/Estimation.h"
#include "analysis/SampleSets.h"
#include "formats/SsdReader.h"
#include "model/ApGroups.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tarvo {

namespace {

// What a load replaces before it knows whether it will succeed: kept aside
// so that an ended command leaves the previous study intact.
class CStudyRollback {
public:
    explicit CStudyRollback(CTarvoAnalyzerDoc& doc)
        : doc_(doc), points_(std::move(doc.points)), processed_(doc.processed),
          gps_(doc.gpsPointsPresent), linear_(doc.linearPointsPresent),
          noSurvey_(doc.noSurveyLoaded), legend_(doc.legendShown), markers_(doc.markers.GetSize()),
          sources_(doc.sources.GetSize()), estimator_(EstimatorFromRecord(doc.spareText2)),
          coverageModel_(CoverageModelFromRecord(doc.spareText2)) {
        doc.points.RemoveAll();
        for (const CDataFile& f : doc.files)
            pointCounts_.push_back(f.pointCount);
    }

    void Restore() {
        doc_.points = std::move(points_);
        doc_.processed = processed_;
        doc_.gpsPointsPresent = gps_;
        doc_.linearPointsPresent = linear_;
        doc_.noSurveyLoaded = noSurvey_;
        doc_.legendShown = legend_;
        // The APs kept are the ones the previous estimator placed.
        doc_.estimator = estimator_;
        doc_.coverageModel = coverageModel_;
        for (int i = 0; i < doc_.files.GetSize() && i < static_cast<int>(pointCounts_.size()); ++i)
            doc_.files[i].pointCount = pointCounts_[i];
        // Markers and sources this load appended still hold survey-file
        // coordinates; converting them later under another projection would
        // misplace them, so they go (the next load reads them again).
        auto& markers = doc_.markers.Vector();
        markers.erase(
            std::remove_if(markers.begin() + std::min<std::size_t>(markers_, markers.size()),
                           markers.end(), [](const CAPMarker& m) { return !m.inSiteUnits; }),
            markers.end());
        auto& sources = doc_.sources.Vector();
        sources.erase(
            std::remove_if(sources.begin() + std::min<std::size_t>(sources_, sources.size()),
                           sources.end(), [](const CISMarker& s) { return !s.inSiteUnits; }),
            sources.end());
    }

private:
    CTarvoAnalyzerDoc& doc_;
    CArray<CDataPoint> points_;
    bool processed_, gps_, linear_, noSurvey_, legend_;
    std::size_t markers_, sources_;
    EstimatorKind estimator_;
    CoverageModelKind coverageModel_;
    std::vector<std::int32_t> pointCounts_;
};

} // namespace

CResolutionRange ResolutionRangeFor(const CBox& box, double resolution) {
    const double fine = std::max(box.extentX, box.extentY) / 200.0;
    const double coarse = std::min(box.extentX, box.extentY) / 20.0;
    CResolutionRange range;
    if (!(fine > 0.0 && coarse > 0.0))
        return range;
    range.usable = true;
    if (coarse <= fine) {
        range.low = coarse;
        range.high = 2.0 * coarse;
        range.value = coarse;
    } else {
        range.low = fine;
        range.high = coarse;
        range.value = std::clamp(resolution, fine, coarse);
    }
    return range;
}

LoadOutcome LoadCollection(CTarvoAnalyzerDoc& doc, IUiServices& ui, unsigned threads) {
    CStudyRollback rollback(doc);
    if (!LoadSelectedFiles(doc, ui)) {
        rollback.Restore();
        return LoadOutcome::NotLoaded;
    }
    if (doc.gpsPointsPresent && doc.linearPointsPresent) {
        ui.MessageBox(kMixedDataText, kMixedDataTitle, MsgIcon::Information);
        rollback.Restore();
        return LoadOutcome::MixedData;
    }

    BuildApSampleSets(doc, ui);

    IProgress& progress = ui.Progress();
    progress.SetPosition(0);
    progress.ClearCancelled();
    progress.Show();
    progress.SetText(kLoadingCollectionText);
    progress.SetPosition(1);
    doc.view.ResetZoom();

    if (!doc.aps.IsEmpty()) {
        doc.workLines.RemoveAll();
        doc.workAreas.RemoveAll();
    }
    try {
        EstimateAps(doc, progress, threads);
    } catch (const CCancelException&) {
        progress.Hide();
        throw;
    }
    doc.spareText2 = WithEstimatorRecord(doc.spareText2, doc.estimator);
    doc.spareText2 = WithCoverageModelRecord(doc.spareText2, doc.coverageModel);

    doc.processed = true;
    ComputeViewExtent(doc, 0, 0);
    doc.coveragePresent = false;
    doc.coverageOpacity = kLoadedCoverageOpacity;
    BuildApGroups(doc);

    const CResolutionRange range = ResolutionRangeFor(doc.AnalysisBox, doc.Resolution);
    if (range.usable)
        doc.Resolution = range.value;

    progress.SetPosition(100);
    progress.Hide();
    return LoadOutcome::Loaded;
}

CTarvoAnalyzerDoc StudyForLoading(CTarvoAnalyzerDoc& doc) {
    CArray<CDataPoint> points = std::move(doc.points);
    CArray<CAPInfo> aps = std::move(doc.aps);
    CTarvoAnalyzerDoc copy = doc;
    doc.points = std::move(points);
    doc.aps = std::move(aps);
    return copy;
}

} // namespace tarvo
