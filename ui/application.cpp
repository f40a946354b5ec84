#include "application.h"

#include "Uprincipal.h"
#include "commandline.h"
#include "drawnicon.h"
#include "messages.h"
#include "platform.h"
#include "startup.h"
#include "stripcache.h"
#include "textfile.h"
#include "vendor.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>

// The icon lives in a static library, whose resource data the linker would
// drop unless something refers to it.
static void initIconResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(quelvara);
        return true;
    }();
    Q_UNUSED(once);
}

namespace quelvara {

namespace {

// An error shown while another error's message box is open is not stacked on
// top of it: a handler that fails on every repaint would otherwise nest boxes
// without end.
int errorsOnScreen = 0;

// Part of a key for the strip cache.
QByteArray stripKey(std::initializer_list<qint64> values)
{
    return QByteArray(reinterpret_cast<const char *>(std::data(values)),
                      qsizetype(values.size() * sizeof(qint64)));
}

// The style the program runs with, drawing what it draws, with two
// differences in how:
// - the pictures of the tool bars' and menu bar's extension buttons, which the
//   style reads from image files for every bar it is given, are read only when
//   one of those buttons is first shown. They show only when the window is
//   too narrow;
// - with the Fusion style, whose line edit panels and tool bars are the same
//   in every column between their ends, those are drawn from a narrow picture
//   of them (see StripCache).
class ProgramStyle final : public QProxyStyle {
public:
    explicit ProgramStyle(QStyle *base)
        : QProxyStyle(base)
    {
        if (baseStyle()->name().compare(u"fusion", Qt::CaseInsensitive) == 0) {
            strips_.emplace();
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        // The ends hold the rounded corners, two pixels round, and their antialiasing.
        constexpr int kLineEditEnds = 7;
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        // A line edit inside another control has its panel drawn by that control.
        const auto inside = [widget] {
            return widget && (qobject_cast<const QComboBox *>(widget->parentWidget()) ||
                              qobject_cast<const QAbstractSpinBox *>(widget->parentWidget()));
        };
        if (strips_ && element == PE_PanelLineEdit && frame && !inside() &&
            drawStrip(*frame, painter, kLineEditEnds,
                      {element, frame->lineWidth, frame->midLineWidth, qint64(frame->features),
                       frame->frameShape},
                      [&](const QStyleOption *copy, QPainter *on) {
                          QProxyStyle::drawPrimitive(element, copy, on, widget);
                      })) {
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *bar = qstyleoption_cast<const QStyleOptionToolBar *>(option);
        // Only a main window's tool bars are drawn, and only lying ones are
        // alike in every column.
        if (strips_ && element == CE_ToolBar && bar && (option->state & State_Horizontal) &&
            widget && qobject_cast<const QMainWindow *>(widget->parentWidget()) &&
            drawStrip(*bar, painter, 0,
                      {element, bar->toolBarArea, bar->positionOfLine, bar->positionWithinLine,
                       qint64(bar->features)},
                      [&](const QStyleOption *copy, QPainter *on) {
                          QProxyStyle::drawControl(element, copy, on, widget);
                      })) {
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    QIcon standardIcon(StandardPixmap picture, const QStyleOption *option,
                       const QWidget *widget) const override
    {
        if (picture == SP_ToolBarHorizontalExtensionButton ||
            picture == SP_ToolBarVerticalExtensionButton) {
            // The picture depends on the layout direction the option carries;
            // the copy keeps that and drops its pointer to the widget.
            QStyleOption kept = option ? *option : QStyleOption();
            kept.styleObject = nullptr;
            return deferredIcon([base = QPointer<QStyle>(baseStyle()), picture, kept] {
                return base ? base->standardIcon(picture, &kept) : QIcon();
            });
        }
        return QProxyStyle::standardIcon(picture, option, widget);
    }

private:
    // Draws an element through the strip cache. Its key is what its kind of
    // option adds to what every option holds that the drawing depends on; the
    // picture is the base style's drawing of a copy of the option.
    template <typename Option, typename Draw>
    bool drawStrip(const Option &option, QPainter *painter, int ends,
                   std::initializer_list<qint64> own, Draw draw) const
    {
        const QByteArray key = stripKey({option.rect.height(), qint64(option.state),
                                         option.direction, qint64(option.palette.cacheKey())}) +
                               stripKey(own);
        return strips_->draw(painter, option.rect, ends, key, [&](QPainter *on, const QRect &rect) {
            Option copy = option;
            copy.rect = rect;
            draw(&copy, on);
        });
    }

    // Kept while the style lives; none where the base style is not Fusion.
    mutable std::optional<StripCache> strips_;
};

} // namespace

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // The title is the application's name, which message boxes show as their
    // caption. No separate display name: the window system would append it to
    // every window's caption.
    setApplicationName(vendor::kAppTitle);
    setApplicationVersion(programVersion());
    // Ties the windows to the installed launcher, whose icon the desktop then shows.
    setDesktopFileName(QStringLiteral("br.com.quelvara.Quelvara"));
    // Every window, dialogs and message boxes included, shows the program's icon.
    setWindowIcon(applicationIcon());
    // The style chosen for the desktop, or set with QT_STYLE_OVERRIDE, stays the one in use.
    setStyle(new ProgramStyle(style()));

    // Standard buttons then read "Sim", "Não", "OK", "Cancelar".
    qtTranslationsLoaded_ = qtTranslations_.load(
        QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (qtTranslationsLoaded_) {
        installTranslator(&qtTranslations_);
    }
}

Application::~Application() { removeTranslator(&qtTranslations_); }

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showUnhandledError(std::current_exception());
    }
    return false;
}

void Application::showUnhandledError(std::exception_ptr error)
{
    if (errorsOnScreen > 0) {
        return;
    }
    ++errorsOnScreen;
    try {
        platform().showError(activeWindow(), errorMessage(error));
    } catch (...) {
        // Nothing more can be done for an error raised while showing an error.
    }
    --errorsOnScreen;
}

QIcon applicationIcon()
{
    initIconResources();
    // Drawn here rather than by Qt's SVG icon plugin, which may be missing;
    // the picture is read on its first drawing, which start-up may never ask for.
    auto renderer = std::make_shared<std::unique_ptr<QSvgRenderer>>();
    return drawnIcon(
        [renderer](int side) {
            if (!*renderer) {
                *renderer = std::make_unique<QSvgRenderer>(QStringLiteral(":/quelvara.svg"));
            }
            QPixmap pixmap(side, side);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            (*renderer)->render(&painter);
            painter.end();
            return pixmap;
        },
        {16, 22, 24, 32, 48, 64, 128, 256});
}

QString errorMessage(std::exception_ptr error)
{
    try {
        if (error) {
            std::rethrow_exception(error);
        }
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
    }
    return msg::unknownError();
}

int runMainWindow()
{
    try {
        // Held until the window is gone: declared before it.
        FolderLock lock(baseDir());
        if (!startInWorkingFolder(lock)) {
            return 0;
        }
        auto window = std::make_unique<TPrincipal>();
        window->show();
        QApplication::exec();
    } catch (...) {
        Application::showUnhandledError(std::current_exception());
    }
    return 0;
}

} // namespace quelvara
