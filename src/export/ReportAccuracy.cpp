#include "export/ReportAccuracy.h"

#include "analysis/AccuracyText.h"
#include "export/XmlText.h"
#include "model/Text.h"

namespace tarvo {

namespace {

std::string Cell(const std::string& text) {
    return "\n <td align =\"Center\">" + EscapeXml(text) + "</td>";
}

std::string Header(const std::string& text) {
    return "\n <th align =\"Center\">" + EscapeXml(text) + "</th>";
}

} // namespace

std::string AccuracySectionHtml(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc) {
    const std::vector<CAccuracyRow> rows = AccuracyRows(accuracy, doc, doc.UseFeet);
    const std::vector<std::string> titles = AccuracyColumnTitles();
    const CAccuracyRow& all = rows.front();
    std::string html = "\n <h3>How accurate are these maps</h3>";
    html += "\n <p>" + EscapeXml(AccuracySetting(accuracy, doc)) + "</p>";
    html += "\n <table border=\"1\">\n <tr>";
    const bool positions = accuracy.medianPositionErrorM.has_value();
    for (std::size_t c = 2; c < titles.size(); ++c)
        if (c + 1 < titles.size() || positions)
            html += Header(titles[c]);
    html += "\n </tr>\n <tr>";
    for (const std::string* text :
         {&all.pairs, &all.inside, &all.rmse, &all.mae, &all.median, &all.bias, &all.falseCoverage})
        html += Cell(*text);
    if (positions)
        html += Cell(all.positionError);
    html += "\n </tr>\n </table>";
    html += "\n <p>" + EscapeXml(AccuracyExplanation(doc)) + "</p>";
    html += "\n <p/>";
    return html;
}

std::string AccuracyHeaderCells() {
    return Header("Pairs") + Header("RMSE (dB)") + Header("Bias (dB)") + Header("False coverage");
}

std::string AccuracyApCells(const CStudyAccuracy& accuracy, const CTarvoAnalyzerDoc& doc,
                            int apIndex) {
    const std::vector<CAccuracyRow> rows = AccuracyRows(accuracy, doc, doc.UseFeet);
    for (std::size_t k = 0; k < accuracy.aps.size(); ++k)
        if (accuracy.aps[k].apIndex == apIndex) {
            const CAccuracyRow& row = rows[k + 1];
            return Cell(row.pairs) + Cell(row.rmse) + Cell(row.bias) + Cell(row.falseCoverage);
        }
    return Cell("-") + Cell("-") + Cell("-") + Cell("-");
}

} // namespace tarvo
