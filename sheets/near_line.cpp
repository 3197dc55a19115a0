#include "sheets/near_line.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "analysis/analysis_texts.h"
#include "analysis/student_total.h"
#include "analysis/three_rates.h"
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
    return removeTrailingDotZero(strprintf("%.1f", static_cast<double>(thousandths) / 1000.0));
}

// The examined subject with the lowest score against its full mark (the first of equals); with
// blank scores left out, among the subjects the student sat.
std::string weakestSubject(const RowTable::RowView& row, const ScoreSettings& scores,
                           const std::vector<std::string>& subjects, bool blankExcluded) {
    const std::string* weakest = nullptr;
    double lowest = 0;
    for (const auto& name : subjects) {
        const int fullMark = scores.fullMarkOf(name);
        const std::string_view text = row[static_cast<size_t>(columnOfSubject(name))];
        if (fullMark <= 0 || (blankExcluded && !startsWithNumber(text))) continue;
        const double share = scoreValue(text) / fullMark;
        if (weakest == nullptr || share < lowest) {
            weakest = &name;
            lowest = share;
        }
    }
    return weakest != nullptr ? *weakest : std::string();
}

}  // namespace

Status writeNearLine(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    const RowTable& students = state.students;
    const long long band = static_cast<long long>(state.exportOptions.nearBand) * 1000;
    const TotalJudge judge(state.scores, state.imported.examSubjects,
                           state.exportOptions.blankScoresExcluded);
    std::unordered_map<std::string, size_t> classIndex;
    const ClassList& classes = state.imported.classList;
    for (size_t i = 0; i < classes.size(); ++i) {
        auto [school, klass] = classes.parts(i);
        classIndex.emplace(groupKey({school, klass}), i);
    }
    struct Near {
        size_t klass;
        int line;  ///< 0 excellence, 1 pass
        long long total, difference;
        int row;
    };
    std::vector<Near> near;
    for (int row = 0; row < students.rowCount(); ++row) {
        std::optional<double> total = judge.totalOf(students.row(row));
        if (!total) continue;
        auto klass = classIndex.find(groupKey({students.cellText(row, 0), students.cellText(row, 1)}));
        if (klass == classIndex.end()) continue;
        const TotalLines lines = judge.linesOf(students.row(row));
        const long long value = scoreThousandths(*total);
        const long long lineValues[] = {lines.excellent, lines.pass};
        for (int line = 0; line < 2; ++line) {
            const long long difference = value - lineValues[line];
            if (difference >= -band && difference <= band)
                near.push_back({klass->second, line, value, difference, row});
        }
    }
    if (static_cast<int>(near.size()) + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kNearLine,
                              static_cast<int>(near.size()) + kHeaderRow, kMaxSheetRows));
    std::sort(near.begin(), near.end(), [](const Near& a, const Near& b) {
        if (a.klass != b.klass) return a.klass < b.klass;
        if (a.line != b.line) return a.line < b.line;
        if (a.total != b.total) return a.total > b.total;
        return a.row < b.row;
    });

    const TotalLines& shown = judge.gradeLines();
    writeTitleRow(sheet, kLastColumn, title);
    writeNoteRow(sheet, kLastColumn, 2,
                 judge.ownLines() ? strprintf(tx::kNearLineOwnLinesNoteFormat, state.exportOptions.nearBand)
                                  : strprintf(tx::kNearLineNoteFormat, pointsText(shown.excellent).c_str(),
                                              pointsText(shown.pass).c_str(), state.exportOptions.nearBand));
    writeNoteRow(sheet, kLastColumn, 3, tx::kNearLineNote);
    const char* headers[] = {tx::kSchool, tx::kClass,     tx::kName,       kTotalName,
                             tx::kLine,   tx::kLineScore, tx::kDifference, tx::kWeakestSubject};
    for (int c = 0; c <= kLastColumn; ++c) writeBoxedCell(sheet, c, kHeaderRow, headers[c]);
    const std::vector<std::string> subjects = examSubjectNames(state);
    int sheetRow = kHeaderRow + 1;
    for (const Near& n : near) {
        writeBoxedCell(sheet, 0, sheetRow, students.cellText(n.row, 0));
        writeBoxedCell(sheet, 1, sheetRow,
                       analysis_texts::kOpenBracket + std::string(students.cellText(n.row, 1)) +
                           analysis_texts::kCloseClass);
        writeBoxedCell(sheet, 2, sheetRow, students.cellText(n.row, 2));
        writeBoxedCell(sheet, 3, sheetRow, students.cellText(n.row, kTotalColumn));
        writeBoxedCell(sheet, 4, sheetRow, n.line == 0 ? tx::kExcellentLine : tx::kPassLine);
        writeBoxedCell(sheet, 5, sheetRow, pointsText(n.total - n.difference));
        writeBoxedCell(sheet, 6, sheetRow, pointsText(n.difference));
        writeBoxedCell(sheet, 7, sheetRow,
                       weakestSubject(students.row(n.row), state.scores, subjects, judge.ownLines()));
        ++sheetRow;
    }
    return {};
}

}  // namespace varnex
