// An icon drawn on demand shows what the same icon drawn beforehand at all its
// sides shows, and draws only the side that was asked for.
#include "drawnicon.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace quelvara;

namespace {

// A picture that differs at every side: a disc of a colour given by the side.
QPixmap disc(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(side, 255 - side, 60));
    p.drawEllipse(QRectF(1, 1, side - 2, side - 2));
    return pixmap;
}

const QList<int> kSides = {16, 32, 128};

} // namespace

class TestDrawnIcon : public QObject {
    Q_OBJECT

private slots:
    void showsWhatTheDrawnSidesShow_data();
    void showsWhatTheDrawnSidesShow();
    void deferredIconIsMadeOnFirstUse();
};

void TestDrawnIcon::showsWhatTheDrawnSidesShow_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("drawnSide");
    // Between two sides the larger one is scaled down; past the largest, it stays.
    for (const auto &[asked, drawnSide] :
         {std::pair{8, 16}, {16, 16}, {20, 32}, {32, 32}, {64, 128}, {300, 128}}) {
        for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected}) {
            QTest::addRow("%d px, mode %d", asked, int(mode)) << asked << int(mode) << drawnSide;
        }
    }
}

void TestDrawnIcon::showsWhatTheDrawnSidesShow()
{
    QFETCH(int, asked);
    QFETCH(int, mode);
    QFETCH(int, drawnSide);
    QIcon before;
    for (const int side : kSides) {
        before.addPixmap(disc(side));
    }
    QList<int> drawn;
    const QIcon lazy = drawnIcon(
        [&drawn](int side) {
            drawn.append(side);
            return disc(side);
        },
        {128, 16, 32});

    QCOMPARE(lazy.availableSizes(), before.availableSizes());
    const QSize size(asked, asked);
    const auto m = QIcon::Mode(mode);
    QCOMPARE(lazy.actualSize(size, m), before.actualSize(size, m));
    QVERIFY(drawn.isEmpty());
    QCOMPARE(lazy.pixmap(size, m).toImage(), before.pixmap(size, m).toImage());
    QCOMPARE(lazy.pixmap(size, m).toImage(), before.pixmap(size, m).toImage());
    QCOMPARE(drawn, QList<int>{drawnSide});
    // Another size asked of the same icon is drawn in its turn.
    QCOMPARE(lazy.pixmap(QSize(300, 300), m).toImage(), before.pixmap(QSize(300, 300), m).toImage());

    // Painted into a larger picture: the same pixels.
    QImage lazyPainted(asked + 6, asked + 4, QImage::Format_ARGB32_Premultiplied);
    QImage beforePainted = lazyPainted;
    lazyPainted.fill(Qt::white);
    beforePainted.fill(Qt::white);
    {
        QPainter p(&lazyPainted);
        lazy.paint(&p, QRect(3, 2, asked, asked), Qt::AlignCenter, m);
    }
    {
        QPainter p(&beforePainted);
        before.paint(&p, QRect(3, 2, asked, asked), Qt::AlignCenter, m);
    }
    QCOMPARE(lazyPainted, beforePainted);
}

QTEST_MAIN(TestDrawnIcon)
// Nothing about the icon is asked before it is shown: it is made then, once,
// and shows what the icon it stands for shows.
void TestDrawnIcon::deferredIconIsMadeOnFirstUse()
{
    QIcon made;
    made.addPixmap(disc(16));
    made.addPixmap(disc(32));
    int calls = 0;
    const QIcon icon = deferredIcon([&] {
        ++calls;
        return made;
    });
    QCOMPARE(calls, 0);
    QCOMPARE(icon.pixmap(20).toImage(), made.pixmap(20).toImage());
    QCOMPARE(icon.pixmap(20, QIcon::Disabled).toImage(),
             made.pixmap(20, QIcon::Disabled).toImage());
    QCOMPARE(icon.availableSizes(), made.availableSizes());
    QCOMPARE(icon.actualSize(QSize(64, 64)), made.actualSize(QSize(64, 64)));
    QCOMPARE(calls, 1);
}

#include "test_drawnicon.moc"
