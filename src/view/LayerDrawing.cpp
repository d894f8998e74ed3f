#include "view/LayerDrawing.h"

#include "analysis/ApModel.h"
#include "view/Icons.h"
#include "view/PictureDrawing.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstdint>

namespace tarvo {

namespace {

constexpr int kBandAlpha = 200;
// A path width beyond this is no longer a line; a corrupt study must not
// make every point a disc covering the picture.
constexpr int kWidestPath = 100;

int PathWidth(const CTarvoAnalyzerDoc& doc) {
    return std::clamp(doc.pathWidth, 0, kWidestPath);
}

// A one-to-one target draws thin pens on a fast path where caps and joins
// make no difference. On a high-density target a pen is stroked as an
// outline, and square caps and mitred joins keep that outline free of
// curves, which round ones fill with many small segments.
QPen SolidPen(const QColor& colour, int width, double dpr) {
    QPen pen(colour);
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(width);
    const bool oneToOne = dpr == 1.0;
    pen.setCapStyle(oneToOne ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(oneToOne ? Qt::RoundJoin : Qt::MiterJoin);
    return pen;
}

QPolygon AreaPolygon(const CLayerContext& ctx, const CDataArea& area) {
    QPolygon polygon;
    const int n = std::clamp(area.vertexCount, 0, 4);
    for (int i = 0; i < n; ++i)
        polygon << ctx.Pixel(area.x[i], area.y[i]);
    return polygon;
}

void DrawSegment(QPainter& painter, const CLayerContext& ctx, const CDataLine& line) {
    // Stored as x1, x2, y1, y2.
    painter.drawLine(ctx.Pixel(line.v[0], line.v[2]), ctx.Pixel(line.v[1], line.v[3]));
}

// End of a run of `count` elements from `next` in an array of `size`: the
// sum is taken in 64 bits, so no count a study holds can wrap it.
int RunEnd(int next, std::int32_t count, int size) {
    const std::int64_t end = static_cast<std::int64_t>(next) + std::max<std::int32_t>(count, 0);
    return static_cast<int>(std::min<std::int64_t>(end, size));
}

// Draws `count` polygons then `count` segments of one band, starting at the
// running positions, which advance. Counts never reach past the arrays.
void DrawBand(QPainter& painter, const CLayerContext& ctx, const CArray<CDataArea>& areas,
              int& nextArea, int areaCount, const CArray<CDataLine>& lines, int& nextLine,
              int lineCount, const QColor& colour) {
    const QPen pen = SolidPen(colour, 1, ctx.dpr);
    painter.setPen(pen);
    if (ctx.dpr != 1.0) {
        // The outline, in the fill's colour, only closes the seams between
        // the band's cells; one device pixel does that on a high-density
        // target at a fraction of the cost of stroking every cell.
        QPen seam(colour);
        seam.setCosmetic(true);
        seam.setWidth(1);
        painter.setPen(seam);
    }
    painter.setBrush(colour);
    const int areaEnd = RunEnd(nextArea, areaCount, areas.GetSize());
    for (; nextArea < areaEnd; ++nextArea) {
        const QPolygon polygon = AreaPolygon(ctx, areas[nextArea]);
        if (polygon.size() >= 3)
            painter.drawPolygon(polygon);
    }
    painter.setPen(pen);
    const int lineEnd = RunEnd(nextLine, lineCount, lines.GetSize());
    for (; nextLine < lineEnd; ++nextLine)
        DrawSegment(painter, ctx, lines[nextLine]);
}

// Pixel box of a site box given by its low corner and size (Y first).
QRect SiteBoxPixels(const CLayerContext& ctx, const std::array<double, 2>& origin,
                    const std::array<double, 2>& extent) {
    const QPoint topLeft = ctx.Pixel(origin[1], origin[0] + extent[0]);
    const QPoint bottomRight = ctx.Pixel(origin[1] + extent[1], origin[0]);
    return QRect(topLeft, bottomRight).normalized();
}

// Each AP is drawn on a clear layer of its own and composed onto the canvas
// with alpha 200 within its box, so the bands and rings of an earlier AP are
// blended once, not again under every later AP's box.
QImage ClearLayer(const CLayerContext& ctx) {
    QImage layer(DeviceSpan(ctx.wc, ctx.dpr), DeviceSpan(ctx.hc, ctx.dpr),
                 QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ctx.dpr);
    layer.fill(Qt::transparent);
    return layer;
}

void ComposeLayer(QImage& canvas, const QImage& layer, const QRect& area) {
    const QRect clipped = area.intersected(LogicalRect(canvas));
    if (clipped.isEmpty())
        return;
    if (canvas.devicePixelRatio() != 1.0) {
        BlendDevicePixels(canvas, layer, clipped, kBandAlpha / 255.0);
        return;
    }
    QPainter painter(&canvas);
    painter.setClipRect(clipped);
    painter.setOpacity(kBandAlpha / 255.0);
    painter.drawImage(0, 0, layer);
}

void DrawIcon(QPainter& painter, QPoint p, int id, int fallback) {
    const QPoint at(p.x() - kIconSize / 2, p.y() - kIconSize / 2);
    if (!DrawProgramIcon(painter, id, at))
        DrawProgramIcon(painter, fallback, at);
}

} // namespace

void DrawMapLayer(const CLayerContext& ctx, std::initializer_list<QImage*> images) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    if (!doc.mapLoaded || !doc.view.showMap || !doc.mapPicture.IsLoaded())
        return;
    const QPoint low = ctx.Pixel(0.0, 0.0);
    const QPoint high = ctx.Pixel(doc.MapExtentWidth, doc.MapExtentHeight);
    const double x0 = low.x(), x1 = high.x(), yb = low.y(), yt = high.y();
    if (!(x1 > x0) || !(yb > yt))
        return;
    double left = 0.0, right = 1.0, bottom = 0.0, top = 1.0;
    double cx0 = x0, cx1 = x1, cyb = yb, cyt = yt;
    if (x0 < 1) {
        left = -x0 / (x1 - x0);
        cx0 = 0;
    }
    if (x1 > ctx.wc) {
        right = (ctx.wc - x0) / (x1 - x0);
        cx1 = ctx.wc;
    }
    if (yb > ctx.hc) {
        bottom = (yb - ctx.hc) / (yb - yt);
        cyb = ctx.hc;
    }
    if (yt < 1) {
        top = yb / (yb - yt);
        cyt = 0;
    }
    // The map lies wholly outside the target.
    if (!(right > left) || !(top > bottom))
        return;
    const QRect dest(QPoint(static_cast<int>(cx0), static_cast<int>(cyt)),
                     QPoint(static_cast<int>(cx1) - 1, static_cast<int>(cyb) - 1));
    for (QImage* image : images) {
        QPainter painter(image);
        DrawPicturePart(painter, doc.mapPicture, dest, left, right, bottom, top);
    }
}

int SampleBandColourIndex(double rssiDbm, int powerLow, int powerHigh) {
    double v = rssiDbm;
    if (v > powerHigh)
        v = powerHigh;
    if (v < powerLow)
        v = powerLow;
    const double band = 10.0 * (v - powerLow) / (powerHigh + 0.001 - powerLow);
    const int k = std::clamp(PixelTrunc(band), 0, kCoverageLevels - 1);
    return kCoverageLevels - 1 - k;
}

void DrawApSamples(const CLayerContext& ctx, QImage& on) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    const int grow = PathWidth(doc) + 2;
    QPainter painter(&on);
    CCircleStamper circles(painter);
    auto flush = [&](QPoint p, double sum, int count) {
        const int index = SampleBandColourIndex(sum / count, doc.PowerLow, doc.PowerHigh);
        const QColor colour = ToQColor(doc.CoveragePalette[index]);
        painter.setPen(SolidPen(colour, 1, ctx.dpr));
        painter.setBrush(colour);
        circles.At(p, grow);
    };
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        QPoint run;
        double sum = 0.0;
        int count = 0;
        for (const CData& s : ap.samples) {
            const QPoint p = ctx.Pixel(s.x, s.y);
            if (count > 0 && p != run) {
                flush(run, sum, count);
                sum = 0.0;
                count = 0;
            }
            run = p;
            sum += s.rssi;
            ++count;
        }
        if (count > 0)
            flush(run, sum, count);
    }
}

void DrawReliabilityRings(const CLayerContext& ctx, QImage& canvas) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected || !HasUsableModel(ap))
            continue;
        const QPoint centre = ctx.Pixel(ap.position[1], ap.position[0]);
        int outerX = 0, outerY = 0;
        QImage layer = ClearLayer(ctx);
        {
            QPainter painter(&layer);
            for (int j = 0; j < kReliabilityLevels; ++j) {
                const int rx =
                    std::abs(PixelTrunc(RadiusToClientX(ctx.rect, ap.levels[j], ctx.wc)));
                const int ry =
                    std::abs(PixelTrunc(RadiusToClientY(ctx.rect, ap.levels[j], ctx.hc)));
                outerX = std::max(outerX, rx);
                outerY = std::max(outerY, ry);
                const QColor colour = ToQColor(doc.CoveragePalette[kReliabilityLevels - 1 - j]);
                painter.setPen(SolidPen(colour, 1, ctx.dpr));
                painter.setBrush(colour);
                painter.drawEllipse(QRect(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry));
            }
        }
        const QRect area = doc.view.showMap ? QRect(centre.x() - outerX, centre.y() - outerY,
                                                    2 * outerX + 1, 2 * outerY + 1)
                                            : LogicalRect(canvas);
        ComposeLayer(canvas, layer, area);
    }
}

void DrawApBands(const CLayerContext& ctx, QImage& canvas) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    const int width = PathWidth(doc);
    for (const CAPInfo& ap : doc.aps) {
        if (!ap.selected)
            continue;
        QRect area;
        QImage layer = ClearLayer(ctx);
        {
            QPainter painter(&layer);
            if (!HasCoverageSamples(ap)) {
                if (ap.samples.GetSize() == 0)
                    continue;
                const QColor colour = ToQColor(ap.colour);
                painter.setPen(SolidPen(colour, width, ctx.dpr));
                painter.setBrush(colour);
                CCircleStamper circles(painter);
                int left = 0, top = 0, right = 0, bottom = 0;
                bool first = true;
                for (const CData& s : ap.samples) {
                    const QPoint p = ctx.Pixel(s.x, s.y);
                    circles.At(p, width + 4);
                    left = first ? p.x() : std::min(left, p.x());
                    right = first ? p.x() : std::max(right, p.x());
                    top = first ? p.y() : std::min(top, p.y());
                    bottom = first ? p.y() : std::max(bottom, p.y());
                    first = false;
                }
                left = std::max(left, 5) - 5;
                top = std::max(top, 5) - 5;
                area = QRect(QPoint(left, top), QPoint(right + 5, bottom + 5));
            } else {
                int nextArea = 0, nextLine = 0;
                for (int level = 0; level < kCoverageLevels; ++level)
                    DrawBand(painter, ctx, ap.areas, nextArea, ap.table2[level], ap.lines, nextLine,
                             ap.table1[level], ToQColor(static_cast<ColourRef>(ap.table3[level])));
                area = SiteBoxPixels(ctx, ap.origin, ap.extent);
            }
        }
        ComposeLayer(canvas, layer, area);
    }
}

CSiteBandSource SiteBandSource(int displayType) {
    // Drawings in document order: strength, margin, AP count; each with its
    // segment counts followed by its polygon counts.
    const int drawing = displayType == kDisplayApCountBands ? 2 : 0;
    return {drawing, 2 * drawing, 2 * drawing + 1};
}

void DrawSiteBands(const CLayerContext& ctx, int displayType, QImage& canvas) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    if (!doc.coveragePresent)
        return;
    const CSiteBandSource source = SiteBandSource(displayType);
    const CCoverageDrawing& drawing = doc.coverageDrawings[source.drawing];
    const auto& lineCounts = doc.coverageTables[source.lineCounts];
    const auto& areaCounts = doc.coverageTables[source.areaCounts];
    QPainter painter(&canvas);
    int nextArea = 0, nextLine = 0;
    for (int level = 0; level < kCoverageLevels; ++level)
        DrawBand(painter, ctx, drawing.areas, nextArea, areaCounts[level], drawing.lines, nextLine,
                 lineCounts[level], ToQColor(doc.CoveragePalette[kCoverageLevels - 1 - level]));
}

void DrawWalkPath(const CLayerContext& ctx, QImage& target) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    const int width = PathWidth(doc);
    const int pointTotal = doc.points.GetSize();
    QPainter painter(&target);
    CCircleStamper circles(painter);
    // Path circles are outlined in the file's colour and filled white.
    painter.setBrush(Qt::white);
    auto pixelOf = [&](int i) {
        const CDataPoint& p = doc.points[i];
        return ctx.Pixel(p.easting / 100.0, p.northing / 100.0);
    };

    // The points of the selected files, in load order.
    std::vector<int> drawn;
    int next = 0;
    QPoint last;
    for (const CDataFile& file : doc.files) {
        if (!file.selected)
            continue;
        const int end = RunEnd(next, file.pointCount, pointTotal);
        if (next >= end)
            continue;
        painter.setPen(SolidPen(ToQColor(file.colour), width, ctx.dpr));
        QPoint previous = pixelOf(next);
        circles.At(previous, width + 1);
        drawn.push_back(next);
        for (int i = next + 1; i < end; ++i) {
            const QPoint p = pixelOf(i);
            painter.drawLine(previous, p);
            circles.At(p, width + 1);
            drawn.push_back(i);
            previous = p;
        }
        last = previous;
        next = end;
    }
    if (!drawn.empty())
        circles.At(last, width + 1);

    if (!doc.pointStatus)
        return;
    // Rings mark locations without a good GPS fix, filled with the path's
    // white brush; linear locations have no GPS fix to show.
    painter.setPen(SolidPen(Qt::black, width + 1, ctx.dpr));
    for (int i : drawn) {
        const CDataPoint& p = doc.points[i];
        if (p.kind != 0 && p.kind != 1)
            continue;
        if (p.fix == 1)
            circles.At(pixelOf(i), width + 2);
        else if (p.fix == 0)
            circles.At(pixelOf(i), width + 3);
    }
}

void DrawIconLayers(const CLayerContext& ctx, QImage& target, bool apIcons, bool markedApIcons,
                    bool interferenceIcons) {
    const CTarvoAnalyzerDoc& doc = ctx.doc;
    QPainter painter(&target);
    if (apIcons)
        for (const CAPInfo& ap : doc.aps)
            if (ap.selected && ap.valid)
                DrawIcon(painter, ctx.Pixel(ap.position[1], ap.position[0]), ap.icon, kFirstApIcon);
    if (markedApIcons)
        for (const CAPMarker& m : doc.markers)
            DrawIcon(painter, ctx.Pixel(m.x, m.y), m.icon, kFirstApIcon);
    if (interferenceIcons)
        for (const CISMarker& s : doc.sources)
            DrawIcon(painter, ctx.Pixel(s.x, s.y), s.icon, kFirstSourceIcon);
}

} // namespace tarvo
