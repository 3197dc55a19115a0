#include "sheets/line_reach.h"

#include "app/level_cuts.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 3;
constexpr int kFirstSubjectColumn = 6;  // G

// Thousandths of a point with one decimal at most.
std::string pointsText(double thousandths) {
    return removeTrailingDotZero(roundedText(thousandths / 1000, 1));
}

// One row of a block: its 学校 and 班级 cells and the group it counts.
struct GroupRow {
    std::string school;
    std::string klass;
    const LineGroupCounts* counts;
};

// The classes of each school with students of the track, the school after them when there are two
// schools or more; the classes of a school the list does not name; then the whole exam. Of a part
// of the exam only its classes and its school, always with the school's row.
std::vector<GroupRow> groupRows(const Exam& exam, const TrackReach& track, const SheetScope& scope) {
    const ImportResults& imported = exam.imported();
    const bool schoolRows = imported.schoolList.size() >= 2 || !scope.wholeExam();
    std::vector<GroupRow> rows;
    std::vector<bool> placed(imported.classList.size(), false);
    auto addClass = [&](size_t j) {
        placed[j] = true;
        auto [school, klass] = imported.classList.parts(j);
        if (track.classes[j].sat == 0 || !scope.showsClass(school, klass)) return;
        rows.push_back({school, strprintf(rate_texts::kClassLabelFormat, klass.c_str()), &track.classes[j]});
    };
    for (size_t k : scope.shownSchools(imported.schoolList)) {
        for (size_t j = 0; j < imported.classList.size(); ++j) {
            if (!placed[j] && imported.classList.parts(j).first == imported.schoolList[k]) addClass(j);
        }
        if (schoolRows && track.schools[k].sat > 0)
            rows.push_back({imported.schoolList[k], tx::kWholeSchool, &track.schools[k]});
    }
    for (size_t j = 0; j < imported.classList.size(); ++j) {
        if (!placed[j]) addClass(j);
    }
    rows.push_back({tx::kWholeExam, std::string(), &track.exam});
    return rows;
}

std::string blockLabel(const TrackReach& track, const ReachedLine& line) {
    const std::string prefix = track.track.empty() ? std::string() : track.track + " ";
    std::string label = strprintf(tx::kScoreLineLabelFormat, prefix.c_str(), line.given.name.c_str(),
                                  pointsText(static_cast<double>(line.line.value_or(0))).c_str());
    if (line.given.byShare)
        label += strprintf(tx::kShareLineFormat, levelLineText(static_cast<int>(line.given.value)).c_str());
    return label;
}

}  // namespace

Status writeLineReach(ExcelSheet& sheet, const Exam& exam, const std::vector<TrackReach>& reach,
                      const std::string& title, const SheetScope& scope) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    long long needed = kHeaderRow;
    std::vector<std::vector<GroupRow>> rowsOfTrack;
    for (const TrackReach& track : reach) {
        rowsOfTrack.push_back(groupRows(exam, track, scope));
        needed += static_cast<long long>(track.lines.size()) *
                  (static_cast<long long>(rowsOfTrack.back().size()) + 1);
    }
    if (needed > kMaxSheetRows)
        return fail(
            strprintf(tx::kSheetTooLongFormat, tx::kScoreLines, static_cast<int>(needed), kMaxSheetRows));

    const int lastColumn = kFirstSubjectColumn + static_cast<int>(subjects.size()) - 1;
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, tx::kScoreLinesNote);
    for (int c = 0; c < kFirstSubjectColumn; ++c)
        writeBoxedCell(sheet, c, kHeaderRow, tx::kScoreLineHeaders[static_cast<size_t>(c)]);
    for (size_t i = 0; i < subjects.size(); ++i)
        writeBoxedCell(sheet, kFirstSubjectColumn + static_cast<int>(i), kHeaderRow,
                       strprintf(tx::kBothReachedFormat, subjects[i].name.c_str()));
    int row = kHeaderRow + 1;
    for (size_t t = 0; t < reach.size(); ++t) {
        const TrackReach& track = reach[t];
        const std::vector<GroupRow>& rows = rowsOfTrack[t];
        for (size_t l = 0; l < track.lines.size(); ++l) {
            const ReachedLine& line = track.lines[l];
            writeMergedBlock(sheet, 0, row, row + static_cast<int>(rows.size()), blockLabel(track, line));
            writeBoxedCell(sheet, 1, row, tx::kSubjectLineRow);
            for (int c = 2; c < kFirstSubjectColumn; ++c) writeBoxedCell(sheet, c, row, "");
            for (size_t i = 0; i < subjects.size(); ++i) {
                const std::optional<double> subjectLine = line.subjectLine(i);
                writeBoxedCell(sheet, kFirstSubjectColumn + static_cast<int>(i), row,
                               subjectLine ? pointsText(*subjectLine) : std::string());
            }
            ++row;
            for (const GroupRow& group : rows) {
                const LineGroupCounts& counts = *group.counts;
                writeBoxedCell(sheet, 1, row, group.school);
                writeBoxedCell(sheet, 2, row, group.klass);
                writeBoxedNumber(sheet, 3, row, counts.sat);
                writeBoxedNumber(sheet, 4, row, counts.reached[l]);
                writeBoxedCell(sheet, 5, row, rateText(counts.reached[l], counts.sat), {.rateFormat = true});
                // A subject nobody at the line has a score in (one of the other track) stays empty.
                for (size_t i = 0; i < subjects.size(); ++i) {
                    const int column = kFirstSubjectColumn + static_cast<int>(i);
                    if (line.subjectCounts[i] > 0)
                        writeBoxedNumber(sheet, column, row, counts.both[l][i]);
                    else
                        writeBoxedCell(sheet, column, row, "");
                }
                ++row;
            }
        }
    }
    return {};
}

}  // namespace varnex
