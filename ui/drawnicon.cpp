#include "drawnicon.h"

#include <QIconEngine>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace quelvara {

namespace {

// What the engine shares with its clones: the painter and the sides drawn so
// far, held in a plain icon, which scales and greys them as any icon does.
struct Drawn {
    IconPainter draw;
    QList<int> sides; // ascending
    QIcon icon;
};

class DrawnIconEngine final : public QIconEngine {
public:
    explicit DrawnIconEngine(std::shared_ptr<Drawn> drawn)
        : drawn_(std::move(drawn))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        ensure(rect.size() * ratio).paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return ensure(size).pixmap(size, 1.0, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        if (drawn_->sides.isEmpty()) {
            return {};
        }
        const int side = bestSide(size);
        if (side > size.width() || side > size.height()) {
            const int fit = std::min(size.width(), size.height());
            return {fit, fit};
        }
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const int side : drawn_->sides) {
                sizes.append(QSize(side, side));
            }
        }
        return sizes;
    }

    bool isNull() override { return drawn_->sides.isEmpty(); }

    QString key() const override { return QStringLiteral("quelvara-drawn"); }

    QIconEngine *clone() const override { return new DrawnIconEngine(drawn_); }

private:
    // The side an icon holding every side would pick for this size: the
    // smallest that covers it, or else the largest.
    int bestSide(const QSize &size) const
    {
        const qint64 area = qint64(size.width()) * size.height();
        for (const int side : drawn_->sides) {
            if (qint64(side) * side >= area) {
                return side;
            }
        }
        return drawn_->sides.last();
    }

    // The best side for this size is drawn first, so the held icon picks it.
    const QIcon &ensure(const QSize &size)
    {
        if (!drawn_->sides.isEmpty()) {
            const int side = bestSide(size);
            if (!drawn_->icon.availableSizes().contains(QSize(side, side))) {
                drawn_->icon.addPixmap(drawn_->draw(side));
            }
        }
        return drawn_->icon;
    }

    std::shared_ptr<Drawn> drawn_;
};

// Stands for an icon that is costly to make (one read from image files) and
// may never be shown: the tool bars' extension buttons, hidden unless the
// window is too narrow for its tool bars.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::shared_ptr<std::function<QIcon()>> make)
        : make_(std::move(make))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    bool isNull() override { return icon().isNull(); }

    QString key() const override { return QStringLiteral("quelvara-deferred"); }

    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!icon_) {
            icon_ = (*make_)();
        }
        return *icon_;
    }

    std::shared_ptr<std::function<QIcon()>> make_; // shared with clones, which make their own
    std::optional<QIcon> icon_;
};

} // namespace

QIcon deferredIcon(std::function<QIcon()> make)
{
    return QIcon(new DeferredIconEngine(std::make_shared<std::function<QIcon()>>(std::move(make))));
}

QIcon drawnIcon(IconPainter draw, QList<int> sides)
{
    std::sort(sides.begin(), sides.end());
    sides.erase(std::unique(sides.begin(), sides.end()), sides.end());
    auto drawn = std::make_shared<Drawn>();
    drawn->draw = std::move(draw);
    drawn->sides = std::move(sides);
    return QIcon(new DrawnIconEngine(std::move(drawn)));
}

} // namespace quelvara
