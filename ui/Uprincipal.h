#pragma once

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolBar;
class QToolButton;

namespace quelvara {
class FocusWatch;
}

// The main window: the municipality profile, the menus and the tool bars that
// open every other window. The profile is read once, when the window is first
// shown, and each field is saved when the user leaves it; the state is saved
// on every change the user makes to it.
class TPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TPrincipal(QWidget *parent = nullptr);
    ~TPrincipal() override;

    // Menus and their entries, named as their objectName.
    QMenu *Relatorios1 = nullptr;
    QAction *Mensais1 = nullptr;
    QAction *Bimestrais1 = nullptr;
    QAction *Anuais1 = nullptr;
    QMenu *Cadastro1 = nullptr;
    QAction *CNPJs1 = nullptr;
    QAction *Tributos1 = nullptr;
    QMenu *Transferencias1 = nullptr;
    QAction *VoluntariasRepassadas1 = nullptr;
    QAction *VoluntriasRecebidas1 = nullptr;
    QAction *ConstitucionaisRecebidas1 = nullptr;
    QMenu *Despesas1 = nullptr;
    QAction *porUnidadeOramentria1 = nullptr;
    QAction *porFuno1 = nullptr;
    QAction *porProgramaeSubPrograma1 = nullptr;
    QAction *porFontedeRecursos1 = nullptr;
    QAction *porGrupodeDespesa1 = nullptr;
    QAction *paraBalano1 = nullptr;
    QAction *Receitas1 = nullptr;
    QMenu *Ajuda1 = nullptr;
    QAction *Sobre1 = nullptr;
    QAction *Sair1 = nullptr;

    // Tool bars and their controls.
    QToolBar *ToolBar1 = nullptr;
    QToolButton *BitBtn1 = nullptr;
    QToolButton *BitBtn2 = nullptr;
    QToolButton *BitBtn3 = nullptr;
    QToolButton *ToolButton10 = nullptr;
    QToolButton *ToolButton6 = nullptr;
    QToolButton *ToolButton5 = nullptr;
    QToolBar *ToolBar2 = nullptr;
    QLineEdit *edNome = nullptr;
    QComboBox *cbUF = nullptr;
    QToolBar *ToolBar3 = nullptr;
    QLineEdit *Prefeito = nullptr;
    QLineEdit *SecFin = nullptr;
    QToolBar *ToolBar4 = nullptr;
    QLineEdit *Contador = nullptr;
    QLineEdit *CRC = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QLabel *StatusPanel2 = nullptr;

    // The pictures of the menus and tool buttons, by position.
    QList<QIcon> ImageList;

    // The lines of the municipality file and of the officials file.
    QStringList lbPrefeitura;
    QStringList lbPrefs;

    /// Opens the report editor in a category (0 monthly, 1 bimonthly, 2 annual).
    void OpenReportEditor(int category);

    /// Opens the registry dialog on a registry file of the data directory.
    void OpenRegistry(const QString &fileName);

    /// Writes the four officials to the officials file.
    void SaveOfficials();

public slots:
    /// Loads the profile into the fields; runs once, when the window is first shown.
    void FormActivate();
    /// Saves the municipality's name and state.
    void edNomeExit();
    /// Saves the officials.
    void PrefeitoExit();

    void Mensais1Click();
    void Bimestrais1Click();
    void Anuais1Click();
    void CNPJs1Click();
    void Tributos1Click();
    void VoluntariasRepassadas1Click();
    void VoluntriasRecebidas1Click();
    void ConstitucionaisRecebidas1Click();
    void porUnidadeOramentria1Click();
    void porFuno1Click();
    void porProgramaeSubPrograma1Click();
    void porFontedeRecursos1Click();
    void porGrupodeDespesa1Click();
    void paraBalano1Click();
    void Receitas1Click();
    void Sobre1Click();
    void Sair1Click();
    void ToolButton10Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildToolBars();
    void buildStatusBar();
    void openRegistryOf(const QAction *entry);
    void fieldLeft(QWidget *field);
    void cbUFEdited();
    QString acceptField(QLineEdit *field, QString (*clean)(const QString &));

    quelvara::FocusWatch *focusWatch_ = nullptr;
    bool activated_ = false;
    // Profile files that exist but could not be read when the window was
    // first shown: they are never written over during this run, so what they
    // hold is not replaced by the default texts of the fields.
    QStringList unreadableFiles_;
    bool mayWrite(const QString &fileName) const { return !unreadableFiles_.contains(fileName); }
    QStringList readProfile(const QString &fileName);
    void saveProfile(const QString &fileName, const QStringList &lines);
};

// The main window of the run.
extern TPrincipal *Principal;

namespace quelvara {

/// Returns the 27 states offered by the main window's state list, in their order.
const QStringList &brazilianStates();

/// Returns the main window's image list, drawn when the program was built: icon 0 registry,
/// 1 group, 2 exit, 3 monthly, 4 bimonthly, 5 annual, 6 about, 7 site.
QList<QIcon> makeImageList();

} // namespace quelvara
