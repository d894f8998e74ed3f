#pragma once
// The main window's commands beyond the control panel's: the four survey
// views of View > Survey Views (display types 6..9, offered while site-wide
// coverage is present, one at a time and each turned off by choosing it
// again), and File > Report as PDF, which writes the study report as one
// PDF file on the worker with the "Reports" page's options.

#include "panel/StudyRunner.h"

#include <QObject>

#include <array>

class QAction;

namespace tarvo {

class CDocumentHost;
class CMainFrame;

class CSurveyCommands : public QObject {
    Q_OBJECT

public:
    // Takes the actions from the frame's action table by name.
    CSurveyCommands(CDocumentHost& host, CMainFrame& frame);

    // "PDF File (*.pdf)|*.pdf|All files (*.*)|*.*||"
    static const char* const kPdfFilter;

private:
    void chooseView(int displayType);
    void writePdf();
    void refresh();

    CDocumentHost& host_;
    CStudyRunner runner_;
    std::array<QAction*, 4> views_{};
    QAction* pdf_ = nullptr;
};

} // namespace tarvo
