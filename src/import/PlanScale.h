#pragma once
// The arithmetic of floor plans made from pictures: the scale from a
// calibration line, the largest plan the projection reader and the survey
// records take, and the fit of a picture into it.

#include <optional>
#include <string>

namespace tarvo {

// Survey records hold map pixels in 16 bits, and the map picture refuses a
// larger side.
constexpr int kMaxPlanSide = 65535;
// At most 64 Mi pixels: the decoded 24-bit map is then at most 192 MiB, so
// the map, its picture and the workspace that embeds it stay well under the
// 1 GiB the readers take whole.
constexpr long long kMaxPlanPixels = 64LL * 1024 * 1024;
// A plan wider or taller than this is most likely a wrong scale.
constexpr double kLargePlanMetres = 2000.0;
constexpr double kMetresPerFootLength = 0.3048;

enum class LengthUnit { Metres, Feet };

// Metres per pixel from a line between two pixel points (x1, y1) and
// (x2, y2) of the picture and its real length in `unit`. nullopt with the
// reason in *error for equal points, a length that is not positive and
// finite, or a non-finite point.
std::optional<double> ScaleFromCalibration(double x1, double y1, double x2, double y2,
                                           double length, LengthUnit unit, std::string* error);

// A picture of width x height pixels brought within kMaxPlanSide and
// kMaxPlanPixels, keeping its aspect: the new size (the old one when it
// fits, each side at least 1) and the factors by which the metres per pixel
// grow on each axis (old size / new size).
struct CPlanFit {
    int width = 0, height = 0;
    double growX = 1.0, growY = 1.0;
    bool scaledDown = false;
};
CPlanFit FitPlanSize(int width, int height);

} // namespace tarvo
