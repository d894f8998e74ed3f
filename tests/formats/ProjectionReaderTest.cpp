#include "formats/ProjectionReader.h"
#include "analysis/ProjectionOpen.h"

#include "analysis/Coordinates.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>

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

    std::vector<std::uint8_t> Bytes() const {
        const std::uint32_t header = magic == kLinearMagic ? 141 : 145;
        std::vector<std::uint8_t> out;
        Put32(out, header);
        Put32(out, magic);
        out.insert(out.end(), {1, 0, 0, 0, subtype});
        for (double d : m) {
            std::uint64_t bits;
            std::memcpy(&bits, &d, 8);
            Put32(out, static_cast<std::uint32_t>(bits));
            Put32(out, static_cast<std::uint32_t>(bits >> 32));
        }
        out.resize(header, 0);
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

// A 24-bit bitmap file with all its rows of pixels.
std::vector<std::uint8_t> TestBitmap(std::int32_t w, std::int32_t h) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) / 4 * 4;
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out{'B', 'M'};
    for (std::uint32_t v : {54 + pixels, 0u, 54u, 40u, static_cast<std::uint32_t>(w),
                            static_cast<std::uint32_t>(h), 0x180001u, 0u, pixels, 0u, 0u, 0u, 0u})
        Put32(out, v); // 0x180001: one plane, 24 bits
    for (std::uint32_t i = 0; i < pixels; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 37 + 11));
    return out;
}

// A north-aligned geographic matrix: column = b * lon + c, row = d * lat + f,
// with the map's top-left pixel at (lat0, lon0) and the given degrees per
// pixel.
std::array<double, 16> NorthAligned(double lat0, double lon0, double degPerPixel) {
    std::array<double, 16> m{};
    m[1] = 1.0 / degPerPixel;
    m[3] = -m[1] * lon0;
    m[4] = -1.0 / degPerPixel;
    m[7] = -m[4] * lat0;
    m[10] = m[15] = 1.0;
    return m;
}

CTestProjection PixelScale(double sx, double sy, std::vector<std::uint8_t> bitmap) {
    CTestProjection p;
    p.magic = kLinearMagic;
    p.subtype = 1;
    p.m[0] = sx;
    p.m[5] = sy;
    p.bitmap = std::move(bitmap);
    return p;
}

// What a refused file must not change.
auto StateOf(const CTarvoAnalyzerDoc& d) {
    return std::make_tuple(
        d.mapBytes, d.mapPicture.Bytes(), d.mapPicture.Width(), d.mapPicture.Height(),
        d.ProjectionMatrix, d.projectionSubtype, d.projectionKind, d.ImageWidth, d.ImageHeight,
        d.SiteScaleX, d.SiteScaleY, d.MapExtentHeight, d.MapExtentWidth, d.ViewWindow, d.mapLoaded,
        d.processed, d.linearCoordinates, d.geographicLinear, d.view.showMap, d.projectionPath);
}

class ProjectionReaderTest : public ::testing::Test {
protected:
    bool Open(const CTestProjection& p, const std::string& name) {
        return OpenProjectionFile(doc, dir.Write(name, p.Bytes()), ui);
    }
    void ExpectOnlyMessage(const std::string& text, const std::string& title = "Invalid File") {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].title, title);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Error);
    }

    test::CTempDir dir;
    test::CFakeUi ui;
    CTarvoAnalyzerDoc doc;
};

// The magic, not the file name, chooses the reader; every kind and subtype
// yields the bitmap byte for byte and the matrix as stored.
TEST_F(ProjectionReaderTest, EveryKindAndSubtypeDecodesByteExactly) {
    struct Case {
        const char* name;
        std::uint32_t magic;
        std::uint8_t subtype;
        std::int32_t kind;
        bool linearCoordinates, geographicLinear;
    };
    // Before: linear coordinates off only for GPS, geographic linear off only
    // for linear subtype 0, so that each flag set, cleared or kept shows.
    for (const Case& c :
         {Case{"gps0.gpf", kGpsMagic, 0, kProjectionGps, true, true},
          Case{"gps1.gpf", kGpsMagic, 1, kProjectionGps, true, true},
          Case{"gps-magic.lpf", kGpsMagic, 0, kProjectionGps, true, true},
          Case{"plan0.lpf", kLinearMagic, 0, kProjectionLinear, false, true},
          Case{"linear-magic.gpf", kLinearMagic, 1, kProjectionLinear, true, false}}) {
        SCOPED_TRACE(c.name);
        doc = CTarvoAnalyzerDoc{};
        doc.linearCoordinates = c.kind != kProjectionGps;
        doc.geographicLinear = c.kind == kProjectionGps || c.subtype == 1;
        CTestProjection p;
        p.magic = c.magic;
        p.subtype = c.subtype;
        if (c.kind == kProjectionLinear && c.subtype == 1) {
            p.m[0] = 0.1;
            p.m[5] = 0.2;
        } else {
            p.m = NorthAligned(60.0, 25.0, 1e-5);
        }
        p.m[2] = 7.5; // unused entries are kept as they are
        p.bitmap = TestBitmap(3, 2);
        ASSERT_TRUE(Open(p, c.name));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(doc.mapBytes, p.bitmap);
        EXPECT_EQ(doc.mapPicture.Bytes(), p.bitmap);
        EXPECT_EQ(doc.mapPicture.Width(), 3);
        EXPECT_EQ(doc.mapPicture.Height(), 2);
        EXPECT_EQ(doc.ImageWidth, 3);
        EXPECT_EQ(doc.ImageHeight, 2);
        EXPECT_EQ(doc.projectionSubtype, c.subtype);
        EXPECT_EQ(doc.projectionKind, c.kind);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(doc.ProjectionMatrix[i / 4][i % 4], p.m[static_cast<std::size_t>(i)]);
        EXPECT_EQ(doc.linearCoordinates, c.linearCoordinates);
        EXPECT_EQ(doc.geographicLinear, c.geographicLinear);
        EXPECT_TRUE(doc.mapLoaded);
        EXPECT_TRUE(doc.view.showMap);
        EXPECT_FALSE(doc.processed);
        if (c.kind == kProjectionLinear && c.subtype == 1) {
            EXPECT_DOUBLE_EQ(doc.SiteScaleX, 0.1);
            EXPECT_DOUBLE_EQ(doc.SiteScaleY, 0.2);
        }
    }
}

TEST_F(ProjectionReaderTest, PixelScaleGivesMapRectangleAndWindow) {
    const auto p = PixelScale(0.05, 0.05, TestBitmap(1000, 800));
    // 1000 x 800 pixels of 0.05: a 50 x 40 map, the window 10% larger each
    // way. 600 x 480 has the window's own aspect and leaves it as computed;
    // 800 x 600: rx = 60/800 = 0.075 <= ry = 48/600 = 0.08, so the width grows
    // to 0.08 * 800 = 64 and the origin moves left by 2; 100 x 500: rx = 0.6 >
    // ry = 0.096, so the height becomes 0.6 * 500 = 300, the origin moving
    // down by 126.
    struct Case {
        int w, h;
        CBox window;
    };
    for (const Case& c :
         {Case{600, 480, {-4.0, -5.0, 48.0, 60.0}}, Case{800, 600, {-4.0, -7.0, 48.0, 64.0}},
          Case{100, 500, {-130.0, -5.0, 300.0, 60.0}}}) {
        SCOPED_TRACE(c.w);
        ASSERT_TRUE(ReadProjection(doc, p.Bytes(), ProjectionFileKind::Linear, c.w, c.h, ui));
        EXPECT_DOUBLE_EQ(doc.MapExtentHeight, 40.0);
        EXPECT_DOUBLE_EQ(doc.MapExtentWidth, 50.0);
        EXPECT_EQ(doc.mapOriginY, 0.0);
        EXPECT_EQ(doc.mapOriginX, 0.0);
        EXPECT_NEAR(doc.ViewWindow.minY, c.window.minY, 1e-9);
        EXPECT_NEAR(doc.ViewWindow.minX, c.window.minX, 1e-9);
        EXPECT_NEAR(doc.ViewWindow.extentY, c.window.extentY, 1e-9);
        EXPECT_NEAR(doc.ViewWindow.extentX, c.window.extentX, 1e-9);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectionReaderTest, GeographicScaleFromGreatCircleDistances) {
    CTestProjection p;
    p.m = NorthAligned(60.0, 25.0, 1e-5);
    p.bitmap = TestBitmap(300, 200);
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

    // Site coordinates of the corners follow through the forward transform.
    double y = 0, x = 0;
    TransformPoint(doc, true, 60.0, 25.0, y, x, ui);
    EXPECT_NEAR(y, doc.MapExtentHeight, 1e-6);
    EXPECT_NEAR(x, 0.0, 1e-6);
    TransformPoint(doc, true, 59.998, 25.003, y, x, ui);
    EXPECT_NEAR(y, 0.0, 1e-6);
    EXPECT_NEAR(x, doc.MapExtentWidth, 1e-6);
}

// A singular matrix, or a pixel scale without width (which would give the
// view NaN coordinates), is reported; the map is kept, the scales are
// cleared, and the kept window is only fitted to the drawing area.
TEST_F(ProjectionReaderTest, SingularMatrixIsReportedButTheMapIsKept) {
    struct Case {
        const char* name;
        CTestProjection p;
        CBox before, after;
    };
    CTestProjection flat; // a*e - d*b = 0
    flat.m[0] = 1.0;
    flat.m[1] = flat.m[4] = 2.0;
    flat.m[5] = 4.0;
    flat.bitmap = TestBitmap(3, 3);
    CTestProjection zeroLinear;
    zeroLinear.magic = kLinearMagic;
    zeroLinear.bitmap = TestBitmap(3, 3);
    // 200 x 100 area: rx = 0.05 <= ry = 0.1, width 0.1 * 200 = 20, origin
    // left by 5; a 10 x 20 window already fits it.
    for (const Case& c : {Case{"gps", flat, {0, 0, 10, 20}, {0, 0, 10, 20}},
                          Case{"linear", zeroLinear, {0, 0, 10, 10}, {0, -5, 10, 20}},
                          Case{"no width",
                               PixelScale(0.0, 0.05, TestBitmap(3, 3)),
                               {0, 0, 10, 20},
                               {0, 0, 10, 20}}}) {
        SCOPED_TRACE(c.name);
        doc = CTarvoAnalyzerDoc{};
        ui.messages.clear();
        doc.ViewWindow = c.before;
        doc.MapExtentHeight = 9;
        doc.SiteScaleX = doc.SiteScaleY = 0.5;
        const auto kind =
            c.p.magic == kGpsMagic ? ProjectionFileKind::Gps : ProjectionFileKind::Linear;
        ASSERT_TRUE(ReadProjection(doc, c.p.Bytes(), kind, 200, 100, ui));
        ExpectOnlyMessage(kSingularProjectionText);
        EXPECT_EQ(doc.mapBytes, c.p.bitmap);
        EXPECT_TRUE(doc.mapLoaded);
        EXPECT_EQ(doc.SiteScaleX, 0.0);
        EXPECT_EQ(doc.SiteScaleY, 0.0);
        EXPECT_EQ(doc.MapExtentHeight, 9.0);
        EXPECT_EQ(doc.ViewWindow, c.after);
    }
    ui.messages.clear(); // opening the file records its kind all the same
    ASSERT_TRUE(Open(flat, "flat.gpf"));
    ExpectOnlyMessage(kSingularProjectionText);
    EXPECT_EQ(doc.projectionKind, kProjectionGps);
}

TEST_F(ProjectionReaderTest, UnsupportedSubtypeNamesTheReader) {
    CTestProjection p;
    p.subtype = 2;
    p.bitmap = TestBitmap(3, 3);
    for (auto [magic, text] :
         {std::pair{kGpsMagic, "Unsupported GPF Filetype. May be for a different product."},
          std::pair{kLinearMagic, "Unsupported BPF Filetype. May be for a different product."}}) {
        ui.messages.clear();
        p.magic = magic;
        EXPECT_FALSE(Open(p, "a.gpf"));
        ExpectOnlyMessage(text);
        EXPECT_EQ(doc.projectionKind, kProjectionNone);
        EXPECT_FALSE(doc.mapLoaded);
    }
}

// Every damaged variant is refused with the one message, and the map that
// was loaded before stays exactly as it was.
TEST_F(ProjectionReaderTest, DamagedFilesAreRefusedAndLeaveTheDocument) {
    ASSERT_TRUE(Open(PixelScale(0.1, 0.1, TestBitmap(4, 3)), "good.lpf"));
    doc.processed = true;
    doc.view.showMap = false;
    const auto before = StateOf(doc);

    CTestProjection gps;
    gps.m = NorthAligned(60.0, 25.0, 1e-5);
    gps.bitmap = TestBitmap(5, 5);
    const std::uint32_t n = static_cast<std::uint32_t>(gps.bitmap.size());
    using Edit = std::function<void(CTestProjection&)>;
    const std::pair<const char*, Edit> edits[] = {
        {"compressed size 0", [](auto& p) { p.compressedSize = 0; }},
        {"image size 0", [](auto& p) { p.imageSize = 0; }},
        {"compressed size past the end", [n](auto& p) { p.compressedSize = n + 1; }},
        {"compressed size huge", [](auto& p) { p.compressedSize = 0xFFFFFFFFu; }},
        {"image size huge", [](auto& p) { p.imageSize = 0xFFFFFFFFu; }},
        {"all-zero table", [](auto& p) { p.zeroTable = true; }},
        {"code stream one byte short", [](auto& p) { p.dropStreamBytes = 1; }},
        {"image larger than the stream", [n](auto& p) { p.imageSize = n + 1; }},
        {"not a bitmap", [](auto& p) { p.bitmap.assign(40, 'B'); }},
        {"bitmap shorter than its headers", [](auto& p) { p.bitmap.resize(25); }},
        {"bitmap of width 0", [](auto& p) { p.bitmap = TestBitmap(0, 5); }}};
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases;
    for (const auto& [name, edit] : edits) {
        CTestProjection variant = gps;
        edit(variant);
        cases.emplace_back(name, variant.Bytes());
    }
    const auto good = gps.Bytes();
    cases.emplace_back("header cut", std::vector(good.begin(), good.begin() + 100));
    cases.emplace_back("table cut", std::vector(good.begin(), good.begin() + 145 + 8 + 500));
    cases.emplace_back("wrong magic", good);
    cases.back().second[4] ^= 1;
    cases.emplace_back("empty file", std::vector<std::uint8_t>{});

    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        ui.messages.clear();
        EXPECT_FALSE(OpenProjectionFile(doc, dir.Write("bad.gpf", file), ui));
        ExpectOnlyMessage(kNotProjectionText);
        EXPECT_TRUE(StateOf(doc) == before);
    }

    const std::string path = dir.File("nowhere.gpf");
    ui.messages.clear();
    EXPECT_FALSE(OpenProjectionFile(doc, path, ui));
    ExpectOnlyMessage("Could not open file \"" + path + "\"", "File Open Error");
    EXPECT_TRUE(StateOf(doc) == before);
}

class ProjectionCommandTest : public ProjectionReaderTest {
protected:
    std::string GoodFile() {
        return dir.Write("new.lpf", PixelScale(0.1, 0.1, TestBitmap(6, 2)).Bytes());
    }
};

TEST_F(ProjectionCommandTest, DialogThenOpensWithoutAQuestionWhenNothingIsProcessed) {
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Cancelled);
    ASSERT_EQ(ui.choices.size(), 1u);
    EXPECT_FALSE(ui.choices[0].save);
    EXPECT_EQ(ui.choices[0].filter,
              "Projection Files (gpf.lpf)|*.gpf;*.lpf|GPF (*.gpf)|*.gpf|LPF (*.lpf)|*.lpf||");
    EXPECT_EQ(ui.choices[0].title, "Open a projection file");
    EXPECT_FALSE(doc.mapLoaded);

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
    const auto before = StateOf(doc);

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

    ASSERT_TRUE(doc.busy.TrySet()); // refused while a long operation runs
    ui.choices.clear();
    ui.QueuePath(GoodFile());
    EXPECT_EQ(OpenProjectionCommand(doc, ui), ProjectionOpenOutcome::Busy);
    EXPECT_TRUE(ui.choices.empty());
}

} // namespace
} // namespace tarvo
