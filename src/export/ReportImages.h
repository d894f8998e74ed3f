#pragma once
// The small pictures of the study report and the saving of any picture as
// a 24-bit bitmap file.

#include "formats/OutputFile.h"
#include "model/Colour.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

// Saves image as a 24-bit bitmap file (alpha dropped), replacing an earlier
// file only once the new one is complete; false when the image is null or
// the file cannot be written (why, in *failure when given).
bool SaveImageAsBitmapFile(const std::string& path, const QImage& image,
                           CWriteFailure* failure = nullptr);

// Saves image as a PNG file, replacing an earlier file only once the new one
// is complete; false when the image is null, cannot be encoded or the file
// cannot be written.
bool SaveImageAsPngFile(const std::string& path, const QImage& image,
                        CWriteFailure* failure = nullptr);

// The image encoded as PNG; empty when it cannot be.
std::vector<std::uint8_t> PngBytes(const QImage& image);

// The walk-path legend: 40 x 20, white, a 1-pixel line in colour from
// (0, 10) to (40, 10) and a small circle in the same pen around (20, 10).
QImage PathLegendImage(ColourRef colour);

// A 40 x 20 swatch filled with colour.
QImage ColourSwatchImage(ColourRef colour);

// A 20 x 20 swatch of colour blended over white with constant alpha
// (0..255), as the coverage image is blended over the map.
QImage BlendedSwatchImage(ColourRef colour, int alpha);

} // namespace tarvo
