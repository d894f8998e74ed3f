#include "export/PdfPages.h"

#include "view/Fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

constexpr double kFooterHeight = 18.0;
constexpr double kRowPadding = 3.0;
const QColor kRule(190, 198, 214);
const QColor kHeaderFill(232, 237, 245);
const QColor kHeadingColour(31, 63, 111);

} // namespace

CPdfPages::CPdfPages(QPdfWriter& writer, QPainter& painter) : writer_(writer), painter_(painter) {
    const QRectF paint = writer.pageLayout().paintRect(QPageLayout::Point);
    width_ = paint.width();
    height_ = paint.height() - kFooterHeight;
}

QFont CPdfPages::Font(double pointSize, bool bold) const {
    QFont font(FreeFaceFor(QStringLiteral("Arial")));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void CPdfPages::Footer() {
    painter_.setFont(Font(8));
    painter_.setPen(Qt::darkGray);
    painter_.drawText(QRectF(0, height_, width_, kFooterHeight), Qt::AlignRight | Qt::AlignBottom,
                      QStringLiteral("Page %1").arg(page_));
}

void CPdfPages::NewPage() {
    Footer();
    writer_.newPage();
    ++page_;
    y_ = 0.0;
}

void CPdfPages::Keep(double height) {
    if (y_ > 0.0 && y_ + height > height_)
        NewPage();
}

void CPdfPages::Finish() {
    Footer();
}

void CPdfPages::Title(const QString& text) {
    Text(text, true, kHeadingColour, 18);
    Space(6);
}

void CPdfPages::Heading(const QString& text) {
    Keep(60);
    Space(y_ > 0.0 ? 10 : 0);
    painter_.setFont(Font(13, true));
    const QFontMetricsF fm(painter_.font());
    painter_.setPen(kHeadingColour);
    painter_.drawText(QPointF(0, y_ + fm.ascent()), text);
    y_ += fm.height() + 2;
    painter_.setPen(QPen(kRule, 0.8));
    painter_.drawLine(QPointF(0, y_), QPointF(width_, y_));
    y_ += 6;
}

void CPdfPages::Text(const QString& text, bool bold, const QColor& colour, double pointSize) {
    painter_.setFont(Font(pointSize, bold));
    const QRectF box(0, y_, width_, height_);
    const QRectF needed = painter_.boundingRect(box, Qt::TextWordWrap, text);
    Keep(needed.height());
    painter_.setPen(colour);
    painter_.drawText(QRectF(0, y_, width_, needed.height()), Qt::TextWordWrap, text);
    y_ += needed.height() + 3;
}

void CPdfPages::Fields(const std::vector<std::pair<QString, QString>>& fields) {
    painter_.setFont(Font(9.5, true));
    const QFontMetricsF bold(painter_.font());
    double labelWidth = 0.0;
    for (const auto& [label, value] : fields)
        labelWidth = std::max(labelWidth, bold.horizontalAdvance(label + QStringLiteral(":  ")));
    labelWidth = std::min(labelWidth, width_ / 3);
    for (const auto& [label, value] : fields) {
        painter_.setFont(Font(9.5));
        const QRectF valueBox(labelWidth, y_, width_ - labelWidth, height_);
        const double h = painter_.boundingRect(valueBox, Qt::TextWordWrap, value).height();
        Keep(h);
        painter_.setPen(Qt::black);
        painter_.drawText(QRectF(labelWidth, y_, width_ - labelWidth, h), Qt::TextWordWrap, value);
        painter_.setFont(Font(9.5, true));
        painter_.drawText(QRectF(0, y_, labelWidth, h), Qt::AlignLeft | Qt::AlignTop,
                          label + QLatin1Char(':'));
        y_ += h + 2;
    }
}

void CPdfPages::Picture(const QImage& image, double after) {
    if (image.isNull() || image.width() <= 0)
        return;
    const double h = width_ * image.height() / image.width();
    Keep(h + after);
    const QRectF target(0, y_, width_, h);
    painter_.drawImage(target, image);
    painter_.setPen(QPen(kRule, 0.5));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(target);
    y_ += h + 4;
}

void CPdfPages::Table(const std::vector<double>& shares, const QStringList& header,
                      const std::vector<QStringList>& rows) {
    double total = 0.0;
    for (double s : shares)
        total += s;
    std::vector<double> widths;
    for (double s : shares)
        widths.push_back(total > 0.0 ? width_ * s / total : 0.0);
    const QFont plain = Font(8.5), bold = Font(8.5, true);
    const double rowHeight = QFontMetricsF(plain).height() + 2 * kRowPadding;

    const auto drawRow = [&](const QStringList& cells, bool isHeader, bool shaded) {
        painter_.setPen(Qt::NoPen);
        if (isHeader || shaded) {
            painter_.setBrush(isHeader ? kHeaderFill : QColor(247, 248, 251));
            painter_.drawRect(QRectF(0, y_, width_, rowHeight));
        }
        painter_.setFont(isHeader ? bold : plain);
        const QFontMetricsF fm(painter_.font());
        painter_.setPen(Qt::black);
        double x = 0.0;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const double w = widths[c];
            const QString text =
                c < static_cast<std::size_t>(cells.size()) ? cells[static_cast<int>(c)] : QString();
            const QString shown = fm.elidedText(text, Qt::ElideRight, w - 2 * kRowPadding);
            painter_.drawText(QRectF(x + kRowPadding, y_, w - 2 * kRowPadding, rowHeight),
                              Qt::AlignLeft | Qt::AlignVCenter, shown);
            x += w;
        }
        painter_.setPen(QPen(kRule, 0.4));
        painter_.drawLine(QPointF(0, y_ + rowHeight), QPointF(width_, y_ + rowHeight));
        y_ += rowHeight;
    };
    Keep(3 * rowHeight);
    drawRow(header, true, false);
    bool shaded = false;
    for (const QStringList& row : rows) {
        if (y_ + rowHeight > height_) {
            NewPage();
            drawRow(header, true, false);
        }
        drawRow(row, false, shaded);
        shaded = !shaded;
    }
    y_ += 6;
}

void CPdfPages::Legend(const QString& title, const std::vector<CPdfLegendEntry>& entries) {
    const QFont plain = Font(8.5);
    const QFontMetricsF fm(plain);
    const double rowHeight = fm.height() + 3;
    double widest = 0.0;
    for (const CPdfLegendEntry& e : entries)
        widest = std::max(widest, fm.horizontalAdvance(e.label));
    const double columnWidth = std::min(width_, widest + 34);
    const int columns = std::max(1, static_cast<int>(width_ / columnWidth));
    const int rows = (static_cast<int>(entries.size()) + columns - 1) / columns;
    if (!title.isEmpty()) {
        Keep(rowHeight * (1 + std::min(rows, 3)));
        painter_.setFont(Font(8.5, true));
        painter_.setPen(Qt::black);
        painter_.drawText(QRectF(0, y_, width_, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                          title);
        y_ += rowHeight;
    }
    // Entries run down the columns, so a band legend reads top to bottom.
    for (int r = 0; r < rows; ++r) {
        if (y_ + rowHeight > height_)
            NewPage();
        for (int c = 0; c < columns; ++c) {
            const std::size_t index = static_cast<std::size_t>(c * rows + r);
            if (index >= entries.size())
                continue;
            const CPdfLegendEntry& e = entries[index];
            const double x = c * columnWidth;
            const double mid = y_ + rowHeight / 2;
            if (e.line) {
                painter_.setPen(QPen(e.colour, 1.2));
                painter_.setBrush(Qt::white);
                painter_.drawLine(QPointF(x, mid), QPointF(x + 24, mid));
                painter_.drawEllipse(QPointF(x + 12, mid), 2.2, 2.2);
            } else if (e.swatch) {
                painter_.setPen(QPen(kRule, 0.4));
                painter_.setBrush(e.colour);
                painter_.drawRect(QRectF(x, mid - 4.5, 24, 9));
            }
            painter_.setFont(plain);
            painter_.setPen(Qt::black);
            painter_.drawText(QRectF(x + 28, y_, columnWidth - 28, rowHeight),
                              Qt::AlignLeft | Qt::AlignVCenter, e.label);
        }
        y_ += rowHeight;
    }
    y_ += 4;
}

} // namespace tarvo
