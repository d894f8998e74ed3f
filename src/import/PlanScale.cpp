#include "import/PlanScale.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

std::optional<double> ScaleFromCalibration(double x1, double y1, double x2, double y2,
                                           double length, LengthUnit unit, std::string* error) {
    auto fail = [error](const char* reason) {
        if (error)
            *error = reason;
        return std::optional<double>();
    };
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return fail("the calibration points must be numbers");
    if (!(std::isfinite(length) && length > 0.0))
        return fail("the length of the calibration line must be more than 0");
    const double dx = x2 - x1, dy = y2 - y1;
    const double pixels = std::sqrt(dx * dx + dy * dy);
    if (!(pixels > 0.0))
        return fail("the two calibration points are the same point");
    const double metres = unit == LengthUnit::Feet ? length * kMetresPerFootLength : length;
    return metres / pixels;
}

CPlanFit FitPlanSize(int width, int height) {
    CPlanFit fit;
    fit.width = width;
    fit.height = height;
    const double w = width, h = height;
    const double factor = std::min({1.0, kMaxPlanSide / w, kMaxPlanSide / h,
                                    std::sqrt(static_cast<double>(kMaxPlanPixels) / (w * h))});
    if (factor >= 1.0)
        return fit;
    fit.scaledDown = true;
    fit.width = std::clamp(static_cast<int>(std::floor(w * factor)), 1, kMaxPlanSide);
    fit.height = std::clamp(static_cast<int>(std::floor(h * factor)), 1, kMaxPlanSide);
    // A rounding may leave a pixel too many.
    while (static_cast<long long>(fit.width) * fit.height > kMaxPlanPixels)
        fit.width > fit.height ? --fit.width : --fit.height;
    fit.growX = w / fit.width;
    fit.growY = h / fit.height;
    return fit;
}

} // namespace tarvo
