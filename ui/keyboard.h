#pragma once

#include <QFrame>
#include <QString>

#include <functional>

// What the windows need for the keyboard and for screen readers beyond what
// Qt's own controls give.
namespace quelvara {

/// Returns the text with a mnemonic on its first letter that none of the taken letters holds, and
/// adds that letter to them; a text that already has one, or has no free letter, comes back as it
/// was.
QString withMnemonic(const QString &text, QString &taken);

/// Returns the letter a text's mnemonic stands on, lower case; empty when it has none.
QString mnemonicLetter(const QString &text);

/// Returns a text as a screen reader names a control by it: no mnemonic, no trailing colon or
/// blanks.
QString accessibleText(const QString &caption);

// A panel that is a button to the keyboard and to assistive technology: it
// takes the focus with Tab, and a screen reader sees a push button whose press
// runs onPress. The window that owns it handles the mouse and the keys.
class PanelButton final : public QFrame {
public:
    explicit PanelButton(QWidget *parent);

    std::function<void()> onPress;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quelvara
