#pragma once
// Class names as schools and marking platforms write them: 高二9班, 9班, ９班, （9）班 and 9 are
// the same class. Student and teacher sheets are read through the same normalisation, so that
// students and their teachers still meet and every label reads "（9）班".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

/// The class as Varnex keeps it: blanks at both ends trimmed, full-width digits, letters and
/// brackets made plain, a leading grade ("高二", "七年级", "初一", "2024级", "高2024级") and a
/// trailing "班" dropped, and brackets around what is left taken off. "" when nothing remains.
std::string normaliseClassName(std::string_view text);

/// The class that a file or sheet name holds: digits (possibly in brackets) before "班"
/// ("高二4班期中" → "4", "七年级（12）班成绩" → "12"), as normaliseClassName keeps them; "" when
/// it holds none.
std::string classInName(std::string_view name);

/// The classes that one cell of a teacher sheet names, each as normaliseClassName keeps it: one
/// class, or several written as a list ("1、2班", "1,3", "1班3班", "高二1、2班") or as a range
/// ("3-4班", "3~5"). A single class reads exactly as normaliseClassName reads it, so "7-1" (a
/// higher number before a lower one) stays one class. Empty for a text that names no class ("",
/// "班"); nothing when the text cannot be read as classes (an empty item "1,,3", an item with nothing
/// left "1、班", a range of more than kMaxClassRange classes).
std::optional<std::vector<std::string>> classListOf(std::string_view text);

/// The most classes one range of a teacher sheet may span ("1-60" is surely a mistake).
inline constexpr int kMaxClassRange = 40;

}  // namespace varnex
