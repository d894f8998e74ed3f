#include "analysis/Reliability.h"

#include "analysis/ApModel.h"
#include "model/Text.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace tarvo {

namespace {

constexpr int kErfSteps = 10000;

// Running sums S[i] = sum of exp(-t[m]^2) for m <= i, computed once.
const std::array<double, kErfSteps>& ErfSums() {
    static const std::array<double, kErfSteps> sums = [] {
        std::array<double, kErfSteps> s{};
        double total = 0.0;
        for (int i = 0; i < kErfSteps; ++i) {
            const double t = i * 5.0 / 9999.0;
            total += std::exp(-(t * t));
            s[static_cast<std::size_t>(i)] = total;
        }
        return s;
    }();
    return sums;
}

double StepT(int i) {
    return i * 5.0 / 9999.0;
}

} // namespace

double InverseErf(double v) {
    const double sign = v > 0.0 ? 1.0 : -1.0;
    const double target = std::fabs(v) * std::sqrt(3.1416) / 0.001;
    const auto& s = ErfSums();
    double result = 0.0;
    for (int i = 1; i < kErfSteps; ++i) {
        if (s[static_cast<std::size_t>(i) - 1] <= target && target < s[static_cast<std::size_t>(i)])
            result = sign * (StepT(i - 1) + StepT(i)) / 2.0;
    }
    return result;
}

void ComputeReliabilityRadii(CAPInfo& ap, int powerLowDbm) {
    for (int k = 0; k < kReliabilityLevels; ++k) {
        const double p = k / 10.0 + 0.1;
        const double z = InverseErf(1.0 - 2.0 * p) * 1.414;
        ap.levels[static_cast<std::size_t>(k)] =
            std::pow(10.0, (powerLowDbm - z * ap.sigma - ap.intercept) / ap.slope);
    }
}

int RunReliabilityAnalysis(CTarvoAnalyzerDoc& doc, IUiServices& ui) {
    int good = 0, shortCount = 0;
    std::string list;
    for (CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        if (HasUsableModel(ap)) {
            ComputeReliabilityRadii(ap, doc.PowerLow);
            ++good;
            continue;
        }
        ++shortCount;
        if (doc.MergeApsAcrossFiles)
            list += Format("%s\n", MacText(ap.bssid).c_str());
        else
            list += Format("%s %s \n", MacText(ap.bssid).c_str(), ap.name.c_str());
    }
    if (shortCount > 0) {
        const char* text = shortCount == 1 ? "No enough points for the following AP: \n %s \n"
                                           : "No enough points for the following APs: \n %s \n";
        ui.MessageBox(Format(text, list.c_str()), "Invalid AP", MsgIcon::Information);
    }
    if (good == 0)
        ui.MessageBox("No seleted AP has enough point!", "No Valid AP", MsgIcon::Information);
    return good;
}

} // namespace tarvo
