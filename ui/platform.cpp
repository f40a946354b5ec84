#include "platform.h"

#include "codec.h"
#include "vendor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
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

    void openAddress(const QString &address) override
    {
        // A path opens as a local file; anything with a scheme (http:, mailto:) as it is.
        QUrl url = QUrl(address);
        if (url.scheme().size() <= 1 || QFileInfo(address).isAbsolute()) {
            url = QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
        }
        QDesktopServices::openUrl(url);
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
    QString kept = keepCp1252(text, &removed);
    if (!removed.isEmpty()) {
        platform().showMessage(parent, QStringLiteral("Os caracteres \"%1\" não podem ser gravados "
                                                      "nos arquivos e foram retirados do texto.")
                                           .arg(removed));
    }
    return kept;
}

} // namespace quelvara
