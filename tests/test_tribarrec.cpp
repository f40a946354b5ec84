// Tests of the report editor window TTribArrec: what the window adds to the
// report session (whose rules test_reportsession covers), by area:
//   1. what is shown: layout, fields and buttons of each kind, pick lists,
//      captions, the profile's mirrors
//   2. focus: entering and leaving fields, dialogs, typed and pasted texts
//   3. what is passed on: the registry dialog, the Yes/No question, the
//      shell's "open" of the page and of the e-mail
//   4. the item list and the entry fields across Save, Select, Delete, Exit,
//      period, year and "Atualizar Valores"; messages shown once per action
// Every test runs in a fresh working directory holding the sample data folder,
// with the desktop replaced by a fake that records what it is asked.
#include "Ucadastro.h"
#include "Utribarrec.h"
#include "catalogue.h"
#include "entrybox.h"
#include "fakeplatform.h"
#include "findingsdialog.h"
#include "layoutcheck.h"
#include "messages.h"
#include "textfile.h"
#include "values.h"
#include "vendor.h"
#include "windowinput.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace quelvara;

namespace {

// Types text at the end of a selection box, as the user does.
void typeInto(QComboBox *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->lineEdit()->end(false);
    QTest::keyClicks(box, text);
}

// Replaces the text of a selection box by typing it.
void retype(QComboBox *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->lineEdit()->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Delete);
    } else {
        QTest::keyClicks(box, text);
    }
}

int shownFields(const TTribArrec &editor)
{
    int shown = 0;
    for (int i = 1; i <= kMaxFields; ++i) {
        if (editor.Edit[i]->isVisible()) {
            ++shown;
            if (!editor.Campo[i]->isVisible()) {
                return -1; // a field without its caption
            }
        }
    }
    return shown;
}

QList<int> shownLookupButtons(const TTribArrec &editor)
{
    QList<int> shown;
    for (int i = 1; i <= 6; ++i) {
        if (editor.SpeedButton[i]->isVisible()) {
            shown.append(i);
        }
    }
    return shown;
}

QList<int> pickListFields(const TTribArrec &editor)
{
    QList<int> fields;
    for (int i = 1; i <= kMaxFields; ++i) {
        if (editor.Edit[i]->isVisible() && editor.Edit[i]->property("pickList").toBool()) {
            fields.append(i);
        }
    }
    return fields;
}

// Activates the editor window so that focus moves like the user's.
[[nodiscard]] bool activate(TTribArrec &editor)
{
    editor.activateWindow();
    return QTest::qWaitForWindowActive(&editor);
}

// Moves into field n as Tab does and replaces its text by typing.
[[nodiscard]] bool typeField(TTribArrec &editor, int n, const QString &text)
{
    QComboBox *field = editor.Edit[n];
    field->setFocus(Qt::TabFocusReason);
    if (!field->hasFocus()) {
        return false;
    }
    field->lineEdit()->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
    return true;
}

// Moves into field n as Tab does and pastes the text over its content.
[[nodiscard]] bool pasteIntoField(TTribArrec &editor, int n, const QString &text)
{
    QComboBox *field = editor.Edit[n];
    field->setFocus(Qt::TabFocusReason);
    if (!field->hasFocus()) {
        return false;
    }
    field->lineEdit()->selectAll();
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    return true;
}

// Leaves the focused field with Tab.
void pressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

void click(QWidget *button) { QTest::mouseClick(button, Qt::LeftButton); }

// Clicks "Atualizar Valores" as the user does.
void clickPanel(TTribArrec &editor)
{
    QTest::mouseClick(editor.Panel1, Qt::LeftButton, {}, editor.Panel1->rect().center());
}

// Fills the entry fields by program, from field 1 on.
void setFields(TTribArrec &editor, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i) {
        editor.Edit[i + 1]->setEditText(texts.at(i));
    }
}

// Clicks the item with that code in the list; tells whether it is then the one selected.
[[nodiscard]] bool clickItem(TTribArrec &editor, const QString &code)
{
    const QAbstractItemModel *model = editor.lbTitulos->model();
    const QModelIndexList found =
        model->match(model->index(0, 0), Qt::DisplayRole, code, -1, Qt::MatchExactly);
    if (found.size() != 1) {
        return false;
    }
    editor.lbTitulos->scrollTo(found.first());
    const QRect rect = editor.lbTitulos->visualRect(found.first());
    QTest::mouseClick(editor.lbTitulos->viewport(), Qt::LeftButton, {}, rect.center());
    // The click may have rebuilt the list: look again.
    const QModelIndexList selected = editor.lbTitulos->selectionModel()->selectedIndexes();
    return selected.size() == 1 && selected.first().data().toString() == code;
}

QStringList listed(const TTribArrec &editor)
{
    QStringList codes;
    for (int i = 0; i < editor.lbTitulos->count(); ++i) {
        codes.append(editor.lbTitulos->model()->index(i, 0).data().toString());
    }
    return codes;
}

// Runs once a modal dialog of the given class is open, then lets the test go on.
template <typename Dialog>
void whenModal(std::function<void(Dialog *)> act)
{
    QTimer::singleShot(0, [act] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        act(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
    });
}

QString data2005(const QString &name) { return QStringLiteral("dados/2005/") + name; }

QString noPrevious(const QString &relative)
{
    return QStringLiteral("Não existe o arquivo anterior: ") + nativePath(relative);
}

const QString kTaxFile = QStringLiteral("trib-arrec-1-2005.vqd");
const QString kMailto = QStringLiteral("mailto:contato@quelvara.com.br");
const QString kInstruction =
    QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o acumulado.");

QStringList canonical(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths) {
        const QString real = QFileInfo(path).canonicalFilePath();
        result.append(real.isEmpty() ? path : real);
    }
    return result;
}

QString taxName(const QString &code)
{
    for (const QString &entry : sampleLines(QStringLiteral("tributos.vqd"))) {
        if (GetField(entry, 1) == code) {
            return GetField(entry, 2);
        }
    }
    return {};
}

} // namespace

class TestTribArrec : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // 1. What is shown
    void layoutControls();
    void tabOrder();
    void kindLayout_data();
    void kindLayout();
    void fieldsFollowKindBackAndForth_data();
    void fieldsFollowKindBackAndForth();
    void programSelectionRunsNothing();
    void typedTitle();
    void periodFromTheBox();
    void withoutDataDirectory();
    void unreadableRegistryAtOpening_data();
    void unreadableRegistryAtOpening();
    void unreadableRegistryOnKindChange();
    void showOnceWithinOneAction();

    // 2. Focus and typing
    void leavingShapes_data();
    void leavingShapes();
    void pastedBreaksAreDropped();
    void pastedUnfitCharactersAreDropped();
    void computedOnEntering_data();
    void computedOnEntering();
    void accumulatedOnEntering();
    void dialogRoundTripIsNeitherLeavingNorEntering();
    void completion_data();
    void completion();
    void programTextDoesNotComplete();
    void typingNonLookupFieldClearsItemSelection();

    // 3. What is passed on
    void pickListsFollowStoreChange();
    void lookupButtonCancelled_data();
    void lookupButtonCancelled();
    void lookupButtonConfirmedWithNewEntry();
    void lookupButtonWithUnreadableRegistry();
    void viewAndSend_data();
    void viewAndSend();
    void publishing_data();
    void publishing();
    void checkGoesToTheItem();

    // 4. Item list and entry fields
    void typicalEntryMarch2005();
    void saveNewCodeShowsItEverywhere();
    void saveWithEmptyFirstField();
    void refusedSaveKeepsTheItem_data();
    void refusedSaveKeepsTheItem();
    void purchasesNumberAndPickLists();
    void selectShowsItemAndFlag();
    void selectStoresEditorItemInRegistryKind();
    void selectDropsEditorItemInCnpjKind();
    void leavingShownItemDoesNotComplete();
    void deleteInRegistryKind_data();
    void deleteInRegistryKind();
    void deleteInCnpjKind();
    void deleteByKeyAndMenu();
    void deleteWithoutSelection();
    void itemListFollowsSaveAndDelete_data();
    void itemListFollowsSaveAndDelete();
    void itemListKeys();
    void openedPeriodPaintsTheListOnce();
    void exitStoresItem_data();
    void exitStoresItem();
    void exitLeavesUntouchedProposal_data();
    void exitLeavesUntouchedProposal();
    void periodChangeStoresItem_data();
    void periodChangeStoresItem();
    void yearTypedDigitByDigit();
    void yearsOfTheDay_data();
    void yearsOfTheDay();
    void invalidYearKeepsTheItem();
    void missingPreviousFileShownOncePerAction();
    void updateValuesShowsTheItemAgain();
    void panelPressedLook_data();
    void panelPressedLook();

    // 5. What every user sees and reaches, at any font
    void everythingFits_data();
    void everythingFits();
    void updateValuesByKeyboard_data();
    void updateValuesByKeyboard();

private:
    // Creates the editor as the main window does and shows it, which runs the opening sequence.
    TTribArrec &open(int category);
    TTribArrec &editor() { return *editor_; }

    std::unique_ptr<ScratchDir> dir_;
    std::unique_ptr<FakePlatform> fake_;
    std::unique_ptr<TTribArrec> editor_;
};

void TestTribArrec::init()
{
    dir_ = std::make_unique<ScratchDir>();
    fake_ = std::make_unique<FakePlatform>();
    QVERIFY(copySampleData(*dir_));
}

void TestTribArrec::cleanup()
{
    editor_.reset();
    fake_.reset();
    dir_.reset();
}

TTribArrec &TestTribArrec::open(int category)
{
    editor_ = std::make_unique<TTribArrec>();
    editor_->NomePrefeitura = QStringLiteral("Vila Serena");
    editor_->UF = QStringLiteral("MG");
    editor_->SubTitle->setCurrentIndex(category);
    editor_->show();
    if (!QTest::qWaitForWindowExposed(editor_.get())) {
        qWarning("editor window not exposed");
    }
    return *editor_;
}

// A January of monthly taxes whose item holds an amount that is no number:
// errors a check finds before the page goes out.
bool plantJanuaryError(const ScratchDir &dir, const char *period = "1")
{
    return writeFile(dir.file(QStringLiteral("dados/2005/trib-arrec-%1-2005.vqd").arg(period)),
                     "9999\tTaxa de teste\tabc\tabc\t0\t\r\n");
}

// ---------------------------------------------------------------------------
// 1. What is shown

void TestTribArrec::layoutControls()
{
    TTribArrec &e = open(0);

    QCOMPARE(e.objectName(), QStringLiteral("TribArrec"));
    // The size it was drawn at, or larger where its texts need it; fixed.
    QVERIFY(e.width() >= 738 && e.height() >= 423);
    QCOMPARE(e.minimumSize(), e.maximumSize());
    QVERIFY(!(e.windowFlags() & Qt::WindowMaximizeButtonHint));

    struct Expected {
        const char *name;
        QString text;
        QString hint;
    };
    const QList<Expected> buttons = {
        {"btNovo", QStringLiteral("Novo"), QStringLiteral("Novo Item")},
        {"btAdd", QStringLiteral("Salvar"), QStringLiteral("Salvar Item na Lista")},
        {"btDel", QStringLiteral("Excluir"), QStringLiteral("Excluir Item da Lista")},
        {"SpeedButton8", QStringLiteral("Enviar"), QStringLiteral("Enviar Relatórios por E-mail")},
        {"btView", QStringLiteral("Visualizar Relatório"),
         QStringLiteral("Visualizar relatório HTML")},
        {"btOK", QStringLiteral("Sair"), QStringLiteral("Sair")},
    };
    for (const Expected &x : buttons) {
        auto *button = e.findChild<QPushButton *>(QLatin1String(x.name));
        QVERIFY2(button, x.name);
        QCOMPARE(stripMnemonic(button->text()), x.text);
        QCOMPARE(button->toolTip(), x.hint);
        QVERIFY(button->isVisible());
    }
    QVERIFY(!e.findChild<QPushButton *>(QStringLiteral("btView"))->icon().isNull());
    QVERIFY(!e.findChild<QPushButton *>(QStringLiteral("btOK"))->icon().isNull());
    QVERIFY(!e.findChild<QPushButton *>(QStringLiteral("SpeedButton8"))->icon().isNull());

    auto *title = e.findChild<QComboBox *>(QStringLiteral("Title"));
    QVERIFY(title && title->isEditable() && title->font().bold());
    QCOMPARE(title->toolTip(), QStringLiteral("Titulo do Relatório"));
    QCOMPARE(stripMnemonic(e.findChild<QLabel *>(QStringLiteral("lbAno"))->text()),
             QStringLiteral("Ano: "));
    QCOMPARE(e.findChild<QComboBox *>(QStringLiteral("cbAno"))->toolTip(), QStringLiteral("Ano"));
    QCOMPARE(stripMnemonic(e.findChild<QLabel *>(QStringLiteral("lbPeriodo"))->text()),
             QStringLiteral("Periodo:"));
    QCOMPARE(e.findChild<QComboBox *>(QStringLiteral("cbPeriodo"))->toolTip(),
             QStringLiteral("Periodo"));
    QCOMPARE(stripMnemonic(e.findChild<QLabel *>(QStringLiteral("Label5"))->text()),
             QStringLiteral("Itens do Relatório"));
    auto *list = e.findChild<QAbstractItemView *>(QStringLiteral("lbTitulos"));
    QCOMPARE(list->toolTip(), QStringLiteral("Lista de Items no Relatório"));
    auto *menu = e.findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->objectName(), QStringLiteral("Deletar1"));
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Deletar"));

    auto *check = e.findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
    QCOMPARE(stripMnemonic(check->text()),
             QStringLiteral("Para não incluir este valor no cálculo total, marque aqui."));
    QVERIFY(check->font().bold());
    QVERIFY(check->isVisible());
    QVERIFY(e.findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->isAncestorOf(check));

    auto *panel = e.findChild<QWidget *>(QStringLiteral("Panel1"));
    QCOMPARE(panel->toolTip(), QStringLiteral("Atualizar todos os Valores"));
    QCOMPARE(stripMnemonic(panel->findChild<QLabel *>(QStringLiteral("Panel1Caption"))->text()),
             QStringLiteral("Atualizar Valores  "));
    QVERIFY(!panel->findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());

    // Rows equally spaced, each at least a field high (24 pixels at the
    // font the window was drawn for), caption and field side by side; "..."
    // buttons only beside fields 1 to 6. All ten rows shown for purchases.
    QVERIFY(pick(e.Title, 7));
    const int pitch = e.Edit[2]->y() - e.Edit[1]->y();
    QVERIFY(pitch >= std::max(24, e.Edit[1]->height()));
    for (int i = 1; i <= kMaxFields; ++i) {
        const QString n = QString::number(i);
        auto *edit = e.findChild<QComboBox *>(QStringLiteral("Edit") + n);
        auto *caption = e.findChild<QLabel *>(QStringLiteral("Campo") + n);
        QVERIFY(edit && caption);
        QVERIFY(edit->isEditable());
        QCOMPARE(edit->y() - e.Edit[1]->y(), (i - 1) * pitch);
        QVERIFY(caption->geometry().right() < edit->x());
        QCOMPARE(caption->geometry().center().y(), edit->geometry().center().y());
        auto *button = e.findChild<QToolButton *>(QStringLiteral("SpeedButton") + n);
        QCOMPARE(button != nullptr, i <= 6);
        if (button) {
            QCOMPARE(button->text(), QStringLiteral("..."));
        }
    }

    // Hidden: the category box, and the mirrors of the municipality and the officials.
    for (const char *name : {"SubTitle", "Prefeitura", "Prefeito", "SecFin", "Contador", "CRC"}) {
        auto *widget = e.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(widget, name);
        QVERIFY2(!widget->isVisible(), name);
    }
    QCOMPARE(e.Prefeitura->text(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE((QStringList{e.Prefeito->text(), e.SecFin->text(), e.Contador->text(),
                          e.CRC->text()}),
             sampleLines(QStringLiteral("prefs.vqd")));
    QStringList subTitles;
    for (int i = 0; i < e.SubTitle->count(); ++i) {
        subTitles.append(e.SubTitle->itemText(i));
    }
    QCOMPARE(subTitles, (QStringList{QStringLiteral("Relatórios Mensais"),
                                     QStringLiteral("Relatórios Bimestrais"),
                                     QStringLiteral("Relatórios Anuais")}));
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::tabOrder()
{
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, 7)); // purchases: all ten fields shown
    QVERIFY(activate(e));

    QStringList visited;
    e.Title->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 15; ++step) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{"Title", "cbAno", "cbPeriodo", "lbTitulos", "Edit1", "Edit2",
                                   "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                                   "Edit10", "CheckBox1"}));
    // Then every button, "Atualizar Valores" and "Enviar" included, column by
    // column, "Sair" last, and round to the title again.
    QStringList buttons;
    for (int step = 0; step < 10; ++step) {
        buttons.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(buttons, (QStringList{"btNovo", "btAdd", "btDel", "Panel1", "btCheck", "SpeedButton8",
                                   "btView", "btPdf", "btOK", "Title"}));
}

void TestTribArrec::kindLayout_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position"); // -1: the kind the editor opens with
    QTest::addColumn<int>("fields");
    QTest::addColumn<QList<int>>("buttons");
    QTest::addColumn<QList<int>>("pickLists");
    QTest::addColumn<int>("captionField");
    QTest::addColumn<QString>("caption");

    const QList<int> code{1, 2};
    const QList<int> none;
    QTest::newRow("monthly, as opened") << 0 << -1 << 4 << code << code << 2
                                        << QStringLiteral("Tributo/Contribuição:");
    QTest::newRow("bimonthly, as opened") << 1 << -1 << 4 << code << code << 4
                                          << QStringLiteral("Receita Acumulada no exercício:");
    QTest::newRow("annual, as opened") << 2 << -1 << 3 << code << code << 3
                                       << QStringLiteral("VALOR:");
    QTest::newRow("monthly purchases") << 0 << 7 << 10 << QList<int>{3, 4, 5, 6}
                                       << QList<int>{3, 4, 5, 6} << 10
                                       << QStringLiteral("Valor Total:");
    QTest::newRow("monthly agreements repassed")
        << 0 << 2 << 9 << none << none << 9 << QStringLiteral("Situação:");
    QTest::newRow("monthly agreements received")
        << 0 << 5 << 6 << none << none << 6 << QStringLiteral("Prazo para Cumprimento:");
    QTest::newRow("monthly contracts") << 0 << 6 << 9 << QList<int>{2, 3} << QList<int>{2, 3}
                                       << 3 << QStringLiteral("CPF / CNPJ:");
    QTest::newRow("bimonthly expense group") << 1 << 5 << 7 << code << code << 7
                                             << QStringLiteral("Acumulada da liquidada:");
    QTest::newRow("annual expense balance")
        << 2 << 7 << 5 << code << code << 2
        << QStringLiteral("Discriminação obs. o desdobramento");
    QTest::newRow("annual result") << 2 << 8 << 3 << none << none << 1
                                   << QStringLiteral("Superávit/Deficit corrente apurado:");
}

// What the editor shows for a kind: its title, the period box of its
// category, its fields and lookup buttons, its pick lists, its items.
void TestTribArrec::kindLayout()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(int, fields);
    QFETCH(QList<int>, buttons);
    QFETCH(QList<int>, pickLists);
    QFETCH(int, captionField);
    QFETCH(QString, caption);

    TTribArrec &e = open(category);
    if (position >= 0) {
        e.setWindowTitle(QString());
        QVERIFY(pick(e.Title, position));
    }
    const ReportKind *kind = reportKind(ReportCategory(category), std::max(position, 0));
    const CategoryInfo &info = categoryInfo(ReportCategory(category));
    QCOMPARE(e.Title->currentText(), kind->title);
    QCOMPARE(e.cbPeriodo->count(), info.periods.size());
    QCOMPARE(e.cbPeriodo->isEnabled(), info.periodsEnabled);
    QCOMPARE(e.cbPeriodo->currentText(), info.periods.value(0));
    QCOMPARE(e.cbAno->currentText(), QStringLiteral("2005"));
    QCOMPARE(e.Periodo, info.periods.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(e.PrefixoArq, kind->prefix);
    QCOMPARE(e.ArqCadastro, kind->registryFile);
    QCOMPARE(e.NumCampos, fields);
    QCOMPARE(e.TipoCampo[std::size_t(captionField)], kind->type(captionField));
    QCOMPARE(shownFields(e), fields);
    QCOMPARE(shownLookupButtons(e), buttons);
    QCOMPARE(pickListFields(e), pickLists);
    QCOMPARE(e.Campo[captionField]->text(), caption);
    QCOMPARE(e.windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(listed(e), e.session().items().codes());
    // The lookup fields list their registry column, in file order.
    for (int field : pickLists) {
        const QStringList column = e.session().pickList(field);
        QVERIFY(!column.isEmpty());
        QCOMPARE(e.Edit[field]->count(), column.size());
        QCOMPARE(e.Edit[field]->itemText(column.size() - 1), column.last());
        QCOMPARE(e.Edit[field]->currentText(), QString());
    }
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::fieldsFollowKindBackAndForth_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("wide");
    QTest::addColumn<int>("wideFields");
    QTest::addColumn<QList<int>>("wideButtons");
    QTest::addColumn<int>("narrow");
    QTest::addColumn<int>("narrowFields");
    QTest::addColumn<QList<int>>("narrowButtons");

    QTest::newRow("purchases and taxes")
        << 0 << 7 << 10 << QList<int>{3, 4, 5, 6} << 0 << 4 << QList<int>{1, 2};
    QTest::newRow("balance and forecast")
        << 2 << 6 << 5 << QList<int>{1, 2} << 0 << 3 << QList<int>{1, 2};
}

void TestTribArrec::fieldsFollowKindBackAndForth()
{
    QFETCH(int, category);
    QFETCH(int, wide);
    QFETCH(int, wideFields);
    QFETCH(QList<int>, wideButtons);
    QFETCH(int, narrow);
    QFETCH(int, narrowFields);
    QFETCH(QList<int>, narrowButtons);

    TTribArrec &e = open(category);
    for (int round = 0; round < 2; ++round) {
        QVERIFY(pick(e.Title, wide));
        QCOMPARE(shownFields(e), wideFields);
        QCOMPARE(shownLookupButtons(e), wideButtons);
        QVERIFY(pick(e.Title, narrow));
        QCOMPARE(shownFields(e), narrowFields);
        QCOMPARE(shownLookupButtons(e), narrowButtons);
        for (int i = narrowFields + 1; i <= kMaxFields; ++i) {
            QVERIFY(!e.Campo[i]->isVisible());
        }
    }
}

void TestTribArrec::programSelectionRunsNothing()
{
    TTribArrec &e = open(0);
    e.Title->setCurrentIndex(7);
    e.cbPeriodo->setCurrentIndex(4);
    e.cbAno->setCurrentIndex(2);
    e.Edit[1]->setEditText(QStringLiteral("x"));
    QCOMPARE(e.PrefixoArq, QStringLiteral("trib-arrec-"));
    QCOMPARE(e.Periodo, QStringLiteral("1"));
    QCOMPARE(e.NumCampos, 4);
    QCOMPARE(e.session().year(), QStringLiteral("2005"));
}

// A typed title is no kind of the catalogue: the prefix says so, the fields
// stay as they were, a budget category reads its registry again, and a
// character no file can hold is taken out of the text.
void TestTribArrec::typedTitle()
{
    TTribArrec &e = open(1);
    QVERIFY(pick(e.Title, 2));
    QVERIFY(pick(e.cbPeriodo, 2));
    e.setWindowTitle(QString());
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/func.vqd")), "9\tNovo\t\r\n1\tUm\t\r\n"));
    fake_->messages.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral(" a\u2603b"));
    e.Title->setFocus(Qt::MouseFocusReason);
    e.Title->lineEdit()->end(false);
    QTest::keyClick(e.Title, Qt::Key_V, Qt::ControlModifier); // paste

    QCOMPARE(e.Title->currentIndex(), -1);
    QVERIFY(e.Title->currentText().endsWith(QStringLiteral(" ab")));
    QCOMPARE(fake_->messages.filter(QChar(0x2603)).size(), 1);
    QCOMPARE(e.PrefixoArq, QStringLiteral("unknkow-"));
    QCOMPARE(shownFields(e), 7);
    QCOMPARE(e.Campo[7]->text(), QStringLiteral("Acumulada da liquidada:"));
    QCOMPARE(e.Campo[1]->text(), QStringLiteral("Codificação Numérica:"));
    QCOMPARE(e.Edit[1]->count(), 2);
    QCOMPARE(e.Edit[2]->itemText(0), QStringLiteral("Novo"));
    // The chain went on: caption and period step.
    QCOMPARE(e.windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(e.Periodo, QStringLiteral("3"));
}

void TestTribArrec::periodFromTheBox()
{
    TTribArrec &e = open(1);
    QVERIFY(pick(e.cbPeriodo, 2));
    QCOMPARE(e.cbPeriodo->currentText(), QStringLiteral("3º Bimestre"));
    QCOMPARE(e.Periodo, QStringLiteral("3"));
    QCOMPARE(e.session().periodName(), QStringLiteral("3º Bimestre"));
    QVERIFY(pick(e.cbPeriodo, 5));
    QCOMPARE(e.Periodo, QStringLiteral("6"));

    // A typed period is no position of the list: period "0".
    typeInto(e.cbPeriodo, QStringLiteral("x"));
    QCOMPARE(e.cbPeriodo->currentIndex(), -1);
    QVERIFY(e.cbPeriodo->currentText().endsWith(QLatin1Char('x')));
    QCOMPARE(e.Periodo, QStringLiteral("0"));
}

// The first start: no data folder yet. Nothing is created by opening and
// choosing, and New changes no field, as nothing has been set up yet.
void TestTribArrec::withoutDataDirectory()
{
    QVERIFY(QDir(dir_->file(QStringLiteral("dados"))).removeRecursively());
    TTribArrec &e = open(0);
    QCOMPARE(fake_->messages, QStringList());
    QCOMPARE(fake_->errors, QStringList());
    QVERIFY(e.registryLoaded());
    QCOMPARE(e.windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(shownFields(e), 4);
    QCOMPARE(e.Prefeito->text(), QString());
    QCOMPARE(e.lbTitulos->count(), 0);

    QVERIFY(activate(e));
    QVERIFY(typeField(e, 1, QStringLiteral("abc")));
    QVERIFY(typeField(e, 3, QStringLiteral("12")));
    pressTab();
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("12,00"));
    e.LayOutFields(e.NumCampos);
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("abc"));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("12,00"));

    // Purchases: ten fields whose lookup columns keep their plain
    // presentation; New still empties field 1 and proposes the number.
    QVERIFY(pick(e.Title, 7));
    QCOMPARE(shownFields(e), 10);
    QCOMPARE(pickListFields(e), QList<int>{});
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("000001"));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("12,00"));
    QCOMPARE(fake_->messages, QStringList());
    QVERIFY(!QFileInfo::exists(dir_->file(QStringLiteral("dados"))));
}

void TestTribArrec::unreadableRegistryAtOpening_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<QString>("periodo");
    QTest::newRow("monthly") << 0 << QStringLiteral("tributos.vqd") << QStringLiteral("1");
    // The annual period step would have made it "0".
    QTest::newRow("annual") << 2 << QStringLiteral("rec.vqd") << QString();
}

void TestTribArrec::unreadableRegistryAtOpening()
{
    QFETCH(int, category);
    QFETCH(QString, registry);
    QFETCH(QString, periodo);
    const QString path = dir_->file(QStringLiteral("dados/") + registry);
    QVERIFY(blockWithDirectory(path));

    TTribArrec &e = open(category);

    QCOMPARE(fake_->messages,
             QStringList{QStringLiteral("Não foi possível ler o arquivo ") + nativePath(path)});
    QVERIFY(!e.registryLoaded());
    QCOMPARE(e.windowTitle(), QString());
    QCOMPARE(e.Periodo, periodo);
    QCOMPARE(e.lbTitulos->count(), 0);
    // The kind's layout stands; the officials are read all the same.
    QCOMPARE(e.ArqCadastro, registry);
    QCOMPARE(shownFields(e), e.NumCampos);
    QCOMPARE(e.Prefeito->text(), sampleLines(QStringLiteral("prefs.vqd")).first());
}

void TestTribArrec::unreadableRegistryOnKindChange()
{
    TTribArrec &e = open(0);
    QVERIFY(blockWithDirectory(dir_->file(QStringLiteral("dados/recv.vqd"))));
    e.cbPeriodo->setCurrentIndex(4); // by program: runs nothing
    e.setWindowTitle(QStringLiteral("before"));

    QVERIFY(pick(e.Title, 3));

    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY(fake_->messages.first().endsWith(
        QDir::toNativeSeparators(dir_->file(QStringLiteral("dados/recv.vqd")))));
    QVERIFY(!e.registryLoaded());
    QCOMPARE(e.Periodo, QStringLiteral("1")); // no period step
    QCOMPARE(e.windowTitle(), QStringLiteral("before"));
    QCOMPARE(e.Edit[1]->count(), 0);
    QCOMPARE(e.lbTitulos->count(), 0);

    // A kind whose registry loads makes the editor whole again.
    QVERIFY(pick(e.Title, 4));
    QVERIFY(e.registryLoaded());
    QCOMPARE(e.Periodo, QStringLiteral("5"));
    QCOMPARE(e.windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(e.Edit[1]->count(), sampleLines(QStringLiteral("recc.vqd")).size());
    // The registry is not reported again; May misses April to add to, once.
    QCOMPARE(fake_->messages.size(), 2);
    QCOMPARE(fake_->messages.last(),
             noPrevious(data2005(QStringLiteral("rec-receb-transf-const-receb-4-2005.vqd"))));
}

void TestTribArrec::showOnceWithinOneAction()
{
    TTribArrec e;
    e.runAction([&] {
        e.showOnce(QStringLiteral("a"));
        e.runAction([&] { e.showOnce(QStringLiteral("a")); });
        e.showOnce(QStringLiteral("b"));
        e.showOnce(QStringLiteral("a"));
    });
    QCOMPARE(fake_->messages, (QStringList{"a", "b"}));
    // A new action starts afresh; an exception ends the action too.
    QVERIFY_THROWS_EXCEPTION(int, e.runAction([&] {
        e.showOnce(QStringLiteral("a"));
        throw 1;
    }));
    e.runAction([&] { e.showOnce(QStringLiteral("a")); });
    QCOMPARE(fake_->messages, (QStringList{"a", "b", "a", "a"}));
}

// ---------------------------------------------------------------------------
// 2. Focus and typing

void TestTribArrec::leavingShapes_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shaped");

    QTest::newRow("amount") << 0 << 0 << 3 << "1234,5" << "1.234,50";
    QTest::newRow("date in field 8") << 0 << 2 << 8 << "01022005" << "01/02/2005";
    QTest::newRow("cnpj of supplier") << 0 << 7 << 6 << "11222333000181" << "11.222.333/0001-81";
}

void TestTribArrec::leavingShapes()
{
    QFETCH(int, category);
    QFETCH(int, kind);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, shaped);

    TTribArrec &e = open(category);
    if (kind != 0) {
        QVERIFY(pick(e.Title, kind));
    }
    QVERIFY(activate(e));
    QVERIFY(typeField(e, field, typed));
    QCOMPARE(e.Edit[field]->currentText(), typed);
    pressTab();
    QVERIFY(!e.Edit[field]->hasFocus());
    QCOMPARE(e.Edit[field]->currentText(), shaped);
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::pastedBreaksAreDropped()
{
    TTribArrec &e = open(0);
    QVERIFY(activate(e));
    QVERIFY(pasteIntoField(e, 1, QStringLiteral("11\t12\n13")));
    pressTab();
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("111213"));
}

void TestTribArrec::pastedUnfitCharactersAreDropped()
{
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, 7));
    QVERIFY(activate(e));
    QVERIFY(pasteIntoField(e, 7, QStringLiteral("Caf\u00e9 \u2603 \u20ac")));
    pressTab();
    // Windows-1252 holds the accented letter and the euro sign, not the snowman.
    QCOMPARE(e.Edit[7]->currentText(), QStringLiteral("Caf\u00e9  \u20ac"));
    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY(fake_->messages.first().contains(QChar(0x2603)));
}

void TestTribArrec::computedOnEntering_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("a");
    QTest::addColumn<QString>("aText");
    QTest::addColumn<int>("b");
    QTest::addColumn<QString>("bText");
    QTest::addColumn<int>("computed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("product") << 0 << 7 << 8 << "1.500,00" << 9 << "3" << 10 << "4.500,00";
    QTest::newRow("difference") << 2 << 6 << 3 << "1.000,00" << 4 << "250,50" << 5 << "749,50";
    QTest::newRow("difference, no number") << 2 << 6 << 3 << "1.000,00" << 4 << "x" << 5 << "0,00";
}

void TestTribArrec::computedOnEntering()
{
    QFETCH(int, category);
    QFETCH(int, kind);
    QFETCH(int, a);
    QFETCH(QString, aText);
    QFETCH(int, b);
    QFETCH(QString, bText);
    QFETCH(int, computed);
    QFETCH(QString, shown);

    TTribArrec &e = open(category);
    QVERIFY(pick(e.Title, kind));
    QVERIFY(activate(e));
    QVERIFY(typeField(e, a, aText));
    QVERIFY(typeField(e, b, bText));
    QCOMPARE(e.Edit[computed]->currentText(), QStringLiteral("0,00"));
    pressTab(); // from b into the computed field
    QVERIFY(e.Edit[computed]->hasFocus());
    QCOMPARE(e.Edit[computed]->currentText(), shown);
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::accumulatedOnEntering()
{
    TTribArrec &e = open(1);
    QVERIFY(pick(e.Title, 1)); // expenses: amounts 4 and 6, accumulated 5 and 7
    QVERIFY(activate(e));
    // In the first period the accumulated amount is the amount itself.
    QVERIFY(typeField(e, 4, QStringLiteral("1500")));
    pressTab();
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("1.500,00"));
    QVERIFY(typeField(e, 6, QStringLiteral("20")));
    pressTab();
    QCOMPARE(e.Edit[7]->currentText(), QStringLiteral("20,00"));
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("1.500,00"));
}

void TestTribArrec::dialogRoundTripIsNeitherLeavingNorEntering()
{
    TTribArrec &e = open(2);
    QVERIFY(pick(e.Title, 6)); // balance: field 5 is the difference of 3 and 4
    QVERIFY(activate(e));
    QVERIFY(typeField(e, 3, QStringLiteral("100")));
    pressTab();
    QVERIFY(typeField(e, 4, QStringLiteral("40")));
    pressTab();
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("60,00"));
    QVERIFY(typeField(e, 5, QStringLiteral("1500")));

    // A dialog over the editor takes the focus and gives it back.
    whenModal<QDialog>([](QDialog *dialog) { dialog->accept(); });
    QDialog other(&e);
    other.exec();
    QVERIFY(activate(e));
    QTRY_VERIFY(e.Edit[5]->hasFocus());
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("1500"));

    // Leaving for real shapes the field; coming back computes it again.
    pressTab();
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("1.500,00"));
    e.Edit[5]->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(e.Edit[5]->currentText(), QStringLiteral("60,00"));
}

void TestTribArrec::completion_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("partner");
    QTest::addColumn<QString>("partnerText");

    QTest::newRow("code gives name") << 0 << 1 << "101" << 2 << "IPTU";
    QTest::newRow("name gives code, case ignored") << 0 << 2 << "iptu" << 1 << "101";
    QTest::newRow("unknown code") << 0 << 1 << "999" << 2 << "as it was";
    QTest::newRow("supplier cnpj gives supplier")
        << 7 << 6 << "22.222.222/0001-22" << 5 << "Beta SA";
}

void TestTribArrec::completion()
{
    QFETCH(int, kind);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, partner);
    QFETCH(QString, partnerText);

    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/tributos.vqd")),
                      "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n"));
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/cnpj.vqd")),
                      "Alfa Ltda\t11.111.111/0001-11\t\r\nBeta SA\t22.222.222/0001-22\t\r\n"));
    TTribArrec &e = open(0);
    if (kind != 0) {
        QVERIFY(pick(e.Title, kind));
    }
    QVERIFY(activate(e));

    // Typed.
    e.Edit[partner]->setEditText(QStringLiteral("as it was"));
    QVERIFY(typeField(e, field, typed));
    QCOMPARE(e.Edit[partner]->currentText(), partnerText);

    // Picked from the list: the partner follows the pick.
    e.Edit[partner]->setEditText(QStringLiteral("?"));
    const int entry = e.Edit[field]->findText(typed, Qt::MatchFixedString);
    if (entry >= 0) {
        QVERIFY(pick(e.Edit[field], entry));
        QCOMPARE(e.Edit[partner]->currentText(), partnerText);
    }
}

void TestTribArrec::programTextDoesNotComplete()
{
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/tributos.vqd")), "101\tIPTU\t\r\n"));
    TTribArrec &e = open(0);
    e.Edit[1]->setEditText(QStringLiteral("101"));
    e.Edit[1]->setCurrentIndex(0);
    QCOMPARE(e.Edit[2]->currentText(), QString());
}

void TestTribArrec::typingNonLookupFieldClearsItemSelection()
{
    TTribArrec &e = open(0);
    QVERIFY(activate(e));

    e.lbTitulos->setCurrentRow(0);
    QVERIFY(typeField(e, 1, QStringLiteral("1")));
    QCOMPARE(e.lbTitulos->currentRow(), 0);

    e.lbTitulos->setCurrentRow(0);
    QVERIFY(e.lbTitulos->selectionModel()->isSelected(e.lbTitulos->currentIndex()));
    QVERIFY(typeField(e, 3, QStringLiteral("1")));
    QCOMPARE(e.lbTitulos->currentRow(), -1);
    QVERIFY(e.lbTitulos->selectionModel()->selectedIndexes().isEmpty());
}

// ---------------------------------------------------------------------------
// 3. What is passed on

void TestTribArrec::pickListsFollowStoreChange()
{
    const QString registry = dir_->file(QStringLiteral("dados/tributos.vqd"));
    QVERIFY(writeFile(registry, "090\tISS\t\r\n205\tITBI\t\r\n"));
    TTribArrec &e = open(0);
    QVERIFY(activate(e));
    QVERIFY(typeField(e, 1, QStringLiteral("15")));
    QVERIFY(typeField(e, 2, QStringLiteral("Taxa")));

    // The registry gains a line in the middle of the order, and is read
    // again when a lookup closes.
    QVERIFY(writeFile(registry, "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n"));
    whenModal<TCadastro>([](TCadastro *dialog) { dialog->reject(); });
    click(e.SpeedButton[2]);
    QVERIFY(activate(e));

    for (int field : {1, 2}) {
        QCOMPARE(e.Edit[field]->count(), 3);
    }
    QCOMPARE(e.Edit[1]->itemText(1), QStringLiteral("101"));
    QCOMPARE(e.Edit[2]->itemText(1), QStringLiteral("IPTU"));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("15"));
    QVERIFY(e.Edit[2]->hasFocus());

    QVERIFY(pick(e.Edit[1], 2));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("205"));
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("ITBI"));
}

void TestTribArrec::lookupButtonCancelled_data()
{
    QTest::addColumn<bool>("byKey"); // F3 in the field, or a click on its "..." button
    QTest::newRow("click") << false;
    QTest::newRow("F3") << true;
}

void TestTribArrec::lookupButtonCancelled()
{
    QFETCH(bool, byKey);
    TTribArrec &e = open(0);
    QVERIFY(activate(e));
    QVERIFY(typeField(e, 1, QStringLiteral("abc")));
    QVERIFY(typeField(e, 2, QStringLiteral("Nome")));

    QString opened;
    whenModal<TCadastro>([&opened](TCadastro *dialog) {
        opened = dialog->FileName;
        dialog->ChosenIndex = -1;
        dialog->reject();
    });
    if (byKey) {
        e.Edit[1]->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    } else {
        click(e.SpeedButton[1]);
    }

    QCOMPARE(opened, QStringLiteral("tributos.vqd"));
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QCOMPARE(e.Edit[1]->count(), sampleLines(QStringLiteral("tributos.vqd")).size());
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("Nome"));
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::lookupButtonConfirmedWithNewEntry()
{
    const QString registry = dir_->file(QStringLiteral("dados/tributos.vqd"));
    QVERIFY(writeFile(registry, "090\tISS\t\r\n205\tITBI\t\r\n"));
    TTribArrec &e = open(0);
    QVERIFY(activate(e));
    QVERIFY(typeField(e, 1, QStringLiteral("x")));

    // The dialog saves a new entry, sorted into the middle, and chooses it.
    bool written = false;
    whenModal<TCadastro>([&](TCadastro *dialog) {
        written = writeFile(registry, "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n");
        dialog->ChosenIndex = 1;
        dialog->accept();
    });
    click(e.SpeedButton[2]);
    QVERIFY(written);

    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(e.Edit[2]->itemText(1), QStringLiteral("IPTU"));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("101"));
    QCOMPARE(e.Edit[1]->itemText(1), QStringLiteral("101"));

    // The other field's list follows the store too.
    QVERIFY(activate(e));
    QVERIFY(pick(e.Edit[1], 2));
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("ITBI"));
}

void TestTribArrec::lookupButtonWithUnreadableRegistry()
{
    const QString registry = dir_->file(QStringLiteral("dados/tributos.vqd"));
    QVERIFY(writeFile(registry, "090\tISS\t\r\n205\tITBI\t\r\n"));
    TTribArrec &e = open(0);
    QVERIFY(activate(e));

    bool blocked = false;
    whenModal<TCadastro>([&](TCadastro *dialog) {
        blocked = blockWithDirectory(registry);
        dialog->ChosenIndex = 1;
        dialog->accept();
    });
    click(e.SpeedButton[1]);
    QVERIFY(blocked);

    // The store keeps its lines; no entry is taken for a position it cannot check.
    QCOMPARE(e.session().registry(), (QStringList{"090\tISS\t", "205\tITBI\t"}));
    QCOMPARE(e.Edit[1]->count(), 2);
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QCOMPARE(e.Edit[2]->currentText(), QString());
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::viewAndSend_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("blocker"); // a file, or a directory ("name/"), where one is made
    QTest::addColumn<bool>("stale");      // the page exists before
    QTest::addColumn<bool>("send");       // "Enviar"; otherwise "Visualizar Relatório"
    QTest::addColumn<QString>("message"); // its path relative to the working directory
    QTest::addColumn<QString>("opened");

    const QString page = QStringLiteral("2005/trib-arrec-1-2005.htm");
    QTest::newRow("view rewrites and opens the page") << "2005" << "" << true << false << ""
                                                      << page;
    // The user's last page stays as it is.
    QTest::newRow("send keeps an existing page") << "2005" << "" << true << true << "" << kMailto;
    QTest::newRow("send writes a missing page") << "2005" << "" << false << true << "" << kMailto;
    QTest::newRow("view: no year directory") << "2010" << "2010" << false << false
                                             << "Não foi possivel criar o diretório 2010" << "";
    QTest::newRow("send: no year directory") << "2010" << "2010" << false << true
                                             << "Não foi possivel criar o diretório 2010"
                                             << kMailto;
    QTest::newRow("view: no page file")
        << "2011" << "2011/trib-arrec-1-2011.htm/" << false << false
        << "Não foi possivel criar o arquivo 2011/trib-arrec-1-2011.htm" << "";
    QTest::newRow("view: no year") << "20" << "" << false << false << "" << "";
    QTest::newRow("send: no year") << "20" << "" << false << true << "" << kMailto;
}

void TestTribArrec::publishing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("errors");  // the report holds errors a check finds
    QTest::addColumn<bool>("goOn");    // the answer to "go on anyway?"
    QTest::addColumn<bool>("canOpen"); // the desktop opens what it is given
    QTest::addColumn<QString>("opened"); // ".htm", ".pdf", "mailto" or nothing
    QTest::addColumn<QString>("message");

    QTest::newRow("view") << "btView" << false << true << true << ".htm" << "";
    QTest::newRow("view: no browser") << "btView" << false << true << false << ".htm" << "page";
    QTest::newRow("send: no mail program")
        << "SpeedButton8" << false << true << false << "mailto" << "send";
    QTest::newRow("pdf") << "btPdf" << false << true << true << ".pdf" << "";
    QTest::newRow("view with errors, stopped") << "btView" << true << false << true << "" << "";
    QTest::newRow("send with errors, stopped") << "SpeedButton8" << true << false << true << ""
                                               << "";
    QTest::newRow("pdf with errors, gone on") << "btPdf" << true << true << true << ".pdf" << "";
}

void TestTribArrec::publishing()
{
    QFETCH(QString, button);
    QFETCH(bool, errors);
    QFETCH(bool, goOn);
    QFETCH(bool, canOpen);
    QFETCH(QString, opened);
    QFETCH(QString, message);

    if (errors) {
        QVERIFY(plantJanuaryError(*dir_));
    }
    TTribArrec &e = open(0);
    fake_->messages.clear();
    fake_->answers.enqueue(goOn);
    fake_->canOpen = canOpen;
    const QString page = e.session().pagePath();
    const QString pdf = page.chopped(4) + QStringLiteral(".pdf");

    click(e.findChild<QPushButton *>(button));

    QCOMPARE(fake_->questions,
             errors ? QStringList{QStringLiteral("Verificar|") + quelvara::msg::goOnDespiteErrors(2)}
                    : QStringList());
    QStringList expected;
    if (opened == QStringLiteral("mailto")) {
        expected.append(kMailto);
    } else if (!opened.isEmpty()) {
        expected.append(opened == QStringLiteral(".pdf") ? pdf : page);
    }
    QCOMPARE(canonical(fake_->opened), canonical(expected));
    QCOMPARE(fileBytes(pdf).startsWith("%PDF"), opened == QStringLiteral(".pdf"));
    const QStringList told =
        message == QStringLiteral("page")
            ? QStringList{quelvara::msg::cannotOpenPage(page)}
            : message == QStringLiteral("send")
                  ? QStringList{quelvara::msg::cannotSendPage(quelvara::vendor::kContactEmail, page)}
                  : QStringList();
    QCOMPARE(fake_->messages, told);
}

void TestTribArrec::checkGoesToTheItem()
{
    // March holds the error; the finding chosen shows March and its item.
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/2005/trib-arrec-1-2005.vqd")), ""));
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/2005/trib-arrec-2-2005.vqd")), ""));
    QVERIFY(plantJanuaryError(*dir_, "3"));
    TTribArrec &e = open(0);
    QString shownFirst;
    whenModal<quelvara::FindingsDialog>([&shownFirst](quelvara::FindingsDialog *dialog) {
        auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tbFindings"));
        shownFirst = table->item(0, 2)->text();
        table->selectRow(0);
        click(dialog->findChild<QPushButton *>(QStringLiteral("btGoTo")));
    });
    click(e.btCheck);

    QCOMPARE(shownFirst, QStringLiteral("9999"));
    QCOMPARE(e.cbPeriodo->currentIndex(), 2);
    QCOMPARE(e.Periodo, QStringLiteral("3"));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("9999"));
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("Taxa de teste"));
}

void TestTribArrec::viewAndSend()
{
    QFETCH(QString, year);
    QFETCH(QString, blocker);
    QFETCH(bool, stale);
    QFETCH(bool, send);
    QFETCH(QString, message);
    QFETCH(QString, opened);

    TTribArrec &e = open(0);
    if (blocker.endsWith(u'/')) {
        QVERIFY(blockWithDirectory(dir_->file(blocker)));
    } else if (!blocker.isEmpty()) {
        QVERIFY(writeFile(dir_->file(blocker), "in the way"));
    }
    if (year != e.cbAno->currentText()) {
        retype(e.cbAno, year);
    }
    const QString page = e.session().pagePath();
    if (stale) {
        QVERIFY(writeFile(page, "stale page\r\n"));
    } else if (!page.isEmpty()) {
        QFile::remove(page);
    }
    fake_->messages.clear();

    click(send ? e.SpeedButton8 : e.btView);

    const qsizetype space = message.lastIndexOf(u' ');
    QCOMPARE(fake_->messages, message.isEmpty() ? QStringList()
                                                : QStringList{message.left(space + 1) +
                                                              nativePath(message.mid(space + 1))});
    const bool written = message.isEmpty() && !page.isEmpty() && !(stale && send);
    QCOMPARE(fileBytes(page).startsWith("<html><head><title> Tributos"), written);
    QStringList expected;
    if (!opened.isEmpty()) {
        expected.append(opened == kMailto ? opened : dir_->file(opened));
    }
    QCOMPARE(canonical(fake_->opened), canonical(expected));
    QVERIFY(!QFileInfo::exists(dir_->file(QStringLiteral("20"))));
}

// ---------------------------------------------------------------------------
// 4. Item list and entry fields

// The road of one monthly tax collected in March 2005, as the user takes it.
void TestTribArrec::typicalEntryMarch2005()
{
    const QString iptu = QStringLiteral("1112.02.00");
    QVERIFY(writeFile(dir_->file(data2005(QStringLiteral("trib-arrec-2-2005.vqd"))),
                      crlfBytes({iptu + u'\t' + taxName(iptu) +
                                 QStringLiteral("\t1.000,00\t3.000,00\t0\t")})));

    TTribArrec &e = open(0);
    QCOMPARE(e.Title->currentText(), QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I"));
    QCOMPARE(e.cbPeriodo->currentText(), QStringLiteral("Janeiro"));
    // January has no file: one item per registered tax, nothing written.
    const QStringList taxes = sampleLines(QStringLiteral("tributos.vqd"));
    QCOMPARE(listed(e).size(), taxes.size());
    QVERIFY(!QFileInfo::exists(dir_->file(data2005(kTaxFile))));

    QVERIFY(pick(e.cbPeriodo, 2));
    QCOMPARE(e.Periodo, QStringLiteral("3"));
    QCOMPARE(listed(e).size(), taxes.size());

    QVERIFY(activate(e));
    e.Edit[1]->setFocus(Qt::TabFocusReason);
    QVERIFY(pick(e.Edit[1], 0));
    QCOMPARE(e.Edit[1]->currentText(), iptu);
    QCOMPARE(e.Edit[2]->currentText(), taxName(iptu));
    QVERIFY(typeField(e, 3, QStringLiteral("1500")));
    pressTab();
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("1.500,00"));
    QCOMPARE(e.Edit[4]->currentText(), QStringLiteral("4.500,00"));

    click(e.btAdd);
    QStringList expected;
    for (const QString &entry : taxes) {
        expected.append(entry + QStringLiteral("0,00\t0,00\t\t"));
    }
    expected[0] = iptu + u'\t' + taxName(iptu) + QStringLiteral("\t1.500,00\t4.500,00\t0\t");
    QCOMPARE(fileBytes(dir_->file(data2005(QStringLiteral("trib-arrec-3-2005.vqd")))),
             crlfBytes(expected));
    // A registered code leaves the registry as it was.
    QCOMPARE(fileBytes(dir_->file(QStringLiteral("dados/tributos.vqd"))),
             sampleBytes(QStringLiteral("tributos.vqd")));
    QCOMPARE(fake_->messages, QStringList());
    // Ready for the next item.
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QVERIFY(e.lbTitulos->selectionModel()->selectedIndexes().isEmpty());
}

void TestTribArrec::saveNewCodeShowsItEverywhere()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1119.99.00"), QStringLiteral("Taxa Nova"), QStringLiteral("2,00"),
                  QStringLiteral("2,00")});
    click(e.btAdd);

    // The item list and the pick lists follow the session line by line.
    QCOMPARE(listed(e), e.session().items().codes());
    QCOMPARE(listed(e).at(5), QStringLiteral("1119.99.00"));
    QCOMPARE(e.Edit[1]->itemText(5), QStringLiteral("1119.99.00"));
    QCOMPARE(e.Edit[2]->itemText(5), QStringLiteral("Taxa Nova"));
    QCOMPARE(e.Edit[1]->count(), e.session().registry().size());
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::saveWithEmptyFirstField()
{
    TTribArrec &e = open(0);
    setFields(e, {QString(), QStringLiteral("Sem código"), QStringLiteral("3,00")});
    click(e.btAdd);

    QCOMPARE(fake_->messages,
             QStringList{QStringLiteral("O primeiro campo não pode estar em branco.")});
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("Sem código"));
    QVERIFY(!QFileInfo::exists(dir_->file(QStringLiteral("dados/2005"))));
}

void TestTribArrec::refusedSaveKeepsTheItem_data()
{
    QTest::addColumn<QString>("blocked"); // made a directory before opening
    QTest::addColumn<QString>("message"); // how the last message starts
    QTest::newRow("unreadable data file") << data2005(kTaxFile)
                                          << "O arquivo não foi lido e não será alterado: ";
    QTest::newRow("unreadable registry")
        << "dados/tributos.vqd" << "O cadastro não foi lido e nada será salvo neste relatório: ";
}

void TestTribArrec::refusedSaveKeepsTheItem()
{
    QFETCH(QString, blocked);
    QFETCH(QString, message);
    QVERIFY(blockWithDirectory(dir_->file(blocked)));
    TTribArrec &e = open(0);
    QCOMPARE(fake_->messages.size(), 1);

    setFields(e, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("1,00"),
                  QStringLiteral("1,00")});
    click(e.btAdd);

    QCOMPARE(fake_->messages.size(), 2);
    QVERIFY2(fake_->messages.last().startsWith(message), qPrintable(fake_->messages.last()));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("1112.02.00"));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("1,00"));
    QVERIFY(QFileInfo(dir_->file(blocked)).isDir());
}

void TestTribArrec::purchasesNumberAndPickLists()
{
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, 7));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("000001"));

    setFields(e, {"000001", "Saúde", "Hospital Municipal", "11.111.111/0001-11",
                  "Zeladoria Serena Ltda", "22.222.222/0001-22", "Luvas", "2,00", "3", "6,00"});
    click(e.btAdd);
    QCOMPARE(listed(e), QStringList{QStringLiteral("000001")});
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("000002"));
    const int registry = sampleLines(QStringLiteral("cnpj.vqd")).size() + 2;
    for (int field : {3, 4, 5, 6}) {
        QCOMPARE(e.Edit[field]->count(), registry);
    }
    QCOMPARE(e.Edit[5]->itemText(registry - 1), QStringLiteral("Zeladoria Serena Ltda"));
    QCOMPARE(e.Edit[6]->itemText(registry - 1), QStringLiteral("22.222.222/0001-22"));
}

void TestTribArrec::selectShowsItemAndFlag()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("5,00"),
                  QStringLiteral("5,00")});
    e.CheckBox1->setChecked(true);
    click(e.btAdd);
    // New leaves the check box as it was.
    QVERIFY(e.CheckBox1->isChecked());

    QVERIFY(clickItem(e, QStringLiteral("1112.04.31")));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("1112.04.31"));
    QCOMPARE(e.Edit[2]->currentText(), taxName(QStringLiteral("1112.04.31")));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("0,00"));
    QVERIFY(!e.CheckBox1->isChecked()); // an empty flag field

    QVERIFY(clickItem(e, QStringLiteral("1112.02.00")));
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(e.Edit[4]->currentText(), QStringLiteral("5,00"));
    QVERIFY(e.CheckBox1->isChecked());
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::selectStoresEditorItemInRegistryKind()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1113.05.00"), QStringLiteral("ISS"), QStringLiteral("7,00"),
                  QStringLiteral("7,00")});
    QVERIFY(clickItem(e, QStringLiteral("1130.00.00")));

    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("1130.00.00"));
    QCOMPARE(e.lbTitulos->currentIndex().data().toString(), QStringLiteral("1130.00.00"));
    const QStringList stored = readLines(dir_->file(data2005(kTaxFile))).lines;
    QVERIFY(stored.contains(QStringLiteral("1113.05.00\tISS\t7,00\t7,00\t0\t")));
}

void TestTribArrec::selectDropsEditorItemInCnpjKind()
{
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, 6)); // contracts
    setFields(e, {QStringLiteral("01/2005"), QStringLiteral("APAE de Vila Serena")});
    click(e.btAdd);
    const QString path = dir_->file(data2005(QStringLiteral("contratos-e-seus-aditivos-1-2005.vqd")));
    const QByteArray saved = fileBytes(path);

    setFields(e, {QStringLiteral("02/2005"), QStringLiteral("Lira Musical Serenense")});
    QVERIFY(clickItem(e, QStringLiteral("01/2005")));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("01/2005"));
    QCOMPARE(e.Edit[2]->currentText(), QStringLiteral("APAE de Vila Serena"));
    QCOMPARE(listed(e), QStringList{QStringLiteral("01/2005")});
    QCOMPARE(fileBytes(path), saved);
}

void TestTribArrec::leavingShownItemDoesNotComplete()
{
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/cnpj.vqd")),
                      "ACME\t11.222.333/0001-81\t\r\n"));
    QVERIFY(writeFile(
        dir_->file(data2005(QStringLiteral("contratos-e-seus-aditivos-1-2005.vqd"))),
        "01/2005\tACME\t99.999.999/0001-99\tL\t__/__/____\t__/__/____\tObj\t1,00\tobs\t0\t\r\n"));
    // The item's CNPJ differs from the registry's: only the user's own pick
    // may bring the registry's into the field.
    TTribArrec &e = open(0);
    QVERIFY(activate(e));
    QVERIFY(pick(e.Title, 6));
    QVERIFY(activate(e));
    QVERIFY(clickItem(e, QStringLiteral("01/2005")));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("99.999.999/0001-99"));
    e.Edit[1]->setFocus(Qt::TabFocusReason);
    pressTab();
    QVERIFY(e.Edit[2]->hasFocus());
    pressTab();
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("99.999.999/0001-99"));
}

void TestTribArrec::deleteInRegistryKind_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No keeps the item, reset") << false;
    QTest::newRow("Yes removes it from the registry") << true;
}

void TestTribArrec::deleteInRegistryKind()
{
    QFETCH(bool, yes);
    TTribArrec &e = open(0);
    const QString code = QStringLiteral("1112.04.31");
    setFields(e, {code, taxName(code), QStringLiteral("9,00"), QStringLiteral("9,00")});
    click(e.btAdd);

    QVERIFY(clickItem(e, code));
    fake_->answers.enqueue(yes);
    click(e.btDel);

    QCOMPARE(fake_->questions,
             QStringList{QStringLiteral("Excluir|Deseja Excluir o Item do cadastro?")});
    QCOMPARE(listed(e), e.session().items().codes());
    QCOMPARE(listed(e).contains(code), !yes);
    QCOMPARE(e.session().registry().size(),
             sampleLines(QStringLiteral("tributos.vqd")).size() - (yes ? 1 : 0));
    QCOMPARE(e.Edit[1]->count(), e.session().registry().size());
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::deleteInCnpjKind()
{
    // Contracts: even a number that is a name of the registry asks nothing.
    const QString code = QStringLiteral("APAE de Vila Serena");
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, 6));
    setFields(e, {code, QString(), QString(), QStringLiteral("L")});
    click(e.btAdd);
    QVERIFY(clickItem(e, code));
    QCOMPARE(e.Edit[4]->currentText(), QStringLiteral("L"));

    click(e.btDel);

    QCOMPARE(fake_->questions, QStringList());
    QCOMPARE(listed(e), QStringList());
    QCOMPARE(fileBytes(dir_->file(QStringLiteral("dados/cnpj.vqd"))),
             sampleBytes(QStringLiteral("cnpj.vqd")));
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::deleteByKeyAndMenu()
{
    TTribArrec &e = open(0);
    QVERIFY(clickItem(e, QStringLiteral("1112.02.00")));
    fake_->answers.enqueue(false);
    QTest::keyClick(e.lbTitulos, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(fake_->questions.size(), 1);
    QVERIFY(listed(e).contains(QStringLiteral("1112.02.00")));

    QVERIFY(clickItem(e, QStringLiteral("1130.00.00")));
    fake_->answers.enqueue(true);
    e.Deletar1->trigger();
    QCOMPARE(fake_->questions.size(), 2);
    QVERIFY(!listed(e).contains(QStringLiteral("1130.00.00")));
}

void TestTribArrec::itemListFollowsSaveAndDelete_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("deleted");
    // The view takes the size of every row from one of them: the long code
    // is not that one.
    const QString longCode = QStringLiteral("1000.00.00.00.00.00.00.00.00.00.00.00");
    QTest::newRow("new first, long") << longCode << QString();
    QTest::newRow("new in the middle") << QStringLiteral("1121.50.00") << QString();
    QTest::newRow("new last") << QStringLiteral("9999.99.99") << QString();
    QTest::newRow("stored again in place") << QStringLiteral("1130.00.00") << QString();
    // An item is stored before its deletion, which rewrites the period's file.
    QTest::newRow("first deleted") << QStringLiteral("1112.02.00") << QStringLiteral("1112.02.00");
    QTest::newRow("last deleted") << QStringLiteral("1230.00.00") << QStringLiteral("1230.00.00");
    QTest::newRow("long saved, then deleted") << longCode << longCode;
}

// The list is told only the rows a save or deletion changed: it must still
// hold the session's codes in order, each row as wide as the widest code
// (a long one reached by scrolling sideways) and no wider once it is gone.
void TestTribArrec::itemListFollowsSaveAndDelete()
{
    QFETCH(QString, saved);
    QFETCH(QString, deleted);
    TTribArrec &e = open(0);
    QAbstractItemModel *model = e.lbTitulos->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const int rows = e.lbTitulos->count();
    const int width = e.lbTitulos->visualRect(model->index(0, 0)).width();

    if (!saved.isEmpty()) {
        const QString name = taxName(saved);
        setFields(e, {saved, name.isEmpty() ? QStringLiteral("Taxa Nova") : name,
                      QStringLiteral("1,00"), QStringLiteral("1,00")});
        click(e.btAdd);
        QCOMPARE(listed(e), e.session().items().codes());
        QVERIFY(listed(e).contains(saved));
        QCOMPARE(layoutFaults(&e), QStringList());
        const QModelIndex row = model->index(int(listed(e).indexOf(saved)), 0);
        QVERIFY(e.lbTitulos->visualRect(row).width() >
                e.lbTitulos->fontMetrics().horizontalAdvance(saved));
    }
    if (!deleted.isEmpty()) {
        QVERIFY(clickItem(e, deleted));
        fake_->answers.enqueue(true);
        click(e.btDel);
        QCOMPARE(listed(e), e.session().items().codes());
        QVERIFY(!listed(e).contains(deleted));
    }
    if (e.lbTitulos->count() == rows) {
        QCOMPARE(e.lbTitulos->visualRect(model->index(0, 0)).width(), width);
    }
    QCOMPARE(fake_->messages, QStringList());
}

// Home and End reach the first and the last item, which then shows as a
// click does; moving up or down never scrolls the list sideways; Tab leaves it.
void TestTribArrec::itemListKeys()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1000.00.00.00.00.00.00.00.00.00.00.00"), QStringLiteral("Taxa Nova"),
                  QStringLiteral("1,00"), QStringLiteral("1,00")});
    click(e.btAdd);
    QScrollBar *sideways = e.lbTitulos->horizontalScrollBar();
    QTRY_VERIFY(sideways->maximum() > 0);
    sideways->setValue(sideways->maximum() / 2);
    e.lbTitulos->setFocus(Qt::TabFocusReason);
    for (const auto &[key, row] : {std::pair{Qt::Key_End, e.lbTitulos->count() - 1},
                                   {Qt::Key_Home, 0}, {Qt::Key_Down, 1}}) {
        QTest::keyClick(e.lbTitulos, key);
        QCOMPARE(e.lbTitulos->currentRow(), row);
        QCOMPARE(e.Edit[1]->currentText(), listed(e).at(row));
        QCOMPARE(sideways->value(), sideways->maximum() / 2);
    }
    QTest::keyClick(e.lbTitulos, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), e.Edit[1]);
}

// An opened period's list is laid out before it is painted, and so painted
// once: a layout left for later painted every row a second time.
void TestTribArrec::openedPeriodPaintsTheListOnce()
{
    struct PaintCount : QObject {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } count;
    const auto settle = [] {
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents();
        }
    };
    TTribArrec &e = open(0);
    settle();
    e.lbTitulos->viewport()->installEventFilter(&count);
    e.cbPeriodo->setCurrentIndex(3);
    e.runAction([&e] { e.cbPeriodoChange(); });
    settle();
    QVERIFY(e.lbTitulos->count() > 0);
    QCOMPARE(count.paints, 1);
}

void TestTribArrec::deleteWithoutSelection()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("1,00"),
                  QStringLiteral("1,00")});
    click(e.btAdd);
    setFields(e, {QStringLiteral("typed")});

    click(e.btDel);
    QCOMPARE(fake_->messages, QStringList{QStringLiteral("Selecione um item ao lado.")});
    QCOMPARE(fake_->questions, QStringList());
    QCOMPARE(e.Edit[1]->currentText(), QString()); // reset
    QCOMPARE(listed(e).size(), sampleLines(QStringLiteral("tributos.vqd")).size());
}

void TestTribArrec::exitStoresItem_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("byEsc"); // Esc leaves as "Sair" does
    QTest::newRow("item in the editor") << "1121.17.00" << false;
    QTest::newRow("empty editor") << "" << false;
    QTest::newRow("item in the editor, Esc") << "1121.17.00" << true;
    QTest::newRow("empty editor, Esc") << "" << true;
}

void TestTribArrec::exitStoresItem()
{
    QFETCH(QString, code);
    QFETCH(bool, byEsc);
    TTribArrec &e = open(0);
    setFields(e, {code, QStringLiteral("Taxa"), QStringLiteral("3,00"), QStringLiteral("3,00")});
    if (byEsc) {
        QVERIFY(activate(e));
        e.Edit[2]->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else {
        click(e.btOK);
    }

    QVERIFY(!e.isVisible());
    if (code.isEmpty()) {
        QVERIFY(!QFileInfo::exists(dir_->file(QStringLiteral("dados/2005"))));
    } else {
        QVERIFY(readLines(dir_->file(data2005(kTaxFile)))
                    .lines.contains(code + QStringLiteral("\tTaxa\t3,00\t3,00\t0\t")));
    }
}

void TestTribArrec::exitLeavesUntouchedProposal_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("title");
    QTest::addColumn<QString>("file");
    QTest::newRow("purchase number") << 0 << 7 << "compras-1-2005.vqd";
    QTest::newRow("budget result") << 2 << 8 << "bal-orc-resultado-nominal-0-2005.vqd";
}

void TestTribArrec::exitLeavesUntouchedProposal()
{
    // Kinds whose new item starts with a first field already filled: leaving
    // without touching it must not store a blank item in the report.
    QFETCH(int, category);
    QFETCH(int, title);
    QFETCH(QString, file);
    const QString path = dir_->file(data2005(file));
    TTribArrec &e = open(category);
    QVERIFY(pick(e.Title, title));
    QVERIFY(!e.Edit[1]->currentText().isEmpty());
    click(e.btOK);
    QVERIFY(!e.isVisible());
    QVERIFY(!QFileInfo::exists(path));

    // Once the user has entered something, leaving stores it.
    TTribArrec &again = open(category);
    QVERIFY(pick(again.Title, title));
    const QString code = again.Edit[1]->currentText();
    again.Edit[2]->setEditText(QStringLiteral("1,00"));
    click(again.btOK);
    QCOMPARE(readLines(path).lines.size(), 1);
    QVERIFY(readLines(path).lines.first().startsWith(code + u'\t'));
}

void TestTribArrec::periodChangeStoresItem_data()
{
    QTest::addColumn<int>("title");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("stored");
    QTest::newRow("registry kind stores") << 0 << "trib-arrec-" << true;
    QTest::newRow("cnpj kind drops") << 6 << "contratos-e-seus-aditivos-" << false;
}

void TestTribArrec::periodChangeStoresItem()
{
    QFETCH(int, title);
    QFETCH(QString, prefix);
    QFETCH(bool, stored);
    TTribArrec &e = open(0);
    QVERIFY(pick(e.Title, title));
    setFields(e, {QStringLiteral("X-1"), QStringLiteral("APAE de Vila Serena")});
    QVERIFY(pick(e.cbPeriodo, 1));

    // Stored into the period being left, never the one entered.
    const QStringList january =
        readLines(dir_->file(data2005(prefix + QStringLiteral("1-2005.vqd")))).lines;
    QCOMPARE(january.filter(QRegularExpression(QStringLiteral("^X-1\t"))).size(), stored ? 1 : 0);
    QVERIFY(!QFileInfo::exists(dir_->file(data2005(prefix + QStringLiteral("2-2005.vqd")))));
    QCOMPARE(listed(e).contains(QStringLiteral("X-1")), stored);
    QCOMPARE(e.Edit[1]->currentText(), QString());
}

void TestTribArrec::yearTypedDigitByDigit()
{
    TTribArrec &e = open(0);
    setFields(e, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("1,00")});
    const QMap<QString, QByteArray> before = snapshot(dir_->file(QStringLiteral("dados")));

    retype(e.cbAno, QStringLiteral("2"));
    QCOMPARE(e.Ano, QStringLiteral("2"));
    QCOMPARE(e.lbTitulos->count(), 0);
    QTest::keyClicks(e.cbAno, QStringLiteral("00"));
    QCOMPARE(e.lbTitulos->count(), 0);
    QTest::keyClick(e.cbAno, Qt::Key_6);
    QCOMPARE(e.Ano, QStringLiteral("2006"));
    QCOMPARE(listed(e).size(), sampleLines(QStringLiteral("tributos.vqd")).size());

    // The year change dropped the item; nothing was written for any text but
    // the page of the year's list.
    QCOMPARE(e.Edit[1]->currentText(), QString());
    QCOMPARE(snapshot(dir_->file(QStringLiteral("dados"))), before);
    QVERIFY(QFileInfo::exists(dir_->file(QStringLiteral("2006/trib-arrec-1-2006.htm"))));
    for (const char *partial : {"2", "20", "200"}) {
        QVERIFY(!QFileInfo::exists(dir_->file(QString::fromLatin1(partial))));
    }
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::yearsOfTheDay_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("typed"); // a year outside the list
    QTest::newRow("2026") << QDate(2026, 4, 6) << "2027"
                          << "2031";
    QTest::newRow("new year's eve") << QDate(2026, 12, 31) << "2027"
                                    << "1998";
    QTest::newRow("the first year") << QDate(1999, 1, 1) << "2000"
                                    << "2026";
}

// The year box offers 1999 to the next year and opens on today's; any other
// four-digit year can be typed and is the year loaded.
void TestTribArrec::yearsOfTheDay()
{
    QFETCH(QDate, today);
    QFETCH(QString, last);
    QFETCH(QString, typed);
    fake_->today = today;
    TTribArrec &e = open(0);
    QCOMPARE(e.cbAno->itemText(0), QStringLiteral("1999"));
    QCOMPARE(e.cbAno->itemText(e.cbAno->count() - 1), last);
    QCOMPARE(e.cbAno->currentText(), QString::number(today.year()));
    QCOMPARE(e.Ano, QString::number(today.year()));
    QCOMPARE(e.session().year(), QString::number(today.year()));

    retype(e.cbAno, typed);
    QCOMPARE(e.Ano, typed);
    QCOMPARE(e.cbAno->findText(typed), -1);
    QVERIFY(QFileInfo::exists(
        dir_->file(typed + QStringLiteral("/trib-arrec-1-") + typed + QStringLiteral(".htm"))));
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::invalidYearKeepsTheItem()
{
    TTribArrec &e = open(0);
    const QMap<QString, QByteArray> before = snapshot(QStringLiteral(".."));
    retype(e.cbAno, QStringLiteral("../x"));
    QCOMPARE(e.Ano, QStringLiteral("../x"));
    QCOMPARE(e.lbTitulos->count(), 0);

    setFields(e, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("1,00"),
                  QStringLiteral("1,00")});
    click(e.btAdd);
    QCOMPARE(fake_->messages.size(), 1);
    QVERIFY(fake_->messages.first().startsWith(QStringLiteral("Ano inválido: \"../x\"")));
    // The item stays in the editor to be saved under a proper year.
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("1112.02.00"));

    click(e.btDel);
    click(e.btOK);
    QCOMPARE(snapshot(QStringLiteral("..")), before);
}

void TestTribArrec::missingPreviousFileShownOncePerAction()
{
    TTribArrec &e = open(0);
    QVERIFY(pick(e.cbPeriodo, 2)); // March; February has no file
    const QString message = noPrevious(data2005(QStringLiteral("trib-arrec-2-2005.vqd")));
    // Fourteen registered taxes, each computed twice, and the reset of the
    // editor: one box for the whole load.
    QCOMPARE(fake_->messages, QStringList{message});
    QCOMPARE(e.Edit[4]->currentText(), kInstruction);

    // Entering the field is an action of its own, and tells again.
    QVERIFY(activate(e));
    QVERIFY(typeField(e, 3, QStringLiteral("10")));
    pressTab();
    QCOMPARE(e.Edit[4]->currentText(), kInstruction);
    QCOMPARE(fake_->messages, (QStringList{message, message}));
}

void TestTribArrec::updateValuesShowsTheItemAgain()
{
    QVERIFY(writeFile(dir_->file(QStringLiteral("dados/tributos.vqd")),
                      "101\tIPTU\t\r\n102\tISS\t\r\n"));
    QVERIFY(writeFile(dir_->file(data2005(kTaxFile)), "102\tISS\t50,00\t50,00\t0\t\r\n"));
    QVERIFY(writeFile(dir_->file(data2005(QStringLiteral("trib-arrec-3-2005.vqd"))),
                      "102\tISS\t25,00\tx\t0\t\r\n"));
    TTribArrec &e = open(0);
    QVERIFY(pick(e.cbPeriodo, 2));
    fake_->messages.clear();
    // The item shown when the button is pressed is shown again afterwards,
    // and what the editor held for it unsaved is dropped.
    QVERIFY(activate(e));
    QVERIFY(clickItem(e, QStringLiteral("102")));
    e.Edit[3]->setEditText(QStringLiteral("555,00"));

    clickPanel(e);

    QCOMPARE(fake_->messages, QStringList());
    QVERIFY(QFileInfo::exists(dir_->file(data2005(QStringLiteral("trib-arrec-2-2005.vqd")))));
    QCOMPARE(e.Periodo, QStringLiteral("3"));
    QCOMPARE(e.cbPeriodo->currentText(), QStringLiteral("Março"));
    QCOMPARE(e.lbTitulos->selectionModel()->selectedIndexes().size(), 1);
    QCOMPARE(e.lbTitulos->selectionModel()->selectedIndexes().first().data().toString(),
             QStringLiteral("102"));
    QCOMPARE(e.Edit[1]->currentText(), QStringLiteral("102"));
    QCOMPARE(e.Edit[3]->currentText(), QStringLiteral("25,00"));
    QCOMPARE(e.Edit[4]->currentText(), QStringLiteral("75,00"));

    // The month's own handler did not run: a later pick of a month still loads.
    QVERIFY(pick(e.cbPeriodo, 1));
    QCOMPARE(e.Periodo, QStringLiteral("2"));
    QCOMPARE(fake_->messages, QStringList());
}

void TestTribArrec::panelPressedLook_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
}

void TestTribArrec::panelPressedLook()
{
    QFETCH(Qt::MouseButton, button);
    TTribArrec &e = open(0);
    QFrame *panel = e.Panel1;
    QCOMPARE(panel->frameShape(), QFrame::Panel);
    QCOMPARE(panel->frameShadow(), QFrame::Raised);
    QCOMPARE(panel->lineWidth(), 1);
    QTest::mousePress(panel, button, {}, panel->rect().center());
    QCOMPARE(panel->frameShape(), QFrame::Box);
    QCOMPARE(panel->frameShadow(), QFrame::Plain);
    QCOMPARE(panel->lineWidth(), 1);
    QTest::mouseRelease(panel, button, {}, panel->rect().center());
    QCOMPARE(panel->frameShape(), QFrame::Panel);
    QCOMPARE(panel->frameShadow(), QFrame::Raised);
    QCOMPARE(panel->lineWidth(), 1);
}

// ---------------------------------------------------------------------------
// 5. What every user sees and reaches, at any font

void TestTribArrec::everythingFits_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<qreal>("scale");
    for (const qreal scale : {1.0, 1.25, 1.5}) {
        for (const CategoryInfo &info : categories()) {
            QTest::newRow(
                qPrintable(info.name + u' ' + QString::number(qRound(scale * 100)) + u'%'))
                << int(info.category) << scale;
        }
    }
}

// Each report kind in turn: every caption, button text and list entry whole
// and inside the window; each field named by its caption to a screen reader;
// mnemonics on every button, none twice.
void TestTribArrec::everythingFits()
{
    QFETCH(int, category);
    QFETCH(qreal, scale);
    const ScaledFont font(scale);
    TTribArrec &e = open(category);
    QCOMPARE(buttonsWithoutMnemonic(&e), QStringList());
    QCOMPARE(mnemonicClashes(&e), QStringList());
    const QSize size = e.size();
    for (const ReportKind &kind : reportKinds(ReportCategory(category))) {
        e.Title->setCurrentIndex(kind.position);
        e.runAction([&e] { e.SelectReportKind(); });
        QVERIFY2(layoutFaults(&e).isEmpty(),
                 qPrintable(kind.title + u'|' + layoutFaults(&e).join(u'|')));
        // The title box shows the whole title, and no kind resizes the window.
        QVERIFY2(e.Title->fontMetrics().horizontalAdvance(kind.title) <=
                     e.Title->lineEdit()->width(),
                 qPrintable(kind.title));
        QCOMPARE(e.size(), size);
        for (int i = 1; i <= kind.fieldCount; ++i) {
            QVERIFY(e.Edit[i]->isVisible());
            QCOMPARE(e.Edit[i]->accessibleName() + u':', kind.fields[i - 1].caption.endsWith(u':')
                                                             ? kind.fields[i - 1].caption
                                                             : kind.fields[i - 1].caption + u':');
        }
    }
    for (QComboBox *box : {e.Title, e.cbAno, e.cbPeriodo}) {
        QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(box->objectName()));
    }
}

void TestTribArrec::updateValuesByKeyboard_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Space") << "space";
    QTest::newRow("Return") << "return";
    QTest::newRow("Enter on the keypad") << "enter";
    QTest::newRow("Alt and its letter") << "mnemonic";
    QTest::newRow("screen reader") << "accessible";
}

// "Atualizar Valores" is a button to the keyboard and to assistive
// technology: each way of pressing it recalculates the year, as a click does.
void TestTribArrec::updateValuesByKeyboard()
{
    QFETCH(QString, how);
    QVERIFY(writeFile(dir_->file(data2005(kTaxFile)), "102\tISS\t50,00\t50,00\t0\t\r\n"));
    QVERIFY(writeFile(dir_->file(data2005(QStringLiteral("trib-arrec-3-2005.vqd"))),
                      "102\tISS\t25,00\tx\t0\t\r\n"));
    TTribArrec &e = open(0);
    QVERIFY(pick(e.cbPeriodo, 2));
    QVERIFY(activate(e));
    fake_->messages.clear();
    const QString february = dir_->file(data2005(QStringLiteral("trib-arrec-2-2005.vqd")));
    QVERIFY(!QFileInfo::exists(february));

    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(e.Panel1);
    QVERIFY(reader);
    QCOMPARE(reader->role(), QAccessible::Button);
    QCOMPARE(reader->text(QAccessible::Name), QStringLiteral("Atualizar Valores"));
    QVERIFY(e.Panel1->focusPolicy() & Qt::TabFocus);

    if (how == QLatin1String("accessible")) {
        QVERIFY(reader->actionInterface());
        reader->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    } else if (how == QLatin1String("mnemonic")) {
        e.lbTitulos->setFocus(Qt::TabFocusReason);
        QTest::keyClick(&e, Qt::Key_A, Qt::AltModifier);
    } else {
        e.Panel1->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), e.Panel1);
        const Qt::Key key = how == QLatin1String("space")    ? Qt::Key_Space
                            : how == QLatin1String("return") ? Qt::Key_Return
                                                             : Qt::Key_Enter;
        QTest::keyClick(e.Panel1, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }

    QVERIFY(e.isVisible());               // Enter pressed no other button
    QVERIFY(QFileInfo::exists(february)); // the year was recalculated up to March
    QCOMPARE(fake_->messages, QStringList());
    QCOMPARE(e.Panel1->frameShape(), QFrame::Panel); // back at rest
}

QTEST_MAIN(TestTribArrec)
#include "test_tribarrec.moc"
