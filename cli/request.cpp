#include "request.h"

#include "commandline.h"
#include "messages.h"
#include "reportpaths.h"

#include <QCommandLineOption>

#include <cstdio>

namespace quelvara::cli {

namespace {

const QString kPdf = QStringLiteral("pdf");
const QString kJson = QStringLiteral("json");
const QString kOutput = QStringLiteral("saida");

struct CommandInfo {
    QString name;
    Command command;
    QString option; // the one option of its own; empty for none
};

const QList<CommandInfo> &commands()
{
    static const QList<CommandInfo> list{
        {QStringLiteral("publicar"), Command::Publicar, kPdf},
        {QStringLiteral("verificar"), Command::Verificar, kJson},
        {QStringLiteral("exportar"), Command::Exportar, kOutput},
    };
    return list;
}

void print(std::FILE *stream, const QString &text)
{
    if (text.isEmpty()) {
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

Request refused(const QString &reason)
{
    Request request;
    request.exitCode = kExitUsage;
    request.error =
        kProgram + QStringLiteral(": ") + reason + u'\n' + msg::cliUsage(kProgram) + u'\n';
    return request;
}

} // namespace

Request readRequest(const QStringList &arguments)
{
    CommandLine commandLine(kProgram, msg::cliSummary());
    commandLine.setFolderHelp(msg::cliFolderHelp());
    commandLine.addOption(QCommandLineOption(kPdf, msg::pdfOptionHelp()));
    commandLine.addOption(QCommandLineOption(kJson, msg::jsonOptionHelp()));
    commandLine.addOption(
        QCommandLineOption(kOutput, msg::outputOptionHelp(), msg::folderValueName()));
    commandLine.addPositionalArgument(QStringLiteral("comando"), msg::commandArgumentHelp(),
                                      QStringLiteral("<comando>"));
    commandLine.addPositionalArgument(QStringLiteral("ano"), msg::yearArgumentHelp(),
                                      QStringLiteral("<ano>"));

    if (!commandLine.parse(arguments)) {
        return refused(commandLine.reason());
    }
    Request request;
    if (commandLine.helpRequested()) {
        request.exitCode = kExitOk;
        request.output = commandLine.helpText() + u'\n' + msg::cliCommandsHelp();
        return request;
    }
    if (commandLine.versionRequested()) {
        request.exitCode = kExitOk;
        request.output = commandLine.versionText();
        return request;
    }

    const QCommandLineParser &parser = commandLine.parser();
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return refused(msg::missingCommand());
    }
    const auto found = std::find_if(commands().cbegin(), commands().cend(),
                                    [&](const CommandInfo &c) { return c.name == positional[0]; });
    if (found == commands().cend()) {
        return refused(msg::unknownCommand(positional[0]));
    }
    if (positional.size() < 2) {
        return refused(msg::missingYear(found->name));
    }
    if (positional.size() > 2) {
        return refused(msg::unexpectedArgument(positional[2]));
    }
    if (!isValidYear(positional[1])) {
        return refused(msg::yearNotFourDigits(positional[1]));
    }
    for (const QString &option : {kPdf, kJson, kOutput}) {
        if (option != found->option && parser.isSet(option)) {
            return refused(msg::optionNotForCommand(QStringLiteral("--") + option, found->name));
        }
    }
    if (found->command == Command::Exportar && parser.value(kOutput).isEmpty()) {
        return refused(parser.isSet(kOutput) ? msg::missingValue(QStringLiteral("--saida"))
                                             : msg::missingOutputFolder());
    }

    request.command = found->command;
    request.commandName = found->name;
    request.year = positional[1];
    const QString folder = commandLine.folder();
    request.folder = folder.isEmpty() ? expandFolder(QStringLiteral(".")) : folder;
    // Read against the directory the command was typed in, before the data folder is entered.
    request.outputFolder = parser.isSet(kOutput) ? expandFolder(parser.value(kOutput)) : QString();
    request.pdf = parser.isSet(kPdf);
    request.json = parser.isSet(kJson);
    return request;
}

int finishRequest(const Request &request)
{
    print(stdout, request.output);
    print(stderr, request.error);
    return request.exitCode;
}

} // namespace quelvara::cli
