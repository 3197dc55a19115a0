#include "import/cell_text.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

TEST(CellText, NumbersAreWholeOrShortestRoundTrip) {
    const std::pair<double, const char*> cases[] = {
        {85, "85"},           {85.5, "85.5"},       {0, "0"},
        {-0.0, "0"},          {-7, "-7"},           {0.1 + 0.2, "0.30000000000000004"},
        {84.999999999999, "84.999999999999"},       {1234567, "1234567"},
        {1e20, "100000000000000000000"},            {1e-05, "1e-05"},
        {2.5e21, "2.5e+21"},  {92.5, "92.5"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(numberText(value), text) << value;
}

TEST(CellText, StoredNumbersAreReformattedAndOddTextKept) {
    const std::pair<const char*, const char*> cases[] = {
        {"85", "85"}, {"85.0", "85"}, {"1.5E2", "150"}, {"0.30000000000000004", "0.30000000000000004"},
        {" 7 ", "7"}, {"abc", "abc"}, {"", ""},          {"1e400", "1e400"},
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
