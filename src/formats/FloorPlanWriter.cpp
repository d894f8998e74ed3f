#include "formats/FloorPlanWriter.h"

#include "formats/BitmapFile.h"
#include "formats/ProjectionWriter.h"

#include <cmath>

namespace tarvo {

namespace {

constexpr std::uint8_t kPixelScaleSubtype = 1;

bool UsableScale(double metresPerPixel) {
    return std::isfinite(metresPerPixel) && metresPerPixel > 0.0;
}

} // namespace

std::vector<std::uint8_t> EncodeFloorPlan(int width, int height,
                                          std::span<const std::uint8_t> rgbRows,
                                          double metresPerPixelX, double metresPerPixelY) {
    if (!UsableScale(metresPerPixelX) || !UsableScale(metresPerPixelY))
        return {};
    const std::vector<std::uint8_t> bitmap = EncodeBitmapFile(width, height, rgbRows);
    if (bitmap.empty())
        return {};
    ProjectionMatrix4 matrix{};
    matrix[0][0] = metresPerPixelX;
    matrix[1][1] = metresPerPixelY;
    matrix[2][2] = 1.0;
    matrix[3][3] = 1.0;
    return EncodeProjectionFile(ProjectionFileKind::Linear, kPixelScaleSubtype, matrix, bitmap);
}

std::vector<std::uint8_t> EncodeBlankFloorPlan(int width, int height, double metresPerPixel) {
    if (width <= 0 || height <= 0)
        return {};
    const std::vector<std::uint8_t> white(static_cast<std::size_t>(width) * height * 3, 0xFF);
    return EncodeFloorPlan(width, height, white, metresPerPixel, metresPerPixel);
}

} // namespace tarvo
