#pragma once

#include "profile.h"
#include "registry.h"
#include "textfile.h"

#include <QString>
#include <QStringList>

// What the saving child of the kill test writes, shared with the test that
// checks it: version k of each file is a fixed text, so a file read back can
// only be some version whole, or torn.
namespace killsaver {

inline const QString kYear = QStringLiteral("2005");
inline const QString kPrefix = QStringLiteral("trib-arrec-");
inline const QString kPeriod = QStringLiteral("3");
inline const QString kRegistry = QStringLiteral("tributos.vqd");

// Version k of a file: its first line names the version, the rest vary in
// number and length so that versions span one to several write pieces.
inline QStringList versionLines(const QString &what, int k)
{
    QStringList lines{QStringLiteral("versão\t%1\t%2\t").arg(QString::number(k), what)};
    const int count = 5 + (k * 7) % 61;
    for (int i = 0; i < count; ++i) {
        lines.append(QStringLiteral("%1\tlinha %2 da versão %3 de %4 %5\t")
                         .arg(QString::number(i), QString::number(i), QString::number(k), what,
                              QString((i * 13 + k) % 180, u'ç')));
    }
    return lines;
}

// Returns the version a file's lines name, or -1.
inline int versionOf(const QStringList &lines)
{
    if (lines.isEmpty() || !lines.first().startsWith(QStringLiteral("versão\t"))) {
        return -1;
    }
    bool ok = false;
    const int k = lines.first().section(u'\t', 1, 1).toInt(&ok);
    return ok ? k : -1;
}

// The registry entry that the window child adds in its save number k.
inline QString windowEntry(int k)
{
    return quelvara::makeRegistryLine(QStringLiteral("9%1").arg(k, 5, 10, QLatin1Char('0')),
                                      QStringLiteral("Taxa %1").arg(k));
}

inline QString mayorName(int k) { return QStringLiteral("Prefeito %1").arg(k); }

} // namespace killsaver
