#pragma once

#include <QComboBox>
#include <QListWidget>

#include <functional>

// The report editor's own controls.
namespace quelvara {

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

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void placeEditor();

    bool pickList_ = false;
};

// The list of the report's items. A change of the current item made with the
// keyboard counts as a click, as a mouse click does; Delete asks for deletion.
class ItemListBox final : public QListWidget {
public:
    using QListWidget::QListWidget;

    std::function<void()> onUserSelect;
    std::function<void()> onDeleteKey;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace quelvara
