#include "htmlpage.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::PageInput)

namespace {

const QString kMunicipality = QStringLiteral("Vila Serena - MG");
const QString kPrefeito = QStringLiteral("Carlos Andrade");
const QString kSecFin = QStringLiteral("Beatriz Lima");
const QString kContador = QStringLiteral("Paulo Souza");
const QString kCrc = QStringLiteral("MG-012345/O-6");

// The first entry of a page, with the report's own texts put in.
QString head(const QString &t, const QString &p, const QString &y, const QString &r)
{
    return QStringLiteral("<html><head><title> ") + t +
           QStringLiteral(
               " </title>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
               "<style type=\"text/css\">\n"
               "<!--\n"
               "body {\n"
               "\tfont-size: 10pt;\n"
               "\tfont-family: Arial, Helvetica, sans-serif;\n"
               "\tfont-weight: bold;\n"
               "}\n"
               "td {\n"
               "\tfont-size: 10pt;\n"
               "\tfont-family: Arial, Helvetica, sans-serif;\n"
               "\tborder: 1px solid #000000;\n"
               "}\n"
               "\n"
               "-->\n"
               "</style>\n"
               "\n"
               "</head>\n"
               "<body topmargin=0>\n"
               "<table width=100%><tr><td>\n"
               "Para impressão, configure a página para Orientação Paisagem.<br>\n"
               "por <a href=\"mailto:contato@quelvara.com.br\"> Quelvara</a><br>\n"
               "<br>\n"
               "<div align=\"center\">\n"
               "<table width=650 bgcolor=#CCCCCC>\n"
               "  <tr><td><div align=\"center\"><b>") +
           p + QStringLiteral(" <br>\n") + t + QStringLiteral("<br>\nEXERC&Iacute;CIO: ") + y +
           QStringLiteral(" - ") + r +
           QStringLiteral("</b></div></td></tr>\n</table>\n</div>\n<div align=\"center\"><br>\n");
}

const QString kTableOpen =
    QStringLiteral("  <table cellspacing=0 style=\"t1\" width=1050>\n    <tr bgcolor=#CCCCCC>\n");

QString signatures(const QString &prefeito, const QString &secFin, const QString &contador,
                   const QString &crc)
{
    return QStringLiteral("</table><br>  <table width=900>\n"
                          "  <tr>\n"
                          "      <td width=300><div align=center><br>"
                          "_______________________________<br>") +
           prefeito +
           QStringLiteral("<br> (Prefeito)</div></td>\n"
                          "      <td width=300><div align=center><br>"
                          "_______________________________<br>") +
           secFin +
           QStringLiteral("<br> (Secret&aacute;rio de Finan&ccedil;as)</div></td>\n"
                          "      <td width=300><div align=center><br>"
                          "_______________________________<br>") +
           contador + QStringLiteral("/") + crc +
           QStringLiteral("<br>(Contador/CRC)</div></td>\n"
                          "  </tr>\n"
                          "  </table>");
}

const QString kFooter = QStringLiteral("<p></div></table>\n</td></tr></table>\n</body> </html>\n");

PageInput makeInput(const QString &title, const QString &period, const QStringList &captions,
                    const QList<int> &types, const QStringList &codes, const QStringList &lines,
                    bool totalRow = true)
{
    PageInput input;
    input.title = title;
    input.municipality = kMunicipality;
    input.year = QStringLiteral("2005");
    input.periodName = period;
    input.fieldCount = static_cast<int>(captions.size());
    input.captions = captions;
    input.fieldTypes = types;
    input.codes = codes;
    input.lines = lines;
    input.prefeito = kPrefeito;
    input.secFin = kSecFin;
    input.contador = kContador;
    input.crc = kCrc;
    input.totalRow = totalRow;
    return input;
}

// The whole page of an input whose texts need no escaping: the fixed parts
// around the kind's own heading, item and total entries.
QStringList wholePage(const PageInput &input, const QStringList &middle)
{
    QStringList page;
    page << head(input.title, input.municipality, input.year, input.periodName) << kTableOpen;
    page << middle;
    page << signatures(kPrefeito, kSecFin, kContador, kCrc) << kFooter;
    return page;
}

QString right(const QString &text)
{
    return QStringLiteral("      <td><div align=right> &nbsp;") + text +
           QStringLiteral("</div></td>");
}

QString left(const QString &text)
{
    return QStringLiteral("      <td><div align=left> &nbsp;") + text +
           QStringLiteral("</div></td>");
}

QString code(const QString &text)
{
    return QStringLiteral("      <td> &nbsp;") + text + QStringLiteral("</td>");
}

const QString kRowOpen = QStringLiteral("    <tr>");
const QString kRowClose = QStringLiteral("    </tr>\n");
const QString kTotalOpen = QStringLiteral("    <tr bgcolor=#CCCCCC>");
const QString kTotalLabel = QStringLiteral("      <td> total: </td>");
const QString kBlankTotal = QStringLiteral("      <td> &nbsp;</td>");

const QString kTaxTitle = QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I");
const QStringList kTaxCaptions = {
    QStringLiteral("Codificação Numérica:"), QStringLiteral("Tributo/Contribuição:"),
    QStringLiteral("Montante Arrecadado no mês:"), QStringLiteral("Acumulado no Exercício:")};
const QList<int> kTaxTypes = {1, 2, -1, -4};
const QStringList kTaxHeadings = {QStringLiteral("      <td>Codificação Numérica:</td>\n"
                                                 "      <td>Tributo/Contribuição:</td>\n"
                                                 "      <td>Montante Arrecadado no mês:</td>"),
                                  QStringLiteral("      <td>Acumulado no Exercício:</td>")};

const QString kRevenueTitle =
    QStringLiteral("Orçamentos Anuais - Receita Prevista  Art 2º, Inc. X e XVI");
const QStringList kRevenueCaptions = {QStringLiteral("Codificação Numérica:"),
                                      QStringLiteral("Discriminação obs. o desdobramento:"),
                                      QStringLiteral("VALOR:")};
const QList<int> kRevenueTypes = {1, 2, -1};
const QStringList kRevenueHeadings = {
    QStringLiteral("      <td>Codificação Numérica:</td>\n"
                   "      <td>Discriminação obs. o desdobramento:</td>\n"
                   "      <td>VALOR:</td>")};

const QString kResultTitle =
    QStringLiteral("Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV");
const QStringList kResultCaptions = {QStringLiteral("Superávit/Deficit corrente apurado:"),
                                     QStringLiteral("Superávit/Deficit de capital:"),
                                     QStringLiteral("Resultado Orçamentário:")};
const QList<int> kResultTypes = {-1, -1, -1};
const QStringList kResultHeadings = {
    QStringLiteral("      <td>Superávit/Deficit corrente apurado:</td>\n"
                   "      <td>Superávit/Deficit de capital:</td>\n"
                   "      <td>Resultado Orçamentário:</td>")};

// A one-column annual revenue page: its item rows and its one total.
struct RevenueCase {
    QStringList middle;
    PageInput input;
};

RevenueCase revenue(const QList<std::pair<QString, QString>> &items, const QString &total)
{
    QStringList codes;
    QStringList lines;
    QStringList middle = kRevenueHeadings;
    for (const auto &[itemCode, line] : items) {
        codes << itemCode;
        lines << line;
        const QStringList fields = line.split(u'\t');
        middle << kRowOpen << code(itemCode) << left(fields.value(1)) << right(fields.value(2))
               << kRowClose;
    }
    middle << kTotalOpen << kTotalLabel << kBlankTotal << right(total) << kRowClose;
    return {middle,
            makeInput(kRevenueTitle, QString(), kRevenueCaptions, kRevenueTypes, codes, lines)};
}

} // namespace

class TestHtmlPage : public QObject {
    Q_OBJECT
private slots:
    void page_data();
    void page();
    void exampleRowsOfTheMonthlyTaxPage();
    void userTextsAreEscaped();
    void escapeHtml_data();
    void escapeHtml();
    void writtenFileBytes();
    void existingPageIsReplaced();
    void yearThatIsNoYearWritesNothing_data();
    void yearThatIsNoYearWritesNothing();
    void yearDirectoryThatCannotBeMade();
    void pageFileThatCannotBeWritten();
};

void TestHtmlPage::page_data()
{
    QTest::addColumn<PageInput>("input");
    QTest::addColumn<QStringList>("middle");

    {
        const QStringList lines = {QStringLiteral("1112\tIPTU\t1.500,00\t3.000,00\t0\t"),
                                   QStringLiteral("1113\tISS\t2.250,75\t4.100,10\t0\t")};
        QStringList middle = kTaxHeadings;
        middle << kRowOpen << code(QStringLiteral("1112")) << left(QStringLiteral("IPTU"))
               << right(QStringLiteral("1.500,00")) << right(QStringLiteral("3.000,00"))
               << kRowClose;
        middle << kRowOpen << code(QStringLiteral("1113")) << left(QStringLiteral("ISS"))
               << right(QStringLiteral("2.250,75")) << right(QStringLiteral("4.100,10"))
               << kRowClose;
        middle << kTotalOpen << kTotalLabel << kBlankTotal << right(QStringLiteral("3.750,75"))
               << right(QStringLiteral("7.100,10")) << kRowClose;
        QTest::newRow("monthly taxes, two items")
            << makeInput(kTaxTitle, QStringLiteral("Março"), kTaxCaptions, kTaxTypes,
                         {QStringLiteral("1112"), QStringLiteral("1113")}, lines)
            << middle;
    }
    {
        QStringList middle = kTaxHeadings;
        middle << kTotalOpen << kTotalLabel << kBlankTotal << right(QStringLiteral("0,00"))
               << right(QStringLiteral("0,00")) << kRowClose;
        QTest::newRow("monthly taxes, empty list")
            << makeInput(kTaxTitle, QStringLiteral("Janeiro"), kTaxCaptions, kTaxTypes, {}, {})
            << middle;
    }
    {
        const QStringList captions = {QStringLiteral("Nº da Compra:"),
                                      QStringLiteral("Secretaria ou Órgão:"),
                                      QStringLiteral("Unid. Administrativa Adquirinte:"),
                                      QStringLiteral("CNPJ:"),
                                      QStringLiteral("Fornecedor:"),
                                      QStringLiteral("CNPJ:"),
                                      QStringLiteral("Bem adquirido - Descrição:"),
                                      QStringLiteral("Preço Unitário:"),
                                      QStringLiteral("Quantidade:"),
                                      QStringLiteral("Valor Total:")};
        const QStringList lines = {
            QStringLiteral("001\tSaúde\tHospital Municipal\t11.222.333/0001-81\tPapelaria "
                           "Central\t44.555.666/0001-99\tPapel A4\t25,00\t10\t250,00\t0\t"),
            QStringLiteral("002\tEducação\tEscola Rural\t11.222.333/0002-62\tPapelaria "
                           "Central\t44.555.666/0001-99\tCaneta\t1,50\t100\t150,00\t1\t"),
            QStringLiteral("003\t\tObras\t\t\t\t\t9.999,00\t1\t9.999,00\t0\t")};
        QStringList middle = {QStringLiteral("      <td>Nº da Compra:</td>\n"
                                             "      <td>Secretaria ou Órgão:</td>\n"
                                             "      <td>Unid. Administrativa Adquirinte:</td>"),
                              QStringLiteral("      <td>CNPJ:</td>"),
                              QStringLiteral("      <td>Fornecedor:</td>"),
                              QStringLiteral("      <td>CNPJ:</td>"),
                              QStringLiteral("      <td>Bem adquirido - Descrição:</td>"),
                              QStringLiteral("      <td>Preço Unitário:</td>"),
                              QStringLiteral("      <td>Quantidade:</td>"),
                              QStringLiteral("      <td>Valor Total:</td>")};
        middle << kRowOpen << code(QStringLiteral("001")) << left(QStringLiteral("Saúde"))
               << left(QStringLiteral("Hospital Municipal"))
               << left(QStringLiteral("11.222.333/0001-81"))
               << left(QStringLiteral("Papelaria Central"))
               << left(QStringLiteral("44.555.666/0001-99")) << left(QStringLiteral("Papel A4"))
               << right(QStringLiteral("25,00")) << left(QStringLiteral("10"))
               << right(QStringLiteral("250,00")) << kRowClose;
        middle << kRowOpen << code(QStringLiteral("002")) << left(QStringLiteral("Educação"))
               << left(QStringLiteral("Escola Rural")) << left(QStringLiteral("11.222.333/0002-62"))
               << left(QStringLiteral("Papelaria Central"))
               << left(QStringLiteral("44.555.666/0001-99")) << left(QStringLiteral("Caneta"))
               << right(QStringLiteral("1,50")) << left(QStringLiteral("100"))
               << right(QStringLiteral("150,00")) << kRowClose;
        middle << kRowOpen << code(QStringLiteral("003")) << kRowClose;
        middle << kTotalOpen << kTotalLabel << kBlankTotal << kBlankTotal << kBlankTotal
               << kBlankTotal << kBlankTotal << kBlankTotal << right(QStringLiteral("25,00"))
               << kBlankTotal << right(QStringLiteral("250,00")) << kRowClose;
        QTest::newRow("purchases: an excluded item and an item without field 2")
            << makeInput(QStringLiteral("Compras  Art 2º, Inc. XXIV"), QStringLiteral("Abril"),
                         captions, {0, 0, 1, 2, 1, 2, 0, -1, 0, -6},
                         {QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")},
                         lines)
            << middle;
    }
    {
        const QStringList captions = {QStringLiteral("Codificação Numérica:"),
                                      QStringLiteral("Discriminação obs. o desdobramento:"),
                                      QStringLiteral("Autorizada no Exercício:"),
                                      QStringLiteral("Empenhada no bimestre:"),
                                      QStringLiteral("Acumulada da empenhada:"),
                                      QStringLiteral("Liquidada no Bimestre:"),
                                      QStringLiteral("Acumulada da liquidada:")};
        const QStringList lines = {
            QStringLiteral("01.001\tGabinete do "
                           "Prefeito\t100.000,00\t12.345,67\t20.000,00\t10.000,00\t15.000,00\t0\t"),
            QStringLiteral("02.001\tSecretaria de "
                           "Obras\t250.000,50\t7.654,33\t9.000,00\t5.000,25\t6.000,75\t\t")};
        QStringList middle = {QStringLiteral("      <td>Codificação Numérica:</td>\n"
                                             "      <td>Discriminação obs. o desdobramento:</td>\n"
                                             "      <td>Autorizada no Exercício:</td>"),
                              QStringLiteral("      <td>Empenhada no bimestre:</td>"),
                              QStringLiteral("      <td>Acumulada da empenhada:</td>"),
                              QStringLiteral("      <td>Liquidada no Bimestre:</td>"),
                              QStringLiteral("      <td>Acumulada da liquidada:</td>")};
        middle << kRowOpen << code(QStringLiteral("01.001"))
               << left(QStringLiteral("Gabinete do Prefeito"))
               << right(QStringLiteral("100.000,00")) << right(QStringLiteral("12.345,67"))
               << right(QStringLiteral("20.000,00")) << right(QStringLiteral("10.000,00"))
               << right(QStringLiteral("15.000,00")) << kRowClose;
        middle << kRowOpen << code(QStringLiteral("02.001"))
               << left(QStringLiteral("Secretaria de Obras")) << right(QStringLiteral("250.000,50"))
               << right(QStringLiteral("7.654,33")) << right(QStringLiteral("9.000,00"))
               << right(QStringLiteral("5.000,25")) << right(QStringLiteral("6.000,75"))
               << kRowClose;
        middle << kTotalOpen << kTotalLabel << kBlankTotal << right(QStringLiteral("350.000,50"))
               << right(QStringLiteral("20.000,00")) << right(QStringLiteral("29.000,00"))
               << right(QStringLiteral("15.000,25")) << right(QStringLiteral("21.000,75"))
               << kRowClose;
        QTest::newRow("bimonthly expense by budget unit")
            << makeInput(QStringLiteral("Execução dos Orçamentos - Despesa por Unidade "
                                        "Orçamentária  Art 2º, Inc. XII"),
                         QStringLiteral("2º Bimestre"), captions, {1, 2, -5, -1, -4, -1, -4},
                         {QStringLiteral("01.001"), QStringLiteral("02.001")}, lines)
            << middle;
    }
    {
        QStringList middle = kResultHeadings;
        middle << kRowOpen << code(QStringLiteral("1.000,00")) << right(QStringLiteral("2.000,00"))
               << right(QStringLiteral("3.000,00")) << kRowClose;
        QTest::newRow("annual budget result: no total row")
            << makeInput(kResultTitle, QString(), kResultCaptions, kResultTypes,
                         {QStringLiteral("1.000,00")},
                         {QStringLiteral("1.000,00\t2.000,00\t3.000,00\t0\t")}, false)
            << middle;
    }
    QTest::newRow("annual budget result, empty list")
        << makeInput(kResultTitle, QString(), kResultCaptions, kResultTypes, {}, {}, false)
        << kResultHeadings;

    const auto addRevenue = [](const char *name, const RevenueCase &c) {
        QTest::newRow(name) << c.input << c.middle;
    };
    addRevenue("annual revenue, empty list", revenue({}, QStringLiteral("0,00")));
    addRevenue("negative total keeps its sign",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tReceita A\t-500,00\t0\t")},
                        {QStringLiteral("2"), QStringLiteral("2\tReceita B\t200,00\t0\t")}},
                       QStringLiteral("-300,00")));
    addRevenue("small negative total",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tA\t-0,10\t0\t")},
                        {QStringLiteral("2"), QStringLiteral("2\tB\t0,05\t0\t")}},
                       QStringLiteral("-0,05")));
    addRevenue("money fields that are no amounts add nothing",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tA\tabc\t0\t")},
                        {QStringLiteral("2"), QStringLiteral("2\tB\tR$ 10,00\t0\t")},
                        {QStringLiteral("3"), QStringLiteral("3\tC\t1.234,56\t0\t")},
                        {QStringLiteral("4"), QStringLiteral("4\tD\t")}},
                       QStringLiteral("1.234,56")));
    addRevenue("0,10 and 0,20", revenue({{QStringLiteral("1"), QStringLiteral("1\tA\t0,10\t0\t")},
                                         {QStringLiteral("2"), QStringLiteral("2\tB\t0,20\t0\t")}},
                                        QStringLiteral("0,30")));
    addRevenue("1.000,25 and 234,25",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tA\t1.000,25\t0\t")},
                        {QStringLiteral("2"), QStringLiteral("2\tB\t234,25\t0\t")}},
                       QStringLiteral("1.234,50")));
    addRevenue("total rounded to the ten-thousandth before the cut",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tA\t0,00995\t0\t")}},
                       QStringLiteral("0,01")));
    addRevenue("only field N+1 excludes",
               revenue({{QStringLiteral("1"), QStringLiteral("1\tA\t5,00\t1\t")},
                        {QStringLiteral("2"), QStringLiteral("2\tB\t1\t\t")},
                        {QStringLiteral("3"), QStringLiteral("3\tC\t2,00\t10\t")}},
                       QStringLiteral("3,00")));
}

void TestHtmlPage::page()
{
    QFETCH(PageInput, input);
    QFETCH(QStringList, middle);
    QCOMPARE(buildPage(input), wholePage(input, middle));
}

// The rows of the one-item monthly tax report, entry by entry.
void TestHtmlPage::exampleRowsOfTheMonthlyTaxPage()
{
    const PageInput input = makeInput(kTaxTitle, QStringLiteral("Março"), kTaxCaptions, kTaxTypes,
                                      {QStringLiteral("1112")},
                                      {QStringLiteral("1112\tIPTU\t1.500,00\t3.000,00\t0\t")});
    const QStringList expected = {
        head(QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I"),
             QStringLiteral("Vila Serena - MG"), QStringLiteral("2005"), QStringLiteral("Março")),
        QStringLiteral("  <table cellspacing=0 style=\"t1\" width=1050>\n"
                       "    <tr bgcolor=#CCCCCC>\n"),
        QStringLiteral("      <td>Codificação Numérica:</td>\n"
                       "      <td>Tributo/Contribuição:</td>\n"
                       "      <td>Montante Arrecadado no mês:</td>"),
        QStringLiteral("      <td>Acumulado no Exercício:</td>"),
        QStringLiteral("    <tr>"),
        QStringLiteral("      <td> &nbsp;1112</td>"),
        QStringLiteral("      <td><div align=left> &nbsp;IPTU</div></td>"),
        QStringLiteral("      <td><div align=right> &nbsp;1.500,00</div></td>"),
        QStringLiteral("      <td><div align=right> &nbsp;3.000,00</div></td>"),
        QStringLiteral("    </tr>\n"),
        QStringLiteral("    <tr bgcolor=#CCCCCC>"),
        QStringLiteral("      <td> total: </td>"),
        QStringLiteral("      <td> &nbsp;</td>"),
        QStringLiteral("      <td><div align=right> &nbsp;1.500,00</div></td>"),
        QStringLiteral("      <td><div align=right> &nbsp;3.000,00</div></td>"),
        QStringLiteral("    </tr>\n"),
        signatures(QStringLiteral("Carlos Andrade"), QStringLiteral("Beatriz Lima"),
                   QStringLiteral("Paulo Souza"), QStringLiteral("MG-012345/O-6")),
        QStringLiteral("<p></div></table>\n</td></tr></table>\n</body> </html>\n"),
    };
    QCOMPARE(buildPage(input), expected);
}

// A page is published and opened in a browser: nothing the user typed may
// become markup, while the template keeps its own entities.
void TestHtmlPage::userTextsAreEscaped()
{
    PageInput input;
    input.title = QStringLiteral("Obras <Fase 2> & reforma");
    input.municipality = QStringLiteral("Vila <b>Serena</b> - MG");
    input.year = QStringLiteral("2005");
    input.periodName = QStringLiteral("Março & <i>Abril</i>");
    input.fieldCount = 3;
    input.captions = {QStringLiteral("Código <a>:"), QStringLiteral("Nome & obra:"),
                      QStringLiteral("Valor > 0:")};
    input.fieldTypes = {0, 0, -1};
    input.codes = {QStringLiteral("A&B"), QStringLiteral("<script>")};
    input.lines = {QStringLiteral("A&B\tObras <Fase 2> & reforma\t1.000,00\t0\t"),
                   QStringLiteral("<script>\ta&nbsp;b\t<b>5,00</b>\t0\t")};
    input.prefeito = QStringLiteral("João & Filhos");
    input.secFin = QStringLiteral("<i>Maria</i>");
    input.contador = QStringLiteral("Ana>");
    input.crc = QStringLiteral("CRC<1>");

    const QStringList expected = {
        head(QStringLiteral("Obras &lt;Fase 2&gt; &amp; reforma"),
             QStringLiteral("Vila &lt;b&gt;Serena&lt;/b&gt; - MG"), QStringLiteral("2005"),
             QStringLiteral("Março &amp; &lt;i&gt;Abril&lt;/i&gt;")),
        kTableOpen,
        QStringLiteral("      <td>Código &lt;a&gt;:</td>\n"
                       "      <td>Nome &amp; obra:</td>\n"
                       "      <td>Valor &gt; 0:</td>"),
        kRowOpen,
        code(QStringLiteral("A&amp;B")),
        left(QStringLiteral("Obras &lt;Fase 2&gt; &amp; reforma")),
        right(QStringLiteral("1.000,00")),
        kRowClose,
        kRowOpen,
        code(QStringLiteral("&lt;script&gt;")),
        left(QStringLiteral("a&amp;nbsp;b")),
        right(QStringLiteral("&lt;b&gt;5,00&lt;/b&gt;")),
        kRowClose,
        kTotalOpen,
        kTotalLabel,
        kBlankTotal,
        right(QStringLiteral("1.000,00")),
        kRowClose,
        signatures(QStringLiteral("João &amp; Filhos"), QStringLiteral("&lt;i&gt;Maria&lt;/i&gt;"),
                   QStringLiteral("Ana&gt;"), QStringLiteral("CRC&lt;1&gt;")),
        kFooter,
    };
    QCOMPARE(buildPage(input), expected);
}

void TestHtmlPage::escapeHtml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("Orçamento 2º") << QStringLiteral("Orçamento 2º");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("all three") << QStringLiteral("a<b>&c") << QStringLiteral("a&lt;b&gt;&amp;c");
    QTest::newRow("entity typed") << QStringLiteral("&amp;") << QStringLiteral("&amp;amp;");
    QTest::newRow("quotes stay") << QStringLiteral("\"x\" 'y'") << QStringLiteral("\"x\" 'y'");
}

void TestHtmlPage::escapeHtml()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(quelvara::escapeHtml(text), expected);
}

// The file holds every entry followed by CR LF, the LFs inside entries as
// they are, and Windows-1252 single bytes for the accented letters.
void TestHtmlPage::writtenFileBytes()
{
    ScratchDir work;
    const PageInput input = makeInput(kResultTitle, QString(), kResultCaptions, kResultTypes,
                                      {QStringLiteral("1.000,00")},
                                      {QStringLiteral("1.000,00\t2.000,00\t3.000,00\t0\t")}, false);
    const FileResult result =
        writePageFile(QStringLiteral("2005"), QStringLiteral("bal-orc-resultado-nominal-"),
                      QStringLiteral("0"), buildPage(input));
    QVERIFY(result.ok());
    const QString path = work.file(QStringLiteral("2005/bal-orc-resultado-nominal-0-2005.htm"));

    const QByteArray title = "Balan\xE7"
                             "os Or\xE7"
                             "ament\xE1"
                             "rios - Resultado Or\xE7"
                             "ament\xE1"
                             "rio  Art 2\xBA"
                             ", Inc. XIV";
    const QByteArray expected =
        "<html><head><title> " + title +
        " </title>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n"
        "<style type=\"text/css\">\n"
        "<!--\n"
        "body {\n"
        "\tfont-size: 10pt;\n"
        "\tfont-family: Arial, Helvetica, sans-serif;\n"
        "\tfont-weight: bold;\n"
        "}\n"
        "td {\n"
        "\tfont-size: 10pt;\n"
        "\tfont-family: Arial, Helvetica, sans-serif;\n"
        "\tborder: 1px solid #000000;\n"
        "}\n"
        "\n"
        "-->\n"
        "</style>\n"
        "\n"
        "</head>\n"
        "<body topmargin=0>\n"
        "<table width=100%><tr><td>\n"
        "Para impress\xE3"
        "o, configure a p\xE1"
        "gina para Orienta\xE7\xE3"
        "o Paisagem.<br>\n"
        "por <a href=\"mailto:contato@quelvara.com.br\"> Quelvara</a><br>\n"
        "<br>\n"
        "<div align=\"center\">\n"
        "<table width=650 bgcolor=#CCCCCC>\n"
        "  <tr><td><div align=\"center\"><b>Vila Serena - MG <br>\n" +
        title +
        "<br>\n"
        "EXERC&Iacute;CIO: 2005 - </b></div></td></tr>\n"
        "</table>\n"
        "</div>\n"
        "<div align=\"center\"><br>\n"
        "\r\n"
        "  <table cellspacing=0 style=\"t1\" width=1050>\n"
        "    <tr bgcolor=#CCCCCC>\n"
        "\r\n"
        "      <td>Super\xE1"
        "vit/Deficit corrente apurado:</td>\n"
        "      <td>Super\xE1"
        "vit/Deficit de capital:</td>\n"
        "      <td>Resultado Or\xE7"
        "ament\xE1"
        "rio:</td>\r\n"
        "    <tr>\r\n"
        "      <td> &nbsp;1.000,00</td>\r\n"
        "      <td><div align=right> &nbsp;2.000,00</div></td>\r\n"
        "      <td><div align=right> &nbsp;3.000,00</div></td>\r\n"
        "    </tr>\n"
        "\r\n"
        "</table><br>  <table width=900>\n"
        "  <tr>\n"
        "      <td width=300><div align=center><br>_______________________________<br>"
        "Carlos Andrade<br> (Prefeito)</div></td>\n"
        "      <td width=300><div align=center><br>_______________________________<br>"
        "Beatriz Lima<br> (Secret&aacute;rio de Finan&ccedil;as)</div></td>\n"
        "      <td width=300><div align=center><br>_______________________________<br>"
        "Paulo Souza/MG-012345/O-6<br>(Contador/CRC)</div></td>\n"
        "  </tr>\n"
        "  </table>\r\n"
        "<p></div></table>\n"
        "</td></tr></table>\n"
        "</body> </html>\n"
        "\r\n";
    QCOMPARE(fileBytes(path), expected);
}

void TestHtmlPage::existingPageIsReplaced()
{
    ScratchDir work;
    QVERIFY(QDir().mkdir(QStringLiteral("2005")));
    const QString path = work.file(QStringLiteral("2005/trib-arrec-3-2005.htm"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older and much longer page that must not survive in any part\r\n");
    }
    const FileResult result =
        writePageFile(QStringLiteral("2005"), QStringLiteral("trib-arrec-"), QStringLiteral("3"),
                      {QStringLiteral("a"), QStringLiteral("b\nc")});
    QVERIFY(result.ok());
    QCOMPARE(fileBytes(path), QByteArray("a\r\nb\nc\r\n"));
    QCOMPARE(QDir(work.file(QStringLiteral("2005"))).entryList(QDir::Files),
             QStringList{QStringLiteral("trib-arrec-3-2005.htm")});
}

void TestHtmlPage::yearThatIsNoYearWritesNothing_data()
{
    QTest::addColumn<QString>("ano");
    QTest::newRow("empty") << QString();
    QTest::newRow("typed halfway") << QStringLiteral("200");
    QTest::newRow("five digits") << QStringLiteral("20055");
    QTest::newRow("letter") << QStringLiteral("20a5");
    QTest::newRow("parent") << QStringLiteral("..");
    QTest::newRow("path") << QStringLiteral("../x");
}

void TestHtmlPage::yearThatIsNoYearWritesNothing()
{
    QFETCH(QString, ano);
    ScratchDir work;
    const FileResult result = writePageFile(ano, QStringLiteral("trib-arrec-"),
                                                 QStringLiteral("1"), {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(), QString());
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("../x"))));
}

void TestHtmlPage::yearDirectoryThatCannotBeMade()
{
    ScratchDir work;
    {
        QFile blocker(work.file(QStringLiteral("2005")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    const FileResult result =
        writePageFile(QStringLiteral("2005"), QStringLiteral("trib-arrec-"), QStringLiteral("3"),
                      {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             QStringLiteral("Não foi possivel criar o diretório ") +
                 QDir::toNativeSeparators(QDir::currentPath() + QStringLiteral("/2005")));
    QCOMPARE(fileBytes(work.file(QStringLiteral("2005"))), QByteArray());
}

void TestHtmlPage::pageFileThatCannotBeWritten()
{
    ScratchDir work;
    // A directory where the page should be: no file can replace it.
    QVERIFY(QDir().mkpath(QStringLiteral("2005/compras-4-2005.htm")));
    const FileResult result = writePageFile(QStringLiteral("2005"), QStringLiteral("compras-"),
                                                 QStringLiteral("4"), {QStringLiteral("x")});
    QVERIFY(!result.ok());
    QCOMPARE(result.message(),
             QStringLiteral("Não foi possivel criar o arquivo ") +
                 QDir::toNativeSeparators(QDir::currentPath() +
                                          QStringLiteral("/2005/compras-4-2005.htm")));
}

QTEST_GUILESS_MAIN(TestHtmlPage)
#include "test_htmlpage.moc"
