#include "sheets/scaled_scores.h"

#include <vector>

#include "analysis/analysis_texts.h"
#include "app/level_cuts.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 3;
constexpr int kFirstSubjectColumn = 3;  // D

// A raw score as typed: up to three decimals, without trailing zeros.
std::string rawText(int thousandths) {
    std::string text = roundedText(fromThousandths(thousandths), 3);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::string scaledScoresNote(const ScaleRule& rule) {
    std::string grades;
    for (const ScaleGrade& grade : rule.grades) {
        if (!grades.empty()) grades += tx::kLevelSeparator;
        grades += strprintf(tx::kScaleGradeFormat, grade.name.c_str(), levelLineText(grade.share).c_str(),
                            grade.low, grade.high);
    }
    const std::string name =
        rule.name.empty() ? std::string() : strprintf(tx::kScaleRuleNameFormat, rule.name.c_str());
    return strprintf(tx::kScaledNoteFormat, name.c_str(), grades.c_str());
}

Status writeScaledScores(ExcelSheet& sheet, const Exam& exam, const ScaledScores& scaled,
                         const std::string& title, const SheetScope& scope) {
    const RowTable& students = exam.students();
    std::vector<int> shown;
    for (int s = 0; s < students.rowCount(); ++s) {
        if (scope.showsStudent(exam, s)) shown.push_back(s);
    }
    const long long needed = static_cast<long long>(shown.size()) + kHeaderRow;
    if (needed > kMaxSheetRows)
        return fail(
            strprintf(tx::kSheetTooLongFormat, tx::kScaledScores, static_cast<int>(needed), kMaxSheetRows));

    const int lastColumn = kFirstSubjectColumn + 3 * static_cast<int>(scaled.subjects.size()) - 1;
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, scaledScoresNote(scaled.rule));
    writeBoxedCell(sheet, 0, kHeaderRow, tx::kSchool);
    writeBoxedCell(sheet, 1, kHeaderRow, tx::kClass);
    writeBoxedCell(sheet, 2, kHeaderRow, tx::kName);
    for (size_t k = 0; k < scaled.subjects.size(); ++k) {
        const char* name = scaled.subjects[k].name.c_str();
        const int column = kFirstSubjectColumn + 3 * static_cast<int>(k);
        writeBoxedCell(sheet, column, kHeaderRow, strprintf(tx::kRawScoreHeaderFormat, name));
        writeBoxedCell(sheet, column + 1, kHeaderRow, strprintf(tx::kScaleGradeHeaderFormat, name));
        writeBoxedCell(sheet, column + 2, kHeaderRow, strprintf(tx::kScaledHeaderFormat, name));
    }
    int row = kHeaderRow;
    for (const int s : shown) {
        ++row;
        writeBoxedCell(sheet, 0, row, students.cellText(s, 0));
        writeBoxedCell(sheet, 1, row,
                       analysis_texts::kOpenBracket + std::string(students.cellText(s, 1)) +
                           analysis_texts::kCloseClass);
        writeBoxedCell(sheet, 2, row, students.cellText(s, 2));
        for (size_t k = 0; k < scaled.subjects.size(); ++k) {
            const ScaledSubject& subject = scaled.subjects[k];
            const int column = kFirstSubjectColumn + 3 * static_cast<int>(k);
            const size_t i = static_cast<size_t>(s);
            const int grade = subject.grade[i];
            if (grade < 0) {
                // No score: what the sheet had, and nothing to grade.
                writeBoxedCell(sheet, column, row, exam.scoreText(s, subject.subject));
                writeBoxedCell(sheet, column + 1, row, "");
                writeBoxedCell(sheet, column + 2, row, "");
                continue;
            }
            writeBoxedCell(sheet, column, row, rawText(subject.raw[i]));
            writeBoxedCell(sheet, column + 1, row, scaled.rule.grades[static_cast<size_t>(grade)].name);
            writeBoxedNumber(sheet, column + 2, row, static_cast<long long>(subject.scaled[i]));
        }
    }
    return {};
}

}  // namespace varnex
