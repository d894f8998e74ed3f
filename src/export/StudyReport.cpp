#include "export/StudyReport.h"

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Reliability.h"
#include "export/OnceUi.h"
#include "export/ReportAccuracy.h"
#include "export/ReportExtraSections.h"
#include "export/ReportImages.h"
#include "export/XmlText.h"
#include "formats/FileIo.h"
#include "formats/OutputFolder.h"
#include "model/Text.h"
#include "view/RenderLayers.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

// Written into the picture folder when it holds no style sheet yet, so the
// linked report.css exists; a user's own sheet is left alone.
constexpr const char* kReportCss =
    "body { font-family: sans-serif; margin: 2em; color: #202020; }\n"
    "h2 { color: #1f3f6f; }\n"
    "h3 { color: #1f3f6f; border-bottom: 1px solid #c0c8d8; padding-bottom: 0.2em; }\n"
    "table { border-collapse: collapse; margin: 0.5em 0; }\n"
    "th { background: #e8edf5; }\n"
    "th, td { padding: 0.2em 0.6em; }\n"
    "td.legendColor, td.legendLine { padding: 0.2em; }\n"
    "img { display: block; }\n";

std::string CtimeText(std::time_t when) {
    char buffer[64] = {};
    if (!ctime_r(&when, buffer))
        return "\n";
    return buffer;
}

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

class CReportWriter {
public:
    // The pictures are written into pictureFolder, which takes the place of
    // the folder beside the report once the report is complete.
    CReportWriter(CTarvoAnalyzerDoc& doc, const CReportRequest& request, IUiServices& ui,
                  const ReportRenderer& render, const std::string& pictureFolder)
        : doc_(doc), options_(request.options), extras_(request.extras),
          accuracy_(request.accuracy), ui_(ui), progress_(ui.Progress()),
          render_(render ? render : ReportRenderer(RenderReportPicture)),
          pictureFolder_(pictureFolder) {
        const std::filesystem::path reportPath(request.path);
        folderTitle_ = ReportFolderTitle(request.path);
        folder_ = reportPath.parent_path() / folderTitle_;
        unit_ = doc.UseFeet ? kMetresPerFoot : 1.0;
        geographic_ = doc.projectionKind != kProjectionLinear && !doc.linearPointsPresent;
    }

    // The HTML text; throws CCancelException when the user cancels.
    std::string Write(std::time_t now);
    // A picture could not be written (the user was told).
    bool PictureFailed() const { return pictureFailureShown_; }

private:
    void W(const std::string& text) { html_ += text; }
    void Status(const std::string& text) {
        progress_.ThrowIfCancelled();
        progress_.SetText(text);
    }
    void Position(int percent) { progress_.SetPosition(percent); }

    void Head(std::time_t now);
    void SsdFiles();
    void AccessPoints();
    void MarkedAps();
    void InterferenceSources();
    void SurveyPath();
    void IndividualAnalysis();
    void Reliability();
    void StrengthAndOverlap();
    void SurveyViews();

    void PositionHeaders();
    void PositionCells(double y, double x);
    void ApPositionCells(const CAPInfo& ap);
    void ApRow(const CAPInfo& ap, int index, bool selected);
    void LegendSwatchRow(const CAPInfo& ap);
    void AntennaHeaders();
    void AntennaCells(const std::string& txPower, const std::string& gain,
                      const std::string& height, const std::string& direction,
                      const std::string& notes);
    void PictureSection(const std::string& title, const std::string& link,
                        const std::string& caption);

    // Saves a picture under the next number and returns its link.
    std::string SaveNumbered(const QImage& image);
    // "bmpN.bmp", or "bmpN.png" for PNG pictures.
    std::string PictureName(int number) const {
        return Format(extras_.pngPictures ? "bmp%d.png" : "bmp%d.bmp", number);
    }
    // A survey or map file as the report names it: its full path, or its
    // name alone when asked.
    std::string ShownPath(const std::string& path) const {
        return extras_.fileNamesOnly ? FileNameOf(path) : path;
    }
    std::string SaveAs(const std::string& name, const QImage& image);
    void Image(const std::string& link) {
        W(Format("\n <img height=\"%d\" src=\"%s\" width=\"%d\"/>", 600, link.c_str(), 800));
    }
    void BlendedSwatchCell(int paletteIndex);

    CTarvoAnalyzerDoc& doc_;
    const CReportOptions options_;
    const CReportExtras& extras_;
    const std::optional<CStudyAccuracy> accuracy_;
    IUiServices& ui_;
    IProgress& progress_;
    ReportRenderer render_;
    std::filesystem::path pictureFolder_; // where pictures are written
    std::string folderTitle_;
    std::filesystem::path folder_; // where they will be (messages name it)
    double unit_ = 1.0;
    bool geographic_ = true;
    // The robust estimator's radii get a column after the positions; the
    // other estimators' tables are as they always were.
    bool RadiusColumn() const { return doc_.estimator == EstimatorKind::Robust; }
    int imageNumber_ = 3;
    bool pictureFailureShown_ = false;
    std::string html_;
};

std::string CReportWriter::SaveAs(const std::string& name, const QImage& image) {
    progress_.ThrowIfCancelled();
    // A report with a missing picture does not replace the earlier one; the
    // user learns once which picture could not be written.
    CWriteFailure failure;
    const std::string path = (pictureFolder_ / name).string();
    const bool saved = pictureFailureShown_ ||
                       (extras_.pngPictures ? SaveImageAsPngFile(path, image, &failure)
                                            : SaveImageAsBitmapFile(path, image, &failure));
    if (!saved) {
        pictureFailureShown_ = true;
        ui_.MessageBox(WriteFailureText((folder_ / name).string(), failure), "File Open Error",
                       MsgIcon::Error, MsgButtons::Ok);
    }
    return RelativeUrl(folderTitle_ + "/" + name);
}

std::string CReportWriter::SaveNumbered(const QImage& image) {
    return SaveAs(PictureName(imageNumber_++), image);
}

void CReportWriter::BlendedSwatchCell(int paletteIndex) {
    const std::string link = SaveNumbered(BlendedSwatchImage(
        doc_.CoveragePalette[static_cast<std::size_t>(paletteIndex)], doc_.coverageOpacity));
    W("\n <td class=\"legendColor\">");
    W(Format("\n <img height=\"18\" src=\"%s\" width=\"%d\"/>", link.c_str(), 66));
    W("\n </td>");
}

void CReportWriter::PositionHeaders() {
    if (geographic_) {
        W("\n <th align =\"Center\">Latitude</th>");
        W("\n <th align =\"Center\">Longitude</th>");
    } else if (doc_.UseFeet) {
        W("\n <th align =\"Center\">Y Axis(Ft)</th>");
        W("\n <th align =\"Center\">X Axis(Ft)</th>");
    } else {
        W("\n <th align =\"Center\">Y Axis(m)</th>");
        W("\n <th align =\"Center\">X Axis(m)</th>");
    }
}

void CReportWriter::PositionCells(double y, double x) {
    if (geographic_) {
        double lat = 0.0, lon = 0.0;
        TransformPoint(doc_, false, x, y, lat, lon, ui_);
        W(Format("\n <td class=\"Latitude\" align =\"Center\">%3.5f</td>", lat));
        W(Format("\n <td class=\"Longitude\" align =\"Center\">%3.5f</td>", lon));
    } else {
        W(Format("\n <td class=\"Y Axis\" align =\"Center\">%5.3f</td>", y / unit_));
        W(Format("\n <td class=\"X Axis\" align =\"Center\">%5.3f</td>", x / unit_));
    }
}

void CReportWriter::ApPositionCells(const CAPInfo& ap) {
    if (ap.valid) {
        PositionCells(ap.position[0], ap.position[1]);
        return;
    }
    const char* remark = ap.filteredSamples.GetSize() > doc_.MinPointsForEstimate
                             ? "Need More Points"
                             : "Not Enough Points";
    if (geographic_) {
        W(Format("\n <td class=\"Latitude\" align =\"Center\"> %s</td>", remark));
        W(Format("\n <td class=\"Longitude\" align =\"Center\">%s</td>", remark));
    } else {
        W(Format("\n <td class=\"Y Axis\" align =\"Center\">%s</td>", remark));
        W(Format("\n <td class=\"X Axis\" align =\"Center\">%s</td>", remark));
    }
}

void CReportWriter::Head(std::time_t now) {
    W("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    W("\n <html>");
    W("\n <head>");
    W(Format("\n<link href=\"%s\" rel=\"stylesheet\"/>",
             RelativeUrl(folderTitle_ + "/report.css").c_str()));
    W("\n<title>Site Survey Report with KDR Tarvo Software</title>");
    W("\n </head>");
    W("\n <body>");
    W("\n <center><h2>Site Survey Study Report with KDR Tarvo Software</h2></center>");
    W("\n <p/>");
    W("\n <p/>");
    W("\n <tr>");
    W("\n <td>");
    W(Format("\n Report date: %s", CtimeText(now).c_str()));
    W("\n </td>");
    W("\n </tr>");
    W("\n <p/>");
    W("\n <p/>");
    if (!doc_.projectionPath.empty()) {
        W("\n <tr>");
        W("\n <td>");
        W(Format("\n Map/Projection File: %s", EscapeXml(ShownPath(doc_.projectionPath)).c_str()));
        W("\n </td>");
        W("\n </tr>");
    }
    Position(5);
}

void CReportWriter::SsdFiles() {
    int selected = 0;
    for (const CDataFile& f : doc_.files)
        selected += f.selected != 0 ? 1 : 0;
    Status("Write Down File's Info...");
    Position(10);
    W("\n <h3> SSD File Infomation</h3>");
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">Index</th>");
    W("\n <th align =\"Center\">File Directory & Name</th>");
    W("\n <th align =\"Center\">Created Time</th>");
    W("\n </tr>");
    if (selected < 1)
        return;
    int index = 1;
    for (const CDataFile& f : doc_.files) {
        if (f.selected == 0)
            continue;
        W("\n <tr>");
        W(Format("\n <td class=\"Index\" align =\"Center\">%d</td>", index++));
        W(Format("\n <td class=\"Path\\Name\" align =\"Center\"> %s</td>",
                 EscapeXml(ShownPath(f.path)).c_str()));
        W(Format("\n <td class=\"Survey Time\" align =\"Center\"> %s</td>",
                 EscapeXml(f.created).c_str()));
        W("\n </tr>");
    }
    W("\n </table>");
    W("\n <p/>");
    W("\n <p/>");
}

void CReportWriter::ApRow(const CAPInfo& ap, int index, bool selected) {
    const std::string ssid = EscapeXml(SsidText(ap.ssid));
    const std::string mac = MacText(ap.bssid);
    if (selected) {
        W("\n <tr>");
        W(Format("\n <td class=\"Index\" align =\"Center\">%d</td>", index));
        W(Format("\n <td class=\"SSID\" align =\"Center\">%s</td>", ssid.c_str()));
        W(Format("\n <td class=\"MAC\" align =\"Center\">%s</td>", mac.c_str()));
        W(Format("\n <td class=\"Channel\" align =\"Center\">%d</td>", ap.channel));
        if (!options_.showAllAps)
            W("\n <td class = \"Selected?\" align =\"Center\"> Yes </td>");
    } else {
        W("<tr>");
        W(Format("<td class=\"Index\" align =\"Center\">%d</td>", index));
        W(Format("<td class=\"SSID\" align =\"Center\">%s</td>", ssid.c_str()));
        W(Format("\n <td class=\"MAC\" align =\"Center\">%s</td>", mac.c_str()));
        W(Format("<td class=\"Channel\" align =\"Center\">%d</td>", ap.channel));
        W("<td class = \"Selected?\" align =\"Center\"> No </td>");
    }
    ApPositionCells(ap);
    if (RadiusColumn()) {
        if (ap.uncertaintyM > 0.0)
            W(Format("\n <td class=\"Uncertainty\" align =\"Center\">%5.3f</td>",
                     ap.uncertaintyM / unit_));
        else
            W("\n <td class=\"Uncertainty\" align =\"Center\">-</td>");
    }
    W(Format("\n <td class=\"N1 Points\" align =\"Center\"> %d</th>", ap.samples.GetSize()));
    W(Format("\n <td class=\"N2 Points\" align =\"Center\"> %d</th>",
             ap.filteredSamples.GetSize()));
    if (accuracy_)
        W(AccuracyApCells(*accuracy_, doc_, static_cast<int>(&ap - doc_.aps.data())));
    W(selected ? "</tr>" : "\n </tr>");
}

void CReportWriter::AccessPoints() {
    Status("Write Down AP's Info...");
    W("\n <h3>Access Point Information</h3>");
    W(Format("\n <p>AP positions estimated by the %s method</p>",
             std::string(EstimatorName(doc_.estimator)).c_str()));
    if (doc_.coverageModel != CoverageModelKind::Study)
        W(Format("\n <p>Maps made by the %s coverage model</p>",
                 std::string(CoverageModelName(doc_.coverageModel)).c_str()));
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">Index</th>");
    W("\n <th align =\"Center\">SSID</th>");
    W("\n <th align =\"Center\">MAC</th>");
    W("\n <th align =\"Center\">Channel</th>");
    if (!options_.showAllAps)
        W("\n <th align =\"Center\">Selected?</th>");
    PositionHeaders();
    if (RadiusColumn())
        W(doc_.UseFeet ? "\n <th align =\"Center\">Uncertainty(Ft)</th>"
                       : "\n <th align =\"Center\">Uncertainty(m)</th>");
    W("\n <th align =\"Center\">N1 Points</th>");
    W("\n <th align =\"Center\">N2 Points</th>");
    if (accuracy_)
        W(AccuracyHeaderCells());
    W("\n </tr>");
    int index = 1;
    for (const CAPInfo& ap : doc_.aps)
        if (ap.selected)
            ApRow(ap, index++, true);
    if (!options_.showAllAps)
        for (const CAPInfo& ap : doc_.aps)
            if (!ap.selected)
                ApRow(ap, index++, false);
    W("\n </table>");
    W("\n <p/>");

    W("\n <h3>AP Antenna Information and Notes</h3>");
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">AP's SSID</th>");
    W("\n <th align =\"Center\">AP's MAC</th>");
    AntennaHeaders();
    for (const CAPInfo& ap : doc_.aps) {
        if (!ap.selected && options_.showAllAps)
            continue;
        W("\n <tr>");
        W(Format("\n <td align =\"Center\">%s</td>", EscapeXml(SsidText(ap.ssid)).c_str()));
        W(Format("\n <td align =\"Center\">%s</td>", MacText(ap.bssid).c_str()));
        AntennaCells(ap.txPower, ap.antennaGain, ap.antennaHeight, ap.antennaDirection, ap.notes);
        W("\n </tr>");
    }
    W("\n </tr>");
    W("\n </table>");
    W("\n <p/>");
    W("\n <p/>");
}

void CReportWriter::MarkedAps() {
    Status("Write Down AP's Info...");
    Position(20);
    W("\n <h3>Marked Access Point's Information</h3>");
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">Index</th>");
    W("\n <th align =\"Center\">SSID</th>");
    W("\n <th align =\"Center\">MAC</th>");
    W("\n <th align =\"Center\">Channel</th>");
    PositionHeaders();
    W("\n </tr>");
    int index = 1;
    for (const CAPMarker& m : doc_.markers) {
        W("\n <tr>");
        W(Format("\n <td class=\"Index\" align =\"Center\">%d</td>", index++));
        W(Format("\n <td class=\"SSID\" align =\"Center\">%s</td>",
                 EscapeXml(SsidText(m.ssid)).c_str()));
        W(Format("\n <td class=\"MAC\" align =\"Center\">%s</td>", MacText(m.bssid).c_str()));
        W(Format("\n <td class=\"Channel\" align =\"Center\">%d</td>",
                 static_cast<int>(m.channel)));
        PositionCells(m.y, m.x);
        W("</tr>");
    }
    W("\n </table>");
    W("\n <p/>");

    W("\n <h3>Marked AP's Antenna Information and Notes</h3>");
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">AP's Name</th>");
    AntennaHeaders();
    for (const CAPMarker& m : doc_.markers) {
        W("\n <tr>");
        W(Format("\n <td align =\"Center\">%s</td>", EscapeXml(m.name).c_str()));
        AntennaCells(m.txPower, m.antennaGain, m.antennaHeight, m.antennaDirection, m.notes);
        W("\n </tr>");
    }
    W("\n </tr>");
    W("\n </table>");
    W("\n <p/>");
    W("\n <p/>");
    Position(10);
}

void CReportWriter::InterferenceSources() {
    Status("Write Down Interference Info...");
    Position(25);
    W("\n <h3>Interference Source's Information</h3>");
    W("\n <table border=\"1\">");
    W("\n <tr>");
    W("\n <th align =\"Center\">Index</th>");
    W("\n <th align =\"Center\">Name</th>");
    W("\n <th align =\"Center\">Frequency</th>");
    W("\n <th align =\"Center\">Bandwidth</th>");
    PositionHeaders();
    W("\n <th align =\"Center\">Notes</th>");
    W("\n </tr>");
    int index = 1;
    for (const CISMarker& s : doc_.sources) {
        W("\n <tr>");
        W(Format("\n <td class=\"Index\" align =\"Center\">%d</td>", index++));
        W(Format("\n <td class=\"Name\" align =\"Center\">%s</td>", EscapeXml(s.name).c_str()));
        W(Format("\n <td class=\"Frequency\" align =\"Center\">%s</td>",
                 EscapeXml(s.frequency).c_str()));
        W(Format("\n <td class=\"Bandwidth\" align =\"Center\">%s</td>",
                 EscapeXml(s.bandwidth).c_str()));
        PositionCells(s.y, s.x);
        W(Format("\n <td class=\"Notes\" align =\"Center\">%s</td>",
                 EscapeHtmlKeepingBreaks(s.notes).c_str()));
        W("</tr>");
    }
    W("\n </table>");
    W("\n <p/>");
}

void CReportWriter::SurveyPath() {
    Status("Draw Measurement Path...");
    Position(30);
    W("\n <h3>Survey Path </h3>");
    W("\n <table border=\"1\">");
    W("\n <tbody>");
    W("\n <tr>");
    W("\n <td>");
    Image(SaveAs(PictureName(2), render_(doc_, kDisplayNone, true, false, false, false, ui_)));
    W("\n </td>");
    W("\n </tr>");
    W("\n </tbody>");
    W("\n </table>");

    W("\n <table border=\"1\">");
    W("\n <tr>");
    int selected = 0;
    for (const CDataFile& f : doc_.files) {
        if (f.selected == 0)
            continue;
        ++selected;
        W(Format("\n <td class=\"legendText\" align =\"Center\">%s</td>",
                 EscapeXml(f.title).c_str()));
    }
    W("\n </tr>");
    W("\n <tr>");
    const int width = std::min(60, static_cast<int>(800.0 / (selected + 2.0)));
    for (const CDataFile& f : doc_.files) {
        if (f.selected == 0)
            continue;
        const std::string link = SaveNumbered(PathLegendImage(f.colour));
        W("\n <td class=\"legendLine\">");
        W(Format("\n <img height=\"18\" src=\"%s\" width=\"%d\"/>", link.c_str(), width));
        W("\n </td>");
    }
    W("\n </tr>");
    W("\n </table>");
    W("\n <p/>");
    W("\n <p/>");
    Position(15);
}

void CReportWriter::AntennaHeaders() {
    W("\n <th align =\"Center\">Trans. Power(dBm)</th>");
    W("\n <th align =\"Center\">Antenna Gain</th>");
    W(doc_.UseFeet ? "\n <th align =\"Center\">Height(Ft)</th>"
                   : "\n <th align =\"Center\">Height(m)</th>");
    W("\n <th align =\"Center\">Direction(Deg)</th>");
    W("\n <th align =\"Center\">Notes</th>");
}

void CReportWriter::AntennaCells(const std::string& txPower, const std::string& gain,
                                 const std::string& height, const std::string& direction,
                                 const std::string& notes) {
    W(Format("\n <td class=\"Trans. Power(dBm)\" align =\"Center\">%s</td>",
             EscapeXml(txPower).c_str()));
    W(Format("\n <td class=\"Antenna Type\" align =\"Center\">%s</td>", EscapeXml(gain).c_str()));
    W(Format("\n <td class=\"Height\" align =\"Center\">%s</td>", EscapeXml(height).c_str()));
    W(Format("\n <td class=\"Direction(Deg)\" align =\"Center\">%s</td>",
             EscapeXml(direction).c_str()));
    W(Format("\n <td class=\"Notes for AP\" align =\"Center\">%s</td>",
             EscapeHtmlKeepingBreaks(notes).c_str()));
}

// A titled picture, with an optional caption row under it, then the start
// of the bordered legend table that follows every such picture.
void CReportWriter::PictureSection(const std::string& title, const std::string& link,
                                   const std::string& caption) {
    W("\n <h3>" + title + "</h3>");
    W("\n <table border=\"0\">");
    W("\n <tbody>");
    W("\n <tr>");
    W("\n <td>");
    Image(link);
    W("\n </td>");
    W("\n </tr>");
    if (!caption.empty()) {
        W("\n <tr>");
        W("\n <td> " + caption + " </td>");
        W("\n </tr>");
    }
    W("\n </tbody>");
    W("\n </table>");
    W("\n <table border=\"1\">");
}

void CReportWriter::LegendSwatchRow(const CAPInfo& ap) {
    const std::string link = SaveNumbered(ColourSwatchImage(ap.colour));
    W("\n<tr>");
    W(Format("\n <td class=\"legendColor\"><img height=\"18\" src=\"%s\" width=\"40\"/></td>",
             link.c_str()));
    W(Format("\n <td class=\"legendMAC\" align =\"Center\">    %s</td>",
             MacText(ap.bssid).c_str()));
    W(Format("\n <td class=\"legendSSID\" align =\"Center\">    %s</td>",
             EscapeXml(SsidText(ap.ssid)).c_str()));
    W("\n </tr>");
}

void CReportWriter::IndividualAnalysis() {
    bool any = false, anyFew = false;
    for (const CAPInfo& ap : doc_.aps) {
        if (!ap.selected)
            continue;
        (HasCoverageSamples(ap) ? any : anyFew) = true;
    }
    if (!any)
        return;
    Status("Draw Coverage of Selected APs...");
    Position(35);
    W("\n <h3>Individual Analysis of SelectedAPs </h3>");

    const int mode = doc_.coverageMode;
    const int apCount = doc_.aps.GetSize();
    if (mode == 1) {
        for (const CGroupInfo& group : doc_.activeGroups.groups) {
            if (!group.anySelected)
                continue;
            for (const CGroupItem& item : group.items) {
                // An index outside the AP array (a stale group) is skipped.
                if (item.apIndex < 0 || item.apIndex >= apCount)
                    continue;
                const CAPInfo& ap = doc_.aps[item.apIndex];
                if (ap.selected && HasCoverageSamples(ap))
                    ComputeApContours(doc_, item.apIndex, group.colour);
            }
        }
    } else {
        for (int i = 0; i < apCount; ++i) {
            const CAPInfo& ap = doc_.aps[i];
            if (ap.selected && HasCoverageSamples(ap))
                ComputeApContours(doc_, i, mode == 2 ? doc_.commonColour : ap.colour);
        }
    }

    const std::string picture =
        SaveNumbered(render_(doc_, kDisplayApBands, false, true, options_.showMarkedAps,
                             options_.showInterferenceSources, ui_));
    PictureSection("Coverage of Access Points ", picture, {});

    if (mode == 2) {
        const std::string link = SaveNumbered(ColourSwatchImage(doc_.commonColour));
        W("<tr>");
        W(Format("\n <td class=\"legendColor\"> <img height=\"18\" src=\"%s\" width=\"40\"/> </td>",
                 link.c_str()));
        W("\n <td class=\"legendText\" align =\"Center\"> Combined Mode: For all selected "
          "APs</td>");
        W("\n </tr>");
    } else if (mode == 1) {
        W("<tr>");
        W("\n <th class=\"legendColor\"> Color </td>");
        W("\n <th class=\"legendText\" align =\"Center\">    Groups of APs</td>");
        W("</tr>");
        for (const CGroupInfo& group : doc_.activeGroups.groups) {
            if (!group.anySelected)
                continue;
            const std::string link = SaveNumbered(ColourSwatchImage(group.colour));
            W("\n <tr>");
            W(Format(
                "\n <td class=\"legendColor\"><img height=\"18\" src=\"%s\" width=\"40\"/></td>",
                link.c_str()));
            W(Format("\n <td class=\"legendText\" align =\"Center\">  %s</td>",
                     EscapeXml(group.name).c_str()));
            W("\n </tr>");
        }
    } else {
        W("<tr>");
        W("\n <th class=\"legendColor\"> Color </th>");
        W("\n <th class=\"legendMAC\" align =\"Center\">    MAC of APs</th>");
        W("\n <th class=\"legendSSID\" align =\"Center\">    SSID of APs</th>");
        W("</tr>");
        for (const CAPInfo& ap : doc_.aps)
            if (ap.selected && HasCoverageSamples(ap))
                LegendSwatchRow(ap);
    }
    if (anyFew) {
        W("<tr>");
        W("\n <th class=\"legendColor\"> Color </th>");
        W("\n <th class=\"legendMAC\" align =\"Center\"> MAC of APs (N < 20) </th>");
        W("\n <th class=\"legendSSID\" align =\"Center\"> SSID of APs (N < 20) </th>");
        W("</tr>");
        for (const CAPInfo& ap : doc_.aps)
            if (ap.selected && !HasCoverageSamples(ap))
                LegendSwatchRow(ap);
    }
    W("\n </table>");
    W("\n </tr>");
    W("\n <tr>");
    W("\n <p/>");
    W("\n <p/>");
}

void CReportWriter::Reliability() {
    for (CAPInfo& ap : doc_.aps)
        if (ap.selected && HasUsableModel(ap))
            ComputeReliabilityRadii(ap, doc_.PowerLow);
    const std::string picture =
        SaveNumbered(render_(doc_, kDisplayReliability, false, false, false, false, ui_));
    PictureSection("Coverage Reliability Analysis ", picture,
                   Format("Reliability analysis with power threshold %d dBm.", doc_.PowerLow));
    W("\n <tr>");
    for (int i = 8; i >= 0; --i)
        W(Format("\n <td class=\"legendText\" align =\"Center\">%2.0f%%:%2.0f%%</td>",
                 10.0 * (i + 1), 10.0 * (i + 2)));
    W("\n </tr>");
    W("\n <tr>");
    for (int k = 0; k <= 8; ++k)
        BlendedSwatchCell(k);
    W("\n </table>");
    W("\n <p/>");
    W("\n <p/>");
}

void CReportWriter::StrengthAndOverlap() {
    Status("Draw the Coverage of Signal Strength of Selected APs...");
    if (options_.showApCoverage) {
        const std::string picture =
            SaveNumbered(render_(doc_, kDisplayStrengthBands, false, false, false, false, ui_));
        PictureSection("Coverage of Signal Strength", picture,
                       "The strongest RSSI (dBm) of AP(s) is shown at a location.");
        W("\n <tr>");
        const int step = static_cast<int>((doc_.PowerHigh - doc_.PowerLow) / 10.0);
        for (int i = 9; i >= 0; --i)
            W(Format("\n <td class=\"legendText\" align =\"Center\">%2.0f:%2.0f</td>",
                     static_cast<double>(doc_.PowerLow + i * step),
                     static_cast<double>(doc_.PowerLow + (i + 1) * step)));
        W("\n </tr>");
        W("\n <tr>");
        for (int k = 0; k <= 9; ++k)
            BlendedSwatchCell(k);
        W("\n </table>");
        W("\n <p/>");
        W("\n <p/>");
    }
    Status("Draw the Number of APS per Location...");
    Position(60);
    if (options_.showApOverlay) {
        const std::string picture =
            SaveNumbered(render_(doc_, kDisplayApCountBands, false, false, false, false, ui_));
        PictureSection("Overlap of Selected APs", picture,
                       Format("Number of the selected available access points is shown at a "
                              "location, where the AP's signal strength is larger than %d dBm.",
                              doc_.PowerLow));
        W("\n <tr>");
        W("\n <td class=\"legendLabel\"> >= 10 </td>");
        for (int n = 9; n >= 1; --n)
            W(Format("\n <td class=\"legendLabel\" align =\"Center\">%d</td>", n));
        W("\n </tr>");
        W("\n <tr>");
        for (int k = 0; k <= 9; ++k)
            BlendedSwatchCell(k);
        W("\n </td>");
        W("\n </table>");
        W("\n <p/>");
        W("\n <p/>");
    }
}

void CReportWriter::SurveyViews() {
    Status("Draw the survey views...");
    for (int view : extras_.views)
        W(SurveyViewHtml(doc_, view, render_(doc_, view, false, false, false, false, ui_),
                         [this](const QImage& image) { return SaveNumbered(image); }));
}

std::string CReportWriter::Write(std::time_t now) {
    Head(now);
    if (extras_.requirementSummary)
        W(RequirementSummaryHtml(doc_, extras_.requirements, ui_));
    if (options_.showSsdFiles)
        SsdFiles();
    if (options_.showAccessPoints)
        AccessPoints();
    if (options_.showMarkedAps)
        MarkedAps();
    if (options_.showInterferenceSources)
        InterferenceSources();
    if (options_.showSurveyPath)
        SurveyPath();
    IndividualAnalysis();
    if (options_.showCoverageReliability)
        Reliability();
    if (doc_.coveragePresent)
        StrengthAndOverlap();
    if (doc_.coveragePresent && !extras_.views.empty())
        SurveyViews();
    if (accuracy_)
        W(AccuracySectionHtml(*accuracy_, doc_));
    Status("Finished...");
    Position(90);
    W("\n </body>");
    W("\n </html>\n");
    return html_;
}

} // namespace

QImage RenderReportPicture(CTarvoAnalyzerDoc& doc, int displayType, bool withPath, bool withApIcons,
                           bool withMarkedApIcons, bool withInterferenceIcons, IUiServices& ui) {
    QImage image(kOffscreenWidth, kOffscreenHeight, QImage::Format_RGB32);
    RenderOffscreen(image, doc, displayType, withPath, withApIcons, withMarkedApIcons,
                    withInterferenceIcons, ui);
    return image;
}

bool IsReportPictureName(const std::string& name) {
    return name.size() > 7 && name.rfind("bmp", 0) == 0 &&
           (name.compare(name.size() - 4, 4, ".bmp") == 0 ||
            name.compare(name.size() - 4, 4, ".png") == 0) &&
           std::all_of(name.begin() + 3, name.end() - 4,
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

std::string ReportFolderTitle(const std::string& reportPath) {
    const std::string name = FileNameOf(reportPath);
    std::string title = name;
    for (std::size_t at; (at = title.find(".html")) != std::string::npos;)
        title.erase(at, 5);
    // A report not named .html would share its name with its own folder.
    if (title == name || title.empty())
        title += "_files";
    return title;
}

ReportResult WriteStudyReport(CTarvoAnalyzerDoc& doc, const CReportRequest& request,
                              IUiServices& outerUi, const ReportRenderer& render) {
    COnceUi ui(outerUi);
    IProgress& progress = ui.Progress();
    progress.ClearCancelled();
    progress.SetPosition(0);
    progress.Show();
    progress.SetText("Begin to Write A Report...");
    progress.SetPosition(1);

    // The report file is created first: when it cannot be, nothing else is
    // written and the user is told which path failed and why. The HTML and
    // the picture folder replace the earlier report together, once both are
    // complete; a cancelled or failed report leaves the earlier one as it was.
    COutputFile file(request.path);
    const auto fail = [&](const std::string& path, const CWriteFailure& failure) {
        progress.Hide();
        ui.MessageBox(WriteFailureText(path, failure), "File Open Error", MsgIcon::Error,
                      MsgButtons::Ok);
        return ReportResult::Failed;
    };
    if (!file.Ok())
        return fail(request.path, file.Failure());
    const std::string folder =
        (std::filesystem::path(request.path).parent_path() / ReportFolderTitle(request.path))
            .string();
    // Files of the user's own in the folder (a style sheet) stay with it.
    COutputFolder pictures(folder,
                           [](const std::string& name) { return !IsReportPictureName(name); });
    if (!pictures.Ok())
        return fail(folder, pictures.Failure());
    const std::filesystem::path css = std::filesystem::path(pictures.WritePath()) / "report.css";
    std::error_code ec;
    if (!std::filesystem::exists(css, ec))
        WriteFileAtomically(
            css.string(),
            std::span(reinterpret_cast<const std::uint8_t*>(kReportCss), std::strlen(kReportCss)));

    CReportWriter writer(doc, request, ui, render, pictures.WritePath());
    std::string html;
    try {
        html = ToCrLf(writer.Write(request.now ? *request.now : std::time(nullptr)));
        progress.ThrowIfCancelled(); // a Cancel at the very end still keeps the earlier report
    } catch (const CCancelException&) {
        progress.Hide();
        return ReportResult::Cancelled;
    }
    if (writer.PictureFailed()) {
        progress.Hide();
        return ReportResult::Failed;
    }
    if (!file.Write(html) || !file.Finish())
        return fail(request.path, file.Failure());
    if (!pictures.Commit(file))
        return fail(request.path, pictures.Failure());

    progress.SetText("Launching Report...");
    progress.SetPosition(100);
    progress.Hide();
    if (request.open)
        ui.OpenWithAssociatedProgram(request.path);
    return ReportResult::Written;
}

} // namespace tarvo
