#pragma once
// Reading one subject's question-score sheet (a column per question, as marking platforms export
// them) into the state's question sheets, for 小题分析.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

/// What a question-sheet import took.
struct QuestionOutcome {
    std::string subject;
    int studentCount = 0;
    int questionCount = 0;
};

/// The worksheets of the workbook at `path`, for choosing a question sheet; the failure, after the
/// message naming the file, when it cannot be opened.
Result<std::vector<std::string>> questionWorkbookSheets(AppState& state, Frontend& frontend,
                                                        const std::string& path);

/// Reads the question scores of `source` into state.questionSheets, in place of the subject's
/// sheet read before. The header is found as a score sheet's; the questions' full marks come from
/// a 满分 (分值) row under it, else from source.marks, else from the settings file (小题满分, by the
/// exam name and subject), else from the person (then kept in the settings file). Every problem of
/// the rows (a score above its question's full mark, a text that is no score) is shown at once and
/// nothing is taken. Blank cells are kept as such: the export counts them as its rule for blank
/// scores says.
Result<QuestionOutcome> importQuestionSheet(AppState& state, Frontend& frontend,
                                            const QuestionSource& source);

}  // namespace varnex
