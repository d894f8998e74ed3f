#include "model/ApRecords.h"
#include "model/Array.h"
#include "model/Document.h"
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
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a[0], 7);
    a.SetSize(3);
    EXPECT_EQ(a[2], 0);
    EXPECT_THROW(a.SetSize(-1), std::invalid_argument);
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());
}

TEST(RecordsTest, DefaultsMatchNewRecords) {
    CAPInfo ap;
    EXPECT_EQ(ap.icon, 174);
    EXPECT_EQ(ap.maxValue, -100.0);
    EXPECT_EQ(ap.minValue, -100.0);
    EXPECT_EQ(ap.rows, 0);
    EXPECT_EQ(ap.selected, 0);
    CDataFile file;
    EXPECT_EQ(file.selected, 1);
    EXPECT_TRUE(file.created.empty());
    EXPECT_EQ(CISMarker{}.icon, 180);

    CTarvoAnalyzerDoc doc;
    EXPECT_EQ(doc.projectionKind, 0);
    EXPECT_TRUE(doc.UseFeet);
    EXPECT_TRUE(doc.MergeApsAcrossFiles);
    EXPECT_TRUE(doc.pointStatus && doc.linearCoordinates && doc.sortBySsid && doc.onlySelected);
    EXPECT_FALSE(doc.processed || doc.mapLoaded || doc.coveragePresent || doc.legendShown);
    EXPECT_EQ(doc.MinPointsForEstimate, 20);
    EXPECT_EQ(doc.colourSeed, 122);
    EXPECT_EQ(doc.PowerLow, -90);
    EXPECT_EQ(doc.PowerHigh, -30);
    EXPECT_EQ(doc.pathWidth, 1);
    EXPECT_EQ(doc.gridLineCount, 3);
    EXPECT_EQ(doc.Resolution, 0.0);
    EXPECT_EQ(doc.coverageSetting3, 1);
    EXPECT_EQ(doc.CoveragePalette[0], 0x0000FFu);
    EXPECT_EQ(doc.CoveragePalette[9], 0xFF0000u);
}

TEST(RecordsTest, CopiedApOwnsItsArrays) {
    CAPInfo source;
    source.samples.Add(CData{1.0, 2.0, -60.0, -95});
    source.matrix.Add(-50.0);
    source.areas.Add(CDataArea{});
    source.lines.Add(CDataLine{});
    source.name = "lobby";

    CAPInfo copy = source;
    copy.samples[0].rssi = -70.0;
    copy.matrix[0] = -80.0;
    copy.areas[0].vertexCount = 4;
    copy.lines.Add(CDataLine{});
    copy.name += " east";

    EXPECT_EQ(source.samples[0].rssi, -60.0);
    EXPECT_EQ(source.matrix[0], -50.0);
    EXPECT_EQ(source.areas[0].vertexCount, 0);
    EXPECT_EQ(source.lines.GetSize(), 1);
    EXPECT_EQ(source.name, "lobby");
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
