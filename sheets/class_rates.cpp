// 班级各科三率: every class of the grade, one block per exam subject and one for the total, with
// the subject teacher, counts, rates, averages and the rank, block-average and deviation formulas.

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "analysis/rates.h"
#include "sheets/rate_cells.h"
#include "sheets/rate_sheets.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"

namespace varnex {

namespace tx = rate_texts;

namespace {

using namespace rate_columns;

// True when the rows hold the classes of each school consecutively, schools in SchoolList order,
// so that the school cells merged over schoolClassCount rows line up with the class rows. Only a
// class of a school that the SchoolList does not name breaks this.
bool classesFollowSchools(const std::vector<std::pair<std::string, std::string>>& entries,
                          const std::vector<std::string>& schools, const std::vector<int>& schoolClassCount) {
    size_t position = 0;
    for (size_t k = 0; k < schools.size(); ++k) {
        for (int m = 0; m < schoolClassCount[k]; ++m, ++position) {
            if (position >= entries.size() || entries[position].first != schools[k]) return false;
        }
    }
    return position == entries.size();
}

// The rows of the sheet: one block per exam subject and one for the total, each with a row per
// class. The classes of each school follow each other, schools in SchoolList order and classes in
// ClassList order within their school, so that a school whose classes were not consecutive in the
// sheet still has all of them under its one name. For a ClassList grouped by school this is the
// ClassList order itself.
struct ClassRows {
    std::vector<std::pair<std::string, std::string>> entries;  ///< school part, class part
    std::vector<size_t> classIndex;                            ///< the ClassList entry of each row
    std::vector<int> schoolClassCount;                         ///< per SchoolList entry
    bool mergeSchools = false;  ///< the school cells are merged over each school's classes
    int blocks = 0;             ///< exam subjects + the total

    int classCount() const { return static_cast<int>(entries.size()); }
    int firstRow(int block) const { return classCount() * block + kFirstDataRow; }
    int lastRow(int block) const { return firstRow(block) + classCount() - 1; }
};

// Count: the classes of the ClassList, school by school, and how many of them each school has.
ClassRows layOutClassRows(const ImportResults& imported, int blockCount) {
    ClassRows rows;
    std::unordered_map<std::string, size_t> positionOfSchool;  // first SchoolList position
    for (size_t k = 0; k < imported.schoolList.size(); ++k)
        positionOfSchool.emplace(imported.schoolList[k], k);
    std::vector<std::vector<size_t>> classesOfSchool(imported.schoolList.size());
    std::vector<size_t> unlisted;  // classes of a school the SchoolList does not name, last
    for (size_t i = 0; i < imported.classList.size(); ++i) {
        auto it = positionOfSchool.find(imported.classList.parts(i).first);
        (it == positionOfSchool.end() ? unlisted : classesOfSchool[it->second]).push_back(i);
    }
    for (const auto& classes : classesOfSchool) {
        rows.schoolClassCount.push_back(static_cast<int>(classes.size()));
        rows.classIndex.insert(rows.classIndex.end(), classes.begin(), classes.end());
    }
    rows.classIndex.insert(rows.classIndex.end(), unlisted.begin(), unlisted.end());
    for (size_t i : rows.classIndex) rows.entries.push_back(imported.classList.parts(i));
    rows.mergeSchools = classesFollowSchools(rows.entries, imported.schoolList, rows.schoolClassCount);
    rows.blocks = blockCount;
    return rows;
}

// Lay out: each block's label and its 总平均分 formula.
void writeBlockLabels(ExcelSheet& sheet, const Exam& exam, const ClassRows& rows) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    for (int s = 0; s < rows.blocks; ++s) {
        const size_t subject = static_cast<size_t>(s);
        std::string label = subject < subjects.size()
                                ? subjectBlockLabel(subjects[subject].name, subjects[subject].fullMark)
                                : subjectBlockLabel(kTotalName, exam.imported().examFullMarkTotal);
        writeMergedBlock(sheet, kLabel, rows.firstRow(s), rows.lastRow(s), label);
        writeFormulaBlock(sheet, kBlockAverage, rows.firstRow(s), rows.lastRow(s),
                          averageFormula(kAverage, rows.firstRow(s), rows.lastRow(s)));
    }
}

// Lay out: the school of each class, merged over the school's classes where they follow each other.
void writeSchoolCells(ExcelSheet& sheet, const std::vector<std::string>& schools, const ClassRows& rows) {
    for (int s = 0; s < rows.blocks; ++s) {
        if (!rows.mergeSchools) {
            for (int j = 0; j < rows.classCount(); ++j)
                writeBoxedCell(sheet, kSchool, rows.firstRow(s) + j,
                               rows.entries[static_cast<size_t>(j)].first);
            continue;
        }
        int row = rows.firstRow(s);
        for (size_t k = 0; k < schools.size(); ++k) {
            if (rows.schoolClassCount[k] == 0) continue;  // no rows of its own to merge over
            writeMergedBlock(sheet, kSchool, row, row + rows.schoolClassCount[k] - 1, schools[k]);
            row += rows.schoolClassCount[k];
        }
    }
}

// Lay out: "（<class>）班" on every class row.
void writeClassCells(ExcelSheet& sheet, const ClassRows& rows) {
    for (int s = 0; s < rows.blocks; ++s) {
        for (int j = 0; j < rows.classCount(); ++j) {
            writeBoxedCell(
                sheet, kClass, rows.firstRow(s) + j,
                strprintf(tx::kClassLabelFormat, rows.entries[static_cast<size_t>(j)].second.c_str()));
        }
    }
}

// The text of one figure cell of class j in block s.
std::string figureText(int column, const RateGroup& g, const std::string& teacher) {
    switch (column) {
        case kSat:
            return countText(g.satCount);
        case kTeacher:
            return teacher;
        case kExcellentCount:
            return countText(g.excellentCount);
        case kExcellentRate:
            return rateText(g.excellentCount, g.satCount);
        case kPassCount:
            return countText(g.passCount);
        case kPassRate:
            return rateText(g.passCount, g.satCount);
        case kAverage:
            return averageText(g.scoreSumThousandths, g.satCount);
        default:
            return std::string();  // 班主任 stays empty
    }
}

// Lay out: the figures, column by column over every block.
void writeFigureColumns(ExcelSheet& sheet, const ClassRows& rows, const std::vector<ClassRates>& rates) {
    const int figureColumns[] = {kSat,           kHeadTeacher, kTeacher,  kExcellentCount,
                                 kExcellentRate, kPassCount,   kPassRate, kAverage};
    for (int column : figureColumns) {
        const bool rateFormat = column == kExcellentRate || column == kPassRate || column == kAverage;
        for (int s = 0; s < rows.blocks; ++s) {
            const size_t subject = static_cast<size_t>(s);
            for (int j = 0; j < rows.classCount(); ++j) {
                const ClassRates& entry = rates[rows.classIndex[static_cast<size_t>(j)]];
                const std::string teacher = column == kTeacher && subject < entry.teachers.size()
                                                ? entry.teachers[subject]
                                                : std::string();
                writeBoxedCell(sheet, column, rows.firstRow(s) + j,
                               figureText(column, entry.figures[subject], teacher),
                               {.rateFormat = rateFormat});
            }
        }
    }
}

// Lay out: the rank formulas and the deviation from the block's 总平均分.
void writeRankColumns(ExcelSheet& sheet, const ClassRows& rows, const std::vector<ClassRates>& rates) {
    for (int s = 0; s < rows.blocks; ++s) {
        const int first = rows.firstRow(s), last = rows.lastRow(s);
        for (int row = first; row <= last; ++row) {
            // A class where nobody sat has no rates and no average: no ranks (an empty cell would
            // rank as 0, and could show as first) and no deviation either.
            const size_t entry = rows.classIndex[static_cast<size_t>(row - first)];
            const bool sat = rates[entry].figures[static_cast<size_t>(s)].satCount > 0;
            auto unlessEmpty = [sat](std::string formula) { return sat ? formula : std::string(); };
            writeBoxedCell(sheet, kExcellentRank, row,
                           unlessEmpty(rankFormula(kExcellentRate, row, first, last)), {.formula = true});
            writeBoxedCell(sheet, kPassRank, row, unlessEmpty(rankFormula(kPassRate, row, first, last)),
                           {.formula = true});
            writeBoxedCell(sheet, kAverageRank, row, unlessEmpty(rankFormula(kAverage, row, first, last)),
                           {.formula = true});
            writeBoxedCell(sheet, kDeviation, row,
                           unlessEmpty(deviationFormula(kAverage, row, kBlockAverage, first)),
                           {.rateFormat = true, .formula = true});
        }
    }
}

// Lay out: the columns of 四率 and 扩展指标 after P, when chosen.
void writeAddedColumns(ExcelSheet& sheet, const Exam& exam, const ClassRows& rows,
                       const std::vector<ClassRates>& rates) {
    const std::vector<AddedColumn> columns = addedRateColumns(exam.options(), true);
    if (columns.empty()) return;
    writeAddedHeaders(sheet, columns);
    const ClassReference reference = exam.options().moreFigures ? classReference(exam) : ClassReference{};
    std::unordered_map<std::string, size_t> schoolPosition;  // first SchoolList position
    for (size_t k = 0; k < exam.imported().schoolList.size(); ++k)
        schoolPosition.emplace(exam.imported().schoolList[k], k);
    for (int s = 0; s < rows.blocks; ++s) {
        const size_t subject = static_cast<size_t>(s);
        for (int j = 0; j < rows.classCount(); ++j) {
            const size_t entry = rows.classIndex[static_cast<size_t>(j)];
            AddedRow row{&rates[entry].figures[subject], nullptr,          nullptr,
                         rows.firstRow(s) + j,           rows.firstRow(s), rows.lastRow(s)};
            if (!reference.exam.empty()) {
                row.exam = &reference.exam[subject];
                auto school = schoolPosition.find(rows.entries[static_cast<size_t>(j)].first);
                if (school != schoolPosition.end()) row.school = &reference.schools[school->second][subject];
            }
            writeAddedFigures(sheet, columns, row);
        }
    }
}

}  // namespace

ClassRatesPlaces writeClassRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    writeSixteenColumnHead(sheet, title, tx::kClassHeaders);
    const ClassRows rows = layOutClassRows(exam.imported(), static_cast<int>(exam.subjects().size()) + 1);
    ClassRatesPlaces places{{}, rows.classIndex, kAverage, kBlockAverage};
    if (rows.classCount() == 0) return places;
    for (int s = 0; s < rows.blocks; ++s) places.blocks.push_back({rows.firstRow(s), rows.lastRow(s)});
    const std::vector<ClassRates> rates = classRates(exam);
    writeBlockLabels(sheet, exam, rows);
    writeSchoolCells(sheet, exam.imported().schoolList, rows);
    writeClassCells(sheet, rows);
    writeFigureColumns(sheet, rows, rates);
    writeRankColumns(sheet, rows, rates);
    writeAddedColumns(sheet, exam, rows, rates);
    return places;
}

}  // namespace varnex
