#include "opendata.h"

#include "messages.h"
#include "recordfields.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"

#include <QFileInfo>

#include <algorithm>

namespace quelvara {

namespace {

bool isControl(char16_t u) { return u < 0x20 || u == 0x7F; }

// Writes the non-ASCII unit at i (with the low surrogate after it, if it is
// the high one of a pair) as UTF-8 and moves i to its last unit; an unpaired
// surrogate, which UTF-8 cannot hold, becomes U+FFFD.
char *putUtf8(char *d, const char16_t *p, qsizetype &i, qsizetype n)
{
    char32_t u = p[i];
    if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
        u = QChar::surrogateToUcs4(char16_t(u), p[++i]);
    } else if (QChar::isSurrogate(u)) {
        u = QChar::ReplacementCharacter;
    }
    if (u < 0x800) {
        *d++ = char(0xC0 | (u >> 6));
    } else if (u < 0x10000) {
        *d++ = char(0xE0 | (u >> 12));
        *d++ = char(0x80 | ((u >> 6) & 0x3F));
    } else {
        *d++ = char(0xF0 | (u >> 18));
        *d++ = char(0x80 | ((u >> 12) & 0x3F));
        *d++ = char(0x80 | ((u >> 6) & 0x3F));
    }
    *d++ = char(0x80 | (u & 0x3F));
    return d;
}

// Appends text as UTF-8, written straight into the array's room: a UTF-16
// unit never takes more than three bytes.
void appendUtf8(QByteArray &out, QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    const qsizetype start = out.size();
    out.resize(start + 3 * n);
    char *d = out.data() + start;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] < 0x80) {
            *d++ = char(p[i]);
        } else {
            d = putUtf8(d, p, i, n);
        }
    }
    out.resize(d - out.constData());
}

// Open data are made of short pieces, appended by copying.
void put(QByteArray &out, QByteArrayView bytes) { appendBytes(out, bytes); }

void put(QByteArray &out, char c) { appendBytes(out, QByteArrayView(&c, 1)); }

// One item as the page shows it: its code, then its fields unless field 2 is
// empty; and whether it counts in the totals.
struct ShownItem {
    ShownItem(const PageInput &input, qsizetype i, int n)
        : code(input.codes[i])
        , fields(i < input.lines.size() ? QStringView(input.lines[i]) : QStringView())
        , shown(showsFields(fields))
        , excluded(isExcludedFromTotals(fields, n))
    {
    }

    QStringView field(int j) const
    {
        return j == 1 ? QStringView(code) : shown ? fields.at(j) : QStringView();
    }

    const QString &code;
    RecordFields fields;
    bool shown; // fields beyond the code
    bool excluded;
};

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The money texts users leave behind ("-1.234,56", "0,10") are made plain by
// dropping their dots; it gives what the numeric road gives, at a fraction of
// its cost. Returns false for every other text.
bool appendPlainFast(QByteArray &out, QStringView text, char comma)
{
    const qsizetype n = text.size();
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    const qsizetype commaAt = n - 3;
    if (commaAt <= i || text[commaAt] != u',' || !isDigit(text[n - 2]) || !isDigit(text[n - 1])) {
        return false;
    }
    // The integer part: 0, or digits without a leading zero grouped by dots in threes.
    const QStringView integer = text.mid(i, commaAt - i);
    int digits = 0;
    for (qsizetype k = 0; k < integer.size(); ++k) {
        const bool dotPlace = (integer.size() - k) % 4 == 0;
        if (dotPlace ? integer[k] != u'.' : !isDigit(integer[k])) {
            return false;
        }
        digits += dotPlace ? 0 : 1;
    }
    if (digits == 0 || !isDigit(integer[0]) || (integer[0] == u'0' && integer.size() > 1) ||
        digits + 2 > 15 ||
        (i == 1 && integer == u"0" && text[n - 2] == u'0' && text[n - 1] == u'0')) {
        return false; // leading zeros, beyond a double's digits, or minus zero
    }
    // Without its dots the number is never longer than the text.
    const qsizetype at = out.size();
    out.resize(at + n);
    char *d = out.data() + at;
    if (i == 1) {
        *d++ = '-';
    }
    for (const QChar c : integer) {
        if (c != u'.') {
            *d++ = char(c.unicode());
        }
    }
    *d++ = comma;
    *d++ = char(text[n - 2].unicode());
    *d++ = char(text[n - 1].unicode());
    out.resize(d - out.constData());
    return true;
}

// Appends a money text as a plain number with the given decimal separator;
// returns false, appending nothing, when it holds no number.
bool appendPlainAmount(QByteArray &out, QStringView text, char comma)
{
    if (appendPlainFast(out, text, comma)) {
        return true;
    }
    const QString plain = plainAmount(text.toString());
    if (plain.isEmpty()) {
        return false;
    }
    for (const QChar c : plain) {
        out += c == u',' ? comma : char(c.unicode());
    }
    return true;
}

void appendCsvField(QByteArray &out, QStringView text)
{
    const bool quoted = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u';' || c == u'"' || isControl(c.unicode());
    });
    if (!quoted) {
        appendUtf8(out, text);
        return;
    }
    put(out, '"');
    qsizetype start = 0;
    for (qsizetype quote = text.indexOf(u'"'); quote >= 0; quote = text.indexOf(u'"', start)) {
        appendUtf8(out, text.mid(start, quote + 1 - start));
        put(out, '"');
        start = quote + 1;
    }
    appendUtf8(out, text.mid(start));
    put(out, '"');
}

// Appends a JSON string in one pass straight into the array's room.
void appendJsonString(QByteArray &out, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    const qsizetype start = out.size();
    // No unit takes more than six bytes ("\u001f"); then the two quotes.
    out.resize(start + 6 * n + 2);
    char *d = out.data() + start;
    *d++ = '"';
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (u >= 0x20 && u < 0x80 && u != u'"' && u != u'\\') {
            *d++ = char(u);
            continue;
        }
        if (u >= 0x80 && u != 0x2028 && u != 0x2029) {
            d = putUtf8(d, p, i, n);
            continue;
        }
        *d++ = '\\';
        switch (u) {
        case u'"':
        case u'\\':
            *d++ = char(u);
            break;
        case u'\n':
            *d++ = 'n';
            break;
        case u'\r':
            *d++ = 'r';
            break;
        case u'\t':
            *d++ = 't';
            break;
        default:
            // Other controls, and the two separators that are valid JSON but
            // end a line in JavaScript.
            *d++ = 'u';
            *d++ = hex[(u >> 12) & 0xF];
            *d++ = hex[(u >> 8) & 0xF];
            *d++ = hex[(u >> 4) & 0xF];
            *d++ = hex[u & 0xF];
        }
    }
    *d++ = '"';
    out.resize(d - out.constData());
}

void appendJsonAmount(QByteArray &out, QStringView moneyText)
{
    if (!appendPlainAmount(out, moneyText, '.')) {
        put(out, "null");
    }
}

void appendJsonMember(QByteArray &out, const char *indent, const char *name, const QString &value,
                      bool last = false)
{
    out += indent;
    out += '"';
    out += name;
    out += "\": ";
    appendJsonString(out, value);
    out += last ? "\n" : ",\n";
}

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// Which of fields 1..N hold money, counted from index 1.
std::vector<bool> moneyFields(const PageInput &input, int n)
{
    std::vector<bool> money(static_cast<std::size_t>(n) + 1, false);
    for (int j = 1; j <= n; ++j) {
        money[std::size_t(j)] = fieldShape(input, j) == FieldShape::Money;
    }
    return money;
}

// Open data as they are made: gathered in `out`, and handed on to the file
// being written, when there is one, a piece at a time as rows end.
class OpenDataBytes {
public:
    explicit OpenDataBytes(TextFileWriter *file = nullptr)
        : file_(file)
    {
    }
    bool streams() const { return file_ != nullptr; }
    void rowDone()
    {
        if (file_ && out.size() >= kPiece) {
            finish();
        }
    }
    void finish()
    {
        if (file_) {
            file_->write(QByteArrayView(out));
            out.resize(0);
        }
    }

    QByteArray out;

private:
    static constexpr qsizetype kPiece = 64 * 1024;
    TextFileWriter *file_;
};

void emitCsv(const PageInput &input, OpenDataBytes &bytes)
{
    const int n = std::max(input.fieldCount, 0);
    const std::vector<bool> money = moneyFields(input, n);
    QByteArray &out = bytes.out;

    if (!bytes.streams()) {
        out.reserve(qsizetype(input.lines.size() + 1) * 16 * (n + 1));
    }
    out += "\xEF\xBB\xBF";
    for (int j = 1; j <= n; ++j) {
        appendCsvField(out, columnName(input.captions.value(j - 1)));
        out += ';';
    }
    out += "Exclu\xC3\xAD"
           "do do total\r\n";

    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        const ShownItem item(input, i, n);
        for (int j = 1; j <= n; ++j) {
            const QStringView shown = item.field(j);
            if (money[std::size_t(j)]) {
                appendPlainAmount(out, shown, ',');
            } else {
                appendCsvField(out, shown);
            }
            put(out, ';');
        }
        put(out, item.excluded ? QByteArrayView("Sim\r\n") : QByteArrayView("N\xC3\xA3o\r\n"));
        bytes.rowDone();
    }
    bytes.finish();
}

void emitJson(const PageInput &input, const QDateTime &updatedAt, OpenDataBytes &bytes)
{
    const int n = std::max(input.fieldCount, 0);
    const std::vector<bool> money = moneyFields(input, n);
    QByteArray &out = bytes.out;

    if (!bytes.streams()) {
        out.reserve(1024 + qsizetype(input.lines.size()) * 20 * (n + 2));
    }
    out += "{\n";
    appendJsonMember(out, "  ", "municipio", input.municipalityName);
    appendJsonMember(out, "  ", "uf", input.state);
    appendJsonMember(out, "  ", "relatorio", input.title);
    appendJsonMember(out, "  ", "prefixo", input.prefix);
    appendJsonMember(out, "  ", "ano", input.year);
    appendJsonMember(out, "  ", "periodo", input.period);
    appendJsonMember(out, "  ", "periodo_nome", input.periodName);
    appendJsonMember(out, "  ", "atualizado_em", isoLocalTime(updatedAt));

    out += "  \"campos\": [";
    for (int j = 1; j <= n; ++j) {
        out += j == 1 ? "\n    {\"nome\": " : ",\n    {\"nome\": ";
        appendJsonString(out, columnName(input.captions.value(j - 1)));
        out += ", \"tipo\": ";
        appendJsonString(out, fieldTypeName(input, j));
        out += '}';
    }
    out += n > 0 ? "\n  ],\n" : "],\n";

    // Summed on the way through the items rather than in a second pass.
    ColumnSums sums(input);

    out += "  \"itens\": [";
    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        const ShownItem item(input, i, n);
        put(out, i == 0 ? QByteArrayView("\n    {\"codigo\": ")
                        : QByteArrayView(",\n    {\"codigo\": "));
        appendJsonString(out, item.code);
        put(out, ", \"valores\": [");
        for (int j = 1; j <= n; ++j) {
            if (j > 1) {
                put(out, ", ");
            }
            if (money[std::size_t(j)]) {
                appendJsonAmount(out, item.field(j));
            } else {
                appendJsonString(out, item.field(j));
            }
        }
        put(out, item.excluded ? QByteArrayView("], \"excluido\": true}")
                               : QByteArrayView("], \"excluido\": false}"));
        sums.add(item.fields);
        bytes.rowDone();
    }
    out += input.codes.isEmpty() ? "],\n" : "\n  ],\n";

    if (input.totalRow) {
        const QStringList totals = sums.totals();
        out += "  \"totais\": [";
        for (int j = 1; j <= n; ++j) {
            if (j > 1) {
                out += ", ";
            }
            if (isMoneyColumn(input, j)) {
                appendJsonAmount(out, totals[j - 1]);
            } else {
                out += "null";
            }
        }
        out += "],\n";
    }

    out += "  \"responsaveis\": {\n";
    appendJsonMember(out, "    ", "prefeito", input.prefeito);
    appendJsonMember(out, "    ", "secretario_financas", input.secFin);
    appendJsonMember(out, "    ", "contador", input.contador);
    appendJsonMember(out, "    ", "crc", input.crc, true);
    out += "  }\n}\n";
    bytes.finish();
}

// Writes one open-data file straight from its emitter, through the same
// crash-safe replace and with the same results as writeBytes.
template <typename Emit>
FileResult streamOpenData(const QString &path, Emit write)
{
    TextFileWriter file(path);
    OpenDataBytes bytes(&file);
    write(bytes);
    return file.commit();
}

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
    return local.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
           twoDigits(magnitude / 60) + u':' + twoDigits(magnitude % 60);
}

QByteArray buildCsv(const PageInput &input)
{
    OpenDataBytes bytes;
    emitCsv(input, bytes);
    return bytes.out;
}

QByteArray buildJson(const PageInput &input, const QDateTime &updatedAt)
{
    OpenDataBytes bytes;
    emitJson(input, updatedAt, bytes);
    return bytes.out;
}

FileResult writeOpenData(const PageInput &input, bool withIndexes)
{
    if (const FileResult dir = makePageYearDir(input.year); !dir.ok()) {
        return dir;
    }
    // The open data carry the moment of the page they stand beside, so that
    // they and the index tell the same time.
    const QFileInfo page(pageFilePath(input.year, input.prefix, input.period));
    const QDateTime updatedAt = page.exists() ? page.lastModified() : QDateTime::currentDateTime();

    // A page of 100,000 rows has open data of 10 MB and more: they go to
    // their files as they are made.
    const FileResult results[] = {
        streamOpenData(
            besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".csv")),
            [&input](OpenDataBytes &bytes) { emitCsv(input, bytes); }),
        streamOpenData(
            besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".json")),
            [&input, &updatedAt](OpenDataBytes &bytes) { emitJson(input, updatedAt, bytes); }),
        withIndexes ? writeIndexes(input.year, input.municipality) : FileResult::done(),
    };
    for (const FileResult &result : results) {
        if (!result.ok()) {
            return result;
        }
    }
    return FileResult::done();
}

} // namespace quelvara
