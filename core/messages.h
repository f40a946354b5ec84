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

// Typing.

/// Says which typed characters no file can hold and were taken out of the text.
QString unfitCharacters(const QStringList &characters);

// Errors.

/// Returns the message of an error that carries none of its own.
QString unknownError();

} // namespace quelvara::msg
