#include "sheets/level_distribution.h"

#include <vector>

#include "base/text_util.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 3;
constexpr int kFirstDataRow = 4;
constexpr int kFirstLevelColumn = 4;  // E

// One row of a block: what its 学校 and 班级 cells say and the group it counts.
struct GroupRow {
    enum Kind { Class, School, WholeExam };
    std::string school;
    std::string klass;
    const std::vector<LevelCounts>* counts;
    Kind kind = Class;
};

// The classes of each school of the SchoolList in ClassList order, each school followed by its
// own row when there are two schools or more; the classes of a school the list does not name;
// then the whole exam. Of a part of the exam only its classes and its school, always with the
// school's row.
std::vector<GroupRow> groupRows(const Exam& exam, const LevelDistribution& levels, const SheetScope& scope) {
    const ImportResults& imported = exam.imported();
    const bool schoolRows = imported.schoolList.size() >= 2 || !scope.wholeExam();
    std::vector<GroupRow> rows;
    std::vector<bool> placed(imported.classList.size(), false);
    for (size_t k : scope.shownSchools(imported.schoolList)) {
        for (size_t j = 0; j < imported.classList.size(); ++j) {
            auto [school, klass] = imported.classList.parts(j);
            if (placed[j] || school != imported.schoolList[k] || !scope.showsClass(school, klass)) continue;
            placed[j] = true;
            rows.push_back(
                {school, strprintf(rate_texts::kClassLabelFormat, klass.c_str()), &levels.classes[j]});
        }
        if (schoolRows)
            rows.push_back({imported.schoolList[k], tx::kWholeSchool, &levels.schools[k], GroupRow::School});
    }
    for (size_t j = 0; j < imported.classList.size(); ++j) {
        auto [school, klass] = imported.classList.parts(j);
        if (placed[j] || !scope.showsClass(school, klass)) continue;
        rows.push_back({school, strprintf(rate_texts::kClassLabelFormat, klass.c_str()), &levels.classes[j]});
    }
    rows.push_back({tx::kWholeExam, std::string(), &levels.exam, GroupRow::WholeExam});
    return rows;
}

}  // namespace

std::string levelCutsNote(const LevelCuts& cuts) {
    const bool byScore = cuts.method == LevelMethod::Score;
    std::string note = byScore ? tx::kLevelsByScoreNote : tx::kLevelsByShareNote;
    int cumulative = 0;
    for (int k = 0; k < cuts.levelCount(); ++k) {
        if (k > 0) note += tx::kLevelSeparator;
        const char* name = cuts.names[static_cast<size_t>(k)].c_str();
        if (k == cuts.levelCount() - 1) {
            note += strprintf(tx::kLevelRestFormat, name);
        } else if (byScore) {
            note += strprintf(tx::kLevelAtLeastFormat, name,
                              levelLineText(cuts.lines[static_cast<size_t>(k)]).c_str());
        } else {
            cumulative += cuts.lines[static_cast<size_t>(k)];
            note += strprintf(tx::kLevelTopFormat, name, levelLineText(cumulative).c_str());
        }
    }
    return note + (byScore ? tx::kLevelsByScoreTail : tx::kLevelsByShareTail);
}

Result<LevelDistributionPlaces> writeLevelDistribution(ExcelSheet& sheet, const Exam& exam,
                                                       const LevelDistribution& levels,
                                                       const std::string& title, const SheetScope& scope) {
    const std::vector<GroupRow> rows = groupRows(exam, levels, scope);
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const int blocks = static_cast<int>(subjects.size()) + 1;
    const long long needed = static_cast<long long>(rows.size()) * blocks + kHeaderRow;
    if (needed > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, tx::kLevelDistribution, static_cast<int>(needed),
                              kMaxSheetRows));

    const int levelCount = levels.cuts.levelCount();
    const int lastColumn = kFirstLevelColumn + 2 * levelCount - 1;
    writeTitleRow(sheet, lastColumn, title);
    writeNoteRow(sheet, lastColumn, 2, levelCutsNote(levels.cuts));
    for (int c = 0; c < kFirstLevelColumn; ++c)
        writeBoxedCell(sheet, c, kHeaderRow, tx::kLevelHeaders[static_cast<size_t>(c)]);
    for (int k = 0; k < levelCount; ++k) {
        const char* name = levels.cuts.names[static_cast<size_t>(k)].c_str();
        writeBoxedCell(sheet, kFirstLevelColumn + 2 * k, kHeaderRow, strprintf(tx::kLevelCountFormat, name));
        writeBoxedCell(sheet, kFirstLevelColumn + 2 * k + 1, kHeaderRow,
                       strprintf(tx::kLevelShareFormat, name));
    }
    LevelDistributionPlaces places;
    places.bySchool = exam.imported().schoolList.size() >= 2;
    places.levelNames = levels.cuts.names;
    for (int k = 0; k < levelCount; ++k) places.shareColumns.push_back(kFirstLevelColumn + 2 * k + 1);
    int row = kFirstDataRow;
    for (int b = 0; b < blocks; ++b) {
        const size_t column = static_cast<size_t>(b);
        const std::string label = column < subjects.size()
                                      ? subjectBlockLabel(subjects[column].name, subjects[column].fullMark)
                                      : subjectBlockLabel(kTotalName, exam.imported().examFullMarkTotal);
        writeMergedBlock(sheet, 0, row, row + static_cast<int>(rows.size()) - 1, label);
        for (const GroupRow& group : rows) {
            if (b == blocks - 1 && (group.kind == (places.bySchool ? GroupRow::School : GroupRow::Class) ||
                                    group.kind == GroupRow::WholeExam)) {
                places.rows.push_back(row);
                places.labels.push_back(group.kind == GroupRow::Class ? group.klass : group.school);
            }
            const LevelCounts& counts = (*group.counts)[column];
            writeBoxedCell(sheet, 1, row, group.school);
            writeBoxedCell(sheet, 2, row, group.klass);
            writeBoxedNumber(sheet, 3, row, counts.counted);
            for (int k = 0; k < levelCount; ++k) {
                const int count = counts.counts[static_cast<size_t>(k)];
                writeBoxedNumber(sheet, kFirstLevelColumn + 2 * k, row, count);
                writeBoxedCell(sheet, kFirstLevelColumn + 2 * k + 1, row, rateText(count, counts.counted),
                               {.rateFormat = true});
            }
            ++row;
        }
    }
    return places;
}

}  // namespace varnex
