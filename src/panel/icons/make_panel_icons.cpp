// Draws the control panel's button pictures and writes them as PNG strips,
// with the resource file that lists them, into the folder given as the only
// argument. Run by hand when the artwork changes; the PNG files are kept in
// the source tree.
//
//   g++ -std=c++20 -fPIC make_panel_icons.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o make_panel_icons
//   QT_QPA_PLATFORM=offscreen ./make_panel_icons src/panel/icons
//
// Every picture is drawn at twice its logical size (a 32 x 32 button is 64
// x 64 pixels), so that it is sharp at a device pixel ratio of 2 and scaled
// down smoothly at 1. Check buttons are strips of three frames (off, on,
// disabled), push buttons of two (normal, pressed).

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Glyph = std::function<void(QPainter&)>; // draws in a 32 x 32 square

const QColor kInk(40, 50, 70);
const QColor kBlue(40, 90, 200);
const QColor kGreen(30, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kOrange(240, 140, 20);

QPen Pen(const QColor& colour, double width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Text(QPainter& p, const QRectF& box, const QString& text, double pixels, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(static_cast<int>(pixels));
    font.setBold(bold);
    p.setFont(font);
    p.drawText(box, Qt::AlignCenter, text);
}

// One glyph at a logical size into a transparent image of twice the size.
QImage Draw(const Glyph& glyph, int logical) {
    QImage image(2 * logical, 2 * logical, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(2.0 * logical / 32.0, 2.0 * logical / 32.0);
    glyph(p);
    return image;
}

// Grey, half transparent: the disabled look of a glyph.
QImage Greyed(QImage image) {
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c) / 2;
            const int grey = qGray(c) / 2; // premultiplied: halve with the alpha
            line[x] = qRgba(grey, grey, grey, a);
        }
    }
    return image;
}

// The face of a check button: raised when off, sunk and tinted when on,
// flat when disabled.
QImage CheckFrame(const Glyph& glyph, int state) {
    QImage frame(64, 64, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2.0, 2.0);
    QLinearGradient face(0, 0, 0, 32);
    QColor border;
    if (state == 1) {
        face.setColorAt(0, QColor(150, 185, 230));
        face.setColorAt(1, QColor(200, 220, 245));
        border = QColor(50, 100, 170);
    } else if (state == 0) {
        face.setColorAt(0, QColor(252, 252, 252));
        face.setColorAt(1, QColor(215, 218, 224));
        border = QColor(140, 145, 155);
    } else {
        face.setColorAt(0, QColor(236, 236, 236));
        face.setColorAt(1, QColor(236, 236, 236));
        border = QColor(190, 190, 190);
    }
    p.setPen(QPen(border, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 4, 4);
    p.resetTransform();
    QImage picture = Draw(glyph, 32);
    if (state == 2)
        picture = Greyed(picture);
    p.drawImage(state == 1 ? QPoint(2, 2) : QPoint(0, 0), picture);
    return frame;
}

QImage Strip(const std::vector<QImage>& frames) {
    QImage strip(frames[0].width() * static_cast<int>(frames.size()), frames[0].height(),
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (std::size_t i = 0; i < frames.size(); ++i)
        p.drawImage(static_cast<int>(i) * frames[0].width(), 0, frames[i]);
    return strip;
}

QImage CheckStrip(const Glyph& glyph) {
    return Strip({CheckFrame(glyph, 0), CheckFrame(glyph, 1), CheckFrame(glyph, 2)});
}

// A push button's picture: the glyph alone (the button draws its frame),
// darker while pressed.
QImage PushPair(const Glyph& glyph, int logical = 32) {
    const QImage normal = Draw(glyph, logical);
    QImage pressed = normal;
    QPainter p(&pressed);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(pressed.rect(), QColor(0, 0, 0, 60));
    return Strip({normal, pressed});
}

// --- glyph parts ---

void Mast(QPainter& p, double cx, double base, const QColor& colour) {
    p.setPen(Pen(kInk, 2.0));
    p.drawLine(QPointF(cx, base), QPointF(cx, base - 14));
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(cx - 7, base, 14, 5), 1.5, 1.5);
    p.drawEllipse(QPointF(cx, base - 15), 2.5, 2.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(Pen(colour, 1.6));
    for (double r : {5.0, 8.5}) {
        const QRectF box(cx - r, base - 15 - r, 2 * r, 2 * r);
        p.drawArc(box, 135 * 16, 90 * 16);
        p.drawArc(box, -45 * 16, 90 * 16);
    }
}

void Sheet(QPainter& p) {
    QPainterPath page;
    page.moveTo(7.5, 3.5);
    page.lineTo(19.5, 3.5);
    page.lineTo(25.5, 9.5);
    page.lineTo(25.5, 28.5);
    page.lineTo(7.5, 28.5);
    page.closeSubpath();
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(19.5, 3.5), QPointF(19.5, 9.5));
    p.drawLine(QPointF(19.5, 9.5), QPointF(25.5, 9.5));
}

void Cross(QPainter& p, double cx, double cy, double r) {
    p.setPen(Pen(kRed, 3.0));
    p.drawLine(QPointF(cx - r, cy - r), QPointF(cx + r, cy + r));
    p.drawLine(QPointF(cx - r, cy + r), QPointF(cx + r, cy - r));
}

void Plus(QPainter& p, double cx, double cy, double r, const QColor& colour) {
    p.setPen(Pen(colour, 3.0));
    p.drawLine(QPointF(cx - r, cy), QPointF(cx + r, cy));
    p.drawLine(QPointF(cx, cy - r), QPointF(cx, cy + r));
}

QPolygonF Walk() {
    return QPolygonF{QPointF(5, 25), QPointF(10, 17), QPointF(16, 21), QPointF(21, 11),
                     QPointF(27, 7)};
}

void WalkPath(QPainter& p, double width, bool rings) {
    p.setPen(Pen(kBlue, width));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(Walk());
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    for (const QPointF& at : Walk())
        p.drawEllipse(at, width / 2 + 1.2, width / 2 + 1.2);
    if (rings) {
        p.setBrush(Qt::NoBrush);
        p.setPen(Pen(Qt::black, 1.2));
        p.drawEllipse(Walk()[1], 4.5, 4.5);
        p.drawEllipse(Walk()[3], 5.5, 5.5);
    }
}

void Grid(QPainter& p, double size) {
    p.setPen(Pen(kInk, size / 16.0));
    for (int i = 1; i < 4; ++i) {
        const double at = size * i / 4.0;
        p.drawLine(QPointF(at, size * 0.1), QPointF(at, size * 0.9));
        p.drawLine(QPointF(size * 0.1, at), QPointF(size * 0.9, at));
    }
}

void Bands(QPainter& p, const std::vector<QColor>& colours, const QRectF& box) {
    const double h = box.height() / colours.size();
    p.setPen(Qt::NoPen);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        p.setBrush(colours[i]);
        p.drawRect(QRectF(box.left(), box.top() + h * i, box.width(), h + 0.2));
    }
}

struct CPicture {
    const char* name;
    int kind; // 0 check strip, 1 push pair, 2 small push pair
    Glyph glyph;
};

std::vector<CPicture> Pictures() {
    std::vector<CPicture> all;
    all.push_back({"metric", 0, [](QPainter& p) {
                       p.setPen(Pen(kInk, 1.0));
                       p.setBrush(QColor(250, 215, 80));
                       p.drawRect(QRectF(3.5, 19.5, 25, 8));
                       for (int i = 0; i < 6; ++i)
                           p.drawLine(QPointF(6 + 4 * i, 19.5),
                                      QPointF(6 + 4 * i, i % 2 ? 22 : 24));
                       p.setPen(kInk);
                       Text(p, QRectF(2, 2, 14, 15), QStringLiteral("m"), 13);
                       Text(p, QRectF(16, 3, 14, 15), QStringLiteral("ft"), 10, false);
                   }});
    all.push_back({"grid_lines", 0, [](QPainter& p) {
                       p.setPen(Qt::NoPen);
                       p.setBrush(QColor(205, 230, 200));
                       p.drawRect(QRectF(4, 4, 24, 24));
                       p.translate(2, 2);
                       Grid(p, 28);
                   }});
    all.push_back({"grid_more", 2, [](QPainter& p) {
                       Grid(p, 24);
                       Plus(p, 24, 24, 6, kGreen);
                   }});
    all.push_back({"grid_fewer", 2, [](QPainter& p) {
                       Grid(p, 24);
                       p.setPen(Pen(kRed, 3.0));
                       p.drawLine(QPointF(18, 24), QPointF(30, 24));
                   }});
    all.push_back({"walk_path", 0, [](QPainter& p) { WalkPath(p, 2.0, false); }});
    for (int width = 1; width <= 3; ++width) {
        static const char* names[] = {"path_width_1", "path_width_2", "path_width_3"};
        all.push_back({names[width - 1], 1, [width](QPainter& p) {
                           p.setPen(Pen(kBlue, 1.5 * width));
                           QPainterPath wave;
                           wave.moveTo(4, 18);
                           wave.cubicTo(10, 8, 16, 28, 28, 14);
                           p.drawPath(wave);
                           p.setPen(kInk);
                           Text(p, QRectF(18, 17, 12, 13), QString::number(width), 11);
                       }});
    }
    all.push_back({"bad_gps", 0, [](QPainter& p) { WalkPath(p, 1.5, true); }});
    all.push_back({"coordinates", 0, [](QPainter& p) {
                       p.setPen(Pen(kInk, 1.6));
                       p.drawLine(QPointF(5, 4), QPointF(5, 27));
                       p.drawLine(QPointF(5, 27), QPointF(28, 27));
                       p.setPen(kInk);
                       Text(p, QRectF(6, 14, 10, 12), QStringLiteral("Y"), 9);
                       Text(p, QRectF(14, 17, 10, 10), QStringLiteral("X"), 9);
                       p.setPen(Pen(kBlue, 1.2));
                       p.setBrush(QColor(200, 225, 250));
                       p.drawEllipse(QPointF(21, 10), 7, 7);
                       p.drawEllipse(QRectF(18, 3, 6, 14));
                       p.drawLine(QPointF(14, 10), QPointF(28, 10));
                   }});
    all.push_back({"sort_aps", 0, [](QPainter& p) {
                       p.setPen(kInk);
                       Text(p, QRectF(2, 2, 16, 13), QStringLiteral("A"), 12);
                       Text(p, QRectF(2, 16, 16, 13), QStringLiteral("Z"), 12);
                       p.setPen(Pen(kBlue, 2.0));
                       p.drawLine(QPointF(23, 5), QPointF(23, 26));
                       p.drawLine(QPointF(19, 21), QPointF(23, 26));
                       p.drawLine(QPointF(27, 21), QPointF(23, 26));
                   }});
    all.push_back({"all_aps", 0, [](QPainter& p) {
                       for (int row = 0; row < 3; ++row) {
                           const double y = 5 + 8 * row;
                           p.setPen(Pen(kInk, 1.0));
                           p.setBrush(Qt::white);
                           p.drawRect(QRectF(4.5, y + 0.5, 6, 6));
                           if (row < 2) {
                               p.setPen(Pen(kGreen, 1.8));
                               p.drawPolyline(QPolygonF{QPointF(5.5, y + 3.5),
                                                        QPointF(7.5, y + 5.5), QPointF(11, y)});
                           }
                           p.setPen(Pen(kInk, 2.0));
                           p.drawLine(QPointF(14, y + 3.5), QPointF(27, y + 3.5));
                       }
                   }});
    all.push_back({"show_aps", 0, [](QPainter& p) { Mast(p, 16, 24, kBlue); }});
    all.push_back({"show_sources", 0, [](QPainter& p) {
                       p.setPen(Pen(QColor(150, 60, 0), 1.0));
                       p.setBrush(kOrange);
                       p.drawPolygon(QPolygonF{QPointF(18, 2), QPointF(7, 18), QPointF(15, 18),
                                               QPointF(12, 30), QPointF(25, 12), QPointF(17, 12),
                                               QPointF(21, 2)});
                   }});
    all.push_back({"show_marked", 0, [](QPainter& p) {
                       Mast(p, 13, 24, kGreen);
                       p.setPen(Pen(kInk, 1.2));
                       p.drawLine(QPointF(24, 29), QPointF(24, 12));
                       p.setPen(Qt::NoPen);
                       p.setBrush(kRed);
                       p.drawPolygon(QPolygonF{QPointF(24, 12), QPointF(31, 15), QPointF(24, 18)});
                   }});
    all.push_back({"delete_ap", 1, [](QPainter& p) {
                       Mast(p, 14, 24, kBlue);
                       Cross(p, 24, 24, 4.5);
                   }});
    all.push_back({"plot_graph", 1, [](QPainter& p) {
                       const QColor rings[] = {QColor(60, 90, 220), QColor(60, 180, 80),
                                               QColor(240, 220, 40), QColor(230, 60, 40)};
                       p.setPen(Qt::NoPen);
                       for (int i = 0; i < 4; ++i) {
                           p.setBrush(rings[i]);
                           p.drawEllipse(QPointF(16, 16), 13 - 3 * i, 11 - 2.6 * i);
                       }
                   }});
    all.push_back({"color_walk", 0, [](QPainter& p) {
                       p.setPen(Pen(QColor(120, 120, 120), 1.2));
                       p.drawPolyline(Walk());
                       const QColor dots[] = {kRed, kOrange, QColor(230, 210, 30), kGreen, kBlue};
                       p.setPen(Qt::NoPen);
                       for (int i = 0; i < 5; ++i) {
                           p.setBrush(dots[i]);
                           p.drawEllipse(Walk()[i], 3.2, 3.2);
                       }
                   }});
    all.push_back({"reliability", 0, [](QPainter& p) {
                       QPen dashed = Pen(kBlue, 1.3);
                       dashed.setStyle(Qt::DashLine);
                       p.setPen(dashed);
                       for (double r : {5.0, 9.0, 13.0})
                           p.drawEllipse(QPointF(16, 16), r, r);
                       p.setPen(Qt::NoPen);
                       p.setBrush(kRed);
                       p.drawEllipse(QPointF(16, 16), 2.5, 2.5);
                   }});
    all.push_back({"ap_coverage", 0, [](QPainter& p) {
                       p.setPen(Qt::NoPen);
                       const QColor base(40, 120, 210);
                       for (int i = 0; i < 4; ++i) {
                           p.setBrush(base.lighter(180 - 30 * i));
                           p.drawEllipse(QPointF(15 + i, 16), 13 - 3 * i, 12 - 3 * i);
                       }
                   }});
    all.push_back({"strength_bands", 0, [](QPainter& p) {
                       Bands(p,
                             {QColor(255, 0, 0), QColor(205, 90, 106), QColor(128, 0, 0),
                              QColor(34, 139, 34), QColor(50, 205, 154), QColor(47, 255, 173)},
                             QRectF(5, 4, 22, 24));
                   }});
    all.push_back({"overlay", 0, [](QPainter& p) {
                       p.setPen(Pen(kInk, 1.0));
                       p.setBrush(QColor(230, 60, 40, 150));
                       p.drawEllipse(QPointF(12, 16), 9, 9);
                       p.setBrush(QColor(40, 90, 220, 150));
                       p.drawEllipse(QPointF(20, 16), 9, 9);
                   }});
    all.push_back({"data_merge", 0, [](QPainter& p) {
                       p.setPen(Pen(kBlue, 2.2));
                       p.setBrush(Qt::NoBrush);
                       QPainterPath merge;
                       merge.moveTo(4, 6);
                       merge.cubicTo(12, 6, 12, 16, 18, 16);
                       merge.moveTo(4, 26);
                       merge.cubicTo(12, 26, 12, 16, 18, 16);
                       merge.lineTo(27, 16);
                       p.drawPath(merge);
                       p.drawPolyline(QPolygonF{QPointF(23, 12), QPointF(28, 16), QPointF(23, 20)});
                   }});
    all.push_back({"open_map", 1, [](QPainter& p) {
                       p.setPen(Pen(QColor(150, 110, 20), 1.0));
                       p.setBrush(QColor(250, 210, 100));
                       p.drawRect(QRectF(3.5, 9.5, 25, 18));
                       p.drawRect(QRectF(3.5, 6.5, 10, 4));
                       p.setPen(Pen(kInk, 0.8));
                       p.setBrush(QColor(200, 235, 200));
                       p.drawRect(QRectF(8.5, 13.5, 16, 11));
                       p.setPen(Pen(kBlue, 1.4));
                       p.drawLine(QPointF(9, 21), QPointF(24, 16));
                   }});
    all.push_back({"open_ssd", 1, [](QPainter& p) {
                       Sheet(p);
                       p.setPen(Pen(kInk, 1.0));
                       for (int i = 0; i < 3; ++i)
                           p.drawLine(QPointF(10, 13 + 4 * i), QPointF(19, 13 + 4 * i));
                       Plus(p, 23, 24, 5, kGreen);
                   }});
    all.push_back({"delete_files", 1, [](QPainter& p) {
                       Sheet(p);
                       p.setPen(Pen(kInk, 1.0));
                       for (int i = 0; i < 3; ++i)
                           p.drawLine(QPointF(10, 13 + 4 * i), QPointF(19, 13 + 4 * i));
                       Cross(p, 23, 24, 4.5);
                   }});
    all.push_back({"process_files", 1, [](QPainter& p) {
                       QPainterPath gear;
                       for (int i = 0; i < 16; ++i) {
                           const double a = i * 3.14159265358979 / 8.0;
                           const double r = (i / 2) % 2 == 0 ? 13.0 : 10.0;
                           const QPointF at(16 + r * std::cos(a), 16 + r * std::sin(a));
                           i == 0 ? gear.moveTo(at) : gear.lineTo(at);
                       }
                       gear.closeSubpath();
                       gear.addEllipse(QPointF(16, 16), 4.5, 4.5);
                       p.setPen(Pen(kInk, 1.0));
                       p.setBrush(QColor(120, 140, 170));
                       p.drawPath(gear);
                   }});
    all.push_back({"report", 1, [](QPainter& p) {
                       Sheet(p);
                       p.setPen(Qt::NoPen);
                       const QColor bars[] = {kBlue, kGreen, kOrange};
                       for (int i = 0; i < 3; ++i) {
                           p.setBrush(bars[i]);
                           const double h = 5.0 + 4.0 * i;
                           p.drawRect(QRectF(10 + 4.5 * i, 25 - h, 3.5, h));
                       }
                   }});
    return all;
}

// The check box of the "Reports" page, 16 x 16: empty, ticked, disabled.
QImage ReportBoxStrip() {
    std::vector<QImage> frames;
    for (int state = 0; state < 3; ++state) {
        frames.push_back(Draw(
            [state](QPainter& p) {
                p.scale(2.0, 2.0); // the glyph square is 16 x 16 here
                p.setPen(Pen(state == 2 ? QColor(170, 170, 170) : kInk, 1.0));
                p.setBrush(state == 2 ? QColor(235, 235, 235) : Qt::white);
                p.drawRect(QRectF(1.5, 1.5, 13, 13));
                if (state == 1) {
                    p.setPen(Pen(QColor(10, 10, 100), 2.0));
                    p.drawPolyline(QPolygonF{QPointF(4, 8), QPointF(7, 11), QPointF(12, 4.5)});
                }
            },
            16));
    }
    return Strip(frames);
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_panel_icons OUTPUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QStringList names;
    const auto save = [&](const QImage& image, const QString& name) {
        const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!image.save(path, "PNG", 9)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        names << name + QStringLiteral(".png");
        return true;
    };
    for (const CPicture& picture : Pictures()) {
        const QImage image = picture.kind == 0   ? CheckStrip(picture.glyph)
                             : picture.kind == 1 ? PushPair(picture.glyph)
                                                 : PushPair(picture.glyph, 16);
        if (!save(image, QString::fromLatin1(picture.name)))
            return 1;
    }
    if (!save(ReportBoxStrip(), QStringLiteral("report_box")))
        return 1;

    QFile qrc(dir + QStringLiteral("/panel_icons.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Text))
        return 1;
    QTextStream out(&qrc);
    out << "<RCC>\n    <qresource prefix=\"/tarvo/panel\">\n";
    for (const QString& name : names)
        out << "        <file>" << name << "</file>\n";
    out << "    </qresource>\n</RCC>\n";
    return 0;
}
