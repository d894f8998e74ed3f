#include "formats/ProjectionReader.h"

#include "formats/BitmapFile.h"
#include "formats/FileIo.h"
#include "formats/Huffman.h"
#include "model/LittleEndian.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

std::size_t ProjectionHeaderSize(ProjectionFileKind kind) {
    return kind == ProjectionFileKind::Gps ? kGpsProjectionHeaderSize : kLinearProjectionHeaderSize;
}

std::uint32_t ProjectionMagic(ProjectionFileKind kind) {
    return kind == ProjectionFileKind::Gps ? kGpsProjectionMagic : kLinearProjectionMagic;
}

std::optional<ProjectionFileKind> ProjectionKindOfMagic(std::span<const std::uint8_t> file) {
    if (file.size() < 8)
        return std::nullopt;
    const std::uint32_t magic = GetU32(file.data() + 4);
    if (magic == kLinearProjectionMagic)
        return ProjectionFileKind::Linear;
    if (magic == kGpsProjectionMagic)
        return ProjectionFileKind::Gps;
    return std::nullopt;
}

std::string UnsupportedSubtypeText(ProjectionFileKind kind) {
    return kind == ProjectionFileKind::Gps
               ? "Unsupported GPF Filetype. May be for a different product."
               : "Unsupported BPF Filetype. May be for a different product.";
}

CProjectionParse ParseProjection(std::span<const std::uint8_t> file, ProjectionFileKind kind) {
    CProjectionParse result;
    CProjectionContents& c = result.contents;
    c.kind = kind;
    ByteReader in(file);
    const auto header = in.Take(ProjectionHeaderSize(kind));
    if (header.empty())
        return result;
    c.subtype = header[kProjectionSubtypeOffset];
    if (c.subtype != 0 && c.subtype != 1) {
        result.status = ProjectionParseStatus::UnsupportedSubtype;
        return result;
    }
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
            c.matrix[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)] =
                GetF64(header.data() + kProjectionMatrixOffset + 8 * (4 * r + k));

    c.compressedSize = in.U32();
    const std::uint32_t imageSize = in.U32();
    bool anyCount = false;
    for (std::uint32_t& count : c.frequencies) {
        count = in.U32();
        anyCount = anyCount || count != 0;
    }
    if (in.Failed() || !anyCount || c.compressedSize == 0 || imageSize == 0)
        return result;
    // Sizes from the file are bounded by the file: the code stream must be
    // there, and each decoded byte takes at least one bit of it.
    if (c.compressedSize > in.Remaining() ||
        static_cast<std::uint64_t>(imageSize) > static_cast<std::uint64_t>(c.compressedSize) * 8)
        return result;
    const auto stream = in.Take(c.compressedSize);

    CHuffmanTree tree;
    tree.Build(c.frequencies);
    c.bitmap.resize(imageSize);
    if (tree.Decode(stream, c.bitmap) != imageSize)
        return result;
    // A map whose header promises more pixels than it holds would give the
    // projection a size (and every position a place) the image does not have.
    if (!CPicture::ReadBitmapSize(c.bitmap, c.width, c.height) || !BitmapHoldsItsPixels(c.bitmap))
        return result;
    result.status = ProjectionParseStatus::Ok;
    return result;
}

} // namespace tarvo
