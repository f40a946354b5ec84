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

namespace {

// Who holds a folder's lock, in parentheses after the folder, as far as it is known.
QString lockHolderText(const QString &computer, qint64 process)
{
    if (!computer.isEmpty() && process > 0) {
        return QStringLiteral(" (no computador %1, processo %2)")
            .arg(computer, QString::number(process));
    }
    if (!computer.isEmpty()) {
        return QStringLiteral(" (no computador %1)").arg(computer);
    }
    if (process > 0) {
        return QStringLiteral(" (processo %1)").arg(QString::number(process));
    }
    return {};
}

} // namespace

QString folderInUse(const QString &folder, const QString &computer, qint64 process)
{
    const QString who = lockHolderText(computer, process);
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

QString goToFinding() { return QStringLiteral("&Ir para"); }

QString closeFindings() { return QStringLiteral("&Fechar"); }

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

QString cliSummary()
{
    return QStringLiteral("Publica, verifica e exporta os relatórios de um ano sem abrir janelas.");
}

QString cliFolderHelp()
{
    return QStringLiteral("Trabalha na pasta indicada, que deve existir e ter a subpasta \"dados\" "
                          "do Quelvara. Sem esta opção, a pasta atual.");
}

QString pdfOptionHelp()
{
    return QStringLiteral("Com publicar: grava também o PDF de cada relatório.");
}

QString jsonOptionHelp()
{
    return QStringLiteral("Com verificar: mostra as constatações como uma lista JSON.");
}

QString outputOptionHelp()
{
    return QStringLiteral("Com exportar: a pasta que recebe os arquivos (criada se não existir).");
}

QString commandArgumentHelp()
{
    return QStringLiteral("publicar, verificar ou exportar (veja abaixo).");
}

QString yearArgumentHelp()
{
    return QStringLiteral("O exercício, com quatro algarismos (por exemplo 2005).");
}

QString cliCommandsHelp()
{
    return QStringLiteral(
        "Comandos:\n"
        "  publicar ANO [--pdf]\n"
        "      Para cada relatório que tem arquivos de dados no ano, recalcula os valores\n"
        "      acumulados como o botão \"Atualizar Valores\" até o período atual do\n"
        "      relatório, que é o último período com arquivo de dados; grava a página de\n"
        "      cada período com o CSV e o JSON, e os índices do ano e dos anos. Com --pdf\n"
        "      grava também o PDF de cada relatório. Mostra uma linha por relatório\n"
        "      publicado e um resumo. Não roda enquanto o Quelvara estiver aberto na\n"
        "      mesma pasta.\n"
        "  verificar ANO [--json]\n"
        "      Verifica os relatórios do ano e mostra uma constatação por linha:\n"
        "      gravidade (erro ou aviso), relatório, período, item, campo e mensagem,\n"
        "      separados por TAB; com --json, uma lista JSON.\n"
        "  exportar ANO --saida PASTA\n"
        "      Copia para PASTA as páginas publicadas do ano, com seus CSV, JSON e PDF,\n"
        "      o índice do ano e um índice geral só com esse ano, prontos para qualquer\n"
        "      servidor web. Não altera nada na pasta de dados.\n"
        "\n"
        "Exemplo, para publicar todo dia às 2 horas (crontab):\n"
        "  0 2 * * *  quelvara-cli --pasta ~/Quelvara publicar $(date +\\%Y)\n"
        "\n"
        "Códigos de saída:\n"
        "  0    tudo certo\n"
        "  1    verificar achou erros; publicar ou exportar não gravou algum arquivo,\n"
        "       não achou nada para gravar ou encontrou problemas nos dados\n"
        "  2    linha de comando errada, ano sem quatro algarismos, pasta que não\n"
        "       existe ou não pode ser lida\n"
        "  3    publicar: o Quelvara está aberto nesta pasta\n"
        "  130  interrompido com Ctrl+C (143 com SIGTERM) entre dois arquivos; os\n"
        "       arquivos já gravados ficam inteiros\n");
}

QString cliUsage(const QString &program)
{
    return QStringLiteral("Uso: %1 [--pasta PASTA] publicar ANO [--pdf]\n"
                          "     %1 [--pasta PASTA] verificar ANO [--json]\n"
                          "     %1 [--pasta PASTA] exportar ANO --saida PASTA\n")
               .arg(program) +
           seeHelp(program);
}

QString missingCommand()
{
    return QStringLiteral("Falta o comando: publicar, verificar ou exportar.");
}

QString unknownCommand(const QString &command)
{
    return QStringLiteral("Comando desconhecido: %1.").arg(command);
}

QString missingYear(const QString &command)
{
    return QStringLiteral("Falta o ano do comando %1.").arg(command);
}

QString yearNotFourDigits(const QString &text)
{
    return QStringLiteral("O ano deve ter quatro algarismos, como 2005: %1.").arg(text);
}

QString optionNotForCommand(const QString &option, const QString &command)
{
    return QStringLiteral("A opção %1 não vale para o comando %2.").arg(option, command);
}

QString missingOutputFolder()
{
    return QStringLiteral("Falta a opção --saida com a pasta que recebe os arquivos.");
}

QString folderMissing(const QString &path)
{
    return QStringLiteral("A pasta %1 não existe.").arg(nativePath(path));
}

QString noDataFolder(const QString &path)
{
    return QStringLiteral("A pasta %1 não tem a subpasta \"dados\" do Quelvara.")
        .arg(nativePath(path));
}

QString outputInsideDataFolder(const QString &path)
{
    return QStringLiteral("A pasta de saída %1 não pode ser a pasta de dados, ficar dentro de "
                          "\"dados\" nem dentro da pasta de um ano.")
        .arg(nativePath(path));
}

QString nothingToPublish(const QString &year, const QString &dataYearDir)
{
    return QStringLiteral("Nenhum relatório tem arquivos de dados de %1 em %2; nada foi publicado.")
        .arg(year, nativePath(dataYearDir));
}

QString nothingToCheck(const QString &year, const QString &dataYearDir)
{
    return QStringLiteral("Nenhum relatório tem arquivos de dados de %1 em %2; nada foi "
                          "verificado.")
        .arg(year, nativePath(dataYearDir));
}

QString reportPublished(const QString &pagePath, const QString &title, const QString &periodName,
                        bool pdf)
{
    return QStringLiteral("Publicado: %1 (%2, %3)%4")
        .arg(pagePath, title, periodName.isEmpty() ? annualPeriod() : periodName,
             pdf ? QStringLiteral(" com PDF") : QString());
}

QString publishSummary(const QString &year, int reports, int kinds, const QString &indexPath,
                       int withProblems)
{
    QString text = reports == 1
                       ? QStringLiteral("%1: 1 relatório publicado").arg(year)
                       : QStringLiteral("%1: %2 relatórios publicados").arg(year).arg(reports);
    text += kinds == 1 ? QStringLiteral(" de 1 tipo") : QStringLiteral(" de %1 tipos").arg(kinds);
    text += QStringLiteral("; índice em %1.").arg(nativePath(indexPath));
    if (withProblems == 1) {
        text += QStringLiteral(" 1 tipo de relatório teve problemas (veja as mensagens acima).");
    } else if (withProblems > 1) {
        text +=
            QStringLiteral(" %1 tipos de relatório tiveram problemas (veja as mensagens acima).")
                .arg(withProblems);
    }
    return text;
}

QString checkSummary(const QString &year, int errors, int warnings)
{
    if (errors == 0 && warnings == 0) {
        return noProblemsFound();
    }
    return QStringLiteral("%1: %2 e %3.")
        .arg(year, errors == 1 ? QStringLiteral("1 erro") : QStringLiteral("%1 erros").arg(errors),
             warnings == 1 ? QStringLiteral("1 aviso") : QStringLiteral("%1 avisos").arg(warnings));
}

QString nothingPublished(const QString &year, const QString &folder)
{
    return QStringLiteral("Nenhum relatório de %1 foi publicado em %2; nada foi exportado.")
        .arg(year, nativePath(folder));
}

QString exportSummary(const QString &year, int files, const QString &folder)
{
    return (files == 1 ? QStringLiteral("%1: 1 arquivo exportado para %2.")
                       : QStringLiteral("%1: %3 arquivos exportados para %2."))
        .arg(year, nativePath(folder), QString::number(files));
}

QString progressLine(const QString &verb, int step, int steps, const QString &what)
{
    return QStringLiteral("%1 %2 de %3: %4").arg(verb).arg(step).arg(steps).arg(what);
}

QString publishing() { return QStringLiteral("Publicando"); }

QString checking() { return QStringLiteral("Verificando"); }

QString exporting() { return QStringLiteral("Exportando"); }

QString folderInUseForPublishing(const QString &folder, const QString &computer, qint64 process)
{
    return QStringLiteral("O Quelvara está aberto na pasta %1%2. Feche-o e execute o comando de "
                          "novo: gravando os mesmos arquivos ao mesmo tempo, um desfaria as "
                          "gravações do outro.")
        .arg(nativePath(folder), lockHolderText(computer, process));
}

QString interrupted(int done, int steps)
{
    return QStringLiteral("Interrompido depois de %1 de %2 etapas; os arquivos gravados estão "
                          "inteiros.")
        .arg(done)
        .arg(steps);
}

QString unknownError() { return QStringLiteral("Erro desconhecido."); }

} // namespace quelvara::msg
