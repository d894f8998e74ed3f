#include "analysis/ProjectionOpen.h"
#include "formats/ProjectionReader.h"

#include "analysis/Coordinates.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

namespace tarvo {
namespace {

// ---- an independent projection-file writer -------------------------------
// With all 256 counts equal to 1 the code is the complete 8-bit tree, so
// every byte is stored as its bit-reversed value: the coded stream can be
// written without any Huffman code of the program.

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutDouble(std::vector<std::uint8_t>& out, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, 8);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

std::uint8_t Reversed(std::uint8_t v) {
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (v & (1 << i))
            r = static_cast<std::uint8_t>(r | (0x80 >> i));
    return r;
}

constexpr std::uint32_t kGpsMagic = 0x47504620;
constexpr std::uint32_t kLinearMagic = 0x2046504C;

struct CTestProjection {
    std::uint32_t magic = kGpsMagic;
    std::uint8_t subtype = 0;
    std::array<double, 16> m{};
    std::vector<std::uint8_t> bitmap;
    std::optional<std::uint32_t> compressedSize; // default: the stream's size
    std::optional<std::uint32_t> imageSize;      // default: the bitmap's size
    bool zeroTable = false;
    std::size_t dropStreamBytes = 0; // leave out the stream's last bytes

    std::size_t HeaderSize() const { return magic == kLinearMagic ? 141 : 145; }

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        Put32(out, static_cast<std::uint32_t>(HeaderSize()));
        Put32(out, magic);
        out.insert(out.end(), {1, 0, 0, 0});
        out.push_back(subtype);
        for (double d : m)
            PutDouble(out, d);
        out.resize(HeaderSize(), 0);
        std::vector<std::uint8_t> stream;
        for (std::uint8_t b : bitmap)
            stream.push_back(Reversed(b));
        stream.resize(stream.size() - std::min(dropStreamBytes, stream.size()));
        Put32(out, compressedSize.value_or(static_cast<std::uint32_t>(stream.size())));
        Put32(out, imageSize.value_or(static_cast<std::uint32_t>(bitmap.size())));
        for (int i = 0; i < 256; ++i)
            Put32(out, zeroTable ? 0 : 1);
        out.insert(out.end(), stream.begin(), stream.end());
        return out;
    }
};

// A 24-bit bitmap file; rows of pixel bytes only when withPixels.
std::vector<std::uint8_t> TestBitmap(std::int32_t w, std::int32_t h, bool withPixels = true) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) / 4 * 4;
    const std::uint32_t pixels = withPixels ? stride * static_cast<std::uint32_t>(h) : 0;
    std::vector<std::uint8_t> out{'B', 'M'};
    Put32(out, 54 + pixels);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(w));
    Put32(out, static_cast<std::uint32_t>(h));
    out.insert(out.end(), {1, 0, 24, 0});
    Put32(out, 0);
    Put32(out, pixels);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (std::uint32_t i = 0; i < pixels; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    return out;
}

// A north-aligned geographic matrix: column = b * lon + c, row = d * lat + f,
// with the map's top-left pixel at (lat0, lon0) and the given degrees per
// pixel.
std::array<double, 16> NorthAligned(double lat0, double lon0, double degPerPixel) {
    std::array<double, 16> m{};
    const double b = 1.0 / degPerPixel, d = -1.0 / degPerPixel;
    m[1] = b;
    m[3] = -b * lon0;
    m[4] = d;
    m[7] = -d * lat0;
    m[10] = 1.0;
    m[15] = 1.0;
    return m;
}

// What a refused file must not change.
struct CDocState {
    std::vector<std::uint8_t> mapBytes, pictureBytes;
    std::int32_t pictureW, pictureH;
    std::array<std::array<double, 4>, 4> matrix;
    std::uint8_t subtype;
    std::int32_t kind, w, h;
    double sx, sy, mapH, mapW;
    CBox window;
    bool mapLoaded, processed, linear, geoLinear, showMap;
    std::string projectionPath;
    bool operator==(const CDocState&) const = default;
};

CDocState StateOf(const CTarvoAnalyzerDoc& d) {
    return {d.mapBytes,          d.mapPicture.Bytes(), d.mapPicture.Width(), d.mapPicture.Height(),
            d.ProjectionMatrix,  d.projectionSubtype,  d.projectionKind,     d.ImageWidth,
            d.ImageHeight,       d.SiteScaleX,         d.SiteScaleY,         d.MapExtentHeight,
            d.MapExtentWidth,    d.ViewWindow,         d.mapLoaded,          d.processed,
            d.linearCoordinates, d.geographicLinear,   d.view.showMap,       d.projectionPath};
}

class ProjectionReaderTest : public ::testing::Test {
protected:
    bool Open(const CTestProjection& p, const std::string& name) {
        return OpenProjectionFile(doc, dir.Write(name, p.Bytes()), ui);
    }
    void ExpectOnlyMessage(const std::string& text) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].title, "Invalid File");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    }

    test::CTempDir dir;
    test::CFakeUi ui;
    CTarvoAnalyzerDoc doc;
};

TEST_F(ProjectionReaderTest, GpsFilesOfBothSubtypesDecodeByteExactly) {
    for (std::uint8_t subtype : {0, 1}) {
        CTarvoAnalyzerDoc fresh;
        doc = fresh;
        CTestProjection p;
        p.subtype = subtype;
        p.m = NorthAligned(60.0, 25.0, 1e-5);
        p.m[2] = 7.5; // unused entries are kept as they are
        p.bitmap = TestBitmap(3, 2);
        ASSERT_TRUE(Open(p, "site.gpf")) << int(subtype);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(doc.mapBytes, p.bitmap);
        EXPECT_EQ(doc.mapPicture.Bytes(), p.bitmap);
        EXPECT_EQ(doc.mapPicture.Width(), 3);
        EXPECT_EQ(doc.mapPicture.Height(), 2);
        EXPECT_EQ(doc.ImageWidth, 3);
        EXPECT_EQ(doc.ImageHeight, 2);
        EXPECT_EQ(doc.projectionSubtype, subtype);
        EXPECT_EQ(doc.projectionKind, kProjectionGps);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(doc.ProjectionMatrix[i / 4][i % 4], p.m[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(doc.mapLoaded);
        EXPECT_TRUE(doc.linearCoordinates);
        EXPECT_TRUE(doc.view.showMap);
        EXPECT_FALSE(doc.processed);
    }
}

TEST_F(ProjectionReaderTest, LinearSubtypesSetTheirFlags) {
    CTestProjection p;
    p.magic = kLinearMagic;
    p.bitmap = TestBitmap(5, 4);
    p.subtype = 0;
    p.m = NorthAligned(10.0, 20.0, 1e-6);
    doc.linearCoordinates = true;
    ASSERT_TRUE(Open(p, "plan0.lpf"));
    EXPECT_EQ(doc.mapBytes, p.bitmap);
    EXPECT_EQ(doc.projectionKind, kProjectionLinear);
    EXPECT_EQ(doc.projectionSubtype, 0);
    EXPECT_TRUE(doc.geographicLinear);
    EXPECT_FALSE(doc.linearCoordinates);

    // Subtype 1 clears geographic linear and leaves linear coordinates.
    p.subtype = 1;
    p.m = {};
    p.m[0] = 0.1;
    p.m[5] = 0.2;
    ASSERT_TRUE(Open(p, "plan1.lpf"));
    EXPECT_EQ(doc.mapBytes, p.bitmap);
    EXPECT_EQ(doc.projectionSubtype, 1);
    EXPECT_FALSE(doc.geographicLinear);
    EXPECT_FALSE(doc.linearCoordinates);
    EXPECT_DOUBLE_EQ(doc.SiteScaleX, 0.1);
    EXPECT_DOUBLE_EQ(doc.SiteScaleY, 0.2);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectionReaderTest, TheMagicChoosesTheReaderNotTheName) {
    CTestProjection p; // GPS magic and 145-byte header
    p.m = NorthAligned(60.0, 25.0, 1e-5);
    p.bitmap = TestBitmap(4, 4);
    ASSERT_TRUE(Open(p, "looks-linear.lpf"));
    EXPECT_EQ(doc.projectionKind, kProjectionGps);
    EXPECT_EQ(doc.mapBytes, p.bitmap);

    p.magic = kLinearMagic; // 141-byte header behind a .gpf name
    p.subtype = 1;
    p.m = {};
    p.m[0] = p.m[5] = 1.0;
    ASSERT_TRUE(Open(p, "looks-gps.gpf"));
    EXPECT_EQ(doc.projectionKind, kProjectionLinear);
    EXPECT_EQ(doc.mapBytes, p.bitmap);
}

TEST_F(ProjectionReaderTest, PixelScaleGivesMapRectangleAndWindow) {
    CTestProjection p;
    p.magic = kLinearMagic;
    p.subtype = 1;
    p.m[0] = 0.05;
    p.m[5] = 0.05;
    p.bitmap = TestBitmap(1000, 800, false);
    // A drawing area of the window's own aspect leaves it as computed.
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, 600, 480, ui));
    EXPECT_DOUBLE_EQ(doc.MapExtentHeight, 40.0);
    EXPECT_DOUBLE_EQ(doc.MapExtentWidth, 50.0);
    EXPECT_EQ(doc.mapOriginY, 0.0);
    EXPECT_EQ(doc.mapOriginX, 0.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, -4.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minX, -5.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 48.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentX, 60.0);

    // 800 x 600: rx = 60/800 = 0.075 <= ry = 48/600 = 0.08, so the width
    // grows to 0.08 * 800 = 64 and the origin moves left by 2.
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, 800, 600, ui));
    EXPECT_NEAR(doc.ViewWindow.minX, -7.0, 1e-12);
    EXPECT_NEAR(doc.ViewWindow.extentX, 64.0, 1e-12);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.minY, -4.0);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentY, 48.0);

    // A tall area widens the height instead: rx = 0.6 > ry = 0.096, so the
    // height becomes 0.6 * 500 = 300, the origin moving down by 126.
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, 100, 500, ui));
    EXPECT_NEAR(doc.ViewWindow.minY, -130.0, 1e-9);
    EXPECT_NEAR(doc.ViewWindow.extentY, 300.0, 1e-9);
    EXPECT_DOUBLE_EQ(doc.ViewWindow.extentX, 60.0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectionReaderTest, GeographicScaleFromGreatCircleDistances) {
    CTestProjection p;
    p.m = NorthAligned(60.0, 25.0, 1e-5);
    p.bitmap = TestBitmap(300, 200, false);
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Gps, 800, 600, ui));
    // 200 rows of 1e-5 degree along a meridian: 0.002 degree of arc; 300
    // columns along the parallel at 60 degrees, about half as long.
    const double rad = 3.14159265 / 180.0;
    const double heightM = 0.002 * rad * 6378137.0;
    const double widthM =
        2.0 * std::asin(std::cos(60.0 * rad) * std::sin(0.003 * rad / 2.0)) * 6378137.0;
    EXPECT_NEAR(doc.MapExtentHeight, heightM, 1e-6);
    EXPECT_NEAR(doc.MapExtentWidth, widthM, 1e-6);
    EXPECT_NEAR(doc.SiteScaleY, heightM / 200.0, 1e-9);
    EXPECT_NEAR(doc.SiteScaleX, widthM / 300.0, 1e-9);
    EXPECT_DOUBLE_EQ(doc.MapExtentHeight, GreatCircleDistance(60.0, 25.0, 59.998, 25.0));

    // Site coordinates of the corners follow through the forward transform.
    double y = 0, x = 0;
    TransformPoint(doc, true, 60.0, 25.0, y, x, ui);
    EXPECT_NEAR(y, doc.MapExtentHeight, 1e-6);
    EXPECT_NEAR(x, 0.0, 1e-6);
    TransformPoint(doc, true, 59.998, 25.003, y, x, ui);
    EXPECT_NEAR(y, 0.0, 1e-6);
    EXPECT_NEAR(x, doc.MapExtentWidth, 1e-6);
}

TEST_F(ProjectionReaderTest, SingularMatrixIsReportedButTheMapIsKept) {
    doc.ViewWindow = {1, 2, 3, 4};
    doc.MapExtentHeight = 9;
    doc.SiteScaleX = doc.SiteScaleY = 0.5;
    CTestProjection p;
    p.m[0] = 1.0;
    p.m[1] = 2.0;
    p.m[4] = 2.0;
    p.m[5] = 4.0; // a*e - d*b = 0
    p.bitmap = TestBitmap(3, 3);
    ASSERT_TRUE(Open(p, "flat.gpf"));
    ExpectOnlyMessage(kSingularProjectionText);
    EXPECT_EQ(doc.mapBytes, p.bitmap);
    EXPECT_TRUE(doc.mapLoaded);
    EXPECT_EQ(doc.SiteScaleX, 0.0);
    EXPECT_EQ(doc.SiteScaleY, 0.0);
    EXPECT_EQ(doc.MapExtentHeight, 9.0);
    EXPECT_EQ(doc.ViewWindow, (CBox{1, 2, 3, 4}));
    EXPECT_EQ(doc.projectionKind, kProjectionGps);
}

TEST_F(ProjectionReaderTest, SingularLinearMatrixStillFitsTheKeptWindow) {
    doc.ViewWindow = {0, 0, 10, 10};
    CTestProjection p;
    p.magic = kLinearMagic;
    p.bitmap = TestBitmap(3, 3);
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, 200, 100, ui));
    ExpectOnlyMessage(kSingularProjectionText);
    // rx = 0.05 <= ry = 0.1: width 0.1 * 200 = 20, origin left by 5.
    EXPECT_EQ(doc.ViewWindow, (CBox{0, -5, 10, 20}));
}

TEST_F(ProjectionReaderTest, UnusablePixelScaleIsTreatedAsSingular) {
    doc.ViewWindow = {0, 0, 10, 20};
    doc.SiteScaleX = doc.SiteScaleY = 0.5;
    CTestProjection p;
    p.magic = kLinearMagic;
    p.subtype = 1;
    p.m[0] = 0.0; // no width: the view would get NaN coordinates
    p.m[5] = 0.05;
    p.bitmap = TestBitmap(3, 3);
    ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, 200, 100, ui));
    ExpectOnlyMessage(kSingularProjectionText);
    EXPECT_EQ(doc.ViewWindow, (CBox{0, 0, 10, 20}));
    EXPECT_TRUE(std::isfinite(doc.ViewWindow.minX));
    EXPECT_EQ(doc.SiteScaleX, 0.0);
    EXPECT_EQ(doc.SiteScaleY, 0.0);
}

TEST_F(ProjectionReaderTest, UnsupportedSubtypeNamesTheReader) {
    CTestProjection p;
    p.subtype = 2;
    p.bitmap = TestBitmap(3, 3);
    EXPECT_FALSE(Open(p, "a.gpf"));
    ExpectOnlyMessage("Unsupported GPF Filetype. May be for a different product.");
    ui.messages.clear();
    p.magic = kLinearMagic;
    EXPECT_FALSE(Open(p, "a.lpf"));
    ExpectOnlyMessage("Unsupported BPF Filetype. May be for a different product.");
    EXPECT_EQ(doc.projectionKind, kProjectionNone);
    EXPECT_FALSE(doc.mapLoaded);
}

// Every damaged variant is refused with the one message, and the map that
// was loaded before stays exactly as it was.
TEST_F(ProjectionReaderTest, DamagedFilesAreRefusedAndLeaveTheDocument) {
    CTestProjection good;
    good.magic = kLinearMagic;
    good.subtype = 1;
    good.m[0] = good.m[5] = 0.1;
    good.bitmap = TestBitmap(4, 3);
    ASSERT_TRUE(Open(good, "good.lpf"));
    doc.processed = true;
    doc.view.showMap = false;
    const CDocState before = StateOf(doc);

    CTestProjection gps;
    gps.m = NorthAligned(60.0, 25.0, 1e-5);
    gps.bitmap = TestBitmap(5, 5);
    const std::uint32_t n = static_cast<std::uint32_t>(gps.bitmap.size());

    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases;
    auto add = [&](const std::string& name, CTestProjection p) {
        cases.emplace_back(name, p.Bytes());
    };
    auto variant = gps;
    variant.compressedSize = 0;
    add("compressed size 0", variant);
    variant = gps;
    variant.imageSize = 0;
    add("image size 0", variant);
    variant = gps;
    variant.compressedSize = n + 1;
    add("compressed size past the end", variant);
    variant = gps;
    variant.compressedSize = 0xFFFFFFFFu;
    add("compressed size huge", variant);
    variant = gps;
    variant.imageSize = 0xFFFFFFFFu;
    add("image size huge", variant);
    variant = gps;
    variant.zeroTable = true;
    add("all-zero table", variant);
    variant = gps;
    variant.dropStreamBytes = 1;
    add("code stream one byte short", variant);
    variant = gps;
    variant.imageSize = n + 1; // one byte more than the stream holds
    add("image larger than the stream", variant);
    variant = gps;
    variant.bitmap = std::vector<std::uint8_t>(40, 'B');
    add("not a bitmap", variant);
    variant = gps;
    variant.bitmap.resize(25);
    add("bitmap shorter than its headers", variant);
    variant = gps;
    variant.bitmap = TestBitmap(0, 5);
    add("bitmap of width 0", variant);
    auto bytes = gps.Bytes();
    bytes.resize(100);
    cases.emplace_back("header cut", bytes);
    bytes = gps.Bytes();
    bytes.resize(145 + 8 + 500);
    cases.emplace_back("table cut", bytes);
    bytes = gps.Bytes();
    bytes[4] ^= 1;
    cases.emplace_back("wrong magic", bytes);
    cases.emplace_back("empty file", std::vector<std::uint8_t>{});

    for (const auto& [name, file] : cases) {
        ui.messages.clear();
        EXPECT_FALSE(OpenProjectionFile(doc, dir.Write("bad.gpf", file), ui)) << name;
        ASSERT_EQ(ui.messages.size(), 1u) << name;
        EXPECT_EQ(ui.messages[0].text, kNotProjectionText) << name;
        EXPECT_EQ(ui.messages[0].title, "Invalid File") << name;
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error) << name;
        EXPECT_TRUE(StateOf(doc) == before) << name;
    }
}

TEST_F(ProjectionReaderTest, TruncatedStreamIsRefusedByTheParser) {
    CTestProjection p;
    p.bitmap = TestBitmap(2, 2);
    p.dropStreamBytes = 3;
    p.compressedSize = static_cast<std::uint32_t>(p.bitmap.size() - 3);
    p.imageSize = static_cast<std::uint32_t>(p.bitmap.size());
    EXPECT_EQ(ParseProjection(p.Bytes(), ProjectionFileKind::Gps).status,
              ProjectionParseStatus::Damaged);
    p.dropStreamBytes = 0;
    p.compressedSize.reset();
    const auto ok = ParseProjection(p.Bytes(), ProjectionFileKind::Gps);
    EXPECT_EQ(ok.status, ProjectionParseStatus::Ok);
    EXPECT_EQ(ok.contents.bitmap, p.bitmap);
}

TEST_F(ProjectionReaderTest, MissingFileMessageQuotesThePath) {
    const std::string path = dir.File("nowhere.gpf");
    EXPECT_FALSE(OpenProjectionFile(doc, path, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Could not open file \"" + path + "\"");
    EXPECT_EQ(ui.messages[0].title, "File Open Error");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
}

class ProjectionCommandTest : public ProjectionReaderTest {
protected:
    std::string GoodFile() {
        CTestProjection p;
        p.magic = kLinearMagic;
        p.subtype = 1;
        p.m[0] = p.m[5] = 0.1;
        p.bitmap = TestBitmap(6, 2);
        return dir.Write("new.lpf", p.Bytes());
    }
};

TEST_F(ProjectionCommandTest, DialogFilterAndTitleAndCancel) {
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Cancelled);
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_FALSE(ui.choices[0].save);
    EXPECT_EQ(ui.choices[0].filter,
              "Projection Files (gpf.lpf)|*.gpf;*.lpf|GPF (*.gpf)|*.gpf|LPF (*.lpf)|*.lpf||");
    EXPECT_EQ(ui.choices[0].title, "Open a projection file");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectionCommandTest, OpensWithoutAQuestionWhenNothingIsProcessed) {
    ui.QueuePath(GoodFile());
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Opened);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(doc.mapLoaded);
    EXPECT_TRUE(doc.view.showMap);
    EXPECT_EQ(doc.projectionPath, dir.File("new.lpf"));
    EXPECT_EQ(doc.projectionKind, kProjectionLinear);
}

TEST_F(ProjectionCommandTest, ReplacingAProcessedMapAsksFirst) {
    ui.QueuePath(GoodFile());
    ASSERT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Opened);
    doc.processed = true;
    doc.aps.Add(CAPInfo{});
    const CDocState before = StateOf(doc);

    ui.QueuePath(dir.File("new.lpf"));
    ui.QueueAnswer(MsgAnswer::No);
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Declined);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Replacing current map will results in recalculation. Do you really want to do it?");
    EXPECT_EQ(ui.messages[0].title, "Replace Current Map");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(StateOf(doc) == before);

    // Yes, but the file is damaged: the processed study stays.
    ui.messages.clear();
    ui.QueuePath(dir.Write("bad.lpf", {1, 2, 3}));
    ui.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Failed);
    EXPECT_TRUE(StateOf(doc) == before);

    // Yes and a sound file: APs exist, so the collection must be reloaded.
    ui.messages.clear();
    ui.QueuePath(dir.File("new.lpf"));
    ui.QueueAnswer(MsgAnswer::Yes);
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::ReloadCollection);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(doc.processed);
    EXPECT_TRUE(doc.mapLoaded);
}

TEST_F(ProjectionCommandTest, RefusedWhileALongOperationRuns) {
    ASSERT_TRUE(doc.busy.TrySet());
    ui.QueuePath(GoodFile());
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Busy);
    EXPECT_TRUE(ui.choices.empty());
    EXPECT_FALSE(doc.mapLoaded);
}

} // namespace
} // namespace tarvo
