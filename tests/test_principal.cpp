#include "Ucadastro.h"
#include "Uhelp.h"
#include "Uprincipal.h"
#include "Utribarrec.h"
#include "fakeplatform.h"
#include "messages.h"
#include "vendor.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// Runs the trigger; once the dialog that `global` refers to is open, inspects
// it and closes it. Tells whether the dialog was seen open.
template <class Dialog>
bool whileOpen(Dialog *const &global, const std::function<void()> &trigger,
               const std::function<void(Dialog *)> &inspect)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!seen && global && global->isVisible()) {
            seen = true;
            inspect(global);
            global->reject();
        }
    });
    poll.start();
    trigger();
    poll.stop();
    return seen;
}

} // namespace

// Every test runs in a fresh working directory with the recording platform,
// and shows a fresh main window there.
class TestPrincipal : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<FakePlatform> fake;
    std::unique_ptr<TPrincipal> w;

    QString dataPath(const QString &name) const
    {
        return dir->file(QStringLiteral("dados/") + name);
    }
    QByteArray municipalityBytes() const
    {
        return fileBytes(dataPath(QStringLiteral("prefeitura.vqd")));
    }
    QByteArray officialsBytes() const { return fileBytes(dataPath(QStringLiteral("prefs.vqd"))); }

    bool showWindow()
    {
        w = std::make_unique<TPrincipal>();
        w->show();
        return reactivate();
    }
    // A modal dialog that closes does not give the focus back under the
    // offscreen platform: the test brings the window back itself.
    bool reactivate()
    {
        w->activateWindow();
        return QTest::qWaitForWindowActive(w.get());
    }
    // Types into a field as the user does; letters the test keyboard lacks are pasted.
    void typeInto(QLineEdit *field, const QString &text)
    {
        field->setFocus(Qt::TabFocusReason);
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, c.toLatin1());
            } else {
                field->insert(c);
            }
        }
    }

private slots:
    void init();
    void cleanup();

    void windowLayout();
    void controls_data();
    void controls();
    void toolBar1Order();
    void menus();
    void statusBar();
    void states();
    void tabOrder();

    void firstStartWithoutData();
    void leavingNameCreatesMunicipalityFile();
    void typedNameSavedWhenLeftByMouse();
    void everyStateChangeSaves();
    void stateChosenFromTheList();
    void typedStateRestored();
    void loadingDoesNotSave();
    void leavingAnOfficialWritesAllFour_data();
    void leavingAnOfficialWritesAllFour();
    void twoLineOfficialsFile();
    void unreadableProfileIsNeverWrittenOver();
    void hugeProfileIsNeverWrittenOver();
    void municipalityFileOddShapes_data();
    void municipalityFileOddShapes();
    void tabInTheName();
    void lineBreakInAnOfficial();
    void focusReasonsThatAreNotLeaving_data();
    void focusReasonsThatAreNotLeaving();
    void dialogIsNotLeaving();
    void profileReadOnlyOnce();
    void unfitCharactersDroppedOnLeave_data();
    void unfitCharactersDroppedOnLeave();
    void unfitCharacterTypedInState();

    void openers_data();
    void openers();
    void editorGetsNameAsShownWithoutSaving();
    void clickingATextButtonLeavesTheField();
    void editorReadsOfficialsAsLastSaved();
    void siteButton();
    void exitCommands_data();
    void exitCommands();
    void closingKeepsWhatWasTyped();
    void closingSavesNothingUntouched();
};

void TestPrincipal::init()
{
    dir = std::make_unique<ScratchDir>();
    fake = std::make_unique<FakePlatform>();
}

void TestPrincipal::cleanup()
{
    w.reset();
    fake.reset();
    dir.reset();
    QVERIFY(!Principal);
}

void TestPrincipal::windowLayout()
{
    QVERIFY(showWindow());
    QCOMPARE(Principal, w.get());
    QCOMPARE(w->objectName(), QStringLiteral("Principal"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvara"));
    QCOMPARE(w->size(), QSize(640, 415));
    QCOMPARE(w->menuBar()->objectName(), QStringLiteral("MainMenu1"));
    QCOMPARE(w->statusBar()->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(w->ImageList.size(), 8);
    for (const QIcon &icon : w->ImageList) {
        QVERIFY(!icon.isNull());
    }

    const auto *bar1 = w->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    const auto *bar2 = w->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    const auto *bar3 = w->findChild<QToolBar *>(QStringLiteral("ToolBar3"));
    const auto *bar4 = w->findChild<QToolBar *>(QStringLiteral("ToolBar4"));
    QVERIFY(bar1 && bar2 && bar3 && bar4);
    QCOMPARE(w->toolBarArea(bar1), Qt::TopToolBarArea);
    QCOMPARE(w->toolBarArea(bar2), Qt::TopToolBarArea);
    QCOMPARE(w->toolBarArea(bar3), Qt::BottomToolBarArea);
    QCOMPARE(w->toolBarArea(bar4), Qt::BottomToolBarArea);
    // One below the other, from top to bottom: 1, 2, client area, 3, 4.
    QVERIFY(bar1->geometry().bottom() < bar2->geometry().top());
    QVERIFY(bar2->geometry().bottom() < w->centralWidget()->geometry().top());
    QVERIFY(w->centralWidget()->geometry().bottom() < bar3->geometry().top());
    QVERIFY(bar3->geometry().bottom() < bar4->geometry().top());
    QVERIFY(bar4->geometry().bottom() < w->statusBar()->geometry().top());
    QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("edNome"))->width(), 473);
}

void TestPrincipal::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolBar");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("focusPolicy");
    const QString none;
    QTest::newRow("BitBtn1") << "BitBtn1"
                             << "ToolBar1"
                             << "Mensais"
                             << "Relatórios Mensais" << int(Qt::ClickFocus);
    QTest::newRow("BitBtn2") << "BitBtn2"
                             << "ToolBar1"
                             << "Bimestrais"
                             << "Relatórios Bimestrais" << int(Qt::ClickFocus);
    QTest::newRow("BitBtn3") << "BitBtn3"
                             << "ToolBar1"
                             << "Anuais"
                             << "Relatórios Anuais" << int(Qt::ClickFocus);
    QTest::newRow("ToolButton10") << "ToolButton10"
                                  << "ToolBar1" << none << "Site do Quelvara" << int(Qt::NoFocus);
    QTest::newRow("ToolButton6") << "ToolButton6"
                                 << "ToolBar1" << none << "Sobre..." << int(Qt::NoFocus);
    QTest::newRow("ToolButton5") << "ToolButton5"
                                 << "ToolBar1" << none << "Sair" << int(Qt::NoFocus);
    QTest::newRow("edNome") << "edNome"
                            << "ToolBar2"
                            << "Prefeitura Municipal de"
                            << "Nome da Prefeitura" << int(Qt::StrongFocus);
    QTest::newRow("cbUF") << "cbUF"
                          << "ToolBar2"
                          << "UF"
                          << "Estado" << int(Qt::WheelFocus);
    QTest::newRow("Label1") << "Label1"
                            << "ToolBar3"
                            << "Prefeito: " << none << int(Qt::NoFocus);
    QTest::newRow("Prefeito") << "Prefeito"
                              << "ToolBar3" << none << "Nome do Prefeito" << int(Qt::StrongFocus);
    QTest::newRow("Label2") << "Label2"
                            << "ToolBar3"
                            << "Sec. Finanças: " << none << int(Qt::NoFocus);
    QTest::newRow("SecFin") << "SecFin"
                            << "ToolBar3" << none << "Nome do Sec. Finanças"
                            << int(Qt::StrongFocus);
    QTest::newRow("Label3") << "Label3"
                            << "ToolBar4"
                            << "Contador: " << none << int(Qt::NoFocus);
    QTest::newRow("Contador") << "Contador"
                              << "ToolBar4" << none << "Nome do Contador" << int(Qt::StrongFocus);
    QTest::newRow("Label4") << "Label4"
                            << "ToolBar4"
                            << "CRC: " << none << int(Qt::NoFocus);
    QTest::newRow("CRC") << "CRC"
                         << "ToolBar4" << none << "CRC do Contador" << int(Qt::StrongFocus);
}

void TestPrincipal::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, toolBar);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(int, focusPolicy);
    QVERIFY(showWindow());
    auto *control = w->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->isVisible());
    QCOMPARE(control->parentWidget()->objectName(), toolBar);
    QCOMPARE(control->toolTip(), hint);
    QCOMPARE(int(control->focusPolicy()), focusPolicy);
    if (auto *button = qobject_cast<QToolButton *>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->icon().isNull());
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(edit->text(), text);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QCOMPARE(combo->currentText(), text);
    } else {
        QFAIL("unexpected kind of control");
    }
}

void TestPrincipal::toolBar1Order()
{
    QVERIFY(showWindow());
    const auto *bar = w->findChild<QToolBar *>(QStringLiteral("ToolBar1"));
    QStringList order;
    for (QAction *action : bar->actions()) {
        order.append(action->isSeparator() ? QStringLiteral("|")
                                           : bar->widgetForAction(action)->objectName());
    }
    QCOMPARE(order, (QStringList{"BitBtn1", "BitBtn2", "BitBtn3", "|", "ToolButton10",
                                 "ToolButton6", "|", "ToolButton5"}));
    // The pictures: site 7, about 6, exit 2.
    QCOMPARE(w->ToolButton10->icon().cacheKey(), w->ImageList.at(7).cacheKey());
    QCOMPARE(w->ToolButton6->icon().cacheKey(), w->ImageList.at(6).cacheKey());
    QCOMPARE(w->ToolButton5->icon().cacheKey(), w->ImageList.at(2).cacheKey());

    const auto *bar2 = w->findChild<QToolBar *>(QStringLiteral("ToolBar2"));
    order.clear();
    for (QAction *action : bar2->actions()) {
        order.append(action->isSeparator() ? QStringLiteral("|")
                                           : bar2->widgetForAction(action)->objectName());
    }
    QCOMPARE(order, (QStringList{"edNome", "|", "cbUF"}));
}

void TestPrincipal::menus()
{
    QVERIFY(showWindow());
    // Each entry as path, text, objectName, picture position and hint.
    std::function<void(QMenu *, const QString &, QStringList &)> walk =
        [&](QMenu *menu, const QString &path, QStringList &out) {
            for (QAction *action : menu->actions()) {
                if (action->isSeparator()) {
                    out.append(path + QStringLiteral(" | -"));
                    continue;
                }
                int icon = -1;
                for (int i = 0; i < w->ImageList.size(); ++i) {
                    if (action->icon().cacheKey() == w->ImageList.at(i).cacheKey()) {
                        icon = i;
                    }
                }
                const QString hint = action->toolTip();
                out.append(QStringLiteral("%1 | %2 | %3 | %4 | %5")
                               .arg(path, action->text(), action->objectName())
                               .arg(icon)
                               .arg(hint));
                if (action->menu()) {
                    walk(action->menu(), path + QStringLiteral(" > ") + action->text(), out);
                }
            }
        };
    QStringList entries;
    for (QAction *top : w->menuBar()->actions()) {
        if (top->menu()) {
            entries.append(top->text() + QStringLiteral(" / ") + top->menu()->objectName());
            walk(top->menu(), top->text(), entries);
        } else {
            entries.append(top->text() + QStringLiteral(" / ") + top->objectName() +
                           QStringLiteral(" / ") + top->toolTip());
        }
    }
    const QStringList expected{
        "&Relatórios / Relatorios1",
        "&Relatórios | &Mensais | Mensais1 | 3 | Relatórios Mensais",
        "&Relatórios | &Bimestrais | Bimestrais1 | 4 | Relatórios Bimestrais",
        "&Relatórios | A&nuais | Anuais1 | 5 | Relatórios Anuais",
        "&Cadastro / Cadastro1",
        "&Cadastro | CNPJs | CNPJs1 | 0 | CNPJs",
        "&Cadastro | -",
        "&Cadastro | Tributos | Tributos1 | 0 | Tributos",
        "&Cadastro | Transferências | Transferencias1Item | 1 | Transferências",
        "&Cadastro > Transferências | Voluntárias Repassadas | VoluntariasRepassadas1 | -1 | "
        "Voluntárias Repassadas",
        "&Cadastro > Transferências | Voluntárias Recebidas | VoluntriasRecebidas1 | -1 | "
        "Voluntárias Recebidas",
        "&Cadastro > Transferências | Constitucionais Recebidas | ConstitucionaisRecebidas1 | -1 | "
        "Constitucionais Recebidas",
        "&Cadastro | -",
        "&Cadastro | Despesas | Despesas1Item | 1 | Despesas",
        "&Cadastro > Despesas | por Unidade Orçamentária | porUnidadeOramentria1 | -1 | por "
        "Unidade Orçamentária",
        "&Cadastro > Despesas | por Função | porFuno1 | -1 | por Função",
        "&Cadastro > Despesas | por Programa e SubPrograma | porProgramaeSubPrograma1 | -1 | por "
        "Programa e SubPrograma",
        "&Cadastro > Despesas | por Fonte de Recursos | porFontedeRecursos1 | -1 | por Fonte de "
        "Recursos",
        "&Cadastro > Despesas | por Grupo de Despesa | porGrupodeDespesa1 | -1 | por Grupo de "
        "Despesa",
        "&Cadastro > Despesas | -",
        "&Cadastro > Despesas | para Balanço | paraBalano1 | -1 | para Balanço",
        "&Cadastro | Receitas | Receitas1 | 0 | Receitas",
        "A&juda / Ajuda1",
        "A&juda | &Sobre... | Sobre1 | 6 | Sobre...",
        "&Sair / Sair1 / Sair",
    };
    QCOMPARE(entries, expected);
    // The text buttons share the pictures of their menu entries.
    QCOMPARE(w->BitBtn1->icon().cacheKey(), w->ImageList.at(3).cacheKey());
    QCOMPARE(w->BitBtn2->icon().cacheKey(), w->ImageList.at(4).cacheKey());
    QCOMPARE(w->BitBtn3->icon().cacheKey(), w->ImageList.at(5).cacheKey());
}

void TestPrincipal::statusBar()
{
    QVERIFY(showWindow());
    auto *panel1 = w->findChild<QLabel *>(QStringLiteral("StatusPanel1"));
    auto *panel2 = w->findChild<QLabel *>(QStringLiteral("StatusPanel2"));
    QVERIFY(panel1 && panel2);
    QCOMPARE(panel1->parentWidget(), w->statusBar());
    QCOMPARE(panel1->text(), QStringLiteral("Quelvara - ") + quelvara::vendor::kPhone);
    QCOMPARE(panel1->width(), 200);
    QCOMPARE(panel2->text(), quelvara::vendor::kSite);
    QVERIFY(panel1->geometry().right() < panel2->geometry().left());

    // Pointing at menu entries changes nothing on the status bar.
    for (QAction *action : {w->Mensais1, w->CNPJs1, w->Sobre1, w->Sair1}) {
        action->hover();
    }
    QCoreApplication::processEvents();
    QVERIFY(panel1->isVisible() && panel2->isVisible());
    QCOMPARE(panel1->text(), QStringLiteral("Quelvara - ") + quelvara::vendor::kPhone);
    QCOMPARE(panel2->text(), quelvara::vendor::kSite);
    QVERIFY(w->statusBar()->currentMessage().isEmpty());
}

void TestPrincipal::states()
{
    QVERIFY(showWindow());
    const auto *cbUF = w->findChild<QComboBox *>(QStringLiteral("cbUF"));
    QVERIFY(cbUF->isEditable());
    QStringList items;
    for (int i = 0; i < cbUF->count(); ++i) {
        items.append(cbUF->itemText(i));
    }
    QCOMPARE(items, (QStringList{"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO",
                                 "MA", "MG", "MS", "MT", "PA", "PB", "PE", "PI", "PR",
                                 "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"}));
    QCOMPARE(quelvara::brazilianStates(), items);
    QCOMPARE(cbUF->currentText(), QStringLiteral("UF"));
}

void TestPrincipal::tabOrder()
{
    QVERIFY(showWindow());
    w->edNome->setFocus(Qt::TabFocusReason);
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order, (QStringList{"edNome", "cbUF", "Prefeito", "SecFin", "Contador", "CRC"}));
}

void TestPrincipal::firstStartWithoutData()
{
    QVERIFY(showWindow());
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("UF"));
    for (QLineEdit *field : {w->Prefeito, w->SecFin, w->Contador, w->CRC}) {
        QVERIFY(field->text().isEmpty());
    }
    QVERIFY(w->lbPrefeitura.isEmpty());
    QVERIFY(w->lbPrefs.isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(!QFileInfo::exists(dir->file(QStringLiteral("dados"))));
    QVERIFY(fake->messages.isEmpty());
}

void TestPrincipal::leavingNameCreatesMunicipalityFile()
{
    QVERIFY(showWindow());
    w->edNome->setFocus(Qt::TabFocusReason);
    QVERIFY(!QFileInfo::exists(dir->file(QStringLiteral("dados"))));
    QTest::keyClick(w->edNome, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->cbUF);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tUF\t\r\n"));
    QCOMPARE(w->lbPrefeitura, QStringList{QStringLiteral("Prefeitura Municipal de\tUF\t")});
    // Only the municipality file: the officials were not left.
    QVERIFY(!QFileInfo::exists(dataPath(QStringLiteral("prefs.vqd"))));
}

void TestPrincipal::typedNameSavedWhenLeftByMouse()
{
    QVERIFY(showWindow());
    w->edNome->setFocus(Qt::TabFocusReason);
    w->edNome->selectAll();
    w->edNome->insert(QStringLiteral("Prefeitura de São Tomé"));
    QVERIFY(!QFileInfo::exists(dataPath(QStringLiteral("prefeitura.vqd"))));
    QTest::mouseClick(w->Prefeito, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->Prefeito);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura de S\xE3o Tom\xE9\tUF\t\r\n"));
    QVERIFY(!QFileInfo::exists(dataPath(QStringLiteral("prefs.vqd"))));
    QTest::mouseClick(w->edNome, Qt::LeftButton);
    QCOMPARE(officialsBytes(), QByteArray("\r\n\r\n\r\n\r\n"));
}

void TestPrincipal::everyStateChangeSaves()
{
    QVERIFY(showWindow());
    w->cbUF->setFocus(Qt::TabFocusReason);
    w->cbUF->lineEdit()->selectAll();
    QTest::keyClick(w->cbUF, 'M');
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tM\t\r\n"));
    QTest::keyClick(w->cbUF, 'G');
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MG"));
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tMG\t\r\n"));
    QTest::keyClick(w->cbUF, Qt::Key_Backspace);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tM\t\r\n"));
    QTest::keyClick(w->cbUF, Qt::Key_Backspace);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\t\t\r\n"));
    // Choosing with the arrow keys is a change too.
    QTest::keyClick(w->cbUF, Qt::Key_Down);
    const QString chosen = w->cbUF->currentText();
    QVERIFY(quelvara::brazilianStates().contains(chosen));
    QCOMPARE(municipalityBytes(),
             QByteArray("Prefeitura Municipal de\t") + chosen.toLatin1() + "\t\r\n");
    // The name field was not left in all this and kept its own text.
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de"));
}

void TestPrincipal::stateChosenFromTheList()
{
    QVERIFY(showWindow());
    w->edNome->setText(QStringLiteral("Vila Rica"));
    w->cbUF->showPopup();
    QAbstractItemView *view = w->cbUF->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex sp = view->model()->index(25, 0);
    QCOMPARE(sp.data().toString(), QStringLiteral("SP"));
    view->scrollTo(sp);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(sp).center());
    QTRY_COMPARE(w->cbUF->currentText(), QStringLiteral("SP"));
    // The name goes with the state as the field shows it.
    QCOMPARE(municipalityBytes(), QByteArray("Vila Rica\tSP\t\r\n"));
}

void TestPrincipal::typedStateRestored()
{
    QVERIFY(showWindow());
    w->cbUF->setFocus(Qt::TabFocusReason);
    w->cbUF->lineEdit()->selectAll();
    QTest::keyClicks(w->cbUF, QStringLiteral("Minas Gerais"));
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tMinas Gerais\t\r\n"));
    w.reset();
    QVERIFY(showWindow());
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("Minas Gerais"));
    QCOMPARE(w->cbUF->count(), 27);
}

void TestPrincipal::loadingDoesNotSave()
{
    const QByteArray municipality("Prefeitura de Ouro Fino\tMG\t\nsegunda linha\n");
    const QByteArray officials("Ana\nBia\nCaio\n123/O\nquinta\n");
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), municipality);
    putFile(dataPath(QStringLiteral("prefs.vqd")), officials);
    QVERIFY(showWindow());
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura de Ouro Fino"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MG"));
    QCOMPARE(w->cbUF->currentIndex(), 10);
    QCOMPARE(w->Prefeito->text(), QStringLiteral("Ana"));
    QCOMPARE(w->SecFin->text(), QStringLiteral("Bia"));
    QCOMPARE(w->Contador->text(), QStringLiteral("Caio"));
    QCOMPARE(w->CRC->text(), QStringLiteral("123/O"));
    QCOMPARE(w->lbPrefs.size(), 5);
    QCoreApplication::processEvents();
    QCOMPARE(municipalityBytes(), municipality);
    QCOMPARE(officialsBytes(), officials);
}

void TestPrincipal::leavingAnOfficialWritesAllFour_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("Prefeito") << "Prefeito";
    QTest::newRow("SecFin") << "SecFin";
    QTest::newRow("Contador") << "Contador";
    QTest::newRow("CRC") << "CRC";
}

void TestPrincipal::leavingAnOfficialWritesAllFour()
{
    QFETCH(QString, field);
    QVERIFY(showWindow());
    typeInto(w->Prefeito, QStringLiteral("José da Silva"));
    auto *left = w->findChild<QLineEdit *>(field);
    if (left != w->Prefeito) {
        QCOMPARE(officialsBytes(), QByteArray("<unreadable>"));
        left->setFocus(Qt::TabFocusReason); // leaving Prefeito saves already
        QCOMPARE(officialsBytes(), QByteArray("Jos\xE9 da Silva\r\n\r\n\r\n\r\n"));
        QFile::remove(dataPath(QStringLiteral("prefs.vqd")));
    }
    w->edNome->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(officialsBytes(), QByteArray("Jos\xE9 da Silva\r\n\r\n\r\n\r\n"));
    QCOMPARE(w->lbPrefs, (QStringList{QStringLiteral("José da Silva"), "", "", ""}));
}

void TestPrincipal::twoLineOfficialsFile()
{
    putFile(dataPath(QStringLiteral("prefs.vqd")), "Prefeito Um\r\nSecret\xE1ria Dois\r\n");
    w = std::make_unique<TPrincipal>();
    w->Contador->setText(QStringLiteral("antes"));
    w->CRC->setText(QStringLiteral("antes também"));
    w->show();
    QVERIFY(reactivate());
    QCOMPARE(w->Prefeito->text(), QStringLiteral("Prefeito Um"));
    QCOMPARE(w->SecFin->text(), QStringLiteral("Secretária Dois"));
    QCOMPARE(w->Contador->text(), QStringLiteral("antes"));
    QCOMPARE(w->CRC->text(), QStringLiteral("antes também"));
}

void TestPrincipal::unreadableProfileIsNeverWrittenOver()
{
    // A directory standing where the officials file should be reads as
    // unreadable even for root; a locked file does so for anyone else.
    QVERIFY(QDir().mkpath(dataPath(QStringLiteral("prefs.vqd"))));
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), "Vila Serena\tMG\t\r\n");
    const bool asRoot = ::geteuid() == 0;
    if (!asRoot) {
        QVERIFY(QFile::setPermissions(dataPath(QStringLiteral("prefeitura.vqd")),
                                      QFileDevice::WriteOwner));
    }
    QVERIFY(showWindow());
    QStringList expected{QStringLiteral("Não foi possivel ler o arquivo ") +
                         QDir::toNativeSeparators(dataPath(QStringLiteral("prefs.vqd"))) +
                         QStringLiteral(". Ele não será alterado.")};
    if (!asRoot) {
        expected.prepend(QStringLiteral("Não foi possivel ler o arquivo ") +
                         QDir::toNativeSeparators(dataPath(QStringLiteral("prefeitura.vqd"))) +
                         QStringLiteral(". Ele não será alterado."));
    }
    QCOMPARE(fake->messages, expected);

    typeInto(w->Prefeito, QStringLiteral("Outro"));
    w->edNome->setFocus(Qt::TabFocusReason);
    w->CRC->setFocus(Qt::TabFocusReason);
    QVERIFY(QFileInfo(dataPath(QStringLiteral("prefs.vqd"))).isDir());
    if (!asRoot) {
        QVERIFY(QFile::setPermissions(dataPath(QStringLiteral("prefeitura.vqd")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(fileBytes(dataPath(QStringLiteral("prefeitura.vqd"))),
                 QByteArray("Vila Serena\tMG\t\r\n"));
    }
    QCOMPARE(fake->messages, expected); // told once, when read
}

void TestPrincipal::hugeProfileIsNeverWrittenOver()
{
    const QString path = dataPath(QStringLiteral("prefeitura.vqd"));
    putFile(path, "Vila Serena\tMG\t\r\n");
    QVERIFY(QFile(path).resize(quelvara::kMaxFileSize + 1)); // sparse: costs no disk
    QVERIFY(showWindow());
    QCOMPARE(fake->messages, QStringList{quelvara::msg::fileTooLarge(path)});
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de"));

    typeInto(w->edNome, QStringLiteral("Outra"));
    w->Prefeito->setFocus(Qt::TabFocusReason);
    QCOMPARE(QFileInfo(path).size(), quelvara::kMaxFileSize + 1);
    QCOMPARE(fake->messages.size(), 1);
}

void TestPrincipal::municipalityFileOddShapes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("state");
    QTest::newRow("no tab") << QByteArray("Prefeitura de Itu\r\n") << QString() << QString();
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("Prefeitura Municipal de")
                                << QStringLiteral("UF");
    QTest::newRow("no line end") << QByteArray("Itu\tSP\t") << QStringLiteral("Itu")
                                 << QStringLiteral("SP");
    QTest::newRow("tab inside the name")
        << QByteArray("Prefeitura\tde Cima\tMG\t\r\n") << QStringLiteral("Prefeitura")
        << QStringLiteral("de Cima");
    QTest::newRow("cp1252") << QByteArray("Prefeitura de S\xE3o Jos\xE9\tSC\t\r\n")
                            << QStringLiteral("Prefeitura de São José") << QStringLiteral("SC");
}

void TestPrincipal::municipalityFileOddShapes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, state);
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), bytes);
    QVERIFY(showWindow());
    QCOMPARE(w->edNome->text(), name);
    QCOMPARE(w->cbUF->currentText(), state);
    QCOMPARE(municipalityBytes(), bytes);
    QVERIFY(fake->messages.isEmpty());
}

void TestPrincipal::tabInTheName()
{
    QVERIFY(showWindow());
    w->edNome->setFocus(Qt::TabFocusReason);
    w->edNome->selectAll();
    w->edNome->insert(QStringLiteral("Vila\tNova")); // a pasted TAB
    QTest::keyClick(w->edNome, Qt::Key_Tab);
    QCOMPARE(w->edNome->text(), QStringLiteral("VilaNova"));
    QCOMPARE(municipalityBytes(), QByteArray("VilaNova\tUF\t\r\n"));
    w.reset();
    QVERIFY(showWindow());
    QCOMPARE(w->edNome->text(), QStringLiteral("VilaNova"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("UF"));
}

void TestPrincipal::lineBreakInAnOfficial()
{
    QVERIFY(showWindow());
    w->Prefeito->setFocus(Qt::TabFocusReason);
    w->Prefeito->insert(QStringLiteral("Ana\r\nMaria")); // pasted from two lines
    w->SecFin->setFocus(Qt::TabFocusReason);
    w->SecFin->insert(QStringLiteral("Rui\tBarbosa"));
    w->Contador->setFocus(Qt::TabFocusReason);
    QCOMPARE(w->Prefeito->text(), QStringLiteral("AnaMaria"));
    QCOMPARE(officialsBytes(), QByteArray("AnaMaria\r\nRui\tBarbosa\r\n\r\n\r\n"));
    w.reset();
    QVERIFY(showWindow());
    QCOMPARE(w->Prefeito->text(), QStringLiteral("AnaMaria"));
    QCOMPARE(w->SecFin->text(), QStringLiteral("Rui\tBarbosa"));
}

void TestPrincipal::focusReasonsThatAreNotLeaving_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("reason");
    for (const char *field : {"edNome", "Prefeito", "CRC"}) {
        QTest::addRow("%s dialog", field) << field << int(Qt::ActiveWindowFocusReason);
        QTest::addRow("%s popup", field) << field << int(Qt::PopupFocusReason);
        QTest::addRow("%s menu bar", field) << field << int(Qt::MenuBarFocusReason);
    }
}

void TestPrincipal::focusReasonsThatAreNotLeaving()
{
    QFETCH(QString, field);
    QFETCH(int, reason);
    QVERIFY(showWindow());
    auto *edit = w->findChild<QLineEdit *>(field);
    const QString file = dataPath(edit == w->edNome ? QStringLiteral("prefeitura.vqd")
                                                    : QStringLiteral("prefs.vqd"));
    typeInto(edit, QStringLiteral("abc"));
    QFocusEvent out(QEvent::FocusOut, Qt::FocusReason(reason));
    QApplication::sendEvent(edit, &out);
    QVERIFY(!QFileInfo::exists(file));
    // Moving on to another control afterwards is leaving.
    w->BitBtn3->setFocus(Qt::MouseFocusReason);
    QVERIFY(fileBytes(file).contains("abc"));
}

void TestPrincipal::dialogIsNotLeaving()
{
    QVERIFY(showWindow());
    typeInto(w->edNome, QStringLiteral(" Cima"));
    // A modal dialog takes the focus and gives it back.
    QVERIFY(whileOpen<THelp>(
        Help, [&] { w->Sobre1->trigger(); }, [](THelp *) {}));
    QVERIFY(!QFileInfo::exists(dir->file(QStringLiteral("dados"))));
    QVERIFY(reactivate());
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de Cima"));
    w->edNome->setFocus(Qt::ActiveWindowFocusReason);
    QTest::keyClick(w->edNome, Qt::Key_Tab);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de Cima\tUF\t\r\n"));
}

void TestPrincipal::profileReadOnlyOnce()
{
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), "Antes\tMG\t\r\n");
    putFile(dataPath(QStringLiteral("prefs.vqd")), "P\r\nS\r\nC\r\nR\r\n");
    QVERIFY(showWindow());
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), "Depois\tSP\t\r\n");
    putFile(dataPath(QStringLiteral("prefs.vqd")), "p\r\ns\r\nc\r\nr\r\n");
    QVERIFY(whileOpen<THelp>(
        Help, [&] { w->ToolButton6->click(); }, [](THelp *) {}));
    QVERIFY(whileOpen<TCadastro>(
        Cadastro, [&] { w->CNPJs1->trigger(); }, [](TCadastro *) {}));
    QVERIFY(reactivate());
    w->hide();
    w->show();
    QVERIFY(reactivate());
    QCOMPARE(w->edNome->text(), QStringLiteral("Antes"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MG"));
    QCOMPARE(w->Prefeito->text(), QStringLiteral("P"));
    QCOMPARE(w->CRC->text(), QStringLiteral("R"));
}

void TestPrincipal::unfitCharactersDroppedOnLeave_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("messages");
    QTest::newRow("euro kept") << "edNome"
                               << "Fundo €"
                               << "Fundo €" << QByteArray("Fundo \x80") << 0;
    QTest::newRow("arrow dropped") << "edNome"
                                   << "Rio → Mar"
                                   << "Rio  Mar" << QByteArray("Rio  Mar") << 1;
    QTest::newRow("emoji dropped") << "Prefeito"
                                   << "Zé 😀"
                                   << "Zé " << QByteArray("Z\xE9 ") << 1;
    QTest::newRow("decomposed accent") << "CRC"
                                       << "Jose\u0301"
                                       << "José" << QByteArray("Jos\xE9") << 0;
    QTest::newRow("several, one message") << "Contador"
                                          << "a→b😀c→"
                                          << "abc" << QByteArray("abc") << 1;
}

void TestPrincipal::unfitCharactersDroppedOnLeave()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QByteArray, line);
    QFETCH(int, messages);
    QVERIFY(showWindow());
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setFocus(Qt::TabFocusReason);
    edit->clear();
    edit->insert(typed);
    QVERIFY(fake->messages.isEmpty());
    w->BitBtn1->setFocus(Qt::MouseFocusReason);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(fake->messages.size(), messages);
    const QByteArray bytes =
        field == QStringLiteral("edNome") ? municipalityBytes() : officialsBytes();
    QVERIFY2(bytes.contains(line + (field == QStringLiteral("edNome") ? "\t" : "\r\n")),
             bytes.constData());
    QVERIFY(!bytes.contains('?'));
}

void TestPrincipal::unfitCharacterTypedInState()
{
    QVERIFY(showWindow());
    w->cbUF->setFocus(Qt::TabFocusReason);
    w->cbUF->lineEdit()->selectAll();
    QTest::keyClicks(w->cbUF, QStringLiteral("M"));
    w->cbUF->lineEdit()->insert(QStringLiteral("→"));
    QCOMPARE(fake->messages.size(), 1);
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("M"));
    QTest::keyClicks(w->cbUF, QStringLiteral("T"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MT"));
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tMT\t\r\n"));
}

void TestPrincipal::openers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("opens");
    QTest::addColumn<QString>("argument");
    QTest::newRow("Mensais1") << "Mensais1"
                              << "editor"
                              << "0";
    QTest::newRow("Bimestrais1") << "Bimestrais1"
                                 << "editor"
                                 << "1";
    QTest::newRow("Anuais1") << "Anuais1"
                             << "editor"
                             << "2";
    QTest::newRow("BitBtn1") << "BitBtn1"
                             << "editor"
                             << "0";
    QTest::newRow("BitBtn2") << "BitBtn2"
                             << "editor"
                             << "1";
    QTest::newRow("BitBtn3") << "BitBtn3"
                             << "editor"
                             << "2";
    QTest::newRow("CNPJs1") << "CNPJs1"
                            << "registry"
                            << "cnpj.vqd";
    QTest::newRow("Tributos1") << "Tributos1"
                               << "registry"
                               << "tributos.vqd";
    QTest::newRow("VoluntariasRepassadas1") << "VoluntariasRepassadas1"
                                            << "registry"
                                            << "repv.vqd";
    QTest::newRow("VoluntriasRecebidas1") << "VoluntriasRecebidas1"
                                          << "registry"
                                          << "recv.vqd";
    QTest::newRow("ConstitucionaisRecebidas1") << "ConstitucionaisRecebidas1"
                                               << "registry"
                                               << "recc.vqd";
    QTest::newRow("porUnidadeOramentria1") << "porUnidadeOramentria1"
                                           << "registry"
                                           << "unid.vqd";
    QTest::newRow("porFuno1") << "porFuno1"
                              << "registry"
                              << "func.vqd";
    QTest::newRow("porProgramaeSubPrograma1") << "porProgramaeSubPrograma1"
                                              << "registry"
                                              << "prog.vqd";
    QTest::newRow("porFontedeRecursos1") << "porFontedeRecursos1"
                                         << "registry"
                                         << "fonte.vqd";
    QTest::newRow("porGrupodeDespesa1") << "porGrupodeDespesa1"
                                        << "registry"
                                        << "grupo.vqd";
    QTest::newRow("paraBalano1") << "paraBalano1"
                                 << "registry"
                                 << "desp.vqd";
    QTest::newRow("Receitas1") << "Receitas1"
                               << "registry"
                               << "rec.vqd";
    QTest::newRow("Sobre1") << "Sobre1"
                            << "about"
                            << "";
    QTest::newRow("ToolButton6") << "ToolButton6"
                                 << "about"
                                 << "";
}

void TestPrincipal::openers()
{
    QFETCH(QString, control);
    QFETCH(QString, opens);
    QFETCH(QString, argument);
    putFile(dataPath(QStringLiteral("prefeitura.vqd")), "Prefeitura de Itu\tSP\t\r\n");
    QVERIFY(showWindow());
    std::function<void()> trigger;
    if (auto *action = w->findChild<QAction *>(control)) {
        trigger = [action] { action->trigger(); };
    } else {
        auto *button = w->findChild<QToolButton *>(control);
        QVERIFY2(button, qPrintable(control));
        trigger = [button] { QTest::mouseClick(button, Qt::LeftButton); };
    }
    bool seen = false;
    QString got;
    QString parentName;
    if (opens == QStringLiteral("editor")) {
        seen = whileOpen<TTribArrec>(TribArrec, trigger, [&](TTribArrec *editor) {
            // The category is the position in the editor's list of categories.
            got = QStringLiteral("%1|%2|%3")
                      .arg(editor->NomePrefeitura, editor->UF,
                           QString::number(editor->SubTitle->currentIndex()));
            parentName = editor->parentWidget() ? editor->parentWidget()->objectName() : QString();
        });
        QCOMPARE(got, QStringLiteral("Prefeitura de Itu|SP|") + argument);
        QVERIFY(!TribArrec);
    } else if (opens == QStringLiteral("registry")) {
        seen = whileOpen<TCadastro>(Cadastro, trigger, [&](TCadastro *registry) {
            got = registry->FileName;
            parentName =
                registry->parentWidget() ? registry->parentWidget()->objectName() : QString();
        });
        QCOMPARE(got, argument);
        QVERIFY(!Cadastro);
    } else {
        seen = whileOpen<THelp>(Help, trigger, [&](THelp *help) {
            got = help->objectName();
            parentName = help->parentWidget() ? help->parentWidget()->objectName() : QString();
        });
        QCOMPARE(got, QStringLiteral("Help"));
        QVERIFY(!Help);
    }
    QVERIFY(seen);
    QCOMPARE(parentName, QStringLiteral("Principal"));
    QVERIFY(w->isVisible());
    QVERIFY(fake->opened.isEmpty());
    // Closing the dialog leaves the fields as they were.
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura de Itu"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("SP"));
}

void TestPrincipal::editorGetsNameAsShownWithoutSaving()
{
    QVERIFY(showWindow());
    typeInto(w->edNome, QStringLiteral(" Baixo"));
    QString name;
    QString state;
    QVERIFY(whileOpen<TTribArrec>(
        TribArrec, [&] { w->Anuais1->trigger(); },
        [&](TTribArrec *editor) {
            name = editor->NomePrefeitura;
            state = editor->UF;
        }));
    QCOMPARE(name, QStringLiteral("Prefeitura Municipal de Baixo"));
    QCOMPARE(state, QStringLiteral("UF"));
    QVERIFY(!QFileInfo::exists(dataPath(QStringLiteral("prefeitura.vqd"))));
    // Only leaving the field saves it.
    QVERIFY(reactivate());
    w->edNome->setFocus(Qt::ActiveWindowFocusReason);
    w->Prefeito->setFocus(Qt::TabFocusReason);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de Baixo\tUF\t\r\n"));
}

void TestPrincipal::clickingATextButtonLeavesTheField()
{
    QVERIFY(showWindow());
    typeInto(w->edNome, QStringLiteral(" Cima"));
    QByteArray whileEditorOpen;
    QVERIFY(whileOpen<TTribArrec>(
        TribArrec, [&] { QTest::mouseClick(w->BitBtn2, Qt::LeftButton); },
        [&](TTribArrec *) { whileEditorOpen = municipalityBytes(); }));
    QCOMPARE(whileEditorOpen, QByteArray("Prefeitura Municipal de Cima\tUF\t\r\n"));
}

void TestPrincipal::editorReadsOfficialsAsLastSaved()
{
    QVERIFY(showWindow());
    typeInto(w->Prefeito, QStringLiteral("Ana"));
    typeInto(w->SecFin, QStringLiteral("Bia")); // leaves Prefeito: saved
    QStringList officials;
    QVERIFY(whileOpen<TTribArrec>(
        TribArrec, [&] { w->Mensais1->trigger(); },
        [&](TTribArrec *editor) {
            officials = QStringList{editor->Prefeito->text(), editor->SecFin->text()};
        }));
    QCOMPARE(officials, (QStringList{QStringLiteral("Ana"), QString()}));
    QCOMPARE(w->SecFin->text(), QStringLiteral("Bia"));
}

void TestPrincipal::siteButton()
{
    QVERIFY(showWindow());
    typeInto(w->Prefeito, QStringLiteral("Ana"));
    QTest::mouseClick(w->ToolButton10, Qt::LeftButton);
    QCOMPARE(fake->opened, QStringList{quelvara::vendor::kSite});
    // An icon button does not take the focus: the field was not left.
    QCOMPARE(QApplication::focusWidget(), w->Prefeito);
    QVERIFY(!QFileInfo::exists(dataPath(QStringLiteral("prefs.vqd"))));
}

void TestPrincipal::exitCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("Sair1") << "Sair1";
    QTest::newRow("ToolButton5") << "ToolButton5";
    QTest::newRow("close box") << "";
}

void TestPrincipal::exitCommands()
{
    QFETCH(QString, control);
    QVERIFY(showWindow());
    if (control == QStringLiteral("Sair1")) {
        w->Sair1->trigger();
    } else if (control == QStringLiteral("ToolButton5")) {
        QTest::mouseClick(w->ToolButton5, Qt::LeftButton);
    } else {
        QVERIFY(w->close());
    }
    QVERIFY(!w->isVisible());
    // Closing the main window ends the program (the start-up test runs the loop).
    QVERIFY(w->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(fake->questions.isEmpty());
    QVERIFY(!QFileInfo::exists(dir->file(QStringLiteral("dados"))));
}

void TestPrincipal::closingKeepsWhatWasTyped()
{
    QVERIFY(showWindow());
    typeInto(w->CRC, QStringLiteral("MG-1234"));
    w->Sair1->trigger();
    QCOMPARE(officialsBytes(), QByteArray("\r\n\r\n\r\nMG-1234\r\n"));
}

void TestPrincipal::closingSavesNothingUntouched()
{
    putFile(dataPath(QStringLiteral("prefs.vqd")), "P\nS\n");
    QVERIFY(showWindow());
    typeInto(w->edNome, QString());
    w->Prefeito->setFocus(Qt::TabFocusReason); // leaving saves the name
    QVERIFY(QFileInfo::exists(dataPath(QStringLiteral("prefeitura.vqd"))));
    w->Sair1->trigger();
    // Prefeito had the focus but was not typed into: its file stays as it was.
    QCOMPARE(officialsBytes(), QByteArray("P\nS\n"));
}

QTEST_MAIN(TestPrincipal)
#include "test_principal.moc"
