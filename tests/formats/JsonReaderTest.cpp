// The JSON reader takes RFC 8259 texts and nothing else, and the truth file
// of a survey gives each listed AP's MAC and position in either layout.

#include "formats/JsonReader.h"
#include "formats/TruthFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvo {
namespace {

TEST(JsonReader, ReadsEveryKindOfValue) {
    const CJsonParse p = ParseJson(" {\"a\": [1, -2.5e2, 0.125, true, false, null], \"s\": "
                                   "\"x\\\"\\\\\\/\\n\\u00e9\\ud83d\\ude00\","
                                   " \"o\": {}, \"e\": [], \"a2\": 3, \"a2\": 4} \n");
    ASSERT_TRUE(p.value) << p.error;
    const CJsonValue& v = *p.value;
    ASSERT_TRUE(v.IsObject());
    const CJsonValue* a = v.Find("a");
    ASSERT_TRUE(a && a->IsArray());
    ASSERT_EQ(a->items.size(), 6u);
    EXPECT_EQ(a->items[0].number, 1.0);
    EXPECT_EQ(a->items[1].number, -250.0);
    EXPECT_EQ(a->items[2].number, 0.125);
    EXPECT_EQ(a->items[3].kind, CJsonValue::Kind::Bool);
    EXPECT_TRUE(a->items[3].flag);
    EXPECT_FALSE(a->items[4].flag);
    EXPECT_EQ(a->items[5].kind, CJsonValue::Kind::Null);
    // The escapes, the two-byte e-acute and the four-byte face from a surrogate pair.
    EXPECT_EQ(v.Find("s")->text, "x\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_TRUE(v.Find("o")->IsObject());
    EXPECT_TRUE(v.Find("e")->items.empty());
    EXPECT_EQ(v.Find("a2")->number, 4.0) << "a repeated name keeps its last value";
    EXPECT_EQ(v.Find("missing"), nullptr);
    EXPECT_EQ(a->Find("a"), nullptr) << "an array has no members";
}

TEST(JsonReader, RefusesWhatIsNotJsonSayingWhere) {
    for (const char* bad :
         {"",        "{",           "[1,]",        "{\"a\" 1}", "{a: 1}", "01",     "1.",
          "-",       ".5",          "+1",          "1e",        "tru",    "\"open", "\"tab\there\"",
          "\"\\x\"", "\"\\ud800\"", "\"\\udc00\"", "[1] [2]",   "1e999",  "NaN",    "{\"a\":1,}"}) {
        const CJsonParse p = ParseJson(bad);
        EXPECT_FALSE(p.value) << bad;
        EXPECT_FALSE(p.error.empty()) << bad;
    }
    EXPECT_EQ(ParseJson("[1,\n  2,,3]").error, "line 2, column 5: a value expected");
}

TEST(JsonReader, NestingIsBounded) {
    std::string deep(kMaxJsonDepth, '[');
    deep += std::string(kMaxJsonDepth, ']');
    EXPECT_TRUE(ParseJson(deep).value);
    std::string deeper(100000, '[');
    deeper += std::string(100000, ']');
    const CJsonParse p = ParseJson(deeper);
    EXPECT_FALSE(p.value);
    EXPECT_NE(p.error.find("nested too deeply"), std::string::npos);
}

TEST(TruthFile, BothLayoutsEveryUsableEntryAndClearRefusals) {
    const CTruthFile truth = ParseTruth(R"({"scene": "x", "aps": [
        {"mac": "02-00-00-00-00-0A", "x_m": 5.5, "y_m": 8.25, "channel": 36},
        {"mac": "02:54:56:6f:00:01", "position": [12.5, -3]},
        {"mac": "02-00-00-00-00-0B", "x_m": 1},
        {"mac": "not a mac", "x_m": 1, "y_m": 2},
        {"x_m": 1, "y_m": 2}],
        "other_floor_aps": [{"mac": "02-00-00-00-00-0C", "x_m": 1, "y_m": 2}]})");
    ASSERT_TRUE(truth.ok) << truth.error;
    ASSERT_EQ(truth.aps.size(), 2u);
    EXPECT_EQ(truth.aps[0].mac, (MacAddress{0x02, 0, 0, 0, 0, 0x0A}));
    EXPECT_EQ(truth.aps[0].y, 8.25);
    EXPECT_EQ(truth.aps[0].x, 5.5);
    EXPECT_EQ(truth.aps[1].mac, (MacAddress{0x02, 0x54, 0x56, 0x6F, 0x00, 0x01}));
    EXPECT_EQ(truth.aps[1].y, 12.5);
    EXPECT_EQ(truth.aps[1].x, -3.0);

    EXPECT_EQ(ParseTruth("{\"aps\": 3}").error, "no \"aps\" list");
    EXPECT_EQ(ParseTruth("[]").error, "no \"aps\" list");
    EXPECT_EQ(ParseTruth("{").error.rfind("not JSON (line 1", 0), 0u);
    EXPECT_FALSE(ParseMacAddress("02-00-00-00-00-0"));
    EXPECT_FALSE(ParseMacAddress("02-00-00-00-00-0G"));
    EXPECT_FALSE(ParseMacAddress("02-00-00-00-00_00"));

    test::CTempDir dir;
    const std::string text = R"({"aps": [{"mac": "02-00-00-00-00-01", "x_m": 1, "y_m": 2}]})";
    const std::string path = dir.Write("truth.json", {text.begin(), text.end()});
    EXPECT_EQ(ReadTruthFile(path).aps.size(), 1u);
    EXPECT_EQ(ReadTruthFile(dir.File("none.json")).error, "cannot be read");
}

} // namespace
} // namespace tarvo
