#pragma once
// The header row and data rows shared by the top-N and class-ranking sheets: 序号, (学校, 班级,)
// 姓名, one column per examined subject, 总分 and 名次; under 不公布名次 each score followed by its
// 等级 and no 名次.

#include <string>

#include "analysis/exam.h"
#include "analysis/levels.h"
#include "analysis/student_order.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The name a group of 按科类分别统计 is shown by: its track, kNoTrack for the students without one.
std::string trackLabel(const ExamTrack& track);

/// The note of a ranking sheet naming the exam's 名次方式, "名次：并列占位（1,2,2,4）"; "" when
/// none was chosen.
std::string rankingRuleNote(const Exam& exam);

/// The note of a listing without places: the order of the names and how the levels were cut.
std::string nameOrderNote(const LevelCuts& cuts);

/// Row 1: the title; row 2: the rankingRuleNote, followed with the exam's tracks by kTrackPlacesNote,
/// when there is one (with `levels`, the nameOrderNote). Both span the sheet's columns.
void writeRankingHead(ExcelSheet& sheet, const Exam& exam, int lastColumn, const std::string& title,
                      const ExamLevels* levels = nullptr);

/// The columns of a ranking sheet: with school and class (top N, all classes on one sheet) or
/// with the name only (one sheet per class). With `levels` (不公布名次) each score is followed by
/// its 等级 and there is no 名次; with the exam's tracks (按科类分别统计, places within a track) the
/// name is followed by the student's 科类.
class RankingColumns {
  public:
    RankingColumns(const Exam& exam, bool withSchoolAndClass, const ExamLevels* levels = nullptr);

    /// 0-based column of 名次 (of the total's 等级 with levels), the sheet's last column.
    int lastColumn() const {
        const int scores = static_cast<int>(exam_.subjects().size()) + 1;
        return firstSubject_ + (levels_ != nullptr ? 2 * scores : scores + 1) - 1;
    }

    /// Row 3: every header boxed and centred, 序号 with width 5.
    void writeHeaders(ExcelSheet& sheet) const;
    /// One listed student in a sheet row: serial, (school, "（" class "）班",) name, (track,) the subject
    /// texts, the total text and the place (each text followed by its level name instead, with
    /// levels), every cell boxed and centred.
    void writeRow(ExcelSheet& sheet, int sheetRow, const PlacedRow& placed, int serial) const;

  private:
    const Exam& exam_;
    bool withSchoolAndClass_;
    bool withTrack_;
    int firstSubject_;
    const ExamLevels* levels_;
};

}  // namespace varnex
