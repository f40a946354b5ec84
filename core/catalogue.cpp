#include "catalogue.h"

#include <algorithm>
#include <initializer_list>

namespace quelvara {

namespace {

// What a kind does beyond its fields.
struct KindRules {
    QList<RegistryExtension> extensions; // what saving an item adds to the registry
    bool numbersItems = false;
    bool totalRow = true;
};

struct KindRow {
    const char16_t *title;
    const char16_t *prefix;
    const char16_t *registryFile;
    bool loaded;
    QList<ReportField> fields; // caption and type; the rules follow from them
    KindRules rules;
};

ReportKind makeKind(ReportCategory category, int position, const KindRow &row)
{
    ReportKind kind;
    kind.category = category;
    kind.position = position;
    kind.title = QString::fromUtf16(row.title);
    kind.prefix = QString::fromUtf16(row.prefix);
    kind.registryFile = QString::fromUtf16(row.registryFile);
    kind.loaded = row.loaded;
    kind.fieldCount = int(row.fields.size());
    Q_ASSERT(kind.fieldCount >= 1 && kind.fieldCount <= kMaxFields);
    int n = 0;
    for (const ReportField &field : row.fields) {
        ReportField &made = kind.fields[std::size_t(n)];
        made = makeField(field.caption, field.type, n + 1, kind.registryFile);
        made.cpfAllowed = field.cpfAllowed;
        made.dateInYear = field.dateInYear;
        ++n;
    }
    kind.extensions = row.rules.extensions;
    kind.numbersItems = row.rules.numbersItems;
    kind.totalRow = row.rules.totalRow;
    return kind;
}

QList<ReportKind> makeKinds(ReportCategory category, std::initializer_list<KindRow> rows)
{
    QList<ReportKind> kinds;
    int position = 0;
    for (const KindRow &row : rows) {
        kinds.append(makeKind(category, position++, row));
    }
    return kinds;
}

// What a field's text must be beyond its type, as checked before a report is published.
enum class FieldCheck { None, CpfOrCnpj, InReportYear };

ReportField F(const char16_t *caption, int type, FieldCheck check = FieldCheck::None)
{
    ReportField field;
    field.caption = QString::fromUtf16(caption);
    field.type = type;
    field.cpfAllowed = check == FieldCheck::CpfOrCnpj;
    field.dateInYear = check == FieldCheck::InReportYear;
    return field;
}

constexpr bool Loaded = true;
constexpr bool Emptied = false;

// Saving an item of a code kind adds its code and name to the registry.
const KindRules kCodeAndName{{{1, 2, false}}};

// Captions shared by the registry-fed budget kinds.
constexpr const char16_t *kCodificacao = u"Codificação Numérica:";
constexpr const char16_t *kDiscriminacao = u"Discriminação obs. o desdobramento:";

QList<ReportKind> monthlyKinds()
{
    return makeKinds(
        ReportCategory::Mensais,
        {
            {u"Tributos Arrecadados  Art 2º, Inc. I",
             u"trib-arrec-",
             u"tributos.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Tributo/Contribuição:", Coluna(2)),
              F(u"Montante Arrecadado no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)},
             kCodeAndName},
            {u"Recursos Repassados - Transferências Voluntárias  Art 2º, Inc. II",
             u"rec-repass-transf-vol-",
             u"repv.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Recursos Repassados:", Coluna(2)),
              F(u"Montante Repassado no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)},
             kCodeAndName},
            {u"Recursos Repassados - Instrumentos Celebrados  Art 2º, Inc. II",
             u"rec-repass-inst-cel-",
             u"cnpj.vqd",
             Emptied,
             // Neither agreement kind records a signing date: a term or a
             // deadline may well lie beyond the report's year.
             {F(u"Nº Original:", Texto), F(u"Secretaria ou Órgão:", Texto),
              F(u"Concedente:", Texto), F(u"Beneficiário:", Texto), F(u"Objeto:", Texto),
              F(u"Valor do convênio:", Valor), F(u"Valor da contrapartida:", Valor),
              F(u"Vigência:", Data), F(u"Situação:", Texto)},
             {}},
            {u"Recursos Recebidos - Transferências Voluntárias Recebidas  Art 2º, Inc. III, IV, "
             u"V, VI, VII, VIII",
             u"rec-receb-transf-vol-receb-",
             u"recv.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Transf. Voluntárias Recebidas:", Coluna(2)),
              F(u"Montante recebido no mês:", Valor),
              F(u"Montante acumulado no Exerc.:", Acumulado)},
             kCodeAndName},
            {u"Recursos Recebidos - Transferências Constitucionais Recebidas  Art 2º, Inc. III, "
             u"IV, V, VI, VII, VIII",
             u"rec-receb-transf-const-receb-",
             u"recc.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Transferências Const. Recebidas:", Coluna(2)),
              F(u"Montante Recebido no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)},
             kCodeAndName},
            {u"Recursos Recebidos - Instrumentos Celebrados  Art 2º, Inc. III, IV, V, VI, VII, "
             u"VIII",
             u"rec-receb-inst-cel-",
             u"cnpj.vqd",
             Emptied,
             {F(u"Nº Original:", Texto), F(u"Concedente:", Texto), F(u"Objeto:", Texto),
              F(u"Valor do convênio:", Valor), F(u"Valor da contrapartida:", Valor),
              F(u"Prazo para Cumprimento:", Data)},
             {}},
            {u"Contratos e seus Aditivos  Art 2º, Inc. XX",
             u"contratos-e-seus-aditivos-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Nº do Contrato:", Texto), F(u"Contratado:", Coluna(1)),
              // A contract signed in another year belongs to that year's report;
              // its term may run on beyond the year.
              F(u"CPF / CNPJ:", Coluna(2), FieldCheck::CpfOrCnpj), F(u"Licitação:", Texto),
              F(u"Data da Assinatura:", Data, FieldCheck::InReportYear),
              F(u"Data de Vigência:", Data), F(u"Objeto:", Texto), F(u"Valor:", Valor),
              F(u"Observação:", Texto)},
             // The contractor and its CPF / CNPJ.
             {{{2, 3, true}}}},
            {u"Compras  Art 2º, Inc. XXIV",
             u"compras-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Nº da Compra:", Texto), F(u"Secretaria ou Órgão:", Texto),
              F(u"Unid. Administrativa Adquirinte:", Coluna(1)), F(u"CNPJ:", Coluna(2)),
              F(u"Fornecedor:", Coluna(1)), F(u"CNPJ:", Coluna(2)),
              F(u"Bem adquirido - Descrição:", Texto), F(u"Preço Unitário:", Valor),
              F(u"Quantidade:", Texto), F(u"Valor Total:", ValorTotal)},
             // The purchasing unit and the supplier, each with its CNPJ.
             {{{3, 4, true}, {5, 6, true}}, true}},
        });
}

QList<ReportKind> bimonthlyKinds()
{
    // Kinds 1 to 5 share their fields: budget authorised, then committed and
    // paid in the bimester, each with its accumulated figure.
    const QList<ReportField> expense = {
        F(kCodificacao, Coluna(1)),
        F(kDiscriminacao, Coluna(2)),
        F(u"Autorizada no Exercício:", Orcado),
        F(u"Empenhada no bimestre:", Valor),
        F(u"Acumulada da empenhada:", Acumulado),
        F(u"Liquidada no Bimestre:", Valor),
        F(u"Acumulada da liquidada:", Acumulado),
    };
    return makeKinds(
        ReportCategory::Bimestrais,
        {
            {u"Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII",
             u"exec-orc-rec-realizada-",
             u"rec.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(kDiscriminacao, Coluna(2)),
              F(u"Receita realizada no bimestre:", Valor),
              F(u"Receita Acumulada no exercício:", Acumulado)},
             kCodeAndName},
            {u"Execução dos Orçamentos - Despesa por Unidade Orçamentária  Art 2º, Inc. XII",
             u"exec-orc-desp-unid-orc-", u"unid.vqd", Loaded, expense, kCodeAndName},
            {u"Execução dos Orçamentos - Despesa por Função  Art 2º, Inc. XII",
             u"exec-orc-desp-func-", u"func.vqd", Loaded, expense, kCodeAndName},
            {u"Execução dos Orçamentos - Despesa por Programa e Subprograma  Art 2º, Inc. XII",
             u"exec-orc-desp-prog-subprog-", u"prog.vqd", Loaded, expense, kCodeAndName},
            {u"Execução dos Orçamentos - Despesa por Fonte de Recursos  Art 2º, Inc. XII",
             u"exec-orc-desp-fonte-de-recursos-", u"fonte.vqd", Loaded, expense, kCodeAndName},
            // Stored files carry this prefix, without the "desp-" of its neighbours.
            {u"Execução dos Orçamentos - Despesa por Grupo de Despesa  Art 2º, Inc. XII",
             u"exec-orc-grupo-de-despesa-", u"grupo.vqd", Loaded, expense, kCodeAndName},
        });
}

QList<ReportKind> annualKinds()
{
    const QList<ReportField> budget = {
        F(kCodificacao, Coluna(1)),
        F(kDiscriminacao, Coluna(2)),
        F(u"VALOR:", Valor),
    };
    return makeKinds(
        ReportCategory::Anuais,
        {
            {u"Orçamentos Anuais - Receita Prevista  Art 2º, Inc. X e XVI",
             u"orc-anual-rec-prevista-", u"rec.vqd", Loaded, budget, kCodeAndName},
            {u"Orçamentos Anuais - Despesa para o Exercício por Unidade Orçamentária  Art 2º, "
             u"Inc. X e XVI",
             u"orc-anual-desp-unid-orc-", u"unid.vqd", Loaded, budget, kCodeAndName},
            {u"Orçamentos Anuais - Despesa para o Exercício por Função  Art 2º, Inc. X e XVI",
             u"orc-anual-desp-func-", u"func.vqd", Loaded, budget, kCodeAndName},
            {u"Orçamentos Anuais - Despesa para o Exercício por Programa e Subprograma  Art 2º, "
             u"Inc. X e XVI",
             u"orc-anual-desp-prog-subprog-", u"prog.vqd", Loaded, budget, kCodeAndName},
            {u"Orçamentos Anuais - Despesa para o Exercício por Fonte de Recursos  Art 2º, Inc. "
             u"X e XVI",
             u"orc-anual-desp-fonte-de-recursos-", u"fonte.vqd", Loaded, budget, kCodeAndName},
            {u"Orçamentos Anuais - Despesa para o Exercício por Grupo de Despesa  Art 2º, Inc. X "
             u"e XVI",
             u"orc-anual-desp-grupo-de-despesa-", u"grupo.vqd", Loaded, budget, kCodeAndName},
            {u"Balanços Orçamentários - Receita Prevista com a Realizada  Art 2º, Inc. XIV",
             u"bal-orc-receitas-",
             u"rec.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(kDiscriminacao, Coluna(2)),
              F(u"Montante da Receita Prevista:", Orcado),
              F(u"Montante da Receita Realizada:", Valor), F(u"Diferença", Diferenca)},
             kCodeAndName},
            // Field 2 has no colon here; the page headings are taken from the
            // captions, so it stays as users know it.
            {u"Balanços Orçamentários - Despesa Autorizada com a Liquidada  Art 2º, Inc. XIV",
             u"bal-orc-despesas-",
             u"desp.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Discriminação obs. o desdobramento", Coluna(2)),
              F(u"Montante da Despesa Autorizada:", Valor),
              F(u"Montante da Despesa Liquidada:", Valor), F(u"Diferença", Diferenca)},
             kCodeAndName},
            {u"Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV",
             u"bal-orc-resultado-nominal-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Superávit/Deficit corrente apurado:", Valor),
              F(u"Superávit/Deficit de capital:", Valor), F(u"Resultado Orçamentário:", Valor)},
             // Three separate figures: summing them means nothing.
             {{}, false, false}},
        });
}

int index(ReportCategory category) { return static_cast<int>(category); }

} // namespace

QString defaultFieldText(int type)
{
    if (isMoneyType(type)) {
        return QStringLiteral("0,00");
    }
    if (type == Data) {
        return QStringLiteral("__/__/____");
    }
    return {}; // Texto and the registry columns
}

ReportField makeField(const QString &caption, int type, int n, const QString &registryFile)
{
    ReportField field;
    field.caption = caption;
    field.type = type;
    field.defaultText = defaultFieldText(type);
    field.lookupColumn = type > 0 ? type : 0;
    if (isMoneyType(type)) {
        field.shape = FieldShape::Money;
    } else if (type == Data) {
        field.shape = FieldShape::Date;
    } else if (type == Coluna(2) && isCnpjRegistry(registryFile)) {
        // Column 2 of the CNPJ registry is the CPF or CNPJ number.
        field.shape = FieldShape::Cnpj;
    }
    switch (type) {
    case Acumulado: // the period's amount is the field before
        field.computation = FieldComputation::Accumulation;
        field.operand1 = n - 1;
        break;
    case Diferenca: // forecast or authorised, less what was realised
        field.computation = FieldComputation::Difference;
        field.operand1 = 3;
        field.operand2 = 4;
        break;
    case ValorTotal: // unit price times quantity
        field.computation = FieldComputation::Product;
        field.operand1 = 8;
        field.operand2 = 9;
        break;
    default:
        break;
    }
    return field;
}

const std::array<CategoryInfo, 3> &categories()
{
    static const std::array<CategoryInfo, 3> all = {{
        {ReportCategory::Mensais,
         QStringLiteral("Relatórios Mensais"),
         {QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
          QStringLiteral("Abril"), QStringLiteral("Maio"), QStringLiteral("Junho"),
          QStringLiteral("Julho"), QStringLiteral("Agosto"), QStringLiteral("Setembro"),
          QStringLiteral("Outubro"), QStringLiteral("Novembro"), QStringLiteral("Dezembro")},
         true},
        {ReportCategory::Bimestrais,
         QStringLiteral("Relatórios Bimestrais"),
         {QStringLiteral("1º Bimestre"), QStringLiteral("2º Bimestre"),
          QStringLiteral("3º Bimestre"), QStringLiteral("4º Bimestre"),
          QStringLiteral("5º Bimestre"), QStringLiteral("6º Bimestre")},
         true},
        {ReportCategory::Anuais, QStringLiteral("Relatórios Anuais"), {}, false},
    }};
    return all;
}

const CategoryInfo &categoryInfo(ReportCategory category)
{
    return categories().at(std::size_t(index(category)));
}

const QList<ReportKind> &reportKinds(ReportCategory category)
{
    static const std::array<QList<ReportKind>, 3> all = {monthlyKinds(), bimonthlyKinds(),
                                                         annualKinds()};
    return all.at(std::size_t(index(category)));
}

const ReportKind *reportKind(ReportCategory category, int position)
{
    const int i = index(category);
    if (i < 0 || i > 2) {
        return nullptr;
    }
    const QList<ReportKind> &kinds = reportKinds(category);
    if (position < 0 || position >= kinds.size()) {
        return nullptr;
    }
    return &kinds[position];
}

QStringList reportTitles(ReportCategory category)
{
    QStringList titles;
    for (const ReportKind &kind : reportKinds(category)) {
        titles.append(kind.title);
    }
    return titles;
}

YearChoice yearChoice(const QDate &today)
{
    // The first year the reports were required; a clock set before it (or
    // no clock at all) still offers it and starts on it.
    constexpr int kFirstYear = 1999;
    const int year = today.isValid() ? today.year() : kFirstYear;
    YearChoice choice;
    for (int y = kFirstYear; y <= std::max(kFirstYear, year + 1); ++y) {
        choice.years.append(QString::number(y));
    }
    choice.defaultIndex = std::clamp(year - kFirstYear, 0, int(choice.years.size()) - 1);
    return choice;
}

QStringList yearList() { return yearChoice(QDate::currentDate()).years; }

bool hasTotalRow(ReportCategory category, int position)
{
    const ReportKind *kind = reportKind(category, position);
    return !kind || kind->totalRow;
}

QList<RegistryExtension> registryExtensions(ReportCategory category, int position)
{
    const ReportKind *kind = reportKind(category, position);
    return kind ? kind->extensions : QList<RegistryExtension>{};
}

bool writesRegistryOnSave(ReportCategory category, int position)
{
    return !registryExtensions(category, position).isEmpty();
}

const QList<RegistryInfo> &registries()
{
    struct Row {
        const char16_t *file, *menuEntry, *label1, *label2, *actionName;
        RegistrySubmenu submenu;
        bool lineBefore;
    };
    constexpr auto None = RegistrySubmenu::None;
    constexpr auto Transferencias = RegistrySubmenu::Transferencias;
    constexpr auto Despesas = RegistrySubmenu::Despesas;
    constexpr bool Line = true;
    static const Row rows[] = {
        {u"cnpj.vqd", u"CNPJs", u"Nome:", u"CNPJ:", u"CNPJs1", None, false},
        {u"tributos.vqd", u"Tributos", u"Codigo:", u"Tributo:", u"Tributos1", None, Line},
        {u"repv.vqd", u"Voluntárias Repassadas", u"Numero:", u"Recurso:", u"VoluntariasRepassadas1",
         Transferencias, false},
        {u"recv.vqd", u"Voluntárias Recebidas", u"Numero:", u"Recurso:", u"VoluntriasRecebidas1",
         Transferencias, false},
        {u"recc.vqd", u"Constitucionais Recebidas", u"Codigo:", u"Recurso:",
         u"ConstitucionaisRecebidas1", Transferencias, false},
        {u"unid.vqd", u"por Unidade Orçamentária", u"Codigo:", u"Nome:", u"porUnidadeOramentria1",
         Despesas, Line},
        {u"func.vqd", u"por Função", u"Codigo:", u"Nome:", u"porFuno1", Despesas, false},
        {u"prog.vqd", u"por Programa e SubPrograma", u"Codigo:", u"Nome:",
         u"porProgramaeSubPrograma1", Despesas, false},
        {u"fonte.vqd", u"por Fonte de Recursos", u"Codigo:", u"Nome:", u"porFontedeRecursos1",
         Despesas, false},
        {u"grupo.vqd", u"por Grupo de Despesa", u"Codigo:", u"Nome:", u"porGrupodeDespesa1",
         Despesas, false},
        {u"desp.vqd", u"para Balanço", u"Codigo:", u"Nome:", u"paraBalano1", Despesas, Line},
        {u"rec.vqd", u"Receitas", u"Codigo:", u"Nome:", u"Receitas1", None, false},
    };
    static const QList<RegistryInfo> all = [] {
        QList<RegistryInfo> registries;
        for (const Row &row : rows) {
            registries.append({QString::fromUtf16(row.file), QString::fromUtf16(row.menuEntry),
                               QString::fromUtf16(row.label1), QString::fromUtf16(row.label2),
                               QString::fromUtf16(row.actionName), row.submenu, row.lineBefore});
        }
        return registries;
    }();
    return all;
}

std::pair<QString, QString> registryLabels(const QString &file)
{
    // Compared exactly: the dialog names its fields only for the files it knows.
    for (const RegistryInfo &registry : registries()) {
        if (registry.file == file) {
            return {registry.label1, registry.label2};
        }
    }
    return {QStringLiteral("Campo1:"), QStringLiteral("Campo2:")};
}

} // namespace quelvara
