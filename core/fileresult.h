#pragma once

#include <QString>

// The outcome of work on files: done, or not done with the message that tells
// the user why (empty when there is nothing to tell, as for a year still being
// typed).
namespace quelvara {

class [[nodiscard]] FileResult {
public:
    /// Returns the result of work that was done.
    static FileResult done() { return FileResult(); }

    /// Returns the result of work that was not done, with the message to show (may be empty).
    static FileResult failed(QString message)
    {
        FileResult result;
        result.ok_ = false;
        result.message_ = std::move(message);
        return result;
    }

    /// Tells whether the work was done.
    bool ok() const { return ok_; }

    /// Returns the message to show when the work was not done; empty when there is none.
    const QString &message() const { return message_; }

private:
    bool ok_ = true;
    QString message_;
};

} // namespace quelvara
