#include "sheets/question_sheets.h"

#include <algorithm>
#include <vector>

#include "base/rounding.h"
#include "base/text_util.h"
#include "sheets/rate_texts.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

constexpr int kHeaderRow = 5;
constexpr int kFirstDataRow = 6;
constexpr int kLastColumn = static_cast<int>(tx::kQuestionHeaders.size()) - 1;  // M
enum Column : int {
    kSchool,
    kClass,
    kCount,
    kQuestion,
    kFullMark,
    kAverage,
    kRate,
    kFullRate,
    kZeroRate,
    kDifficulty,
    kDiscrimination,
    kQuality,
    kGap
};
constexpr const char* kTwoDecimals = "0.00";

std::string markText(double mark) {
    return strprintf("%.6g", mark);
}

void writeTwoDecimals(ExcelSheet& sheet, int column, int row, double value) {
    writeBoxedCell(sheet, column, row, roundedText(value, 2));
    sheet.Range(CellName(column, row), CellName(column, row)).SetNumberFormat(kTwoDecimals);
}

// One block of rows: a group's figures, one row per question.
struct Block {
    std::string school;
    std::string klass;
    const QuestionGroup* group;
    bool isClass = false;
};

// The whole exam, each school when there are two or more, each class with paired students. Of a
// part of the exam: the whole exam, its school and its classes.
std::vector<Block> blocksOf(const Exam& exam, const QuestionAnalysis& a, const SheetScope& scope) {
    const ImportResults& imported = exam.imported();
    std::vector<Block> blocks{{tx::kWholeExam, std::string(), &a.exam}};
    if (imported.schoolList.size() >= 2 || !scope.wholeExam()) {
        for (size_t k : scope.shownSchools(imported.schoolList))
            blocks.push_back({imported.schoolList[k], tx::kWholeSchool, &a.schools[k]});
    }
    for (size_t j : scope.shownClasses(imported.classList)) {
        if (a.classes[j].students == 0) continue;
        auto [school, klass] = imported.classList.parts(j);
        blocks.push_back(
            {school, strprintf(rate_texts::kClassLabelFormat, klass.c_str()), &a.classes[j], true});
    }
    return blocks;
}

std::string noteOf(const QuestionAnalysis& a) {
    const std::string alpha =
        a.alpha ? strprintf(tx::kQuestionAlphaFormat, roundedText(*a.alpha, 2).c_str(), a.alphaStudents)
                : std::string(tx::kQuestionNoAlpha);
    std::string subtotals;
    for (const std::string& s : a.sheet->subtotals) subtotals += (subtotals.empty() ? "" : "、") + s;
    return strprintf(tx::kQuestionNoteFormat, a.matched, alpha.c_str(),
                     subtotals.empty() ? tx::kQuestionNoSubtotals : subtotals.c_str());
}

void writeQuestionRow(ExcelSheet& sheet, int row, const QuestionScores& q, size_t k, const Block& block,
                      const QuestionGroup& exam) {
    const QuestionFigures& f = block.group->questions[k];
    writeBoxedCell(sheet, kQuestion, row, q.questions[k]);
    writeBoxedCell(sheet, kFullMark, row, markText(q.fullMarks[k]));
    const bool figures = f.counted > 0;
    if (figures) {
        writeTwoDecimals(sheet, kAverage, row, f.average);
    } else {
        writeBoxedCell(sheet, kAverage, row, "");
    }
    auto percent = [&](int column, double share) {
        writeBoxedCell(sheet, column, row, figures ? roundedText(share * 100, 1) : std::string(),
                       {.rateFormat = true});
    };
    percent(kRate, f.rate);
    percent(kFullRate, f.fullRate);
    percent(kZeroRate, f.zeroRate);
    if (figures && !block.isClass) {
        writeTwoDecimals(sheet, kDifficulty, row, f.rate);
    } else {
        writeBoxedCell(sheet, kDifficulty, row, "");
    }
    const std::optional<double> d = block.isClass ? std::nullopt : block.group->discrimination[k];
    if (d) {
        writeTwoDecimals(sheet, kDiscrimination, row, *d);
        writeBoxedCell(sheet, kQuality, row, discriminationWord(*d));
    } else {
        writeBoxedCell(sheet, kDiscrimination, row, "");
        writeBoxedCell(sheet, kQuality, row, "");
    }
    const QuestionFigures& whole = exam.questions[k];
    const bool gap = block.isClass && figures && whole.counted > 0;
    writeBoxedCell(sheet, kGap, row,
                   gap ? roundedText(roundHalfAway(f.rate * 100, 1) - roundHalfAway(whole.rate * 100, 1), 1)
                       : std::string(),
                   {.rateFormat = true});
}

}  // namespace

Status writeQuestionAnalysis(ExcelSheet& sheet, const Exam& exam, const QuestionAnalysis& a,
                             const std::string& title, const SheetScope& scope) {
    const QuestionScores& q = *a.sheet;
    const std::vector<Block> blocks = blocksOf(exam, a, scope);
    const int questions = static_cast<int>(q.questions.size());
    const long long needed = static_cast<long long>(blocks.size()) * questions + kHeaderRow;
    if (needed > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, sheet.GetName().c_str(), static_cast<int>(needed),
                              kMaxSheetRows));

    writeTitleRow(sheet, kLastColumn, title);
    writeNoteRow(sheet, kLastColumn, 2, noteOf(a));
    writeNoteRow(sheet, kLastColumn, 3, tx::kQuestionRuleNote);
    writeNoteRow(sheet, kLastColumn, 4, tx::kQuestionQualityNote);
    for (int c = 0; c <= kLastColumn; ++c)
        writeBoxedCell(sheet, c, kHeaderRow, tx::kQuestionHeaders[static_cast<size_t>(c)]);

    ChartModel chart;
    chart.title = strprintf(tx::kQuestionChartTitleFormat, q.source.subject.c_str());
    chart.categoryAxisTitle = tx::kQuestionChartCategories;
    chart.valueAxisTitle = tx::kQuestionChartValues;
    chart.valueMin = 0;
    chart.valueMax = 100;
    chart.anchor = {kHeaderRow - 1, kLastColumn + 2};
    chart.widthPixels = std::max(480, 40 * questions + 160);
    chart.heightPixels = 320;
    const std::string sheetName = sheet.GetName();
    int row = kFirstDataRow;
    int firstClassRow = 0;
    for (const Block& block : blocks) {
        const int last = row + questions - 1;
        if (block.isClass && firstClassRow == 0) firstClassRow = row;
        writeMergedBlock(sheet, kSchool, row, last, block.school);
        writeMergedBlock(sheet, kClass, row, last, block.klass);
        writeMergedBlock(sheet, kCount, row, last, std::to_string(block.group->students));
        for (int k = 0; k < questions; ++k)
            writeQuestionRow(sheet, row + k, q, static_cast<size_t>(k), block, a.exam);
        if (block.group == &a.exam || block.isClass) {
            const SheetRange values{sheetName, {{row - 1, kRate}, {last - 1, kRate}}};
            const SheetRange labels{
                sheetName, {{kFirstDataRow - 1, kQuestion}, {kFirstDataRow - 2 + questions, kQuestion}}};
            chart.series.push_back(
                {block.isClass ? block.school + block.klass : block.school, values, labels});
        }
        row = last + 1;
    }
    if (firstClassRow > 0)
        sheet.AddConditionalFill({{firstClassRow - 1, kGap}, {row - 2, kGap}}, kQuestionRateGapMarked,
                                 0xFFC7CE);
    if (questions > 0) sheet.AddChart(std::move(chart));
    return {};
}

Status writeQuestionDetail(ExcelSheet& sheet, const Exam& exam, const QuestionAnalysis& a,
                           const std::string& title, const SheetScope& scope) {
    const QuestionScores& q = *a.sheet;
    const int questions = static_cast<int>(q.questions.size());
    const int names = static_cast<int>(tx::kQuestionDetailNames.size());
    const int lastColumn = names + 2 * (questions + 1) - 1;
    std::vector<int> shown;
    for (int s = 0; s < exam.studentCount(); ++s) {
        if (a.rowOf[static_cast<size_t>(s)] >= 0 && scope.showsStudent(exam, s)) shown.push_back(s);
    }
    const long long needed = static_cast<long long>(shown.size()) + 4;
    if (needed > kMaxSheetRows)
        return fail(strprintf(tx::kSheetTooLongFormat, sheet.GetName().c_str(), static_cast<int>(needed),
                              kMaxSheetRows));
    writeTitleRow(sheet, lastColumn, title);
    for (int c = 0; c < names; ++c)
        writeMergedBlock(sheet, c, 3, 4, tx::kQuestionDetailNames[static_cast<size_t>(c)]);
    for (int k = 0; k <= questions; ++k) {
        const int column = names + 2 * k;
        const std::string label = k < questions ? q.questions[static_cast<size_t>(k)] + "（" +
                                                      markText(q.fullMarks[static_cast<size_t>(k)]) + "）"
                                                : std::string(tx::kQuestionTotal);
        writeSpanningHeader(sheet, column, column + 1, 3, label);
        writeBoxedCell(sheet, column, 4, tx::kQuestionScore);
        writeBoxedCell(sheet, column + 1, 4, tx::kQuestionLoss);
    }
    const RowTable& students = exam.students();
    int row = 5;
    for (const int s : shown) {
        const int at = a.rowOf[static_cast<size_t>(s)];
        writeBoxedCell(sheet, 0, row, students.cellText(s, 0));
        writeBoxedCell(
            sheet, 1, row,
            strprintf(rate_texts::kClassLabelFormat, std::string(students.cellText(s, 1)).c_str()));
        writeBoxedCell(sheet, 2, row, students.cellText(s, 2));
        long long scored = 0, possible = 0;  // in thousandths
        bool any = false;
        for (int k = 0; k < questions; ++k) {
            const int column = names + 2 * k;
            const std::optional<double> v = q.counted(at, static_cast<size_t>(k), exam.blankScoresExcluded());
            const double full = q.fullMarks[static_cast<size_t>(k)];
            if (v) {
                any = true;
                scored += toThousandths(*v);
                possible += toThousandths(full);
            }
            writeBoxedCell(sheet, column, row, v ? markText(*v) : std::string());
            writeBoxedCell(
                sheet, column + 1, row,
                v ? markText(fromThousandths(toThousandths(full) - toThousandths(*v))) : std::string());
        }
        const int column = names + 2 * questions;
        writeBoxedCell(sheet, column, row, any ? markText(fromThousandths(scored)) : std::string());
        writeBoxedCell(sheet, column + 1, row,
                       any ? markText(fromThousandths(possible - scored)) : std::string());
        ++row;
    }
    return {};
}

}  // namespace varnex
