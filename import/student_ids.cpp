#include "import/student_ids.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/app_state.h"
#include "base/text_util.h"
#include "import/header_names.h"
#include "import/import_texts.h"

namespace varnex {

namespace {

// The header texts (normalised) that stand for each kind of student number.
constexpr std::string_view kExamNumberTexts[] = {"考号", "准考证号", "考生号"};
constexpr std::string_view kStudentNumberTexts[] = {"学号"};

template <size_t N>
bool isOneOf(std::string_view text, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

// The kind (index into kStudentIdColumns) a normalised header text names, or -1.
int kindOf(std::string_view normalised) {
    if (isOneOf(normalised, kExamNumberTexts)) return 0;
    if (isOneOf(normalised, kStudentNumberTexts)) return 1;
    return -1;
}

}  // namespace

StudentIdColumns findStudentIdColumns(const std::vector<SheetRow>& rows, const SheetHeader& header,
                                      const std::string& sheetName) {
    StudentIdColumns found;
    // Per kind, the columns and their texts; a column's text is read in the header's first row, or
    // in its second where the first is empty there.
    std::array<std::vector<std::pair<uint32_t, std::string>>, 2> seen;
    std::vector<uint32_t> named;
    for (const SheetRow& row : rows) {
        if (row.number < header.firstRow || row.number > header.lastRow) continue;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const auto column = static_cast<uint32_t>(c);
            std::string normalised = normaliseHeaderText(row.cells[c]);
            if (normalised.empty() || std::find(named.begin(), named.end(), column) != named.end()) continue;
            named.push_back(column);
            if (int kind = kindOf(normalised); kind >= 0)
                seen[static_cast<size_t>(kind)].emplace_back(column, std::move(normalised));
        }
    }
    for (size_t kind = 0; kind < seen.size(); ++kind) {
        const auto& columns = seen[kind];
        if (columns.size() == 1) found.columns[kind] = columns.front().first;
        if (columns.size() >= 2 && found.problem.empty())
            found.problem =
                strprintf(import_texts::kTwoIdColumnsFormat, sheetName.c_str(), kStudentIdColumns[kind],
                          columns[0].second.c_str(), columns[1].second.c_str());
    }
    return found;
}

}  // namespace varnex
