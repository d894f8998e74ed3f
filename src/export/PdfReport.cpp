#include "export/PdfReport.h"

#include "analysis/Coordinates.h"
#include "analysis/Coverage.h"
#include "analysis/Reliability.h"
#include "export/OnceUi.h"
#include "export/PdfPages.h"
#include "formats/FileIo.h"
#include "model/ChannelPlan.h"
#include "model/CoverageModelKind.h"
#include "model/Text.h"
#include "view/Overlays.h"
#include "view/RenderLayers.h"
#include "view/SurveyViews.h"

#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <climits>

namespace tarvo {

namespace {

constexpr double kMarginPoints = 40.0;
// Room a picture wants below it on its page: the axis note and a legend.
constexpr double kRoomForLegend = 70.0;

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const std::string& text) {
    const std::size_t end = text.find_last_not_of(" \r\n\t");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// A colour as the coverage image shows it: blended over white with the
// coverage opacity.
QColor Blended(ColourRef colour, int opacity) {
    const double a = std::clamp(opacity, 0, 255) / 255.0;
    const auto mix = [a](int c) { return static_cast<int>(std::lround(255 * (1 - a) + c * a)); };
    return {mix(RedOf(colour)), mix(GreenOf(colour)), mix(BlueOf(colour))};
}

QColor Plain(ColourRef colour) {
    return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

class CPdfReport {
public:
    CPdfReport(CTarvoAnalyzerDoc& doc, const CReportRequest& request, IUiServices& ui,
               const ReportRenderer& render, CPdfPages& pages)
        : doc_(doc), request_(request), options_(request.options), ui_(ui),
          progress_(ui.Progress()), render_(render), pages_(pages) {
        unit_ = doc.UseFeet ? kMetresPerFoot : 1.0;
        unitLabel_ = LengthUnitLabel(doc.UseFeet);
        geographic_ = doc.projectionKind != kProjectionLinear && !doc.linearPointsPresent;
        results_ = request.extras.requirements;
        if (results_.empty())
            results_ = JudgeRequirements(doc, {DefaultRequirement(doc)});
    }

    void Write(std::time_t now) {
        Step("Write the summary...", 5);
        FirstPage(now);
        if (options_.showSurveyPath)
            PathPicture();
        ApPicture();
        if (doc_.coveragePresent) {
            if (options_.showApCoverage)
                BandPicture(kDisplayStrengthBands, "Coverage of Signal Strength",
                            "The strongest RSSI (dBm) of AP(s) is shown at a location.",
                            "Strongest signal, dBm");
            if (options_.showApOverlay)
                BandPicture(kDisplayApCountBands, "Overlap of Selected APs",
                            Format("Number of the selected available access points is shown at a "
                                   "location, where the AP's signal strength is larger than %d "
                                   "dBm.",
                                   doc_.PowerLow),
                            "Number of APs");
            for (int view : request_.extras.views)
                SurveyView(view);
        }
        if (options_.showCoverageReliability)
            ReliabilityTable();
        if (options_.showAccessPoints)
            ApTables();
        if (options_.showMarkedAps)
            MarkedAps();
        if (options_.showInterferenceSources)
            Sources();
        Step("Finished...", 90);
    }

private:
    void Step(const std::string& text, int position) {
        progress_.ThrowIfCancelled();
        progress_.SetText(text);
        progress_.SetPosition(position);
    }

    // How the maps of this study were made, in words.
    QString CoverageModelText() const {
        if (doc_.coverageModel == CoverageModelKind::Survey)
            return QStringLiteral("survey model: each AP's heard samples interpolated around its "
                                  "fitted propagation trend, no signal where most nearby "
                                  "locations did not hear it");
        return QStringLiteral("study model: the three nearest thinned samples of each AP, "
                              "blended 60 : 40 with its fitted propagation model where it has "
                              "one");
    }

    QString StudyName() const {
        if (!doc_.workspacePath.empty())
            return Qs(FileNameOf(doc_.workspacePath));
        if (!doc_.projectionPath.empty())
            return Qs(FileNameOf(doc_.projectionPath));
        return QStringLiteral("Untitled");
    }

    void FirstPage(std::time_t now);
    void Requirements();
    void PathPicture();
    void ApPicture();
    void BandPicture(int type, const std::string& title, const std::string& caption,
                     const QString& legendTitle);
    void SurveyView(int type);
    void ReliabilityTable();
    void ApTables();
    void MarkedAps();
    void Sources();

    // A heading that starts a picture: on a new page unless the picture
    // and its legend fit under it on this one.
    void PictureHeading(const QString& text) {
        pages_.Keep(pages_.Width() * kOffscreenHeight / kOffscreenWidth + kRoomForLegend + 40);
        pages_.Heading(text);
    }

    QImage Render(int type, bool path, bool apIcons, bool marked, bool sources) {
        return render_(doc_, type, path, apIcons, marked, sources, ui_);
    }
    void AxisNote();
    QStringList PositionHeaders() const;
    QStringList PositionCells(double y, double x);
    QStringList ApPositionCells(const CAPInfo& ap);

    CTarvoAnalyzerDoc& doc_;
    const CReportRequest& request_;
    const CReportOptions& options_;
    IUiServices& ui_;
    IProgress& progress_;
    const ReportRenderer& render_;
    CPdfPages& pages_;
    std::vector<CRequirementResult> results_;
    double unit_ = 1.0;
    const char* unitLabel_ = "m";
    bool geographic_ = false;
};

void CPdfReport::FirstPage(std::time_t now) {
    pages_.Title(QStringLiteral("Site Survey Study Report"));
    QStringList files;
    for (const CDataFile& f : doc_.files)
        if (f.selected) {
            const std::string created = Trimmed(f.created);
            files << Qs(f.title + (created.empty() ? "" : " (" + created + ")"));
        }
    int selected = 0;
    for (const CAPInfo& ap : doc_.aps)
        selected += ap.selected ? 1 : 0;
    char date[64] = {};
    const std::string dateText = ctime_r(&now, date) ? Trimmed(date) : std::string();
    pages_.Fields({
        {QStringLiteral("Study"), StudyName()},
        {QStringLiteral("Report date"), Qs(dateText)},
        {QStringLiteral("Survey files"),
         files.isEmpty() ? QStringLiteral("none") : files.join(QStringLiteral(", "))},
        {QStringLiteral("Map"), doc_.projectionPath.empty() ? QStringLiteral("none")
                                                            : Qs(FileNameOf(doc_.projectionPath))},
        {QStringLiteral("AP positions"),
         Qs(Format("estimated by the %s method",
                   std::string(EstimatorName(doc_.estimator)).c_str()))},
        {QStringLiteral("Coverage model"), CoverageModelText()},
        {QStringLiteral("Selected APs"), Qs(Format("%d of %d", selected, doc_.aps.GetSize()))},
        {QStringLiteral("Coverage grid"),
         doc_.coveragePresent ? Qs(Format("%d x %d points, %.2f %s apart", doc_.CoverageRows,
                                          doc_.CoverageCols, doc_.Resolution / unit_, unitLabel_))
                              : QStringLiteral("not computed")},
        {QStringLiteral("Power range"), Qs(Format("%d to %d dBm", doc_.PowerLow, doc_.PowerHigh))},
    });
    Requirements();
}

void CPdfReport::Requirements() {
    pages_.Heading(QStringLiteral("Coverage Requirements"));
    pages_.Text(QStringLiteral("Each requirement asks that a signal be at or above its level on "
                               "at least the required share of the analysed area. The second-"
                               "strongest signal is the one a client can roam to."));
    std::vector<QStringList> rows;
    for (const CRequirementResult& r : results_) {
        const CRequirementTexts t = RequirementTexts(doc_, r, ui_);
        rows.push_back(
            {Qs(t.signal), Qs(t.level), Qs(t.area), Qs(t.achieved), Qs(t.worst), Qs(t.verdict)});
    }
    pages_.Table({1.3, 0.9, 0.9, 0.9, 2.6, 1.1},
                 {QStringLiteral("Signal"), QStringLiteral("At or above"),
                  QStringLiteral("Required"), QStringLiteral("Achieved"),
                  QStringLiteral("Worst place"), QStringLiteral("Verdict")},
                 rows);
    const bool passed = AllPassed(results_);
    pages_.Text(passed ? QStringLiteral("Verdict: PASS") : QStringLiteral("Verdict: FAIL"), true,
                passed ? QColor(0, 120, 40) : QColor(190, 20, 20), 14);
}

void CPdfReport::AxisNote() {
    const QString text =
        doc_.linearCoordinates
            ? Qs(Format("Axis labels: X along the bottom, Y up the left side, in %s.",
                        doc_.UseFeet ? "feet" : "metres"))
            : QStringLiteral("Axis labels: longitude along the bottom, latitude up the left "
                             "side, in degrees.");
    pages_.Text(text, false, Qt::darkGray, 8);
}

void CPdfReport::PathPicture() {
    Step("Draw Measurement Path...", 30);
    PictureHeading(QStringLiteral("Survey Path"));
    pages_.Picture(Render(kDisplayNone, true, false, false, false), kRoomForLegend);
    AxisNote();
    std::vector<CPdfLegendEntry> entries;
    for (const CDataFile& f : doc_.files)
        if (f.selected)
            entries.push_back({Plain(f.colour), Qs(f.title), true, true});
    pages_.Legend(QStringLiteral("Walks"), entries);
}

void CPdfReport::ApPicture() {
    bool any = false;
    std::vector<CPdfLegendEntry> few;
    for (const CAPInfo& ap : doc_.aps) {
        if (!ap.selected)
            continue;
        if (HasCoverageSamples(ap))
            any = true;
        else
            few.push_back(
                {Plain(ap.colour), Qs(MacText(ap.bssid) + "  " + SsidText(ap.ssid) + " (N < 3)")});
    }
    if (!any)
        return;
    Step("Draw Coverage of Selected APs...", 35);
    const int mode = doc_.coverageMode;
    std::vector<CPdfLegendEntry> entries;
    if (mode == 1) {
        for (const CGroupInfo& group : doc_.activeGroups.groups) {
            if (!group.anySelected)
                continue;
            for (const CGroupItem& item : group.items)
                if (item.apIndex >= 0 && item.apIndex < doc_.aps.GetSize() &&
                    doc_.aps[item.apIndex].selected && HasCoverageSamples(doc_.aps[item.apIndex]))
                    ComputeApContours(doc_, item.apIndex, group.colour);
            entries.push_back({Plain(group.colour), Qs(group.name)});
        }
    } else {
        for (int i = 0; i < doc_.aps.GetSize(); ++i) {
            const CAPInfo& ap = doc_.aps[i];
            if (!ap.selected || !HasCoverageSamples(ap))
                continue;
            const ColourRef colour = mode == 2 ? doc_.commonColour : ap.colour;
            ComputeApContours(doc_, i, colour);
            if (mode != 2)
                entries.push_back(
                    {Plain(colour), Qs(MacText(ap.bssid) + "  " + SsidText(ap.ssid))});
        }
        if (mode == 2)
            entries.push_back(
                {Plain(doc_.commonColour), QStringLiteral("Combined Mode: For all selected APs")});
    }
    entries.insert(entries.end(), few.begin(), few.end());
    PictureHeading(QStringLiteral("Coverage of Access Points"));
    pages_.Picture(Render(kDisplayApBands, false, true, options_.showMarkedAps,
                          options_.showInterferenceSources),
                   kRoomForLegend);
    AxisNote();
    pages_.Legend(mode == 1 ? QStringLiteral("Groups of APs") : QStringLiteral("APs"), entries);
}

void CPdfReport::BandPicture(int type, const std::string& title, const std::string& caption,
                             const QString& legendTitle) {
    Step("Draw the Coverage of Signal Strength of Selected APs...", 50);
    PictureHeading(Qs(title));
    pages_.Picture(Render(type, false, false, false, false), kRoomForLegend);
    pages_.Text(Qs(caption));
    AxisNote();
    std::vector<CPdfLegendEntry> entries;
    for (int i = 0; i < kCoverageLevels; ++i)
        entries.push_back(
            {Blended(doc_.CoveragePalette[static_cast<std::size_t>(i)], doc_.coverageOpacity),
             LegendBandLabel(doc_, type, i).trimmed()});
    pages_.Legend(legendTitle, entries);
}

void CPdfReport::SurveyView(int type) {
    Step("Draw the survey views...", 60);
    PictureHeading(SurveyViewTitle(type));
    pages_.Picture(Render(type, false, false, false, false), kRoomForLegend);
    pages_.Text(SurveyViewCaption(doc_, type));
    AxisNote();
    const CSurveyLegend legend = SurveyViewLegend(doc_, type, SiteLevelsFor(doc_, type), INT_MAX);
    std::vector<CPdfLegendEntry> entries;
    for (const CLegendRow& row : legend.rows)
        entries.push_back(
            {Blended(row.colour, doc_.coverageOpacity), row.label.trimmed(), false, row.swatch});
    pages_.Legend(legend.title, entries);
}

void CPdfReport::ReliabilityTable() {
    Step("Write the reliability of each AP...", 70);
    pages_.Heading(QStringLiteral("Coverage Reliability Analysis"));
    pages_.Text(Qs(Format("For each selected AP with a propagation model: the distances at which "
                          "receiving at least %d dBm is 90 %%, 50 %% and 10 %% likely, and the "
                          "share of the analysed area within the 90 %% and 50 %% distances.",
                          doc_.PowerLow)));
    std::vector<QStringList> rows;
    QStringList without;
    for (CAPInfo& ap : doc_.aps) {
        if (!ap.selected)
            continue;
        if (!HasUsableModel(ap)) {
            without << Qs(MacText(ap.bssid));
            continue;
        }
        ComputeReliabilityRadii(ap, doc_.PowerLow);
        const auto radius = [&](int k) {
            return Qs(
                Format("%.1f %s", ap.levels[static_cast<std::size_t>(k)] / unit_, unitLabel_));
        };
        const auto share = [&](int k) {
            return Qs(
                Format("%.1f %%",
                       100.0 * ShareOfBoxWithin(doc_.AnalysisBox, ap.position[0], ap.position[1],
                                                ap.levels[static_cast<std::size_t>(k)])));
        };
        rows.push_back({Qs(MacText(ap.bssid)), Qs(SsidText(ap.ssid)), QString::number(ap.channel),
                        radius(8), radius(4), radius(0), share(8), share(4)});
    }
    pages_.Table({1.7, 1.6, 0.5, 0.9, 0.9, 0.9, 0.9, 0.9},
                 {QStringLiteral("MAC"), QStringLiteral("SSID"), QStringLiteral("Ch"),
                  QStringLiteral("90 %"), QStringLiteral("50 %"), QStringLiteral("10 %"),
                  QStringLiteral("Area 90 %"), QStringLiteral("Area 50 %")},
                 rows);
    if (!without.isEmpty())
        pages_.Text(QStringLiteral("No propagation model (too few samples or a flat fit): ") +
                    without.join(QStringLiteral(", ")));
}

QStringList CPdfReport::PositionHeaders() const {
    if (geographic_)
        return {QStringLiteral("Latitude"), QStringLiteral("Longitude")};
    return {Qs(Format("Y (%s)", unitLabel_)), Qs(Format("X (%s)", unitLabel_))};
}

QStringList CPdfReport::PositionCells(double y, double x) {
    if (geographic_) {
        double lat = 0.0, lon = 0.0;
        TransformPoint(doc_, false, x, y, lat, lon, ui_);
        return {Qs(Format("%3.5f", lat)), Qs(Format("%3.5f", lon))};
    }
    return {Qs(Format("%5.3f", y / unit_)), Qs(Format("%5.3f", x / unit_))};
}

QStringList CPdfReport::ApPositionCells(const CAPInfo& ap) {
    if (ap.valid)
        return PositionCells(ap.position[0], ap.position[1]);
    const QString remark = ap.filteredSamples.GetSize() > doc_.MinPointsForEstimate
                               ? QStringLiteral("Need More Points")
                               : QStringLiteral("Not Enough Points");
    return {remark, remark};
}

void CPdfReport::ApTables() {
    Step("Write Down AP's Info...", 80);
    pages_.Heading(QStringLiteral("Access Point Information"));
    pages_.Text(Qs(Format("AP positions estimated by the %s method.",
                          std::string(EstimatorName(doc_.estimator)).c_str())));
    const bool listAll = !options_.showAllAps;
    QStringList header{QStringLiteral("Index"), QStringLiteral("SSID"), QStringLiteral("MAC"),
                       QStringLiteral("Channel"), QStringLiteral("MHz")};
    std::vector<double> shares{0.5, 1.8, 1.7, 0.7, 0.6};
    if (listAll) {
        header << QStringLiteral("Selected?");
        shares.push_back(0.7);
    }
    header << PositionHeaders() << QStringLiteral("N1") << QStringLiteral("N2");
    shares.insert(shares.end(), {1.0, 1.0, 0.5, 0.5});
    std::vector<QStringList> rows;
    int index = 1;
    const auto add = [&](const CAPInfo& ap) {
        QStringList row{QString::number(index++), Qs(SsidText(ap.ssid)), Qs(MacText(ap.bssid)),
                        QString::number(ap.channel),
                        QString::number(FrequencyForChannel(ap.channel))};
        if (listAll)
            row << (ap.selected ? QStringLiteral("Yes") : QStringLiteral("No"));
        row << ApPositionCells(ap) << QString::number(ap.samples.GetSize())
            << QString::number(ap.filteredSamples.GetSize());
        rows.push_back(row);
    };
    for (const CAPInfo& ap : doc_.aps)
        if (ap.selected)
            add(ap);
    if (listAll)
        for (const CAPInfo& ap : doc_.aps)
            if (!ap.selected)
                add(ap);
    pages_.Table(shares, header, rows);

    std::vector<QStringList> antennas;
    for (const CAPInfo& ap : doc_.aps) {
        if (!ap.selected && !listAll)
            continue;
        if (ap.txPower.empty() && ap.antennaGain.empty() && ap.antennaHeight.empty() &&
            ap.antennaDirection.empty() && ap.notes.empty())
            continue;
        antennas.push_back({Qs(MacText(ap.bssid)), Qs(ap.txPower), Qs(ap.antennaGain),
                            Qs(ap.antennaHeight), Qs(ap.antennaDirection),
                            Qs(ap.notes).replace(QStringLiteral("<br>"), QStringLiteral(" "))});
    }
    if (antennas.empty())
        return;
    pages_.Heading(QStringLiteral("AP Antenna Information and Notes"));
    pages_.Table({1.6, 1.0, 1.0, 1.0, 1.0, 2.4},
                 {QStringLiteral("MAC"), QStringLiteral("Trans. Power(dBm)"),
                  QStringLiteral("Antenna Gain"), Qs(Format("Height(%s)", unitLabel_)),
                  QStringLiteral("Direction(Deg)"), QStringLiteral("Notes")},
                 antennas);
}

void CPdfReport::MarkedAps() {
    if (doc_.markers.IsEmpty())
        return;
    Step("Write Down AP's Info...", 85);
    pages_.Heading(QStringLiteral("Marked Access Points"));
    std::vector<QStringList> rows;
    int index = 1;
    for (const CAPMarker& m : doc_.markers)
        rows.push_back(QStringList{QString::number(index++), Qs(m.name), Qs(SsidText(m.ssid)),
                                   Qs(MacText(m.bssid)), QString::number(m.channel)}
                       << PositionCells(m.y, m.x));
    pages_.Table({0.5, 1.4, 1.6, 1.7, 0.7, 1.0, 1.0},
                 QStringList{QStringLiteral("Index"), QStringLiteral("Name"),
                             QStringLiteral("SSID"), QStringLiteral("MAC"),
                             QStringLiteral("Channel")}
                     << PositionHeaders(),
                 rows);
}

void CPdfReport::Sources() {
    if (doc_.sources.IsEmpty())
        return;
    Step("Write Down Interference Info...", 88);
    pages_.Heading(QStringLiteral("Interference Sources"));
    std::vector<QStringList> rows;
    int index = 1;
    for (const CISMarker& s : doc_.sources)
        rows.push_back(
            QStringList{QString::number(index++), Qs(s.name), Qs(s.frequency), Qs(s.bandwidth)}
            << PositionCells(s.y, s.x)
            << Qs(s.notes).replace(QStringLiteral("<br>"), QStringLiteral(" ")));
    pages_.Table({0.5, 1.4, 1.0, 1.0, 1.0, 1.0, 2.2},
                 QStringList{QStringLiteral("Index"), QStringLiteral("Name"),
                             QStringLiteral("Frequency"), QStringLiteral("Bandwidth")}
                     << PositionHeaders() << QStringLiteral("Notes"),
                 rows);
}

} // namespace

ReportPage DefaultReportPage() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? ReportPage::Letter
                                                                              : ReportPage::A4;
}

ReportResult WritePdfReport(CTarvoAnalyzerDoc& doc, const CReportRequest& request, ReportPage page,
                            IUiServices& outerUi, const ReportRenderer& render) {
    COnceUi ui(outerUi);
    IProgress& progress = ui.Progress();
    progress.ClearCancelled();
    progress.SetPosition(0);
    progress.Show();
    progress.SetText("Begin to Write A Report...");
    progress.SetPosition(1);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageLayout(
            QPageLayout(QPageSize(page == ReportPage::Letter ? QPageSize::Letter : QPageSize::A4),
                        QPageLayout::Portrait,
                        QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                        QPageLayout::Point));
        writer.setTitle(QStringLiteral("Site Survey Study Report"));
        writer.setCreator(QStringLiteral("TarvoAnalyzer"));
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        CPdfPages pages(writer, painter);
        const ReportRenderer renderer = render ? render : ReportRenderer(RenderReportPicture);
        try {
            CPdfReport(doc, request, ui, renderer, pages)
                .Write(request.now ? *request.now : std::time(nullptr));
        } catch (const CCancelException&) {
            painter.end();
            progress.Hide();
            return ReportResult::Failed;
        }
        pages.Finish();
    }
    const QByteArray& bytes = buffer.data();
    CWriteFailure failure;
    if (!WriteFileAtomically(request.path,
                             std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())),
                             &failure)) {
        progress.Hide();
        ui.MessageBox(WriteFailureText(request.path, failure), "File Open Error", MsgIcon::Error,
                      MsgButtons::Ok);
        return ReportResult::Failed;
    }
    progress.SetText("Launching Report...");
    progress.SetPosition(100);
    progress.Hide();
    if (request.open)
        ui.OpenWithAssociatedProgram(request.path);
    return ReportResult::Written;
}

} // namespace tarvo
