// Every workspace the program writes, it can open again: the writer refuses
// a study whose workspace would pass the reader's size limit, before
// writing anything, and the reader takes a file right up to that limit,
// reading it field by field from the file rather than whole.

#include "formats/FileIo.h"
#include "formats/WorkspaceCommands.h"
#include "formats/WorkspaceReader.h"
#include "formats/WorkspaceWriter.h"
#include "support/FakeUi.h"
#include "support/HandMadeBitmap.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::CFakeUi;
using test::CTempDir;
using test::ReadBytes;

// A linear study whose map image (1.4 MB) is larger than the reader's
// buffer, with an AP, a location and coverage.
CTarvoAnalyzerDoc Study() {
    CTarvoAnalyzerDoc doc;
    doc.mapLoaded = true;
    doc.projectionKind = kProjectionLinear;
    doc.ImageWidth = doc.ImageHeight = 700;
    doc.mapBytes = test::HandMadeBitmap(700, 700);
    doc.linearPointsPresent = true;
    doc.files.Add(CDataFile{"walk.ssd", "/data/walk.ssd", "", "", 1, 1, 0x112233});
    CAPInfo ap;
    ap.channel = 6;
    ap.samples.Add({1.0, 2.0, -60.0, -95});
    ap.filteredSamples.Add({1.0, 2.0, -60.0, -95});
    ap.matrix.SetSize(400);
    ap.name = "desk";
    doc.aps.Add(ap);
    doc.points.Add(CDataPoint{});
    doc.coveragePresent = true;
    doc.StrengthMatrix.SetSize(20 * 20);
    doc.CoverageRows = doc.CoverageCols = 20;
    return doc;
}

TEST(WorkspaceLimit, TheSizeIsKnownBeforeWritingAndALargerStudyIsRefused) {
    const CTarvoAnalyzerDoc doc = Study();
    const auto bytes = WriteWorkspace(doc);
    ASSERT_TRUE(bytes);
    ASSERT_GT(bytes->size(), std::size_t{1} << 20);
    EXPECT_EQ(WorkspaceFileSize(doc), bytes->size());

    CTempDir dir;
    const std::string path = dir.Write("study.tws", {'e', 'a', 'r', 'l', 'y'});
    CWriteFailure failure;
    EXPECT_FALSE(WriteWorkspaceFile(doc, path, &failure, bytes->size() - 1));
    EXPECT_FALSE(failure.opened);
    EXPECT_EQ(failure.reason, "the study needs a workspace of 2 MB; a workspace can have at most "
                              "2 MB"); // 1.4 MB up to whole megabytes
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{'e', 'a', 'r', 'l', 'y'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);

    // At the limit it is written, as WriteWorkspace has it, and opens.
    ASSERT_TRUE(WriteWorkspaceFile(doc, path, &failure, bytes->size()));
    EXPECT_EQ(ReadBytes(path), *bytes);
    CFakeUi ui;
    CTarvoAnalyzerDoc reopened;
    ASSERT_EQ(ReadWorkspaceFile(reopened, path, ui), WorkspaceReadStatus::Ok);
    EXPECT_EQ(WriteWorkspace(reopened), bytes);
}

TEST(WorkspaceLimit, AFileCutAnywhereIsDamagedAndChangesNothing) {
    const auto bytes = WriteWorkspace(Study());
    ASSERT_TRUE(bytes);
    CTempDir dir;
    // Cuts in the head, in the map image (read past the buffer) and near the end.
    for (const std::size_t cut :
         {std::size_t{9}, std::size_t{300000}, bytes->size() - 1000, bytes->size() - 1}) {
        const std::string path =
            dir.Write("cut.tws", std::vector<std::uint8_t>(bytes->begin(), bytes->begin() + cut));
        CFakeUi ui;
        CTarvoAnalyzerDoc doc;
        doc.spareText1 = "kept";
        EXPECT_EQ(ReadWorkspaceFile(doc, path, ui), WorkspaceReadStatus::Damaged) << cut;
        EXPECT_EQ(doc.spareText1, "kept");
    }
}

TEST(WorkspaceLimit, AFileOfTheLargestSizeOpensOneByteLargerDoesNot) {
    CTarvoAnalyzerDoc doc = Study();
    doc.spareText1 = "at the limit";
    const auto bytes = WriteWorkspace(doc);
    ASSERT_TRUE(bytes);
    CTempDir dir;
    // The workspace, then a hole up to the limit: no disk space, and the
    // reader never reads the hole.
    const std::string path = dir.Write("huge.tws", *bytes);
    std::error_code error;
    fs::resize_file(path, kMaxWorkspaceFileBytes, error);
    if (error)
        GTEST_SKIP() << "no sparse files here: " << error.message();
    CFakeUi ui;
    CTarvoAnalyzerDoc opened;
    ASSERT_TRUE(OpenWorkspaceFile(opened, path, ui)) << ui.Said();
    EXPECT_EQ(opened.spareText1, "at the limit");
    EXPECT_EQ(opened.mapBytes, doc.mapBytes);

    // Larger than a survey may be, it is still told by its magic, whatever
    // its name.
    const std::string named = dir.File("huge.dat");
    fs::rename(path, named);
    EXPECT_TRUE(IsWorkspaceFile(named));
    fs::rename(named, path);

    fs::resize_file(path, kMaxWorkspaceFileBytes + 1);
    CTarvoAnalyzerDoc refused;
    refused.spareText1 = "kept";
    EXPECT_FALSE(OpenWorkspaceFile(refused, path, ui));
    EXPECT_EQ(ui.Said(), "File Open Error: Could not open file \"" + path + "\"");
    EXPECT_EQ(refused.spareText1, "kept");
}

} // namespace
} // namespace tarvo
