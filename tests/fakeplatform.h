#pragma once

#include "platform.h"
#include "testfiles.h"

#include <QQueue>
#include <QStringList>

// Records what the windows ask of the desktop, answers Yes/No questions from a
// queue (Yes when the queue is empty), and opens addresses or fails to, as
// canOpen says. Installed for its lifetime.
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
    bool openAddress(const QString &address) override
    {
        opened.append(address);
        return canOpen;
    }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QStringList opened;
    QQueue<bool> answers;
    bool canOpen = true; // false: the desktop has no browser or mail program
};

// What a window test runs in: a fresh working directory and the recording
// platform, for as long as it lives.
struct WindowSandbox {
    ScratchDir dir;
    FakePlatform fake;
};
