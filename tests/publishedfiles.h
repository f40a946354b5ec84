#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>

// Reads what was published with real parsers: Debian's Python with its csv and
// json modules and html5lib (the Python on PATH may lack Debian's modules).

struct Parsed {
    QJsonValue value;
    QString error; // empty when the parser read the file
};

// Returns what the parsers read from files given as pairs of mode ("csv", "json", "index",
// "page") and path: one file's content, or the list of several files' contents; or the complaint.
inline Parsed parsePublished(const QStringList &modesAndPaths)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(QUELVARA_PARSE_SCRIPT)} + modesAndPaths);
    if (!python.waitForFinished(120000)) {
        return {{}, QStringLiteral("/usr/bin/python3 did not run: ") + python.errorString()};
    }
    const QByteArray err = python.readAllStandardError();
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        return {{}, QStringLiteral("a parser refused a file: ") + QString::fromUtf8(err)};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(python.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError) {
        return {{}, error.errorString()};
    }
    return {document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object()), {}};
}
