#include "app/FrameActions.h"

namespace tarvo {

namespace {

constexpr CFrameCommand kCommands[] = {
    {"fileNew", "&New", "Start a new study\nNew", "Ctrl+N", true, false},
    {"fileOpen", "&Open Existing Project...", "Open an existing document\nOpen", "Ctrl+O", true,
     false},
    {"fileSave", "&Save Project", "Save the active document\nSave", "Ctrl+S", true, false},
    {"fileSaveAs", "Save Project &As...", "Save the study under a new name\nSave As", "", true,
     false},
    {"filePrint", "&Print...", "Print the active document\nPrint", "Ctrl+P", true, false},
    {"filePrintPreview", "Print Pre&view", "Show the printed page\nPrint Preview", "", true, false},
    {"filePrintSetup", "P&rint Setup...", "Choose the printer and the page\nPrint Setup", "", true,
     false},
    {"appExit", "E&xit", "Quit the program\nExit", "", true, false},
    {"fileNewPlan", "New Floor Plan from Ima&ge...",
     "Make a floor plan of a picture, scaled by a line of known length\nNew Floor Plan", "", true,
     false},
    {"fileImportSurvey", "&Import Survey Data...",
     "Save measurements of other tools (CSV, iw scans, phone logs) as a survey file\nImport "
     "Survey Data",
     "", true, false},
    {"fileRecordWalk", "Record &Walk...",
     "Record a walk on the plan: click where you stand and the Wi-Fi adapter scans\nRecord "
     "Walk",
     "", true, false},
    {"viewThroughput", "T&hroughput",
     "Show the throughput measured along recorded walks\nThroughput", "", true, true},
    {"viewToolbar", "&Toolbar", "Show or hide the toolbar\nToolbar", "", true, true},
    {"viewStatusBar", "&Status Bar", "Show or hide the status bar\nStatus Bar", "", true, true},
    {"estimatorStudy", "Study Method",
     "Place the APs by the residual balance around the strongest sample\nStudy Method", "", true,
     true},
    {"estimatorJoint", "Joint Fit",
     "Place the APs by fitting position and propagation together\nJoint Fit", "", true, true},
    {"fileReportPdf", "Report as P&DF...", "Write the study report as one PDF file\nReport as PDF",
     "", true, false},
    {"viewSnrMargin", "Signal-to-&Noise Margin",
     "Show the strongest signal over the noise floor\nSignal-to-Noise Margin", "", true, true},
    {"viewSecondary", "&Secondary Coverage",
     "Show the second-strongest AP's signal\nSecondary Coverage", "", true, true},
    {"viewCoChannel", "&Co-channel Overlap",
     "Show how many other APs share the strongest AP's channel\nCo-channel Overlap", "", true,
     true},
    {"viewStrongestAp", "Strongest &AP", "Show which AP is strongest at each place\nStrongest AP",
     "", true, true},
    {"estimatorRobust", "Robust Peak or Fit",
     "Place the APs at the peak of their readings, or by a robust fit where it explains them, "
     "each with an uncertainty radius\nRobust Peak or Fit",
     "", true, true},
    {"coverageStudy", "Study Model",
     "Make the maps by the log-distance model mixed with the nearest samples\nStudy Model", "",
     true, true},
    {"coverageSurvey", "Survey Model",
     "Make the maps from the heard samples, with no signal where the AP was not heard\nSurvey "
     "Model",
     "", true, true},
    {"evaluateMaps", "Evaluate Map &Accuracy...",
     "Cross-validate the maps over the survey locations\nEvaluate Map Accuracy", "", true, false},
    {"appAbout", "&About TarvoAnalyzer...",
     "Display program information, version number and copyright\nAbout", "", true, false},
    {"editUndo", "&Undo", "Undo the last action\nUndo", "Ctrl+Z;Alt+Backspace", false, false},
    {"editCut", "Cu&t", "Cut the selection and put it on the Clipboard\nCut", "Ctrl+X;Shift+Del",
     false, false},
    {"editCopy", "&Copy", "Copy the selection and put it on the Clipboard\nCopy", "Ctrl+C;Ctrl+Ins",
     false, false},
    {"editPaste", "&Paste", "Insert Clipboard contents\nPaste", "Ctrl+V;Shift+Ins", false, false},
    {"nextPane", "Next Pane", "Switch to the next pane\nNext Pane", "F6", true, false},
    {"previousPane", "Previous Pane", "Switch to the previous pane\nPrevious Pane", "Shift+F6",
     true, false},
};

// clang-format off
constexpr const char* kFileMenu[] = {"fileOpen",   "fileSave",         "fileSaveAs",     kSeparator,
                                     "filePrint",  "filePrintPreview", "filePrintSetup", kSeparator,
                                     kRecentFiles, kSeparator,         "appExit",
                                     // One's own material and the hand-over report, after the
                                     // standard items.
                                     kSeparator, "fileNewPlan", "fileImportSurvey",
                                     "fileRecordWalk", kSeparator, "fileReportPdf"};
// clang-format on
constexpr const char* kViewMenu[] = {"viewToolbar",    "viewStatusBar",    kSeparator,
                                     kEstimatorMenu,   kCoverageModelMenu, kSurveyViewMenu,
                                     "viewThroughput", "evaluateMaps"};
constexpr const char* kHelpMenu[] = {"appAbout"};

constexpr CMenuLayout kMenus[] = {
    {"&File", kFileMenu},
    {"&View", kViewMenu},
    {"&Help", kHelpMenu},
};

constexpr const char* kToolbar[] = {
    "fileOpen",    "fileSave",       "filePrint",          kSeparator,
    "zoomIn",      "zoomOut",        "fitInWindow",        "fitInMap",
    kSeparator,    "insertAp",       "insertInterference", "moveResource",
    kSeparator,    "showMap",        "showCompass",        "measureDistance",
    "showLegend",  "showInfoWindow", "takeSnapshot",       "createKml",
    "outputTable", kSeparator,       "appAbout",           kSeparator,
    "editCut",     "editCopy",       "editPaste"};

} // namespace

std::span<const CFrameCommand> FrameCommands() {
    return kCommands;
}

std::span<const CMenuLayout> MenuLayout() {
    return kMenus;
}

std::span<const char* const> ToolbarLayout() {
    return kToolbar;
}

} // namespace tarvo
