#include "base/rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/text_util.h"

namespace varnex {

double roundHalfAway(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    decimals = std::clamp(decimals, 0, 15);
    // The shortest fixed text that reads back as the value: the decimal number it stands for.
    // 512 bytes hold any double in fixed notation, with room for one more digit in front.
    char buffer[512];
    char* const first = buffer + 1;
    const char* const end =
        std::to_chars(first, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed).ptr;
    const char* const point = std::find(static_cast<const char*>(first), end, '.');
    if (point == end || end - point - 1 <= decimals) return value == 0 ? 0.0 : value;
    // Keep the digits up to the last decimal; the first one dropped decides (5 or more: away).
    char* const cut = first + (point - first) + 1 + decimals;
    char* const last = decimals == 0 ? cut - 1 : cut;
    char* begin = first;
    if (*cut >= '5') {
        char* p = last;
        for (;;) {
            if (p == begin) {
                *--begin = '1';
                break;
            }
            --p;
            if (*p == '.') continue;
            if (*p != '9') {
                ++*p;
                break;
            }
            *p = '0';
        }
    }
    double rounded = 0;
    std::from_chars(begin, last, rounded);
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
