#pragma once

#include "platform.h"

#include <QDir>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

// Records what the windows ask of the desktop, and answers Yes/No questions
// from a queue (Yes when the queue is empty). Installed for its lifetime.
class FakePlatform final : public quelvara::Platform {
public:
    FakePlatform() { quelvara::setPlatform(this); }
    ~FakePlatform() override { quelvara::setPlatform(nullptr); }

    void showMessage(QWidget *, const QString &text) override { messages.append(text); }
    void showError(QWidget *, const QString &text) override { errors.append(text); }
    bool askYesNo(QWidget *, const QString &caption, const QString &text) override
    {
        questions.append(caption + QStringLiteral("|") + text);
        return answers.isEmpty() ? true : answers.dequeue();
    }
    void openAddress(const QString &address) override { opened.append(address); }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QStringList opened;
    QQueue<bool> answers;
};

// Runs a test in a fresh, empty working directory, restored afterwards.
class ScratchDir {
public:
    ScratchDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchDir() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return QDir(dir_.path()).filePath(relative); }

private:
    QTemporaryDir dir_;
    QString previous_;
};
