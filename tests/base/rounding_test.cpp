#include "base/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace varnex {
namespace {

struct RoundingCase {
    double value;
    int decimals;
    const char* text;
};

// Half away from zero on the decimal value, where printf's "%.1f" rounds the binary value (34.15 is
// 34.1499… and printf gives 34.1) or to even (6.25 gives 6.2).
TEST(Rounding, HalfAwayFromZeroOnTheDecimalValue) {
    const RoundingCase cases[] = {
        {2049.0 / 60, 1, "34.2"},  // an average of 60 scores summing to 2049
        {34.15, 1, "34.2"},
        {6.25, 1, "6.3"},  // 1 excellent of 16
        {100.0 / 3, 1, "33.3"},
        {200.0 / 3, 1, "66.7"},
        {-0.05, 1, "-0.1"},  // a difference: away from zero downwards
        {-34.15, 1, "-34.2"},
        {-0.04, 1, "0.0"},  // never "-0.0"
        {0.05, 1, "0.1"},
        {9.95, 1, "10.0"},
        {99.95, 1, "100.0"},
        {2.675, 2, "2.68"},
        {1.005, 2, "1.01"},
        {0.5, 0, "1"},
        {-2.5, 0, "-3"},
        {85, 1, "85.0"},
        {1e20, 1, "100000000000000000000.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(roundedText(c.value, c.decimals), c.text) << c.value;
    EXPECT_EQ(roundHalfAway(2049.0 / 60, 1), 34.2);
    EXPECT_FALSE(std::signbit(roundHalfAway(-0.01, 1)));
    EXPECT_TRUE(std::isnan(roundHalfAway(std::numeric_limits<double>::quiet_NaN(), 1)));
}

TEST(Rounding, SumsOfScoresAreExactInThousandths) {
    // Sixty scores of 34.15 add up to 2049 exactly; as doubles their sum carries a trace.
    long long sum = 0;
    for (int i = 0; i < 60; ++i) sum += toThousandths(34.15);
    EXPECT_EQ(sum, 2049000);
    EXPECT_EQ(roundedText(fromThousandths(sum, 60), 1), "34.2");
    EXPECT_EQ(toThousandths(-0.125), -125);
    EXPECT_EQ(toThousandths(1e300), 1000000000000000LL);
}

}  // namespace
}  // namespace varnex
