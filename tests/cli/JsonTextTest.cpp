#include "cli/ToolRunner.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <iconv.h>

#ifdef TARVO_HAVE_tarvo_view
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#endif

namespace tarvo {
namespace {

// glibc's decoder, independent of ours: true when every byte is valid UTF-8.
bool IsStrictUtf8(const std::string& text) {
    iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = text;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok && inLeft == 0;
}

TEST(JsonText, NonAsciiFileNamesPassThroughAndInvalidBytesBecomeReplacements) {
    test::CTempDir dir;
    test::CSsdBuilder walk;
    walk.Gps(1, 1, {test::CSampleSpec{}});
    const std::string names[] = {"walk 1 \xC3\xBC.ssd", "\xE6\xB8\xAC\xE9\x87\x8F.ssd",
                                 "old\xFCname.ssd"};
    std::vector<std::string> args = {"info", "--json"};
    for (const std::string& name : names)
        args.push_back(dir.Write(name, walk.Bytes()));

    const test::CToolRun r = test::RunTarvo(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(IsStrictUtf8(r.out)) << r.out;
    EXPECT_NE(r.out.find(names[0]), std::string::npos) << "escaped byte by byte: " << r.out;
    EXPECT_NE(r.out.find(names[1]), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("old\\ufffdname.ssd"), std::string::npos) << r.out;

#ifdef TARVO_HAVE_tarvo_view
    QJsonParseError error{};
    const QJsonDocument parsed = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray files = parsed.array();
    ASSERT_EQ(files.size(), 3);
    EXPECT_TRUE(
        files[0].toObject()["path"].toString().endsWith(QStringLiteral("walk 1 \u00fc.ssd")));
    EXPECT_TRUE(
        files[1].toObject()["path"].toString().endsWith(QStringLiteral("\u6e2c\u91cf.ssd")));
    EXPECT_TRUE(
        files[2].toObject()["path"].toString().endsWith(QStringLiteral("old\ufffdname.ssd")));
#endif
}

} // namespace
} // namespace tarvo
