// Golden dumps: every result workbook that the fixtures and the sample exams produce is rebuilt
// through the real commands (open, import teachers and students, the previous exam, export) and
// its text dump compared with the one committed in tests/golden/dumps/<scenario>.txt.
//
// To write the dumps instead of comparing, run the test with VARNEX_UPDATE_GOLDEN=1:
//     VARNEX_UPDATE_GOLDEN=1 build/tests/golden/golden_tests
// A dump changes only in a commit that says why the workbook it shows changed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "export/export_run.h"
#include "export/template_generator.h"
#include "import/open_workbook.h"
#include "import/previous_exam.h"
#include "import/student_import.h"
#include "import/teacher_import.h"
#include "readers/workbook_reader.h"
#include "sample/sample_exam.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/input_workbook.h"
#include "tests/support/model_dump.h"
#include "tests/support/progress_exams.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace varnex::testing {
namespace {

// Answers every question Yes and the question for a school with `school`, as a user who goes
// along with every step would.
class AgreeingFrontend : public ScriptedFrontend {
  public:
    bool askYesNo(const std::string& text, const std::string& caption) override {
        questions.push_back({text, caption, MessageIcon::Information});
        return true;
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override {
        textQuestions.push_back({prompt, caption, MessageIcon::None});
        textOffers.push_back(initial);
        return school;
    }
    std::string school;
};

void expectNoError(const ScriptedFrontend& frontend, const std::string& step) {
    for (const RecordedMessage& m : frontend.messages)
        EXPECT_NE(m.icon, MessageIcon::Error) << step << ": " << m.text;
}

bool select(WorkbookState& workbook, const std::string& name) {
    for (size_t i = 0; i < workbook.sheetNames.size(); ++i) {
        if (workbook.sheetNames[i] == name) {
            workbook.selectedSheet = static_cast<int>(i);
            return true;
        }
    }
    ADD_FAILURE() << "no sheet " << name;
    return false;
}

// The dump of the workbook an export built, or "" (after a failure) when it built none.
std::string exported(AppState& state, ScriptedFrontend& frontend) {
    std::optional<WorkbookModel> workbook;
    Result<ExportOutcome> outcome = exportRun(state, frontend, {true, &workbook});
    EXPECT_TRUE(outcome.ok()) << (outcome.ok() ? "" : outcome.error());
    expectNoError(frontend, "export");
    if (!workbook) {
        ADD_FAILURE() << "no workbook was built";
        return {};
    }
    return dumpWorkbook(*workbook);
}

// A state whose settings are a newly seeded settings file in `dir`, changed by `settings`, for
// the grade.
void seedSettings(AppState& state, const TempDir& dir, int gradeIndex,
                  const std::function<void(IniFile&)>& settings = {}) {
    state.gradeIndex = gradeIndex;
    state.settingsPath = settingsPath(dir.path() + "/");
    seedIfMissing(state.settingsPath);
    if (settings) {
        IniFile ini = IniFile::load(state.settingsPath);
        settings(ini);
        EXPECT_TRUE(ini.save(state.settingsPath));
    }
    EXPECT_TRUE(loadGrade(state.settingsPath, state.gradeName(), state.scores, state.exportOptions));
    // The dumps are of the three rates alone unless a scenario turns 四率 on, as a seeded file does.
    state.exportOptions.fourRates = false;
}

// The rows of a worksheet of a saved workbook, its first row first.
std::vector<std::vector<std::string>> sheetRows(const std::string& path, const std::string& sheetName) {
    std::vector<std::vector<std::string>> rows;
    auto reader = openWorkbookReader(path);
    if (!reader) {
        ADD_FAILURE() << reader.error();
        return rows;
    }
    const auto& names = (*reader)->sheetNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != sheetName) continue;
        auto stream = (*reader)->openSheet(i);
        if (!stream) {
            ADD_FAILURE() << stream.error();
            return rows;
        }
        SheetRow row;
        for (Result<bool> more = (*stream)->next(row); more && *more; more = (*stream)->next(row))
            rows.push_back(row.cells);
    }
    return rows;
}

// ---------------------------------------------------------------- the sample exams

struct SampleRun {
    bool teachers = true;
    bool previous = true;
    bool blankScoresExcluded = false;
    int classRankingLayout = 0;
    bool fourRates = false;  ///< 四率, 扩展指标 and 学生标准分 besides
};

// A small generated exam of 七年级 (2 schools, 2 classes each, 5 students a class, fixed seed),
// imported from its saved workbook with every report chosen, 统计图表, 进退步 against a generated
// earlier exam and 临界生 included.
std::string sampleExam(const SampleRun& run) {
    TempDir dir;
    SampleOptions options;
    options.schools = 2;
    options.classesPerSchool = 2;
    options.studentsPerClass = 5;
    options.seed = 7;
    const std::string input = dir.file("样本.xlsx");
    SampleSummary summary;
    {
        ExcelSession session;
        summary = buildSampleExam(session, options);
        auto saved = saveWorkbook(session.workbook(), {.exactPath = input});
        EXPECT_TRUE(saved) << saved.error();
    }
    AppState state;
    AgreeingFrontend frontend;
    seedSettings(state, dir, options.gradeIndex);
    EXPECT_TRUE(openWorkbook(state, frontend, input));
    if (run.teachers && select(state.workbook, summary.teacherSheet)) {
        EXPECT_TRUE(importTeachers(state, frontend));
    }
    if (select(state.workbook, summary.scoreSheet)) {
        EXPECT_TRUE(importStudents(state, frontend));
    }
    expectNoError(frontend, "import");
    ExportOptions& o = state.exportOptions;
    o.gradeRates = o.classRates = o.subjectBands = o.totalBands = o.totalRankBands = o.topNEnabled =
        o.classRanking = o.charts = o.nearLine = true;
    o.teacherRates = run.teachers;
    o.topN = 8;
    o.nearBand = 15;
    o.classRankingLayout = run.classRankingLayout;
    o.blankScoresExcluded = run.blankScoresExcluded;
    o.progress = run.previous;
    o.fourRates = o.moreFigures = o.standardScores = run.fourRates;
    if (run.previous) {
        const std::string earlier = dir.file("上次.xlsx");
        ExcelSession session;
        buildEarlierExam(session, sheetRows(input, summary.scoreSheet), summary.scoreSheet,
                         options.gradeIndex, options.seed + 1);
        auto saved = saveWorkbook(session.workbook(), {.exactPath = earlier});
        EXPECT_TRUE(saved) << saved.error();
        EXPECT_TRUE(openPreviousWorkbook(state, frontend, earlier) && importPreviousExam(state, frontend));
        expectNoError(frontend, "previous exam");
    }
    state.examNameText = "期中考试";
    state.outputPath = dir.file("结果.xlsx");
    return exported(state, frontend);
}

// ---------------------------------------------------------------- the hand-worked exams

void everyReport(ExportOptions& o) {
    o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
        o.topNEnabled = o.classRanking = o.charts = true;
    o.topN = 5;
}

std::string examDump(Exam& exam) {
    const ExamRun& outcome = exam.run();
    EXPECT_TRUE(outcome.completed);
    return outcome.workbook ? dumpWorkbook(*outcome.workbook) : std::string();
}

// Two schools, three classes: 一中 1 and 2, 二中 1; 语文 and 数学 of 100 each.
std::string twoSchools(int layout) {
    Exam exam;
    exam.subjects({{"语文", 100}, {"数学", 100}});
    exam.student("一中", "1", "甲", "180", {"90", "90"});
    exam.student("一中", "1", "乙", "121.5", {"60", "61.5"});
    exam.student("一中", "2", "丙", "150", {"80", "70"});
    exam.student("一中", "2", "丁", "40", {"0", "40"});
    exam.student("二中", "1", "戊", "200", {"100", "100"});
    exam.student("二中", "1", "己", "99", {"50", "49"});
    exam.imported().teachers().only([&](ExportOptions& o) {
        everyReport(o);
        o.classRankingLayout = layout;
    });
    return examDump(exam);
}

// The senior-high exam of 语数英 (150) and three of six electives (100) each, with blank scores
// and texts such as 缺考, under either counting rule; `zeroIgnored`: scores of 0 left out of the
// class and teacher rates.
std::string electives(bool excluded, bool zeroIgnored = false) {
    Exam exam;
    electivesExam(exam);
    exam.only(everyReport);
    exam.state.exportOptions.blankScoresExcluded = excluded;
    exam.state.exportOptions.ignoreZeroScores = zeroIgnored;
    return examDump(exam);
}

// 25 students in two schools with totals 100 … 76, and a class with ties: the band and ranking
// sheets at their edges.
std::string bandsAndTies() {
    Exam exam;
    for (int i = 0; i < 25; ++i)
        exam.student(i % 2 == 0 ? "一中" : "二中", "1", "学生" + std::to_string(i), std::to_string(100 - i));
    for (const char* total : {"90", "80", "95", "70", "98", "88", "60", "95", "85"})
        exam.student("一中", "2", std::string("并列") + total, total);
    exam.imported().only([](ExportOptions& o) {
        o.totalBands = o.totalRankBands = o.topNEnabled = o.classRanking = true;
        o.topN = 12;
        o.classRankingLayout = 0;
    });
    return examDump(exam);
}

// The two exams of progress_exams.h imported from their workbooks, every report, 进退步 and 临界生
// within 5 points.
std::string progressPair(bool excluded) {
    Exam exam;
    exam.state.workbook = {};
    exam.state.scores.fullMark = {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0};
    exam.state.scores.excellenceLine.fill(80);
    writeInputWorkbook(exam.dir.file("本次.xlsx"), {{"成绩", kThisExamRows}});
    writeInputWorkbook(exam.dir.file("上次.xlsx"), {{"成绩", kPreviousExamRows}});
    AgreeingFrontend frontend;
    EXPECT_TRUE(openWorkbook(exam.state, frontend, exam.dir.file("本次.xlsx")));
    exam.state.workbook.selectedSheet = 0;
    EXPECT_TRUE(importStudents(exam.state, frontend));
    EXPECT_TRUE(openPreviousWorkbook(exam.state, frontend, exam.dir.file("上次.xlsx")) &&
                importPreviousExam(exam.state, frontend));
    expectNoError(frontend, "import");
    exam.only([&](ExportOptions& o) {
        everyReport(o);
        o.teacherRates = false;
        o.progress = o.nearLine = true;
        o.nearBand = 5;
        o.blankScoresExcluded = excluded;
    });
    exam.state.examNameText = "期中考试";
    return exported(exam.state, frontend);
}

// ---------------------------------------------------------------- the committed fixture files

struct FileRun {
    std::string file;
    std::string scores;
    std::string grade;
    std::string teachers;  ///< the teacher sheet, when imported
    std::string school;    ///< the answer to the question for a school
    /// The full mark of every examined subject, all others 0 (none: as seeded).
    std::vector<std::pair<std::string, std::string>> fullMarks;
    int missingRule = 2;
    bool excellence80 = false;  ///< every subject's excellence line at 80 %
};

const std::vector<std::pair<std::string, std::string>> kChineseMathsEnglish = {
    {"语文", "150"}, {"数学", "150"}, {"英语", "150"}};

// A fixture workbook exported as varnex-cli exports it with a newly seeded settings file (every
// report of it, 统计图表 included) and every incomplete student kept.
std::string fixtureFile(const FileRun& run) {
    TempDir dir;
    AppState state;
    AgreeingFrontend frontend;
    frontend.school = run.school;
    int grade = -1;
    for (int g = 0; g < kGradeCount; ++g) {
        if (kGradeNames[static_cast<size_t>(g)] == run.grade) grade = g;
    }
    EXPECT_GE(grade, 0);
    seedSettings(state, dir, grade, [&](IniFile& ini) {
        if (run.fullMarks.empty()) return;
        for (const auto& subject : kSubjects) {
            std::string mark = "0";
            for (const auto& [name, full] : run.fullMarks) {
                if (name == subject.name) mark = full;
            }
            ini.set(run.grade, subject.name, mark);
            if (run.excellence80) ini.set(run.grade, std::string(subject.name) + "优秀率", "80");
        }
    });
    state.importOptions.missingRule = run.missingRule;
    const std::string path = run.file.find('/') == std::string::npos ? fixture(run.file) : run.file;
    EXPECT_TRUE(openWorkbook(state, frontend, path));
    if (!run.teachers.empty() && select(state.workbook, run.teachers)) {
        EXPECT_TRUE(importTeachers(state, frontend));
    }
    if (select(state.workbook, run.scores)) {
        EXPECT_TRUE(importStudents(state, frontend));
    }
    expectNoError(frontend, "import");
    if (run.teachers.empty()) state.exportOptions.teacherRates = false;
    state.examNameText = "期中";
    state.outputPath = dir.file("结果.xlsx");
    return exported(state, frontend);
}

// A teacher sheet as schools keep it, one row per subject with several classes in one cell
// (1、2班, 1-2, 1，2), beside a score sheet of two schools.
std::string joinedClassTeachers() {
    TempDir dir;
    writeInputWorkbook(dir.file("合班.xlsx"), {{"合班",
                                                {{"学校", "班级", "科目", "任课教师"},
                                                 {"一中", "1、2班", "语文", "张三"},
                                                 {"一中", "1", "数学", "李四"},
                                                 {"一中", "２班", "数学", "王五"},
                                                 {"一中", "1-2", "英语", "赵六"},
                                                 {"一中", "1，2", "物理", "钱七"},
                                                 {"二中", "1", "语文", "周一"},
                                                 {"二中", "1", "数学", "吴二"},
                                                 {"二中", "1", "英语", "郑三"},
                                                 {"二中", "1", "物理", "钱七"}}},
                                               {"成绩",
                                                {{"学校", "班级", "姓名", "语文", "数学", "英语", "物理"},
                                                 {"一中", "1", "甲", "95", "88", "72", "60"},
                                                 {"一中", "1", "乙", "58", "91", "85", "77"},
                                                 {"一中", "2", "丙", "81", "45", "90", "99"},
                                                 {"一中", "2", "丁", "66", "73", "59", "84"},
                                                 {"二中", "1", "戊", "88", "97", "61", "52"}}}});
    return fixtureFile({.file = dir.file("合班.xlsx"),
                        .scores = "成绩",
                        .grade = "七年级",
                        .teachers = "合班",
                        .fullMarks = {{"语文", "100"}, {"数学", "100"}, {"英语", "100"}, {"物理", "100"}},
                        .missingRule = 0,
                        .excellence80 = true});
}

// ---------------------------------------------------------------- the import templates

std::string templates() {
    ExcelSession session;
    session.AddWorkbook(OmittedArgument);
    session.AddSheets(10);
    writeTemplateSheets(session);
    return dumpWorkbook(session.workbook());
}

// ---------------------------------------------------------------- the scenarios

struct Scenario {
    const char* name;
    std::function<std::string()> dump;
};

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = {
        {"sample_every_report_class_sheets", [] { return sampleExam({}); }},
        {"sample_every_report_one_sheet_blank_excluded",
         [] { return sampleExam({.blankScoresExcluded = true, .classRankingLayout = 1}); }},
        {"sample_without_teachers_or_previous",
         [] { return sampleExam({.teachers = false, .previous = false, .classRankingLayout = 1}); }},
        {"sample_four_rates_more_figures_standard_scores",
         [] {
             return sampleExam({.blankScoresExcluded = true, .classRankingLayout = 1, .fourRates = true});
         }},
        {"two_schools_class_sheets", [] { return twoSchools(0); }},
        {"two_schools_one_sheet", [] { return twoSchools(1); }},
        {"electives_blank_as_zero", [] { return electives(false); }},
        {"electives_blank_excluded", [] { return electives(true); }},
        {"electives_zero_scores_ignored", [] { return electives(false, true); }},
        {"bands_and_ties", [] { return bandsAndTies(); }},
        {"progress_pair", [] { return progressPair(false); }},
        {"progress_pair_blank_excluded", [] { return progressPair(true); }},
        {"platform_physics_xlsx",
         [] {
             return fixtureFile({.file = "platform_sheets.xlsx",
                                 .scores = "高二物理类",
                                 .grade = "高二",
                                 .teachers = "任课教师",
                                 .school = "育才中学"});
         }},
        {"platform_physics_xls",
         [] {
             return fixtureFile({.file = "platform_sheets.xls",
                                 .scores = "高二物理类",
                                 .grade = "高二",
                                 .teachers = "任课教师",
                                 .school = "育才中学"});
         }},
        {"platform_monthly_test",
         [] {
             return fixtureFile({.file = "platform_sheets.xlsx",
                                 .scores = "初二月考",
                                 .grade = "八年级",
                                 .school = "育才中学"});
         }},
        {"web_page_xls",
         [] {
             return fixtureFile({.file = "网页成绩.xls",
                                 .scores = "成绩",
                                 .grade = "七年级",
                                 .teachers = "教师任课表",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"xml_spreadsheet_xls",
         [] {
             return fixtureFile({.file = "表格2003.xls",
                                 .scores = "成绩",
                                 .grade = "七年级",
                                 .teachers = "教师任课表",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"csv",
         [] {
             return fixtureFile({.file = "成绩.csv",
                                 .scores = "成绩",
                                 .grade = "七年级",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"web_page_title_row",
         [] {
             return fixtureFile({.file = "网页成绩-标题.xls",
                                 .scores = "七年级 期中成绩",
                                 .grade = "七年级",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"xml_spreadsheet_title_row",
         [] {
             return fixtureFile({.file = "表格2003-标题.xml",
                                 .scores = "七年级",
                                 .grade = "七年级",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"students_cases_xls",
         [] {
             return fixtureFile({.file = "students_cases.xls",
                                 .scores = "成绩",
                                 .grade = "七年级",
                                 .fullMarks = kChineseMathsEnglish});
         }},
        {"workbook_et",
         [] {
             return fixtureFile({.file = "workbook_xls.et",
                                 .scores = "成绩",
                                 .grade = "七年级",
                                 .fullMarks = {{"语文", "150"}, {"数学", "150"}},
                                 .missingRule = 0});
         }},
        {"joined_class_teachers", [] { return joinedClassTeachers(); }},
        {"import_templates", [] { return templates(); }},
    };
    return all;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The first lines where the two texts differ, numbered from 1.
std::string firstDifferences(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> want = linesOf(expected);
    const std::vector<std::string> got = linesOf(actual);
    std::ostringstream out;
    int shown = 0;
    for (size_t i = 0; i < std::max(want.size(), got.size()) && shown < 10; ++i) {
        const std::string* w = i < want.size() ? &want[i] : nullptr;
        const std::string* g = i < got.size() ? &got[i] : nullptr;
        if (w && g && *w == *g) continue;
        out << "line " << i + 1 << "\n  committed: " << (w ? *w : "(none)")
            << "\n  built:     " << (g ? *g : "(none)") << "\n";
        ++shown;
    }
    out << "(" << want.size() << " committed lines, " << got.size() << " built)";
    return out.str();
}

class Golden : public ::testing::TestWithParam<size_t> {};

TEST_P(Golden, WorkbookEqualsItsCommittedDump) {
    const Scenario& scenario = scenarios()[GetParam()];
    const std::string built = scenario.dump();
    ASSERT_FALSE(built.empty());
    const std::string path = std::string(VARNEX_GOLDEN_DUMPS) + "/" + scenario.name + ".txt";
    const char* update = std::getenv("VARNEX_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        writeFile(path, built);
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "no committed dump " << path << " (run with VARNEX_UPDATE_GOLDEN=1 to write it)";
    const std::string committed = readFile(path);
    if (committed != built)
        FAIL() << scenario.name << " differs from " << path << ":\n" << firstDifferences(committed, built);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Golden, ::testing::Range<size_t>(0, scenarios().size()),
                         [](const ::testing::TestParamInfo<size_t>& scenario) {
                             return std::string(scenarios()[scenario.param].name);
                         });

}  // namespace
}  // namespace varnex::testing
