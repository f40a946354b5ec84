#include "platform.h"

#include "codec.h"
#include "messages.h"
#include "vendor.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
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
