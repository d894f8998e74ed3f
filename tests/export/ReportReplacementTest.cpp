// A report replaces the earlier one as a whole or not at all: the HTML and
// its picture folder change together; a cancelled report, or one whose
// pictures cannot be written, leaves the earlier report byte for byte; files
// of the user's own in the folder, and the modes of both, stay.

#include "export/StudyReport.h"

#include "support/FakeUi.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::CFakeUi;
using test::CTempDir;
using test::ReadBytes;

using CSnapshot = std::map<std::string, std::vector<std::uint8_t>>;

// Every file under dir by its relative name, with its bytes.
CSnapshot Files(const fs::path& dir) {
    CSnapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = ReadBytes(entry.path().string());
    return files;
}

std::vector<std::string> Temporaries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind(".tarvo-", 0) == 0)
            names.push_back(entry.path().filename().string());
    return names;
}

// Pictures in one grey, so that two reports' pictures differ.
ReportRenderer Grey(int level) {
    return [level](CTarvoAnalyzerDoc&, int, bool, bool, bool, bool, IUiServices&) {
        QImage image(800, 600, QImage::Format_RGB32);
        image.fill(QColor(level, level, level));
        return image;
    };
}

// A linear study with one selected survey file, one estimated AP and
// coverage: a report of it has the path, the individual analysis, the
// reliability and both coverage pictures, each with its legend.
CTarvoAnalyzerDoc Study() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.projectionKind = kProjectionLinear;
    doc.linearPointsPresent = true;
    doc.coveragePresent = true;
    doc.files = {CDataFile{"a.ssd", "/s/a.ssd", "", "", 1, 0, 0xFF}};
    CAPInfo ap;
    ap.selected = ap.valid = 1;
    ap.samples.SetSize(5);
    ap.filteredSamples.SetSize(5);
    ap.slope = -25.0;
    ap.intercept = -40.0;
    ap.sigma = 4.0;
    doc.aps.Add(ap);
    return doc;
}

class ReportReplacement : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    CReportRequest Request(std::time_t now) {
        CReportRequest r;
        r.path = html;
        r.now = now;
        r.open = false;
        return r;
    }
    ReportResult Write(const CReportRequest& request, int grey) {
        return WriteStudyReport(doc, request, ui, Grey(grey));
    }
    CTempDir dir;
    std::string html = dir.File("site.html");
    fs::path folder = dir.Path() / "site";
    CTarvoAnalyzerDoc doc = Study();
    CFakeUi ui;
};

TEST_F(ReportReplacement, TheNewReportTakesThePlaceOfTheOldAsAWhole) {
    ASSERT_EQ(Write(Request(0), 100), ReportResult::Written);
    const std::size_t oldPictures = Files(folder).size() - 1; // all but report.css
    ASSERT_GT(oldPictures, 30u);
    // The user's own style sheet and files in the folder.
    std::ofstream(folder / "report.css") << "h3 { color: red; }";
    std::ofstream(folder / "notes.txt") << "walked on Monday";
    fs::create_directory(folder / "photos");
    std::ofstream(folder / "photos" / "door.jpg") << "JPEG";
    struct stat notes {};
    ASSERT_EQ(::stat((folder / "notes.txt").c_str(), &notes), 0);

    // A smaller report: no path, no reliability, no coverage pictures.
    CReportRequest request = Request(86400);
    request.options.showSurveyPath = request.options.showCoverageReliability = false;
    request.options.showApCoverage = request.options.showApOverlay = false;
    ASSERT_EQ(Write(request, 200), ReportResult::Written);

    const CSnapshot files = Files(folder);
    // Individual analysis: its picture and the AP's swatch, numbered from 3.
    const std::vector<std::string> expected{"bmp3.bmp", "bmp4.bmp", "notes.txt", "photos/door.jpg",
                                            "report.css"};
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files)
        names.push_back(name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(files.at("bmp3.bmp")[54], 200) << "the new picture";
    EXPECT_EQ(std::string(files.at("report.css").begin(), files.at("report.css").end()),
              "h3 { color: red; }");
    struct stat kept {};
    ASSERT_EQ(::stat((folder / "notes.txt").c_str(), &kept), 0);
    EXPECT_EQ(kept.st_ino, notes.st_ino) << "taken over as a hard link";
    const std::string text = test::ReadText(html);
    EXPECT_NE(text.find("Report date: Fri Jan  2 00:00:00 1970"), std::string::npos);
    EXPECT_EQ(text.find("bmp2.bmp"), std::string::npos);
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

TEST_F(ReportReplacement, ACancelledReportLeavesTheEarlierOneAsItWas) {
    ASSERT_EQ(Write(Request(0), 100), ReportResult::Written);
    const CSnapshot earlier = Files(dir.Path());
    for (const char* step : {"Write Down File's Info...", "Draw Measurement Path...",
                             "Draw Coverage of Selected APs...",
                             "Draw the Number of APS per Location...", "Finished..."}) {
        CFakeUi cancelling;
        cancelling.progress.CancelAtText(step);
        CReportRequest request = Request(86400);
        request.open = true;
        EXPECT_EQ(WriteStudyReport(doc, request, cancelling, Grey(200)), ReportResult::Cancelled)
            << step;
        EXPECT_EQ(Files(dir.Path()), earlier) << step;
        EXPECT_TRUE(Temporaries(dir.Path()).empty()) << step;
        EXPECT_TRUE(cancelling.opened.empty()) << step;
        EXPECT_TRUE(cancelling.messages.empty()) << step;
        EXPECT_FALSE(cancelling.progress.Visible()) << step;
    }
}

TEST_F(ReportReplacement, APictureThatCannotBeWrittenLeavesTheEarlierReport) {
    ASSERT_EQ(Write(Request(0), 100), ReportResult::Written);
    const CSnapshot earlier = Files(dir.Path());
    {
        test::CFileSizeLimit full(100000); // the legends fit, an 800 x 600 picture does not
        EXPECT_EQ(Write(Request(86400), 200), ReportResult::Failed);
    }
    EXPECT_EQ(ui.Said(), "File Open Error: Error writing file " + (folder / "bmp2.bmp").string() +
                             ". (File too large)");
    EXPECT_EQ(Files(dir.Path()), earlier);
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

TEST_F(ReportReplacement, TheEarlierReportsModesAreKept) {
    ASSERT_EQ(Write(Request(0), 100), ReportResult::Written);
    fs::permissions(html, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_EQ(Write(Request(86400), 200), ReportResult::Written);
    EXPECT_EQ(fs::status(html).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::status(folder).permissions(),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

} // namespace
} // namespace tarvo
