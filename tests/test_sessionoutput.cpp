// The files the report session writes, byte for byte, and the messages it
// gives, for a fixed sequence of loads, saves, deletions and recalculations
// of several kinds on a generated folder of 10,000 items per report. The
// record in golden/sessionoutput.txt was taken before the session was made
// fast; every change to how it computes or writes must leave it as it is.
// Run with QUELVARA_RECORD=1 to write the record anew (and say why in the
// commit).
#include "reportsession.h"
#include "sampledata.h"
#include "testfiles.h"
#include "values.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTest>

#include <functional>

using namespace quelvara;

namespace {

constexpr int kItems = 10000;

// The open data and the indexes tell when their page was written: that
// moment is taken out before the bytes are compared.
QByteArray withoutMoments(const QString &path, QByteArray bytes)
{
    if (!path.endsWith(QStringLiteral(".json")) && !path.endsWith(QStringLiteral(".html"))) {
        return bytes;
    }
    static const QRegularExpression iso(
        QStringLiteral("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)?"));
    static const QRegularExpression shown(QStringLiteral("\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d"));
    QString text = QString::fromUtf8(bytes);
    text.replace(iso, QStringLiteral("<moment>"));
    text.replace(shown, QStringLiteral("<moment>"));
    return text.toUtf8();
}

// A modification time no write can give, set on every file before a step:
// a file that no longer has it was written by the step.
const QDateTime kUntouched = QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

class Recorder {
public:
    explicit Recorder(QString base)
        : base_(std::move(base))
    {
    }

    // Runs one step and records what it wrote and said.
    void step(const QString &name, const std::function<SessionResult()> &operation)
    {
        markUntouched();
        const qsizetype at = record_.size();
        record_.append(name);
        const SessionResult result = operation();
        if (!result.ok) {
            record_[at] += QStringLiteral(" (not done)");
        }
        recordWrites();
        recordMessages(result.messages);
    }

    // Records a text a step computed for a field.
    void text(int field, const QString &text)
    {
        record_.append(QStringLiteral("  T%1 %2").arg(field).arg(text));
    }

    const QStringList &record() const { return record_; }

private:
    QStringList files() const
    {
        QStringList found;
        QDirIterator it(base_, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            found.append(it.next());
        }
        found.sort();
        return found;
    }

    void markUntouched() const
    {
        for (const QString &path : files()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly)) {
                file.setFileTime(kUntouched, QFileDevice::FileModificationTime);
            }
        }
    }

    void recordWrites()
    {
        for (const QString &path : files()) {
            if (QFileInfo(path).lastModified() == kUntouched) {
                continue;
            }
            const QByteArray bytes = withoutMoments(path, fileBytes(path));
            record_.append(
                QStringLiteral("  W %1 %2 %3")
                    .arg(QDir(base_).relativeFilePath(path))
                    .arg(bytes.size())
                    .arg(QString::fromLatin1(
                        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex())));
        }
    }

    // Repeated messages (one per item and field) are counted, in order.
    void recordMessages(const QStringList &messages)
    {
        const QString base = QDir::toNativeSeparators(base_);
        for (qsizetype i = 0; i < messages.size();) {
            qsizetype j = i + 1;
            while (j < messages.size() && messages[j] == messages[i]) {
                ++j;
            }
            QString text = messages[i];
            text.replace(base, QStringLiteral("<base>"));
            record_.append(QStringLiteral("  M %1x %2").arg(j - i).arg(text));
            i = j;
        }
    }

    QString base_;
    QStringList record_;
};

// The field texts of a shown item.
FieldTexts shown(const ReportSession &session, int row) { return session.item(row).first; }

} // namespace

class TestSessionOutput : public QObject {
    Q_OBJECT

private slots:
    void filesWrittenAreUnchanged();
};

void TestSessionOutput::filesWrittenAreUnchanged()
{
    ScratchDir dir;
    sample::writeDataFolder(dir.path(), kItems);
    Recorder r(dir.path());
    const QString year = sample::kYear;

    // Monthly taxes: a registry kind with an accumulated field.
    ReportSession m(ReportCategory::Mensais);
    m.setMunicipality(QStringLiteral("Prefeitura Municipal de Vila Serena"), QStringLiteral("MG"));
    m.readOfficials();
    r.step(QStringLiteral("taxes: choose the kind"), [&] {
        m.setPeriod(0, QStringLiteral("Janeiro"));
        return m.chooseKind(0, reportKind(ReportCategory::Mensais, 0)->title);
    });
    r.step(QStringLiteral("taxes: open January"), [&] {
        m.setYear(year);
        return m.load();
    });
    r.step(QStringLiteral("taxes: open March"), [&] {
        m.setPeriod(2, QStringLiteral("Março"));
        return m.load();
    });
    r.step(QStringLiteral("taxes: a new item"), [&] {
        SessionResult result;
        for (int n = m.fieldCount(); n >= 1; --n) {
            r.text(n, m.resetField(n, QString(), result).value_or(QStringLiteral("<kept>")));
        }
        return result;
    });
    r.step(QStringLiteral("taxes: save a changed item"), [&] {
        SessionResult result;
        FieldTexts texts = shown(m, kItems / 2);
        texts[3] = m.leaveField(3, QStringLiteral("1234,5"));
        texts[4] = m.enterField(4, texts, result).value_or(QStringLiteral("<none>"));
        r.text(4, texts[4]);
        result.add(m.saveItem(texts, false));
        return result;
    });
    r.step(QStringLiteral("taxes: save a new code"), [&] {
        SessionResult result;
        FieldTexts texts;
        texts[1] = QStringLiteral("9999.99.99");
        texts[2] = QStringLiteral("Taxa de Expediente – Emissão de Guias");
        texts[3] = m.leaveField(3, QStringLiteral("R$ 10"));
        texts[4] = m.enterField(4, texts, result).value_or(QStringLiteral("<none>"));
        r.text(4, texts[4]);
        result.add(m.addItem(texts, false));
        return result;
    });
    r.step(QStringLiteral("taxes: save an item left out of the totals"),
           [&] { return m.saveItem(shown(m, 3), true); });
    r.step(QStringLiteral("taxes: delete an item and its registry entry"),
           [&] { return m.deleteItem(10, true); });
    r.step(QStringLiteral("taxes: delete an item the registry keeps"),
           [&] { return m.deleteItem(20, false); });
    r.step(QStringLiteral("taxes: delete with no item selected"),
           [&] { return m.deleteItem(-1, false); });
    r.step(QStringLiteral("taxes: open December"), [&] {
        m.setPeriod(11, QStringLiteral("Dezembro"));
        return m.load();
    });
    r.step(QStringLiteral("taxes: Atualizar Valores"), [&] { return m.recalculateYear(); });
    r.step(QStringLiteral("taxes: enter the accumulated field"), [&] {
        SessionResult result;
        FieldTexts texts = shown(m, 7);
        texts[3] = QStringLiteral("100,00");
        r.text(4, m.enterField(4, texts, result).value_or(QStringLiteral("<none>")));
        return result;
    });
    r.step(QStringLiteral("taxes: a year being typed"), [&] {
        m.setYear(QStringLiteral("20"));
        SessionResult result = m.load();
        m.setYear(year);
        return result;
    });

    // Voluntary transfers: no month stored yet.
    r.step(QStringLiteral("transfers: open March with no month before"), [&] {
        SessionResult result = m.chooseKind(1, reportKind(ReportCategory::Mensais, 1)->title);
        m.setPeriod(2, QStringLiteral("Março"));
        result.add(m.load());
        return result;
    });
    r.step(QStringLiteral("transfers: Atualizar Valores"), [&] { return m.recalculateYear(); });

    // Purchases: numbered items of a CNPJ kind that extends its registry twice.
    r.step(QStringLiteral("purchases: open May"), [&] {
        SessionResult result = m.chooseKind(7, reportKind(ReportCategory::Mensais, 7)->title);
        m.setPeriod(4, QStringLiteral("Maio"));
        result.add(m.load());
        r.text(1, m.proposedNumber().value_or(QStringLiteral("<none>")));
        return result;
    });
    r.step(QStringLiteral("purchases: save a purchase from a new supplier"), [&] {
        SessionResult result;
        FieldTexts texts;
        texts[1] = m.proposedNumber().value_or(QString());
        texts[2] = QStringLiteral("Secretaria Municipal de Saúde");
        texts[3] = GetField(m.registry().at(0), 1);
        texts[4] = m.complete(3, texts[3]).value_or(Completion{}).text;
        texts[5] = QStringLiteral("Mercearia Nova Esperança Ltda");
        texts[6] = m.leaveField(6, QStringLiteral("11222333000181"));
        texts[7] = QStringLiteral("Gêneros alimentícios");
        texts[8] = m.leaveField(8, QStringLiteral("12,5"));
        texts[9] = QStringLiteral("3");
        texts[10] = m.enterField(10, texts, result).value_or(QStringLiteral("<none>"));
        r.text(10, texts[10]);
        result.add(m.saveItem(texts, false));
        return result;
    });
    r.step(QStringLiteral("purchases: delete an item"), [&] { return m.deleteItem(1, false); });

    // A typed title: nothing of the catalogue, its own file names.
    r.step(QStringLiteral("typed title: open"), [&] {
        SessionResult result = m.chooseKind(-1, QStringLiteral("Relatório Especial"));
        result.add(m.load());
        return result;
    });

    // Expenses by budget unit: two accumulated fields per item.
    ReportSession b(ReportCategory::Bimestrais);
    b.setMunicipality(QStringLiteral("Prefeitura Municipal de Vila Serena"), QStringLiteral("MG"));
    b.readOfficials();
    r.step(QStringLiteral("expenses: open the 4th bimester"), [&] {
        SessionResult result = b.chooseKind(1, reportKind(ReportCategory::Bimestrais, 1)->title);
        b.setYear(year);
        b.setPeriod(3, QStringLiteral("4º Bimestre"));
        result.add(b.load());
        return result;
    });
    r.step(QStringLiteral("expenses: save a changed item"), [&] {
        SessionResult result;
        FieldTexts texts = shown(b, 100);
        texts[4] = b.leaveField(4, QStringLiteral("2000"));
        texts[5] = b.enterField(5, texts, result).value_or(QStringLiteral("<none>"));
        texts[6] = b.leaveField(6, QStringLiteral("1.500"));
        texts[7] = b.enterField(7, texts, result).value_or(QStringLiteral("<none>"));
        r.text(5, texts[5]);
        r.text(7, texts[7]);
        result.add(b.saveItem(texts, false));
        return result;
    });
    r.step(QStringLiteral("expenses: delete an item and its registry entry"),
           [&] { return b.deleteItem(200, true); });
    r.step(QStringLiteral("expenses: Atualizar Valores"), [&] { return b.recalculateYear(); });

    // The annual revenue forecast, and the result kind without a total row.
    ReportSession a(ReportCategory::Anuais);
    a.setMunicipality(QStringLiteral("Prefeitura Municipal de Vila Serena"), QStringLiteral("MG"));
    a.readOfficials();
    r.step(QStringLiteral("forecast: open"), [&] {
        a.clearPeriod();
        SessionResult result = a.chooseKind(0, reportKind(ReportCategory::Anuais, 0)->title);
        a.setYear(year);
        a.setPeriod(-1, QString());
        result.add(a.load());
        return result;
    });
    r.step(QStringLiteral("forecast: save a new code"), [&] {
        FieldTexts texts;
        texts[1] = QStringLiteral("1999.00.01");
        texts[2] = QStringLiteral("Receita de Alienação de Bens Imóveis");
        texts[3] = a.leaveField(3, QStringLiteral("50000"));
        return a.saveItem(texts, false);
    });
    r.step(QStringLiteral("forecast: delete an item the registry keeps"),
           [&] { return a.deleteItem(5, false); });
    r.step(QStringLiteral("forecast: Atualizar Valores does nothing"),
           [&] { return a.recalculateYear(); });
    r.step(QStringLiteral("result: open, save and delete"), [&] {
        SessionResult result = a.chooseKind(8, reportKind(ReportCategory::Anuais, 8)->title);
        result.add(a.load());
        FieldTexts texts;
        texts[1] = a.leaveField(1, QStringLiteral("1000"));
        texts[2] = a.leaveField(2, QStringLiteral("-250,5"));
        texts[3] = a.leaveField(3, QStringLiteral("749,50"));
        result.add(a.saveItem(texts, false));
        result.add(a.writePage());
        result.add(a.deleteItem(0, false));
        return result;
    });

    const QStringList actual = r.record();
    if (qEnvironmentVariableIsSet("QUELVARA_RECORD")) {
        QFile out(QStringLiteral(QUELVARA_GOLDEN));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write((actual.join(u'\n') + u'\n').toUtf8());
        QSKIP("record written");
    }
    QFile in(QStringLiteral(QUELVARA_GOLDEN));
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        QCOMPARE(actual[i], expected[i]);
    }
    QCOMPARE(actual.size(), expected.size());
}

QTEST_GUILESS_MAIN(TestSessionOutput)
#include "test_sessionoutput.moc"
