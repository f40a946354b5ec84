// Tests of the report editor window TTribArrec, by area:
//   1. helpers shared by every section
//   2. layout and the selection chain (categories, kinds, periods, profile)
//   3. user actions and messages
//   4. field entry: normalising on leaving, computed fields, completion,
//      lookup buttons
//   5. the HTML page
//   6. item list and data files: save, select, delete, exit, year and
//      period changes, the files they leave
//   7. the page that every load writes
//   8. accumulated values and "Atualizar Valores"
#include "Ucadastro.h"
#include "Utribarrec.h"
#include "catalogue.h"
#include "codec.h"
#include "fakeplatform.h"
#include "reportpaths.h"
#include "textfile.h"
#include "values.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace quelvara;

namespace {

// ---------------------------------------------------------------------------
// 1. Helpers

// Copies the sample registries and profile into the scratch directory's "dados".
void copySamples(const ScratchDir &dir)
{
    QVERIFY(QDir().mkdir(dir.file(QStringLiteral("dados"))));
    const QDir samples(QStringLiteral(QUELVARA_SAMPLES_DIR));
    QVERIFY2(samples.exists(), QUELVARA_SAMPLES_DIR);
    for (const QFileInfo &entry : samples.entryInfoList(QDir::Files)) {
        const QString target = dir.file(QStringLiteral("dados/") + entry.fileName());
        QVERIFY(QFile::copy(entry.filePath(), target));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    }
}

QStringList sampleLines(const QString &registry)
{
    return readLines(QStringLiteral(QUELVARA_SAMPLES_DIR "/") + registry).lines;
}

// Creates the editor as the main window does and shows it, which runs the
// opening sequence.
std::unique_ptr<TTribArrec> openEditor(int category,
                                       const QString &nome = QStringLiteral("Vila Serena"),
                                       const QString &uf = QStringLiteral("MG"))
{
    auto editor = std::make_unique<TTribArrec>();
    editor->NomePrefeitura = nome;
    editor->UF = uf;
    editor->SubTitle->setCurrentIndex(category);
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor.get())) {
        qWarning("editor window not exposed");
    }
    return editor;
}

// Picks a list entry as the user does: opens the drop-down, moves to the
// entry and confirms with Enter.
void pick(QComboBox *box, int index)
{
    box->showPopup();
    QAbstractItemView *view = box->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(box->currentIndex(), index);
}

// Types text at the end of a selection box, as the user does.
void typeInto(QComboBox *box, const QString &text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->lineEdit()->end(false);
    QTest::keyClicks(box, text);
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
void activate(TTribArrec &editor)
{
    editor.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
}

// Moves into field n as Tab does and replaces its text by typing.
void typeField(TTribArrec &editor, int n, const QString &text)
{
    QComboBox *field = editor.Edit[n];
    field->setFocus(Qt::TabFocusReason);
    QVERIFY(field->hasFocus());
    field->lineEdit()->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, text);
    }
}

// Moves into field n as Tab does and pastes the text over its content.
void pasteIntoField(TTribArrec &editor, int n, const QString &text)
{
    QComboBox *field = editor.Edit[n];
    field->setFocus(Qt::TabFocusReason);
    QVERIFY(field->hasFocus());
    field->lineEdit()->selectAll();
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

// Leaves the focused field with Tab.
void pressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

// Runs once a modal dialog of the given class is open, then lets the test go on.
template <typename Dialog>
void whenModal(std::function<void(Dialog *)> act)
{
    QTimer::singleShot(0, [act] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        act(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
    });
}

} // namespace

class TestTribArrec : public QObject {
    Q_OBJECT

private slots:
    // 2. Layout and selection chain
    void layoutControls();
    void tabOrder();
    void openingInCategory_data();
    void openingInCategory();
    void chooseKind_data();
    void chooseKind();
    void fieldsFollowKindBackAndForth_data();
    void fieldsFollowKindBackAndForth();
    void programSelectionRunsNothing();
    void typedTitleMonthly();
    void typedTitleBudgetReloadsStore_data();
    void typedTitleBudgetReloadsStore();
    void typedTitleDropsUnfitCharacters();
    void choosePeriod();
    void typedPeriodIsZero_data();
    void typedPeriodIsZero();
    void firstStartWithoutData();
    void missingRegistryIsEmpty();
    void unreadableRegistryAtOpening_data();
    void unreadableRegistryAtOpening();
    void unreadableRegistryOnKindChange();
    void profile_data();
    void profile();

    // 3. User actions and messages
    void showOnceWithinOneAction();

    // 4. Field entry
    void leavingNormalises_data();
    void leavingNormalises();
    void pastedBreaksAreDropped_data();
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
    void pickListsFollowStoreChange();
    void lookupButtonCancelled();
    void lookupButtonConfirmedWithNewEntry();
    void lookupButtonWithUnreadableRegistry();
    void withoutDataDirectoryResetChangesNothing();

    // 5. The HTML page
    void viewRewritesAndOpensThePage();
    void sendKeepsAnExistingPage();
    void sendWritesAMissingPage();
    void totalRowByKind_data();
    void totalRowByKind();
    void yearDirectoryThatCannotBeMade();
    void pageThatCannotBeWritten();
    void yearThatIsNoYearWritesNoPage();

    // 6. Item list and data files
    void typicalEntryMarch2005();
    void saveNewCodeExtendsRegistry();
    void saveReplacesCodeIgnoringCase();
    void saveWithEmptyFirstField();
    void selectShowsItemAndFlag();
    void selectStoresEditorItemInRegistryKind();
    void selectDropsEditorItemInCnpjKind();
    void leavingShownItemDoesNotComplete();
    void deleteInRegistryKind_data();
    void deleteInRegistryKind();
    void deleteInCnpjKind();
    void deleteByKeyAndMenu();
    void deleteWithoutSelection();
    void exitStoresItem_data();
    void exitStoresItem();
    void exitLeavesUntouchedProposal_data();
    void exitLeavesUntouchedProposal();
    void periodChangeStoresItem_data();
    void periodChangeStoresItem();
    void yearTypedDigitByDigit();
    void invalidYearIsNeverAPath_data();
    void invalidYearIsNeverAPath();
    void unreadableDataFileIsNeverReplaced();
    void failedSaveKeepsPreviousFile();
    void yearDirectoryCannotBeCreated();
    void unreadableRegistryRefusesSaving();
    void flagFieldAfterLongerKind();
    void purchasesNumberAndRegistry();
    void annualKindUsesPeriodZero();

    // 7. The page that every load writes
    void loadsWriteThePage();
    void savingDoesNotRewriteThePage();

    // 8. Accumulated values and "Atualizar Valores"
    void accumulatedFieldsOnEntering_data();
    void accumulatedFieldsOnEntering();
    void missingPreviousFileShownOncePerAction();
    void updateValuesCreatesEarlierPeriods();
    void yearRecalculatedFromScratch();
    void updateValuesChangesNothing_data();
    void updateValuesChangesNothing();
    void panelPressedLook_data();
    void panelPressedLook();
};

// ---------------------------------------------------------------------------
// 2. Layout and selection chain

void TestTribArrec::layoutControls()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);

    QCOMPARE(editor->objectName(), QStringLiteral("TribArrec"));
    QCOMPARE(editor->size(), QSize(738, 423));
    QCOMPARE(editor->minimumSize(), editor->maximumSize());
    QVERIFY(!(editor->windowFlags() & Qt::WindowMaximizeButtonHint));

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
        {"btOK", QStringLiteral("&Sair"), QStringLiteral("Sair")},
    };
    for (const Expected &e : buttons) {
        auto *button = editor->findChild<QPushButton *>(QLatin1String(e.name));
        QVERIFY2(button, e.name);
        QCOMPARE(button->text(), e.text);
        QCOMPARE(button->toolTip(), e.hint);
        QVERIFY(button->isVisible());
    }
    QVERIFY(!editor->findChild<QPushButton *>(QStringLiteral("btView"))->icon().isNull());
    QVERIFY(!editor->findChild<QPushButton *>(QStringLiteral("btOK"))->icon().isNull());
    QVERIFY(!editor->findChild<QPushButton *>(QStringLiteral("SpeedButton8"))->icon().isNull());

    auto *title = editor->findChild<QComboBox *>(QStringLiteral("Title"));
    QVERIFY(title && title->isEditable() && title->font().bold());
    QCOMPARE(title->toolTip(), QStringLiteral("Titulo do Relatório"));
    QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lbAno"))->text(), QStringLiteral("Ano: "));
    QCOMPARE(editor->findChild<QComboBox *>(QStringLiteral("cbAno"))->toolTip(),
             QStringLiteral("Ano"));
    QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("lbPeriodo"))->text(),
             QStringLiteral("Periodo:"));
    QCOMPARE(editor->findChild<QComboBox *>(QStringLiteral("cbPeriodo"))->toolTip(),
             QStringLiteral("Periodo"));
    QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("Label5"))->text(),
             QStringLiteral("Itens do Relatório"));
    auto *list = editor->findChild<QListWidget *>(QStringLiteral("lbTitulos"));
    QCOMPARE(list->toolTip(), QStringLiteral("Lista de Items no Relatório"));
    auto *menu = editor->findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    QVERIFY(menu);
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->objectName(), QStringLiteral("Deletar1"));
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Deletar"));

    auto *check = editor->findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
    QCOMPARE(check->text(),
             QStringLiteral("Para não incluir este valor no cálculo total, marque aqui."));
    QVERIFY(check->font().bold());
    QVERIFY(check->isVisible());
    QVERIFY(editor->findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->isAncestorOf(check));

    auto *panel = editor->findChild<QWidget *>(QStringLiteral("Panel1"));
    QCOMPARE(panel->toolTip(), QStringLiteral("Atualizar todos os Valores"));
    QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("Panel1Caption"))->text(),
             QStringLiteral("Atualizar Valores  "));
    QVERIFY(!panel->findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());

    // Rows are 24 pixels apart; "..." buttons only beside fields 1 to 6.
    for (int i = 1; i <= kMaxFields; ++i) {
        const QString n = QString::number(i);
        auto *edit = editor->findChild<QComboBox *>(QStringLiteral("Edit") + n);
        auto *caption = editor->findChild<QLabel *>(QStringLiteral("Campo") + n);
        QVERIFY(edit && caption);
        QVERIFY(edit->isEditable());
        QCOMPARE(edit->y() - editor->Edit[1]->y(), (i - 1) * 24);
        auto *button = editor->findChild<QToolButton *>(QStringLiteral("SpeedButton") + n);
        QCOMPARE(button != nullptr, i <= 6);
        if (button) {
            QCOMPARE(button->text(), QStringLiteral("..."));
        }
    }

    // Hidden: the category box, the municipality line and the officials.
    for (const char *name : {"SubTitle", "Prefeitura", "Prefeito", "SecFin", "Contador", "CRC"}) {
        auto *widget = editor->findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(widget, name);
        QVERIFY2(!widget->isVisible(), name);
    }
    QStringList subTitles;
    for (int i = 0; i < editor->SubTitle->count(); ++i) {
        subTitles.append(editor->SubTitle->itemText(i));
    }
    QCOMPARE(subTitles, (QStringList{QStringLiteral("Relatórios Mensais"),
                                     QStringLiteral("Relatórios Bimestrais"),
                                     QStringLiteral("Relatórios Anuais")}));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::tabOrder()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 7); // purchases: all ten fields shown
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));

    QStringList visited;
    editor->Title->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 15; ++step) {
        visited.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{"Title", "cbAno", "cbPeriodo", "lbTitulos", "Edit1", "Edit2",
                                   "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
                                   "Edit10", "CheckBox1"}));
}

void TestTribArrec::openingInCategory_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("period");
    QTest::addColumn<bool>("periodEnabled");
    QTest::addColumn<int>("periodCount");
    QTest::addColumn<QString>("periodo");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QList<int>>("buttons");

    QTest::newRow("monthly") << 0 << QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I")
                             << QStringLiteral("Janeiro") << true << 12 << QStringLiteral("1")
                             << QStringLiteral("trib-arrec-") << QStringLiteral("tributos.vqd") << 4
                             << QList<int>{1, 2};
    QTest::newRow("bimonthly")
        << 1 << QStringLiteral("Execução dos Orçamentos - Receita Realizada  Art 2º, Inc. XII")
        << QStringLiteral("1º Bimestre") << true << 6 << QStringLiteral("1")
        << QStringLiteral("exec-orc-rec-realizada-") << QStringLiteral("rec.vqd") << 4
        << QList<int>{1, 2};
    QTest::newRow("annual") << 2
                            << QStringLiteral(
                                   "Orçamentos Anuais - Receita Prevista  Art 2º, Inc. X e XVI")
                            << QString() << false << 0 << QStringLiteral("0")
                            << QStringLiteral("orc-anual-rec-prevista-")
                            << QStringLiteral("rec.vqd") << 3 << QList<int>{1, 2};
}

void TestTribArrec::openingInCategory()
{
    QFETCH(int, category);
    QFETCH(QString, title);
    QFETCH(QString, period);
    QFETCH(bool, periodEnabled);
    QFETCH(int, periodCount);
    QFETCH(QString, periodo);
    QFETCH(QString, prefix);
    QFETCH(QString, registry);
    QFETCH(int, fields);
    QFETCH(QList<int>, buttons);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category, QStringLiteral("Vila Serena"), QStringLiteral("MG"));

    QCOMPARE(editor->Title->currentText(), title);
    QCOMPARE(editor->Title->currentIndex(), 0);
    QCOMPARE(editor->cbPeriodo->currentText(), period);
    QCOMPARE(editor->cbPeriodo->isEnabled(), periodEnabled);
    QCOMPARE(editor->cbPeriodo->count(), periodCount);
    QCOMPARE(editor->cbAno->currentText(), QStringLiteral("2005"));
    QCOMPARE(editor->Periodo, periodo);
    QCOMPARE(editor->PrefixoArq, prefix);
    QCOMPARE(editor->ArqCadastro, registry);
    QCOMPARE(editor->NumCampos, fields);
    QCOMPARE(shownFields(*editor), fields);
    QCOMPARE(shownLookupButtons(*editor), buttons);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(editor->Prefeitura->text(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(editor->session().registry(), sampleLines(registry));
    QVERIFY(editor->registryLoaded());
    QCOMPARE(fake.messages, QStringList());

    // The code and name fields list the registry's columns, in file order.
    const QStringList store = sampleLines(registry);
    QCOMPARE(editor->Edit[1]->count(), store.size());
    QCOMPARE(editor->Edit[1]->itemText(2), store.at(2).section(QLatin1Char('\t'), 0, 0));
    QCOMPARE(editor->Edit[2]->itemText(2), store.at(2).section(QLatin1Char('\t'), 1, 1));
    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("0,00"));
}

void TestTribArrec::chooseKind_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QList<int>>("buttons");
    QTest::addColumn<QList<int>>("pickLists");
    QTest::addColumn<bool>("storeLoaded");
    QTest::addColumn<int>("captionField");
    QTest::addColumn<QString>("caption");

    QTest::newRow("monthly purchases")
        << 0 << 7 << QStringLiteral("compras-") << QStringLiteral("cnpj.vqd") << 10
        << QList<int>{3, 4, 5, 6} << QList<int>{3, 4, 5, 6} << true << 10
        << QStringLiteral("Valor Total:");
    QTest::newRow("monthly agreements repassed")
        << 0 << 2 << QStringLiteral("rec-repass-inst-cel-") << QStringLiteral("cnpj.vqd") << 9
        << QList<int>{} << QList<int>{} << false << 9 << QStringLiteral("Situação:");
    QTest::newRow("monthly agreements received")
        << 0 << 5 << QStringLiteral("rec-receb-inst-cel-") << QStringLiteral("cnpj.vqd") << 6
        << QList<int>{} << QList<int>{} << false << 6 << QStringLiteral("Prazo para Cumprimento:");
    QTest::newRow("monthly contracts")
        << 0 << 6 << QStringLiteral("contratos-e-seus-aditivos-") << QStringLiteral("cnpj.vqd") << 9
        << QList<int>{2, 3} << QList<int>{2, 3} << true << 3 << QStringLiteral("CPF / CNPJ:");
    QTest::newRow("bimonthly expense group")
        << 1 << 5 << QStringLiteral("exec-orc-grupo-de-despesa-") << QStringLiteral("grupo.vqd")
        << 7 << QList<int>{1, 2} << QList<int>{1, 2} << true << 7
        << QStringLiteral("Acumulada da liquidada:");
    QTest::newRow("annual expense balance")
        << 2 << 7 << QStringLiteral("bal-orc-despesas-") << QStringLiteral("desp.vqd") << 5
        << QList<int>{1, 2} << QList<int>{1, 2} << true << 2
        << QStringLiteral("Discriminação obs. o desdobramento");
    QTest::newRow("annual result")
        << 2 << 8 << QStringLiteral("bal-orc-resultado-nominal-") << QStringLiteral("cnpj.vqd") << 3
        << QList<int>{} << QList<int>{} << true << 1
        << QStringLiteral("Superávit/Deficit corrente apurado:");
}

void TestTribArrec::chooseKind()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QString, prefix);
    QFETCH(QString, registry);
    QFETCH(int, fields);
    QFETCH(QList<int>, buttons);
    QFETCH(QList<int>, pickLists);
    QFETCH(bool, storeLoaded);
    QFETCH(int, captionField);
    QFETCH(QString, caption);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    editor->setWindowTitle(QString());
    pick(editor->Title, position);

    QCOMPARE(editor->PrefixoArq, prefix);
    QCOMPARE(editor->ArqCadastro, registry);
    QCOMPARE(editor->NumCampos, fields);
    QCOMPARE(shownFields(*editor), fields);
    QCOMPARE(shownLookupButtons(*editor), buttons);
    QCOMPARE(pickListFields(*editor), pickLists);
    QCOMPARE(editor->Campo[captionField]->text(), caption);
    QCOMPARE(editor->session().registry(), storeLoaded ? sampleLines(registry) : QStringList());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Vila Serena - MG"));
    for (int field : pickLists) {
        QCOMPARE(editor->Edit[field]->count(), editor->session().registry().size());
    }
    QCOMPARE(fake.messages, QStringList());
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

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    for (int round = 0; round < 2; ++round) {
        pick(editor->Title, wide);
        QCOMPARE(shownFields(*editor), wideFields);
        QCOMPARE(shownLookupButtons(*editor), wideButtons);
        pick(editor->Title, narrow);
        QCOMPARE(shownFields(*editor), narrowFields);
        QCOMPARE(shownLookupButtons(*editor), narrowButtons);
        for (int i = narrowFields + 1; i <= kMaxFields; ++i) {
            QVERIFY(!editor->Campo[i]->isVisible());
        }
    }
}

void TestTribArrec::programSelectionRunsNothing()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    editor->Title->setCurrentIndex(7);
    editor->cbPeriodo->setCurrentIndex(4);
    editor->cbAno->setCurrentIndex(2);
    editor->Edit[1]->setEditText(QStringLiteral("x"));
    QCOMPARE(editor->PrefixoArq, QStringLiteral("trib-arrec-"));
    QCOMPARE(editor->Periodo, QStringLiteral("1"));
    QCOMPARE(editor->NumCampos, 4);
}

void TestTribArrec::typedTitleMonthly()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 7);
    pick(editor->cbPeriodo, 2);
    editor->setWindowTitle(QString());
    const QStringList store = editor->session().registry();

    typeInto(editor->Title, QStringLiteral(" x"));

    QCOMPARE(editor->Title->currentIndex(), -1);
    QVERIFY(editor->Title->currentText().endsWith(QStringLiteral(" x")));
    QCOMPARE(editor->PrefixoArq, QStringLiteral("unknkow-"));
    QCOMPARE(editor->ArqCadastro, QStringLiteral("cnpj.vqd"));
    QCOMPARE(editor->NumCampos, 10);
    QCOMPARE(shownFields(*editor), 10);
    QCOMPARE(editor->Campo[10]->text(), QStringLiteral("Valor Total:"));
    QCOMPARE(editor->session().registry(), store);
    // The chain went on: caption and period step.
    QCOMPARE(editor->windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(editor->Periodo, QStringLiteral("3"));
}

void TestTribArrec::typedTitleBudgetReloadsStore_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("registry");
    QTest::addColumn<QString>("field2Caption");
    QTest::newRow("bimonthly") << 1 << 2 << QStringLiteral("func.vqd")
                               << QStringLiteral("Discriminação obs. o desdobramento:");
    // The annual kinds keep the captions of the kind before, here without a colon.
    QTest::newRow("annual") << 2 << 7 << QStringLiteral("desp.vqd")
                            << QStringLiteral("Discriminação obs. o desdobramento");
}

void TestTribArrec::typedTitleBudgetReloadsStore()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QString, registry);
    QFETCH(QString, field2Caption);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    pick(editor->Title, position);
    const int fields = editor->NumCampos;
    putFile(dir.file(QStringLiteral("dados/") + registry), "9\tNovo\t\r\n1\tUm\t\r\n");

    typeInto(editor->Title, QStringLiteral("?"));

    QCOMPARE(editor->PrefixoArq, QStringLiteral("unknkow-"));
    QCOMPARE(editor->ArqCadastro, registry);
    QCOMPARE(editor->NumCampos, fields);
    QCOMPARE(editor->session().registry(), (QStringList{"9\tNovo\t", "1\tUm\t"}));
    QCOMPARE(editor->Campo[2]->text(), field2Caption);
    QCOMPARE(editor->Campo[1]->text(), QStringLiteral("Codificação Numérica:"));
    // The pick lists follow the reloaded store.
    QCOMPARE(editor->Edit[1]->count(), 2);
    QCOMPARE(editor->Edit[2]->itemText(0), QStringLiteral("Novo"));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::typedTitleDropsUnfitCharacters()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("a\u2603b"));
    editor->Title->setFocus(Qt::MouseFocusReason);
    editor->Title->lineEdit()->end(false);
    QTest::keyClick(editor->Title, Qt::Key_V, Qt::ControlModifier); // paste

    QVERIFY(editor->Title->currentText().endsWith(QStringLiteral("ab")));
    QVERIFY(!editor->Title->currentText().contains(QChar(0x2603)));
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages.first().contains(QChar(0x2603)));
    QCOMPARE(editor->PrefixoArq, QStringLiteral("unknkow-"));
}

void TestTribArrec::choosePeriod()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(1);
    pick(editor->cbPeriodo, 2);
    QCOMPARE(editor->cbPeriodo->currentText(), QStringLiteral("3º Bimestre"));
    QCOMPARE(editor->Periodo, QStringLiteral("3"));
    pick(editor->cbPeriodo, 5);
    QCOMPARE(editor->Periodo, QStringLiteral("6"));
}

void TestTribArrec::typedPeriodIsZero_data()
{
    QTest::addColumn<int>("category");
    QTest::newRow("monthly") << 0;
    QTest::newRow("bimonthly") << 1;
}

void TestTribArrec::typedPeriodIsZero()
{
    QFETCH(int, category);
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    pick(editor->cbPeriodo, 3);
    QCOMPARE(editor->Periodo, QStringLiteral("4"));

    typeInto(editor->cbPeriodo, QStringLiteral("x"));
    QCOMPARE(editor->cbPeriodo->currentIndex(), -1);
    QVERIFY(editor->cbPeriodo->currentText().endsWith(QLatin1Char('x')));
    QCOMPARE(editor->Periodo, QStringLiteral("0"));
}

void TestTribArrec::firstStartWithoutData()
{
    ScratchDir dir;
    FakePlatform fake;
    auto editor = openEditor(0);

    QCOMPARE(fake.messages, QStringList());
    QCOMPARE(fake.errors, QStringList());
    QVERIFY(editor->session().registry().isEmpty());
    QVERIFY(editor->registryLoaded());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(editor->Periodo, QStringLiteral("1"));
    QCOMPARE(shownFields(*editor), 4);
    QCOMPARE(editor->Prefeito->text(), QString());
    // Nothing is created by merely opening.
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados"))));

    pick(editor->Title, 7);
    QCOMPARE(shownFields(*editor), 10);
    QCOMPARE(editor->PrefixoArq, QStringLiteral("compras-"));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::missingRegistryIsEmpty()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    QVERIFY(QFile::remove(dir.file(QStringLiteral("dados/repv.vqd"))));
    auto editor = openEditor(0);
    editor->cbPeriodo->setCurrentIndex(4);

    pick(editor->Title, 1);
    // Only the missing April tells, when May computes its accumulated field.
    QCOMPARE(fake.messages,
             QStringList{QStringLiteral("Não existe o arquivo anterior: ") +
                         nativePath(dataFilePath(QStringLiteral("2005"), editor->PrefixoArq,
                                                 QStringLiteral("4")))});
    QVERIFY(editor->session().registry().isEmpty());
    QVERIFY(editor->registryLoaded());
    QCOMPARE(editor->Edit[1]->count(), 0);
    QCOMPARE(editor->Periodo, QStringLiteral("5"));
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

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    // A directory in place of the file cannot be read, even by root.
    const QString path = dir.file(QStringLiteral("dados/") + registry);
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));

    auto editor = openEditor(category);

    QCOMPARE(fake.messages, QStringList{QStringLiteral("Não foi possível ler o arquivo ") +
                                        QDir::toNativeSeparators(QDir::cleanPath(path))});
    QVERIFY(!editor->registryLoaded());
    QVERIFY(editor->session().registry().isEmpty());
    QCOMPARE(editor->windowTitle(), QString());
    QCOMPARE(editor->Periodo, periodo);
    // The kind's layout stands; the officials are read all the same.
    QCOMPARE(editor->ArqCadastro, registry);
    QCOMPARE(shownFields(*editor), editor->NumCampos);
    QCOMPARE(editor->Prefeito->text(), sampleLines(QStringLiteral("prefs.vqd")).first());
}

void TestTribArrec::unreadableRegistryOnKindChange()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    const QString path = dir.file(QStringLiteral("dados/recv.vqd"));
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    editor->lbTitulos->addItem(QStringLiteral("1112.02.00"));
    editor->cbPeriodo->setCurrentIndex(4); // by program: runs nothing
    editor->setWindowTitle(QStringLiteral("before"));

    pick(editor->Title, 3);

    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages.first().endsWith(QDir::toNativeSeparators(path)));
    QVERIFY(!editor->registryLoaded());
    QVERIFY(editor->session().registry().isEmpty());
    QCOMPARE(editor->Periodo, QStringLiteral("1")); // no period step
    QCOMPARE(editor->windowTitle(), QStringLiteral("before"));
    QCOMPARE(editor->Edit[1]->count(), 0);
    QCOMPARE(editor->lbTitulos->count(), 0);

    // A kind whose registry loads makes the editor whole again.
    pick(editor->Title, 4);
    QVERIFY(editor->registryLoaded());
    QCOMPARE(editor->Periodo, QStringLiteral("5"));
    QCOMPARE(editor->windowTitle(), QStringLiteral("Vila Serena - MG"));
    QCOMPARE(editor->session().registry(), sampleLines(QStringLiteral("recc.vqd")));
    // The registry is not reported again; May misses April to add to.
    QCOMPARE(fake.messages.size(), 2);
    QVERIFY(fake.messages.last().startsWith(QStringLiteral("Não existe o arquivo anterior: ")));
}

void TestTribArrec::profile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("four lines") << QByteArray("Ana\r\nBento\r\nCarla\r\nMG-1/O-2\r\n")
                                << QStringList{"Ana", "Bento", "Carla", "MG-1/O-2"};
    QTest::newRow("two lines") << QByteArray("Ana\r\nBento\r\n")
                               << QStringList{"Ana", "Bento", "", ""};
    QTest::newRow("five lines, LF ends, Windows-1252")
        << QByteArray("Jo\xe3o\nBento\nCarla\nMG-1\nextra\n")
        << QStringList{QStringLiteral("João"), "Bento", "Carla", "MG-1"};
    QTest::newRow("empty") << QByteArray() << QStringList{"", "", "", ""};
}

void TestTribArrec::profile()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/prefs.vqd")), content);
    auto editor = openEditor(0);
    QCOMPARE((QStringList{editor->Prefeito->text(), editor->SecFin->text(),
                          editor->Contador->text(), editor->CRC->text()}),
             expected);
    QCOMPARE(fake.messages, QStringList());
}

// ---------------------------------------------------------------------------
// 3. User actions and messages

void TestTribArrec::showOnceWithinOneAction()
{
    ScratchDir dir;
    FakePlatform fake;
    TTribArrec editor;
    editor.runAction([&] {
        editor.showOnce(QStringLiteral("a"));
        editor.runAction([&] { editor.showOnce(QStringLiteral("a")); });
        editor.showOnce(QStringLiteral("b"));
        editor.showOnce(QStringLiteral("a"));
    });
    QCOMPARE(fake.messages, (QStringList{"a", "b"}));
    // A new action starts afresh; an exception ends the action too.
    QVERIFY_THROWS_EXCEPTION(int, editor.runAction([&] {
        editor.showOnce(QStringLiteral("a"));
        throw 1;
    }));
    editor.runAction([&] { editor.showOnce(QStringLiteral("a")); });
    QCOMPARE(fake.messages, (QStringList{"a", "b", "a", "a"}));
}

// ---------------------------------------------------------------------------
// 4. Field entry

void TestTribArrec::leavingNormalises_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    // Money: every amount field, whatever its number.
    QTest::newRow("amount") << 0 << 0 << 3 << "1234,5"
                            << "1.234,50";
    QTest::newRow("amount, no number") << 0 << 0 << 3 << "abc"
                                       << "abc";
    QTest::newRow("amount with currency") << 0 << 0 << 3 << "R$ 2.000"
                                          << "2.000,00";
    QTest::newRow("accumulated typed") << 0 << 0 << 4 << "7"
                                       << "7,00";
    QTest::newRow("budgeted") << 1 << 1 << 3 << "1000"
                              << "1.000,00";
    QTest::newRow("accumulated 5") << 1 << 1 << 5 << "5"
                                   << "5,00";
    QTest::newRow("accumulated 7") << 1 << 1 << 7 << "0,5"
                                   << "0,50";
    QTest::newRow("amount in field 1") << 2 << 8 << 1 << "12"
                                       << "12,00";
    QTest::newRow("amount in field 7") << 0 << 2 << 7 << "1500"
                                       << "1.500,00";
    QTest::newRow("unit price") << 0 << 7 << 8 << "3"
                                << "3,00";
    QTest::newRow("typed total") << 0 << 7 << 10 << "1500"
                                 << "1.500,00";
    QTest::newRow("quantity stays") << 0 << 7 << 9 << "1500"
                                    << "1500";
    QTest::newRow("difference typed") << 2 << 6 << 5 << "-3"
                                      << "-3,00";
    // Dates.
    QTest::newRow("date digits") << 0 << 6 << 5 << "31122005"
                                 << "31/12/2005";
    QTest::newRow("date with slashes") << 0 << 6 << 6 << "31/12/2005"
                                       << "31/12/2005";
    QTest::newRow("empty date") << 0 << 5 << 6 << "__/__/____"
                                << "__/__/____";
    QTest::newRow("date in field 8") << 0 << 2 << 8 << "01022005"
                                     << "01/02/2005";
    // CNPJ columns only.
    QTest::newRow("cnpj of supplier") << 0 << 7 << 6 << "11222333000181"
                                      << "11.222.333/0001-81";
    QTest::newRow("cnpj of unit") << 0 << 7 << 4 << "11222333000181"
                                  << "11.222.333/0001-81";
    QTest::newRow("cnpj of contractor") << 0 << 6 << 3 << "11222333000181"
                                        << "11.222.333/0001-81";
    QTest::newRow("twelve digits") << 0 << 7 << 4 << "112223330001"
                                   << "112223330001";
    QTest::newRow("name column") << 0 << 7 << 3 << "11222333000181"
                                 << "11222333000181";
    QTest::newRow("code column") << 0 << 0 << 1 << "1234"
                                 << "1234";
    QTest::newRow("free text") << 0 << 2 << 1 << "1234"
                               << "1234";
}

void TestTribArrec::leavingNormalises()
{
    QFETCH(int, category);
    QFETCH(int, kind);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    if (kind != 0) {
        pick(editor->Title, kind);
    }
    activate(*editor);
    typeField(*editor, field, typed);
    QCOMPARE(editor->Edit[field]->currentText(), typed);
    pressTab();
    QVERIFY(!editor->Edit[field]->hasFocus());
    QCOMPARE(editor->Edit[field]->currentText(), shown);
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::pastedBreaksAreDropped_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lookup field") << 1 << "11\t12\n13"
                                  << "111213";
    QTest::newRow("amount") << 3 << "1\t000\r\n"
                            << "1.000,00";
    QTest::newRow("accumulated") << 4 << "\n\t"
                                 << "";
}

void TestTribArrec::pastedBreaksAreDropped()
{
    QFETCH(int, field);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    activate(*editor);
    pasteIntoField(*editor, field, pasted);
    pressTab();
    QCOMPARE(editor->Edit[field]->currentText(), shown);
}

void TestTribArrec::pastedUnfitCharactersAreDropped()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 7);
    activate(*editor);
    pasteIntoField(*editor, 7, QStringLiteral("Caf\u00e9 \u2603 \u20ac"));
    pressTab();
    // Windows-1252 holds the accented letter and the euro sign, not the snowman.
    QCOMPARE(editor->Edit[7]->currentText(), QStringLiteral("Caf\u00e9  \u20ac"));
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages.first().contains(QChar(0x2603)));
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
    QTest::newRow("product of cents") << 0 << 7 << 8 << "0,10" << 9 << "3" << 10 << "0,30";
    QTest::newRow("quantity no number") << 0 << 7 << 8 << "1.500,00" << 9 << "tres" << 10 << "0,00";
    QTest::newRow("difference") << 2 << 6 << 3 << "1.000,00" << 4 << "250,50" << 5 << "749,50";
    QTest::newRow("difference of near amounts")
        << 2 << 6 << 3 << "1.000,30" << 4 << "1.000,10" << 5 << "0,20";
    QTest::newRow("negative difference") << 2 << 7 << 3 << "10" << 4 << "12,5" << 5 << "-2,50";
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

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    pick(editor->Title, kind);
    activate(*editor);
    typeField(*editor, a, aText);
    typeField(*editor, b, bText);
    QCOMPARE(editor->Edit[computed]->currentText(), QStringLiteral("0,00"));
    pressTab(); // from b into the computed field
    QVERIFY(editor->Edit[computed]->hasFocus());
    QCOMPARE(editor->Edit[computed]->currentText(), shown);
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::accumulatedOnEntering()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(1);
    pick(editor->Title, 1); // expenses: amounts 4 and 6, accumulated 5 and 7
    activate(*editor);
    // In the first period the accumulated amount is the amount itself.
    typeField(*editor, 4, QStringLiteral("1500"));
    pressTab();
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("1.500,00"));
    typeField(*editor, 6, QStringLiteral("20"));
    pressTab();
    QCOMPARE(editor->Edit[7]->currentText(), QStringLiteral("20,00"));
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("1.500,00"));
}

void TestTribArrec::dialogRoundTripIsNeitherLeavingNorEntering()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(2);
    pick(editor->Title, 6); // balance: field 5 is the difference of 3 and 4
    activate(*editor);
    typeField(*editor, 3, QStringLiteral("100"));
    pressTab();
    typeField(*editor, 4, QStringLiteral("40"));
    pressTab();
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("60,00"));
    typeField(*editor, 5, QStringLiteral("1500"));

    // A dialog over the editor takes the focus and gives it back.
    whenModal<QDialog>([](QDialog *dialog) { dialog->accept(); });
    QDialog other(editor.get());
    other.exec();
    activate(*editor);
    QTRY_VERIFY(editor->Edit[5]->hasFocus());
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("1500"));

    // Leaving for real normalises the field; coming back computes it again.
    pressTab();
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("1.500,00"));
    editor->Edit[5]->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(editor->Edit[5]->currentText(), QStringLiteral("60,00"));
}

void TestTribArrec::completion_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("registry");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("partner");
    QTest::addColumn<QString>("partnerText");

    const QByteArray taxes = "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n";
    const QByteArray cnpjs = "Alfa Ltda\t11.111.111/0001-11\t\r\nBeta SA\t22.222.222/0001-22\t\r\n";
    QTest::newRow("code gives name") << 0 << taxes << 1 << "101" << 2 << "IPTU";
    QTest::newRow("name gives code, case ignored") << 0 << taxes << 2 << "iptu" << 1 << "101";
    QTest::newRow("unknown code") << 0 << taxes << 1 << "999" << 2 << "as it was";
    QTest::newRow("contractor gives cnpj")
        << 6 << cnpjs << 2 << "beta sa" << 3 << "22.222.222/0001-22";
    QTest::newRow("cnpj gives contractor")
        << 6 << cnpjs << 3 << "11.111.111/0001-11" << 2 << "Alfa Ltda";
    QTest::newRow("unit gives cnpj") << 7 << cnpjs << 3 << "Alfa Ltda" << 4 << "11.111.111/0001-11";
    QTest::newRow("supplier cnpj gives supplier")
        << 7 << cnpjs << 6 << "22.222.222/0001-22" << 5 << "Beta SA";
}

void TestTribArrec::completion()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, registry);
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(int, partner);
    QFETCH(QString, partnerText);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(kind == 0 ? QStringLiteral("dados/tributos.vqd")
                               : QStringLiteral("dados/cnpj.vqd")),
            registry);
    auto editor = openEditor(0);
    if (kind != 0) {
        pick(editor->Title, kind);
    }
    activate(*editor);

    // Typed.
    editor->Edit[partner]->setEditText(QStringLiteral("as it was"));
    typeField(*editor, field, typed);
    QCOMPARE(editor->Edit[partner]->currentText(), partnerText);

    // Picked from the list: the partner follows the pick.
    editor->Edit[partner]->setEditText(QStringLiteral("?"));
    const int entry = editor->Edit[field]->findText(typed, Qt::MatchFixedString);
    if (entry >= 0) {
        pick(editor->Edit[field], entry);
        QCOMPARE(editor->Edit[partner]->currentText(), partnerText);
    }
}

void TestTribArrec::programTextDoesNotComplete()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")), "101\tIPTU\t\r\n");
    auto editor = openEditor(0);
    editor->Edit[1]->setEditText(QStringLiteral("101"));
    editor->Edit[1]->setCurrentIndex(0);
    QCOMPARE(editor->Edit[2]->currentText(), QString());
}

void TestTribArrec::typingNonLookupFieldClearsItemSelection()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    activate(*editor);
    auto selectFirst = [&] {
        editor->lbTitulos->clear();
        editor->lbTitulos->addItems({QStringLiteral("101"), QStringLiteral("205")});
        editor->lbTitulos->setCurrentRow(0);
        QVERIFY(editor->lbTitulos->currentItem()->isSelected());
    };

    selectFirst();
    typeField(*editor, 1, QStringLiteral("1"));
    QCOMPARE(editor->lbTitulos->currentRow(), 0);

    selectFirst();
    typeField(*editor, 3, QStringLiteral("1"));
    QCOMPARE(editor->lbTitulos->currentRow(), -1);
    QVERIFY(editor->lbTitulos->selectedItems().isEmpty());
}

void TestTribArrec::pickListsFollowStoreChange()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")), "090\tISS\t\r\n205\tITBI\t\r\n");
    auto editor = openEditor(0);
    activate(*editor);
    typeField(*editor, 1, QStringLiteral("15"));
    typeField(*editor, 2, QStringLiteral("Taxa"));

    // The registry gains a line in the middle of the order, and is read
    // again when a lookup closes.
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")),
            "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n");
    whenModal<TCadastro>([](TCadastro *dialog) { dialog->reject(); });
    QTest::mouseClick(editor->SpeedButton[2], Qt::LeftButton);
    activate(*editor);

    for (int field : {1, 2}) {
        QCOMPARE(editor->Edit[field]->count(), 3);
    }
    QCOMPARE(editor->Edit[1]->itemText(1), QStringLiteral("101"));
    QCOMPARE(editor->Edit[2]->itemText(1), QStringLiteral("IPTU"));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("15"));
    QVERIFY(editor->Edit[2]->hasFocus());

    pick(editor->Edit[1], 2);
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("205"));
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("ITBI"));
}

void TestTribArrec::lookupButtonCancelled()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    activate(*editor);
    typeField(*editor, 1, QStringLiteral("abc"));
    typeField(*editor, 2, QStringLiteral("Nome"));

    whenModal<TCadastro>([](TCadastro *dialog) {
        QCOMPARE(dialog->FileName, QStringLiteral("tributos.vqd"));
        dialog->ChosenIndex = -1;
        dialog->reject();
    });
    QTest::mouseClick(editor->SpeedButton[1], Qt::LeftButton);

    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QCOMPARE(editor->Edit[1]->count(), sampleLines(QStringLiteral("tributos.vqd")).size());
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("Nome"));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::lookupButtonConfirmedWithNewEntry()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")), "090\tISS\t\r\n205\tITBI\t\r\n");
    auto editor = openEditor(0);
    activate(*editor);
    typeField(*editor, 1, QStringLiteral("x"));

    // The dialog saves a new entry, sorted into the middle, and chooses it.
    whenModal<TCadastro>([&](TCadastro *dialog) {
        putFile(dir.file(QStringLiteral("dados/tributos.vqd")),
                "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n");
        dialog->ChosenIndex = 1;
        dialog->accept();
    });
    QTest::mouseClick(editor->SpeedButton[2], Qt::LeftButton);

    QCOMPARE(editor->session().registry(), (QStringList{"090\tISS\t", "101\tIPTU\t", "205\tITBI\t"}));
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(editor->Edit[2]->itemText(1), QStringLiteral("IPTU"));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("101"));
    QCOMPARE(editor->Edit[1]->itemText(1), QStringLiteral("101"));

    // The other field's list follows the store too.
    activate(*editor);
    pick(editor->Edit[1], 2);
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("ITBI"));
}

void TestTribArrec::lookupButtonWithUnreadableRegistry()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")), "090\tISS\t\r\n205\tITBI\t\r\n");
    auto editor = openEditor(0);
    activate(*editor);

    whenModal<TCadastro>([&](TCadastro *dialog) {
        const QString path = dir.file(QStringLiteral("dados/tributos.vqd"));
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir().mkdir(path));
        dialog->ChosenIndex = 1;
        dialog->accept();
    });
    QTest::mouseClick(editor->SpeedButton[1], Qt::LeftButton);

    // The store keeps its lines; no entry is taken for a position it cannot check.
    QCOMPARE(editor->session().registry(), (QStringList{"090\tISS\t", "205\tITBI\t"}));
    QCOMPARE(editor->Edit[1]->count(), 2);
    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QCOMPARE(editor->Edit[2]->currentText(), QString());
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::withoutDataDirectoryResetChangesNothing()
{
    ScratchDir dir;
    FakePlatform fake;
    auto editor = openEditor(0);
    activate(*editor);
    typeField(*editor, 1, QStringLiteral("abc"));
    typeField(*editor, 3, QStringLiteral("12"));
    pressTab();
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("12,00"));

    editor->LayOutFields(editor->NumCampos);
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("abc"));
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("12,00"));

    // Purchases: the lookup columns keep their plain presentation.
    // New still empties field 1 and proposes the purchase number.
    pick(editor->Title, 7);
    QCOMPARE(pickListFields(*editor), QList<int>{});
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("000001"));
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("12,00"));
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados"))));
}

// ---------------------------------------------------------------------------
// 5. The HTML page

namespace {

const QString kMailto = QStringLiteral("mailto:contato@quelvara.com.br");

QString pageText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return decodeCp1252(file.readAll());
}

QStringList canonical(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths) {
        const QString real = QFileInfo(path).canonicalFilePath();
        result.append(real.isEmpty() ? path : real);
    }
    return result;
}

// Opens the monthly taxes of March 2005 with an item list of our own, as a
// load would leave it.
std::unique_ptr<TTribArrec> openMarchTaxes(const QStringList &lines)
{
    // An empty February, so that March has an earlier period to add to, and
    // no tax registry, so that March holds just these lines.
    makeDir(dataDir());
    makeDir(dataYearDir(QStringLiteral("2005")));
    const auto path = [](const char *period) {
        return dataFilePath(QStringLiteral("2005"), QStringLiteral("trib-arrec-"),
                            QString::fromLatin1(period));
    };
    if (!writeLines(path("2"), {}).ok() || !writeLines(path("3"), lines).ok()) {
        qWarning("the report files could not be written");
    }
    QFile::remove(dataFile(QStringLiteral("tributos.vqd")));
    auto editor = openEditor(0);
    pick(editor->cbPeriodo, 2);
    return editor;
}

// Replaces the year by typing it, as the user does.
void typeYear(TTribArrec &editor, const QString &year)
{
    editor.cbAno->setFocus(Qt::MouseFocusReason);
    editor.cbAno->lineEdit()->selectAll();
    QTest::keyClicks(editor.cbAno, year);
}

const QStringList kMarchItems = {
    QStringLiteral("1112.02.00\tIPTU\t1.500,00\t3.000,00\t0\t"),
    QStringLiteral("1113.05.00\tObras <Fase 2> & reforma\t234,25\t500,25\t0\t"),
    QStringLiteral("9999\tExcluído\t100,00\t100,00\t1\t"),
};

} // namespace

void TestTribArrec::viewRewritesAndOpensThePage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    const QString page = dir.file(QStringLiteral("2005/trib-arrec-3-2005.htm"));
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("2005"))));
    putFile(page, "stale page\r\n");
    fake.opened.clear();

    QTest::mouseClick(editor->btView, Qt::LeftButton);

    QCOMPARE(fake.messages, QStringList());
    QCOMPARE(canonical(fake.opened), canonical({page}));
    const QString text = pageText(page);
    QVERIFY(!text.contains(QStringLiteral("stale")));
    // Every input comes from the editor: title, municipality, year and
    // period, captions, items, officials.
    QVERIFY(text.startsWith(
        QStringLiteral("<html><head><title> Tributos Arrecadados  Art 2º, Inc. I </title>\n")));
    QVERIFY(text.contains(QStringLiteral("<b>Vila Serena - MG <br>\nTributos Arrecadados  Art "
                                         "2º, Inc. I<br>\nEXERC&Iacute;CIO: 2005 - Março</b>")));
    QVERIFY(text.contains(QStringLiteral("      <td>Codificação Numérica:</td>\n"
                                         "      <td>Tributo/Contribuição:</td>\n"
                                         "      <td>Montante Arrecadado no mês:</td>\r\n"
                                         "      <td>Acumulado no Exercício:</td>\r\n")));
    QVERIFY(text.contains(QStringLiteral("    <tr>\r\n"
                                         "      <td> &nbsp;1113.05.00</td>\r\n"
                                         "      <td><div align=left> &nbsp;Obras &lt;Fase 2&gt; "
                                         "&amp; reforma</div></td>\r\n"
                                         "      <td><div align=right> &nbsp;234,25</div></td>\r\n"
                                         "      <td><div align=right> &nbsp;500,25</div></td>\r\n"
                                         "    </tr>\n\r\n")));
    QVERIFY(text.contains(QStringLiteral("      <td> &nbsp;9999</td>")));
    // The excluded item is listed but not summed.
    QVERIFY(text.contains(QStringLiteral("    <tr bgcolor=#CCCCCC>\r\n"
                                         "      <td> total: </td>\r\n"
                                         "      <td> &nbsp;</td>\r\n"
                                         "      <td><div align=right> &nbsp;1.734,25</div></td>\r\n"
                                         "      <td><div align=right> &nbsp;3.500,25</div></td>\r\n"
                                         "    </tr>\n\r\n")));
    QVERIFY(text.contains(QStringLiteral("<br>Joaquim Aurélio Brandão Siqueira<br> (Prefeito)")));
    QVERIFY(text.contains(
        QStringLiteral("<br>Maria da Conceição Lemos Tavares<br> (Secret&aacute;rio")));
    QVERIFY(text.contains(
        QStringLiteral("<br>Luís Fernando Arantes Queiroga/MG-098765/O-4<br>(Contador/CRC)")));

    // An item saved since is shown on the next view: the page is written anew.
    const char *const item[] = {"1114", "ITBI", "10,00", "10,00"};
    for (int i = 1; i <= 4; ++i) {
        editor->Edit[i]->setEditText(QString::fromLatin1(item[i - 1]));
    }
    QTest::mouseClick(editor->btAdd, Qt::LeftButton);
    QTest::mouseClick(editor->btView, Qt::LeftButton);
    QVERIFY(pageText(page).contains(QStringLiteral("      <td> &nbsp;1114</td>")));
    QCOMPARE(canonical(fake.opened), canonical({page, page}));
}

void TestTribArrec::sendKeepsAnExistingPage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    const QString page = dir.file(QStringLiteral("2005/trib-arrec-3-2005.htm"));
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("2005"))));
    putFile(page, "page as the user last saw it\r\n");
    fake.opened.clear();

    QTest::mouseClick(editor->SpeedButton8, Qt::LeftButton);

    QCOMPARE(fileBytes(page), QByteArray("page as the user last saw it\r\n"));
    QCOMPARE(fake.opened, QStringList{kMailto});
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::sendWritesAMissingPage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    const QString page = dir.file(QStringLiteral("2005/trib-arrec-3-2005.htm"));
    QFile::remove(page);
    fake.opened.clear();

    QTest::mouseClick(editor->SpeedButton8, Qt::LeftButton);

    QVERIFY(pageText(page).contains(QStringLiteral("      <td> &nbsp;1112.02.00</td>")));
    QCOMPARE(fake.opened, QStringList{kMailto});
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::totalRowByKind_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("totalRow");
    QTest::newRow("annual budget result")
        << 2 << 8 << QStringLiteral("2005/bal-orc-resultado-nominal-0-2005.htm") << false;
    QTest::newRow("annual expense balance")
        << 2 << 7 << QStringLiteral("2005/bal-orc-despesas-0-2005.htm") << true;
    QTest::newRow("monthly purchases")
        << 0 << 7 << QStringLiteral("2005/compras-1-2005.htm") << true;
    QTest::newRow("bimonthly expense group")
        << 1 << 5 << QStringLiteral("2005/exec-orc-grupo-de-despesa-1-2005.htm") << true;
}

void TestTribArrec::totalRowByKind()
{
    QFETCH(int, category);
    QFETCH(int, position);
    QFETCH(QString, page);
    QFETCH(bool, totalRow);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    pick(editor->Title, position);

    QTest::mouseClick(editor->btView, Qt::LeftButton);

    const QString text = pageText(dir.file(page));
    QVERIFY(text.endsWith(QStringLiteral("</body> </html>\n\r\n")));
    QCOMPARE(text.contains(QStringLiteral("      <td> total: </td>")), totalRow);
    QCOMPARE(canonical(fake.opened), canonical({dir.file(page)}));
}

void TestTribArrec::yearDirectoryThatCannotBeMade()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    putFile(dir.file(QStringLiteral("2010")), "a file where the year's directory belongs");
    typeYear(*editor, QStringLiteral("2010"));
    fake.opened.clear();
    fake.messages.clear();

    QTest::mouseClick(editor->btView, Qt::LeftButton);
    const QString message = QStringLiteral("Não foi possivel criar o diretório ") +
                            nativePath(QDir::current().filePath(QStringLiteral("2010")));
    QCOMPARE(fake.messages, QStringList{message});
    QCOMPARE(fake.opened, QStringList());

    // "Enviar" finds no page, tries to write it, tells why it could not,
    // and still opens the message.
    QTest::mouseClick(editor->SpeedButton8, Qt::LeftButton);
    QCOMPARE(fake.messages, (QStringList{message, message}));
    QCOMPARE(fake.opened, QStringList{kMailto});
}

void TestTribArrec::pageThatCannotBeWritten()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("2011/trib-arrec-3-2011.htm"))));
    typeYear(*editor, QStringLiteral("2011"));
    fake.opened.clear();
    fake.messages.clear();

    QTest::mouseClick(editor->btView, Qt::LeftButton);

    QCOMPARE(fake.messages, QStringList{QStringLiteral("Não foi possivel criar o arquivo ") +
                                        nativePath(QDir::current().filePath(
                                            QStringLiteral("2011/trib-arrec-3-2011.htm")))});
    QCOMPARE(fake.opened, QStringList());
}

void TestTribArrec::yearThatIsNoYearWritesNoPage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openMarchTaxes(kMarchItems);
    typeYear(*editor, QStringLiteral("20"));
    fake.opened.clear();
    fake.messages.clear();

    QTest::mouseClick(editor->btView, Qt::LeftButton);
    QTest::mouseClick(editor->SpeedButton8, Qt::LeftButton);

    QCOMPARE(fake.messages, QStringList());
    QCOMPARE(fake.opened, QStringList{kMailto});
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("20"))));
}

// ---------------------------------------------------------------------------
// 6. Item list and data files

namespace {

// The bytes of a text file holding the lines, each ended by CR LF.
QByteArray crlfBytes(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line + QStringLiteral("\r\n");
    }
    return encodeCp1252(text).value_or(QByteArray("<unencodable>"));
}

QString dataPath(const ScratchDir &dir, const QString &name)
{
    return dir.file(QStringLiteral("dados/2005/") + name);
}

// The line a registry item has after a load that found no file: code and
// name, the defaults, and an empty flag field.
QStringList seededTaxLines()
{
    QStringList lines;
    for (const QString &entry : sampleLines(QStringLiteral("tributos.vqd"))) {
        lines.append(entry + QStringLiteral("0,00\t0,00\t\t"));
    }
    return lines;
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

// Fills the entry fields by program, from field 1 on.
void setFields(TTribArrec &editor, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i) {
        editor.Edit[i + 1]->setEditText(texts.at(i));
    }
}

void clickButton(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

// Clicks the item with that code in the list.
void clickItem(TTribArrec &editor, const QString &code)
{
    const QList<QListWidgetItem *> found = editor.lbTitulos->findItems(code, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(code));
    editor.lbTitulos->scrollToItem(found.first());
    const QRect rect = editor.lbTitulos->visualItemRect(found.first());
    QTest::mouseClick(editor.lbTitulos->viewport(), Qt::LeftButton, {}, rect.center());
    // The click may have rebuilt the list: look again.
    const QList<QListWidgetItem *> selected = editor.lbTitulos->selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first()->text(), code);
}

QStringList listed(const TTribArrec &editor)
{
    QStringList codes;
    for (int i = 0; i < editor.lbTitulos->count(); ++i) {
        codes.append(editor.lbTitulos->item(i)->text());
    }
    return codes;
}

// Every entry under the directory, relative to it.
QStringList entriesUnder(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        entries.append(QDir(root).relativeFilePath(it.next()));
    }
    entries.sort();
    return entries;
}

const QString kTaxFile = QStringLiteral("trib-arrec-1-2005.vqd");

} // namespace

void TestTribArrec::typicalEntryMarch2005()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    QVERIFY(QDir().mkdir(dir.file(QStringLiteral("dados/2005"))));
    const QString iptu = QStringLiteral("1112.02.00");
    putFile(
        dataPath(dir, QStringLiteral("trib-arrec-2-2005.vqd")),
        crlfBytes({iptu + u'\t' + taxName(iptu) + QStringLiteral("\t1.000,00\t3.000,00\t0\t")}));

    auto editor = openEditor(0);
    QCOMPARE(editor->Title->currentText(), QStringLiteral("Tributos Arrecadados  Art 2º, Inc. I"));
    QCOMPARE(editor->cbPeriodo->currentText(), QStringLiteral("Janeiro"));
    // January has no file: one item per registered tax, nothing written.
    QCOMPARE(editor->session().items().lines(), seededTaxLines());
    QCOMPARE(listed(*editor), editor->session().items().codes());
    QVERIFY(!QFileInfo::exists(dataPath(dir, kTaxFile)));

    pick(editor->cbPeriodo, 2);
    QCOMPARE(editor->Periodo, QStringLiteral("3"));
    QCOMPARE(editor->session().items().size(), 14);

    activate(*editor);
    editor->Edit[1]->setFocus(Qt::TabFocusReason);
    pick(editor->Edit[1], 0);
    QCOMPARE(editor->Edit[1]->currentText(), iptu);
    QCOMPARE(editor->Edit[2]->currentText(), taxName(iptu));
    typeField(*editor, 3, QStringLiteral("1500"));
    pressTab();
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("1.500,00"));
    QCOMPARE(editor->Edit[4]->currentText(), QStringLiteral("4.500,00"));

    clickButton(editor->btAdd);
    QStringList expected = seededTaxLines();
    expected[0] = iptu + u'\t' + taxName(iptu) + QStringLiteral("\t1.500,00\t4.500,00\t0\t");
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-3-2005.vqd"))),
             crlfBytes(expected));
    // A registered code leaves the registry as it was.
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/tributos.vqd"))),
             fileBytes(QStringLiteral(QUELVARA_SAMPLES_DIR "/tributos.vqd")));
    QCOMPARE(fake.messages, QStringList());
    // Ready for the next item.
    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QVERIFY(editor->lbTitulos->selectedItems().isEmpty());
}

void TestTribArrec::saveNewCodeExtendsRegistry()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1119.99.00"), QStringLiteral("Taxa Nova"),
                        QStringLiteral("2,00"), QStringLiteral("2,00")});
    clickButton(editor->btAdd);

    QStringList expected = seededTaxLines();
    expected.insert(5, QStringLiteral("1119.99.00\tTaxa Nova\t2,00\t2,00\t0\t"));
    QCOMPARE(fileBytes(dataPath(dir, kTaxFile)), crlfBytes(expected));
    QCOMPARE(listed(*editor).at(5), QStringLiteral("1119.99.00"));

    QStringList registry = sampleLines(QStringLiteral("tributos.vqd"));
    registry.insert(5, QStringLiteral("1119.99.00\tTaxa Nova\t"));
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/tributos.vqd"))), crlfBytes(registry));
    QCOMPARE(editor->session().registry(), registry);
    // The pick lists follow the store line by line.
    QCOMPARE(editor->Edit[1]->itemText(5), QStringLiteral("1119.99.00"));
    QCOMPARE(editor->Edit[2]->itemText(5), QStringLiteral("Taxa Nova"));

    // Another period of the kind shows the new code with default values.
    pick(editor->cbPeriodo, 1);
    QVERIFY(editor->session().items().line(5).startsWith(QStringLiteral("1119.99.00\tTaxa Nova\t0,00\t")));
}

void TestTribArrec::saveReplacesCodeIgnoringCase()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("ABC"), QStringLiteral("Upper"), QStringLiteral("1,00"),
                        QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    setFields(*editor, {QStringLiteral("abc"), QStringLiteral("Lower"), QStringLiteral("2,00"),
                        QStringLiteral("2,00")});
    clickButton(editor->btAdd);

    QCOMPARE(editor->session().items().size(), 15);
    QCOMPARE(editor->session().items().indexOf(QStringLiteral("ABC")), 14);
    QCOMPARE(listed(*editor).last(), QStringLiteral("abc"));
    QCOMPARE(editor->session().items().line(14), QStringLiteral("abc\tLower\t2,00\t2,00\t0\t"));
    // The registry got the first spelling only: the second is the same code.
    const QStringList registry = editor->session().registry();
    QCOMPARE(registry.filter(QStringLiteral("Upper")).size(), 1);
    QCOMPARE(registry.filter(QStringLiteral("Lower")).size(), 0);
}

void TestTribArrec::saveWithEmptyFirstField()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QString(), QStringLiteral("Sem código"), QStringLiteral("3,00")});
    clickButton(editor->btAdd);

    QCOMPARE(fake.messages,
             QStringList{QStringLiteral("O primeiro campo não pode estar em branco.")});
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("Sem código"));
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados/2005"))));
    QCOMPARE(editor->session().items().lines(), seededTaxLines());
}

void TestTribArrec::selectShowsItemAndFlag()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("5,00"), QStringLiteral("5,00")});
    editor->CheckBox1->setChecked(true);
    clickButton(editor->btAdd);
    QCOMPARE(editor->session().items().line(0), QStringLiteral("1112.02.00\tIPTU\t5,00\t5,00\t1\t"));
    // New leaves the check box as it was.
    QVERIFY(editor->CheckBox1->isChecked());

    clickItem(*editor, QStringLiteral("1112.04.31"));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("1112.04.31"));
    QCOMPARE(editor->Edit[2]->currentText(), taxName(QStringLiteral("1112.04.31")));
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("0,00"));
    QVERIFY(!editor->CheckBox1->isChecked()); // an empty flag field

    clickItem(*editor, QStringLiteral("1112.02.00"));
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("IPTU"));
    QCOMPARE(editor->Edit[4]->currentText(), QStringLiteral("5,00"));
    QVERIFY(editor->CheckBox1->isChecked());
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::selectStoresEditorItemInRegistryKind()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1113.05.00"), QStringLiteral("ISS"), QStringLiteral("7,00"),
                        QStringLiteral("7,00")});
    clickItem(*editor, QStringLiteral("1130.00.00"));

    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("1130.00.00"));
    QCOMPARE(editor->lbTitulos->currentItem()->text(), QStringLiteral("1130.00.00"));
    const QStringList stored = readLines(dataPath(dir, kTaxFile)).lines;
    QVERIFY(stored.contains(QStringLiteral("1113.05.00\tISS\t7,00\t7,00\t0\t")));
}

void TestTribArrec::selectDropsEditorItemInCnpjKind()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 6); // contracts
    setFields(*editor, {QStringLiteral("01/2005"), QStringLiteral("APAE de Vila Serena")});
    clickButton(editor->btAdd);
    const QByteArray saved =
        fileBytes(dataPath(dir, QStringLiteral("contratos-e-seus-aditivos-1-2005.vqd")));

    setFields(*editor, {QStringLiteral("02/2005"), QStringLiteral("Lira Musical Serenense")});
    clickItem(*editor, QStringLiteral("01/2005"));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("01/2005"));
    QCOMPARE(editor->Edit[2]->currentText(), QStringLiteral("APAE de Vila Serena"));
    QCOMPARE(listed(*editor), QStringList{QStringLiteral("01/2005")});
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("contratos-e-seus-aditivos-1-2005.vqd"))),
             saved);
}

void TestTribArrec::leavingShownItemDoesNotComplete()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/cnpj.vqd")), "ACME\t11.222.333/0001-81\t\r\n");
    QVERIFY(QDir().mkdir(dir.file(QStringLiteral("dados/2005"))));
    putFile(
        dataPath(dir, QStringLiteral("contratos-e-seus-aditivos-1-2005.vqd")),
        "01/2005\tACME\t99.999.999/0001-99\tL\t__/__/____\t__/__/____\tObj\t1,00\tobs\t0\t\r\n");
    // The item's CNPJ differs from the registry's: only the user's own pick
    // may bring the registry's into the field.
    auto editor = openEditor(0);
    activate(*editor);
    pick(editor->Title, 6);
    activate(*editor);
    clickItem(*editor, QStringLiteral("01/2005"));
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("99.999.999/0001-99"));
    editor->Edit[1]->setFocus(Qt::TabFocusReason);
    pressTab();
    QVERIFY(editor->Edit[2]->hasFocus());
    pressTab();
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("99.999.999/0001-99"));
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
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    const QString code = QStringLiteral("1112.04.31");
    const QString name = taxName(code);
    setFields(*editor, {code, name, QStringLiteral("9,00"), QStringLiteral("9,00")});
    editor->CheckBox1->setChecked(true);
    clickButton(editor->btAdd);

    clickItem(*editor, code);
    fake.answers.enqueue(yes);
    clickButton(editor->btDel);

    QCOMPARE(fake.questions,
             QStringList{QStringLiteral("Excluir|Deseja Excluir o Item do cadastro?")});
    QStringList lines = seededTaxLines();
    QStringList registry = sampleLines(QStringLiteral("tributos.vqd"));
    if (yes) {
        lines.removeAt(1);
        registry.removeAt(1);
    } else {
        lines[1] = code + u'\t' + name + QStringLiteral("\t0,00\t0,00\t"); // no flag field
    }
    QCOMPARE(fileBytes(dataPath(dir, kTaxFile)), crlfBytes(lines));
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/tributos.vqd"))), crlfBytes(registry));
    QCOMPARE(editor->session().registry(), registry);
    QCOMPARE(listed(*editor).contains(code), !yes);
    QCOMPARE(editor->Edit[1]->count(), registry.size());
    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::deleteInCnpjKind()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 2);
    const QString path = dataPath(dir, QStringLiteral("rec-repass-inst-cel-1-2005.vqd"));
    const QStringList a{"A1",       "Saúde", "Estado",     "APAE",       "Reforma",
                        "1.000,00", "0,00",  "31/12/2005", "Em execução"};
    const QStringList b{"B2",     "Educação", "União",      "Lira", "Instrumentos",
                        "500,00", "50,00",    "__/__/____", ""};
    setFields(*editor, b);
    clickButton(editor->btAdd);
    setFields(*editor, a);
    clickButton(editor->btAdd);
    const QString lineA = a.join(u'\t') + QStringLiteral("\t0\t");
    const QString lineB = b.join(u'\t') + QStringLiteral("\t0\t");
    QCOMPARE(fileBytes(path), crlfBytes({lineA, lineB}));

    clickItem(*editor, QStringLiteral("A1"));
    QCOMPARE(editor->Edit[9]->currentText(), QStringLiteral("Em execução"));
    clickButton(editor->btDel);
    QCOMPARE(fileBytes(path), crlfBytes({lineB}));
    clickItem(*editor, QStringLiteral("B2"));
    QTest::keyClick(editor->lbTitulos, Qt::Key_Delete);
    // The last item gone: an empty file.
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(fileBytes(path), QByteArray());
    QCOMPARE(fake.questions, QStringList());
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/cnpj.vqd"))),
             fileBytes(QStringLiteral(QUELVARA_SAMPLES_DIR "/cnpj.vqd")));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::deleteByKeyAndMenu()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);

    clickItem(*editor, QStringLiteral("1112.02.00"));
    fake.answers.enqueue(false);
    QTest::keyClick(editor->lbTitulos, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(fake.questions.size(), 1);
    QCOMPARE(editor->session().items().line(0), QStringLiteral("1112.02.00\t") +
                                        taxName(QStringLiteral("1112.02.00")) +
                                        QStringLiteral("\t0,00\t0,00\t"));

    clickItem(*editor, QStringLiteral("1130.00.00"));
    fake.answers.enqueue(true);
    editor->Deletar1->trigger();
    QCOMPARE(fake.questions.size(), 2);
    QVERIFY(!listed(*editor).contains(QStringLiteral("1130.00.00")));
    QVERIFY(!readLines(dir.file(QStringLiteral("dados/tributos.vqd")))
                 .lines.join(u'\n')
                 .contains(QStringLiteral("1130.00.00")));
}

void TestTribArrec::deleteWithoutSelection()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    const QByteArray saved = fileBytes(dataPath(dir, kTaxFile));
    setFields(*editor, {QStringLiteral("typed")});

    clickButton(editor->btDel);
    QCOMPARE(fake.messages, QStringList{QStringLiteral("Selecione um item ao lado.")});
    QCOMPARE(fake.questions, QStringList());
    QCOMPARE(editor->Edit[1]->currentText(), QString()); // reset
    QCOMPARE(fileBytes(dataPath(dir, kTaxFile)), saved);
    QCOMPARE(editor->session().items().size(), 14);
}

void TestTribArrec::exitStoresItem_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("item in the editor") << "1121.17.00";
    QTest::newRow("empty editor") << "";
}

void TestTribArrec::exitStoresItem()
{
    QFETCH(QString, code);
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor,
              {code, QStringLiteral("Taxa"), QStringLiteral("3,00"), QStringLiteral("3,00")});
    clickButton(editor->btOK);

    QVERIFY(!editor->isVisible());
    if (code.isEmpty()) {
        QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados/2005"))));
    } else {
        QVERIFY(readLines(dataPath(dir, kTaxFile))
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
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(category);
    pick(editor->Title, title);
    QVERIFY(!editor->Edit[1]->currentText().isEmpty());
    clickButton(editor->btOK);
    QVERIFY(!editor->isVisible());
    QVERIFY(!QFileInfo::exists(dataPath(dir, file)));

    // Once the user has entered something, leaving stores it.
    editor = openEditor(category);
    pick(editor->Title, title);
    const QString code = editor->Edit[1]->currentText();
    editor->Edit[2]->setEditText(QStringLiteral("1,00"));
    clickButton(editor->btOK);
    QCOMPARE(readLines(dataPath(dir, file)).lines.size(), 1);
    QVERIFY(readLines(dataPath(dir, file)).lines.first().startsWith(code + u'\t'));
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
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, title);
    setFields(*editor, {QStringLiteral("X-1"), QStringLiteral("APAE de Vila Serena")});
    pick(editor->cbPeriodo, 1);

    // Stored into the period being left, never the one entered.
    const QStringList january =
        readLines(dataPath(dir, prefix + QStringLiteral("1-2005.vqd"))).lines;
    QCOMPARE(january.filter(QRegularExpression(QStringLiteral("^X-1\t"))).size(), stored ? 1 : 0);
    QVERIFY(!QFileInfo::exists(dataPath(dir, prefix + QStringLiteral("2-2005.vqd"))));
    // A new code of a registry kind joined the registry: the next period
    // lists it with default values.
    if (stored) {
        QVERIFY(editor->session().items().line(editor->session().items().indexOf(QStringLiteral("X-1")))
                    .startsWith(QStringLiteral("X-1\tAPAE de Vila Serena\t0,00\t")));
    } else {
        QVERIFY(!editor->session().items().contains(QStringLiteral("X-1")));
    }
    QCOMPARE(editor->Edit[1]->currentText(), QString());
}

void TestTribArrec::yearTypedDigitByDigit()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor,
              {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"), QStringLiteral("1,00")});
    const QStringList before = entriesUnder(dir.file(QStringLiteral("dados")));

    editor->cbAno->setFocus(Qt::MouseFocusReason);
    editor->cbAno->lineEdit()->selectAll();
    QTest::keyClick(editor->cbAno, Qt::Key_2);
    QCOMPARE(editor->Ano, QStringLiteral("2"));
    QVERIFY(editor->session().items().isEmpty());
    QCOMPARE(editor->lbTitulos->count(), 0);
    QTest::keyClicks(editor->cbAno, QStringLiteral("00"));
    QVERIFY(editor->session().items().isEmpty());
    QTest::keyClick(editor->cbAno, Qt::Key_6);
    QCOMPARE(editor->Ano, QStringLiteral("2006"));
    QCOMPARE(editor->session().items().lines(), seededTaxLines());

    // The year change dropped the item; nothing was written for any text.
    QCOMPARE(editor->Edit[1]->currentText(), QString());
    QCOMPARE(entriesUnder(dir.file(QStringLiteral("dados"))), before);
    for (const char *partial : {"2", "20", "200"}) {
        QVERIFY(!QFileInfo::exists(dir.file(QString::fromLatin1(partial))));
    }
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::invalidYearIsNeverAPath_data()
{
    QTest::addColumn<QString>("year");
    QTest::newRow("parent directory") << "../x";
    QTest::newRow("sub-directory") << "a/b";
    QTest::newRow("partial") << "20";
    QTest::newRow("five digits") << "20055";
    QTest::newRow("empty") << "";
}

void TestTribArrec::invalidYearIsNeverAPath()
{
    QFETCH(QString, year);
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    const QStringList before = entriesUnder(dir.path());

    editor->cbAno->setFocus(Qt::MouseFocusReason);
    editor->cbAno->lineEdit()->selectAll();
    if (year.isEmpty()) {
        QTest::keyClick(editor->cbAno, Qt::Key_Delete);
    } else {
        QTest::keyClicks(editor->cbAno, year);
    }
    QCOMPARE(editor->Ano, year);
    QCOMPARE(editor->lbTitulos->count(), 0);

    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    QCOMPARE(fake.messages.size(), 1);
    QVERIFY(fake.messages.first().startsWith(QStringLiteral("Ano inválido: \"") + year));
    // The item stays in the editor to be saved under a proper year.
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("1112.02.00"));
    QVERIFY(editor->session().items().isEmpty());

    clickButton(editor->btDel);
    clickButton(editor->btOK);
    QCOMPARE(entriesUnder(dir.path()), before);
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("../x"))));
}

void TestTribArrec::unreadableDataFileIsNeverReplaced()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    // Something that exists where the file is but cannot be read as one.
    const QString path = dataPath(dir, kTaxFile);
    QVERIFY(QDir().mkpath(path));
    auto editor = openEditor(0);

    QCOMPARE(fake.messages, QStringList{QStringLiteral("Não foi possível ler o arquivo ") +
                                        QDir::toNativeSeparators(path)});
    // The registry's items are offered, but none of them can replace the file.
    QCOMPARE(editor->session().items().size(), 14);
    const QString refused = QStringLiteral("O arquivo não foi lido e não será alterado: ") +
                            QDir::toNativeSeparators(path);

    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages.last(), refused);
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("1112.02.00"));

    clickButton(editor->btNovo);
    clickItem(*editor, QStringLiteral("1130.00.00"));
    fake.answers.enqueue(false);
    clickButton(editor->btDel);
    QCOMPARE(fake.messages.size(), 3);
    QCOMPARE(fake.messages.last(), refused);
    QVERIFY(QFileInfo(path).isDir());

    // Another period loads and saves as usual.
    pick(editor->cbPeriodo, 1);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    QVERIFY(QFileInfo(dataPath(dir, QStringLiteral("trib-arrec-2-2005.vqd"))).isFile());
}

void TestTribArrec::failedSaveKeepsPreviousFile()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    const QByteArray saved = fileBytes(dataPath(dir, kTaxFile));

    // A text the code page cannot hold makes the write fail.
    setFields(*editor, {QStringLiteral("1112.04.31"), QStringLiteral("Imposto Ω"),
                        QStringLiteral("2,00"), QStringLiteral("2,00")});
    clickButton(editor->btAdd);
    QCOMPARE(fake.messages, QStringList{QStringLiteral("Não foi possivel criar o arquivo ") +
                                        QDir::toNativeSeparators(dataPath(dir, kTaxFile))});
    QCOMPARE(fileBytes(dataPath(dir, kTaxFile)), saved);
    QCOMPARE(entriesUnder(dir.file(QStringLiteral("dados/2005"))), QStringList{kTaxFile});
}

void TestTribArrec::yearDirectoryCannotBeCreated()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/2005")), "not a directory");
    auto editor = openEditor(0);
    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    QCOMPARE(fake.messages,
             QStringList{QStringLiteral("Não foi possivel criar o diretório ") +
                         QDir::toNativeSeparators(dir.file(QStringLiteral("dados/2005")))});
    // The list holds the item all the same.
    QCOMPARE(editor->session().items().line(0), QStringLiteral("1112.02.00\tIPTU\t1,00\t1,00\t0\t"));
}

void TestTribArrec::unreadableRegistryRefusesSaving()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    const QString registry = dir.file(QStringLiteral("dados/tributos.vqd"));
    QVERIFY(QFile::remove(registry));
    QVERIFY(QDir().mkdir(registry));
    auto editor = openEditor(0);
    QCOMPARE(fake.messages.size(), 1);

    setFields(*editor, {QStringLiteral("1112.02.00"), QStringLiteral("IPTU"),
                        QStringLiteral("1,00"), QStringLiteral("1,00")});
    clickButton(editor->btAdd);
    QCOMPARE(fake.messages.size(), 2);
    QCOMPARE(fake.messages.last(),
             QStringLiteral("O cadastro não foi lido e nada será salvo neste relatório: ") +
                 QDir::toNativeSeparators(registry));
    clickButton(editor->btDel);
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados/2005"))));
    QVERIFY(QFileInfo(registry).isDir());
}

void TestTribArrec::flagFieldAfterLongerKind()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(1);
    pick(editor->Title, 1); // expenses: field 5 accumulated
    QCOMPARE(editor->TipoCampo[5], int(Acumulado));
    pick(editor->Title, 0); // revenue: four fields, field 5 is the flag
    for (int i = 5; i <= kMaxFields; ++i) {
        QCOMPARE(editor->TipoCampo[i], int(Texto));
    }

    const QString code = GetField(sampleLines(QStringLiteral("rec.vqd")).first(), 1);
    const QString name = GetField(sampleLines(QStringLiteral("rec.vqd")).first(), 2);
    setFields(*editor, {code, name, QStringLiteral("10,00"), QStringLiteral("10,00")});
    editor->CheckBox1->setChecked(true);
    clickButton(editor->btAdd);
    pick(editor->cbPeriodo, 1);
    pick(editor->cbPeriodo, 0);

    const QString line = code + u'\t' + name + QStringLiteral("\t10,00\t10,00\t1\t");
    QCOMPARE(editor->session().items().line(editor->session().items().indexOf(code)), line);
    editor->CheckBox1->setChecked(false);
    clickItem(*editor, code);
    QVERIFY(editor->CheckBox1->isChecked());
}

void TestTribArrec::purchasesNumberAndRegistry()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->Title, 7);
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("000001"));

    const QStringList fields{"000001",
                             "Saúde",
                             "Hospital Municipal",
                             "11.111.111/0001-11",
                             "Zeladoria Serena Ltda",
                             "22.222.222/0001-22",
                             "Luvas",
                             "2,00",
                             "3",
                             "6,00"};
    setFields(*editor, fields);
    clickButton(editor->btAdd);
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("compras-1-2005.vqd"))),
             crlfBytes({fields.join(u'\t') + QStringLiteral("\t0\t")}));
    QStringList registry = sampleLines(QStringLiteral("cnpj.vqd"));
    registry.insert(7, QStringLiteral("Hospital Municipal\t11.111.111/0001-11\t"));
    registry.append(QStringLiteral("Zeladoria Serena Ltda\t22.222.222/0001-22\t"));
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/cnpj.vqd"))), crlfBytes(registry));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("000002"));
    QCOMPARE(editor->Edit[3]->count(), registry.size());
    QCOMPARE(editor->Edit[5]->itemText(registry.size() - 1),
             QStringLiteral("Zeladoria Serena Ltda"));
}

void TestTribArrec::annualKindUsesPeriodZero()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(2);
    QCOMPARE(editor->Periodo, QStringLiteral("0"));
    const QStringList rec = sampleLines(QStringLiteral("rec.vqd"));
    setFields(*editor, {GetField(rec.at(1), 1), GetField(rec.at(1), 2), QStringLiteral("9,00")});
    clickButton(editor->btAdd);

    QStringList lines;
    for (const QString &entry : rec) {
        lines.append(entry + QStringLiteral("0,00\t\t"));
    }
    lines[1] = rec.at(1) + QStringLiteral("9,00\t0\t");
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("orc-anual-rec-prevista-0-2005.vqd"))),
             crlfBytes(lines));
}

// ---------------------------------------------------------------------------
// 7. The page that every load writes

void TestTribArrec::loadsWriteThePage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);

    // Opening loads January and writes its page, one row per registry item.
    const QString january = pageText(dir.file(QStringLiteral("2005/trib-arrec-1-2005.htm")));
    QVERIFY(january.contains(QStringLiteral("EXERC&Iacute;CIO: 2005 - Janeiro</b>")));
    // The first page already carries the officials of the profile.
    const QStringList officials = sampleLines(QStringLiteral("prefs.vqd"));
    QCOMPARE(officials.size(), 4);
    QVERIFY(january.contains(QStringLiteral("<br>") + officials.at(0) +
                             QStringLiteral("<br> (Prefeito)")));
    QVERIFY(january.contains(QStringLiteral("<br>") + officials.at(2) + u'/' + officials.at(3) +
                             QStringLiteral("<br>(Contador/CRC)")));
    const QStringList taxes = sampleLines(QStringLiteral("tributos.vqd"));
    QVERIFY(!taxes.isEmpty());
    for (const QString &tax : taxes) {
        const QString code = tax.section(QLatin1Char('\t'), 0, 0);
        QVERIFY2(january.contains(QStringLiteral("      <td> &nbsp;") + code +
                                  QStringLiteral("</td>\r\n")),
                 qPrintable(code));
    }

    // A period with stored items shows their values and sums the included ones.
    QVERIFY(QDir().mkpath(dir.file(QStringLiteral("dados/2005"))));
    putFile(dir.file(QStringLiteral("dados/2005/trib-arrec-2-2005.vqd")),
            "1112.02.00\tIPTU\t1.500,00\t1.500,00\t0\t\r\n"
            "1113.05.00\tISS\t250,50\t250,50\t1\t\r\n");
    pick(editor->cbPeriodo, 1);
    const QString february = pageText(dir.file(QStringLiteral("2005/trib-arrec-2-2005.htm")));
    QVERIFY(february.contains(QStringLiteral("EXERC&Iacute;CIO: 2005 - Fevereiro</b>")));
    QVERIFY(
        february.contains(QStringLiteral("      <td><div align=right> &nbsp;250,50</div></td>")));
    QVERIFY(
        february.contains(QStringLiteral("      <td> total: </td>\r\n"
                                         "      <td> &nbsp;</td>\r\n"
                                         "      <td><div align=right> &nbsp;1.500,00</div></td>")));

    // A change of kind, and a year typed digit by digit, write the page of
    // the list they load; the texts on the way to the year write nothing.
    pick(editor->Title, 1);
    QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("2005/rec-repass-transf-vol-2-2005.htm"))));
    editor->cbAno->setFocus(Qt::MouseFocusReason);
    editor->cbAno->lineEdit()->selectAll();
    QTest::keyClicks(editor->cbAno, QStringLiteral("2006"));
    QCOMPARE(editor->Ano, QStringLiteral("2006"));
    QVERIFY(QFileInfo::exists(dir.file(QStringLiteral("2006/rec-repass-transf-vol-2-2006.htm"))));
    for (const char *partial : {"2", "20", "200"}) {
        QVERIFY(!QFileInfo::exists(dir.file(QString::fromLatin1(partial))));
    }
    // Each second period loaded misses its first to accumulate from; a text
    // on the way to the year looks for no file.
    auto missing = [](const QString &file) {
        return QStringLiteral("Não existe o arquivo anterior: ") +
               nativePath(QDir::current().filePath(QStringLiteral("dados/") + file));
    };
    QCOMPARE(fake.messages,
             (QStringList{missing(QStringLiteral("2005/trib-arrec-1-2005.vqd")),
                          missing(QStringLiteral("2005/rec-repass-transf-vol-1-2005.vqd")),
                          missing(QStringLiteral("2006/rec-repass-transf-vol-1-2006.vqd"))}));
    QCOMPARE(fake.opened, QStringList());
}

void TestTribArrec::savingDoesNotRewriteThePage()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    const QString page = dir.file(QStringLiteral("2005/trib-arrec-1-2005.htm"));
    const QByteArray before = fileBytes(page);
    QVERIFY(!before.isEmpty());

    setFields(*editor, {QStringLiteral("1119.99.00"), QStringLiteral("Taxa Nova"),
                        QStringLiteral("2,00"), QStringLiteral("2,00")});
    clickButton(editor->btAdd);
    QVERIFY(fileBytes(dataPath(dir, kTaxFile)).contains("1119.99.00"));
    QCOMPARE(fileBytes(page), before);

    // "Visualizar Relatório" shows the saved item.
    clickButton(editor->btView);
    QVERIFY(pageText(page).contains(QStringLiteral("      <td> &nbsp;1119.99.00</td>")));
}

// ---------------------------------------------------------------------------
// 8. Accumulated values and "Atualizar Valores"

namespace {

const QString kInstruction =
    QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o acumulado.");

QString missingPrevious(const ScratchDir &dir, const QString &name)
{
    return QStringLiteral("Não existe o arquivo anterior: ") + nativePath(dataPath(dir, name));
}

void writeDataLines(const ScratchDir &dir, const QString &name, const QStringList &lines)
{
    QDir().mkpath(dir.file(QStringLiteral("dados/2005")));
    putFile(dataPath(dir, name), crlfBytes(lines));
}

// Clicks "Atualizar Valores" as the user does.
void clickPanel(TTribArrec &editor)
{
    QTest::mouseClick(editor.Panel1, Qt::LeftButton, {}, editor.Panel1->rect().center());
}

// Every file under the directory with its bytes.
QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    for (const QString &entry : entriesUnder(root)) {
        const QString path = QDir(root).filePath(entry);
        if (QFileInfo(path).isFile()) {
            files.insert(entry, fileBytes(path));
        }
    }
    return files;
}

} // namespace

void TestTribArrec::accumulatedFieldsOnEntering_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("title");
    QTest::addColumn<QString>("previousFile");
    QTest::addColumn<QString>("previousLine");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("amountField");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("messages");

    const QString tax = sampleLines(QStringLiteral("tributos.vqd")).at(0);
    const QString taxCode = GetField(tax, 1);
    const QString unit = sampleLines(QStringLiteral("unid.vqd")).at(0);
    const QString unitCode = GetField(unit, 1);
    const QString taxes = QStringLiteral("trib-arrec-1-2005.vqd");
    const QString units = QStringLiteral("exec-orc-desp-unid-orc-1-2005.vqd");
    const QString taxLine = tax + QStringLiteral("1.000,00\t2.000,25\t0\t");
    const QString unitLine = unit + QStringLiteral("500,00\t100,00\t1.000,00\t30,00\t300,00\t0\t");

    QTest::newRow("monthly sum") << 0 << 0 << taxes << taxLine << taxCode << 3 << "1000,5"
                                 << "3.000,75" << QStringList();
    QTest::newRow("item new in this period") << 0 << 0 << taxes << taxLine << "9999" << 3 << "12"
                                             << "12,00" << QStringList();
    QTest::newRow("empty amount") << 0 << 0 << taxes << taxLine << taxCode << 3 << ""
                                  << kInstruction
                                  << QStringList{QStringLiteral(
                                         "O valor anterior nao eh double: 2000,25 + ")};
    QTest::newRow("amount that is no number")
        << 0 << 0 << taxes << taxLine << taxCode << 3 << "abc" << kInstruction
        << QStringList{QStringLiteral("O valor anterior nao eh double: 2000,25 + abc")};
    QTest::newRow("expense committed: field 5 from fields 4 and previous 5")
        << 1 << 1 << units << unitLine << unitCode << 4 << "50"
        << "1.050,00" << QStringList();
    QTest::newRow("expense settled: field 7 from fields 6 and previous 7")
        << 1 << 1 << units << unitLine << unitCode << 6 << "7"
        << "307,00" << QStringList();
}

void TestTribArrec::accumulatedFieldsOnEntering()
{
    QFETCH(int, category);
    QFETCH(int, title);
    QFETCH(QString, previousFile);
    QFETCH(QString, previousLine);
    QFETCH(QString, code);
    QFETCH(int, amountField);
    QFETCH(QString, amount);
    QFETCH(QString, expected);
    QFETCH(QStringList, messages);

    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    writeDataLines(dir, previousFile, {previousLine});
    auto editor = openEditor(category);
    if (title != editor->Title->currentIndex()) {
        pick(editor->Title, title);
    }
    pick(editor->cbPeriodo, 1);
    QCOMPARE(editor->Periodo, QStringLiteral("2"));
    activate(*editor);
    QCOMPARE(fake.messages, QStringList());

    typeField(*editor, 1, code);
    typeField(*editor, amountField, amount);
    pressTab(); // into the accumulated field
    QComboBox *accumulated = editor->Edit[amountField + 1];
    QVERIFY(accumulated->hasFocus());
    QCOMPARE(accumulated->currentText(), expected);
    QCOMPARE(fake.messages, messages);
}

void TestTribArrec::missingPreviousFileShownOncePerAction()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    pick(editor->cbPeriodo, 2); // March; February has no file
    const QString message = missingPrevious(dir, QStringLiteral("trib-arrec-2-2005.vqd"));
    // Fourteen registered taxes, each computed twice, and the reset of the
    // editor: one box for the whole load.
    QCOMPARE(fake.messages, QStringList{message});
    const QStringList registry = sampleLines(QStringLiteral("tributos.vqd"));
    QCOMPARE(editor->session().items().size(), registry.size());
    QVERIFY(registry.size() > 2);
    for (const QString &line : editor->session().items().lines()) {
        QCOMPARE(GetField(line, 4), kInstruction);
    }
    QCOMPARE(editor->Edit[4]->currentText(), kInstruction);
    // A load writes no data file.
    QVERIFY(!QFileInfo::exists(dataPath(dir, QStringLiteral("trib-arrec-3-2005.vqd"))));

    // Entering the field is an action of its own, and tells again.
    activate(*editor);
    typeField(*editor, 3, QStringLiteral("10"));
    pressTab();
    QCOMPARE(editor->Edit[4]->currentText(), kInstruction);
    QCOMPARE(fake.messages, (QStringList{message, message}));
}

void TestTribArrec::updateValuesCreatesEarlierPeriods()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    const QStringList registry = sampleLines(QStringLiteral("tributos.vqd"));
    const QString iptu = registry.at(0);
    writeDataLines(dir, QStringLiteral("trib-arrec-3-2005.vqd"),
                   {iptu + QStringLiteral("300,00\t") + kInstruction + QStringLiteral("\t0\t")});
    auto editor = openEditor(0);
    pick(editor->cbPeriodo, 2);
    QCOMPARE(fake.messages,
             QStringList{missingPrevious(dir, QStringLiteral("trib-arrec-2-2005.vqd"))});
    fake.messages.clear();

    clickPanel(*editor);
    QCOMPARE(fake.messages, QStringList());
    // Periods 1 and 2 are made from the registry, as their loads show them.
    QCOMPARE(fileBytes(dataPath(dir, kTaxFile)), crlfBytes(seededTaxLines()));
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-2-2005.vqd"))),
             crlfBytes(seededTaxLines()));
    // Period 3 accumulates from them; items missing from its file join it.
    QStringList third;
    for (const QString &entry : registry) {
        third.append(entry + QStringLiteral("0,00\t0,00\t0\t"));
    }
    third[0] = iptu + QStringLiteral("300,00\t300,00\t0\t");
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-3-2005.vqd"))), crlfBytes(third));
    QCOMPARE(editor->session().items().lines(), third);

    // The editor is back in March, and each page was written under its own month.
    QCOMPARE(editor->Periodo, QStringLiteral("3"));
    QCOMPARE(editor->cbPeriodo->currentText(), QStringLiteral("Março"));
    const QStringList months = {QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"),
                                QStringLiteral("Março")};
    for (int p = 1; p <= 3; ++p) {
        const QString page =
            pageText(dir.file(QStringLiteral("2005/trib-arrec-%1-2005.htm").arg(p)));
        QVERIFY2(page.contains(QStringLiteral("2005 - ") + months.at(p - 1)), qPrintable(page));
        for (int other = 1; other <= 3; ++other) {
            if (other != p) {
                QVERIFY(!page.contains(QStringLiteral("2005 - ") + months.at(other - 1)));
            }
        }
    }

    // The month's own handler did not run: a later pick of March still loads.
    pick(editor->cbPeriodo, 1);
    QCOMPARE(editor->Periodo, QStringLiteral("2"));
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::yearRecalculatedFromScratch()
{
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    putFile(dir.file(QStringLiteral("dados/tributos.vqd")),
            crlfBytes({QStringLiteral("101\tIPTU\t"), QStringLiteral("102\tISS\t"),
                       QStringLiteral("103\tTaxa de Lixo\t")}));
    // Stale, hand-made and half-filled periods: a renamed item, an item
    // outside the registry, missing items, garbage and the instruction text
    // where accumulated amounts belong, a missing flag.
    writeDataLines(dir, QStringLiteral("trib-arrec-1-2005.vqd"),
                   {QStringLiteral("101\tIPTU\t100,00\tlixo\t0\t"),
                    QStringLiteral("102\tISS\t50,00\t50,00\t1\t"),
                    QStringLiteral("900\tAvulso\t5,00\t5,00\t0\t")});
    writeDataLines(dir, QStringLiteral("trib-arrec-2-2005.vqd"),
                   {QStringLiteral("101\tIPTU antigo\t200,00\t\t0\t"),
                    QStringLiteral("900\tAvulso\t7,00\t999,99\t0\t")});
    writeDataLines(
        dir, QStringLiteral("trib-arrec-3-2005.vqd"),
        {QStringLiteral("101\tIPTU\t1.000,50\t") + kInstruction + QStringLiteral("\t0\t"),
         QStringLiteral("102\tISS\t25,00\t0,00\t0\t"),
         QStringLiteral("103\tTaxa de Lixo\t10,00\tx\t")});
    auto editor = openEditor(0);
    pick(editor->cbPeriodo, 2);
    // Before the recalculation March adds to February's empty figure.
    QCOMPARE(fake.messages,
             QStringList{QStringLiteral("O valor anterior nao eh double:  + 1000,50")});
    fake.messages.clear();
    // The item shown when the button is pressed is shown again afterwards,
    // and what the editor held for it unsaved is dropped.
    activate(*editor);
    clickItem(*editor, QStringLiteral("102"));
    editor->Edit[3]->setEditText(QStringLiteral("555,00"));

    clickPanel(*editor);

    QCOMPARE(fake.messages, QStringList());
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-1-2005.vqd"))),
             crlfBytes({QStringLiteral("101\tIPTU\t100,00\t100,00\t0\t"),
                        QStringLiteral("102\tISS\t50,00\t50,00\t1\t"),
                        QStringLiteral("103\tTaxa de Lixo\t0,00\t0,00\t0\t"),
                        QStringLiteral("900\tAvulso\t5,00\t5,00\t0\t")}));
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-2-2005.vqd"))),
             crlfBytes({QStringLiteral("101\tIPTU\t200,00\t300,00\t0\t"),
                        QStringLiteral("102\tISS\t0,00\t50,00\t0\t"),
                        QStringLiteral("103\tTaxa de Lixo\t0,00\t0,00\t0\t"),
                        QStringLiteral("900\tAvulso\t7,00\t999,99\t0\t")}));
    QCOMPARE(fileBytes(dataPath(dir, QStringLiteral("trib-arrec-3-2005.vqd"))),
             crlfBytes({QStringLiteral("101\tIPTU\t1.000,50\t1.300,50\t0\t"),
                        QStringLiteral("102\tISS\t25,00\t75,00\t0\t"),
                        QStringLiteral("103\tTaxa de Lixo\t10,00\t10,00\t\t")}));
    QVERIFY(!QFileInfo::exists(dataPath(dir, QStringLiteral("trib-arrec-4-2005.vqd"))));

    QCOMPARE(editor->lbTitulos->selectedItems().size(), 1);
    QCOMPARE(editor->lbTitulos->selectedItems().first()->text(), QStringLiteral("102"));
    QCOMPARE(editor->Edit[1]->currentText(), QStringLiteral("102"));
    QCOMPARE(editor->Edit[3]->currentText(), QStringLiteral("25,00"));
    QCOMPARE(editor->Edit[4]->currentText(), QStringLiteral("75,00"));

    // A second press finds everything in step and changes no byte.
    const QMap<QString, QByteArray> before = snapshot(dir.file(QStringLiteral("dados")));
    clickPanel(*editor);
    QCOMPARE(snapshot(dir.file(QStringLiteral("dados"))), before);
    QCOMPARE(fake.messages, QStringList());
}

void TestTribArrec::updateValuesChangesNothing_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("file");
    QTest::newRow("first month") << 0 << "trib-arrec-1-2005.vqd";
    QTest::newRow("annual kind") << 2 << "orc-anual-rec-prevista-0-2005.vqd";
}

void TestTribArrec::updateValuesChangesNothing()
{
    QFETCH(int, category);
    QFETCH(QString, file);
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    // A stale line that any load and write would change.
    writeDataLines(dir, file, {QStringLiteral("1\tantigo\tlixo\tlixo\t")});
    auto editor = openEditor(category);
    const QMap<QString, QByteArray> before = snapshot(dir.file(QStringLiteral("dados")));
    const QStringList lines = editor->session().items().lines();
    clickPanel(*editor);
    QCOMPARE(snapshot(dir.file(QStringLiteral("dados"))), before);
    QCOMPARE(editor->session().items().lines(), lines);
    QCOMPARE(fake.messages, QStringList());
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
    ScratchDir dir;
    FakePlatform fake;
    copySamples(dir);
    auto editor = openEditor(0);
    QFrame *panel = editor->Panel1;
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

QTEST_MAIN(TestTribArrec)
#include "test_tribarrec.moc"
