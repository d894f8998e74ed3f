#pragma once
// A bitmap file written byte by byte from the file layout, independent of
// the program's own bitmap code.

#include <cstdint>
#include <vector>

namespace tarvo::test {

// A bottom-up 24-bit bitmap of w x h pixels: 14-byte file header, 40-byte
// information header, rows padded to four bytes, every pixel byte distinct
// from its neighbours.
inline std::vector<std::uint8_t> HandMadeBitmap(std::int32_t w, std::int32_t h) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out{'B', 'M'};
    for (std::uint32_t v : {54 + pixels, 0u, 54u, 40u, static_cast<std::uint32_t>(w),
                            static_cast<std::uint32_t>(h), 0x180001u, 0u, pixels, 0u, 0u, 0u, 0u})
        for (int i = 0; i < 4; ++i) // 0x180001: one plane of 24 bits
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    for (std::uint32_t i = 0; i < pixels; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    return out;
}

} // namespace tarvo::test
