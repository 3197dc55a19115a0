#include "import/teacher_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tests/import/import_command_fixture.h"
#include "tests/support/input_workbook.h"
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

    Result<TeacherImportOutcome> imported = importTeachers(state, ui);
    ASSERT_TRUE(imported) << imported.error();
    EXPECT_EQ(imported->sheetName, "任课");
    EXPECT_EQ(imported->teacherCount, state.teachers.rowCount());

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

    Result<TeacherImportOutcome> imported = importTeachers(state, ui);
    ASSERT_TRUE(imported) << imported.error();

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
    bool problem;  ///< a problem of a row: listed with its row, nothing of the sheet taken
};

// A failing check keeps the whole sheet out and the previous teachers in, naming the row (an empty
// row inside the sheet is an empty school); a sheet without data rows empties the table and the
// count.
TEST(TeacherImport, ChecksAndEmptySheetsStopTheImport) {
    const StopCase cases[] = {
        {"无学校", "第3行：学校名称不能为空！", true}, {"全部", "第3行：学校名称不能为“全部”！", true},
        {"无班级", "第3行：班级不能为空！", true},     {"空行", "第3行：学校名称不能为空！", true},
        {"仅标题", "未找到任何数据！", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        AppState state = stateWithSheet("teachers_cases.xlsx", c.sheet);
        putPreviousImport(state);
        const auto before = rowsOf(state.teachers);
        const int countBefore = state.imported.teacherCount;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<TeacherImportOutcome> imported = importTeachers(state, ui);
        ASSERT_FALSE(imported);
        EXPECT_EQ(imported.error(), ui.messages.at(0).text);

        const std::string shown =
            c.problem ? std::string("工作表“") + c.sheet +
                            "”中有1处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n" + c.message
                      : std::string(c.message);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, shown);
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        // Shown, logged, and the title is the sheet's again.
        auto calls = callsWithoutTime(ui.calls);
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(calls[calls.size() - 3], "message:错误:" + shown);
        EXPECT_EQ(calls[calls.size() - 2], "log:" + shown);
        EXPECT_EQ(calls.back(), std::string("title:Varnex - teachers_cases：") + c.sheet);
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(rowsOf(state.teachers), c.problem ? before : decltype(before){});
        EXPECT_EQ(state.imported.teacherCount, c.problem ? countBefore : 0);
    }
}

// A sheet that is neither shape is refused naming what it lacks and what a teacher sheet needs
// (never 姓名); the table is untouched.
TEST(TeacherImport, SheetWithoutTheColumnsItNeeds) {
    TempDir dir;
    const std::string path = dir.file("缺列.xlsx");
    writeInputWorkbook(path, {{"无学科", {{"学校", "班级", "班主任"}, {"一中", "1", "王明"}}},
                              {"无教师", {{"学校", "班级", "科目"}, {"一中", "1", "语文"}}}});
    const std::pair<const char*, const char*> cases[] = {
        {"无学科", "工作表“无学科”的前20行中没有找到完整的标题行，缺少：至少一个学科（语文、数学……）。"},
        {"无教师", "工作表“无教师”的前20行中没有找到完整的标题行，缺少：教师。"},
    };
    for (const auto& [sheet, reason] : cases) {
        SCOPED_TRACE(sheet);
        AppState state = stateWithSheet("缺列.xlsx", sheet);
        state.workbook.path = path;
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<TeacherImportOutcome> imported = importTeachers(state, ui);
        ASSERT_FALSE(imported);
        EXPECT_EQ(imported.error(), ui.messages.at(0).text);

        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, std::string(reason) +
                                           "\n任课表的标题行须有：班级和所教的学科（语文、数学等），"
                                           "或者班级、学科、教师三列；学校、年级两列可有可无。");
        EXPECT_EQ(withoutTime(ui.logLines.back()), ui.messages[0].text);
        EXPECT_EQ(ui.titles.back(), std::string("Varnex - 缺列：") + sheet);
        EXPECT_EQ(rowsOf(state.teachers), (Rows{{"旧校", "七年级", "1", "语文", "旧师"}}));
        EXPECT_EQ(state.imported.teacherCount, 7);
    }
}

// The same assignments kept three ways go in as the same TeacherTable rows: a sheet with only
// the subjects taught and no 年级 column, a list of one row per teacher and class (other names of
// its columns, subjects not analysed and 班主任 rows left aside), and such a list with several
// classes in one cell. Without 年级 column the rows keep 年级 empty and go with any grade.
TEST(TeacherImport, TeacherSheetsAsSchoolsKeepThem) {
    TempDir dir;
    const std::string path = dir.file("任课表.xlsx");
    writeInputWorkbook(path, {{"各科",
                               {{"学校", "班级", "语文", "数学", "英语", "物理"},
                                {"一中", "1", "张 三", "李四", "赵六", "钱七"},
                                {"一中", "2", "张 三", "王五", "赵六", "钱七"}}},
                              {"名单",
                               {{"2025学年任课安排"},
                                {"学校名称", "年级", "班级", "科目", "任课教师"},
                                {"一中", "七年级", "1班", "语文", "张 三"},
                                {"一中", "七年级", "1班", "数学", "李四"},
                                {"一中", "七年级", "1班", "外语", "赵六"},
                                {"一中", "七年级", "1班", "物理", "钱七"},
                                {"一中", "七年级", "1班", "音乐", "孙八"},
                                {"一中", "七年级", "1班", "班主任", "李四"},
                                {"一中", "七年级", "2班", "语文", "张 三"},
                                {"一中", "七年级", "2班", "数学", "王五"},
                                {"一中", "七年级", "2班", "英语", "赵六"},
                                {"一中", "七年级", "2班", "物理", "钱七"},
                                {"一中", "七年级", "2班", "化学", ""}}},
                              {"合班",
                               {{"班级", "学科", "姓名"},
                                {"1、2班", "语文", "张三"},
                                {"1", "数学", "李四"},
                                {"2", "数学", "王五"},
                                {"１－２班", "英语", "赵六"},
                                {"1,2", "物理", "钱七"}}}});
    struct Case {
        const char* sheet;
        const char* grade;
        bool askSchool;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"各科", "", false, {"导入工作表：各科", "工作表“各科”没有“年级”列，各行都算作所导入成绩的年级。"}},
        {"名单",
         "七年级",
         false,
         {"导入工作表：名单", "工作表“名单”的标题在第2行。", "“学校名称”列按学校读取。",
          "“科目”列按学科读取。", "“任课教师”列按教师读取。",
          "工作表“名单”每行是一位教师在一个班的任课，按班级、学科、教师读取。",
          "以下学科不是可统计的学科，未作分析：音乐。"}},
        {"合班",
         "",
         true,
         {"导入工作表：合班", "工作表“合班”没有“学校”列，各行都按“一中”导入。",
          "工作表“合班”每行是一位教师在一个班的任课，按班级、学科、教师读取。",
          "工作表“合班”没有“年级”列，各行都算作所导入成绩的年级。"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        AppState state = stateWithSheet("任课表.xlsx", c.sheet);
        state.workbook.path = path;
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);
        if (c.askSchool) ui.expectTextQuestion("没有“学校”列", "一中");

        Result<TeacherImportOutcome> imported = importTeachers(state, ui);
        ASSERT_TRUE(imported) << imported.error();

        EXPECT_TRUE(ui.allQuestionsAsked());
        EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text;
        EXPECT_EQ(ui.notifications, 1);
        Rows expected;
        for (const auto& [klass, subject, teacher] :
             std::vector<std::tuple<const char*, const char*, const char*>>{{"1", "语文", "张三"},
                                                                            {"1", "数学", "李四"},
                                                                            {"1", "英语", "赵六"},
                                                                            {"1", "物理", "钱七"},
                                                                            {"2", "语文", "张三"},
                                                                            {"2", "数学", "王五"},
                                                                            {"2", "英语", "赵六"},
                                                                            {"2", "物理", "钱七"}})
            expected.push_back({"一中", c.grade, klass, subject, teacher});
        Rows rows = rowsOf(state.teachers);
        std::sort(rows.begin(), rows.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(rows, expected);
        EXPECT_EQ(state.imported.teacherCount, 8);
        std::vector<std::string> log;
        for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
        std::vector<std::string> expectedLog = c.log;
        expectedLog.push_back("导入教师任课记录：8条。");
        EXPECT_EQ(log, expectedLog);
        // A row without 年级 belongs to whichever grade the scores are of; a row with one, to its own.
        state.imported.gradeName = "八年级";
        EXPECT_EQ(state.imported.ofImportedGrade(state.teachers.cellText(0, 1)), *c.grade == '\0');
    }
}

// The teachers of an extra subject are read, in either shape of sheet, for a column of the last
// score sheet (禁毒) or a subject given a full mark as an extra subject (信息技术); other subjects
// outside the list stay out.
TEST(TeacherImport, TeachersOfExtraSubjects) {
    TempDir dir;
    const std::string path = dir.file("任课表.xlsx");
    writeInputWorkbook(path, {{"各科",
                               {{"学校", "班级", "语文", "禁毒", "信息技术", "音乐"},
                                {"一中", "1", "张三", "郑丙", "周丁", "孙八"}}},
                              {"名单",
                               {{"学校", "班级", "学科", "教师"},
                                {"一中", "1", "语文", "张三"},
                                {"一中", "1", "禁毒", "郑丙"},
                                {"一中", "1", "信息技术", "周丁"},
                                {"一中", "1", "音乐", "孙八"}}}});
    for (const char* sheet : {"各科", "名单"}) {
        SCOPED_TRACE(sheet);
        AppState state = stateWithSheet("任课表.xlsx", sheet);
        state.workbook.path = path;
        putPreviousImport(state);
        state.imported.extraColumns = {"禁毒"};
        state.scores.setExtraFullMark("信息技术", 50);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);
        ASSERT_TRUE(importTeachers(state, ui));
        Rows rows = rowsOf(state.teachers);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, (Rows{{"一中", "", "1", "信息技术", "周丁"},
                              {"一中", "", "1", "禁毒", "郑丙"},
                              {"一中", "", "1", "语文", "张三"}}));
    }
}

// Every row that cannot be read is named in one message with its row, cell and text; nothing of
// the sheet goes in, the previous teachers stay.
TEST(TeacherImport, EveryProblemOfTheSheetInOneMessage) {
    TempDir dir;
    const std::string path = dir.file("问题.xlsx");
    writeInputWorkbook(path, {{"名单",
                               {{"学校", "班级", "学科", "教师"},
                                {"一中", "1,,2", "语文", "张三"},
                                {"一中", "1", "数学", "李四"},
                                {"", "2", "数学", "王五"},
                                {"一中", "1-60", "英语", "赵六"}}}});
    AppState state = stateWithSheet("问题.xlsx", "名单");
    state.workbook.path = path;
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    Result<TeacherImportOutcome> imported = importTeachers(state, ui);
    ASSERT_FALSE(imported);
    EXPECT_EQ(imported.error(), ui.messages.at(0).text);

    const std::vector<std::string> problems = {
        "第2行：文件“问题.xlsx”工作表“名单”第2行B列的班级“1,,2”读不出是哪几个班，请写成“1、2班”或“3-"
        "4班”这样！",
        "第4行：学校名称不能为空！",
        "第5行：文件“问题.xlsx”工作表“名单”第5行B列的班级“1-60”读不出是哪几个班，请写成“1、2班”或“3-"
        "4班”这样！",
    };
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "工作表“名单”中有3处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n" + problems[0] +
                  "\n" + problems[1] + "\n" + problems[2]);
    EXPECT_EQ(ui.messages[0].caption, "错误");
    EXPECT_EQ(withoutTime(ui.logLines.back()), ui.messages[0].text);
    EXPECT_EQ(rowsOf(state.teachers), (Rows{{"旧校", "七年级", "1", "语文", "旧师"}}));
    EXPECT_EQ(state.imported.teacherCount, 7);
    EXPECT_EQ(ui.notifications, 0);
    EXPECT_EQ(ui.titles.back(), "Varnex - 问题：名单");
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

        Result<TeacherImportOutcome> imported = importTeachers(state, ui);
        EXPECT_EQ(imported.errorKind(), *c.message == '\0' ? ErrorKind::Cancelled : ErrorKind::BadInput);

        EXPECT_TRUE(ui.allQuestionsAsked());
        EXPECT_EQ(ui.messages.empty(), *c.message == '\0');
        if (!ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].text, c.message);
            EXPECT_EQ(withoutTime(ui.logLines.at(0)), c.message);
        }
        EXPECT_EQ(ui.titles,
                  std::vector<std::string>{"Varnex - teachers_cases：" + state.workbook.selectedSheetName()});
        EXPECT_EQ(state.teachers.rowCount(), 1);
    }
}

// The table remembers the file and sheet it came from: a new import from another file replaces
// both, a refused one keeps both, and clearing empties the table and forgets its source.
TEST(TeacherImport, TheTableKeepsItsSourceUntilCleared) {
    AppState state = stateWithSheet("teachers_cases.xlsx", "任课");
    putPreviousImport(state);
    state.teacherSource = {"/earlier/旧任课.xlsx", "旧表"};
    ScriptedFrontend ui;
    ui.expectQuestion("", true);
    ASSERT_TRUE(importTeachers(state, ui));
    EXPECT_EQ(state.teacherSource.path, fixture("teachers_cases.xlsx"));
    EXPECT_EQ(state.teacherSource.text(), "teachers_cases.xlsx · 任课");

    state.workbook.sheetNames[1] = "无学校";  // a sheet with a problem: nothing changes
    const auto rows = rowsOf(state.teachers);
    ScriptedFrontend refused;
    refused.expectQuestion("", true);
    ASSERT_FALSE(importTeachers(state, refused));
    EXPECT_EQ(rowsOf(state.teachers), rows);
    EXPECT_EQ(state.teacherSource.text(), "teachers_cases.xlsx · 任课");

    ScriptedFrontend cleared;
    ASSERT_TRUE(clearTeachers(state, cleared));
    EXPECT_EQ(state.teachers.rowCount(), 0);
    EXPECT_EQ(state.imported.teacherCount, 0);
    EXPECT_TRUE(state.teacherSource.empty());
    EXPECT_EQ(state.teacherSource.text(), "");
    ASSERT_EQ(cleared.logLines.size(), 1u);
    EXPECT_EQ(withoutTime(cleared.logLines[0]), "已清除任课教师（teachers_cases.xlsx · 任课）。");
    EXPECT_TRUE(cleared.messages.empty());
}

}  // namespace
}  // namespace varnex::testing
