#pragma once

#include <QByteArray>
#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// The About dialog: the product, its purpose and the contact address.
class THelp : public QDialog {
    Q_OBJECT
public:
    explicit THelp(QWidget *parent = nullptr);
    ~THelp() override;

    /// Starts a new message to the vendor's contact address in the mail program.
    void Label4Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void centreOn(QWidget *parent);

    QGroupBox *GroupBox1;
    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *lbVersao; // the program's version
    QFrame *Bevel1;
    QListWidget *ListBox1;
    QLabel *Label4;
    QPushButton *BitBtn1;
};

// The dialog currently open, if any.
extern THelp *Help;

namespace quelvara {

/// Opens the About dialog modally and destroys it when it closes.
void showAbout(QWidget *parent);

/// Returns the About dialog's picture as the JPEG bytes shipped inside the program.
QByteArray aboutPictureJpeg();

} // namespace quelvara
