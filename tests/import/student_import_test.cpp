#include "import/student_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "base/text_util.h"
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

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();
    EXPECT_EQ(imported->sheetName, "成绩");
    EXPECT_EQ(imported->studentCount, 5);
    EXPECT_EQ(imported->classCount, 4);
    EXPECT_EQ(imported->schoolCount, 2);
    EXPECT_EQ(imported->examSubjects, (std::vector<std::string>{"语文", "数学", "英语"}));

    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "导入文件：" + file +
                                        "\n数据来源：成绩\n导入年级：七年级\n\n您设定的3科分值如下：\n"
                                        "语文：150\n数学：150\n英语：150\n\n" +
                                        kQuestion);
    EXPECT_EQ(ui.questions[0].caption, "确认");
    // Classes 10 then 1; a class written "3.0" and a score written "85.0" lose the ".0";
    // 7.05 stays, and its total rounds half away from zero to 7.1; the sheet's own 总分 column (999
    // throughout) is not read, only compared.
    EXPECT_EQ(rowsOf(state.students), (Rows{
                                          studentRow("一中", "10", "张三", {"120", "99.5", "85"}, "304.5"),
                                          studentRow("一中", "1", "李四", {"7.05", "0", ""}, "7.1"),
                                          studentRow("二中", "3", "王五", {"100", "100", "100"}, "300"),
                                          studentRow("一中", "2", "赵六", {"90", "80", "70.5"}, "240.5"),
                                          studentRow("一中", "10", "钱七", {"60", "60", "60"}, "180"),
                                      }));
    const ImportResults& r = state.imported;
    // Students stay in sheet order; classes come in class order: 1, 2, 10 (not as text), each school
    // once, where it first appears, though 一中's rows are not consecutive (一中, 二中, 一中).
    EXPECT_EQ(r.classList.entries(), (std::vector<std::string>{"一中 1", "一中 2", "一中 10", "二中 3"}));
    EXPECT_EQ(r.schoolList, (std::vector<std::string>{"一中", "二中"}));
    EXPECT_EQ(r.examSubjects, (std::vector<std::string>{"语文", "数学", "英语"}));
    EXPECT_EQ(r.examFullMarkTotal, 450);
    EXPECT_EQ(r.gradeName, "七年级");
    EXPECT_EQ(r.sheetName, "成绩");
    EXPECT_EQ(r.studentCount, 5);
    EXPECT_EQ(r.classCount, 4);
    // 李四, alone in class 1, has no 英语 score: counted as 0, which the box says prominently.
    const std::string wholeClass =
        "以下班级的科目全班都没有成绩（空白或缺考），现在按0分计入统计，会拉低这些班级和学校的平均分和各项比"
        "率：\n"
        "一中（1）班：英语\n"
        "如果这些是学生没有选考的科目，请勾选“缺考和空白成绩不计入统计”后再导出，这样没有成绩的学生不计入该科"
        "统计。";
    const std::string title = "Varnex - students_cases：成绩 - ";
    EXPECT_EQ(callsWithoutTime(ui.calls), (std::vector<std::string>{
                                              "question:确认:" + ui.questions[0].text,
                                              "title:" + title + "正在导入...",
                                              "log:导入工作表：成绩",
                                              "log:导入七年级：2所学校，4个班级，3科成绩，共5人",
                                              "log:5名学生的表中总分与各科之和不同（相差694.5到991.9分），"
                                              "如第2行：表中999，各科之和304.5",
                                              "log:英语：空白1个，缺考等文字0个，按0分计入统计。",
                                              "log:" + wholeClass,
                                              "message:信息:" + wholeClass,
                                              "title:" + title + "导入完成",
                                              "sound",
                                              "enable:Export:on",
                                          }));
    EXPECT_NE(ui.logLines[0], withoutTime(ui.logLines[0])) << "log lines carry the time";
}

INSTANTIATE_TEST_SUITE_P(Formats, StudentImportFormats, ::testing::Values("xlsx", "xls"));

// A physics-track sheet as a marking platform exports it: a title row, a two-row header with each
// subject merged over 原始分 / 赋分 / 班级排名 / 年级排名, other names (学生姓名, 班别, 外语, 道德与法治),
// class names 高二9班 / ９班 / 高二10班 / 10, no 学校 column and no 历史 column. The school is asked
// for, offering the one given last; the raw scores are read; with 高二's seeded full marks 历史 is
// not examined this time, while the settings keep its full mark.
class PlatformSheetFormats : public ::testing::TestWithParam<std::string> {};

TEST_P(PlatformSheetFormats, PhysicsTrackSheetGoesInAsItIs) {
    const std::string file = "platform_sheets." + GetParam();
    const FullMarks seeded{150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0};
    AppState state = scoreState(file, "高二物理类", seeded);
    state.gradeIndex = 10;  // 高二
    state.schoolName = "育才中学";
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectTextQuestion("工作表“高二物理类”没有“学校”列", " 育才中学 ");
    ui.expectQuestion("", true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();

    EXPECT_TRUE(ui.allQuestionsAsked());
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].text, "导入文件：" + file +
                                        "\n数据来源：高二物理类\n导入年级：高二\n\n您设定的8科分值如下：\n"
                                        "语文：150\n数学：150\n英语：150\n物理：100\n化学：100\n生物：100\n"
                                        "地理：100\n政治：100\n表中没有：历史，本次不统计\n\n" +
                                        kQuestion);
    const ImportResults& r = state.imported;
    EXPECT_EQ(r.examSubjects,
              (std::vector<std::string>{"语文", "数学", "英语", "物理", "化学", "生物", "地理", "政治"}));
    EXPECT_EQ(r.subjectsNotInSheet, std::vector<std::string>{"历史"});
    EXPECT_EQ(r.examFullMarkTotal, 950);
    EXPECT_EQ(state.scores.fullMark, seeded);
    ASSERT_EQ(ui.textQuestions.size(), 1u);
    EXPECT_EQ(ui.textQuestions[0].text,
              "工作表“高二物理类”没有“学校”列，表中各行都算作同一所学校。\n请输入学校名称：");
    EXPECT_EQ(ui.textQuestions[0].caption, "学校名称");
    EXPECT_EQ(ui.textOffers, std::vector<std::string>{"育才中学"});
    EXPECT_EQ(state.schoolName, "育才中学");
    const std::string s = "育才中学";
    EXPECT_EQ(
        rowsOf(state.students),
        (Rows{
            studentRow(s, "9", "林晓雨", {"132", "141", "118", "88", "76", "81", "", "70", "85"}, "791"),
            studentRow(s, "9", "周子航", {"105", "96", "101", "64", "58", "66", "", "61", "72"}, "623"),
            studentRow(s, "9", "陈思远", {"88", "72", "95", "52", "47", "59", "", "55", "63"}, "531"),
            studentRow(s, "10", "赵一鸣", {"121", "150", "126", "97", "90", "88", "", "79", "90"}, "841"),
            studentRow(s, "10", "孙可欣", {"97", "89.5", "112", "71", "69", "74", "", "66", "81"}, "659.5"),
            studentRow(s, "10", "吴天宇", {"60", "118", "84", "79", "62", "57", "", "48", "58"}, "566"),
        }));
    EXPECT_EQ(state.imported.classList.entries(), (std::vector<std::string>{"育才中学 9", "育才中学 10"}));
    EXPECT_EQ(state.imported.schoolList, std::vector<std::string>{"育才中学"});
    std::vector<std::string> log;
    for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "导入工作表：高二物理类",
                       "工作表“高二物理类”的标题在第2、3两行。",
                       "“学生姓名”列按姓名读取。",
                       "“班别”列按班级读取。",
                       "“外语”列按英语读取。",
                       "“道德与法治”列按政治读取。",
                       "工作表“高二物理类”没有“学校”列，各行都按“育才中学”导入。",
                       "导入高二：1所学校，2个班级，8科成绩，共6人",
                   }));
    // The school is asked for before the confirmation.
    auto calls = callsWithoutTime(ui.calls);
    EXPECT_EQ(calls[0].rfind("text:学校名称:", 0), 0u) << calls[0];
    EXPECT_EQ(calls[1].rfind("question:确认:", 0), 0u) << calls[1];
}

// A 语数英-only monthly test at two schools, imported with 八年级's seeded full marks: only the
// three subjects in the sheet are examined, so the missing-subject rule counts against those; the
// columns that are no subject of Varnex's are named once when the import completes.
// An extra subject that has a full mark at the import is confirmed and checked like the listed
// ones: 韩立新's 信息技术 of 92 is above a full mark of 90, and nothing is taken.
TEST_P(PlatformSheetFormats, ExtraSubjectWithAFullMarkIsConfirmedAndChecked) {
    const FullMarks threeSubjects{150, 150, 150, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int fullMark : {100, 90}) {
        AppState state = scoreState("platform_sheets." + GetParam(), "初二月考", threeSubjects, 0);
        state.scores.setExtraFullMark("信息技术", fullMark);
        ScriptedFrontend ui;
        ui.expectQuestion(
            strprintf("您设定的4科分值如下：\n语文：150\n数学：150\n英语：150\n信息技术：%d\n", fullMark),
            true);
        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_TRUE(ui.allQuestionsAsked());
        if (fullMark == 100) {
            ASSERT_TRUE(imported) << imported.error();
            std::vector<std::string> log;
            for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
            EXPECT_NE(std::find(log.begin(), log.end(), "导入七年级：2所学校，4个班级，4科成绩，共5人"),
                      log.end());
            EXPECT_NE(std::find(log.begin(), log.end(),
                                "以下各列不是可统计的学科，未作分析：音乐。在“其他学科”中填写分值即可统计。"),
                      log.end());
            // The sheet's 总分 leaves 信息技术 out; the sums now count it.
            EXPECT_EQ(log.back(),
                      "5名学生的表中总分与各科之和不同（相差75到92分），如第3行：表中315，各科之和403；"
                      "表中“音乐”一列未作分析");
            continue;
        }
        EXPECT_FALSE(imported);
        EXPECT_EQ(state.students.rowCount(), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find("信息技术分数：92不能大于信息技术满分：90"), std::string::npos)
            << ui.messages[0].text;
    }
}

TEST_P(PlatformSheetFormats, ThreeSubjectSheetDecidesWhatWasExamined) {
    const std::string file = "platform_sheets." + GetParam();
    const FullMarks seeded{150, 150, 150, 100, 0, 100, 100, 100, 100, 0, 0};
    AppState state = scoreState(file, "初二月考", seeded, 0);
    state.gradeIndex = 7;  // 八年级
    ScriptedFrontend ui;
    ui.expectQuestion(
        "您设定的3科分值如下：\n语文：150\n数学：150\n英语：150\n表中没有：物理、生物、历史、地理、政治，本次"
        "不统计\n\n",
        true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();

    EXPECT_TRUE(ui.allQuestionsAsked());
    EXPECT_TRUE(ui.messages.empty());
    // The columns that are no subject of the list are kept after the total, for a full mark given
    // later; the total is the listed subjects' until then.
    auto withExtras = [](std::vector<std::string> row, const char* it, const char* music) {
        row.insert(row.end(), {it, music});
        return row;
    };
    EXPECT_EQ(rowsOf(state.students),
              (Rows{
                  withExtras(studentRow("城东中学", "3", "方雨桐", {"112", "98", "105"}, "315"), "88", "良"),
                  withExtras(studentRow("城东中学", "3", "韩立新", {"95", "120", "87"}, "302"), "92", "优"),
                  withExtras(studentRow("城东中学", "4", "贺明轩", {"131", "104", "140"}, "375"), "75", "良"),
                  withExtras(studentRow("城西中学", "4", "江若溪", {"88", "76", "93"}, "257"), "81", "中"),
                  withExtras(studentRow("城西中学", "3", "罗浩然", {"102", "115", "99"}, "316"), "90", "优"),
              }));
    EXPECT_EQ(state.imported.extraColumns, (std::vector<std::string>{"信息技术", "音乐"}));
    std::vector<std::string> columns;
    for (const RowTableColumn& column : state.students.columns()) columns.push_back(column.name);
    EXPECT_EQ(columns, (std::vector<std::string>{"学校", "班级", "姓名", "语文", "数学", "英语", "物理",
                                                 "化学", "生物", "历史", "地理", "政治", "体育", "实验",
                                                 "总分", "信息技术", "音乐"}));
    EXPECT_EQ(state.imported.examSubjects, (std::vector<std::string>{"语文", "数学", "英语"}));
    EXPECT_EQ(state.imported.examFullMarkTotal, 450);
    EXPECT_EQ(state.imported.subjectsNotInSheet,
              (std::vector<std::string>{"物理", "生物", "历史", "地理", "政治"}));
    EXPECT_EQ(state.scores.fullMark, seeded);
    std::vector<std::string> log;
    for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "导入工作表：初二月考",
                       "工作表“初二月考”的标题在第2行。",
                       "“学校名称”列按学校读取。",
                       "“外语”列按英语读取。",
                       "导入八年级：2所学校，4个班级，3科成绩，共5人",
                       "以下各列不是可统计的学科，未作分析：信息技术、音乐。在“其他学科”中填写分值即可统计。",
                   }));
}

INSTANTIATE_TEST_SUITE_P(Formats, PlatformSheetFormats, ::testing::Values("xlsx", "xls"));

// A marking platform's web page saved under an .xls name: a title row, a two-row header whose key
// cells span both rows, the school and each class spanning their students' rows.
TEST(StudentImport, PlatformWebPage) {
    TempDir dir;
    const std::string path = dir.file("成绩导出.xls");
    writeFile(
        path,
        "<html><head><meta charset=\"utf-8\"><title>成绩</title></head><body><table>"
        "<tr><td colspan=7>高二期末考试成绩</td></tr>"
        "<tr><th rowspan=2>学校</th><th rowspan=2>班级</th><th rowspan=2>姓名</th><th colspan=2>语文</th>"
        "<th colspan=2>数学</th></tr>"
        "<tr><th>原始分</th><th>年级排名</th><th>原始分</th><th>年级排名</th></tr>"
        "<tr><td rowspan=3>育才中学</td><td rowspan=2>高二9班</td><td>甲</td><td>120</td><td>1</td>"
        "<td>90</td><td>2</td></tr>"
        "<tr><td>乙</td><td>100</td><td>2</td><td>95</td><td>1</td></tr>"
        "<tr><td>高二10班</td><td>丙</td><td>80</td><td>3</td><td>70</td><td>3</td></tr>"
        "</table></body></html>");
    AppState state = scoreState("成绩导出.xls", "成绩", {150, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    state.workbook.path = path;
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();

    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(rowsOf(state.students), (Rows{studentRow("育才中学", "9", "甲", {"120", "90"}, "210"),
                                            studentRow("育才中学", "9", "乙", {"100", "95"}, "195"),
                                            studentRow("育才中学", "10", "丙", {"80", "70"}, "150")}));
    EXPECT_EQ(withoutTime(ui.logLines[1]), "工作表“成绩”的标题在第2、3两行。");
}

// A name that cannot be a school's (empty, 全部) is asked for again with the reason in front; a
// cancelled question ends the import with a line in the log, the name given last staying.
TEST(StudentImport, SheetWithoutSchoolNeedsAName) {
    struct Case {
        std::optional<std::string> first;
        const char* reason;  ///< in front of the second question, "" when there is none
        std::optional<std::string> second;
    };
    const Case cases[] = {
        {std::nullopt, "", std::nullopt},
        {" \u3000", "学校名称不能为空，请重新输入。", std::nullopt},
        {"全部", "学校名称不能是“全部”，请换一个名称。", std::nullopt},
        {"", "学校名称不能为空，请重新输入。", "新校"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        AppState state = scoreState("platform_sheets.xlsx", "高二物理类", kThreeSubjects);
        state.schoolName = "旧名";
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectTextQuestion("没有“学校”列", c.first);
        if (*c.reason)
            ui.expectTextQuestion(std::string(c.reason) + "\n\n工作表“高二物理类”没有“学校”列", c.second);
        if (c.second) ui.expectQuestion("导入年级", true);

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_TRUE(ui.allQuestionsAsked());
        EXPECT_TRUE(ui.messages.empty());
        if (*c.reason) {
            EXPECT_EQ(ui.textOffers.at(1), "");  // the refused name is not offered again
        }
        if (c.second) {
            ASSERT_TRUE(imported) << imported.error();
            EXPECT_EQ(state.schoolName, "新校");
            continue;
        }
        EXPECT_EQ(imported.errorKind(), ErrorKind::Cancelled);
        EXPECT_EQ(withoutTime(ui.logLines.back()), "没有输入学校名称，工作表“高二物理类”没有导入。");
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
        EXPECT_EQ(state.schoolName, "旧名");
        EXPECT_TRUE(ui.enabled.empty());
    }
}

// A class that is empty, or nothing but a grade and 班, is a problem of its row, naming the file,
// sheet, row and column; nothing of the sheet is imported.
TEST(StudentImport, ClassWithNothingLeftStopsAtItsRow) {
    TempDir dir;
    const std::string path = dir.file("班级.xlsx");
    writeInputWorkbook(
        path,
        {{"成绩",
          {{"考试成绩"},
           {"学校", "班级", "姓名", "语文"},
           {"一中", "高二1班", "甲", "90"},
           {"一中", "高二班", "乙", "80"}}},
         {"空班", {{"学校", "班级", "姓名", "语文"}, {"一中", "1", "甲", "90"}, {"一中", "", "乙", "80"}}}});
    const std::pair<const char*, const char*> cases[] = {
        {"成绩", "文件“班级.xlsx”工作表“成绩”第4行B列的班级“高二班”去掉年级和“班”字后为空，请写明是哪个班！"},
        {"空班", "文件“班级.xlsx”工作表“空班”第3行B列的班级为空，请填写班级！"},
    };
    for (const auto& [sheet, message] : cases) {
        SCOPED_TRACE(sheet);
        AppState state = scoreState("班级.xlsx", sheet, kChineseOnly);
        state.workbook.path = path;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_EQ(imported.errorKind(), ErrorKind::BadInput);
        EXPECT_EQ(imported.error(), ui.messages.at(0).text);

        const std::string line =
            std::string("第") + (sheet == std::string("成绩") ? "4" : "3") + "行 乙：" + message;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  std::string("工作表“") + sheet +
                      "”中有1处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n" + line);
        EXPECT_EQ(withoutTime(ui.logLines.back()), ui.messages[0].text);
        EXPECT_EQ(state.students.rowCount(), 0);
        EXPECT_TRUE(state.imported.classList.empty());
    }
}

// 语文 at 160 asks first; confirmed, only 学校, 班级, 姓名 and 语文 are read (the sheet has no
// other column), and the all-empty row ends the data before a row that would fail its checks.
TEST(StudentImport, ConfirmedFullMarkAndEmptyRowEndingTheData) {
    AppState state = scoreState("students_cases.xlsx", "空行", {160, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    ScriptedFrontend ui;
    ui.expectQuestion("", true);
    ui.expectQuestion("", true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();

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
    AppState state = scoreState("students_cases.xlsx", "缺考", marks);
    ScriptedFrontend ui;
    for (int i = 0; i < 4; ++i) ui.expectQuestion("", true);
    ui.expectQuestion("", false);  // the confirmation

    Result<ImportOutcome> imported = importStudents(state, ui);
    EXPECT_EQ(imported.errorKind(), ErrorKind::Cancelled);

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

        Result<ImportOutcome> imported = importStudents(state, ui);
        ASSERT_FALSE(imported);
        // Without a message the person declined a question.
        EXPECT_EQ(imported.errorKind(), *c.message != '\0' ? ErrorKind::BadInput : ErrorKind::Cancelled);

        EXPECT_TRUE(ui.allQuestionsAsked());
        if (*c.message != '\0') {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, c.message);
            EXPECT_EQ(ui.messages[0].caption, "错误");
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
            ASSERT_EQ(ui.logLines.size(), 1u);  // a refusal is in the log too
            EXPECT_EQ(withoutTime(ui.logLines[0]), c.message);
        } else {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_TRUE(ui.logLines.empty());
        }
        // The title is the opened sheet's again.
        EXPECT_EQ(ui.titles, std::vector<std::string>{"Varnex - " + state.workbook.title + "：" +
                                                      state.workbook.selectedSheetName()});
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

        Result<ImportOutcome> imported = importStudents(state, ui);
        ASSERT_TRUE(imported) << imported.error();

        for (const auto& message : ui.messages) EXPECT_NE(message.icon, MessageIcon::Error) << message.text;
        EXPECT_EQ(names(state.students), c.imported);
        EXPECT_EQ(state.imported.classList.size(), 5u);
        ASSERT_GE(ui.logLines.size(), 2u);
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

    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();

    ASSERT_EQ(state.students.rowCount(), 5);
    EXPECT_EQ(state.students.row(1).texts(),
              studentRow("一中", "2", "缺四", {"", "", "0", "0", "10", "10", "10", "10", "10"}, "50"));
    EXPECT_EQ(state.students.row(0)[kTotalColumn], "90");
    EXPECT_EQ(state.students.row(4).texts(), studentRow("一中", "5", "全缺", {}, "0"));
}

// Text in a score cell ("缺考", "95分") is read like atof/atoi: its leading number or 0 in the
// total and in the full-mark check. Counting blank scores as 0, only an empty cell or "0" counts as
// missing, so with no missing subject allowed 乙 (a 0) is skipped while 丙, who has 缺考 in every
// subject, is kept with the total 0; leaving them out, 缺考 is missing too. The completion says how
// many blank scores and texts each subject had, how they count, and who was skipped.
TEST(StudentImport, TextScores) {
    TempDir dir;
    const std::string path = dir.file("文字成绩.xlsx");
    writeInputWorkbook(path, {{"成绩",
                               {{"学校", "班级", "姓名", "语文", "数学", "英语"},
                                {"一中", "1", "甲", "缺考", "90", "80"},
                                {"一中", "1", "乙", "0", "90", "80"},
                                {"一中", "1", "丙", "缺考", "缺考", "缺考"},
                                {"一中", "1", "丁", "95分", "９０", " 80 "}}}});
    const auto jia = studentRow("一中", "1", "甲", {"缺考", "90", "80"}, "170");
    const auto bing = studentRow("一中", "1", "丙", {"缺考", "缺考", "缺考"}, "0");
    const auto ding = studentRow("一中", "1", "丁", {"95分", "90", "80"}, "265");
    struct Case {
        bool excluded;
        Rows imported;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {false,
         {jia, bing, ding},
         {"导入七年级：1所学校，1个班级，3科成绩，共3人", "语文：空白0个，缺考等文字2个，按0分计入统计。",
          "数学：空白0个，缺考等文字1个，按0分计入统计。", "英语：空白0个，缺考等文字1个，按0分计入统计。",
          "按缺考规则未导入1人：第3行 乙"}},
        {true,
         {ding},
         {"导入七年级：1所学校，1个班级，3科成绩，共1人",
          "按缺考规则未导入3人：第2行 甲、第3行 乙、第4行 丙"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.excluded);
        AppState state = scoreState("文字成绩.xlsx", "成绩", kThreeSubjects, 1, 0);
        state.workbook.path = path;
        state.exportOptions.blankScoresExcluded = c.excluded;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<ImportOutcome> imported = importStudents(state, ui);
        ASSERT_TRUE(imported) << imported.error();

        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(rowsOf(state.students), c.imported);
        std::vector<std::string> log;
        for (size_t i = 1; i < ui.logLines.size(); ++i) log.push_back(withoutTime(ui.logLines[i]));
        EXPECT_EQ(log, c.log);
    }
}

// A row that fails a check keeps the whole sheet out: the previous import stays as it was (its
// table, lists and counts), export is not enabled anew, and the box names the row and the student.
TEST(StudentImport, RowProblemsChangeNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"无学校", "第3行 乙：学校名称不能为空！"},
        {"全部", "第3行 乙：学校名称不能为“全部”！"},
        {"无姓名", "第3行：姓名不能为空！"},
        {"跳过", "第4行：姓名不能为空！"},
        // 150.5 passes against 150 (whole-number comparison), 151 does not.
        {"满分", "第3行 乙：语文分数：151不能大于语文满分：150"},
    };
    for (const auto& [sheet, line] : cases) {
        SCOPED_TRACE(sheet);
        AppState state = scoreState("students_cases.xlsx", sheet, {150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
        putPreviousImport(state);
        const ImportResults before = state.imported;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_EQ(imported.errorKind(), ErrorKind::BadInput);
        EXPECT_EQ(imported.error(), ui.messages.at(0).text);

        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  std::string("工作表“") + sheet +
                      "”中有1处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n" + line);
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(withoutTime(ui.logLines.back()), ui.messages[0].text);
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
        const ImportResults& r = state.imported;
        EXPECT_EQ(r.classList.entries(), before.classList.entries());
        EXPECT_EQ(r.studentCount, 99);
        EXPECT_EQ(r.classCount, 7);
        EXPECT_EQ(r.schoolList, before.schoolList);
        EXPECT_EQ(r.examSubjects, before.examSubjects);
    }
}

// A sheet without any class or without any data row empties the tables and enables export.
TEST(StudentImport, EmptySheetsEmptyTheTables) {
    const std::pair<const char*, const char*> cases[] = {
        {"首行空", "未找到任何班级！"},
        {"仅标题", "未找到任何成绩数据！"},
    };
    for (const auto& [sheet, message] : cases) {
        SCOPED_TRACE(sheet);
        AppState state = scoreState("students_cases.xlsx", sheet, kChineseOnly);
        putPreviousImport(state);
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_EQ(imported.errorKind(), ErrorKind::BadInput);
        EXPECT_EQ(imported.error(), ui.messages.at(0).text);

        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, message);
        const std::vector<std::string> calls = callsWithoutTime(ui.calls);
        EXPECT_NE(std::find(calls.begin(), calls.end(), "enable:Export:on"), calls.end());
        EXPECT_EQ(calls.back(), "title:Varnex - students_cases：" + std::string(sheet));  // at rest again
        EXPECT_EQ(state.students.rowCount(), 0);
        EXPECT_TRUE(state.imported.classList.empty());
        EXPECT_EQ(state.imported.studentCount, 0);
        EXPECT_TRUE(state.imported.schoolList.empty());
    }
}

// Every problem of the sheet in one box, in sheet order, each with its row, name, column and value,
// counted; a score below 0 and a name twice in a class follow apart, as they would not block on
// their own.
TEST(StudentImport, EveryProblemAtOnce) {
    TempDir dir;
    const std::string path = dir.file("问题.xlsx");
    const std::vector<std::vector<std::string>> rows = {
        {"学校", "班级", "姓名", "语文", "数学"}, {"一中", "1", "张三", "152", "90"},
        {"一中", "1", "李四", "优", "-3"},        {"", "2", "王五", "80", "80"},
        {"一中", "2", "赵六", "80", "缺考"},      {"一中", "2", "赵六", "/", "９５"},
    };
    writeInputWorkbook(path, {{"成绩", rows}});
    AppState state = scoreState("问题.xlsx", "成绩", kThreeSubjects);
    state.scores.fullMark = {150, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    state.workbook.path = path;
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    EXPECT_EQ(imported.errorKind(), ErrorKind::BadInput);
    EXPECT_EQ(imported.error(), ui.messages.at(0).text);

    const std::string text =
        "工作表“成绩”中有3处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n"
        "第2行 张三：语文分数：152不能大于语文满分：150\n"
        "第3行 李四：语文分数：“优”不是分数，也不是“缺考”等表示没有成绩的文字\n"
        "第4行 王五：学校名称不能为空！\n"
        "\n"
        "另有2处请核对（这些不影响导入）：\n"
        "第3行 李四：数学分数：-3不能小于0\n"
        "第6行 赵六：（2）班已有同名学生（第5行），请确认不是重复录入";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, text);
    EXPECT_EQ(withoutTime(ui.logLines.back()), text);
    EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
    EXPECT_EQ(state.imported.studentCount, 99);

    // Put right, the problems that do not block are listed in the log and the rows go in.
    TempDir fixed;
    state.workbook.path = fixed.file("问题.xlsx");
    auto good = rows;
    good[1][3] = "150";
    good[2][3] = "88";
    good[3][0] = "一中";
    writeInputWorkbook(state.workbook.path, {{"成绩", good}});
    ScriptedFrontend again;
    again.expectQuestion("", true);

    Result<ImportOutcome> corrected = importStudents(state, again);
    ASSERT_TRUE(corrected) << corrected.error();

    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(names(state.students), (std::vector<std::string>{"张三", "李四", "王五", "赵六", "赵六"}));
    EXPECT_EQ(state.students.cellText(4, 4), "95");
    std::vector<std::string> log;
    for (const auto& line : again.logLines) log.push_back(withoutTime(line));
    const std::vector<std::string> tail(log.end() - 3, log.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{"请核对以下2处（已导入）：", "第3行 李四：数学分数：-3不能小于0",
                                        "第6行 赵六：（2）班已有同名学生（第5行），请确认不是重复录入"}));
}

// A row the reader cannot deliver ends the import; nothing of the sheet is taken.
TEST(StudentImport, UnreadableRowEndsTheImport) {
    AppState state = scoreState("students_bad_row.xlsx", "成绩", kChineseOnly);
    putPreviousImport(state);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);

    Result<ImportOutcome> imported = importStudents(state, ui);
    EXPECT_EQ(imported.errorKind(), ErrorKind::FileRefused);

    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& text = ui.messages[0].text;
    EXPECT_EQ(text.rfind("工作表“成绩”读到第", 0), 0u) << text;
    EXPECT_NE(text.find("行时无法继续读取："), std::string::npos) << text;
    EXPECT_EQ(withoutTime(ui.logLines.back()), text);
    EXPECT_TRUE(ui.enabled.empty());
    EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
    EXPECT_EQ(state.imported.studentCount, 99);
    EXPECT_EQ(state.imported.classCount, 7);
}

// A workbook or sheet that cannot be read: the message says so plainly (the reader's text where it
// has one), goes to the log, and the title is the opened sheet's again.
TEST(StudentImport, SheetThatCannotBeRead) {
    struct Case {
        const char* name;
        std::string path;
        std::string sheet;
        std::string messageStart;
        std::string messageEnd;
    };
    const Case cases[] = {
        {"no such sheet", fixture("students_cases.xlsx"), "不存在",
         "无法读取工作表“不存在”：工作簿中没有名为“不存在”的工作表", ""},
        {"no such file", fixture("students_missing.xlsx"), "成绩", "无法打开工作簿：",
         "students_missing.xlsx”"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = scoreState("students_cases.xlsx", c.sheet, kChineseOnly);
        state.workbook.path = c.path;
        putPreviousImport(state);
        ScriptedFrontend ui;

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_FALSE(imported);

        // The sheet is read before the confirmation, which is then not asked.
        EXPECT_TRUE(ui.questions.empty());
        ASSERT_EQ(ui.messages.size(), 1u);
        const std::string& text = ui.messages[0].text;
        EXPECT_EQ(text.rfind(c.messageStart, 0), 0u) << text;
        EXPECT_TRUE(text.ends_with(c.messageEnd)) << text;
        EXPECT_EQ(text.find("异常"), std::string::npos) << text;
        EXPECT_EQ(ui.messages[0].caption, "错误");
        EXPECT_EQ(withoutTime(ui.logLines.back()), text);
        EXPECT_EQ(ui.titles, std::vector<std::string>{"Varnex - students_cases：" + c.sheet});
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
    }
}

// A header without the columns the import needs: the message names what is missing only (学校 only
// while no school name has been given, one entry for the subjects) and where the header was looked
// for; an empty sheet says that it is empty.
TEST(StudentImport, MissingColumnsAreNamedAsTheyAreMissing) {
    TempDir dir;
    const std::string path = dir.file("列.xlsx");
    writeInputWorkbook(path, {{"无姓名", {{"学校", "班级", "语文"}, {"一中", "1", "90"}}},
                              {"只有班级", {{"班级", "语文", "数学"}, {"1", "90", "80"}}},
                              {"无学科", {{"学校", "班级", "姓名", "备注"}, {"一中", "1", "甲", ""}}},
                              {"空", {}}});
    const std::string advice = "\n请检查标题行的写法，或者选择成绩所在的工作表。";
    struct Case {
        const char* sheet;
        const char* schoolName;  ///< the school given before
        FullMarks marks;
        std::string message;
    };
    const Case cases[] = {
        {"无姓名", "", kThreeSubjects, "工作表“无姓名”的前20行中没有找到完整的标题行，缺少：姓名。" + advice},
        {"只有班级", "", kThreeSubjects,
         "工作表“只有班级”的前20行中没有找到完整的标题行，缺少：学校，姓名。" + advice},
        {"只有班级", "一中", kThreeSubjects,
         "工作表“只有班级”的前20行中没有找到完整的标题行，缺少：姓名。" + advice},
        {"无学科", "", kThreeSubjects,
         "工作表“无学科”的前20行中没有找到完整的标题行，缺少：至少一个学科（语文、数学……）。" + advice},
        {"无学科", "", kChineseOnly, "工作表“无学科”的前20行中没有找到完整的标题行，缺少：语文。" + advice},
        {"空", "", kChineseOnly, "工作表“空”是空的，没有可以导入的内容。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        AppState state = scoreState("列.xlsx", c.sheet, c.marks);
        state.workbook.path = path;
        state.schoolName = c.schoolName;
        ScriptedFrontend ui;

        Result<ImportOutcome> imported = importStudents(state, ui);
        EXPECT_EQ(imported.error(), c.message);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(withoutTime(ui.logLines.back()), c.message);
        EXPECT_TRUE(ui.questions.empty());
    }
}

// The exam name follows the imported sheet's title row while the box holds the name Varnex
// proposed (the opened file's); a name the person typed stays, and so does the proposal when the
// sheet has no title.
TEST(StudentImport, ExamNameFromTheSheetTitle) {
    TempDir dir;
    const std::string path = dir.file("高二期末.xlsx");
    const std::vector<std::string> header{"学校", "班级", "姓名", "语文"};
    const std::vector<std::string> row{"一中", "1", "甲", "90"};
    writeInputWorkbook(
        path, {{"有标题", {{"2025-2026学年上学期高二期末考试"}, header, row}}, {"无标题", {header, row}}});
    struct Case {
        const char* sheet;
        const char* typed;  ///< the box's text, "" to keep the proposal
        const char* name;
    };
    const Case cases[] = {
        {"有标题", "", "2025-2026学年上学期高二期末考试"},
        {"有标题", "期末联考", "期末联考"},
        {"无标题", "", "高二期末"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sheet) + c.typed);
        AppState state = scoreState("高二期末.xlsx", c.sheet, kChineseOnly);
        state.workbook.path = path;
        state.examNames = {"高二期末"};
        state.examNameText = state.examNameProposal = "高二期末";
        if (*c.typed) state.examNameText = c.typed;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);

        ASSERT_TRUE(importStudents(state, ui));
        EXPECT_EQ(state.examNameText, c.name);
        if (*c.typed == '\0') {  // the proposal joins the box's list
            EXPECT_NE(std::find(state.examNames.begin(), state.examNames.end(), c.name),
                      state.examNames.end());
        }
    }
}

// ---------------------------------------------------------------- sheets as teachers keep them

constexpr FullMarks kChineseAndMaths{150, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// A class teacher's sheet without 学校 and 班级: both are asked for, the class offered from the
// file name and kept as class names are.
TEST(RealSheets, OneClassSheetTakesTheClassItIsGiven) {
    AppState state = scoreState("高二4班期中.xlsx", "成绩", kChineseAndMaths);
    state.gradeIndex = 10;
    ScriptedFrontend ui;
    ui.expectTextQuestion("没有“学校”列", "一中");
    ui.expectTextQuestion("没有“班级”列", "高二4班");
    ui.expectQuestion("", true);
    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();
    EXPECT_TRUE(ui.allQuestionsAsked());
    ASSERT_EQ(ui.textQuestions.size(), 2u);
    EXPECT_EQ(ui.textQuestions[1].text,
              "工作表“成绩”没有“班级”列，表中各行都算作同一个班级。\n请输入班级（如“4”或“高二4班”）：");
    EXPECT_EQ(ui.textQuestions[1].caption, "班级");
    EXPECT_EQ(ui.textOffers[1], "4");
    EXPECT_EQ(rowsOf(state.students), (Rows{
                                          studentRow("一中", "4", "林小雨", {"120", "130"}, "250"),
                                          studentRow("一中", "4", "周子航", {"100", "90"}, "190"),
                                          studentRow("一中", "4", "吴思远", {"80", "110"}, "190"),
                                      }));
    EXPECT_EQ(state.imported.classList.entries(), std::vector<std::string>{"一中 4"});
    EXPECT_EQ(state.imported.sheetTotalDifference, "");  // its 总分 is the sum of 语文 and 数学
    std::vector<std::string> log;
    for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
    EXPECT_EQ(log, (std::vector<std::string>{
                       "导入工作表：成绩",
                       "工作表“成绩”的标题在第2行。",
                       "工作表“成绩”没有“学校”列，各行都按“一中”导入。",
                       "工作表“成绩”没有“班级”列，各行都按（4）班导入。",
                       "导入高二：1所学校，1个班级，2科成绩，共3人",
                   }));
}

// No class given, an answer that names none, or rows of two schools: the sheet is refused, saying
// both ways out, and the previous import stays.
TEST(RealSheets, SheetWithoutClassColumnThatIsNoClassIsRefused) {
    struct Case {
        const char* file;
        const char* sheet;
        std::optional<std::string> answer;
        const char* why;
    };
    const Case cases[] = {
        {"高二4班期中.xlsx", "成绩", std::nullopt, "也没有给出整张表所属的班级"},
        {"高二4班期中.xlsx", "成绩", "班", "也没有给出整张表所属的班级"},
        {"real_sheets.xlsx", "两校无班级", "3", "而“学校”列中有多所学校（一中、二中……），不能算作同一个班级"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sheet);
        AppState state = scoreState(c.file, c.sheet, kChineseAndMaths);
        putPreviousImport(state);
        ScriptedFrontend ui;
        if (std::string(c.file) != "real_sheets.xlsx") ui.expectTextQuestion("没有“学校”列", "一中");
        ui.expectTextQuestion("没有“班级”列", c.answer);
        ui.expectQuestion("", true);
        EXPECT_FALSE(importStudents(state, ui));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find(
                      std::string("工作表“") + c.sheet + "”没有“班级”列，" + c.why +
                      "。\n请给出这张表的班级（整张表是同一个班级时），或在表中加上“班级”列后重新导入。"),
                  std::string::npos)
            << ui.messages[0].text;
        EXPECT_EQ(names(state.students), std::vector<std::string>{"旧生"});
        EXPECT_EQ(state.imported.classCount, 7);
    }
}

// A sheet sorted by total, raw and scaled scores, scaled scores only, a 总分 with a test that is
// no subject: what each imports, by hand.
TEST(RealSheets, ClassOrderScaledScoresAndTheSheetsOwnTotal) {
    constexpr FullMarks kScaledSubjects{100, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0};
    // Cells of 语文, 化学 and 政治 in their StudentTable places.
    auto scaledRow = [](const char* klass, const char* name, const char* chinese, const char* chemistry,
                        const char* politics, const char* total) {
        return studentRow("一中", klass, name, {chinese, "", "", "", chemistry, "", "", "", politics}, total);
    };
    // 禁毒 is kept after the fixed columns, ready to be counted once it has a full mark.
    auto withExtra = [](std::vector<std::string> row, const char* extra) {
        row.emplace_back(extra);
        return row;
    };
    struct Case {
        const char* sheet;
        FullMarks fullMarks;
        bool scaled;
        Rows rows;
        std::vector<std::string> classes;
        const char* logLine;  ///< a line the log must hold, "" for none
        const char* totalDifference;
        bool computeScaled = false;  ///< 计算赋分: the raw scores are read to be scaled
    };
    const Case cases[] = {
        {"按总分排序",
         kChineseAndMaths,
         false,
         Rows{studentRow("一中", "9", "方雨桐", {"95", "98"}, "193"),
              studentRow("一中", "10", "韩立新", {"96", "90"}, "186"),
              studentRow("一中", "2", "贺明轩", {"90", "88"}, "178"),
              studentRow("一中", "1", "江若溪", {"85", "80"}, "165"),
              studentRow("一中", "10", "罗浩然", {"70", "75"}, "145"),
              studentRow("一中", "2", "宋佳怡", {"60", "50"}, "110")},
         {"一中 1", "一中 2", "一中 9", "一中 10"},
         "",
         ""},
        {"原始分和赋分",
         kScaledSubjects,
         false,
         Rows{scaledRow("1", "唐明远", "90", "60", "70", "220"),
              scaledRow("1", "冯若兰", "80", "40", "90", "210"),
              scaledRow("2", "丁一凡", "70", "80", "50", "200")},
         {"一中 1", "一中 2"},
         "",
         ""},
        {"原始分和赋分",
         kScaledSubjects,
         true,
         Rows{scaledRow("1", "唐明远", "90", "80", "85", "255"),
              scaledRow("1", "冯若兰", "80", "70", "95", "245"),
              scaledRow("2", "丁一凡", "70", "90", "65", "225")},
         {"一中 1", "一中 2"},
         "化学、政治按赋分统计",
         ""},
        {"原始分和赋分",
         kScaledSubjects,
         true,
         Rows{scaledRow("1", "唐明远", "90", "60", "70", "220"),
              scaledRow("1", "冯若兰", "80", "40", "90", "210"),
              scaledRow("2", "丁一凡", "70", "80", "50", "200")},
         {"一中 1", "一中 2"},
         "化学、政治的赋分按原始分计算，未使用表中的赋分列",
         "",
         true},
        {"只有赋分",
         kScaledSubjects,
         false,
         Rows{scaledRow("1", "唐明远", "90", "80", "85", "255"),
              scaledRow("2", "丁一凡", "70", "90", "65", "225")},
         {"一中 1", "一中 2"},
         "化学、政治按赋分统计",
         ""},
        {"禁毒",
         kChineseAndMaths,
         false,
         Rows{withExtra(studentRow("城东中学", "1", "高子涵", {"110", "100"}, "210"), "10"),
              withExtra(studentRow("城东中学", "2", "马思琪", {"90", "95"}, "185"), "10"),
              withExtra(studentRow("城东中学", "2", "许文博", {"100", "85"}, "185"), "10")},
         {"城东中学 1", "城东中学 2"},
         "以下各列不是可统计的学科，未作分析：禁毒。在“其他学科”中填写分值即可统计。",
         "3名学生的表中总分比各科之和多10分，如第2行：表中220，各科之和210；表中“禁毒”一列未作分析"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sheet) + (c.scaled ? " 按赋分统计" : ""));
        AppState state = scoreState("real_sheets.xlsx", c.sheet, c.fullMarks);
        state.gradeIndex = 10;
        state.importOptions.scaledScores = c.scaled;
        state.scores.computeScaled = c.computeScaled;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);
        Result<ImportOutcome> imported = importStudents(state, ui);
        ASSERT_TRUE(imported) << imported.error();
        EXPECT_EQ(rowsOf(state.students), c.rows);
        EXPECT_EQ(state.imported.classList.entries(), c.classes);
        std::vector<std::string> log;
        for (const auto& line : ui.logLines) log.push_back(withoutTime(line));
        const bool scaledLogged = std::find(log.begin(), log.end(), "化学、政治按赋分统计") != log.end();
        EXPECT_EQ(scaledLogged, std::string(c.logLine) == "化学、政治按赋分统计");
        EXPECT_EQ(state.imported.scaledSubjects.empty(), !scaledLogged);
        if (*c.logLine != '\0') {
            EXPECT_NE(std::find(log.begin(), log.end(), c.logLine), log.end());
        }
        EXPECT_EQ(state.imported.sheetTotalDifference, c.totalDifference);
        if (*c.totalDifference != '\0') {
            EXPECT_NE(std::find(log.begin(), log.end(), c.totalDifference), log.end());
        }
    }
}

// Once 禁毒 has a full mark it is part of the sum, and a 总分 that includes it agrees.
TEST(RealSheets, TheSheetsTotalAgreesOnceTheExtraSubjectCounts) {
    AppState state = scoreState("real_sheets.xlsx", "禁毒", FullMarks{150, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    state.gradeIndex = 10;
    state.scores.setExtraFullMark("禁毒", 10);
    ScriptedFrontend ui;
    ui.expectQuestion("", true);
    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();
    EXPECT_EQ(state.imported.sheetTotalDifference, "");
}

// The state of a .csv score sheet opened (its one sheet named after the grade) for grade `gradeIndex`.
AppState csvSheetState(const std::string& path, int gradeIndex) {
    AppState state;
    state.workbook.path = path;
    state.workbook.title = kGradeNames[static_cast<size_t>(gradeIndex)];
    state.workbook.sheetNames = {state.workbook.title};
    state.workbook.selectedSheet = 0;
    state.gradeIndex = gradeIndex;
    return state;
}

// The track of each student comes from a 选科, 科类 or 首选科目 column and is kept with the row; the
// column is no subject and is not named among the columns not analysed.
TEST(Tracks, ReadFromTheTrackColumn) {
    TempDir dir;
    for (const char* header : {"选科", "科类", "首选科目"}) {
        SCOPED_TRACE(header);
        const std::string path = dir.file("高三.csv");
        writeFile(path, std::string("学校,班级,姓名,") + header +
                            ",语文\n一中,1,甲,物化生,90\n一中,1,乙,历史类,80\n一中,2,丙,,70\n");
        AppState state = csvSheetState(path, 11);
        state.scores.fullMark.fill(0);
        state.scores.fullMark[0] = 150;
        ScriptedFrontend ui;
        ui.expectQuestion("", true);
        Result<ImportOutcome> imported = importStudents(state, ui);
        ASSERT_TRUE(imported) << imported.error();
        std::vector<std::string> tracks;
        for (int row = 0; row < state.students.rowCount(); ++row) {
            const std::vector<std::string>& hidden = state.students.hiddenCells(row);
            tracks.push_back(hidden.size() > kTrackHiddenCell ? hidden[kTrackHiddenCell] : "?");
        }
        EXPECT_EQ(tracks, (std::vector<std::string>{"物理类", "历史类", ""}));
        for (const std::string& line : ui.logLines) EXPECT_EQ(line.find(header), std::string::npos) << line;
    }
}

// A 选科 cell naming three subjects: the other three of the six are not taken, so their blanks are
// not counted by the missing-subject rule (more than half of the subjects the student takes). 甲
// (物化生) missed 语文 of 6: kept; 乙 missed 语文, 数学 and 英语, 3 of 6: kept (counting the untaken
// blanks, 6 of 9 would have left him out); 丙 missed 4 of 6: left out; 丁 names only his track, so
// all 9 subjects count: 4 blanks of 9 keep him.
TEST(Tracks, SubjectsNotChosenAreNoMissedPapers) {
    TempDir dir;
    const std::string path = dir.file("高二.csv");
    writeFile(path,
              "学校,班级,姓名,选科,语文,数学,英语,物理,化学,生物,历史,政治,地理\n"
              "一中,1,甲,物化生,,100,100,80,70,60,,,\n"
              "一中,1,乙,物化生,,,,80,70,60,,,\n"
              "一中,1,丙,物化生,,,,,70,60,,,\n"
              "一中,1,丁,物理类,90,100,100,80,70,,,,\n");
    AppState state = csvSheetState(path, 10);
    state.scores.fullMark = {150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0};
    state.importOptions.missingRule = 0;
    ScriptedFrontend ui;
    ui.expectQuestion("", true);
    Result<ImportOutcome> imported = importStudents(state, ui);
    ASSERT_TRUE(imported) << imported.error();
    std::vector<std::string> names;
    for (int row = 0; row < state.students.rowCount(); ++row)
        names.emplace_back(state.students.cellText(row, 2));  // 姓名
    EXPECT_EQ(names, (std::vector<std::string>{"甲", "乙", "丁"}));
}

}  // namespace
}  // namespace varnex::testing
