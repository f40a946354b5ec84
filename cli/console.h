#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// Where a command speaks: its results on standard output, its messages on
// standard error, and a progress line on standard error only when that is a
// terminal (a scheduled job's log gets no progress noise). And how a command
// learns that it was asked to stop.
namespace quelvara::cli {

class Console {
public:
    /// Prepares the console on the two streams; progress shows when the second is a terminal.
    explicit Console(std::FILE *out = stdout, std::FILE *err = stderr);

    /// Writes a line of results to standard output.
    void print(const QString &line);

    /// Writes bytes as they are to standard output.
    void write(const QByteArray &bytes);

    /// Writes a message, preceded by the program's name, to standard error.
    void warn(const QString &message);

    /// Writes why the command cannot run, then the usage, to standard error.
    void refuse(const QString &message);

    /// Writes a line for the person at the terminal to standard error, when it is a terminal.
    void tell(const QString &line);

    /// Shows the progress line in place of the last one, when standard error is a terminal.
    void progress(const QString &line);

    /// Takes the progress line away.
    void clearProgress();

    /// Tells whether standard error is a terminal.
    bool onTerminal() const { return terminal_; }

private:
    void put(std::FILE *stream, const QByteArray &bytes);

    std::FILE *out_;
    std::FILE *err_;
    bool terminal_ = false;
    QString progress_; // the progress line shown, empty when none
};

/// Keeps Qt's own notes and warnings (in English, about the environment) off standard error;
/// critical errors still show.
void silenceQtNotes();

/// Makes Ctrl+C and a termination request ask the command to stop at the next point between two
/// files, instead of ending the process at once.
void catchInterruptions();

/// Returns the number of the signal that asked the command to stop, or 0.
int interruption();

} // namespace quelvara::cli
