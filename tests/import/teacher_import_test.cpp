#include "import/teacher_import.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/import/import_command_fixture.h"
#include "tests/support/scripted_frontend.h"

namespace varnex::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Leaves a previous teacher import and a student import's subjects behind.
void putPreviousImport(AppState& state) {
    state.teachers.appendRow({"旧校", "七年级", "1", "语文", "旧师"});
    state.imported.teacherCount = 7;
    state.imported.examSubjects = {"语文", "数学"};
}

class TeacherImportFormats : public ::testing::TestWithParam<std::string> {};

// 班级 3.0 becomes 3, blanks leave the names, a cell of blanks and a class without teachers give
// no row; the student import's subjects stay as they were.
TEST_P(TeacherImportFormats, ImportsOneRowPerTeacherCell) {
    const std::string file = "teachers_cases." + GetParam();
    AppState state = stateWithSheet(file, "任课");
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importTeachers(state, ui);

    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text,
              "导入文件：" + file +
                  "\n数据来源：任课\n\n"
                  "如果确认无误，单击“是”，导入当前工作表；\n否则，单击“否”，返回修改。确认无误吗？");
    EXPECT_EQ(ui.questions[0].caption, "确认");
    EXPECT_EQ(rowsOf(state.teachers), (Rows{
                                          {"一中", "七年级", "3", "语文", "王明"},
                                          {"一中", "七年级", "3", "数学", "李四"},
                                          {"一中", "七年级", "4", "英语", "赵六"},
                                          {"二中", "七年级", "2", "实验", "孙七"},
                                      }));
    EXPECT_EQ(state.imported.teacherCount, 4);
    EXPECT_EQ(state.imported.sheetName, "任课");
    EXPECT_EQ(state.imported.examSubjects, (std::vector<std::string>{"语文", "数学"}));
    EXPECT_TRUE(ui.messages.empty());
    const std::string title = "Varnex - teachers_cases：任课 - ";
    EXPECT_EQ(callsWithoutTime(ui.calls), (std::vector<std::string>{
                                              "question:确认:" + ui.questions[0].text,
                                              "title:" + title + "正在导入...",
                                              "log:导入工作表：任课",
                                              "log:导入教师任课记录：4条。",
                                              "title:" + title + "导入完成",
                                              "sound",
                                          }));
}

INSTANTIATE_TEST_SUITE_P(Formats, TeacherImportFormats, ::testing::Values("xlsx", "xls"));

// A school's own teacher sheet: a title row, no 学校 column, 外语 and 道德与法治, classes written
// 高二9班. The school is asked for after the confirmation; the classes read as the score sheet's.
TEST_P(TeacherImportFormats, SchoolsOwnSheetGoesInAsItIs) {
    AppState state = stateWithSheet("platform_sheets." + GetParam(), "任课教师");
    ScriptedFrontend ui;
    ui.expectQuestion("数据来源：任课教师", true);
    ui.expectTextQuestion("工作表“任课教师”没有“学校”列", "育才中学");

    importTeachers(state, ui);

    EXPECT_TRUE(ui.allQuestionsAsked());
    EXPECT_TRUE(ui.messages.empty());
    Rows expected;
    for (const char* klass : {"9", "10"}) {
        const bool nine = std::string(klass) == "9";
        for (const auto& [subject, teacher] :
             std::vector<std::pair<const char*, const char*>>{{"语文", "许文静"},
                                                              {"数学", nine ? "马建国" : "邓超然"},
                                                              {"英语", "黄丽"},
                                                              {"物理", "高峰"},
                                                              {"化学", "宋佳"},
                                                              {"生物", "唐明"},
                                                              {"地理", "冯涛"},
                                                              {"政治", "丁一"}})
            expected.push_back({"育才中学", "高二", klass, subject, teacher});
    }
    EXPECT_EQ(rowsOf(state.teachers), expected);
    std::vector<std::string> log;
    for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
    EXPECT_EQ(log, (std::vector<std::string>{"导入工作表：任课教师", "工作表“任课教师”的标题在第2行。",
                                             "“外语”列按英语读取。", "“道德与法治”列按政治读取。",
                                             "工作表“任课教师”没有“学校”列，各行都按“育才中学”导入。",
                                             "导入教师任课记录：16条。"}));
}

struct StopCase {
    const char* sheet;
    const char* message;
    bool logged;
    size_t rowsKept;
};

// A check stops at its row and keeps the rows before it; an empty row inside the sheet is an
// empty school; a sheet without data rows empties the table and the count.
TEST(TeacherImport, ChecksAndEmptySheetsStopTheImport) {
    const StopCase cases[] = {
        {"无学校", "学校名称不能为空！(1)", true, 1}, {"全部", "学校名称不能为“全部”！", true, 2},
        {"无班级", "班级不能为空！(1)", true, 1},     {"空行", "学校名称不能为空！(3)", true, 3},
        {"仅标题", "未找到任何数据！", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        AppState state = stateWithSheet("teachers_cases.xlsx", c.sheet);
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        importTeachers(state, ui);

        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        auto calls = callsWithoutTime(ui.calls);
        EXPECT_EQ(calls.back(), std::string("message:错误:") + c.message);
        if (c.logged) {
            EXPECT_EQ(calls[calls.size() - 2], std::string("log:") + c.message);
        }
        EXPECT_EQ(ui.titles.back(), std::string("Varnex - teachers_cases：") + c.sheet + " - 正在导入...");
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(static_cast<size_t>(state.teachers.rowCount()), c.rowsKept);
        EXPECT_EQ(state.imported.teacherCount, static_cast<int>(c.rowsKept));
    }
}

// Without a 体育 column the sheet is refused naming the columns a teacher sheet needs (学校, 年级,
// 班级 and all eleven subjects; it has no 姓名); the table is untouched.
TEST(TeacherImport, MissingSubjectColumn) {
    AppState state = stateWithSheet("teachers_cases.xlsx", "无体育");
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    importTeachers(state, ui);

    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    const std::string end =
        "\n请检查工作表顶端标题行是否含有：\n"
        "学校，年级，班级，语文，数学，英语，物理，化学，生物，历史，地理，政治，体育，实验";
    EXPECT_EQ(text.rfind("读取工作表时出现异常：", 0), 0u) << text;
    ASSERT_GT(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
    EXPECT_EQ(ui.titles.back(), "Varnex - teachers_cases：无体育 - 读取工作表时出现异常！");
    EXPECT_EQ(rowsOf(state.teachers), (Rows{{"旧校", "七年级", "1", "语文", "旧师"}}));
    EXPECT_EQ(state.imported.teacherCount, 7);
}

TEST(TeacherImport, StopsBeforeReading) {
    struct Case {
        const char* name;
        int selected;
        const char* sheetName;
        bool confirm;
        const char* message;
    };
    const Case cases[] = {
        {"no worksheet", -1, "任课", true, "请首先选择一个Excel工作表或WPS表格文件，然后才能导入成绩！"},
        {"empty sheet name", 1, "", true, "工作表名称不能为空！"},
        {"declined", 1, "任课", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = stateWithSheet("teachers_cases.xlsx", c.sheetName);
        state.workbook.selectedSheet = c.selected;
        putPreviousImport(state);
        ScriptedFrontend ui;
        if (*c.message == '\0') ui.expectQuestion("", c.confirm);

        importTeachers(state, ui);

        EXPECT_TRUE(ui.allQuestionsAsked());
        EXPECT_EQ(ui.messages.empty(), *c.message == '\0');
        if (!ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].text, c.message);
        }
        EXPECT_TRUE(ui.titles.empty());
        EXPECT_EQ(state.teachers.rowCount(), 1);
    }
}

}  // namespace
}  // namespace varnex::testing
