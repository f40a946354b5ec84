#include "Ucadastro.h"
#include "Uhelp.h"
#include "Uprincipal.h"
#include "Utribarrec.h"
#include "fakeplatform.h"
#include "layoutcheck.h"
#include "messages.h"
#include "textfile.h"
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
#include <optional>
#include <unistd.h>

namespace {

// Runs the trigger and tells which dialog it opened over which window, and with
// what: "editor name|state|category", "registry file" or "Help". What is to be
// looked at while the dialog is open is looked at before it is closed.
QString dialogOpenedBy(
    const std::function<void()> &trigger, const std::function<void()> &whileOpen = [] {})
{
    QString seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QDialog *open = nullptr;
        if (TribArrec && TribArrec->isVisible()) {
            // The category is the position in the editor's list of categories.
            open = TribArrec;
            seen = QStringLiteral("editor %1|%2|%3")
                       .arg(TribArrec->NomePrefeitura, TribArrec->UF)
                       .arg(TribArrec->SubTitle->currentIndex());
        } else if (Cadastro && Cadastro->isVisible()) {
            open = Cadastro;
            seen = QStringLiteral("registry ") + Cadastro->FileName;
        } else if (Help && Help->isVisible()) {
            open = Help;
            seen = Help->objectName();
        }
        if (open) {
            const QWidget *parent = open->parentWidget();
            seen += QStringLiteral(" over ") + (parent ? parent->objectName() : QString());
            whileOpen();
            open->reject();
        }
    });
    poll.start();
    trigger();
    return seen;
}

} // namespace

// Every test runs in a fresh working directory with the recording platform,
// and a fresh main window shown there; a test that needs profile files opens
// another one after writing them.
class TestPrincipal : public QObject {
    Q_OBJECT
private:
    std::optional<WindowSandbox> box;
    std::unique_ptr<TPrincipal> w;

    QString dataPath(const QString &name) const { return box->dir.file("dados/" + name); }
    QByteArray municipalityBytes() const { return fileBytes(dataPath("prefeitura.vqd")); }
    QByteArray officialsBytes() const { return fileBytes(dataPath("prefs.vqd")); }

    // Writes a file of the data directory by hand, as a user or an older program might have.
    bool put(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(dataPath(QString()));
        QFile file(dataPath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    // Writes the files, then shows a new main window in place of the old one.
    bool reopen(const QList<std::pair<QString, QByteArray>> &files = {})
    {
        w.reset();
        for (const auto &[name, bytes] : files) {
            if (!put(name, bytes)) {
                return false;
            }
        }
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
    void everythingFits_data();
    void everythingFits();

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
    void focusReasonsThatAreNotLeaving_data();
    void focusReasonsThatAreNotLeaving();
    void dialogIsNotLeaving();
    void profileReadOnlyOnce();
    void typedTextsFitTheFiles_data();
    void typedTextsFitTheFiles();
    void unfitCharacterTypedInState();

    void openers_data();
    void openers();
    void editorGetsNameAsShownWithoutSaving();
    void clickingATextButtonLeavesTheField();
    void editorReadsOfficialsAsLastSaved();
    void siteButton_data();
    void siteButton();
    void exitCommands_data();
    void exitCommands();
    void closingKeepsWhatWasTyped();
    void closingSavesNothingUntouched();
};

void TestPrincipal::init()
{
    box.emplace();
    QVERIFY(reopen());
}

void TestPrincipal::cleanup()
{
    w.reset();
    box.reset();
    QVERIFY(!Principal);
}

void TestPrincipal::windowLayout()
{
    QCOMPARE(Principal, w.get());
    QCOMPARE(w->objectName(), QStringLiteral("Principal"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Quelvara"));
    // The size it was drawn at, or wider where its tool bars need it.
    QVERIFY(w->width() >= 640 && w->height() >= 415);
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
    const struct {
        const char *name, *toolBar, *text, *hint;
        Qt::FocusPolicy focusPolicy;
    } rows[] = {
        {"BitBtn1", "ToolBar1", "Mensais", "Relatórios Mensais", Qt::ClickFocus},
        {"BitBtn2", "ToolBar1", "Bimestrais", "Relatórios Bimestrais", Qt::ClickFocus},
        {"BitBtn3", "ToolBar1", "Anuais", "Relatórios Anuais", Qt::ClickFocus},
        {"ToolButton10", "ToolBar1", "", "Site do Quelvara", Qt::TabFocus},
        {"ToolButton6", "ToolBar1", "", "Sobre...", Qt::TabFocus},
        {"ToolButton5", "ToolBar1", "", "Sair", Qt::TabFocus},
        {"edNome", "ToolBar2", "Prefeitura Municipal de", "Nome da Prefeitura", Qt::StrongFocus},
        {"cbUF", "ToolBar2", "UF", "Estado", Qt::WheelFocus},
        {"Label1", "ToolBar3", "Prefeito: ", "", Qt::NoFocus},
        {"Prefeito", "ToolBar3", "", "Nome do Prefeito", Qt::StrongFocus},
        {"Label2", "ToolBar3", "Sec. Finanças: ", "", Qt::NoFocus},
        {"SecFin", "ToolBar3", "", "Nome do Sec. Finanças", Qt::StrongFocus},
        {"Label3", "ToolBar4", "Contador: ", "", Qt::NoFocus},
        {"Contador", "ToolBar4", "", "Nome do Contador", Qt::StrongFocus},
        {"Label4", "ToolBar4", "CRC: ", "", Qt::NoFocus},
        {"CRC", "ToolBar4", "", "CRC do Contador", Qt::StrongFocus},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.toolBar)
                                << QString::fromUtf8(row.text) << QString::fromUtf8(row.hint)
                                << int(row.focusPolicy);
    }
}

void TestPrincipal::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, toolBar);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(int, focusPolicy);
    auto *control = w->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QVERIFY(control->isVisible());
    QCOMPARE(control->parentWidget()->objectName(), toolBar);
    QCOMPARE(control->toolTip(), hint);
    QCOMPARE(int(control->focusPolicy()), focusPolicy);
    if (auto *button = qobject_cast<QToolButton *>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->icon().isNull());
        // A screen reader names a picture by its hint.
        if (text.isEmpty()) {
            QCOMPARE(button->accessibleName(), hint);
        }
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        QCOMPARE(edit->text(), text);
        QVERIFY(!edit->accessibleName().isEmpty());
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        QCOMPARE(combo->currentText(), text);
    } else {
        QFAIL("unexpected kind of control");
    }
}

void TestPrincipal::toolBar1Order()
{
    const auto order = [this](const char *name) {
        const auto *bar = w->findChild<QToolBar *>(QString::fromLatin1(name));
        QStringList names;
        for (QAction *action : bar->actions()) {
            names.append(action->isSeparator() ? QStringLiteral("|")
                                               : bar->widgetForAction(action)->objectName());
        }
        return names;
    };
    QCOMPARE(order("ToolBar1"), (QStringList{"BitBtn1", "BitBtn2", "BitBtn3", "|", "ToolButton10",
                                             "ToolButton6", "|", "ToolButton5"}));
    QCOMPARE(order("ToolBar2"), (QStringList{"edNome", "|", "cbUF"}));
    // The pictures: site 7, about 6, exit 2.
    QCOMPARE(w->ToolButton10->icon().cacheKey(), w->ImageList.at(7).cacheKey());
    QCOMPARE(w->ToolButton6->icon().cacheKey(), w->ImageList.at(6).cacheKey());
    QCOMPARE(w->ToolButton5->icon().cacheKey(), w->ImageList.at(2).cacheKey());
}

void TestPrincipal::menus()
{
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
    // Each member is the entry of its name, so that its handler opens what the entry does.
    QStringList names;
    for (const QAction *member :
         {w->Mensais1, w->Bimestrais1, w->Anuais1, w->CNPJs1, w->Tributos1,
          w->VoluntariasRepassadas1, w->VoluntriasRecebidas1, w->ConstitucionaisRecebidas1,
          w->porUnidadeOramentria1, w->porFuno1, w->porProgramaeSubPrograma1,
          w->porFontedeRecursos1, w->porGrupodeDespesa1, w->paraBalano1, w->Receitas1,
          w->Transferencias1->menuAction(), w->Despesas1->menuAction()}) {
        names.append(member->objectName());
    }
    QCOMPARE(names,
             (QStringList{"Mensais1", "Bimestrais1", "Anuais1", "CNPJs1", "Tributos1",
                          "VoluntariasRepassadas1", "VoluntriasRecebidas1",
                          "ConstitucionaisRecebidas1", "porUnidadeOramentria1", "porFuno1",
                          "porProgramaeSubPrograma1", "porFontedeRecursos1", "porGrupodeDespesa1",
                          "paraBalano1", "Receitas1", "Transferencias1Item", "Despesas1Item"}));
    // The text buttons share the pictures of their menu entries.
    QCOMPARE(w->BitBtn1->icon().cacheKey(), w->ImageList.at(3).cacheKey());
    QCOMPARE(w->BitBtn2->icon().cacheKey(), w->ImageList.at(4).cacheKey());
    QCOMPARE(w->BitBtn3->icon().cacheKey(), w->ImageList.at(5).cacheKey());
}

void TestPrincipal::statusBar()
{
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
    w->edNome->setFocus(Qt::TabFocusReason);
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order, (QStringList{"edNome", "cbUF", "Prefeito", "SecFin", "Contador", "CRC"}));
    // Then the icon buttons, and round to the name again.
    for (const char *name : {"ToolButton10", "ToolButton6", "ToolButton5", "edNome"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(name));
    }
    // Each caption names its field to a screen reader.
    QCOMPARE(w->Prefeito->accessibleName(), QStringLiteral("Prefeito"));
    QCOMPARE(w->SecFin->accessibleName(), QStringLiteral("Sec. Finanças"));
    QCOMPARE(w->Contador->accessibleName(), QStringLiteral("Contador"));
    QCOMPARE(w->CRC->accessibleName(), QStringLiteral("CRC"));
    QCOMPARE(w->edNome->accessibleName(), QStringLiteral("Nome da Prefeitura"));
    QCOMPARE(w->cbUF->accessibleName(), QStringLiteral("Estado"));
}

void TestPrincipal::everythingFits_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("100%") << 1.0;
    QTest::newRow("125%") << 1.25;
    QTest::newRow("150%") << 1.5;
}

// Every caption, button and status panel whole and inside the window, with
// the sample profile, at the default font and at larger ones.
void TestPrincipal::everythingFits()
{
    QFETCH(qreal, scale);
    QVERIFY(copySampleData(box->dir));
    const ScaledFont font(scale);
    QVERIFY(reopen());
    QCOMPARE(layoutFaults(w.get()), QStringList());
    QCOMPARE(mnemonicClashes(w.get()), QStringList());
    // No tool bar hides a control behind its extension button.
    for (QToolBar *bar : w->findChildren<QToolBar *>()) {
        for (QAction *action : bar->actions()) {
            if (QWidget *control = bar->widgetForAction(action)) {
                QVERIFY2(control->isVisible(), qPrintable(control->objectName()));
            }
        }
    }
}

void TestPrincipal::firstStartWithoutData()
{
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("UF"));
    for (QLineEdit *field : {w->Prefeito, w->SecFin, w->Contador, w->CRC}) {
        QVERIFY(field->text().isEmpty());
    }
    QVERIFY(w->lbPrefeitura.isEmpty());
    QVERIFY(w->lbPrefs.isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(!QFileInfo::exists(box->dir.file("dados")));
    QVERIFY(box->fake.messages.isEmpty());
}

void TestPrincipal::leavingNameCreatesMunicipalityFile()
{
    w->edNome->setFocus(Qt::TabFocusReason);
    QVERIFY(!QFileInfo::exists(box->dir.file("dados")));
    QTest::keyClick(w->edNome, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w->cbUF);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tUF\t\r\n"));
    QCOMPARE(w->lbPrefeitura, QStringList{QStringLiteral("Prefeitura Municipal de\tUF\t")});
    // Only the municipality file: the officials were not left.
    QVERIFY(!QFileInfo::exists(dataPath("prefs.vqd")));
}

void TestPrincipal::typedNameSavedWhenLeftByMouse()
{
    w->edNome->setFocus(Qt::TabFocusReason);
    w->edNome->selectAll();
    w->edNome->insert(QStringLiteral("Prefeitura de São Tomé"));
    QVERIFY(!QFileInfo::exists(dataPath("prefeitura.vqd")));
    QTest::mouseClick(w->Prefeito, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w->Prefeito);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura de S\xE3o Tom\xE9\tUF\t\r\n"));
    QVERIFY(!QFileInfo::exists(dataPath("prefs.vqd")));
    QTest::mouseClick(w->edNome, Qt::LeftButton);
    QCOMPARE(officialsBytes(), QByteArray("\r\n\r\n\r\n\r\n"));
}

void TestPrincipal::everyStateChangeSaves()
{
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
    w->cbUF->setFocus(Qt::TabFocusReason);
    w->cbUF->lineEdit()->selectAll();
    QTest::keyClicks(w->cbUF, QStringLiteral("Minas Gerais"));
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tMinas Gerais\t\r\n"));
    QVERIFY(reopen());
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("Minas Gerais"));
    QCOMPARE(w->cbUF->count(), 27);
}

void TestPrincipal::loadingDoesNotSave()
{
    const QByteArray municipality("Prefeitura de Ouro Fino\tMG\t\nsegunda linha\n");
    const QByteArray officials("Ana\nBia\nCaio\n123/O\nquinta\n");
    QVERIFY(reopen({{"prefeitura.vqd", municipality}, {"prefs.vqd", officials}}));
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
    typeInto(w->Prefeito, QStringLiteral("José da Silva"));
    auto *left = w->findChild<QLineEdit *>(field);
    if (left != w->Prefeito) {
        QCOMPARE(officialsBytes(), QByteArray("<unreadable>"));
        left->setFocus(Qt::TabFocusReason); // leaving Prefeito saves already
        QCOMPARE(officialsBytes(), QByteArray("Jos\xE9 da Silva\r\n\r\n\r\n\r\n"));
        QFile::remove(dataPath("prefs.vqd"));
    }
    w->edNome->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(officialsBytes(), QByteArray("Jos\xE9 da Silva\r\n\r\n\r\n\r\n"));
    QCOMPARE(w->lbPrefs, (QStringList{QStringLiteral("José da Silva"), "", "", ""}));
}

void TestPrincipal::twoLineOfficialsFile()
{
    w.reset();
    QVERIFY(put("prefs.vqd", "Prefeito Um\r\nSecret\xE1ria Dois\r\n"));
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
    QVERIFY(QDir().mkpath(dataPath("prefs.vqd")));
    QVERIFY(put("prefeitura.vqd", "Vila Serena\tMG\t\r\n"));
    const bool asRoot = ::geteuid() == 0;
    if (!asRoot) {
        QVERIFY(QFile::setPermissions(dataPath("prefeitura.vqd"), QFileDevice::WriteOwner));
    }
    QVERIFY(reopen());
    QStringList expected{QStringLiteral("Não foi possível ler o arquivo ") +
                         QDir::toNativeSeparators(dataPath("prefs.vqd")) +
                         QStringLiteral(". Ele não será alterado.")};
    if (!asRoot) {
        expected.prepend(QStringLiteral("Não foi possível ler o arquivo ") +
                         QDir::toNativeSeparators(dataPath("prefeitura.vqd")) +
                         QStringLiteral(". Ele não será alterado."));
    }
    QCOMPARE(box->fake.messages, expected);

    typeInto(w->Prefeito, QStringLiteral("Outro"));
    w->edNome->setFocus(Qt::TabFocusReason);
    w->CRC->setFocus(Qt::TabFocusReason);
    QVERIFY(QFileInfo(dataPath("prefs.vqd")).isDir());
    if (!asRoot) {
        QVERIFY(QFile::setPermissions(dataPath("prefeitura.vqd"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(fileBytes(dataPath("prefeitura.vqd")), QByteArray("Vila Serena\tMG\t\r\n"));
    }
    QCOMPARE(box->fake.messages, expected); // told once, when read
}

void TestPrincipal::hugeProfileIsNeverWrittenOver()
{
    const QString path = dataPath(QStringLiteral("prefeitura.vqd"));
    QVERIFY(put(QStringLiteral("prefeitura.vqd"), "Vila Serena\tMG\t\r\n"));
    QVERIFY(QFile(path).resize(quelvara::kMaxFileSize + 1)); // sparse: costs no disk
    QVERIFY(reopen());
    QCOMPARE(box->fake.messages, QStringList{quelvara::msg::fileTooLarge(path)});
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de"));

    typeInto(w->edNome, QStringLiteral("Outra"));
    w->Prefeito->setFocus(Qt::TabFocusReason);
    QCOMPARE(QFileInfo(path).size(), quelvara::kMaxFileSize + 1);
    QCOMPARE(box->fake.messages.size(), 1);
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
    QVERIFY(reopen({{"prefeitura.vqd", bytes}}));
    QCOMPARE(w->edNome->text(), name);
    QCOMPARE(w->cbUF->currentText(), state);
    QCOMPARE(municipalityBytes(), bytes);
    QVERIFY(box->fake.messages.isEmpty());
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
    typeInto(w->edNome, QStringLiteral(" Cima"));
    // A modal dialog takes the focus and gives it back.
    QCOMPARE(dialogOpenedBy([&] { w->Sobre1->trigger(); }), QStringLiteral("Help over Principal"));
    QVERIFY(!QFileInfo::exists(box->dir.file("dados")));
    QVERIFY(reactivate());
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura Municipal de Cima"));
    w->edNome->setFocus(Qt::ActiveWindowFocusReason);
    QTest::keyClick(w->edNome, Qt::Key_Tab);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de Cima\tUF\t\r\n"));
}

void TestPrincipal::profileReadOnlyOnce()
{
    QVERIFY(reopen({{"prefeitura.vqd", "Antes\tMG\t\r\n"}, {"prefs.vqd", "P\r\nS\r\nC\r\nR\r\n"}}));
    QVERIFY(put("prefeitura.vqd", "Depois\tSP\t\r\n"));
    QVERIFY(put("prefs.vqd", "p\r\ns\r\nc\r\nr\r\n"));
    QVERIFY(!dialogOpenedBy([&] { w->ToolButton6->click(); }).isEmpty());
    QVERIFY(!dialogOpenedBy([&] { w->CNPJs1->trigger(); }).isEmpty());
    QVERIFY(reactivate());
    w->hide();
    w->show();
    QVERIFY(reactivate());
    QCOMPARE(w->edNome->text(), QStringLiteral("Antes"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MG"));
    QCOMPARE(w->Prefeito->text(), QStringLiteral("P"));
    QCOMPARE(w->CRC->text(), QStringLiteral("R"));
}

void TestPrincipal::typedTextsFitTheFiles_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("messages");
    const struct {
        const char *tag, *field, *typed, *kept, *file;
        int messages;
    } rows[] = {
        {"euro kept", "edNome", "Fundo €", "Fundo €", "Fundo \x80\tUF\t\r\n", 0},
        {"arrow dropped", "edNome", "Rio → Mar", "Rio  Mar", "Rio  Mar\tUF\t\r\n", 1},
        {"pasted TAB dropped", "edNome", "Vila\tNova", "VilaNova", "VilaNova\tUF\t\r\n", 0},
        {"emoji dropped", "Prefeito", "Zé 😀", "Zé ", "Z\xE9 \r\n\r\n\r\n\r\n", 1},
        {"pasted line break dropped", "Prefeito", "Ana\r\nMaria", "AnaMaria",
         "AnaMaria\r\n\r\n\r\n\r\n", 0},
        {"TAB kept in an official", "SecFin", "Rui\tBarbosa", "Rui\tBarbosa",
         "\r\nRui\tBarbosa\r\n\r\n\r\n", 0},
        {"several, one message", "Contador", "a→b😀c→", "abc", "\r\n\r\nabc\r\n\r\n", 1},
        {"decomposed accent", "CRC", "Jose\u0301", "José", "\r\n\r\n\r\nJos\xE9\r\n", 0},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.tag) << QString::fromUtf8(row.field) << QString::fromUtf8(row.typed)
                               << QString::fromUtf8(row.kept) << QByteArray(row.file)
                               << row.messages;
    }
}

// What is typed or pasted into a field is saved as its file can hold it, and read back so.
void TestPrincipal::typedTextsFitTheFiles()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QByteArray, file);
    QFETCH(int, messages);
    auto *edit = w->findChild<QLineEdit *>(field);
    edit->setFocus(Qt::TabFocusReason);
    edit->clear();
    edit->insert(typed);
    QVERIFY(box->fake.messages.isEmpty());
    w->BitBtn1->setFocus(Qt::MouseFocusReason);
    QCOMPARE(edit->text(), kept);
    QCOMPARE(box->fake.messages.size(), messages);
    QCOMPARE(field == QLatin1String("edNome") ? municipalityBytes() : officialsBytes(), file);
    QVERIFY(reopen());
    QCOMPARE(w->findChild<QLineEdit *>(field)->text(), kept);
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("UF"));
}

void TestPrincipal::unfitCharacterTypedInState()
{
    w->cbUF->setFocus(Qt::TabFocusReason);
    w->cbUF->lineEdit()->selectAll();
    QTest::keyClicks(w->cbUF, QStringLiteral("M"));
    w->cbUF->lineEdit()->insert(QStringLiteral("→"));
    QCOMPARE(box->fake.messages.size(), 1);
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("M"));
    QTest::keyClicks(w->cbUF, QStringLiteral("T"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("MT"));
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de\tMT\t\r\n"));
}

void TestPrincipal::openers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("opened");
    const char *const rows[][2] = {
        {"Mensais1", "editor Prefeitura de Itu|SP|0"},
        {"Bimestrais1", "editor Prefeitura de Itu|SP|1"},
        {"Anuais1", "editor Prefeitura de Itu|SP|2"},
        {"BitBtn1", "editor Prefeitura de Itu|SP|0"},
        {"BitBtn2", "editor Prefeitura de Itu|SP|1"},
        {"BitBtn3", "editor Prefeitura de Itu|SP|2"},
        {"CNPJs1", "registry cnpj.vqd"},
        {"Tributos1", "registry tributos.vqd"},
        {"VoluntariasRepassadas1", "registry repv.vqd"},
        {"VoluntriasRecebidas1", "registry recv.vqd"},
        {"ConstitucionaisRecebidas1", "registry recc.vqd"},
        {"porUnidadeOramentria1", "registry unid.vqd"},
        {"porFuno1", "registry func.vqd"},
        {"porProgramaeSubPrograma1", "registry prog.vqd"},
        {"porFontedeRecursos1", "registry fonte.vqd"},
        {"porGrupodeDespesa1", "registry grupo.vqd"},
        {"paraBalano1", "registry desp.vqd"},
        {"Receitas1", "registry rec.vqd"},
        {"Sobre1", "Help"},
        {"ToolButton6", "Help"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row[0]) << row[0] << row[1];
    }
}

void TestPrincipal::openers()
{
    QFETCH(QString, control);
    QFETCH(QString, opened);
    QVERIFY(reopen({{"prefeitura.vqd", "Prefeitura de Itu\tSP\t\r\n"}}));
    std::function<void()> trigger;
    if (auto *action = w->findChild<QAction *>(control)) {
        trigger = [action] { action->trigger(); };
    } else {
        auto *button = w->findChild<QToolButton *>(control);
        QVERIFY2(button, qPrintable(control));
        trigger = [button] { QTest::mouseClick(button, Qt::LeftButton); };
    }
    QCOMPARE(dialogOpenedBy(trigger), opened + QStringLiteral(" over Principal"));
    QVERIFY(!TribArrec && !Cadastro && !Help);
    QVERIFY(w->isVisible());
    QVERIFY(box->fake.opened.isEmpty());
    // Closing the dialog leaves the fields as they were.
    QCOMPARE(w->edNome->text(), QStringLiteral("Prefeitura de Itu"));
    QCOMPARE(w->cbUF->currentText(), QStringLiteral("SP"));
}

void TestPrincipal::editorGetsNameAsShownWithoutSaving()
{
    typeInto(w->edNome, QStringLiteral(" Baixo"));
    QCOMPARE(dialogOpenedBy([&] { w->Anuais1->trigger(); }),
             QStringLiteral("editor Prefeitura Municipal de Baixo|UF|2 over Principal"));
    QVERIFY(!QFileInfo::exists(dataPath("prefeitura.vqd")));
    // Only leaving the field saves it.
    QVERIFY(reactivate());
    w->edNome->setFocus(Qt::ActiveWindowFocusReason);
    w->Prefeito->setFocus(Qt::TabFocusReason);
    QCOMPARE(municipalityBytes(), QByteArray("Prefeitura Municipal de Baixo\tUF\t\r\n"));
}

void TestPrincipal::clickingATextButtonLeavesTheField()
{
    typeInto(w->edNome, QStringLiteral(" Cima"));
    QByteArray whileEditorOpen;
    QVERIFY(!dialogOpenedBy([&] { QTest::mouseClick(w->BitBtn2, Qt::LeftButton); },
                            [&] { whileEditorOpen = municipalityBytes(); })
                 .isEmpty());
    QCOMPARE(whileEditorOpen, QByteArray("Prefeitura Municipal de Cima\tUF\t\r\n"));
}

void TestPrincipal::editorReadsOfficialsAsLastSaved()
{
    typeInto(w->Prefeito, QStringLiteral("Ana"));
    typeInto(w->SecFin, QStringLiteral("Bia")); // leaves Prefeito: saved
    QStringList officials;
    const auto readOfficials = [&] {
        officials = {TribArrec->Prefeito->text(), TribArrec->SecFin->text()};
    };
    QVERIFY(!dialogOpenedBy([&] { w->Mensais1->trigger(); }, readOfficials).isEmpty());
    QCOMPARE(officials, (QStringList{QStringLiteral("Ana"), QString()}));
    QCOMPARE(w->SecFin->text(), QStringLiteral("Bia"));
}

void TestPrincipal::siteButton_data()
{
    QTest::addColumn<bool>("canOpen");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("opened") << true << QStringList{};
    // Without a browser the user learns the address to type in.
    QTest::newRow("no browser") << false
                                << QStringList{QStringLiteral("Não foi possível abrir o navegador. "
                                                              "Visite o site pelo endereço ") +
                                               quelvara::vendor::kSite};
}

void TestPrincipal::siteButton()
{
    QFETCH(bool, canOpen);
    QFETCH(QStringList, messages);
    box->fake.canOpen = canOpen;
    typeInto(w->Prefeito, QStringLiteral("Ana"));
    QTest::mouseClick(w->ToolButton10, Qt::LeftButton);
    QCOMPARE(box->fake.opened, QStringList{quelvara::vendor::kSite});
    QCOMPARE(box->fake.messages, messages);
    // An icon button does not take the focus: the field was not left.
    QCOMPARE(QApplication::focusWidget(), w->Prefeito);
    QVERIFY(!QFileInfo::exists(dataPath("prefs.vqd")));
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
    QVERIFY(box->fake.questions.isEmpty());
    QVERIFY(!QFileInfo::exists(box->dir.file("dados")));
}

void TestPrincipal::closingKeepsWhatWasTyped()
{
    typeInto(w->CRC, QStringLiteral("MG-1234"));
    w->Sair1->trigger();
    QCOMPARE(officialsBytes(), QByteArray("\r\n\r\n\r\nMG-1234\r\n"));
}

void TestPrincipal::closingSavesNothingUntouched()
{
    QVERIFY(reopen({{"prefs.vqd", "P\nS\n"}}));
    typeInto(w->edNome, QString());
    w->Prefeito->setFocus(Qt::TabFocusReason); // leaving saves the name
    QVERIFY(QFileInfo::exists(dataPath("prefeitura.vqd")));
    w->Sair1->trigger();
    // Prefeito had the focus but was not typed into: its file stays as it was.
    QCOMPARE(officialsBytes(), QByteArray("P\nS\n"));
}

QTEST_MAIN(TestPrincipal)
#include "test_principal.moc"
