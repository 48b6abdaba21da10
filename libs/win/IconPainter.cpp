// IconPainter: simple vector drawings, recognisable at 16 to 32 pixels.
#include "IconPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>

namespace {

const QColor ink(40, 40, 60);

QPen pen(const QColor& c, double w = 2.0) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void arrowHead(QPainter& p, QPointF tip, double angleDeg, double len = 7) {
    const double a = angleDeg * M_PI / 180.0;
    const QPointF l(tip.x() - len * std::cos(a - 0.5), tip.y() - len * std::sin(a - 0.5));
    const QPointF r(tip.x() - len * std::cos(a + 0.5), tip.y() - len * std::sin(a + 0.5));
    p.setBrush(p.pen().color());
    p.drawPolygon(QPolygonF({tip, l, r}));
}

void spectrogram(QPainter& p) {
    QLinearGradient g(0, 28, 0, 6);
    g.setColorAt(0, QColor(30, 60, 200));
    g.setColorAt(0.5, QColor(40, 200, 80));
    g.setColorAt(1, QColor(230, 40, 30));
    QPainterPath path(QPointF(3, 28));
    path.cubicTo(8, 26, 10, 6, 15, 8);
    path.cubicTo(19, 10, 20, 20, 24, 16);
    path.cubicTo(26, 14, 27, 20, 29, 28);
    path.closeSubpath();
    p.setPen(pen(ink, 1.2));
    p.setBrush(g);
    p.drawPath(path);
    p.drawLine(QPointF(3, 28), QPointF(29, 28));
}

void parameters(QPainter& p) {
    p.setPen(pen(ink));
    for (int i = 0; i < 3; ++i) {
        const double y = 8 + i * 8;
        p.drawLine(QPointF(5, y), QPointF(27, y));
        p.setBrush(QColor::fromHsv(i * 110, 200, 230));
        p.drawEllipse(QPointF(9 + i * 7, y), 3.5, 3.5);
    }
}

void pointer(QPainter& p) {
    p.setPen(pen(ink, 1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{9, 4}, {9, 26}, {14, 21}, {18, 29}, {21, 27}, {17, 20}, {24, 20}}));
}

void rotate(QPainter& p) {
    p.setPen(pen(QColor(20, 90, 200), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 280 * 16);
    arrowHead(p, QPointF(24.5, 10.5), -60);
}

void zoom(QPainter& p) {
    p.setPen(pen(ink, 2.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QPointF(13, 13), 8, 8);
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.setPen(pen(ink, 1.8));
    p.drawLine(QPointF(9, 13), QPointF(17, 13));
    p.drawLine(QPointF(13, 9), QPointF(13, 17));
}

void fourArrows(QPainter& p, const QColor& c) {
    p.setPen(pen(c, 2));
    p.drawLine(QPointF(16, 4), QPointF(16, 28));
    p.drawLine(QPointF(4, 16), QPointF(28, 16));
    arrowHead(p, QPointF(16, 3), -90);
    arrowHead(p, QPointF(16, 29), 90);
    arrowHead(p, QPointF(3, 16), 180);
    arrowHead(p, QPointF(29, 16), 0);
}

void move(QPainter& p) {
    fourArrows(p, QColor(30, 120, 40));
}

void settings(QPainter& p) {
    p.setPen(pen(ink, 1.5));
    p.setBrush(QColor(150, 160, 175));
    QPolygonF gear;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8.0, r = (i % 2) ? 9.0 : 13.0;
        gear << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
    }
    p.drawPolygon(gear);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 4, 4);
}

void fitsize(QPainter& p) {
    p.setPen(pen(ink, 1.2));
    p.setBrush(QColor(220, 220, 240));
    p.drawRect(QRectF(9, 9, 14, 14));
    p.setPen(pen(QColor(200, 60, 20), 2));
    for (const auto& c : {QPointF(4, 4), QPointF(28, 4), QPointF(4, 28), QPointF(28, 28)}) {
        const double dx = c.x() < 16 ? 6 : -6, dy = c.y() < 16 ? 6 : -6;
        p.drawLine(c, c + QPointF(dx, 0));
        p.drawLine(c, c + QPointF(0, dy));
    }
}

void render(QPainter& p) {
    p.setPen(pen(ink, 1.3));
    p.setBrush(QColor(90, 150, 230));
    p.drawPolygon(QPolygonF({{6, 11}, {16, 5}, {26, 11}, {16, 17}}));
    p.setBrush(QColor(50, 100, 190));
    p.drawPolygon(QPolygonF({{6, 11}, {16, 17}, {16, 28}, {6, 22}}));
    p.setBrush(QColor(30, 70, 150));
    p.drawPolygon(QPolygonF({{16, 17}, {26, 11}, {26, 22}, {16, 28}}));
}

void wave(QPainter& p) {
    QPainterPath path(QPointF(3, 16));
    for (int i = 0; i < 4; ++i) {
        path.quadTo(QPointF(6.5 + i * 6.5, i % 2 ? 26 : 6), QPointF(9.5 + i * 6.5, 16));
    }
    p.setPen(pen(QColor(20, 110, 190), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(pen(ink, 1.5));
    p.drawLine(QPointF(20, 29), QPointF(29, 29));
    arrowHead(p, QPointF(30, 29), 0, 5);
}

void colorbar(QPainter& p) {
    QLinearGradient g(0, 28, 0, 4);
    g.setColorAt(0, QColor(20, 40, 200));
    g.setColorAt(0.33, QColor(20, 200, 220));
    g.setColorAt(0.66, QColor(240, 220, 30));
    g.setColorAt(1, QColor(220, 30, 20));
    p.setPen(pen(ink, 1.2));
    p.setBrush(g);
    p.drawRect(QRectF(11, 4, 10, 24));
}

void windowmove(QPainter& p) {
    p.setPen(pen(Qt::white, 4));
    p.drawRect(QRectF(9, 9, 14, 14));
    p.setPen(pen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(9, 9, 14, 14));
    fourArrows(p, Qt::black);
}

void unknown(QPainter& p) {
    p.setPen(pen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4, 4, 24, 24));
    p.drawArc(QRectF(11, 8, 10, 10), -90 * 16, 270 * 16);
    p.drawLine(QPointF(16, 18), QPointF(16, 21));
    p.drawPoint(QPointF(16, 25));
}

} // namespace

QImage IconPainter::paint(const std::string& symbol, int size) {
    static const std::map<std::string, void (*)(QPainter&)> symbols = {{"spectrogram", spectrogram},
                                                                       {"parameters", parameters},
                                                                       {"pointer", pointer},
                                                                       {"rotate", rotate},
                                                                       {"zoom", zoom},
                                                                       {"move", move},
                                                                       {"settings", settings},
                                                                       {"fitsize", fitsize},
                                                                       {"render", render},
                                                                       {"wave", wave},
                                                                       {"colorbar", colorbar},
                                                                       {"windowmove", windowmove}};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const auto it = symbols.find(symbol);
    (it == symbols.end() ? unknown : it->second)(p);
    return image;
}
