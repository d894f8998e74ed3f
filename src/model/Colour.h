#pragma once
// Colours are 24-bit colour words with red in the low byte, as stored in
// the study files; they become toolkit colours only when drawn.

#include <cstdint>

namespace tarvo {

using ColourRef = std::uint32_t;

constexpr ColourRef MakeRgb(int red, int green, int blue) {
    return static_cast<ColourRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(ColourRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColourRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColourRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

} // namespace tarvo
