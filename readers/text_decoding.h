#pragma once
// Text files of unknown encoding (CSV lists, web pages): reading them whole within a size cap and
// turning their bytes into UTF-8. The byte-order mark decides first, then a declared encoding,
// then the bytes themselves (UTF-8 when they are valid UTF-8, otherwise GB18030).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace varnex {

/// A byte-order mark: the encoding it announces (an iconv name) and its length in bytes.
struct ByteOrderMark {
    const char* encoding = nullptr;  ///< "UTF-8", "UTF-16LE", "UTF-16BE"; null when there is none
    size_t length = 0;
};

/// The byte-order mark at the start of `bytes`, if any.
ByteOrderMark byteOrderMarkOf(std::string_view bytes);

/// The iconv name of a charset label as web pages write it ("gb2312", "GBK" and their kin read as
/// GB18030, which contains them; "utf8" is UTF-8); "" for a label to pass over (UTF-16 labels,
/// which a page read as bytes cannot mean, and labels iconv does not know).
std::string encodingOfLabel(std::string_view label);

/// Decodes a text file: by its byte-order mark, else in `declared` (an iconv name; "" for none)
/// when the bytes are valid in it, else as UTF-8 when they are valid UTF-8, else as GB18030.
/// Nothing when no choice fits.
std::optional<std::string> decodeText(std::string_view bytes, const std::string& declared = "");

/// The whole file, refused beyond `maxBytes` (the messages name the file).
Result<std::string> readWholeFile(const std::string& path, uint64_t maxBytes);
/// Bytes in memory as the text of the file `fileName`, refused beyond `maxBytes`.
Result<std::string_view> textInMemory(const void* data, size_t size, uint64_t maxBytes,
                                      const std::string& fileName);

}  // namespace varnex
