#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// The command line that every Quelvara program shares: "--pasta", "--help" and
// "--version", explained and refused in Portuguese whatever language Qt's own
// texts are in. A program adds its own options and arguments beside them.
namespace quelvara {

/// Returns the program's version as the build sets it, such as "1.0".
QString programVersion();

/// Returns the arguments of main() as texts.
QStringList argumentList(int argc, char **argv);

/// Returns a folder given on the command line as a clean full path: "~" and "~/..." lie
/// under the user's home folder (a launcher passes them unexpanded), a relative path under
/// the current directory.
QString expandFolder(const QString &folder);

class CommandLine {
public:
    /// Prepares the shared options for the program called `program`, described by `summary`.
    CommandLine(const QString &program, const QString &summary);

    /// Adds an option of the program's own, its description in Portuguese.
    void addOption(const QCommandLineOption &option);

    /// Replaces the description of "--pasta", for a program that treats the folder otherwise.
    void setFolderHelp(const QString &description);

    /// Adds an argument the program takes besides its options, shown in the help.
    void addPositionalArgument(const QString &name, const QString &description,
                               const QString &syntax = QString());

    /// Reads the arguments, the program's path first; tells whether they were understood.
    bool parse(const QStringList &arguments);

    /// Tells whether "--help" was given.
    bool helpRequested() const;

    /// Tells whether "--version" was given.
    bool versionRequested() const;

    /// Returns the folder given with "--pasta" as a full path, or an empty text when none was.
    QString folder() const;

    /// Returns why the arguments were not understood and how to see the help, in Portuguese.
    QString errorText() const { return error_; }

    /// Returns why the arguments were not understood, in one line, or an empty text.
    QString reason() const { return reason_; }

    /// Returns the help: usage, summary, options and arguments, in Portuguese.
    QString helpText() const;

    /// Returns the version line: the program's name and version.
    QString versionText() const;

    /// Returns the parser, where a program reads its own options and arguments.
    const QCommandLineParser &parser() const { return parser_; }

private:
    struct Argument {
        QString name;
        QString description;
        QString syntax;
    };

    QString describeFailure(const QStringList &arguments) const;

    QString program_;
    QString summary_;
    QCommandLineParser parser_;
    QList<QCommandLineOption> options_;
    QList<Argument> positional_;
    QCommandLineOption folderOption_;
    QCommandLineOption helpOption_;
    QCommandLineOption versionOption_;
    QString reason_;
    QString error_;
};

} // namespace quelvara
