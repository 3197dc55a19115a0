#pragma once
// The one way a recoverable failure travels: a Result holds either the value asked for or the
// Chinese message that tells the user what went wrong (naming the file, sheet, row or value).
// Exceptions are kept for broken invariants inside the workbook model.

#include <string>
#include <utility>
#include <variant>

namespace varnex {

/// Why something could not be done, worded for the user.
struct Error {
    std::string message;
};

/// A failure with its message: `return fail("文件不存在：" + path);`.
inline Error fail(std::string message) {
    return Error{std::move(message)};
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

  private:
    std::variant<T, Error> state_;
};

/// Success without a value, or an Error.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : failed_(true), message_(std::move(error.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    /// The message of a failed result.
    const std::string& error() const { return message_; }

  private:
    bool failed_ = false;
    std::string message_;
};

/// The result of a step that yields nothing but may fail.
using Status = Result<void>;

}  // namespace varnex
