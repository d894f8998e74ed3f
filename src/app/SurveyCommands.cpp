#include "app/SurveyCommands.h"

#include "app/FrameActions.h"
#include "app/MainWindow.h"
#include "export/PdfReport.h"
#include "mapview/DocumentHost.h"

#include <QAction>

namespace tarvo {

const char* const CSurveyCommands::kPdfFilter = "PDF File (*.pdf)|*.pdf|All files (*.*)|*.*||";

namespace {

// The study's name with ".pdf": the workspace path without the extension
// of its file name, or nothing for a study not saved yet.
std::string DefaultPdfName(const std::string& workspacePath) {
    if (workspacePath.empty())
        return {};
    const std::size_t slash = workspacePath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = workspacePath.rfind('.');
    std::string base = workspacePath;
    if (dot != std::string::npos && dot > nameStart)
        base.erase(dot);
    return base + ".pdf";
}

// A chosen name without an extension gets ".pdf".
std::string WithPdfExtension(std::string path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (path.find('.', nameStart) == std::string::npos)
        path += ".pdf";
    return path;
}

} // namespace

CSurveyCommands::CSurveyCommands(CDocumentHost& host, CMainFrame& frame)
    : QObject(&frame), host_(host), runner_(host) {
    for (std::size_t i = 0; i < views_.size(); ++i) {
        views_[i] = frame.Action(QString::fromLatin1(kSurveyViewActions[i]));
        const int type = kDisplaySnrMargin + static_cast<int>(i);
        connect(views_[i], &QAction::triggered, this, [this, type] { chooseView(type); });
    }
    pdf_ = frame.Action(QStringLiteral("fileReportPdf"));
    connect(pdf_, &QAction::triggered, this, &CSurveyCommands::writePdf);
    connect(&host_, &CDocumentHost::documentChanged, this, &CSurveyCommands::refresh);
    connect(&host_, &CDocumentHost::busyChanged, this, &CSurveyCommands::refresh);
    refresh();
}

void CSurveyCommands::chooseView(int displayType) {
    if (host_.isBusy()) {
        refresh();
        return;
    }
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (!doc.processed || !doc.coveragePresent) {
        refresh(); // an action that checked itself unchecks again
        return;
    }
    doc.coverageDisplayType =
        doc.coverageDisplayType == displayType ? static_cast<int>(kDisplayNone) : displayType;
    host_.setModified(true);
    host_.notify(kChangeCoverage | kChangeView);
}

void CSurveyCommands::writePdf() {
    if (host_.isBusy())
        return;
    CTarvoAnalyzerDoc& doc = host_.doc();
    if (doc.aps.IsEmpty())
        return;
    const auto path =
        host_.ui().ChooseSaveFile(kPdfFilter, "Save As", DefaultPdfName(doc.workspacePath));
    if (!path || path->empty())
        return;
    runner_.WritePdfReport(WithPdfExtension(*path), DefaultReportPage(), {});
}

void CSurveyCommands::refresh() {
    // While a worker holds the document the checks keep what they showed
    // when it started; only the enables change.
    if (host_.isBusy()) {
        for (QAction* view : views_)
            view->setEnabled(false);
        pdf_->setEnabled(false);
        return;
    }
    const CTarvoAnalyzerDoc& doc = host_.doc();
    const bool shown = doc.processed && doc.coveragePresent;
    for (std::size_t i = 0; i < views_.size(); ++i) {
        views_[i]->setEnabled(shown);
        views_[i]->setChecked(doc.coverageDisplayType == kDisplaySnrMargin + static_cast<int>(i));
    }
    pdf_->setEnabled(true);
}

} // namespace tarvo
