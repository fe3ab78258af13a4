#pragma once

// How a fallible call says it failed: a value with a kind that code decides on, and a
// text for the person who reads it. Code never compares texts to learn what happened;
// it asks the kind. The model is QFileDevice: error() for code, errorString() for the
// user.
//
//     Result<QByteArray> read(const QString &path);
//
//     const Result<QByteArray> bytes = read(path);
//     if (!bytes)
//         return bytes.error();          // or: err << bytes.error().text
//     use(*bytes);
//
// Result<void> is the form for calls that give nothing back but may fail.

#include <QString>

#include <optional>
#include <utility>
#include <variant>

enum class ErrorKind {
    Usage,       // the request itself is wrong: an option, a value, a name
    NotFound,    // what was asked for is not there
    Exists,      // something stands where a new thing would go, and may not be replaced
    NotRegular,  // a folder, a FIFO or a device stands where a regular file must
    Unreadable,  // it is there but could not be opened or read
    Malformed,   // it was read, and is not what it claims to be
    TooLarge,    // it is larger than the program takes
    WriteFailed, // it could not be written: the disk, the permissions, a read-only medium
    Busy,        // another program holds it; trying again later may succeed
    Unavailable, // the server, the port or the meter cannot be reached
    NoAnswer,    // the meter was reached and did not answer
    Newer,       // it was written by a newer program than this one
    Cancelled,   // the user stopped it
    Failed,      // anything else that went wrong
};

struct Error {
    ErrorKind kind = ErrorKind::Failed;
    // For the user, in the language the call documents: a whole sentence, or the reason
    // that a caller puts into one ("cannot write %1: %2").
    QString text;
    // The file the failure is about, where there is one.
    QString path;

    Error() = default;
    Error(ErrorKind kind, QString text, QString path = {})
        : kind(kind), text(std::move(text)), path(std::move(path))
    {
    }
    bool is(ErrorKind other) const { return kind == other; }
};

// A value, or the Error that stopped the call from making one.
template <typename T> class Result {
public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T &value() const & { return std::get<T>(state_); }
    T &value() & { return std::get<T>(state_); }
    T &&value() && { return std::get<T>(std::move(state_)); }
    const T &operator*() const & { return value(); }
    T &operator*() & { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    T valueOr(T fallback) const { return ok() ? value() : std::move(fallback); }

    // Only when !ok().
    const Error &error() const { return std::get<Error>(state_); }

private:
    std::variant<T, Error> state_;
};

template <> class Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when !ok().
    const Error &error() const { return *error_; }

private:
    std::optional<Error> error_;
};
