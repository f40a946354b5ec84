#include "Uhelp.h"
#include "commandline.h"
#include "fakeplatform.h"
#include "jpegimage.h"
#include "layoutcheck.h"
#include "vendor.h"

#include <QApplication>
#include <QBuffer>
#include <QFontInfo>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

namespace {

// Returns the offset of the first segment with this marker (0xFF then `marker`),
// walking the header's segments; -1 when the header has none.
qsizetype segmentOffset(const QByteArray &jpeg, unsigned char marker)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        if (uchar(jpeg[at + 1]) == marker) {
            return at;
        }
        if (uchar(jpeg[at + 1]) == 0xDA) {
            break;
        }
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    }
    return -1;
}

// Returns where the entropy-coded picture data begins (after the scan header).
qsizetype scanDataOffset(const QByteArray &jpeg)
{
    const qsizetype sos = segmentOffset(jpeg, 0xDA);
    return sos < 0 ? -1 : sos + 2 + (uchar(jpeg[sos + 2]) << 8 | uchar(jpeg[sos + 3]));
}

void putBigEndian16(QByteArray &bytes, qsizetype at, int value)
{
    bytes[at] = char(value >> 8);
    bytes[at + 1] = char(value & 0xFF);
}

QByteArray randomBytes(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(count, '\0');
    for (char &byte : bytes) {
        byte = char(random.bounded(256));
    }
    return bytes;
}

template <typename T>
T *child(QWidget *dialog, const char *name)
{
    return dialog->findChild<T *>(QLatin1String(name));
}

// Shows the dialog over an owner and makes it the active window, as a user sees it.
void showActive(QWidget &owner, THelp &dialog)
{
    owner.show();
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    // The decoder.
    void decodesTheShippedPicture();
    void decodesOtherEncodings_data();
    void decodesOtherEncodings();
    void rejectsTruncatedPicture_data();
    void rejectsTruncatedPicture();
    void rejectsGarbage_data();
    void rejectsGarbage();
    void rejectsDamagedHeader_data();
    void rejectsDamagedHeader();
    void survivesDamagedPictureData();

    // The dialog's look.
    void showsItsTexts_data();
    void showsItsTexts();
    void listHoldsItsThreeLinesExactly_data();
    void listHoldsItsThreeLinesExactly();
    void hasFixedFrameWithoutButtons();
    void fontsAndColours();
    void listShowsWholeLinesAndTakesNoFocus();
    void controlsFitTheirPlaces();
    void isCentredOnItsOwner();
    void showsTheDecodedPicture();

    // The dialog's behaviour.
    void everythingFits_data();
    void everythingFits();
    void keysThatClose_data();
    void keysThatClose();
    void okButtonCloses();
    void clickingTheAddressOpensAMail_data();
    void clickingTheAddressOpensAMail();
    void showAboutCreatesAndDestroysEachTime();
};

void TestHelp::decodesTheShippedPicture()
{
    const QByteArray jpeg = quelvara::aboutPictureJpeg();
    QVERIFY(jpeg.startsWith("\xFF\xD8"));
    const QImage image = quelvara::decodeJpeg(jpeg);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(73, 57));
    // Sample a few places of the drawing, which also catches swapped channels:
    // a bluish background, the white page, the gold coin.
    const QColor background = image.pixelColor(1, 1);
    QVERIFY2(background.blue() > background.red() + 10, qPrintable(background.name()));
    const QColor page = image.pixelColor(31, 25);
    QVERIFY2(page.red() > 230 && page.green() > 230 && page.blue() > 230, qPrintable(page.name()));
    const QColor coin = image.pixelColor(46, 41);
    QVERIFY2(coin.red() > coin.blue() + 80 && coin.green() > coin.blue() + 40,
             qPrintable(coin.name()));
}

void TestHelp::decodesOtherEncodings_data()
{
    QTest::addColumn<bool>("grey");
    QTest::addColumn<bool>("progressive");
    QTest::newRow("colour, baseline") << false << false;
    QTest::newRow("colour, progressive") << false << true;
    QTest::newRow("grey, baseline") << true << false;
    QTest::newRow("grey, progressive") << true << true;
}

void TestHelp::decodesOtherEncodings()
{
    QFETCH(bool, grey);
    QFETCH(bool, progressive);
    // Qt only writes the test pictures here; the program never lets it read one.
    QImage source(40, 24, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            source.setPixelColor(x, y, x < 20 ? QColor(200, 40, 40) : QColor(30, 60, 220));
        }
    }
    if (grey) {
        source = source.convertToFormat(QImage::Format_Grayscale8);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(source)) {
        QSKIP("no JPEG writer to make the test pictures with");
    }

    const QImage image = quelvara::decodeJpeg(jpeg);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), source.size());
    QCOMPARE(image.isGrayscale(), grey);
    for (const QPoint at : {QPoint(5, 5), QPoint(34, 18)}) {
        const QColor want = source.pixelColor(at);
        const QColor got = image.pixelColor(at);
        QVERIFY2(qAbs(want.red() - got.red()) <= 12 && qAbs(want.green() - got.green()) <= 12 &&
                     qAbs(want.blue() - got.blue()) <= 12,
                 qPrintable(want.name() + QStringLiteral(" ") + got.name()));
    }
}

void TestHelp::rejectsTruncatedPicture_data()
{
    const QByteArray jpeg = quelvara::aboutPictureJpeg();
    QVERIFY(jpeg.size() > 400);
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("start marker only") << jpeg.left(2);
    QTest::newRow("inside the tables") << jpeg.left(100);
    QTest::newRow("header without picture data") << jpeg.left(scanDataOffset(jpeg));
    QTest::newRow("a few bytes of picture data") << jpeg.left(scanDataOffset(jpeg) + 16);
    QTest::newRow("half") << jpeg.left(jpeg.size() / 2);
    QTest::newRow("without end marker") << jpeg.left(jpeg.size() - 2);
}

void TestHelp::rejectsTruncatedPicture()
{
    QFETCH(QByteArray, data);
    QVERIFY(quelvara::decodeJpeg(data).isNull());
}

void TestHelp::rejectsGarbage_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("text") << QByteArray("isto não é uma figura");
    QTest::newRow("zeros") << QByteArray(512, '\0');
    QTest::newRow("random") << randomBytes(4096, 7);
    QTest::newRow("start marker then random") << QByteArray("\xFF\xD8", 2) + randomBytes(4096, 11);
    QTest::newRow("png signature") << QByteArray("\x89PNG\r\n\x1A\n", 8) + randomBytes(64, 3);
    QTest::newRow("two start markers") << QByteArray("\xFF\xD8\xFF\xD8\xFF\xD9", 6);
}

void TestHelp::rejectsGarbage()
{
    QFETCH(QByteArray, data);
    QVERIFY(quelvara::decodeJpeg(data).isNull());
}

void TestHelp::rejectsDamagedHeader_data()
{
    const QByteArray jpeg = quelvara::aboutPictureJpeg();
    const qsizetype frame = segmentOffset(jpeg, 0xC0);
    QVERIFY(frame > 0);
    // Frame header: marker(2) length(2) precision(1) height(2) width(2) components(1).
    QTest::addColumn<QByteArray>("data");

    QByteArray noHeight = jpeg;
    putBigEndian16(noHeight, frame + 5, 0);
    QTest::newRow("zero height") << noHeight;

    QByteArray huge = jpeg;
    putBigEndian16(huge, frame + 5, 60000);
    putBigEndian16(huge, frame + 7, 60000);
    QTest::newRow("implausible size") << huge;

    QByteArray components = jpeg;
    components[frame + 9] = char(5);
    QTest::newRow("bad component count") << components;

    QByteArray tables = jpeg;
    const qsizetype huffman = segmentOffset(jpeg, 0xC4);
    QVERIFY(huffman > 0);
    putBigEndian16(tables, huffman + 2, 3);
    QTest::newRow("bad table length") << tables;
}

void TestHelp::rejectsDamagedHeader()
{
    QFETCH(QByteArray, data);
    QVERIFY(quelvara::decodeJpeg(data).isNull());
}

void TestHelp::survivesDamagedPictureData()
{
    // Scrambled picture data may still decode into (wrong) pixels; what matters
    // is that every attempt returns, with either nothing or a whole picture.
    const QByteArray jpeg = quelvara::aboutPictureJpeg();
    const qsizetype start = scanDataOffset(jpeg);
    QVERIFY(start > 0);
    int rejected = 0;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QByteArray damaged = jpeg;
        QRandomGenerator random(seed);
        for (int i = 0; i < 8; ++i) {
            damaged[start + random.bounded(jpeg.size() - 2 - start)] = char(random.bounded(256));
        }
        const QImage image = quelvara::decodeJpeg(damaged);
        if (image.isNull()) {
            ++rejected;
        } else {
            QCOMPARE(image.size(), QSize(73, 57));
        }
    }
    // Most damage is noticed by the decoder (bad codes, stray markers).
    QVERIFY2(rejected > 0, "no damaged picture was rejected");
}

void TestHelp::showsItsTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Label1") << "Label1"
                            << "QUELVARA";
    QTest::newRow("Label2") << "Label2"
                            << "Programa Gerador de Relatórios";
    QTest::newRow("Label3") << "Label3"
                            << "das Contas Públicas";
    QTest::newRow("Label4") << "Label4" << quelvara::vendor::kContactEmail;
    QTest::newRow("version") << "lbVersao"
                             << QStringLiteral("Versão ") + quelvara::programVersion();
}

void TestHelp::showsItsTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    THelp dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Sobre..."));
    QCOMPARE(stripMnemonic(child<QPushButton>(&dialog, "BitBtn1")->text()), QStringLiteral("OK"));
    const auto *label = dialog.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
}

void TestHelp::listHoldsItsThreeLinesExactly_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("first")
        << 0 << "    Este programa foi desenvolvido afim de auxiliar os órgãos públicos";
    QTest::newRow("second") << 1 << "a criarem os relatórios requeridos pela Lei 9.755/98.";
    QTest::newRow("third") << 2 << "    Dúvidas contate-nos pelo e-mail:";
}

void TestHelp::listHoldsItsThreeLinesExactly()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    THelp dialog;
    const auto *list = child<QListWidget>(&dialog, "ListBox1");
    QVERIFY(list);
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(row)->text(), text);
}

void TestHelp::hasFixedFrameWithoutButtons()
{
    QWidget owner;
    THelp dialog(&owner);
    // The size it was drawn at, or larger where its texts need it; fixed.
    QVERIFY(dialog.width() >= 338 && dialog.height() >= 189);
    QCOMPARE(dialog.minimumSize(), dialog.size());
    QCOMPARE(dialog.maximumSize(), dialog.size());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(child<QPushButton>(&dialog, "BitBtn1")->isDefault());
}

void TestHelp::fontsAndColours()
{
    THelp dialog;
    const QFont heading = child<QLabel>(&dialog, "Label1")->font();
    QCOMPARE(heading.pixelSize(), 21);
    QVERIFY(heading.bold());
    QVERIFY(heading.italic());
    QCOMPARE(heading.families().value(0), QStringLiteral("Arial Black"));
    // Whatever face stands in for it is a real, heavy, slanted one.
    const QFontInfo shown(heading);
    QVERIFY(!shown.family().isEmpty());
    QVERIFY(shown.bold());
    QVERIFY(shown.italic());

    const auto *address = child<QLabel>(&dialog, "Label4");
    QVERIFY(address->font().bold());
    QCOMPARE(address->palette().color(QPalette::WindowText), QColor(Qt::blue));
    QCOMPARE(address->cursor().shape(), Qt::PointingHandCursor);

    // The list reads as part of the dialog, not as an input box.
    const auto *list = child<QListWidget>(&dialog, "ListBox1");
    QCOMPARE(list->frameShape(), QFrame::NoFrame);
    QCOMPARE(list->palette().color(QPalette::Base), dialog.palette().color(QPalette::Window));
}

void TestHelp::listShowsWholeLinesAndTakesNoFocus()
{
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    auto *list = child<QListWidget>(&dialog, "ListBox1");
    QCOMPARE(list->focusPolicy(), Qt::NoFocus);
    // Only the OK button takes the focus, whatever Tab does.
    auto *ok = child<QPushButton>(&dialog, "BitBtn1");
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), ok);

    const QRect view = list->viewport()->rect();
    const int row = list->sizeHintForRow(0);
    QVERIFY(row > 0);
    QCOMPARE(view.height(), 3 * row);
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < list->count(); ++i) {
        const QRect item = list->visualItemRect(list->item(i));
        QVERIFY2(view.contains(item), qPrintable(QString::number(i)));
        QVERIFY2(metrics.horizontalAdvance(list->item(i)->text()) < view.width(),
                 qPrintable(list->item(i)->text()));
    }
}

void TestHelp::controlsFitTheirPlaces()
{
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    auto *group = child<QGroupBox>(&dialog, "GroupBox1");
    QVERIFY(group);
    QVERIFY(dialog.rect().contains(group->geometry()));
    auto *ok = child<QPushButton>(&dialog, "BitBtn1");
    QVERIFY(dialog.rect().contains(ok->geometry()));
    QVERIFY(ok->geometry().top() > group->geometry().bottom());

    QCOMPARE(child<QLabel>(&dialog, "Image1")->size(), QSize(73, 57));
    for (const char *name :
         {"Image1", "Label1", "Label2", "Label3", "Bevel1", "ListBox1", "Label4"}) {
        const auto *control = child<QWidget>(&dialog, name);
        QVERIFY2(control, name);
        QCOMPARE(control->parentWidget(), group);
        QVERIFY2(group->contentsRect().contains(control->geometry()), name);
    }
    // No text is cut, whichever font stood in.
    for (const char *name : {"Label1", "Label2", "Label3", "Label4"}) {
        const auto *label = child<QLabel>(&dialog, name);
        QVERIFY2(label->sizeHint().width() <= label->width(), name);
        QVERIFY2(label->sizeHint().height() <= label->height(), name);
    }
    // From top to bottom: heading, line, list, address.
    const auto bottom = [&](const char *name) {
        return child<QWidget>(&dialog, name)->geometry().bottom();
    };
    const auto top = [&](const char *name) {
        return child<QWidget>(&dialog, name)->geometry().top();
    };
    QVERIFY(bottom("Label1") < top("Label2"));
    QVERIFY(bottom("Label2") < top("Label3"));
    QVERIFY(bottom("Label3") < top("Bevel1"));
    QVERIFY(bottom("Image1") < top("Bevel1"));
    QVERIFY(bottom("Bevel1") < top("ListBox1"));
    QVERIFY(bottom("ListBox1") < top("Label4"));
}

void TestHelp::isCentredOnItsOwner()
{
    QWidget owner;
    owner.setGeometry(60, 40, 640, 420);
    owner.show();
    THelp dialog(&owner);
    dialog.show();
    const QPoint offset = dialog.geometry().center() - owner.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QCOMPARE(dialog.size(), dialog.minimumSize());
}

void TestHelp::showsTheDecodedPicture()
{
    THelp dialog;
    const QImage expected = quelvara::decodeJpeg(quelvara::aboutPictureJpeg());
    QVERIFY(!expected.isNull());
    const QPixmap shown = child<QLabel>(&dialog, "Image1")->pixmap();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown.toImage().convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
}

void TestHelp::everythingFits_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100%") << 1.0;
    QTest::newRow("125%") << 1.25;
    QTest::newRow("150%") << 1.5;
}

// Every text whole and inside the dialog at the default font and at larger
// ones; the dialog's fonts grow with the desktop's.
void TestHelp::everythingFits()
{
    QFETCH(qreal, scale);
    const ScaledFont font(scale);
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    QCOMPARE(layoutFaults(&dialog), QStringList());
    QCOMPARE(buttonsWithoutMnemonic(&dialog), QStringList());
    const auto *list = child<QListWidget>(&dialog, "ListBox1");
    QCOMPARE(list->viewport()->height(), 3 * list->sizeHintForRow(0));
    const int text = QFontInfo(child<QLabel>(&dialog, "Label2")->font()).pixelSize();
    const int desktop = QFontInfo(QApplication::font()).pixelSize();
    QVERIFY2(text >= desktop * 11 / 12 && text >= 11, qPrintable(QString::number(text)));
}

void TestHelp::keysThatClose_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Return") << int(Qt::Key_Return) << true;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << true;
    // Nothing to cancel: Esc closes it as OK does.
    QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
}

void TestHelp::keysThatClose()
{
    QFETCH(int, key);
    QFETCH(bool, closes);
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(dialog.isVisible(), !closes);
    if (closes) {
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
}

void TestHelp::okButtonCloses()
{
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    dialog.setResult(QDialog::Rejected);
    QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestHelp::clickingTheAddressOpensAMail_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("canOpen");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("messages");
    const QString mail = QStringLiteral("mailto:") + quelvara::vendor::kContactEmail;
    QTest::newRow("left") << int(Qt::LeftButton) << true << QStringList{mail} << QStringList{};
    QTest::newRow("right") << int(Qt::RightButton) << true << QStringList{} << QStringList{};
    // Without a mail program the user learns where to write.
    QTest::newRow("no mail program")
        << int(Qt::LeftButton) << false << QStringList{mail}
        << QStringList{
               QStringLiteral("Não foi possível abrir o programa de e-mail. Escreva para ") +
               quelvara::vendor::kContactEmail + QStringLiteral(".")};
}

void TestHelp::clickingTheAddressOpensAMail()
{
    QFETCH(int, button);
    QFETCH(bool, canOpen);
    QFETCH(QStringList, opened);
    QFETCH(QStringList, messages);
    FakePlatform fake;
    fake.canOpen = canOpen;
    QWidget owner;
    THelp dialog(&owner);
    showActive(owner, dialog);
    QTest::mouseClick(child<QLabel>(&dialog, "Label4"), Qt::MouseButton(button));
    QCOMPARE(fake.opened, opened);
    QVERIFY(dialog.isVisible());
    QCOMPARE(fake.messages, messages);
    QVERIFY(fake.errors.isEmpty());
}

void TestHelp::showAboutCreatesAndDestroysEachTime()
{
    FakePlatform fake;
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QList<QPointer<THelp>> seen;
    QList<bool> modal;
    QList<bool> parented;
    QList<bool> closedByEsc;
    for (int run = 0; run < 2; ++run) {
        QTimer::singleShot(0, &owner, [&] {
            THelp *dialog = Help;
            seen.append(dialog);
            if (dialog == nullptr) {
                return;
            }
            modal.append(dialog->isModal() && dialog->isVisible());
            parented.append(dialog->parentWidget() == &owner);
            QTest::keyClick(dialog, Qt::Key_Escape);
            closedByEsc.append(!dialog->isVisible());
            if (dialog->isVisible()) {
                QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
            }
        });
        quelvara::showAbout(&owner);
        QCOMPARE(Help, nullptr);
    }
    QCOMPARE(seen.size(), 2);
    QCOMPARE(modal, QList<bool>({true, true}));
    QCOMPARE(parented, QList<bool>({true, true}));
    QCOMPARE(closedByEsc, QList<bool>({true, true}));
    // Each showing was its own window, gone once closed.
    QVERIFY(seen[0].isNull());
    QVERIFY(seen[1].isNull());
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
