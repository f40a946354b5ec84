#include "catalogue.h"
#include "codec.h"

#include <QTest>

using namespace quelvara;

Q_DECLARE_METATYPE(quelvara::ReportCategory)

Q_DECLARE_METATYPE(quelvara::FieldShape)
Q_DECLARE_METATYPE(quelvara::FieldComputation)

namespace {

// One field as the catalogue lists it: caption (UTF-8) and type.
struct Field {
    const char *caption;
    int type;
};

using Fields = QList<Field>;

// The fields of a monthly kind fed by a code registry: code, name, amount, accumulated.
Fields codeKind(const char *name, const char *amount, const char *accumulated)
{
    return {{"Codificação Numérica:", Coluna(1)},
            {name, Coluna(2)},
            {amount, Valor},
            {accumulated, Acumulado}};
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void categoriesAndPeriods();
    void years_data();
    void years();
    void fieldTypes_data();
    void fieldTypes();
    void kinds_data();
    void kinds();
    void outsidePositions_data();
    void outsidePositions();
    void registryTable_data();
    void registryTable();
    void registryFallback_data();
    void registryFallback();
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

    QCOMPARE(reportKinds(ReportCategory::Mensais).size(), 8);
    QCOMPARE(reportKinds(ReportCategory::Bimestrais).size(), 6);
    QCOMPARE(reportKinds(ReportCategory::Anuais).size(), 9);
}

void TestCatalogue::years_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("the old default year") << QDate(2005, 6, 15) << "2006"
                                          << "2005";
    QTest::newRow("new year's day") << QDate(2026, 1, 1) << "2027"
                                    << "2026";
    QTest::newRow("new year's eve") << QDate(2026, 12, 31) << "2027"
                                    << "2026";
    QTest::newRow("the first year") << QDate(1999, 3, 1) << "2000"
                                    << "1999";
    // A clock set in the past, or none: the first year is still offered and chosen.
    QTest::newRow("clock before the first year") << QDate(1980, 1, 1) << "1999"
                                                 << "1999";
    QTest::newRow("no date") << QDate() << "2000"
                             << "1999";
}

void TestCatalogue::years()
{
    QFETCH(QDate, today);
    QFETCH(QString, last);
    QFETCH(QString, chosen);
    const YearChoice choice = yearChoice(today);
    const QStringList &years = choice.years;
    QCOMPARE(years.first(), QStringLiteral("1999"));
    QCOMPARE(years.last(), last);
    QCOMPARE(years.value(choice.defaultIndex), chosen);
    for (int i = 1; i < years.size(); ++i) {
        QCOMPARE(years[i].toInt(), years[i - 1].toInt() + 1);
    }
}

// What each field type means: the text a new item holds, how the field is
// shaped when left, what it is computed from, which registry column it picks.
void TestCatalogue::fieldTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<FieldShape>("shape");
    QTest::addColumn<FieldComputation>("computation");
    QTest::addColumn<QList<int>>("operands");
    QTest::addColumn<int>("lookupColumn");
    QTest::addColumn<bool>("money");

    using S = FieldShape;
    using C = FieldComputation;
    const QString rec = QStringLiteral("rec.vqd");
    const QString cnpj = QStringLiteral("cnpj.vqd");
    QTest::newRow("Texto") << int(Texto) << 2 << rec << "" << S::AsTyped << C::None
                           << QList<int>{0, 0} << 0 << false;
    QTest::newRow("Valor") << int(Valor) << 3 << rec << "0,00" << S::Money << C::None
                           << QList<int>{0, 0} << 0 << true;
    QTest::newRow("Data") << int(Data) << 5 << cnpj << "__/__/____" << S::Date << C::None
                          << QList<int>{0, 0} << 0 << false;
    QTest::newRow("Diferenca: 3 minus 4") << int(Diferenca) << 5 << rec << "0,00" << S::Money
                                          << C::Difference << QList<int>{3, 4} << 0 << true;
    QTest::newRow("Acumulado 4: from 3") << int(Acumulado) << 4 << rec << "0,00" << S::Money
                                         << C::Accumulation << QList<int>{3, 0} << 0 << true;
    QTest::newRow("Acumulado 7: from 6") << int(Acumulado) << 7 << rec << "0,00" << S::Money
                                         << C::Accumulation << QList<int>{6, 0} << 0 << true;
    QTest::newRow("Orcado") << int(Orcado) << 3 << rec << "0,00" << S::Money << C::None
                            << QList<int>{0, 0} << 0 << true;
    QTest::newRow("ValorTotal: 8 times 9") << int(ValorTotal) << 10 << cnpj << "0,00" << S::Money
                                           << C::Product << QList<int>{8, 9} << 0 << true;
    QTest::newRow("Coluna 1") << Coluna(1) << 1 << rec << "" << S::AsTyped << C::None
                              << QList<int>{0, 0} << 1 << false;
    QTest::newRow("Coluna 2") << Coluna(2) << 2 << rec << "" << S::AsTyped << C::None
                              << QList<int>{0, 0} << 2 << false;
    QTest::newRow("Coluna 1 of the cnpj registry: a name")
        << Coluna(1) << 3 << cnpj << "" << S::AsTyped << C::None << QList<int>{0, 0} << 1 << false;
    QTest::newRow("Coluna 2 of the cnpj registry: a CNPJ")
        << Coluna(2) << 4 << cnpj << "" << S::Cnpj << C::None << QList<int>{0, 0} << 2 << false;
    QTest::newRow("Coluna 2 of a registry named otherwise")
        << Coluna(2) << 4 << QStringLiteral("CNPJ.vqd") << "" << S::AsTyped << C::None
        << QList<int>{0, 0} << 2 << false;
}

void TestCatalogue::fieldTypes()
{
    QFETCH(int, type);
    QFETCH(int, n);
    QFETCH(QString, registry);
    QFETCH(QString, defaultText);
    QFETCH(FieldShape, shape);
    QFETCH(FieldComputation, computation);
    QFETCH(QList<int>, operands);
    QFETCH(int, lookupColumn);
    QFETCH(bool, money);

    const ReportField field = makeField(QStringLiteral("x"), type, n, registry);
    QCOMPARE(field.caption, QStringLiteral("x"));
    QCOMPARE(field.type, type);
    QCOMPARE(field.defaultText, defaultText);
    QCOMPARE(defaultFieldText(type), defaultText);
    QCOMPARE(field.shape, shape);
    QCOMPARE(field.computation, computation);
    QCOMPARE(field.accumulates(), computation == FieldComputation::Accumulation);
    QCOMPARE((QList<int>{field.operand1, field.operand2}), operands);
    QCOMPARE(field.lookupColumn, lookupColumn);
    QCOMPARE(field.isMoney(), money);
    QCOMPARE(isMoneyType(type), money);
}

// The catalogue of report kinds, row by row: title, file prefix, registry,
// whether choosing the kind reads the registry, the fields, what saving an
// item adds to the registry, and the kind's own rules.
void TestCatalogue::kinds_data()
{
    QTest::addColumn<ReportCategory>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<RegistryExtension>>("extensions");
    QTest::addColumn<bool>("numbersItems");
    QTest::addColumn<bool>("totalRow");

    struct Row {
        ReportCategory category;
        const char *title;
        const char *prefix;
        const char *registry;
        bool loaded;
        Fields fields;
        QList<RegistryExtension> extensions;
        bool numbersItems = false;
        bool totalRow = true;
    };
    const auto M = ReportCategory::Mensais;
    const auto B = ReportCategory::Bimestrais;
    const auto A = ReportCategory::Anuais;
    const QList<RegistryExtension> code{{1, 2, false}};
    const Fields expense = {{"Codificação Numérica:", Coluna(1)},
                            {"Discriminação obs. o desdobramento:", Coluna(2)},
                            {"Autorizada no Exercício:", Orcado},
                            {"Empenhada no bimestre:", Valor},
                            {"Acumulada da empenhada:", Acumulado},
                            {"Liquidada no Bimestre:", Valor},
                            {"Acumulada da liquidada:", Acumulado}};
    const Fields budget = {{"Codificação Numérica:", Coluna(1)},
                           {"Discriminação obs. o desdobramento:", Coluna(2)},
                           {"VALOR:", Valor}};
    const Row rows[] = {
        {M, "Tributos Arrecadados  Art 2º, Inc. I", "trib-arrec-", "tributos.vqd", true,
         codeKind("Tributo/Contribuição:", "Montante Arrecadado no mês:",
                   "Acumulado no Exercício:"),
         code},
        {M, "Recursos Repassados - Transferências Voluntárias  Art 2º, Inc. II",
         "rec-repass-transf-vol-", "repv.vqd", true,
         codeKind("Recursos Repassados:", "Montante Repassado no mês:",
                   "Acumulado no Exercício:"),
         code},
        {M,
         "Recursos Repassados - Instrumentos Celebrados  Art 2º, Inc. II",
         "rec-repass-inst-cel-",
         "cnpj.vqd",
         false,
         {{"Nº Original:", Texto},
          {"Secretaria ou Órgão:", Texto},
          {"Concedente:", Texto},
          {"Beneficiário:", Texto},
          {"Objeto:", Texto},
          {"Valor do convênio:", Valor},
          {"Valor da contrapartida:", Valor},
          {"Vigência:", Data},
          {"Situação:", Texto}},
         {}},
        {M,
         "Recursos Recebidos - Transferências Voluntárias Recebidas  Art 2º, Inc. III, IV, V, VI, "
         "VII, VIII",
         "rec-receb-transf-vol-receb-", "recv.vqd", true,
         codeKind("Transf. Voluntárias Recebidas:", "Montante recebido no mês:",
                   "Montante acumulado no Exerc.:"),
         code},
        {M,
         "Recursos Recebidos - Transferências Constitucionais Recebidas  Art 2º, Inc. III, IV, V, "
         "VI, VII, VIII",
         "rec-receb-transf-const-receb-", "recc.vqd", true,
         codeKind("Transferências Const. Recebidas:", "Montante Recebido no mês:",
                   "Acumulado no Exercício:"),
         code},
        {M,
         "Recursos Recebidos - Instrumentos Celebrados  Art 2º, Inc. III, IV, V, VI, VII, VIII",
         "rec-receb-inst-cel-",
         "cnpj.vqd",
         false,
         {{"Nº Original:", Texto},
          {"Concedente:", Texto},
          {"Objeto:", Texto},
          {"Valor do convênio:", Valor},
          {"Valor da contrapartida:", Valor},
          {"Prazo para Cumprimento:", Data}},
         {}},
        {M,
         "Contratos e seus Aditivos  Art 2º, Inc. XX",
         "contratos-e-seus-aditivos-",
         "cnpj.vqd",
         true,
         {{"Nº do Contrato:", Texto},
          {"Contratado:", Coluna(1)},
          {"CPF / CNPJ:", Coluna(2)},
          {"Licitação:", Texto},
          {"Data da Assinatura:", Data},
          {"Data de Vigência:", Data},
          {"Objeto:", Texto},
          {"Valor:", Valor},
          {"Observação:", Texto}},
         {{2, 3, true}}},
        {M,
         "Compras  Art 2º, Inc. XXIV",
         "compras-",
         "cnpj.vqd",
         true,
         {{"Nº da Compra:", Texto},
          {"Secretaria ou Órgão:", Texto},
          {"Unid. Administrativa Adquirinte:", Coluna(1)},
          {"CNPJ:", Coluna(2)},
          {"Fornecedor:", Coluna(1)},
          {"CNPJ:", Coluna(2)},
          {"Bem adquirido - Descrição:", Texto},
          {"Preço Unitário:", Valor},
          {"Quantidade:", Texto},
          {"Valor Total:", ValorTotal}},
         {{3, 4, true}, {5, 6, true}},
         true},
        {B, "Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII",
         "exec-orc-rec-realizada-", "rec.vqd", true,
         {{"Codificação Numérica:", Coluna(1)},
          {"Discriminação obs. o desdobramento:", Coluna(2)},
          {"Receita realizada no bimestre:", Valor},
          {"Receita Acumulada no exercício:", Acumulado}},
         code},
        {B, "Execução dos Orçamentos - Despesa por Unidade Orçamentária  Art 2º, Inc. XII",
         "exec-orc-desp-unid-orc-", "unid.vqd", true, expense, code},
        {B, "Execução dos Orçamentos - Despesa por Função  Art 2º, Inc. XII",
         "exec-orc-desp-func-", "func.vqd", true, expense, code},
        {B, "Execução dos Orçamentos - Despesa por Programa e Subprograma  Art 2º, Inc. XII",
         "exec-orc-desp-prog-subprog-", "prog.vqd", true, expense, code},
        {B, "Execução dos Orçamentos - Despesa por Fonte de Recursos  Art 2º, Inc. XII",
         "exec-orc-desp-fonte-de-recursos-", "fonte.vqd", true, expense, code},
        {B, "Execução dos Orçamentos - Despesa por Grupo de Despesa  Art 2º, Inc. XII",
         "exec-orc-grupo-de-despesa-", "grupo.vqd", true, expense, code},
        {A, "Orçamentos Anuais - Receita Prevista  Art 2º, Inc. X e XVI",
         "orc-anual-rec-prevista-", "rec.vqd", true, budget, code},
        {A,
         "Orçamentos Anuais - Despesa para o Exercício por Unidade Orçamentária  Art 2º, Inc. X e "
         "XVI",
         "orc-anual-desp-unid-orc-", "unid.vqd", true, budget, code},
        {A, "Orçamentos Anuais - Despesa para o Exercício por Função  Art 2º, Inc. X e XVI",
         "orc-anual-desp-func-", "func.vqd", true, budget, code},
        {A,
         "Orçamentos Anuais - Despesa para o Exercício por Programa e Subprograma  Art 2º, Inc. X "
         "e XVI",
         "orc-anual-desp-prog-subprog-", "prog.vqd", true, budget, code},
        {A,
         "Orçamentos Anuais - Despesa para o Exercício por Fonte de Recursos  Art 2º, Inc. X e XVI",
         "orc-anual-desp-fonte-de-recursos-", "fonte.vqd", true, budget, code},
        {A,
         "Orçamentos Anuais - Despesa para o Exercício por Grupo de Despesa  Art 2º, Inc. X e XVI",
         "orc-anual-desp-grupo-de-despesa-", "grupo.vqd", true, budget, code},
        {A, "Balanços Orçamentários - Receita Prevista com a Realizada  Art 2º, Inc. XIV",
         "bal-orc-receitas-", "rec.vqd", true,
         {{"Codificação Numérica:", Coluna(1)},
          {"Discriminação obs. o desdobramento:", Coluna(2)},
          {"Montante da Receita Prevista:", Orcado},
          {"Montante da Receita Realizada:", Valor},
          {"Diferença", Diferenca}},
         code},
        {A, "Balanços Orçamentários - Despesa Autorizada com a Liquidada  Art 2º, Inc. XIV",
         "bal-orc-despesas-", "desp.vqd", true,
         {{"Codificação Numérica:", Coluna(1)},
          {"Discriminação obs. o desdobramento", Coluna(2)},
          {"Montante da Despesa Autorizada:", Valor},
          {"Montante da Despesa Liquidada:", Valor},
          {"Diferença", Diferenca}},
         code},
        {A,
         "Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV",
         "bal-orc-resultado-nominal-",
         "cnpj.vqd",
         true,
         {{"Superávit/Deficit corrente apurado:", Valor},
          {"Superávit/Deficit de capital:", Valor},
          {"Resultado Orçamentário:", Valor}},
         {},
         false,
         false},
    };
    int position[3] = {0, 0, 0};
    for (const Row &r : rows) {
        QStringList captions;
        QList<int> types;
        for (const Field &f : r.fields) {
            captions << QString::fromUtf8(f.caption);
            types << f.type;
        }
        const int p = position[int(r.category)]++;
        QTest::addRow("%d-%d %s", int(r.category), p, r.prefix)
            << r.category << p << QString::fromUtf8(r.title) << QString::fromUtf8(r.prefix)
            << QString::fromUtf8(r.registry) << r.loaded << captions << types << r.extensions
            << r.numbersItems << r.totalRow;
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
    QFETCH(QStringList, captions);
    QFETCH(QList<int>, types);
    QFETCH(QList<RegistryExtension>, extensions);
    QFETCH(bool, numbersItems);
    QFETCH(bool, totalRow);

    const ReportKind *kind = reportKind(category, position);
    QVERIFY(kind);
    QCOMPARE(kind->category, category);
    QCOMPARE(kind->position, position);
    QCOMPARE(kind->title, title);
    QCOMPARE(reportTitles(category).at(position), title);
    QCOMPARE(kind->prefix, prefix);
    QCOMPARE(kind->registryFile, registry);
    QCOMPARE(kind->loaded, loaded);
    QCOMPARE(kind->fieldCount, captions.size());
    for (int i = 1; i <= kMaxFields; ++i) {
        const ReportField &field = kind->fields[std::size_t(i - 1)];
        QCOMPARE(field.caption, captions.value(i - 1));
        QCOMPARE(kind->type(i), types.value(i - 1, Texto));
        if (i <= kind->fieldCount) {
            // Each field's rules follow from its type, as the field types say.
            const ReportField expected = makeField(field.caption, field.type, i, registry);
            QCOMPARE(field.defaultText, expected.defaultText);
            QCOMPARE(field.shape, expected.shape);
            QCOMPARE(field.computation, expected.computation);
            QCOMPARE(field.operand1, expected.operand1);
            QCOMPARE(field.operand2, expected.operand2);
            QCOMPARE(field.lookupColumn, expected.lookupColumn);
        }
    }
    QCOMPARE(kind->type(0), int(Texto));
    QCOMPARE(kind->type(kMaxFields + 1), int(Texto));
    QCOMPARE(kind->extensions, extensions);
    QCOMPARE(registryExtensions(category, position), extensions);
    QCOMPARE(writesRegistryOnSave(category, position), !extensions.isEmpty());
    QCOMPARE(kind->numbersItems, numbersItems);
    QCOMPARE(kind->totalRow, totalRow);
    QCOMPARE(hasTotalRow(category, position), totalRow);
    // Kinds of the CNPJ registry are never seeded from it nor merged with it.
    QCOMPARE(kind->followsRegistry(), registry != QStringLiteral("cnpj.vqd"));

    // Every title carries its legal reference after exactly two blanks; titles
    // and captions end up in Windows-1252 files.
    QCOMPARE(title.count(QStringLiteral("  Art 2º, Inc. ")), 1);
    QVERIFY(!title.contains(QStringLiteral("   ")));
    QVERIFY(prefix.endsWith(u'-'));
    QVERIFY(encodeCp1252(title + captions.join(QString())).has_value());
    QVERIFY(registryLabels(registry).first != QStringLiteral("Campo1:"));
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
    QVERIFY(hasTotalRow(category, position));
    QCOMPARE(kUnknownPrefix, QStringLiteral("unknkow-"));
    QVERIFY(!isCnpjRegistry(QStringLiteral("CNPJ.vqd")));
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

QTEST_APPLESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
