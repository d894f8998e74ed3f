#pragma once
// The hue wheel that gives files, APs and groups their distinct colours.

#include "model/Colour.h"

#include <cstdint>

namespace tarvo {

// The colour seed's next value: (seed mod 252 + 52) mod 252.
std::int32_t NextColourSeed(std::int32_t seed);

// The hue-wheel colour of a seed (0..251; any other value counts as 0):
// six sectors of 42 steps between fixed components 176 and 22.
ColourRef HueWheelColour(std::int32_t seed);

} // namespace tarvo
