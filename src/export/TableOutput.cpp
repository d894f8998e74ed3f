#include "export/TableOutput.h"

#include "analysis/Coordinates.h"
#include "analysis/SampleSets.h"
#include "export/OnceUi.h"
#include "formats/OutputFile.h"
#include "model/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

constexpr double kRawSpeedPerMph = 411.992064; // 1/256 km/h units per mile per hour
constexpr double kRawToUnits = 0.00390625;     // 1/256
constexpr std::int32_t kNoAltitude = -10000;

std::string TwoDigits(int value) {
    return value < 10 ? Format("0%d", value) : Format("%d", value);
}

std::string Padded(std::string text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.append(static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

void Cell(std::string& out, const std::string& text, char delimiter) {
    out += text;
    out += delimiter;
}

// Writes [first, last) of the document's locations to path, replacing an
// earlier file only once the new one is complete. Returns the number of
// rows, or -1 (with failure set) when the file cannot be written.
long long WriteTableFile(const std::string& path, const CTableLayout& layout,
                         const CTarvoAnalyzerDoc& doc, int first, int last, bool header,
                         IUiServices& ui, std::vector<std::string>& created,
                         CWriteFailure& failure) {
    COutputFile file(path);
    IProgress& progress = ui.Progress();
    const int total = doc.points.GetSize();
    if (header)
        file.Write(TableHeaderRow(layout));
    long long rows = 0;
    int shownPosition = -1;
    std::string buffer;
    for (int i = first; i < last && file.Ok(); ++i) {
        const int position = static_cast<int>(i * 80.0 / total + 20.0);
        if (position != shownPosition) {
            progress.SetPosition(position);
            shownPosition = position;
        }
        progress.ThrowIfCancelled();
        buffer.clear();
        rows += AppendLocationRows(buffer, layout, doc, i, ui);
        file.Write(buffer);
    }
    if (!file.Commit()) {
        failure = file.Failure();
        return -1;
    }
    created.push_back(path);
    return rows;
}

// The folder of a split table: the path without its ".txt".
std::string SplitTableFolder(std::string path) {
    if (const std::size_t dot = path.rfind(".txt"); dot != std::string::npos)
        path.erase(dot, 4);
    return path;
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

} // namespace

char TableDelimiterChar(const CTableOptions& options) {
    switch (options.delimiter) {
    case kDelimiterTab:
        return '\t';
    case kDelimiterComma:
        return ',';
    case kDelimiterSpace:
        return ' ';
    case kDelimiterOther:
        return options.otherText.empty() ? ' ' : options.otherText[0];
    default:
        return ' ';
    }
}

CTableLayout MakeTableLayout(const CTarvoAnalyzerDoc& doc, const CTableOptions& options) {
    CTableLayout layout;
    layout.index = options.includeIndex;
    layout.gps = doc.gpsPointsPresent;
    layout.linear = !doc.gpsPointsPresent && doc.linearPointsPresent;
    layout.useFeet = doc.UseFeet;
    layout.delimiter = TableDelimiterChar(options);
    for (const CAPInfo& ap : doc.aps)
        layout.ssidWidth = std::max(layout.ssidWidth, static_cast<int>(SsidText(ap.ssid).size()));
    return layout;
}

std::vector<CColumnInfo> BuildTableColumns(const CTableLayout& layout) {
    std::vector<CColumnInfo> columns;
    if (layout.index)
        columns.push_back({"#"});
    if (layout.gps) {
        columns.push_back({"Lat"});
        columns.push_back({"Lon"});
    } else if (layout.linear) {
        columns.push_back({layout.useFeet ? "Y(ft)" : "Y(m)"});
        columns.push_back({layout.useFeet ? "X(ft)" : "X(m)"});
    }
    columns.push_back({"CH(MHz)"});
    columns.push_back({"MAC              "});
    columns.push_back({Padded("SSID", layout.ssidWidth)});
    columns.push_back({"RSSI"});
    if (layout.gps) {
        columns.push_back({layout.useFeet ? "V(MPH)" : "V(KPH)"});
        columns.push_back({layout.useFeet ? "H(Ft)" : "H(M)"});
        columns.push_back({"GPS"});
    }
    columns.push_back({"Time    "});
    columns.push_back({"Date"});
    return columns;
}

std::string TableHeaderRow(const CTableLayout& layout) {
    std::string row;
    for (const CColumnInfo& column : BuildTableColumns(layout))
        Cell(row, column.name, layout.delimiter);
    row += "\r\n";
    return row;
}

int AppendLocationRows(std::string& out, const CTableLayout& layout, const CTarvoAnalyzerDoc& doc,
                       int index, IUiServices& ui) {
    const CDataPoint& point = doc.points[index];
    const char d = layout.delimiter;

    // Cells before and after the four AP cells are the same for every row
    // of the location.
    std::string lead;
    if (layout.index)
        Cell(lead, Format("%d", index), d);
    if (layout.gps) {
        double lat = 0.0, lon = 0.0;
        TransformPoint(doc, false, point.easting / 100.0, point.northing / 100.0, lat, lon, ui);
        Cell(lead, Format("%2.6f", lat), d);
        Cell(lead, Format("%2.6f", lon), d);
    } else if (layout.linear) {
        double y = (doc.ImageHeight - point.pixelY) * doc.SiteScaleY;
        double x = point.pixelX * doc.SiteScaleX;
        if (layout.useFeet) {
            y /= kMetresPerFoot;
            x /= kMetresPerFoot;
        }
        Cell(lead, Format("%2.1f", y), d);
        Cell(lead, Format("%2.1f", x), d);
    }

    std::string tail;
    if (layout.gps) {
        // Speed, height and fix mean something only for a good GPS fix;
        // other locations get empty cells so the columns stay aligned.
        if (point.kind == 0) {
            const int speed = layout.useFeet ? static_cast<int>(point.speed / kRawSpeedPerMph)
                                             : static_cast<int>(point.speed * kRawToUnits);
            Cell(tail, Format("%d", speed), d);
            if (point.altitude > kNoAltitude) {
                double height = point.altitude * kRawToUnits;
                if (layout.useFeet)
                    height /= kMetresPerFoot;
                Cell(tail, Format("%d", static_cast<int>(height)), d);
            } else {
                Cell(tail, "", d);
            }
            static const char* const kFix[] = {"No", "2D", "3D"};
            Cell(tail, point.fix <= 2 ? kFix[point.fix] : "", d);
        } else {
            Cell(tail, "", d);
            Cell(tail, "", d);
            Cell(tail, "", d);
        }
    }
    Cell(tail,
         Format("%s:%s:%s", TwoDigits(point.hour).c_str(), TwoDigits(point.minute).c_str(),
                TwoDigits(point.second).c_str()),
         d);
    Cell(tail,
         Format("%d/%s/%s", point.year, TwoDigits(point.date1).c_str(),
                TwoDigits(point.date2).c_str()),
         d);
    tail += "\r\n";

    if (point.samples.IsEmpty()) {
        out += lead;
        Cell(out, "", d);
        Cell(out, "", d);
        Cell(out, Padded("", layout.ssidWidth), d);
        Cell(out, "", d);
        out += tail;
        return 1;
    }
    for (const CDataSsd& sample : point.samples) {
        out += lead;
        Cell(out, Format("%d", FrequencyForChannel(sample.channel)), d);
        Cell(out, MacText(sample.bssid), d);
        Cell(out, Padded(SsidText(sample.ssid), layout.ssidWidth), d);
        Cell(out, Format("%d", sample.rssi / 16), d);
        out += tail;
    }
    return point.samples.GetSize();
}

std::string SplitTableFileName(const std::string& fileName, int i) {
    const std::string suffix = Format("_%d.txt", i);
    const std::size_t dot = fileName.rfind(".txt");
    if (dot == std::string::npos)
        return fileName + suffix;
    return fileName.substr(0, dot) + suffix + fileName.substr(dot + 4);
}

std::vector<std::string> TableFilePaths(const CTarvoAnalyzerDoc& doc,
                                        const CTableOptions& options) {
    const int total = doc.points.GetSize();
    if (total <= kTableLocationsPerFile)
        return {options.path};
    std::vector<std::string> paths;
    const std::filesystem::path folder(SplitTableFolder(options.path));
    for (int j = 1; j <= total / kTableLocationsPerFile + 1; ++j)
        paths.push_back((folder / SplitTableFileName(FileNameOf(options.path), j)).string());
    return paths;
}

TableResult WriteTable(const CTarvoAnalyzerDoc& doc, const std::optional<CTableOptions>& choice,
                       IUiServices& outerUi) {
    COnceUi ui(outerUi);
    if (!doc.processed) {
        ui.MessageBox("Please load a SSD file.", "No Input", MsgIcon::Error, MsgButtons::Ok);
        return TableResult::NotProcessed;
    }
    IProgress& progress = ui.Progress();
    progress.ClearCancelled();
    progress.SetPosition(0);
    progress.Show();
    if (!choice || !choice->fileChosen || choice->path.empty()) {
        progress.Hide();
        return TableResult::Cancelled;
    }
    const CTableOptions& options = *choice;
    progress.SetText("Writing...");
    const CTableLayout layout = MakeTableLayout(doc, options);
    const int total = doc.points.GetSize();

    std::vector<std::string> written;
    CWriteFailure failure;
    try {
        if (total <= kTableLocationsPerFile) {
            if (WriteTableFile(options.path, layout, doc, 0, total, options.includeHeader, ui,
                               written, failure) < 0) {
                ui.MessageBox(WriteFailureText(options.path, failure), "File open error",
                              MsgIcon::Error, MsgButtons::Ok);
                throw CCancelException();
            }
            progress.SetPosition(100);
            progress.SetText("Finish...");
            progress.Hide();
            ui.OpenWithAssociatedProgram(options.path);
            return TableResult::Written;
        }

        // Too many locations for one file: a folder of numbered files, the
        // locations shared out evenly so that no file is left empty.
        const std::string folder = SplitTableFolder(options.path);
        const std::vector<std::string> paths = TableFilePaths(doc, options);
        const int count = static_cast<int>(paths.size());
        const int perFile = (total + count - 1) / count;
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!std::filesystem::is_directory(folder)) {
            failure.reason = ec ? ec.message() : "Not a directory";
            ui.MessageBox(WriteFailureText(folder, failure), "File open error", MsgIcon::Error,
                          MsgButtons::Ok);
            throw CCancelException();
        }
        std::string summary =
            Format("The converted files have been saved to: \n %s\\ \t \n", folder.c_str());
        for (int j = 1; j <= count; ++j) {
            progress.SetText(Format("Writing the %d/%d file...", j, count));
            const std::string& path = paths[static_cast<std::size_t>(j - 1)];
            const std::string name = FileNameOf(path);
            const int first = (j - 1) * perFile;
            const int last = std::min(total, j * perFile);
            const long long rows = WriteTableFile(path, layout, doc, first, last,
                                                  options.includeHeader, ui, written, failure);
            if (rows < 0) {
                ui.MessageBox(WriteFailureText(path, failure), "File open error", MsgIcon::Error,
                              MsgButtons::Ok);
                throw CCancelException();
            }
            summary += Format("%s\t\t \t %lld Samples \n", name.c_str(), rows);
        }
        progress.SetPosition(100);
        progress.SetText("Finish...");
        progress.Hide();
        ui.OpenWithAssociatedProgram(folder);
        ui.MessageBox(summary, "Output Files", MsgIcon::Information, MsgButtons::Ok);
        return TableResult::WrittenSplit;
    } catch (const CCancelException&) {
        // A split table is whole or not there: the files this run finished
        // go; a file it did not finish never replaced the earlier one.
        for (const std::string& path : written)
            RemoveQuietly(path);
        const bool failed = !ui.Progress().IsCancelled();
        progress.Hide();
        return failed ? TableResult::Failed : TableResult::Cancelled;
    }
}

} // namespace tarvo
