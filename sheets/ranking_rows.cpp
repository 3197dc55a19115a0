#include "sheets/ranking_rows.h"

#include "analysis/analysis_texts.h"
#include "base/text_util.h"
#include "sheets/level_distribution.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

std::string rankingRuleNote(const Exam& exam) {
    const RankingRule rule = exam.options().rankingRule;
    if (rule == RankingRule::Unchosen) return std::string();
    return strprintf(tx::kRankingRuleNoteFormat, rankingRuleName(rule), rankingRulePlaces(rule));
}

std::string nameOrderNote(const LevelCuts& cuts) {
    return tx::kNameOrderNote + levelCutsNote(cuts);
}

void writeRankingHead(ExcelSheet& sheet, const Exam& exam, int lastColumn, const std::string& title,
                      const ExamLevels* levels) {
    writeTitleRow(sheet, lastColumn, title);
    const std::string note = levels != nullptr ? nameOrderNote(levels->cuts()) : rankingRuleNote(exam);
    if (!note.empty()) writeNoteRow(sheet, lastColumn, 2, note);
}

RankingColumns::RankingColumns(const Exam& exam, bool withSchoolAndClass, const ExamLevels* levels)
    : exam_(exam),
      withSchoolAndClass_(withSchoolAndClass),
      firstSubject_(withSchoolAndClass ? 4 : 2),
      levels_(levels) {}

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
        if (levels_ != nullptr) writeBoxedCell(sheet, column++, 3, tx::kLevel);
    }
    writeBoxedCell(sheet, column++, 3,
                   strprintf(tx::kHeaderWithMarkFormat, kTotalName, exam_.imported().examFullMarkTotal));
    writeBoxedCell(sheet, column, 3, levels_ != nullptr ? tx::kLevel : tx::kPlace);
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
    for (size_t i = 0; i <= exam_.subjects().size(); ++i) {
        writeBoxedCell(sheet, column++, sheetRow, exam_.scoreText(placed.row, i));
        if (levels_ == nullptr) continue;
        const int level = levels_->level(placed.row, i);
        writeBoxedCell(sheet, column++, sheetRow,
                       level >= 0 ? levels_->cuts().names[static_cast<size_t>(level)] : std::string());
    }
    if (levels_ == nullptr) writeBoxedNumber(sheet, column, sheetRow, placed.place);
}

}  // namespace varnex
