#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnex {
namespace {

// The characters of a text as nextUtf8Char steps through it: code point, length, broken.
std::vector<Utf8Char> charactersOf(std::string_view text) {
    std::vector<Utf8Char> out;
    for (size_t i = 0; i < text.size(); i += out.back().length) out.push_back(nextUtf8Char(text, i));
    return out;
}

TEST(Utf8, StepsOverWholeCharactersAndTakesBrokenBytesOneByOne) {
    struct Case {
        const char* text;
        std::vector<char32_t> codePoints;
        std::vector<size_t> lengths;
    };
    const Case cases[] = {
        {"a语", {'a', 0x8BED}, {1, 3}},
        {"\xF0\xA0\x80\x80x", {0x20000, 'x'}, {4, 1}},  // beyond the basic plane
        {"é", {0xE9}, {2}},
        {"\xE4\xB8", {0xFFFD}, {2}},                      // cut short at the end: one broken character
        {"\xE4\x41", {0xFFFD, 'A'}, {1, 1}},              // cut short by an ASCII byte, which stays
        {"\x80\xFFz", {0xFFFD, 0xFFFD, 'z'}, {1, 1, 1}},  // stray continuation and impossible bytes
    };
    for (const Case& c : cases) {
        std::vector<char32_t> codePoints;
        std::vector<size_t> lengths;
        for (const Utf8Char& ch : charactersOf(c.text)) {
            codePoints.push_back(ch.codePoint);
            lengths.push_back(ch.length);
            EXPECT_EQ(ch.broken, ch.codePoint == 0xFFFD) << c.text;
        }
        EXPECT_EQ(codePoints, c.codePoints) << c.text;
        EXPECT_EQ(lengths, c.lengths) << c.text;
    }
}

TEST(Utf8, CountsCutsAndMeasuresByCharacters) {
    const std::string text = "一中a\xF0\xA0\x80\x80";  // 3 + 3 + 1 + 4 bytes
    EXPECT_EQ(utf8CharacterCount(text), 4u);
    EXPECT_EQ(utf16Length(text), 5u);  // the last one is a surrogate pair
    EXPECT_EQ(utf8CharacterOffset(text, 0), 0u);
    EXPECT_EQ(utf8CharacterOffset(text, 2), 6u);
    EXPECT_EQ(utf8CharacterOffset(text, 9), text.size());
    const std::pair<size_t, size_t> prefixes[] = {{0, 0}, {2, 0},  {3, 3},   {5, 3},
                                                  {7, 7}, {10, 7}, {11, 11}, {50, 11}};
    for (const auto& [limit, length] : prefixes) EXPECT_EQ(utf8PrefixLength(text, limit), length) << limit;
}

TEST(Utf8, ValidOnlyWithoutOverlongFormsSurrogatesOrCutCharacters) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"abc 一二三", true},
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
        {"\xC0\xAF", false},
        {"\xE0\x80\xAF", false},      // overlong
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\xE4\xB8", false},
        {"\x80", false},
        {"\xF8\x88\x80\x80\x80", false},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(isValidUtf8(text), valid) << text;
}

TEST(Utf8, AppendsCodePointsAndReplacesImpossibleOnes) {
    std::string out;
    for (uint32_t cp : {0x41u, 0xE9u, 0x8BEDu, 0x20000u, 0xD800u, 0x110000u}) appendUtf8(cp, out);
    EXPECT_EQ(out, "Aé语\xF0\xA0\x80\x80\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(isValidUtf8(out));
}

TEST(Utf8, DisplayWidthCountsWideCharactersTwice) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},
        {"abc 12", 6},
        {"第一中学", 8},
        {"（未分班）班", 12},  // full-width brackets are wide
        {"语文150", 7},
        {"语文\n（150分）", 9},    // the longest line
        {"가나", 4},               // Hangul
        {"\xF0\xA0\x80\x80x", 3},  // an ideograph beyond the basic plane, then x
        {"\xE4\xB8", 1},           // a character cut short is one cell
    };
    for (const auto& [text, width] : cases) EXPECT_EQ(displayWidth(text), width) << text;
}

}  // namespace
}  // namespace varnex
