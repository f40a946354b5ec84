#include "entrybox.h"

#include "registry.h"

#include <QAbstractListModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace quelvara {

// A drop-down list over one column of the registry lines it was given: it
// shares the lines instead of holding a copy of each entry, and takes the
// column's text from a line only when a row is shown or asked for.
class PickListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void show(const QStringList &lines, int column)
    {
        beginResetModel();
        lines_ = lines;
        column_ = column;
        endResetModel();
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(lines_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= lines_.size() ||
            (role != Qt::DisplayRole && role != Qt::EditRole)) {
            return {};
        }
        return registryLineField(lines_.at(index.row()), column_);
    }

private:
    QStringList lines_;
    int column_ = 0;
};

// The codes of the item list, shared with the list they came from.
class ItemListModel final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // The rows that differ between the codes shown before and after a change:
    // from `first` on, `removed` rows of the old codes became `inserted` rows.
    struct Change {
        int first = 0;
        int removed = 0;
        int inserted = 0;
    };

    const QStringList &codes() const { return codes_; }

    // Shows new codes, telling the views only about the rows between the
    // unchanged ones at the start and at the end.
    Change show(const QStringList &codes)
    {
        const qsizetype before = codes_.size();
        const qsizetype after = codes.size();
        const qsizetype shorter = std::min(before, after);
        // Codes the list did not touch are the same shared text: most are
        // told equal without comparing a character.
        const auto same = [](const QString &a, const QString &b) {
            return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
        };
        qsizetype head = 0;
        while (head < shorter && same(codes_.at(head), codes.at(head))) {
            ++head;
        }
        qsizetype tail = 0;
        while (tail < shorter - head &&
               same(codes_.at(before - 1 - tail), codes.at(after - 1 - tail))) {
            ++tail;
        }
        const Change change{int(head), int(before - head - tail), int(after - head - tail)};
        if (change.removed == change.inserted) {
            codes_ = codes;
            if (change.removed > 0) {
                emit dataChanged(index(change.first), index(change.first + change.removed - 1));
            }
        } else if (before > 0 && after > 0 && change.removed == 0) {
            beginInsertRows({}, change.first, change.first + change.inserted - 1);
            codes_ = codes;
            endInsertRows();
        } else if (before > 0 && after > 0 && change.inserted == 0) {
            beginRemoveRows({}, change.first, change.first + change.removed - 1);
            codes_ = codes;
            endRemoveRows();
        } else {
            // Rows both removed and inserted, or a list emptied or filled:
            // the view lays out every row once, without following each.
            beginResetModel();
            codes_ = codes;
            endResetModel();
        }
        return change;
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(codes_.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= codes_.size() ||
            (role != Qt::DisplayRole && role != Qt::EditRole)) {
            return {};
        }
        return codes_.at(index.row());
    }

private:
    QStringList codes_;
};

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
    // Nor any item of its own: the rows are the registry's lines.
    pickModel_ = new PickListModel(this);
    setModel(pickModel_);
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

void EntryBox::setPickLines(const QStringList &lines, int column)
{
    pickModel_->show(lines, column);
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

ItemListBox::ItemListBox(QWidget *parent)
    : QTableView(parent)
    , model_(new ItemListModel(this))
{
    advances_.fill(-1);
    setModel(model_);
    // A list, not a table: no headers, no grid, one line per row, Tab leaves it.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    applyRowHeight();
}

void ItemListBox::showCodes(const QStringList &codes)
{
    const QStringList before = model_->codes();
    const ItemListModel::Change change = model_->show(codes);
    bool widestGone = false;
    for (int row = change.first; row < change.first + change.removed; ++row) {
        widestGone = widestGone || before.at(row) == widestCode_;
    }
    if (widestGone) {
        measureAll();
    } else {
        for (int row = change.first; row < change.first + change.inserted; ++row) {
            const int width = advance(codes.at(row));
            if (width > widestAdvance_) {
                widestAdvance_ = width;
                widestCode_ = codes.at(row);
            }
        }
    }
    applyWidest();
    // Laid out now, before the paint: a layout left for later came after the
    // first paint and painted every row again. A list only emptied for a load
    // is left as it is, so that its scroll bar does not go and come back.
    if (!codes.isEmpty()) {
        executeDelayedItemsLayout();
    }
}

int ItemListBox::count() const { return model_->rowCount(); }

int ItemListBox::currentRow() const { return currentIndex().row(); }

void ItemListBox::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(model_->index(row), QItemSelectionModel::ClearAndSelect);
}

int ItemListBox::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ItemListBox::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    // The one column is never narrower than the list: scrolling sideways to
    // "show" it would only hide the start of every code.
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(sideways);
}

void ItemListBox::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        advances_.fill(-1);
        applyRowHeight();
        measureAll();
        applyWidest();
    }
}

bool ItemListBox::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        applyWidest();
    }
    return QTableView::viewportEvent(event);
}

QModelIndex ItemListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and the last item, as in any list.
    const int rows = model_->rowCount();
    if ((action == MoveHome || action == MoveEnd) && rows > 0) {
        return model_->index(action == MoveHome ? 0 : rows - 1);
    }
    return QTableView::moveCursor(action, modifiers);
}

void ItemListBox::applyRowHeight()
{
    // The height the item delegate gives a row of one line of text.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("0");
    verticalHeader()->setDefaultSectionSize(
        style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
}

int ItemListBox::advance(const QString &code)
{
    const QFontMetrics metrics = fontMetrics();
    int width = 0;
    for (const QChar c : code) {
        if (c.unicode() < advances_.size()) {
            int &known = advances_[c.unicode()];
            if (known < 0) {
                known = metrics.horizontalAdvance(c);
            }
            width += known;
        } else {
            width += metrics.horizontalAdvance(c);
        }
    }
    return width;
}

void ItemListBox::measureAll()
{
    widestAdvance_ = 0;
    widestCode_.clear();
    for (const QString &code : model_->codes()) {
        const int width = advance(code);
        if (width > widestAdvance_) {
            widestAdvance_ = width;
            widestCode_ = code;
        }
    }
}

void ItemListBox::applyWidest()
{
    // The sum of the characters' advances leaves out kerning: the widest code
    // is measured whole too. The margins are those the item delegate leaves
    // on each side of a text.
    const int text = std::max(widestAdvance_, fontMetrics().horizontalAdvance(widestCode_));
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const int width = std::max(viewport()->width(), text + margins);
    if (horizontalHeader()->sectionSize(0) != width || horizontalHeader()->count() == 0) {
        horizontalHeader()->setDefaultSectionSize(width);
        if (horizontalHeader()->count() > 0) {
            horizontalHeader()->resizeSection(0, width);
        }
    }
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
    QTableView::keyPressEvent(event);
    if (currentRow() != before && onUserSelect) {
        onUserSelect();
    }
}

} // namespace quelvara
