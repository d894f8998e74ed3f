#include "formats/Huffman.h"

#include <algorithm>
#include <limits>

namespace tarvo {

void CHuffmanTree::Build(std::span<const std::uint32_t, kSymbolCount> counts) {
    std::copy(counts.begin(), counts.end(), counts_.begin());
    for (int i = 0; i < kNodeCount; ++i) {
        CNode& node = nodes_[static_cast<std::size_t>(i)];
        node.id = i;
        node.weight = 0;
        node.child0 = node.child1 = node.parent = nullptr;
        node.active = 0;
        if (i < kSymbolCount) {
            node.weight = counts_[static_cast<std::size_t>(i)];
            node.active = 1;
        }
    }
    for (int k = kSymbolCount; k < kNodeCount; ++k) {
        CNode* first = nullptr;
        CNode* second = nullptr;
        // Only nodes below k can be active; the scan order is the index order.
        for (int i = 0; i < k; ++i) {
            CNode* node = &nodes_[static_cast<std::size_t>(i)];
            if (!node->active)
                continue;
            if (first == nullptr) {
                first = node;
            } else if (node->weight < first->weight) {
                second = first;
                first = node;
            } else if (second == nullptr || node->weight < second->weight) {
                second = node;
            }
        }
        // 256 leaves and one fewer merges: two candidates always exist.
        CNode& merged = nodes_[static_cast<std::size_t>(k)];
        if (first->id < second->id) {
            merged.child0 = first;
            merged.child1 = second;
        } else {
            merged.child0 = second;
            merged.child1 = first;
        }
        merged.weight = first->weight + second->weight;
        first->active = second->active = 0;
        first->parent = second->parent = &merged;
        merged.active = 1;
    }
    built_ = true;
}

std::size_t CHuffmanTree::Decode(std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output) const {
    if (!built_)
        return 0;
    std::size_t bytePos = 0;
    unsigned bitPos = 0;
    std::size_t produced = 0;
    const CNode* root = &nodes_[kRootIndex];
    for (; produced < output.size(); ++produced) {
        const CNode* node = root;
        while (node->child0 != nullptr) {
            if (bytePos >= input.size())
                return produced;
            const bool one = (input[bytePos] >> bitPos) & 1u;
            node = one ? node->child1 : node->child0;
            if (++bitPos == 8) {
                bitPos = 0;
                ++bytePos;
            }
        }
        output[produced] = static_cast<std::uint8_t>(node->id);
    }
    return produced;
}

std::vector<std::uint8_t> CHuffmanTree::CodeOf(std::uint8_t symbol) const {
    std::vector<std::uint8_t> bits;
    if (!built_)
        return bits;
    const CNode* node = &nodes_[symbol];
    while (node->parent != nullptr) {
        bits.push_back(node->parent->child1 == node ? 1 : 0);
        node = node->parent;
    }
    std::reverse(bits.begin(), bits.end());
    return bits;
}

std::vector<std::uint8_t> CHuffmanTree::Encode(std::span<const std::uint8_t> data) const {
    std::array<std::vector<std::uint8_t>, kSymbolCount> codes;
    for (int s = 0; s < kSymbolCount; ++s)
        codes[static_cast<std::size_t>(s)] = CodeOf(static_cast<std::uint8_t>(s));
    std::vector<std::uint8_t> out;
    std::uint8_t current = 0;
    unsigned bitPos = 0;
    for (std::uint8_t byte : data) {
        for (std::uint8_t bit : codes[byte]) {
            current = static_cast<std::uint8_t>(current | (bit << bitPos));
            if (++bitPos == 8) {
                out.push_back(current);
                current = 0;
                bitPos = 0;
            }
        }
    }
    if (bitPos != 0)
        out.push_back(current);
    return out;
}

std::array<std::uint32_t, CHuffmanTree::kSymbolCount>
CHuffmanTree::CountBytes(std::span<const std::uint8_t> data) {
    std::array<std::uint32_t, kSymbolCount> counts{};
    for (std::uint8_t byte : data)
        if (counts[byte] != std::numeric_limits<std::uint32_t>::max())
            ++counts[byte];
    return counts;
}

} // namespace tarvo
