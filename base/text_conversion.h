#pragma once
// Converting text between encodings (iconv names such as "UTF-8", "GB18030", "CP1252"): one
// converter kept for many texts, or one text at once. Every conversion of the program goes
// through here.

#include <optional>
#include <string>
#include <string_view>

namespace varnex {

/// A conversion from one encoding to another, opened once and used for many texts.
class TextConverter {
  public:
    /// A converter to `to` from `from`; ok() is false when either encoding is unknown.
    TextConverter(const char* to, const char* from);
    ~TextConverter();
    TextConverter(TextConverter&& other) noexcept;
    TextConverter& operator=(TextConverter&& other) noexcept;
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;

    bool ok() const { return handle_ != nullptr; }
    /// Converts `bytes`, appending to `out` (false when the converter is not ok()). An invalid or
    /// cut-off sequence ends the conversion with false, unless a `replacement` is given: then the
    /// replacement stands for the sequence's first byte and the conversion goes on after it.
    bool append(std::string_view bytes, std::string& out, const char* replacement = nullptr);

  private:
    void* handle_ = nullptr;
};

/// `bytes` converted to `to` from `from`; nothing when either encoding is unknown or, without a
/// `replacement`, the bytes are not valid in `from` (see TextConverter::append).
std::optional<std::string> convertText(std::string_view bytes, const char* to, const char* from,
                                       const char* replacement = nullptr);

}  // namespace varnex
