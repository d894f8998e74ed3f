#pragma once
// KML ground overlay: the last painted view saved as a BMP and a KML file
// that lays it over the latitude/longitude box of the view window.
// Runs on the user-interface thread; uses no Qt (the view keeps its last
// picture as a toolkit-free CViewBitmap).

#include "formats/OutputFile.h"
#include "model/Document.h"
#include "model/UiServices.h"

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace tarvo {

inline constexpr const char* kKmlNamespace = "http://earth.google.com/kml/2.0";
inline constexpr const char* kKmlFilter =
    "KML (Goolge Earth) File (*.kml)|*.kml|All files (*.*)|*.*||";
inline constexpr const char* kKmlBmpFilter = "BMP File (*.bmp)|*.bmp|All files (*.*)|*.*||";

// The "KML File Description" dialog ("Please type the description for
// this file:"), asked after both file choices. The GUI shows the dialog;
// the command-line tool answers with its --description text. nullopt
// stands for Cancel and gives an empty description.
using KmlDescriptionPrompt = std::function<std::optional<std::string>()>;

// The KML file for a chosen name: ".kml" appended to a name without an
// extension, as the save dialog does.
std::string KmlPathFor(const std::string& chosen);

// The picture for a chosen name: ".bmp" appended to a name without an
// extension.
std::string KmlPictureFor(const std::string& chosen);

// The default picture of a KML file: its ".kml" replaced by ".bmp", or
// ".bmp" appended when it has another name, so that the picture never
// takes the KML's own name.
std::string KmlPicturePath(const std::string& kmlPath);

// The document path with everything from the first "." of its file name
// removed, unless that "." is the name's first character.
std::string DefaultKmlName(const std::string& documentPath);

// "%m/%d/%Y,%H:%M:%S" of a time in the local time zone.
std::string KmlCreatedTime(std::time_t when);

// Latitude/longitude of the view window's minimum corner (lat0, lon0) and
// of its opposite corner (lat1, lon1), through TransformPoint.
struct CKmlCorners {
    double lat0 = 0.0, lon0 = 0.0, lat1 = 0.0, lon1 = 0.0;
};
CKmlCorners KmlCorners(const CTarvoAnalyzerDoc& doc, IUiServices& ui);

// The whole KML text. kmlFileName is the KML file's name (every ".kml" is
// removed for the name element); corners go through TransformPoint, whose
// messages reach ui. User texts are escaped for XML.
std::string KmlText(const CTarvoAnalyzerDoc& doc, const std::string& kmlFileName,
                    const std::string& bmpPath, const std::string& description,
                    const std::string& createdTime, IUiServices& ui);

enum class KmlResult {
    Written,   // BMP and KML written
    Cancelled, // the KML file choice was cancelled: nothing written
    Failed     // the KML file could not be created (message shown)
};

// The "Create a KML file" command: KML file choice (default DefaultKmlName
// of the workspace path), BMP file choice (default KmlPicturePath), the BMP
// of doc.lastViewBitmap (mirrored where the site axes run south or west,
// so that it lies on the earth as the box says), the description prompt,
// then the KML, which names the picture by its full path. Both files replace
// earlier ones only once complete. The last KML path is kept in
// doc.spareText1, the workspace text that carries it.
KmlResult CreateKmlFile(CTarvoAnalyzerDoc& doc, IUiServices& ui,
                        const KmlDescriptionPrompt& askDescription, std::time_t now);

// Writes a view picture as a 24-bit BMP, replacing an earlier file only once
// the new one is complete; false when it is empty or the file cannot be
// written (why, in *failure when given).
bool SaveViewBitmap(const std::string& path, const CViewBitmap& bitmap,
                    CWriteFailure* failure = nullptr);

} // namespace tarvo
