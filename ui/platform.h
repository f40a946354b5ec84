#pragma once

#include <QDate>
#include <QString>

class QWidget;

// What the windows ask of the desktop: message boxes, the Yes/No question and
// the shell's "open", the clock. Tests replace the platform with a recording fake.
namespace quelvara {

class Platform {
public:
    virtual ~Platform() = default;

    /// Shows a message with the application's title as caption and one OK button.
    virtual void showMessage(QWidget *parent, const QString &text) = 0;

    /// Shows an unhandled error's message with the error icon.
    virtual void showError(QWidget *parent, const QString &text) = 0;

    /// Asks a Yes/No question under a caption; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &caption, const QString &text) = 0;

    /// Opens a file path, a web address or a "mailto:" address with the desktop, without waiting
    /// for the program that shows it; tells whether the desktop could open it.
    [[nodiscard]] virtual bool openAddress(const QString &address) = 0;

    /// Returns today's date by the desktop's clock.
    virtual QDate currentDate() const { return QDate::currentDate(); }
};

/// Returns the platform in use (the real desktop unless a test installed another).
Platform &platform();

/// Installs a platform (tests); nullptr restores the real desktop.
void setPlatform(Platform *replacement);

/// Returns a typed text fit to be stored: NFC, without characters Windows-1252 cannot hold.
/// When some were removed, tells the user which, once, through the platform.
QString acceptTyped(QWidget *parent, const QString &text);

} // namespace quelvara
