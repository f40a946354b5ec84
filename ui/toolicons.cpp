#include "toolicons.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace quelvara {

namespace {

// A sheet of paper with a coloured band at the top, the base of several icons.
void drawSheet(QPainter &p, const QRectF &r, const QColor &band)
{
    p.setPen(QPen(QColor(90, 90, 90), r.width() / 16));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), r.height() / 4), band);
}

// The figures on the icons ("1", "2", "12", "?") are strokes, not text: text
// would load a bold font at new sizes before the first window is painted. Each
// figure is drawn in a cell 6 units wide and 10 high.
QPainterPath figurePath(QChar figure)
{
    QPainterPath path;
    if (figure == u'1') {
        path.moveTo(1, 2.6);
        path.lineTo(3.6, 0.6);
        path.lineTo(3.6, 9.4);
        path.moveTo(1.2, 9.4);
        path.lineTo(5.8, 9.4);
    } else if (figure == u'2') {
        path.moveTo(0.8, 2.8);
        path.cubicTo(0.8, -0.4, 5.4, -0.4, 5.4, 2.8);
        path.cubicTo(5.4, 5, 1, 6.8, 0.6, 9.4);
        path.lineTo(5.6, 9.4);
    } else if (figure == u'?') {
        path.moveTo(0.6, 3);
        path.cubicTo(0.6, -0.6, 5.6, -0.6, 5.6, 2.8);
        path.cubicTo(5.6, 4.8, 3.1, 4.8, 3.1, 6.9);
    }
    return path;
}

void drawCentredFigures(QPainter &p, const QRectF &r, const QString &figures, const QColor &colour)
{
    constexpr qreal kCell = 6;
    constexpr qreal kGap = 1.6;
    // As tall as the text these figures replace: seven tenths of the room for
    // one figure, a little over a half for two.
    const qreal unit = r.height() * (figures.size() > 1 ? 0.55 : 0.7) * 0.75 / 10;
    const qreal width = (kCell * figures.size() + kGap * (figures.size() - 1)) * unit;
    p.save();
    p.translate(r.center().x() - width / 2, r.center().y() - 5 * unit);
    p.scale(unit, unit);
    p.setPen(QPen(colour, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (const QChar figure : figures) {
        p.drawPath(figurePath(figure));
        if (figure == u'?') {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawEllipse(QPointF(3.1, 9.1), 1.05, 1.05);
        }
        p.translate(kCell + kGap, 0);
    }
    p.restore();
}

} // namespace

QImage drawToolIcon(int index, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const qreal pen = s / 16;
    switch (index) {
    case 0: { // a registry: a card of lines
        const QRectF card(s * 0.12, s * 0.1, s * 0.76, s * 0.8);
        drawSheet(p, card, QColor(40, 90, 170));
        p.setPen(QPen(QColor(120, 120, 120), pen));
        for (int line = 0; line < 3; ++line) {
            const qreal y = card.top() + card.height() * (0.45 + 0.17 * line);
            p.drawLine(QPointF(card.left() + s * 0.1, y), QPointF(card.right() - s * 0.1, y));
        }
        break;
    }
    case 1: { // a group of registries: a folder
        QPainterPath folder;
        folder.moveTo(s * 0.06, s * 0.22);
        folder.lineTo(s * 0.4, s * 0.22);
        folder.lineTo(s * 0.48, s * 0.32);
        folder.lineTo(s * 0.94, s * 0.32);
        folder.lineTo(s * 0.94, s * 0.84);
        folder.lineTo(s * 0.06, s * 0.84);
        folder.closeSubpath();
        p.setPen(QPen(QColor(150, 110, 20), pen));
        p.setBrush(QColor(240, 200, 80));
        p.drawPath(folder);
        break;
    }
    case 2: { // leave: a door and an arrow going out of it
        p.setPen(QPen(QColor(90, 60, 30), pen));
        p.setBrush(QColor(170, 120, 70));
        p.drawRect(QRectF(s * 0.1, s * 0.08, s * 0.45, s * 0.84));
        p.setPen(QPen(QColor(200, 30, 30), s / 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(s * 0.38, s * 0.5), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.72, s * 0.32), QPointF(s * 0.9, s * 0.5));
        p.drawLine(QPointF(s * 0.72, s * 0.68), QPointF(s * 0.9, s * 0.5));
        break;
    }
    case 3:
    case 4:
    case 5: { // a calendar page: one month, two months, twelve months
        const QRectF page(s * 0.1, s * 0.08, s * 0.8, s * 0.84);
        drawSheet(p, page, QColor(200, 40, 40));
        const QString months = index == 3   ? QStringLiteral("1")
                               : index == 4 ? QStringLiteral("2")
                                            : QStringLiteral("12");
        drawCentredFigures(p, page.adjusted(0, page.height() / 4, 0, 0), months, Qt::black);
        break;
    }
    case 6: { // about: a question mark in a blue disc
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 170));
        p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
        drawCentredFigures(p, QRectF(0, 0, s, s), QStringLiteral("?"), Qt::white);
        break;
    }
    case 7: { // the web site: a globe
        const QRectF globe(s * 0.08, s * 0.08, s * 0.84, s * 0.84);
        p.setPen(QPen(QColor(20, 70, 140), pen));
        p.setBrush(QColor(90, 160, 230));
        p.drawEllipse(globe);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(globe.adjusted(s * 0.24, 0, -s * 0.24, 0));
        p.drawLine(QPointF(globe.center().x(), globe.top()),
                   QPointF(globe.center().x(), globe.bottom()));
        p.drawLine(QPointF(globe.left(), globe.center().y()),
                   QPointF(globe.right(), globe.center().y()));
        break;
    }
    default:
        break;
    }
    p.end();
    return image;
}

} // namespace quelvara
