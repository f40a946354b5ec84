#include "stripcache.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>

namespace quelvara {

namespace {

// Columns of the middle piece: a wider piece is repeated fewer times.
constexpr int kMiddle = 32;
// Pictures kept at most; states, heights and palettes are few, but not bounded.
constexpr qsizetype kMostPictures = 64;

// The piece itself where any pixel lets through what lies below; else the
// piece without its alpha channel, which the painter copies instead of blending.
QPixmap opaqueWherePossible(const QPixmap &piece)
{
    const QImage image = piece.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255) {
                return piece;
            }
        }
    }
    return QPixmap::fromImage(image.convertToFormat(QImage::Format_RGB32));
}

} // namespace

bool StripCache::draw(QPainter *painter, const QRect &rect, int ends, const QByteArray &key,
                      const Paint &paint)
{
    const QPaintDevice *device = painter->device();
    if (rect.width() < 2 * ends + 1 || rect.height() <= 0 || !device ||
        device->devicePixelRatio() != 1.0 ||
        painter->worldTransform().type() > QTransform::TxTranslate ||
        painter->worldTransform().dx() != qRound(painter->worldTransform().dx()) ||
        painter->worldTransform().dy() != qRound(painter->worldTransform().dy()) ||
        painter->opacity() != 1.0 ||
        painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        return false;
    }
    auto found = pictures_.constFind(key);
    if (found == pictures_.cend()) {
        if (pictures_.size() >= kMostPictures) {
            pictures_.clear();
        }
        const int width = 2 * ends + kMiddle;
        QPixmap whole(width, rect.height());
        whole.fill(Qt::transparent);
        {
            QPainter on(&whole);
            paint(&on, QRect(0, 0, width, rect.height()));
        }
        const int height = rect.height();
        found = pictures_.insert(key, {whole.copy(0, 0, ends, height),
                                       opaqueWherePossible(whole.copy(ends, 0, kMiddle, height)),
                                       whole.copy(width - ends, 0, ends, height)});
    }
    const Picture &picture = *found;
    if (ends > 0) {
        painter->drawPixmap(rect.topLeft(), picture.left);
        painter->drawPixmap(rect.right() + 1 - ends, rect.top(), picture.right);
    }
    painter->drawTiledPixmap(rect.adjusted(ends, 0, -ends, 0), picture.middle);
    return true;
}

} // namespace quelvara
