#include "base/text_util.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

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

// The short path for plain decimals must give exactly what std::from_chars gives: the same double
// (bit for bit), the same end and the same error.
TEST(TextUtil, ReadDoubleAgreesWithFromChars) {
    std::vector<std::string> texts = {"85",
                                      "85.5",
                                      "-0",
                                      "0",
                                      "0.1",
                                      "-3.25",
                                      "150.5x",
                                      "007.50",
                                      ".5",
                                      "-.5",
                                      "5.",
                                      ".",
                                      "-",
                                      "",
                                      "inf",
                                      "nan",
                                      "1e5",
                                      "2.5E-3",
                                      "123456789012345",
                                      "1234567890123456",
                                      "0.123456789012345",
                                      "0.0000000000000001",
                                      "0.30000000000000004",
                                      "9007199254740993",
                                      "20260300001",
                                      "99.99999999999999"};
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        std::string t = std::to_string(rng() % 100000);
        if (rng() % 2) t += "." + std::to_string(rng() % 1000000);
        if (rng() % 5 == 0) t = "-" + t;
        texts.push_back(t);
    }
    for (const std::string& t : texts) {
        double expected = -1, got = -1;
        auto want = std::from_chars(t.data(), t.data() + t.size(), expected);
        auto have = readDouble(t.data(), t.data() + t.size(), got);
        EXPECT_EQ(have.ec, want.ec) << t;
        EXPECT_EQ(have.ptr, want.ptr) << t;
        if (want.ec == std::errc()) {
            EXPECT_EQ(std::bit_cast<uint64_t>(got), std::bit_cast<uint64_t>(expected)) << t;
        }
    }
}

// fixedText is printf's "%.Nf", halves and long fractions included.
TEST(TextUtil, FixedTextIsPrintfFixed) {
    std::vector<double> values = {0, -0.0, 0.05, 0.15, 0.25, 2.5, -2.45, 33.333333, 1e15 + 0.5, 1e300, 1e-9};
    std::mt19937 rng(3);
    for (int i = 0; i < 5000; ++i) values.push_back((rng() % 2000000) / 1000.0 - 1000);
    for (double v : values) {
        for (int decimals : {0, 1, 2}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            EXPECT_EQ(fixedText(v, decimals), expected) << v;
        }
    }
}

TEST(TextUtil, TrailingDotZeroOnly) {
    EXPECT_EQ(removeTrailingDotZero("85.0"), "85");
    EXPECT_EQ(removeTrailingDotZero("3.0"), "3");
    EXPECT_EQ(removeTrailingDotZero("7.05"), "7.05");
    EXPECT_EQ(removeTrailingDotZero("85.5"), "85.5");
    EXPECT_EQ(removeTrailingDotZero("170.00"), "170.00");
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
