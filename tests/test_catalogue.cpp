#include "catalogue.h"
#include "codec.h"

#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::ReportCategory)

namespace {

struct Field {
    const char *caption; // UTF-8
    int type;
};

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void categoriesAndPeriods();
    void years();
    void kindCounts();
    void kinds_data();
    void kinds();
    void everyTextFitsTheCodePage();
    void positionsAreConsistent();
    void fields_data();
    void fields();
    void typeBeyondFieldCount();
    void outsidePositions_data();
    void outsidePositions();
    void cnpjKindsAreNeverSeeded();
    void totalRow();
    void extensionsOnSave_data();
    void extensionsOnSave();
    void registryTable_data();
    void registryTable();
    void registryFallback_data();
    void registryFallback();
    void everyKindRegistryIsKnown();
};

void TestCatalogue::categoriesAndPeriods()
{
    const auto &all = categories();
    QCOMPARE(all[0].category, ReportCategory::Mensais);
    QCOMPARE(all[1].category, ReportCategory::Bimestrais);
    QCOMPARE(all[2].category, ReportCategory::Anuais);
    QCOMPARE(all[0].name, QStringLiteral("Relatórios Mensais"));
    QCOMPARE(all[1].name, QStringLiteral("Relatórios Bimestrais"));
    QCOMPARE(all[2].name, QStringLiteral("Relatórios Anuais"));

    const CategoryInfo &monthly = categoryInfo(ReportCategory::Mensais);
    QCOMPARE(monthly.periods,
             QStringList({"Janeiro", "Fevereiro", QStringLiteral("Março"), "Abril", "Maio", "Junho",
                          "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"}));
    QVERIFY(monthly.periodsEnabled);

    const CategoryInfo &bimonthly = categoryInfo(ReportCategory::Bimestrais);
    QCOMPARE(bimonthly.periods.size(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(bimonthly.periods[i], QString::number(i + 1) + QStringLiteral("º Bimestre"));
    }
    QVERIFY(bimonthly.periodsEnabled);

    const CategoryInfo &annual = categoryInfo(ReportCategory::Anuais);
    QVERIFY(annual.periods.isEmpty());
    QVERIFY(!annual.periodsEnabled);
}

void TestCatalogue::years()
{
    const QStringList years = quelvara::yearList();
    QCOMPARE(years.size(), 12);
    QCOMPARE(years.first(), QStringLiteral("1999"));
    QCOMPARE(years.last(), QStringLiteral("2010"));
    QCOMPARE(years.at(kDefaultYearIndex), QStringLiteral("2005"));
    for (int i = 1; i < years.size(); ++i) {
        QCOMPARE(years[i].toInt(), years[i - 1].toInt() + 1);
    }
}

void TestCatalogue::kindCounts()
{
    QCOMPARE(reportKinds(ReportCategory::Mensais).size(), 8);
    QCOMPARE(reportKinds(ReportCategory::Bimestrais).size(), 6);
    QCOMPARE(reportKinds(ReportCategory::Anuais).size(), 9);
    QCOMPARE(reportTitles(ReportCategory::Mensais).size(), 8);
    QCOMPARE(reportTitles(ReportCategory::Anuais).last(),
             QStringLiteral("Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV"));
}

void TestCatalogue::kinds_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("fieldCount");

    struct Row {
        ReportCategory category;
        int position;
        const char *title;
        const char *prefix;
        const char *registry;
        bool loaded;
        int n;
    };
    const auto M = ReportCategory::Mensais;
    const auto B = ReportCategory::Bimestrais;
    const auto A = ReportCategory::Anuais;
    const Row rows[] = {
        {M, 0, "Tributos Arrecadados  Art 2º, Inc. I", "trib-arrec-", "tributos.vqd", true, 4},
        {M, 1, "Recursos Repassados - Transferências Voluntárias  Art 2º, Inc. II",
         "rec-repass-transf-vol-", "repv.vqd", true, 4},
        {M, 2, "Recursos Repassados - Instrumentos Celebrados  Art 2º, Inc. II",
         "rec-repass-inst-cel-", "cnpj.vqd", false, 9},
        {M, 3,
         "Recursos Recebidos - Transferências Voluntárias Recebidas  Art 2º, Inc. III, IV, V, VI, "
         "VII, VIII",
         "rec-receb-transf-vol-receb-", "recv.vqd", true, 4},
        {M, 4,
         "Recursos Recebidos - Transferências Constitucionais Recebidas  Art 2º, Inc. III, IV, V, "
         "VI, VII, VIII",
         "rec-receb-transf-const-receb-", "recc.vqd", true, 4},
        {M, 5,
         "Recursos Recebidos - Instrumentos Celebrados  Art 2º, Inc. III, IV, V, VI, VII, VIII",
         "rec-receb-inst-cel-", "cnpj.vqd", false, 6},
        {M, 6, "Contratos e seus Aditivos  Art 2º, Inc. XX", "contratos-e-seus-aditivos-",
         "cnpj.vqd", true, 9},
        {M, 7, "Compras  Art 2º, Inc. XXIV", "compras-", "cnpj.vqd", true, 10},
        {B, 0, "Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII",
         "exec-orc-rec-realizada-", "rec.vqd", true, 4},
        {B, 1, "Execução dos Orçamentos - Despesa por Unidade Orçamentária  Art 2º, Inc. XII",
         "exec-orc-desp-unid-orc-", "unid.vqd", true, 7},
        {B, 2, "Execução dos Orçamentos - Despesa por Função  Art 2º, Inc. XII",
         "exec-orc-desp-func-", "func.vqd", true, 7},
        {B, 3, "Execução dos Orçamentos - Despesa por Programa e Subprograma  Art 2º, Inc. XII",
         "exec-orc-desp-prog-subprog-", "prog.vqd", true, 7},
        {B, 4, "Execução dos Orçamentos - Despesa por Fonte de Recursos  Art 2º, Inc. XII",
         "exec-orc-desp-fonte-de-recursos-", "fonte.vqd", true, 7},
        {B, 5, "Execução dos Orçamentos - Despesa por Grupo de Despesa  Art 2º, Inc. XII",
         "exec-orc-grupo-de-despesa-", "grupo.vqd", true, 7},
        {A, 0, "Orçamentos Anuais - Receita Prevista  Art 2º, Inc. X e XVI",
         "orc-anual-rec-prevista-", "rec.vqd", true, 3},
        {A, 1,
         "Orçamentos Anuais - Despesa para o Exercício por Unidade Orçamentária  Art 2º, Inc. X e "
         "XVI",
         "orc-anual-desp-unid-orc-", "unid.vqd", true, 3},
        {A, 2, "Orçamentos Anuais - Despesa para o Exercício por Função  Art 2º, Inc. X e XVI",
         "orc-anual-desp-func-", "func.vqd", true, 3},
        {A, 3,
         "Orçamentos Anuais - Despesa para o Exercício por Programa e Subprograma  Art 2º, Inc. X "
         "e XVI",
         "orc-anual-desp-prog-subprog-", "prog.vqd", true, 3},
        {A, 4,
         "Orçamentos Anuais - Despesa para o Exercício por Fonte de Recursos  Art 2º, Inc. X e XVI",
         "orc-anual-desp-fonte-de-recursos-", "fonte.vqd", true, 3},
        {A, 5,
         "Orçamentos Anuais - Despesa para o Exercício por Grupo de Despesa  Art 2º, Inc. X e XVI",
         "orc-anual-desp-grupo-de-despesa-", "grupo.vqd", true, 3},
        {A, 6, "Balanços Orçamentários - Receita Prevista com a Realizada  Art 2º, Inc. XIV",
         "bal-orc-receitas-", "rec.vqd", true, 5},
        {A, 7, "Balanços Orçamentários - Despesa Autorizada com a Liquidada  Art 2º, Inc. XIV",
         "bal-orc-despesas-", "desp.vqd", true, 5},
        {A, 8, "Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV",
         "bal-orc-resultado-nominal-", "cnpj.vqd", true, 3},
    };
    for (const Row &r : rows) {
        QTest::addRow("%d-%d", int(r.category), r.position)
            << r.category << r.position << QString::fromUtf8(r.title) << QString::fromUtf8(r.prefix)
            << QString::fromUtf8(r.registry) << r.loaded << r.n;
    }
}

void TestCatalogue::kinds()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(QString, title);
    QFETCH(QString, prefix);
    QFETCH(QString, registry);
    QFETCH(bool, loaded);
    QFETCH(int, fieldCount);

    const ReportKind *kind = reportKind(category, position);
    QVERIFY(kind);
    QCOMPARE(kind->title, title);
    QCOMPARE(kind->prefix, prefix);
    QCOMPARE(kind->registryFile, registry);
    QCOMPARE(kind->loaded, loaded);
    QCOMPARE(kind->fieldCount, fieldCount);
    QCOMPARE(reportTitles(category).at(position), title);

    // Every title carries its legal reference after exactly two blanks.
    QCOMPARE(title.count(QStringLiteral("  Art 2º, Inc. ")), 1);
    QVERIFY(!title.contains(QStringLiteral("   ")));
    QVERIFY(prefix.endsWith(u'-'));

    for (int i = 1; i <= fieldCount; ++i) {
        QVERIFY2(!kind->fields[i - 1].caption.isEmpty(), qPrintable(QString::number(i)));
    }
    for (int i = fieldCount + 1; i <= kMaxFields; ++i) {
        QVERIFY(kind->fields[i - 1].caption.isEmpty());
    }
}

void TestCatalogue::everyTextFitsTheCodePage()
{
    // Titles and captions end up in files and pages written in Windows-1252.
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            QVERIFY2(encodeCp1252(kind.title).has_value(), qPrintable(kind.title));
            for (int i = 0; i < kind.fieldCount; ++i) {
                QVERIFY2(encodeCp1252(kind.fields[i].caption).has_value(),
                         qPrintable(kind.fields[i].caption));
            }
        }
    }
}

void TestCatalogue::positionsAreConsistent()
{
    for (const CategoryInfo &info : categories()) {
        const QList<ReportKind> &kinds = reportKinds(info.category);
        for (int p = 0; p < kinds.size(); ++p) {
            QCOMPARE(kinds[p].category, info.category);
            QCOMPARE(kinds[p].position, p);
            QCOMPARE(reportKind(info.category, p), &kinds[p]);
        }
    }
}

void TestCatalogue::fields_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("types");

    auto add = [](const char *name, ReportCategory category, int position,
                  std::initializer_list<Field> fields) {
        QStringList captions;
        QList<int> types;
        for (const Field &f : fields) {
            captions << QString::fromUtf8(f.caption);
            types << f.type;
        }
        QTest::newRow(name) << category << position << captions << types;
    };

    add("taxes", ReportCategory::Mensais, 0,
        {{"Codificação Numérica:", Coluna(1)},
         {"Tributo/Contribuição:", Coluna(2)},
         {"Montante Arrecadado no mês:", Valor},
         {"Acumulado no Exercício:", Acumulado}});
    add("voluntary received", ReportCategory::Mensais, 3,
        {{"Codificação Numérica:", Coluna(1)},
         {"Transf. Voluntárias Recebidas:", Coluna(2)},
         {"Montante recebido no mês:", Valor},
         {"Montante acumulado no Exerc.:", Acumulado}});
    add("constitutional received", ReportCategory::Mensais, 4,
        {{"Codificação Numérica:", Coluna(1)},
         {"Transferências Const. Recebidas:", Coluna(2)},
         {"Montante Recebido no mês:", Valor},
         {"Acumulado no Exercício:", Acumulado}});
    add("instruments repassed", ReportCategory::Mensais, 2,
        {{"Nº Original:", Texto},
         {"Secretaria ou Órgão:", Texto},
         {"Concedente:", Texto},
         {"Beneficiário:", Texto},
         {"Objeto:", Texto},
         {"Valor do convênio:", Valor},
         {"Valor da contrapartida:", Valor},
         {"Vigência:", Data},
         {"Situação:", Texto}});
    add("instruments received", ReportCategory::Mensais, 5,
        {{"Nº Original:", Texto},
         {"Concedente:", Texto},
         {"Objeto:", Texto},
         {"Valor do convênio:", Valor},
         {"Valor da contrapartida:", Valor},
         {"Prazo para Cumprimento:", Data}});
    add("contracts", ReportCategory::Mensais, 6,
        {{"Nº do Contrato:", Texto},
         {"Contratado:", Coluna(1)},
         {"CPF / CNPJ:", Coluna(2)},
         {"Licitação:", Texto},
         {"Data da Assinatura:", Data},
         {"Data de Vigência:", Data},
         {"Objeto:", Texto},
         {"Valor:", Valor},
         {"Observação:", Texto}});
    add("purchases", ReportCategory::Mensais, 7,
        {{"Nº da Compra:", Texto},
         {"Secretaria ou Órgão:", Texto},
         {"Unid. Administrativa Adquirinte:", Coluna(1)},
         {"CNPJ:", Coluna(2)},
         {"Fornecedor:", Coluna(1)},
         {"CNPJ:", Coluna(2)},
         {"Bem adquirido - Descrição:", Texto},
         {"Preço Unitário:", Valor},
         {"Quantidade:", Texto},
         {"Valor Total:", ValorTotal}});
    add("revenue executed", ReportCategory::Bimestrais, 0,
        {{"Codificação Numérica:", Coluna(1)},
         {"Discriminação obs. o desdobramento:", Coluna(2)},
         {"Receita realizada no bimestre:", Valor},
         {"Receita Acumulada no exercício:", Acumulado}});
    const std::initializer_list<Field> expense = {
        {"Codificação Numérica:", Coluna(1)},   {"Discriminação obs. o desdobramento:", Coluna(2)},
        {"Autorizada no Exercício:", Orcado},   {"Empenhada no bimestre:", Valor},
        {"Acumulada da empenhada:", Acumulado}, {"Liquidada no Bimestre:", Valor},
        {"Acumulada da liquidada:", Acumulado}};
    add("expense by unit", ReportCategory::Bimestrais, 1, expense);
    add("expense by group", ReportCategory::Bimestrais, 5, expense);
    add("annual revenue", ReportCategory::Anuais, 0,
        {{"Codificação Numérica:", Coluna(1)},
         {"Discriminação obs. o desdobramento:", Coluna(2)},
         {"VALOR:", Valor}});
    add("annual by group", ReportCategory::Anuais, 5,
        {{"Codificação Numérica:", Coluna(1)},
         {"Discriminação obs. o desdobramento:", Coluna(2)},
         {"VALOR:", Valor}});
    add("revenue balance", ReportCategory::Anuais, 6,
        {{"Codificação Numérica:", Coluna(1)},
         {"Discriminação obs. o desdobramento:", Coluna(2)},
         {"Montante da Receita Prevista:", Orcado},
         {"Montante da Receita Realizada:", Valor},
         {"Diferença", Diferenca}});
    add("expense balance", ReportCategory::Anuais, 7,
        {{"Codificação Numérica:", Coluna(1)},
         {"Discriminação obs. o desdobramento", Coluna(2)},
         {"Montante da Despesa Autorizada:", Valor},
         {"Montante da Despesa Liquidada:", Valor},
         {"Diferença", Diferenca}});
    add("budget result", ReportCategory::Anuais, 8,
        {{"Superávit/Deficit corrente apurado:", Valor},
         {"Superávit/Deficit de capital:", Valor},
         {"Resultado Orçamentário:", Valor}});
}

void TestCatalogue::fields()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, types);

    const ReportKind *kind = reportKind(category, position);
    QVERIFY(kind);
    QCOMPARE(kind->fieldCount, captions.size());
    for (int i = 1; i <= kind->fieldCount; ++i) {
        QCOMPARE(kind->fields[i - 1].caption, captions[i - 1]);
        QCOMPARE(kind->fields[i - 1].type, types[i - 1]);
        QCOMPARE(kind->type(i), types[i - 1]);
    }
}

void TestCatalogue::typeBeyondFieldCount()
{
    const ReportKind *taxes = reportKind(ReportCategory::Mensais, 0);
    QVERIFY(taxes);
    QCOMPARE(taxes->type(4), int(Acumulado));
    QCOMPARE(taxes->type(5), int(Texto));
    QCOMPARE(taxes->type(0), int(Texto));
    QCOMPARE(taxes->type(11), int(Texto));
}

void TestCatalogue::outsidePositions_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::newRow("monthly -1") << ReportCategory::Mensais << -1;
    QTest::newRow("monthly 8") << ReportCategory::Mensais << 8;
    QTest::newRow("bimonthly 6") << ReportCategory::Bimestrais << 6;
    QTest::newRow("annual 9") << ReportCategory::Anuais << 9;
    QTest::newRow("unknown category") << static_cast<ReportCategory>(3) << 0;
}

void TestCatalogue::outsidePositions()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QCOMPARE(reportKind(category, position), nullptr);
    QVERIFY(registryExtensions(category, position).isEmpty());
    QVERIFY(!writesRegistryOnSave(category, position));
    QCOMPARE(kUnknownPrefix, QStringLiteral("unknkow-"));
}

void TestCatalogue::cnpjKindsAreNeverSeeded()
{
    QStringList cnpjKinds;
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            if (isCnpjRegistry(kind.registryFile)) {
                cnpjKinds << QStringLiteral("%1-%2").arg(int(info.category)).arg(kind.position);
            }
        }
    }
    QCOMPARE(cnpjKinds, QStringList({"0-2", "0-5", "0-6", "0-7", "2-8"}));
    QVERIFY(!isCnpjRegistry(QStringLiteral("CNPJ.vqd")));
}

void TestCatalogue::totalRow()
{
    int without = 0;
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            if (!hasTotalRow(info.category, kind.position)) {
                ++without;
            }
        }
    }
    QCOMPARE(without, 1);
    QVERIFY(!hasTotalRow(ReportCategory::Anuais, 8));
    QVERIFY(hasTotalRow(ReportCategory::Anuais, 7));
    QVERIFY(hasTotalRow(ReportCategory::Mensais, 7));
    QVERIFY(hasTotalRow(ReportCategory::Bimestrais, 5));
}

void TestCatalogue::extensionsOnSave_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<RegistryExtension>>("expected");

    const QList<RegistryExtension> code{{1, 2, false}};
    const QList<RegistryExtension> none;
    const auto M = ReportCategory::Mensais;
    QTest::newRow("taxes") << M << 0 << code;
    QTest::newRow("repassed") << M << 1 << code;
    QTest::newRow("instruments repassed") << M << 2 << none;
    QTest::newRow("voluntary received") << M << 3 << code;
    QTest::newRow("constitutional received") << M << 4 << code;
    QTest::newRow("instruments received") << M << 5 << none;
    QTest::newRow("contracts") << M << 6 << QList<RegistryExtension>{{2, 3, true}};
    QTest::newRow("purchases") << M << 7 << QList<RegistryExtension>{{3, 4, true}, {5, 6, true}};
    for (int p = 0; p < 6; ++p) {
        QTest::addRow("bimonthly %d", p) << ReportCategory::Bimestrais << p << code;
    }
    for (int p = 0; p < 8; ++p) {
        QTest::addRow("annual %d", p) << ReportCategory::Anuais << p << code;
    }
    QTest::newRow("budget result") << ReportCategory::Anuais << 8 << none;
}

void TestCatalogue::extensionsOnSave()
{
    QFETCH(ReportCategory, category);
    QFETCH(int, position);
    QFETCH(QList<RegistryExtension>, expected);

    const QList<RegistryExtension> actual = quelvara::registryExtensions(category, position);
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i) {
        QCOMPARE(actual[i].codeField, expected[i].codeField);
        QCOMPARE(actual[i].nameField, expected[i].nameField);
        QCOMPARE(actual[i].requireNonEmpty, expected[i].requireNonEmpty);
    }
    QCOMPARE(writesRegistryOnSave(category, position), !expected.isEmpty());

    // An extension adds the registry's two columns as the kind's fields show them.
    const ReportKind *kind = reportKind(category, position);
    QVERIFY(kind);
    for (const RegistryExtension &e : actual) {
        QVERIFY(e.nameField <= kind->fieldCount);
        QCOMPARE(kind->type(e.codeField), Coluna(1));
        QCOMPARE(kind->type(e.nameField), Coluna(2));
    }
}

void TestCatalogue::registryTable_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("menuEntry");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("label2");

    struct Row {
        const char *file, *menu, *label1, *label2;
    };
    const Row rows[] = {
        {"cnpj.vqd", "CNPJs", "Nome:", "CNPJ:"},
        {"tributos.vqd", "Tributos", "Codigo:", "Tributo:"},
        {"repv.vqd", "Voluntárias Repassadas", "Numero:", "Recurso:"},
        {"recv.vqd", "Voluntárias Recebidas", "Numero:", "Recurso:"},
        {"recc.vqd", "Constitucionais Recebidas", "Codigo:", "Recurso:"},
        {"unid.vqd", "por Unidade Orçamentária", "Codigo:", "Nome:"},
        {"func.vqd", "por Função", "Codigo:", "Nome:"},
        {"prog.vqd", "por Programa e SubPrograma", "Codigo:", "Nome:"},
        {"fonte.vqd", "por Fonte de Recursos", "Codigo:", "Nome:"},
        {"grupo.vqd", "por Grupo de Despesa", "Codigo:", "Nome:"},
        {"desp.vqd", "para Balanço", "Codigo:", "Nome:"},
        {"rec.vqd", "Receitas", "Codigo:", "Nome:"},
    };
    for (const Row &r : rows) {
        QTest::newRow(r.file) << QString::fromUtf8(r.file) << QString::fromUtf8(r.menu)
                              << QString::fromUtf8(r.label1) << QString::fromUtf8(r.label2);
    }
}

void TestCatalogue::registryTable()
{
    QFETCH(QString, file);
    QFETCH(QString, menuEntry);
    QFETCH(QString, label1);
    QFETCH(QString, label2);

    QCOMPARE(registries().size(), 12);
    const RegistryInfo *found = nullptr;
    for (const RegistryInfo &r : registries()) {
        if (r.file == file) {
            QVERIFY2(!found, "registry listed twice");
            found = &r;
        }
    }
    QVERIFY(found);
    QCOMPARE(found->menuEntry, menuEntry);
    QCOMPARE(found->label1, label1);
    QCOMPARE(found->label2, label2);
    QCOMPARE(registryLabels(file), std::make_pair(label1, label2));
}

void TestCatalogue::registryFallback_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("empty") << QString();
    QTest::newRow("other case") << QStringLiteral("Tributos.vqd");
    QTest::newRow("upper cnpj") << QStringLiteral("CNPJ.VQD");
    QTest::newRow("bare name") << QStringLiteral("rec");
    QTest::newRow("unknown") << QStringLiteral("prefeitura.vqd");
}

void TestCatalogue::registryFallback()
{
    QFETCH(QString, file);
    QCOMPARE(registryLabels(file),
             std::make_pair(QStringLiteral("Campo1:"), QStringLiteral("Campo2:")));
}

void TestCatalogue::everyKindRegistryIsKnown()
{
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            QVERIFY2(registryLabels(kind.registryFile).first != QStringLiteral("Campo1:"),
                     qPrintable(kind.registryFile));
        }
    }
}

QTEST_APPLESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
