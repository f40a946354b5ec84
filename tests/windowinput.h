#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

// Picks a list entry as the user does: opens the drop-down, moves to the
// entry and confirms with Enter. Tells whether the entry was picked.
[[nodiscard]] inline bool pick(QComboBox *box, int index)
{
    box->showPopup();
    QAbstractItemView *view = box->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); })) {
        return false;
    }
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    return QTest::qWaitFor([view] { return !view->isVisible(); }) && box->currentIndex() == index;
}
