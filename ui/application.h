#pragma once

#include <QApplication>
#include <QIcon>
#include <QTranslator>

#include <exception>

// The program's application object: its title, version and icon, Qt's own
// texts in Brazilian Portuguese, and the last stop for an error that an event
// handler let escape.
namespace quelvara {

class Application : public QApplication {
    Q_OBJECT
public:
    /// Initialises the application with its title, version, icon and Qt's Brazilian Portuguese
    /// translations.
    Application(int &argc, char **argv);
    ~Application() override;

    /// Delivers an event; an error escaping its handler is shown and the program goes on.
    bool notify(QObject *receiver, QEvent *event) override;

    /// Tells whether Qt's Brazilian Portuguese translations were found and installed.
    bool hasQtTranslations() const { return qtTranslationsLoaded_; }

    /// Shows an error that nothing handled: its own message, the title as caption, the error icon.
    static void showUnhandledError(std::exception_ptr error);

private:
    QTranslator qtTranslations_;
    bool qtTranslationsLoaded_ = false;
};

/// Returns the program's icon, drawn from its SVG at the sizes window systems ask for.
QIcon applicationIcon();

/// Returns the message of an error as the user sees it.
QString errorMessage(std::exception_ptr error);

/// Creates the main window, the only window at start-up, and runs the event loop until it closes.
/// An error that escapes this is shown like any unhandled error; the result is always 0.
/// Start-up calls it once the working directory is the data folder, so work that needs
/// that folder before the first window opens belongs at its beginning.
int runMainWindow();

} // namespace quelvara
