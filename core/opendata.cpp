#include "opendata.h"

#include "messages.h"
#include "plainrun.h"
#include "recordfields.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"

#include <QFileInfo>

#include <algorithm>

namespace quelvara {

namespace {

// Writes the non-ASCII unit at i (with the low surrogate after it, if it is
// the high one of a pair) as UTF-8 and moves i to its last unit; an unpaired
// surrogate, which UTF-8 cannot hold, becomes U+FFFD.
char *putUtf8Wide(char *d, const char16_t *p, qsizetype &i, qsizetype n)
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

// As putUtf8Wide, with the accented letters of Portuguese, two bytes each,
// written in place.
inline char *putUtf8(char *d, const char16_t *p, qsizetype &i, qsizetype n)
{
    if (const char16_t u = p[i]; u < 0x800) {
        *d++ = char(0xC0 | (u >> 6));
        *d++ = char(0x80 | (u & 0x3F));
        return d;
    }
    return putUtf8Wide(d, p, i, n);
}

// Writes text as UTF-8 at d, which has room for three bytes a unit (no UTF-16
// unit takes more); returns the end of what it wrote.
char *putUtf8Text(char *d, QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0;;) {
        const qsizetype run = copyPlain<Plain::Ascii>(d, p + i, n - i);
        d += run;
        i += run;
        if (i == n) {
            return d;
        }
        d = putUtf8(d, p, i, n);
        ++i;
    }
}

// Open data as they are made: gathered in an array written through a
// pointer, and handed on to the file being written, when there is one, a
// piece at a time as rows end. Writers ask for room for the most a piece may
// take and keep what it took: a QByteArray resized for every piece would cost
// more than the piece.
class OpenDataBytes {
public:
    explicit OpenDataBytes(TextFileWriter *file = nullptr)
        : file_(file)
    {
        // Streamed, room for the fullest piece, never grown by copying.
        reserve(file_ ? 2 * TextFileWriter::kPiece : 256);
    }
    OpenDataBytes(const OpenDataBytes &) = delete;
    OpenDataBytes &operator=(const OpenDataBytes &) = delete;

    bool streams() const { return file_ != nullptr; }
    void reserve(qsizetype size)
    {
        if (size > bytes_.size()) {
            bytes_.resize(size);
            data_ = bytes_.data();
        }
    }
    // Room for at most `most` bytes after those made so far; what is written
    // there counts only once kept.
    char *room(qsizetype most)
    {
        if (bytes_.size() - used_ < most) {
            reserve(std::max(used_ + most, 2 * bytes_.size()));
        }
        return data_ + used_;
    }
    // Keeps what was written into the room, up to `end`.
    void keep(const char *end) { used_ = end - data_; }

    OpenDataBytes &operator+=(QByteArrayView piece)
    {
        keep(putBytes(room(piece.size()), piece.data(), piece.size()));
        return *this;
    }
    OpenDataBytes &operator+=(const char *ascii) { return *this += QByteArrayView(ascii); }
    OpenDataBytes &operator+=(char c) { return *this += QByteArrayView(&c, 1); }

    void rowDone()
    {
        // Pieces of the writer's size go to the file without a copy.
        if (file_ && used_ >= TextFileWriter::kPiece) {
            finish();
        }
    }
    void finish()
    {
        if (file_) {
            file_->write(QByteArrayView(data_, used_));
            handed_ += used_;
            used_ = 0;
        }
    }
    // How many bytes were made, those handed to the file included.
    qsizetype size() const { return handed_ + used_; }
    // The bytes made, when they go to no file.
    QByteArray take()
    {
        bytes_.truncate(used_);
        used_ = 0;
        data_ = nullptr;
        return std::move(bytes_);
    }

private:
    TextFileWriter *file_;
    QByteArray bytes_; // its size is the room; the bytes made are the first used_
    char *data_ = nullptr;
    qsizetype used_ = 0;
    qsizetype handed_ = 0; // bytes already handed to the file
};

// One item as the page shows it: its code, then its fields unless field 2 is
// empty; and whether it counts in the totals.
struct ShownItem {
    ShownItem(const PageInput &input, const PageRows &rows, qsizetype i, int n)
        : code(input.codes[i])
        , rows(rows)
        , index(i)
        , fields(rows.fields(i))
        , shown(showsFields(fields))
        , excluded(isExcludedFromTotals(fields, n))
    {
    }

    QStringView field(int j) const
    {
        return j == 1 ? QStringView(code) : shown ? fields.at(j) : QStringView();
    }

    const QString &code;
    const PageRows &rows;
    qsizetype index;
    RecordFields fields;
    bool shown; // fields beyond the code
    bool excluded;
};

// The money texts users leave behind ("-1.234,56", "0,10") are made plain by
// dropping their dots; it gives what the numeric road gives, at a fraction of
// its cost. Writes the number at d, which has room for the text, and returns
// its end; returns nullptr, for the numeric road, for every other text.
// Leading zeros and a minus zero are left to the numeric road, which writes
// neither.
char *putPlainFast(char *d, QStringView text, char comma)
{
    const std::optional<std::int64_t> cents = canonicalCents(text);
    return cents ? putPlainCents(d, *cents, comma) : nullptr;
}

// Writes money field j of an item as putPlainFast does, from the amount the
// page's split read once; the code, in field 1, is read here.
char *putAmount(char *d, const ShownItem &item, int j, char comma)
{
    if (j == 1) {
        return putPlainFast(d, item.field(j), comma);
    }
    const std::optional<std::int64_t> cents = item.rows.cents(item.index, j);
    return cents ? putPlainCents(d, *cents, comma) : nullptr;
}

// Appends a money text as a plain number with the given decimal separator;
// returns false, appending nothing, when it holds no number.
bool appendPlainAmount(OpenDataBytes &out, QStringView text, char comma)
{
    if (const char *end = putPlainFast(out.room(text.size()), text, comma)) {
        out.keep(end);
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

// Writes a CSV field as UTF-8 at d, which has room for three bytes a unit and
// two quotes, and returns its end: quoted, with its quotes doubled, when it
// holds a separator, a quote or a control.
char *putCsvField(char *d, QStringView text)
{
    char *const begin = d;
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0;; ++i) {
        const qsizetype run = copyPlain<Plain::Csv>(d, p + i, n - i);
        d += run;
        i += run;
        if (i == n) {
            return d;
        }
        if (p[i] < 0x80) {
            break; // a separator, a quote or a control: written again, quoted
        }
        d = putUtf8(d, p, i, n);
    }
    d = begin;
    *d++ = '"';
    qsizetype start = 0;
    for (qsizetype quote = text.indexOf(u'"'); quote >= 0; quote = text.indexOf(u'"', start)) {
        d = putUtf8Text(d, text.mid(start, quote + 1 - start));
        *d++ = '"';
        start = quote + 1;
    }
    d = putUtf8Text(d, text.mid(start));
    *d++ = '"';
    return d;
}

void appendCsvField(OpenDataBytes &out, QStringView text)
{
    out.keep(putCsvField(out.room(3 * text.size() + 2), text));
}

// Writes a JSON string as UTF-8 at d, which has room for six bytes a unit
// ("\u001f") and the two quotes, and returns its end.
char *putJsonString(char *d, QStringView text)
{
    static const char hex[] = "0123456789abcdef";
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    *d++ = '"';
    for (qsizetype i = 0;; ++i) {
        const qsizetype run = copyPlain<Plain::Json>(d, p + i, n - i);
        d += run;
        i += run;
        if (i == n) {
            break;
        }
        const char16_t u = p[i];
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
    return d;
}

void appendJsonString(OpenDataBytes &out, QStringView text)
{
    out.keep(putJsonString(out.room(6 * text.size() + 2), text));
}

void appendJsonAmount(OpenDataBytes &out, QStringView moneyText)
{
    if (!appendPlainAmount(out, moneyText, '.')) {
        out += "null";
    }
}

void appendJsonMember(OpenDataBytes &out, const char *indent, const char *name,
                      const QString &value, bool last = false)
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

QByteArrayView excludedCsv(const ShownItem &item)
{
    return item.excluded ? QByteArrayView("Sim\r\n") : QByteArrayView("N\xC3\xA3o\r\n");
}

QByteArrayView excludedJson(const ShownItem &item)
{
    return item.excluded ? QByteArrayView("], \"excluido\": true}")
                         : QByteArrayView("], \"excluido\": false}");
}

constexpr QByteArrayView kValues(", \"valores\": [");

char *putBytes(char *d, QByteArrayView bytes)
{
    return quelvara::putBytes(d, bytes.data(), bytes.size());
}

// Writes at d, as a JSON string, a text whose CSV field was just written at
// [from, to): UTF-8 alike in both, unless the CSV quoted it or it holds a
// backslash, which only JSON marks. Returns nullptr for those, to be written
// from the text. (JSON's other marks are for controls, which the CSV quotes,
// and the line and paragraph separators, which no Windows-1252 text has: a
// page holding one fails, and its open data are not kept.)
char *jsonStringFromCsv(char *d, const char *from, const char *to)
{
    const std::size_t size = std::size_t(to - from);
    if (size > 0 && (*from == '"' || std::memchr(from, '\\', size))) {
        return nullptr;
    }
    *d++ = '"';
    d = quelvara::putBytes(d, from, qsizetype(size));
    *d++ = '"';
    return d;
}

// Writes at d the amount whose CSV number was just written at [from, to),
// with a point for its comma.
char *jsonAmountFromCsv(char *d, const char *from, const char *to)
{
    char *const begin = d;
    d = quelvara::putBytes(d, from, to - from);
    if (auto *comma = static_cast<char *>(std::memchr(begin, ',', std::size_t(d - begin)))) {
        *comma = '.';
    }
    return d;
}

// The rows, the bulk of the open data, are each written through one room of
// the most they may take, an item's CSV and JSON rows together when both are
// written: each field is turned into UTF-8 once, for the CSV, and its bytes
// serve the JSON as they are wherever both formats write them alike. A row
// with an amount that only the numeric road reads is not written here (false,
// keeping nothing), and comes out piece by piece instead.
bool putRows(OpenDataBytes *csv, OpenDataBytes *json, QByteArrayView start, const ShownItem &item,
             const std::vector<bool> &money, int n)
{
    qsizetype text = 0;
    for (int j = 1; j <= n; ++j) {
        text += item.field(j).size();
    }
    char *c = csv ? csv->room(excludedCsv(item).size() + 3 * text + 3 * qsizetype(n)) : nullptr;
    char *d = nullptr;
    QByteArrayView codeString;
    if (json) {
        char *const code =
            putBytes(json->room(start.size() + 6 * item.code.size() + 2 + kValues.size() +
                                excludedJson(item).size() + 6 * text + 4 * qsizetype(n)),
                     start);
        d = putJsonString(code, item.code);
        // Field 1 is the code again: its string is copied from where it was just written.
        codeString = QByteArrayView(code, d - code);
        d = putBytes(d, kValues);
    }
    for (int j = 1; j <= n; ++j) {
        const bool amount = money[std::size_t(j)];
        const char *const from = c;
        if (c) {
            c = amount ? putAmount(c, item, j, ',') : putCsvField(c, item.field(j));
            if (!c) {
                return false;
            }
        }
        if (d) {
            if (j > 1) {
                d = putBytes(d, ", ");
            }
            if (amount) {
                d = c ? jsonAmountFromCsv(d, from, c) : putAmount(d, item, j, '.');
                if (!d) {
                    return false;
                }
            } else if (j == 1) {
                d = putBytes(d, codeString);
            } else {
                char *const shared = c ? jsonStringFromCsv(d, from, c) : nullptr;
                d = shared ? shared : putJsonString(d, item.field(j));
            }
        }
        if (c) {
            *c++ = ';';
        }
    }
    if (csv) {
        csv->keep(putBytes(c, excludedCsv(item)));
    }
    if (json) {
        json->keep(putBytes(d, excludedJson(item)));
    }
    return true;
}

void csvHead(const PageInput &input, int n, OpenDataBytes &out)
{
    if (!out.streams()) {
        out.reserve(qsizetype(input.lines.size() + 1) * 16 * (n + 1));
    }
    out += "\xEF\xBB\xBF";
    for (int j = 1; j <= n; ++j) {
        appendCsvField(out, columnName(input.captions.value(j - 1)));
        out += ';';
    }
    out += "Exclu\xC3\xAD"
           "do do total\r\n";
}

// Writes a CSV row piece by piece, for a row putRows leaves.
void csvRow(const ShownItem &item, const std::vector<bool> &money, int n, OpenDataBytes &out)
{
    for (int j = 1; j <= n; ++j) {
        const QStringView shown = item.field(j);
        if (money[std::size_t(j)]) {
            appendPlainAmount(out, shown, ',');
        } else {
            appendCsvField(out, shown);
        }
        out += ';';
    }
    out += excludedCsv(item);
}

// Writes the JSON's head; returns where its time stamp stands, for a stamp of
// the same length to be written over it.
qsizetype jsonHead(const PageInput &input, QByteArrayView stamp, int n, OpenDataBytes &out)
{
    if (!out.streams()) {
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
    out += "  \"atualizado_em\": \"";
    const qsizetype stampAt = out.size();
    out += stamp; // digits and signs: nothing to escape
    out += "\",\n";

    out += "  \"campos\": [";
    for (int j = 1; j <= n; ++j) {
        out += j == 1 ? "\n    {\"nome\": " : ",\n    {\"nome\": ";
        appendJsonString(out, columnName(input.captions.value(j - 1)));
        out += ", \"tipo\": ";
        appendJsonString(out, fieldTypeName(input, j));
        out += '}';
    }
    out += n > 0 ? "\n  ],\n" : "],\n";

    out += "  \"itens\": [";
    return stampAt;
}

QByteArrayView jsonRowStart(qsizetype i)
{
    return i == 0 ? QByteArrayView("\n    {\"codigo\": ") : QByteArrayView(",\n    {\"codigo\": ");
}

// Writes a JSON row piece by piece, for a row putRows leaves.
void jsonRow(qsizetype i, const ShownItem &item, const std::vector<bool> &money, int n,
             OpenDataBytes &out)
{
    out += jsonRowStart(i);
    appendJsonString(out, item.code);
    out += kValues;
    for (int j = 1; j <= n; ++j) {
        if (j > 1) {
            out += ", ";
        }
        if (money[std::size_t(j)]) {
            appendJsonAmount(out, item.field(j));
        } else {
            appendJsonString(out, item.field(j));
        }
    }
    out += excludedJson(item);
}

void jsonFoot(const PageInput &input, const PageRows &rows, int n, OpenDataBytes &out)
{
    out += input.codes.isEmpty() ? "],\n" : "\n  ],\n";

    if (input.totalRow) {
        const QStringList &totals = rows.totals();
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
}

// Writes the CSV and the JSON, or either, a row of each at a time: each item
// is read once for both, while it is still at hand, where a pass for each
// would read every item's text twice.
class OpenDataRows {
public:
    OpenDataRows(const PageInput &input, const PageRows &rows, OpenDataBytes *csv,
                 OpenDataBytes *json)
        : input_(input)
        , rows_(rows)
        , n_(std::max(input.fieldCount, 0))
        , money_(moneyFields(input, n_))
        , csv_(csv)
        , json_(json)
    {
    }

    // Writes the heads, the JSON stamped with the moment given as
    // isoLocalTime writes it; returns where that stamp stands.
    qsizetype head(QByteArrayView stamp)
    {
        if (csv_) {
            csvHead(input_, n_, *csv_);
        }
        return json_ ? jsonHead(input_, stamp, n_, *json_) : 0;
    }
    void row(qsizetype i)
    {
        const ShownItem item(input_, rows_, i, n_);
        if (!putRows(csv_, json_, jsonRowStart(i), item, money_, n_)) {
            if (csv_) {
                csvRow(item, money_, n_, *csv_);
            }
            if (json_) {
                jsonRow(i, item, money_, n_, *json_);
            }
        }
        if (csv_) {
            csv_->rowDone();
        }
        if (json_) {
            json_->rowDone();
        }
    }
    void foot()
    {
        if (json_) {
            jsonFoot(input_, rows_, n_, *json_);
            json_->finish();
        }
        if (csv_) {
            csv_->finish();
        }
    }

private:
    const PageInput &input_;
    const PageRows &rows_;
    const int n_;
    const std::vector<bool> money_;
    OpenDataBytes *csv_;
    OpenDataBytes *json_;
};

// Returns the CSV, or the JSON with its time stamp, as bytes.
QByteArray buildOpenData(const PageInput &input, QByteArrayView stamp, bool json)
{
    const PageRows rows(input);
    OpenDataBytes bytes;
    OpenDataRows out(input, rows, json ? nullptr : &bytes, json ? &bytes : nullptr);
    out.head(stamp);
    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        out.row(i);
    }
    out.foot();
    return bytes.take();
}

// The CSV and the JSON beside a page, going to their files as they are made:
// a page of 100,000 rows has open data of 10 MB and more. Each replaces its
// file through the same crash-safe replace as writeBytes.
class OpenDataFiles {
public:
    // Starts both files, stamped for now with the moment they are begun.
    OpenDataFiles(const PageInput &input, const PageRows &rows)
        : input_(input)
        , stamp_(isoLocalTime(QDateTime::currentDateTime()).toLatin1())
        , csvFile_(besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".csv")))
        , jsonFile_(besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".json")))
        , csv_(&csvFile_)
        , json_(&jsonFile_)
        , rows_(input, rows, &csv_, &json_)
        , stampAt_(rows_.head(stamp_))
    {
    }

    void row(qsizetype i) { rows_.row(i); }

    // Ends both files, stamps the JSON with the moment of the page they stand
    // beside, so that they and the index tell the same time, and puts them in
    // place, the CSV first; then the indexes, if asked. A failed file does not
    // stop the others; the first failure is the one returned.
    FileResult commit(bool withIndexes)
    {
        rows_.foot();
        // Without a page they keep the moment they were begun. The stamp is
        // always written, the same steps whatever the clock; one of another
        // length (a clock past the year 9999) keeps that moment too.
        const QFileInfo page(pageFilePath(input_.year, input_.prefix, input_.period));
        const QByteArray stamp =
            page.exists() ? isoLocalTime(page.lastModified()).toLatin1() : stamp_;
        jsonFile_.overwrite(stampAt_, stamp.size() == stamp_.size() ? stamp : stamp_);
        const FileResult results[] = {
            csvFile_.commit(),
            jsonFile_.commit(),
            withIndexes ? writeIndexes(input_.year, input_.municipality) : FileResult::done(),
        };
        for (const FileResult &result : results) {
            if (!result.ok()) {
                return result;
            }
        }
        return FileResult::done();
    }

private:
    const PageInput &input_;
    const QByteArray stamp_; // the moment they were begun, as the JSON first holds it
    TextFileWriter csvFile_;
    TextFileWriter jsonFile_;
    OpenDataBytes csv_;
    OpenDataBytes json_;
    OpenDataRows rows_;
    const qsizetype stampAt_;
};

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

QByteArray buildCsv(const PageInput &input) { return buildOpenData(input, {}, false); }

QByteArray buildJson(const PageInput &input, const QDateTime &updatedAt)
{
    return buildOpenData(input, isoLocalTime(updatedAt).toLatin1(), true);
}

FileResult writeOpenData(const PageInput &input, bool withIndexes)
{
    return writeOpenData(input, withIndexes, PageRows(input));
}

FileResult writeOpenData(const PageInput &input, bool withIndexes, const PageRows &rows)
{
    if (const FileResult dir = makePageYearDir(input.year); !dir.ok()) {
        return dir;
    }
    OpenDataFiles files(input, rows);
    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        files.row(i);
    }
    return files.commit(withIndexes);
}

FileResult writePageAndOpenData(const PageInput &input, bool withIndexes, const PageRows &rows)
{
    // The folder is made once, for the page and the files beside it.
    if (const FileResult dir = makePageYearDir(input.year); !dir.ok()) {
        return dir;
    }
    // Each item's row of the CSV and JSON is made as its page row is, while its
    // text is at hand. Their time stamp, the page's own, is known only once
    // the page is in place: the JSON keeps room for it and is stamped then.
    OpenDataFiles files(input, rows);
    const FileResult page = streamPageFile(input.year, input.prefix, input.period, input, rows,
                                           [&files](qsizetype i) { files.row(i); });
    // Open data never stand beside a page that failed: theirs are dropped.
    return page.ok() ? files.commit(withIndexes) : page;
}

} // namespace quelvara
