#include "import/question_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "app/null_frontend.h"
#include "app/settings_file.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "import/class_name.h"
#include "import/header_names.h"
#include "import/import_common.h"
#include "import/import_texts.h"
#include "import/open_workbook.h"
#include "import/row_problems.h"
#include "import/sheet_query.h"
#include "import/student_ids.h"
#include "readers/cell_text.h"

namespace varnex {

namespace tx = import_texts;

namespace {

enum Key : size_t { kSchoolKey, kClassKey, kNameKey };

// A question sheet's header holds 姓名; 学校 and 班级 are read when it has them.
const HeaderRequest kQuestionSheetRequest{{tx::kSchool, tx::kClass, tx::kName}, {tx::kName}, false, {}};

// Headers of columns that add up questions: kept apart, never counted as questions.
constexpr std::string_view kSubtotalNames[] = {"选择题", "客观题", "主观题", "填空题", "解答题",
                                               "合计",   "总分",   "小计",   "总计"};
constexpr std::string_view kSubtotalEndings[] = {"合计", "小计", "总分", "得分"};
// What the key columns of a row under the header say when it is no student's: the questions'
// full marks (the first two) or what kind of question each is.
constexpr std::string_view kFullMarkLabels[] = {"满分", "分值", "满分值"};
constexpr std::string_view kLabelRows[] = {"满分",   "分值", "满分值",   "题型",
                                           "知识点", "考点", "题目类型", "难度"};
// Texts that say a student has no score on a question.
constexpr std::string_view kNoScoreTexts[] = {"缺考", "缺", "免考", "未考", "-", "/"};

template <size_t N>
bool oneOf(std::string_view text, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

bool isSubtotalName(std::string_view text) {
    if (oneOf(text, kSubtotalNames)) return true;
    return std::any_of(std::begin(kSubtotalEndings), std::end(kSubtotalEndings),
                       [&](std::string_view end) { return text.size() > end.size() && text.ends_with(end); });
}

// The question columns of the header row, in sheet order, and its subtotal columns.
struct QuestionColumns {
    std::vector<std::string> labels;
    std::vector<uint32_t> columns;
    std::vector<std::string> subtotals;
};

Result<QuestionColumns> questionColumns(const SheetRow& header, const std::string& sheetName) {
    std::vector<std::pair<std::string, uint32_t>> found;  // label, column
    std::vector<std::string> written;                     // the header text of each
    QuestionColumns columns;
    for (size_t c = 0; c < header.cells.size(); ++c) {
        const std::string text = normaliseHeaderText(header.cells[c]);
        if (text.empty()) continue;
        if (isSubtotalName(text)) {
            columns.subtotals.push_back(text);
            continue;
        }
        std::string label = questionLabel(text);
        if (label.empty()) continue;
        for (size_t k = 0; k < found.size(); ++k) {
            if (found[k].first == label)
                return fail(strprintf(tx::kQuestionTwiceFormat, sheetName.c_str(), written[k].c_str(),
                                      columnLettersOf(found[k].second).c_str(), text.c_str(),
                                      columnLettersOf(static_cast<uint32_t>(c)).c_str()));
        }
        found.emplace_back(std::move(label), static_cast<uint32_t>(c));
        written.push_back(text);
    }
    // A question beside its own sub-questions ("17" with "17(1)", "17(2)") is their subtotal.
    for (const auto& [label, column] : found) {
        const bool parent = std::any_of(found.begin(), found.end(), [&](const auto& other) {
            return other.first.starts_with(label + "(");
        });
        if (parent) {
            columns.subtotals.push_back(label);
            continue;
        }
        columns.labels.push_back(label);
        columns.columns.push_back(column);
    }
    return columns;
}

std::string cellOf(const SheetRow& row, uint32_t column) {
    return column < row.cells.size() ? normaliseHeaderText(row.cells[column]) : std::string();
}

// A score as a number: a plain (or full-width, or blank-padded) number, nothing for a blank cell
// or a text that says there is none, and a failure for any other text.
enum class Cell { Score, NoScore, NotAScore };
Cell readCell(const std::string& written, double& value) {
    const std::string text = plainText(written);
    if (text.empty() || oneOf(text, kNoScoreTexts)) return Cell::NoScore;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return Cell::NotAScore;
    return Cell::Score;
}

std::string markText(double mark) {
    return strprintf("%.6g", mark);
}

// The rows under the header that are no student's (the 满分 row, a row of question types): the
// last of them, and the full marks when one of them is the 满分 row.
struct LabelRows {
    uint32_t lastRow = 0;
    std::optional<std::vector<double>> fullMarks;
};

LabelRows labelRows(const std::vector<SheetRow>& rows, const SheetHeader& header, const QuestionColumns& q) {
    LabelRows labels{header.lastRow, std::nullopt};
    for (const SheetRow& row : rows) {
        if (row.number <= header.lastRow) continue;
        std::string label;
        for (uint32_t c = 0; c < row.cells.size() && label.empty(); ++c) {
            if (std::find(q.columns.begin(), q.columns.end(), c) != q.columns.end()) continue;
            const std::string text = cellOf(row, c);
            if (oneOf(text, kLabelRows)) label = text;
        }
        if (label.empty()) break;
        labels.lastRow = row.number;
        if (!oneOf(label, kFullMarkLabels) || labels.fullMarks) continue;
        std::vector<double> marks;
        for (uint32_t column : q.columns) {
            double mark = 0;
            marks.push_back(readCell(column < row.cells.size() ? row.cells[column] : std::string(), mark) ==
                                        Cell::Score &&
                                    mark > 0
                                ? mark
                                : 0);
        }
        labels.fullMarks = std::move(marks);
    }
    return labels;
}

// What the rows of the sheet hold, before anything is taken.
struct QuestionRows {
    bool readerFailed = false;
    RowTable students{kStudentTableColumns};
    std::vector<float> scores;
    std::vector<int> sheetRows;
    std::vector<double> highest;
    RowProblems problems;
};

// The fields of the query: 姓名, the questions, then 班级, 学校 and the student numbers the sheet has.
struct Fields {
    size_t questionCount = 0;
    std::optional<size_t> klass, school;
    std::array<std::optional<size_t>, 2> ids;
};

QuestionRows readQuestionRows(AppState& read, Frontend& frontend, SheetQuery& query, const Fields& fields,
                              const std::vector<std::string>& labels, const std::string& singleSchool) {
    QuestionRows rows;
    rows.highest.assign(fields.questionCount, 0);
    const float none = std::numeric_limits<float>::quiet_NaN();
    std::vector<std::string> cells(static_cast<size_t>(rows.students.columnCount()));
    std::vector<float> scores(fields.questionCount);
    int seen = 0;
    while (!query.atEnd()) {
        const int sheetRow = query.sheetRow();
        const std::string name = plainText(query.field(0));
        bool anyScore = false;
        for (size_t q = 0; q < fields.questionCount; ++q) {
            double value = 0;
            const std::string& written = query.field(1 + q);
            switch (readCell(written, value)) {
                case Cell::Score:
                    anyScore = true;
                    if (value < 0) {
                        rows.problems.add(
                            {sheetRow, name, labels[q], written,
                             strprintf(tx::kQuestionNegativeFormat, labels[q].c_str(), written.c_str())});
                    }
                    scores[q] = static_cast<float>(value);
                    rows.highest[q] = std::max(rows.highest[q], value);
                    break;
                case Cell::NoScore:
                    scores[q] = none;
                    break;
                case Cell::NotAScore:
                    anyScore = true;
                    rows.problems.add(
                        {sheetRow, name, labels[q], written,
                         strprintf(tx::kQuestionNotScoreFormat, labels[q].c_str(), written.c_str())});
                    scores[q] = none;
                    break;
            }
        }
        if (!name.empty()) {
            std::fill(cells.begin(), cells.end(), std::string());
            cells[kSchoolKey] = fields.school ? plainText(query.field(*fields.school)) : singleSchool;
            cells[kClassKey] = fields.klass ? normaliseClassName(query.field(*fields.klass)) : std::string();
            cells[kNameKey] = name;
            const int index = rows.students.appendRow(cells);
            std::vector<std::string> ids(kStudentIdColumns.size());
            for (size_t k = 0; k < ids.size(); ++k) {
                if (fields.ids[k]) ids[k] = plainText(query.field(*fields.ids[k]));
            }
            rows.students.setHiddenCells(index, std::move(ids));
            rows.scores.insert(rows.scores.end(), scores.begin(), scores.end());
            rows.sheetRows.push_back(sheetRow);
        } else if (anyScore) {
            rows.problems.add({sheetRow, "", tx::kName, "", strprintf(tx::kCellEmptyFormat, tx::kName)});
        }
        if (++seen % 4096 == 0)
            frontend.showProgress(
                strprintf(tx::kProgressRowFormat, read.imported.sheetName.c_str(), sheetRow), 0, 0);
        if (!moveToNextRow(query, read, frontend)) {
            rows.readerFailed = true;
            break;
        }
    }
    return rows;
}

// The questions' full marks from the written form: one per question, or the failure naming what
// is wrong (an item that cannot be read, a question the sheet has not, the questions left without).
Result<std::vector<double>> marksFromText(const std::string& text, const std::vector<std::string>& labels,
                                          const std::string& sheetName) {
    Result<std::vector<QuestionMark>> parsed = parseQuestionMarks(text);
    if (!parsed) return parsed.failure();
    std::vector<double> marks(labels.size(), 0);
    for (const QuestionMark& m : *parsed) {
        auto at = std::find(labels.begin(), labels.end(), m.question);
        if (at == labels.end())
            return fail(strprintf(tx::kQuestionNotInSheetFormat, m.question.c_str(), sheetName.c_str()));
        marks[static_cast<size_t>(at - labels.begin())] = m.mark;
    }
    return marks;
}

// The questions without a full mark, "3、17(2)"; "" when every one has one.
std::string withoutMark(const std::vector<std::string>& labels, const std::vector<double>& marks) {
    std::string names;
    for (size_t q = 0; q < labels.size(); ++q) {
        if (marks[q] > 0) continue;
        if (!names.empty()) names += "、";
        names += labels[q];
    }
    return names;
}

}  // namespace

Result<std::vector<std::string>> questionWorkbookSheets(AppState& state, Frontend& frontend,
                                                        const std::string& path) {
    AppState opened;
    class Quiet : public NullFrontend {
      public:
        std::string shown;
        void showMessage(const std::string& text, const std::string&, MessageIcon) override { shown = text; }
    } quiet;
    Result<OpenOutcome> outcome = openWorkbook(opened, quiet, path);
    if (!outcome) {
        const std::string text =
            strprintf(tx::kQuestionSheetFailedFormat, fileNameOf(path).c_str(), quiet.shown.c_str());
        frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
        appendLog(state, frontend, text);
        return fail(outcome.failure().kind, text);
    }
    return opened.workbook.sheetNames;
}

Result<QuestionOutcome> importQuestionSheet(AppState& state, Frontend& frontend,
                                            const QuestionSource& source) {
    auto refuse = [&](ErrorKind kind, const std::string& message) -> Error {
        const std::string text =
            strprintf(tx::kQuestionSheetFailedFormat, fileNameOf(source.path).c_str(), message.c_str());
        frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
        appendLog(state, frontend, text);
        return fail(kind, text);
    };
    if (source.subject.empty() || source.subject.find_first_of(":\\/?*[]'") != std::string::npos ||
        source.subject.size() > 30)
        return refuse(ErrorKind::BadInput, strprintf(tx::kQuestionSubjectFormat, source.subject.c_str()));

    // The steps shared with the score import read from a state of their own.
    AppState read;
    read.workbook.path = source.path;
    read.imported.sheetName = source.sheet;
    class Quiet : public NullFrontend {
      public:
        std::string shown;
        void showMessage(const std::string& text, const std::string&, MessageIcon) override { shown = text; }
    } quiet;
    SheetQuery query;
    std::optional<SheetHeader> header = openImportSheet(query, read, quiet, kQuestionSheetRequest);
    if (!header) return refuse(ErrorKind::FileRefused, quiet.shown);
    if (!header->found || !header->keys[kNameKey]) {
        query.close();
        return refuse(ErrorKind::BadInput, strprintf(tx::kQuestionHeaderFormat, source.sheet.c_str()));
    }
    const std::vector<SheetRow>& leading = query.leadingRows();
    const auto headerRow = std::find_if(leading.begin(), leading.end(),
                                        [&](const SheetRow& row) { return row.number == header->firstRow; });
    Result<QuestionColumns> q = questionColumns(*headerRow, source.sheet);
    if (!q) {
        query.close();
        return refuse(ErrorKind::BadInput, q.error());
    }
    if (q->labels.empty()) {
        query.close();
        return refuse(ErrorKind::BadInput, strprintf(tx::kQuestionHeaderFormat, source.sheet.c_str()));
    }
    const StudentIdColumns ids = findStudentIdColumns(leading, *header, source.sheet);
    LabelRows labels = labelRows(leading, *header, *q);

    Fields fields;
    fields.questionCount = q->labels.size();
    std::vector<uint32_t> columns{*header->keys[kNameKey]};
    columns.insert(columns.end(), q->columns.begin(), q->columns.end());
    auto addField = [&](std::optional<uint32_t> column, std::optional<size_t>& field) {
        if (!column) return;
        field = columns.size();
        columns.push_back(*column);
    };
    addField(header->keys[kClassKey], fields.klass);
    addField(header->keys[kSchoolKey], fields.school);
    for (size_t k = 0; k < ids.columns.size(); ++k) addField(ids.columns[k], fields.ids[k]);
    SheetHeader dataBelow = *header;
    dataBelow.lastRow = labels.lastRow;
    if (!selectImportColumns(query, read, quiet, columns, dataBelow))
        return refuse(ErrorKind::FileRefused, quiet.shown);
    // A sheet without 学校 column is the school of a score sheet of one school.
    const std::string singleSchool =
        state.imported.schoolList.size() == 1 ? state.imported.schoolList.front() : std::string();
    QuestionRows rows = readQuestionRows(read, quiet, query, fields, q->labels, singleSchool);
    query.close();
    if (rows.readerFailed) return refuse(ErrorKind::FileRefused, quiet.shown);
    if (rows.students.rowCount() == 0) return refuse(ErrorKind::BadInput, tx::kNoScoreRows);

    // The full marks: the sheet's own row, else as given, else as kept, else as the person says.
    std::vector<double> marks;
    if (labels.fullMarks) {
        marks = *labels.fullMarks;
    } else {
        std::string written = source.marks;
        if (written.empty())
            written = loadQuestionMarks(state.settingsPath, state.examNameText, source.subject);
        if (!written.empty()) {
            Result<std::vector<double>> given = marksFromText(written, q->labels, source.sheet);
            if (!given) return refuse(ErrorKind::BadInput, given.error());
            marks = std::move(*given);
        } else {
            std::optional<std::vector<double>> asked =
                frontend.askQuestionMarks(source.subject, q->labels, rows.highest);
            if (!asked || asked->size() != q->labels.size())
                return refuse(
                    ErrorKind::BadInput,
                    strprintf(tx::kQuestionMarksMissingFormat, source.sheet.c_str(),
                              withoutMark(q->labels, std::vector<double>(q->labels.size(), 0)).c_str()));
            marks = std::move(*asked);
            if (withoutMark(q->labels, marks).empty()) {
                if (Status saved = saveQuestionMarks(state.settingsPath, state.examNameText, source.subject,
                                                     questionMarksText(q->labels, marks));
                    !saved)
                    appendLog(state, frontend, saved.error());
            }
        }
    }
    if (std::string missing = withoutMark(q->labels, marks); !missing.empty())
        return refuse(ErrorKind::BadInput,
                      strprintf(tx::kQuestionMarksMissingFormat, source.sheet.c_str(), missing.c_str()));

    const size_t n = q->labels.size();
    for (int s = 0; s < rows.students.rowCount(); ++s) {
        for (size_t k = 0; k < n; ++k) {
            const float v = rows.scores[static_cast<size_t>(s) * n + k];
            if (std::isnan(v) || v <= marks[k]) continue;
            const std::string value = markText(v);
            rows.problems.add({rows.sheetRows[static_cast<size_t>(s)],
                               std::string(rows.students.cellText(s, kNameKey)), q->labels[k], value,
                               strprintf(tx::kQuestionAboveFullMarkFormat, q->labels[k].c_str(),
                                         value.c_str(), markText(marks[k]).c_str())});
        }
    }
    if (rows.problems.anyBlocking()) {
        rows.problems.sortByRow();
        return refuse(ErrorKind::BadInput, rows.problems.refusal(source.sheet));
    }

    QuestionScores sheet;
    sheet.source = source;
    sheet.questions = q->labels;
    sheet.fullMarks = marks;
    sheet.subtotals = q->subtotals;
    sheet.students = std::move(rows.students);
    for (size_t k = 0; k < sheet.idColumns.size(); ++k) sheet.idColumns[k] = ids.columns[k].has_value();
    sheet.scores = std::move(rows.scores);
    const int studentCount = sheet.studentCount();
    auto same = std::find_if(state.questionSheets.begin(), state.questionSheets.end(),
                             [&](const QuestionScores& s) { return s.source.subject == source.subject; });
    if (same != state.questionSheets.end()) {
        *same = std::move(sheet);
    } else {
        state.questionSheets.push_back(std::move(sheet));
    }
    std::string subtotals;
    for (const std::string& s : q->subtotals) subtotals += (subtotals.empty() ? "" : "、") + s;
    appendLog(state, frontend,
              strprintf(tx::kQuestionSheetReadFormat, source.subject.c_str(), fileNameOf(source.path).c_str(),
                        source.sheet.c_str(), studentCount, static_cast<int>(n),
                        subtotals.empty() ? tx::kNoSubtotals : subtotals.c_str()));
    return QuestionOutcome{source.subject, studentCount, static_cast<int>(n)};
}

}  // namespace varnex
