// Hostile and damaged inputs of the readers: paths that are no regular file,
// workspaces whose settings lie outside their ranges, map images smaller
// than their headers say and GPS locations off the globe.

#include "analysis/ProjectionOpen.h"
#include "formats/BitmapFile.h"
#include "formats/ProjectionWriter.h"
#include "formats/SsdReader.h"
#include "formats/WorkspaceCommands.h"
#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "model/LittleEndian.h"
#include "support/FakeUi.h"
#include "support/SsdBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <sys/stat.h>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;

// A folder, a named pipe without a writer and a 64 GiB sparse file, each
// under a name that the readers would take for their own kind of file.
std::vector<std::string> FilesThatAreNoFiles(const CTempDir& dir, const std::string& ext) {
    std::vector<std::string> paths{dir.File("folder" + ext), dir.File("pipe" + ext)};
    std::filesystem::create_directory(paths[0]);
    EXPECT_EQ(::mkfifo(paths[1].c_str(), 0600), 0);
    const std::string sparse = dir.File("huge" + ext);
    dir.Write("huge" + ext, {});
    std::error_code error;
    std::filesystem::resize_file(sparse, std::uint64_t{64} << 30, error);
    if (!error)
        paths.push_back(sparse);
    return paths;
}

CDataFile FileEntry(const std::string& path) {
    CDataFile entry;
    entry.title = path;
    entry.path = path;
    return entry;
}

// Every reader answers such a path with its open message, promptly (no
// whole-file allocation, no wait for a pipe's writer), and keeps the study.
TEST(HostileFiles, EveryReaderRefusesThemWithItsOpenMessage) {
    CTempDir dir;
    for (const std::string& path : FilesThatAreNoFiles(dir, ".ssd")) {
        CFakeUi ui;
        CTarvoAnalyzerDoc doc;
        doc.files.Add(FileEntry(path));
        EXPECT_FALSE(OpenAndReadSurveyFile(doc, 0, ui));
        EXPECT_EQ(ui.Said(), "File Open Error: Could not open file \"" + path + "\".");
        EXPECT_EQ(doc.files[0].selected, 0);
    }
    for (const char* ext : {".lpf", ".tws"}) {
        for (const std::string& path : FilesThatAreNoFiles(dir, ext)) {
            CFakeUi ui;
            CTarvoAnalyzerDoc doc;
            doc.spareText1 = "kept";
            const bool read = ext[1] == 'l' ? OpenProjectionFile(doc, path, ui)
                                            : OpenWorkspaceFile(doc, path, ui);
            EXPECT_FALSE(read) << path;
            EXPECT_EQ(ui.Said(), "File Open Error: Could not open file \"" + path + "\"");
            EXPECT_EQ(doc.spareText1, "kept");
            if (ext[1] == 'l') { // the tool peeks into it, and must not wait
                EXPECT_FALSE(IsWorkspaceFile(path));
            }
        }
    }
}

CTarvoAnalyzerDoc Reread(const CTarvoAnalyzerDoc& doc) {
    const auto bytes = WriteWorkspace(doc);
    EXPECT_TRUE(bytes);
    CFakeUi ui;
    CTarvoAnalyzerDoc read;
    EXPECT_EQ(ReadWorkspace(read, *bytes, ui), WorkspaceReadStatus::Ok);
    return read;
}

TEST(HostileWorkspace, SettingsComeBackInTheirRanges) {
    CTarvoAnalyzerDoc doc;
    doc.gridLineCount = 2000000000;
    doc.pathWidth = -4;
    doc.coverageOpacity = 4096;
    doc.coverageMode = 7;
    doc.coverageDisplayType = -1;
    doc.panel.page = 12;
    doc.PowerLow = INT_MIN;
    doc.PowerHigh = INT_MAX;
    doc.Resolution = std::nan("");
    const CTarvoAnalyzerDoc read = Reread(doc);
    EXPECT_EQ(read.gridLineCount, 10);
    EXPECT_EQ(read.pathWidth, 1);
    EXPECT_EQ(read.coverageOpacity, 255);
    EXPECT_EQ(read.coverageMode, 0);
    EXPECT_EQ(read.coverageDisplayType, kDisplayNone);
    EXPECT_EQ(read.panel.page, 0);
    EXPECT_EQ(read.PowerLow, -200);
    EXPECT_EQ(read.PowerHigh, 50);
    EXPECT_EQ(read.Resolution, 0.0);

    // Ends that cross give the default range back; the rest keeps its place.
    doc = CTarvoAnalyzerDoc{};
    doc.gridLineCount = 1;
    doc.pathWidth = 30;
    doc.PowerLow = -30;
    doc.PowerHigh = -60;
    doc.Resolution = -2.0;
    const CTarvoAnalyzerDoc crossed = Reread(doc);
    EXPECT_EQ(crossed.gridLineCount, 3);
    EXPECT_EQ(crossed.pathWidth, 3);
    EXPECT_EQ(crossed.PowerLow, -90);
    EXPECT_EQ(crossed.PowerHigh, -30);
    EXPECT_EQ(crossed.Resolution, 0.0);
}

// A 24-bit bitmap of 4 x 4 pixels whose header may claim another size.
std::vector<std::uint8_t> Bitmap4x4(std::int32_t claimedWidth, std::int32_t claimedHeight) {
    auto bmp = EncodeBitmapFile(4, 4, std::vector<std::uint8_t>(4 * 4 * 3, 90));
    PutU32(bmp.data() + 18, static_cast<std::uint32_t>(claimedWidth));
    PutU32(bmp.data() + 22, static_cast<std::uint32_t>(claimedHeight));
    return bmp;
}

TEST(HostileProjection, AMapSmallerThanItsHeaderIsRefused) {
    ProjectionMatrix4 m{};
    m[0][0] = m[1][1] = 0.05;
    CFakeUi ui;
    CTarvoAnalyzerDoc doc;
    const auto good = EncodeProjectionFile(ProjectionFileKind::Linear, 1, m, Bitmap4x4(4, 4));
    ASSERT_TRUE(ReadProjection(doc, good, ProjectionFileKind::Linear, 800, 600, ui));
    const CTarvoAnalyzerDoc before = doc;
    const auto lying =
        EncodeProjectionFile(ProjectionFileKind::Linear, 1, m, Bitmap4x4(65535, 65535));
    EXPECT_FALSE(ReadProjection(doc, lying, ProjectionFileKind::Linear, 800, 600, ui));
    EXPECT_EQ(ui.Said(), std::string("Invalid File: ") + kNotProjectionText);
    EXPECT_EQ(doc.ImageHeight, 4);
    EXPECT_EQ(doc.mapBytes, before.mapBytes);
    EXPECT_EQ(doc.MapExtentHeight, before.MapExtentHeight);

    // Rows as stored must all be there; run-length rows at least start.
    auto bmp = Bitmap4x4(4, 4);
    EXPECT_TRUE(BitmapHoldsItsPixels(bmp));
    EXPECT_FALSE(BitmapHoldsItsPixels(std::span(bmp).first(bmp.size() - 1)));
    PutU16(bmp.data() + 28, 8);
    PutU32(bmp.data() + 30, 1); // run-length coded, 8 bits
    EXPECT_TRUE(BitmapHoldsItsPixels(bmp));
    PutU32(bmp.data() + 30, 4); // an embedded JPEG
    EXPECT_FALSE(BitmapHoldsItsPixels(bmp));
}

TEST(HostileSurvey, GpsLocationsOffTheGlobeAreSkippedAndCounted) {
    test::CSampleSpec a, b;
    b.mac[5] = 7;
    test::CSsdBuilder walk;
    walk.Gps(60.0, 25.0, {a})
        .Gps(596.0, 25.0, {a, b}) // the 32-bit field near its end
        .Gps(60.0, -181.0, {b})
        .Gps(-90.0, 180.0, {b}, 1) // on the limits: kept
        .Gps(-90.001, 0.0, {a});
    CFakeUi ui;
    CTarvoAnalyzerDoc doc;
    doc.files.Add(FileEntry("walk.ssd"));
    ASSERT_TRUE(ReadSurveyFile(doc, walk.Bytes(), 0, ui));
    ASSERT_EQ(doc.points.GetSize(), 2);
    EXPECT_EQ(doc.points[0].northing, 60 * 3600000);
    EXPECT_EQ(doc.points[1].northing, -90 * 3600000);
    EXPECT_EQ(doc.points[1].samples.GetSize(), 1);
    EXPECT_EQ(doc.points[1].samples[0].bssid, (MacAddress{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 7}));
    EXPECT_EQ(doc.files[0].pointCount, 2);
    EXPECT_EQ(doc.files[0].skippedLocations, 3);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
} // namespace tarvo
