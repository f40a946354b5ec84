#pragma once

#include "accumulate.h"
#include "catalogue.h"
#include "htmlpage.h"
#include "registry.h"
#include "reportdata.h"
#include "reportpaths.h"
#include "textfile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The program's write paths for the fault and kill tests: each is a function
// that performs one save of one file through the code the program uses and
// tells whether it reported a failure. A new path (a new window or session
// that saves) is one more entry in a table of these.
namespace writepaths {

// The report used throughout: monthly taxes collected, March 2005.
inline const QString kYear = QStringLiteral("2005");
inline const QString kPeriod = QStringLiteral("3");
inline const QString kRegistry = QStringLiteral("tributos.vqd");

inline const quelvara::ReportKind &kind()
{
    return *quelvara::reportKind(quelvara::ReportCategory::Mensais, 0);
}

inline quelvara::FieldTypes fieldTypes()
{
    quelvara::FieldTypes types{};
    for (int i = 1; i <= quelvara::kMaxFields; ++i) {
        types[std::size_t(i)] = kind().type(i);
    }
    return types;
}

inline QString dataPath(const QString &periodo = kPeriod)
{
    return quelvara::dataFilePath(kYear, kind().prefix, periodo);
}

inline QString pagePath() { return quelvara::pageFilePath(kYear, kind().prefix, kPeriod); }

// Loads the period's items as the editor does, accumulated values computed from the period before.
inline quelvara::LoadedItems loadItems()
{
    const quelvara::TextLines registry = quelvara::readRegistry(kRegistry);
    quelvara::Accumulator accumulator(kYear, kind().prefix, kPeriod);
    return quelvara::loadItemList(
        dataPath(), registry.lines, fieldTypes(), kind().fieldCount, true,
        [&accumulator](const QString &value, int k, const QString &code) {
            return accumulator.value(value, k, code).text;
        });
}

inline bool writeItems(const quelvara::ItemList &items)
{
    quelvara::makeDir(quelvara::dataYearDir(kYear));
    return !quelvara::writeLines(dataPath(), items.lines()).ok();
}

// "Salvar" of an item in the editor: the item into the list, the data file written.
inline bool saveItem()
{
    quelvara::LoadedItems loaded = loadItems();
    const QString line =
        quelvara::composeLine({QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                               QStringLiteral("1.500,00"), QStringLiteral("4.500,00")},
                              false);
    loaded.items.put(quelvara::lineCode(line), line);
    return writeItems(loaded.items);
}

// "Excluir" in the editor: the first item out, the data file written.
inline bool deleteItem()
{
    quelvara::LoadedItems loaded = loadItems();
    if (!loaded.items.isEmpty()) {
        loaded.items.removeAt(0);
    }
    return writeItems(loaded.items);
}

// "Atualizar Valores": the accumulated values computed again and the data file written.
inline bool recalculate() { return writeItems(loadItems().items); }

// The editor's save of an item that names a new tax: the tax registry extended and written.
inline bool editorExtendsRegistry()
{
    quelvara::TextLines registry = quelvara::readRegistry(kRegistry);
    quelvara::extendRegistry(registry.lines, quelvara::ReportCategory::Mensais, 0,
                             {QStringLiteral("9999.99.99"), QStringLiteral("Taxa nova"),
                              QStringLiteral("10,00"), QStringLiteral("10,00")});
    return !quelvara::writeRegistry(kRegistry, registry.lines).ok();
}

// The page of the period as the editor builds it.
inline QStringList pageEntries()
{
    const quelvara::LoadedItems loaded = loadItems();
    quelvara::PageInput input;
    input.title = kind().title;
    input.municipality = QStringLiteral("Prefeitura Municipal de Exemplo - SP");
    input.year = kYear;
    input.periodName = QStringLiteral("Março");
    input.fieldCount = kind().fieldCount;
    for (int i = 1; i <= kind().fieldCount; ++i) {
        input.captions.append(kind().fields[std::size_t(i - 1)].caption);
        input.fieldTypes.append(kind().type(i));
    }
    input.codes = loaded.items.codes();
    input.lines = loaded.items.lines();
    return quelvara::buildPage(input);
}

// "Visualizar Relatório": the page of the period written.
inline bool writePage()
{
    return !quelvara::writePageFile(kYear, kind().prefix, kPeriod, pageEntries()).ok();
}

// A save of a large report: its lines are made on the first call, as the
// editor would have them, and every call writes them again. Only the writing
// is repeated, so a fault can be put at each of its many steps quickly.
inline std::function<bool()> largeDataFile()
{
    auto lines = std::make_shared<QStringList>();
    return [lines] {
        if (lines->isEmpty()) {
            *lines = loadItems().items.lines();
        }
        quelvara::makeDir(quelvara::dataYearDir(kYear));
        return !quelvara::writeLines(dataPath(), *lines).ok();
    };
}

inline std::function<bool()> largePage()
{
    auto entries = std::make_shared<QStringList>();
    return [entries] {
        if (entries->isEmpty()) {
            *entries = pageEntries();
        }
        return !quelvara::writePageFile(kYear, kind().prefix, kPeriod, *entries).ok();
    };
}

inline std::function<bool()> largeRegistry()
{
    auto lines = std::make_shared<QStringList>();
    return [lines] {
        if (lines->isEmpty()) {
            *lines = quelvara::readRegistry(kRegistry).lines;
            quelvara::extendRegistry(*lines, quelvara::ReportCategory::Mensais, 0,
                                     {QStringLiteral("9999.99.99"), QStringLiteral("Taxa nova")});
        }
        return !quelvara::writeRegistry(kRegistry, *lines).ok();
    };
}

// Lays out a data folder: the sample registries and profile, the February and March files of the
// report seeded from a tax registry of `taxes` entries (0: the sample's) with amounts in them.
inline void layOutFolder(const QString &samples, int taxes)
{
    QDir().mkpath(QStringLiteral("dados"));
    const QStringList names = QDir(samples).entryList(QDir::Files);
    for (const QString &name : names) {
        QFile::copy(QDir(samples).filePath(name), quelvara::dataFile(name));
        QFile::setPermissions(quelvara::dataFile(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    if (taxes > 0) {
        QStringList registry;
        for (int i = 0; i < taxes; ++i) {
            registry.append(quelvara::makeRegistryLine(
                QStringLiteral("1%1.00.00").arg(i, 5, 10, QLatin1Char('0')),
                QStringLiteral("Tributo municipal número %1").arg(i)));
        }
        (void)quelvara::writeRegistry(kRegistry, registry);
    }
    const QStringList registry = quelvara::readRegistry(kRegistry).lines;
    quelvara::makeDir(quelvara::dataYearDir(kYear));
    for (const QString &periodo : {QStringLiteral("2"), kPeriod}) {
        QStringList lines;
        int n = 0;
        for (const QString &entry : registry) {
            const QString amount = QStringLiteral("%1,%2").arg(100 + n).arg(n % 100, 2, 10,
                                                                             QLatin1Char('0'));
            lines.append(quelvara::composeLine({quelvara::registryLineField(entry, 1),
                                                quelvara::registryLineField(entry, 2), amount,
                                                amount},
                                               false));
            ++n;
        }
        (void)quelvara::writeLines(dataPath(periodo), lines);
    }
    quelvara::makeDir(quelvara::pageYearDir(kYear));
    (void)quelvara::writeLines(pagePath(), {QStringLiteral("<html>página anterior</html>")});
}

} // namespace writepaths
