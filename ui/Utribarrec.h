#pragma once

#include "catalogue.h"
#include "reportsession.h"

#include <QDialog>
#include <QSet>
#include <QString>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace quelvara {
class FocusWatch;
class ItemListBox;
} // namespace quelvara

// The report editor: the user picks a report kind, a year and a period, and
// enters the items of that report. The window is a view of a report session:
// each handler reads the widgets, calls the session, shows the messages its
// result carries and mirrors the session's state into the widgets.
class TTribArrec : public QDialog {
    Q_OBJECT
public:
    explicit TTribArrec(QWidget *parent = nullptr);
    ~TTribArrec() override;

    // Set by the main window before the editor is shown.
    QString NomePrefeitura;
    QString UF;

    // Mirrors of the report shown, written after every action and never read
    // back. Fields are numbered 1 to 10; index 0 of the array is unused.
    QString Ano;
    QString Periodo;
    QString PrefixoArq;
    QString ArqCadastro;
    int NumCampos = 0;
    std::array<int, quelvara::kMaxFields + 1> TipoCampo{};

    // Controls, named as their objectName.
    QComboBox *SubTitle = nullptr; // hidden: the category, set by the main window
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
    quelvara::ItemListBox *lbTitulos = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Deletar1 = nullptr;
    QPushButton *btNovo = nullptr;
    QPushButton *btAdd = nullptr;
    QPushButton *btDel = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *SpeedButton8 = nullptr;
    QPushButton *btView = nullptr;
    QPushButton *btPdf = nullptr;
    QPushButton *btCheck = nullptr;
    QPushButton *btOK = nullptr;
    QLabel *Prefeitura = nullptr;  // hidden mirror of the municipality
    QLineEdit *Prefeito = nullptr; // hidden mirrors of the officials, with SecFin, Contador, CRC
    QLineEdit *SecFin = nullptr;
    QLineEdit *Contador = nullptr;
    QLineEdit *CRC = nullptr;

    /// Returns the report session the window shows.
    const quelvara::ReportSession &session() const { return session_; }

    // User actions. Every handler connected to a user event runs through
    // runAction; a message shown with showOnce appears at most once in one
    // action, however many items or fields raise it.

    /// Runs one user action (or a part of the action already running).
    void runAction(const std::function<void()> &action);
    /// Shows a message unless the same text was already shown in the current action.
    void showOnce(const QString &message);

    /// Tells whether the registry of the kind last applied was read.
    bool registryLoaded() const { return session_.registryLoaded(); }

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
    // Rebuilds the pick lists of the shown lookup fields from the registry,
    // keeping the texts the user sees.
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
    void btPdfClick();
    void btCheckClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void periodStep(bool saveFirst);
    void tell(const quelvara::SessionResult &result);
    void mirror();
    quelvara::FieldTexts fieldTexts() const;
    void acceptTypedText(QComboBox *box);
    void dropSelection(QComboBox *box);
    void setPickPresentation(int n, bool pickList);
    bool hasPickPresentation(int n) const;
    void setPickList(int n);
    void setFieldText(int n, const QString &text);
    void showItems();
    int selectedRow() const;
    void showItem(int row);
    bool mayPublish();
    void clickPanel();
    void openPublished(const QString &path);

    quelvara::ReportSession session_;
    bool opened_ = false;
    int actionDepth_ = 0;
    QSet<QString> shownInAction_;
    bool panelPressed_ = false;
    int defaultYear_ = 0; // the position of today's year in the year box
    // The registry revision and column each field's pick list was built
    // from: a list that would come out the same is not built again.
    std::array<std::pair<int, int>, quelvara::kMaxFields + 1> pickBuiltFrom_{};
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
