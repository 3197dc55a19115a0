#include "readers/cell_text.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

TEST(CellText, NumbersAreWholeOrShortestRoundTrip) {
    const std::pair<double, const char*> cases[] = {
        {85, "85"},
        {85.5, "85.5"},
        {0, "0"},
        {-0.0, "0"},
        {-7, "-7"},
        {0.1 + 0.2, "0.30000000000000004"},
        {84.999999999999, "84.999999999999"},
        {1234567, "1234567"},
        {1e20, "100000000000000000000"},
        {1e-05, "1e-05"},
        {2.5e21, "2.5e+21"},
        {92.5, "92.5"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(numberText(value), text) << value;
}

TEST(CellText, StoredNumbersAreReformattedAndOddTextKept) {
    const std::pair<const char*, const char*> cases[] = {
        {"85", "85"}, {"85.0", "85"}, {"1.5E2", "150"}, {"0.30000000000000004", "0.30000000000000004"},
        {" 7 ", "7"}, {"abc", "abc"}, {"", ""},         {"1e400", "1e400"},
    };
    for (const auto& [stored, text] : cases) {
        std::string out;
        appendStoredNumberText(stored, out);
        EXPECT_EQ(out, text) << stored;
    }
}

TEST(CellText, OfficeXmlEscapesAndErrorCodes) {
    std::string text = "a_x000D_b_x4E2D_c_xZZZZ_d_x00";
    unescapeOfficeXmlText(text);
    EXPECT_EQ(text, "a\rb中c_xZZZZ_d_x00");
    EXPECT_STREQ(biffErrorText(0x2A), "#N/A");
    EXPECT_STREQ(biffErrorText(0x07), "#DIV/0!");
    EXPECT_STREQ(booleanText(true), "TRUE");
}

}  // namespace
}  // namespace varnex

#include "readers/biff_records.h"

namespace varnex {
namespace {

TEST(BiffStrings, CharactersContinueAfterAnOptionByteThatMaySwitchWidth) {
    using namespace std::string_literals;
    // "ab" compressed, then the record ends; the next one says 16-bit and holds 中 (U+4E2D),
    // then rich-text runs and phonetic data that simply run on across the boundary.
    std::string first =
        "\x03\x00\x0C\x01\x00\x04\x00\x00\x00"s
        "ab";
    std::string second =
        "\x01\x2D\x4E"s
        "RRRR"
        "PP";
    std::string third =
        "PP\x01\x00\x00"s
        "z";
    biff::ContinuedData data;
    data.addSegment(first);
    data.addSegment(second);
    data.addSegment(third);
    std::string text;
    ASSERT_TRUE(data.readUnicodeString(false, text));
    EXPECT_EQ(text, "ab中");
    text.clear();
    ASSERT_TRUE(data.readUnicodeString(false, text));
    EXPECT_EQ(text, "z");
    EXPECT_TRUE(data.atEnd());
    // A string announcing more characters than there are fails instead of reading beyond.
    biff::ContinuedData shortData;
    std::string lying =
        "\xFF\xFF\x00"s
        "abc";
    shortData.addSegment(lying);
    text.clear();
    EXPECT_FALSE(shortData.readUnicodeString(false, text));
}

TEST(BiffStrings, RkValues) {
    EXPECT_EQ(biff::rkValue((85u << 2) | 2), 85);
    EXPECT_EQ(biff::rkValue((9250u << 2) | 3), 92.5);
    EXPECT_EQ(biff::rkValue(static_cast<uint32_t>(-3 << 2) | 2), -3);
    EXPECT_EQ(biff::rkValue(0x3FF00000u), 1.0);  // the high 30 bits of an IEEE double
}

}  // namespace
}  // namespace varnex
