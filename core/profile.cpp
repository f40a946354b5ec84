#include "profile.h"

#include "textfile.h"
#include "values.h"

namespace quelvara {

QString municipalityText(const QString &text)
{
    // A TAB would end the name early when the record is read back, and the
    // rest of the name would be taken for the state.
    QString result = text;
    result.remove(u'\t');
    result.remove(u'\r');
    result.remove(u'\n');
    return result;
}

QString officialText(const QString &text)
{
    // A line break would push every following official one line down.
    QString result = text;
    result.remove(u'\r');
    result.remove(u'\n');
    return result;
}

QStringList municipalityLines(const QString &name, const QString &state)
{
    return {name + u'\t' + state + u'\t'};
}

std::optional<Municipality> municipalityFromLines(const QStringList &lines)
{
    if (lines.isEmpty()) {
        return std::nullopt;
    }
    return Municipality{GetField(lines.first(), 1), GetField(lines.first(), 2)};
}

QStringList officialsLines(const QStringList &officials)
{
    QStringList lines = officials.mid(0, kOfficialsCount);
    while (lines.size() < kOfficialsCount) {
        lines.append(QString());
    }
    return lines;
}

QStringList officialsFromLines(const QStringList &lines) { return lines.mid(0, kOfficialsCount); }

TextLines readProfileFile(const QString &fileName)
{
    TextLines read = readLines(dataFile(fileName));
    if (read.status != ReadStatus::Ok) {
        read.lines.clear();
    }
    return read;
}

FileResult writeProfileFile(const QString &fileName, const QStringList &lines)
{
    makeDir(dataDir());
    return writeLines(dataFile(fileName), lines);
}

} // namespace quelvara
