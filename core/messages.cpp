#include "messages.h"

#include "textfile.h"

namespace quelvara::msg {

namespace {

QString withoutDots(QString text)
{
    text.remove(u'.');
    return text;
}

} // namespace

QString cannotCreateFile(const QString &path)
{
    return QStringLiteral("Não foi possivel criar o arquivo ") + nativePath(path);
}

QString cannotCreateDirectory(const QString &path)
{
    return QStringLiteral("Não foi possivel criar o diretório ") + nativePath(path);
}

QString cannotAlterFile(const QString &path)
{
    return QStringLiteral("Não foi possivel alterar o arquivo ") + nativePath(path);
}

QString cannotReadFile(const QString &path)
{
    return QStringLiteral("Não foi possivel ler o arquivo ") + nativePath(path);
}

QString fileTooLarge(const QString &path)
{
    return QStringLiteral("O arquivo %1 tem mais de %2 MB, muito mais que qualquer arquivo do "
                          "Quelvara: ele não foi lido e não será alterado.")
        .arg(nativePath(path), QString::number(kMaxFileSize / (1024 * 1024)));
}

QString profileNotRead(const QString &path)
{
    return cannotReadFile(path) + QStringLiteral(". Ele não será alterado.");
}

QString folderInUse(const QString &folder, const QString &computer, qint64 process)
{
    QString who;
    if (!computer.isEmpty() && process > 0) {
        who = QStringLiteral(" (no computador %1, processo %2)").arg(computer, QString::number(process));
    } else if (!computer.isEmpty()) {
        who = QStringLiteral(" (no computador %1)").arg(computer);
    } else if (process > 0) {
        who = QStringLiteral(" (processo %1)").arg(QString::number(process));
    }
    return QStringLiteral("O Quelvara já está aberto na pasta %1%2. Use a cópia que já está "
                          "aberta: duas cópias na mesma pasta desfariam as gravações uma da "
                          "outra.")
        .arg(nativePath(folder), who);
}

QString cannotLockFolder(const QString &lockPath)
{
    return QStringLiteral("Não foi possível criar o arquivo %1, que impede que duas cópias do "
                          "Quelvara usem a mesma pasta. Verifique se a pasta permite gravação.")
        .arg(nativePath(lockPath));
}

QString cannotSaveRegistry() { return QStringLiteral("Erro: Não foi possivel salvar o cadastro."); }

QString registryNotReadCannotSave(const QString &path)
{
    return QStringLiteral("O cadastro não pode ser salvo porque não foi possivel ler o arquivo ") +
           nativePath(path);
}

QString registryNotReadNothingSaved(const QString &path)
{
    return QStringLiteral("O cadastro não foi lido e nada será salvo neste relatório: ") +
           nativePath(path);
}

QString firstFieldEmpty() { return QStringLiteral("O primeiro campo não pode estar em branco."); }

QString selectAnItem() { return QStringLiteral("Selecione um item ao lado."); }

QString deleteCaption() { return QStringLiteral("Excluir"); }

QString deleteFromRegistry() { return QStringLiteral("Deseja Excluir o Item do cadastro?"); }

QString dataFileNotRead(const QString &path)
{
    return QStringLiteral("O arquivo não foi lido e não será alterado: ") + nativePath(path);
}

QString invalidYear(const QString &ano)
{
    return QStringLiteral("Ano inválido: \"%1\". Informe o ano com quatro dígitos para salvar o item.")
        .arg(ano);
}

QString accumulationInstruction()
{
    return QStringLiteral("Clique no botão \"Atualizar Valores\" para calcular o acumulado.");
}

QString noPreviousFile(const QString &path)
{
    return QStringLiteral("Não existe o arquivo anterior: ") + nativePath(path);
}

QString previousNotANumber(const QString &previous, const QString &value)
{
    return QStringLiteral("O valor anterior nao eh double: ") + withoutDots(previous) +
           QStringLiteral(" + ") + withoutDots(value);
}

QString unfitCharacters(const QStringList &characters)
{
    QStringList quoted;
    for (const QString &character : characters) {
        quoted.append(u'"' + character + u'"');
    }
    return quoted.size() == 1
               ? QStringLiteral("O caractere %1 não pode ser gravado nos arquivos e foi retirado "
                                "do texto.")
                     .arg(quoted.first())
               : QStringLiteral("Os caracteres %1 não podem ser gravados nos arquivos e foram "
                                "retirados do texto.")
                     .arg(quoted.join(QStringLiteral(", ")));
}

QString unknownError() { return QStringLiteral("Erro desconhecido."); }

} // namespace quelvara::msg
