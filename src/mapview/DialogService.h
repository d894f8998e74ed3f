#pragma once
// The program's modal dialogs behind one small interface, so that commands
// open them without knowing of windows and tests answer them from a script.
// Each dialog takes its texts in and gives them back on OK; the caller
// parses and applies them. GUI thread only.

#include "export/TableOutput.h"
#include "model/Colour.h"

#include <QPoint>

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// "Access Point Properties": every field as text, labels chosen by the caller.
struct CApPropertiesText {
    std::string mac;
    std::string ssid;
    std::string name;
    std::string channel;
    std::string firstCoordinate;  // latitude or Y
    std::string secondCoordinate; // longitude or X
    std::string firstLabel = "Latitude:";
    std::string secondLabel = "Longitude:";
    std::string txPower;
    std::string antennaDirection;
    std::string antennaGain;
    std::string antennaHeightLabel;
    std::string antennaHeight;
    std::string notes; // line breaks as "\r\n" in the dialog

    bool operator==(const CApPropertiesText&) const = default;
};

// "Interference Source Property".
struct CSourcePropertiesText {
    std::string name;
    std::string frequency;
    std::string bandwidth;
    std::string notes;

    bool operator==(const CSourcePropertiesText&) const = default;
};

// "Measured Distance": column headers, the two points and the distance.
struct CRulerText {
    std::string firstHeader;  // "X" or "Lon"
    std::string secondHeader; // "Y" or "Lat"
    std::string firstPoint1;
    std::string firstPoint2;
    std::string secondPoint1;
    std::string secondPoint2;
    std::string distance;

    bool operator==(const CRulerText&) const = default;
};

// "Floor Plan Scale": the length of the line drawn over a new plan's
// picture, and the real length and unit the user types for it.
struct CPlanLengthText {
    std::string pixels; // the drawn line, e.g. "412.3 pixels"; shown only
    std::string length; // typed
    std::string unit;   // "m" or "ft"

    bool operator==(const CPlanLengthText&) const = default;
};

// "Record Walk": what the walk is scanned with and how.
struct CRecordWalkText {
    std::vector<std::string> interfaces; // the wireless interfaces offered first
    std::string source;                  // the chosen interface; empty: the replay folder
    std::string replayFolder;            // saved iw scan texts, replayed in order
    int scansPerPoint = 1;               // 1 .. 100
    std::string iperfServer;             // empty: no throughput

    bool operator==(const CRecordWalkText&) const = default;
};

class IDialogService {
public:
    virtual ~IDialogService() = default;

    // Each returns true on OK, having written the fields back.
    virtual bool EditApProperties(CApPropertiesText& fields) = 0;
    virtual bool EditSourceProperties(CSourcePropertiesText& fields) = 0;
    // iconId in: the current icon; out: the chosen one.
    virtual bool ChooseApIcon(int& iconId) = 0;
    virtual bool ChooseSourceIcon(int& iconId) = 0;
    virtual bool ShowMeasuredDistance(const CRulerText& fields) = 0;
    virtual bool EditKmlDescription(std::string& description) = 0;
    virtual bool EditTableOptions(CTableOptions& options) = 0;

    // A colour dialog starting on `initial`; nullopt on Cancel.
    virtual std::optional<ColourRef> ChooseColour(ColourRef initial) = 0;
    // A popup menu at a global screen position; the chosen item's index,
    // or -1 when the menu was dismissed.
    virtual int ChooseMenuItem(const std::vector<std::string>& items, QPoint globalPos) = 0;
    virtual bool EditPlanLength(CPlanLengthText& fields) = 0;
    virtual bool EditRecordWalk(CRecordWalkText& fields) = 0;
};

} // namespace tarvo
