#include "export/ReportExtraSections.h"

#include "export/ReportImages.h"
#include "export/XmlText.h"
#include "model/Text.h"
#include "view/SurveyViews.h"

#include <climits>

namespace tarvo {

namespace {

std::string Cell(const char* cls, const std::string& text) {
    return Format("\n <td class=\"%s\" align =\"Center\">%s</td>", cls, EscapeXml(text).c_str());
}

std::string Header(const char* text) {
    return Format("\n <th align =\"Center\">%s</th>", text);
}

} // namespace

std::string RequirementSummaryHtml(const CTarvoAnalyzerDoc& doc,
                                   const std::vector<CRequirementResult>& results,
                                   IUiServices& ui) {
    std::string html = "\n <h3>Coverage Requirements</h3>\n <table border=\"1\">\n <tr>";
    for (const char* h :
         {"Signal", "At or Above", "Required Share", "Share of the Box", "Worst Place", "Verdict"})
        html += Header(h);
    html += "\n </tr>";
    for (const CRequirementResult& r : results) {
        const CRequirementTexts t = RequirementTexts(doc, r, ui);
        html += "\n <tr>" + Cell("Signal", t.signal) + Cell("Level", t.level) +
                Cell("Required", t.area) + Cell("Achieved", t.achieved) + Cell("Worst", t.worst) +
                Cell("Verdict", t.verdict) + "\n </tr>";
    }
    html += "\n </table>";
    html += Format("\n <p>Verdict: %s</p>", AllPassed(results) ? "PASS" : "FAIL");
    html += "\n <p/>";
    return html;
}

std::string SurveyViewHtml(const CTarvoAnalyzerDoc& doc, int displayType, const QImage& picture,
                           const SaveReportPicture& save) {
    const std::string link = save(picture);
    std::string html = "\n <h3>" + SurveyViewTitle(displayType).toStdString() + "</h3>";
    html += "\n <table border=\"0\">\n <tbody>\n <tr>\n <td>";
    html += Format("\n <img height=\"%d\" src=\"%s\" width=\"%d\"/>", 600, link.c_str(), 800);
    html += "\n </td>\n </tr>\n <tr>";
    html += "\n <td> " + EscapeXml(SurveyViewCaption(doc, displayType).toStdString()) + " </td>";
    html += "\n </tr>\n </tbody>\n </table>\n <table border=\"1\">";

    const CSurveyLegend legend =
        SurveyViewLegend(doc, displayType, SiteLevelsFor(doc, displayType), INT_MAX);
    const auto swatch = [&](ColourRef colour) {
        return save(BlendedSwatchImage(colour, doc.coverageOpacity));
    };
    if (displayType == kDisplayStrongestAp) {
        for (const CLegendRow& row : legend.rows) {
            html += "\n <tr>";
            html += Format("\n <td class=\"legendColor\"><img height=\"18\" src=\"%s\" "
                           "width=\"40\"/></td>",
                           swatch(row.colour).c_str());
            html += Cell("legendText", row.label.trimmed().toStdString());
            html += "\n </tr>";
        }
    } else {
        html += "\n <tr>";
        for (const CLegendRow& row : legend.rows)
            html += Cell("legendText", row.label.trimmed().toStdString());
        html += "\n </tr>\n <tr>";
        for (const CLegendRow& row : legend.rows)
            html += Format("\n <td class=\"legendColor\">\n <img height=\"18\" src=\"%s\" "
                           "width=\"%d\"/>\n </td>",
                           swatch(row.colour).c_str(), 66);
        html += "\n </tr>";
    }
    html += "\n </table>\n <p/>\n <p/>";
    return html;
}

} // namespace tarvo
