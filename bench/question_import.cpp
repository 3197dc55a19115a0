// Reading and analysing a large question-score sheet: writes an .xlsx of 200,000 students (or the
// count given as the first argument) × 30 questions with a 满分 row, reads its columns with the
// sheet query alone (below the 满分 row, by place) as the baseline, then reads it with the question import
// and works out the 小题分析 figures against a score table of the same students. Prints both times and their
// ratio; reading and analysing may take at most 1.5 times the reader's own time.

#include "import/question_import.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/questions.h"
#include "app/app_state.h"
#include "app/null_frontend.h"
#include "import/sheet_query.h"

namespace {

using namespace varnex;

constexpr int kQuestions = 30;
constexpr double kAllowedRatio = 1.5;
constexpr int kPerClass = 50;
constexpr int kClassesPerSchool = 20;

class BenchFrontend : public NullFrontend {
  public:
    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        ++messages;
    }
    void logAppended(const std::string& line) override { lastLog = line; }
    int messages = 0;
    std::string lastLog;
};

std::string schoolOf(int s) {
    return "第" + std::to_string(1 + s / kPerClass / kClassesPerSchool) + "中学";
}
std::string classOf(int s) {
    return std::to_string(1 + (s / kPerClass) % kClassesPerSchool);
}
std::string nameOf(int s) {
    return "学生" + std::to_string(s);
}
std::string idOf(int s) {
    return std::to_string(100000000 + s);
}
int markOf(int q) {
    return q < 12 ? 5 : q < 20 ? 4 : 8;
}
std::string labelOf(int q) {
    // 1 … 24, then 25(1) … 25(6)
    return q < 24 ? std::to_string(q + 1) : "25(" + std::to_string(q - 23) + ")";
}

bool writeSheet(const std::string& path, int students) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (workbook == nullptr) return false;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "数学小题");
    const char* keys[] = {"考号", "学校", "班级", "姓名"};
    for (int c = 0; c < 4; ++c) worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), keys[c], nullptr);
    // Row by row: a workbook in constant memory takes each row once.
    for (int q = 0; q < kQuestions; ++q)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(4 + q), labelOf(q).c_str(), nullptr);
    worksheet_write_string(sheet, 1, 0, "满分", nullptr);
    for (int q = 0; q < kQuestions; ++q)
        worksheet_write_number(sheet, 1, static_cast<lxw_col_t>(4 + q), markOf(q), nullptr);
    std::mt19937 rng(11);
    for (int s = 0; s < students; ++s) {
        const lxw_row_t row = static_cast<lxw_row_t>(s + 2);
        worksheet_write_string(sheet, row, 0, idOf(s).c_str(), nullptr);
        worksheet_write_string(sheet, row, 1, schoolOf(s).c_str(), nullptr);
        worksheet_write_number(sheet, row, 2, 1 + (s / kPerClass) % kClassesPerSchool, nullptr);
        worksheet_write_string(sheet, row, 3, nameOf(s).c_str(), nullptr);
        for (int q = 0; q < kQuestions; ++q)
            worksheet_write_number(sheet, row, static_cast<lxw_col_t>(4 + q),
                                   static_cast<double>(rng() % static_cast<unsigned>(2 * markOf(q) + 1)) / 2,
                                   nullptr);
    }
    return workbook_close(workbook) == LXW_NO_ERROR;
}

// The score table of the same students, as the student import leaves it.
void scoreTable(AppState& state, int students) {
    std::vector<std::string> cells(static_cast<size_t>(state.students.columnCount()));
    for (int s = 0; s < students; ++s) {
        cells[0] = schoolOf(s);
        cells[1] = classOf(s);
        cells[2] = nameOf(s);
        const int row = state.students.appendRow(cells);
        state.students.setHiddenCells(row, {idOf(s), ""});
        state.imported.classList.add(cells[0], cells[1]);
        if (state.imported.schoolList.empty() || state.imported.schoolList.back() != cells[0])
            state.imported.schoolList.push_back(cells[0]);
    }
    state.imported.idColumns = {true, false};
    state.imported.studentCount = students;
}

// Reads every column below the 满分 row with the sheet query alone; returns the number of rows.
size_t readColumns(const std::string& path, uint32_t columns) {
    SheetQuery query;
    std::vector<uint32_t> all(columns);
    for (uint32_t c = 0; c < columns; ++c) all[c] = c;
    Status opened = query.open(path);
    if (opened) opened = query.openSheet("数学小题");
    if (opened) opened = query.selectColumns(all, 2);
    if (!opened) {
        std::fprintf(stderr, "query failed: %s\n", opened.error().c_str());
        std::exit(1);
    }
    size_t rows = 0, bytes = 0;
    while (!query.atEnd()) {
        for (uint32_t c = 0; c < columns; ++c) bytes += query.field(c).size();
        ++rows;
        if (!query.next()) break;
    }
    if (bytes == 0) std::fprintf(stderr, "no data read\n");
    return rows;
}

double secondsOf(auto&& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int students = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200000;
    std::string dir = (std::filesystem::temp_directory_path() / "varnex-bench-questions-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 1;
    const std::string path = dir + "/questions.xlsx";
    std::printf("students: %d, questions: %d\n", students, kQuestions);
    const double writing = secondsOf([&] {
        if (!writeSheet(path, students)) std::exit(1);
    });
    std::printf("writing the sheet: %.2f s\n", writing);

    AppState state;
    scoreTable(state, students);
    double bestRead = 1e30, bestImport = 1e30, bestAnalysis = 1e30;
    for (int round = 0; round < 3; ++round) {
        size_t rows = 0;
        bestRead = std::min(bestRead, secondsOf([&] { rows = readColumns(path, 4 + kQuestions); }));
        BenchFrontend ui;
        bool read = false;
        bestImport = std::min(
            bestImport, secondsOf([&] {
                read = static_cast<bool>(importQuestionSheet(state, ui, {path, "数学小题", "数学", ""}));
            }));
        if (!read || ui.messages != 0 || state.questionSheets.front().studentCount() != students ||
            rows != static_cast<size_t>(students)) {
            std::fprintf(stderr, "question import incomplete (%zu rows read)\n", rows);
            return 1;
        }
        const Exam exam(state);
        int matched = 0;
        bestAnalysis = std::min(bestAnalysis, secondsOf([&] {
                                    matched = analyseQuestions(exam, state.questionSheets.front()).matched;
                                }));
        if (matched != students) {
            std::fprintf(stderr, "only %d of %d students paired\n", matched, students);
            return 1;
        }
        if (round == 0) std::printf("import log: %s\n", ui.lastLog.c_str());
    }
    if (std::getenv("VARNEX_BENCH_KEEP") == nullptr) std::filesystem::remove_all(dir);

    const double ratio = (bestImport + bestAnalysis) / bestRead;
    std::printf("baseline, sheet query reading the same columns: %.3f s\n", bestRead);
    std::printf("question import: %.3f s, analysis: %.3f s (%.2fx baseline)\n", bestImport, bestAnalysis,
                ratio);
    std::printf("requirement: at most %.1fx -> %s\n", kAllowedRatio,
                ratio <= kAllowedRatio ? "ok" : "TOO SLOW");
    return ratio <= kAllowedRatio ? 0 : 2;
}
