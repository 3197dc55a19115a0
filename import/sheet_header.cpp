#include "import/sheet_header.h"

#include <algorithm>
#include <map>

#include "base/text_util.h"
#include "import/header_names.h"
#include "import/import_texts.h"
#include "readers/cell_text.h"

namespace varnex {

namespace tx = import_texts;

namespace {

// The header of a sheet's total of scaled scores.
constexpr std::string_view kScaledTotal = "赋分总分";

// A header cell that holds a text.
struct NamedCell {
    uint32_t column;
    std::string normalised;  ///< see normaliseHeaderText; also how messages name the column
    HeaderName name;
};

std::vector<NamedCell> namedCells(const SheetRow& row) {
    std::vector<NamedCell> cells;
    for (size_t c = 0; c < row.cells.size(); ++c) {
        std::string normalised = normaliseHeaderText(row.cells[c]);
        if (normalised.empty()) continue;
        HeaderName name = headerNameOf(normalised);
        cells.push_back({static_cast<uint32_t>(c), std::move(normalised), std::move(name)});
    }
    return cells;
}

bool isRequestedKey(const HeaderRequest& request, const std::string& name) {
    return std::find(request.keys.begin(), request.keys.end(), name) != request.keys.end();
}

// The key columns of both imports: never a subject, never "not analysed".
bool isAnyKey(const std::string& name) {
    for (const char* key : {tx::kSchool, tx::kGrade, tx::kClass, tx::kName}) {
        if (name == key) return true;
    }
    return false;
}

// Holds every finding key and, when the request needs one, at least one subject.
bool makesHeader(const std::vector<NamedCell>& cells, const HeaderRequest& request,
                 const std::vector<std::string>& findingKeys) {
    bool subject = false;
    for (const NamedCell& cell : cells) subject = subject || subjectIndex(cell.name.name) >= 0;
    if (!subject && request.needsSubject) return false;
    return std::all_of(findingKeys.begin(), findingKeys.end(), [&](const std::string& key) {
        return std::any_of(cells.begin(), cells.end(),
                           [&](const NamedCell& c) { return c.name.name == key; });
    });
}

std::string normalisedCell(const SheetRow& row, uint32_t column) {
    return column < row.cells.size() ? normaliseHeaderText(row.cells[column]) : std::string();
}

// The columns a header cell stands over: up to the next header cell (a merged cell keeps its text
// in its first column only), the last one up to the widest row.
std::pair<uint32_t, uint32_t> spanOf(const std::vector<NamedCell>& cells, size_t i, uint32_t width) {
    uint32_t end = i + 1 < cells.size() ? cells[i + 1].column : std::max(width, cells[i].column + 1);
    return {cells[i].column, end};
}

// The row below the header holds the subjects' sub-columns: the key columns are empty there (or
// repeat their header) and some column under a subject is a known sub-column.
bool isSubHeader(const std::vector<NamedCell>& cells, const SheetRow& header, const SheetRow& below) {
    if (below.number != header.number + 1) return false;
    const uint32_t width = static_cast<uint32_t>(std::max(header.cells.size(), below.cells.size()));
    bool subColumn = false;
    for (size_t i = 0; i < cells.size(); ++i) {
        const NamedCell& cell = cells[i];
        if (isAnyKey(cell.name.name)) {
            std::string under = normalisedCell(below, cell.column);
            if (!under.empty() && under != cell.normalised) return false;
        } else if (subjectIndex(cell.name.name) >= 0) {
            auto [first, end] = spanOf(cells, i, width);
            for (uint32_t c = first; c < end; ++c)
                subColumn = subColumn || subColumnOf(normalisedCell(below, c)) != SubColumn::Other;
        }
    }
    return subColumn;
}

// The columns a subject's scores are read from among its sub-columns [first, end): its raw
// scores and its scaled ones.
struct ScoreColumns {
    std::optional<uint32_t> score, scaled;
};
ScoreColumns scoreColumns(const SheetRow& below, uint32_t first, uint32_t end) {
    std::optional<uint32_t> raw, score, other, scaled;
    for (uint32_t c = first; c < end; ++c) {
        switch (subColumnOf(normalisedCell(below, c))) {
            case SubColumn::RawScore:
                if (!raw) raw = c;
                break;
            case SubColumn::Score:
                if (!score) score = c;
                break;
            case SubColumn::Other:
                if (!other) other = c;
                break;
            case SubColumn::Scaled:
                if (!scaled) scaled = c;
                break;
            case SubColumn::RankOrScaled:
                break;
        }
    }
    return {raw ? raw : score ? score : other, scaled};
}

}  // namespace

Result<SheetHeader> findHeader(const std::vector<SheetRow>& rows, const HeaderRequest& request,
                               const std::string& sheetName) {
    SheetHeader header;
    header.keys.resize(request.keys.size());
    if (rows.empty()) return header;

    size_t at = 0;
    std::vector<NamedCell> cells;
    for (const auto* keys : {&request.findingKeys, &request.fallbackFindingKeys}) {
        if (keys->empty() && keys != &request.findingKeys) break;
        for (size_t i = 0; i < rows.size() && !header.found; ++i) {
            std::vector<NamedCell> candidate = namedCells(rows[i]);
            if (makesHeader(candidate, request, *keys)) {
                at = i;
                cells = std::move(candidate);
                header.found = true;
            }
        }
        if (header.found) break;
    }
    if (!header.found) cells = namedCells(rows.front());
    const SheetRow& top = rows[at];
    const SheetRow* below = nullptr;
    if (header.found && at + 1 < rows.size() && isSubHeader(cells, top, rows[at + 1])) below = &rows[at + 1];
    header.firstRow = top.number;
    header.lastRow = below != nullptr ? below->number : top.number;
    header.plain = at == 0 && below == nullptr;

    const uint32_t width =
        static_cast<uint32_t>(std::max(top.cells.size(), below != nullptr ? below->cells.size() : size_t{0}));
    std::map<std::string, const NamedCell*> taken;  // key or subject → the header cell read for it
    for (size_t i = 0; i < cells.size(); ++i) {
        const NamedCell& cell = cells[i];
        const std::string& name = cell.name.name;
        const int subject = subjectIndex(name);
        const bool key = isRequestedKey(request, name);
        if (cell.normalised == kTotalName || cell.normalised == kScaledTotal) {
            // The sheet's own totals, compared with the sums of the subjects read.
            const bool scaledTotal = cell.normalised == kScaledTotal;
            ScoreColumns columns{cell.column, std::nullopt};
            if (below != nullptr && !scaledTotal) {
                auto [first, end] = spanOf(cells, i, width);
                if (end - first > 1) columns = scoreColumns(*below, first, end);
            }
            std::optional<uint32_t>& kept = scaledTotal ? header.scaledTotal : header.total;
            if (!kept) kept = columns.score;
            if (!header.scaledTotal) header.scaledTotal = columns.scaled;
            continue;
        }
        if (const int scaled = scaledSubjectOf(cell.normalised); !key && subject < 0 && scaled >= 0) {
            std::optional<uint32_t>& kept = header.scaled[static_cast<size_t>(scaled)];
            if (!kept) kept = cell.column;
            continue;
        }
        if (!key && subject < 0) {
            const bool known = isAnyKey(name) || isKnownNonScoreColumn(cell.normalised);
            if (known || std::find(header.notAnalysed.begin(), header.notAnalysed.end(), cell.normalised) !=
                             header.notAnalysed.end())
                continue;
            header.notAnalysed.push_back(cell.normalised);
            if (isExtraSubjectColumn(cell.normalised)) {
                std::optional<uint32_t> column = cell.column;
                if (below != nullptr) {
                    auto [first, end] = spanOf(cells, i, width);
                    column = scoreColumns(*below, first, end).score;
                }
                if (column) header.extraColumns.emplace_back(cell.normalised, *column);
            }
            continue;
        }
        if (auto [it, added] = taken.emplace(name, &cell); !added) {
            const NamedCell& first = *it->second;
            if (first.normalised == cell.normalised) continue;
            return fail(strprintf(tx::kSameColumnTwiceFormat, sheetName.c_str(), first.normalised.c_str(),
                                  columnLettersOf(first.column).c_str(), cell.normalised.c_str(),
                                  columnLettersOf(cell.column).c_str(), name.c_str()));
        }
        if (cell.name.alias) header.aliases.emplace_back(cell.normalised, name);
        if (key) {
            auto k = std::find(request.keys.begin(), request.keys.end(), name) - request.keys.begin();
            header.keys[static_cast<size_t>(k)] = cell.column;
        } else if (below == nullptr) {
            header.subjects[static_cast<size_t>(subject)] = cell.column;
        } else {
            auto [first, end] = spanOf(cells, i, width);
            const ScoreColumns columns = scoreColumns(*below, first, end);
            header.subjects[static_cast<size_t>(subject)] = columns.score;
            if (columns.scaled) header.scaled[static_cast<size_t>(subject)] = columns.scaled;
        }
    }
    return header;
}

}  // namespace varnex
