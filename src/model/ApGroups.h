#pragma once
// Groups of APs for the AP tree, the legend and colour mode 1: by SSID or by
// channel, over every AP or only the selected ones.

#include "model/Document.h"

namespace tarvo {

// Builds the groups of the document's current sort order (doc.sortBySsid)
// into groupsBySsid or groupsByChannel and copies them into activeGroups.
// Walks the APs in array order; when doc.onlySelected (the "all APs" flag)
// is off, APs without `selected` are left out and make no group.
// By SSID: one group per distinct SSID (exact bytes), named "SSID: \"...\"",
// ordered by the upper-cased SSID (equal keys keep their creation order).
// By channel: "Channel %d, %d MHz", ordered by channel. Colours come from
// the hue wheel with a seed that starts at 0 for each run and advances by
// 52 (mod 252) per new group, in creation order. A group's anySelected is
// set when any member is selected.
void BuildApGroups(CTarvoAnalyzerDoc& doc);

// The same groups built again after an edit of the APs (a record renamed,
// moved to another SSID or channel, deleted): a group that was there
// before, found by its name, keeps its colour, which the user may have
// picked; only new groups take wheel colours.
void RebuildApGroups(CTarvoAnalyzerDoc& doc);

} // namespace tarvo
