#include "model/Array.h"
#include "model/SurveyRecords.h"
#include "model/Text.h"

#include <gtest/gtest.h>

#include <array>

namespace tarvo {
namespace {

TEST(CArrayTest, AddReturnsIndexAndIndexingIsBoundsChecked) {
    CArray<int> a;
    EXPECT_EQ(a.Add(5), 0);
    EXPECT_EQ(a.Add(7), 1);
    EXPECT_EQ(a[1], 7);
    EXPECT_THROW(a[2], std::invalid_argument);
    EXPECT_THROW(a[-1], std::invalid_argument);
    a.RemoveAt(0);
    EXPECT_EQ(a[0], 7);
    EXPECT_THROW(a.SetSize(-1), std::invalid_argument);
}

TEST(RecordsTest, LocationRecordKeepsEveryByte) {
    std::array<std::uint8_t, 36> record{};
    for (std::size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<std::uint8_t>(0x11 * (i % 15) + i);
    CDataPoint point{std::span<const std::uint8_t, 36>(record)};
    EXPECT_EQ(point.kind, record[0]);
    EXPECT_EQ(point.northing, static_cast<std::int32_t>(record[1] | record[2] << 8 |
                                                        record[3] << 16 | record[4] << 24));
    EXPECT_EQ(point.pixelY, record[11] | record[12] << 8);
    EXPECT_EQ(point.fix, record[33]);
    EXPECT_EQ(point.sampleCount, record[34] | record[35] << 8);
    EXPECT_TRUE(point.samples.IsEmpty());

    std::array<std::uint8_t, 36> back{};
    point.ToRecord(back);
    EXPECT_EQ(back, record);
}

TEST(TextTest, MacAndSsidTexts) {
    EXPECT_EQ(MacText({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), "00-1A-2B-3C-4D-5E");
    SsidBytes full;
    full.fill('x');
    EXPECT_EQ(SsidText(full).size(), 32u); // no terminator: bounded to the field
    EXPECT_EQ(SsidText(SsidFromText("lab")), "lab");
    EXPECT_EQ(SsidText(SsidFromText(std::string(40, 'y'))), std::string(32, 'y'));
}

} // namespace
} // namespace tarvo
