#pragma once

#include "platform.h"
#include "testfiles.h"

#include <QQueue>
#include <QStringList>

// Records what the windows ask of the desktop, answers Yes/No questions from a
// queue (Yes when the queue is empty), and opens addresses or fails to, as
// canOpen says, and tells today's date as today. Installed for its lifetime.
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
    QDate currentDate() const override { return today; }

    QStringList messages;
    QStringList errors;
    QStringList questions;
    QStringList opened;
    QQueue<bool> answers;
    bool canOpen = true; // false: the desktop has no browser or mail program
    // The window tests' data are of 2005: the year box starts on it, as it
    // does for a user working in 2005. A test about the years sets its own day.
    QDate today{2005, 6, 15};
};

// What a window test runs in: a fresh working directory and the recording
// platform, for as long as it lives.
struct WindowSandbox {
    ScratchDir dir;
    FakePlatform fake;
};
