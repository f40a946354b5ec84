#include "codec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace quelvara;

class TestCodec : public QObject {
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void matchesIcu();
    void portugueseLetters();
    void oneHighByteAnywhere_data();
    void oneHighByteAnywhere();
    void nfcBeforeEncoding();
    void unencodable_data();
    void unencodable();
    void keepCp1252Reports();
};

void TestCodec::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b) {
        all[b] = static_cast<char>(b);
    }
    const QString text = decodeCp1252(all);
    QCOMPARE(text.size(), 256);
    const std::optional<QByteArray> back = encodeCp1252(text);
    QVERIFY(back.has_value());
    QCOMPARE(*back, all);
}

// Our table must agree with ICU's windows-1252 on every byte, so that files
// read the same whether or not the build has ICU.
void TestCodec::matchesIcu()
{
    QStringDecoder icu("windows-1252");
    if (!icu.isValid()) {
        QSKIP("This Qt has no ICU codec to compare with");
    }
    static const QList<int> unassigned = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        QStringDecoder decoder("windows-1252");
        const QString expected = decoder.decode(byte);
        const QString ours = decodeCp1252(byte);
        if (unassigned.contains(b) && expected != ours) {
            // ICU may leave these five undefined; ours keep the byte as the C1 control.
            QCOMPARE(ours, QString(QChar(b)));
            continue;
        }
        QVERIFY2(expected == ours, qPrintable(QStringLiteral("byte 0x%1").arg(b, 2, 16)));
    }
}

void TestCodec::portugueseLetters()
{
    const QString text = QStringLiteral("Orçamentos – Nº 1º ÁGUA € “x”");
    const std::optional<QByteArray> bytes = encodeCp1252(text);
    QVERIFY(bytes.has_value());
    QCOMPARE(bytes->size(), text.size());
    QCOMPARE(static_cast<unsigned char>(bytes->at(2)), 0xE7);  // ç
    QCOMPARE(static_cast<unsigned char>(bytes->at(11)), 0x96); // en dash
    QCOMPARE(static_cast<unsigned char>(bytes->at(14)), 0xBA); // º
    QCOMPARE(decodeCp1252(*bytes), text);
}

// A byte from 0x80 to 0x9F alone among plain letters, at the edges of the
// blocks the decoder widens at once and in the bytes left after them.
void TestCodec::oneHighByteAnywhere_data()
{
    QTest::addColumn<int>("position");
    QTest::newRow("first of a line") << 0;
    QTest::newRow("last of the first block") << 15;
    QTest::newRow("first of the second block") << 16;
    QTest::newRow("after the last block") << 32;
    QTest::newRow("last of a line") << 38;
}

void TestCodec::oneHighByteAnywhere()
{
    QFETCH(int, position);
    for (int b = 0x80; b <= 0x9F; ++b) {
        QByteArray bytes(39, 'a');
        bytes[position] = static_cast<char>(b);
        const QString text = decodeCp1252(bytes);
        QString expected(39, u'a');
        expected[position] = decodeCp1252(QByteArray(1, static_cast<char>(b))).at(0);
        QVERIFY2(text == expected, qPrintable(QStringLiteral("byte 0x%1").arg(b, 2, 16)));
    }
    QCOMPARE(decodeCp1252(QByteArray("\x80\x96\x9F")), QStringLiteral("€–Ÿ"));
}

void TestCodec::nfcBeforeEncoding()
{
    // "é" typed as e + combining acute encodes as the single byte 0xE9.
    const QString decomposed = QStringLiteral("Jose") + QChar(0x0301);
    const std::optional<QByteArray> bytes = encodeCp1252(decomposed);
    QVERIFY(bytes.has_value());
    QCOMPARE(*bytes, QByteArray("Jos\xE9"));
    QByteArray appended("x;");
    QVERIFY(appendCp1252(appended, decomposed));
    QCOMPARE(appended, QByteArray("x;Jos\xE9"));
}

void TestCodec::unencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("arrow") << QStringLiteral("a → b");
    QTest::newRow("emoji") << QStringLiteral("ok 😀");
    QTest::newRow("cyrillic") << QStringLiteral("Дом");
    QTest::newRow("C1 control with an assigned byte") << QString(QChar(0x80));
    QTest::newRow("lone combining mark") << QString(QChar(0x0301));
}

void TestCodec::unencodable()
{
    QFETCH(QString, text);
    QVERIFY(!encodeCp1252(text).has_value());
    QByteArray bytes("kept\r\n");
    QVERIFY(!appendCp1252(bytes, QStringLiteral("ok ") + text));
    QCOMPARE(bytes, QByteArray("kept\r\n"));
}

void TestCodec::keepCp1252Reports()
{
    QString removed;
    QCOMPARE(keepCp1252(QStringLiteral("Preço → 10 😀 €"), &removed),
             QStringLiteral("Preço  10  €"));
    QCOMPARE(removed, QStringLiteral("→😀"));

    removed.clear();
    QCOMPARE(keepCp1252(QStringLiteral("e") + QChar(0x0301), &removed), QStringLiteral("é"));
    QVERIFY(removed.isEmpty());
}

QTEST_GUILESS_MAIN(TestCodec)
#include "test_codec.moc"
