#include "startup.h"

#include "application.h"
#include "commandline.h"
#include "messages.h"
#include "platform.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace quelvara {

namespace {

const QString kProgram = QStringLiteral("quelvara");

// Platforms that draw into memory or onto a framebuffer need no display server.
bool needsDisplayServer(const QString &platform)
{
    return platform == QStringLiteral("xcb") || platform.startsWith(QStringLiteral("wayland"));
}

void print(std::FILE *stream, const QString &text)
{
    if (text.isEmpty()) {
        return;
    }
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// Qt's messages while the application is being created: held back, and given
// to the usual handler once the display opened; dropped if it could not.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler usualHandler = nullptr;
QList<HeldMessage> heldMessages;

void holdStartUpMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        // Qt found no platform it could start: it would abort with its own
        // English text. The process ends here, its state half built.
        print(stderr, kProgram + QStringLiteral(": ") +
                          msg::cannotOpenDisplay(qEnvironmentVariable("DISPLAY")) + u'\n');
        std::_Exit(1);
    }
    heldMessages.append({type, QByteArray(context.category ? context.category : ""), text});
}

} // namespace

StartRequest readStartRequest(const QStringList &arguments, const QProcessEnvironment &environment)
{
    StartRequest request;
    CommandLine commandLine(kProgram, msg::programSummary());
    if (!commandLine.parse(arguments)) {
        request.exitCode = 2;
        request.error = kProgram + QStringLiteral(": ") + commandLine.errorText() + u'\n';
    } else if (commandLine.helpRequested()) {
        request.exitCode = 0;
        request.output = commandLine.helpText();
    } else if (commandLine.versionRequested()) {
        request.exitCode = 0;
        request.output = commandLine.versionText();
    } else if (!displayAvailable(environment)) {
        request.exitCode = 1;
        request.error = kProgram + QStringLiteral(": ") + msg::noDisplay() + u'\n';
    } else {
        request.folder = commandLine.folder();
    }
    return request;
}

int finishStartRequest(const StartRequest &request)
{
    print(stdout, request.output);
    print(stderr, request.error);
    return request.exitCode;
}

bool displayAvailable(const QProcessEnvironment &environment)
{
    // Qt tries the platforms listed in QT_QPA_PLATFORM in turn ("wayland;xcb"),
    // each perhaps with options after a colon; by default X11 or Wayland.
    QStringList platforms;
    for (const QString &entry :
         environment.value(QStringLiteral("QT_QPA_PLATFORM")).split(u';', Qt::SkipEmptyParts)) {
        platforms.append(entry.section(u':', 0, 0).trimmed());
    }
    if (platforms.isEmpty()) {
        platforms = {QStringLiteral("wayland"), QStringLiteral("xcb")};
    }
    for (const QString &platform : platforms) {
        if (!needsDisplayServer(platform)) {
            return true;
        }
        const QString variable = platform == QStringLiteral("xcb")
                                     ? QStringLiteral("DISPLAY")
                                     : QStringLiteral("WAYLAND_DISPLAY");
        if (!environment.value(variable).isEmpty()) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<Application> openApplication(int &argc, char **argv)
{
    heldMessages.clear();
    usualHandler = qInstallMessageHandler(holdStartUpMessage);
    std::unique_ptr<Application> application;
    try {
        application = std::make_unique<Application>(argc, argv);
    } catch (...) {
        qInstallMessageHandler(usualHandler);
        throw;
    }
    qInstallMessageHandler(usualHandler);
    for (const HeldMessage &held : std::as_const(heldMessages)) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        if (usualHandler) {
            usualHandler(held.type, context, held.text);
        }
    }
    heldMessages.clear();
    return application;
}

FileResult enterDataFolder(const QString &folder)
{
    if (folder.isEmpty()) {
        return FileResult::done();
    }
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir() || !QDir::setCurrent(folder)) {
        return FileResult::failed(msg::cannotUseFolder(folder));
    }
    return FileResult::done();
}

bool startInWorkingFolder(FolderLock &lock)
{
    const FileResult taken = takeWorkingFolder(lock);
    if (!taken.ok()) {
        // No window exists yet: the message stands alone, and then the program ends.
        platform().showMessage(nullptr, taken.message());
        return false;
    }
    return true;
}

} // namespace quelvara
