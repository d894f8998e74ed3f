#include "import/ImportFields.h"
#include "import/CsvText.h"
#include "model/Text.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(ImportFields, Numbers) {
    EXPECT_EQ(ParseDecimal(" -60.5 "), -60.5);
    EXPECT_EQ(ParseDecimal("+5"), 5.0);
    EXPECT_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_EQ(ParseDecimal("1e2"), 100.0);
    EXPECT_EQ(ParseDecimal("-61,5", true), -61.5);
    for (const char* bad :
         {"", " ", "-", "abc", "1,5", "nan", "inf", "-inf", "0x10", "1.5dBm", "--1", "1 2"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
    EXPECT_FALSE(ParseDecimal("1,234,5", true).has_value());
    EXPECT_FALSE(ParseDecimal("1e999").has_value()); // out of range
    EXPECT_EQ(ParseWhole("-36"), -36);
    EXPECT_FALSE(ParseWhole("3.5").has_value());
    EXPECT_FALSE(ParseWhole("1234567890").has_value());
}

TEST(ImportFields, MacAddressesInThreeSpellings) {
    const MacAddress expected{0xAA, 0xBB, 0x0C, 0xDD, 0xEE, 0x0F};
    for (const char* text :
         {"aa:bb:0c:dd:ee:0f", "AA-BB-0C-DD-EE-0F", "aabb0cddee0f", " aa:BB:0c:dd:ee:0f"})
        EXPECT_EQ(ParseMac(text), expected) << text;
    for (const char* bad : {"", "aa:bb:cc:dd:ee", "aa:bb:cc:dd:ee:fg", "aa:bb-cc:dd:ee:ff",
                            "aabbccddeef", "aa.bb.cc.dd.ee.ff", "aabbccddeeff00"})
        EXPECT_FALSE(ParseMac(bad).has_value()) << bad;
}

TEST(ImportFields, RssiInSixteenthsRoundedWithinTheSurveyRange) {
    EXPECT_EQ(RssiTo16thDbm(-60.0), -960);
    EXPECT_EQ(RssiTo16thDbm(-60.0625), -961);
    EXPECT_EQ(RssiTo16thDbm(-60.03125), -961); // half a step: away from zero
    EXPECT_EQ(RssiTo16thDbm(-60.03), -960);
    EXPECT_EQ(RssiTo16thDbm(-150.0), -2400);
    EXPECT_EQ(RssiTo16thDbm(20.0), 320);
    EXPECT_FALSE(RssiTo16thDbm(-150.01).has_value());
    EXPECT_FALSE(RssiTo16thDbm(20.5).has_value());
}

TEST(ImportFields, SsidsCutOnACharacterBoundary) {
    EXPECT_EQ(SsidText(SsidFromUtf8("net")), "net");
    // 31 ASCII bytes and a two-byte character: the character does not fit.
    const std::string ascii31(31, 'a');
    const SsidBytes cut = SsidFromUtf8(ascii31 + "\xC3\xA9");
    EXPECT_EQ(cut[30], 'a');
    EXPECT_EQ(cut[31], 0);
    // 30 + the two-byte character fit exactly; the rest is dropped.
    const SsidBytes exact = SsidFromUtf8(std::string(30, 'a') + "\xC3\xA9xyz");
    EXPECT_EQ(exact[30], 0xC3);
    EXPECT_EQ(exact[31], 0xA9);
    // A three-byte character cut after its first byte goes entirely.
    const SsidBytes euro = SsidFromUtf8(ascii31 + "\xE2\x82\xAC");
    EXPECT_EQ(euro[31], 0);
}

TEST(ImportFields, IsoTimes) {
    const DateTimeBytes may14{5, 14, 44, 10, 20, 30};
    for (const char* text : {"2024-05-14T10:20:30", "2024-05-14 10:20:30", "2024-05-14T10:20:30Z",
                             "2024-05-14T10:20:30.125+02:00", "2024-05-14T10:20:30-0500"})
        EXPECT_EQ(ParseIsoTime(text), may14) << text;
    EXPECT_EQ(ParseIsoTime("2024-05-14"), (DateTimeBytes{5, 14, 44, 0, 0, 0}));
    EXPECT_EQ(ParseIsoTime("2024-05-14T10:20"), (DateTimeBytes{5, 14, 44, 10, 20, 0}));
    EXPECT_EQ(ParseIsoTime("2016-12-31T23:59:60"), (DateTimeBytes{12, 31, 36, 23, 59, 59}));
    EXPECT_EQ(ParseIsoTime("2024-02-29"), (DateTimeBytes{2, 29, 44, 0, 0, 0}));
    for (const char* bad :
         {"", "2023-02-29", "2024-13-01", "2024-04-31", "1979-12-31", "2236-01-01",
          "2024-05-14T24:00:00", "2024-05-14T10:60", "2024-05-14X10:20", "2024/05/14", "14.05.2024",
          "2024-05-14T10:20:30+2", "2024-05-14T10:20:30."})
        EXPECT_FALSE(ParseIsoTime(bad).has_value()) << bad;
}

TEST(ImportFields, LocalDateFieldsOfAMoment) {
    // 1715682030 s is 2024-05-14 10:20:30 UTC; the tests run in UTC.
    EXPECT_EQ(LocalDateFields(1715682030), (DateTimeBytes{5, 14, 44, 10, 20, 30}));
    EXPECT_EQ(LocalDateFields(0)[2], 0); // 1970 is held at 1980
}

TEST(ImportFields, ChannelOfAFrequency) {
    EXPECT_EQ(ChannelForFrequency(2412), 1);
    EXPECT_EQ(ChannelForFrequency(2472), 13);
    EXPECT_EQ(ChannelForFrequency(2484), 14);
    EXPECT_EQ(ChannelForFrequency(5180), 36);
    EXPECT_EQ(ChannelForFrequency(5805), 161);
    EXPECT_EQ(ChannelForFrequency(2413), 0);
    EXPECT_EQ(ChannelForFrequency(5955), 0); // 6 GHz
}

TEST(CsvText, LinesDelimitersAndQuotedFields) {
    const auto lines = SplitLines("\xEF\xBB\xBF"
                                  "a\r\nb\rc\n\nd\n");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "a");
    EXPECT_EQ(lines[2].text, "c");
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[4].number, 5);

    EXPECT_EQ(HeaderDelimiter("x,y,bssid"), ',');
    EXPECT_EQ(HeaderDelimiter("x;y;bssid"), ';');
    EXPECT_EQ(HeaderDelimiter("x\ty\t\"a,b,c\""), '\t');
    EXPECT_EQ(HeaderDelimiter("single"), ',');

    const auto fields = SplitFields(R"( a ,"b, ""c"" " , ,"d"e)", ',');
    ASSERT_TRUE(fields);
    EXPECT_EQ(*fields, (std::vector<std::string>{"a", "b, \"c\" ", "", "de"}));
    EXPECT_FALSE(SplitFields("a,\"open", ',').has_value());
    EXPECT_EQ(*SplitFields(" a \"b\" ", ',', false), (std::vector<std::string>{" a \"b\" "}));
    EXPECT_EQ(FindColumn({"X", " RSSI_dBm "}, "rssi_dbm"), 1);
}

} // namespace
} // namespace tarvo
