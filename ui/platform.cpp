#include "platform.h"

#include "codec.h"
#include "messages.h"
#include "vendor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace quelvara {

namespace {

class DesktopPlatform final : public Platform {
public:
    void showMessage(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, parent);
        box.exec();
    }

    void showError(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, parent);
        box.exec();
    }

    bool askYesNo(QWidget *parent, const QString &caption, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes;
    }

    bool openAddress(const QString &address) override
    {
        // A path opens as a local file; anything with a scheme (http:, mailto:) as it is.
        QUrl url = QUrl(address);
        if (url.scheme().size() <= 1 || QFileInfo(address).isAbsolute()) {
            url = QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
        }
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
        // Qt starts xdg-open and calls that success, even when xdg-open then
        // finds no browser or mail program: run it here and read its answer.
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (!opener.isEmpty()) {
            return openWith(opener, url.isLocalFile() ? url.toLocalFile() : url.toString());
        }
#endif
        return QDesktopServices::openUrl(url);
    }

private:
    // How long to wait for the opener's answer. A browser started in the
    // foreground keeps its opener running as long as it is open; by then it
    // has shown the page, or is about to.
    static constexpr int kOpenerAnswerMs = 1500;

    static bool openWith(const QString &opener, const QString &target)
    {
        auto *process = new QProcess;
        process->setProgram(opener);
        process->setArguments({target});
        // No pipes: whatever the opener starts may outlive this program.
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start();
        if (!process->waitForStarted()) {
            delete process;
            return false;
        }
        if (process->waitForFinished(kOpenerAnswerMs)) {
            const bool opened =
                process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
            delete process;
            return opened;
        }
        // Still running: it is showing the address. It is left running, even
        // past the end of this program (destroying it would kill it), and
        // forgotten once it ends.
        runningOpeners().append(process);
        QObject::connect(process, &QProcess::finished, process, [process] {
            runningOpeners().removeOne(process);
            process->deleteLater();
        });
        return true;
    }

    // The openers still running. Never destroyed: at exit they are left to
    // run, not killed, and are still known rather than lost.
    static QList<QProcess *> &runningOpeners()
    {
        static auto *running = new QList<QProcess *>;
        return *running;
    }
};

Platform *replacementPlatform = nullptr;

} // namespace

Platform &platform()
{
    static DesktopPlatform desktop;
    return replacementPlatform ? *replacementPlatform : desktop;
}

void setPlatform(Platform *replacement) { replacementPlatform = replacement; }

QString acceptTyped(QWidget *parent, const QString &text)
{
    QString removed;
    const QString kept = keepCp1252(text, &removed);
    if (removed.isEmpty()) {
        return kept;
    }
    // Name each character once, a surrogate pair as the one character it is.
    QStringList distinct;
    for (qsizetype i = 0; i < removed.size(); ++i) {
        const qsizetype length = removed[i].isHighSurrogate() && i + 1 < removed.size() ? 2 : 1;
        const QString character = removed.mid(i, length);
        i += length - 1;
        if (!distinct.contains(character)) {
            distinct.append(character);
        }
    }
    platform().showMessage(parent, msg::unfitCharacters(distinct));
    return kept;
}

} // namespace quelvara
