#include "formats/Huffman.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace tarvo {
namespace {

using Counts = std::array<std::uint32_t, 256>;

std::vector<std::uint8_t> Decode(const CHuffmanTree& tree, const std::vector<std::uint8_t>& in,
                                 std::size_t n, std::size_t* produced = nullptr) {
    std::vector<std::uint8_t> out(n, 0xEE);
    const std::size_t got = tree.Decode(in, out);
    if (produced)
        *produced = got;
    out.resize(got);
    return out;
}

std::uint8_t ReverseBits(std::uint8_t v) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (v & (1 << i))
            r = static_cast<std::uint8_t>(r | (0x80 >> i));
    return r;
}

TEST(Huffman, EqualCountsGiveEightBitCodesWithLowValuesOnTheZeroSide) {
    Counts counts;
    counts.fill(1);
    CHuffmanTree tree;
    tree.Build(counts);
    // A complete tree: the code of v is v's bits from the most significant
    // down, so LSB-first storage is the bit-reversed byte.
    EXPECT_EQ(tree.CodeOf(0x00), std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(tree.CodeOf(0xFF), std::vector<std::uint8_t>(8, 1));
    EXPECT_EQ(tree.CodeOf(0x01), (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Decode(tree, {0x00, 0xFF}, 2), (std::vector<std::uint8_t>{0x00, 0xFF}));
    EXPECT_EQ(Decode(tree, {ReverseBits(0x12), ReverseBits(0xC4)}, 2),
              (std::vector<std::uint8_t>{0x12, 0xC4}));
    EXPECT_EQ(tree.Root().weight, 256u);
    EXPECT_EQ(tree.Root().id, 510);
}

TEST(Huffman, SingleNonZeroCountIsMergedLastAndTakesTheZeroBit) {
    Counts counts{};
    counts[0x41] = 7;
    CHuffmanTree tree;
    tree.Build(counts);
    const auto& root = tree.Root();
    ASSERT_NE(root.child0, nullptr);
    EXPECT_EQ(root.child0->id, 0x41);
    EXPECT_EQ(root.child1->id, 509); // the subtree of all zero-count leaves
    EXPECT_EQ(tree.Node(509).weight, 0u);
    EXPECT_EQ(root.weight, 7u);
    EXPECT_EQ(Decode(tree, {0x00}, 8), std::vector<std::uint8_t>(8, 0x41));
    // A ninth byte would need a ninth bit that is not there.
    std::size_t produced = 0;
    Decode(tree, {0x00}, 9, &produced);
    EXPECT_EQ(produced, 8u);
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
    EXPECT_EQ(tree.Node(508).child1->id, 507);
    EXPECT_EQ(tree.Node(509).child0->id, 'C');
    EXPECT_EQ(tree.Node(509).child1->id, 508);
    EXPECT_EQ(tree.Root().child0->id, 'A');
    EXPECT_EQ(tree.Root().child1->id, 509);
    EXPECT_EQ(tree.Node('A').parent, &tree.Root());
    EXPECT_EQ(tree.Node(507).weight, 0u);
    EXPECT_EQ(tree.Node(509).weight, 4u);
    EXPECT_EQ(tree.CodeOf('A'), (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(tree.CodeOf('C'), (std::vector<std::uint8_t>{1, 0}));
    EXPECT_EQ(tree.CodeOf('B'), (std::vector<std::uint8_t>{1, 1, 0}));
    for (int i = 0; i < 511; ++i)
        EXPECT_EQ(tree.Node(i).id, i);

    // "ABCA" = 0 110 10 0: bits 0,1,1,0,1,0,0 from the low end = 0x16.
    EXPECT_EQ(Decode(tree, {0x16}, 4), (std::vector<std::uint8_t>{'A', 'B', 'C', 'A'}));
    EXPECT_EQ(tree.Encode(std::vector<std::uint8_t>{'A', 'B', 'C', 'A'}),
              (std::vector<std::uint8_t>{0x16}));
    // The bit position runs on across input bytes: "BBB" = 110 110 110, so
    // the first byte holds 1,1,0,1,1,0,1,1 from bit 0 up and the second 0.
    const auto bbb = tree.Encode(std::vector<std::uint8_t>{'B', 'B', 'B'});
    ASSERT_EQ(bbb.size(), 2u);
    EXPECT_EQ(bbb[0], 0xDB); // 1,1,0,1,1,0,1,1 from bit 0 up
    EXPECT_EQ(bbb[1], 0x00); // the last 0 bit, then padding
    EXPECT_EQ(Decode(tree, bbb, 3), (std::vector<std::uint8_t>{'B', 'B', 'B'}));
}

TEST(Huffman, DecodingZeroBytesReadsNothing) {
    Counts counts;
    counts.fill(3);
    CHuffmanTree tree;
    tree.Build(counts);
    std::vector<std::uint8_t> none;
    EXPECT_EQ(tree.Decode({}, none), 0u);
}

TEST(Huffman, RunningOutOfInputStopsEarly) {
    Counts counts;
    counts.fill(1);
    CHuffmanTree tree;
    tree.Build(counts);
    std::size_t produced = 0;
    const auto out = Decode(tree, {0x01, 0x02, 0x03}, 10, &produced);
    EXPECT_EQ(produced, 3u);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x80, 0x40, 0xC0}));
    Decode(tree, {}, 1, &produced);
    EXPECT_EQ(produced, 0u);
}

TEST(Huffman, EncodeThenDecodeRoundTrips) {
    std::mt19937 rng(42);
    // Skewed data, like a map image: mostly white with a few other values.
    std::vector<std::uint8_t> data(20000);
    std::geometric_distribution<int> skew(0.3);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(255 - std::min(skew(rng), 255));
    const auto counts = CHuffmanTree::CountBytes(data);
    CHuffmanTree tree;
    tree.Build(counts);
    const auto coded = tree.Encode(data);
    EXPECT_LT(coded.size(), data.size() / 2);
    EXPECT_EQ(Decode(tree, coded, data.size()), data);
    // Removing the last byte always loses part of the last code.
    std::vector<std::uint8_t> cut(coded.begin(), coded.end() - 1);
    std::size_t produced = 0;
    Decode(tree, cut, data.size(), &produced);
    EXPECT_LT(produced, data.size());
}

TEST(Huffman, BytesAbsentFromTheCountsStillHaveCodes) {
    Counts counts{};
    counts[10] = 100;
    counts[20] = 1;
    CHuffmanTree tree;
    tree.Build(counts);
    const std::vector<std::uint8_t> data{10, 0, 255, 20, 10, 77};
    EXPECT_EQ(Decode(tree, tree.Encode(data), data.size()), data);
}

TEST(Huffman, WeightsAddWithWrapAround) {
    Counts counts{};
    counts[1] = 0xFFFFFFFFu;
    counts[2] = 2;
    CHuffmanTree tree;
    tree.Build(counts);
    EXPECT_EQ(tree.Root().weight, 1u);
    const std::vector<std::uint8_t> data{1, 2, 3, 1};
    EXPECT_EQ(Decode(tree, tree.Encode(data), data.size()), data);
}

} // namespace
} // namespace tarvo
