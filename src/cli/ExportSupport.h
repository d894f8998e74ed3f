#pragma once
// Shared steps of the export and render commands: the offscreen
// GUI application that rendering needs, the AP selection option, and the
// settings a freshly loaded study gets before its pictures are drawn.

#include "model/Document.h"

#include <ostream>
#include <string>

namespace tarvo {

// Creates a QGuiApplication on the offscreen platform (unless one exists or
// QT_QPA_PLATFORM says otherwise); fonts and images need it. Does nothing
// in a build without the view library.
void EnsureOffscreenGui();

// "all", or MAC texts separated by commas (either case, ':' or '-'
// separators). Returns false, naming the MAC on err, when one is unknown.
bool SelectApsByList(CTarvoAnalyzerDoc& doc, const std::string& selection,
                     const std::string& command, std::ostream& err);

// Selects every AP when none is selected: a fresh study starts unselected,
// and its exports would otherwise show no coverage.
void SelectAllWhenNoneSelected(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
