#pragma once
// Stepping through UTF-8 text: one character at a time, counting and cutting by characters, and
// the room a text takes on screen or in a cell. Every walk over UTF-8 bytes goes through here.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace varnex {

/// One character of a UTF-8 text.
struct Utf8Char {
    char32_t codePoint = 0;
    size_t length = 0;    ///< its bytes
    bool broken = false;  ///< not a complete sequence: codePoint is U+FFFD
};

/// The character at byte `i` (< text.size()). A lead byte whose sequence is cut short is one
/// broken character of the continuation bytes it has; any other byte that cannot start a
/// character is one broken character of one byte. Overlong forms and surrogates are decoded as
/// they stand (isValidUtf8 refuses them).
Utf8Char nextUtf8Char(std::string_view text, size_t i);

/// True for a continuation byte (10xxxxxx), which never starts a character.
constexpr bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

/// The number of characters of a text: its bytes that are not continuation bytes.
size_t utf8CharacterCount(std::string_view text);
/// The byte offset of character `n` (0-based), or the text's size when it has no more.
size_t utf8CharacterOffset(std::string_view text, size_t n);
/// The length of the longest start of the text of at most `limit` bytes that cuts no character.
size_t utf8PrefixLength(std::string_view text, size_t limit);
/// The length in UTF-16 units (a character beyond the basic plane takes two).
size_t utf16Length(std::string_view text);

/// Appends a code point as UTF-8 (a surrogate or a value beyond U+10FFFF as U+FFFD).
void appendUtf8(uint32_t codePoint, std::string& out);

/// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond U+10FFFF).
bool isValidUtf8(std::string_view text);

/// How many character cells a text takes on screen: a wide character (Chinese, Japanese and
/// Korean characters, full-width forms such as "（") counts two, any other character one. A
/// text of several lines takes as many as its longest line.
int displayWidth(std::string_view utf8);

}  // namespace varnex
