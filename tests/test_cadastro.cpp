#include "Ucadastro.h"
#include "fakeplatform.h"
#include "messages.h"
#include "textfile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <unistd.h>

using namespace quelvara;

namespace {

// Writes a registry file by hand, as a user or an older copy of the program might have.
void putRegistry(const ScratchDir &scratch, const QString &name, const QByteArray &bytes)
{
    QDir(scratch.path()).mkdir(QStringLiteral("dados"));
    QFile file(scratch.file(QStringLiteral("dados/") + name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts.append(list->item(i)->text());
    }
    return texts;
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) {
        texts.append(box->itemText(i));
    }
    return texts;
}

// The dialog's controls, found by name, and the user's gestures on them.
struct Controls {
    explicit Controls(TCadastro *dialog)
        : dialog(dialog)
        , Edit1(dialog->findChild<QComboBox *>(QStringLiteral("Edit1")))
        , Edit2(dialog->findChild<QComboBox *>(QStringLiteral("Edit2")))
        , lbTitulos(dialog->findChild<QListWidget *>(QStringLiteral("lbTitulos")))
        , lbCad(dialog->findChild<QListWidget *>(QStringLiteral("lbCad")))
        , btNew(dialog->findChild<QPushButton *>(QStringLiteral("btNew")))
        , btSave(dialog->findChild<QPushButton *>(QStringLiteral("btSave")))
        , btDel(dialog->findChild<QPushButton *>(QStringLiteral("btDel")))
        , BitBtn1(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn1")))
        , BitBtn2(dialog->findChild<QPushButton *>(QStringLiteral("BitBtn2")))
    {
    }

    bool complete() const
    {
        return Edit1 && Edit2 && lbTitulos && lbCad && btNew && btSave && btDel && BitBtn1 &&
               BitBtn2;
    }

    void type(QComboBox *field, const QString &text)
    {
        field->setFocus(Qt::TabFocusReason);
        // Key events that carry their text, so letters beyond ASCII are typed too.
        for (const QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(field->lineEdit(), &press);
            QApplication::sendEvent(field->lineEdit(), &release);
        }
    }

    void pick(QComboBox *field, int position)
    {
        field->showPopup();
        QAbstractItemView *view = field->view();
        const QModelIndex index = view->model()->index(position, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    void clickTitle(int position)
    {
        QListWidgetItem *item = lbTitulos->item(position);
        lbTitulos->scrollToItem(item);
        QTest::mouseClick(lbTitulos->viewport(), Qt::LeftButton, {},
                          lbTitulos->visualItemRect(item).center());
    }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    void save(const QString &first, const QString &second)
    {
        click(btNew);
        type(Edit1, first);
        type(Edit2, second);
        click(btSave);
    }

    TCadastro *dialog;
    QComboBox *Edit1;
    QComboBox *Edit2;
    QListWidget *lbTitulos;
    QListWidget *lbCad;
    QPushButton *btNew;
    QPushButton *btSave;
    QPushButton *btDel;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;
};

// A dialog opened on a registry as its openers do, but shown modelessly so the
// test can drive it.
struct Opened {
    explicit Opened(const QString &fileName)
        : controls(&dialog)
    {
        dialog.FileName = fileName;
        dialog.show();
        QApplication::processEvents();
    }
    TCadastro dialog;
    Controls controls;
};

const QString unsortedFile = QStringLiteral("tributos.vqd");
const QByteArray unsortedBytes("1113.05.00\tTaxa de Licen\xE7"
                               "a\t\r\n"
                               "1112.02.00\tIPTU\t\r\n"
                               "1112.04.00\tISS\t\r\n");
const QByteArray sortedBytes("1112.02.00\tIPTU\t\r\n"
                             "1112.04.00\tISS\t\r\n"
                             "1113.05.00\tTaxa de Licen\xE7"
                             "a\t\r\n");

} // namespace

class TestCadastro : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void frameAndButtons();
    void tabOrderStartsOnNovo();
    void labels_data();
    void labels();
    void loadsInFileOrderAndPicksWithoutWriting();
    void firstSaveCreatesDirectoryAndFile();
    void duplicateInOtherCaseAddsNothing();
    void sameCodeOtherNameAddsLine();
    void emptyFirstFieldStillRewritesSorted();
    void deleteWithoutSelectionStillRewritesSorted();
    void deleteRemovesSelectedLine_data();
    void deleteRemovesSelectedLine();
    void closingGivesPosition_data();
    void closingGivesPosition();
    void positionAfterSaveMatchesFile();
    void deleteWithoutDataDirectoryCreatesNothing();
    void failedSaveKeepsEntry();
    void unreadableFileIsNeverWritten_data();
    void unreadableFileIsNeverWritten();
    void unclosedLastFieldIsReadAndWrittenBack();
    void arrowKeysShowEntry();
    void fieldsMoveTogether();
    void typingKeepsPairedText();
    void typedTextsFitTheFile();
    void enterPressesOk();
    void existingCodeTypedAfterNameKeepsName();
};

void TestCadastro::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");

    QTest::newRow("Novo") << "btNew"
                          << "Novo"
                          << "Novo Item";
    QTest::newRow("Salvar") << "btSave"
                            << "Salvar"
                            << "Salvar Item no Cadastro";
    QTest::newRow("Excluir") << "btDel"
                             << "Excluir"
                             << "Excluir Item do Cadastro";
    QTest::newRow("OK") << "BitBtn1"
                        << "OK"
                        << "";
    QTest::newRow("Cancela") << "BitBtn2"
                             << "Cancela"
                             << "";
}

void TestCadastro::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("func.vqd"));
    auto *button = opened.dialog.findChild<QPushButton *>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(button->isVisible());
}

void TestCadastro::frameAndButtons()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("func.vqd"));
    Controls &c = opened.controls;
    QVERIFY(c.complete());
    QCOMPARE(opened.dialog.windowTitle(), QStringLiteral("Cadastro"));
    QCOMPARE(opened.dialog.size(), QSize(537, 188));
    QCOMPARE(opened.dialog.minimumSize(), opened.dialog.maximumSize());
    QVERIFY(!(opened.dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(c.lbTitulos->toolTip(), QStringLiteral("Lista de Items Cadastrados"));
    QCOMPARE(c.Edit1->width(), 281);
    QCOMPARE(c.Edit2->width(), 281);
    QVERIFY(c.Edit1->isEditable() && c.Edit2->isEditable());
    // The focus starts on "Novo", which takes Enter while it has the focus;
    // anywhere else Enter presses "OK".
    QApplication::setActiveWindow(&opened.dialog);
    QVERIFY(QTest::qWaitForWindowActive(&opened.dialog));
    c.lbTitulos->setFocus(Qt::TabFocusReason);
    QVERIFY(c.BitBtn1->isDefault());
    QVERIFY(!c.BitBtn2->isDefault());
    QVERIFY(!c.lbCad->isVisible());
    QVERIFY(c.lbTitulos->isVisible());
    QVERIFY(fake.messages.isEmpty());
}

void TestCadastro::tabOrderStartsOnNovo()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("func.vqd"));
    Controls &c = opened.controls;
    QApplication::setActiveWindow(&opened.dialog);
    QVERIFY(QTest::qWaitForWindowActive(&opened.dialog));
    QCOMPARE(QApplication::focusWidget(), c.btNew);

    QWidget *expected[] = {c.btSave, c.btDel,   c.lbTitulos, c.Edit2,
                           c.Edit1,  c.BitBtn1, c.BitBtn2,   c.btNew};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus);
        // An editable drop-down list takes the focus in its line edit.
        QCOMPARE(focus == next || focus->parentWidget() == next, true);
    }
}

void TestCadastro::labels_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<QString>("label2");

    QTest::newRow("cnpj") << "cnpj.vqd"
                          << "Nome:"
                          << "CNPJ:";
    QTest::newRow("tributos") << "tributos.vqd"
                              << "Codigo:"
                              << "Tributo:";
    QTest::newRow("repv") << "repv.vqd"
                          << "Numero:"
                          << "Recurso:";
    QTest::newRow("recv") << "recv.vqd"
                          << "Numero:"
                          << "Recurso:";
    QTest::newRow("recc") << "recc.vqd"
                          << "Codigo:"
                          << "Recurso:";
    QTest::newRow("unid") << "unid.vqd"
                          << "Codigo:"
                          << "Nome:";
    QTest::newRow("func") << "func.vqd"
                          << "Codigo:"
                          << "Nome:";
    QTest::newRow("prog") << "prog.vqd"
                          << "Codigo:"
                          << "Nome:";
    QTest::newRow("fonte") << "fonte.vqd"
                           << "Codigo:"
                           << "Nome:";
    QTest::newRow("grupo") << "grupo.vqd"
                           << "Codigo:"
                           << "Nome:";
    QTest::newRow("desp") << "desp.vqd"
                          << "Codigo:"
                          << "Nome:";
    QTest::newRow("rec") << "rec.vqd"
                         << "Codigo:"
                         << "Nome:";
    QTest::newRow("other name") << "outros.vqd"
                                << "Campo1:"
                                << "Campo2:";
    QTest::newRow("other case") << "Tributos.vqd"
                                << "Campo1:"
                                << "Campo2:";
}

void TestCadastro::labels()
{
    QFETCH(QString, file);
    QFETCH(QString, label1);
    QFETCH(QString, label2);
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(file);
    QCOMPARE(opened.dialog.findChild<QLabel *>(QStringLiteral("Campo1"))->text(), label1);
    QCOMPARE(opened.dialog.findChild<QLabel *>(QStringLiteral("Campo2"))->text(), label2);
}

void TestCadastro::loadsInFileOrderAndPicksWithoutWriting()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    QCOMPARE(itemTexts(c.lbTitulos), (QStringList{"1113.05.00", "1112.02.00", "1112.04.00"}));
    QCOMPARE(itemTexts(c.Edit1), itemTexts(c.lbTitulos));
    QCOMPARE(itemTexts(c.Edit2), (QStringList{QStringLiteral("Taxa de Licença"), "IPTU", "ISS"}));
    QCOMPARE(c.lbCad->count(), 3);
    QVERIFY(c.lbTitulos->selectedItems().isEmpty());
    QVERIFY(c.Edit1->currentText().isEmpty() && c.Edit2->currentText().isEmpty());

    c.clickTitle(2);
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1112.04.00"));
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("ISS"));
    c.click(c.BitBtn1);
    QCOMPARE(opened.dialog.ChosenIndex, 2);
    QVERIFY(!opened.dialog.isVisible());
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)), unsortedBytes);
    QVERIFY(fake.messages.isEmpty());
}

void TestCadastro::firstSaveCreatesDirectoryAndFile()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("tributos.vqd"));
    Controls &c = opened.controls;
    QCOMPARE(c.lbTitulos->count(), 0);

    c.save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(fileBytes(scratch.file("dados/tributos.vqd")),
             QByteArray("01\tImposto Predial\t\r\n"));
    QCOMPARE(itemTexts(c.lbTitulos), QStringList{"01"});
    QCOMPARE(itemTexts(c.Edit2), QStringList{"Imposto Predial"});
    QVERIFY(c.Edit1->currentText().isEmpty() && c.Edit2->currentText().isEmpty());
}

void TestCadastro::duplicateInOtherCaseAddsNothing()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("tributos.vqd"));
    Controls &c = opened.controls;
    c.save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));
    c.save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));
    c.save(QStringLiteral("01"), QStringLiteral("imposto predial"));
    c.save(QStringLiteral("01"), QStringLiteral("IMPOSTO PREDIAL"));

    QCOMPARE(fileBytes(scratch.file("dados/tributos.vqd")),
             QByteArray("01\tImposto Predial\t\r\n"));
    QCOMPARE(c.lbTitulos->count(), 1);
    QCOMPARE(c.Edit1->count(), 1);
    QCOMPARE(c.Edit2->count(), 1);
    QVERIFY(fake.messages.isEmpty());
}

void TestCadastro::sameCodeOtherNameAddsLine()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("tributos.vqd"));
    Controls &c = opened.controls;
    c.save(QStringLiteral("01"), QStringLiteral("Outro"));
    c.save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));

    QCOMPARE(fileBytes(scratch.file("dados/tributos.vqd")),
             QByteArray("01\tImposto Predial\t\r\n01\tOutro\t\r\n"));
    QCOMPARE(itemTexts(c.lbTitulos), (QStringList{"01", "01"}));
    QCOMPARE(itemTexts(c.Edit2), (QStringList{"Imposto Predial", "Outro"}));
}

void TestCadastro::emptyFirstFieldStillRewritesSorted()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    c.type(c.Edit2, QStringLiteral("Sem código"));
    c.click(c.btSave);
    QCOMPARE(fake.messages, QStringList{"O primeiro campo não pode estar em branco."});
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)), sortedBytes);
    QCOMPARE(itemTexts(c.lbTitulos), (QStringList{"1112.02.00", "1112.04.00", "1113.05.00"}));
    QCOMPARE(itemTexts(c.Edit2), (QStringList{"IPTU", "ISS", QStringLiteral("Taxa de Licença")}));
    QVERIFY(c.Edit1->currentText().isEmpty());
    QVERIFY(c.Edit2->currentText().isEmpty());
}

void TestCadastro::deleteWithoutSelectionStillRewritesSorted()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    c.click(c.btDel);
    QCOMPARE(fake.messages, QStringList{"Selecione um item ao lado."});
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)), sortedBytes);
    QCOMPARE(itemTexts(c.lbTitulos), (QStringList{"1112.02.00", "1112.04.00", "1113.05.00"}));

    // The Delete key in the title list does the same.
    c.lbTitulos->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.lbTitulos, Qt::Key_Delete);
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(c.lbTitulos->count(), 3);
}

void TestCadastro::deleteRemovesSelectedLine_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Excluir") << false;
    QTest::newRow("Delete key") << true;
}

void TestCadastro::deleteRemovesSelectedLine()
{
    QFETCH(bool, byKey);
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    c.clickTitle(1); // 1112.02.00 IPTU, second in the file
    if (byKey) {
        QTest::keyClick(c.lbTitulos, Qt::Key_Delete);
    } else {
        c.click(c.btDel);
    }
    QVERIFY(fake.messages.isEmpty());
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)),
             QByteArray("1112.04.00\tISS\t\r\n1113.05.00\tTaxa de Licen\xE7"
                        "a\t\r\n"));
    QCOMPARE(itemTexts(c.lbTitulos), (QStringList{"1112.04.00", "1113.05.00"}));
    QCOMPARE(itemTexts(c.Edit1), itemTexts(c.lbTitulos));
    QCOMPARE(itemTexts(c.Edit2), (QStringList{"ISS", QStringLiteral("Taxa de Licença")}));
    QCOMPARE(c.lbCad->count(), 2);
    QVERIFY(c.lbTitulos->selectedItems().isEmpty());
    QVERIFY(c.Edit1->currentText().isEmpty() && c.Edit2->currentText().isEmpty());
}

void TestCadastro::closingGivesPosition_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("chosen");

    QTest::newRow("OK with a title") << "title ok" << 1;
    QTest::newRow("OK without a title") << "ok" << -1;
    QTest::newRow("OK after Novo") << "title novo ok" << -1;
    QTest::newRow("OK after Salvar") << "title save ok" << -1;
    QTest::newRow("OK after Excluir") << "title delete ok" << -1;
    QTest::newRow("Cancela with a title") << "title cancela" << -1;
    QTest::newRow("Esc with a title") << "title esc" << -1;
}

void TestCadastro::closingGivesPosition()
{
    QFETCH(QString, action);
    QFETCH(int, chosen);
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    for (const QString &step : action.split(u' ')) {
        if (step == QLatin1String("title")) {
            c.clickTitle(1);
        } else if (step == QLatin1String("novo")) {
            c.click(c.btNew);
        } else if (step == QLatin1String("save")) {
            c.click(c.btSave);
        } else if (step == QLatin1String("delete")) {
            c.click(c.btDel);
        } else if (step == QLatin1String("ok")) {
            c.click(c.BitBtn1);
        } else if (step == QLatin1String("cancela")) {
            c.click(c.BitBtn2);
        } else if (step == QLatin1String("esc")) {
            QTest::keyClick(c.lbTitulos, Qt::Key_Escape);
        }
    }
    QVERIFY(!opened.dialog.isVisible());
    QCOMPARE(opened.dialog.ChosenIndex, chosen);
}

void TestCadastro::positionAfterSaveMatchesFile()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);

    int chosen = -2;
    QString chosenTitle;
    QTimer::singleShot(0, [&] {
        QVERIFY(Cadastro);
        Controls c(Cadastro);
        c.save(QStringLiteral("1111.00.00"), QStringLiteral("Impostos"));
        c.save(QStringLiteral("1200.00.00"), QStringLiteral("Contribuições"));
        c.clickTitle(3);
        chosenTitle = c.lbTitulos->item(3)->text();
        c.click(c.BitBtn1);
    });
    chosen = openRegistry(nullptr, unsortedFile);
    QVERIFY(!Cadastro);

    QCOMPARE(chosenTitle, QStringLiteral("1113.05.00"));
    QCOMPARE(chosen, 3);
    const TextLines onDisk = readLines(scratch.file("dados/" + unsortedFile));
    QCOMPARE(onDisk.lines.size(), 5);
    QCOMPARE(onDisk.lines.at(chosen), QStringLiteral("1113.05.00\tTaxa de Licença\t"));
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)),
             QByteArray("1111.00.00\tImpostos\t\r\n" + sortedBytes +
                        "1200.00.00\tContribui\xE7\xF5"
                        "es\t\r\n"));
}

void TestCadastro::deleteWithoutDataDirectoryCreatesNothing()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("func.vqd"));
    Controls &c = opened.controls;
    c.click(c.btDel);
    QCOMPARE(fake.messages,
             (QStringList{"Selecione um item ao lado.",
                          "Não foi possivel alterar o arquivo " +
                              QDir::toNativeSeparators(scratch.file("dados/func.vqd"))}));
    QVERIFY(!QFileInfo::exists(scratch.file("dados")));
    QCOMPARE(c.lbTitulos->count(), 0);
}

void TestCadastro::failedSaveKeepsEntry()
{
    ScratchDir scratch;
    FakePlatform fake;
    // A file where the data directory should be: it can be neither created nor written into.
    QFile blocker(scratch.file("dados"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Opened opened(QStringLiteral("func.vqd"));
    Controls &c = opened.controls;

    c.save(QStringLiteral("04"), QStringLiteral("Administração"));
    QCOMPARE(fake.messages, QStringList{"Erro: Não foi possivel salvar o cadastro."});
    QCOMPARE(itemTexts(c.lbTitulos), QStringList{"04"});
    QCOMPARE(itemTexts(c.Edit2), QStringList{QStringLiteral("Administração")});
    QVERIFY(c.Edit1->currentText().isEmpty() && c.Edit2->currentText().isEmpty());
    QVERIFY(QFileInfo(scratch.file("dados")).isFile());
}

void TestCadastro::unreadableFileIsNeverWritten_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("directory in its place") << 0;
    QTest::newRow("no read permission") << 1;
    QTest::newRow("far too large") << 2;
}

void TestCadastro::unreadableFileIsNeverWritten()
{
    QFETCH(int, how);
    const bool locked = how == 1;
    if (locked && ::geteuid() == 0) {
        QSKIP("root reads a file whatever its permissions");
    }
    ScratchDir scratch;
    FakePlatform fake;
    const QString path = scratch.file("dados/unid.vqd");
    const QByteArray bytes("03.01\tGabinete\t\r\n02.01\tC\xE2mara\t\r\n");
    if (how == 0) {
        QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("dados/unid.vqd")));
    } else {
        putRegistry(scratch, QStringLiteral("unid.vqd"), bytes);
    }
    if (locked) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }
    if (how == 2) {
        QFile huge(path);
        QVERIFY(huge.resize(kMaxFileSize + 1)); // sparse: costs no disk
    }

    Opened opened(QStringLiteral("unid.vqd"));
    Controls &c = opened.controls;
    QCOMPARE(fake.messages,
             QStringList{how == 2 ? msg::fileTooLarge(path)
                                  : "Não foi possivel ler o arquivo " +
                                        QDir::toNativeSeparators(path)});
    QCOMPARE(c.lbTitulos->count(), 0);

    const QString refusal = "O cadastro não pode ser salvo porque não foi possivel ler o arquivo " +
                            QDir::toNativeSeparators(path);
    c.save(QStringLiteral("05.01"), QStringLiteral("Obras"));
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages.last(), refusal);
    c.click(c.btDel);
    QCOMPARE(fake.messages.size(), 3);
    QCOMPARE(fake.messages.last(), refusal);
    QTest::keyClick(c.lbTitulos, Qt::Key_Delete);
    QCOMPARE(fake.messages.size(), 4);
    QCOMPARE(c.lbTitulos->count(), 0);

    c.click(c.BitBtn1);
    QCOMPARE(opened.dialog.ChosenIndex, -1);
    if (how == 0) {
        QVERIFY(QFileInfo(path).isDir());
        return;
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), how == 2 ? kMaxFileSize + 1 : bytes.size());
    QCOMPARE(file.read(bytes.size()), bytes);
}

void TestCadastro::unclosedLastFieldIsReadAndWrittenBack()
{
    // A registry edited by hand or exported from a spreadsheet: no TAB after the name.
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, QStringLiteral("tributos.vqd"),
                "1113.05.00\tTaxa de Licen\xE7"
                "a\r\n1112.02.00\tIPTU");
    Opened opened(QStringLiteral("tributos.vqd"));
    Controls &c = opened.controls;
    c.clickTitle(1);
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1112.02.00"));
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(itemTexts(c.Edit2), (QStringList{"Taxa de Licença", "IPTU"}));

    // The same entry typed again is no new entry; the file is written back with every TAB.
    c.save(QStringLiteral("1112.02.00"), QStringLiteral("iptu"));
    QCOMPARE(c.lbTitulos->count(), 2);
    QCOMPARE(fileBytes(scratch.file("dados/tributos.vqd")),
             QByteArray("1112.02.00\tIPTU\t\r\n1113.05.00\tTaxa de Licen\xE7"
                        "a\t\r\n"));
    QVERIFY(fake.messages.isEmpty());
}

void TestCadastro::arrowKeysShowEntry()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;
    const QStringList names{QStringLiteral("Taxa de Licença"), "IPTU", "ISS"};

    c.lbTitulos->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.lbTitulos, Qt::Key_Down);
    QCOMPARE(c.lbTitulos->selectedItems().size(), 1);
    const int first = c.lbTitulos->row(c.lbTitulos->selectedItems().first());
    QCOMPARE(c.Edit1->currentText(), c.lbTitulos->item(first)->text());
    QCOMPARE(c.Edit2->currentText(), names.at(first));

    QTest::keyClick(c.lbTitulos, first == 0 ? Qt::Key_Down : Qt::Key_Up);
    const int second = first == 0 ? 1 : first - 1;
    QCOMPARE(c.Edit1->currentText(), c.lbTitulos->item(second)->text());
    QCOMPARE(c.Edit2->currentText(), names.at(second));
    c.click(c.BitBtn1);
    QCOMPARE(opened.dialog.ChosenIndex, second);
}

void TestCadastro::fieldsMoveTogether()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    c.pick(c.Edit1, 1);
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1112.02.00"));
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("IPTU"));
    c.pick(c.Edit2, 0);
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("Taxa de Licença"));
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1113.05.00"));

    // A title shown in the fields pairs from there.
    c.clickTitle(2);
    c.pick(c.Edit2, 0);
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1113.05.00"));
    c.pick(c.Edit1, 2);
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("ISS"));

    // After "Novo" a pick finds both fields empty and fills both.
    c.click(c.btNew);
    c.pick(c.Edit1, 2);
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("ISS"));
    QVERIFY(fake.messages.isEmpty());
}

void TestCadastro::typingKeepsPairedText()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;

    // A code picked, then its name retyped: the code stays, and saving adds
    // a second line for it.
    c.pick(c.Edit1, 1);
    c.Edit2->lineEdit()->selectAll();
    c.type(c.Edit2, QStringLiteral("IPTU Urbano"));
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1112.02.00"));
    c.click(c.btSave);
    QCOMPARE(readLines(scratch.file("dados/" + unsortedFile)).lines,
             (QStringList{"1112.02.00\tIPTU\t", "1112.02.00\tIPTU Urbano\t", "1112.04.00\tISS\t",
                          QStringLiteral("1113.05.00\tTaxa de Licença\t")}));

    // With nothing picked, typing one field leaves the other's typed text,
    // and a typed start of a code is not completed into the code.
    c.type(c.Edit2, QStringLiteral("Nome"));
    c.type(c.Edit1, QStringLiteral("1112"));
    QCOMPARE(c.Edit2->currentText(), QStringLiteral("Nome"));
    QCOMPARE(c.Edit1->currentText(), QStringLiteral("1112"));
}

void TestCadastro::typedTextsFitTheFile()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("cnpj.vqd"));
    Controls &c = opened.controls;

    c.type(c.Edit1, QStringLiteral("Associação Ω Vila"));
    c.Edit2->setFocus(Qt::TabFocusReason);
    c.Edit2->lineEdit()->insert(QStringLiteral("45.645.645/0001-10\t\r\nx")); // a pasted text
    c.click(c.btSave);
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages.first().contains(QStringLiteral("Ω")));
    QCOMPARE(fileBytes(scratch.file("dados/cnpj.vqd")),
             QByteArray("Associa\xE7\xE3o  Vila\t45.645.645/0001-10x\t\r\n"));
}

void TestCadastro::enterPressesOk()
{
    ScratchDir scratch;
    FakePlatform fake;
    putRegistry(scratch, unsortedFile, unsortedBytes);
    Opened opened(unsortedFile);
    Controls &c = opened.controls;
    QApplication::setActiveWindow(&opened.dialog);
    QVERIFY(QTest::qWaitForWindowActive(&opened.dialog));

    c.clickTitle(2);
    c.Edit1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.Edit1->lineEdit(), Qt::Key_Return);
    QVERIFY(!opened.dialog.isVisible());
    QCOMPARE(opened.dialog.result(), int(QDialog::Accepted));
    QCOMPARE(opened.dialog.ChosenIndex, 2);
    QCOMPARE(fileBytes(scratch.file("dados/" + unsortedFile)), unsortedBytes);
}

void TestCadastro::existingCodeTypedAfterNameKeepsName()
{
    ScratchDir scratch;
    FakePlatform fake;
    Opened opened(QStringLiteral("tributos.vqd"));
    Controls &c = opened.controls;
    QApplication::setActiveWindow(&opened.dialog);
    QVERIFY(QTest::qWaitForWindowActive(&opened.dialog));
    c.save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));

    // The name first, as the tab order leads, then a code already listed.
    c.click(c.btNew);
    c.type(c.Edit2, QStringLiteral("Outro"));
    c.type(c.Edit1, QStringLiteral("01"));
    c.click(c.btSave);
    QCOMPARE(fileBytes(scratch.file("dados/tributos.vqd")),
             QByteArray("01\tImposto Predial\t\r\n01\tOutro\t\r\n"));
}

QTEST_MAIN(TestCadastro)
#include "test_cadastro.moc"
