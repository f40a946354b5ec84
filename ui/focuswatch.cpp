#include "focuswatch.h"

#include <QFocusEvent>
#include <QWidget>

namespace quelvara {

FocusWatch::FocusWatch(QObject *parent)
    : QObject(parent)
{
}

void FocusWatch::watch(QWidget *field) { field->installEventFilter(this); }

bool FocusWatch::isUserMove(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        return false;
    default:
        return true;
    }
}

bool FocusWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto *focus = static_cast<QFocusEvent *>(event);
        auto *field = qobject_cast<QWidget *>(watched);
        if (field && isUserMove(focus->reason())) {
            if (event->type() == QEvent::FocusIn) {
                emit entered(field);
            } else {
                emit left(field);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quelvara
