// Takes the pictures of the user's guide. Starts the program as a user would,
// in a data folder holding the sample data, walks through every window on the
// real window system, and saves each picture as <name>.png.
//
// Usage: quelvara-screenshots PICTURES_DIR DATA_FOLDER
//
// Each step below is one thing a user does, or one picture; a step that opens
// a modal window returns only when that window closes, so the steps after it
// run inside it. To picture a new window, add its steps where a user would
// open it. Widgets are found by their object names.

#include "application.h"
#include "platform.h"
#include "startup.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace quelvara;

namespace {

// Long enough for the window system to show and paint what a step changed.
constexpr int kPauseMs = 400;
// The whole walk takes a few seconds; past this something is stuck.
constexpr int kGiveUpMs = 120000;
// The day the walk takes place: a clerk entering March's taxes.
const QDate kTourDay(2026, 4, 6);

[[noreturn]] void giveUp(const QString &why)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(why));
    std::exit(1);
}

// The desktop as the windows see it, except that addresses are not opened:
// no browser starts in the middle of the walk.
class TourPlatform final : public Platform {
public:
    explicit TourPlatform(Platform &desktop)
        : desktop_(desktop)
    {
    }
    void showMessage(QWidget *parent, const QString &text) override
    {
        desktop_.showMessage(parent, text);
    }
    void showError(QWidget *parent, const QString &text) override
    {
        Q_UNUSED(parent);
        giveUp(QStringLiteral("erro inesperado: ") + text);
    }
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override
    {
        return desktop_.askYesNo(parent, caption, text);
    }
    bool openAddress(const QString &address) override
    {
        std::printf("opened: %s\n", qPrintable(address));
        return true;
    }
    // One fixed day, so that the pictures do not change with the calendar.
    QDate currentDate() const override { return kTourDay; }

private:
    Platform &desktop_;
};

// Finds a widget by name, in the modal window on top first: names repeat
// from window to window ("BitBtn1").
template <typename Widget>
Widget *find(const QString &name)
{
    QWidgetList tops = QApplication::topLevelWidgets();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        tops.prepend(modal);
    }
    for (QWidget *top : std::as_const(tops)) {
        if (!top->isVisible()) {
            continue;
        }
        if (auto *widget = qobject_cast<Widget *>(top); widget && top->objectName() == name) {
            return widget;
        }
        if (auto *widget = top->findChild<Widget *>(name)) {
            return widget;
        }
    }
    giveUp(QStringLiteral("não achei ") + name);
}

QWidget *window(const QString &name) { return find<QWidget>(name)->window(); }

// Saves what the screen shows of the given windows, as the user sees it.
void picture(const QString &file, const QList<QWidget *> &windows)
{
    QRect area;
    for (QWidget *shown : windows) {
        area |= shown->frameGeometry();
    }
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    if (shot.isNull() || !shot.save(file)) {
        giveUp(QStringLiteral("não gravei ") + file);
    }
    std::printf("picture: %s\n", qPrintable(file));
}

// Brings a window forward as the window manager would when it opens.
void activate(const QString &name)
{
    QWidget *shown = window(name);
    shown->activateWindow();
    if (!QTest::qWaitForWindowActive(shown)) {
        giveUp(QStringLiteral("a janela não ficou ativa: ") + name);
    }
}

QAction *action(const QString &name)
{
    auto *found = find<QWidget>(QStringLiteral("Principal"))->findChild<QAction *>(name);
    if (found == nullptr) {
        giveUp(QStringLiteral("não achei ") + name);
    }
    return found;
}

void click(const QString &name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }

// Chooses an entry of a drop-down list as a user does: open, move, Enter.
void choose(const QString &name, int index)
{
    auto *box = find<QComboBox>(name);
    box->setFocus(Qt::MouseFocusReason);
    box->showPopup();
    box->view()->setCurrentIndex(box->view()->model()->index(index, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
}

// Replaces a field's text by typing, and leaves it with Tab.
void type(const QString &name, const QString &text)
{
    auto *box = find<QComboBox>(name);
    box->setFocus(Qt::TabFocusReason);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

// One tax of a month: the code picked from the registry, the amount typed, saved.
QList<std::function<void()>> enterTax(int code, const QString &amount)
{
    return {[code] { choose(QStringLiteral("Edit1"), code); },
            [amount] { type(QStringLiteral("Edit3"), amount); },
            [] { click(QStringLiteral("btAdd")); }};
}

class Tour {
public:
    explicit Tour(const QString &pictures)
        : pictures_(pictures)
    {
    }

    void add(std::function<void()> step) { steps_.append(std::move(step)); }
    void add(const QList<std::function<void()>> &steps) { steps_.append(steps); }
    void shoot(const QString &name, const QStringList &windows)
    {
        add([this, name, windows] {
            QList<QWidget *> shown;
            for (const QString &windowName : windows) {
                shown.append(window(windowName));
            }
            picture(QDir(pictures_).filePath(name + QStringLiteral(".png")), shown);
        });
    }

    void start() { scheduleNext(); }

private:
    // The next step is due before this one runs: a step that opens a modal
    // window returns when it closes, and the steps meanwhile run inside it.
    void scheduleNext()
    {
        if (next_ < steps_.size()) {
            QTimer::singleShot(kPauseMs, [this] {
                const std::function<void()> step = steps_.at(next_++);
                scheduleNext();
                step();
            });
        }
    }

    QString pictures_;
    QList<std::function<void()>> steps_;
    qsizetype next_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        giveUp(QStringLiteral("uso: quelvara-screenshots PASTA_DAS_IMAGENS PASTA_DE_DADOS"));
    }
    const QString pictures = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString folder = QString::fromLocal8Bit(argv[2]);
    int qtArgc = 1;
    const auto app = openApplication(qtArgc, argv);
    if (!enterDataFolder(folder).ok()) {
        giveUp(QStringLiteral("pasta de dados: ") + folder);
    }
    TourPlatform tourPlatform(platform());
    setPlatform(&tourPlatform);
    QTimer::singleShot(kGiveUpMs, [] { giveUp(QStringLiteral("demorou demais")); });

    Tour tour(pictures);
    const QStringList main{QStringLiteral("Principal")};

    // The main window with the municipality's profile.
    tour.shoot(QStringLiteral("principal"), main);

    // The registries' menu, and the registry of taxes.
    tour.add([] {
        auto *bar = find<QMenuBar>(QStringLiteral("MainMenu1"));
        bar->setActiveAction(find<QMenu>(QStringLiteral("Cadastro1"))->menuAction());
    });
    tour.add([pictures] {
        auto *bar = find<QMenuBar>(QStringLiteral("MainMenu1"));
        auto *menu = find<QMenu>(QStringLiteral("Cadastro1"));
        menu->setActiveAction(menu->actions().at(1));
        picture(QDir(pictures).filePath(QStringLiteral("menu-cadastro.png")),
                {bar->window(), menu});
        menu->close();
    });
    tour.add([] { action(QStringLiteral("Tributos1"))->trigger(); });
    tour.add([] { activate(QStringLiteral("Cadastro")); });
    tour.add([] {
        auto *list = find<QAbstractItemView>(QStringLiteral("lbTitulos"));
        const QRect row = list->visualRect(list->model()->index(4, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    });
    tour.shoot(QStringLiteral("cadastro"), {QStringLiteral("Cadastro")});
    tour.add([] { click(QStringLiteral("BitBtn1")); });

    // January, February and March of the taxes collected; March is pictured
    // with its amount typed and the accumulated value computed.
    tour.add([] { click(QStringLiteral("BitBtn1")); });
    tour.add([] { activate(QStringLiteral("TribArrec")); });
    tour.add(enterTax(0, QStringLiteral("1200")));
    tour.add(enterTax(4, QStringLiteral("850")));
    tour.add([] { choose(QStringLiteral("cbPeriodo"), 1); });
    tour.add(enterTax(0, QStringLiteral("1000")));
    tour.add(enterTax(4, QStringLiteral("910,50")));
    tour.add([] { choose(QStringLiteral("cbPeriodo"), 2); });
    tour.add(enterTax(4, QStringLiteral("980")));
    tour.add([] { choose(QStringLiteral("Edit1"), 0); });
    tour.add([] { type(QStringLiteral("Edit3"), QStringLiteral("1500")); });
    tour.shoot(QStringLiteral("mensal"), {QStringLiteral("TribArrec")});
    tour.add([] { click(QStringLiteral("btAdd")); });
    tour.add([] { click(QStringLiteral("btView")); });

    // January corrected after February and March were entered: their
    // accumulated values are out of date, and "Verificar" says so.
    tour.add([] { choose(QStringLiteral("cbPeriodo"), 0); });
    tour.add(enterTax(0, QStringLiteral("1300")));
    tour.add([] { choose(QStringLiteral("cbPeriodo"), 2); });
    tour.add([] { click(QStringLiteral("btCheck")); });
    tour.add([] { activate(QStringLiteral("FindingsDialog")); });
    tour.shoot(QStringLiteral("verificar"), {QStringLiteral("FindingsDialog")});
    tour.add([] { click(QStringLiteral("btClose")); });
    tour.add([] { click(QStringLiteral("Panel1")); });
    tour.add([] { click(QStringLiteral("btOK")); });

    // The other two categories as they open.
    tour.add([] { click(QStringLiteral("BitBtn2")); });
    tour.shoot(QStringLiteral("bimestral"), {QStringLiteral("TribArrec")});
    tour.add([] { click(QStringLiteral("btOK")); });
    tour.add([] { click(QStringLiteral("BitBtn3")); });
    tour.shoot(QStringLiteral("anual"), {QStringLiteral("TribArrec")});
    tour.add([] { click(QStringLiteral("btOK")); });

    // About.
    tour.add([] { action(QStringLiteral("Sobre1"))->trigger(); });
    tour.shoot(QStringLiteral("sobre"), {QStringLiteral("Help")});
    tour.add([] { click(QStringLiteral("BitBtn1")); });

    tour.add([] { find<QWidget>(QStringLiteral("Principal"))->close(); });
    QTimer::singleShot(0, [&tour] {
        activate(QStringLiteral("Principal"));
        tour.start();
    });
    return runMainWindow();
}
