#pragma once

#include <QMainWindow>

// The main window: the municipality profile, the menus and the tool bars that
// open every other window.
class TPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TPrincipal(QWidget *parent = nullptr);
    ~TPrincipal() override;
};

// The main window of the run.
extern TPrincipal *Principal;
