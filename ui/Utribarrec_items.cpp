#include "Utribarrec.h"
#include "catalogue.h"
#include "messages.h"
#include "platform.h"
#include "registry.h"
#include "reportdata.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>

#include <algorithm>

namespace {

// Items of a kind whose registry is not the CNPJ registry follow their
// registry: seeded from it, merged with it, and extending it.
bool isRegistryKind(const TTribArrec &editor)
{
    return !quelvara::isCnpjRegistry(editor.ArqCadastro);
}

} // namespace

// ---------------------------------------------------------------------------
// Loading

void TTribArrec::cbAnoChange() { LoadItemList(); }

void TTribArrec::LoadItemList()
{
    using namespace quelvara;
    Ano = cbAno->currentText();
    items.clear();
    dataFileReadable_ = true;
    // A year text that is not a year never becomes part of a path: nothing
    // is read or written for it, and the list stays empty.
    const bool validYear = isValidYear(Ano);
    if (validYear) {
        const QString path = dataFilePath(Ano, PrefixoArq, Periodo);
        LoadedItems loaded = loadItemList(path, lbData, TipoCampo, NumCampos, isRegistryKind(*this),
                                          [this](const QString &value, int k, const QString &code) {
                                              return AccumulatedValue(value, k, code);
                                          });
        items = std::move(loaded.items);
        if (loaded.status == ReadStatus::Unreadable) {
            // What could be shown is not what the file holds: saving this
            // list over it would lose the user's items.
            dataFileReadable_ = false;
            showOnce(msg::cannotReadFile(path));
        }
    }
    showItems();
    if (validYear) {
        WritePage();
    }
    btNovoClick();
}

void TTribArrec::showItems()
{
    lbTitulos->clear();
    lbTitulos->addItems(items.codes());
    lbTitulos->setCurrentRow(-1);
    lbTitulos->clearSelection();
}

int TTribArrec::selectedRow() const
{
    const QList<QListWidgetItem *> selected = lbTitulos->selectedItems();
    return selected.isEmpty() ? -1 : lbTitulos->row(selected.first());
}

// ---------------------------------------------------------------------------
// Saving

bool TTribArrec::mayStoreItems()
{
    using namespace quelvara;
    if (!registryLoaded_) {
        showOnce(msg::registryNotReadNothingSaved(registryPath(ArqCadastro)));
        return false;
    }
    if (!isValidYear(Ano)) {
        showOnce(msg::invalidYear(Ano));
        return false;
    }
    return mayWriteDataFile();
}

bool TTribArrec::mayWriteDataFile()
{
    using namespace quelvara;
    if (!registryLoaded_ || !isValidYear(Ano)) {
        return false;
    }
    if (!dataFileReadable_) {
        showOnce(msg::dataFileNotRead(dataFilePath(Ano, PrefixoArq, Periodo)));
        return false;
    }
    return true;
}

bool TTribArrec::SaveItem()
{
    using namespace quelvara;
    if (Edit[1]->currentText().isEmpty()) {
        return false;
    }
    if (!mayStoreItems()) {
        return false;
    }
    const QString line = ComposeLine();
    items.put(lineCode(line), line);
    showItems();
    WriteDataFile();

    QStringList fields;
    for (int i = 1; i <= kMaxFields; ++i) {
        fields.append(Edit[i]->currentText());
    }
    if (extendRegistry(lbData, category(), Title->currentIndex(), fields)) {
        // A registry that cannot be written keeps its additions in memory;
        // the next save or deletion writes them again.
        (void)writeRegistry(ArqCadastro, lbData);
        lookupStoreChanged();
    }
    return true;
}

QString TTribArrec::ComposeLine() const
{
    QStringList fields;
    const int last = std::clamp(NumCampos, 3, quelvara::kMaxFields);
    for (int i = 1; i <= last; ++i) {
        fields.append(Edit[i]->currentText());
    }
    return quelvara::composeLine(fields, CheckBox1->isChecked());
}

void TTribArrec::WriteDataFile()
{
    using namespace quelvara;
    if (!mayWriteDataFile()) {
        return;
    }
    makeDir(dataDir());
    const QString yearDir = dataYearDir(Ano);
    makeDir(yearDir);
    if (!dirExists(yearDir)) {
        showOnce(msg::cannotCreateDirectory(yearDir));
        return;
    }
    const QString path = dataFilePath(Ano, PrefixoArq, Periodo);
    if (const FileResult written = writeLines(path, items.lines()); !written.ok()) {
        showOnce(written.message());
    }
    forgetPreviousPeriod();
}

// ---------------------------------------------------------------------------
// Buttons and the list

void TTribArrec::btNovoClick()
{
    setFieldText(1, QString());
    LayOutFields(NumCampos);
    NextPurchaseNumber();
    lbTitulos->setCurrentRow(-1);
    lbTitulos->clearSelection();
    newItemLine_ = ComposeLine();
}

void TTribArrec::btAddClick()
{
    if (Edit[1]->currentText().isEmpty()) {
        quelvara::platform().showMessage(this, quelvara::msg::firstFieldEmpty());
        return;
    }
    // An item that could not be stored stays in the editor to be corrected.
    if (SaveItem()) {
        btNovoClick();
    }
}

void TTribArrec::lbTitulosClick()
{
    const int clicked = selectedRow();
    const QString code = clicked >= 0 ? items.code(clicked) : QString();
    if (isRegistryKind(*this)) {
        SaveItem();
        // The save may have moved the clicked item, or replaced it.
        const int row = clicked >= 0 ? items.indexOf(code) : -1;
        lbTitulos->setCurrentRow(row);
        if (row < 0) {
            lbTitulos->clearSelection();
        }
    }
    const int row = selectedRow();
    if (row >= 0) {
        showItem(row);
    }
}

void TTribArrec::showItem(int row)
{
    using quelvara::GetField;
    const QString &line = items.line(row);
    setFieldText(1, items.code(row));
    const int last = std::clamp(NumCampos, 3, quelvara::kMaxFields);
    for (int i = 2; i <= last; ++i) {
        setFieldText(i, GetField(line, i));
    }
    CheckBox1->setChecked(GetField(line, NumCampos + 1) == QStringLiteral("1"));
}

void TTribArrec::btDelClick()
{
    using namespace quelvara;
    const int row = selectedRow();
    bool registryChanged = false;
    if (row < 0) {
        platform().showMessage(this, msg::selectAnItem());
    } else {
        const QString code = items.code(row);
        items.removeAt(row);
        const int entry = isRegistryKind(*this) ? registryIndexOf(lbData, code) : -1;
        if (entry >= 0) {
            if (platform().askYesNo(this, msg::deleteCaption(), msg::deleteFromRegistry())) {
                lbData.removeAt(entry);
                registryChanged = true;
            } else if (!items.contains(code)) {
                // The registry keeps the item: it stays in the list, reset.
                const QString line =
                    registryItemLine(lbData.at(entry), TipoCampo, NumCampos, false,
                                     [this](const QString &value, int k, const QString &itemCode) {
                                         return AccumulatedValue(value, k, itemCode);
                                     });
                items.put(lineCode(line), line);
            }
        }
    }

    btNovoClick();
    showItems();
    if (registryChanged) {
        lookupStoreChanged();
    }
    if (!registryLoaded_) {
        return;
    }
    // The store of a kind that only empties it is not its registry file:
    // written back it would wipe that file. A typed title leaves the store
    // of the kind before it, so it writes only what this deletion changed.
    const ReportKind *kind = currentKind();
    if ((kind && kind->loaded) || registryChanged) {
        if (!writeRegistry(ArqCadastro, lbData).ok()) {
            showOnce(msg::cannotSaveRegistry());
        }
    }
    if (mayWriteDataFile()) {
        const QString path = dataFilePath(Ano, PrefixoArq, Periodo);
        if (!writeLines(path, items.lines()).ok()) {
            showOnce(msg::cannotAlterFile(path));
        }
        forgetPreviousPeriod();
    }
}

void TTribArrec::btOKClick()
{
    // A purchase number or a zero that the program proposed is no item the
    // user entered: stored on every exit it would add a blank item each time.
    if (!Edit[1]->currentText().isEmpty() && ComposeLine() != newItemLine_) {
        SaveItem();
    }
    close();
}

void TTribArrec::NextPurchaseNumber()
{
    // Only the monthly purchases number their items.
    if (category() == quelvara::ReportCategory::Mensais && Title->currentIndex() == 7) {
        setFieldText(1, quelvara::nextPurchaseNumber(items));
    }
}
