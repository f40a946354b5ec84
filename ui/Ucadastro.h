#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListView;
class QPushButton;
class QStringListModel;

// The registry dialog: lists, adds and deletes the entries of one registry
// file and hands back the position of the chosen entry. Position i of the
// title list is always line i of the file as it lies on disk (as read, or as
// the dialog last wrote it).
class TCadastro : public QDialog {
    Q_OBJECT
public:
    explicit TCadastro(QWidget *parent = nullptr);
    ~TCadastro() override;

    QString FileName;    // bare file name in the data directory, set before showing
    int ChosenIndex = 0; // position of the chosen entry after "OK", -1 after "Cancela"

    /// Closes the dialog as "Cancela" does, whatever closes it (Esc, the window system).
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormActivate();
    void lbTitulosClick();
    bool lbTitulosKeyDown(QKeyEvent *event);
    void btNewClick();
    bool btSaveClick(); // true when the entry is in the registry and the file written
    void btDelClick();
    void Edit1Change();
    void Edit2Change();
    void BitBtn1Click();
    void BitBtn2Click();

    QStringList lines() const;
    template <typename Change>
    void changeLines(Change change);
    void keepSorted();
    int selectedTitle() const;
    void setPosition(QComboBox *field, int position);
    bool refuseWrite();
    QString typedLine() const;
    void fitToContents();

    QGroupBox *GroupBox1;
    QLabel *Campo1;
    QLabel *Campo2;
    QComboBox *Edit1;
    QComboBox *Edit2;
    QPushButton *btNew;
    QPushButton *btSave;
    QPushButton *btDel;
    QListView *lbTitulos; // the first field of every line
    QListView *lbCad;     // the lines whole; hidden
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

    // The registry's lines, the working copy of the file. They are held here
    // only: the lists and both pick lists are views of them.
    QStringListModel *lines_;
    bool loaded_ = false;     // the registry is read once, when the dialog is first shown
    bool sorted_ = false;     // the lines keep the file's order until the first write
    bool unreadable_ = false; // the file exists but could not be read: never write over it
    bool updating_ = false;   // the program, not the user, is changing the controls
};

// The dialog currently open, if any.
extern TCadastro *Cadastro;

namespace quelvara {

/// Opens the registry dialog modally on a registry file and returns its ChosenIndex.
int openRegistry(QWidget *parent, const QString &fileName);

} // namespace quelvara
