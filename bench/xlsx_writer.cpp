// Writing 1,000,000 formatted cells (50,000 rows of 20 boxed, centred cells: serial numbers,
// names, classes, scores) through ExcelSession -> WorkbookModel -> saveWorkbook, against writing
// the same cells straight through libxlsxwriter, in the same run. Each measurement runs in a child
// process of its own so that its peak memory is its own. The two alternate, and the ratio of each
// round (both under the same load of the machine) is taken; the median round ratio is the result.
//
// Usage: bench_xlsx_writer [ROUNDS]   (default 3)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text_util.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace {

using namespace varnex;

constexpr int kRows = 50000;
constexpr int kColumns = 20;

const char* const kNames[] = {"王伟", "李芳", "张娜", "刘敏", "陈静", "杨丽", "赵强", "黄磊", "周军", "吴洋",
                              "徐勇", "孙艳", "胡杰", "朱涛", "高明", "林超", "何平", "郭华", "马丽", "罗刚"};

/// What goes in a cell: a whole number, a number with one decimal, or a text.
struct CellValue {
    enum Kind { Whole, Tenths, Text } kind;
    int number;  ///< the whole number, or the tenths
    const char* text;
};

CellValue valueAt(int row, int column) {
    switch (column) {
        case 0:
            return {CellValue::Whole, row, nullptr};
        case 1:
            return {CellValue::Text, 0, kNames[(row * 7 + 3) % 20]};
        case 2:
            return {CellValue::Text, 0, (row % 3 == 0) ? "（1）班" : (row % 3 == 1 ? "（2）班" : "（3）班")};
        default:
            if (column % 4 == 0) return {CellValue::Tenths, (row * 37 + column * 11) % 1500, nullptr};
            return {CellValue::Whole, (row * 13 + column * 7) % 151, nullptr};
    }
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The baseline: one format, values written as they are.
double writeDirect(const std::string& path) {
    auto start = std::chrono::steady_clock::now();
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "成绩");
    lxw_format* box = workbook_add_format(wb);
    format_set_border(box, LXW_BORDER_THIN);
    format_set_border_color(box, LXW_COLOR_BLACK);
    format_set_align(box, LXW_ALIGN_CENTER);
    worksheet_set_column(ws, 0, 0, 5, nullptr);
    worksheet_set_column(ws, 1, kColumns - 1, 9, nullptr);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            CellValue v = valueAt(row, column);
            auto r = static_cast<lxw_row_t>(row);
            auto c = static_cast<lxw_col_t>(column);
            switch (v.kind) {
                case CellValue::Whole:
                    worksheet_write_number(ws, r, c, v.number, box);
                    break;
                case CellValue::Tenths:
                    worksheet_write_number(ws, r, c, v.number / 10.0, box);
                    break;
                case CellValue::Text:
                    worksheet_write_string(ws, r, c, v.text, box);
                    break;
            }
        }
    }
    if (workbook_close(wb) != LXW_NO_ERROR) std::exit(2);
    return seconds(start);
}

// Through the automation layer, as a report writes: every cell takes a range, a box, the centring
// and a value given as text; then the model is saved.
double writeThroughSession(const std::string& path, double& buildSeconds) {
    auto start = std::chrono::steady_clock::now();
    ExcelSession session;
    session.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = session.Sheet(1);
    sheet.SetName("成绩");
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            ExcelRange range = sheet.Range(row, column);
            range.BorderAround();
            range.SetHorizontalAlignment(HAlign::Center);
            if (row == 0) range.SetColumnWidth(column == 0 ? 5 : 9);
            CellValue v = valueAt(row, column);
            switch (v.kind) {
                case CellValue::Whole:
                    range.SetNumber(v.number);
                    break;
                case CellValue::Tenths:
                    range.SetValue(strprintf("%.1f", v.number / 10.0));
                    break;
                case CellValue::Text:
                    range.SetValue(v.text);
                    break;
            }
        }
    }
    buildSeconds = seconds(start);
    Result<std::string> saved = saveWorkbook(session.workbook(), {.exactPath = path, .overwrite = true});
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.error().c_str());
        std::exit(2);
    }
    return seconds(start);
}

struct Measurement {
    double seconds = 0;
    double buildSeconds = 0;
    long peakKilobytes = 0;
};

// Runs one measurement in a child process.
Measurement measure(bool throughSession, const std::string& path) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::exit(2);
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        Measurement m;
        m.seconds = throughSession ? writeThroughSession(path, m.buildSeconds) : writeDirect(path);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        m.peakKilobytes = usage.ru_maxrss;
        if (write(pipeFds[1], &m, sizeof m) != static_cast<ssize_t>(sizeof m)) _exit(3);
        _exit(0);
    }
    close(pipeFds[1]);
    Measurement m;
    ssize_t got = read(pipeFds[0], &m, sizeof m);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != static_cast<ssize_t>(sizeof m) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measurement failed\n");
        std::exit(2);
    }
    return m;
}

Measurement median(std::vector<Measurement> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Measurement& a, const Measurement& b) { return a.seconds < b.seconds; });
    return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::string pattern = (std::filesystem::temp_directory_path() / "varnex-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 2;
    const std::string folder = pattern;

    std::vector<Measurement> direct, session;
    for (int i = 0; i < rounds; ++i) {
        direct.push_back(measure(false, folder + "/direct.xlsx"));
        session.push_back(measure(true, folder + "/session.xlsx"));
        std::printf("round %d: direct %.2f s, through the session %.2f s (%.2fx)\n", i + 1,
                    direct.back().seconds, session.back().seconds,
                    session.back().seconds / direct.back().seconds);
    }
    const Measurement d = median(direct);
    const Measurement s = median(session);
    const auto size = [&](const char* name) {
        return std::filesystem::file_size(folder + "/" + name) / 1024;
    };
    std::printf("cells: %d (%d rows x %d columns), rounds: %d (medians below)\n", kRows * kColumns, kRows,
                kColumns, rounds);
    std::printf("direct libxlsxwriter:  %.2f s, peak memory %.0f MB, file %ju KB\n", d.seconds,
                static_cast<double>(d.peakKilobytes) / 1024, static_cast<uintmax_t>(size("direct.xlsx")));
    std::printf(
        "session -> model -> file: %.2f s (building the model %.2f s, saving %.2f s), peak memory %.0f MB, "
        "file %ju KB\n",
        s.seconds, s.buildSeconds, s.seconds - s.buildSeconds, static_cast<double>(s.peakKilobytes) / 1024,
        static_cast<uintmax_t>(size("session.xlsx")));
    std::vector<double> ratios;
    for (int i = 0; i < rounds; ++i)
        ratios.push_back(session[static_cast<size_t>(i)].seconds / direct[static_cast<size_t>(i)].seconds);
    std::sort(ratios.begin(), ratios.end());
    const double ratio = ratios[ratios.size() / 2];
    std::printf("ratio of medians: %.2fx\n", s.seconds / d.seconds);
    std::printf("median round ratio: %.2fx (requirement <= 1.3x) -> %s\n", ratio,
                ratio <= 1.3 ? "ok" : "TOO SLOW");
    std::filesystem::remove_all(folder);
    return 0;
}
