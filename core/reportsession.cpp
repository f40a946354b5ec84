#include "reportsession.h"

#include "messages.h"
#include "opendata.h"
#include "profile.h"
#include "registry.h"
#include "reportdata.h"
#include "reportindex.h"
#include "reportpaths.h"
#include "textcompare.h"
#include "textfile.h"
#include "values.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace quelvara {

namespace {

// A field text as it may stand in a record: a TAB or a line break in it
// would split the field or the line.
QString recordText(const QString &text)
{
    QString result = StripBreaks(text);
    result.remove(u'\r');
    return result;
}

} // namespace

ReportSession::ReportSession(ReportCategory category)
    : category_(category)
{
}

// ---------------------------------------------------------------------------
// The municipality

void ReportSession::setMunicipality(const QString &name, const QString &state)
{
    profile_.name = name;
    profile_.state = state;
}

void ReportSession::readOfficials()
{
    // The same four lines, in the same order, as the main window keeps them.
    const QStringList officials = officialsFromLines(readProfileFile(kOfficialsFile).lines);
    QString *const names[] = {&profile_.prefeito, &profile_.secFin, &profile_.contador,
                              &profile_.crc};
    for (qsizetype i = 0; i < officials.size(); ++i) {
        *names[i] = officials.at(i);
    }
}

int ReportSession::storedFieldCount() const
{
    // The first three fields always, then up to the kind's count.
    return std::clamp(fieldCount_, 3, kMaxFields);
}

const ReportField &ReportSession::field(int n) const
{
    return fields_.at(std::size_t(std::clamp(n, 0, kMaxFields)));
}

FieldTypes ReportSession::fieldTypes() const
{
    FieldTypes types{};
    for (int i = 1; i <= kMaxFields; ++i) {
        types[std::size_t(i)] = fields_[std::size_t(i)].type;
    }
    return types;
}

// ---------------------------------------------------------------------------
// Choosing

SessionResult ReportSession::chooseKind(int position, const QString &shownTitle)
{
    SessionResult result;
    title_ = shownTitle;
    kind_ = reportKind(category_, position);
    prefix_ = kind_ ? kind_->prefix : kUnknownPrefix;
    forgetPreviousPeriod();

    if (kind_) {
        registryFile_ = kind_->registryFile;
        fieldCount_ = kind_->fieldCount;
        for (int i = 1; i <= kMaxFields; ++i) {
            // The field after the last is the exclusion flag of the data lines:
            // a type left over from a longer kind must not describe it.
            fields_[std::size_t(i)] = i <= fieldCount_ ? kind_->fields[std::size_t(i - 1)]
                                                       : makeField({}, Texto, i, registryFile_);
        }
        store_.clear();
        ++registryRevision_;
        if (kind_->loaded) {
            result.ok = loadRegistry(result);
        } else {
            registryLoaded_ = true;
        }
    } else if (category_ != ReportCategory::Mensais) {
        // A typed title: the budget categories keep their registry, read
        // again; the bimonthly ones restore their code captions. Types and
        // layout stay as they were.
        if (category_ == ReportCategory::Bimestrais) {
            const ReportKind &first = reportKinds(category_).front();
            fields_[1].caption = first.fields[0].caption;
            fields_[2].caption = first.fields[1].caption;
        }
        result.ok = loadRegistry(result);
    }

    if (!result.ok) {
        // The previous selection's items do not belong to this kind: show
        // none rather than offer them under it.
        items_ = ItemList();
    }
    return result;
}

bool ReportSession::loadRegistry(SessionResult &result)
{
    store_.clear();
    ++registryRevision_;
    if (registryFile_.isEmpty()) {
        registryLoaded_ = true;
        return true;
    }
    const TextLines read = readRegistry(registryFile_);
    if (read.status == ReadStatus::Unreadable) {
        registryLoaded_ = false;
        const QString path = registryPath(registryFile_);
        result.messages.append(read.tooLarge ? msg::fileTooLarge(path) : msg::cannotReadFile(path));
        return false;
    }
    // A registry that does not exist yet is an empty registry.
    store_.assign(read.lines);
    registryLoaded_ = true;
    return true;
}

void ReportSession::setPeriod(int index, const QString &shownName)
{
    period_ = QString::number(index + 1);
    periodName_ = shownName;
    forgetPreviousPeriod();
}

void ReportSession::setYear(const QString &year)
{
    year_ = year;
    forgetPreviousPeriod();
}

SessionResult ReportSession::load()
{
    SessionResult result;
    loadPeriod(result);
    if (isValidYear(year_)) {
        result.add(writePage());
    }
    return result;
}

void ReportSession::loadPeriod(SessionResult &result)
{
    // Released rather than emptied: a cleared list keeps the room of every
    // item it held through the load that replaces them.
    items_ = ItemList();
    dataFileReadable_ = true;
    // A year text that is not a year never becomes part of a path: nothing
    // is read or written for it, and the list stays empty.
    if (!isValidYear(year_)) {
        return;
    }
    const QString path = dataFilePath(year_, prefix_, period_);
    ++operation_;
    LoadedItems loaded = loadItemList(path, store_, fieldTypes(), fieldCount_, followsRegistry(),
                                      accumulateInto(result));
    items_ = std::move(loaded.items);
    if (loaded.status == ReadStatus::Unreadable) {
        // What could be shown is not what the file holds: saving this list
        // over it would lose the user's items.
        dataFileReadable_ = false;
        result.messages.append(loaded.tooLarge ? msg::fileTooLarge(path)
                                               : msg::cannotReadFile(path));
    }
}

// ---------------------------------------------------------------------------
// The registry

QStringList ReportSession::pickList(int n) const
{
    return registryColumn(store_.lines(), field(n).lookupColumn);
}

int ReportSession::pickIndex(int n, const QString &text) const
{
    return store_.indexOf(field(n).lookupColumn, text);
}

bool ReportSession::reloadRegistry()
{
    // The position the dialog hands back belongs to the file as it left it;
    // a registry that cannot be read again cannot tell which entry that is.
    const TextLines read = readRegistry(registryFile_);
    if (read.status == ReadStatus::Unreadable) {
        return false;
    }
    store_.assign(read.lines);
    ++registryRevision_;
    return true;
}

std::optional<Completion> ReportSession::complete(int n, const QString &text) const
{
    const int column = field(n).lookupColumn;
    const int entry = store_.indexOf(column, text);
    if (entry < 0) {
        return std::nullopt;
    }
    const QString &line = store_.at(entry);
    if (column == 1 && n < kMaxFields) {
        return Completion{n + 1, registryLineField(line, 2)};
    }
    if (column == 2 && n >= 2) {
        return Completion{n - 1, registryLineField(line, 1)};
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Fields

std::optional<QString> ReportSession::resetField(int n, const QString &code, SessionResult &result)
{
    // Without a data directory nothing has been set up yet: the fields keep
    // what they show.
    if (!dirExists(dataDir())) {
        return std::nullopt;
    }
    const ReportField &f = field(n);
    return f.accumulates() ? accumulatedValue(f.defaultText, n, code, result) : f.defaultText;
}

std::optional<QString> ReportSession::enterField(int n, const FieldTexts &texts,
                                                 SessionResult &result)
{
    const ReportField &f = field(n);
    const auto operand = [&texts](int i) {
        return i >= 1 && i <= kMaxFields ? texts[std::size_t(i)] : QString();
    };
    // Fields are computed from the ones before them, already shaped when
    // they were left; an operand that is no number leaves the field alone.
    const auto compute = [&](auto op) -> std::optional<QString> {
        const std::optional<double> x = MoneyValue(operand(f.operand1));
        const std::optional<double> y = MoneyValue(operand(f.operand2));
        return x && y ? std::optional<QString>(AmountText(op(*x, *y))) : std::nullopt;
    };
    switch (f.computation) {
    case FieldComputation::Accumulation:
        return accumulatedValue(operand(f.operand1), n, operand(1), result);
    case FieldComputation::Difference:
        return compute([](double x, double y) { return x - y; });
    case FieldComputation::Product:
        return compute([](double x, double y) { return x * y; });
    case FieldComputation::None:
        break;
    }
    return std::nullopt;
}

QString ReportSession::leaveField(int n, const QString &text) const
{
    // A pasted carriage return would end the record's line when the file is
    // read back, just as a line feed would.
    QString cleaned = StripBreaks(text).remove(u'\r');
    switch (field(n).shape) {
    case FieldShape::Money:
        return FormatMoney(cleaned);
    case FieldShape::Date:
        return FormatDate(cleaned);
    case FieldShape::Cnpj:
        return FormatCnpj(cleaned);
    case FieldShape::AsTyped:
        break;
    }
    return cleaned;
}

// ---------------------------------------------------------------------------
// Items

std::pair<FieldTexts, bool> ReportSession::item(int row) const
{
    FieldTexts texts;
    const QString &line = items_.line(row);
    texts[1] = items_.code(row);
    for (int i = 2; i <= storedFieldCount(); ++i) {
        texts[std::size_t(i)] = GetField(line, i);
    }
    return {texts, GetField(line, fieldCount_ + 1) == QStringLiteral("1")};
}

QString ReportSession::itemLine(const FieldTexts &texts, bool excluded) const
{
    QStringList fields;
    for (int i = 1; i <= storedFieldCount(); ++i) {
        fields.append(texts[std::size_t(i)]);
    }
    return composeLine(fields, excluded);
}

std::optional<QString> ReportSession::proposedNumber() const
{
    if (kind_ && kind_->numbersItems) {
        return nextPurchaseNumber(items_);
    }
    return std::nullopt;
}

bool ReportSession::mayStore(SessionResult &result) const
{
    if (!registryLoaded_) {
        result.messages.append(msg::registryNotReadNothingSaved(registryPath(registryFile_)));
        return false;
    }
    if (!isValidYear(year_)) {
        result.messages.append(msg::invalidYear(year_));
        return false;
    }
    return mayWriteDataFile(result);
}

bool ReportSession::mayWriteDataFile(SessionResult &result) const
{
    if (!registryLoaded_ || !isValidYear(year_)) {
        return false;
    }
    if (!dataFileReadable_) {
        result.messages.append(msg::dataFileNotRead(dataFilePath(year_, prefix_, period_)));
        return false;
    }
    return true;
}

SessionResult ReportSession::saveItem(const FieldTexts &texts, bool excluded)
{
    SessionResult result;
    if (texts[1].isEmpty()) {
        result.ok = false;
        return result;
    }
    if (!mayStore(result)) {
        result.ok = false;
        return result;
    }
    const QString line = itemLine(texts, excluded);
    items_.put(lineCode(line), line);
    result.add(writeDataFile());

    if (extendStore(texts)) {
        ++registryRevision_;
    }
    return result;
}

bool ReportSession::extendStore(const FieldTexts &texts)
{
    const int position = kind_ ? kind_->position : -1;
    if (!writesRegistryOnSave(category_, position)) {
        return false;
    }
    // Every extension is checked against the registry as it was before this
    // save; the lines are then added in order.
    QStringList added;
    for (const RegistryExtension &extension : registryExtensions(category_, position)) {
        const QString code = recordText(texts[std::size_t(extension.codeField)]);
        if (extension.requireNonEmpty && code.isEmpty()) {
            continue;
        }
        if (store_.indexOf(1, code) < 0) {
            added.append(code + u'\t' + recordText(texts[std::size_t(extension.nameField)]) +
                         u'\t');
        }
    }
    const bool changed = !added.isEmpty() || !store_.isSorted();
    store_.add(added);
    // A registry that cannot be written keeps its additions in memory; the
    // next save or deletion writes them again.
    (void)writeRegistry(registryFile_, store_.lines());
    return changed;
}

SessionResult ReportSession::addItem(const FieldTexts &texts, bool excluded)
{
    if (texts[1].isEmpty()) {
        return {false, {msg::firstFieldEmpty()}};
    }
    return saveItem(texts, excluded);
}

SessionResult ReportSession::writeDataFile()
{
    SessionResult result;
    writeDataFile(false, result);
    return result;
}

// Tells whether the data file holds the item list now.
bool ReportSession::writeDataFile(bool keepWhenSame, SessionResult &result)
{
    if (!mayWriteDataFile(result)) {
        return false;
    }
    makeDir(dataDir());
    const QString yearDir = dataYearDir(year_);
    makeDir(yearDir);
    if (!dirExists(yearDir)) {
        result.ok = false;
        result.messages.append(msg::cannotCreateDirectory(yearDir));
        return false;
    }
    const QString path = dataFilePath(year_, prefix_, period_);
    const FileResult written =
        keepWhenSame ? writeChangedLines(path, items_.lines()) : writeLines(path, items_.lines());
    if (!written.ok()) {
        result.ok = false;
        result.messages.append(written.message());
    }
    if (previous_ && previous_->path == path) {
        previous_.reset();
    }
    return written.ok();
}

bool ReportSession::asksRegistryDeletion(int row) const
{
    return row >= 0 && row < items_.size() && followsRegistry() &&
           store_.indexOf(1, items_.code(row)) >= 0;
}

SessionResult ReportSession::deleteItem(int row, bool alsoFromRegistry)
{
    SessionResult result;
    bool registryChanged = false;
    if (row < 0 || row >= items_.size()) {
        result.messages.append(msg::selectAnItem());
    } else {
        const QString code = items_.code(row);
        const int entry = asksRegistryDeletion(row) ? store_.indexOf(1, code) : -1;
        items_.removeAt(row);
        if (entry >= 0) {
            if (alsoFromRegistry) {
                store_.removeAt(entry);
                ++registryRevision_;
                registryChanged = true;
            } else if (!items_.contains(code)) {
                // The registry keeps the item: it stays in the list, reset.
                ++operation_;
                const QString line = registryItemLine(store_.at(entry), fieldTypes(), fieldCount_,
                                                      false, accumulateInto(result));
                items_.put(lineCode(line), line);
            }
        }
    }

    if (!registryLoaded_) {
        return result;
    }
    // The store of a kind that only empties it is not its registry file:
    // written back it would wipe that file. A typed title leaves the store
    // of the kind before it, so it writes only what this deletion changed.
    if ((kind_ && kind_->loaded) || registryChanged) {
        if (!writeRegistry(registryFile_, store_.lines()).ok()) {
            result.messages.append(msg::cannotSaveRegistry());
        }
    }
    if (mayWriteDataFile(result)) {
        const QString path = dataFilePath(year_, prefix_, period_);
        if (!writeLines(path, items_.lines()).ok()) {
            result.messages.append(msg::cannotAlterFile(path));
        }
        if (previous_ && previous_->path == path) {
            previous_.reset();
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// Accumulated values

AccumulateFn ReportSession::accumulateInto(SessionResult &result)
{
    // Every item of one load is in the same period of the same year: whether
    // its value adds to the previous period's, and the look at that period's
    // file, are settled for the first item and serve the others.
    std::optional<const PreviousPeriod *> previous;
    return [this, &result, previous, rooms = AccumulationRooms()](const QString &value, int k,
                                                                  const QString &code) mutable {
        if (!previous) {
            previous = periodToAddTo();
        }
        return accumulateOnto(*previous, value, k, code, result, rooms);
    };
}

QString ReportSession::accumulatedValue(const QString &value, int k, const QString &code,
                                        SessionResult &result)
{
    ++operation_;
    return accumulateValue(value, k, code, result);
}

QString ReportSession::accumulateValue(const QString &value, int k, const QString &code,
                                       SessionResult &result)
{
    AccumulationRooms rooms;
    return accumulateOnto(periodToAddTo(), value, k, code, result, rooms);
}

// The period a value of this one adds to: none for the first month or
// bimester, which starts from its own amount, nor under a year that is no
// year, for which no file is looked for.
const PreviousPeriod *ReportSession::periodToAddTo()
{
    return period_ == QStringLiteral("1") || !isValidYear(year_) ? nullptr : &previousPeriod();
}

QString ReportSession::accumulateOnto(const PreviousPeriod *previous, const QString &value, int k,
                                      const QString &code, SessionResult &result,
                                      AccumulationRooms &rooms) const
{
    if (!previous) {
        // The first period starts from its own amount; under a year that is
        // not one there is nothing to tell the user while it is being typed.
        return period_ == QStringLiteral("1") ? value : msg::accumulationInstruction();
    }
    return rooms.add(*previous, value, k, code, result.messages);
}

ReportSession::FileStamp ReportSession::fileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return {};
    }
    return {true, info.size(), info.lastModified(),
            info.fileTime(QFileDevice::FileMetadataChangeTime)};
}

const PreviousPeriod &ReportSession::previousPeriod()
{
    // Looked at once per operation: a load asks for every item, and one
    // look at the file serves them all, without building its path again.
    if (previous_ && checkedIn_ == operation_ && checkedFor_ == std::tie(year_, prefix_, period_)) {
        return previous_->data;
    }
    const QString path = dataFilePath(year_, prefix_, previousPeriodNumber(period_));
    const FileStamp stamp = fileStamp(path);
    if (!previous_ || previous_->path != path || !(previous_->stamp == stamp)) {
        // The file held so far goes before the next one is read, not after.
        previous_.reset();
        previous_ = PreviousFile{path, stamp, PreviousPeriod::load(year_, prefix_, period_)};
    }
    checkedIn_ = operation_;
    checkedFor_ = {year_, prefix_, period_};
    return previous_->data;
}

// Holds the item list, just written to its data file, as the previous
// period of the next one. Read back, the file would give the same lines: no
// line holds a line end, for every line was read from a file as a line or
// composed of fields stripped of them.
void ReportSession::keepListAsPrevious()
{
    const QString path = dataFilePath(year_, prefix_, period_);
    previous_.reset();
    previous_ =
        PreviousFile{path, fileStamp(path),
                     PreviousPeriod::fromRead(path, {ReadStatus::Ok, items_.lines(), false})};
}

SessionResult ReportSession::recalculateYear()
{
    SessionResult result;
    bool isNumber = false;
    const int n = period_.toInt(&isNumber);
    if (!isNumber || n <= 1) {
        // Period 1 has nothing before it, and annual kinds (period 0) accumulate nothing.
        result.ok = false;
        return result;
    }
    const QString shownName = periodName_;
    const QStringList &names = categoryInfo(category_).periods;
    // Every period's page would rewrite both indexes, each a pass over the
    // year's folder: they are written once, after the last page.
    indexesDeferred_ = true;
    for (int p = 1; p <= n; ++p) {
        // Each period's page carries that period's own name.
        setPeriod(p - 1, p - 1 < names.size() ? names.at(p - 1) : shownName);
        result.add(load());
        // A period whose values were already right, as most are, keeps its
        // file untouched. The next period accumulates from this file as it
        // now is: the list it holds, kept rather than read back.
        SessionResult written;
        if (writeDataFile(true, written)) {
            keepListAsPrevious();
        }
        result.add(written);
    }
    indexesDeferred_ = false;
    if (std::exchange(indexesPending_, false)) {
        const FileResult indexed = writeIndexes(year_, profile_.municipality());
        if (!indexed.ok()) {
            result.messages.append(indexed.message());
        }
    }
    period_ = QString::number(n);
    periodName_ = shownName;
    forgetPreviousPeriod();
    return result;
}

// ---------------------------------------------------------------------------
// The page

PageInput ReportSession::pageInput() const
{
    PageInput input;
    input.title = title_;
    input.municipality = profile_.municipality();
    input.year = year_;
    input.periodName = periodName_;
    input.fieldCount = std::clamp(fieldCount_, 0, kMaxFields);
    for (int i = 1; i <= input.fieldCount; ++i) {
        input.captions.append(field(i).caption);
        input.fieldTypes.append(field(i).type);
    }
    input.codes = items_.codes();
    input.lines = items_.lines();
    input.prefeito = profile_.prefeito;
    input.secFin = profile_.secFin;
    input.contador = profile_.contador;
    input.crc = profile_.crc;
    input.totalRow = !kind_ || kind_->totalRow;
    input.municipalityName = profile_.name;
    input.state = profile_.state;
    input.prefix = prefix_;
    input.period = period_;
    input.category = category_;
    input.position = kind_ ? kind_->position : -1;
    return input;
}

SessionResult ReportSession::writePage()
{
    SessionResult result;
    const PageInput input = pageInput();
    // A page of 100,000 rows is 26 MB: it goes to its file as it is written,
    // and its open data beside it, every item split once for all three. The
    // open data always follow the page they stand beside; the indexes too,
    // unless a recalculation writes them once at its end.
    const PageRows rows(input);
    const FileResult written = writePageAndOpenData(input, !indexesDeferred_, rows);
    indexesPending_ = indexesPending_ || (indexesDeferred_ && written.ok());
    if (!written.ok()) {
        result.ok = false;
        if (!written.message().isEmpty()) {
            result.messages.append(written.message());
        }
    }
    return result;
}

QList<Finding> ReportSession::checkYear() const
{
    if (!kind_ || !isValidYear(year_)) {
        return {};
    }
    QList<Finding> findings = checkKindYear(category_, kind_->position, year_);
    sortFindings(findings);
    return findings;
}

int ReportSession::errorsInReport() const
{
    if (!kind_ || !isValidYear(year_)) {
        return 0;
    }
    return errorCount(checkReport(category_, kind_->position, year_, period_.toInt()));
}

QString ReportSession::pagePath() const
{
    return isValidYear(year_) ? pageFilePath(year_, prefix_, period_) : QString();
}

} // namespace quelvara
