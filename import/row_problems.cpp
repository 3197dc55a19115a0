#include "import/row_problems.h"

#include <algorithm>

#include "base/text_util.h"
#include "import/import_texts.h"

namespace varnex {

namespace tx = import_texts;

bool RowProblems::anyBlocking() const {
    return std::any_of(problems_.begin(), problems_.end(), [](const RowProblem& p) { return p.blocking; });
}

void RowProblems::sortByRow() {
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const RowProblem& a, const RowProblem& b) { return a.sheetRow < b.sheetRow; });
}

std::string RowProblems::line(const RowProblem& problem) {
    if (problem.key.empty())
        return strprintf(tx::kProblemLineFormat, problem.sheetRow, problem.message.c_str());
    return strprintf(tx::kKeyedProblemLineFormat, problem.sheetRow, problem.key.c_str(),
                     problem.message.c_str());
}

std::string RowProblems::lines(bool blockingOnly) const {
    std::string text;
    for (const RowProblem& problem : problems_) {
        if (blockingOnly && !problem.blocking) continue;
        if (!text.empty()) text += '\n';
        text += line(problem);
    }
    return text;
}

}  // namespace varnex
