#pragma once
// The survey coverage model: an AP's level predicted from the samples that
// heard it, and its absence from the survey locations that did not.
//
// Level. Where the AP is heard, its level is taken to be a log-distance
// trend around the AP plus a spatially correlated departure from it (walls,
// furniture, the shape of the rooms): the heard samples' RSSI is fitted by
// least squares against log10 of the distance to the AP (at least 1 m, the
// distance the model's intercept refers to), and the residuals are
// interpolated by ordinary kriging from the kSurveyLevelNeighbours nearest
// places that heard the AP, with an exponential covariance of range
// kSurveyRangeM of which the share kSurveyNuggetShare does not correlate
// between places (scan to scan scatter; a place heard n times carries it
// divided by n). Without an estimated position, a rising fit or fewer than
// three samples the trend is the mean heard RSSI. The fit is to heard
// samples only because the level is wanted where the AP is heard: the
// not-heard locations decide where that is.
//
// Presence. The AP is taken to be there where at least half of the
// kSurveyPresenceNeighbours survey locations nearest to a point heard it
// (a location hears the AP when one of the AP's samples lies within
// |dY| + |dX| < 0.1 m of it, as for the no-signal samples); elsewhere the
// prediction is kNoSignalDbm, -100 dBm.
//
// The constants were chosen by leave-one-survey-out cross-validation (block
// folds) over real surveys of open rooms and of building floors and over
// simulated studies; the evaluation benchmark (bench/) reports the figures.

#include "analysis/ApModel.h"
#include "analysis/NearestIndex.h"
#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tarvo {

constexpr int kSurveyLevelNeighbours = 16;
constexpr double kSurveyRangeM = 10.0;
constexpr double kSurveyNuggetShare = 0.1;
constexpr int kSurveyPresenceNeighbours = 6;

class CSurveyField {
public:
    // heard: the AP's samples (site metres, dBm); apPosition: Y, X of the
    // AP, the centre of the trend, or nullopt when its position was not
    // estimated; locations: the study's survey locations (site centimetres
    // in northing/easting). Samples or locations with a non-finite
    // coordinate or level are passed over.
    CSurveyField(std::span<const CData> heard, std::optional<std::array<double, 2>> apPosition,
                 std::span<const CDataPoint> locations);

    // Work space of one thread, reused between predictions.
    struct CScratch {
        std::vector<CNeighbour> neighbours, places;
        std::vector<double> covariance, toPoint, toOne;
    };

    // The share (0..1) of the nearest survey locations that heard the AP;
    // 1 when the study has no locations.
    double HeardShare(double y, double x, CScratch& scratch) const;
    // The kriged level (dBm) where the AP is heard; kNoSignalDbm without
    // any heard sample.
    double Level(double y, double x, CScratch& scratch) const;
    // Level where at least half of the nearest locations heard the AP,
    // kNoSignalDbm elsewhere.
    double Predict(double y, double x, CScratch& scratch) const;

    // A field is used by one thread at a time: it settles which locations
    // heard the AP as predictions ask.

private:
    static constexpr signed char kUnknown = -1;
    double Trend(double y, double x) const;
    bool LocationHeard(std::size_t location, std::vector<CNeighbour>& scratch) const;

    // Places that heard the AP: samples at one position merged.
    std::vector<double> placeY_, placeX_, residual_, count_;
    CNearestIndex places_;
    mutable std::vector<signed char> locationHeard_; // kUnknown until asked
    std::vector<double> locationY_, locationX_;
    CNearestIndex locations_;
    std::optional<std::array<double, 2>> centre_;
    double trendIntercept_ = 0.0, trendSlope_ = 0.0;
};

// The matrix of `ap` by the survey model on the AP's grid (laid out as
// PredictApMatrix lays it out, with the same minValue/maxValue rule), from
// ap.samples, ap.position when positionKnown, and the survey locations.
// rowDone(r) is called after X row r.
CApMatrix PredictSurveyMatrix(const CAPInfo& ap, bool positionKnown,
                              std::span<const CDataPoint> locations,
                              const std::function<void(int row)>& rowDone = {});

} // namespace tarvo
