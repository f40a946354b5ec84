// An element drawn from a narrow picture of it shows what drawing it whole
// shows; it is drawn whole wherever a picture could not stand for it.
#include "stripcache.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTest>

using namespace quelvara;

namespace {

constexpr int kEnds = 6;

// Alike in every column between its ends: a vertical gradient in an
// antialiased rounded frame.
void element(QPainter *p, const QRect &rect)
{
    QLinearGradient shade(rect.topLeft(), rect.bottomLeft());
    shade.setColorAt(0, QColor(250, 250, 250));
    shade.setColorAt(1, QColor(190, 200, 210));
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(QPen(QColor(60, 60, 120), 1.5));
    p->setBrush(shade);
    p->drawRoundedRect(QRectF(rect).adjusted(1, 1, -1, -1), 4, 4);
}

QImage blank(const QSize &size, qreal ratio = 1)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

class TestStripCache : public QObject {
    Q_OBJECT

private slots:
    void init() { paints_ = 0; }
    void drawsWhatTheElementDraws_data();
    void drawsWhatTheElementDraws();
    void paintsEachKeyOnce();
    void declinesWhatAPictureCannotShow_data();
    void declinesWhatAPictureCannotShow();

private:
    StripCache::Paint counted()
    {
        return [this](QPainter *p, const QRect &rect) {
            ++paints_;
            element(p, rect);
        };
    }
    int paints_ = 0;
};

void TestStripCache::drawsWhatTheElementDraws_data()
{
    QTest::addColumn<QRect>("rect");
    // The narrowest the picture stands for, one narrower than the picture,
    // wider, and away from the painter's origin.
    QTest::newRow("narrowest") << QRect(0, 0, 2 * kEnds + 1, 20);
    QTest::newRow("narrower than the picture") << QRect(0, 0, 30, 27);
    QTest::newRow("field") << QRect(0, 0, 473, 27);
    QTest::newRow("moved") << QRect(5, 3, 220, 27);
}

void TestStripCache::drawsWhatTheElementDraws()
{
    QFETCH(QRect, rect);
    const QSize size(rect.right() + 4, rect.bottom() + 4);
    QImage direct = blank(size);
    {
        QPainter p(&direct);
        element(&p, rect);
    }
    StripCache cache;
    for (int round = 0; round < 2; ++round) { // made, then kept
        QImage cached = blank(size);
        QPainter p(&cached);
        QVERIFY(cache.draw(&p, rect, kEnds, "element", counted()));
        p.end();
        QCOMPARE(cached, direct);
    }
    QCOMPARE(paints_, 1);
}

void TestStripCache::paintsEachKeyOnce()
{
    StripCache cache;
    QImage image = blank(QSize(500, 40));
    QPainter p(&image);
    QVERIFY(cache.draw(&p, QRect(0, 0, 100, 30), kEnds, "a", counted()));
    QVERIFY(cache.draw(&p, QRect(0, 0, 400, 30), kEnds, "a", counted()));
    QCOMPARE(paints_, 1);
    QVERIFY(cache.draw(&p, QRect(0, 0, 100, 30), kEnds, "b", counted()));
    QVERIFY(cache.draw(&p, QRect(0, 0, 200, 30), kEnds, "a", counted()));
    QCOMPARE(paints_, 2);
}

void TestStripCache::declinesWhatAPictureCannotShow_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QTransform>("transform");
    QTest::addColumn<qreal>("opacity");
    QTest::addColumn<int>("mode");
    QTest::addColumn<qreal>("ratio");
    const int over = int(QPainter::CompositionMode_SourceOver);
    QTest::newRow("narrower than its ends") << 2 * kEnds << QTransform() << 1.0 << over << 1.0;
    QTest::newRow("scaled") << 200 << QTransform::fromScale(2, 1) << 1.0 << over << 1.0;
    QTest::newRow("turned") << 200 << QTransform().rotate(90) << 1.0 << over << 1.0;
    QTest::newRow("half a pixel along")
        << 200 << QTransform::fromTranslate(0.5, 0) << 1.0 << over << 1.0;
    QTest::newRow("translucent") << 200 << QTransform() << 0.5 << over << 1.0;
    QTest::newRow("another blend")
        << 200 << QTransform() << 1.0 << int(QPainter::CompositionMode_Multiply) << 1.0;
    QTest::newRow("high DPI") << 200 << QTransform() << 1.0 << over << 2.0;
}

void TestStripCache::declinesWhatAPictureCannotShow()
{
    QFETCH(int, width);
    QFETCH(QTransform, transform);
    QFETCH(qreal, opacity);
    QFETCH(int, mode);
    QFETCH(qreal, ratio);
    StripCache cache;
    QImage image = blank(QSize(300, 300), ratio);
    QPainter p(&image);
    p.setTransform(transform);
    p.setOpacity(opacity);
    p.setCompositionMode(QPainter::CompositionMode(mode));
    QVERIFY(!cache.draw(&p, QRect(0, 0, width, 30), kEnds, "element", counted()));
    p.end();
    QCOMPARE(paints_, 0);
    QCOMPARE(image, blank(QSize(300, 300), ratio));
}

QTEST_MAIN(TestStripCache)
#include "test_stripcache.moc"
