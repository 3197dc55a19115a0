// The whole job as a user runs it — open a generated exam workbook, import the teachers and the
// students, build every sheet, save — against a small program that writes exactly the cells of the
// produced result straight through libxlsxwriter (same sheets, names, column widths, merged areas,
// cell types, formulas with their values; one format for every cell).
//
//   20,000 students (25 schools, 400 classes, 9 subjects, every report, 小题分析 and 小题明细 of a 数学
//   question sheet of 30 questions)
//       goal: whole job <= 1.3x writing its output (median of the pairs' ratios)
//  200,000 students (25 schools, 2,500 classes)
//       goals: peak memory <= 600 MB, time <= 10.5x the 20,000-student job
//  200,000 students (240 schools, 2,400 classes), 分别导出 按学校
//       goal: the export with one workbook per school beside the whole one <= 2x the export of the
//       whole workbook alone (median of the pairs' ratios of the export's wall time)
//
// Every measurement runs in a fresh process of its own (this program started again, so that none
// of this process's memory counts towards its peak); the two sides alternate (job, direct, job,
// direct, …) so that both of a pair meet the same load of a shared machine, and the median of the
// pairs' ratios is reported, with the spread. Wall time is what the user waits for; processor time
// (user + system, every thread) is printed beside it because it is steadier on a busy machine.
// Peak memory is each child's own maximum resident set (getrusage through wait4).
//
// Usage: bench_whole_job [--pairs N] [--large-runs N] [--no-large] [--layout 0|1] [--charts 0|1]
//          [--print-layout 0|1] [--questions 0|1] [--keep DIR]
//          --keep: generate the input workbooks into DIR once and reuse them on later calls
//        bench_whole_job --job INPUT.xlsx OUTPUT.xlsx [--layout 0|1] [--charts 0|1] [--print-layout 0|1]
//          [--questions 0|1] [--split 0|1|2]
//          one whole job in this process (for a profiler, or to time the whole command)
//        bench_whole_job --direct RESULT.xlsx OUTPUT.xlsx
//          the direct writing of RESULT's cells in this process
//        bench_whole_job --sample STUDENTS_PER_CLASS CLASSES_PER_SCHOOL OUTPUT.xlsx [--schools N]
//          writes an input workbook (25 schools unless told)
//        --no-split leaves out the 分别导出 measurement; --questions 0 leaves out the question sheet's
//          import and its two reports (what they cost)

#include <expat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/null_frontend.h"
#include "app/subjects.h"
#include "export/export_run.h"
#include "import/open_workbook.h"
#include "import/question_import.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "sample/sample_exam.h"
#include "workbook/workbook_file.h"

namespace {

using namespace varnex;
using Clock = std::chrono::steady_clock;

constexpr const char* kGrade = "高一";  // nine examined subjects
constexpr const char* kTeacherSheet = "教师任课表";
constexpr const char* kQuestionSheet = "数学小题";  // the sample's, 30 questions of 数学
constexpr const char* kQuestionSubject = "数学";
constexpr int kSchools = 25;

/// Answers Yes and keeps the first error.
class BenchFrontend : public NullFrontend {
  public:
    void showMessage(const std::string& text, const std::string&, MessageIcon icon) override {
        if (icon == MessageIcon::Error && error.empty()) error = text;
    }
    std::string error;
};

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double cpuMsNow() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return 1000.0 * static_cast<double>(t.tv_sec) + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// ---------------------------------------------------------------- the whole job

/// What one measured run reports back from its child process.
struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    long peakKb = 0;                          ///< filled in by the parent
    double phaseMs[5] = {0, 0, 0, 0, 0};      ///< open, teachers, students, sheets, save; processor time
    double phaseWallMs[5] = {0, 0, 0, 0, 0};  ///< wall time: open, teachers, students, sheets with the save
    char error[512] = {};
};

constexpr const char* kPhaseNames[] = {"open", "teachers", "students", "sheets", "save"};
constexpr int kPhases = 5;

bool selectSheet(AppState& state, const std::string& name) {
    const auto& names = state.workbook.sheetNames;
    auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) return false;
    state.workbook.selectedSheet = static_cast<int>(it - names.begin());
    return true;
}

int gradeIndex(const std::string& name) {
    for (int g = 0; g < kGradeCount; ++g) {
        if (name == kGradeNames[static_cast<size_t>(g)]) return g;
    }
    return kDefaultGradeIndex;
}

// --charts 0 and --print-layout 0 leave out the chart sheet and the print layout (what they cost).
bool gCharts = true;
bool gPrintLayout = true;
// --split 1 or 2: the job also writes one workbook per school or per class.
SplitFiles gSplit = SplitFiles::None;
// --questions 0 leaves out the question sheet and 小题分析, 小题明细.
bool gQuestions = true;

// Opens `input`, imports its teachers, students and 数学 question scores and exports every report to
// `output`, as the command line's export does with the seeded settings of the grade. The question
// sheet's import counts in the students' phase.
Figures runJob(const std::string& input, const std::string& output, int layout) {
    Figures f;
    const double cpuStart = cpuMsNow();
    const auto start = Clock::now();
    AppState state;
    state.gradeIndex = gradeIndex(kGrade);
    state.scores.fullMark = kGradeSeedFullMarks[static_cast<size_t>(state.gradeIndex)];
    state.scores.excellenceLine.fill(80);
    state.exportOptions = ExportOptions{};
    state.exportOptions.classRankingLayout = layout;
    state.exportOptions.charts = gCharts;  // every report, the 统计图表 too unless --charts 0
    state.exportOptions.printLayout = gPrintLayout;
    state.exportOptions.levelDistribution = true;  // the grade's default cuts
    state.exportOptions.split = gSplit;
    // 四率, 扩展指标 and 学生标准分 with the default lines.
    state.exportOptions.fourRates = state.exportOptions.moreFigures = state.exportOptions.standardScores =
        true;
    state.scores.computeScaled = true;      // the sheet 赋分 of the electives
    state.exportOptions.scoreLines = true;  // 上线分析 against lines by share
    state.scores.lines = *scoreLinesNamed("本科=60%,特控=20%");
    state.exportOptions.questionAnalysis = state.exportOptions.questionDetail = gQuestions;
    state.outputPath = output;
    state.overwriteOutput = true;
    BenchFrontend ui;
    double mark = cpuStart;
    auto wallMark = start;
    auto lap = [&](int phase) {
        const double now = cpuMsNow();
        const auto wallNow = Clock::now();
        f.phaseMs[phase] = now - mark;
        f.phaseWallMs[phase] = msBetween(wallMark, wallNow);
        mark = now;
        wallMark = wallNow;
        return ui.error.empty();
    };
    (void)openWorkbook(state, ui, input);  // a failure is the error the frontend keeps
    bool ok = lap(0);
    if (ok) ok = selectSheet(state, kTeacherSheet);
    if (ok) (void)importTeachers(state, ui);
    if (ok) ok = lap(1);
    if (ok) ok = selectSheet(state, kGrade);
    if (ok) (void)importStudents(state, ui);
    if (ok && gQuestions) (void)importQuestionSheet(state, ui, {input, kQuestionSheet, kQuestionSubject, ""});
    if (ok) ok = lap(2);
    if (ok) {
        state.examNameText = "期末考试";
        Result<ExportOutcome> outcome = exportRun(state, ui);  // the cells released, as in the window
        ok = lap(3);
        double save = 0;
        if (outcome) {
            for (const auto& [family, ms] : outcome->timings) {
                if (family == "save") save = ms;
            }
        }
        f.phaseMs[3] -= save;
        f.phaseMs[4] = save;
    }
    f.wallMs = msBetween(start, Clock::now());
    f.cpuMs = cpuMsNow() - cpuStart;
    if (!ok)
        std::snprintf(f.error, sizeof f.error, "%s", ui.error.empty() ? "sheet missing" : ui.error.c_str());
    return f;
}

// ---------------------------------------------------------------- the produced result's cells

struct DirectCell {
    enum Kind : uint8_t { Blank, Number, Text, FormulaNumber, FormulaText };
    uint32_t row = 0;
    uint16_t column = 0;
    Kind kind = Blank;
    double number = 0;
    std::string text;    ///< the string, or the formula
    std::string result;  ///< a formula's text result
};

struct DirectSheet {
    std::string name;
    bool hidden = false;
    bool active = false;
    struct Width {
        int first, last;
        double width;
    };
    std::vector<Width> widths;
    struct Area {
        int firstRow, firstColumn, lastRow, lastColumn;
    };
    std::vector<Area> merges;
    std::vector<DirectCell> cells;
};

std::string readPart(zip_t* archive, const std::string& name) {
    zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
    if (file == nullptr) return {};
    std::string text;
    char buffer[1 << 16];
    zip_int64_t n;
    while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    zip_fclose(file);
    return text;
}

/// Calls `onStart(name, attributes)`, `onEnd(name, text)` for every element of an XML text.
struct XmlWalk {
    std::function<void(const char*, const char**)> onStart;
    std::function<void(const char*, const std::string&)> onEnd;
    std::string text;

    void run(const std::string& xml) {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        XML_SetUserData(parser, this);
        XML_SetElementHandler(
            parser,
            [](void* self, const char* name, const char** attributes) {
                auto* walk = static_cast<XmlWalk*>(self);
                walk->text.clear();
                if (walk->onStart) walk->onStart(name, attributes);
            },
            [](void* self, const char* name) {
                auto* walk = static_cast<XmlWalk*>(self);
                if (walk->onEnd) walk->onEnd(name, walk->text);
            });
        XML_SetCharacterDataHandler(parser, [](void* self, const char* s, int length) {
            static_cast<XmlWalk*>(self)->text.append(s, static_cast<size_t>(length));
        });
        XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1);
        XML_ParserFree(parser);
    }
};

const char* attribute(const char** attributes, const char* name) {
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        if (std::strcmp(attributes[i], name) == 0) return attributes[i + 1];
    }
    return nullptr;
}

// "AB12" → row 11, column 27.
void cellPosition(const char* ref, uint32_t& row, uint16_t& column) {
    int c = 0;
    while (*ref >= 'A' && *ref <= 'Z') c = c * 26 + (*ref++ - 'A' + 1);
    column = static_cast<uint16_t>(c - 1);
    row = static_cast<uint32_t>(std::atol(ref) - 1);
}

// Every sheet of a result workbook with its cells as they are stored in the file.
std::vector<DirectSheet> readResult(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(2);
    }
    std::map<std::string, std::string> targets;  // relationship id → part
    XmlWalk rels;
    rels.onStart = [&](const char* name, const char** a) {
        if (std::strcmp(name, "Relationship") == 0)
            targets[attribute(a, "Id")] = std::string("xl/") + attribute(a, "Target");
    };
    rels.run(readPart(archive, "xl/_rels/workbook.xml.rels"));

    std::vector<DirectSheet> sheets;
    std::vector<std::string> parts;
    int activeTab = 0;
    XmlWalk book;
    book.onStart = [&](const char* name, const char** a) {
        if (std::strcmp(name, "workbookView") == 0 && attribute(a, "activeTab") != nullptr)
            activeTab = std::atoi(attribute(a, "activeTab"));
        if (std::strcmp(name, "sheet") != 0) return;
        DirectSheet s;
        s.name = attribute(a, "name");
        const char* state = attribute(a, "state");
        s.hidden = state != nullptr && std::strcmp(state, "hidden") == 0;
        sheets.push_back(std::move(s));
        parts.push_back(targets[attribute(a, "r:id")]);
    };
    book.run(readPart(archive, "xl/workbook.xml"));
    if (activeTab < static_cast<int>(sheets.size())) sheets[static_cast<size_t>(activeTab)].active = true;

    std::vector<std::string> strings;
    XmlWalk shared;
    std::string item;
    shared.onEnd = [&](const char* name, const std::string& text) {
        if (std::strcmp(name, "t") == 0) item += text;
        if (std::strcmp(name, "si") == 0) strings.push_back(std::exchange(item, {}));
    };
    shared.run(readPart(archive, "xl/sharedStrings.xml"));

    for (size_t i = 0; i < sheets.size(); ++i) {
        DirectSheet& sheet = sheets[i];
        DirectCell cell;
        std::string type, formula, value;
        bool hasFormula = false;
        XmlWalk walk;
        walk.onStart = [&](const char* name, const char** a) {
            if (std::strcmp(name, "c") == 0) {
                cell = DirectCell{};
                cellPosition(attribute(a, "r"), cell.row, cell.column);
                const char* t = attribute(a, "t");
                type = t != nullptr ? t : "";
                hasFormula = false;
                value.clear();
            } else if (std::strcmp(name, "col") == 0) {
                // The file holds the character width plus the font's padding.
                double width = std::atof(attribute(a, "width"));
                sheet.widths.push_back({std::atoi(attribute(a, "min")) - 1,
                                        std::atoi(attribute(a, "max")) - 1,
                                        width > 1 ? width - 0.7109375 : width});
            } else if (std::strcmp(name, "mergeCell") == 0) {
                DirectSheet::Area area{};
                std::string ref = attribute(a, "ref");
                size_t colon = ref.find(':');
                uint32_t r = 0;
                uint16_t c = 0;
                cellPosition(ref.substr(0, colon).c_str(), r, c);
                area.firstRow = static_cast<int>(r);
                area.firstColumn = c;
                cellPosition(ref.substr(colon + 1).c_str(), r, c);
                area.lastRow = static_cast<int>(r);
                area.lastColumn = c;
                sheet.merges.push_back(area);
            }
        };
        walk.onEnd = [&](const char* name, const std::string& text) {
            if (std::strcmp(name, "f") == 0) {
                formula = text;
                hasFormula = true;
            } else if (std::strcmp(name, "v") == 0) {
                value = text;
            } else if (std::strcmp(name, "c") == 0) {
                if (hasFormula) {
                    cell.text = formula;
                    if (type == "str") {
                        cell.kind = DirectCell::FormulaText;
                        cell.result = value;
                    } else {
                        cell.kind = DirectCell::FormulaNumber;
                        cell.number = std::atof(value.c_str());
                    }
                } else if (type == "s") {
                    cell.kind = DirectCell::Text;
                    cell.text = strings[static_cast<size_t>(std::atol(value.c_str()))];
                } else if (!value.empty()) {
                    cell.kind = DirectCell::Number;
                    cell.number = std::atof(value.c_str());
                }
                sheet.cells.push_back(std::move(cell));
            }
        };
        walk.run(readPart(archive, parts[i]));
    }
    zip_close(archive);
    return sheets;
}

// Writes the cells straight through libxlsxwriter, as a program that knows its output would.
void writeDirect(const std::vector<DirectSheet>& sheets, const std::string& path) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;  // merged areas need it
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    lxw_format* box = workbook_add_format(workbook);
    format_set_border(box, LXW_BORDER_THIN);
    format_set_align(box, LXW_ALIGN_CENTER);
    for (const DirectSheet& sheet : sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(workbook, sheet.name.c_str());
        if (sheet.hidden) worksheet_hide(ws);
        if (sheet.active) worksheet_activate(ws);
        for (const auto& w : sheet.widths)
            worksheet_set_column(ws, static_cast<lxw_col_t>(w.first), static_cast<lxw_col_t>(w.last), w.width,
                                 nullptr);
        for (const auto& m : sheet.merges)
            worksheet_merge_range(ws, static_cast<lxw_row_t>(m.firstRow),
                                  static_cast<lxw_col_t>(m.firstColumn), static_cast<lxw_row_t>(m.lastRow),
                                  static_cast<lxw_col_t>(m.lastColumn), "", nullptr);
        for (const DirectCell& c : sheet.cells) {
            switch (c.kind) {
                case DirectCell::Blank:
                    worksheet_write_blank(ws, c.row, c.column, box);
                    break;
                case DirectCell::Number:
                    worksheet_write_number(ws, c.row, c.column, c.number, box);
                    break;
                case DirectCell::Text:
                    worksheet_write_string(ws, c.row, c.column, c.text.c_str(), box);
                    break;
                case DirectCell::FormulaNumber:
                    worksheet_write_formula_num(ws, c.row, c.column, c.text.c_str(), box, c.number);
                    break;
                case DirectCell::FormulaText:
                    worksheet_write_formula_str(ws, c.row, c.column, c.text.c_str(), box, c.result.c_str());
                    break;
            }
        }
    }
    if (workbook_close(workbook) != LXW_NO_ERROR) {
        std::fprintf(stderr, "direct writing failed\n");
        std::exit(2);
    }
}

// The direct writing of `result`'s cells; the reading of the result is not timed.
Figures runDirect(const std::string& result, const std::string& output) {
    const std::vector<DirectSheet> sheets = readResult(result);
    Figures f;
    const double cpuStart = cpuMsNow();
    const auto start = Clock::now();
    writeDirect(sheets, output);
    f.wallMs = msBetween(start, Clock::now());
    f.cpuMs = cpuMsNow() - cpuStart;
    return f;
}

struct ResultShape {
    size_t sheets = 0, cells = 0, formulas = 0, merges = 0;
};

ResultShape shapeOf(const std::string& result) {
    ResultShape shape;
    for (const DirectSheet& s : readResult(result)) {
        ++shape.sheets;
        shape.cells += s.cells.size();
        shape.merges += s.merges.size();
        for (const DirectCell& c : s.cells)
            shape.formulas += c.kind == DirectCell::FormulaNumber || c.kind == DirectCell::FormulaText;
    }
    return shape;
}

// ---------------------------------------------------------------- child processes

// Reads a child's figures from `fd` and waits for it; its peak memory from wait4.
Figures collectChild(pid_t pid, int fd) {
    Figures f;
    ssize_t got = read(fd, &f, sizeof f);
    close(fd);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got != static_cast<ssize_t>(sizeof f) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a measured run failed\n");
        std::exit(2);
    }
    f.peakKb = usage.ru_maxrss;
    return f;
}

// Runs `work` in a child process; its figures, with the child's peak memory.
Figures inChild(const std::function<Figures()>& work) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(2);
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Figures f = work();
        if (write(fds[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) _exit(3);
        _exit(0);
    }
    close(fds[1]);
    return collectChild(pid, fds[0]);
}

// Runs this program afresh with `args` (a --job or --direct run) and "--figures-fd": the child
// starts with none of this process's memory, so its peak is the run's own.
Figures inFreshProcess(std::vector<std::string> args) {
    int fds[2];
    if (pipe(fds) != 0) std::exit(2);
    std::fflush(stdout);
    args.insert(args.end(),
                {"--charts", gCharts ? "1" : "0", "--print-layout", gPrintLayout ? "1" : "0", "--questions",
                 gQuestions ? "1" : "0", "--split", std::to_string(static_cast<int>(gSplit)), "--figures-fd",
                 std::to_string(fds[1])});
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::vector<char*> argv{const_cast<char*>("bench_whole_job")};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv("/proc/self/exe", argv.data());
        _exit(4);
    }
    close(fds[1]);
    return collectChild(pid, fds[0]);
}

Figures freshJob(const std::string& input, const std::string& output, int layout) {
    return inFreshProcess({"--job", input, output, "--layout", std::to_string(layout)});
}

Figures freshDirect(const std::string& result, const std::string& output) {
    return inFreshProcess({"--direct", result, output});
}

void makeSample(int perClass, int classesPerSchool, const std::string& path, int schools = kSchools) {
    ExcelSession session;
    SampleOptions options;
    options.gradeIndex = gradeIndex(kGrade);
    options.schools = schools;
    options.classesPerSchool = classesPerSchool;
    options.studentsPerClass = perClass;
    options.questionSheet = true;
    buildSampleExam(session, options);
    Result<std::string> saved = saveWorkbook(session.workbook(), {.exactPath = path, .overwrite = true});
    if (!saved) {
        std::fprintf(stderr, "%s\n", saved.error().c_str());
        std::exit(2);
    }
}

// A sample workbook at `path`, generated in a child process unless it is there.
void ensureSample(int perClass, int classesPerSchool, const std::string& path, int schools = kSchools) {
    if (std::filesystem::exists(path)) return;
    std::printf("generating %s …\n", path.c_str());
    inChild([&] {
        makeSample(perClass, classesPerSchool, path, schools);
        return Figures{};
    });
}

// ---------------------------------------------------------------- statistics

struct Spread {
    double min, median, max;
};

Spread spreadOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    double median = n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {v.front(), median, v.back()};
}

std::string show(const Spread& s, const char* format) {
    char median[32], min[32], max[32];
    std::snprintf(median, sizeof median, format, s.median);
    std::snprintf(min, sizeof min, format, s.min);
    std::snprintf(max, sizeof max, format, s.max);
    return std::string(median) + " (" + min + " … " + max + ")";
}

template <class Field>
std::vector<double> column(const std::vector<Figures>& runs, Field field) {
    std::vector<double> v;
    for (const Figures& f : runs) v.push_back(field(f));
    return v;
}

void checkRun(const Figures& f) {
    if (f.error[0] != '\0') {
        std::fprintf(stderr, "the job failed: %s\n", f.error);
        std::exit(2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int pairs = 5;
    int largeRuns = 3;
    bool large = true;
    bool split = true;
    int schools = kSchools;
    int layout = 1;
    std::string keep;
    int figuresFd = -1;  // a measured run started by inFreshProcess: its figures go there
    std::vector<std::string> positional;
    std::string mode;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--pairs" && i + 1 < argc) {
            pairs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--large-runs" && i + 1 < argc) {
            largeRuns = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--no-large") {
            large = false;
        } else if (a == "--no-split") {
            split = false;
        } else if (a == "--split" && i + 1 < argc) {
            gSplit = static_cast<SplitFiles>(std::clamp(std::atoi(argv[++i]), 0, 2));
        } else if (a == "--schools" && i + 1 < argc) {
            schools = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--layout" && i + 1 < argc) {
            layout = std::atoi(argv[++i]) != 0 ? 1 : 0;
        } else if (a == "--charts" && i + 1 < argc) {
            gCharts = std::atoi(argv[++i]) != 0;
        } else if (a == "--print-layout" && i + 1 < argc) {
            gPrintLayout = std::atoi(argv[++i]) != 0;
        } else if (a == "--questions" && i + 1 < argc) {
            gQuestions = std::atoi(argv[++i]) != 0;
        } else if (a == "--figures-fd" && i + 1 < argc) {
            figuresFd = std::atoi(argv[++i]);
        } else if (a == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else if (a == "--job" || a == "--direct" || a == "--sample") {
            mode = a;
        } else {
            positional.push_back(a);
        }
    }
    if (mode == "--job" && positional.size() == 2) {
        Figures f = runJob(positional[0], positional[1], layout);
        if (figuresFd >= 0) return write(figuresFd, &f, sizeof f) == static_cast<ssize_t>(sizeof f) ? 0 : 3;
        checkRun(f);
        std::printf("whole job %.0f ms (processor %.0f ms)\n", f.wallMs, f.cpuMs);
        return 0;
    }
    if (mode == "--direct" && positional.size() == 2) {
        Figures f = runDirect(positional[0], positional[1]);
        if (figuresFd >= 0) return write(figuresFd, &f, sizeof f) == static_cast<ssize_t>(sizeof f) ? 0 : 3;
        std::printf("direct writing %.0f ms (processor %.0f ms)\n", f.wallMs, f.cpuMs);
        return 0;
    }
    if (mode == "--sample" && positional.size() == 3) {
        makeSample(std::atoi(positional[0].c_str()), std::atoi(positional[1].c_str()), positional[2],
                   schools);
        return 0;
    }
    if (!mode.empty() || !positional.empty()) {
        std::fprintf(stderr, "usage: see the comment at the top of bench/whole_job.cpp\n");
        return 2;
    }

    std::string folder = (std::filesystem::temp_directory_path() / "varnex-bench-job-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 2;
    const std::string inputs = keep.empty() ? folder : keep;
    std::filesystem::create_directories(inputs);
    // Named anew since the samples hold a question sheet: a kept folder's older ones lack it.
    const std::string small = inputs + "/exam-20000-q.xlsx";
    const std::string big = inputs + "/exam-200000-q.xlsx";
    ensureSample(50, 16, small);
    if (large) ensureSample(80, 100, big);
    const std::string result = folder + "/result.xlsx";
    const std::string direct = folder + "/direct.xlsx";

    std::printf(
        "== 20,000 students, %d schools, 400 classes, 9 subjects, every report%s (class ranking layout %d)\n",
        kSchools, gQuestions ? " with 30 questions of 数学" : "", layout);
    checkRun(freshJob(small, result, layout));  // warm-up, and the result's cells
    const ResultShape shape = shapeOf(result);
    std::printf("   result: %zu sheets, %zu cells (%zu formulas), %zu merged areas, %ju KB\n", shape.sheets,
                shape.cells, shape.formulas, shape.merges,
                static_cast<uintmax_t>(std::filesystem::file_size(result) / 1024));
    const std::string reference = folder + "/reference.xlsx";
    std::filesystem::copy_file(result, reference, std::filesystem::copy_options::overwrite_existing);

    std::vector<Figures> jobs, directs;
    std::vector<double> wallRatios, cpuRatios;
    for (int i = 0; i < pairs; ++i) {
        jobs.push_back(freshJob(small, result, layout));
        checkRun(jobs.back());
        directs.push_back(freshDirect(reference, direct));
        wallRatios.push_back(jobs.back().wallMs / directs.back().wallMs);
        cpuRatios.push_back(jobs.back().cpuMs / directs.back().cpuMs);
        std::printf(
            "   pair %d: job %.0f ms (processor %.0f), direct %.0f ms (processor %.0f): %.2fx wall, %.2fx "
            "processor\n",
            i + 1, jobs.back().wallMs, jobs.back().cpuMs, directs.back().wallMs, directs.back().cpuMs,
            wallRatios.back(), cpuRatios.back());
    }
    auto wall = [](const Figures& f) { return f.wallMs; };
    auto cpu = [](const Figures& f) { return f.cpuMs; };
    auto peak = [](const Figures& f) { return static_cast<double>(f.peakKb) / 1024; };
    std::printf("   phases of the job (processor ms, medians):");
    for (int p = 0; p < kPhases; ++p)
        std::printf(" %s %.0f", kPhaseNames[p],
                    spreadOf(column(jobs, [p](const Figures& f) { return f.phaseMs[p]; })).median);
    std::printf("\n   wall ms, medians:");
    for (int p = 0; p < kPhases - 1; ++p)
        std::printf(" %s %.0f", p == 3 ? "sheets+save" : kPhaseNames[p],
                    spreadOf(column(jobs, [p](const Figures& f) { return f.phaseWallMs[p]; })).median);
    std::printf("\n   whole job:      %s ms wall, %s ms processor, peak %s MB\n",
                show(spreadOf(column(jobs, wall)), "%.0f").c_str(),
                show(spreadOf(column(jobs, cpu)), "%.0f").c_str(),
                show(spreadOf(column(jobs, peak)), "%.0f").c_str());
    std::printf("   direct writing: %s ms wall, %s ms processor, peak %s MB\n",
                show(spreadOf(column(directs, wall)), "%.0f").c_str(),
                show(spreadOf(column(directs, cpu)), "%.0f").c_str(),
                show(spreadOf(column(directs, peak)), "%.0f").c_str());
    const Spread wallRatio = spreadOf(wallRatios);
    const Spread cpuRatio = spreadOf(cpuRatios);
    std::printf("   job / direct, median of %d pairs: %s wall, %s processor (goal <= 1.3)\n", pairs,
                show(wallRatio, "%.2f").c_str(), show(cpuRatio, "%.2f").c_str());
    bool met = wallRatio.median <= 1.3;

    if (large) {
        std::printf("\n== 200,000 students, %d schools, 2,500 classes\n", kSchools);
        std::vector<Figures> bigJobs, smallJobs;
        std::vector<double> wallScales, cpuScales;
        for (int i = 0; i < largeRuns; ++i) {
            bigJobs.push_back(freshJob(big, result, layout));
            checkRun(bigJobs.back());
            smallJobs.push_back(freshJob(small, result, layout));
            wallScales.push_back(bigJobs.back().wallMs / smallJobs.back().wallMs);
            cpuScales.push_back(bigJobs.back().cpuMs / smallJobs.back().cpuMs);
            std::printf(
                "   run %d: %.0f ms (processor %.0f), peak %ld MB; the 20,000 job beside it %.0f ms: %.2fx\n",
                i + 1, bigJobs.back().wallMs, bigJobs.back().cpuMs, bigJobs.back().peakKb / 1024,
                smallJobs.back().wallMs, wallScales.back());
        }
        std::printf("   phases of the job (processor ms, medians):");
        for (int p = 0; p < kPhases; ++p)
            std::printf(" %s %.0f", kPhaseNames[p],
                        spreadOf(column(bigJobs, [p](const Figures& f) { return f.phaseMs[p]; })).median);
        const Spread peakMb = spreadOf(column(bigJobs, peak));
        const Spread wallScale = spreadOf(wallScales);
        std::printf("\n   peak memory %s MB (goal <= 600)\n", show(peakMb, "%.0f").c_str());
        std::printf("   200,000 / 20,000 students, median of %d runs: %s wall, %s processor (goal <= 10.5)\n",
                    largeRuns, show(wallScale, "%.2f").c_str(), show(spreadOf(cpuScales), "%.2f").c_str());
        met = met && peakMb.median <= 600 && wallScale.median <= 10.5;
    }
    if (split) {
        // 240 schools of 10 classes of 83 students: 199,200 students.
        constexpr int kSplitSchools = 240;
        const std::string schoolsInput = inputs + "/exam-200000-240-q.xlsx";
        ensureSample(83, 10, schoolsInput, kSplitSchools);
        std::printf(
            "\n== 200,000 students, %d schools, 2,400 classes: 分别导出 按学校 against the whole workbook\n",
            kSplitSchools);
        std::vector<double> splitWall, splitCpu;
        auto exportCpu = [](const Figures& f) { return f.phaseMs[3] + f.phaseMs[4]; };
        for (int i = 0; i < largeRuns; ++i) {
            gSplit = SplitFiles::None;
            const Figures whole = freshJob(schoolsInput, result, layout);
            checkRun(whole);
            gSplit = SplitFiles::BySchool;
            const Figures parts = freshJob(schoolsInput, result, layout);
            checkRun(parts);
            gSplit = SplitFiles::None;
            splitWall.push_back(parts.phaseWallMs[3] / whole.phaseWallMs[3]);
            splitCpu.push_back(exportCpu(parts) / exportCpu(whole));
            std::printf(
                "   run %d: export of the whole workbook %.0f ms (processor %.0f), peak %ld MB; with the %d "
                "schools' workbooks %.0f ms (processor %.0f), peak %ld MB: %.2fx wall, %.2fx processor\n",
                i + 1, whole.phaseWallMs[3], exportCpu(whole), whole.peakKb / 1024, kSplitSchools,
                parts.phaseWallMs[3], exportCpu(parts), parts.peakKb / 1024, splitWall.back(),
                splitCpu.back());
            std::filesystem::remove_all(folder + "/result");
        }
        const Spread splitRatio = spreadOf(splitWall);
        std::printf("   split / whole export, median of %d runs: %s wall, %s processor (goal <= 2)\n",
                    largeRuns, show(splitRatio, "%.2f").c_str(), show(spreadOf(splitCpu), "%.2f").c_str());
        met = met && splitRatio.median <= 2;
    }
    std::filesystem::remove_all(folder);
    std::printf("\n%s\n", met ? "goals met" : "GOAL MISSED");
    return met ? 0 : 1;
}
