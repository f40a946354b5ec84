#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

// The report catalogue: the three categories, their report kinds with titles,
// file prefixes, registry files and fields, and the twelve registries. Plain
// data that any code reads without a window.
namespace quelvara {

// What an entry field holds. A positive value n means "column n of the
// report kind's registry" (Coluna n), shown as a drop-down pick list.
enum FieldType : int {
    Texto = 0,
    Valor = -1,
    Data = -2,
    Diferenca = -3,
    Acumulado = -4,
    Orcado = -5,
    ValorTotal = -6,
};

/// Returns the field type "column n of the registry".
constexpr int Coluna(int n) { return n; }

/// Tells whether a field type holds money (summed in the page's total row).
constexpr bool isMoneyType(int type)
{
    return type == Valor || type == Diferenca || type == Acumulado || type == Orcado ||
           type == ValorTotal;
}

enum class ReportCategory : int { Mensais = 0, Bimestrais = 1, Anuais = 2 };

inline constexpr int kMaxFields = 10;

/// Returns the text a field of the type holds when nothing was entered (an accumulated field
/// holds the accumulation of this text instead).
QString defaultFieldText(int type);

// How a field's text is shaped when the user leaves the field.
enum class FieldShape { AsTyped, Money, Date, Cnpj };

// What a field is computed from when the user enters it.
enum class FieldComputation {
    None,
    Difference,   // operand1 minus operand2
    Product,      // operand1 times operand2
    Accumulation, // operand1 (the period's amount) plus this field in the previous period
};

// One entry field of a report kind: its caption, its type and the rules that
// follow from them. Fields are numbered from 1.
struct ReportField {
    QString caption;
    int type = Texto;
    QString defaultText; // what a new item holds
    FieldShape shape = FieldShape::AsTyped;
    FieldComputation computation = FieldComputation::None;
    int operand1 = 0;     // the fields it is computed from
    int operand2 = 0;
    int lookupColumn = 0; // the registry column it is picked from; 0 for none
    // What a check before publishing asks of the text beyond its shape.
    bool cpfAllowed = false; // a CNPJ field that may hold a person's CPF instead
    bool dateInYear = false; // a date that belongs to the report's year (a signing date)

    /// Tells whether the field holds money (summed in the page's total row).
    bool isMoney() const { return isMoneyType(type); }
    /// Tells whether the field holds the amount accumulated in the year.
    bool accumulates() const { return computation == FieldComputation::Accumulation; }
};

/// Returns a field with the rules that follow from its caption and type, at field number n of a
/// kind whose registry is the file named.
ReportField makeField(const QString &caption, int type, int n, const QString &registryFile);

// One way saving an item extends the kind's registry: when the text of field
// codeField is not yet a code of the registry (and, with requireNonEmpty, is
// not empty), the line codeField TAB nameField TAB is added to it. Fields are
// 1-based.
struct RegistryExtension {
    int codeField;
    int nameField;
    bool requireNonEmpty;

    friend bool operator==(const RegistryExtension &, const RegistryExtension &) = default;
};

struct ReportKind {
    ReportCategory category = ReportCategory::Mensais;
    int position = 0; // 0-based position in the category's title list
    QString title;
    QString prefix;       // start of the data file's and page's name, ends in "-"
    QString registryFile; // bare name in the data directory
    bool loaded = true;   // false: the lookup store is only emptied when the kind is chosen
    int fieldCount = 0;
    std::array<ReportField, kMaxFields> fields; // fields[0] is field 1
    bool numbersItems = false; // a new item is given the next free six-digit number
    bool totalRow = true;      // the page ends its table with the column totals
    QList<RegistryExtension> extensions; // what saving an item adds to the registry, in order

    /// Returns the field type of field i (1-based), Texto beyond the field count.
    int type(int i) const { return i >= 1 && i <= fieldCount ? fields[i - 1].type : Texto; }
    /// Tells whether the items follow the registry: seeded from it, merged with it on every load.
    bool followsRegistry() const;
};

struct CategoryInfo {
    ReportCategory category;
    QString name;        // "Relatórios Mensais", ...
    QStringList periods; // period names; empty for the annual category
    bool periodsEnabled;
};

/// Returns the three categories in order.
const std::array<CategoryInfo, 3> &categories();

/// Returns the category's description.
const CategoryInfo &categoryInfo(ReportCategory category);

/// Returns the report kinds of a category in title-list order.
const QList<ReportKind> &reportKinds(ReportCategory category);

/// Returns the kind at a position of the category's title list, or nullptr.
const ReportKind *reportKind(ReportCategory category, int position);

/// Tells whether the kind's HTML page ends in a total row (every kind but the annual result).
bool hasTotalRow(ReportCategory category, int position);

/// Returns the registry extensions that saving an item of the kind performs, in order.
QList<RegistryExtension> registryExtensions(ReportCategory category, int position);

/// Tells whether saving an item of the kind sorts and writes the registry back.
bool writesRegistryOnSave(ReportCategory category, int position);

/// Returns the category's titles in order.
QStringList reportTitles(ReportCategory category);

// The years the year box offers on a given day and the one it starts on.
struct YearChoice {
    QStringList years;    // "1999" to the year after the day's, ascending
    int defaultIndex = 0; // the day's own year
};

/// Returns the years offered in the year box on a day and the position of the day's year.
YearChoice yearChoice(const QDate &today);

/// Returns the years offered in the year box today.
QStringList yearList();

/// The prefix used when the title box holds no catalogue position.
inline const QString kUnknownPrefix = QStringLiteral("unknkow-");

/// The registry whose lines are name and CNPJ; kinds using it are never seeded from it.
inline const QString kCnpjRegistry = QStringLiteral("cnpj.vqd");

/// Tells whether a registry file name is the CNPJ registry (exact, case-sensitive).
inline bool isCnpjRegistry(const QString &file) { return file == kCnpjRegistry; }

inline bool ReportKind::followsRegistry() const { return !isCnpjRegistry(registryFile); }

// Where a registry's entry stands in the main window's registry menu: on the
// menu itself or in one of its two submenus.
enum class RegistrySubmenu : int { None = 0, Transferencias = 1, Despesas = 2 };

struct RegistryInfo {
    QString file;       // "tributos.vqd"
    QString menuEntry;  // "Tributos"
    QString label1;     // "Codigo:"
    QString label2;     // "Tributo:"
    QString actionName; // "Tributos1", the objectName of its menu entry
    RegistrySubmenu submenu = RegistrySubmenu::None;
    // A dividing line goes before the entry, or before its submenu when the entry opens it.
    bool lineBefore = false;
};

/// Returns the twelve registries in the order of the main window's registry menu.
const QList<RegistryInfo> &registries();

/// Returns the two field labels of a registry file, "Campo1:" and "Campo2:" for unknown names.
std::pair<QString, QString> registryLabels(const QString &file);

} // namespace quelvara
