#include "reportpaths.h"

#include "messages.h"
#include "textfile.h"

#include <QDir>

namespace quelvara {

namespace {

QString fileName(const QString &ano, const QString &prefixo, const QString &periodo,
                 const QString &extension)
{
    return prefixo + periodo + u'-' + ano + extension;
}

} // namespace

bool isValidYear(const QString &ano)
{
    if (ano.size() != 4) {
        return false;
    }
    for (const QChar c : ano) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

QString dataYearDir(const QString &ano) { return QDir(dataDir()).filePath(ano); }

QString dataFilePath(const QString &ano, const QString &prefixo, const QString &periodo)
{
    return QDir(dataYearDir(ano)).filePath(fileName(ano, prefixo, periodo, QStringLiteral(".vqd")));
}

QString pageYearDir(const QString &ano) { return QDir(baseDir()).filePath(ano); }

FileResult makePageYearDir(const QString &ano)
{
    // A year still being typed ("2", "20", "200") must not create directories.
    if (!isValidYear(ano)) {
        return FileResult::failed({});
    }
    const QString dir = pageYearDir(ano);
    if (!makeDir(dir)) {
        return FileResult::failed(msg::cannotCreateDirectory(dir));
    }
    return FileResult::done();
}

QString pageFilePath(const QString &ano, const QString &prefixo, const QString &periodo)
{
    return besidePagePath(ano, prefixo, periodo, QStringLiteral(".htm"));
}

QString besidePagePath(const QString &ano, const QString &prefixo, const QString &periodo,
                       const QString &extension)
{
    return QDir(pageYearDir(ano)).filePath(fileName(ano, prefixo, periodo, extension));
}

QString besidePageName(const QString &ano, const QString &prefixo, const QString &periodo,
                       const QString &extension)
{
    return fileName(ano, prefixo, periodo, extension);
}

QString yearIndexPath(const QString &ano)
{
    return QDir(pageYearDir(ano)).filePath(QStringLiteral("index.html"));
}

QString rootIndexPath() { return QDir(baseDir()).filePath(QStringLiteral("index.html")); }

} // namespace quelvara
