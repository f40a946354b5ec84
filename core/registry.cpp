#include "registry.h"

#include "textcompare.h"
#include "values.h"

#include <algorithm>

namespace quelvara {

QString registryPath(const QString &fileName) { return dataFile(fileName); }

TextLines readRegistry(const QString &fileName) { return readLines(registryPath(fileName)); }

FileResult writeRegistry(const QString &fileName, const QStringList &lines)
{
    QStringList terminated;
    terminated.reserve(lines.size());
    for (const QString &line : lines) {
        terminated.append(terminatedRegistryLine(line));
    }
    return writeLines(registryPath(fileName), terminated);
}

QString registryLineField(const QString &line, int n)
{
    // Only a hand-edited line lacks its closing TAB, so only such a line is copied.
    return GetField(terminatedRegistryLine(line), n);
}

QString terminatedRegistryLine(const QString &line)
{
    // A blank line stays blank: it is an entry with two empty fields either way.
    return line.isEmpty() || line.endsWith(u'\t') ? line : line + u'\t';
}

QString makeRegistryLine(const QString &first, const QString &second)
{
    return first + u'\t' + second + u'\t';
}

QStringList registryColumn(const QStringList &lines, int n)
{
    QStringList column;
    column.reserve(lines.size());
    for (const QString &line : lines) {
        column.append(registryLineField(line, n));
    }
    return column;
}

QString registryField(const QString &typed)
{
    QString field = typed;
    field.removeIf([](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; });
    return field;
}

void sortRegistry(QStringList &lines) { std::stable_sort(lines.begin(), lines.end(), lessText); }

bool containsLine(const QStringList &lines, const QString &line)
{
    const QString key = foldKey(terminatedRegistryLine(line));
    return std::any_of(lines.cbegin(), lines.cend(), [&key](const QString &each) {
        // Case folding keeps the length, so only lines of the same length need folding.
        const bool open = !each.isEmpty() && !each.endsWith(u'\t');
        return each.size() + (open ? 1 : 0) == key.size() &&
               foldKey(terminatedRegistryLine(each)) == key;
    });
}

qsizetype insertSorted(QStringList &lines, const QString &line)
{
    const auto at = std::upper_bound(lines.begin(), lines.end(), line, lessText);
    const qsizetype position = at - lines.begin();
    lines.insert(position, line);
    return position;
}

} // namespace quelvara
