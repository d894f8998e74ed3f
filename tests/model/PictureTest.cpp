#include "model/Picture.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

std::vector<std::uint8_t> BitmapHeader(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    for (int i = 0; i < 4; ++i) {
        b[18 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
        b[22 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
    }
    return b;
}

TEST(PictureTest, KeepsItsBytesAndRefusesWhatCannotBeABitmap) {
    CPicture picture;
    auto good = BitmapHeader(10, 10);
    ASSERT_TRUE(picture.Load(good));
    std::vector<std::uint8_t> saved;
    ASSERT_TRUE(picture.Save(saved));
    EXPECT_EQ(saved, good); // the bytes are kept as they came
    EXPECT_FALSE(picture.Load(std::vector<std::uint8_t>(good.begin(), good.begin() + 25)));
    EXPECT_FALSE(picture.Load(BitmapHeader(0, 10)));
    EXPECT_FALSE(picture.Load(BitmapHeader(10, INT32_MIN)));
    EXPECT_FALSE(picture.Load(BitmapHeader(100000, 10)));
    auto notBm = good;
    notBm[0] = 'X';
    EXPECT_FALSE(picture.Load(notBm));
    // A refused load keeps the picture that was there.
    EXPECT_EQ(picture.Width(), 10);
    EXPECT_TRUE(picture.Load(BitmapHeader(4, -3))); // top-down bitmap
    EXPECT_EQ(picture.Height(), 3);
}

} // namespace
} // namespace tarvo
