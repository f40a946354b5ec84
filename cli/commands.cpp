#include "commands.h"

#include "catalogue.h"
#include "checks.h"
#include "folderlock.h"
#include "messages.h"
#include "profile.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "reportpdf.h"
#include "reportsession.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quelvara::cli {

namespace {

int stopped(Console &console, int done, int steps)
{
    console.clearProgress();
    console.warn(msg::interrupted(done, steps));
    return kExitSignalBase + interruption();
}

// The municipality as the main window hands it to the report editor: its
// record in the municipality file, cleaned as the window cleans it; without a
// record the window shows an empty name and the state box's placeholder "UF",
// and pages published from the window are signed so.
Municipality shownMunicipality(Console &console)
{
    const TextLines read = readProfileFile(kMunicipalityFile);
    if (read.status == ReadStatus::Unreadable) {
        console.warn(msg::cannotReadFile(dataFile(kMunicipalityFile)));
    }
    const Municipality municipality =
        municipalityFromLines(read.lines).value_or(Municipality{{}, QStringLiteral("UF")});
    return {municipalityText(municipality.name), municipalityText(municipality.state)};
}

QString municipalityShown(const Municipality &municipality)
{
    Profile profile;
    profile.name = municipality.name;
    profile.state = municipality.state;
    return profile.municipality();
}

// ---------------------------------------------------------------------------
// publicar

// One report kind with data files in the year: its current period, the last
// one with a data file, and the periods whose pages its publication writes.
struct KindWork {
    const ReportKind *kind = nullptr;
    int current = 0;
    QList<int> pages;
};

QList<KindWork> kindsWithData(const QString &year)
{
    QList<KindWork> work;
    for (const CategoryInfo &category : categories()) {
        for (const ReportKind &kind : reportKinds(category.category)) {
            const QList<int> periods = periodsWithFiles(kind, year);
            if (periods.isEmpty()) {
                continue;
            }
            KindWork entry{&kind, periods.last(), {}};
            // "Atualizar Valores" writes every period up to the current one,
            // those without a data file too; alone, a period is just loaded.
            for (int p = entry.current > 1 ? 1 : entry.current; p <= entry.current; ++p) {
                entry.pages.append(p);
            }
            work.append(entry);
        }
    }
    return work;
}

// Sets the session's period as the editor's period box does: by its position
// and name, or no position at all for the annual kinds.
void choosePeriod(ReportSession &session, const ReportKind &kind, int period)
{
    const QStringList &names = categoryInfo(kind.category).periods;
    if (names.isEmpty()) {
        session.setPeriod(-1, QString());
    } else {
        session.setPeriod(period - 1, names.value(period - 1));
    }
}

// Tells whether a message names a file of the report's page or the directory
// they go in: that page was then not published whole.
bool pageFailed(const QStringList &messages, const QString &year, const QString &prefix, int period)
{
    const QString number = QString::number(period);
    const QStringList files = {
        nativePath(pageFilePath(year, prefix, number)),
        nativePath(besidePagePath(year, prefix, number, QStringLiteral(".csv"))),
        nativePath(besidePagePath(year, prefix, number, QStringLiteral(".json"))),
    };
    const QString directory = msg::cannotCreateDirectory(pageYearDir(year));
    return std::any_of(messages.cbegin(), messages.cend(), [&](const QString &message) {
        return message == directory ||
               std::any_of(files.cbegin(), files.cend(),
                           [&](const QString &file) { return message.contains(file); });
    });
}

int publish(const Request &request, Console &console)
{
    const QList<KindWork> kinds = kindsWithData(request.year);
    if (kinds.isEmpty()) {
        console.warn(msg::nothingToPublish(request.year, dataYearDir(request.year)));
        return kExitFailed;
    }
    const Municipality municipality = shownMunicipality(console);
    int steps = int(kinds.size());
    if (request.pdf) {
        for (const KindWork &work : kinds) {
            steps += int(work.pages.size());
        }
    }

    int step = 0;
    int reports = 0;
    int kindsPublished = 0;
    int withProblems = 0;
    for (const KindWork &work : kinds) {
        const ReportKind &kind = *work.kind;
        if (interruption()) {
            return stopped(console, step, steps);
        }
        console.progress(msg::progressLine(msg::publishing(), ++step, steps, kind.title));

        // The editor's road: open in the category, choose the kind, go to the
        // current period of the year, press "Atualizar Valores".
        ReportSession session(kind.category);
        session.setMunicipality(municipality.name, municipality.state);
        session.setPeriod(0, QString());
        session.readOfficials();
        QStringList messages;
        const SessionResult chosen = session.chooseKind(kind.position, kind.title);
        messages += chosen.messages;
        if (chosen.ok) {
            choosePeriod(session, kind, work.current);
            session.setYear(request.year);
            messages += (work.current > 1 ? session.recalculateYear() : session.load()).messages;
        }

        int loaded = work.current;
        int published = 0;
        for (int period : work.pages) {
            if (!chosen.ok) {
                break;
            }
            bool pdfWritten = true;
            if (request.pdf) {
                if (interruption()) {
                    break;
                }
                console.progress(msg::progressLine(msg::publishing(), ++step, steps, kind.title));
                if (period != loaded) {
                    // Loading a period rewrites its page as it stands: the one
                    // the recalculation wrote.
                    choosePeriod(session, kind, period);
                    messages += session.load().messages;
                    loaded = period;
                }
                const FileResult pdf = writePdf(session.pageInput());
                pdfWritten = pdf.ok();
                if (!pdf.ok()) {
                    messages += pdf.message().isEmpty()
                                    ? msg::cannotCreateFile(besidePagePath(
                                          request.year, kind.prefix, QString::number(period),
                                          QStringLiteral(".pdf")))
                                    : pdf.message();
                }
            }
            if (pdfWritten && !pageFailed(messages, request.year, kind.prefix, period)) {
                const QString page =
                    pageFilePath(request.year, kind.prefix, QString::number(period));
                console.print(msg::reportPublished(
                    QDir::toNativeSeparators(QDir(baseDir()).relativeFilePath(page)), kind.title,
                    categoryInfo(kind.category).periods.value(period - 1), request.pdf));
                ++published;
            }
        }

        messages.removeDuplicates();
        for (const QString &message : std::as_const(messages)) {
            console.warn(kind.title + QStringLiteral(": ") + message);
        }
        withProblems += messages.isEmpty() && chosen.ok ? 0 : 1;
        reports += published;
        kindsPublished += published > 0 ? 1 : 0;
        if (interruption()) {
            return stopped(console, step, steps);
        }
    }
    console.clearProgress();
    console.print(msg::publishSummary(request.year, reports, kindsPublished,
                                      yearIndexPath(request.year), withProblems));
    return withProblems > 0 ? kExitFailed : kExitOk;
}

// ---------------------------------------------------------------------------
// verificar

// One finding's column text: on one line, without the TAB that separates columns.
QString column(QString text)
{
    for (QChar &c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n') {
            c = u' ';
        }
    }
    return text;
}

QString kindTitle(const Finding &finding)
{
    const ReportKind *kind = reportKind(finding.category, finding.position);
    return kind ? kind->title : QString();
}

QByteArray findingsText(const QList<Finding> &findings)
{
    QByteArray out;
    for (const Finding &finding : findings) {
        const QStringList columns = {severityText(finding.severity),
                                     kindTitle(finding),
                                     periodText(finding),
                                     finding.item,
                                     fieldText(finding),
                                     finding.message};
        QStringList cleaned;
        for (const QString &text : columns) {
            cleaned.append(column(text));
        }
        out += (cleaned.join(u'\t') + u'\n').toUtf8();
    }
    return out;
}

QByteArray findingsJson(const QList<Finding> &findings)
{
    QJsonArray list;
    for (const Finding &finding : findings) {
        const ReportKind *kind = reportKind(finding.category, finding.position);
        list.append(QJsonObject{
            {QStringLiteral("severidade"), severityText(finding.severity)},
            {QStringLiteral("relatorio"), kindTitle(finding)},
            {QStringLiteral("prefixo"), kind ? kind->prefix : QString()},
            {QStringLiteral("periodo"), periodText(finding)},
            {QStringLiteral("periodo_numero"), finding.period},
            {QStringLiteral("item"), finding.item},
            {QStringLiteral("campo"), fieldText(finding)},
            {QStringLiteral("campo_numero"), finding.field},
            {QStringLiteral("mensagem"), finding.message},
        });
    }
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}

int check(const Request &request, Console &console)
{
    QList<const ReportKind *> kinds;
    for (const CategoryInfo &category : categories()) {
        for (const ReportKind &kind : reportKinds(category.category)) {
            if (!periodsWithFiles(kind, request.year).isEmpty()) {
                kinds.append(&kind);
            }
        }
    }
    if (kinds.isEmpty()) {
        console.warn(msg::nothingToCheck(request.year, dataYearDir(request.year)));
    }
    QList<Finding> findings;
    int step = 0;
    for (const ReportKind *kind : std::as_const(kinds)) {
        if (interruption()) {
            return stopped(console, step, int(kinds.size()));
        }
        console.progress(
            msg::progressLine(msg::checking(), ++step, int(kinds.size()), kind->title));
        findings += checkKindYear(kind->category, kind->position, request.year);
    }
    sortFindings(findings);
    console.clearProgress();
    console.write(request.json ? findingsJson(findings) : findingsText(findings));
    const int errors = errorCount(findings);
    console.tell(msg::checkSummary(request.year, errors, int(findings.size()) - errors));
    return errors > 0 ? kExitFailed : kExitOk;
}

// ---------------------------------------------------------------------------
// exportar

// Tells whether a folder is the data folder, lies inside its "dados", or in
// the pages of a year: an export there would write over what it copies.
bool insideDataFolder(const QString &folder)
{
    const QString base = QDir::cleanPath(QFileInfo(baseDir()).canonicalFilePath());
    // Where the folder exists already, its links are followed to where it really is.
    const QFileInfo info(folder);
    const QString path = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(folder);
    if (path == base) {
        return true;
    }
    if (!path.startsWith(base + u'/')) {
        return false;
    }
    const QString first = path.mid(base.size() + 1).section(u'/', 0, 0);
    return first == QStringLiteral("dados") || isValidYear(first);
}

// Copies a file as it is, keeping the moment it was written, which web servers pass on.
FileResult copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return FileResult::failed(msg::cannotReadFile(from));
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        return FileResult::failed(msg::cannotReadFile(from));
    }
    const QDateTime written = source.fileTime(QFileDevice::FileModificationTime);
    source.close();
    FileResult result = writeBytes(to, bytes);
    if (result.ok()) {
        QFile copy(to);
        if (copy.open(QIODevice::ReadWrite)) {
            copy.setFileTime(written, QFileDevice::FileModificationTime);
        }
    }
    return result;
}

int exportYear(const Request &request, Console &console)
{
    const QString target = request.outputFolder;
    if (insideDataFolder(target)) {
        console.refuse(msg::outputInsideDataFolder(target));
        return kExitUsage;
    }
    const QList<PublishedReport> reports = publishedReports(request.year);
    if (reports.isEmpty()) {
        console.warn(msg::nothingPublished(request.year, baseDir()));
        return kExitFailed;
    }

    QStringList files;
    for (const PublishedReport &report : reports) {
        files.append(report.baseName + QStringLiteral(".htm"));
        if (report.hasCsv) {
            files.append(report.baseName + QStringLiteral(".csv"));
        }
        if (report.hasJson) {
            files.append(report.baseName + QStringLiteral(".json"));
        }
        if (report.hasPdf) {
            files.append(report.baseName + QStringLiteral(".pdf"));
        }
    }

    const QString yearDir = QDir(target).filePath(request.year);
    if (!QDir().mkpath(yearDir)) {
        console.warn(msg::cannotCreateDirectory(yearDir));
        return kExitFailed;
    }
    const QDir source(pageYearDir(request.year));
    const int steps = int(files.size()) + 1;
    int step = 0;
    int copied = 0;
    bool failed = false;
    for (const QString &name : std::as_const(files)) {
        if (interruption()) {
            return stopped(console, step, steps);
        }
        console.progress(msg::progressLine(msg::exporting(), ++step, steps, name));
        const FileResult result = copyFile(source.filePath(name), QDir(yearDir).filePath(name));
        if (result.ok()) {
            ++copied;
        } else {
            failed = true;
            console.warn(result.message());
        }
    }
    if (interruption()) {
        return stopped(console, step, steps);
    }
    console.progress(
        msg::progressLine(msg::exporting(), ++step, steps, QStringLiteral("index.html")));

    // The indexes list what lies in the export: the year's as the program
    // writes it from the same pages, and one of the years holding this year alone.
    const QString municipality = municipalityShown(shownMunicipality(console));
    PublishedYear year;
    year.year = request.year;
    year.reports = int(reports.size());
    for (const PublishedReport &report : reports) {
        year.updatedAt = std::max(year.updatedAt, report.updatedAt);
    }
    const std::pair<QString, QByteArray> indexes[] = {
        {QDir(yearDir).filePath(QStringLiteral("index.html")),
         buildYearIndex(request.year, municipality, reports)},
        {QDir(target).filePath(QStringLiteral("index.html")), buildRootIndex(municipality, {year})},
    };
    for (const auto &[path, bytes] : indexes) {
        const FileResult result = writeBytes(path, bytes);
        if (result.ok()) {
            ++copied;
        } else {
            failed = true;
            console.warn(result.message());
        }
    }
    console.clearProgress();
    console.print(msg::exportSummary(request.year, copied, target));
    return failed ? kExitFailed : kExitOk;
}

// Makes the data folder the working directory, where every path of the core
// lies; or says why it cannot be.
bool enterFolder(const QString &folder, Console &console)
{
    const QFileInfo info(folder);
    if (!info.exists()) {
        console.refuse(msg::folderMissing(folder));
    } else if (!info.isDir() || !QDir::setCurrent(folder)) {
        console.refuse(msg::cannotUseFolder(folder));
    } else if (!dirExists(dataDir())) {
        console.refuse(msg::noDataFolder(folder));
    } else {
        return true;
    }
    return false;
}

} // namespace

int run(const Request &request, Console &console)
{
    if (!enterFolder(request.folder, console)) {
        return kExitUsage;
    }
    catchInterruptions();
    switch (request.command) {
    case Command::Publicar: {
        // Publishing writes data files and pages the program may be writing
        // too; checking and exporting only read, and run beside it.
        FolderLock lock(baseDir());
        const FileResult taken = takeWorkingFolder(lock);
        if (!taken.ok()) {
            if (lock.status() != FolderLock::Status::HeldByOther) {
                console.warn(taken.message());
                return kExitFailed;
            }
            const LockHolder holder = lock.holder().value_or(LockHolder{});
            console.warn(msg::folderInUseForPublishing(baseDir(), holder.computer, holder.process));
            return kExitLocked;
        }
        return publish(request, console);
    }
    case Command::Verificar:
        return check(request, console);
    case Command::Exportar:
        return exportYear(request, console);
    }
    return kExitUsage;
}

} // namespace quelvara::cli
