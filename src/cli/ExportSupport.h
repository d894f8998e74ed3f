#pragma once
// Shared steps of the export and render commands: the offscreen
// GUI application that rendering needs, the AP selection option, the
// display options, and the settings a freshly loaded study gets before its
// pictures are drawn.

#include "cli/Args.h"
#include "model/Document.h"

#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace tarvo {

// Creates a QGuiApplication on the offscreen platform (unless one exists or
// QT_QPA_PLATFORM says otherwise); fonts and images need it. Does nothing
// in a build without the view library.
void EnsureOffscreenGui();

// "all", or MAC texts separated by commas (either case, ':' or '-'
// separators). Returns false, naming the MAC on err, when one is unknown.
// The AP groups follow the new selection.
bool SelectApsByList(CTarvoAnalyzerDoc& doc, const std::string& selection,
                     const std::string& command, std::ostream& err);

// Selects every AP when none is selected: a fresh study starts unselected,
// and its exports would otherwise show no coverage.
void SelectAllWhenNoneSelected(CTarvoAnalyzerDoc& doc);

// "--colour-mode 0|1|2" (AP contours in each AP's colour, its group's, or
// one common colour) and "--units m|ft" (lengths in metres or feet).
const std::set<std::string>& DisplayValueOptions();
constexpr const char* kDisplayHelp =
    "  --colour-mode 0|1|2  AP coverage colours: 0 each AP its own, 1 the colour of its\n"
    "                       group (APs grouped by SSID), 2 one colour for all; default:\n"
    "                       the workspace's mode, 0 for survey files\n"
    "  --units m|ft         lengths in metres or feet; default: the workspace's unit,\n"
    "                       feet for survey files\n";

// "--overlap-level DBM": the level at which the co-channel view counts
// another AP on the strongest AP's channel (default -85).
constexpr const char* kOverlapLevelOption = "--overlap-level";
constexpr const char* kOverlapLevelHelp =
    "  --overlap-level DBM  the co-channel view counts the other APs on the strongest\n"
    "                       AP's channel heard at or above this level, -200..50 (default\n"
    "                       -85)\n";
// The option's value, the default when it is not given; nothing, after
// "tarvo COMMAND: ..." on err, when it is not a level.
std::optional<int> OverlapLevelOrComplain(CArgs& args, const std::string& command,
                                          std::ostream& err);

// Applies the display options to doc; false, after "tarvo COMMAND: ..." on
// err, when one has a value it does not know.
bool ApplyDisplayOptions(const CArgs& args, CTarvoAnalyzerDoc& doc, const std::string& command,
                         std::ostream& err);

} // namespace tarvo
