#include "base/rounding.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "base/text_util.h"

namespace varnex {

double roundHalfAway(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    // The shortest fixed text that reads back as the value: the decimal number it stands for.
    // 512 bytes hold any double in fixed notation.
    char buffer[512];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    std::string digits(buffer, written.ptr);
    const size_t point = digits.find('.');
    if (point == std::string::npos || digits.size() - point - 1 <= static_cast<size_t>(decimals))
        return value == 0 ? 0.0 : value;
    // Keep the digits up to the last decimal; the first one dropped decides (5 or more: away).
    const bool up = digits[point + 1 + static_cast<size_t>(decimals)] >= '5';
    digits.resize(point + 1 + static_cast<size_t>(decimals));
    if (decimals == 0) digits.pop_back();
    if (up) {
        size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '.') continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0) digits.insert(digits.begin(), '1');
        }
    }
    double rounded = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), rounded);
    if (rounded == 0) return 0.0;
    return value < 0 ? -rounded : rounded;
}

std::string roundedText(double value, int decimals) {
    return fixedText(roundHalfAway(value, decimals), decimals);
}

long long toThousandths(double value) {
    // Far beyond any score, and far inside the range of the integers compared.
    constexpr double kLimit = 1e15;
    if (std::isnan(value)) return 0;
    if (value >= kLimit) return static_cast<long long>(kLimit);
    if (value <= -kLimit) return -static_cast<long long>(kLimit);
    return std::llround(value * 1000.0);
}

double fromThousandths(long long thousandths, long long divisor) {
    // One division of two exact doubles: the nearest double to the exact quotient.
    return static_cast<double>(thousandths) / (1000.0 * static_cast<double>(divisor));
}

}  // namespace varnex
