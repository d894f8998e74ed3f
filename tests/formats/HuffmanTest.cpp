#include "formats/Huffman.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace tarvo {
namespace {

using Counts = std::array<std::uint32_t, 256>;
using Bytes = std::vector<std::uint8_t>;

Bytes Decode(const CHuffmanTree& tree, const Bytes& in, std::size_t n) {
    Bytes out(n, 0xEE);
    out.resize(tree.Decode(in, out));
    return out;
}

// Worked by hand: 'A' = 5, 'B' = 2, 'C' = 2, every other count 0. The 253
// zero leaves merge into node 507. Then 507 (0) and 'B' (2) -> 508, child0
// 'B' as the lower id; 'C' (2) ties with 508 (2) and wins as the lower
// index, pairing with 508 -> 509; last 509 (4) with 'A' (5), 'A' as child0.
// Codes: A = 0, C = 10, B = 110.
TEST(Huffman, HandWorkedTreeWithTies) {
    Counts counts{};
    counts['A'] = 5;
    counts['B'] = 2;
    counts['C'] = 2;
    CHuffmanTree tree;
    tree.Build(counts);
    EXPECT_EQ(tree.Node(508).child0->id, 'B');
    EXPECT_EQ(tree.Node(509).child0->id, 'C');
    EXPECT_EQ(tree.Root().child1->id, 509);
    EXPECT_EQ(tree.CodeOf('A'), (Bytes{0}));
    EXPECT_EQ(tree.CodeOf('C'), (Bytes{1, 0}));
    EXPECT_EQ(tree.CodeOf('B'), (Bytes{1, 1, 0}));
    // "ABCA" = 0 110 10 0: bits 0,1,1,0,1,0,0 from the low end = 0x16.
    EXPECT_EQ(Decode(tree, {0x16}, 4), (Bytes{'A', 'B', 'C', 'A'}));
    EXPECT_EQ(tree.Encode(Bytes{'A', 'B', 'C', 'A'}), (Bytes{0x16}));
    // The bit position runs on across bytes: "BBB" = 110 110 110.
    EXPECT_EQ(tree.Encode(Bytes{'B', 'B', 'B'}), (Bytes{0xDB, 0x00}));

    // With equal counts the tree is complete: every byte is its own 8-bit
    // code, stored least significant bit first (bit-reversed).
    counts.fill(1);
    tree.Build(counts);
    EXPECT_EQ(tree.CodeOf(0x01), (Bytes{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Decode(tree, {0x48, 0x23}, 2), (Bytes{0x12, 0xC4}));
    // Running out of input stops early.
    EXPECT_EQ(Decode(tree, {0x01, 0x02, 0x03}, 10), (Bytes{0x80, 0x40, 0xC0}));
}

TEST(Huffman, OneByteOnlyAndWrappingWeights) {
    Counts counts{};
    counts[0x41] = 7; // merged last, on the zero side
    CHuffmanTree tree;
    tree.Build(counts);
    EXPECT_EQ(tree.Root().child0->id, 0x41);
    EXPECT_EQ(Decode(tree, {0x00}, 9), Bytes(8, 0x41)); // a ninth bit is not there

    counts[1] = 0xFFFFFFFFu;
    counts[2] = 2;
    tree.Build(counts);
    const Bytes data{1, 2, 3, 0x41};
    EXPECT_EQ(Decode(tree, tree.Encode(data), data.size()), data);
}

} // namespace
} // namespace tarvo
