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
    return QStringLiteral("Não foi possível ler o arquivo ") + nativePath(path);
}

QString profileNotRead(const QString &path)
{
    return cannotReadFile(path) + QStringLiteral(". Ele não será alterado.");
}

QString cannotSaveRegistry() { return QStringLiteral("Erro: Não foi possivel salvar o cadastro."); }

QString registryNotReadCannotSave(const QString &path)
{
    return QStringLiteral("O cadastro não pode ser salvo porque não foi possível ler o arquivo ") +
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
    return QStringLiteral(
               "Ano inválido: \"%1\". Informe o ano com quatro dígitos para salvar o item.")
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

QString cannotOpenPage(const QString &path)
{
    return QStringLiteral("Não foi possível abrir a página no navegador. Abra-a pelo navegador; "
                          "ela está em ") +
           nativePath(path);
}

QString cannotOpenMail(const QString &address)
{
    return QStringLiteral("Não foi possível abrir o programa de e-mail. Escreva para ") + address +
           u'.';
}

QString cannotSendPage(const QString &address, const QString &path)
{
    return QStringLiteral("Não foi possível abrir o programa de e-mail. Envie a página para ") +
           address + QStringLiteral(" como anexo; ela está em ") + nativePath(path);
}

QString cannotOpenSite(const QString &address)
{
    return QStringLiteral("Não foi possível abrir o navegador. Visite o site pelo endereço ") +
           address;
}

QString cannotUseFolder(const QString &path)
{
    return QStringLiteral("Não foi possível criar ou abrir a pasta de dados ") + nativePath(path);
}

QString noDisplay()
{
    return QStringLiteral("Não há tela gráfica: o Quelvara só funciona numa sessão gráfica.");
}

QString cannotOpenDisplay(const QString &display)
{
    return display.isEmpty()
               ? QStringLiteral("Não foi possível abrir a tela gráfica: o Quelvara só funciona "
                                "numa sessão gráfica.")
               : QStringLiteral("Não foi possível abrir a tela gráfica %1: o Quelvara só funciona "
                                "numa sessão gráfica.")
                     .arg(display);
}

QString programSummary()
{
    return QStringLiteral("Programa Gerador de Relatórios das Contas Públicas.");
}

QString usage(const QString &program, const QString &arguments)
{
    return QStringLiteral("Uso: ") + program + QStringLiteral(" [opções]") +
           (arguments.isEmpty() ? QString() : u' ' + arguments);
}

QString optionsHeading() { return QStringLiteral("Opções:"); }

QString argumentsHeading() { return QStringLiteral("Argumentos:"); }

QString folderOptionHelp()
{
    return QStringLiteral(
        "Trabalha na pasta indicada: os dados ficam na sua subpasta \"dados\" e as "
        "páginas dos relatórios ao lado dela. A pasta é criada se não existir. "
        "Sem esta opção, a pasta atual.");
}

QString folderValueName() { return QStringLiteral("pasta"); }

QString helpOptionHelp() { return QStringLiteral("Mostra esta ajuda e sai."); }

QString versionOptionHelp() { return QStringLiteral("Mostra a versão do programa e sai."); }

QString unknownOptions(const QStringList &options)
{
    return options.size() == 1 ? QStringLiteral("Opção desconhecida: %1.").arg(options.first())
                               : QStringLiteral("Opções desconhecidas: %1.")
                                     .arg(options.join(QStringLiteral(", ")));
}

QString missingValue(const QString &option)
{
    return QStringLiteral("Falta o valor da opção %1.").arg(option);
}

QString unexpectedValue(const QString &option)
{
    return QStringLiteral("A opção %1 não aceita valor.").arg(option);
}

QString unexpectedArgument(const QString &argument)
{
    return QStringLiteral("Argumento inesperado: %1.").arg(argument);
}

QString badCommandLine() { return QStringLiteral("A linha de comando não foi entendida."); }

QString seeHelp(const QString &program)
{
    return QStringLiteral("Use \"%1 --help\" para ver as opções.").arg(program);
}

QString unknownError() { return QStringLiteral("Erro desconhecido."); }

} // namespace quelvara::msg
