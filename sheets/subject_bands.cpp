#include "sheets/subject_bands.h"

#include <algorithm>

#include "analysis/bands.h"
#include "base/text_util.h"
#include "sheets/rate_cells.h"
#include "sheets/score_bands.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

struct SubjectBlock {
    size_t subject = 0;  ///< the exam subject
    std::string name;
    int fullMark = 0;
    int firstRow = 0;  ///< the block's top row (its full-mark band)
    std::vector<ScoreBand> bands;
    std::vector<std::string> labels;

    int bandCount() const { return static_cast<int>(bands.size()); }
    /// The row of band j: the full-mark band on top, the band from 0 at the bottom.
    int rowOf(int j) const { return firstRow + bandCount() - 1 - j; }
};

// Lay out: a block of band rows per examined subject from row 4 down; fails when the blocks need
// more rows than a worksheet has.
Result<std::vector<SubjectBlock>> layOutSubjectBlocks(const Exam& exam) {
    std::vector<SubjectBlock> blocks;
    long long nextRow = 4;
    for (size_t subject = 0; subject < exam.subjects().size(); ++subject) {
        const std::string& name = exam.subjects()[subject].name;
        const int fullMark = exam.subjects()[subject].fullMark;
        long long rows = scoreBandCount(fullMark);
        if (nextRow + rows - 1 > kMaxSheetRows) {
            return fail(strprintf(tx::kTooManyRowsFormat, tx::kSubjectBands, name.c_str(), fullMark,
                                  static_cast<int>(std::min<long long>(nextRow + rows - 1, 2147483647)),
                                  kMaxSheetRows));
        }
        SubjectBlock block;
        block.subject = subject;
        block.name = name;
        block.fullMark = fullMark;
        block.firstRow = static_cast<int>(nextRow);
        block.bands = scoreBands(fullMark);
        block.labels = scoreBandLabels(fullMark);
        blocks.push_back(std::move(block));
        nextRow += rows;
    }
    return blocks;
}

// Each block's label merged down its rows, then every band's label beside it.
void writeBlockLabels(ExcelSheet& sheet, const std::vector<SubjectBlock>& blocks) {
    for (const auto& block : blocks) {
        if (block.bandCount() == 0) continue;  // a full mark below 1 leaves no rows to merge
        writeMergedBlock(sheet, 0, block.firstRow, block.firstRow + block.bandCount() - 1,
                         subjectBlockLabel(block.name, block.fullMark));
    }
    for (const auto& block : blocks) {
        for (int j = 0; j < block.bandCount(); ++j)
            writeBoxedCell(sheet, 1, block.rowOf(j), block.labels[static_cast<size_t>(j)]);
    }
}

// The shown schools' and, with two schools or more or in a part's own workbook, the grade's count
// cells of every band.
void writeCounts(ExcelSheet& sheet, const std::vector<SubjectBlock>& blocks,
                 const std::vector<BandTable>& counts, const std::vector<size_t>& shown, bool withAll) {
    const int schoolCount = static_cast<int>(shown.size());
    for (size_t k = 0; k < blocks.size(); ++k) {
        const SubjectBlock& block = blocks[k];
        for (int j = 0; j < block.bandCount(); ++j) {
            for (int i = 0; i < schoolCount; ++i) {
                const BandCount& c =
                    counts[k].ofSchool[shown[static_cast<size_t>(i)]][static_cast<size_t>(j)];
                writeBoxedCell(sheet, 2 + i, block.rowOf(j), countCellText(c.inBand, c.cumulative));
            }
        }
    }
    if (!withAll) return;
    for (size_t k = 0; k < blocks.size(); ++k) {
        for (int j = 0; j < blocks[k].bandCount(); ++j) {
            const BandCount& c = counts[k].ofAll[static_cast<size_t>(j)];
            writeBoxedCell(sheet, 2 + schoolCount, blocks[k].rowOf(j), countCellText(c.inBand, c.cumulative));
        }
    }
}

}  // namespace

std::vector<BandTable> subjectBandCounts(const Exam& exam) {
    std::vector<BandTable> counts;
    Result<std::vector<SubjectBlock>> blocks = layOutSubjectBlocks(exam);
    if (!blocks) return counts;
    for (const auto& block : *blocks) counts.push_back(scoreBandCounts(exam, block.subject, block.bands));
    return counts;
}

Status writeSubjectBands(ExcelSheet& sheet, const Exam& exam, const std::string& title) {
    if (Result<std::vector<SubjectBlock>> blocks = layOutSubjectBlocks(exam); !blocks)
        return fail(blocks.error());
    return writeScopedSubjectBands(sheet, exam, subjectBandCounts(exam), title, SheetScope());
}

Status writeScopedSubjectBands(ExcelSheet& sheet, const Exam& exam, const std::vector<BandTable>& counts,
                               const std::string& title, const SheetScope& scope) {
    Result<std::vector<SubjectBlock>> blocks = layOutSubjectBlocks(exam);
    if (!blocks) return fail(blocks.error());
    const std::vector<size_t> shown = scope.shownSchools(exam.imported().schoolList);
    std::vector<std::string> schools;
    for (size_t k : shown) schools.push_back(exam.imported().schoolList[k]);
    const int schoolCount = static_cast<int>(schools.size());
    const bool withAll = scope.showsWholeExam(exam.imported().schoolList.size());
    writeTitleRow(sheet, withAll ? 2 + schoolCount : 1 + schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kSubjectHeader, 11);
    writeBoxedCell(sheet, 1, 3, tx::kBandHeader, 15);
    writeCumulativeHeaders(sheet, 2, schools, withAll);
    writeBlockLabels(sheet, *blocks);
    writeCounts(sheet, *blocks, counts, shown, withAll);
    return {};
}

}  // namespace varnex
