#pragma once

#include <QDialog>

// The About dialog: the product, its purpose and the contact address.
class THelp : public QDialog {
    Q_OBJECT
public:
    explicit THelp(QWidget *parent = nullptr);
    ~THelp() override;
};

// The dialog currently open, if any.
extern THelp *Help;

namespace quelvara {

/// Opens the About dialog modally and destroys it when it closes.
void showAbout(QWidget *parent);

} // namespace quelvara
