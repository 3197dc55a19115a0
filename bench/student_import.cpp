// Importing a large student score sheet: writes an .xlsx of 200,000 students (or the count given
// as the first argument) with libxlsxwriter, reads the imported columns with the sheet query
// alone as the baseline, then runs the student import on the same sheet. Prints both times and
// their ratio; the import may take at most 1.3 times the reader's own time.

#include "import/student_import.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/null_frontend.h"
#include "bench/query_columns.h"

namespace {

using namespace varnex;

constexpr int kExamined = 9;  // 语文 … 政治
constexpr double kAllowedRatio = 1.3;

// Answers every question with Yes and counts what it is told.
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

bool writeSheet(const std::string& path, int students) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (workbook == nullptr) return false;
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "成绩");
    std::vector<std::string> header{"学校", "班级", "姓名"};
    for (int i = 0; i < kExamined; ++i) header.emplace_back(kSubjects[static_cast<size_t>(i)].name);
    header.emplace_back("总分");
    for (size_t c = 0; c < header.size(); ++c) {
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header[c].c_str(), nullptr);
    }
    const char* family[] = {"王", "李", "张", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
    const char* given[] = {"伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "军", "洋", "勇", "艳"};
    std::mt19937 rng(7);
    const int perClass = 50;
    const int classesPerSchool = 20;
    for (int s = 0; s < students; ++s) {
        lxw_row_t row = static_cast<lxw_row_t>(s + 1);
        int classIndex = s / perClass;
        std::string school = "第" + std::to_string(1 + classIndex / classesPerSchool) + "中学";
        std::string name = std::string(family[rng() % 10]) + given[rng() % 12] + given[rng() % 12];
        worksheet_write_string(sheet, row, 0, school.c_str(), nullptr);
        worksheet_write_number(sheet, row, 1, 1 + classIndex % classesPerSchool, nullptr);
        worksheet_write_string(sheet, row, 2, name.c_str(), nullptr);
        double total = 0;
        for (int i = 0; i < kExamined; ++i) {
            double score = (1 + rng() % 199) / 2.0;  // whole and half points, never 0
            total += score;
            worksheet_write_number(sheet, row, static_cast<lxw_col_t>(3 + i), score, nullptr);
        }
        worksheet_write_number(sheet, row, static_cast<lxw_col_t>(3 + kExamined), total, nullptr);
    }
    return workbook_close(workbook) == LXW_NO_ERROR;
}

double secondsOf(auto&& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reads the import's columns with the sheet query alone; returns the number of rows.
long readColumns(const std::string& path) {
    std::vector<std::string> columns{"学校", "班级", "姓名"};
    for (int i = 0; i < kExamined; ++i) columns.emplace_back(kSubjects[static_cast<size_t>(i)].name);
    bench::ColumnsRead read = bench::queryColumns(path, "成绩", columns);
    if (read.bytes == 0) std::fprintf(stderr, "no data read\n");
    return static_cast<long>(read.rows);
}

}  // namespace

int main(int argc, char** argv) {
    int students = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200000;
    std::string dir = (std::filesystem::temp_directory_path() / "varnex-bench-import-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return 1;
    std::string path = dir + "/students.xlsx";
    std::printf("students: %d\n", students);
    double writing = secondsOf([&] {
        if (!writeSheet(path, students)) std::exit(1);
    });
    std::printf("writing the sheet: %.2f s\n", writing);

    double bestRead = 1e30;
    double bestImport = 1e30;
    for (int round = 0; round < 3; ++round) {
        long rows = 0;
        bestRead = std::min(bestRead, secondsOf([&] { rows = readColumns(path); }));
        AppState state;
        state.workbook.path = path;
        state.workbook.title = "students";
        state.workbook.sheetNames = {"成绩"};
        state.workbook.selectedSheet = 0;
        state.scores.fullMark.fill(0);
        for (int i = 0; i < kExamined; ++i) state.scores.fullMark[static_cast<size_t>(i)] = 100;
        state.importOptions.missingRule = 0;
        BenchFrontend ui;
        bestImport = std::min(bestImport, secondsOf([&] { (void)importStudents(state, ui); }));
        if (ui.messages != 0 || state.imported.studentCount != students || rows != students) {
            std::fprintf(stderr, "import incomplete: %d of %d students, %ld rows read\n",
                         state.imported.studentCount, students, rows);
            return 1;
        }
        if (round == 0) std::printf("import log: %s\n", ui.lastLog.c_str());
    }
    std::filesystem::remove_all(dir);

    double ratio = bestImport / bestRead;
    std::printf("baseline, sheet query reading the same columns: %.3f s\n", bestRead);
    std::printf("student import: %.3f s (%.2fx baseline)\n", bestImport, ratio);
    std::printf("requirement: at most %.1fx -> %s\n", kAllowedRatio,
                ratio <= kAllowedRatio ? "ok" : "TOO SLOW");
    return ratio <= kAllowedRatio ? 0 : 2;
}
