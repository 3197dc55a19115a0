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

std::string trackLabel(const ExamTrack& track) {
    return track.name.empty() ? std::string(tx::kNoTrack) : track.name;
}

std::string nameOrderNote(const LevelCuts& cuts) {
    return tx::kNameOrderNote + levelCutsNote(cuts);
}

void writeRankingHead(ExcelSheet& sheet, const Exam& exam, int lastColumn, const std::string& title,
                      const ExamLevels* levels) {
    writeTitleRow(sheet, lastColumn, title);
    std::string note = levels != nullptr ? nameOrderNote(levels->cuts()) : rankingRuleNote(exam);
    if (levels == nullptr && !exam.tracks().empty())
        note += (note.empty() ? "" : tx::kNoteSeparator) + std::string(tx::kTrackPlacesNote);
    if (!note.empty()) writeNoteRow(sheet, lastColumn, 2, note);
}

RankingColumns::RankingColumns(const Exam& exam, bool withSchoolAndClass, const ExamLevels* levels)
    : exam_(exam),
      withSchoolAndClass_(withSchoolAndClass),
      withTrack_(levels == nullptr && !exam.tracks().empty()),
      firstSubject_((withSchoolAndClass ? 4 : 2) + (withTrack_ ? 1 : 0)),
      levels_(levels) {}

void RankingColumns::writeHeaders(ExcelSheet& sheet) const {
    writeBoxedCell(sheet, 0, 3, tx::kSerial, 5);
    if (withSchoolAndClass_) {
        writeBoxedCell(sheet, 1, 3, tx::kSchool);
        writeBoxedCell(sheet, 2, 3, tx::kClass);
    }
    const int nameColumn = withSchoolAndClass_ ? 3 : 1;
    writeBoxedCell(sheet, nameColumn, 3, tx::kName);
    if (withTrack_) writeBoxedCell(sheet, nameColumn + 1, 3, tx::kTrack);
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
    const int nameColumn = withSchoolAndClass_ ? 3 : 1;
    writeBoxedCell(sheet, nameColumn, sheetRow, students.cellText(placed.row, 2));
    if (withTrack_)
        writeBoxedCell(sheet, nameColumn + 1, sheetRow,
                       trackLabel(exam_.tracks()[exam_.trackIndexOf(placed.row)]));
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
