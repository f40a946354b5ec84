#include "reportindex.h"

#include "codec.h"
#include "messages.h"
#include "opendata.h"
#include "reportpaths.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <algorithm>

namespace quelvara {

namespace {

// Characters HTML forbids in a document's text: controls but TAB and LF, and
// the two noncharacters of the basic plane.
bool isForbiddenInHtml(char16_t u)
{
    return (u < 0x20 && u != u'\t' && u != u'\n') || (u >= 0x7F && u <= 0x9F) || u == 0xFFFE ||
           u == 0xFFFF;
}

// A text as HTML text or attribute value: the markup characters as entities,
// the characters HTML forbids left out.
QString html(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1StringView("&amp;");
            break;
        case u'<':
            out += QLatin1StringView("&lt;");
            break;
        case u'>':
            out += QLatin1StringView("&gt;");
            break;
        case u'"':
            out += QLatin1StringView("&quot;");
            break;
        case u'\'':
            out += QLatin1StringView("&#39;");
            break;
        default:
            if (!isForbiddenInHtml(c.unicode())) {
                out += c;
            }
        }
    }
    return out;
}

QString href(const QString &relative)
{
    return html(QString::fromLatin1(QUrl::toPercentEncoding(relative, "/")));
}

QString timeElement(const QDateTime &moment)
{
    return QStringLiteral("<time datetime=\"") + isoLocalTime(moment) + QStringLiteral("\">") +
           html(updatedText(moment)) + QStringLiteral("</time>");
}

QString pageHead(const QString &title)
{
    return QStringLiteral(
               "<!DOCTYPE html>\n"
               "<html lang=\"pt-BR\">\n"
               "<head>\n"
               "<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
               "<title>") +
           html(title) +
           QStringLiteral(
               "</title>\n"
               "<style>\n"
               "body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; margin: 1em; }\n"
               "table { border-collapse: collapse; margin: 0 0 1.5em; width: 100%; }\n"
               "caption { font-weight: bold; text-align: left; padding: 0.3em 0; }\n"
               "th, td { border: 1px solid #000; padding: 0.25em 0.5em; text-align: left; "
               "vertical-align: top; }\n"
               "thead th { background: #ccc; }\n"
               "tbody th { font-weight: normal; }\n"
               "td a { margin-right: 0.75em; }\n"
               "</style>\n"
               "</head>\n"
               "<body>\n");
}

const QString kPageEnd = QStringLiteral("</main>\n</body>\n</html>\n");

QString link(const QString &target, const QString &type, const QString &text)
{
    QString a = QStringLiteral("<a href=\"") + href(target) + u'"';
    if (!type.isEmpty()) {
        a += QStringLiteral(" type=\"") + type + u'"';
    }
    return a + u'>' + text + QStringLiteral("</a>");
}

QString reportRow(const PublishedReport &report)
{
    const QString name = report.baseName;
    QString links =
        link(name + QStringLiteral(".htm"), QStringLiteral("text/html"), QStringLiteral("Página"));
    if (report.hasCsv) {
        links += u' ' + link(name + QStringLiteral(".csv"), QStringLiteral("text/csv"),
                             QStringLiteral("CSV"));
    }
    if (report.hasJson) {
        links += u' ' + link(name + QStringLiteral(".json"), QStringLiteral("application/json"),
                             QStringLiteral("JSON"));
    }
    if (report.hasPdf) {
        links += u' ' + link(name + QStringLiteral(".pdf"), QStringLiteral("application/pdf"),
                             QStringLiteral("PDF"));
    }
    const QString period =
        report.periodName.isEmpty() ? QStringLiteral("Anual") : report.periodName;
    return QStringLiteral("<tr><th scope=\"row\">") + html(report.title) +
           QStringLiteral("</th><td>") + html(period) + QStringLiteral("</td><td>") + links +
           QStringLiteral("</td><td>") + timeElement(report.updatedAt) +
           QStringLiteral("</td></tr>\n");
}

// The names a year's folder holds, folded as a file system that ignores case
// folds them. A year may have some three hundred pages, each with three
// files beside it, and its folder holds a few dozen files: asking the disk
// for each of them cost more than all the rest of an index. A name is looked
// for on disk only when the folder lists one like it, and the disk has the
// last word. A folder that lists nothing, being empty or one that may be
// searched but not read, lets every name be looked for.
class FolderNames {
public:
    explicit FolderNames(const QString &dir)
    {
        const QStringList names = QDir(dir).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
        names_.reserve(names.size());
        for (const QString &name : names) {
            names_.insert(name.toCaseFolded());
        }
    }
    bool mayHold(const QString &name) const
    {
        return names_.isEmpty() || names_.contains(name.toCaseFolded());
    }

private:
    QSet<QString> names_;
};

} // namespace

QStringList periodNumbers(ReportCategory category)
{
    const qsizetype count = categoryInfo(category).periods.size();
    if (count == 0) {
        return {QStringLiteral("0")};
    }
    QStringList numbers;
    for (qsizetype p = 1; p <= count; ++p) {
        numbers.append(QString::number(p));
    }
    return numbers;
}

QList<PublishedReport> publishedReports(const QString &ano)
{
    QList<PublishedReport> reports;
    if (!isValidYear(ano)) {
        return reports;
    }
    const FolderNames listed(pageYearDir(ano));
    for (const CategoryInfo &category : categories()) {
        const QStringList periods = periodNumbers(category.category);
        for (const ReportKind &kind : reportKinds(category.category)) {
            for (qsizetype p = 0; p < periods.size(); ++p) {
                const QString &period = periods[p];
                const auto found = [&](const QString &extension) {
                    return listed.mayHold(besidePageName(ano, kind.prefix, period, extension));
                };
                if (!found(QStringLiteral(".htm"))) {
                    continue;
                }
                const QFileInfo page(pageFilePath(ano, kind.prefix, period));
                if (!page.isFile()) {
                    continue;
                }
                PublishedReport report;
                report.category = category.category;
                report.title = kind.title;
                report.period = period;
                report.periodName = category.periods.value(p);
                report.baseName = page.completeBaseName();
                report.updatedAt = page.lastModified();
                const auto beside = [&](const char *extension) {
                    const QString name = QString::fromLatin1(extension);
                    return found(name) &&
                           fileExists(besidePagePath(ano, kind.prefix, period, name));
                };
                report.hasCsv = beside(".csv");
                report.hasJson = beside(".json");
                report.hasPdf = beside(".pdf");
                reports.append(report);
            }
        }
    }
    return reports;
}

QList<PublishedYear> publishedYears()
{
    QList<PublishedYear> years;
    const QStringList names =
        QDir(baseDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        if (!isValidYear(name) || !fileExists(yearIndexPath(name))) {
            continue;
        }
        const QList<PublishedReport> reports = publishedReports(name);
        if (reports.isEmpty()) {
            continue;
        }
        PublishedYear year;
        year.year = name;
        year.reports = int(reports.size());
        for (const PublishedReport &report : reports) {
            year.updatedAt = std::max(year.updatedAt, report.updatedAt);
        }
        years.append(year);
    }
    return years;
}

QString updatedText(const QDateTime &moment)
{
    return QStringLiteral("Atualizado em ") +
           moment.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

QByteArray buildYearIndex(const QString &ano, const QString &municipality,
                          const QList<PublishedReport> &reports)
{
    QString out =
        pageHead(QStringLiteral("Relatórios de ") + ano + QStringLiteral(" – ") + municipality);
    out += QStringLiteral("<header>\n<h1>") + html(municipality) +
           QStringLiteral("</h1>\n<p>Relatórios do exercício de ") + html(ano) +
           QStringLiteral("</p>\n<p>") +
           link(QStringLiteral("../index.html"), {}, QStringLiteral("Todos os exercícios")) +
           QStringLiteral("</p>\n</header>\n<main>\n");
    if (reports.isEmpty()) {
        out += QStringLiteral("<p>Nenhum relatório publicado.</p>\n");
    }
    for (const CategoryInfo &category : categories()) {
        QString rows;
        for (const PublishedReport &report : reports) {
            if (report.category == category.category) {
                rows += reportRow(report);
            }
        }
        if (rows.isEmpty()) {
            continue;
        }
        out += QStringLiteral("<table>\n<caption>") + html(category.name) +
               QStringLiteral("</caption>\n<thead>\n<tr><th scope=\"col\">Relatório</th>"
                              "<th scope=\"col\">Período</th><th scope=\"col\">Arquivos</th>"
                              "<th scope=\"col\">Atualização</th></tr>\n</thead>\n<tbody>\n") +
               rows + QStringLiteral("</tbody>\n</table>\n");
    }
    out += kPageEnd;
    return wellFormedText(out).toUtf8();
}

QByteArray buildRootIndex(const QString &municipality, const QList<PublishedYear> &years)
{
    QString out = pageHead(QStringLiteral("Relatórios publicados – ") + municipality);
    out += QStringLiteral("<header>\n<h1>") + html(municipality) +
           QStringLiteral("</h1>\n<p>Relatórios publicados</p>\n</header>\n<main>\n");
    if (years.isEmpty()) {
        out += QStringLiteral("<p>Nenhum relatório publicado.</p>\n");
    } else {
        out += QStringLiteral(
            "<table>\n<caption>Exercícios</caption>\n<thead>\n<tr><th scope=\"col\">Exercício</th>"
            "<th scope=\"col\">Relatórios</th><th scope=\"col\">Atualização</th></tr>\n"
            "</thead>\n<tbody>\n");
        for (const PublishedYear &year : years) {
            out += QStringLiteral("<tr><th scope=\"row\">") +
                   link(year.year + QStringLiteral("/index.html"), QStringLiteral("text/html"),
                        html(year.year)) +
                   QStringLiteral("</th><td>") + QString::number(year.reports) +
                   QStringLiteral("</td><td>") + timeElement(year.updatedAt) +
                   QStringLiteral("</td></tr>\n");
        }
        out += QStringLiteral("</tbody>\n</table>\n");
    }
    out += kPageEnd;
    return wellFormedText(out).toUtf8();
}

FileResult writeIndexes(const QString &ano, const QString &municipality)
{
    if (const FileResult dir = makePageYearDir(ano); !dir.ok()) {
        return dir;
    }
    const FileResult year =
        writeBytes(yearIndexPath(ano), buildYearIndex(ano, municipality, publishedReports(ano)));
    // The years are listed from the indexes on disk, this year's included.
    const FileResult root =
        writeBytes(rootIndexPath(), buildRootIndex(municipality, publishedYears()));
    return year.ok() ? root : year;
}

} // namespace quelvara
