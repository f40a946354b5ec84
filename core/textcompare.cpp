#include "textcompare.h"

#include <QCollator>
#include <QLocale>

namespace quelvara {

namespace {

// The collators are built once with their locale named: a default one falls
// back to code-point order where LANG is unset.
const QCollator &collator(Qt::CaseSensitivity sensitivity)
{
    static const QCollator insensitive = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static const QCollator sensitive = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return sensitivity == Qt::CaseInsensitive ? insensitive : sensitive;
}

int sign(int value) { return (value > 0) - (value < 0); }

} // namespace

int compareTexts(const QString &a, const QString &b)
{
    if (int r = collator(Qt::CaseInsensitive).compare(a, b)) {
        return sign(r);
    }
    if (int r = collator(Qt::CaseSensitive).compare(a, b)) {
        return sign(r);
    }
    return sign(QString::compare(a, b, Qt::CaseSensitive));
}

QString foldKey(const QString &text) { return text.toCaseFolded(); }

bool sameText(const QString &a, const QString &b) { return foldKey(a) == foldKey(b); }

} // namespace quelvara
