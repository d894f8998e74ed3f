#pragma once
// Floor-plan pictures read with Qt's image readers (PNG, JPEG, BMP and the
// other formats Qt reads), turned as their orientation tag says, laid on
// white where they are transparent, and brought within the size a plan may
// have (import/PlanScale.h).

#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

struct CPlanPicture {
    QImage image;   // 24-bit RGB; null when the picture could not be read
    QSize original; // the picture's own size (after turning)
    bool scaledDown = false;
    std::string error; // why it could not be read
};

// Reads the picture at path. Pictures larger than a plan holds are read at
// the largest size that fits (image.size() then differs from original).
CPlanPicture LoadPlanPicture(const std::string& path);

// The pixel rows of an image, top row first, each width * 3 bytes in red,
// green, blue order (what EncodeFloorPlan takes).
std::vector<std::uint8_t> RgbRows(const QImage& image);

// The file-dialog filter for plan pictures.
constexpr const char* kPlanPictureFilter =
    "Pictures (*.png;*.jpg;*.jpeg;*.bmp)|*.png;*.jpg;*.jpeg;*.bmp|All Files (*.*)|*.*||";

} // namespace tarvo
