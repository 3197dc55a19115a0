#include "base/utf8.h"

#include <algorithm>

namespace varnex {

namespace {

// East Asian wide and full-width characters: the Hangul initials, the CJK blocks with their
// punctuation, kana and radicals, Hangul syllables, compatibility ideographs, vertical and
// full-width forms, and the ideographs beyond the basic plane.
bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

Utf8Char nextUtf8Char(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) return {lead, 1, false};
    const size_t length = lead >= 0xC0 && lead < 0xE0   ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF8 ? 4
                                                        : 0;
    if (length == 0) return {kReplacement, 1, true};
    char32_t value = lead & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= text.size() || !isUtf8Continuation(text[i + k])) return {kReplacement, k, true};
        value = (value << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    }
    return {value, length, false};
}

size_t utf8CharacterCount(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !isUtf8Continuation(c); }));
}

size_t utf8CharacterOffset(std::string_view text, size_t n) {
    size_t i = 0;
    for (; i < text.size() && n > 0; --n) {
        ++i;
        while (i < text.size() && isUtf8Continuation(text[i])) ++i;
    }
    return i;
}

size_t utf8PrefixLength(std::string_view text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t i = limit;
    while (i > 0 && isUtf8Continuation(text[i])) --i;
    return i;
}

size_t utf16Length(std::string_view text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size();) {
        const Utf8Char c = nextUtf8Char(text, i);
        n += c.codePoint >= 0x10000 ? 2 : 1;
        i += c.length;
    }
    return n;
}

void appendUtf8(uint32_t cp, std::string& out) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isValidUtf8(std::string_view text) {
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    for (size_t i = 0; i < text.size();) {
        const Utf8Char c = nextUtf8Char(text, i);
        if (c.broken || c.codePoint < kSmallest[c.length] || c.codePoint > 0x10FFFF ||
            (c.codePoint >= 0xD800 && c.codePoint <= 0xDFFF))
            return false;
        i += c.length;
    }
    return true;
}

int displayWidth(std::string_view utf8) {
    int widest = 0, line = 0;
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Char c = nextUtf8Char(utf8, i);
        i += c.length;
        if (c.codePoint == '\n') {
            widest = std::max(widest, line);
            line = 0;
        } else {
            line += isWide(c.codePoint) ? 2 : 1;
        }
    }
    return std::max(widest, line);
}

}  // namespace varnex
