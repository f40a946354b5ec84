#include "Uhelp.h"
#include "Uprincipal.h"
#include "application.h"
#include "fakeplatform.h"
#include "folderlock.h"
#include "messages.h"
#include "platform.h"
#include "vendor.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QSysInfo>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <new>
#include <stdexcept>

using namespace quelvara;

namespace {

const QEvent::Type kThrowRuntime = QEvent::Type(QEvent::User + 1);
const QEvent::Type kThrowInt = QEvent::Type(QEvent::User + 2);
const QEvent::Type kThrowBadAlloc = QEvent::Type(QEvent::User + 3);
const QEvent::Type kCount = QEvent::Type(QEvent::User + 4);

// An object whose handler fails on some events and counts the others.
class Thrower : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent *event) override
    {
        switch (int(event->type())) {
        case kThrowRuntime:
            throw std::runtime_error("Não foi possível ler a data «31/02»");
        case kThrowInt:
            throw 42;
        case kThrowBadAlloc:
            throw std::bad_alloc();
        case kCount:
            ++handled;
            return true;
        default:
            return QObject::event(event);
        }
    }
};

// A platform whose error box itself meets a failing handler, as a repaint of
// the window below the box would.
class FailingWhileShowing final : public Platform {
public:
    explicit FailingWhileShowing(Thrower *thrower)
        : thrower_(thrower)
    {
        setPlatform(this);
    }
    ~FailingWhileShowing() override { setPlatform(nullptr); }
    void showMessage(QWidget *, const QString &) override {}
    void showError(QWidget *, const QString &text) override
    {
        errors.append(text);
        QEvent again(kThrowRuntime);
        QCoreApplication::sendEvent(thrower_, &again);
    }
    bool askYesNo(QWidget *, const QString &, const QString &) override { return false; }
    bool openAddress(const QString &) override { return true; }
    QStringList errors;

private:
    Thrower *thrower_;
};

// What a message box looked like while it was open.
struct SeenBox {
    bool seen = false;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Reads the modal message box once it is open, then presses the button with the given role.
void readBoxThenPress(SeenBox *seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        seen->seen = true;
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton *button : box->buttons()) {
            seen->buttons.append(button->text());
        }
        seen->buttons.sort();
        box->button(press)->click();
    });
}

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void titleAndTranslations();
    void captionsAreNotSuffixed();
    void errorInHandlerIsShownAndLoopGoesOn_data();
    void errorInHandlerIsShownAndLoopGoesOn();
    void errorInSlotOfAClick();
    void errorWhileShowingAnErrorDoesNotNest();
    void desktopMessageBoxes();
    void desktopQuestion_data();
    void desktopQuestion();
    void acceptTyped_data();
    void acceptTyped();
    void mainWindowIsTheOnlyWindowAtStartUp();
    void extensionButtonsShowTheStylesPictures();
    void panelsAndToolBarsLookAsTheBaseStyleDrawsThem();
    void desktopOpenAddress_data();
    void desktopOpenAddress();
    void everyWindowShowsTheProgramIcon();
    void secondCopyInTheFolderEndsWithoutAWindow();
    void startUpRemovesWhatKilledSavesLeft();
};

void TestApplication::titleAndTranslations()
{
    QCOMPARE(QApplication::applicationDisplayName(), vendor::kAppTitle);
    auto *app = qobject_cast<Application *>(QCoreApplication::instance());
    QVERIFY(app);
    QVERIFY2(app->hasQtTranslations(), "qtbase_pt_BR not found");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Sim"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Não"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
}

void TestApplication::captionsAreNotSuffixed()
{
    // A display name set apart from the application's name is appended by the
    // window system to every caption ("Cadastro — Quelvara"); the title must
    // come from the name alone, so that a dialog reads exactly its caption.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("sonda"));
    const QString display = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    QCOMPARE(display, QStringLiteral("sonda"));
}

void TestApplication::errorInHandlerIsShownAndLoopGoesOn_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("runtime_error")
        << int(kThrowRuntime) << QStringLiteral("Não foi possível ler a data «31/02»");
    QTest::newRow("not an exception class")
        << int(kThrowInt) << QStringLiteral("Erro desconhecido.");
    QTest::newRow("bad_alloc") << int(kThrowBadAlloc) << QString::fromUtf8(std::bad_alloc().what());
}

void TestApplication::errorInHandlerIsShownAndLoopGoesOn()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    FakePlatform fake;
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(type)));
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::processEvents();
    QCOMPARE(fake.errors, QStringList{message});
    QCOMPARE(thrower.handled, 2);
    QVERIFY(fake.messages.isEmpty());
}

void TestApplication::errorInSlotOfAClick()
{
    FakePlatform fake;
    QWidget window;
    auto *failing = new QPushButton(QStringLiteral("Falha"), &window);
    auto *working = new QPushButton(QStringLiteral("Funciona"), &window);
    working->move(0, 40);
    int clicks = 0;
    connect(failing, &QPushButton::clicked, [] { throw std::runtime_error("Arquivo inválido"); });
    connect(working, &QPushButton::clicked, [&clicks] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseClick(failing, Qt::LeftButton);
    QCOMPARE(fake.errors, QStringList{QStringLiteral("Arquivo inválido")});
    QTest::mouseClick(working, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QTest::mouseClick(failing, Qt::LeftButton);
    QCOMPARE(fake.errors.size(), 2);
}

void TestApplication::errorWhileShowingAnErrorDoesNotNest()
{
    Thrower thrower;
    FailingWhileShowing failing(&thrower);
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowRuntime));
    QCoreApplication::postEvent(&thrower, new QEvent(kCount));
    QCoreApplication::processEvents();
    QCOMPARE(failing.errors.size(), 1);
    QCOMPARE(thrower.handled, 1);
    // A later error is shown again.
    QCoreApplication::postEvent(&thrower, new QEvent(kThrowInt));
    QCoreApplication::processEvents();
    QCOMPARE(failing.errors.size(), 2);
}

void TestApplication::desktopMessageBoxes()
{
    SeenBox message;
    readBoxThenPress(&message, QMessageBox::Ok);
    platform().showMessage(nullptr, QStringLiteral("Não foi possivel criar o arquivo /x"));
    QVERIFY(message.seen);
    QCOMPARE(message.caption, vendor::kAppTitle);
    QCOMPARE(message.text, QStringLiteral("Não foi possivel criar o arquivo /x"));
    QCOMPARE(message.icon, QMessageBox::NoIcon);
    QCOMPARE(message.buttons, QStringList{QStringLiteral("OK")});

    SeenBox error;
    readBoxThenPress(&error, QMessageBox::Ok);
    platform().showError(nullptr, QStringLiteral("Erro desconhecido."));
    QVERIFY(error.seen);
    QCOMPARE(error.caption, vendor::kAppTitle);
    QCOMPARE(error.icon, QMessageBox::Critical);
    QCOMPARE(error.buttons, QStringList{QStringLiteral("OK")});
}

void TestApplication::desktopQuestion_data()
{
    QTest::addColumn<int>("press");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Sim") << int(QMessageBox::Yes) << true;
    QTest::newRow("Não") << int(QMessageBox::No) << false;
}

void TestApplication::desktopQuestion()
{
    QFETCH(int, press);
    QFETCH(bool, answer);
    SeenBox question;
    readBoxThenPress(&question, QMessageBox::StandardButton(press));
    const bool result =
        platform().askYesNo(nullptr, QStringLiteral("Deletar"), QStringLiteral("Deletar o item?"));
    QVERIFY(question.seen);
    QCOMPARE(result, answer);
    QCOMPARE(question.caption, QStringLiteral("Deletar"));
    QCOMPARE(question.text, QStringLiteral("Deletar o item?"));
    QCOMPARE(question.buttons, (QStringList{QStringLiteral("&Não"), QStringLiteral("&Sim")}));
}

void TestApplication::acceptTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("message");
    const QString one = QStringLiteral("O caractere %1 não pode ser gravado nos arquivos e foi "
                                       "retirado do texto.");
    const QString many = QStringLiteral("Os caracteres %1 não podem ser gravados nos arquivos e "
                                        "foram retirados do texto.");
    QTest::newRow("plain") << QStringLiteral("Prefeitura de São João")
                           << QStringLiteral("Prefeitura de São João") << QString();
    QTest::newRow("euro and typographic signs kept")
        << QStringLiteral("R$ € – “x” … ‰ Œ ž") << QStringLiteral("R$ € – “x” … ‰ Œ ž")
        << QString();
    QTest::newRow("decomposed accent composed")
        << QStringLiteral("Jose\u0301 Conceic\u0327a\u0303o") << QStringLiteral("José Conceição")
        << QString();
    QTest::newRow("arrow dropped")
        << QStringLiteral("A → B") << QStringLiteral("A  B") << one.arg(QStringLiteral("\"→\""));
    QTest::newRow("emoji dropped whole") << QStringLiteral("Festa 😀!") << QStringLiteral("Festa !")
                                         << one.arg(QStringLiteral("\"😀\""));
    QTest::newRow("each named once") << QStringLiteral("→a😀b→c😀") << QStringLiteral("abc")
                                     << many.arg(QStringLiteral("\"→\", \"😀\""));
    QTest::newRow("accent with no composed form")
        << QStringLiteral("q\u0301") << QStringLiteral("q")
        << one.arg(QStringLiteral("\"\u0301\""));
    QTest::newRow("empty") << QString() << QString() << QString();
}

void TestApplication::acceptTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, message);
    FakePlatform fake;
    QCOMPARE(quelvara::acceptTyped(nullptr, typed), kept);
    QCOMPARE(fake.messages, message.isEmpty() ? QStringList{} : QStringList{message});
}

// The style the program runs with reads the extension buttons' pictures late,
// and they are still the pictures of the style it stands in for.
void TestApplication::extensionButtonsShowTheStylesPictures()
{
    const auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    QVERIFY(style);
    for (const QStyle::StandardPixmap picture :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QImage expected = style->baseStyle()->standardIcon(picture).pixmap(16).toImage();
        QVERIFY(!expected.isNull());
        QCOMPARE(style->standardIcon(picture).pixmap(16).toImage(), expected);
    }
}

// Line edits' panels and tool bars, which the program's style draws from a
// narrow picture of them, look as its base style draws them, in every state,
// at every width and in every place of a tool bar.
void TestApplication::panelsAndToolBarsLookAsTheBaseStyleDrawsThem()
{
    const auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    QVERIFY(style);
    QMainWindow window;
    auto *bar = new QToolBar(&window);
    window.addToolBar(bar);
    auto *edit = new QLineEdit(bar);
    bar->addWidget(edit);
    window.show();

    const auto compare = [&](const QRect &rect, const auto &draw) {
        QImage mine(rect.size() + QSize(4, 4), QImage::Format_ARGB32_Premultiplied);
        mine.fill(window.palette().window().color());
        QImage base = mine;
        QPainter onMine(&mine);
        draw(style, &onMine);
        onMine.end();
        QPainter onBase(&base);
        draw(style->baseStyle(), &onBase);
        onBase.end();
        return mine == base;
    };

    for (const QStyle::State state :
         {QStyle::State(QStyle::State_Enabled), QStyle::State_Enabled | QStyle::State_HasFocus,
          QStyle::State_Enabled | QStyle::State_ReadOnly, QStyle::State(QStyle::State_None)}) {
        for (const int width : {14, 15, 60, 473}) {
            QStyleOptionFrame option;
            option.initFrom(edit);
            option.state = state | QStyle::State_Sunken;
            option.lineWidth = 1;
            option.rect = QRect(2, 1, width, 27);
            QVERIFY2(compare(option.rect,
                             [&](const QStyle *s, QPainter *p) {
                                 s->drawPrimitive(QStyle::PE_PanelLineEdit, &option, p, edit);
                             }),
                     qPrintable(
                         QStringLiteral("line edit, state %1, %2 px").arg(int(state)).arg(width)));
        }
    }
    for (const Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::BottomToolBarArea}) {
        for (const auto line : {QStyleOptionToolBar::Beginning, QStyleOptionToolBar::Middle,
                                QStyleOptionToolBar::End, QStyleOptionToolBar::OnlyOne}) {
            QStyleOptionToolBar option;
            option.initFrom(bar);
            option.state |= QStyle::State_Horizontal;
            option.toolBarArea = area;
            option.positionOfLine = line;
            option.rect = QRect(0, 0, 640, 34);
            QVERIFY2(
                compare(option.rect,
                        [&](const QStyle *s, QPainter *p) {
                            s->drawControl(QStyle::CE_ToolBar, &option, p, bar);
                        }),
                qPrintable(
                    QStringLiteral("tool bar, area %1, line %2").arg(int(area)).arg(int(line))));
        }
    }
}

void TestApplication::mainWindowIsTheOnlyWindowAtStartUp()
{
    ScratchDir dir;
    FakePlatform fake;
    QStringList windows;
    bool principalShown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->isWindow() && widget->isVisible()) {
                windows.append(widget->objectName());
            }
        }
        principalShown = Principal && Principal->isVisible();
        if (Principal) {
            Principal->Sair1->trigger();
        }
    });
    QCOMPARE(runMainWindow(), 0);
    QVERIFY(principalShown);
    QCOMPARE(windows, QStringList{QStringLiteral("Principal")});
    QVERIFY(!Principal);
    // Starting and closing writes nothing.
    QVERIFY(!QFileInfo::exists(dir.file(QStringLiteral("dados"))));
    QVERIFY(fake.errors.isEmpty());
}

void TestApplication::desktopOpenAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("answer"); // how the opener ends
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("given"); // what the opener was given; relative to the scratch dir
    QTest::newRow("page") << "2005/trib-arrec-3-2005.htm" << QByteArray("exit 0") << true
                          << "@2005/trib-arrec-3-2005.htm";
    QTest::newRow("mail") << "mailto:contato@quelvara.com.br" << QByteArray("exit 0") << true
                          << "mailto:contato@quelvara.com.br";
    // xdg-open's answer when no program handles the address.
    QTest::newRow("no browser") << "http://www.quelvara.com.br" << QByteArray("exit 3") << false
                                << "http://www.quelvara.com.br";
    // A browser run in the foreground keeps its opener waiting.
    QTest::newRow("browser still open")
        << "http://www.quelvara.com.br" << QByteArray("exec sleep 5") << true
        << "http://www.quelvara.com.br";
}

void TestApplication::desktopOpenAddress()
{
    QFETCH(QString, address);
    QFETCH(QByteArray, answer);
    QFETCH(bool, opened);
    QFETCH(QString, given);
    ScratchDir dir;
    // A stand-in for xdg-open that notes what it was given and answers as told.
    const QString opener = dir.file(QStringLiteral("bin/xdg-open"));
    putFile(opener,
            "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/given\"\n" + answer + "\n");
    QVERIFY(QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.file(QStringLiteral("bin"))) + ':' + path);
    const bool result = platform().openAddress(address);
    qputenv("PATH", path);

    QCOMPARE(result, opened);
    if (given.startsWith(u'@')) {
        given = QDir::toNativeSeparators(dir.file(given.mid(1)));
    }
    QCOMPARE(QString::fromLocal8Bit(fileBytes(dir.file(QStringLiteral("bin/given")))), given);
}

void TestApplication::everyWindowShowsTheProgramIcon()
{
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(16, 16)));
    QVERIFY(icon.availableSizes().contains(QSize(256, 256)));
    // Drawn, not blank: the middle of the picture is opaque.
    QCOMPARE(qAlpha(icon.pixmap(QSize(64, 64)).toImage().pixel(32, 40)), 255);

    FakePlatform fake;
    TPrincipal principal;
    THelp about(&principal);
    QCOMPARE(principal.windowIcon().cacheKey(), icon.cacheKey());
    QCOMPARE(about.windowIcon().cacheKey(), icon.cacheKey());
}

void TestApplication::secondCopyInTheFolderEndsWithoutAWindow()
{
    ScratchDir dir;
    FakePlatform fake;
    const QString leftover = dir.file(QStringLiteral("dados/prefs.vqd.0a1b2c3d.quelvara-tmp"));
    putFile(leftover, "the first copy's save in progress");
    FolderLock first(dir.path());
    QCOMPARE(first.acquire(), FolderLock::Status::Acquired);
    bool windowShown = false;
    QTimer::singleShot(0, [&] { windowShown = Principal != nullptr; });

    QCOMPARE(runMainWindow(), 0);
    QCoreApplication::processEvents();
    QVERIFY(!windowShown);
    QCOMPARE(fake.messages, QStringList{msg::folderInUse(dir.path(), QSysInfo::machineHostName(),
                                                         QCoreApplication::applicationPid())});
    QCOMPARE(fileBytes(leftover), QByteArray("the first copy's save in progress"));
}

void TestApplication::startUpRemovesWhatKilledSavesLeft()
{
    ScratchDir dir;
    FakePlatform fake;
    const QString leftover = dir.file(QStringLiteral("dados/prefs.vqd.0a1b2c3d.quelvara-tmp"));
    putFile(leftover, "half a save");
    putFile(dir.file(QStringLiteral("dados/prefs.vqd")), "Maria\r\n");
    QTimer::singleShot(0, [] {
        if (Principal) {
            Principal->Sair1->trigger();
        }
    });
    QCOMPARE(runMainWindow(), 0);
    QVERIFY(!QFileInfo::exists(leftover));
    QCOMPARE(fileBytes(dir.file(QStringLiteral("dados/prefs.vqd"))), QByteArray("Maria\r\n"));
    QVERIFY(!QFileInfo::exists(dir.file(FolderLock::fileName()))); // released at the end
    QVERIFY(fake.messages.isEmpty());
}

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
