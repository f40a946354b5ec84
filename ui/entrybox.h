#pragma once

#include <QComboBox>
#include <QTableView>
#include <QStringList>

#include <array>
#include <functional>

// The report editor's own controls.
namespace quelvara {

class PickListModel;
class ItemListModel;

// An entry field: free typing, shown as a drop-down box only while it has a
// pick list (a registry column); otherwise it looks and acts as a plain text
// box: no arrow, no drop-down, the text over the whole width.
class EntryBox final : public QComboBox {
public:
    /// Creates an editable field without a pick list.
    explicit EntryBox(QWidget *parent);

    /// Shows the field with or without its drop-down pick list.
    void setPickList(bool on);
    /// Tells whether the field is shown with a pick list.
    bool pickList() const { return pickList_; }

    /// Makes the entries of the drop-down list field `column` (1 or 2) of each registry line.
    void setPickLines(const QStringList &lines, int column);
    /// Empties the drop-down list.
    void clearPickLines() { setPickLines({}, 0); }

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeEditor();

    bool pickList_ = false;
    PickListModel *pickModel_ = nullptr;
};

// The list of the report's items. A change of the current item made with the
// keyboard counts as a click, as a mouse click does; Delete asks for deletion.
//
// It shows the codes it is given without copying them, and tells the view only
// the rows that changed since the last codes. It is a table of one column with
// rows of one height: a row inserted or removed shifts the rows after it
// instead of laying out each row of a large report again, as a list view
// does. The column is as wide as the widest code, or as the list where that is
// wider, so that the list scrolls sideways to a long code.
class ItemListBox final : public QTableView {
public:
    /// Creates an empty list.
    explicit ItemListBox(QWidget *parent);

    /// Shows the codes, in order: the rows that differ from those shown are changed, inserted or
    /// removed and the others stay, with the current item and the selection; a list emptied,
    /// filled or changed both ways is shown anew.
    void showCodes(const QStringList &codes);
    /// Returns the number of rows.
    int count() const;
    /// Returns the row of the current item, or -1.
    int currentRow() const;
    /// Makes a row the current and only selected one; -1 leaves no current item and none
    /// selected.
    void setCurrentRow(int row);
    /// Returns the row of the selected item, or -1.
    int selectedRow() const;
    /// Scrolls up or down to the row; the list stays scrolled sideways as it was.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    std::function<void()> onUserSelect;
    std::function<void()> onDeleteKey;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    int advance(const QString &code);
    void measureAll();
    void applyWidest();
    void applyRowHeight();

    ItemListModel *model_ = nullptr;
    // The width of a code, as the sum of the advances of its characters
    // (cached for the Latin-1 ones), and the code that is widest that way.
    std::array<int, 256> advances_{};
    int widestAdvance_ = 0;
    QString widestCode_;
};

} // namespace quelvara
