#pragma once

#include <QDialog>
#include <QString>

// The registry dialog: lists, adds and deletes the entries of one registry
// file and hands back the position of the chosen entry.
class TCadastro : public QDialog {
    Q_OBJECT
public:
    explicit TCadastro(QWidget *parent = nullptr);
    ~TCadastro() override;

    QString FileName;    // bare file name in the data directory, set before showing
    int ChosenIndex = 0; // position of the chosen entry after "OK", -1 after "Cancela"
};

// The dialog currently open, if any.
extern TCadastro *Cadastro;

namespace quelvara {

/// Opens the registry dialog modally on a registry file and returns its ChosenIndex.
int openRegistry(QWidget *parent, const QString &fileName);

} // namespace quelvara
