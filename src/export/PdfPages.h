#pragma once
// Flowing content down the pages of a PDF: headings, wrapped text, pictures
// at the page's width, tables that continue on the next page under their
// header, and swatch legends; a page number at the foot of every page. All
// lengths are in points (the writer's resolution is 72 dpi).

#include "model/Colour.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class QPdfWriter;

namespace tarvo {

struct CPdfLegendEntry {
    QColor colour;
    QString label;
    bool line = false;  // a line with a small circle (a walk path) instead of a swatch
    bool swatch = true; // false: text only
};

class CPdfPages {
public:
    // Starts on the writer's first page; painter must be active on writer.
    CPdfPages(QPdfWriter& writer, QPainter& painter);

    double Width() const { return width_; }
    double Left() const { return height_ - y_; } // room left on the page

    void NewPage();
    // A new page unless `height` points are left on this one.
    void Keep(double height);
    void Space(double points) { y_ += points; }

    void Title(const QString& text);
    void Heading(const QString& text);
    // Wrapped text; bold for emphasis, colour for a verdict.
    void Text(const QString& text, bool bold = false, const QColor& colour = Qt::black,
              double pointSize = 9.5);
    // "Label: value" lines with the labels in one column.
    void Fields(const std::vector<std::pair<QString, QString>>& fields);
    // A picture at the full width (its proportions kept), on this page when
    // it fits with `after` points below it.
    void Picture(const QImage& image, double after = 0.0);
    // Columns sized by their share of the width; texts that do not fit are
    // cut with an ellipsis; the header is repeated on every page.
    void Table(const std::vector<double>& shares, const QStringList& header,
               const std::vector<QStringList>& rows);
    void Legend(const QString& title, const std::vector<CPdfLegendEntry>& entries);

    // Writes the page number of the last page; call once at the end.
    void Finish();

private:
    QFont Font(double pointSize, bool bold = false) const;
    void Footer();

    QPdfWriter& writer_;
    QPainter& painter_;
    double width_ = 0.0;
    double height_ = 0.0;
    double y_ = 0.0;
    int page_ = 1;
};

} // namespace tarvo
