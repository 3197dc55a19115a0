#pragma once
// Small text helpers shared by every part of the program: C-library number reading,
// printf-style formatting and the local clock texts.

#include <charconv>
#include <ctime>
#include <string>
#include <string_view>

namespace varnex {

/// Reads a leading integer like the C library's atoi: blanks, an optional sign, digits; otherwise 0.
/// Values beyond the 32-bit range saturate instead of overflowing.
int cAtoi(std::string_view text);

/// Reads a leading decimal number like the C library's atof (blanks, sign, digits, fraction,
/// exponent); text that does not begin with a number gives 0.
double cAtof(std::string_view text);

/// True when cAtof reads a number at the start of the text (a score rather than "", "缺考" or "/").
bool startsWithNumber(std::string_view text);

/// Reads a double from [first, last) with the result of std::from_chars (general format, the
/// nearest double), taking a short path for plain decimals of up to 15 digits (every score and
/// total) instead of the C library's per-call set-up.
std::from_chars_result readDouble(const char* first, const char* last, double& value);

/// The text printf's "%.<decimals>f" gives for `value`, without printf's per-call cost.
std::string fixedText(double value, int decimals);

/// printf-style formatting into a std::string.
std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Removes one ".0" at the end of the text ("85.0" -> "85", "7.05" stays).
std::string removeTrailingDotZero(std::string text);

/// The current local time as a broken-down struct.
std::tm localNow();

/// strftime of the given time with the given format.
std::string formatTime(const std::tm& time, const char* format);

/// The status-bar clock text, e.g. "2026年12月6日 22:05:09 星期日".
std::string clockText(const std::tm& time);

/// The text with A–Z turned into a–z (other bytes unchanged).
std::string asciiLower(std::string_view text);

/// True when the texts are equal once A–Z are taken as a–z.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

/// The file name of a path: the text after its last "/" (a "\\" is an ordinary character of a
/// file name here, so it does not separate).
std::string fileNameOf(std::string_view path);

}  // namespace varnex
