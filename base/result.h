#pragma once
// The one way a recoverable failure travels: a Result holds either the value asked for or the
// Error that tells the user what went wrong (naming the file, sheet, row or value) and says what
// kind of failure it is. Exceptions are kept for broken invariants inside the workbook model.

#include <string>
#include <utility>
#include <variant>

namespace varnex {

/// What kind of failure an Error is, for the callers that act on it (the save that tries another
/// folder, the command line's exit status); the user reads the message only.
enum class ErrorKind {
    /// The data or the settings cannot be used (the default of fail(message)).
    BadInput,
    /// A workbook or file that cannot be read.
    FileRefused,
    /// Writing a file failed for a reason other than its folder: a full disk, a write cut short,
    /// a written file that does not read back.
    WriteFailed,
    /// The folder cannot be written: no permission, a read-only file system, no such folder.
    FolderRefused,
    /// The person answered No to a confirmation or cancelled a question.
    Cancelled,
    /// Something inside the program went wrong (a broken invariant of the workbook model).
    Internal,
};

/// Why something could not be done: the sentence for the user and the kind of failure.
struct Error {
    std::string message;
    ErrorKind kind = ErrorKind::BadInput;
};

/// A failure with its message: `return fail("文件不存在：" + path);`.
inline Error fail(std::string message) {
    return Error{std::move(message), ErrorKind::BadInput};
}

/// A failure of a given kind: `return fail(ErrorKind::FileRefused, message);`.
inline Error fail(ErrorKind kind, std::string message) {
    return Error{std::move(message), kind};
}

/// Either a value of T or an Error.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    /// The message of a failed result.
    const std::string& error() const { return std::get<1>(state_).message; }
    /// The kind of a failed result.
    ErrorKind errorKind() const { return std::get<1>(state_).kind; }
    /// The whole Error of a failed result, to pass it on with its kind.
    const Error& failure() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

/// Success without a value, or an Error.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : failed_(true), error_(std::move(error)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    /// The message of a failed result.
    const std::string& error() const { return error_.message; }
    /// The kind of a failed result.
    ErrorKind errorKind() const { return error_.kind; }
    /// The whole Error of a failed result, to pass it on with its kind.
    const Error& failure() const { return error_; }

  private:
    bool failed_ = false;
    Error error_;
};

/// The result of a step that yields nothing but may fail.
using Status = Result<void>;

}  // namespace varnex
