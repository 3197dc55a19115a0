#include "sheets/standard_scores.h"

#include <vector>

#include "analysis/analysis_texts.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 3;
constexpr int kFirstScoreColumn = 3;

}  // namespace

Status writeStandardScores(ExcelSheet& sheet, const Exam& exam, const StandardScores& scores,
                           const std::string& title, const SheetScope& scope) {
    std::vector<int> shown;
    for (int r = 0; r < exam.studentCount(); ++r) {
        if (scope.showsStudent(exam, r)) shown.push_back(r);
    }
    const int studentCount = static_cast<int>(shown.size());
    if (studentCount + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kStandardScores, studentCount + kHeaderRow,
                              kMaxSheetRows));
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const int lastColumn = kFirstScoreColumn + 2 * static_cast<int>(scores.columnCount()) - 1;
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, tx::kStandardScoresNote);
    writeBoxedCell(sheet, 0, kHeaderRow, tx::kSchool);
    writeBoxedCell(sheet, 1, kHeaderRow, tx::kClass);
    writeBoxedCell(sheet, 2, kHeaderRow, tx::kName);
    for (size_t c = 0; c < scores.columnCount(); ++c) {
        const char* name = c < subjects.size() ? subjects[c].name.c_str() : kTotalName;
        const int column = kFirstScoreColumn + 2 * static_cast<int>(c);
        writeBoxedCell(sheet, column, kHeaderRow, strprintf(tx::kZScoreFormat, name));
        writeBoxedCell(sheet, column + 1, kHeaderRow, strprintf(tx::kTScoreFormat, name));
    }
    const RowTable& students = exam.students();
    for (int i = 0; i < studentCount; ++i) {
        const int r = shown[static_cast<size_t>(i)];
        const int row = kHeaderRow + 1 + i;
        writeBoxedCell(sheet, 0, row, students.cellText(r, 0));
        writeBoxedCell(sheet, 1, row,
                       analysis_texts::kOpenBracket + std::string(students.cellText(r, 1)) +
                           analysis_texts::kCloseClass);
        writeBoxedCell(sheet, 2, row, students.cellText(r, 2));
        for (size_t c = 0; c < scores.columnCount(); ++c) {
            const int column = kFirstScoreColumn + 2 * static_cast<int>(c);
            const std::optional<double> z = scores.z(r, c);
            writeBoxedCell(sheet, column, row, z ? roundedText(*z, 2) : std::string());
            writeBoxedCell(sheet, column + 1, row, z ? roundedText(tScore(*z), 1) : std::string());
        }
    }
    return {};
}

}  // namespace varnex
