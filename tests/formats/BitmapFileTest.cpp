#include "formats/BitmapFile.h"

#include "model/LittleEndian.h"
#include "model/Picture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(BitmapFile, HeadersRowsAndPadding) {
    // 2 x 2, top row red and green, bottom row blue and white.
    const std::vector<std::uint8_t> rgb{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const auto bmp = EncodeBitmapFile(2, 2, rgb);
    // Each row: 6 pixel bytes padded to 8.
    ASSERT_EQ(bmp.size(), 14u + 40u + 16u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(GetU32(&bmp[2]), 70u);
    EXPECT_EQ(GetU32(&bmp[10]), 54u);
    EXPECT_EQ(GetI32(&bmp[18]), 2);
    EXPECT_EQ(GetI32(&bmp[22]), 2);
    EXPECT_EQ(GetU16(&bmp[28]), 24u);
    EXPECT_EQ(GetU32(&bmp[34]), 16u);
    // Bottom row first, blue-green-red, then two padding bytes.
    const std::vector<std::uint8_t> pixels(bmp.begin() + 54, bmp.end());
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{255, 0, 0, 255, 255, 255, 0, 0, //
                                                 0, 0, 255, 0, 255, 0, 0, 0}));
    std::int32_t w = 0, h = 0;
    EXPECT_TRUE(CPicture::ReadBitmapSize(bmp, w, h));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
}

TEST(BitmapFile, StridesAndRefusals) {
    EXPECT_EQ(EncodeBitmapFile(4, 3, std::vector<std::uint8_t>(36, 7)).size(), 54u + 36u);
    EXPECT_EQ(BitmapRowStride(1), 4u);
    EXPECT_EQ(BitmapRowStride(5), 16u);
    EXPECT_TRUE(EncodeBitmapFile(0, 1, std::vector<std::uint8_t>(3)).empty());
    EXPECT_TRUE(EncodeBitmapFile(1, -1, std::vector<std::uint8_t>(3)).empty());
    EXPECT_TRUE(EncodeBitmapFile(2, 2, std::vector<std::uint8_t>(11)).empty());
}

TEST(BitmapFile, SaveWritesTheEncodedBytes) {
    test::CTempDir dir;
    const std::vector<std::uint8_t> rgb{1, 2, 3};
    const std::string path = dir.File("one.bmp");
    ASSERT_TRUE(SaveBitmapFile(path, 1, 1, rgb));
    EXPECT_EQ(test::ReadBytes(path), EncodeBitmapFile(1, 1, rgb));
    EXPECT_FALSE(SaveBitmapFile(dir.File("missing/one.bmp"), 1, 1, rgb));
}

} // namespace
} // namespace tarvo
