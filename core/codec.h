#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Windows-1252, the single-byte code page of every file the program reads or
// writes. One table of our own keeps every platform identical; every byte
// decodes to one character and encodes back to the same byte.
namespace quelvara {

/// Decodes Windows-1252 bytes into a text of the same length.
QString decodeCp1252(const QByteArray &bytes);

/// Decodes Windows-1252 bytes held elsewhere, as decodeCp1252 does.
QString decodeCp1252(QByteArrayView bytes);

/// Encodes a text (normalised to NFC first) as Windows-1252, or nothing if a character does not
/// fit.
std::optional<QByteArray> encodeCp1252(const QString &text);

/// Appends a text encoded as by encodeCp1252 to the bytes; false, with the bytes as they were, if
/// a character does not fit. A text of Windows-1252 characters is already in NFC: it goes
/// straight in, without a copy.
bool appendCp1252(QByteArray &bytes, QStringView text);

/// Writes a text at `out` as Windows-1252 with "&", "<" and ">" as character entities, and
/// returns the end of what it wrote, or nullptr when a character has no byte as it stands (no
/// normalisation is tried); `out` must have room for five bytes a character.
char *putCp1252Html(char *out, QStringView text);

/// Tells whether Windows-1252 can hold the character.
bool fitsCp1252(char16_t c);

/// Returns a text with every unpaired surrogate replaced by U+FFFD, so that UTF-8 holds it whole.
QString wellFormedText(const QString &text);

/// Normalises a text to NFC and removes the characters that Windows-1252 cannot hold.
QString keepCp1252(const QString &text, QString *removed = nullptr);

} // namespace quelvara
