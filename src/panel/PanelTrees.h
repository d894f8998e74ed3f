#pragma once
// Filling the file list and the AP tree from the document. The trees hold
// nothing of their own beyond item data, checks and swatches.

#include "model/Document.h"

#include <string>

namespace tarvo {

class CApTreeCtrl;

// The root "SSD Files" (item data -1) with one item per survey file (its
// title, path colour and selected flag), expanded.
void FillFileList(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc);

// One root per group of doc.activeGroups (item data ~j) with one item per
// member AP (item data: its index), checks from `selected`, expanded, the
// first root selected. Group swatches show the group colour in colour
// mode 1; AP swatches the colour the AP's contours are drawn in.
void FillApTree(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc);

// Brings checks, swatches and texts up to date in place when the tree
// still lists the same groups and APs (keeping scroll position and
// selection); refills it otherwise.
void RefreshApTree(CApTreeCtrl& tree, const CTarvoAnalyzerDoc& doc);

// "00-11-22-33-44-55, Chan: 6" under SSID groups,
// "00-11-22-33-44-55, SSID:\"lab\"" under channel groups.
std::string ApItemText(const CTarvoAnalyzerDoc& doc, int apIndex);

} // namespace tarvo
