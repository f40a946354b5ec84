#pragma once

#include "accumulate.h"
#include "catalogue.h"
#include "checks.h"
#include "htmlpage.h"
#include "itemlist.h"
#include "lookupstore.h"
#include "reportdata.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <tuple>

// The report editor without a window: one report kind, year and period of a
// category, with the registry that feeds it (the lookup store), its item list,
// its accumulated values and the municipality profile its pages are signed
// with. The editor window reads its fields, calls an operation, shows what the
// result says and mirrors the session's state; every report rule lives here.
namespace quelvara {

// The texts of entry fields 1 to 10 (index 0 is unused).
using FieldTexts = std::array<QString, kMaxFields + 1>;

// The municipality and the officials whose names sign its pages.
struct Profile {
    QString name;
    QString state;
    QString prefeito;
    QString secFin;
    QString contador;
    QString crc;

    /// Returns the municipality as the pages and the editor's caption show it: "<name> - <state>".
    QString municipality() const { return name + QStringLiteral(" - ") + state; }
};

// What an operation tells the editor: whether it did what was asked, and the
// messages to show, in order.
struct SessionResult {
    bool ok = true;
    QStringList messages;

    /// Appends the messages of another result.
    void add(const SessionResult &other) { messages += other.messages; }
};

// The partner of a lookup field that a registry entry completes.
struct Completion {
    int field = 0;
    QString text;
};

class ReportSession {
public:
    /// Starts a session in a category, showing no kind yet.
    explicit ReportSession(ReportCategory category = ReportCategory::Mensais);

    // The municipality.

    /// Sets the municipality's name and state as the main window shows them.
    void setMunicipality(const QString &name, const QString &state);
    /// Reads the officials from the profile's officials file; the ones it does not have stay.
    void readOfficials();
    /// Returns the municipality and its officials.
    const Profile &profile() const { return profile_; }

    // What is shown.

    /// Returns the category, fixed for the session's lifetime.
    ReportCategory category() const { return category_; }
    /// Returns the kind last chosen from the catalogue, or nullptr after a typed title.
    const ReportKind *kind() const { return kind_; }
    /// Returns the title as shown (a typed one too).
    const QString &title() const { return title_; }
    /// Returns the file prefix of the kind shown.
    const QString &prefix() const { return prefix_; }
    /// Returns the registry file of the kind shown.
    const QString &registryFile() const { return registryFile_; }
    /// Returns the number of fields of the kind shown.
    int fieldCount() const { return fieldCount_; }
    /// Returns the number of fields an item line holds before its exclusion flag.
    int storedFieldCount() const;
    /// Returns field n (1 to 10) as last applied: caption, type and rules.
    const ReportField &field(int n) const;
    /// Returns the year of the item list last loaded.
    const QString &year() const { return year_; }
    /// Returns the period number ("1" to "12", "1" to "6", "0" for annual kinds).
    const QString &period() const { return period_; }
    /// Returns the period's name as shown ("Março"; empty for annual kinds).
    const QString &periodName() const { return periodName_; }
    /// Tells whether the items follow the registry (seeded from it, merged with it, extending it).
    bool followsRegistry() const { return !isCnpjRegistry(registryFile_); }

    // Choosing.

    /// Applies the kind at a position of the category's titles, or a typed title (position -1);
    /// fails, with its message, when the kind's registry cannot be read.
    SessionResult chooseKind(int position, const QString &shownTitle);
    /// Sets the period from its position in the category's periods (-1: typed, period "0").
    void setPeriod(int index, const QString &shownName);
    /// Leaves the period unset, as in a category that has no periods before its kind is applied.
    void clearPeriod() { period_.clear(); }
    /// Sets the year text.
    void setYear(const QString &year);
    /// Loads the item list of the kind, year and period (read, merged with the registry,
    /// accumulated) and writes its page.
    SessionResult load();

    // The registry of the kind (the lookup store).

    /// Returns the registry's lines as last read or saved.
    const QStringList &registry() const { return store_.lines(); }
    /// Tells whether the registry of the kind shown was read (nothing is saved otherwise).
    bool registryLoaded() const { return registryLoaded_; }
    /// Returns a number that changes whenever the registry's lines change.
    int registryRevision() const { return registryRevision_; }
    /// Returns the pick list of lookup field n: its registry column of every line, in order.
    QStringList pickList(int n) const;
    /// Reads the registry again after the registry dialog; tells whether it could be read.
    bool reloadRegistry();
    /// Returns the position in lookup field n's pick list of the first entry equal to the text
    /// without regard to case, or -1 (also for a field that is no lookup).
    int pickIndex(int n, const QString &text) const;
    /// Returns what a registry entry whose column holds the text completes, for lookup field n.
    std::optional<Completion> complete(int n, const QString &text) const;

    // Fields.

    /// Returns the text field n of a new item holds (an accumulated one computed for the item
    /// code), or nothing without a data directory, where the fields keep what they show.
    std::optional<QString> resetField(int n, const QString &code, SessionResult &result);
    /// Returns the text field n takes when the user enters it, when it is computed (messages of
    /// an accumulation in the result).
    std::optional<QString> enterField(int n, const FieldTexts &texts, SessionResult &result);
    /// Returns the text of field n as shaped when the user leaves it.
    QString leaveField(int n, const QString &text) const;

    // Items.

    /// Returns the item list.
    const ItemList &items() const { return items_; }
    /// Returns the texts of the item at a row and whether it is left out of the totals.
    std::pair<FieldTexts, bool> item(int row) const;
    /// Returns the data line the field texts make, as saving would store it.
    QString itemLine(const FieldTexts &texts, bool excluded) const;
    /// Proposes the next purchase number, for the kinds that number their items.
    std::optional<QString> proposedNumber() const;
    /// Stores the item of the field texts in the list, writes the data file and extends and
    /// writes the registry; fails, saying why when there is a reason to tell, when it is not
    /// stored. An empty first field stores nothing and says nothing.
    SessionResult saveItem(const FieldTexts &texts, bool excluded);
    /// Saves the item as "Salvar" does: an empty first field is refused with its message.
    SessionResult addItem(const FieldTexts &texts, bool excluded);
    /// Writes the item list to the period's data file, creating its directories.
    SessionResult writeDataFile();
    /// Tells whether deleting the item at a row asks whether it leaves the registry too.
    bool asksRegistryDeletion(int row) const;
    /// Deletes the item at a row (the registry entry too, when asked) and writes both files; with
    /// no row it says so and writes the files as they are.
    SessionResult deleteItem(int row, bool alsoFromRegistry);

    // Accumulated values and the page.

    /// Returns the accumulated value of an amount for field k of the item with the code; a
    /// message it has to tell goes into the result.
    QString accumulatedValue(const QString &value, int k, const QString &code,
                             SessionResult &result);
    /// Recomputes and writes every period of the year up to the current one, each page too, and
    /// leaves the current period loaded; fails, saying nothing, in a period that has none before.
    SessionResult recalculateYear();
    /// Makes the next accumulation look at the previous period's file again: it is read again
    /// when it changed on disk since it was read, and kept otherwise.
    void forgetPreviousPeriod() { ++operation_; }
    /// Returns everything the page of the item list shows.
    PageInput pageInput() const;
    /// Writes the page of the item list.
    SessionResult writePage();
    /// Returns the page file of the item list, or an empty text while the year is no year.
    QString pagePath() const;

    // Checks before publishing.

    /// Returns the findings of every period of the kind shown in the year shown.
    QList<Finding> checkYear() const;
    /// Returns how many errors the report shown has on disk, which its page would publish.
    int errorsInReport() const;

private:
    bool mayStore(SessionResult &result) const;
    bool mayWriteDataFile(SessionResult &result) const;
    bool writeDataFile(bool keepWhenSame, SessionResult &result);
    void keepListAsPrevious();
    bool loadRegistry(SessionResult &result);
    void loadPeriod(SessionResult &result);
    AccumulateFn accumulateInto(SessionResult &result);
    QString accumulateValue(const QString &value, int k, const QString &code,
                            SessionResult &result);
    const PreviousPeriod *periodToAddTo();
    QString accumulateOnto(const PreviousPeriod *previous, const QString &value, int k,
                           const QString &code, SessionResult &result,
                           AccumulationRooms &rooms) const;
    const PreviousPeriod &previousPeriod();
    bool extendStore(const FieldTexts &texts);
    FieldTypes fieldTypes() const;

    ReportCategory category_;
    const ReportKind *kind_ = nullptr;
    QString title_;
    QString prefix_;
    QString registryFile_;
    int fieldCount_ = 0;
    std::array<ReportField, kMaxFields + 1> fields_{}; // index 0 unused
    QString year_;
    QString period_;
    QString periodName_;
    Profile profile_;

    LookupStore store_;
    bool registryLoaded_ = false; // false until a kind is applied, and after an unreadable registry
    int registryRevision_ = 0;
    ItemList items_;
    bool dataFileReadable_ = true; // an unreadable data file is never written over in that load
    bool indexesDeferred_ = false; // while a recalculation writes page after page
    bool indexesPending_ = false;  // a page was written while the indexes were deferred
    // The previous period's data file as last read, with what the file
    // system told of it then: kept while the file stays as it was, so that
    // neither a new item nor an entered field reads it again.
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime changed;
        friend bool operator==(const FileStamp &, const FileStamp &) = default;
    };
    static FileStamp fileStamp(const QString &path);
    struct PreviousFile {
        QString path;
        FileStamp stamp;
        PreviousPeriod data;
    };
    std::optional<PreviousFile> previous_;
    int operation_ = 0;  // counts the operations that may accumulate
    int checkedIn_ = -1; // the operation in which the previous file was last looked at
    std::tuple<QString, QString, QString> checkedFor_; // year, prefix and period then
};

} // namespace quelvara
