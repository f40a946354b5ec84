#include "messages.h"

#include "textfile.h"

namespace quelvara::msg {

namespace {

QString withoutDots(QString text)
{
    text.remove(u'.');
    return text;
}

// "Atualizar Valores" recomputes the periods up to the one shown, so the
// last period with data brings the whole year up to date.
QString recalculateFromTheLastPeriod()
{
    return QStringLiteral("vá ao último período preenchido e clique no botão \"Atualizar "
                          "Valores\".");
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
    return QStringLiteral("O cadastro não pode ser salvo porque não foi possível ler o arquivo ") +
           nativePath(path);
}

QString registryNotReadNothingSaved(const QString &path)
{
    return QStringLiteral("O cadastro não foi lido e nada será salvo neste relatório: ") +
           nativePath(path);
}

QString saveEntryCaption() { return QStringLiteral("Cadastro"); }

QString saveTypedEntry()
{
    return QStringLiteral("O item digitado ainda não foi salvo no cadastro. Deseja salvá-lo?");
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

QString severityName(bool error)
{
    return error ? QStringLiteral("erro") : QStringLiteral("aviso");
}

QString fileNotChecked(const QString &path)
{
    return QStringLiteral("Não foi possível ler o arquivo %1; ele não foi verificado.")
        .arg(nativePath(path));
}

QString registryNotChecked(const QString &path)
{
    return QStringLiteral("Não foi possível ler o cadastro %1; os acumulados não foram "
                          "conferidos com ele.")
        .arg(nativePath(path));
}

QString previousPeriodMissing(const QString &periodName, const QString &path)
{
    return QStringLiteral("Não existe o arquivo do período anterior (%1), de onde partem os "
                          "acumulados: %2. Preencha esse período ou clique no botão \"Atualizar "
                          "Valores\" para criá-lo.")
        .arg(periodName, nativePath(path));
}

QString accumulatedNotANumber(const QString &text, const QString &expected)
{
    const QString what = text == accumulationInstruction()
                             ? QStringLiteral("O acumulado não foi calculado. ")
                             : QStringLiteral("O acumulado \"%1\" não é um valor. ").arg(text);
    if (expected.isEmpty()) {
        return what +
               QStringLiteral("Corrija o montante deste período e os dos períodos "
                              "anteriores; depois ") +
               recalculateFromTheLastPeriod();
    }
    return what + QStringLiteral("Deve ser %1: ").arg(expected) + recalculateFromTheLastPeriod();
}

QString accumulatedStale(const QString &text, const QString &expected)
{
    return QStringLiteral("O acumulado %1 não é o acumulado do período anterior mais o montante "
                          "deste período: deve ser %2; ")
               .arg(text, expected) +
           recalculateFromTheLastPeriod();
}

QString notAnAmount(const QString &text)
{
    return QStringLiteral("\"%1\" não é um valor e fica fora dos totais. Digite-o como "
                          "1.234,56.")
        .arg(text);
}

QString computedDisagrees(const QString &text, const QString &expected)
{
    return QStringLiteral("O valor %1 não confere com os campos de que é calculado: deve ser %2. "
                          "Entre neste campo para calculá-lo de novo e salve o item.")
        .arg(text, expected);
}

QString operandNotANumber(const QString &caption, const QString &text)
{
    return QStringLiteral("O campo \"%1\" não é um número (\"%2\"), e este valor não pode ser "
                          "conferido. Corrija-o e entre neste campo para calculá-lo.")
        .arg(caption, text);
}

QString invalidCnpj(const QString &text)
{
    return QStringLiteral("O CNPJ \"%1\" não é válido: os dígitos verificadores não conferem "
                          "ou faltam caracteres. Confira o número no item e no cadastro de CNPJs.")
        .arg(text);
}

QString invalidCpf(const QString &text)
{
    return QStringLiteral("O CPF \"%1\" não é válido: os dígitos verificadores não conferem. "
                          "Confira o número no item e no cadastro de CNPJs.")
        .arg(text);
}

QString invalidDate(const QString &text)
{
    return QStringLiteral("A data \"%1\" não é válida. Digite-a como dia/mês/ano, por exemplo "
                          "31/12/2005.")
        .arg(text);
}

QString dateOutsideYear(const QString &text, const QString &year)
{
    return QStringLiteral("A data %1 não é do ano do relatório (%2). Confira a data.")
        .arg(text, year);
}

QString itemLeftOut(const QString &caption)
{
    return QStringLiteral("O campo \"%1\" está em branco: o item fica fora da página e dos "
                          "totais. Preencha-o no item ou no cadastro.")
        .arg(caption);
}

QString repeatedNumber(const QString &number, int count)
{
    return QStringLiteral("O número de compra %1 aparece em %2 itens. Dê a cada compra o seu "
                          "próprio número.")
        .arg(number, QString::number(count));
}

QString annualPeriod() { return QStringLiteral("Anual"); }

QStringList findingsHeadings()
{
    return {QStringLiteral("Gravidade"), QStringLiteral("Período"), QStringLiteral("Item"),
            QStringLiteral("Campo"), QStringLiteral("Mensagem")};
}

QString checkCaption() { return QStringLiteral("Verificar"); }

QString noProblemsFound() { return QStringLiteral("Nenhum problema encontrado."); }

QString goToFinding() { return QStringLiteral("Ir para"); }

QString closeFindings() { return QStringLiteral("Fechar"); }

QString goOnDespiteErrors(int errors)
{
    return (errors == 1 ? QStringLiteral("O relatório tem 1 erro.")
                        : QStringLiteral("O relatório tem %1 erros.").arg(errors)) +
           QStringLiteral(" Deseja continuar assim mesmo?");
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
