#include "application.h"
#include "platform.h"
#include "startup.h"

#include <QProcessEnvironment>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    // The help, the version, a misunderstood command line and a missing display
    // end the program here, before any window.
    const quelvara::StartRequest request = quelvara::readStartRequest(
        quelvara::argumentList(argc, argv), QProcessEnvironment::systemEnvironment());
    if (!request.goesOn()) {
        return quelvara::finishStartRequest(request);
    }
    try {
        const auto app = quelvara::openApplication(argc, argv);
        const quelvara::FileResult entered = quelvara::enterDataFolder(request.folder);
        if (!entered.ok()) {
            quelvara::platform().showError(nullptr, entered.message());
            return 1;
        }
        // Everything from here on works in the data folder.
        return quelvara::runMainWindow();
    } catch (...) {
        // The application could not even be set up: there is no window to show this in.
        std::fprintf(stderr, "%s\n",
                     quelvara::errorMessage(std::current_exception()).toLocal8Bit().constData());
    }
    return 0;
}
