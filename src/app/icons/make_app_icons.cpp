// Draws the desktop program's pictures and writes them as PNG files into the
// folder given as the only argument: the toolbar buttons (16 x 15, and
// 32 x 30 as "@2x" for high-density screens), the application icon in the
// sizes of the desktop's icon theme, the workspace document icon and the
// 300 x 300 splash picture. Run by hand when the artwork changes; the PNG
// files are kept in the source tree.
//
//   g++ -std=c++20 -fPIC make_app_icons.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o make_app_icons
//   QT_QPA_PLATFORM=offscreen ./make_app_icons src/app/icons

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 48);
const QColor kBlue(40, 100, 210);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 40);
const QColor kPaper(250, 250, 245);
const QColor kYellow(235, 190, 50);

QPen Pen(const QColor& colour, double width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A magnifying glass with a sign inside.
void Magnifier(QPainter& p, bool plus) {
    p.setPen(Pen(kInk, 1.2));
    p.setBrush(QColor(220, 235, 250));
    p.drawEllipse(QPointF(6.5, 6.0), 4.5, 4.5);
    p.setPen(Pen(kInk, 2.2));
    p.drawLine(QPointF(10.0, 9.5), QPointF(14.5, 14.0));
    p.setPen(Pen(kBlue, 1.4));
    p.drawLine(QPointF(4.3, 6.0), QPointF(8.7, 6.0));
    if (plus)
        p.drawLine(QPointF(6.5, 3.8), QPointF(6.5, 8.2));
}

// A small antenna mast with waves.
void Mast(QPainter& p, double cx, double cy, const QColor& colour) {
    p.setPen(Pen(kInk, 1.2));
    p.drawLine(QPointF(cx, cy), QPointF(cx, cy + 7));
    p.setBrush(colour);
    p.drawEllipse(QPointF(cx, cy), 1.6, 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(colour, 1.0));
    for (double r : {3.2, 5.4}) {
        const QRectF box(cx - r, cy - r, 2 * r, 2 * r);
        p.drawArc(box, 130 * 16, 100 * 16);
        p.drawArc(box, -50 * 16, 100 * 16);
    }
}

void PlusBadge(QPainter& p) {
    p.setPen(Pen(kGreen, 1.6));
    p.drawLine(QPointF(12.5, 9.5), QPointF(12.5, 14.0));
    p.drawLine(QPointF(10.3, 11.8), QPointF(14.7, 11.8));
}

void Sheet(QPainter& p, const QRectF& r) {
    p.setPen(Pen(kInk));
    p.setBrush(kPaper);
    p.drawRect(r);
}

// A folded map sheet with a path on it.
void MapSheet(QPainter& p) {
    const QPointF sheet[] = {{1.5, 3},   {5.5, 1.5},   {10.5, 3}, {14.5, 1.5},
                             {14.5, 12}, {10.5, 13.5}, {5.5, 12}, {1.5, 13.5}};
    p.setPen(Pen(kInk));
    p.setBrush(QColor(225, 240, 210));
    p.drawPolygon(sheet, 8);
    p.drawLine(QPointF(5.5, 1.5), QPointF(5.5, 12));
    p.drawLine(QPointF(10.5, 3), QPointF(10.5, 13.5));
    p.setPen(Pen(kRed, 1.2));
    p.drawPolyline(std::vector<QPointF>{{3, 10}, {6, 6}, {9, 9}, {13, 4}}.data(), 4);
}

const std::vector<std::pair<const char*, Draw>>& ToolbarIcons() {
    static const std::vector<std::pair<const char*, Draw>> icons = {
        {"fileOpen",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(kYellow);
             p.drawRect(QRectF(1.5, 3.5, 11, 9));
             const QPointF flap[] = {{1.5, 12.5}, {4.5, 6.5}, {15, 6.5}, {12.5, 12.5}};
             p.setBrush(QColor(250, 215, 100));
             p.drawPolygon(flap, 4);
         }},
        {"fileSave",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(kBlue);
             p.drawRect(QRectF(1.5, 1.5, 13, 12));
             p.setBrush(kPaper);
             p.drawRect(QRectF(4, 1.5, 8, 5));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(4, 9, 8, 4.5));
         }},
        {"filePrint",
         [](QPainter& p) {
             Sheet(p, QRectF(4, 1.5, 8, 5));
             p.setBrush(QColor(180, 180, 185));
             p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1.5, 1.5);
             Sheet(p, QRectF(4, 10, 8, 4));
         }},
        {"zoomIn", [](QPainter& p) { Magnifier(p, true); }},
        {"zoomOut", [](QPainter& p) { Magnifier(p, false); }},
        {"fitInWindow",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(1.5, 1.5, 13, 12));
             p.setPen(Pen(kBlue, 1.3));
             p.drawLine(QPointF(4, 4), QPointF(12, 11));
             p.drawLine(QPointF(12, 4), QPointF(4, 11));
             for (QPointF c : {QPointF(4, 4), QPointF(12, 4), QPointF(4, 11), QPointF(12, 11)})
                 p.drawEllipse(c, 0.8, 0.8);
         }},
        {"fitInMap",
         [](QPainter& p) {
             MapSheet(p);
             p.setPen(QPen(kBlue, 1.0, Qt::DashLine));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRectF(0.5, 0.5, 15, 14));
         }},
        {"insertAp",
         [](QPainter& p) {
             Mast(p, 6, 5, kBlue);
             PlusBadge(p);
         }},
        {"insertInterference",
         [](QPainter& p) {
             const QPointF bolt[] = {{7, 1}, {2.5, 8}, {6, 8}, {4, 14}, {10.5, 5.5}, {7, 5.5}};
             p.setPen(Pen(kInk, 0.8));
             p.setBrush(kYellow);
             p.drawPolygon(bolt, 6);
             PlusBadge(p);
         }},
        {"moveResource",
         [](QPainter& p) {
             p.setPen(Pen(kInk, 1.3));
             p.drawLine(QPointF(8, 1.5), QPointF(8, 13.5));
             p.drawLine(QPointF(1.5, 7.5), QPointF(14.5, 7.5));
             p.setBrush(kInk);
             const QPointF up[] = {{8, 0.5}, {5.8, 3.5}, {10.2, 3.5}};
             const QPointF down[] = {{8, 14.5}, {5.8, 11.5}, {10.2, 11.5}};
             const QPointF left[] = {{0.5, 7.5}, {3.5, 5.3}, {3.5, 9.7}};
             const QPointF right[] = {{15.5, 7.5}, {12.5, 5.3}, {12.5, 9.7}};
             for (const QPointF* a : {up, down, left, right})
                 p.drawPolygon(a, 3);
         }},
        {"showMap", [](QPainter& p) { MapSheet(p); }},
        {"showCompass",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(8, 7.5), 6.5, 6.5);
             const QPointF north[] = {{8, 1.8}, {6.2, 7.5}, {9.8, 7.5}};
             const QPointF south[] = {{8, 13.2}, {6.2, 7.5}, {9.8, 7.5}};
             p.setPen(Qt::NoPen);
             p.setBrush(kRed);
             p.drawPolygon(north, 3);
             p.setBrush(QColor(150, 150, 155));
             p.drawPolygon(south, 3);
         }},
        {"measureDistance",
         [](QPainter& p) {
             p.save();
             p.translate(8, 7.5);
             p.rotate(-30);
             p.setPen(Pen(kInk));
             p.setBrush(kYellow);
             p.drawRect(QRectF(-7.5, -2.5, 15, 5));
             for (int i = -6; i <= 6; i += 2)
                 p.drawLine(QPointF(i, -2.5), QPointF(i, i % 4 == 0 ? 0.5 : -0.8));
             p.restore();
         }},
        {"showLegend",
         [](QPainter& p) {
             Sheet(p, QRectF(1.5, 1.5, 13, 12));
             const QColor swatches[] = {kRed, kGreen, kBlue};
             for (int i = 0; i < 3; ++i) {
                 p.fillRect(QRectF(3, 3 + i * 3.5, 3, 2.5), swatches[i]);
                 p.setPen(Pen(kInk, 0.8));
                 p.drawLine(QPointF(7.5, 4.2 + i * 3.5), QPointF(12.5, 4.2 + i * 3.5));
             }
         }},
        {"showInfoWindow",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(255, 250, 200));
             p.drawRect(QRectF(1.5, 1.5, 13, 12));
             p.setPen(Pen(kBlue, 1.8));
             p.drawLine(QPointF(8, 6.5), QPointF(8, 11.5));
             p.drawPoint(QPointF(8, 3.8));
         }},
        {"takeSnapshot",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(90, 90, 100));
             p.drawRoundedRect(QRectF(1.5, 4, 13, 9.5), 1.5, 1.5);
             p.drawRect(QRectF(5, 2, 5, 2));
             p.setBrush(QColor(180, 210, 240));
             p.drawEllipse(QPointF(8, 8.7), 3, 3);
         }},
        {"createKml",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(120, 180, 240));
             p.drawEllipse(QPointF(8, 7.5), 6.5, 6.5);
             p.setBrush(Qt::NoBrush);
             p.setPen(Pen(QColor(30, 90, 160), 0.8));
             p.drawEllipse(QPointF(8, 7.5), 3, 6.5);
             p.drawLine(QPointF(1.5, 7.5), QPointF(14.5, 7.5));
             p.drawLine(QPointF(8, 1), QPointF(8, 14));
         }},
        {"outputTable",
         [](QPainter& p) {
             Sheet(p, QRectF(1.5, 1.5, 13, 12));
             p.fillRect(QRectF(2, 2, 12, 3), QColor(180, 200, 230));
             p.setPen(Pen(kInk, 0.8));
             for (double y : {5.0, 8.0, 11.0})
                 p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
             for (double x : {6.0, 10.0})
                 p.drawLine(QPointF(x, 1.5), QPointF(x, 13.5));
         }},
        {"appAbout",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(kBlue);
             p.drawEllipse(QPointF(8, 7.5), 6.5, 6.5);
             QFont font(QStringLiteral("Liberation Serif"));
             font.setPixelSize(11);
             font.setBold(true);
             p.setFont(font);
             p.setPen(Qt::white);
             p.drawText(QRectF(1.5, 1, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
         }},
        {"editCut",
         [](QPainter& p) {
             p.setPen(Pen(kInk, 1.1));
             p.drawLine(QPointF(4.5, 1.5), QPointF(10.5, 10));
             p.drawLine(QPointF(11.5, 1.5), QPointF(5.5, 10));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(4.5, 11.5), 2.3, 2.3);
             p.drawEllipse(QPointF(11.5, 11.5), 2.3, 2.3);
         }},
        {"editCopy",
         [](QPainter& p) {
             Sheet(p, QRectF(1.5, 1.5, 8, 9));
             Sheet(p, QRectF(6.5, 4.5, 8, 9));
         }},
        {"editPaste",
         [](QPainter& p) {
             p.setPen(Pen(kInk));
             p.setBrush(QColor(190, 140, 80));
             p.drawRect(QRectF(1.5, 2.5, 10, 11));
             p.setBrush(QColor(200, 200, 200));
             p.drawRect(QRectF(4, 1.5, 5, 2.5));
             Sheet(p, QRectF(7, 6, 7.5, 8));
         }},
    };
    return icons;
}

// The application's mark: a coverage picture (bands around an access
// point) on a rounded tile, drawn in a 64 x 64 space.
void AppMark(QPainter& p) {
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(45, 110, 200));
    tile.setColorAt(1, QColor(20, 60, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    const QColor bands[] = {QColor(0, 0, 255), QColor(0, 255, 255), QColor(173, 255, 47),
                            QColor(255, 0, 0)};
    const double radii[] = {25, 19, 13, 7};
    for (int i = 0; i < 4; ++i) {
        QColor c = bands[i];
        c.setAlpha(200);
        p.setBrush(c);
        p.drawEllipse(QPointF(32, 34), radii[i], radii[i] * 0.85);
    }
    p.setPen(Pen(Qt::white, 3));
    p.drawLine(QPointF(32, 34), QPointF(32, 18));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(32, 16), 3.5, 3.5);
}

// The workspace document: a page with the mark.
void DocumentMark(QPainter& p) {
    const QPointF page[] = {{10, 2}, {44, 2}, {54, 12}, {54, 62}, {10, 62}};
    p.setPen(Pen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawPolygon(page, 5);
    p.save();
    p.translate(14, 18);
    p.scale(0.56, 0.56);
    AppMark(p);
    p.restore();
}

QImage Picture(int w, int h, double scale, const Draw& draw) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    draw(p);
    return image;
}

QImage Splash() {
    QImage image(300, 300, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(235, 242, 252));
    sky.setColorAt(1, QColor(190, 210, 240));
    p.fillRect(image.rect(), sky);
    p.save();
    p.translate(86, 40);
    p.scale(2.0, 2.0);
    AppMark(p);
    p.restore();
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(20, 50, 110));
    p.drawText(QRectF(0, 180, 300, 40), Qt::AlignCenter, QStringLiteral("TarvoAnalyzer"));
    QFont line(QStringLiteral("Liberation Sans"));
    line.setPixelSize(14);
    p.setFont(line);
    p.setPen(QColor(50, 60, 80));
    p.drawText(QRectF(0, 222, 300, 22), Qt::AlignCenter,
               QStringLiteral("Wireless site-survey analysis"));
    p.drawText(QRectF(0, 262, 300, 20), Qt::AlignCenter, QStringLiteral("Version 1.0.7"));
    return image;
}

bool Save(const QImage& image, const QString& path) {
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icons FOLDER\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (const auto& [name, draw] : ToolbarIcons()) {
        const QString base = dir + QStringLiteral("/toolbar/") + QString::fromLatin1(name);
        ok = Save(Picture(16, 15, 1.0, draw), base + QStringLiteral(".png")) && ok;
        ok = Save(Picture(32, 30, 2.0, draw), base + QStringLiteral("@2x.png")) && ok;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("/hicolor/%1x%1/").arg(size);
        ok = Save(Picture(size, size, size / 64.0, AppMark),
                  dir + name + QStringLiteral("apps/tarvo-analyzer.png")) &&
             ok;
        ok = Save(Picture(size, size, size / 64.0, DocumentMark),
                  dir + name + QStringLiteral("mimetypes/application-x-tarvo-workspace.png")) &&
             ok;
    }
    ok = Save(Splash(), dir + QStringLiteral("/splash.png")) && ok;
    return ok ? 0 : 1;
}
