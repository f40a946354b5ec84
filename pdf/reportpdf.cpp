#include "reportpdf.h"

#include "codec.h"
#include "messages.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "textfile.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <vector>

namespace quelvara {

namespace {

// Ten device units to the point: fine enough for exact text metrics.
constexpr int kResolution = 720;

double points(double pt) { return pt * kResolution / 72.0; }

const double kPad = points(2.5);      // inside a cell, around its text
const double kGap = points(8);        // between the head, the table and the signatures
const double kSignSpace = points(36); // above a signature line, room to sign
const double kMinColumn = points(28); // no column narrower than this

// A text fit for drawing: line breaks as line separators, other controls out.
QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const QString whole = wellFormedText(text);
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < whole.size() && whole[i + 1] == u'\n') {
                ++i;
            }
            out += QChar::LineSeparator;
        } else if (c == u'\t') {
            out += u' ';
        } else if (c.unicode() >= 0x20 && (c.unicode() < 0x7F || c.unicode() > 0x9F)) {
            out += c;
        }
    }
    return out;
}

// A block of text laid out in a width: wrapped at words, or anywhere in a word
// longer than the width.
class TextBlock {
public:
    TextBlock(const QString &text, const QFont &font, QPaintDevice *device, double width,
              Qt::Alignment alignment)
        : layout_(printable(text), font, device)
    {
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_.setTextOption(option);
        layout_.setCacheEnabled(true);
        layout_.beginLayout();
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_.endLayout();
    }

    double height() const { return height_; }

    void draw(QPainter &painter, QPointF at) const { layout_.draw(&painter, at); }

private:
    QTextLayout layout_;
    double height_ = 0;
};

struct Fonts {
    QFont body;
    QFont bold;
    QFont head;
    QFont small;
};

Fonts makeFonts()
{
    // DejaVu Sans holds every Windows-1252 letter and is installed with the
    // program; any other sans-serif font stands in where it is missing.
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setStyleHint(QFont::SansSerif);
    body.setPointSizeF(7.5);
    Fonts fonts{body, body, body, body};
    fonts.bold.setBold(true);
    fonts.head.setBold(true);
    fonts.head.setPointSizeF(10);
    fonts.small.setPointSizeF(7);
    return fonts;
}

// The table's rows: the heading row, the items, the total row.
struct Table {
    int columns = 0;
    QStringList headings;
    std::vector<Qt::Alignment> alignment;
    QStringList totals; // empty when the kind has no total row
};

Table makeTable(const PageInput &input)
{
    Table table;
    table.columns = std::max(input.fieldCount, 1);
    for (int j = 1; j <= table.columns; ++j) {
        table.headings.append(input.captions.value(j - 1));
        table.alignment.push_back(isMoneyColumn(input, j) ? Qt::AlignRight : Qt::AlignLeft);
    }
    if (input.totalRow) {
        table.totals = columnTotals(input);
        while (table.totals.size() < table.columns) {
            table.totals.append(QString());
        }
        table.totals[0] = QStringLiteral("total:");
    }
    return table;
}

QString rowCell(const PageInput &input, const Table &table, qsizetype row, int j)
{
    if (row < input.codes.size()) {
        return shownField(input, row, j);
    }
    return table.totals.value(j - 1);
}

// Column widths that fill the width: each column asks for its widest text on
// one line; columns asking less than a fair share get what they ask, the rest
// share what is left.
std::vector<double> columnWidths(const PageInput &input, const Table &table, const Fonts &fonts,
                                 QPaintDevice *device, double width)
{
    const int n = table.columns;
    const QFontMetricsF body(fonts.body, device);
    const QFontMetricsF bold(fonts.bold, device);
    std::vector<double> wanted(std::size_t(n), kMinColumn);
    const qsizetype rows = input.codes.size() + (input.totalRow ? 1 : 0);
    for (int j = 1; j <= n; ++j) {
        double &w = wanted[std::size_t(j - 1)];
        // A heading wraps at its words: its longest word is what it needs.
        for (const QString &word : printable(table.headings[j - 1]).split(u' ')) {
            w = std::max(w, bold.horizontalAdvance(word) + 2 * kPad);
        }
        for (qsizetype r = 0; r < rows; ++r) {
            const QFontMetricsF &metrics = r < input.codes.size() ? body : bold;
            w = std::max(w, metrics.horizontalAdvance(printable(rowCell(input, table, r, j))) +
                                2 * kPad);
        }
    }

    std::vector<double> widths(std::size_t(n), 0);
    std::vector<bool> settled(std::size_t(n), false);
    double left = width;
    int open = n;
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const double share = left / open;
        for (std::size_t j = 0; j < std::size_t(n); ++j) {
            if (!settled[j] && wanted[j] <= share) {
                widths[j] = wanted[j];
                settled[j] = true;
                left -= wanted[j];
                --open;
                changed = true;
            }
        }
    }
    double used = 0;
    for (std::size_t j = 0; j < std::size_t(n); ++j) {
        if (!settled[j]) {
            widths[j] = left / open;
        }
        used += widths[j];
    }
    // Room to spare goes to every column in proportion.
    for (double &w : widths) {
        w *= width / used;
    }
    return widths;
}

// The sheets: which rows each holds, the last one with the signatures.
struct Sheet {
    qsizetype first = 0;
    qsizetype end = 0;
};

class ReportPrinter {
public:
    ReportPrinter(const PageInput &input, QPdfWriter &writer)
        : input_(input)
        , writer_(writer)
        , fonts_(makeFonts())
        , table_(makeTable(input))
        , width_(writer.width())
        , height_(writer.height())
    {
        widths_ = columnWidths(input_, table_, fonts_, &writer_, width_);
        const QString period =
            input_.periodName.isEmpty() ? QString() : QStringLiteral(" - ") + input_.periodName;
        headTexts_ = {input_.municipality, input_.title,
                      QStringLiteral("EXERCÍCIO: ") + input_.year + period};
        headHeight_ = 0;
        for (const QString &text : headTexts_) {
            headHeight_ += block(text, fonts_.head, width_, Qt::AlignHCenter)->height();
        }
        headingHeight_ = rowHeight(-1);
        footHeight_ = QFontMetricsF(fonts_.small, &writer_).height();
        bodyHeight_ = height_ - (headHeight_ + kGap + headingHeight_) - kGap - footHeight_;
        signatureHeight_ = kGap + kSignSpace + 3 * QFontMetricsF(fonts_.body, &writer_).height();
    }

    void print()
    {
        const std::vector<Sheet> sheets = paginate();
        QPainter painter(&writer_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (std::size_t s = 0; s < sheets.size(); ++s) {
            if (s > 0) {
                writer_.newPage();
            }
            drawHead(painter);
            double y = headHeight_ + kGap;
            y += drawRow(painter, -1, y);
            for (qsizetype r = sheets[s].first; r < sheets[s].end; ++r) {
                y += drawRow(painter, r, y);
            }
            if (s + 1 == sheets.size()) {
                drawSignatures(painter, y + kGap);
            }
            drawFoot(painter, int(s) + 1, int(sheets.size()));
        }
    }

private:
    std::unique_ptr<TextBlock> block(const QString &text, const QFont &font, double width,
                                     Qt::Alignment alignment) const
    {
        return std::make_unique<TextBlock>(text, font, &writer_, width, alignment);
    }

    qsizetype rowCount() const { return input_.codes.size() + (input_.totalRow ? 1 : 0); }

    bool isTotalRow(qsizetype row) const { return row >= input_.codes.size(); }

    QString cellText(qsizetype row, int j) const
    {
        return row < 0 ? table_.headings[j - 1] : rowCell(input_, table_, row, j);
    }

    const QFont &cellFont(qsizetype row) const
    {
        return row < 0 || isTotalRow(row) ? fonts_.bold : fonts_.body;
    }

    // The height of a row (-1 the heading row), never more than a sheet holds.
    double rowHeight(qsizetype row) const
    {
        double tallest = 0;
        for (int j = 1; j <= table_.columns; ++j) {
            const double w = widths_[std::size_t(j - 1)] - 2 * kPad;
            tallest = std::max(tallest, block(cellText(row, j), cellFont(row), w,
                                              table_.alignment[std::size_t(j - 1)])
                                            ->height());
        }
        const double height = tallest + 2 * kPad;
        return row < 0 ? height : std::min(height, bodyHeight_);
    }

    // Rows go on a sheet while they fit. The last item, the totals and the
    // signatures stay together on the last sheet, so the signatures are never
    // split and never stand alone under a bare heading.
    std::vector<Sheet> paginate()
    {
        const qsizetype rows = rowCount();
        rowHeights_.clear();
        for (qsizetype r = 0; r < rows; ++r) {
            rowHeights_.push_back(rowHeight(r));
        }
        std::vector<Sheet> sheets(1);
        double y = 0;
        const auto newSheet = [&](qsizetype r) {
            sheets.back().end = r;
            sheets.push_back({r, r});
            y = 0;
        };
        const auto place = [&](qsizetype r) {
            const double h = rowHeights_[std::size_t(r)];
            if (y + h > bodyHeight_ && r > sheets.back().first) {
                newSheet(r);
            }
            y += h;
        };

        const qsizetype tailStart = std::max<qsizetype>(input_.codes.size() - 1, 0);
        double tail = signatureHeight_;
        for (qsizetype r = tailStart; r < rows; ++r) {
            tail += rowHeights_[std::size_t(r)];
        }
        for (qsizetype r = 0; r < tailStart; ++r) {
            place(r);
        }
        if (tail <= bodyHeight_) {
            if (y + tail > bodyHeight_ && tailStart > sheets.back().first) {
                newSheet(tailStart);
            }
        } else {
            // Rows taller than a sheet can hold together: each where it fits.
            for (qsizetype r = tailStart; r < rows; ++r) {
                place(r);
            }
            if (y + signatureHeight_ > bodyHeight_) {
                newSheet(rows);
            }
        }
        sheets.back().end = rows;
        return sheets;
    }

    void drawHead(QPainter &painter) const
    {
        double y = 0;
        for (const QString &text : headTexts_) {
            const auto b = block(text, fonts_.head, width_, Qt::AlignHCenter);
            b->draw(painter, QPointF(0, y));
            y += b->height();
        }
    }

    double drawRow(QPainter &painter, qsizetype row, double y) const
    {
        const double h = row < 0 ? headingHeight_ : rowHeights_[std::size_t(row)];
        const bool shaded = row < 0 || isTotalRow(row);
        double x = 0;
        for (int j = 1; j <= table_.columns; ++j) {
            const double w = widths_[std::size_t(j - 1)];
            const QRectF cell(x, y, w, h);
            if (shaded) {
                painter.fillRect(cell, QColor(0xCC, 0xCC, 0xCC));
            }
            painter.setPen(QPen(Qt::black, points(0.5)));
            painter.drawRect(cell);
            painter.save();
            painter.setClipRect(cell.adjusted(kPad / 2, kPad / 2, -kPad / 2, -kPad / 2));
            block(cellText(row, j), cellFont(row), w - 2 * kPad,
                  table_.alignment[std::size_t(j - 1)])
                ->draw(painter, QPointF(x + kPad, y + kPad));
            painter.restore();
            x += w;
        }
        return h;
    }

    void drawSignatures(QPainter &painter, double y) const
    {
        const QStringList names = {input_.prefeito, input_.secFin,
                                   input_.contador + u'/' + input_.crc};
        const QStringList roles = {QStringLiteral("(Prefeito)"),
                                   QStringLiteral("(Secretário de Finanças)"),
                                   QStringLiteral("(Contador/CRC)")};
        const double column = width_ / 3;
        const double lineY = y + kSignSpace;
        painter.setPen(QPen(Qt::black, points(0.5)));
        for (int k = 0; k < 3; ++k) {
            const double x = column * k;
            painter.drawLine(QPointF(x + column * 0.12, lineY), QPointF(x + column * 0.88, lineY));
            const auto name = block(names[k], fonts_.body, column, Qt::AlignHCenter);
            name->draw(painter, QPointF(x, lineY + points(2)));
            block(roles[k], fonts_.body, column, Qt::AlignHCenter)
                ->draw(painter, QPointF(x, lineY + points(2) + name->height()));
        }
    }

    void drawFoot(QPainter &painter, int sheet, int sheets) const
    {
        const QString text = QStringLiteral("Página %1 de %2").arg(sheet).arg(sheets);
        block(text, fonts_.small, width_, Qt::AlignRight)
            ->draw(painter, QPointF(0, height_ - footHeight_));
    }

    const PageInput &input_;
    QPdfWriter &writer_;
    Fonts fonts_;
    Table table_;
    double width_;
    double height_;
    std::vector<double> widths_;
    QStringList headTexts_;
    double headHeight_ = 0;
    double headingHeight_ = 0;
    double footHeight_ = 0;
    double bodyHeight_ = 0;
    double signatureHeight_ = 0;
    std::vector<double> rowHeights_;
};

} // namespace

QByteArray buildPdf(const PageInput &input)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kResolution);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter));
        writer.setTitle(printable(input.title));
        writer.setCreator(QStringLiteral("Quelvara"));
        ReportPrinter(input, writer).print();
    }
    buffer.close();
    return bytes;
}

FileResult writePdf(const PageInput &input)
{
    if (!isValidYear(input.year)) {
        return FileResult::failed({});
    }
    const QString dir = pageYearDir(input.year);
    if (!makeDir(dir)) {
        return FileResult::failed(msg::cannotCreateDirectory(dir));
    }
    const QString path =
        besidePagePath(input.year, input.prefix, input.period, QStringLiteral(".pdf"));
    const QByteArray bytes = buildPdf(input);
    const FileResult written =
        bytes.isEmpty() ? FileResult::failed(msg::cannotCreateFile(path)) : writeBytes(path, bytes);
    const FileResult indexes = writeIndexes(input.year, input.municipality);
    return written.ok() ? indexes : written;
}

} // namespace quelvara
