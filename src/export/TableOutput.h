#pragma once
// Delimited text table of the loaded survey data: one row per sample (an AP
// heard at a location), with the location's position, the AP's frequency,
// MAC, SSID and RSSI, and the GPS speed, height, fix, time and date.
// Uses no Qt: the GUI runs the "Create A Table Report" dialog, fills a
// CTableOptions and starts WriteTable on a worker thread.

#include "model/Document.h"
#include "model/UiServices.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// Studies with more locations than this are written as several files.
constexpr int kTableLocationsPerFile = 60000;

enum TableDelimiterChoice {
    kDelimiterTab = 0,
    kDelimiterComma = 1,
    kDelimiterSpace = 2,
    kDelimiterOther = 3
};

// The choices of the "Create A Table Report" dialog (CDialogSaveTable).
struct CTableOptions {
    std::string path;        // full path chosen with "..."
    bool fileChosen = false; // a path typed by hand is not used
    bool includeHeader = true;
    bool includeIndex = true;
    int delimiter = kDelimiterTab; // a TableDelimiterChoice
    std::string otherText;         // the one-field edit beside "Other"
};

// Tab 9, comma 44, space 32, "Other" the first character of its edit (32
// when empty); any other choice 32.
char TableDelimiterChar(const CTableOptions& options);

struct CColumnInfo {
    std::string name;
};

// What the rows of one conversion contain, decided once from the document.
struct CTableLayout {
    bool index = true;
    bool gps = false;    // Lat/Lon, speed, height and fix columns
    bool linear = false; // Y/X in site units (no GPS points, linear points)
    bool useFeet = false;
    int ssidWidth = 0; // length of the longest AP SSID of the document
    char delimiter = '\t';
};

CTableLayout MakeTableLayout(const CTarvoAnalyzerDoc& doc, const CTableOptions& options);

// The column names in file order.
std::vector<CColumnInfo> BuildTableColumns(const CTableLayout& layout);

// The header row: every column name followed by the delimiter, then CR LF.
std::string TableHeaderRow(const CTableLayout& layout);

// Appends the rows of location `index` (one per sample, or one with empty
// AP cells when it has none) and returns how many were appended. Positions
// go through TransformPoint, whose messages reach ui.
int AppendLocationRows(std::string& out, const CTableLayout& layout, const CTarvoAnalyzerDoc& doc,
                       int index, IUiServices& ui);

enum class TableResult {
    Written,      // one file, opened with its associated program
    WrittenSplit, // a folder of numbered files, with a summary message
    Cancelled,    // dialog cancelled, no file chosen, or cancel pressed
    NotProcessed, // "Please load a SSD file."
    Failed        // a file or folder could not be created (message shown)
};

// The table command. `choice` is the dialog's result (nullopt: Cancel).
// Drives ui.Progress() and polls its cancel flag once per location; a
// cancelled or failed run removes the files it had finished, and a file it
// had not finished never replaces the one that was there. Reads the document only;
// the caller keeps it from changing meanwhile (doc.busy).
TableResult WriteTable(const CTarvoAnalyzerDoc& doc, const std::optional<CTableOptions>& choice,
                       IUiServices& ui);

// The files WriteTable writes: options.path, or for a study of more than
// kTableLocationsPerFile locations the numbered files of the folder named
// after it.
std::vector<std::string> TableFilePaths(const CTarvoAnalyzerDoc& doc, const CTableOptions& options);

// The i-th (from 1) file name of a split table: ".txt" replaced by "_i.txt"
// (appended when the name has no ".txt").
std::string SplitTableFileName(const std::string& fileName, int i);

} // namespace tarvo
