#pragma once
// The text a double-click in the StudentTable puts on the clipboard: one "label：value" line per
// field, every line ending with "\r\n".

#include <string>

#include "app/row_table.h"

namespace varnex::ui {

/// 学校, 年级, the class as "班级：（…）班", 姓名, each subject with a score (empty ones are left
/// out) and always 总分.
std::string studentRowText(const RowTable& students, int row, const std::string& gradeName);

}  // namespace varnex::ui
