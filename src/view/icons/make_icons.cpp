// Draws the program's 32 x 32 icons (access-point styles 174-179,
// interference-source styles 180-185, pointer images 186-188) and writes them
// as PNG files into the folder given as the only argument, each also drawn
// at twice the pixels for high-density screens (ID@2x.png, 64 x 64). Run by
// hand when the artwork changes; the PNG files are kept in the source tree.
//
//   g++ -std=c++20 -fPIC make_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o make_icons
//   QT_QPA_PLATFORM=offscreen ./make_icons src/view/icons

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QImage Blank(int scale) {
    QImage image(32 * scale, 32 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Radio waves on both sides of a mast top at (cx, cy).
void Waves(QPainter& p, double cx, double cy, const QColor& colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap));
    for (double r : {5.0, 9.5}) {
        QRectF box(cx - r, cy - r, 2 * r, 2 * r);
        p.drawArc(box, 135 * 16, 90 * 16); // left
        p.drawArc(box, -45 * 16, 90 * 16); // right
    }
}

// An antenna mast on a small base, with waves: the common access-point shape.
void MastAp(QPainter& p, const QColor& body, const QColor& wave) {
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(7.5, 22.5, 17, 7), 2, 2);
    p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 22), QPointF(16, 10));
    p.setBrush(body);
    p.setPen(QPen(Qt::black, 1.0));
    p.drawEllipse(QPointF(16, 9), 3, 3);
    Waves(p, 16, 9, wave);
}

void DrawAp(int style, QPainter& p) {
    switch (style) {
    case 0: // blue mast
        MastAp(p, QColor(40, 90, 220), QColor(40, 90, 220));
        break;
    case 1: // green mast
        MastAp(p, QColor(30, 160, 60), QColor(30, 160, 60));
        break;
    case 2: // red mast
        MastAp(p, QColor(210, 40, 40), QColor(210, 40, 40));
        break;
    case 3: { // router box with two antennas
        p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 19), QPointF(7, 5));
        p.drawLine(QPointF(23, 19), QPointF(25, 5));
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(70, 70, 80));
        p.drawRoundedRect(QRectF(3.5, 18.5, 25, 10), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(80, 230, 80));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(9 + 5 * i, 23.5), 1.5, 1.5);
        break;
    }
    case 4: { // round badge with "AP"
        p.setPen(QPen(QColor(20, 20, 90), 1.5));
        p.setBrush(QColor(255, 200, 40));
        p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
        QFont font("Liberation Sans");
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(20, 20, 90));
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, "AP");
        break;
    }
    default: { // lattice tower
        p.setPen(QPen(QColor(90, 40, 150), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 8), QPointF(8, 30));
        p.drawLine(QPointF(16, 8), QPointF(24, 30));
        p.setPen(QPen(QColor(90, 40, 150), 1.2));
        p.drawLine(QPointF(12.5, 18), QPointF(19.5, 18));
        p.drawLine(QPointF(10.3, 24), QPointF(21.7, 24));
        p.drawLine(QPointF(12.5, 18), QPointF(21.7, 24));
        p.drawLine(QPointF(19.5, 18), QPointF(10.3, 24));
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(90, 40, 150));
        p.drawEllipse(QPointF(16, 7), 2.5, 2.5);
        Waves(p, 16, 7, QColor(90, 40, 150));
        break;
    }
    }
}

void Bolt(QPainter& p, const QColor& fill) {
    QPainterPath bolt;
    bolt.moveTo(19, 2);
    bolt.lineTo(7, 18);
    bolt.lineTo(15, 18);
    bolt.lineTo(12, 30);
    bolt.lineTo(25, 12);
    bolt.lineTo(17, 12);
    bolt.closeSubpath();
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(fill);
    p.drawPath(bolt);
}

void DrawSource(int style, QPainter& p) {
    switch (style) {
    case 0: // lightning bolt
        Bolt(p, QColor(255, 200, 0));
        break;
    case 1: { // warning triangle
        QPainterPath tri;
        tri.moveTo(16, 2.5);
        tri.lineTo(30, 28.5);
        tri.lineTo(2, 28.5);
        tri.closeSubpath();
        p.setPen(QPen(QColor(150, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 220, 0));
        p.drawPath(tri);
        p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.drawPoint(QPointF(16, 24));
        break;
    }
    case 2: { // microwave oven
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(200, 200, 205));
        p.drawRoundedRect(QRectF(2.5, 7.5, 27, 18), 2, 2);
        p.setBrush(QColor(60, 60, 70));
        p.drawRect(QRectF(5.5, 10.5, 15, 12));
        p.setBrush(QColor(230, 80, 30));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(25, 12.5 + 4 * i), 1.5, 1.5);
        p.setPen(QPen(QColor(230, 80, 30), 1.5));
        p.setBrush(Qt::NoBrush);
        QPainterPath wave;
        wave.moveTo(7, 16.5);
        wave.cubicTo(9, 13, 11, 20, 13, 16.5);
        wave.cubicTo(15, 13, 17, 20, 19, 16.5);
        p.drawPath(wave);
        break;
    }
    case 3: { // zigzag signal in a red circle
        p.setPen(QPen(QColor(200, 0, 0), 2.0));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setPen(QPen(QColor(200, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF zig;
        zig << QPointF(6, 16) << QPointF(10, 9) << QPointF(14, 23) << QPointF(18, 9)
            << QPointF(22, 23) << QPointF(26, 16);
        p.drawPolyline(zig);
        break;
    }
    case 4: { // star burst
        QPolygonF star;
        for (int i = 0; i < 16; ++i) {
            const double r = (i % 2 == 0) ? 14.5 : 7.0;
            const double a = i * 3.14159265358979 / 8.0;
            star << QPointF(16 + r * std::sin(a), 16 - r * std::cos(a));
        }
        p.setPen(QPen(QColor(140, 0, 0), 1.0));
        p.setBrush(QColor(255, 110, 20));
        p.drawPolygon(star);
        break;
    }
    default: { // cordless phone handset
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(QRectF(10.5, 8.5, 11, 22), 3, 3);
        p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 8), QPointF(19, 2));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 200, 255));
        p.drawRect(QRectF(12.5, 11, 7, 6));
        p.setBrush(QColor(200, 200, 200));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(12.5 + c * 2.5, 19.5 + r * 3, 1.6, 1.6));
        break;
    }
    }
}

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(60, 40, 20), 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(29, 29));
    p.setPen(QPen(Qt::black, 2.0));
    p.setBrush(QColor(220, 240, 255));
    p.drawEllipse(QPointF(12.5, 12.5), 9, 9);
    p.setPen(QPen(Qt::black, 2.0));
    p.drawLine(QPointF(8, 12.5), QPointF(17, 12.5));
    if (plus)
        p.drawLine(QPointF(12.5, 8), QPointF(12.5, 17));
}

void DrawPointer(int which, QPainter& p) {
    if (which == 0) { // measure: cross hair over a ruler
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(250, 220, 120));
        p.drawRect(QRectF(2.5, 21.5, 27, 8));
        for (int i = 0; i < 6; ++i)
            p.drawLine(QPointF(5.5 + 4.5 * i, 21.5), QPointF(5.5 + 4.5 * i, i % 2 ? 24 : 26));
        p.setPen(QPen(Qt::black, 1.0));
        p.drawLine(QPointF(10.5, 0), QPointF(10.5, 19));
        p.drawLine(QPointF(1, 9.5), QPointF(20, 9.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10.5, 9.5), 4, 4);
        return;
    }
    Magnifier(p, which == 1);
}

bool Save(const QString& folder, int id, const std::function<void(QPainter&)>& draw) {
    for (int scale : {1, 2}) {
        QImage image = Blank(scale);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            draw(p);
        }
        const QString path =
            QString("%1/%2%3.png").arg(folder).arg(id).arg(scale == 1 ? "" : "@2x");
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (int i = 0; i < 6; ++i) {
        ok = Save(folder, 174 + i, [i](QPainter& p) { DrawAp(i, p); }) && ok;
        ok = Save(folder, 180 + i, [i](QPainter& p) { DrawSource(i, p); }) && ok;
    }
    for (int i = 0; i < 3; ++i)
        ok = Save(folder, 186 + i, [i](QPainter& p) { DrawPointer(i, p); }) && ok;
    return ok ? 0 : 1;
}
