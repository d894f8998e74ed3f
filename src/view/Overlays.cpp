#include "view/Overlays.h"

#include "analysis/Coordinates.h"
#include "analysis/ThroughputGrid.h"
#include "model/CoverageViews.h"
#include "model/SettingRanges.h"
#include "model/Text.h"
#include "view/Fonts.h"
#include "view/LayerContext.h"
#include "view/SurveyViews.h"
#include "view/ThroughputLayer.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarvo {

namespace {

constexpr int kCompassSize = 64;
constexpr int kLetterOffset = 22; // letters' distance from the compass centre

struct CLegendMetrics {
    int h = 0; // height of "X"
    int r = 0; // row step
    int x = 0; // width of "X"
};

CLegendMetrics Metrics() {
    const QFontMetrics fm(OverlayFont());
    CLegendMetrics m;
    m.h = fm.height();
    m.r = m.h + 2;
    m.x = fm.horizontalAdvance(QStringLiteral("X"));
    return m;
}

// A file title is a file name; a longer text (from a damaged study) widens
// the legend no further than the longest name a file system allows.
constexpr std::size_t kLongestFileName = 255;

int TitleChars(const CDataFile& f) {
    return static_cast<int>(std::min(f.title.size(), kLongestFileName));
}

int SelectedFileCount(const CTarvoAnalyzerDoc& doc) {
    return static_cast<int>(std::count_if(doc.files.begin(), doc.files.end(),
                                          [](const CDataFile& f) { return f.selected != 0; }));
}

bool HasBandRows(const CTarvoAnalyzerDoc& doc, int displayType) {
    if (displayType == kDisplayThroughput)
        return !doc.throughput.empty();
    return doc.coveragePresent || displayType == kDisplayApSamples ||
           displayType == kDisplayReliability;
}

int PathRowsHeight(const CTarvoAnalyzerDoc& doc, const CLegendMetrics& m) {
    return doc.pathShown ? m.r * (1 + SelectedFileCount(doc)) + 5 : 0;
}

struct CBandRange {
    const char* title = nullptr;
    double lo = 0.0;
    double hi = 0.0;
    int rows = 0;
};

CBandRange BandRange(const CTarvoAnalyzerDoc& doc, int displayType) {
    switch (displayType) {
    case kDisplayReliability:
        return {"Reliability(%)", 0.0, 100.0, kReliabilityLevels};
    case kDisplayApSamples:
    case kDisplayStrengthBands:
        return {"Power: dBm", static_cast<double>(doc.PowerLow), static_cast<double>(doc.PowerHigh),
                kCoverageLevels};
    case kDisplayApCountBands:
        return {"# AP:", 0.0, 10.0, kCoverageLevels};
    case kDisplayThroughput:
        return {kThroughputLegendTitle, 0.0, ThroughputScaleTop(doc.throughput), kCoverageLevels};
    default:
        return {};
    }
}

QString Qs(const std::string& text) {
    return QString::fromStdString(text);
}

QPen SolidPen(const QColor& colour) {
    QPen pen(colour);
    pen.setWidth(1);
    return pen;
}

void Geo(const CTarvoAnalyzerDoc& doc, double x, double y, double& lat, double& lon,
         IUiServices& ui) {
    lat = 0.0;
    lon = 0.0;
    TransformPoint(doc, false, x, y, lat, lon, ui);
}

QPoint GeoToPixel(const CLayerContext& ctx, double lat, double lon, IUiServices& ui) {
    double y = 0.0, x = 0.0;
    TransformPoint(ctx.doc, true, lat, lon, y, x, ui);
    return ctx.Pixel(x, y);
}

// The rows of a survey view legend under its title, swatches blended with
// the coverage opacity as the band legends' are.
void DrawSurveyLegendRows(QPainter& painter, const CTarvoAnalyzerDoc& doc,
                          const CSurveyLegend& survey, int titleTop, const CLegendMetrics& m) {
    const double alpha = std::clamp(doc.coverageOpacity, 0, 255) / 255.0;
    int i = 0;
    for (const CLegendRow& row : survey.rows) {
        const int top = titleTop + m.r * (++i);
        if (row.swatch) {
            painter.save();
            painter.setOpacity(alpha);
            painter.fillRect(QRect(10, top + 1, 20, m.h - 2), ToQColor(row.colour));
            painter.restore();
        }
        TextAt(painter, 30, top, row.label);
    }
}

// The survey view legend's rows, when the legend shows a survey view with
// coverage to explain.
std::optional<CSurveyLegend> SurveyLegendShown(const CTarvoAnalyzerDoc& doc, int displayType) {
    if (!doc.processed || !IsSurveyView(displayType) || !doc.coveragePresent)
        return std::nullopt;
    return SurveyViewLegend(doc, displayType, SiteLevelsFor(doc, displayType));
}

QSize LegendSizeWith(const CTarvoAnalyzerDoc& doc, int displayType,
                     const std::optional<CSurveyLegend>& survey) {
    const CLegendMetrics m = Metrics();
    int width = 0, height = 0;
    if (doc.pathShown) {
        for (const CDataFile& f : doc.files)
            if (f.selected)
                width = std::max(width, m.x * TitleChars(f) + 40);
        height = PathRowsHeight(doc, m);
    }
    if (doc.processed) {
        height += m.r;
        if (survey) {
            const QFontMetrics fm(OverlayFont());
            height += static_cast<int>(survey->rows.size()) * m.r + 10;
            width = std::max(width, 80);
            for (const CLegendRow& row : survey->rows)
                width = std::max(width, 35 + fm.horizontalAdvance(row.label));
        } else if (!IsSurveyView(displayType) && HasBandRows(doc, displayType)) {
            height += 10 * m.r + 10;
            width = std::max(width, 80);
        }
        // Its title is longer than the others'.
        if (displayType == kDisplayThroughput)
            width = std::max(
                width, QFontMetrics(OverlayFont())
                               .horizontalAdvance(QString::fromLatin1(kThroughputLegendTitle)) +
                           10);
    }
    if (width <= 0 || height <= 0)
        return {};
    return {width, height};
}

} // namespace

QSize LegendSize(const CTarvoAnalyzerDoc& doc, int displayType) {
    return LegendSizeWith(doc, displayType, SurveyLegendShown(doc, displayType));
}

QString LegendBandLabel(const CTarvoAnalyzerDoc& doc, int displayType, int row) {
    const CBandRange range = BandRange(doc, displayType);
    if (row < 0 || row >= range.rows)
        return {};
    if (displayType == kDisplayApCountBands)
        return row == 0 ? QStringLiteral(" >= 10") : Qs(Format(" %d", 10 - row));
    if (displayType == kDisplayThroughput)
        return ThroughputBandLabel(range.hi, row);
    const double step = (range.hi - range.lo) / 10.0;
    return Qs(Format(" %2.0f:%2.0f", range.lo + (9 - row) * step, range.lo + (10 - row) * step));
}

QImage DrawLegend(const CTarvoAnalyzerDoc& doc, int displayType, double dpr) {
    const std::optional<CSurveyLegend> survey = SurveyLegendShown(doc, displayType);
    const QSize size = LegendSizeWith(doc, displayType, survey);
    if (size.isEmpty())
        return {};
    const CLegendMetrics m = Metrics();
    QImage legend = WhiteImage(size.width(), size.height(), dpr);
    QPainter painter(&legend);
    painter.setFont(OverlayFont());
    painter.setPen(SolidPen(QColor(20, 20, 20)));
    painter.drawLine(0, 0, 0, size.height());
    painter.drawLine(0, size.height() - 1, size.width(), size.height() - 1);

    if (doc.pathShown) {
        TextAt(painter, 5, 0, QStringLiteral("Path"));
        int i = 0;
        for (const CDataFile& f : doc.files) {
            if (!f.selected)
                continue;
            const int top = m.r * (i + 1);
            const int centre = top + m.h / 2;
            painter.setPen(SolidPen(ToQColor(f.colour)));
            painter.setBrush(Qt::white);
            painter.drawLine(10, centre, 35, centre);
            painter.drawEllipse(QRect(18, centre - 2, 4, 4));
            TextAt(painter, 40, top, Qs(f.title));
            ++i;
        }
    }
    if (doc.processed && IsSurveyView(displayType)) {
        const int titleTop = PathRowsHeight(doc, m);
        TextAt(painter, 5, titleTop, SurveyViewLegend(doc, displayType, {}).title);
        if (survey)
            DrawSurveyLegendRows(painter, doc, *survey, titleTop, m);
        return legend;
    }
    const CBandRange range = BandRange(doc, displayType);
    // The title has its row whenever data are loaded; the bands only once
    // there is something to show.
    if (doc.processed && range.title) {
        const int titleTop = PathRowsHeight(doc, m);
        TextAt(painter, 5, titleTop, QString::fromLatin1(range.title));
        if (!HasBandRows(doc, displayType))
            return legend;
        const double alpha = std::clamp(doc.coverageOpacity, 0, 255) / 255.0;
        for (int i = 0; i < range.rows; ++i) {
            const int top = titleTop + m.r * (i + 1);
            // Swatches are shown as the coverage image shows them: blended
            // over white with the coverage opacity.
            painter.save();
            painter.setOpacity(alpha);
            painter.fillRect(QRect(10, top + 1, 20, m.h - 2), ToQColor(doc.CoveragePalette[i]));
            painter.restore();
            TextAt(painter, 30, top, LegendBandLabel(doc, displayType, i));
        }
    }
    return legend;
}

void DrawCoordinateScale(const CLayerContext& ctx, QPainter& painter, bool labels, bool gridLines,
                         IUiServices& ui) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    // However many the document asks for, no more lines than the panel can
    // set: the loops below stay short whatever a study file held.
    const int n = std::min(doc.gridLineCount, kMaxGridLines);
    if (n < 1 || ctx.wc < 1 || ctx.hc < 1)
        return;
    const int wc = ctx.wc, hc = ctx.hc;
    const CVisibleRect& r = ctx.rect;
    const bool linear = doc.linearCoordinates;
    painter.save();
    painter.setFont(OverlayFont());

    if (labels) {
        const double unit = doc.UseFeet ? kMetresPerFoot : 1.0;
        for (int k = 1; k <= n; ++k) {
            const int xk = static_cast<int>(static_cast<long long>(wc) * k / n);
            const int yk = hc - static_cast<int>(static_cast<long long>(hc) * k / n);
            const double x = r.xs + k * r.wv / n;
            const double y = r.ys + k * r.hv / n;
            if (linear) {
                TextAt(painter, xk - 15, hc - 15, Qs(Format("%5.2f", x / unit)));
                TextAt(painter, 0, yk, Qs(Format("%5.2f", y / unit)));
            } else {
                double lat, lon;
                Geo(doc, x, y, lat, lon, ui);
                TextAt(painter, xk - 35, hc - 15, Qs(Format("%3.5f", lon)));
                TextAt(painter, 0, yk, Qs(Format("%3.5f", lat)));
            }
        }
        if (linear) {
            TextAt(painter, 3, hc - 22, QStringLiteral("Y"));
            TextAt(painter, 10, hc - 15, QStringLiteral("X"));
            painter.setPen(SolidPen(Qt::black));
            painter.drawLine(5, hc - 5, 15, hc - 20);
        } else {
            TextAt(painter, 3, hc - 30, QStringLiteral("Lat"));
            TextAt(painter, 5, hc - 15, QStringLiteral("Lon"));
            painter.setPen(SolidPen(Qt::black));
            painter.drawLine(3, hc - 15, 25, hc - 20);
        }
    }
    // Grid lines come last, over the labels and axis titles.
    if (gridLines) {
        QPen dotted(QColor(255, 255, 0));
        dotted.setStyle(Qt::DotLine);
        dotted.setWidth(1);
        painter.setPen(dotted);
        bool rotated = false;
        double latBl = 0, lonBl = 0, latTl = 0, lonTl = 0, latBr = 0, lonBr = 0, latTr = 0,
               lonTr = 0;
        if (!linear) {
            Geo(doc, r.xs, r.ys, latBl, lonBl, ui);
            Geo(doc, r.xs, r.ys + r.hv, latTl, lonTl, ui);
            Geo(doc, r.xs + r.wv, r.ys, latBr, lonBr, ui);
            Geo(doc, r.xs + r.wv, r.ys + r.hv, latTr, lonTr, ui);
            rotated = !(std::fabs(lonTl - lonBl) < 1e-6);
        }
        if (!rotated) {
            for (int k = 1; k <= n; ++k) {
                const int xk = static_cast<int>(static_cast<long long>(wc) * k / n);
                const int yk = hc - static_cast<int>(static_cast<long long>(hc) * k / n);
                painter.drawLine(xk, 0, xk, hc);
                painter.drawLine(0, yk, wc, yk);
            }
        } else {
            // An affine projection keeps lines of constant latitude or
            // longitude straight; each runs across the window's geographic box.
            const double latMin = std::min({latBl, latTl, latBr, latTr});
            const double latMax = std::max({latBl, latTl, latBr, latTr});
            const double lonMin = std::min({lonBl, lonTl, lonBr, lonTr});
            const double lonMax = std::max({lonBl, lonTl, lonBr, lonTr});
            for (int k = 1; k <= n; ++k) {
                double lat, lon;
                Geo(doc, r.xs + k * r.wv / n, r.ys + k * r.hv / n, lat, lon, ui);
                painter.drawLine(GeoToPixel(ctx, latMin, lon, ui),
                                 GeoToPixel(ctx, latMax, lon, ui));
                painter.drawLine(GeoToPixel(ctx, lat, lonMin, ui),
                                 GeoToPixel(ctx, lat, lonMax, ui));
            }
        }
    }
    painter.restore();
}

QImage DrawCompass(const CTarvoAnalyzerDoc& doc, int wc, int hc, IUiServices& ui, double dpr) {
    QImage compass = WhiteImage(kCompassSize, kCompassSize, dpr);
    // Screen direction of north: from the window's centre to a point of the
    // same longitude a little further north, in pixels (y grows downwards).
    const CVisibleRect r = VisibleRect(doc);
    const double xc = r.xs + r.wv / 2.0, yc = r.ys + r.hv / 2.0;
    double lat, lon;
    Geo(doc, xc, yc, lat, lon, ui);
    double yn = yc, xn = xc;
    TransformPoint(doc, true, lat + 0.001, lon, yn, xn, ui);
    double nx = (xn - xc) * (wc - 1) / r.wv;
    double ny = -(yn - yc) * (hc - 1) / r.hv;
    const double larger = std::max(std::fabs(nx), std::fabs(ny));
    if (!(larger > 0.0) || !std::isfinite(larger)) {
        nx = 0.0;
        ny = -1.0;
    } else {
        nx /= larger;
        ny /= larger;
    }
    const double len = std::sqrt(nx * nx + ny * ny);
    nx /= len;
    ny /= len;

    QPainter painter(&compass);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(32.0, 32.0);
    painter.setPen(SolidPen(QColor(120, 120, 120)));
    painter.setBrush(QColor(240, 240, 240)); // the menu-bar colour
    painter.drawEllipse(centre, 31.0, 31.0);

    painter.setFont(OverlayFont());
    const QFontMetrics fm(painter.font());
    struct CPoint {
        const char* letter;
        double dx, dy;
    };
    // East is a quarter turn clockwise from north on the screen.
    const CPoint points[] = {{"N", nx, ny}, {"S", -nx, -ny}, {"E", -ny, nx}, {"W", ny, -nx}};
    for (const CPoint& p : points) {
        const bool north = p.letter[0] == 'N';
        QPen pen(north ? QColor(200, 0, 0) : QColor(40, 40, 40));
        pen.setWidthF(north ? 2.0 : 1.0);
        painter.setPen(pen);
        painter.drawLine(centre + QPointF(p.dx * 4.0, p.dy * 4.0),
                         centre + QPointF(p.dx * (kLetterOffset - 8), p.dy * (kLetterOffset - 8)));
        const QString letter = QString::fromLatin1(p.letter);
        const QPointF at = centre + QPointF(p.dx * kLetterOffset, p.dy * kLetterOffset);
        const QRectF box(at.x() - fm.horizontalAdvance(letter) / 2.0, at.y() - fm.height() / 2.0,
                         fm.horizontalAdvance(letter), fm.height());
        painter.setPen(north ? QColor(200, 0, 0) : Qt::black);
        painter.drawText(box, Qt::AlignCenter, letter);
    }
    return compass;
}

} // namespace tarvo
