// The child of the kill test: takes the working folder as the program does,
// says "pronto" and then saves without end until it is killed.
//   killsaver core    saves a data file, a registry, the officials and a page
//                     through the core, each in versions 1, 2, 3, ...
//   killsaver window  saves registry entries through the registry dialog and
//                     the mayor through the main window, offscreen.
#include "Ucadastro.h"
#include "Uprincipal.h"
#include "folderlock.h"
#include "htmlpage.h"
#include "killsaver.h"
#include "platform.h"
#include "reportpaths.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace quelvara;

namespace {

// Messages of the windows go to the error stream: a message box would wait.
class SilentPlatform final : public Platform {
public:
    void showMessage(QWidget *, const QString &text) override { say(text); }
    void showError(QWidget *, const QString &text) override { say(text); }
    bool askYesNo(QWidget *, const QString &, const QString &) override { return true; }
    bool openAddress(const QString &) override { return true; }

private:
    static void say(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

void ready()
{
    std::puts("pronto");
    std::fflush(stdout);
}

int saveThroughCore()
{
    const int start = std::max(0, killsaver::versionOf(readLines(dataFilePath(
                                      killsaver::kYear, killsaver::kPrefix, killsaver::kPeriod))
                                                           .lines));
    makeDir(dataDir());
    makeDir(dataYearDir(killsaver::kYear));
    ready();
    for (int k = start + 1;; ++k) {
        (void)writeLines(dataFilePath(killsaver::kYear, killsaver::kPrefix, killsaver::kPeriod),
                         killsaver::versionLines(QStringLiteral("dados"), k));
        (void)writeRegistry(killsaver::kRegistry,
                            killsaver::versionLines(QStringLiteral("cadastro"), k));
        (void)writeProfileFile(kOfficialsFile,
                               killsaver::versionLines(QStringLiteral("prefs"), k));
        (void)writePageFile(killsaver::kYear, killsaver::kPrefix, killsaver::kPeriod,
                            killsaver::versionLines(QStringLiteral("página"), k));
    }
}

int saveThroughWindows()
{
    SilentPlatform silent;
    setPlatform(&silent);
    TPrincipal principal;
    principal.show();
    TCadastro dialog;
    dialog.FileName = killsaver::kRegistry;
    dialog.show();
    QApplication::processEvents();

    // Go on after the last entry the file holds.
    const QStringList lines = readRegistry(killsaver::kRegistry).lines;
    const QSet<QString> saved(lines.cbegin(), lines.cend());
    int k = 0;
    while (saved.contains(killsaver::windowEntry(k + 1))) {
        ++k;
    }
    auto *edit1 = dialog.findChild<QComboBox *>(QStringLiteral("Edit1"));
    auto *edit2 = dialog.findChild<QComboBox *>(QStringLiteral("Edit2"));
    auto *save = dialog.findChild<QPushButton *>(QStringLiteral("btSave"));
    ready();
    for (++k;; ++k) {
        edit1->setEditText(registryLineField(killsaver::windowEntry(k), 1));
        edit2->setEditText(registryLineField(killsaver::windowEntry(k), 2));
        save->click();
        principal.Prefeito->setText(killsaver::mayorName(k));
        principal.PrefeitoExit();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    const bool windows = argc > 1 && std::strcmp(argv[1], "window") == 0;
    std::unique_ptr<QCoreApplication> app;
    if (windows) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    FolderLock lock(baseDir());
    if (!takeWorkingFolder(lock).ok()) {
        std::fputs("pasta em uso\n", stderr);
        return 2;
    }
    return windows ? saveThroughWindows() : saveThroughCore();
}
