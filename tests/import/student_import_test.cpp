#include "import/student_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/control_ids.h"
#include "tests/import/import_command_fixture.h"
#include "tests/support/input_workbook.h"
#include "tests/support/scripted_frontend.h"

namespace varnex::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using FullMarks = std::array<int, kSubjectCount>;

constexpr const char* kQuestion =
    "如果确认无误，单击“是”，导入当前工作表；\n否则，单击“否”，返回修改。确认无误吗？";

// 语文, 数学 and 英语 at 150, nothing else examined.
constexpr FullMarks kThreeSubjects{150, 150, 150, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr FullMarks kChineseOnly{100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

AppState scoreState(const std::string& file, const std::string& sheet, const FullMarks& fullMarks,
                    int rule = 2, int limit = 4) {
    AppState state = stateWithSheet(file, sheet);
    state.scores.fullMark = fullMarks;
    state.importOptions.missingRule = rule;
    state.importOptions.missingLimit = limit;
    return state;
}

// A student row: school, class, name, the eleven subject cells, total.
std::vector<std::string> studentRow(const std::string& school, const std::string& cls,
                                    const std::string& name, std::vector<std::string> scores,
                                    const std::string& total) {
    std::vector<std::string> row{school, cls, name};
    scores.resize(kSubjectCount);
    row.insert(row.end(), scores.begin(), scores.end());
    row.push_back(total);
    return row;
}

// Leaves a previous import behind, so that every test sees what an import replaces.
void putPreviousImport(AppState& state) {
    state.students.appendRow(studentRow("旧校", "1", "旧生", {"1"}, "1"));
    state.imported.classList.add("旧校", "1");
    state.imported.schoolList = {"旧校", "另校"};
    state.imported.classCount = 7;
    state.imported.studentCount = 99;
}

std::vector<std::string> names(const RowTable& table) {
    std::vector<std::string> out;
    for (int i = 0; i < table.rowCount(); ++i) out.emplace_back(table.cellText(i, 2));
    return out;
}

class StudentImportFormats : public ::testing::TestWithParam<std::string> {};

TEST_P(StudentImportFormats, ImportsScoresAndSummarises) {
    const std::string file = "students_cases." + GetParam();
    AppState state = scoreState(file, "成绩", kThreeSubjects);
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importStudents(state, ui);

    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "导入文件：" + file +
                                        "\n数据来源：成绩\n导入年级：七年级\n\n您设定的3科分值如下：\n"
                                        "语文：150\n数学：150\n英语：150\n\n" +
                                        kQuestion);
    EXPECT_EQ(ui.questions[0].caption, "确认");
    // Classes 10 then 1; a class written "3.0" and a score written "85.0" lose the ".0";
    // 7.05 stays; the sheet's own 总分 column is ignored.
    EXPECT_EQ(rowsOf(state.students), (Rows{
                                          studentRow("一中", "10", "张三", {"120", "99.5", "85"}, "304.5"),
                                          studentRow("一中", "1", "李四", {"7.05", "0", ""}, "7"),
                                          studentRow("二中", "3", "王五", {"100", "100", "100"}, "300"),
                                          studentRow("一中", "2", "赵六", {"90", "80", "70.5"}, "240.5"),
                                          studentRow("一中", "10", "钱七", {"60", "60", "60"}, "180"),
                                      }));
    const ImportResults& r = state.imported;
    EXPECT_EQ(r.classList.entries(), (std::vector<std::string>{"一中 10", "一中 1", "二中 3", "一中 2"}));
    EXPECT_EQ(r.classList.selected, 0);
    EXPECT_EQ(r.schoolList, (std::vector<std::string>{"一中", "二中", "一中"}));
    EXPECT_EQ(r.examSubjects, (std::vector<std::string>{"语文", "数学", "英语"}));
    EXPECT_EQ(r.examFullMarkTotal, 450);
    EXPECT_EQ(r.gradeName, "七年级");
    EXPECT_EQ(r.sheetName, "成绩");
    EXPECT_EQ(r.studentCount, 5);
    EXPECT_EQ(r.classCount, 4);
    EXPECT_TRUE(ui.messages.empty());
    const std::string title = "Varnex - students_cases：成绩 - ";
    EXPECT_EQ(callsWithoutTime(ui.calls), (std::vector<std::string>{
                                              "question:确认:" + ui.questions[0].text,
                                              "title:" + title + "正在导入...",
                                              "log:导入工作表：成绩",
                                              "log:导入七年级：3所学校，4个班级，3科成绩，共5人",
                                              "title:" + title + "导入完成",
                                              "sound",
                                              "enable:ExportResults:on",
                                          }));
    EXPECT_NE(ui.logLines[0], withoutTime(ui.logLines[0])) << "log lines carry the time";
}

INSTANTIATE_TEST_SUITE_P(Formats, StudentImportFormats, ::testing::Values("xlsx", "xls"));

// 语文 at 160 asks first; confirmed, only 学校, 班级, 姓名 and 语文 are read (the sheet has no
// other column), and the all-empty row ends the data before a row that would fail its checks.
TEST(StudentImport, ConfirmedFullMarkAndEmptyRowEndingTheData) {
    AppState state = scoreState("students_cases.xlsx", "空行", {160, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    ScriptedFrontend ui;
    ui.expectQuestion("", true);
    ui.expectQuestion("", true);

    importStudents(state, ui);

    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].text, "您确定这次考试中语文学科的满分是160分吗？");
    EXPECT_EQ(ui.questions[0].caption, "确认");
    EXPECT_EQ(ui.questions[1].text,
              std::string("导入文件：students_cases.xlsx\n数据来源：空行\n导入年级：七年级\n\n"
                          "您设定的1科分值如下：\n语文：160\n\n") +
                  kQuestion);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(rowsOf(state.students), (Rows{studentRow("一中", "1", "甲", {"80"}, "80"),
                                            studentRow("一中", "1", "乙", {"90"}, "90")}));
    EXPECT_EQ(state.imported.examSubjects, std::vector<std::string>{"语文"});
    EXPECT_EQ(state.imported.examFullMarkTotal, 160);
    ASSERT_EQ(ui.logLines.size(), 2u);
    EXPECT_EQ(withoutTime(ui.logLines[1]), "导入七年级：1所学校，1个班级，1科成绩，共2人");
}

TEST(StudentImport, EveryImplausibleFullMarkIsAskedAbout) {
    FullMarks marks{151, 100, -1, 0, 0, 0, 0, 0, 0, 41, 16};
    AppState state = scoreState("students_cases.xlsx", "成绩", marks);
    ScriptedFrontend ui;
    for (int i = 0; i < 4; ++i) ui.expectQuestion("", true);
    ui.expectQuestion("", false);  // the confirmation

    importStudents(state, ui);

    std::vector<std::string> asked;
    for (const auto& q : ui.questions) asked.push_back(q.text);
    asked.pop_back();
    EXPECT_EQ(asked,
              (std::vector<std::string>{
                  "您确定这次考试中语文学科的满分是151分吗？", "您确定这次考试中英语学科的满分是-1分吗？",
                  "您确定这次考试中体育学科的满分是41分吗？", "您确定这次考试中实验学科的满分是16分吗？"}));
    // A negative full mark still counts as examined.
    EXPECT_EQ(state.imported.examSubjects,
              (std::vector<std::string>{"语文", "数学", "英语", "体育", "实验"}));
    EXPECT_EQ(state.imported.examFullMarkTotal, 151 + 100 - 1 + 41 + 16);
}

struct StopBeforeReading {
    const char* name;
    void (*prepare)(AppState&, ScriptedFrontend&);
    const char* message;  ///< "" when the command stops without a message
};

// Every way the command stops before the sheet is opened leaves the tables alone.
TEST(StudentImport, StopsBeforeReading) {
    const StopBeforeReading cases[] = {
        {"no worksheet", [](AppState& s, ScriptedFrontend&) { s.workbook.selectedSheet = -1; },
         "请首先选择一个Excel工作表或WPS表格文件，然后才能导入成绩！"},
        {"empty worksheet list",
         [](AppState& s, ScriptedFrontend&) {
             s.workbook.sheetNames.clear();
             s.workbook.selectedSheet = 0;
         },
         "请首先选择一个Excel工作表或WPS表格文件，然后才能导入成绩！"},
        {"implausible full mark declined",
         [](AppState& s, ScriptedFrontend& ui) {
             s.scores.fullMark[3] = 101;
             ui.expectQuestion("物理学科的满分是101分吗？", false);
         },
         ""},
        {"no subject", [](AppState& s, ScriptedFrontend&) { s.scores.fullMark.fill(0); }, "请输入学科分值！"},
        {"empty sheet name", [](AppState& s, ScriptedFrontend&) { s.workbook.sheetNames[1] = ""; },
         "工作表名称不能为空！"},
        {"confirmation declined",
         [](AppState&, ScriptedFrontend& ui) { ui.expectQuestion(kQuestion, false); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = scoreState("students_cases.xlsx", "成绩", kThreeSubjects);
        putPreviousImport(state);
        ScriptedFrontend ui;
        c.prepare(state, ui);

        importStudents(state, ui);

        EXPECT_TRUE(ui.allQuestionsAsked());
        if (*c.message != '\0') {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, c.message);
            EXPECT_EQ(ui.messages[0].caption, "错误");
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        EXPECT_TRUE(ui.titles.empty());
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
        EXPECT_EQ(state.imported.studentCount, 99);
    }
}

struct MissingCase {
    const char* name;
    int rule;
    int limit;
    int subjects;  ///< the first n subjects are examined at 100
    std::vector<std::string> imported;
};

// Each student of the sheet is in a class of their own: skipped students still add their class.
TEST(StudentImport, MissingSubjectRules) {
    const MissingCase cases[] = {
        {"rule 0, 9 subjects: 4 missing kept, 5 skipped", 0, 4, 9, {"全科", "缺四", "缺一"}},
        {"rule 0, 8 subjects: 4 missing kept, 5 skipped", 0, 4, 8, {"全科", "缺四", "缺一"}},
        {"rule 0, 1 subject: a missing score skips", 0, 4, 1, {"全科", "缺一"}},
        {"rule 1, limit 0: any missing score skips", 1, 0, 9, {"全科"}},
        {"rule 1, limit 1", 1, 1, 9, {"全科", "缺一"}},
        {"rule 2: everyone", 2, 0, 9, {"全科", "缺四", "缺五", "缺一", "全缺"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FullMarks marks{};
        for (int i = 0; i < c.subjects; ++i) marks[static_cast<size_t>(i)] = 100;
        AppState state = scoreState("students_cases.xlsx", "缺考", marks, c.rule, c.limit);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        importStudents(state, ui);

        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(names(state.students), c.imported);
        EXPECT_EQ(state.imported.classList.size(), 5u);
        ASSERT_EQ(ui.logLines.size(), 2u);
        EXPECT_EQ(withoutTime(ui.logLines[1]), "导入七年级：1所学校，5个班级，" + std::to_string(c.subjects) +
                                                   "科成绩，共" + std::to_string(c.imported.size()) + "人");
    }
}

// A score of 0 counts as missing but keeps its text and its place in the total; a student with
// every score empty gets the total 0.
TEST(StudentImport, ZeroScoresAndEmptyRowsUnderRuleTwo) {
    FullMarks marks{100, 100, 100, 100, 100, 100, 100, 100, 100, 0, 0};
    AppState state = scoreState("students_cases.xlsx", "缺考", marks, 2);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importStudents(state, ui);

    ASSERT_EQ(state.students.rowCount(), 5);
    EXPECT_EQ(state.students.row(1).texts(),
              studentRow("一中", "2", "缺四", {"", "", "0", "0", "10", "10", "10", "10", "10"}, "50"));
    EXPECT_EQ(state.students.row(0)[kTotalColumn], "90");
    EXPECT_EQ(state.students.row(4).texts(), studentRow("一中", "5", "全缺", {}, "0"));
}

// Text in a score cell ("缺考", "95分") is read like atof/atoi: its leading number or 0 in the
// total and in the full-mark check. Only an empty cell or "0" counts as missing, so with no
// missing subject allowed 乙 (a 0) is skipped while 丙, who has 缺考 in every subject, is kept with
// the total 0, and the import goes on past them.
TEST(StudentImport, TextScores) {
    TempDir dir;
    const std::string path = dir.file("文字成绩.xlsx");
    writeInputWorkbook(path, {{"成绩",
                               {{"学校", "班级", "姓名", "语文", "数学", "英语"},
                                {"一中", "1", "甲", "缺考", "90", "80"},
                                {"一中", "1", "乙", "0", "90", "80"},
                                {"一中", "1", "丙", "缺考", "缺考", "缺考"},
                                {"一中", "1", "丁", "95分", "90", "80"}}}});
    AppState state = scoreState("文字成绩.xlsx", "成绩", kThreeSubjects, 1, 0);
    state.workbook.path = path;
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importStudents(state, ui);

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(rowsOf(state.students), (Rows{
                                          studentRow("一中", "1", "甲", {"缺考", "90", "80"}, "170"),
                                          studentRow("一中", "1", "丙", {"缺考", "缺考", "缺考"}, "0"),
                                          studentRow("一中", "1", "丁", {"95分", "90", "80"}, "265"),
                                      }));
    ASSERT_EQ(ui.logLines.size(), 2u);
    EXPECT_EQ(withoutTime(ui.logLines[1]), "导入七年级：1所学校，1个班级，3科成绩，共3人");
}

struct RowStopCase {
    const char* sheet;
    int rule;
    const char* message;
    bool logged;  ///< the message is also a log line, written before the box
    std::vector<std::string> imported;
    std::vector<std::string> classes;
};

// A check stops the import at its row: the rows before it (and the offending row unless it was
// skipped) stay; the counts and the school list describe what the tables now hold.
TEST(StudentImport, RowChecksAndEmptySheetsStopTheImport) {
    const RowStopCase cases[] = {
        {"无学校", 2, "学校名称不能为空！(2)", true, {"甲", "乙"}, {"一中 1"}},
        {"全部", 2, "学校名称不能为“全部”！", true, {"甲", "乙"}, {"一中 1"}},
        {"无姓名", 2, "姓名不能为空！(2)", true, {"甲", ""}, {"一中 1"}},
        {"跳过", 0, "姓名不能为空！(1)", true, {"甲"}, {"一中 1", "一中 9"}},
        {"首行空", 2, "未找到任何班级！", false, {}, {}},
        {"仅标题", 2, "未找到任何成绩数据！", false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        AppState state = scoreState("students_cases.xlsx", c.sheet, kChineseOnly, c.rule);
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        importStudents(state, ui);

        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        auto calls = callsWithoutTime(ui.calls);
        auto box = std::find(calls.begin(), calls.end(), std::string("message:错误:") + c.message);
        ASSERT_NE(box, calls.end());
        if (c.logged) {
            EXPECT_EQ(*(box - 1), std::string("log:") + c.message);
        }
        EXPECT_EQ(calls.back(), "enable:ExportResults:on");
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_EQ(names(state.students), c.imported);
        const ImportResults& r = state.imported;
        EXPECT_EQ(r.classList.entries(), c.classes);
        EXPECT_EQ(r.studentCount, static_cast<int>(c.imported.size()));
        EXPECT_EQ(r.classCount, static_cast<int>(c.classes.size()));
        EXPECT_EQ(r.schoolList,
                  c.classes.empty() ? std::vector<std::string>{} : std::vector<std::string>{"一中"});
    }
}

// 150.5 passes against 150 (whole-number comparison), 151 stops: box, log line, focus on the
// StudentTable, then its last row selected.
TEST(StudentImport, ScoreAboveFullMark) {
    FullMarks marks{150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppState state = scoreState("students_cases.xlsx", "满分", marks);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importStudents(state, ui);

    const std::string text = "语文分数：151不能大于语文满分：150";
    auto calls = callsWithoutTime(ui.calls);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()),
              (std::vector<std::string>{"message:错误:" + text, "log:" + text, "focus:StudentTable",
                                        "enable:ExportResults:on"}));
    EXPECT_EQ(names(state.students), (std::vector<std::string>{"甲", "乙"}));
    EXPECT_EQ(state.students.cellText(0, 3), "150.5");
    EXPECT_FALSE(state.students.isSelected(0));
    EXPECT_TRUE(state.students.isSelected(1));
    EXPECT_EQ(state.imported.studentCount, 2);
    EXPECT_EQ(state.imported.classCount, 1);
}

// A row the reader cannot deliver ends the import like a failing check: the rows before it stay.
TEST(StudentImport, UnreadableRowEndsTheImport) {
    AppState state = scoreState("students_bad_row.xlsx", "成绩", kChineseOnly);
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importStudents(state, ui);

    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_EQ(text.rfind("读取工作表时出现异常：", 0), 0u) << text;
    EXPECT_NE(text.find("成绩"), std::string::npos) << text;
    EXPECT_EQ(withoutTime(ui.logLines.back()), text);
    EXPECT_EQ(ui.enabled, (std::vector<std::pair<ControlId, bool>>{{ctl::ExportResults, true}}));
    EXPECT_EQ(names(state.students), (std::vector<std::string>{"甲", "乙"}));
    EXPECT_EQ(state.imported.studentCount, 2);
    EXPECT_EQ(state.imported.classCount, 1);
    EXPECT_EQ(state.imported.schoolList, std::vector<std::string>{"一中"});
}

TEST(StudentImport, SheetThatCannotBeRead) {
    struct Case {
        const char* name;
        std::string path;
        std::string sheet;
        FullMarks marks;
        std::string messageStart;
        std::string messageEnd;
        std::string title;
    };
    const Case cases[] = {
        {"missing column", fixture("students_cases.xlsx"), "成绩",
         FullMarks{100, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0}, "读取工作表时出现异常：",
         "\n请检查工作表顶端标题行是否含有：\n学校，班级，姓名，语文，物理", "读取工作表时出现异常！"},
        {"no such sheet", fixture("students_cases.xlsx"), "不存在", kChineseOnly, "读取工作表时出现异常：",
         "\n请检查工作表顶端标题行是否含有：\n学校，班级，姓名，语文", "读取工作表时出现异常！"},
        {"no such file", fixture("students_missing.xlsx"), "成绩", kChineseOnly, "打开数据库时产生异常：", "",
         "打开数据库时产生异常！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = scoreState("students_cases.xlsx", c.sheet, c.marks);
        state.workbook.path = c.path;
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        importStudents(state, ui);

        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& text = ui.messages[0].text;
        EXPECT_EQ(text.rfind(c.messageStart, 0), 0u) << text;
        EXPECT_GT(text.size(), c.messageStart.size() + c.messageEnd.size())
            << "the reader's own text is shown";
        EXPECT_EQ(text.substr(text.size() - c.messageEnd.size()), c.messageEnd);
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(ui.titles.back(), "Varnex - students_cases：" + c.sheet + " - " + c.title);
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
    }
}

}  // namespace
}  // namespace varnex::testing
