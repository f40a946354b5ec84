// The runs of characters written as their own byte, taken eight at a time,
// against the definition taken one at a time, on random texts.
#include "plainrun.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

using namespace quelvara;

namespace {

// Characters at every border of every kind of run.
constexpr char16_t kAlphabet[] = {
    u'a',   u'Z',   u' ',   u'0',   u'&',   u'<',   u'>',   u'"',   u'\\',  u';',
    u'\t',  u'\n',  0x001F, 0x007E, 0x007F, 0x0080, 0x009F, 0x00A0, 0x00E7, 0x00FF,
    0x0100, 0x0126, 0x013C, 0x013E, 0x2013, 0x20AC, 0xD800, 0xFF26, 0xFF3C, 0xFFFF,
};

// Returns the first random text whose run copyPlain finds differently from
// the definition, described; nothing when every run agrees.
template <Plain kind>
QString firstDisagreement()
{
    QRandomGenerator random(1252);
    for (int round = 0; round < 20000; ++round) {
        // Mostly plain letters, so that long runs and late stops both occur.
        std::vector<char16_t> text(random.bounded(40));
        for (char16_t &c : text) {
            c = random.bounded(4) != 0 ? char16_t(u'a' + random.bounded(26))
                                       : kAlphabet[random.bounded(int(std::size(kAlphabet)))];
        }
        const auto n = qsizetype(text.size());
        qsizetype expected = 0;
        while (expected < n && isPlain<kind>(text[std::size_t(expected)])) {
            ++expected;
        }
        std::vector<char> out(text.size() + 1, '\x01');
        const qsizetype run = copyPlain<kind>(out.data(), text.data(), n);
        bool same = run == expected && out[text.size()] == '\x01'; // nothing past the room
        for (qsizetype i = 0; same && i < run; ++i) {
            same = out[std::size_t(i)] == char(text[std::size_t(i)]);
        }
        if (!same) {
            return QStringLiteral("run %1 instead of %2 in \"%3\"")
                .arg(run)
                .arg(expected)
                .arg(QString::fromUtf16(text.data(), n));
        }
    }
    return {};
}

} // namespace

class TestPlainRun : public QObject {
    Q_OBJECT

private slots:
    void runsAgreeWithTheDefinition_data();
    void runsAgreeWithTheDefinition();
};

void TestPlainRun::runsAgreeWithTheDefinition_data()
{
    QTest::addColumn<QString>("disagreement");
    QTest::newRow("Windows-1252") << firstDisagreement<Plain::Cp1252>();
    QTest::newRow("page") << firstDisagreement<Plain::Html>();
    QTest::newRow("JSON") << firstDisagreement<Plain::Json>();
    QTest::newRow("UTF-8") << firstDisagreement<Plain::Ascii>();
    QTest::newRow("CSV") << firstDisagreement<Plain::Csv>();
}

void TestPlainRun::runsAgreeWithTheDefinition()
{
    QFETCH(QString, disagreement);
    QVERIFY2(disagreement.isEmpty(), qPrintable(disagreement));
}

QTEST_GUILESS_MAIN(TestPlainRun)
#include "test_plainrun.moc"
