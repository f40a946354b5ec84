#include "sampledata.h"

#include "codec.h"
#include "registry.h"
#include "textcompare.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quelvara::sample {

namespace {

const QString kTab = QStringLiteral("\t");

// Names are put together from these, so that they carry accents, dashes and
// ordinal signs as real ones do.
const std::array<const char16_t *, 10> kTaxes = {
    u"Imposto sobre a Propriedade Predial e Territorial Urbana",
    u"Imposto sobre Serviços de Qualquer Natureza",
    u"Imposto sobre Transmissão \"Inter Vivos\" de Bens Imóveis",
    u"Taxa de Coleta de Lixo",
    u"Taxa de Licença para Localização e Funcionamento",
    u"Contribuição para o Custeio da Iluminação Pública",
    u"Multas e Juros de Mora dos Tributos",
    u"Dívida Ativa Tributária",
    u"Cota-Parte do ICMS",
    u"Taxa de Expediente e Emolumentos",
};
const std::array<const char16_t *, 6> kPlaces = {
    u"Centro",          u"Zona Rural",      u"Vila Operária",
    u"Jardim São José", u"Bairro Alvorada", u"Distrito de Água Limpa",
};
const std::array<const char16_t *, 6> kUnits = {
    u"Secretaria Municipal de Educação",
    u"Secretaria Municipal de Saúde",
    u"Secretaria de Obras e Serviços Urbanos",
    u"Gabinete do Prefeito",
    u"Secretaria de Finanças",
    u"Fundo Municipal de Assistência Social",
};
const std::array<const char16_t *, 8> kFirms = {
    u"Comercial",  u"Construtora", u"Distribuidora", u"Papelaria",
    u"Auto Posto", u"Farmácia",    u"Associação",    u"Cooperativa",
};
const std::array<const char16_t *, 7> kFirmNames = {
    u"São Jorge",   u"Serra Azul",  u"Boa Vista",  u"Conceição",
    u"Ipê Amarelo", u"Três Irmãos", u"Água Limpa",
};
const std::array<const char16_t *, 5> kGoods = {
    u"Material de escritório",
    u"Combustível para a frota",
    u"Merenda escolar",
    u"Medicamentos da farmácia básica",
    u"Peças para máquinas – patrulha rural",
};

template <std::size_t N>
QString pick(const std::array<const char16_t *, N> &list, int i)
{
    return QString::fromUtf16(list[std::size_t(i) % N]);
}

QString withDigits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// A fixed-width code made of three groups, first group from a base.
QString groupedCode(int base, int i)
{
    return withDigits(base + i / 10000, 4) + u'.' + withDigits(i / 100 % 100, 2) + u'.' +
           withDigits(i % 100, 2);
}

QString revenueCode(int i) { return groupedCode(1700, i); }

QString ordinal(int i) { return QStringLiteral(" nº ") + QString::number(i + 1); }

QString taxName(int i)
{
    return pick(kTaxes, i) + QStringLiteral(" – ") + pick(kPlaces, i / 10) + ordinal(i);
}

QString unitName(int i) { return pick(kUnits, i) + QStringLiteral(" – Unidade") + ordinal(i); }

QString revenueName(int i)
{
    return QStringLiteral("Receita de ") + pick(kTaxes, i + 3) + QStringLiteral(" – ") +
           pick(kPlaces, i / 7) + ordinal(i);
}

QString firmName(int i)
{
    return pick(kFirms, i) + u' ' + pick(kFirmNames, i / 8) + ordinal(i) + QStringLiteral(" Ltda");
}

// A CNPJ with its two check digits, formatted as the program shows it.
QString cnpj(int i)
{
    std::array<int, 14> d{};
    int base = 10000000 + int((qint64(i) * 7919) % 89999999);
    for (int k = 7; k >= 0; --k) {
        d[std::size_t(k)] = base % 10;
        base /= 10;
    }
    d[8] = 0, d[9] = 0, d[10] = 0, d[11] = 1;
    const auto check = [&d](int count) {
        static const std::array<int, 13> weights = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
        int sum = 0;
        for (int k = 0; k < count; ++k) {
            sum += d[std::size_t(k)] * weights[std::size_t(13 - count + k)];
        }
        const int rest = sum % 11;
        return rest < 2 ? 0 : 11 - rest;
    };
    d[12] = check(12);
    d[13] = check(13);
    QString text;
    for (int k = 0; k < 14; ++k) {
        if (k == 2 || k == 5) {
            text += u'.';
        } else if (k == 8) {
            text += u'/';
        } else if (k == 12) {
            text += u'-';
        }
        text += QChar(u'0' + d[std::size_t(k)]);
    }
    return text;
}

QString flag(int i) { return i % 97 == 5 ? QStringLiteral("1") : QStringLiteral("0"); }

QString record(const QStringList &fields) { return fields.join(kTab) + kTab; }

QStringList sorted(QStringList lines)
{
    if (!std::is_sorted(lines.cbegin(), lines.cend(), lessText)) {
        sortRegistry(lines);
    }
    return lines;
}

void writeFile(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        const std::optional<QByteArray> encoded = encodeCp1252(line);
        if (!encoded) {
            throw std::runtime_error("generated text does not fit Windows-1252");
        }
        bytes += *encoded;
        bytes += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write the generated data folder");
    }
}

QString dataName(const QString &prefix, int period)
{
    return QStringLiteral("%1/%2%3-%1.vqd").arg(kYear, prefix, QString::number(period));
}

// Sums of the periods up to p, as the accumulated fields hold them.
qint64 accumulatedCents(int i, int p, int salt)
{
    qint64 sum = 0;
    for (int q = 1; q <= p; ++q) {
        sum += periodCents(i + salt, q);
    }
    return sum;
}

} // namespace

QString taxCode(int i) { return groupedCode(1110, i); }

QString unitCode(int i)
{
    return QStringLiteral("02.") + withDigits(i / 1000, 3) + u'.' + withDigits(i % 1000, 3);
}

QString moneyText(qint64 cents)
{
    const bool negative = cents < 0;
    const qint64 value = negative ? -cents : cents;
    const QString digits = QString::number(value / 100);
    QString integer;
    for (qsizetype k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0) {
            integer += u'.';
        }
        integer += digits[k];
    }
    return (negative ? QStringLiteral("-") : QString()) + integer + u',' +
           withDigits(int(value % 100), 2);
}

qint64 periodCents(int i, int p)
{
    // Mostly thousands of reais, some zero, a few large.
    const qint64 spread = (qint64(i) * 7919 + qint64(p) * 104729) % 1000003;
    if (spread % 23 == 0) {
        return 0;
    }
    return spread * (spread % 11 == 0 ? 97 : 3) + 100;
}

QStringList taxRegistry(int n)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        lines.append(record({taxCode(i), taxName(i)}));
    }
    return sorted(lines);
}

QStringList taxLines(int n, int p)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        lines.append(record({taxCode(i), taxName(i), moneyText(periodCents(i, p)),
                             moneyText(accumulatedCents(i, p, 0)), flag(i)}));
    }
    return lines;
}

void writeDataFolder(const QString &base, int n)
{
    QDir dir(base);
    if (!dir.mkpath(QStringLiteral("dados/") + kYear)) {
        throw std::runtime_error("cannot create the generated data folder");
    }
    const QString dados = dir.filePath(QStringLiteral("dados"));
    const auto put = [&dados](const QString &name, const QStringList &lines) {
        writeFile(QDir(dados).filePath(name), lines);
    };

    put(QStringLiteral("prefeitura.vqd"),
        {QStringLiteral("Prefeitura Municipal de Vila Serena\tMG\t")});
    put(QStringLiteral("prefs.vqd"),
        {QStringLiteral("Joaquim Aurélio Brandão Siqueira"),
         QStringLiteral("Maria da Conceição Lemos Tavares"),
         QStringLiteral("Luís Fernando Arantes Queiroga"), QStringLiteral("MG-098765/O-4")});

    // Monthly taxes: the registry and twelve months.
    put(QStringLiteral("tributos.vqd"), taxRegistry(n));
    for (int p = 1; p <= 12; ++p) {
        put(dataName(QStringLiteral("trib-arrec-"), p), taxLines(n, p));
    }

    // Voluntary transfers: a registry and no month yet.
    const int few = std::max(1, n / 10);
    QStringList transfers;
    for (int i = 0; i < few; ++i) {
        transfers.append(record({groupedCode(1721, i), QStringLiteral("Convênio Estadual – ") +
                                                           pick(kUnits, i) + ordinal(i)}));
    }
    put(QStringLiteral("repv.vqd"), sorted(transfers));

    // Expenses by budget unit: six bimesters, committed and paid.
    QStringList units;
    for (int i = 0; i < n; ++i) {
        units.append(record({unitCode(i), unitName(i)}));
    }
    put(QStringLiteral("unid.vqd"), sorted(units));
    for (int b = 1; b <= 6; ++b) {
        QStringList lines;
        for (int i = 0; i < n; ++i) {
            lines.append(record(
                {unitCode(i), unitName(i), moneyText(periodCents(i, 0) * 40),
                 moneyText(periodCents(i + 1, b)), moneyText(accumulatedCents(i, b, 1)),
                 moneyText(periodCents(i + 2, b)), moneyText(accumulatedCents(i, b, 2)), flag(i)}));
        }
        put(dataName(QStringLiteral("exec-orc-desp-unid-orc-"), b), lines);
    }

    // Suppliers and purchasing units, and twelve months of purchases.
    QStringList firms;
    for (int i = 0; i < n; ++i) {
        firms.append(record({firmName(i), cnpj(i)}));
    }
    put(QStringLiteral("cnpj.vqd"), sorted(firms));
    for (int p = 1; p <= 12; ++p) {
        QStringList lines;
        for (int k = 0; k < few; ++k) {
            const int number = (p - 1) * few + k + 1;
            const int unit = k % n;
            const int supplier = (k * 31 + p) % n;
            const qint64 price = periodCents(k, p) % 100000 + 50;
            const int quantity = 1 + k % 12;
            lines.append(record({withDigits(number, 6), pick(kUnits, k), firmName(unit), cnpj(unit),
                                 firmName(supplier), cnpj(supplier), pick(kGoods, k) + ordinal(k),
                                 moneyText(price), QString::number(quantity),
                                 moneyText(price * quantity), flag(k)}));
        }
        put(dataName(QStringLiteral("compras-"), p), lines);
    }

    // The annual revenue forecast.
    QStringList revenue;
    QStringList forecast;
    for (int i = 0; i < n; ++i) {
        revenue.append(record({revenueCode(i), revenueName(i)}));
        forecast.append(
            record({revenueCode(i), revenueName(i), moneyText(periodCents(i, 13) * 12), flag(i)}));
    }
    put(QStringLiteral("rec.vqd"), sorted(revenue));
    put(dataName(QStringLiteral("orc-anual-rec-prevista-"), 0), forecast);
}

} // namespace quelvara::sample
