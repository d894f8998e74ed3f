#pragma once
// The main window's commands and where they stand: one table of the
// window's own actions, and the layouts of the menus and the toolbar by
// action name (the map view's commands are named by their actions too).

#include <span>

namespace tarvo {

struct CFrameCommand {
    const char* name;      // the action's objectName
    const char* text;      // menu text with its accelerator
    const char* prompt;    // "status-bar prompt\ntool tip"
    const char* shortcuts; // "Ctrl+X;Shift+Del"; empty for none
    bool enabled;          // false: the command has no handler
    bool checkable;
};

// Every command of the main window itself.
std::span<const CFrameCommand> FrameCommands();

// Layout entries besides action names.
inline constexpr const char* kSeparator = "|";
inline constexpr const char* kRecentFiles = "recentFiles";
// The "Position Estimator" submenu with its two choices.
inline constexpr const char* kEstimatorMenu = "estimatorMenu";
// The "Survey Views" submenu with the four display types beyond the panel's.
inline constexpr const char* kSurveyViewMenu = "surveyViewMenu";
// The actions of that submenu, in display-type order from 6.
inline constexpr const char* kSurveyViewActions[] = {"viewSnrMargin", "viewSecondary",
                                                     "viewCoChannel", "viewStrongestAp"};
// The "Coverage Model" submenu with its two choices.
inline constexpr const char* kCoverageModelMenu = "coverageModelMenu";

struct CMenuLayout {
    const char* title;
    std::span<const char* const> items;
};

// The menu bar, menu by menu.
std::span<const CMenuLayout> MenuLayout();

// The toolbar's buttons in order.
std::span<const char* const> ToolbarLayout();

} // namespace tarvo
