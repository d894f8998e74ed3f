#include "model/ColourWheel.h"

namespace tarvo {

namespace {

constexpr int kHueSteps = 252;
constexpr int kSectorSteps = 42;

} // namespace

std::int32_t NextColourSeed(std::int32_t seed) {
    // Computed in 64 bits: a seed restored from a workspace may be any value.
    const std::int64_t next = (static_cast<std::int64_t>(seed) % kHueSteps + 52) % kHueSteps;
    return static_cast<std::int32_t>(next);
}

ColourRef HueWheelColour(std::int32_t seed) {
    const int h = seed >= 0 && seed < kHueSteps ? seed : 0;
    const int sector = h / kSectorSteps;
    const int f = h % kSectorSteps;
    const int up = ((256 + ((f - kSectorSteps) * 224) / kSectorSteps) * 176) / 256;
    const int down = ((256 - (f * 224) / kSectorSteps) * 176) / 256;
    switch (sector) {
    case 0:
        return MakeRgb(176, up, 22);
    case 1:
        return MakeRgb(down, 176, 22);
    case 2:
        return MakeRgb(22, 176, up);
    case 3:
        return MakeRgb(22, down, 176);
    case 4:
        return MakeRgb(up, 22, 176);
    default:
        return MakeRgb(176, 22, down);
    }
}

} // namespace tarvo
