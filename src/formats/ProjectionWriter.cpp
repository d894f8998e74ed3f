#include "formats/ProjectionWriter.h"

#include "formats/FileIo.h"
#include "formats/Huffman.h"
#include "model/LittleEndian.h"

#include <limits>

namespace tarvo {

std::vector<std::uint8_t> EncodeProjectionFile(ProjectionFileKind kind, std::uint8_t subtype,
                                               const ProjectionMatrix4& matrix,
                                               std::span<const std::uint8_t> bitmapFile) {
    constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();
    if (bitmapFile.empty() || bitmapFile.size() > kMaxSize)
        return {};
    const auto counts = CHuffmanTree::CountBytes(bitmapFile);
    CHuffmanTree tree;
    tree.Build(counts);
    const std::vector<std::uint8_t> coded = tree.Encode(bitmapFile);
    if (coded.size() > kMaxSize)
        return {};

    const std::size_t headerSize = ProjectionHeaderSize(kind);
    ByteWriter out;
    out.U32(static_cast<std::uint32_t>(headerSize));
    out.U32(ProjectionMagic(kind));
    out.U16(1);
    out.U16(0);
    out.U8(subtype);
    for (const auto& row : matrix)
        for (double value : row)
            out.F64(value);
    out.Zeros(headerSize - out.Size()); // the GPS header's 4 unused bytes
    out.U32(static_cast<std::uint32_t>(coded.size()));
    out.U32(static_cast<std::uint32_t>(bitmapFile.size()));
    for (std::uint32_t count : counts)
        out.U32(count);
    out.Bytes(coded);
    return out.Take();
}

bool WriteProjectionFile(const std::string& path, ProjectionFileKind kind, std::uint8_t subtype,
                         const ProjectionMatrix4& matrix,
                         std::span<const std::uint8_t> bitmapFile) {
    const auto bytes = EncodeProjectionFile(kind, subtype, matrix, bitmapFile);
    if (bytes.empty())
        return false;
    return WriteFileAtomically(path, bytes);
}

} // namespace tarvo
