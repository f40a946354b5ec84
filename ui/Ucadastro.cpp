#include "Ucadastro.h"

TCadastro *Cadastro = nullptr;

TCadastro::TCadastro(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Cadastro"));
    setWindowTitle(QStringLiteral("Cadastro"));
}

TCadastro::~TCadastro() = default;

namespace quelvara {

int openRegistry(QWidget *parent, const QString &fileName)
{
    auto *dialog = new TCadastro(parent);
    Cadastro = dialog;
    dialog->FileName = fileName;
    dialog->exec();
    const int chosen = dialog->ChosenIndex;
    delete dialog;
    Cadastro = nullptr;
    return chosen;
}

} // namespace quelvara
