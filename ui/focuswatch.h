#pragma once

#include <QObject>

class QWidget;

// Tells entering a field from leaving it the way the user means it: focus that
// goes to a dialog, a message box, a menu or another program and comes back is
// neither. Qt reports that focus with the ActiveWindow, Popup or MenuBar
// reason, which is also what the offscreen platform sends when a modal dialog
// opens over the window.
namespace quelvara {

class FocusWatch : public QObject {
    Q_OBJECT
public:
    /// Watches a field; the signals carry it.
    explicit FocusWatch(QObject *parent = nullptr);

    /// Starts watching a widget (and reports it by itself in the signals).
    void watch(QWidget *field);

    /// Tells whether a focus change with this reason means the user moved between controls.
    static bool isUserMove(Qt::FocusReason reason);

signals:
    void entered(QWidget *field);
    void left(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace quelvara
