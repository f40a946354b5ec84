#include "keyboard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace quelvara {

namespace {

// Index of the character a single "&" marks; -1 when none ("&&" is a plain "&").
qsizetype mnemonicIndex(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'&') {
            if (text.at(i + 1) != u'&') {
                return i + 1;
            }
            ++i;
        }
    }
    return -1;
}

class PanelButtonAccessible final : public QAccessibleWidget {
public:
    explicit PanelButtonAccessible(PanelButton *panel)
        : QAccessibleWidget(panel, QAccessible::Button)
    {
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        auto *panel = static_cast<PanelButton *>(widget());
        if (actionName == pressAction() && panel->isEnabled() && panel->onPress) {
            panel->onPress();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *panelButtonFactory(const QString &, QObject *object)
{
    if (auto *panel = dynamic_cast<PanelButton *>(object)) {
        return new PanelButtonAccessible(panel);
    }
    return nullptr;
}

} // namespace

QString withMnemonic(const QString &text, QString &taken)
{
    if (mnemonicIndex(text) >= 0) {
        taken += mnemonicLetter(text);
        return text;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i).toLower();
        if (c.isLetter() && !taken.contains(c)) {
            taken += c;
            QString marked = text;
            marked.insert(i, u'&');
            return marked;
        }
    }
    return text;
}

QString mnemonicLetter(const QString &text)
{
    const qsizetype at = mnemonicIndex(text);
    return at < 0 ? QString() : QString(text.at(at).toLower());
}

QString accessibleText(const QString &caption)
{
    QString text = caption;
    if (const qsizetype at = mnemonicIndex(text); at > 0) {
        text.remove(at - 1, 1);
    }
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    text = text.trimmed();
    while (text.endsWith(u':')) {
        text.chop(1);
        text = text.trimmed();
    }
    return text;
}

PanelButton::PanelButton(QWidget *parent)
    : QFrame(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(panelButtonFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFocusPolicy(Qt::StrongFocus);
}

void PanelButton::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (hasFocus()) {
        // The focus shows as a dotted line in the caption's colour, inside the frame.
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(contentsRect().adjusted(1, 1, -2, -2));
    }
}

} // namespace quelvara
