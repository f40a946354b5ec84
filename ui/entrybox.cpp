#include "entrybox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quelvara {

EntryBox::EntryBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setProperty("pickList", false);
    // A pick list may hold a whole large registry: rows of one line each need
    // no layout of their own.
    if (auto *list = qobject_cast<QListView *>(view())) {
        list->setUniformItemSizes(true);
    }
    // Qt reports the text as activated when the field is merely left holding
    // a text of its list; that is no change by the user, and completing then
    // would overwrite the partner field of a shown item.
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

void EntryBox::setPickList(bool on)
{
    if (on == pickList_) {
        return;
    }
    pickList_ = on;
    setProperty("pickList", on);
    if (on) {
        // Let the combo box place its editor beside the arrow again.
        QEvent change(QEvent::StyleChange);
        QComboBox::changeEvent(&change);
    } else {
        placeEditor();
    }
    update();
}

void EntryBox::showPopup()
{
    if (pickList_) {
        QComboBox::showPopup();
    }
}

void EntryBox::paintEvent(QPaintEvent *event)
{
    if (pickList_) {
        QComboBox::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

void EntryBox::resizeEvent(QResizeEvent *event)
{
    QComboBox::resizeEvent(event);
    placeEditor();
}

void EntryBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    placeEditor();
}

void EntryBox::showEvent(QShowEvent *event)
{
    QComboBox::showEvent(event);
    placeEditor();
}

void EntryBox::placeEditor()
{
    if (pickList_ || !lineEdit()) {
        return;
    }
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    lineEdit()->setGeometry(rect().adjusted(frame + 1, frame, -frame - 1, -frame));
}

void ItemListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        event->accept();
        if (onDeleteKey) {
            onDeleteKey();
        }
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && onUserSelect) {
        onUserSelect();
    }
}

} // namespace quelvara
