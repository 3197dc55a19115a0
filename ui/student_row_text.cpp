#include "ui/student_row_text.h"

#include "app/subjects.h"
#include "base/text_util.h"

namespace varnex::ui {

namespace {
std::string line(const char* label, const std::string& value) {
    return strprintf("%s%s%s\r\n", label, "：", value.c_str());
}
}  // namespace

std::string studentRowText(const RowTable& students, int row, const std::string& gradeName) {
    std::string text = line("学校", students.cellText(row, 0));
    text += line("年级", gradeName);
    text += strprintf("%s%s%s%s\r\n", "班级", "：（", students.cellText(row, 1).c_str(), "）班");
    text += line("姓名", students.cellText(row, 2));
    for (const Subject& subject : kSubjects) {
        const std::string& score = students.cellText(row, subject.column);
        if (!score.empty()) text += line(subject.name, score);
    }
    text += line(kTotalName, students.cellText(row, kTotalColumn));
    return text;
}

}  // namespace varnex::ui
