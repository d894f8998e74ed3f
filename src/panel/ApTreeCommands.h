#pragma once
// What clicks in the file list and the AP tree do to the document. Item
// data as the trees hold it: file list root -1, file i -> i + 2; AP tree
// AP item -> the AP's index, group item j -> ~j (negative). Like the panel
// commands, each returns the DocChange bits it touched.

#include "mapview/DialogService.h"
#include "model/Document.h"
#include "model/UiServices.h"

namespace tarvo {

constexpr int kFileListRootData = -1;
inline int FileItemData(int file) {
    return file + 2;
}
inline int GroupItemData(int group) {
    return ~group;
}

// A check box of the file list: one file, or every file for the root.
unsigned TickFile(CTarvoAnalyzerDoc& doc, int itemData, bool on);

// A check box of the AP tree (group or AP). Contours are computed for every
// AP ticked on that has at least 3 thinned samples; the others are listed
// in one "Invalid AP" message. Then the display follows the selection.
unsigned TickApItem(CTarvoAnalyzerDoc& doc, IUiServices& ui, int itemData, bool on);

// The swatch of an AP item (colour mode 0 <-> 2) or a group item (1 <-> 2).
unsigned ClickApIcon(CTarvoAnalyzerDoc& doc, int itemData);

// Right click on a swatch: a colour dialog for the group colour (mode 1),
// the common colour (AP item, mode 2) or the AP's colour (AP item, mode 0).
unsigned PickApColour(CTarvoAnalyzerDoc& doc, IDialogService& dialogs, int itemData);

// The AP properties dialog for an AP item: texts and a positive channel
// are taken back on OK.
CApPropertiesText ApPropertiesOf(const CTarvoAnalyzerDoc& doc, int ap, IUiServices& ui);
unsigned EditApProperties(CTarvoAnalyzerDoc& doc, IUiServices& ui, IDialogService& dialogs,
                          int itemData);

} // namespace tarvo
