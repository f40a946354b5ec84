#include "reportdata.h"

#include "lookupstore.h"
#include "recordfields.h"
#include "registry.h"
#include "textcompare.h"
#include "values.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace quelvara {

namespace {

const QString kTab = QStringLiteral("\t");

// The code and name of a registry line as the first two fields of a data
// line: the line itself as the program writes it, rebuilt otherwise. A
// hand-edited registry line with a missing last TAB or an extra field would
// otherwise shift every field after it.
QString registryPrefix(const QString &code, const QString &registryLine)
{
    // Written by the program, the line's first TAB ends the code and its
    // second is its last character, with none between them.
    const qsizetype tab = code.size();
    const qsizetype size = registryLine.size();
    if (tab + 1 < size && registryLine.at(tab) == u'\t' && registryLine.at(size - 1) == u'\t' &&
        nextTab(QStringView(registryLine).utf16(), tab + 1, size - 1) == size - 1) {
        return registryLine;
    }
    return code + kTab + registryLineField(registryLine, 2) + kTab;
}

// A field text as it may stand in a record: a TAB or a line break in it
// would split the field or the line.
QString recordText(const QString &text)
{
    QString result = StripBreaks(text);
    result.remove(u'\r');
    return result;
}

// The positions of the lines of one code, in list order, as a queue. Nearly
// every code has one line, so the queue lives in place.
class SameCode {
public:
    bool isEmpty() const { return head_ == positions_.size(); }
    int takeFirst() { return positions_[head_++]; }
    void append(int position) { positions_.append(position); }

private:
    QVarLengthArray<int, 2> positions_;
    qsizetype head_ = 0;
};

std::optional<qint64> integerValue(const QString &text)
{
    if (text.isEmpty() || text.size() > 18) {
        return std::nullopt;
    }
    qsizetype i = 0;
    if (text[0] == u'+' || text[0] == u'-') {
        i = 1;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return text[0] == u'-' ? -value : value;
}

} // namespace

QString registryItemLine(const QString &registryLine, const FieldTypes &types, int numCampos,
                         bool withFlag, const AccumulateFn &accumulate)
{
    const QString code = registryLineField(registryLine, 1);
    QString line = registryPrefix(code, registryLine);
    for (int i = 3; i <= numCampos && i <= kMaxFields; ++i) {
        const int type = types[std::size_t(i)];
        line += (type == Acumulado && accumulate ? accumulate(defaultFieldText(type), i, code)
                                                 : defaultFieldText(type)) +
                kTab;
    }
    if (withFlag) {
        line += QStringLiteral("0\t");
    }
    return line;
}

QStringList seedFromRegistry(const QStringList &registry, const FieldTypes &types, int numCampos,
                             const AccumulateFn &accumulate)
{
    QStringList lines;
    lines.reserve(registry.size());
    for (const QString &entry : registry) {
        lines.append(registryItemLine(entry, types, numCampos, false, accumulate));
    }
    return lines;
}

namespace {

// The codes and lines of a merge, in list order, not yet sorted.
struct MergedLines {
    QStringList codes;
    QStringList lines;
};

// The merge of the registry into lines read: views that stay valid through
// the merge, into one text of the whole file or into the lines given.
MergedLines mergeReadLines(const QList<QStringView> &read, const QStringList &registry,
                           const QStringList &registryCodes, const FieldTypes &types, int numCampos,
                           const AccumulateFn &accumulate)
{
    Q_ASSERT(registryCodes.size() == registry.size());
    numCampos = std::clamp(numCampos, 1, kMaxFields);
    const qsizetype readCount = read.size();
    const qsizetype total = readCount + registry.size();
    // Positions below readCount are the lines read, the registry's lines
    // follow them: a composed line replaced by a later registry entry is
    // released at once.
    QStringList composed;
    QStringList composedCodes = registryCodes;
    std::vector<bool> alive(std::size_t(readCount), true);
    composed.reserve(registry.size());
    alive.reserve(std::size_t(total));
    const auto lineAt = [&](int position) {
        return position < readCount ? read.at(position)
                                    : QStringView(composed.at(position - readCount));
    };

    // A period the program saved holds a line for each registry entry, in
    // the registry's order. When every line's code is its entry's, the
    // look-up below pairs each entry with the line at its own place, even
    // for a code held twice or in two cases: the entries of a folded code
    // before it took the lines of that code before it, one each, in order.
    // Such a merge needs no look-up.
    bool inStep = readCount == registry.size();
    for (qsizetype i = 0; inStep && i < readCount; ++i) {
        inStep = recordField(read.at(i), 1) == QStringView(composedCodes.at(i));
    }

    // The entries of each code in list order: a look-up finds the first one,
    // a replaced entry leaves the front and its successor joins the back, so
    // a registry holding a code twice behaves as if the lines were moved one
    // by one. A key is a view of a code read or composed, or of its folded
    // text kept here.
    QHash<QStringView, SameCode> byCode;
    QStringList foldedCodes;
    if (!inStep) {
        byCode.reserve(total);
    }
    const auto entriesOf = [&](QStringView code) -> SameCode & {
        return byCode[foldKey(code, foldedCodes)];
    };
    for (qsizetype i = 0; i < readCount && !inStep; ++i) {
        entriesOf(recordField(read.at(i), 1)).append(int(i));
    }

    // A line is made at its exact size, once its pieces are known: grown by
    // appending, each would keep room for a second line it never needs.
    std::array<QString, kMaxFields + 1> sums;       // accumulated amounts, by field
    std::array<QStringView, kMaxFields + 2> pieces; // fields 3 to numCampos + 1 of a line
    for (qsizetype k = 0; k < registry.size(); ++k) {
        const QString &entry = registry.at(k);
        const QString &code = composedCodes.at(k);
        SameCode *const same = inStep ? nullptr : &entriesOf(code);
        QString line;
        if (same && same->isEmpty()) {
            line = registryItemLine(entry, types, numCampos, true, accumulate);
        } else {
            const int found = same ? same->takeFirst() : int(k);
            alive[std::size_t(found)] = false;
            const RecordFields fields(lineAt(found));
            const QString prefix = registryPrefix(code, entry);
            qsizetype size = prefix.size();
            for (int i = 3; i <= numCampos + 1; ++i) {
                const auto at = std::size_t(i);
                pieces[at] = fields.at(i);
                // Only the kind's own fields are computed; the field after
                // them is the exclusion flag, copied as it stands.
                if (i <= numCampos && types[at] == Acumulado && accumulate) {
                    const QStringView value = fields.at(i - 1);
                    sums[at] =
                        accumulate(QString::fromRawData(value.data(), value.size()), i, code);
                    pieces[at] = sums[at];
                }
                size += pieces[at].size() + 1;
            }
            line = QString(size, Qt::Uninitialized);
            QChar *d = std::copy_n(prefix.constData(), prefix.size(), line.data());
            for (int i = 3; i <= numCampos + 1; ++i) {
                d = std::copy_n(pieces[std::size_t(i)].data(), pieces[std::size_t(i)].size(), d);
                *d++ = u'\t';
            }
            // Let go at once: the accumulator may write the next item's
            // amounts in the same rooms.
            for (int i = 3; i <= numCampos; ++i) {
                sums[std::size_t(i)].clear();
            }
            if (found >= readCount) {
                // Its code stays: it may be a key of byCode.
                composed[found - readCount] = QString();
            }
        }
        composed.append(std::move(line));
        alive.push_back(true);
        if (same) {
            same->append(int(readCount + composed.size()) - 1);
        }
    }
    // Freed before the item list builds its own index.
    byCode.clear();

    MergedLines merged;
    if (std::find(alive.cbegin(), alive.cbegin() + readCount, true) == alive.cbegin() + readCount) {
        // Every line read was replaced, as in a period of a registry kind
        // saved by the program: the composed lists are kept in place.
        qsizetype kept = 0;
        for (qsizetype i = 0; i < composed.size(); ++i) {
            if (alive[std::size_t(readCount + i)]) {
                if (kept != i) {
                    composedCodes[kept] = std::move(composedCodes[i]);
                    composed[kept] = std::move(composed[i]);
                }
                ++kept;
            }
        }
        composedCodes.resize(kept);
        composed.resize(kept);
        merged.codes = std::move(composedCodes);
        merged.lines = std::move(composed);
        return merged;
    }
    const qsizetype kept = std::count(alive.cbegin(), alive.cend(), true);
    merged.codes.reserve(kept);
    merged.lines.reserve(kept);
    for (qsizetype i = 0; i < readCount; ++i) {
        if (alive[std::size_t(i)]) {
            merged.codes.append(recordField(read.at(i), 1).toString());
            merged.lines.append(read.at(i).toString());
        }
    }
    for (qsizetype i = 0; i < composed.size(); ++i) {
        if (alive[std::size_t(readCount + i)]) {
            merged.codes.append(std::move(composedCodes[i]));
            merged.lines.append(std::move(composed[i]));
        }
    }
    return merged;
}

} // namespace

ItemList mergeRegistry(QStringList lines, const QStringList &registry, const FieldTypes &types,
                       int numCampos, const AccumulateFn &accumulate)
{
    QList<QStringView> read;
    read.reserve(lines.size());
    for (const QString &line : std::as_const(lines)) {
        read.append(line);
    }
    MergedLines merged =
        mergeReadLines(read, registry, registryColumn(registry, 1), types, numCampos, accumulate);
    ItemList items;
    items.assignItems(std::move(merged.codes), std::move(merged.lines));
    return items;
}

namespace {

LoadedItems loadMerged(const QString &dataPath, const QStringList &registry,
                       const QStringList &registryCodes, const FieldTypes &types, int numCampos,
                       const AccumulateFn &accumulate)
{
    // Merged with the registry, nearly every line read is replaced: the file
    // is read as one text, and only a line kept becomes a text of its own.
    WholeText file = readWholeText(dataPath);
    if (file.status != ReadStatus::Ok) {
        return itemListFromFile({file.status, {}, file.tooLarge}, registry, types, numCampos, true,
                                accumulate);
    }
    MergedLines merged =
        mergeReadLines(file.lines, registry, registryCodes, types, numCampos, accumulate);
    // The text read goes before the item list builds its index.
    file = WholeText();
    LoadedItems loaded;
    loaded.status = ReadStatus::Ok;
    loaded.items.assignItems(std::move(merged.codes), std::move(merged.lines));
    return loaded;
}

} // namespace

LoadedItems loadItemList(const QString &dataPath, const QStringList &registry,
                         const FieldTypes &types, int numCampos, bool registryKind,
                         const AccumulateFn &accumulate)
{
    if (!registryKind) {
        return itemListFromFile(readLines(dataPath), registry, types, numCampos, registryKind,
                                accumulate);
    }
    return loadMerged(dataPath, registry, registryColumn(registry, 1), types, numCampos,
                      accumulate);
}

LoadedItems loadItemList(const QString &dataPath, const LookupStore &registry,
                         const FieldTypes &types, int numCampos, bool registryKind,
                         const AccumulateFn &accumulate)
{
    if (!registryKind) {
        return loadItemList(dataPath, registry.lines(), types, numCampos, false, accumulate);
    }
    return loadMerged(dataPath, registry.lines(), registry.codes(), types, numCampos, accumulate);
}

LoadedItems itemListFromFile(TextLines file, const QStringList &registry, const FieldTypes &types,
                             int numCampos, bool registryKind, const AccumulateFn &accumulate)
{
    LoadedItems loaded;
    loaded.status = file.status;
    loaded.tooLarge = file.tooLarge;
    if (file.status == ReadStatus::Missing && registryKind) {
        file.lines = seedFromRegistry(registry, types, numCampos, accumulate);
    }
    if (registryKind) {
        loaded.items = mergeRegistry(std::move(file.lines), registry, types, numCampos, accumulate);
    } else {
        loaded.items.assignLines(file.lines);
    }
    return loaded;
}

QString composeLine(const QStringList &fields, bool excluded)
{
    QString line;
    for (const QString &field : fields) {
        line += recordText(field) + kTab;
    }
    line += excluded ? QStringLiteral("1\t") : QStringLiteral("0\t");
    return line;
}

bool extendRegistry(QStringList &registry, ReportCategory category, int position,
                    const QStringList &fields)
{
    if (!writesRegistryOnSave(category, position)) {
        return false;
    }
    QSet<QString> known; // the codes as they were before this save
    known.reserve(registry.size());
    for (const QString &entry : registry) {
        known.insert(foldKey(registryLineField(entry, 1)));
    }
    const bool wasSorted = std::is_sorted(registry.cbegin(), registry.cend(), lessText);

    const auto field = [&fields](int n) {
        return n >= 1 && n <= fields.size() ? recordText(fields.at(n - 1)) : QString();
    };
    QStringList added;
    for (const RegistryExtension &extension : registryExtensions(category, position)) {
        const QString code = field(extension.codeField);
        if (extension.requireNonEmpty && code.isEmpty()) {
            continue;
        }
        if (!known.contains(foldKey(code))) {
            added.append(code + kTab + field(extension.nameField) + kTab);
        }
    }

    if (wasSorted) {
        // Inserting keeps the order without sorting the whole registry again.
        for (const QString &line : added) {
            const auto at = std::upper_bound(registry.cbegin(), registry.cend(), line, lessText);
            registry.insert(at - registry.cbegin(), line);
        }
    } else {
        registry += added;
        std::stable_sort(registry.begin(), registry.end(), lessText);
    }
    return true;
}

int registryIndexOf(const QStringList &registry, const QString &code)
{
    const QString key = foldKey(code);
    for (int i = 0; i < registry.size(); ++i) {
        if (foldKey(registryLineField(registry.at(i), 1)) == key) {
            return i;
        }
    }
    return -1;
}

QString nextPurchaseNumber(const ItemList &items)
{
    std::optional<qint64> last;
    if (!items.isEmpty()) {
        last = integerValue(items.code(items.size() - 1));
    }
    qint64 n = last && *last < std::numeric_limits<qint64>::max() ? *last + 1 : items.size() + 1;
    QString text = QString::asprintf("%06lld", static_cast<long long>(n));
    while (items.contains(text)) {
        ++n;
        text = QString::asprintf("%06lld", static_cast<long long>(n));
    }
    return text;
}

} // namespace quelvara
