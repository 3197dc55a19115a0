#include "sheets/progress_sheets.h"

#include "analysis/analysis_texts.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/level_distribution.h"
#include "sheets/ranking_rows.h"
#include "sheets/rate_cells.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

// Title, two rows of notes (or a note and the figures' headers), the headers.
constexpr int kHeaderRow = 4;
constexpr int kFirstRow = 5;

// "（" class "）班", as the ranking sheets write a class.
std::string classLabel(std::string_view klass) {
    return analysis_texts::kOpenBracket + std::string(klass) + analysis_texts::kCloseClass;
}

// A place as written: none for a student or class not placed.
std::optional<long long> placeNumber(int place) {
    return place > 0 ? std::optional<long long>(place) : std::nullopt;
}

std::optional<long long> changeNumber(const std::optional<int>& change) {
    return change ? std::optional<long long>(*change) : std::nullopt;
}

template <typename T>
std::string optionalText(const std::optional<T>& value, std::string (*text)(T)) {
    return value ? text(*value) : std::string();
}

std::string figureText(double value) {
    return roundedText(value, 1);
}

}  // namespace

Status writeStudentProgress(ExcelSheet& sheet, const Exam& exam, const std::vector<StudentProgress>& students,
                            const std::string& title) {
    if (static_cast<int>(students.size()) + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kStudentProgress,
                              static_cast<int>(students.size()) + kHeaderRow, kMaxSheetRows));

    // With the exam's tracks the places are counted within each, and the name is followed by the
    // student's 科类.
    const bool byTrack = !exam.tracks().empty();
    const int t = byTrack ? 1 : 0;
    const int last = 7 + t;
    writeTitleRow(sheet, last, title);
    const RankingRule rule = exam.options().rankingRule;
    if (rule == RankingRule::Unchosen) {
        writeNoteRow(sheet, last, 2, byTrack ? tx::kStudentProgressTrackNote : tx::kStudentProgressNote[0]);
    } else {
        writeNoteRow(
            sheet, last, 2,
            strprintf(byTrack ? tx::kStudentProgressTrackRuleNoteFormat : tx::kStudentProgressRuleNoteFormat,
                      rankingRuleName(rule), rankingRulePlaces(rule)));
    }
    writeNoteRow(sheet, last, 3, tx::kStudentProgressNote[1]);
    const char* headers[] = {tx::kSchool,    tx::kClass,     tx::kName,      tx::kTrack,      tx::kThisTotal,
                             tx::kThisPlace, tx::kLastTotal, tx::kLastPlace, tx::kPlaceChange};
    for (int c = 0, h = 0; c <= last; ++c, ++h) {
        if (h == 3 && !byTrack) ++h;
        writeBoxedCell(sheet, c, kHeaderRow, headers[h]);
    }
    const RowTable& current = exam.students();
    const RowTable& previous = exam.previous().students;
    int sheetRow = kFirstRow;
    for (const StudentProgress& p : students) {
        writeBoxedCell(sheet, 0, sheetRow, current.cellText(p.student, 0));
        writeBoxedCell(sheet, 1, sheetRow, classLabel(current.cellText(p.student, 1)));
        writeBoxedCell(sheet, 2, sheetRow, current.cellText(p.student, 2));
        if (byTrack)
            writeBoxedCell(sheet, 3, sheetRow, trackLabel(exam.tracks()[exam.trackIndexOf(p.student)]));
        writeBoxedCell(sheet, 3 + t, sheetRow, exam.scoreText(p.student, exam.subjects().size()));
        writeBoxedNumber(sheet, 4 + t, sheetRow, placeNumber(p.place));
        writeBoxedCell(sheet, 5 + t, sheetRow, previous.cellText(p.previous, kTotalColumn));
        writeBoxedNumber(sheet, 6 + t, sheetRow, placeNumber(p.previousPlace));
        writeBoxedNumber(sheet, 7 + t, sheetRow, changeNumber(p.change));
        ++sheetRow;
    }
    return {};
}

Status writeStudentLevelProgress(ExcelSheet& sheet, const Exam& exam, const LevelCuts& cuts,
                                 const std::vector<StudentLevelProgress>& students,
                                 const std::string& title) {
    if (static_cast<int>(students.size()) + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kStudentProgress,
                              static_cast<int>(students.size()) + kHeaderRow, kMaxSheetRows));

    constexpr int kLast = 7;
    writeTitleRow(sheet, kLast, title);
    writeNoteRow(sheet, kLast, 2, tx::kStudentLevelProgressNote[0] + levelCutsNote(cuts));
    writeNoteRow(sheet, kLast, 3, tx::kStudentLevelProgressNote[1]);
    const char* headers[] = {tx::kSchool,    tx::kClass,     tx::kName,      tx::kThisTotal,
                             tx::kThisLevel, tx::kLastTotal, tx::kLastLevel, tx::kLevelChange};
    for (int c = 0; c <= kLast; ++c) writeBoxedCell(sheet, c, kHeaderRow, headers[c]);
    auto levelName = [&](int level) {
        return level >= 0 ? cuts.names[static_cast<size_t>(level)] : std::string();
    };
    const RowTable& current = exam.students();
    const RowTable& previous = exam.previous().students;
    int sheetRow = kFirstRow;
    for (const StudentLevelProgress& p : students) {
        writeBoxedCell(sheet, 0, sheetRow, current.cellText(p.student, 0));
        writeBoxedCell(sheet, 1, sheetRow, classLabel(current.cellText(p.student, 1)));
        writeBoxedCell(sheet, 2, sheetRow, current.cellText(p.student, 2));
        writeBoxedCell(sheet, 3, sheetRow, exam.scoreText(p.student, exam.subjects().size()));
        writeBoxedCell(sheet, 4, sheetRow, levelName(p.level));
        writeBoxedCell(sheet, 5, sheetRow, previous.cellText(p.previous, kTotalColumn));
        writeBoxedCell(sheet, 6, sheetRow, levelName(p.previousLevel));
        writeBoxedNumber(sheet, 7, sheetRow, changeNumber(p.change));
        ++sheetRow;
    }
    return {};
}

namespace {

std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : analysis_texts::kNameSeparator) + name;
    return text;
}

constexpr int kFirstFigure = 3;
constexpr int kFigureColumns = 6;  // this, last, change, this place, last place, place change

// Title, the note naming the subjects not compared, and the two header rows: 学校, 班级 and 学科
// over both, each figure over its six columns.
void writeClassProgressHead(ExcelSheet& sheet, const ClassProgressTable& table, const std::string& title) {
    const int lastColumn = kFirstFigure + static_cast<int>(kClassFigureCount) * kFigureColumns - 1;
    std::string note = tx::kClassProgressNote;
    if (!table.thisOnly.empty())
        note += strprintf(tx::kThisOnlySubjectsFormat, joinedNames(table.thisOnly).c_str());
    if (!table.lastOnly.empty())
        note += strprintf(tx::kLastOnlySubjectsFormat, joinedNames(table.lastOnly).c_str());
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, note);
    const char* keys[] = {tx::kSchool, tx::kClass, tx::kSubject};
    for (int c = 0; c < 3; ++c) {
        ExcelRange range = sheet.Range(CellName(c, kHeaderRow - 1), CellName(c, kHeaderRow));
        range.BorderAround();
        range.SetHorizontalAlignment(kAlignCenter);
        range.SetVerticalAlignment(kAlignVerticalCenter);
        range.Merge(0);
        range.SetData(keys[c]);
    }
    const char* figureNames[kClassFigureCount] = {tx::kAverage, tx::kExcellentRate, tx::kPassRate};
    const char* headers[kFigureColumns] = {tx::kThis,      tx::kLast,      tx::kChange,
                                           tx::kThisPlace, tx::kLastPlace, tx::kPlaceChange};
    for (size_t which = 0; which < kClassFigureCount; ++which) {
        const int first = kFirstFigure + static_cast<int>(which) * kFigureColumns;
        writeSpanningHeader(sheet, first, first + kFigureColumns - 1, kHeaderRow - 1, figureNames[which]);
        for (int h = 0; h < kFigureColumns; ++h) writeBoxedCell(sheet, first + h, kHeaderRow, headers[h]);
    }
}

}  // namespace

void writeClassProgress(ExcelSheet& sheet, const Exam& exam, const ClassProgressTable& table,
                        const std::string& title, const SheetScope& scope) {
    writeClassProgressHead(sheet, table, title);
    RateCells cells(sheet);
    const RateCellStyle figureStyle{.rateFormat = true};
    const ClassList& classes = exam.imported().classList;
    int sheetRow = kFirstRow;
    for (size_t k = 0; k < table.classCount; ++k) {
        auto [school, klass] = classes.parts(k);
        if (!scope.showsClass(school, klass)) continue;
        for (size_t j = 0; j < table.columns.size(); ++j) {
            writeBoxedCell(sheet, 0, sheetRow, school);
            writeBoxedCell(sheet, 1, sheetRow, classLabel(klass));
            writeBoxedCell(sheet, 2, sheetRow, table.columns[j]);
            for (size_t which = 0; which < kClassFigureCount; ++which) {
                const ProgressFigure& f = table.at(k, j)[which];
                const int c = kFirstFigure + static_cast<int>(which) * kFigureColumns;
                cells.cell(c, sheetRow, optionalText(f.now, figureText), figureStyle);
                cells.cell(c + 1, sheetRow, optionalText(f.last, figureText), figureStyle);
                cells.cell(c + 2, sheetRow, optionalText(f.change, figureText), figureStyle);
                writeBoxedNumber(sheet, c + 3, sheetRow, placeNumber(f.nowPlace));
                writeBoxedNumber(sheet, c + 4, sheetRow, placeNumber(f.lastPlace));
                writeBoxedNumber(sheet, c + 5, sheetRow, changeNumber(f.placeChange));
            }
            ++sheetRow;
        }
    }
}

}  // namespace varnex
