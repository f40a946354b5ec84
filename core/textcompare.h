#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The one comparison and the one equality every list of the program uses:
// look-ups ignore letter case (accents count), and ordered lists follow the
// Brazilian Portuguese collation without regard to case, ties fixed.
namespace quelvara {

/// Compares two texts in pt_BR order ignoring case; ties broken so the order is total and fixed.
int compareTexts(const QString &a, const QString &b);

/// Tells whether a sorts before b in the order of compareTexts.
inline bool lessText(const QString &a, const QString &b) { return compareTexts(a, b) < 0; }

/// Tells whether two texts are equal without regard to letter case.
bool sameText(const QString &a, const QString &b);

/// Returns the key under which a text is indexed for case-insensitive look-up.
QString foldKey(const QString &text);

/// Tells whether a text is its own key: digits, dots, lower-case letters and the like, which
/// folding leaves as they are.
bool isOwnKey(QStringView text);

/// Returns the key of a text as foldKey does: the text itself when folding leaves it as it is,
/// otherwise the folded text, put into room.
QStringView foldKey(QStringView text, QString &room);

/// Returns the key of a text as foldKey does, a folded text appended to kept: for keys that must
/// stay valid as long as kept does.
QStringView foldKey(QStringView text, QStringList &kept);

} // namespace quelvara
