#pragma once

#include "catalogue.h"
#include "itemlist.h"
#include "textfile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// The report data of one kind, year and period without a window: the lines of
// the data file, how they are built from the registry and merged with it on
// every load, the line of an edited item, how saving an item extends the
// registry, and the next purchase number.
namespace quelvara {

class LookupStore;

// Field types of fields 1 to 10 as the editor holds them; index 0 is unused.
// Only the entries up to the kind's field count are ever read.
using FieldTypes = std::array<int, kMaxFields + 1>;

// Computes an accumulated field from the amount in the field before it, the
// accumulated field's number and the item code.
using AccumulateFn = std::function<QString(const QString &value, int k, const QString &code)>;

/// Builds the data line of a registry entry: code and name, the defaults of fields 3 to numCampos,
/// then the flag "0" when asked.
QString registryItemLine(const QString &registryLine, const FieldTypes &types, int numCampos,
                         bool withFlag, const AccumulateFn &accumulate);

/// Returns the data lines of a period that has no file yet: one per registry entry, in registry
/// order, without the flag field.
QStringList seedFromRegistry(const QStringList &registry, const FieldTypes &types, int numCampos,
                             const AccumulateFn &accumulate);

/// Merges the registry into data lines: registry items take code and name from it and have their
/// accumulated fields computed again, new ones get default lines, the rest stay as read.
ItemList mergeRegistry(QStringList lines, const QStringList &registry, const FieldTypes &types,
                       int numCampos, const AccumulateFn &accumulate);

struct LoadedItems {
    ItemList items;
    ReadStatus status = ReadStatus::Missing; // of the data file
    bool tooLarge = false;                   // unreadable because larger than kMaxFileSize
};

/// Loads a period's item list from its data file, seeded from and merged with the registry for a
/// registry kind.
LoadedItems loadItemList(const QString &dataPath, const QStringList &registry,
                         const FieldTypes &types, int numCampos, bool registryKind,
                         const AccumulateFn &accumulate);

/// Loads a period's item list as loadItemList of the store's lines does, with the codes the store
/// keeps.
LoadedItems loadItemList(const QString &dataPath, const LookupStore &registry,
                         const FieldTypes &types, int numCampos, bool registryKind,
                         const AccumulateFn &accumulate);

/// Builds a period's item list from its data file as read, seeded from and merged with the
/// registry for a registry kind.
LoadedItems itemListFromFile(TextLines file, const QStringList &registry, const FieldTypes &types,
                             int numCampos, bool registryKind, const AccumulateFn &accumulate);

/// Composes the data line of an item from its field texts, each followed by TAB, and the exclusion
/// flag.
QString composeLine(const QStringList &fields, bool excluded);

/// Adds to the registry what saving an item with these field texts (field 1 first) names; tells
/// whether the registry is then to be sorted and written.
bool extendRegistry(QStringList &registry, ReportCategory category, int position,
                    const QStringList &fields);

/// Returns the position of the first registry line whose code equals the text without regard to
/// case, or -1.
int registryIndexOf(const QStringList &registry, const QString &code);

/// Proposes the next purchase number: the last code plus one (or the count plus one), skipping
/// numbers in use, as six digits at least.
QString nextPurchaseNumber(const ItemList &items);

} // namespace quelvara
