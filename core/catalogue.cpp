#include "catalogue.h"

#include <initializer_list>

namespace quelvara {

namespace {

struct KindRow {
    const char16_t *title;
    const char16_t *prefix;
    const char16_t *registryFile;
    bool loaded;
    QList<ReportField> fields;
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
    int i = 0;
    for (const ReportField &field : row.fields) {
        kind.fields[i++] = field;
    }
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

ReportField F(const char16_t *caption, int type) { return {QString::fromUtf16(caption), type}; }

constexpr bool Loaded = true;
constexpr bool Emptied = false;

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
              F(u"Montante Arrecadado no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)}},
            {u"Recursos Repassados - Transferências Voluntárias  Art 2º, Inc. II",
             u"rec-repass-transf-vol-",
             u"repv.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Recursos Repassados:", Coluna(2)),
              F(u"Montante Repassado no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)}},
            {u"Recursos Repassados - Instrumentos Celebrados  Art 2º, Inc. II",
             u"rec-repass-inst-cel-",
             u"cnpj.vqd",
             Emptied,
             {F(u"Nº Original:", Texto), F(u"Secretaria ou Órgão:", Texto),
              F(u"Concedente:", Texto), F(u"Beneficiário:", Texto), F(u"Objeto:", Texto),
              F(u"Valor do convênio:", Valor), F(u"Valor da contrapartida:", Valor),
              F(u"Vigência:", Data), F(u"Situação:", Texto)}},
            {u"Recursos Recebidos - Transferências Voluntárias Recebidas  Art 2º, Inc. III, IV, "
             u"V, VI, VII, VIII",
             u"rec-receb-transf-vol-receb-",
             u"recv.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Transf. Voluntárias Recebidas:", Coluna(2)),
              F(u"Montante recebido no mês:", Valor),
              F(u"Montante acumulado no Exerc.:", Acumulado)}},
            {u"Recursos Recebidos - Transferências Constitucionais Recebidas  Art 2º, Inc. III, "
             u"IV, V, VI, VII, VIII",
             u"rec-receb-transf-const-receb-",
             u"recc.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Transferências Const. Recebidas:", Coluna(2)),
              F(u"Montante Recebido no mês:", Valor), F(u"Acumulado no Exercício:", Acumulado)}},
            {u"Recursos Recebidos - Instrumentos Celebrados  Art 2º, Inc. III, IV, V, VI, VII, "
             u"VIII",
             u"rec-receb-inst-cel-",
             u"cnpj.vqd",
             Emptied,
             {F(u"Nº Original:", Texto), F(u"Concedente:", Texto), F(u"Objeto:", Texto),
              F(u"Valor do convênio:", Valor), F(u"Valor da contrapartida:", Valor),
              F(u"Prazo para Cumprimento:", Data)}},
            {u"Contratos e seus Aditivos  Art 2º, Inc. XX",
             u"contratos-e-seus-aditivos-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Nº do Contrato:", Texto), F(u"Contratado:", Coluna(1)),
              F(u"CPF / CNPJ:", Coluna(2)), F(u"Licitação:", Texto),
              F(u"Data da Assinatura:", Data), F(u"Data de Vigência:", Data), F(u"Objeto:", Texto),
              F(u"Valor:", Valor), F(u"Observação:", Texto)}},
            {u"Compras  Art 2º, Inc. XXIV",
             u"compras-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Nº da Compra:", Texto), F(u"Secretaria ou Órgão:", Texto),
              F(u"Unid. Administrativa Adquirinte:", Coluna(1)), F(u"CNPJ:", Coluna(2)),
              F(u"Fornecedor:", Coluna(1)), F(u"CNPJ:", Coluna(2)),
              F(u"Bem adquirido - Descrição:", Texto), F(u"Preço Unitário:", Valor),
              F(u"Quantidade:", Texto), F(u"Valor Total:", ValorTotal)}},
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
              F(u"Receita Acumulada no exercício:", Acumulado)}},
            {u"Execução dos Orçamentos - Despesa por Unidade Orçamentária  Art 2º, Inc. XII",
             u"exec-orc-desp-unid-orc-", u"unid.vqd", Loaded, expense},
            {u"Execução dos Orçamentos - Despesa por Função  Art 2º, Inc. XII",
             u"exec-orc-desp-func-", u"func.vqd", Loaded, expense},
            {u"Execução dos Orçamentos - Despesa por Programa e Subprograma  Art 2º, Inc. XII",
             u"exec-orc-desp-prog-subprog-", u"prog.vqd", Loaded, expense},
            {u"Execução dos Orçamentos - Despesa por Fonte de Recursos  Art 2º, Inc. XII",
             u"exec-orc-desp-fonte-de-recursos-", u"fonte.vqd", Loaded, expense},
            // Stored files carry this prefix, without the "desp-" of its neighbours.
            {u"Execução dos Orçamentos - Despesa por Grupo de Despesa  Art 2º, Inc. XII",
             u"exec-orc-grupo-de-despesa-", u"grupo.vqd", Loaded, expense},
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
             u"orc-anual-rec-prevista-", u"rec.vqd", Loaded, budget},
            {u"Orçamentos Anuais - Despesa para o Exercício por Unidade Orçamentária  Art 2º, "
             u"Inc. X e XVI",
             u"orc-anual-desp-unid-orc-", u"unid.vqd", Loaded, budget},
            {u"Orçamentos Anuais - Despesa para o Exercício por Função  Art 2º, Inc. X e XVI",
             u"orc-anual-desp-func-", u"func.vqd", Loaded, budget},
            {u"Orçamentos Anuais - Despesa para o Exercício por Programa e Subprograma  Art 2º, "
             u"Inc. X e XVI",
             u"orc-anual-desp-prog-subprog-", u"prog.vqd", Loaded, budget},
            {u"Orçamentos Anuais - Despesa para o Exercício por Fonte de Recursos  Art 2º, Inc. "
             u"X e XVI",
             u"orc-anual-desp-fonte-de-recursos-", u"fonte.vqd", Loaded, budget},
            {u"Orçamentos Anuais - Despesa para o Exercício por Grupo de Despesa  Art 2º, Inc. X "
             u"e XVI",
             u"orc-anual-desp-grupo-de-despesa-", u"grupo.vqd", Loaded, budget},
            {u"Balanços Orçamentários - Receita Prevista com a Realizada  Art 2º, Inc. XIV",
             u"bal-orc-receitas-",
             u"rec.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(kDiscriminacao, Coluna(2)),
              F(u"Montante da Receita Prevista:", Orcado),
              F(u"Montante da Receita Realizada:", Valor), F(u"Diferença", Diferenca)}},
            // Field 2 has no colon here; the page headings are taken from the
            // captions, so it stays as users know it.
            {u"Balanços Orçamentários - Despesa Autorizada com a Liquidada  Art 2º, Inc. XIV",
             u"bal-orc-despesas-",
             u"desp.vqd",
             Loaded,
             {F(kCodificacao, Coluna(1)), F(u"Discriminação obs. o desdobramento", Coluna(2)),
              F(u"Montante da Despesa Autorizada:", Valor),
              F(u"Montante da Despesa Liquidada:", Valor), F(u"Diferença", Diferenca)}},
            {u"Balanços Orçamentários - Resultado Orçamentário  Art 2º, Inc. XIV",
             u"bal-orc-resultado-nominal-",
             u"cnpj.vqd",
             Loaded,
             {F(u"Superávit/Deficit corrente apurado:", Valor),
              F(u"Superávit/Deficit de capital:", Valor), F(u"Resultado Orçamentário:", Valor)}},
        });
}

int index(ReportCategory category) { return static_cast<int>(category); }

} // namespace

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

QStringList yearList()
{
    QStringList years;
    for (int year = 1999; year <= 2010; ++year) {
        years.append(QString::number(year));
    }
    return years;
}

bool hasTotalRow(ReportCategory category, int position)
{
    // The budget result is three separate figures; summing them means nothing.
    return !(category == ReportCategory::Anuais && position == 8);
}

QList<RegistryExtension> registryExtensions(ReportCategory category, int position)
{
    if (!reportKind(category, position)) {
        return {};
    }
    const RegistryExtension codeAndName{1, 2, false};
    switch (category) {
    case ReportCategory::Mensais:
        switch (position) {
        case 0:
        case 1:
        case 3:
        case 4:
            return {codeAndName};
        case 6: // the contractor and its CPF / CNPJ
            return {{2, 3, true}};
        case 7: // the purchasing unit and the supplier, each with its CNPJ
            return {{3, 4, true}, {5, 6, true}};
        default:
            return {};
        }
    case ReportCategory::Bimestrais:
        return {codeAndName};
    case ReportCategory::Anuais:
        return position <= 7 ? QList<RegistryExtension>{codeAndName} : QList<RegistryExtension>{};
    }
    return {};
}

bool writesRegistryOnSave(ReportCategory category, int position)
{
    return !registryExtensions(category, position).isEmpty();
}

const QList<RegistryInfo> &registries()
{
    static const QList<RegistryInfo> all = {
        {QStringLiteral("cnpj.vqd"), QStringLiteral("CNPJs"), QStringLiteral("Nome:"),
         QStringLiteral("CNPJ:")},
        {QStringLiteral("tributos.vqd"), QStringLiteral("Tributos"), QStringLiteral("Codigo:"),
         QStringLiteral("Tributo:")},
        {QStringLiteral("repv.vqd"), QStringLiteral("Voluntárias Repassadas"),
         QStringLiteral("Numero:"), QStringLiteral("Recurso:")},
        {QStringLiteral("recv.vqd"), QStringLiteral("Voluntárias Recebidas"),
         QStringLiteral("Numero:"), QStringLiteral("Recurso:")},
        {QStringLiteral("recc.vqd"), QStringLiteral("Constitucionais Recebidas"),
         QStringLiteral("Codigo:"), QStringLiteral("Recurso:")},
        {QStringLiteral("unid.vqd"), QStringLiteral("por Unidade Orçamentária"),
         QStringLiteral("Codigo:"), QStringLiteral("Nome:")},
        {QStringLiteral("func.vqd"), QStringLiteral("por Função"), QStringLiteral("Codigo:"),
         QStringLiteral("Nome:")},
        {QStringLiteral("prog.vqd"), QStringLiteral("por Programa e SubPrograma"),
         QStringLiteral("Codigo:"), QStringLiteral("Nome:")},
        {QStringLiteral("fonte.vqd"), QStringLiteral("por Fonte de Recursos"),
         QStringLiteral("Codigo:"), QStringLiteral("Nome:")},
        {QStringLiteral("grupo.vqd"), QStringLiteral("por Grupo de Despesa"),
         QStringLiteral("Codigo:"), QStringLiteral("Nome:")},
        {QStringLiteral("desp.vqd"), QStringLiteral("para Balanço"), QStringLiteral("Codigo:"),
         QStringLiteral("Nome:")},
        {QStringLiteral("rec.vqd"), QStringLiteral("Receitas"), QStringLiteral("Codigo:"),
         QStringLiteral("Nome:")},
    };
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
