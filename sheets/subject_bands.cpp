#include "sheets/subject_bands.h"

#include <algorithm>

#include "analysis/band_counts.h"
#include "base/text_util.h"
#include "sheets/rate_cells.h"
#include "sheets/score_bands.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

struct SubjectBlock {
    std::string name;
    int fullMark = 0;
    int firstRow = 0;  ///< the block's top row (its full-mark band)
    std::vector<ScoreBand> bands;

    int bandCount() const { return static_cast<int>(bands.size()); }
    /// The row of band j: the full-mark band on top, the band from 0 at the bottom.
    int rowOf(int j) const { return firstRow + bandCount() - 1 - j; }
};

// Lay out: a block of band rows per examined subject from row 4 down; fails when the blocks need
// more rows than a worksheet has.
Result<std::vector<SubjectBlock>> layOutSubjectBlocks(const AppState& state) {
    std::vector<SubjectBlock> blocks;
    long long nextRow = 4;
    for (const auto& name : examSubjectNames(state)) {
        int fullMark = state.scores.fullMarkOf(name);
        long long rows = scoreBandCount(fullMark);
        if (nextRow + rows - 1 > kMaxSheetRows) {
            return fail(strprintf(tx::kTooManyRowsFormat, tx::kSubjectBands, name.c_str(), fullMark,
                                  static_cast<int>(std::min<long long>(nextRow + rows - 1, 2147483647)),
                                  kMaxSheetRows));
        }
        SubjectBlock block;
        block.name = name;
        block.fullMark = fullMark;
        block.firstRow = static_cast<int>(nextRow);
        block.bands = scoreBands(fullMark);
        blocks.push_back(std::move(block));
        nextRow += rows;
    }
    return blocks;
}

// Each block's label merged down its rows, then every band's label beside it.
void writeBlockLabels(ExcelSheet& sheet, const std::vector<SubjectBlock>& blocks) {
    for (const auto& block : blocks) {
        if (block.bandCount() == 0) continue;  // a full mark below 1 leaves no rows to merge
        ExcelRange range =
            sheet.Range(CellName(0, block.firstRow), CellName(0, block.firstRow + block.bandCount() - 1));
        range.BorderAround();
        range.SetHorizontalAlignment(kAlignCenter);
        range.SetVerticalAlignment(kAlignVerticalCenter);
        range.Merge(0);
        range.SetData(subjectBlockLabel(block.name, block.fullMark));
    }
    for (const auto& block : blocks) {
        for (int j = 0; j < block.bandCount(); ++j)
            writeBoxedCell(sheet, 1, block.rowOf(j), block.bands[static_cast<size_t>(j)].label);
    }
}

// Count: every school's and, with two schools or more, the grade's count cells of every band.
void writeCounts(ExcelSheet& sheet, const AppState& state, const std::vector<SubjectBlock>& blocks) {
    const std::vector<std::string>& schools = state.imported.schoolList;
    const int schoolCount = static_cast<int>(schools.size());
    SchoolGroups groups(state.students, schools);
    std::vector<BandCounter> counts;
    counts.reserve(blocks.size());
    for (const auto& block : blocks) {
        counts.emplace_back(bandEdges(block.bands), groups,
                            columnValues(state.students, columnOfSubject(block.name),
                                         state.exportOptions.blankScoresExcluded));
        for (int j = 0; j < block.bandCount(); ++j) {
            const ScoreBand& b = block.bands[static_cast<size_t>(j)];
            for (int i = 0; i < schoolCount; ++i) {
                int group = groups.groupOfSchool(static_cast<size_t>(i));
                writeBoxedCell(sheet, 2 + i, block.rowOf(j),
                               countCellText(counts.back().countInRange(group, b.low, b.high),
                                             counts.back().countAtLeast(group, b.low)));
            }
        }
    }
    if (schoolCount < 2) return;
    for (size_t k = 0; k < blocks.size(); ++k) {
        for (int j = 0; j < blocks[k].bandCount(); ++j) {
            const ScoreBand& b = blocks[k].bands[static_cast<size_t>(j)];
            writeBoxedCell(sheet, 2 + schoolCount, blocks[k].rowOf(j),
                           countCellText(counts[k].countInRange(BandCounter::kAllRows, b.low, b.high),
                                         counts[k].countAtLeast(BandCounter::kAllRows, b.low)));
        }
    }
}

}  // namespace

Status writeSubjectBands(ExcelSheet& sheet, const AppState& state, const std::string& title) {
    Result<std::vector<SubjectBlock>> blocks = layOutSubjectBlocks(state);
    if (!blocks) return fail(blocks.error());
    const int schoolCount = static_cast<int>(state.imported.schoolList.size());
    writeTitleRow(sheet, schoolCount >= 2 ? 2 + schoolCount : 1 + schoolCount, title);
    writeBoxedCell(sheet, 0, 3, tx::kSubjectHeader, 11);
    writeBoxedCell(sheet, 1, 3, tx::kBandHeader, 15);
    writeCumulativeHeaders(sheet, 2, state.imported.schoolList);
    writeBlockLabels(sheet, *blocks);
    writeCounts(sheet, state, *blocks);
    return {};
}

}  // namespace varnex
