#pragma once

#include <QString>
#include <QStringList>

// Every text the program says to the user, in one place. Texts that users and
// earlier versions have always seen keep their exact wording; a file is named
// by its full native path.
namespace quelvara::msg {

// Files.

/// Says that a file could not be created or replaced.
QString cannotCreateFile(const QString &path);

/// Says that a directory could not be created.
QString cannotCreateDirectory(const QString &path);

/// Says that a file could not be changed (a deletion could not be written).
QString cannotAlterFile(const QString &path);

/// Says that a file exists but could not be read.
QString cannotReadFile(const QString &path);

/// Says that a file is far larger than any file of the program, so it was not read and will not be
/// changed.
QString fileTooLarge(const QString &path);

/// Says that a profile file could not be read and will not be written over in this run.
QString profileNotRead(const QString &path);

// The data folder.

/// Says that the program is already open in this folder, by which computer and process when known.
QString folderInUse(const QString &folder, const QString &computer, qint64 process);

/// Says that the folder's lock file could not be created, so the program does not open.
QString cannotLockFolder(const QString &lockPath);

// Registries.

/// Says that the registry could not be saved.
QString cannotSaveRegistry();

/// Says that the registry dialog refuses to save over a registry file it could not read.
QString registryNotReadCannotSave(const QString &path);

/// Says that the report's registry could not be read, so nothing of the report is saved.
QString registryNotReadNothingSaved(const QString &path);

/// Returns the caption of the question that saves a typed entry before the registry closes.
QString saveEntryCaption();

/// Asks whether the entry typed and not saved goes into the registry before it closes.
QString saveTypedEntry();

// Report items.

/// Asks for a first field before an item or entry is saved.
QString firstFieldEmpty();

/// Asks to select an item before deleting.
QString selectAnItem();

/// Returns the caption of the question that deletes an item from the registry too.
QString deleteCaption();

/// Asks whether the deleted item leaves the registry too.
QString deleteFromRegistry();

/// Says that a data file that could not be read will not be written over.
QString dataFileNotRead(const QString &path);

/// Says that an item cannot be saved under a year text that is no year.
QString invalidYear(const QString &ano);

// Accumulated values.

/// Returns the text that stands in an accumulated field when it cannot be computed.
QString accumulationInstruction();

/// Says that the previous period's data file does not exist.
QString noPreviousFile(const QString &path);

/// Says that the previous accumulated text or the amount is no number (both shown without dots).
QString previousNotANumber(const QString &previous, const QString &value);

// Checks before publishing.

/// Returns the name of a finding's severity: "erro" or "aviso".
QString severityName(bool error);

/// Says that a data file could not be read and so was not checked.
QString fileNotChecked(const QString &path);

/// Says that the kind's registry could not be read, so the accumulated values were not checked.
QString registryNotChecked(const QString &path);

/// Says that the previous period's data file, from which the accumulated values start, is missing.
QString previousPeriodMissing(const QString &periodName, const QString &path);

/// Says that an accumulated field holds no number, and what to do (the expected value when known).
QString accumulatedNotANumber(const QString &text, const QString &expected);

/// Says that an accumulated value is not what "Atualizar Valores" would write, and which it is.
QString accumulatedStale(const QString &text, const QString &expected);

/// Says that a money field holds a text that is no amount.
QString notAnAmount(const QString &text);

/// Says that a computed field disagrees with the fields it is computed from, and which value is
/// right.
QString computedDisagrees(const QString &text, const QString &expected);

/// Says that a field a value is computed from holds no number, so the value cannot be checked.
QString operandNotANumber(const QString &caption, const QString &text);

/// Says that a CNPJ has wrong check digits or is incomplete.
QString invalidCnpj(const QString &text);

/// Says that a CPF has wrong check digits.
QString invalidCpf(const QString &text);

/// Says that a date is no valid date.
QString invalidDate(const QString &text);

/// Says that a date lies outside the report's year.
QString dateOutsideYear(const QString &text, const QString &year);

/// Says that an item's field 2 is empty, so the item is left out of the page and its totals.
QString itemLeftOut(const QString &caption);

/// Says that a purchase number stands on more than one item.
QString repeatedNumber(const QString &number, int count);

/// Returns the period column's text for a report of the annual kinds.
QString annualPeriod();

/// Returns the headings of the findings table: severity, period, item, field, message.
QStringList findingsHeadings();

/// Returns the caption of the findings dialog and of the question before publishing.
QString checkCaption();

/// Says that a check found nothing.
QString noProblemsFound();

/// Returns the caption of the button that shows a finding's item.
QString goToFinding();

/// Returns the caption of the button that closes the findings.
QString closeFindings();

/// Asks whether to go on with a report that has errors.
QString goOnDespiteErrors(int errors);

// Typing.

/// Says which typed characters no file can hold and were taken out of the text.
QString unfitCharacters(const QStringList &characters);

// Opening pages and mail with the desktop.

/// Says that the browser could not be opened on a page, and where the page lies.
QString cannotOpenPage(const QString &path);

/// Says that no mail message could be started to an address.
QString cannotOpenMail(const QString &address);

/// Says that no mail message could be started to send a page, and where the page lies.
QString cannotSendPage(const QString &address, const QString &path);

/// Says that the browser could not be opened on a web address.
QString cannotOpenSite(const QString &address);

// Start-up and the command line.

/// Says that a data folder given at start-up could not be created or entered.
QString cannotUseFolder(const QString &path);

/// Says that there is no graphical display to open the windows on.
QString noDisplay();

/// Says that the graphical display named could not be opened (an empty name for the default one).
QString cannotOpenDisplay(const QString &display);

/// Returns the line that tells what the program is, under the first line of its help.
QString programSummary();

/// Returns the first line of the help: how the program is called, with the syntax of its arguments.
QString usage(const QString &program, const QString &arguments);

/// Returns the heading of the options in the help.
QString optionsHeading();

/// Returns the heading of the arguments in the help.
QString argumentsHeading();

/// Describes the option that chooses the data folder.
QString folderOptionHelp();

/// Returns the name of the data folder option's value, as the help shows it.
QString folderValueName();

/// Describes the option that shows the help.
QString helpOptionHelp();

/// Describes the option that shows the version.
QString versionOptionHelp();

/// Says that options given on the command line do not exist.
QString unknownOptions(const QStringList &options);

/// Says that an option was given without the value it needs.
QString missingValue(const QString &option);

/// Says that an option that takes no value was given one.
QString unexpectedValue(const QString &option);

/// Says that the command line holds an argument the program does not take.
QString unexpectedArgument(const QString &argument);

/// Says that the command line could not be understood, without a detail.
QString badCommandLine();

/// Tells how to see the help of a program.
QString seeHelp(const QString &program);

// The command-line program.

/// Returns the line that tells what the command-line program is, under the first line of its help.
QString cliSummary();

/// Describes the command-line program's data folder option: the folder must exist.
QString cliFolderHelp();

/// Describes the option that also writes every PDF.
QString pdfOptionHelp();

/// Describes the option that gives the findings as JSON.
QString jsonOptionHelp();

/// Describes the option that names the folder an export goes to.
QString outputOptionHelp();

/// Describes the command argument.
QString commandArgumentHelp();

/// Describes the year argument.
QString yearArgumentHelp();

/// Returns the end of the command-line program's help: its commands, an example and its exit
/// statuses.
QString cliCommandsHelp();

/// Returns the short usage of the command-line program, shown after a misunderstood command line.
QString cliUsage(const QString &program);

/// Says that no command was given.
QString missingCommand();

/// Says that a command does not exist.
QString unknownCommand(const QString &command);

/// Says that a command was given without its year.
QString missingYear(const QString &command);

/// Says that a year argument is not four digits.
QString yearNotFourDigits(const QString &text);

/// Says that an option does not belong to the command given.
QString optionNotForCommand(const QString &option, const QString &command);

/// Says that an export was asked for without the folder it goes to.
QString missingOutputFolder();

/// Says that a folder does not exist.
QString folderMissing(const QString &path);

/// Says that a folder holds no data folder "dados".
QString noDataFolder(const QString &path);

/// Says that an export would write into the data folder, its "dados" or a year's pages.
QString outputInsideDataFolder(const QString &path);

/// Says that no report of a kind has a data file in the year.
QString nothingToPublish(const QString &year, const QString &dataYearDir);

/// Says that no report of a kind has a data file in the year, so there was nothing to check.
QString nothingToCheck(const QString &year, const QString &dataYearDir);

/// Says that a report's page and its open data were written (and its PDF).
QString reportPublished(const QString &pagePath, const QString &title, const QString &periodName,
                        bool pdf);

/// Sums up a publication: how many reports of how many kinds, the year's index and how many
/// reports had problems.
QString publishSummary(const QString &year, int reports, int kinds, const QString &indexPath,
                       int withProblems);

/// Sums up a check for the terminal: how many errors and warnings.
QString checkSummary(const QString &year, int errors, int warnings);

/// Says that no report of the year has a page to export.
QString nothingPublished(const QString &year, const QString &folder);

/// Sums up an export: how many files went to which folder.
QString exportSummary(const QString &year, int files, const QString &folder);

/// Returns the progress line of a command: its verb, the step, the number of steps and what is
/// being done.
QString progressLine(const QString &verb, int step, int steps, const QString &what);

/// Returns the verb of the progress line while publishing.
QString publishing();

/// Returns the verb of the progress line while checking.
QString checking();

/// Returns the verb of the progress line while exporting.
QString exporting();

/// Says that publishing waits until the copy of the program open in the folder is closed, naming
/// its computer and process when known.
QString folderInUseForPublishing(const QString &folder, const QString &computer, qint64 process);

/// Says that the work was interrupted between two files, and that every file written is whole.
QString interrupted(int done, int steps);

// Errors.

/// Returns the message of an error that carries none of its own.
QString unknownError();

} // namespace quelvara::msg
