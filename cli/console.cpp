#include "console.h"

#include "messages.h"
#include "request.h"

#include <QtGlobal>

#include <csignal>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace quelvara::cli {

namespace {

// Wider lines would wrap, and "\r" would then rewrite only their last part.
constexpr qsizetype kProgressWidth = 79;

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void askToStop(int signal) { stopSignal = signal; }

bool isTerminal(std::FILE *stream)
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

} // namespace

Console::Console(std::FILE *out, std::FILE *err)
    : out_(out)
    , err_(err)
    , terminal_(isTerminal(err))
{
}

void Console::put(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void Console::print(const QString &line)
{
    const QString shown = progress_;
    clearProgress();
    put(out_, (line + u'\n').toUtf8());
    progress(shown);
}

void Console::write(const QByteArray &bytes)
{
    clearProgress();
    put(out_, bytes);
}

void Console::warn(const QString &message)
{
    const QString shown = progress_;
    clearProgress();
    put(err_, (kProgram + QStringLiteral(": ") + message + u'\n').toUtf8());
    progress(shown);
}

void Console::refuse(const QString &message)
{
    clearProgress();
    put(err_, (kProgram + QStringLiteral(": ") + message + u'\n' + msg::cliUsage(kProgram) + u'\n')
                  .toUtf8());
}

void Console::tell(const QString &line)
{
    if (terminal_) {
        clearProgress();
        put(err_, (line + u'\n').toUtf8());
    }
}

void Console::progress(const QString &line)
{
    if (!terminal_ || line.isEmpty()) {
        return;
    }
    progress_ = line.size() > kProgressWidth ? line.left(kProgressWidth - 1) + u'…' : line;
    // Back to the start of the line, the new text, and the rest of the old one erased.
    put(err_, (u'\r' + progress_ + QStringLiteral("\x1b[K")).toUtf8());
}

void Console::clearProgress()
{
    if (terminal_ && !progress_.isEmpty()) {
        put(err_, QByteArrayLiteral("\r\x1b[K"));
    }
    progress_.clear();
}

void silenceQtNotes()
{
    // A missing runtime directory or a font note means nothing to the user
    // and would fill a scheduled job's mail.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            const QByteArray bytes = (kProgram + QStringLiteral(": ") + text + u'\n').toUtf8();
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        }
    });
}

void catchInterruptions()
{
#ifdef Q_OS_WIN
    std::signal(SIGINT, askToStop);
    std::signal(SIGTERM, askToStop);
#else
    // Calls under way are restarted, not failed: a write interrupted by the
    // signal goes on and the file it belongs to is finished before stopping.
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

int interruption() { return int(stopSignal); }

} // namespace quelvara::cli
