#include "commandline.h"

#include "messages.h"

#include <QDir>

#include <algorithm>

#ifndef QUELVARA_VERSION
#error "The build sets QUELVARA_VERSION to the project's version."
#endif

namespace quelvara {

namespace {

constexpr qsizetype kHelpWidth = 79;

// The name an option is typed with: "-h" for a letter, "--pasta" for a word.
QString typedName(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The option's names and value as the help lists them: "-h, --help", "--pasta <pasta>".
QString optionSyntax(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names()) {
        names.append(typedName(name));
    }
    QString syntax = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        syntax += QStringLiteral(" <") + option.valueName() + u'>';
    }
    return syntax;
}

// The name an argument gives, without its dashes and without a "=value".
QString bareName(const QString &argument)
{
    QString name = argument.section(u'=', 0, 0);
    while (name.startsWith(u'-')) {
        name.remove(0, 1);
    }
    return name;
}

// Appends one entry of the help: its syntax in the first column and its
// description wrapped into the second, so that no line passes kHelpWidth.
void appendEntry(QString &help, const QString &syntax, const QString &description, qsizetype column)
{
    QString line = QStringLiteral("  ") + syntax;
    line += QString(std::max<qsizetype>(column - line.size(), 1), u' ');
    const QString indent(column, u' ');
    bool firstWord = true;
    for (const QString &word : description.split(u' ', Qt::SkipEmptyParts)) {
        if (!firstWord && line.size() + 1 + word.size() > kHelpWidth) {
            help += line + u'\n';
            line = indent;
            firstWord = true;
        }
        if (!firstWord) {
            line += u' ';
        }
        line += word;
        firstWord = false;
    }
    help += line + u'\n';
}

} // namespace

QString programVersion() { return QStringLiteral(QUELVARA_VERSION); }

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

QString expandFolder(const QString &folder)
{
    QString path = folder;
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) {
        path = QDir::homePath() + path.mid(1);
    }
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

CommandLine::CommandLine(const QString &program, const QString &summary)
    : program_(program)
    , summary_(summary)
    , folderOption_(QStringLiteral("pasta"), msg::folderOptionHelp(), msg::folderValueName())
    , helpOption_(QStringList{QStringLiteral("h"), QStringLiteral("help")}, msg::helpOptionHelp())
    , versionOption_(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                     msg::versionOptionHelp())
{
    // "-pasta" reads as "--pasta", not as the letters p, a, s, t, a.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    addOption(folderOption_);
    addOption(helpOption_);
    addOption(versionOption_);
}

void CommandLine::addOption(const QCommandLineOption &option)
{
    parser_.addOption(option);
    options_.append(option);
}

void CommandLine::setFolderHelp(const QString &description)
{
    folderOption_.setDescription(description);
    // The help lists the options as added: the first is "--pasta".
    options_.first() = folderOption_;
}

void CommandLine::addPositionalArgument(const QString &name, const QString &description,
                                        const QString &syntax)
{
    parser_.addPositionalArgument(name, description, syntax);
    positional_.append({name, description, syntax.isEmpty() ? name : syntax});
}

bool CommandLine::parse(const QStringList &arguments)
{
    error_.clear();
    reason_.clear();
    QString reason;
    if (!parser_.parse(arguments)) {
        reason = describeFailure(arguments);
    } else if (parser_.isSet(folderOption_) && parser_.value(folderOption_).isEmpty()) {
        reason = msg::missingValue(QStringLiteral("--pasta"));
    } else if (positional_.isEmpty() && !parser_.positionalArguments().isEmpty()) {
        reason = msg::unexpectedArgument(parser_.positionalArguments().first());
    }
    if (!reason.isEmpty()) {
        reason_ = reason;
        error_ = reason + u'\n' + msg::seeHelp(program_);
    }
    return error_.isEmpty();
}

// Qt words its own parse errors in English (or in whatever translation is
// installed), so the reason is found again from the arguments themselves.
QString CommandLine::describeFailure(const QStringList &arguments) const
{
    const QStringList given = arguments.mid(1);
    const QStringList unknown = parser_.unknownOptionNames();
    if (!unknown.isEmpty()) {
        QStringList typed;
        for (const QString &name : unknown) {
            const auto found = std::find_if(given.cbegin(), given.cend(), [&](const QString &arg) {
                return arg.startsWith(u'-') && bareName(arg) == name;
            });
            typed.append(found != given.cend() ? found->section(u'=', 0, 0) : typedName(name));
        }
        typed.removeDuplicates();
        return msg::unknownOptions(typed);
    }
    for (const QCommandLineOption &option : options_) {
        for (const QString &arg : given) {
            if (!arg.startsWith(u'-') || !option.names().contains(bareName(arg))) {
                continue;
            }
            const QString name = arg.section(u'=', 0, 0);
            if (option.valueName().isEmpty() && arg.contains(u'=')) {
                return msg::unexpectedValue(name);
            }
            if (!option.valueName().isEmpty() && !arg.contains(u'=') && arg == given.last()) {
                return msg::missingValue(name);
            }
        }
    }
    return msg::badCommandLine();
}

bool CommandLine::helpRequested() const { return parser_.isSet(helpOption_); }

bool CommandLine::versionRequested() const { return parser_.isSet(versionOption_); }

QString CommandLine::folder() const
{
    return parser_.isSet(folderOption_) ? expandFolder(parser_.value(folderOption_)) : QString();
}

QString CommandLine::helpText() const
{
    qsizetype column = 0;
    for (const QCommandLineOption &option : options_) {
        column = std::max(column, optionSyntax(option).size());
    }
    for (const Argument &argument : positional_) {
        column = std::max(column, argument.name.size());
    }
    column += 4; // two spaces before the syntax, two after the widest

    QStringList syntax;
    for (const Argument &argument : positional_) {
        syntax.append(argument.syntax);
    }
    QString help = msg::usage(program_, syntax.join(u' ')) + u'\n';
    help += summary_ + QStringLiteral("\n\n") + msg::optionsHeading() + u'\n';
    for (const QCommandLineOption &option : options_) {
        appendEntry(help, optionSyntax(option), option.description(), column);
    }
    if (!positional_.isEmpty()) {
        help += u'\n' + msg::argumentsHeading() + u'\n';
        for (const Argument &argument : positional_) {
            appendEntry(help, argument.name, argument.description, column);
        }
    }
    return help;
}

QString CommandLine::versionText() const { return program_ + u' ' + programVersion() + u'\n'; }

} // namespace quelvara
