#include "sheets/progress_sheets.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "analysis/analysis_texts.h"
#include "analysis/student_order.h"
#include "analysis/student_total.h"
#include "analysis/three_rates.h"
#include "base/text_util.h"
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

// Where a school and a class stand in the SchoolList and ClassList.
class ClassOrder {
  public:
    explicit ClassOrder(const AppState& state) {
        const ClassList& classes = state.imported.classList;
        for (size_t i = 0; i < classes.size(); ++i) {
            auto [school, klass] = classes.parts(i);
            classes_.emplace(groupKey({school, klass}), i);
        }
        for (size_t i = 0; i < state.imported.schoolList.size(); ++i)
            schools_.emplace(state.imported.schoolList[i], i);
    }
    /// The ClassList entry of a StudentTable row, or nothing.
    std::optional<size_t> classOf(const RowTable& students, int row) const {
        auto it = classes_.find(groupKey({students.cellText(row, 0), students.cellText(row, 1)}));
        return it == classes_.end() ? std::nullopt : std::optional<size_t>(it->second);
    }
    size_t schoolOf(std::string_view school) const {
        auto it = schools_.find(std::string(school));
        return it == schools_.end() ? schools_.size() : it->second;
    }

  private:
    std::unordered_map<std::string, size_t> classes_;
    std::unordered_map<std::string, size_t> schools_;
};

TotalJudge currentJudge(const AppState& state) {
    return {state.scores, state.imported.examSubjects, state.exportOptions.blankScoresExcluded};
}

TotalJudge previousJudge(const AppState& state) {
    return {state.previous.scores, state.previous.examSubjects, state.exportOptions.blankScoresExcluded};
}

}  // namespace

ProgressData computeProgress(const AppState& state) {
    ProgressData data;
    data.match = matchStudents({state.students, state.imported.idColumns},
                               {state.previous.students, state.previous.idColumns});
    data.currentPlaces = gradePlaces(state.students, currentJudge(state));
    data.previousPlaces = gradePlaces(state.previous.students, previousJudge(state));
    data.note = matchNote(data.match, state.students, state.previous.students);
    return data;
}

Status writeStudentProgress(ExcelSheet& sheet, const AppState& state, const ProgressData& data,
                            const std::string& title) {
    const RowTable& current = state.students;
    const RowTable& previous = state.previous.students;
    struct Line {
        size_t school, klass;
        bool ranked;
        int change, place, row;
    };
    const ClassOrder order(state);
    std::vector<Line> lines;
    for (int row = 0; row < current.rowCount(); ++row) {
        const int last = data.match.previousOf[static_cast<size_t>(row)];
        if (last < 0) continue;
        const int now = data.currentPlaces[static_cast<size_t>(row)];
        const int before = data.previousPlaces[static_cast<size_t>(last)];
        lines.push_back({order.schoolOf(current.cellText(row, 0)),
                         order.classOf(current, row).value_or(state.imported.classList.size()),
                         now > 0 && before > 0, before - now, now, row});
    }
    if (static_cast<int>(lines.size()) + kHeaderRow > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kStudentProgress,
                              static_cast<int>(lines.size()) + kHeaderRow, kMaxSheetRows));
    // School, class, the largest move up first; students not ranked in one exam after the others.
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        if (a.school != b.school) return a.school < b.school;
        if (a.klass != b.klass) return a.klass < b.klass;
        if (a.ranked != b.ranked) return a.ranked;
        if (a.change != b.change) return a.change > b.change;
        return a.row < b.row;
    });

    constexpr int kLast = 7;
    writeTitleRow(sheet, kLast, title);
    writeNoteRow(sheet, kLast, 2, tx::kStudentProgressNote[0]);
    writeNoteRow(sheet, kLast, 3, tx::kStudentProgressNote[1]);
    const char* headers[] = {tx::kSchool,    tx::kClass,     tx::kName,      tx::kThisTotal,
                             tx::kThisPlace, tx::kLastTotal, tx::kLastPlace, tx::kPlaceChange};
    for (int c = 0; c <= kLast; ++c) writeBoxedCell(sheet, c, kHeaderRow, headers[c]);
    auto placeText = [](int place) { return place > 0 ? std::to_string(place) : std::string(); };
    int sheetRow = kFirstRow;
    for (const Line& line : lines) {
        const int last = data.match.previousOf[static_cast<size_t>(line.row)];
        writeBoxedCell(sheet, 0, sheetRow, current.cellText(line.row, 0));
        writeBoxedCell(sheet, 1, sheetRow, classLabel(current.cellText(line.row, 1)));
        writeBoxedCell(sheet, 2, sheetRow, current.cellText(line.row, 2));
        writeBoxedCell(sheet, 3, sheetRow, current.cellText(line.row, kTotalColumn));
        writeBoxedCell(sheet, 4, sheetRow, placeText(line.place));
        writeBoxedCell(sheet, 5, sheetRow, previous.cellText(last, kTotalColumn));
        writeBoxedCell(sheet, 6, sheetRow, placeText(data.previousPlaces[static_cast<size_t>(last)]));
        writeBoxedCell(sheet, 7, sheetRow, line.ranked ? std::to_string(line.change) : std::string());
        ++sheetRow;
    }
    return {};
}

namespace {

// The figures of one class for one column, this time and last time.
struct ClassFigures {
    std::array<RateGroup, 2> groups;  ///< [0] this exam, [1] the previous one
};

// One figure as written (one decimal) and as ranked (the value of that text); nothing without it.
struct Figure {
    std::string text;
    std::optional<double> value;
};

Figure figureOf(const RateGroup& g, int which) {
    std::string text = which == 0   ? averageText(g.scoreSum, g.satCount)
                       : which == 1 ? rateText(g.excellentCount, g.satCount)
                                    : rateText(g.passCount, g.satCount);
    if (text.empty()) return {};
    double value = cAtof(text);
    return {std::move(text), value};
}

// Counts a student's total against the total's lines; a student without a total sits out.
void addTotal(RateGroup& group, const RowTable::RowView& row, const TotalJudge& judge) {
    std::optional<double> total = judge.totalOf(row);
    if (!total) return;
    const TotalLines lines = judge.linesOf(row);
    const long long value = scoreThousandths(*total);
    ++group.satCount;
    group.scoreSum += *total;
    if (value >= lines.excellent) ++group.excellentCount;
    if (value >= lines.pass) ++group.passCount;
}

std::string joinedNames(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : analysis_texts::kNameSeparator) + name;
    return text;
}

}  // namespace

void writeClassProgress(ExcelSheet& sheet, const AppState& state, const ProgressData& data,
                        const std::string& title) {
    const RowTable& current = state.students;
    const RowTable& previous = state.previous.students;
    const ScoreSettings& lastScores = state.previous.scores;
    const bool zeroExcluded = state.exportOptions.ignoreZeroScores;
    const bool blankExcluded = state.exportOptions.blankScoresExcluded;
    const TotalJudge thisJudge = currentJudge(state), lastJudge = previousJudge(state);

    // The subjects of both exams, then the total; the others are named in the note.
    const std::vector<std::string> thisSubjects = examSubjectNames(state);
    const std::vector<std::string>& lastSubjects = state.previous.examSubjects;
    std::vector<std::string> columns, thisOnly, lastOnly;
    for (const auto& name : thisSubjects) {
        (std::find(lastSubjects.begin(), lastSubjects.end(), name) != lastSubjects.end() ? columns : thisOnly)
            .push_back(name);
    }
    for (const auto& name : lastSubjects) {
        if (std::find(thisSubjects.begin(), thisSubjects.end(), name) == thisSubjects.end())
            lastOnly.push_back(name);
    }
    const size_t subjectCount = columns.size();
    columns.emplace_back(kTotalName);
    std::vector<int> tableColumns;
    std::array<std::vector<RateRule>, 2> rules;
    for (size_t j = 0; j < subjectCount; ++j) {
        tableColumns.push_back(columnOfSubject(columns[j]));
        rules[0].push_back(subjectRule(state.scores, columns[j], zeroExcluded, blankExcluded));
        rules[1].push_back(subjectRule(lastScores, columns[j], zeroExcluded, blankExcluded));
    }

    // One pass over this exam's students: each counts in its class this time, and with the scores
    // of its previous exam last time.
    const ClassOrder order(state);
    const size_t classCount = state.imported.classList.size();
    std::vector<ClassFigures> figures(classCount * columns.size());
    for (int row = 0; row < current.rowCount(); ++row) {
        std::optional<size_t> klass = order.classOf(current, row);
        if (!klass) continue;
        const int last = data.match.previousOf[static_cast<size_t>(row)];
        ClassFigures* f = &figures[*klass * columns.size()];
        for (size_t j = 0; j < subjectCount; ++j) {
            const int column = tableColumns[j];
            f[j].groups[0].add(current.cellText(row, column), rules[0][j]);
            if (last >= 0) f[j].groups[1].add(previous.cellText(last, column), rules[1][j]);
        }
        addTotal(f[subjectCount].groups[0], current.row(row), thisJudge);
        if (last >= 0) addTotal(f[subjectCount].groups[1], previous.row(last), lastJudge);
    }

    // Places among the classes, per column, figure and exam.
    constexpr int kFigures = 3;
    std::vector<Figure> written(figures.size() * kFigures * 2);
    auto at = [&](size_t klass, size_t j, int which, int side) -> Figure& {
        return written[((klass * columns.size() + j) * kFigures + static_cast<size_t>(which)) * 2 +
                       static_cast<size_t>(side)];
    };
    std::vector<int> places(written.size(), 0);
    for (size_t j = 0; j < columns.size(); ++j) {
        for (int which = 0; which < kFigures; ++which) {
            for (int side = 0; side < 2; ++side) {
                std::vector<double> values;
                std::vector<size_t> ranked;
                for (size_t k = 0; k < classCount; ++k) {
                    Figure& fig = at(k, j, which, side);
                    fig = figureOf(figures[k * columns.size() + j].groups[static_cast<size_t>(side)], which);
                    if (!fig.value) continue;
                    values.push_back(*fig.value);
                    ranked.push_back(k);
                }
                std::vector<int> ranks = competitionRanks(values);
                for (size_t i = 0; i < ranked.size(); ++i)
                    places[static_cast<size_t>(&at(ranked[i], j, which, side) - written.data())] = ranks[i];
            }
        }
    }

    constexpr int kFirstFigure = 3;
    const int lastColumn = kFirstFigure + kFigures * 6 - 1;
    std::string note = tx::kClassProgressNote;
    if (!thisOnly.empty()) note += strprintf(tx::kThisOnlySubjectsFormat, joinedNames(thisOnly).c_str());
    if (!lastOnly.empty()) note += strprintf(tx::kLastOnlySubjectsFormat, joinedNames(lastOnly).c_str());
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, note);
    // Row 3: 学校, 班级 and 学科 over both header rows, each figure over its six columns.
    const char* keys[] = {tx::kSchool, tx::kClass, tx::kSubject};
    for (int c = 0; c < 3; ++c) {
        ExcelRange range = sheet.Range(CellName(c, kHeaderRow - 1), CellName(c, kHeaderRow));
        range.BorderAround();
        range.SetHorizontalAlignment(kAlignCenter);
        range.SetVerticalAlignment(kAlignVerticalCenter);
        range.Merge(0);
        range.SetData(keys[c]);
    }
    const char* figureNames[kFigures] = {tx::kAverage, tx::kExcellentRate, tx::kPassRate};
    const char* headers[] = {tx::kThis,      tx::kLast,      tx::kChange,
                             tx::kThisPlace, tx::kLastPlace, tx::kPlaceChange};
    for (int which = 0; which < kFigures; ++which) {
        const int first = kFirstFigure + which * 6;
        writeSpanningHeader(sheet, first, first + 5, kHeaderRow - 1, figureNames[which]);
        for (int h = 0; h < 6; ++h) writeBoxedCell(sheet, first + h, kHeaderRow, headers[h]);
    }

    RateCells cells(sheet);
    const RateCellStyle figureStyle{.rateFormat = true};
    auto placeText = [](int place) { return place > 0 ? std::to_string(place) : std::string(); };
    int sheetRow = kFirstRow;
    for (size_t k = 0; k < classCount; ++k) {
        auto [school, klass] = state.imported.classList.parts(k);
        for (size_t j = 0; j < columns.size(); ++j) {
            writeBoxedCell(sheet, 0, sheetRow, school);
            writeBoxedCell(sheet, 1, sheetRow, classLabel(klass));
            writeBoxedCell(sheet, 2, sheetRow, columns[j]);
            for (int which = 0; which < kFigures; ++which) {
                const Figure& now = at(k, j, which, 0);
                const Figure& last = at(k, j, which, 1);
                const int nowPlace = places[static_cast<size_t>(&now - written.data())];
                const int lastPlace = places[static_cast<size_t>(&last - written.data())];
                std::string change;
                if (now.value && last.value) {
                    double d = *now.value - *last.value;
                    change = strprintf("%.1f", std::fabs(d) < 0.05 ? 0.0 : d);
                }
                const int c = kFirstFigure + which * 6;
                cells.cell(c, sheetRow, now.text, figureStyle);
                cells.cell(c + 1, sheetRow, last.text, figureStyle);
                cells.cell(c + 2, sheetRow, change, figureStyle);
                writeBoxedCell(sheet, c + 3, sheetRow, placeText(nowPlace));
                writeBoxedCell(sheet, c + 4, sheetRow, placeText(lastPlace));
                writeBoxedCell(
                    sheet, c + 5, sheetRow,
                    nowPlace > 0 && lastPlace > 0 ? std::to_string(lastPlace - nowPlace) : std::string());
            }
            ++sheetRow;
        }
    }
}

}  // namespace varnex
