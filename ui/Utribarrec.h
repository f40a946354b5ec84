#pragma once

#include "accumulate.h"
#include "catalogue.h"
#include "itemlist.h"

#include <QDialog>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;
class QToolButton;
class QFrame;

namespace quelvara {
class FocusWatch;
}

// The report editor: the user picks a report kind, a year and a period, and
// enters the items of that report. The window applies the report catalogue
// and the core's item-list, accumulation and page functions; it holds no
// report knowledge of its own.
//
// Its implementation is split by concern: Utribarrec.cpp (layout and the
// selection chain), Utribarrec_fields.cpp (entry fields, pick lists, lookup
// buttons), Utribarrec_items.cpp (data file and item list), Utribarrec_accum.cpp
// (accumulated values, "Atualizar Valores") and Utribarrec_report.cpp (the HTML page).
class TTribArrec : public QDialog {
    Q_OBJECT
public:
    explicit TTribArrec(QWidget *parent = nullptr);
    ~TTribArrec() override;

    // Members that describe the report shown. Fields are numbered 1 to 10;
    // index 0 of the arrays is unused.
    QString NomePrefeitura;
    QString UF;
    QString Ano;
    QString Periodo;
    QString PrefixoArq;
    QString ArqCadastro;
    int NumCampos = 0;
    std::array<int, quelvara::kMaxFields + 1> TipoCampo{};

    // Controls, named as their objectName.
    QComboBox *SubTitle = nullptr; // hidden: the category
    QComboBox *Title = nullptr;
    QLabel *lbAno = nullptr;
    QComboBox *cbAno = nullptr;
    QLabel *lbPeriodo = nullptr;
    QComboBox *cbPeriodo = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    std::array<QLabel *, quelvara::kMaxFields + 1> Campo{};
    std::array<QComboBox *, quelvara::kMaxFields + 1> Edit{};
    std::array<QToolButton *, 7> SpeedButton{}; // 1 to 6
    QLabel *Label5 = nullptr;
    QListWidget *lbTitulos = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Deletar1 = nullptr;
    QPushButton *btNovo = nullptr;
    QPushButton *btAdd = nullptr;
    QPushButton *btDel = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *SpeedButton8 = nullptr;
    QPushButton *btView = nullptr;
    QPushButton *btOK = nullptr;
    QLabel *Prefeitura = nullptr;  // hidden
    QLineEdit *Prefeito = nullptr; // hidden, with SecFin, Contador, CRC
    QLineEdit *SecFin = nullptr;
    QLineEdit *Contador = nullptr;
    QLineEdit *CRC = nullptr;

    // Text stores.
    QStringList lbData;       // the lookup store: lines of the kind's registry file
    quelvara::ItemList items; // the item list: codes shown in lbTitulos, lines of the data file
    QStringList lbPrefs;      // lines of the profile's officials file

    // User actions. Every handler connected to a user event runs through
    // runAction; a message shown with showOnce appears at most once in one
    // action, however many items or fields raise it.

    /// Runs one user action (or a part of the action already running).
    void runAction(const std::function<void()> &action);
    /// Shows a message unless the same text was already shown in the current action.
    void showOnce(const QString &message);

    /// Tells whether the lookup store holds the registry of the kind last applied.
    bool registryLoaded() const { return registryLoaded_; }

    // Layout and selection chain.
    quelvara::ReportCategory category() const;
    const quelvara::ReportKind *currentKind() const; // nullptr when Title holds typed text
    void OpeningSequence();
    void SelectCategory();
    void SelectReportKind();
    void cbPeriodoChange();
    void LayOutFields(int n);

    // Entry fields.
    void FillField(int n);
    int FindPick(int n);
    void EditChange(int n); // completion after a user change of field n (1 to 6)
    void EditEnter(int n);
    void EditExit(int n);
    void SpeedButtonClick(int n);
    // Rebuilds the pick lists of the shown lookup fields from lbData, keeping
    // the texts the user sees. Call it after any change of lbData (a save that
    // extends and re-sorts it, a deletion from it).
    void lookupStoreChanged();

    // Item list and data file.
    void cbAnoChange();
    void LoadItemList();
    bool SaveItem(); // false when the item could not be stored
    QString ComposeLine() const;
    void WriteDataFile();
    void btNovoClick();
    void btAddClick();
    void lbTitulosClick();
    void btDelClick();
    void btOKClick();
    void NextPurchaseNumber();

    // Accumulated values and the page.
    QString AccumulatedValue(const QString &value, int k, const QString &code);
    void RecalculateYear();
    void Panel1MouseDown();
    void Panel1MouseUp();
    void WritePage();
    void btViewClick();
    void SpeedButton8Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    bool loadLookupStore();
    void periodStep(bool saveFirst);
    void readProfile();
    void acceptTypedText(QComboBox *box);
    void dropSelection(QComboBox *box);
    void setPickPresentation(int n, bool pickList);
    bool hasPickPresentation(int n) const;
    void setPickList(int n);
    int lookupLine(int column, const QString &text, int hint) const;
    void setFieldText(int n, const QString &text);
    // Item list (Utribarrec_items.cpp).
    void showItems();
    int selectedRow() const;
    void showItem(int row);
    bool mayStoreItems();
    bool mayWriteDataFile();
    // Drops the previous period's file read for accumulation; called whenever
    // a data file is written and when a new user action starts.
    void forgetPreviousPeriod();

    bool opened_ = false;
    int actionDepth_ = 0;
    QSet<QString> shownInAction_;
    bool panelPressed_ = false;
    // The accumulation of the period shown, with the previous period's file
    // as read in the current user action.
    std::optional<quelvara::Accumulator> accumulator_;

    // Whether lbData holds the registry of the kind last applied. False until
    // a kind is applied, and after a kind whose registry file exists but
    // could not be read: its item list was not loaded either, so nothing may
    // be written (data file or registry) until a kind loads properly. Every
    // operation of the editor that writes the data file or the registry
    // checks it first.
    bool registryLoaded_ = false;
    // False while the loaded data file could not be read: it is never written
    // over for that load.
    bool dataFileReadable_ = true;
    // The line of the item as New left it, first field proposed by the
    // program included: Exit does not store it untouched.
    QString newItemLine_;

    quelvara::FocusWatch *focusWatch_ = nullptr;
};

// The editor currently open, if any.
extern TTribArrec *TribArrec;

namespace quelvara {

/// Opens the report editor modally in a category, with the municipality as the main window shows
/// it.
void openReportEditor(QWidget *parent, int category, const QString &nomePrefeitura,
                      const QString &uf);

} // namespace quelvara
