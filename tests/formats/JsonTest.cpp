#include "formats/Json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace tarvo {
namespace {

TEST(Json, TextsAreEscapedAndAlwaysValidUtf8) {
    // Well-formed UTF-8 (file names) passes through; a byte that starts no
    // well-formed sequence (old Latin-1 names, SSIDs; overlong forms and
    // surrogates included) becomes U+FFFD, one per byte.
    EXPECT_EQ(CJsonWriter::Escape("walk 1 \xC3\xBC \xE6\xB8\xAC\xF0\x9F\x93\xA1"),
              "walk 1 \xC3\xBC \xE6\xB8\xAC\xF0\x9F\x93\xA1");
    EXPECT_EQ(CJsonWriter::Escape("old\xFCname"), "old\\ufffdname");
    EXPECT_EQ(CJsonWriter::Escape("\xC0\xAF\xED\xA0\x80\xE6\xB8"),
              "\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd\\ufffd");
    EXPECT_EQ(CJsonWriter::Escape("a\"b\\c\n\t\x01"), "a\\\"b\\\\c\\n\\t\\u0001");

    std::ostringstream out;
    CJsonWriter w(out);
    w.BeginObject().Field("n", std::nan("")).Key("list").BeginArray().Value(1).Value(0.5);
    w.EndArray().EndObject();
    EXPECT_EQ(out.str(), "{\"n\":null,\"list\":[1,0.5]}\n");
}

} // namespace
} // namespace tarvo
