#include "Uprincipal.h"

#include "Ucadastro.h"
#include "Uhelp.h"
#include "Utribarrec.h"
#include "catalogue.h"
#include "drawnicon.h"
#include "focuswatch.h"
#include "keyboard.h"
#include "messages.h"
#include "platform.h"
#include "profile.h"
#include "textfile.h"
#include "toolicons.h"
#include "vendor.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <iterator>

TPrincipal *Principal = nullptr;

using namespace quelvara;

namespace quelvara {

const QStringList &brazilianStates()
{
    static const QStringList states{
        QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AM"), QStringLiteral("AP"),
        QStringLiteral("BA"), QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"),
        QStringLiteral("GO"), QStringLiteral("MA"), QStringLiteral("MG"), QStringLiteral("MS"),
        QStringLiteral("MT"), QStringLiteral("PA"), QStringLiteral("PB"), QStringLiteral("PE"),
        QStringLiteral("PI"), QStringLiteral("PR"), QStringLiteral("RJ"), QStringLiteral("RN"),
        QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("RS"), QStringLiteral("SC"),
        QStringLiteral("SE"), QStringLiteral("SP"), QStringLiteral("TO")};
    return states;
}

QList<QIcon> makeImageList()
{
    QList<QIcon> icons;
    for (int index = 0; index < kToolIconCount; ++index) {
        icons.append(
            drawnIcon([index](int side) { return QPixmap::fromImage(bakedToolIcon(index, side)); },
                      {std::begin(kToolIconSides), std::end(kToolIconSides)}));
    }
    return icons;
}

} // namespace quelvara

TPrincipal::TPrincipal(QWidget *parent)
    : QMainWindow(parent)
{
    Principal = this;
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(vendor::kProductName);
    ImageList = makeImageList();

    buildMenus();
    buildToolBars();
    buildStatusBar();

    // The empty grey client area.
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setAutoFillBackground(true);
    client->setBackgroundRole(QPalette::Window);
    setCentralWidget(client);

    focusWatch_ = new FocusWatch(this);
    for (QWidget *field : {static_cast<QWidget *>(edNome), static_cast<QWidget *>(Prefeito),
                           static_cast<QWidget *>(SecFin), static_cast<QWidget *>(Contador),
                           static_cast<QWidget *>(CRC)}) {
        focusWatch_->watch(field);
    }
    connect(focusWatch_, &FocusWatch::left, this, &TPrincipal::fieldLeft);

    // Only the user's own changes of the state save it: typing, or choosing an entry.
    connect(cbUF->lineEdit(), &QLineEdit::textEdited, this, &TPrincipal::cbUFEdited);
    connect(cbUF, &QComboBox::textActivated, this, &TPrincipal::cbUFEdited);

    setTabOrder(edNome, cbUF);
    setTabOrder(cbUF, Prefeito);
    setTabOrder(Prefeito, SecFin);
    setTabOrder(SecFin, Contador);
    setTabOrder(Contador, CRC);
    // Then the icon buttons, which no menu entry reaches all of.
    setTabOrder(CRC, ToolButton10);
    setTabOrder(ToolButton10, ToolButton6);
    setTabOrder(ToolButton6, ToolButton5);

    // The size it was drawn at, or wider where the tool bars need it at the
    // font in use: no field or caption is pushed out of sight.
    int toolBarWidth = 0;
    for (const QToolBar *bar : {ToolBar1, ToolBar2, ToolBar3, ToolBar4}) {
        toolBarWidth = std::max(toolBarWidth, bar->sizeHint().width());
    }
    const QSize need = minimumSizeHint().expandedTo(QSize(toolBarWidth, 0));
    resize(need.expandedTo(QSize(640, 415)));
    if (const QScreen *screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(width() / 2, height() / 2));
    }
}

TPrincipal::~TPrincipal()
{
    // The children outlive this body: a focus change while they are torn
    // down must not reach the handlers of a window already half destroyed.
    focusWatch_->disconnect(this);
    cbUF->disconnect(this);
    cbUF->lineEdit()->disconnect(this);
    if (Principal == this) {
        Principal = nullptr;
    }
}

void TPrincipal::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    auto entry = [this](QMenu *menu, const char *name, const QString &text, const QString &hint,
                        int icon, void (TPrincipal::*handler)()) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty()) {
            action->setToolTip(hint);
        }
        if (icon >= 0) {
            action->setIcon(ImageList.at(icon));
        }
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto submenu = [this](QMenu *parentMenu, const char *name, const QString &title, int icon) {
        QMenu *menu = parentMenu->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name) + QStringLiteral("Item"));
        menu->setToolTipsVisible(true);
        if (icon >= 0) {
            menu->setIcon(ImageList.at(icon));
        }
        return menu;
    };
    auto topMenu = [bar](const char *name, const QString &title) {
        QMenu *menu = bar->addMenu(title);
        menu->setObjectName(QString::fromLatin1(name));
        menu->setToolTipsVisible(true);
        return menu;
    };

    // One entry a report category, hinted by its name (icons 3 to 5); the tool
    // bar's text buttons run the same actions.
    const struct {
        const char *name;
        QString text;
        QAction *TPrincipal::*action;
        void (TPrincipal::*handler)();
    } reports[] = {
        {"Mensais1", QStringLiteral("&Mensais"), &TPrincipal::Mensais1, &TPrincipal::Mensais1Click},
        {"Bimestrais1", QStringLiteral("&Bimestrais"), &TPrincipal::Bimestrais1,
         &TPrincipal::Bimestrais1Click},
        {"Anuais1", QStringLiteral("A&nuais"), &TPrincipal::Anuais1, &TPrincipal::Anuais1Click},
    };
    Relatorios1 = topMenu("Relatorios1", QStringLiteral("&Relatórios"));
    for (const CategoryInfo &category : categories()) {
        const int n = int(category.category);
        this->*reports[n].action = entry(Relatorios1, reports[n].name, reports[n].text,
                                         category.name, 3 + n, reports[n].handler);
    }

    // One entry a registry, in the catalogue's order, named and placed by it;
    // each carries its file for its handler. A submenu opens at its first entry.
    const struct {
        QAction *TPrincipal::*action;
        void (TPrincipal::*handler)();
    } registryEntries[] = {
        {&TPrincipal::CNPJs1, &TPrincipal::CNPJs1Click},
        {&TPrincipal::Tributos1, &TPrincipal::Tributos1Click},
        {&TPrincipal::VoluntariasRepassadas1, &TPrincipal::VoluntariasRepassadas1Click},
        {&TPrincipal::VoluntriasRecebidas1, &TPrincipal::VoluntriasRecebidas1Click},
        {&TPrincipal::ConstitucionaisRecebidas1, &TPrincipal::ConstitucionaisRecebidas1Click},
        {&TPrincipal::porUnidadeOramentria1, &TPrincipal::porUnidadeOramentria1Click},
        {&TPrincipal::porFuno1, &TPrincipal::porFuno1Click},
        {&TPrincipal::porProgramaeSubPrograma1, &TPrincipal::porProgramaeSubPrograma1Click},
        {&TPrincipal::porFontedeRecursos1, &TPrincipal::porFontedeRecursos1Click},
        {&TPrincipal::porGrupodeDespesa1, &TPrincipal::porGrupodeDespesa1Click},
        {&TPrincipal::paraBalano1, &TPrincipal::paraBalano1Click},
        {&TPrincipal::Receitas1, &TPrincipal::Receitas1Click},
    };
    const struct {
        QMenu *TPrincipal::*menu;
        const char *name;
        QString title;
    } places[] = {
        {&TPrincipal::Cadastro1, "Cadastro1", QStringLiteral("&Cadastro")},
        {&TPrincipal::Transferencias1, "Transferencias1", QStringLiteral("Transferências")},
        {&TPrincipal::Despesas1, "Despesas1", QStringLiteral("Despesas")},
    };
    Q_ASSERT(registries().size() == qsizetype(std::size(registryEntries)));
    const qsizetype count = std::min(registries().size(), qsizetype(std::size(registryEntries)));
    Cadastro1 = topMenu(places[0].name, places[0].title);
    for (qsizetype i = 0; i < count; ++i) {
        const RegistryInfo &registry = registries().at(i);
        const auto &place = places[int(registry.submenu)];
        QMenu *&menu = this->*place.menu;
        if (registry.lineBefore) {
            (menu ? menu : Cadastro1)->addSeparator();
        }
        if (!menu) {
            menu = submenu(Cadastro1, place.name, place.title, 1);
        }
        QAction *action = entry(menu, qPrintable(registry.actionName), registry.menuEntry,
                                QString(), menu == Cadastro1 ? 0 : -1, registryEntries[i].handler);
        action->setData(registry.file);
        this->*registryEntries[i].action = action;
    }

    Ajuda1 = topMenu("Ajuda1", QStringLiteral("A&juda"));
    Sobre1 = entry(Ajuda1, "Sobre1", QStringLiteral("&Sobre..."), QStringLiteral("Sobre..."), 6,
                   &TPrincipal::Sobre1Click);

    // "&Sair" sits on the menu bar itself and acts at once.
    Sair1 = bar->addAction(QStringLiteral("&Sair"));
    Sair1->setObjectName(QStringLiteral("Sair1"));
    Sair1->setToolTip(QStringLiteral("Sair"));
    connect(Sair1, &QAction::triggered, this, &TPrincipal::Sair1Click);
}

void TPrincipal::buildToolBars()
{
    auto toolBar = [this](const char *name) {
        auto *bar = new QToolBar(this);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setWindowTitle(QString::fromLatin1(name));
        bar->setMovable(false);
        bar->setFloatable(false);
        return bar;
    };
    // A button with the text and picture of a menu entry, whose action it runs.
    // It is outside the tab order but takes the focus when clicked, so clicking
    // it leaves the field being edited.
    auto textButton = [](QToolBar *bar, const char *name, QAction *action) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setFocusPolicy(Qt::ClickFocus);
        bar->addWidget(button);
        return button;
    };
    // An icon button: clicking it does not take the focus from the field
    // being edited, Tab reaches it, and a screen reader names it by its hint.
    auto iconButton = [this](QToolBar *bar, const char *name, const QString &hint, int icon,
                             void (TPrincipal::*handler)()) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setIcon(ImageList.at(icon));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QToolButton::clicked, this, handler);
        bar->addWidget(button);
        return button;
    };
    auto field = [](QToolBar *bar, const char *name, const QString &hint, int width) {
        auto *edit = new QLineEdit(bar);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setToolTip(hint);
        edit->setFixedWidth(width);
        bar->addWidget(edit);
        return edit;
    };
    auto label = [](QToolBar *bar, const char *name, const QString &text) {
        auto *caption = new QLabel(text, bar);
        caption->setObjectName(QString::fromLatin1(name));
        bar->addWidget(caption);
        return caption;
    };
    // A caption names the field that follows it to a screen reader.
    auto captionOf = [](QLabel *caption, QWidget *field) {
        caption->setBuddy(field);
        field->setAccessibleName(accessibleText(caption->text()));
    };

    ToolBar1 = toolBar("ToolBar1");
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    BitBtn1 = textButton(ToolBar1, "BitBtn1", Mensais1);
    BitBtn2 = textButton(ToolBar1, "BitBtn2", Bimestrais1);
    BitBtn3 = textButton(ToolBar1, "BitBtn3", Anuais1);
    ToolBar1->addSeparator();
    ToolButton10 =
        iconButton(ToolBar1, "ToolButton10", QStringLiteral("Site do ") + vendor::kProductName, 7,
                   &TPrincipal::ToolButton10Click);
    ToolButton6 = iconButton(ToolBar1, "ToolButton6", QStringLiteral("Sobre..."), 6,
                             &TPrincipal::Sobre1Click);
    ToolBar1->addSeparator();
    ToolButton5 =
        iconButton(ToolBar1, "ToolButton5", QStringLiteral("Sair"), 2, &TPrincipal::Sair1Click);

    addToolBarBreak(Qt::TopToolBarArea);
    ToolBar2 = toolBar("ToolBar2");
    addToolBar(Qt::TopToolBarArea, ToolBar2);
    edNome = field(ToolBar2, "edNome", QStringLiteral("Nome da Prefeitura"), 473);
    edNome->setText(QStringLiteral("Prefeitura Municipal de"));
    ToolBar2->addSeparator();
    cbUF = new QComboBox(ToolBar2);
    cbUF->setObjectName(QStringLiteral("cbUF"));
    cbUF->setToolTip(QStringLiteral("Estado"));
    // What the user types is what is saved: no completion, no typed entry added
    // to the list. Made editable with a line edit of its own that comes with a
    // bare completer (removed at once, and deleted by its line edit), the box
    // builds neither a completer over its list nor its pop-up list before it
    // is first opened.
    auto *ufEdit = new QLineEdit(cbUF);
    ufEdit->setPalette(cbUF->palette());
    ufEdit->setCompleter(new QCompleter(ufEdit));
    cbUF->setLineEdit(ufEdit);
    cbUF->setCompleter(nullptr);
    cbUF->setInsertPolicy(QComboBox::NoInsert);
    cbUF->setMaxVisibleItems(brazilianStates().size());
    cbUF->addItems(brazilianStates());
    cbUF->setCurrentIndex(-1);
    cbUF->setEditText(QStringLiteral("UF"));
    cbUF->setMinimumContentsLength(4);
    ToolBar2->addWidget(cbUF);

    edNome->setAccessibleName(edNome->toolTip());
    cbUF->setAccessibleName(cbUF->toolTip());

    ToolBar3 = toolBar("ToolBar3");
    QLabel *caption = label(ToolBar3, "Label1", QStringLiteral("Prefeito: "));
    Prefeito = field(ToolBar3, "Prefeito", QStringLiteral("Nome do Prefeito"), 220);
    captionOf(caption, Prefeito);
    ToolBar3->addSeparator();
    caption = label(ToolBar3, "Label2", QStringLiteral("Sec. Finanças: "));
    SecFin = field(ToolBar3, "SecFin", QStringLiteral("Nome do Sec. Finanças"), 220);
    captionOf(caption, SecFin);
    ToolBar4 = toolBar("ToolBar4");
    caption = label(ToolBar4, "Label3", QStringLiteral("Contador: "));
    Contador = field(ToolBar4, "Contador", QStringLiteral("Nome do Contador"), 220);
    captionOf(caption, Contador);
    ToolBar4->addSeparator();
    caption = label(ToolBar4, "Label4", QStringLiteral("CRC: "));
    CRC = field(ToolBar4, "CRC", QStringLiteral("CRC do Contador"), 140);
    captionOf(caption, CRC);

    // The bottom area fills from the window's edge up: ToolBar4 goes in first
    // so that it lies below ToolBar3.
    addToolBar(Qt::BottomToolBarArea, ToolBar4);
    addToolBarBreak(Qt::BottomToolBarArea);
    addToolBar(Qt::BottomToolBarArea, ToolBar3);
}

void TPrincipal::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    // Permanent panels: a menu entry's status tip never hides them.
    StatusPanel1 = new QLabel(vendor::kProductName + QStringLiteral(" - ") + vendor::kPhone, bar);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    // 200 pixels wide as drawn, or what its text needs at the font in use.
    StatusPanel1->setMinimumWidth(std::max(200, StatusPanel1->sizeHint().width()));
    StatusPanel2 = new QLabel(vendor::kSite, bar);
    StatusPanel2->setObjectName(QStringLiteral("StatusPanel2"));
    bar->addPermanentWidget(StatusPanel1);
    bar->addPermanentWidget(StatusPanel2, 1);
}

void TPrincipal::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The profile is read before the user can touch a field, whether or not
    // the window manager makes the window active.
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

void TPrincipal::closeEvent(QCloseEvent *event)
{
    // A field typed into and not left yet would otherwise be lost with the window.
    QWidget *focus = focusWidget();
    if (focus == edNome && edNome->isModified()) {
        edNomeExit();
    } else if ((focus == Prefeito && Prefeito->isModified()) ||
               (focus == SecFin && SecFin->isModified()) ||
               (focus == Contador && Contador->isModified()) ||
               (focus == CRC && CRC->isModified())) {
        PrefeitoExit();
    }
    QMainWindow::closeEvent(event);
}

void TPrincipal::FormActivate()
{
    lbPrefeitura = readProfile(kMunicipalityFile);
    if (const std::optional<Municipality> municipality = municipalityFromLines(lbPrefeitura)) {
        edNome->setText(municipality->name);
        cbUF->setCurrentIndex(cbUF->findText(municipality->state, Qt::MatchExactly));
        cbUF->setEditText(municipality->state);
    }

    lbPrefs = readProfile(kOfficialsFile);
    const QStringList officials = officialsFromLines(lbPrefs);
    QLineEdit *const fields[] = {Prefeito, SecFin, Contador, CRC};
    for (qsizetype i = 0; i < officials.size(); ++i) {
        fields[i]->setText(officials.at(i));
    }
}

QStringList TPrincipal::readProfile(const QString &fileName)
{
    const TextLines read = readProfileFile(fileName);
    if (read.status == ReadStatus::Unreadable) {
        unreadableFiles_.append(fileName);
        const QString path = dataFile(fileName);
        platform().showMessage(this,
                               read.tooLarge ? msg::fileTooLarge(path) : msg::profileNotRead(path));
    }
    return read.lines;
}

// A profile that could not be saved is said at once: the fields keep the
// texts, but the file does not have them, and the next start would not.
void TPrincipal::saveProfile(const QString &fileName, const QStringList &lines)
{
    if (const FileResult saved = writeProfileFile(fileName, lines); !saved.ok()) {
        platform().showMessage(this, saved.message());
    }
}

QString TPrincipal::acceptField(QLineEdit *field, QString (*clean)(const QString &))
{
    const QString text = field->text();
    const QString accepted = acceptTyped(this, clean(text));
    if (accepted != text) {
        // Keep the cursor where the user left it, less what went before it.
        const int removed = int(text.size() - accepted.size());
        const int cursor = std::clamp(field->cursorPosition() - removed, 0, int(accepted.size()));
        const bool modified = field->isModified();
        field->setText(accepted);
        field->setModified(modified);
        field->setCursorPosition(cursor);
    }
    return accepted;
}

void TPrincipal::edNomeExit()
{
    const QString name = acceptField(edNome, municipalityText);
    const QString state = acceptField(cbUF->lineEdit(), municipalityText);
    lbPrefeitura = municipalityLines(name, state);
    if (mayWrite(kMunicipalityFile)) {
        saveProfile(kMunicipalityFile, lbPrefeitura);
    }
    edNome->setModified(false);
}

void TPrincipal::PrefeitoExit() { SaveOfficials(); }

void TPrincipal::SaveOfficials()
{
    QStringList officials;
    for (QLineEdit *field : {Prefeito, SecFin, Contador, CRC}) {
        officials.append(acceptField(field, officialText));
        field->setModified(false);
    }
    lbPrefs = officialsLines(officials);
    if (mayWrite(kOfficialsFile)) {
        saveProfile(kOfficialsFile, lbPrefs);
    }
}

void TPrincipal::fieldLeft(QWidget *field)
{
    // Leaving means the focus went to another control of this window. When
    // the window is hidden or closed the focus goes nowhere: not a leave.
    const QWidget *now = QApplication::focusWidget();
    if (!now || now == field || now->window() != this) {
        return;
    }
    if (field == edNome) {
        edNomeExit();
    } else {
        PrefeitoExit();
    }
}

void TPrincipal::cbUFEdited() { edNomeExit(); }

void TPrincipal::OpenReportEditor(int category)
{
    // The editor gets the name and state as shown, saved or not; only
    // characters that no file could hold are taken out first.
    acceptField(edNome, municipalityText);
    acceptField(cbUF->lineEdit(), municipalityText);
    openReportEditor(this, category, edNome->text(), cbUF->currentText());
}

void TPrincipal::OpenRegistry(const QString &fileName) { openRegistry(this, fileName); }

void TPrincipal::openRegistryOf(const QAction *entry) { OpenRegistry(entry->data().toString()); }

void TPrincipal::Mensais1Click() { OpenReportEditor(0); }
void TPrincipal::Bimestrais1Click() { OpenReportEditor(1); }
void TPrincipal::Anuais1Click() { OpenReportEditor(2); }
void TPrincipal::CNPJs1Click() { openRegistryOf(CNPJs1); }
void TPrincipal::Tributos1Click() { openRegistryOf(Tributos1); }
void TPrincipal::VoluntariasRepassadas1Click() { openRegistryOf(VoluntariasRepassadas1); }
void TPrincipal::VoluntriasRecebidas1Click() { openRegistryOf(VoluntriasRecebidas1); }
void TPrincipal::ConstitucionaisRecebidas1Click() { openRegistryOf(ConstitucionaisRecebidas1); }
void TPrincipal::porUnidadeOramentria1Click() { openRegistryOf(porUnidadeOramentria1); }
void TPrincipal::porFuno1Click() { openRegistryOf(porFuno1); }
void TPrincipal::porProgramaeSubPrograma1Click() { openRegistryOf(porProgramaeSubPrograma1); }
void TPrincipal::porFontedeRecursos1Click() { openRegistryOf(porFontedeRecursos1); }
void TPrincipal::porGrupodeDespesa1Click() { openRegistryOf(porGrupodeDespesa1); }
void TPrincipal::paraBalano1Click() { openRegistryOf(paraBalano1); }
void TPrincipal::Receitas1Click() { openRegistryOf(Receitas1); }
void TPrincipal::Sobre1Click() { showAbout(this); }
void TPrincipal::Sair1Click() { close(); }
void TPrincipal::ToolButton10Click()
{
    if (!platform().openAddress(vendor::kSite)) {
        platform().showMessage(this, msg::cannotOpenSite(vendor::kSite));
    }
}
