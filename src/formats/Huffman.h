#pragma once
// Static byte-wise Huffman code of the map images inside projection files.
// The tree is rebuilt from the 256 symbol counts that the file carries, in
// one fixed merge order, so encoder and decoder agree on every code.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarvo {

class CHuffmanTree {
public:
    static constexpr int kSymbolCount = 256;
    static constexpr int kNodeCount = 511; // 256 leaves, 255 internal nodes
    static constexpr int kRootIndex = 510;

    class CNode {
    public:
        virtual ~CNode() = default;

        std::int32_t id = -1;     // own index 0..510; a leaf's id is its byte value
        std::uint32_t weight = 0; // count of a leaf, sum of the children otherwise
        CNode* child0 = nullptr;  // followed on a 0 bit; null for a leaf
        CNode* child1 = nullptr;  // followed on a 1 bit
        CNode* parent = nullptr;
        std::uint8_t active = 0; // still a candidate for merging
    };

    CHuffmanTree() = default;
    virtual ~CHuffmanTree() = default;
    // Nodes point into the tree's own pool: a copy would point into the
    // original, so the tree is neither copied nor moved.
    CHuffmanTree(const CHuffmanTree&) = delete;
    CHuffmanTree& operator=(const CHuffmanTree&) = delete;

    // Builds the tree from 256 counts. Every leaf takes part, also those
    // with a count of 0. The two active nodes of smallest weight are merged
    // 255 times (strict unsigned comparisons, the lower index winning ties);
    // the lower id becomes child0. Weights add with 32-bit wrap-around, as
    // the counts are 32-bit values.
    void Build(std::span<const std::uint32_t, kSymbolCount> counts);

    // Decodes up to output.size() bytes from an LSB-first bit stream and
    // returns how many were produced. Fewer than requested means that the
    // input ran out: the stream is damaged. Never reads past input.
    std::size_t Decode(std::span<const std::uint8_t> input, std::span<std::uint8_t> output) const;

    // Encodes data with this tree's codes (root-to-leaf paths, bits LSB
    // first; the last byte is padded with zero bits). Every byte value has
    // a code, so any data can be encoded with any built tree.
    std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data) const;

    const std::array<std::uint32_t, kSymbolCount>& Counts() const { return counts_; }
    const CNode& Node(int index) const { return nodes_[static_cast<std::size_t>(index)]; }
    const CNode& Root() const { return nodes_[kRootIndex]; }

    // The code of one byte value as bits from the root down (0 or 1 each).
    std::vector<std::uint8_t> CodeOf(std::uint8_t symbol) const;

    // Counts of each byte value in data, saturating at the 32-bit maximum.
    static std::array<std::uint32_t, kSymbolCount> CountBytes(std::span<const std::uint8_t> data);

private:
    std::array<std::uint32_t, kSymbolCount> counts_{};
    std::array<CNode, kNodeCount> nodes_{};
    bool built_ = false;
};

} // namespace tarvo
