#include "sheets/ranking_rows.h"

#include "analysis/analysis_texts.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

std::string rankingRuleNote(const Exam& exam) {
    const RankingRule rule = exam.options().rankingRule;
    if (rule == RankingRule::Unchosen) return std::string();
    return strprintf(tx::kRankingRuleNoteFormat, rankingRuleName(rule), rankingRulePlaces(rule));
}

void writeRankingHead(ExcelSheet& sheet, const Exam& exam, int lastColumn, const std::string& title) {
    writeTitleRow(sheet, lastColumn, title);
    if (std::string note = rankingRuleNote(exam); !note.empty()) writeNoteRow(sheet, lastColumn, 2, note);
}

RankingColumns::RankingColumns(const Exam& exam, bool withSchoolAndClass)
    : exam_(exam), withSchoolAndClass_(withSchoolAndClass), firstSubject_(withSchoolAndClass ? 4 : 2) {}

void RankingColumns::writeHeaders(ExcelSheet& sheet) const {
    writeBoxedCell(sheet, 0, 3, tx::kSerial, 5);
    if (withSchoolAndClass_) {
        writeBoxedCell(sheet, 1, 3, tx::kSchool);
        writeBoxedCell(sheet, 2, 3, tx::kClass);
    }
    writeBoxedCell(sheet, firstSubject_ - 1, 3, tx::kName);
    int column = firstSubject_;
    for (const ExamSubject& subject : exam_.subjects()) {
        writeBoxedCell(sheet, column++, 3,
                       strprintf(tx::kHeaderWithMarkFormat, subject.name.c_str(), subject.fullMark));
    }
    writeBoxedCell(sheet, column++, 3,
                   strprintf(tx::kHeaderWithMarkFormat, kTotalName, exam_.imported().examFullMarkTotal));
    writeBoxedCell(sheet, column, 3, tx::kPlace);
}

void RankingColumns::writeRow(ExcelSheet& sheet, int sheetRow, const PlacedRow& placed, int serial) const {
    const RowTable& students = exam_.students();
    writeBoxedNumber(sheet, 0, sheetRow, serial);
    if (withSchoolAndClass_) {
        writeBoxedCell(sheet, 1, sheetRow, students.cellText(placed.row, 0));
        // "（" class "）班", joined without a format for speed: this runs once per listed student.
        std::string klass = analysis_texts::kOpenBracket;
        klass += students.cellText(placed.row, 1);
        klass += analysis_texts::kCloseClass;
        writeBoxedCell(sheet, 2, sheetRow, klass);
    }
    writeBoxedCell(sheet, firstSubject_ - 1, sheetRow, students.cellText(placed.row, 2));
    // The subjects' texts as read, then the total's.
    int column = firstSubject_;
    for (size_t i = 0; i <= exam_.subjects().size(); ++i)
        writeBoxedCell(sheet, column++, sheetRow, exam_.scoreText(placed.row, i));
    writeBoxedNumber(sheet, column, sheetRow, placed.place);
}

}  // namespace varnex
