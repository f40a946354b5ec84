#pragma once

#include "commandline.h"

#include <QString>
#include <QStringList>

// What the command line of quelvara-cli asks: one command, its year and its
// options, or an answer to give at once (the help, the version, a refusal).
// Reading it touches no file.
namespace quelvara::cli {

inline const QString kProgram = QStringLiteral("quelvara-cli");

// Exit statuses. An interruption ends with 128 plus the signal's number, as a
// shell reports a program that the signal ended.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // errors found, a file not written, nothing to do
inline constexpr int kExitUsage = 2;  // a misunderstood command line or an unusable folder
inline constexpr int kExitLocked = 3; // the program is open in the folder
inline constexpr int kExitSignalBase = 128;

enum class Command { Publicar, Verificar, Exportar };

struct Request {
    /// The exit status to end with at once, or -1 to run the command.
    int exitCode = -1;
    /// The text for standard output (the help, the version).
    QString output;
    /// The text for standard error (why the command line was refused, and the usage).
    QString error;

    Command command = Command::Publicar;
    QString commandName;
    QString year;
    QString folder;       // the data folder as a full path
    QString outputFolder; // exportar: where the files go, as a full path
    bool pdf = false;     // publicar: also every PDF
    bool json = false;    // verificar: the findings as JSON

    /// Tells whether the command is to be run.
    bool goesOn() const { return exitCode < 0; }
    /// Tells whether the command draws text with fonts, which needs a GUI application object.
    bool needsFonts() const { return command == Command::Publicar && pdf; }
};

/// Reads the command line, the program's path first.
Request readRequest(const QStringList &arguments);

/// Prints a finished request's texts and returns its exit status.
int finishRequest(const Request &request);

} // namespace quelvara::cli
