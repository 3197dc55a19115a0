#include "sheets/near_line.h"

#include "analysis/analysis_texts.h"
#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 4;
constexpr int kLastColumn = 7;

// Thousandths of a point as the sheet writes a score: one decimal at most, none for whole points.
std::string pointsText(long long thousandths) {
    return removeTrailingDotZero(roundedText(fromThousandths(thousandths), 1));
}

}  // namespace

Status writeNearLine(ExcelSheet& sheet, const Exam& exam, const NearLineStudents& near,
                     const std::string& title) {
    if (static_cast<int>(near.students.size()) + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kNearLine,
                              static_cast<int>(near.students.size()) + kHeaderRow, kMaxSheetRows));

    writeTitleRow(sheet, kLastColumn, title);
    std::string note;
    if (near.byScoreLines) {
        std::string lines;
        for (const TrackReach& track : near.reach) {
            const std::string prefix = track.track.empty() ? std::string() : track.track + " ";
            for (const ReachedLine& line : track.lines) {
                if (!lines.empty()) lines += tx::kNearScoreLineSeparator;
                lines += strprintf(tx::kNearScoreLineFormat, prefix.c_str(), line.given.name.c_str(),
                                   pointsText(line.line.value_or(0)).c_str());
            }
        }
        note = strprintf(tx::kNearScoreLinesNoteFormat, lines.c_str(), near.band);
    } else if (near.ownLines) {
        note = strprintf(tx::kNearLineOwnLinesNoteFormat, near.band);
    } else {
        note = strprintf(tx::kNearLineNoteFormat, pointsText(near.gradeLines.excellent).c_str(),
                         pointsText(near.gradeLines.pass).c_str(), near.band);
    }
    writeNoteRow(sheet, kLastColumn, 2, note);
    writeNoteRow(sheet, kLastColumn, 3, tx::kNearLineNote);
    const char* headers[] = {tx::kSchool, tx::kClass,     tx::kName,       kTotalName,
                             tx::kLine,   tx::kLineScore, tx::kDifference, tx::kWeakestSubject};
    for (int c = 0; c <= kLastColumn; ++c) writeBoxedCell(sheet, c, kHeaderRow, headers[c]);
    const RowTable& students = exam.students();
    const std::vector<ExamSubject>& subjects = exam.subjects();
    int sheetRow = kHeaderRow + 1;
    for (const NearLineStudent& n : near.students) {
        writeBoxedCell(sheet, 0, sheetRow, students.cellText(n.student, 0));
        writeBoxedCell(sheet, 1, sheetRow,
                       analysis_texts::kOpenBracket + std::string(students.cellText(n.student, 1)) +
                           analysis_texts::kCloseClass);
        writeBoxedCell(sheet, 2, sheetRow, students.cellText(n.student, 2));
        writeBoxedCell(sheet, 3, sheetRow, exam.scoreText(n.student, subjects.size()));
        if (n.scoreLine >= 0) {
            const std::string_view track = studentTrack(exam, n.student);
            const TrackReach* reach = trackReachOf(near.reach, track);
            writeBoxedCell(sheet, 4, sheetRow,
                           strprintf(tx::kScoreLineNameFormat, std::string(track).c_str(),
                                     reach->lines[static_cast<size_t>(n.scoreLine)].given.name.c_str()));
        } else {
            writeBoxedCell(sheet, 4, sheetRow, n.passLine ? tx::kPassLine : tx::kExcellentLine);
        }
        writeBoxedCell(sheet, 5, sheetRow, pointsText(n.line));
        writeBoxedCell(sheet, 6, sheetRow, pointsText(n.total - n.line));
        writeBoxedCell(
            sheet, 7, sheetRow,
            n.weakestSubject >= 0 ? subjects[static_cast<size_t>(n.weakestSubject)].name : std::string());
        ++sheetRow;
    }
    return {};
}

}  // namespace varnex
