#pragma once
// Core errors are values: a message with the file (and line) it is about. Only the
// windows and the command line turn them into message boxes or stderr lines.
#include <optional>
#include <string>
#include <utility>

namespace pelto {

struct Error {
    std::string file;    // the file the error is about; may be empty
    long line = 0;       // 1-based line in that file; 0 when there is none
    std::string message; // what is wrong

    // "FILE: line N: MESSAGE" (parts that are absent are left out).
    std::string text() const;
};

// Success, or an error.
class Status {
public:
    Status() = default;
    Status(Error e) : error_(std::move(e)) {}
    static Status Ok() { return {}; }
    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};

// A value, or an error.
template <class T> class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error e) : error_(std::move(e)) {}
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const Error& error() const { return *error_; }
    Status status() const { return ok() ? Status() : Status(*error_); }

private:
    std::optional<T> value_;
    std::optional<Error> error_;
};

Error MakeError(std::string file, long line, std::string message);

} // namespace pelto
