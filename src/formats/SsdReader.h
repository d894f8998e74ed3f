#pragma once
// Reader of site-survey data files (.ssd): a 25-byte header, then records of
// a fixed size, each measurement location followed by its sample records.

#include "model/Document.h"
#include "model/UiServices.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvo {

constexpr std::uint32_t kSsdMagic = 0x53534420; // bytes 0x20 'D' 'S' 'S'
constexpr std::size_t kSsdHeaderSize = 25;
constexpr const char* kSsdFileFilter = "Tarvo Site Survey File (*.ssd)|*.ssd||";

// Record kinds of the record area.
enum SsdRecordKind : std::uint8_t {
    kSsdGpsFix = 0,
    kSsdGpsNoFix = 1,
    kSsdLinear = 2,
    kSsdMarkedAp = 0x11,
    kSsdInterference = 0x12,
    kSsdSkipped = 0xFF
};
constexpr std::size_t kSsdMarkedApPayload = 170;
constexpr std::size_t kSsdInterferencePayload = 136;
// Latitude and longitude limits of a GPS location in the file's unit of
// 1/3,600,000 degree; the 32-bit fields reach about 596 degrees.
constexpr std::int32_t kMaxLatitudeRaw = 90 * 3600000;
constexpr std::int32_t kMaxLongitudeRaw = 180 * 3600000;

// The ctime-style text ("Wed Jan  2 02:03:55 1980\n") of a time stamp in
// the local time zone; empty for a negative stamp or one past year 3000.
std::string CreatedText(std::int64_t secondsSince1970);

// Reads one survey file (its whole contents) into the document: appends
// points, markers and sources, sets the entry's created text, pointCount
// and skippedLocations (GPS locations off the globe, left out with their
// samples) and the GPS / linear flags. Returns false for a file it refuses; only the
// unsupported-type refusal shows a message of its own.
bool ReadSurveyFile(CTarvoAnalyzerDoc& doc, std::span<const std::uint8_t> file, int fileIndex,
                    IUiServices& ui);

// Opens the file of entry fileIndex and reads it, with the open, magic and
// validity messages; a file that fails is deselected.
bool OpenAndReadSurveyFile(CTarvoAnalyzerDoc& doc, int fileIndex, IUiServices& ui);

// Loads every selected file of the file list, deselecting the ones that
// fail. Returns true when at least one file was loaded; false at once when
// the data do not fit the loaded projection.
bool LoadSelectedFiles(CTarvoAnalyzerDoc& doc, IUiServices& ui);

} // namespace tarvo
