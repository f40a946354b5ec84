#pragma once

// What a user sees of a window, checked the same way for every window: each
// caption, button text and frame title whole inside its control, each control
// inside the window, each list entry whole or within reach of a scroll bar,
// and mnemonics that do not collide; at the default font and at larger ones.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>

// Returns a text as shown: the "&" that marks a mnemonic is not drawn, "&&" shows one "&".
inline QString stripMnemonic(const QString &text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && i + 1 < text.size()) {
            ++i;
        }
        shown.append(text.at(i));
    }
    return shown;
}

// Returns the letter a text's mnemonic stands on, lower case; empty without one.
inline QString mnemonicOf(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'&') {
            if (text.at(i + 1) != u'&') {
                return text.at(i + 1).toLower();
            }
            ++i;
        }
    }
    return {};
}

// Makes the application's font larger (125 %, 150 %) for as long as it lives,
// as a user with a larger desktop font has it.
class ScaledFont {
public:
    explicit ScaledFont(qreal factor)
        : saved_(QApplication::font())
    {
        QFont larger = saved_;
        if (saved_.pointSizeF() > 0) {
            larger.setPointSizeF(saved_.pointSizeF() * factor);
        } else {
            larger.setPixelSize(qRound(saved_.pixelSize() * factor));
        }
        QApplication::setFont(larger);
    }
    ~ScaledFont() { QApplication::setFont(saved_); }
    ScaledFont(const ScaledFont &) = delete;
    ScaledFont &operator=(const ScaledFont &) = delete;

private:
    QFont saved_;
};

inline QString nameOf(const QWidget *widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// The width a control gives its text, after its icon, indicator and margins.
// A frame's title has the frame's inside.
inline int roomForText(const QWidget *widget)
{
    const QStyle *style = widget->style();
    int room = widget->contentsRect().width();
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        return room - 2 * label->margin() - std::max(0, label->indent());
    }
    if (const auto *check = qobject_cast<const QCheckBox *>(widget)) {
        return room - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check);
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        if (qobject_cast<const QPushButton *>(button)) {
            // Where the style draws a push button's icon and text: inside its bevel.
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            option.icon = button->icon();
            option.iconSize = button->iconSize();
            room = style->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        }
        if (!button->icon().isNull()) {
            room -= button->iconSize().width() + 4;
        }
        return room;
    }
    return room;
}

// Returns what the user would not see whole in a shown window: texts wider than
// their control, controls outside the window or their frame, list entries cut.
inline QStringList layoutFaults(const QWidget *window)
{
    QStringList faults;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window)) {
            continue;
        }
        const QString name = nameOf(widget);
        const QRect place(widget->mapTo(window, QPoint(0, 0)), widget->size());
        if (!window->rect().contains(place)) {
            faults << name + QStringLiteral(" lies outside the window");
        }
        const QWidget *parent = widget->parentWidget();
        if (parent != window && !parent->rect().contains(widget->geometry())) {
            faults << name + QStringLiteral(" lies outside ") + nameOf(parent);
        }

        QString text;
        if (const auto *label = qobject_cast<const QLabel *>(widget)) {
            text = label->wordWrap() || !label->pixmap().isNull() ? QString() : label->text();
            if (label->textFormat() == Qt::RichText) {
                text.clear();
            }
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            text = button->text();
        } else if (const auto *box = qobject_cast<const QGroupBox *>(widget)) {
            text = box->title();
        }
        const QFontMetrics metrics = widget->fontMetrics();
        const int need = metrics.horizontalAdvance(stripMnemonic(text));
        if (!text.isEmpty() && need > roomForText(widget)) {
            faults << QStringLiteral("%1: \"%2\" needs %3 pixels, has %4")
                          .arg(name, text)
                          .arg(need)
                          .arg(roomForText(widget));
        }

        if (const auto *view = qobject_cast<const QListView *>(widget)) {
            const QAbstractItemModel *model = view->model();
            const bool scrolls = view->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
            for (int row = 0; model && row < model->rowCount(); ++row) {
                const QModelIndex index = model->index(row, view->modelColumn());
                const QString entry = index.data().toString();
                const int width = view->fontMetrics().horizontalAdvance(entry);
                if (view->visualRect(index).width() < width ||
                    (!scrolls && width > view->viewport()->width())) {
                    faults << QStringLiteral("%1: entry \"%2\" is cut").arg(name, entry);
                }
            }
        }
    }
    return faults;
}

// Returns the mnemonic letters used more than once in a window (its buttons,
// labels of fields and menu bar), each with the texts that share it.
inline QStringList mnemonicClashes(const QWidget *window)
{
    QMap<QString, QStringList> byLetter;
    for (const QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->window() != window || !widget->isVisibleTo(window)) {
            continue;
        }
        QString text;
        if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            text = button->text();
        } else if (const auto *label = qobject_cast<const QLabel *>(widget);
                   label && label->buddy()) {
            text = label->text();
        } else if (const auto *bar = qobject_cast<const QMenuBar *>(widget)) {
            for (const QAction *action : bar->actions()) {
                if (const QString letter = mnemonicOf(action->text()); !letter.isEmpty()) {
                    byLetter[letter].append(action->text());
                }
            }
        }
        if (const QString letter = mnemonicOf(text); !letter.isEmpty()) {
            byLetter[letter].append(text);
        }
    }
    QStringList clashes;
    for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it) {
        if (it.value().size() > 1) {
            clashes << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
        }
    }
    return clashes;
}

// Returns the texts of the shown push buttons and check boxes that have no mnemonic.
inline QStringList buttonsWithoutMnemonic(const QWidget *window)
{
    QStringList missing;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->window() == window && button->isVisibleTo(window) &&
            (qobject_cast<const QPushButton *>(button) ||
             qobject_cast<const QCheckBox *>(button)) &&
            mnemonicOf(button->text()).isEmpty()) {
            missing << nameOf(button) + QStringLiteral(" \"") + button->text() + u'"';
        }
    }
    return missing;
}
