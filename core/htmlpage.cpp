#include "htmlpage.h"

#include "catalogue.h"
#include "codec.h"
#include "messages.h"
#include "plainrun.h"
#include "recordfields.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"
#include "vendor.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace quelvara {

namespace {

// The page's fixed head from the closing of the title to the opening of the
// title box; the municipality follows it directly.
QString headPiece()
{
    const QStringList lines = {
        QStringLiteral(" </title>"),
        QStringLiteral(
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"),
        QStringLiteral("<style type=\"text/css\">"),
        QStringLiteral("<!--"),
        QStringLiteral("body {"),
        QStringLiteral("\tfont-size: 10pt;"),
        QStringLiteral("\tfont-family: Arial, Helvetica, sans-serif;"),
        QStringLiteral("\tfont-weight: bold;"),
        QStringLiteral("}"),
        QStringLiteral("td {"),
        QStringLiteral("\tfont-size: 10pt;"),
        QStringLiteral("\tfont-family: Arial, Helvetica, sans-serif;"),
        QStringLiteral("\tborder: 1px solid #000000;"),
        QStringLiteral("}"),
        QString(),
        QStringLiteral("-->"),
        QStringLiteral("</style>"),
        QString(),
        QStringLiteral("</head>"),
        QStringLiteral("<body topmargin=0>"),
        QStringLiteral("<table width=100%><tr><td>"),
        QStringLiteral("Para impressão, configure a página para Orientação Paisagem.<br>"),
        QStringLiteral("por <a href=\"mailto:") + vendor::kContactEmail +
            QStringLiteral("\"> Quelvara</a><br>"),
        QStringLiteral("<br>"),
        QStringLiteral("<div align=\"center\">"),
        QStringLiteral("<table width=650 bgcolor=#CCCCCC>"),
        QStringLiteral("  <tr><td><div align=\"center\"><b>"),
    };
    return lines.join(u'\n');
}

// Field j (1-based) of a list that may be shorter than the field count.
QString nth(const QStringList &list, int j)
{
    return j >= 1 && j <= list.size() ? list[j - 1] : QString();
}

QString moneyCell(const QString &text)
{
    return QStringLiteral("      <td><div align=right> &nbsp;") + text +
           QStringLiteral("</div></td>");
}

} // namespace

PageInput pageInputOf(const ReportKind &kind)
{
    PageInput input;
    input.title = kind.title;
    input.fieldCount = kind.fieldCount;
    for (int j = 1; j <= kind.fieldCount; ++j) {
        input.captions.append(kind.fields[std::size_t(j - 1)].caption);
        input.fieldTypes.append(kind.type(j));
    }
    input.totalRow = kind.totalRow;
    input.prefix = kind.prefix;
    input.category = kind.category;
    input.position = kind.position;
    return input;
}

bool isMoneyColumn(const PageInput &input, int j)
{
    return j >= 2 && j <= input.fieldTypes.size() && isMoneyType(input.fieldTypes[j - 1]);
}

bool showsFields(const RecordFields &fields) { return !fields.at(2).isEmpty(); }

QString shownField(const PageInput &input, qsizetype i, int j)
{
    if (j == 1) {
        return input.codes.value(i);
    }
    const RecordFields fields(i < input.lines.size() ? QStringView(input.lines[i]) : QStringView());
    return showsFields(fields) ? fields.at(j).toString() : QString();
}

bool isExcludedFromTotals(const RecordFields &fields, int n)
{
    const QStringView flag = fields.at(n + 1);
    return flag.size() == 1 && flag.front() == u'1';
}

namespace {

// Marks an amount that is not in the form the program writes.
constexpr std::int64_t kNoCents = std::numeric_limits<std::int64_t>::min();

} // namespace

PageRows::PageRows(const PageInput &input)
    : input_(input)
{
    const int n = std::max(input.fieldCount, 0);
    slot_.assign(std::size_t(n) + 1, -1);
    for (int j = 2; j <= n; ++j) {
        if (isMoneyColumn(input, j)) {
            slot_[std::size_t(j)] = int(money_.size());
            money_.push_back(j);
        }
    }
    std::vector<double> sums(money_.size(), 0.0);
    const qsizetype items = input.codes.size();
    first_.reserve(std::size_t(items) + 1);
    ends_.reserve(std::size_t(items) * std::size_t(n + 1));
    cents_.reserve(std::size_t(items) * money_.size());
    for (qsizetype i = 0; i < items; ++i) {
        const qsizetype first = qsizetype(ends_.size());
        first_.push_back(first);
        // Split straight into the ends kept for every item.
        const QStringView line = this->line(i);
        const char16_t *const chars = line.utf16();
        const qsizetype size = line.size();
        for (qsizetype start = 0, tab; (tab = nextTab(chars, start, size)) < size;
             start = tab + 1) {
            ends_.push_back(quint32(tab));
        }
        const RecordFields fields(line, ends_.data() + first, qsizetype(ends_.size()) - first);
        // An item showing its code alone shows no amount and counts in no
        // total; neither does one left out of the totals.
        const bool shown = showsFields(fields);
        const bool counted = shown && !isExcludedFromTotals(fields, n);
        for (std::size_t m = 0; m < money_.size(); ++m) {
            const QStringView text = shown ? fields.at(money_[m]) : QStringView();
            const std::optional<std::int64_t> cents = canonicalCents(text);
            cents_.push_back(cents.value_or(kNoCents));
            if (!counted) {
                continue;
            }
            // The cents over a hundred are what MoneyValue reads such a text as.
            if (const std::optional<double> amount =
                    cents ? std::optional<double>(double(*cents) / 100.0) : MoneyValue(text)) {
                sums[m] += *amount;
            }
        }
    }
    first_.push_back(qsizetype(ends_.size()));
    totals_ = QStringList(n);
    for (std::size_t m = 0; m < money_.size(); ++m) {
        totals_[money_[m] - 1] = AmountText(sums[m]);
    }
}

std::optional<std::int64_t> PageRows::cents(qsizetype i, int j) const
{
    const int slot = j >= 0 && j < int(slot_.size()) ? slot_[std::size_t(j)] : -1;
    if (slot < 0) {
        return std::nullopt;
    }
    const std::int64_t cents = cents_[std::size_t(i) * money_.size() + std::size_t(slot)];
    return cents == kNoCents ? std::nullopt : std::optional<std::int64_t>(cents);
}

QStringView PageRows::line(qsizetype i) const
{
    return i < input_.lines.size() ? QStringView(input_.lines[i]) : QStringView();
}

RecordFields PageRows::fields(qsizetype i) const
{
    return RecordFields(line(i), ends_.data() + first_[std::size_t(i)],
                        first_[std::size_t(i) + 1] - first_[std::size_t(i)]);
}

QStringList columnTotals(const PageInput &input) { return PageRows(input).totals(); }

FieldShape fieldShape(const PageInput &input, int j)
{
    const int type = j >= 1 && j <= input.fieldTypes.size() ? input.fieldTypes[j - 1] : Texto;
    if (isMoneyType(type)) {
        return FieldShape::Money;
    }
    const ReportKind *kind = reportKind(input.category, input.position);
    const FieldShape shape = kind && j >= 1 && j <= kind->fieldCount
                                 ? kind->fields[std::size_t(j - 1)].shape
                                 : makeField(QString(), type, j, QString()).shape;
    // The type the page was written with decides what is money, never the catalogue alone.
    return shape == FieldShape::Money ? FieldShape::AsTyped : shape;
}

QString escapeHtml(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&') {
            result += QStringLiteral("&amp;");
        } else if (c == u'<') {
            result += QStringLiteral("&lt;");
        } else if (c == u'>') {
            result += QStringLiteral("&gt;");
        } else {
            result += c;
        }
    }
    return result;
}

namespace {

constexpr QLatin1String kRowStart("    <tr>\r\n      <td> &nbsp;");
constexpr QLatin1String kCodeEnd("</td>\r\n");
constexpr QLatin1String kMoneyStart("      <td><div align=right> &nbsp;");
constexpr QLatin1String kTextStart("      <td><div align=left> &nbsp;");
constexpr QLatin1String kCellEnd("</div></td>\r\n");
constexpr QLatin1String kRowEnd("    </tr>\n\r\n");

// Writes an item's row through `page` piece by piece: its code, then its
// fields 2..n unless the page shows its code alone.
template <typename Page>
void emitRow(Page &page, const QString &code, const RecordFields &fields,
             const std::vector<bool> &money, int n)
{
    page << kRowStart << QStringView(code) << kCodeEnd;
    if (showsFields(fields)) {
        for (int j = 2; j <= n; ++j) {
            page << (money[static_cast<std::size_t>(j)] ? kMoneyStart : kTextStart) << fields.at(j)
                 << kCellEnd;
        }
    }
    page << kRowEnd;
}

// The page's entries as they go into the file: pieces of fixed ASCII text
// and escaped texts, each entry closed by CR LF.
class PageStream {
public:
    explicit PageStream(TextFileWriter &out)
        : out_(out)
    {
    }
    PageStream &operator<<(QLatin1String ascii)
    {
        out_.write(ascii);
        return *this;
    }
    // A text as escapeHtml writes it.
    PageStream &operator<<(QStringView text)
    {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c == u'&' || c == u'<' || c == u'>') {
                out_.write(text.mid(start, i - start));
                out_.write(c == u'&'   ? QLatin1String("&amp;")
                           : c == u'<' ? QLatin1String("&lt;")
                                       : QLatin1String("&gt;"));
                start = i + 1;
            }
        }
        out_.write(text.mid(start));
        return *this;
    }
    // A whole entry, already escaped.
    void entry(const QString &text)
    {
        out_.write(text);
        out_.write(QLatin1String("\r\n"));
    }
    // An item's row, composed whole as bytes and written at once: the rows
    // are the bulk of a large page. A row holding a character that must be
    // normalised first goes piece by piece, as every other text.
    void row(const QString &code, const RecordFields &fields, const std::vector<bool> &money, int n)
    {
        const bool shown = showsFields(fields);
        qsizetype most = kRowStart.size() + 5 * code.size() + kCodeEnd.size() + kRowEnd.size();
        for (int j = 2; shown && j <= n; ++j) {
            most += kMoneyStart.size() + 5 * fields.at(j).size() + kCellEnd.size();
        }
        row_.resize(most);
        char *d = putCp1252Html(putBytes(row_.data(), kRowStart.data(), kRowStart.size()), code);
        d = d ? putBytes(d, kCodeEnd.data(), kCodeEnd.size()) : d;
        for (int j = 2; d && shown && j <= n; ++j) {
            const QLatin1String start =
                money[static_cast<std::size_t>(j)] ? kMoneyStart : kTextStart;
            d = putBytes(d, start.data(), start.size());
            d = putCp1252Html(d, fields.at(j));
            d = d ? putBytes(d, kCellEnd.data(), kCellEnd.size()) : d;
        }
        if (!d) {
            emitRow(*this, code, fields, money, n);
            return;
        }
        d = putBytes(d, kRowEnd.data(), kRowEnd.size());
        out_.write(QByteArrayView(row_.constData(), d - row_.constData()));
    }

private:
    TextFileWriter &out_;
    QByteArray row_; // room for the row being composed, kept from row to row
};

// The page's entries held as texts: what the piece-by-piece writer writes,
// cut at its CR LF into the entries writePageFile joins again.
class PageEntries {
public:
    PageEntries &operator<<(QLatin1String ascii)
    {
        qsizetype start = 0;
        for (qsizetype end = ascii.indexOf(QLatin1String("\r\n")); end >= 0;
             end = ascii.indexOf(QLatin1String("\r\n"), start)) {
            current_ += ascii.sliced(start, end - start);
            entries_.append(std::exchange(current_, QString()));
            start = end + 2;
        }
        current_ += ascii.sliced(start);
        return *this;
    }
    PageEntries &operator<<(QStringView text)
    {
        current_ += escapeHtml(text.toString());
        return *this;
    }
    void entry(const QString &text)
    {
        current_ += text;
        entries_.append(std::exchange(current_, QString()));
    }
    void row(const QString &code, const RecordFields &fields, const std::vector<bool> &money, int n)
    {
        emitRow(*this, code, fields, money, n);
    }
    QStringList take() { return std::move(entries_); }

private:
    QStringList entries_;
    QString current_;
};

// Writes the page through `page`, a PageStream or PageEntries.
template <typename Page>
void emitPage(const PageInput &input, const PageRows &rows, Page &page,
              const PageRowFollower &follow = {})
{
    const int n = input.fieldCount;
    const QString title = escapeHtml(input.title);

    // The head, the headings, the signatures and the foot are small: each is
    // built whole. The rows, the bulk of a large page, go out piece by piece.
    page.entry(QStringLiteral("<html><head><title> ") + title + headPiece() +
               escapeHtml(input.municipality) + QStringLiteral(" <br>\n") + title +
               QStringLiteral("<br>\nEXERC&Iacute;CIO: ") + escapeHtml(input.year) +
               QStringLiteral(" - ") + escapeHtml(input.periodName) +
               QStringLiteral("</b></div></td></tr>\n</table>\n</div>\n<div "
                              "align=\"center\"><br>\n"));
    page.entry(QStringLiteral(
        "  <table cellspacing=0 style=\"t1\" width=1050>\n    <tr bgcolor=#CCCCCC>\n"));
    page.entry(QStringLiteral("      <td>") + escapeHtml(nth(input.captions, 1)) +
               QStringLiteral("</td>\n      <td>") + escapeHtml(nth(input.captions, 2)) +
               QStringLiteral("</td>\n      <td>") + escapeHtml(nth(input.captions, 3)) +
               QStringLiteral("</td>"));
    for (int k = 4; k <= n; ++k) {
        page.entry(QStringLiteral("      <td>") + escapeHtml(nth(input.captions, k)) +
                   QStringLiteral("</td>"));
    }

    std::vector<bool> money(static_cast<std::size_t>(std::max(n, 0)) + 1, false);
    for (int j = 2; j <= n; ++j) {
        money[static_cast<std::size_t>(j)] = isMoneyColumn(input, j);
    }
    for (qsizetype i = 0; i < input.codes.size(); ++i) {
        page.row(input.codes[i], rows.fields(i), money, n);
        if (follow) {
            follow(i);
        }
    }

    if (input.totalRow) {
        const QStringList &totals = rows.totals();
        page.entry(QStringLiteral("    <tr bgcolor=#CCCCCC>"));
        page.entry(QStringLiteral("      <td> total: </td>"));
        for (int j = 2; j <= n; ++j) {
            if (money[static_cast<std::size_t>(j)]) {
                page.entry(moneyCell(totals[j - 1]));
            } else {
                page.entry(QStringLiteral("      <td> &nbsp;</td>"));
            }
        }
        page.entry(QStringLiteral("    </tr>\n"));
    }

    const QString line31 = QString(31, u'_');
    page.entry(QStringLiteral("</table><br>  <table width=900>\n  <tr>\n      <td width=300><div "
                              "align=center><br>") +
               line31 + QStringLiteral("<br>") + escapeHtml(input.prefeito) +
               QStringLiteral("<br> (Prefeito)</div></td>\n      <td width=300><div "
                              "align=center><br>") +
               line31 + QStringLiteral("<br>") + escapeHtml(input.secFin) +
               QStringLiteral("<br> (Secret&aacute;rio de Finan&ccedil;as)</div></td>\n      <td "
                              "width=300><div align=center><br>") +
               line31 + QStringLiteral("<br>") + escapeHtml(input.contador) + u'/' +
               escapeHtml(input.crc) +
               QStringLiteral("<br>(Contador/CRC)</div></td>\n  </tr>\n  </table>"));
    page.entry(QStringLiteral("<p></div></table>\n</td></tr></table>\n</body> </html>\n"));
}

} // namespace

QStringList buildPage(const PageInput &input)
{
    PageEntries page;
    emitPage(input, PageRows(input), page);
    return page.take();
}

FileResult writePageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                         const QStringList &entries)
{
    if (const FileResult dir = makePageYearDir(ano); !dir.ok()) {
        return dir;
    }
    return writeLines(pageFilePath(ano, prefixo, periodo), entries);
}

FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input)
{
    return streamPageFile(ano, prefixo, periodo, input, PageRows(input));
}

FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input, const PageRows &rows)
{
    if (const FileResult dir = makePageYearDir(ano); !dir.ok()) {
        return dir;
    }
    return streamPageFile(ano, prefixo, periodo, input, rows, {});
}

FileResult streamPageFile(const QString &ano, const QString &prefixo, const QString &periodo,
                          const PageInput &input, const PageRows &rows,
                          const PageRowFollower &follow)
{
    TextFileWriter file(pageFilePath(ano, prefixo, periodo));
    PageStream page(file);
    emitPage(input, rows, page, follow);
    return file.commit();
}

} // namespace quelvara
