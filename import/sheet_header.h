#pragma once
// Finding the header of a score or teacher sheet as schools and marking platforms lay it out:
// below a title row, over one row or two (subjects merged over 原始分 / 赋分 / 班级排名 / 年级排名
// sub-columns), with blanks, line breaks, full-width letters and other names for columns and
// subjects in its texts. Both imports read their sheets through it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/subjects.h"
#include "base/result.h"
#include "readers/workbook_reader.h"

namespace varnex {

/// What an import looks for in a sheet's header.
struct HeaderRequest {
    /// Varnex's key columns in the order the import reads them (学校, 班级, 姓名).
    std::vector<std::string> keys;
    /// The key columns that, with at least one subject, make a row the header (班级, 姓名).
    std::vector<std::string> findingKeys;
    /// False when the finding keys alone make a row the header (a list with a 学科 column).
    bool needsSubject = true;
    /// When no row holds every finding key: the keys that, with a subject, make a row the header
    /// all the same (姓名 for a score sheet of one class, without 班级 column); none when empty.
    std::vector<std::string> fallbackFindingKeys;
};

/// The header of a sheet as found: where it is and which sheet column answers for each column
/// and subject the import reads.
struct SheetHeader {
    /// Sheet rows (1-based) of the header: one row, or two when subjects have sub-columns. Both 0
    /// for a sheet without any row.
    uint32_t firstRow = 0;
    uint32_t lastRow = 0;
    /// False when no row of the first ones holds the finding keys and a subject: the first row is
    /// then taken as the header, as it stands.
    bool found = false;
    /// Per requested key, its 0-based sheet column when the header has it.
    std::vector<std::optional<uint32_t>> keys;
    /// Per subject, the sheet column its scores are read from when the header has it.
    std::array<std::optional<uint32_t>, kSubjectCount> subjects{};
    /// Per subject, the sheet column of its scaled scores (化学赋分, 化赋, a 赋分 sub-column) when
    /// the header has one.
    std::array<std::optional<uint32_t>, kSubjectCount> scaled{};
    /// The sheet's own 总分 column, and the column of its total of scaled scores (a 赋分 sub-column
    /// under 总分, or 赋分总分), when it has them.
    std::optional<uint32_t> total, scaledTotal;
    /// Header texts (normalised) read through another name, with that name ("道德与法治", "政治").
    std::vector<std::pair<std::string, std::string>> aliases;
    /// Header texts (normalised) of columns that are neither read nor known as columns without
    /// scores ("日语"), each once.
    std::vector<std::string> notAnalysed;
    /// Of those, the ones that may hold an extra subject's scores (isExtraSubjectColumn), each
    /// with the sheet column read for it (under sub-columns, as for a subject).
    std::vector<std::pair<std::string, uint32_t>> extraColumns;
    /// True when the header is the first row of the sheet's used range, one row high.
    bool plain = false;
};

/// Finds the header among `rows`, the first rows of the sheet `sheetName` that hold a value: the
/// first row that holds every finding key and at least one subject (texts normalised, other
/// names mapped), with the row below it when that row holds the subjects' sub-columns. A subject
/// over sub-columns is read from its 原始分 column, else its 得分, 成绩 or 分数 column, else its
/// first column that is no rank or scaled score. Fails, naming both columns, when two columns of
/// different texts stand for the same key or subject; of two columns with the same (normalised)
/// text the first answers.
Result<SheetHeader> findHeader(const std::vector<SheetRow>& rows, const HeaderRequest& request,
                               const std::string& sheetName);

}  // namespace varnex
