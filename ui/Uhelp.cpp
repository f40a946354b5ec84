#include "Uhelp.h"

THelp *Help = nullptr;

THelp::THelp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Help"));
    setWindowTitle(QStringLiteral("Sobre..."));
}

THelp::~THelp() = default;

namespace quelvara {

void showAbout(QWidget *parent)
{
    auto *dialog = new THelp(parent);
    Help = dialog;
    dialog->exec();
    delete dialog;
    Help = nullptr;
}

} // namespace quelvara
