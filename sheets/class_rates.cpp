// 班级各科三率: every class of the grade, one block per exam subject and one for the total, with
// the subject teacher, counts, rates, averages and the rank, block-average and deviation formulas.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
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

// Lay out: each block's label and, with every class on the sheet, its 总平均分 formula.
void writeBlockLabels(ExcelSheet& sheet, const Exam& exam, const ClassRows& rows, bool averageFormulas) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    for (int s = 0; s < rows.blocks; ++s) {
        const size_t subject = static_cast<size_t>(s);
        std::string label = subject < subjects.size()
                                ? subjectBlockLabel(subjects[subject].name, subjects[subject].fullMark)
                                : subjectBlockLabel(kTotalName, exam.imported().examFullMarkTotal);
        writeMergedBlock(sheet, kLabel, rows.firstRow(s), rows.lastRow(s), label);
        if (averageFormulas)
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

// The number a figure cell holds (none for an empty one), as the sheet's formulas read it.
std::optional<double> cellNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? std::optional<double>(value) : std::nullopt;
}

// The rows of the scope's classes only, each school's still together.
ClassRows shownRows(const ClassRows& all, const std::vector<std::string>& schools, const SheetScope& scope) {
    ClassRows rows;
    rows.blocks = all.blocks;
    rows.schoolClassCount.assign(schools.size(), 0);
    for (size_t j = 0; j < all.entries.size(); ++j) {
        if (!scope.showsClass(all.entries[j].first, all.entries[j].second)) continue;
        rows.entries.push_back(all.entries[j]);
        rows.classIndex.push_back(all.classIndex[j]);
    }
    for (size_t k = 0; k < schools.size(); ++k) {
        if (!rows.entries.empty() && schools[k] == rows.entries.front().first) {
            rows.schoolClassCount[k] = rows.classCount();
            break;
        }
    }
    rows.mergeSchools = classesFollowSchools(rows.entries, schools, rows.schoolClassCount);
    return rows;
}

// Lay out, without every class on the sheet: what the formulas of the whole sheet work out over
// all the grade's classes, as numbers: the ranks, each block's 总平均分 and the deviations.
void writeRankNumbers(ExcelSheet& sheet, const ClassRows& rows, const ClassRateRanks& ranks,
                      const std::vector<ClassRates>& rates) {
    for (int s = 0; s < rows.blocks; ++s) {
        const std::array<RankedFigures, 3>& block = ranks.blocks[static_cast<size_t>(s)];
        const std::optional<double> blockAverage = block[2].mean;
        writeNumberBlock(sheet, kBlockAverage, rows.firstRow(s), rows.lastRow(s), blockAverage);
        for (int j = 0; j < rows.classCount(); ++j) {
            const int row = rows.firstRow(s) + j;
            const size_t entry = rows.classIndex[static_cast<size_t>(j)];
            const size_t at = ranks.rowOfEntry[entry];
            const bool sat = rates[entry].figures[static_cast<size_t>(s)].satCount > 0;
            auto place = [sat, at](const RankedFigures& figures) {
                return sat ? std::optional<long long>(figures.places[at]) : std::nullopt;
            };
            writeBoxedNumber(sheet, kExcellentRank, row, place(block[0]));
            writeBoxedNumber(sheet, kPassRank, row, place(block[1]));
            writeBoxedNumber(sheet, kAverageRank, row, place(block[2]));
            std::optional<double> deviation;
            if (sat && block[2].values[at] && blockAverage) deviation = *block[2].values[at] - *blockAverage;
            writeBoxedRate(sheet, kDeviation, row, deviation);
        }
    }
}

// Lay out: the columns of 四率 and 扩展指标 after P, when chosen; 超均率 against `reference`.
// Without every class on the sheet (`ranks` given), the ranks among all the grade's classes as
// numbers.
void writeAddedColumns(ExcelSheet& sheet, const Exam& exam, const ClassRows& rows,
                       const std::vector<ClassRates>& rates, const ClassReference* reference,
                       const ClassRateRanks* ranks) {
    const std::vector<AddedColumn> columns = addedRateColumns(exam.options(), true);
    if (columns.empty()) return;
    writeAddedHeaders(sheet, columns);
    std::unordered_map<std::string, size_t> schoolPosition;  // first SchoolList position
    for (size_t k = 0; k < exam.imported().schoolList.size(); ++k)
        schoolPosition.emplace(exam.imported().schoolList[k], k);
    for (int s = 0; s < rows.blocks; ++s) {
        const size_t subject = static_cast<size_t>(s);
        for (int j = 0; j < rows.classCount(); ++j) {
            const size_t entry = rows.classIndex[static_cast<size_t>(j)];
            AddedRow row{&rates[entry].figures[subject], nullptr,          nullptr,
                         rows.firstRow(s) + j,           rows.firstRow(s), rows.lastRow(s)};
            if (reference != nullptr && subject < reference->exam.size()) {
                row.exam = &reference->exam[subject];
                auto school = schoolPosition.find(rows.entries[static_cast<size_t>(j)].first);
                if (school != schoolPosition.end()) row.school = &reference->schools[school->second][subject];
            }
            AddedNumbers numbers;
            if (ranks != nullptr && subject < ranks->added.size()) {
                const size_t at = ranks->rowOfEntry[entry];
                numbers.goodPlace = ranks->added[subject][0].places[at];
                numbers.lowPlace = ranks->added[subject][1].places[at];
                row.numbers = &numbers;
            }
            writeAddedFigures(sheet, columns, row);
        }
    }
}

}  // namespace

ClassRatesPlaces writeClassRates(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    return writeScopedClassRates(sheet, exam, classRates(exam), title, SheetScope());
}

ClassRateRanks classRateRanks(const Exam& exam, const std::vector<ClassRates>& rates) {
    const ClassRows all = layOutClassRows(exam.imported(), static_cast<int>(exam.subjects().size()) + 1);
    ClassRateRanks ranks;
    ranks.rowOfEntry.assign(rates.size(), 0);
    for (size_t j = 0; j < all.classIndex.size(); ++j) ranks.rowOfEntry[all.classIndex[j]] = j;
    for (int s = 0; s < all.blocks; ++s) {
        std::vector<std::optional<double>> excellent, pass, average, good, low;
        for (size_t entry : all.classIndex) {
            const RateGroup& g = rates[entry].figures[static_cast<size_t>(s)];
            excellent.push_back(cellNumber(rateText(g.excellentCount, g.satCount)));
            pass.push_back(cellNumber(rateText(g.passCount, g.satCount)));
            average.push_back(cellNumber(averageText(g.scoreSumThousandths, g.satCount)));
            good.push_back(cellNumber(rateText(g.goodCount, g.satCount)));
            low.push_back(cellNumber(rateText(g.lowCount, g.satCount)));
        }
        ranks.blocks.push_back({rankedFigures(std::move(excellent)), rankedFigures(std::move(pass)),
                                rankedFigures(std::move(average))});
        if (exam.options().fourRates)
            ranks.added.push_back({rankedFigures(std::move(good)), rankedFigures(std::move(low), true)});
    }
    return ranks;
}

ClassRatesPlaces writeScopedClassRates(ExcelSheet& sheet, const Exam& exam,
                                       const std::vector<ClassRates>& rates, const std::string& title,
                                       const SheetScope& scope, const ClassRateRanks* ranks,
                                       const ClassReference* reference) {
    writeSixteenColumnHead(sheet, title, tx::kClassHeaders);
    const ClassRows all = layOutClassRows(exam.imported(), static_cast<int>(exam.subjects().size()) + 1);
    const ClassRows rows = scope.wholeExam() ? all : shownRows(all, exam.imported().schoolList, scope);
    ClassRatesPlaces places{{}, rows.classIndex, kAverage, kBlockAverage};
    if (rows.classCount() == 0) return places;
    for (int s = 0; s < rows.blocks; ++s) places.blocks.push_back({rows.firstRow(s), rows.lastRow(s)});
    writeBlockLabels(sheet, exam, rows, scope.wholeExam());
    writeSchoolCells(sheet, exam.imported().schoolList, rows);
    writeClassCells(sheet, rows);
    writeFigureColumns(sheet, rows, rates);
    std::optional<ClassRateRanks> computedRanks;
    if (!scope.wholeExam() && ranks == nullptr) ranks = &computedRanks.emplace(classRateRanks(exam, rates));
    std::optional<ClassReference> computedReference;
    if (reference == nullptr && exam.options().moreFigures)
        reference = &computedReference.emplace(classReference(exam));
    if (scope.wholeExam())
        writeRankColumns(sheet, rows, rates);
    else
        writeRankNumbers(sheet, rows, *ranks, rates);
    writeAddedColumns(sheet, exam, rows, rates, reference, scope.wholeExam() ? nullptr : ranks);
    return places;
}

}  // namespace varnex
