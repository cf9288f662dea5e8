#pragma once

// How core code reports a failure: a Status that is either done or carries the message the user
// sees, and a Result<T> that carries a value or that message. Core functions return these
// instead of codes mixed with counts; the front ends show the message.

#include <QString>
#include <optional>
#include <utility>

namespace zm {

class [[nodiscard]] Status {
public:
    Status() = default;  // done
    static Status failure(QString message) {
        Status s;
        s.failed_ = true;
        s.message_ = std::move(message);
        return s;
    }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // The message of a failure (empty when done).
    const QString& message() const { return message_; }

private:
    bool failed_ = false;
    QString message_;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
    Result(Status failure) : message_(failure.message()) {}  // NOLINT(google-explicit-constructor)
    static Result failure(QString message) { return Result(Status::failure(std::move(message))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const QString& message() const { return message_; }
    Status status() const { return ok() ? Status() : Status::failure(message_); }

private:
    std::optional<T> value_;
    QString message_;
};

}  // namespace zm
