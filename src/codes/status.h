#pragma once

// How core code reports a failure: a Status that is either done or carries the message the user
// sees, and a Result<T> that carries a value or that message. Core functions return these
// instead of showing anything; the desktop and the command line each show a failure in one place.

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <utility>

namespace zm {

// The icon of the box a message comes in on the desktop.
enum class Severity { Information, Warning, Critical };

// A message for the user: its text, the caption of its box (empty: the program's own caption)
// and its icon. An empty text is no message.
struct Notice {
    Notice() = default;
    Notice(QString text, QString caption = {}, Severity severity = Severity::Information)  // NOLINT
        : text(std::move(text)), caption(std::move(caption)), severity(severity) {}

    QString text;
    QString caption;
    Severity severity = Severity::Information;

    bool empty() const { return text.isEmpty(); }
};

// Messages gathered on the way (failures that did not stop an action, warnings about its data), in
// the order the user is to see them, before the action's own outcome. Core code hands them back;
// the front ends show them.
using Notices = QList<Notice>;

class [[nodiscard]] Status {
public:
    Status() = default;  // done
    // A failure, shown as an error.
    static Status failure(QString message, QString caption = {}) {
        return stop(std::move(message), std::move(caption), Severity::Critical);
    }
    // A stop shown as a warning: the data or the settings do not allow the action.
    static Status warning(QString message, QString caption = {}) {
        return stop(std::move(message), std::move(caption), Severity::Warning);
    }
    // A stop shown as information: there is nothing to work on.
    static Status notice(QString message, QString caption = {}) {
        return stop(std::move(message), std::move(caption), Severity::Information);
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // The message of a failure (empty when done).
    const QString& message() const { return notice_.text; }
    // How a failure is shown: its message, caption and icon.
    const Notice& notice() const { return notice_; }
    // The same failure under another caption (a done status stays done).
    Status titled(QString caption) const {
        Status s = *this;
        if (failed_)
            s.notice_.caption = std::move(caption);
        return s;
    }

private:
    static Status stop(QString message, QString caption, Severity severity) {
        Status s;
        s.failed_ = true;
        s.notice_ = Notice{std::move(message), std::move(caption), severity};
        return s;
    }

    bool failed_ = false;
    Notice notice_;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    // Only a failure makes a Result without a value: a done status here is a fault of the caller.
    Result(Status failure) : failure_(std::move(failure)) {  // NOLINT(google-explicit-constructor)
        if (failure_.ok())
            qFatal("Result made from a successful Status");
    }
    static Result failure(QString message) { return Result(Status::failure(std::move(message))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    const QString& message() const { return failure_.message(); }
    Status status() const { return ok() ? Status() : failure_; }

private:
    std::optional<T> value_;
    Status failure_;
};

}  // namespace zm
