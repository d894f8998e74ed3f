#include "export/PdfReport.h"

#include "support/FakeUi.h"
#include "support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>

namespace tarvo {
namespace {

using test::CFakeUi;
using test::CTempDir;

struct CRenderCall {
    int type;
    bool path, apIcons, marked, sources;
    bool operator==(const CRenderCall&) const = default;
};

// Records the pictures asked for; each a plain grey.
struct CFakeRenderer {
    std::vector<CRenderCall> calls;
    ReportRenderer Get() {
        return [this](CTarvoAnalyzerDoc&, int type, bool path, bool ap, bool marked, bool sources,
                      IUiServices&) {
            calls.push_back({type, path, ap, marked, sources});
            QImage image(800, 600, QImage::Format_RGB32);
            image.fill(QColor(128, 128, 128));
            return image;
        };
    }
};

// A processed linear study: one AP with enough samples, a 2 x 2 coverage
// grid, a marked AP and an interference source.
CTarvoAnalyzerDoc Study() {
    CTarvoAnalyzerDoc doc;
    doc.processed = true;
    doc.projectionKind = kProjectionLinear;
    doc.linearPointsPresent = true;
    doc.files.Add(CDataFile{"walk.ssd", "/s/walk.ssd", "", "", 1, 0, 0xFF});
    CAPInfo ap;
    ap.selected = 1;
    ap.filteredSamples.SetSize(3);
    ap.rows = ap.columns = 2;
    ap.matrix.Vector() = {-60, -60, -60, -60};
    doc.aps.Add(ap);
    doc.markers.Add(CAPMarker{});
    doc.sources.Add(CISMarker{});
    doc.coveragePresent = true;
    doc.AnalysisBox = {0.0, 0.0, 10.0, 10.0};
    doc.CoverageRows = doc.CoverageCols = 2;
    doc.StrengthMatrix.Vector() = {-60, -60, -60, -60};
    doc.MarginMatrix.Vector() = {30, 30, 30, 30};
    return doc;
}

TEST(PdfReport, PicturesFollowTheReportOptionsAndTheViewsAsked) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = Study();
    CFakeUi ui;
    CFakeRenderer renderer;
    CReportRequest request;
    request.path = dir.File("r.pdf");
    request.open = false;
    request.extras.views = {kDisplayStrongestAp, kDisplaySnrMargin};
    ASSERT_EQ(WritePdfReport(doc, request, ReportPage::A4, ui, renderer.Get()),
              ReportResult::Written);
    EXPECT_EQ(renderer.calls,
              (std::vector<CRenderCall>{{kDisplayNone, true, false, false, false},
                                        {kDisplayApBands, false, true, true, true},
                                        {kDisplayStrengthBands, false, false, false, false},
                                        {kDisplayApCountBands, false, false, false, false},
                                        {kDisplayStrongestAp, false, false, false, false},
                                        {kDisplaySnrMargin, false, false, false, false}}));
    EXPECT_EQ(test::ReadText(request.path).substr(0, 5), "%PDF-");
    EXPECT_TRUE(ui.messages.empty()) << ui.Said();
    EXPECT_EQ(ui.progress.Positions().back(), 100);
    EXPECT_FALSE(ui.progress.Visible());

    // Sections off, no coverage: the survey path and the AP coverage only
    // as the options and the study allow.
    renderer.calls.clear();
    request.options.showSurveyPath = false;
    request.options.showMarkedAps = false;
    doc.coveragePresent = false;
    ASSERT_EQ(WritePdfReport(doc, request, ReportPage::Letter, ui, renderer.Get()),
              ReportResult::Written);
    EXPECT_EQ(renderer.calls,
              (std::vector<CRenderCall>{{kDisplayApBands, false, true, false, true}}));
}

TEST(PdfReport, CancelWritesNothingAndAFailedFileIsSaid) {
    CTempDir dir;
    CTarvoAnalyzerDoc doc = Study();
    CFakeRenderer renderer;
    CReportRequest request;
    request.path = dir.File("r.pdf");
    request.open = false;
    CFakeUi ui;
    ui.progress.CancelAtText("Draw Measurement Path...");
    EXPECT_EQ(WritePdfReport(doc, request, ReportPage::A4, ui, renderer.Get()),
              ReportResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(request.path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.progress.Visible());

    CFakeUi refused;
    request.path = dir.File("missing/folder/r.pdf");
    EXPECT_EQ(WritePdfReport(doc, request, ReportPage::A4, refused, renderer.Get()),
              ReportResult::Failed);
    ASSERT_EQ(refused.messages.size(), 1u);
    EXPECT_EQ(refused.messages[0].title, "File Open Error");
}

} // namespace
} // namespace tarvo
