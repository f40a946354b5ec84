#include "Ucadastro.h"
#include "catalogue.h"
#include "fakeplatform.h"
#include "layoutcheck.h"
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
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>
#include <unistd.h>

using namespace quelvara;

namespace {

const QString unsortedFile = QStringLiteral("tributos.vqd");
const QByteArray unsortedBytes("1113.05.00\tTaxa de Licen\xE7"
                               "a\t\r\n"
                               "1112.02.00\tIPTU\t\r\n"
                               "1112.04.00\tISS\t\r\n");
const QByteArray sortedBytes("1112.02.00\tIPTU\t\r\n"
                             "1112.04.00\tISS\t\r\n"
                             "1113.05.00\tTaxa de Licen\xE7"
                             "a\t\r\n");
const QStringList sortedTitles{"1112.02.00", "1112.04.00", "1113.05.00"};
const QStringList sortedNames{"IPTU", "ISS", QStringLiteral("Taxa de Licença")};

QStringList texts(const QAbstractItemView *view)
{
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        texts.append(view->model()->index(row, 0).data().toString());
    }
    return texts;
}

QStringList texts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) {
        texts.append(box->itemText(i));
    }
    return texts;
}

void clickRow(QAbstractItemView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

} // namespace

// Every test runs in a fresh working directory with the recording platform;
// the dialog is opened on a registry as its openers do, but modelessly, so
// that the test can drive it.
class TestCadastro : public QObject {
    Q_OBJECT
private:
    std::optional<WindowSandbox> box;
    std::unique_ptr<TCadastro> dialog;
    QComboBox *Edit1 = nullptr;
    QComboBox *Edit2 = nullptr;
    QAbstractItemView *lbTitulos = nullptr;
    QAbstractItemView *lbCad = nullptr;
    QPushButton *btNew = nullptr;
    QPushButton *btSave = nullptr;
    QPushButton *btDel = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

    QString path(const QString &file) const
    {
        return box->dir.file(QStringLiteral("dados/") + file);
    }
    QByteArray bytes(const QString &file = unsortedFile) const { return fileBytes(path(file)); }

    // Writes a registry file by hand, as a user or an older copy of the program might have.
    bool putRegistry(const QString &file, const QByteArray &bytes) const
    {
        QDir(box->dir.path()).mkdir(QStringLiteral("dados"));
        QFile out(path(file));
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    }
    // Opens the dialog on a registry, written first when bytes are given; tells
    // whether it shows with all its controls.
    bool open(const QString &file, const QByteArray &bytes = QByteArray())
    {
        if (!bytes.isNull() && !putRegistry(file, bytes)) {
            return false;
        }
        dialog = std::make_unique<TCadastro>();
        dialog->FileName = file;
        dialog->show();
        QApplication::processEvents();
        return dialog->isVisible() && bind(dialog.get());
    }
    // Finds the controls of a dialog by name; tells whether it has them all.
    bool bind(const TCadastro *shown)
    {
        const auto button = [shown](const char *name) {
            return shown->findChild<QPushButton *>(QString::fromLatin1(name));
        };
        const auto list = [shown](const char *name) {
            return shown->findChild<QAbstractItemView *>(QString::fromLatin1(name));
        };
        Edit1 = shown->findChild<QComboBox *>(QStringLiteral("Edit1"));
        Edit2 = shown->findChild<QComboBox *>(QStringLiteral("Edit2"));
        lbTitulos = list("lbTitulos");
        lbCad = list("lbCad");
        btNew = button("btNew");
        btSave = button("btSave");
        btDel = button("btDel");
        BitBtn1 = button("BitBtn1");
        BitBtn2 = button("BitBtn2");
        return Edit1 && Edit2 && lbTitulos && lbCad && btNew && btSave && btDel && BitBtn1 &&
               BitBtn2;
    }
    bool activate()
    {
        QApplication::setActiveWindow(dialog.get());
        return QTest::qWaitForWindowActive(dialog.get());
    }

    // The user's gestures.
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
        clickRow(field->view(), position);
    }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void save(const QString &first, const QString &second)
    {
        click(btNew);
        type(Edit1, first);
        type(Edit2, second);
        click(btSave);
    }

    // What the dialog shows: the titles, both pick lists and the hidden lines
    // (each joined by "|"), the selected title, and the texts of both fields.
    QStringList shown() const
    {
        const QModelIndexList selected = lbTitulos->selectionModel()->selectedIndexes();
        return {texts(lbTitulos).join(u'|'),
                texts(Edit1).join(u'|'),
                texts(Edit2).join(u'|'),
                texts(lbCad).join(u'|'),
                QString::number(selected.isEmpty() ? -1 : selected.first().row()),
                Edit1->currentText(),
                Edit2->currentText()};
    }
    // What the dialog shows for these lines with nothing selected or typed.
    static QStringList cleared(const QStringList &titles, const QStringList &names)
    {
        QStringList lines;
        for (qsizetype i = 0; i < titles.size(); ++i) {
            lines.append(titles.at(i) + u'\t' + names.at(i) + u'\t');
        }
        const QString joined = titles.join(u'|');
        return {joined, joined, names.join(u'|'), lines.join(u'|'), QStringLiteral("-1"), {}, {}};
    }

private slots:
    void init();
    void cleanup();

    void buttons_data();
    void buttons();
    void frame();
    void tabOrderStartsOnNovo();
    void labels_data();
    void labels();
    void loadsInFileOrderAndPicksWithoutWriting();
    void saves_data();
    void saves();
    void refusalStillRewritesSorted_data();
    void refusalStillRewritesSorted();
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

    // What the user sees and reaches with the keyboard.
    void everythingFits_data();
    void everythingFits();
    void closingWithATypedEntry_data();
    void closingWithATypedEntry();
};

void TestCadastro::init() { box.emplace(); }

void TestCadastro::cleanup()
{
    dialog.reset();
    box.reset();
}

void TestCadastro::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    const char *const rows[][3] = {
        {"btNew", "Novo", "Novo Item"},
        {"btSave", "Salvar", "Salvar Item no Cadastro"},
        {"btDel", "Excluir", "Excluir Item do Cadastro"},
        {"BitBtn1", "OK", ""},
        {"BitBtn2", "Cancela", ""},
    };
    for (const auto &row : rows) {
        QTest::newRow(row[1]) << row[0] << row[1] << row[2];
    }
}

void TestCadastro::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QVERIFY(open(QStringLiteral("func.vqd")));
    auto *button = dialog->findChild<QPushButton *>(name);
    QCOMPARE(stripMnemonic(button->text()), caption);
    QVERIFY(!mnemonicOf(button->text()).isEmpty());
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(button->isVisible());
}

void TestCadastro::frame()
{
    QVERIFY(open(QStringLiteral("func.vqd")));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Cadastro"));
    // The size it was drawn at, or larger where its texts need it; fixed.
    QVERIFY(dialog->width() >= 537 && dialog->height() >= 188);
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(lbTitulos->toolTip(), QStringLiteral("Lista de Items Cadastrados"));
    QVERIFY(Edit1->width() >= 281);
    QCOMPARE(Edit2->width(), Edit1->width());
    QVERIFY(Edit1->isEditable() && Edit2->isEditable());
    // The focus starts on "Novo", which takes Enter while it has the focus;
    // anywhere else Enter presses "OK".
    QVERIFY(activate());
    lbTitulos->setFocus(Qt::TabFocusReason);
    QVERIFY(BitBtn1->isDefault());
    QVERIFY(!BitBtn2->isDefault());
    QVERIFY(!lbCad->isVisible());
    QVERIFY(lbTitulos->isVisible());
    QVERIFY(box->fake.messages.isEmpty());
}

void TestCadastro::tabOrderStartsOnNovo()
{
    QVERIFY(open(QStringLiteral("func.vqd")));
    QVERIFY(activate());
    QCOMPARE(QApplication::focusWidget(), btNew);
    for (QWidget *next : {static_cast<QWidget *>(btSave), static_cast<QWidget *>(btDel),
                          static_cast<QWidget *>(lbTitulos), static_cast<QWidget *>(Edit2),
                          static_cast<QWidget *>(Edit1), static_cast<QWidget *>(BitBtn1),
                          static_cast<QWidget *>(BitBtn2), static_cast<QWidget *>(btNew)}) {
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
    for (const RegistryInfo &registry : registries()) {
        QTest::newRow(qPrintable(registry.file))
            << registry.file << registry.label1 << registry.label2;
    }
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
    QVERIFY(open(file));
    const auto *campo1 = dialog->findChild<QLabel *>(QStringLiteral("Campo1"));
    const auto *campo2 = dialog->findChild<QLabel *>(QStringLiteral("Campo2"));
    QCOMPARE(stripMnemonic(campo1->text()), label1);
    QCOMPARE(stripMnemonic(campo2->text()), label2);
    // Alt and a letter of each label reaches its field, which a screen
    // reader names by the label; no two letters of the dialog are the same.
    QCOMPARE(campo1->buddy(), Edit1);
    QCOMPARE(campo2->buddy(), Edit2);
    QVERIFY(!mnemonicOf(campo1->text()).isEmpty());
    QVERIFY(!mnemonicOf(campo2->text()).isEmpty());
    QCOMPARE(mnemonicClashes(dialog.get()), QStringList());
    QCOMPARE(Edit1->accessibleName(), label1.chopped(1));
    QCOMPARE(Edit2->accessibleName(), label2.chopped(1));
}

void TestCadastro::loadsInFileOrderAndPicksWithoutWriting()
{
    QVERIFY(open(unsortedFile, unsortedBytes));
    QCOMPARE(shown(), cleared({"1113.05.00", "1112.02.00", "1112.04.00"},
                              {QStringLiteral("Taxa de Licença"), "IPTU", "ISS"}));

    clickRow(lbTitulos, 2);
    QCOMPARE(Edit1->currentText(), QStringLiteral("1112.04.00"));
    QCOMPARE(Edit2->currentText(), QStringLiteral("ISS"));
    click(BitBtn1);
    QCOMPARE(dialog->ChosenIndex, 2);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(bytes(), unsortedBytes);
    QVERIFY(box->fake.messages.isEmpty());
}

void TestCadastro::saves_data()
{
    QTest::addColumn<QStringList>("saved"); // first and second field, in turn
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("names");
    // The first save creates the data directory and the file.
    QTest::newRow("first") << QStringList{"01", "Imposto Predial"}
                           << QByteArray("01\tImposto Predial\t\r\n") << QStringList{"01"}
                           << QStringList{"Imposto Predial"};
    QTest::newRow("duplicate in other case")
        << QStringList{"01", "Imposto Predial", "01", "Imposto Predial",
                       "01", "imposto predial", "01", "IMPOSTO PREDIAL"}
        << QByteArray("01\tImposto Predial\t\r\n") << QStringList{"01"}
        << QStringList{"Imposto Predial"};
    QTest::newRow("same code, other name")
        << QStringList{"01", "Outro", "01", "Imposto Predial"}
        << QByteArray("01\tImposto Predial\t\r\n01\tOutro\t\r\n") << QStringList{"01", "01"}
        << QStringList{"Imposto Predial", "Outro"};
}

void TestCadastro::saves()
{
    QFETCH(QStringList, saved);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, names);
    QVERIFY(open(unsortedFile));
    QCOMPARE(shown(), cleared({}, {}));
    for (qsizetype i = 0; i + 1 < saved.size(); i += 2) {
        save(saved.at(i), saved.at(i + 1));
    }
    QCOMPARE(bytes(), file);
    QCOMPARE(shown(), cleared(titles, names));
    QVERIFY(box->fake.messages.isEmpty());
}

void TestCadastro::refusalStillRewritesSorted_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QString>("message");
    QTest::newRow("Salvar, first field empty")
        << "save" << QStringLiteral("O primeiro campo não pode estar em branco.");
    QTest::newRow("Excluir, no title") << "delete" << QStringLiteral("Selecione um item ao lado.");
    QTest::newRow("Delete key, no title") << "key" << QStringLiteral("Selecione um item ao lado.");
}

void TestCadastro::refusalStillRewritesSorted()
{
    QFETCH(QString, gesture);
    QFETCH(QString, message);
    QVERIFY(open(unsortedFile, unsortedBytes));
    if (gesture == QLatin1String("save")) {
        type(Edit2, QStringLiteral("Sem código"));
        click(btSave);
    } else if (gesture == QLatin1String("delete")) {
        click(btDel);
    } else {
        lbTitulos->setFocus(Qt::TabFocusReason);
        QTest::keyClick(lbTitulos, Qt::Key_Delete);
    }
    QCOMPARE(box->fake.messages, QStringList{message});
    QCOMPARE(bytes(), sortedBytes);
    QCOMPARE(shown(), cleared(sortedTitles, sortedNames));
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
    QVERIFY(open(unsortedFile, unsortedBytes));
    clickRow(lbTitulos, 1); // 1112.02.00 IPTU, second in the file
    if (byKey) {
        QTest::keyClick(lbTitulos, Qt::Key_Delete);
    } else {
        click(btDel);
    }
    QVERIFY(box->fake.messages.isEmpty());
    QCOMPARE(bytes(), QByteArray("1112.04.00\tISS\t\r\n1113.05.00\tTaxa de Licen\xE7"
                                 "a\t\r\n"));
    QCOMPARE(shown(),
             cleared({"1112.04.00", "1113.05.00"}, {"ISS", QStringLiteral("Taxa de Licença")}));
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
    QVERIFY(open(unsortedFile, unsortedBytes));
    for (const QString &step : action.split(u' ')) {
        if (step == QLatin1String("title")) {
            clickRow(lbTitulos, 1);
        } else if (step == QLatin1String("esc")) {
            QTest::keyClick(lbTitulos, Qt::Key_Escape);
        } else {
            const QHash<QString, QPushButton *> buttons{{"novo", btNew},
                                                        {"save", btSave},
                                                        {"delete", btDel},
                                                        {"ok", BitBtn1},
                                                        {"cancela", BitBtn2}};
            click(buttons.value(step));
        }
    }
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->ChosenIndex, chosen);
}

void TestCadastro::positionAfterSaveMatchesFile()
{
    QVERIFY(putRegistry(unsortedFile, unsortedBytes));
    QString chosenTitle;
    // The modal dialog as its opener shows it, driven from within its loop.
    QTimer::singleShot(0, [&] {
        if (!Cadastro || !bind(Cadastro)) {
            if (Cadastro) {
                Cadastro->reject();
            }
            return; // no position is chosen
        }
        save(QStringLiteral("1111.00.00"), QStringLiteral("Impostos"));
        save(QStringLiteral("1200.00.00"), QStringLiteral("Contribuições"));
        clickRow(lbTitulos, 3);
        chosenTitle = texts(lbTitulos).value(3);
        click(BitBtn1);
    });
    const int chosen = openRegistry(nullptr, unsortedFile);
    QVERIFY(!Cadastro);

    QCOMPARE(chosenTitle, QStringLiteral("1113.05.00"));
    QCOMPARE(chosen, 3);
    const TextLines onDisk = readLines(path(unsortedFile));
    QCOMPARE(onDisk.lines.size(), 5);
    QCOMPARE(onDisk.lines.at(chosen), QStringLiteral("1113.05.00\tTaxa de Licença\t"));
    QCOMPARE(bytes(), QByteArray("1111.00.00\tImpostos\t\r\n" + sortedBytes +
                                 "1200.00.00\tContribui\xE7\xF5"
                                 "es\t\r\n"));
}

void TestCadastro::deleteWithoutDataDirectoryCreatesNothing()
{
    QVERIFY(open(QStringLiteral("func.vqd")));
    click(btDel);
    QCOMPARE(box->fake.messages,
             (QStringList{"Selecione um item ao lado.",
                          "Não foi possivel alterar o arquivo " +
                              QDir::toNativeSeparators(path(QStringLiteral("func.vqd")))}));
    QVERIFY(!QFileInfo::exists(box->dir.file("dados")));
    QCOMPARE(shown(), cleared({}, {}));
}

void TestCadastro::failedSaveKeepsEntry()
{
    // A file where the data directory should be: it can be neither created nor written into.
    QFile blocker(box->dir.file("dados"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(open(QStringLiteral("func.vqd")));
    save(QStringLiteral("04"), QStringLiteral("Administração"));
    QCOMPARE(box->fake.messages, QStringList{"Erro: Não foi possivel salvar o cadastro."});
    QCOMPARE(shown(), cleared({"04"}, {QStringLiteral("Administração")}));
    QVERIFY(QFileInfo(box->dir.file("dados")).isFile());
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
    const QString file = QStringLiteral("unid.vqd");
    const QByteArray contents("03.01\tGabinete\t\r\n02.01\tC\xE2mara\t\r\n");
    if (how == 0) {
        QVERIFY(QDir(box->dir.path()).mkpath(QStringLiteral("dados/unid.vqd")));
    } else {
        QVERIFY(putRegistry(file, contents));
    }
    if (locked) {
        QVERIFY(QFile::setPermissions(path(file), QFileDevice::WriteOwner));
    }
    if (how == 2) {
        QFile huge(path(file));
        QVERIFY(huge.resize(kMaxFileSize + 1)); // sparse: costs no disk
    }
    QVERIFY(open(file));
    const QString native = QDir::toNativeSeparators(path(file));
    QCOMPARE(box->fake.messages, QStringList{how == 2 ? msg::fileTooLarge(path(file))
                                                      : "Não foi possível ler o arquivo " + native});
    QCOMPARE(shown(), cleared({}, {}));

    const QString refusal =
        "O cadastro não pode ser salvo porque não foi possível ler o arquivo " + native;
    save(QStringLiteral("05.01"), QStringLiteral("Obras"));
    click(btDel);
    QTest::keyClick(lbTitulos, Qt::Key_Delete);
    QCOMPARE(box->fake.messages.size(), 4);
    QCOMPARE(box->fake.messages.mid(1), (QStringList{refusal, refusal, refusal}));
    QCOMPARE(texts(lbTitulos), QStringList());

    click(BitBtn1);
    QCOMPARE(dialog->ChosenIndex, -1);
    if (how == 0) {
        QVERIFY(QFileInfo(path(file)).isDir());
        return;
    }
    QFile::setPermissions(path(file), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile written(path(file));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.size(), how == 2 ? kMaxFileSize + 1 : contents.size());
    QCOMPARE(written.read(contents.size()), contents);
}

void TestCadastro::unclosedLastFieldIsReadAndWrittenBack()
{
    // A registry edited by hand or exported from a spreadsheet: no TAB after the name.
    QVERIFY(open(unsortedFile, "1113.05.00\tTaxa de Licen\xE7"
                               "a\r\n1112.02.00\tIPTU"));
    clickRow(lbTitulos, 1);
    QCOMPARE(Edit1->currentText(), QStringLiteral("1112.02.00"));
    QCOMPARE(Edit2->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(texts(Edit2), (QStringList{QStringLiteral("Taxa de Licença"), "IPTU"}));

    // The same entry typed again is no new entry; the file is written back with every TAB.
    save(QStringLiteral("1112.02.00"), QStringLiteral("iptu"));
    QCOMPARE(texts(lbTitulos).size(), 2);
    QCOMPARE(bytes(), QByteArray("1112.02.00\tIPTU\t\r\n1113.05.00\tTaxa de Licen\xE7"
                                 "a\t\r\n"));
    QVERIFY(box->fake.messages.isEmpty());
}

void TestCadastro::arrowKeysShowEntry()
{
    QVERIFY(open(unsortedFile, unsortedBytes));
    const QStringList names{QStringLiteral("Taxa de Licença"), "IPTU", "ISS"};
    lbTitulos->setFocus(Qt::TabFocusReason);
    QTest::keyClick(lbTitulos, Qt::Key_Down);
    const QModelIndexList selected = lbTitulos->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    const int first = selected.first().row();
    QCOMPARE(Edit1->currentText(), texts(lbTitulos).at(first));
    QCOMPARE(Edit2->currentText(), names.at(first));

    QTest::keyClick(lbTitulos, first == 0 ? Qt::Key_Down : Qt::Key_Up);
    const int second = first == 0 ? 1 : first - 1;
    QCOMPARE(Edit1->currentText(), texts(lbTitulos).at(second));
    QCOMPARE(Edit2->currentText(), names.at(second));
    click(BitBtn1);
    QCOMPARE(dialog->ChosenIndex, second);
}

void TestCadastro::fieldsMoveTogether()
{
    QVERIFY(open(unsortedFile, unsortedBytes));
    pick(Edit1, 1);
    QCOMPARE(Edit1->currentText(), QStringLiteral("1112.02.00"));
    QCOMPARE(Edit2->currentText(), QStringLiteral("IPTU"));
    pick(Edit2, 0);
    QCOMPARE(Edit2->currentText(), QStringLiteral("Taxa de Licença"));
    QCOMPARE(Edit1->currentText(), QStringLiteral("1113.05.00"));

    // A title shown in the fields pairs from there.
    clickRow(lbTitulos, 2);
    pick(Edit2, 0);
    QCOMPARE(Edit1->currentText(), QStringLiteral("1113.05.00"));
    pick(Edit1, 2);
    QCOMPARE(Edit2->currentText(), QStringLiteral("ISS"));

    // After "Novo" a pick finds both fields empty and fills both.
    click(btNew);
    pick(Edit1, 2);
    QCOMPARE(Edit2->currentText(), QStringLiteral("ISS"));
    QVERIFY(box->fake.messages.isEmpty());
}

void TestCadastro::typingKeepsPairedText()
{
    QVERIFY(open(unsortedFile, unsortedBytes));
    // A code picked, then its name retyped: the code stays, and saving adds
    // a second line for it.
    pick(Edit1, 1);
    Edit2->lineEdit()->selectAll();
    type(Edit2, QStringLiteral("IPTU Urbano"));
    QCOMPARE(Edit1->currentText(), QStringLiteral("1112.02.00"));
    click(btSave);
    QCOMPARE(readLines(path(unsortedFile)).lines,
             (QStringList{"1112.02.00\tIPTU\t", "1112.02.00\tIPTU Urbano\t", "1112.04.00\tISS\t",
                          QStringLiteral("1113.05.00\tTaxa de Licença\t")}));

    // With nothing picked, typing one field leaves the other's typed text,
    // and a typed start of a code is not completed into the code.
    type(Edit2, QStringLiteral("Nome"));
    type(Edit1, QStringLiteral("1112"));
    QCOMPARE(Edit2->currentText(), QStringLiteral("Nome"));
    QCOMPARE(Edit1->currentText(), QStringLiteral("1112"));
}

void TestCadastro::typedTextsFitTheFile()
{
    QVERIFY(open(QStringLiteral("cnpj.vqd")));
    type(Edit1, QStringLiteral("Associação Ω Vila"));
    Edit2->setFocus(Qt::TabFocusReason);
    Edit2->lineEdit()->insert(QStringLiteral("45.645.645/0001-10\t\r\nx")); // a pasted text
    click(btSave);
    QCOMPARE(box->fake.messages.size(), 1);
    QVERIFY(box->fake.messages.first().contains(QStringLiteral("Ω")));
    QCOMPARE(bytes(QStringLiteral("cnpj.vqd")),
             QByteArray("Associa\xE7\xE3o  Vila\t45.645.645/0001-10x\t\r\n"));
}

void TestCadastro::enterPressesOk()
{
    QVERIFY(open(unsortedFile, unsortedBytes));
    QVERIFY(activate());
    clickRow(lbTitulos, 2);
    Edit1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(Edit1->lineEdit(), Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->ChosenIndex, 2);
    QCOMPARE(bytes(), unsortedBytes);
}

void TestCadastro::existingCodeTypedAfterNameKeepsName()
{
    QVERIFY(open(unsortedFile));
    QVERIFY(activate());
    save(QStringLiteral("01"), QStringLiteral("Imposto Predial"));
    // The name first, as the tab order leads, then a code already listed.
    click(btNew);
    type(Edit2, QStringLiteral("Outro"));
    type(Edit1, QStringLiteral("01"));
    click(btSave);
    QCOMPARE(bytes(), QByteArray("01\tImposto Predial\t\r\n01\tOutro\t\r\n"));
}

void TestCadastro::everythingFits_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qreal>("scale");
    for (const qreal scale : {1.0, 1.25, 1.5}) {
        const QString percent = QString::number(qRound(scale * 100)) + u'%';
        for (const RegistryInfo &registry : registries()) {
            QTest::newRow(qPrintable(registry.file + u' ' + percent)) << registry.file << scale;
        }
        QTest::newRow(qPrintable(QStringLiteral("other name ") + percent))
            << QStringLiteral("outros.vqd") << scale;
    }
}

// Every label, button and title whole inside the dialog, at the default font
// and at larger ones; long names scroll in the list rather than being cut.
void TestCadastro::everythingFits()
{
    QFETCH(QString, file);
    QFETCH(qreal, scale);
    QVERIFY(copySampleData(box->dir));
    // Names far longer than the list, as a CNPJ registry may hold them.
    const QString longNames =
        QStringLiteral("Associação de Pais e Amigos dos Excepcionais de Vila Serena e Região\t"
                       "11.222.333/0001-81\t\r\nLira Musical Serenense\t22.333.444/0001-05\t\r\n");
    QVERIFY(putRegistry(QStringLiteral("cnpj.vqd"), longNames.toLatin1()));
    const ScaledFont font(scale);
    QVERIFY(open(file));
    QCOMPARE(layoutFaults(dialog.get()), QStringList());
    QCOMPARE(buttonsWithoutMnemonic(dialog.get()), QStringList());
    QCOMPARE(mnemonicClashes(dialog.get()), QStringList());
    QVERIFY(dialog->width() >= 537 && dialog->height() >= 188);
}

void TestCadastro::closingWithATypedEntry_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("enter"); // Enter in the field, or a click on "OK"
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("messages");
    const QByteArray withNew = sortedBytes + "1114.00.00\tNovo imposto\t\r\n";
    const QList<bool> yes{true};
    const QList<bool> no{false};
    // Saved, the typed entry is the one chosen, at its place in the sorted file.
    QTest::newRow("OK, Sim") << "1114.00.00"
                             << "Novo imposto" << false << yes << true << withNew << true << 3
                             << QStringList();
    QTest::newRow("Enter, Sim") << "1114.00.00"
                                << "Novo imposto" << true << yes << true << withNew << true << 3
                                << QStringList();
    QTest::newRow("OK, Não") << "1114.00.00"
                             << "Novo imposto" << false << no << true << unsortedBytes << true << -1
                             << QStringList();
    QTest::newRow("Enter, Não") << "1114.00.00"
                                << "" << true << no << true << unsortedBytes << true << -1
                                << QStringList();
    // An entry the registry holds already, in any case, is nothing to save.
    QTest::newRow("entry already held")
        << "1112.04.00"
        << "iss" << false << yes << false << unsortedBytes << true << -1 << QStringList();
    QTest::newRow("nothing typed")
        << ""
        << "" << true << yes << false << unsortedBytes << true << -1 << QStringList();
    // A name without a code cannot be saved: the dialog stays, with what was typed.
    QTest::newRow("name only, Sim") << ""
                                    << "Novo imposto" << false << yes << true << unsortedBytes
                                    << false << 0 << QStringList{msg::firstFieldEmpty()};
}

void TestCadastro::closingWithATypedEntry()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, enter);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, asked);
    QFETCH(QByteArray, file);
    QFETCH(bool, closed);
    QFETCH(int, chosen);
    QFETCH(QStringList, messages);
    QVERIFY(open(unsortedFile, unsortedBytes));
    QVERIFY(activate());
    for (const bool answer : answers) {
        box->fake.answers.enqueue(answer);
    }
    type(Edit1, first);
    type(Edit2, second);
    if (enter) {
        QTest::keyClick(Edit2->lineEdit(), Qt::Key_Return);
    } else {
        click(BitBtn1);
    }
    QCOMPARE(box->fake.questions,
             asked ? QStringList{msg::saveEntryCaption() + u'|' + msg::saveTypedEntry()}
                   : QStringList());
    QCOMPARE(bytes(), file);
    QCOMPARE(dialog->isVisible(), !closed);
    QCOMPARE(dialog->ChosenIndex, chosen);
    QCOMPARE(box->fake.messages, messages);
    if (!closed) {
        QCOMPARE(Edit2->currentText(), second);
    }
}

QTEST_MAIN(TestCadastro)
#include "test_cadastro.moc"
