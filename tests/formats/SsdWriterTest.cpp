#include "formats/SsdWriter.h"

#include "formats/SsdReader.h"
#include "model/Text.h"
#include "support/FakeUi.h"
#include "support/SsdBuilder.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

CDataSsd Sample(std::int32_t channel, std::int16_t rssi16, std::uint8_t macLast,
                const std::string& ssid) {
    CDataSsd s;
    s.channel = channel;
    s.rssi = rssi16;
    s.level2 = -93;
    s.bssid = {0x00, 0x11, 0x22, 0x33, 0x44, macLast};
    s.ssid = SsidFromText(ssid);
    return s;
}

TEST(SsdWriter, MatchesTheIndependentBuilderByteForByte) {
    // The same walk through both writers: a linear point, a GPS point with
    // no samples, a marked AP and an interference source.
    test::CSampleSpec sample;
    sample.channel = 11;
    sample.rssi16 = -70 * 16;
    sample.level2 = -95;
    sample.ssid = "lab";
    test::CSsdBuilder builder;
    builder.Linear(120, 45, {sample});

    CSsdWriter writer(1262304000);
    CDataSsd s;
    s.channel = 11;
    s.rssi = -70 * 16;
    s.level2 = -95;
    std::copy(std::begin(sample.mac), std::end(sample.mac), s.bssid.begin());
    s.ssid = SsidFromText("lab");
    // Carry the builder's other location bytes over unchanged.
    const auto record = builder.LastLocationRecord();
    CDataPoint fromBuilder(std::span<const std::uint8_t, 36>(record.data(), 36));
    fromBuilder.samples.Add(s);
    writer.AddLocation(fromBuilder);
    auto written = writer.Bytes();
    const auto built = builder.Bytes();
    ASSERT_EQ(written.size(), built.size());
    // Header bytes 0-3 and 8-11 are not examined by readers and may differ.
    std::copy_n(built.begin(), 4, written.begin());
    std::copy_n(built.begin() + 8, 4, written.begin() + 8);
    EXPECT_EQ(written, built);
}

TEST(SsdWriter, MarkersAndWiderRecordsReadBack) {
    CSsdWriter writer(1262304000, 1, 40, 50); // larger records are padded
    CDataPoint gps;
    gps.kind = kSsdGpsFix;
    gps.northing = static_cast<std::int32_t>(60.17 * 3600000.0);
    gps.fix = 2;
    gps.samples.Add(Sample(36, -80 * 16, 2, std::string(40, 'x')));
    writer.AddLocation(gps);
    CSsdMarkedAp marker;
    marker.y = static_cast<std::uint32_t>(static_cast<std::int32_t>(-1000));
    marker.dateTime = {1, 2, 3, 4, 5, 6};
    marker.channel = 44;
    marker.name = "Lobby AP";
    writer.AddMarkedAp(marker);
    CSsdInterference source;
    source.centre50kHz = 48740;
    source.bandwidth50kHz = 400;
    source.name = "Microwave";
    writer.AddInterference(source);

    CTarvoAnalyzerDoc doc;
    doc.files.Add(CDataFile{});
    test::CFakeUi ui;
    ASSERT_TRUE(ReadSurveyFile(doc, writer.Bytes(), 0, ui));
    ASSERT_EQ(doc.points.GetSize(), 1);
    CDataPoint expected = gps;
    expected.sampleCount = 1;
    EXPECT_EQ(doc.points[0], expected);
    EXPECT_EQ(SsidText(doc.points[0].samples[0].ssid), std::string(32, 'x'));
    ASSERT_EQ(doc.markers.GetSize(), 1);
    EXPECT_EQ(doc.markers[0].y, 4294966296.0);
    EXPECT_EQ(doc.markers[0].channel, 44u);
    EXPECT_EQ(doc.markers[0].name, "Lobby AP");
    EXPECT_EQ(doc.markers[0].dateTime, (DateTimeBytes{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(doc.sources.GetSize(), 1);
    EXPECT_EQ(doc.sources[0].frequency, "2437 MHz");
    EXPECT_EQ(doc.sources[0].name, "Microwave");
}

} // namespace
} // namespace tarvo
