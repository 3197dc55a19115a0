#include "base/text_util.h"

#include <gtest/gtest.h>

namespace varnex {
namespace {

struct AtoiCase {
    const char* text;
    int value;
};

TEST(TextUtil, AtoiReadsTheLeadingInteger) {
    const AtoiCase cases[] = {{"", 0},
                              {"85", 85},
                              {" 12abc", 12},
                              {"-5", -5},
                              {"+7", 7},
                              {"150.5", 150},
                              {"缺考", 0},
                              {"abc12", 0},
                              {"99999999999", 2147483647},
                              {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases) EXPECT_EQ(cAtoi(c.text), c.value) << c.text;
}

TEST(TextUtil, AtofReadsTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(cAtof("85.5"), 85.5);
    EXPECT_DOUBLE_EQ(cAtof("  -3.25x"), -3.25);
    EXPECT_DOUBLE_EQ(cAtof("1e2"), 100.0);
    EXPECT_DOUBLE_EQ(cAtof("1e"), 1.0);
    EXPECT_DOUBLE_EQ(cAtof(".5"), 0.5);
    EXPECT_DOUBLE_EQ(cAtof("缺考"), 0.0);
    EXPECT_DOUBLE_EQ(cAtof(""), 0.0);
    EXPECT_DOUBLE_EQ(cAtof("inf"), 0.0);
    EXPECT_DOUBLE_EQ(cAtof("0x10"), 0.0);
}

TEST(TextUtil, TrailingDotZeroOnly) {
    EXPECT_EQ(removeTrailingDotZero("85.0"), "85");
    EXPECT_EQ(removeTrailingDotZero("3.0"), "3");
    EXPECT_EQ(removeTrailingDotZero("7.05"), "7.05");
    EXPECT_EQ(removeTrailingDotZero("85.5"), "85.5");
    EXPECT_EQ(removeTrailingDotZero("170.00"), "170.00");
}

TEST(TextUtil, DisplayWidthCountsWideCharactersTwice) {
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

TEST(TextUtil, FileNameIsThePathAfterItsLastSlash) {
    EXPECT_EQ(fileNameOf("/home/教师/成绩.xls"), "成绩.xls");
    EXPECT_EQ(fileNameOf("成绩.xls"), "成绩.xls");
    EXPECT_EQ(fileNameOf("/data/a\\b.xls"), "a\\b.xls");  // a backslash belongs to the name
    EXPECT_EQ(fileNameOf("/data/"), "");
}

TEST(TextUtil, ClockTextHasNoLeadingZerosInMonthAndDay) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 6;
    t.tm_hour = 22;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_wday = 0;
    EXPECT_EQ(clockText(t), "2026年12月6日 22:05:09 星期日");
    t.tm_mon = 2;
    t.tm_mday = 3;
    t.tm_wday = 2;
    EXPECT_EQ(clockText(t), "2026年3月3日 22:05:09 星期二");
    EXPECT_EQ(formatTime(t, "%m月"), "03月");
}

}  // namespace
}  // namespace varnex
