#include "panel/ApTreeCommands.h"

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Recalculation.h"
#include "analysis/Reliability.h"
#include "mapview/DocumentHost.h"
#include "model/ApGroups.h"
#include "model/Text.h"
#include "panel/PanelCommands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvo {

namespace {

constexpr unsigned kSelectionChange = kChangeAps | kChangeCoverage | kChangeView;

bool IsAp(const CTarvoAnalyzerDoc& doc, int index) {
    return index >= 0 && index < doc.aps.GetSize();
}

// A group's any-selected flag follows its members.
void UpdateAnySelected(CTarvoAnalyzerDoc& doc) {
    for (CGroupInfo& group : doc.activeGroups.groups) {
        group.anySelected = 0;
        for (const CGroupItem& item : group.items)
            if (IsAp(doc, item.apIndex) && doc.aps[item.apIndex].selected)
                group.anySelected = 1;
    }
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
}

// What the display shows after the selection changed: coverage of the old
// selection no longer counts, and something that shows the ticked APs is
// chosen when nothing was shown.
void FollowSelection(CTarvoAnalyzerDoc& doc) {
    if (doc.coveragePresent) {
        doc.coveragePresent = false;
        doc.coverageDisplayType = kDisplayApBands;
    } else if (doc.coverageDisplayType == kDisplayNone) {
        doc.coverageDisplayType = kDisplayApSamples;
    } else if (doc.coverageDisplayType == kDisplayReliability) {
        for (CAPInfo& ap : doc.aps)
            if (ap.selected && HasUsableModel(ap))
                ComputeReliabilityRadii(ap, doc.PowerLow);
    }
    ComputeViewExtent(doc, 0, 0);
}

unsigned TickGroup(CTarvoAnalyzerDoc& doc, IUiServices& ui, int groupIndex, bool on) {
    if (groupIndex < 0 || groupIndex >= doc.activeGroups.groups.GetSize())
        return 0;
    CGroupInfo& group = doc.activeGroups.groups[groupIndex];
    group.anySelected = on;
    std::vector<int> members;
    for (const CGroupItem& item : group.items)
        if (IsAp(doc, item.apIndex))
            members.push_back(item.apIndex);
    const ColourRef groupColour = group.colour;

    std::string shortList;
    int shortCount = 0;
    for (int i : members) {
        CAPInfo& ap = doc.aps[i];
        ap.selected = on;
        if (!on)
            continue;
        if (HasCoverageSamples(ap)) {
            ComputeApContours(doc, i,
                              doc.coverageMode == 1 ? groupColour : ApContourColour(doc, i));
        } else {
            shortList +=
                Format("% d, %s\n", ap.filteredSamples.GetSize(), MacText(ap.bssid).c_str());
            ++shortCount;
        }
    }
    if (shortCount > 0) {
        const char* text =
            shortCount == 1
                ? "No enough filtered points for this AP: \n\n N,\tMAC\n %s \n\n N: Number of "
                  "Points"
                : "No enough filtered points for these APs: \n\n N,\tMAC\n %s \n\n N: Number of "
                  "Points";
        ui.MessageBox(Format(text, shortList.c_str()), "Invalid AP", MsgIcon::Information);
    }
    return kSelectionChange;
}

unsigned TickAp(CTarvoAnalyzerDoc& doc, IUiServices& ui, int apIndex, bool on) {
    if (!IsAp(doc, apIndex))
        return 0;
    CAPInfo& ap = doc.aps[apIndex];
    ap.selected = on;
    if (!on)
        return kSelectionChange;
    if (HasCoverageSamples(ap)) {
        ComputeApContours(doc, apIndex, ApContourColour(doc, apIndex));
    } else {
        ui.MessageBox(Format("No enough filtered points for this AP:\n\n N,\t MAC\n %d, %s\n\n N: "
                             "Number of Points",
                             ap.filteredSamples.GetSize(), MacText(ap.bssid).c_str()),
                      "Invalid AP", MsgIcon::Information);
    }
    return kSelectionChange;
}

} // namespace

unsigned TickFile(CTarvoAnalyzerDoc& doc, int itemData, bool on) {
    if (itemData == kFileListRootData) {
        for (CDataFile& file : doc.files)
            file.selected = on;
        return kChangeFiles | kChangeView;
    }
    const int index = itemData - 2;
    if (index < 0 || index >= doc.files.GetSize())
        return 0;
    doc.files[index].selected = on;
    return kChangeFiles | kChangeView;
}

unsigned TickApItem(CTarvoAnalyzerDoc& doc, IUiServices& ui, int itemData, bool on) {
    const unsigned changed =
        itemData < 0 ? TickGroup(doc, ui, ~itemData, on) : TickAp(doc, ui, itemData, on);
    if (changed == 0)
        return 0;
    UpdateAnySelected(doc);
    FollowSelection(doc);
    return changed;
}

unsigned ClickApIcon(CTarvoAnalyzerDoc& doc, int itemData) {
    if (itemData >= 0)
        doc.coverageMode = doc.coverageMode == 0 ? 2 : 0;
    else
        doc.coverageMode = doc.coverageMode != 1 ? 1 : 2;
    ComputeShownApContours(doc);
    return kChangeAps | kChangeView;
}

unsigned PickApColour(CTarvoAnalyzerDoc& doc, IDialogService& dialogs, int itemData) {
    if (itemData < 0) {
        const int j = ~itemData;
        if (doc.coverageMode != 1 || j >= doc.activeGroups.groups.GetSize())
            return 0;
        const auto colour = dialogs.ChooseColour(doc.activeGroups.groups[j].colour);
        if (!colour)
            return 0;
        doc.activeGroups.groups[j].colour = *colour;
        // The active groups are a copy of one of the two kinds: keep both alike.
        CGroups& source = doc.sortBySsid ? doc.groupsBySsid : doc.groupsByChannel;
        if (j < source.groups.GetSize())
            source.groups[j].colour = *colour;
        for (const CGroupItem& item : doc.activeGroups.groups[j].items)
            if (IsAp(doc, item.apIndex))
                ComputeApContours(doc, item.apIndex, *colour);
        return kChangeAps | kChangeView;
    }
    if (!IsAp(doc, itemData))
        return 0;
    if (doc.coverageMode == 2) {
        const auto colour = dialogs.ChooseColour(doc.commonColour);
        if (!colour)
            return 0;
        doc.commonColour = *colour;
        ComputeShownApContours(doc);
        return kChangeAps | kChangeView;
    }
    if (doc.coverageMode == 0) {
        CAPInfo& ap = doc.aps[itemData];
        const auto colour = dialogs.ChooseColour(ap.colour);
        if (!colour)
            return 0;
        ap.colour = *colour;
        if (ap.selected && HasCoverageSamples(ap))
            ComputeApContours(doc, itemData, *colour);
        return kChangeAps | kChangeView;
    }
    return 0;
}

CApPropertiesText ApPropertiesOf(const CTarvoAnalyzerDoc& doc, int apIndex, IUiServices& ui) {
    const CAPInfo& ap = doc.aps[apIndex];
    CApPropertiesText fields;
    fields.mac = MacText(ap.bssid);
    fields.ssid = SsidText(ap.ssid);
    fields.name = ap.name;
    fields.channel = Format("%d", ap.channel);
    if (!doc.linearPointsPresent) {
        double latitude = 0.0, longitude = 0.0;
        TransformPoint(doc, false, ap.position[1], ap.position[0], latitude, longitude, ui);
        fields.firstCoordinate = Format("%3.6f", latitude);
        fields.secondCoordinate = Format("%3.6f", longitude);
    } else {
        const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
        const char* label = LengthUnitLabel(doc.UseFeet);
        fields.firstLabel = Format("Y (%s):", label);
        fields.secondLabel = Format("   X (%s):", label);
        fields.firstCoordinate = Format("%3.6f", ap.position[0] / unit);
        fields.secondCoordinate = Format("%3.6f", ap.position[1] / unit);
    }
    fields.txPower = ap.txPower;
    fields.antennaDirection = ap.antennaDirection;
    fields.antennaGain = ap.antennaGain;
    fields.antennaHeightLabel = Format("Antenna Height (%s):", LengthUnitLabel(doc.UseFeet));
    fields.antennaHeight = ap.antennaHeight;
    // Stored notes keep their line breaks as "<br>"; the dialog edits lines.
    fields.notes = ap.notes;
    ReplaceAll(fields.notes, "<br>", "\r\n");
    return fields;
}

unsigned EditApProperties(CTarvoAnalyzerDoc& doc, IUiServices& ui, IDialogService& dialogs,
                          int itemData) {
    if (!IsAp(doc, itemData))
        return 0;
    CApPropertiesText fields = ApPropertiesOf(doc, itemData, ui);
    if (!dialogs.EditApProperties(fields))
        return 0;
    CAPInfo& ap = doc.aps[itemData];
    const SsidBytes ssid = SsidFromText(fields.ssid);
    const bool regroup = doc.sortBySsid ? ssid != ap.ssid : false;
    ap.name = fields.name;
    ap.ssid = ssid;
    ap.txPower = fields.txPower;
    ap.antennaDirection = fields.antennaDirection;
    ap.antennaGain = fields.antennaGain;
    ap.antennaHeight = fields.antennaHeight;
    ReplaceAll(fields.notes, "\r\n", "<br>");
    ReplaceAll(fields.notes, "\n", "<br>");
    ap.notes = fields.notes;
    int channel = 0;
    const bool channelChanged = std::sscanf(fields.channel.c_str(), "%d", &channel) == 1 &&
                                channel > 0 && channel != ap.channel;
    if (channelChanged)
        ap.channel = channel;
    // The AP's group depends on what it is grouped by.
    if (regroup || (channelChanged && !doc.sortBySsid))
        RebuildApGroups(doc);
    return kChangeAps | kChangeView;
}

} // namespace tarvo
