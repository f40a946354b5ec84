#include "commands.h"
#include "console.h"
#include "request.h"

#include <QCoreApplication>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    using namespace quelvara::cli;
    // The help, the version and a misunderstood command line end here, before Qt starts.
    const Request request = readRequest(quelvara::argumentList(argc, argv));
    if (!request.goesOn()) {
        return finishRequest(request);
    }
    Console console;
    silenceQtNotes();
    if (request.needsFonts()) {
        // The PDF's fonts need a GUI application, never a display: nothing is shown.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        const QGuiApplication application(argc, argv);
        return run(request, console);
    }
    const QCoreApplication application(argc, argv);
    return run(request, console);
}
