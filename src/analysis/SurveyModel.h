#pragma once
// The survey coverage model: an AP's level predicted from the samples that
// heard it, and its absence from the survey locations that did not.

#include "analysis/ApModel.h"
#include "analysis/NearestIndex.h"
#include "model/ApRecords.h"
#include "model/SurveyRecords.h"

#include <functional>
#include <span>
#include <vector>

namespace tarvo {

struct CSurveyModelParams {
    int method = 0;          // 0 idw, 1 kriging
    int levelNeighbours = 8; // heard samples per prediction
    double idwPower = 2.0;
    int maskNeighbours = 5; // survey locations looked at for the mask
    int maskMinHeard = 2;   // fewer heard among them: not there
    double rangeM = 3.0;
    double nuggetShare = 0.3;
    int trend = 0; // 0 constant, 1 log-distance
    int maskMode = 0;
};
CSurveyModelParams& SurveyModelParams();

class CSurveyField {
public:
    CSurveyField(const CAPInfo& ap, std::span<const CDataPoint> points);
    // Predicted RSSI (dBm) at (y, x); kNoSignalDbm where the AP is not there.
    double Predict(double y, double x) const;

private:
    double Level(double y, double x) const;
    bool Heard(double y, double x) const;
    void FitVariogram();
    double rangeM_ = 3, nuggetShare_ = 0.3;

    std::vector<double> rssi_;
    std::vector<double> hy_, hx_;
    CNearestIndex heard_;
    std::vector<char> locationHeard_;
    CNearestIndex locations_;
    double apY_ = 0, apX_ = 0;
    double trendA_ = 0, trendB_ = 0;
    bool hasTrend_ = false;
    double mean_ = 0;
    mutable std::vector<CNeighbour> scratch_;
};

// The AP's matrix by the survey model on the AP's grid (as PredictApMatrix).
CApMatrix PredictSurveyMatrix(const CAPInfo& ap, std::span<const CDataPoint> points,
                              const std::function<void(int row)>& rowDone = {});

} // namespace tarvo
