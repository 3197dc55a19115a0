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

std::string RowProblems::refusal(const std::string& sheetName) const {
    const int blocking = static_cast<int>(
        std::count_if(problems_.begin(), problems_.end(), [](const RowProblem& p) { return p.blocking; }));
    std::string text = strprintf(tx::kProblemsFormat, sheetName.c_str(), blocking, lines(true).c_str());
    std::string notes;
    for (const RowProblem& problem : problems_) {
        if (problem.blocking) continue;
        if (!notes.empty()) notes += '\n';
        notes += line(problem);
    }
    const int noteCount = static_cast<int>(problems_.size()) - blocking;
    if (noteCount > 0) text += strprintf(tx::kProblemNotesFormat, noteCount, notes.c_str());
    return text;
}

}  // namespace varnex
