#include "base/text_util.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/common_texts.h"

namespace varnex {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The start of a number as the C library reads it: leading blanks, then one optional sign.
struct NumberStart {
    size_t digits = 0;  ///< where the digits begin
    bool negative = false;
};

inline NumberStart signedStart(std::string_view text) {
    NumberStart start;
    size_t& i = start.digits;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        start.negative = text[i] == '-';
        ++i;
    }
    return start;
}

}  // namespace

std::from_chars_result readDouble(const char* first, const char* last, double& value) {
    // Clinger's fast path: a whole number of at most 15 digits is exact as a double, as is every
    // power of ten up to 10^22, so one division (or none) gives the correctly rounded value.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative) ++p;
    uint64_t mantissa = 0;
    int digits = 0;  // significant digits taken into the mantissa
    int fraction = 0;
    const char* start = p;
    while (p != last && isDigit(*p)) {
        if (mantissa != 0 || *p != '0') ++digits;
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        ++p;
        if (digits > 15) return std::from_chars(first, last, value);
    }
    const bool whole = p != start;
    if (p != last && *p == '.') {
        const char* dot = p++;
        while (p != last && isDigit(*p)) {
            if (mantissa != 0 || *p != '0') ++digits;
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
            ++fraction;
            ++p;
            if (digits > 15) return std::from_chars(first, last, value);
        }
        if (p == dot + 1) return std::from_chars(first, last, value);  // "5." and "."
    } else if (!whole) {
        return std::from_chars(first, last, value);  // "inf", "nan", "-", ""
    }
    if (p != last && (*p == 'e' || *p == 'E')) return std::from_chars(first, last, value);
    if (fraction >= static_cast<int>(std::size(kPowersOfTen))) return std::from_chars(first, last, value);
    double v = static_cast<double>(mantissa);
    if (fraction > 0) v /= kPowersOfTen[fraction];
    value = negative ? -v : v;
    return {p, std::errc()};
}

int cAtoi(std::string_view text) {
    auto [i, negative] = signedStart(text);
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double cAtof(std::string_view text) {
    auto [i, negative] = signedStart(text);
    // The usual case, a plain decimal up to the end of the text, in one pass.
    if (i < text.size() && isDigit(text[i])) {
        double value = 0.0;
        auto [end, ec] = readDouble(text.data() + i, text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size()) return negative ? -value : value;
    }
    size_t numberStart = i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            end = j;
        }
    }
    double value = 0.0;
    readDouble(text.data() + numberStart, text.data() + end, value);
    return negative ? -value : value;
}

bool startsWithNumber(std::string_view text) {
    size_t i = signedStart(text).digits;
    if (i < text.size() && text[i] == '.') ++i;
    return i < text.size() && isDigit(text[i]);
}

std::string fixedText(double value, int decimals) {
    // to_chars with a precision gives exactly what printf gives; 512 bytes hold any double.
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string strprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    // Most texts (cell values, addresses) fit a small buffer: one formatting pass then.
    char small[128];
    int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string out;
    if (needed > 0 && static_cast<size_t>(needed) < sizeof small) {
        out.assign(small, static_cast<size_t>(needed));
    } else if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string removeTrailingDotZero(std::string text) {
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
    return text;
}

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm out{};
    localtime_r(&now, &out);
    return out;
}

std::string formatTime(const std::tm& time, const char* format) {
    char buffer[128];
    size_t n = std::strftime(buffer, sizeof buffer, format, &time);
    return std::string(buffer, n);
}

std::string clockText(const std::tm& time) {
    int weekday = time.tm_wday >= 0 && time.tm_wday < 7 ? time.tm_wday : 0;
    return strprintf(common_texts::kClockFormat, time.tm_year + 1900, time.tm_mon + 1, time.tm_mday,
                     formatTime(time, common_texts::kClockTimeFormat).c_str(),
                     common_texts::kWeekdays[weekday]);
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

std::string fileNameOf(std::string_view path) {
    size_t pos = path.rfind('/');
    return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

}  // namespace varnex
