#include "ui/student_row_text.h"

#include "app/subjects.h"
#include "base/text_util.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {
std::string line(const char* label, std::string_view value) {
    return strprintf(tx::kRowLineFormat, label, std::string(value).c_str());
}
}  // namespace

std::string studentRowText(const RowTable& students, int row, const std::string& gradeName) {
    std::string text = line(tx::kRowSchool, students.cellText(row, 0));
    text += line(tx::kRowGrade, gradeName);
    text += strprintf(tx::kRowClassLineFormat, std::string(students.cellText(row, 1)).c_str());
    text += line(tx::kRowName, students.cellText(row, 2));
    for (const Subject& subject : kSubjects) {
        const std::string_view score = students.cellText(row, subject.column);
        if (!score.empty()) text += line(subject.name, score);
    }
    text += line(kTotalName, students.cellText(row, kTotalColumn));
    return text;
}

}  // namespace varnex::ui
