#include "opendata.h"

#include "codec.h"
#include "messages.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"

#include <QFileInfo>

#include <algorithm>

namespace quelvara {

namespace {

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }

void appendCsvField(QString &out, const QString &text)
{
    const bool quoted = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u';' || c == u'"' || isControl(c);
    });
    if (!quoted) {
        out += text;
        return;
    }
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"') {
            out += u'"';
        }
        out += c;
    }
    out += u'"';
}

void appendJsonString(QString &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += u'\\';
            out += c;
        } else if (u == u'\n') {
            out += QLatin1StringView("\\n");
        } else if (u == u'\r') {
            out += QLatin1StringView("\\r");
        } else if (u == u'\t') {
            out += QLatin1StringView("\\t");
        } else if (u < 0x20 || u == 0x2028 || u == 0x2029) {
            // The two separators are valid JSON but end a line in JavaScript.
            out += QLatin1StringView("\\u");
            out += QLatin1Char(hex[(u >> 12) & 0xF]);
            out += QLatin1Char(hex[(u >> 8) & 0xF]);
            out += QLatin1Char(hex[(u >> 4) & 0xF]);
            out += QLatin1Char(hex[u & 0xF]);
        } else {
            out += c;
        }
    }
    out += u'"';
}

// A money text as a JSON number, or null when it holds no number.
void appendJsonAmount(QString &out, const QString &moneyText)
{
    const QString plain = plainAmount(moneyText);
    if (plain.isEmpty()) {
        out += QLatin1StringView("null");
        return;
    }
    for (const QChar c : plain) {
        out += c == u',' ? QChar(u'.') : c;
    }
}

void appendJsonMember(QString &out, int indent, const char *name, const QString &value,
                      bool last = false)
{
    out += QString(indent, u' ');
    out += u'"';
    out += QLatin1StringView(name);
    out += QLatin1StringView("\": ");
    appendJsonString(out, value);
    out += last ? QLatin1StringView("\n") : QLatin1StringView(",\n");
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

} // namespace

QString plainAmount(const QString &moneyText)
{
    const std::optional<double> value = MoneyValue(moneyText);
    if (!value) {
        return {};
    }
    QString text = NumberText(*value);
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0) {
        text += QStringLiteral(",00");
    } else if (comma == text.size() - 2) {
        text += u'0';
    }
    return text;
}

QString columnName(const QString &caption)
{
    QString name = caption.trimmed();
    if (name.endsWith(u':')) {
        name.chop(1);
    }
    return name.trimmed();
}

QString fieldTypeName(const PageInput &input, int j)
{
    switch (fieldShape(input, j)) {
    case FieldShape::Money:
        return QStringLiteral("valor");
    case FieldShape::Date:
        return QStringLiteral("data");
    case FieldShape::Cnpj:
        return QStringLiteral("cnpj");
    case FieldShape::AsTyped:
        break;
    }
    return QStringLiteral("texto");
}

QString isoLocalTime(const QDateTime &moment)
{
    const QDateTime local = moment.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const int magnitude = offset < 0 ? -offset : offset;
    return local.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) +
           (offset < 0 ? u'-' : u'+') + twoDigits(magnitude / 60) + u':' +
           twoDigits(magnitude % 60);
}

QByteArray buildCsv(const PageInput &input)
{
    const int n = std::max(input.fieldCount, 0);
    std::vector<bool> money(static_cast<std::size_t>(n) + 1, false);
    for (int j = 1; j <= n; ++j) {
        money[std::size_t(j)] = fieldShape(input, j) == FieldShape::Money;
    }

    QString out;
    out.reserve((input.codes.size() + 1) * (n + 1) * 16);
    for (int j = 1; j <= n; ++j) {
        appendCsvField(out, columnName(input.captions.value(j - 1)));
        out += u';';
    }
    out += QStringLiteral("Excluído do total\r\n");

    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        for (int j = 1; j <= n; ++j) {
            const QString shown = shownField(input, i, j);
            appendCsvField(out, money[std::size_t(j)] ? plainAmount(shown) : shown);
            out += u';';
        }
        out += isExcludedFromTotals(input.lines.value(i), n) ? QStringLiteral("Sim\r\n")
                                                           : QStringLiteral("Não\r\n");
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + wellFormedText(out).toUtf8();
}

QByteArray buildJson(const PageInput &input, const QDateTime &updatedAt)
{
    const int n = std::max(input.fieldCount, 0);
    std::vector<bool> money(static_cast<std::size_t>(n) + 1, false);
    for (int j = 1; j <= n; ++j) {
        money[std::size_t(j)] = fieldShape(input, j) == FieldShape::Money;
    }

    QString out;
    out.reserve(1024 + input.codes.size() * (n + 2) * 16);
    out += QLatin1StringView("{\n");
    appendJsonMember(out, 2, "municipio", input.municipalityName);
    appendJsonMember(out, 2, "uf", input.state);
    appendJsonMember(out, 2, "relatorio", input.title);
    appendJsonMember(out, 2, "prefixo", input.prefix);
    appendJsonMember(out, 2, "ano", input.year);
    appendJsonMember(out, 2, "periodo", input.period);
    appendJsonMember(out, 2, "periodo_nome", input.periodName);
    appendJsonMember(out, 2, "atualizado_em", isoLocalTime(updatedAt));

    out += QLatin1StringView("  \"campos\": [");
    for (int j = 1; j <= n; ++j) {
        out += j == 1 ? QLatin1StringView("\n    {\"nome\": ") : QLatin1StringView(",\n    {\"nome\": ");
        appendJsonString(out, columnName(input.captions.value(j - 1)));
        out += QLatin1StringView(", \"tipo\": ");
        appendJsonString(out, fieldTypeName(input, j));
        out += u'}';
    }
    out += n > 0 ? QLatin1StringView("\n  ],\n") : QLatin1StringView("],\n");

    out += QLatin1StringView("  \"itens\": [");
    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        out += i == 0 ? QLatin1StringView("\n    {\"codigo\": ")
                      : QLatin1StringView(",\n    {\"codigo\": ");
        appendJsonString(out, input.codes[i]);
        out += QLatin1StringView(", \"valores\": [");
        for (int j = 1; j <= n; ++j) {
            if (j > 1) {
                out += QLatin1StringView(", ");
            }
            const QString shown = shownField(input, i, j);
            if (money[std::size_t(j)]) {
                appendJsonAmount(out, shown);
            } else {
                appendJsonString(out, shown);
            }
        }
        out += isExcludedFromTotals(input.lines.value(i), n)
                   ? QLatin1StringView("], \"excluido\": true}")
                   : QLatin1StringView("], \"excluido\": false}");
    }
    out += input.codes.isEmpty() ? QLatin1StringView("],\n") : QLatin1StringView("\n  ],\n");

    if (input.totalRow) {
        const QStringList totals = columnTotals(input);
        out += QLatin1StringView("  \"totais\": [");
        for (int j = 1; j <= n; ++j) {
            if (j > 1) {
                out += QLatin1StringView(", ");
            }
            if (isMoneyColumn(input, j)) {
                appendJsonAmount(out, totals[j - 1]);
            } else {
                out += QLatin1StringView("null");
            }
        }
        out += QLatin1StringView("],\n");
    }

    out += QLatin1StringView("  \"responsaveis\": {\n");
    appendJsonMember(out, 4, "prefeito", input.prefeito);
    appendJsonMember(out, 4, "secretario_financas", input.secFin);
    appendJsonMember(out, 4, "contador", input.contador);
    appendJsonMember(out, 4, "crc", input.crc, true);
    out += QLatin1StringView("  }\n}\n");
    return wellFormedText(out).toUtf8();
}

FileResult writeOpenData(const PageInput &input)
{
    // A year still being typed must not create directories.
    if (!isValidYear(input.year)) {
        return FileResult::failed({});
    }
    const QString dir = pageYearDir(input.year);
    if (!makeDir(dir)) {
        return FileResult::failed(msg::cannotCreateDirectory(dir));
    }
    // The open data carry the moment of the page they stand beside, so that
    // they and the index tell the same time.
    const QFileInfo page(pageFilePath(input.year, input.prefix, input.period));
    const QDateTime updatedAt = page.exists() ? page.lastModified() : QDateTime::currentDateTime();

    const FileResult results[] = {
        writeBytes(besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".csv")),
                   buildCsv(input)),
        writeBytes(besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".json")),
                   buildJson(input, updatedAt)),
        writeIndexes(input.year, input.municipality),
    };
    for (const FileResult &result : results) {
        if (!result.ok()) {
            return result;
        }
    }
    return FileResult::done();
}

} // namespace quelvara
