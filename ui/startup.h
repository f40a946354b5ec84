#pragma once

#include "commandline.h"
#include "fileresult.h"
#include "folderlock.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

// What happens before the main window: the command line, the display, the
// data folder. Everything that can end the program here ends it with a
// Portuguese text and an exit code, before Qt could print or abort in English.
namespace quelvara {

class Application;

/// What the command line and the environment ask of start-up.
struct StartRequest {
    /// The exit code to end with at once, or -1 to go on and open the windows.
    int exitCode = -1;
    /// The text for standard output (the help, the version).
    QString output;
    /// The text for standard error (a misunderstood command line, no display).
    QString error;
    /// The data folder as a full path, or empty to stay in the current directory.
    QString folder;

    /// Tells whether start-up goes on to open the windows.
    bool goesOn() const { return exitCode < 0; }
};

/// Reads the program's arguments and environment: the help, the version, an error, or the
/// folder to start in.
StartRequest readStartRequest(const QStringList &arguments, const QProcessEnvironment &environment);

/// Prints a finished request's texts and returns its exit code.
int finishStartRequest(const StartRequest &request);

/// Tells whether the window system Qt would use can be reached, judged from the environment.
bool displayAvailable(const QProcessEnvironment &environment);

/// Creates the application. If Qt then cannot open the display after all, says so in
/// Portuguese and ends the process with exit code 1 instead of letting Qt abort.
std::unique_ptr<Application> openApplication(int &argc, char **argv);

/// Makes a folder the working directory, creating it and its parents when missing;
/// an empty folder keeps the current directory.
FileResult enterDataFolder(const QString &folder);

/// Takes the working folder for this copy of the program (its lock, then the removal of what
/// killed saves left); says why and returns false when the program must end without a window.
bool startInWorkingFolder(FolderLock &lock);

} // namespace quelvara
