#pragma once
// Class names as schools and marking platforms write them: 高二9班, 9班, ９班, （9）班 and 9 are
// the same class. Student and teacher sheets are read through the same normalisation, so that
// students and their teachers still meet and every label reads "（9）班".

#include <string>
#include <string_view>

namespace varnex {

/// The class as Varnex keeps it: blanks at both ends trimmed, full-width digits, letters and
/// brackets made plain, a leading grade ("高二", "七年级", "初一", "2024级", "高2024级") and a
/// trailing "班" dropped, and brackets around what is left taken off. "" when nothing remains.
std::string normaliseClassName(std::string_view text);

}  // namespace varnex
