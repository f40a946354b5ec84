#include "htmlpage.h"
#include "opendata.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

using namespace quelvara;

// Opens a written page in a real browser and reads back what it shows: the
// page is Windows-1252 bytes under an iso-8859-1 declaration, and the accented
// letters must come out as the user expects them.
class TestHtmlPageBrowser : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void browserShowsThePageAsWritten();
    void browserShowsTheIndexes();

private:
    QString renderedDom(const QString &page);

    QString browser_;
    QString previous_; // the working directory before the test's own
    std::optional<QTemporaryDir> work_;
};

void TestHtmlPageBrowser::initTestCase()
{
    browser_ = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser_.isEmpty()) {
        QSKIP("no chromium on this machine");
    }
}

// Every test writes into a fresh working directory of its own.
void TestHtmlPageBrowser::init()
{
    work_.emplace();
    previous_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work_->path()));
}

void TestHtmlPageBrowser::cleanup()
{
    QDir::setCurrent(previous_);
    work_.reset();
}

QString TestHtmlPageBrowser::renderedDom(const QString &page)
{
    const QString browser = browser_;
    QTemporaryDir profile;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(
        browser,
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--disable-background-networking"),
         QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
         QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile.path(),
         QStringLiteral("--dump-dom"), QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded)});
    if (!process.waitForStarted(30000)) {
        return {};
    }
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished(10000);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

void TestHtmlPageBrowser::browserShowsThePageAsWritten()
{
    PageInput input;
    input.title = QStringLiteral("Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII");
    input.municipality = QStringLiteral("São Tomé das Águas - MG");
    input.year = QStringLiteral("2005");
    input.periodName = QStringLiteral("2º Bimestre");
    input.fieldCount = 4;
    input.captions = {QStringLiteral("Codificação Numérica:"),
                      QStringLiteral("Discriminação obs. o desdobramento:"),
                      QStringLiteral("Receita realizada no bimestre:"),
                      QStringLiteral("Receita Acumulada no exercício:")};
    input.fieldTypes = {1, 2, -1, -4};
    input.codes = {QStringLiteral("1112"), QStringLiteral("1113"), QStringLiteral("1721")};
    input.lines = {QStringLiteral("1112\tIPTU\t1.000,25\t2.000,10\t0\t"),
                   QStringLiteral("1113\tObras <Fase 2> & reforma\t234,25\t500,20\t0\t"),
                   QStringLiteral("1721\tCota-parte do FPM\t9.999,00\t9.999,00\t1\t")};
    input.prefeito = QStringLiteral("José Antônio");
    input.secFin = QStringLiteral("Márcia Conceição");
    input.contador = QStringLiteral("Luís Gonçalves");
    input.crc = QStringLiteral("MG-012345/O-6");

    const FileResult written = writePageFile(input.year, QStringLiteral("exec-orc-rec-realizada-"),
                                             QStringLiteral("2"), buildPage(input));
    QVERIFY(written.ok());

    const QString dom = renderedDom(work_->filePath(QStringLiteral("2005/exec-orc-rec-realizada-2-2005.htm")));
    QVERIFY2(!dom.isEmpty(), "the browser showed nothing");

    // The template's entity and bytes, and the texts of the report.
    QVERIFY(dom.contains(QStringLiteral("EXERCÍCIO: 2005 - 2º Bimestre")));
    QVERIFY(dom.contains(
        QStringLiteral("Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII")));
    QVERIFY(dom.contains(QStringLiteral("São Tomé das Águas - MG")));
    QVERIFY(dom.contains(QStringLiteral("Para impressão, configure a página para Orientação "
                                        "Paisagem.")));
    QVERIFY(dom.contains(QStringLiteral("Secretário de Finanças")));
    QVERIFY(dom.contains(QStringLiteral("Márcia Conceição")));
    QVERIFY(dom.contains(QStringLiteral("Luís Gonçalves/MG-012345/O-6")));
    QVERIFY(dom.contains(QStringLiteral("Discriminação obs. o desdobramento:")));

    // The totals leave out the excluded item.
    QVERIFY(dom.contains(QStringLiteral("1.234,50")));
    QVERIFY(dom.contains(QStringLiteral("2.500,30")));
    QVERIFY(dom.contains(QStringLiteral("total:")));

    // A typed "<" stays text: the browser made no element of it.
    QVERIFY(dom.contains(QStringLiteral("Obras &lt;Fase 2&gt; &amp; reforma")));
    QVERIFY(!dom.contains(QStringLiteral("<fase"), Qt::CaseInsensitive));
}

// The year's index and the index of the years, written beside a page, show
// their tables and links in the browser as UTF-8.
void TestHtmlPageBrowser::browserShowsTheIndexes()
{
    PageInput input;
    input.title = QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I");
    input.municipality = QStringLiteral("São Tomé das Águas - MG");
    input.year = QStringLiteral("2005");
    input.period = QStringLiteral("3");
    input.periodName = QStringLiteral("Março");
    input.prefix = QStringLiteral("trib-arrec-");
    input.category = ReportCategory::Mensais;
    input.position = 0;
    const bool written =
        writePageFile(input.year, input.prefix, input.period, buildPage(input)).ok() &&
        writeOpenData(input).ok();
    QVERIFY(written);

    const QString year = renderedDom(work_->filePath(QStringLiteral("2005/index.html")));
    QVERIFY2(!year.isEmpty(), "the browser showed nothing");
    QVERIFY(year.contains(QStringLiteral("<html lang=\"pt-BR\">")));
    QVERIFY(year.contains(QStringLiteral("<h1>São Tomé das Águas - MG</h1>")));
    QVERIFY(year.contains(QStringLiteral("<caption>Relatórios Mensais</caption>")));
    QVERIFY(year.contains(QStringLiteral(
        "<th scope=\"row\">Tributos Arrecadados  Art 2º, Inc. I</th><td>Março</td>")));
    for (const char *extension : {".htm", ".csv", ".json"}) {
        QVERIFY(year.contains(QStringLiteral("href=\"trib-arrec-3-2005") +
                              QLatin1StringView(extension)));
    }
    QVERIFY(year.contains(QStringLiteral("Atualizado em ")));

    const QString root = renderedDom(work_->filePath(QStringLiteral("index.html")));
    QVERIFY(root.contains(QStringLiteral("<caption>Exercícios</caption>")));
    QVERIFY(root.contains(QStringLiteral("href=\"2005/index.html\"")));
}

QTEST_GUILESS_MAIN(TestHtmlPageBrowser)
#include "test_htmlpage_browser.moc"
