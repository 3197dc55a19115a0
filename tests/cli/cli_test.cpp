#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "app/subjects.h"
#include "readers/workbook_reader.h"
#include "tests/support/input_workbook.h"
#include "tests/support/progress_exams.h"
#include "tests/support/temp_dir.h"
#include "workbook/cell_name.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

RunResult runCli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = shellQuoted(VARNEX_CLI);
    for (const auto& a : args) command += " " + shellQuoted(a);
    std::string errFile = dir.file("stderr.txt");
    command += " 2>" + shellQuoted(errFile) + " </dev/null";
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = readFile(errFile);
    return r;
}

std::vector<std::string> sheetNames(const std::string& path) {
    auto reader = openWorkbookReader(path);
    EXPECT_TRUE(reader) << reader.error();
    return reader ? (*reader)->sheetNames() : std::vector<std::string>{};
}

// Every cell of one sheet by its A1 address.
std::map<std::string, std::string> readSheet(const std::string& path, const std::string& sheet) {
    std::map<std::string, std::string> cells;
    auto reader = openWorkbookReader(path);
    if (!reader) return cells;
    const auto& names = (*reader)->sheetNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] != sheet) continue;
        auto stream = (*reader)->openSheet(i);
        if (!stream) continue;
        SheetRow row;
        for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row)) {
            for (size_t c = 0; c < row.cells.size(); ++c) {
                if (!row.cells[c].empty())
                    cells[CellName(static_cast<int>(c), static_cast<int>(row.number))] = row.cells[c];
            }
        }
    }
    return cells;
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings = dir.file("配置文件.ini");
        seedIfMissing(settings);
        sample = dir.file("示例.xlsx");
        RunResult r = runCli(dir, {"sample", "--schools", "2", "--classes-per-school", "3",
                                   "--students-per-class", "20", "--seed", "7", "-o", sample});
        ASSERT_EQ(r.status, 0) << r.err;
        ASSERT_EQ(r.out, sample + "\n");
    }

    // Examines exactly these subjects in 七年级 and leaves out the teacher rates.
    void examineOnly(const std::map<std::string, int>& fullMarks) {
        IniFile ini = IniFile::load(settings);
        for (const auto& subject : kSubjects) {
            auto it = fullMarks.find(subject.name);
            ini.set("七年级", subject.name, it == fullMarks.end() ? "0" : std::to_string(it->second));
        }
        ini.set("导出选项", "教师个人三率", "0");
        ASSERT_TRUE(ini.save(settings));
    }

    RunResult exportSample(const std::string& out, std::vector<std::string> extra = {"--yes"}) {
        std::vector<std::string> args = {"export",     sample,    "--teachers", "教师任课表", "--scores",
                                         "七年级",     "--grade", "七年级",     "--exam",     "期中考试",
                                         "--settings", settings,  "-o",         out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    }

    // Exports a sheet of a platform_sheets fixture as exam 期末 of `grade` with the settings file,
    // answering Yes; `extra` adds options (--school, --teachers …).
    RunResult exportPlatform(const std::string& file, const std::string& sheet, const std::string& grade,
                             const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", fixture(file), "--scores", sheet,        "--grade",
                                         grade,    "--exam",      "期末",     "--settings", settings,
                                         "--yes",  "-o",          out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    }

    TempDir dir;
    std::string settings;
    std::string sample;
};

TEST_F(CliTest, SampleListsItsSheetsAndIsDeterministic) {
    RunResult r = runCli(dir, {"sheets", sample});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "教师任课表\n七年级\n说明\n");
    auto scores = readSheet(sample, "七年级");
    EXPECT_EQ(scores["A1"], "序号");
    EXPECT_EQ(scores["D1"], "姓名");
    EXPECT_EQ(scores["G1"], "语文");
    EXPECT_EQ(scores["N1"], "总分");
    EXPECT_EQ(scores["A121"], "120");  // 2 schools × 3 classes × 20 students
    EXPECT_EQ(scores.count("A122"), 0u);

    std::string again = dir.file("again.xlsx");
    ASSERT_EQ(runCli(dir, {"sample", "--schools", "2", "--classes-per-school", "3", "--students-per-class",
                           "20", "--seed", "7", "-o", again})
                  .status,
              0);
    EXPECT_EQ(readSheet(again, "七年级"), scores);
    EXPECT_EQ(readSheet(again, "教师任课表"), readSheet(sample, "教师任课表"));
}

TEST_F(CliTest, ExportWritesEveryChosenSheetInTabOrder) {
    std::string out = dir.file("结果.xlsx");
    RunResult r = exportSample(out);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out + "\n");
    EXPECT_NE(r.err.find("导入七年级：2所学校，6个班级，7科成绩，共"), std::string::npos) << r.err;
    // A newly seeded settings file turns the charts on: their sheet follows 目录, and the completion
    // message lists it last.
    EXPECT_NE(r.err.find("此次共导出了 10 张表格"), std::string::npos) << r.err;
    // The completion names the file as saved; a terminal has no clipboard and opens nothing.
    EXPECT_NE(r.err.find("[信息] 文件“" + out + "”已经生成并保存！\n\n此次共导出了 10 张表格：\n目录\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("总分名次段\n统计图表\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("剪贴板"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("将为你打开"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "a progress line outside a terminal";
    const std::vector<std::string> tabs = sheetNames(out);
    EXPECT_EQ(tabs, (std::vector<std::string>{"目录", "统计图表", "班级总分排名", "总分前50名",
                                              "年级各科三率", "班级各科三率", "教师个人三率", "各科分数段",
                                              "总分分数段", "总分名次段"}));
    // 目录 lists the others in tab order.
    auto contents = readSheet(out, "目录");
    EXPECT_EQ(contents["A1"], "工作表名称");
    for (size_t i = 1; i < tabs.size(); ++i) EXPECT_EQ(contents["A" + std::to_string(i + 1)], tabs[i]);
    EXPECT_EQ(contents["B3"], "期中考试 - 班级总分排名（七年级）");
    auto grade = readSheet(out, "年级各科三率");
    EXPECT_EQ(grade["A1"], "期中考试 - 年级各科三率（七年级）");
    EXPECT_EQ(grade["A3"], "项目");
    EXPECT_EQ(grade["B4"], "第一中学");
    EXPECT_EQ(grade["B5"], "实验中学");
    EXPECT_EQ(grade["C4"], "60");
    EXPECT_EQ(grade["D3"], "语文150");
    EXPECT_EQ(grade["K3"], "总分850");
    EXPECT_TRUE(grade["D8"] == "1" || grade["D8"] == "2") << grade["D8"];  // a cached rank
    auto ranks = readSheet(out, "总分名次段");
    EXPECT_EQ(ranks["A4"], "第  1→10 名");
    EXPECT_EQ(ranks["D15"], " 10/120");  // the last band's 合计 reaches every student
}

// On a terminal the export rewrites one progress line, cleared before every message and log line.
TEST_F(CliTest, ATerminalShowsTheProgressLine) {
    std::string command = shellQuoted(VARNEX_CLI);
    for (const std::string& a :
         {std::string("export"), sample, std::string("--teachers"), std::string("教师任课表"),
          std::string("--scores"), std::string("七年级"), std::string("--grade"), std::string("七年级"),
          std::string("--exam"), std::string("期中考试"), std::string("--settings"), settings,
          std::string("--yes"), std::string("-o"), dir.file("结果.xlsx")})
        command += " " + shellQuoted(a);
    // script runs the command with a pseudo-terminal as its standard error (and output).
    const std::string run = "script -qec " + shellQuoted(command + " >/dev/null") + " /dev/null";
    FILE* pipe = popen(run.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string shown;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) shown.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << shown;
    // A log line goes above the step, which is shown again under it (a terminal ends lines "\r\n").
    EXPECT_NE(shown.find("\r\033[K导出：班级各科三率（"), std::string::npos) << shown;
    EXPECT_NE(shown.find("导出：班级各科三率\r\n导出：班级各科三率（"), std::string::npos) << shown;
    EXPECT_NE(shown.find("导出：保存结果工作簿（10/11）\r\033[K[信息]"), std::string::npos) << shown;
}

TEST_F(CliTest, ErrorsEndWithTheirMessageAndANonZeroStatus) {
    std::string out = dir.file("结果.xlsx");
    RunResult declined = exportSample(out, {});
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("确认无误吗？"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    RunResult missingSheet = runCli(dir, {"export", sample, "--scores", "不存在", "--grade", "七年级",
                                          "--exam", "期中", "--settings", settings, "--yes", "-o", out});
    EXPECT_EQ(missingSheet.status, 1);
    EXPECT_NE(missingSheet.err.find("不存在"), std::string::npos);

    RunResult missingColumn = runCli(dir, {"export", sample, "--scores", "教师任课表", "--grade", "七年级",
                                           "--exam", "期中", "--settings", settings, "--yes", "-o", out});
    EXPECT_EQ(missingColumn.status, 1);
    EXPECT_NE(missingColumn.err.find("的前20行中没有找到完整的标题行，缺少：姓名。"), std::string::npos)
        << missingColumn.err;
    EXPECT_EQ(missingColumn.err.find("异常"), std::string::npos) << missingColumn.err;

    ASSERT_EQ(exportSample(out).status, 0);
    RunResult existing = exportSample(out);
    EXPECT_EQ(existing.status, 1);
    EXPECT_NE(existing.err.find("已存在"), std::string::npos);
    EXPECT_EQ(exportSample(out, {"--yes", "--force"}).status, 0);

    // The workbook being read is never replaced, even with --force; a folder is not a file.
    std::string before = readFile(sample);
    RunResult ontoInput = exportSample(sample, {"--yes", "--force"});
    EXPECT_EQ(ontoInput.status, 1);
    EXPECT_NE(ontoInput.err.find("输出文件就是要导入的工作簿"), std::string::npos) << ontoInput.err;
    EXPECT_EQ(readFile(sample), before);
    RunResult ontoFolder = exportSample(dir.path(), {"--yes", "--force"});
    EXPECT_EQ(ontoFolder.status, 1);
    EXPECT_NE(ontoFolder.err.find("输出路径是一个文件夹"), std::string::npos) << ontoFolder.err;

    // Settings that cannot be read stop the export rather than give way to the built-in values.
    std::string utf16 = dir.file("utf16.ini");
    writeFile(utf16, std::string("\xFF\xFE[\0x\0]\0", 8));
    RunResult unreadable = runCli(dir, {"export", sample, "--scores", "七年级", "--grade", "七年级", "--exam",
                                        "期中", "--settings", utf16, "--yes", "-o", out + ".x.xlsx"});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.err.find("[错误] 无法读取配置文件：" + utf16 + "\n"), std::string::npos)
        << unreadable.err;
    EXPECT_EQ(readFile(utf16), std::string("\xFF\xFE[\0x\0]\0", 8));

    EXPECT_EQ(runCli(dir, {"export", sample}).status, 2);
    // An option of another command is refused before anything is done.
    const std::string unwritten = dir.file("未写.xlsx");
    RunResult foreign = runCli(dir, {"sample", "-o", unwritten, "--near", "3"});
    EXPECT_EQ(foreign.status, 2);
    EXPECT_EQ(foreign.err,
              "选项 --near 不能用于 sample 命令 / option --near cannot be used with the sample command\n");
    EXPECT_FALSE(std::filesystem::exists(unwritten));
    EXPECT_EQ(runCli(dir, {"sample", "--schools", "x", "-o", out}).status, 2);
    EXPECT_EQ(runCli(dir, {"sheets", dir.file("none.xlsx")}).status, 1);
}

// A class name with a blank in it ("实验 1") stays the class of its school: the teacher check
// passes, and the class and grade sheets find its students. Teacher and student sheets write the
// class differently ("高一实验 1班", "实验 1"): both are read as "实验 1".
TEST_F(CliTest, ClassNamesWithABlank) {
    std::string input = dir.file("班级名.xlsx");
    std::vector<std::string> teacherHead = {"学校", "年级", "班级", "语文", "数学", "英语", "物理",
                                            "化学", "生物", "历史", "地理", "政治", "体育", "实验"};
    testing::writeInputWorkbook(input, {{"教师",
                                         {teacherHead,
                                          {"一中", "七年级", "七年级实验 1班", "张老师", "李老师"},
                                          {"一中", "七年级", "实验 2班", "王老师", "赵老师"}}},
                                        {"成绩",
                                         {{"学校", "班级", "姓名", "语文", "数学"},
                                          {"一中", "实验 1", "甲", "90", "80"},
                                          {"一中", "七年级实验 2班", "乙", "70", "60"}}}});
    IniFile ini = IniFile::load(settings);
    for (const char* subject : {"英语", "生物", "历史", "地理", "政治"}) ini.set("七年级", subject, "0");
    ini.set("导出选项", "班级总分排名", "0");  // one sheet per class
    ASSERT_TRUE(ini.save(settings));

    std::string out = dir.file("班级名-结果.xlsx");
    RunResult r = runCli(dir, {"export", input, "--teachers", "教师", "--scores", "成绩", "--grade", "七年级",
                               "--exam", "月考", "--settings", settings, "--yes", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("导入七年级：1所学校，2个班级，2科成绩，共2人"), std::string::npos) << r.err;
    auto first = readSheet(out, "一中实验 1");
    EXPECT_EQ(first["A1"], "月考 - 班级总分排名 - 一中七年级（实验 1）班");
    EXPECT_EQ(first["B4"], "甲");
    EXPECT_EQ(first["E4"], "170");
    auto grade = readSheet(out, "年级各科三率");
    EXPECT_EQ(grade["B4"], "一中");
    EXPECT_EQ(grade["C4"], "2");
    auto classes = readSheet(out, "班级各科三率");
    EXPECT_EQ(classes["C4"], "（实验 1）班");
    EXPECT_EQ(classes["F4"], "张老师");
    EXPECT_EQ(classes["F5"], "王老师");
}

// The committed reader fixtures (a BIFF8 .xls, an .et) exported end to end.
TEST_F(CliTest, ExportsCommittedFixtures) {
    const std::vector<std::string> tabs = {"目录",       "统计图表",     "班级总分排名",
                                           "总分前50名", "年级各科三率", "班级各科三率",
                                           "各科分数段", "总分分数段",   "总分名次段"};

    // students_cases.xls, sheet 成绩: 张三 304.5 (一中 10), 李四 7 (一中 1), 王五 300 (二中 3),
    // 赵六 240.5 (一中 2), 钱七 180 (一中 10). 一中's classes are not consecutive (一中, 二中, 一中),
    // yet 一中 is one school with one column counting all four of its students.
    examineOnly({{"语文", 150}, {"数学", 150}, {"英语", 150}});
    std::string xlsOut = dir.file("xls-结果.xlsx");
    RunResult r =
        runCli(dir, {"export", fixture("students_cases.xls"), "--scores", "成绩", "--grade", "七年级",
                     "--exam", "月考", "--settings", settings, "--missing-rule", "2", "--yes", "-o", xlsOut});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("导入七年级：2所学校，4个班级，3科成绩，共5人"), std::string::npos) << r.err;
    EXPECT_EQ(sheetNames(xlsOut), tabs);
    auto ranks = readSheet(xlsOut, "总分名次段");
    EXPECT_EQ(ranks["A1"], "月考 - 总分名次段（七年级）");
    EXPECT_EQ(ranks["B3"], "一中/累计");
    EXPECT_EQ(ranks["C3"], "二中/累计");
    EXPECT_EQ(ranks["D3"], "合计/累计");
    EXPECT_EQ(ranks.count("E3"), 0u);
    EXPECT_EQ(ranks["A4"], "第  1→5  名");
    EXPECT_EQ(ranks["B4"], "  4/4  ");
    EXPECT_EQ(ranks["C4"], "  1/1  ");
    EXPECT_EQ(ranks["D4"], "  5/5  ");
    EXPECT_EQ(ranks.count("A5"), 0u);
    // Full mark 450: 46 bands, band j in row 49 − j.
    auto bands = readSheet(xlsOut, "总分分数段");
    EXPECT_EQ(bands["A4"], "满分:450分");
    EXPECT_EQ(bands["D4"], "  0/0  ");
    EXPECT_EQ(bands["A19"], "300→309分");
    EXPECT_EQ(bands["B19"], "  1/1  ");
    EXPECT_EQ(bands["C19"], "  1/1  ");
    EXPECT_EQ(bands["D19"], "  2/2  ");
    EXPECT_EQ(bands["A25"], "240→249分");
    EXPECT_EQ(bands["B25"], "  1/2  ");
    EXPECT_EQ(bands["D25"], "  1/3  ");
    EXPECT_EQ(bands["A49"], "  0→9  分");
    EXPECT_EQ(bands["B49"], "  1/4  ");
    EXPECT_EQ(bands["D49"], "  1/5  ");
    EXPECT_EQ(bands.count("A50"), 0u);
    // The grade sheet ranks two schools, 一中 with its four students.
    auto grade = readSheet(xlsOut, "年级各科三率");
    EXPECT_EQ(grade["B4"], "一中");
    EXPECT_EQ(grade["B5"], "二中");
    EXPECT_EQ(grade["C4"], "4");
    EXPECT_EQ(grade["A6"], "优秀率");

    // workbook_xls.et, sheet 成绩 with 语文 and 数学: 张三 85 + 92.5, 李四 −7 + 100; the empty row
    // after them ends the data.
    RunResult sheets = runCli(dir, {"sheets", fixture("workbook_xls.et")});
    EXPECT_EQ(sheets.status, 0) << sheets.err;
    EXPECT_EQ(sheets.out, "成绩\n教师任课表\n隐藏\nSheet4\n");
    examineOnly({{"语文", 150}, {"数学", 150}});
    std::string etOut = dir.file("et-结果.xlsx");
    r = runCli(dir, {"export", fixture("workbook_xls.et"), "--scores", "成绩", "--grade", "七年级", "--exam",
                     "月考", "--settings", settings, "--yes", "-o", etOut});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("导入七年级：1所学校，1个班级，2科成绩，共2人"), std::string::npos) << r.err;
    EXPECT_EQ(sheetNames(etOut), tabs);
    auto top = readSheet(etOut, "总分前50名");
    EXPECT_EQ(top["E3"], "语文150");
    EXPECT_EQ(top["G3"], "总分300");
    EXPECT_EQ(top["B4"], "第一中学");
    EXPECT_EQ(top["C4"], "（1）班");
    EXPECT_EQ(top["D4"], "张三");
    EXPECT_EQ(top["F4"], "92.5");
    EXPECT_EQ(top["G4"], "177.5");
    EXPECT_EQ(top["H4"], "1");
    EXPECT_EQ(top["D5"], "李四");
    EXPECT_EQ(top["E5"], "-7");
    EXPECT_EQ(top["G5"], "93");
    EXPECT_EQ(top["H5"], "2");
    EXPECT_EQ(top.count("A6"), 0u);
    ranks = readSheet(etOut, "总分名次段");
    EXPECT_EQ(ranks["B3"], "第一中学/累计");
    EXPECT_EQ(ranks.count("C3"), 0u);  // one school: no 合计
    EXPECT_EQ(ranks["A4"], "第  1→2  名");
    EXPECT_EQ(ranks["B4"], "  2/2  ");
    // Full mark 300: 31 bands, band j in row 34 − j.
    bands = readSheet(etOut, "总分分数段");
    EXPECT_EQ(bands["A4"], "满分:300分");
    EXPECT_EQ(bands["A17"], "170→179分");
    EXPECT_EQ(bands["B17"], "  1/1  ");
    EXPECT_EQ(bands["A25"], " 90→99 分");
    EXPECT_EQ(bands["B25"], "  1/2  ");
    EXPECT_EQ(bands["B34"], "  0/2  ");
}

// Sheets as a marking platform and a school keep them (platform_sheets.*: a title row, a two-row
// header, other names, class names such as 高二9班 and ９班, no 学校 column) export with no edit,
// the school given with --school; the .xls gives the same workbook as the .xlsx.
TEST_F(CliTest, PlatformSheetsExportAsTheyAre) {
    auto exportPhysics = [&](const std::string& file, const std::string& out,
                             std::vector<std::string> extra) {
        extra.insert(extra.end(), {"--teachers", "任课教师"});
        return exportPlatform(file, "高二物理类", "高二", out, extra);
    };
    const std::string out = dir.file("期末.xlsx");
    RunResult r = exportPhysics("platform_sheets.xlsx", out, {"--school", "育才中学"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("  -> 育才中学 (--school)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("导入教师任课记录：16条。"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("导入高二：1所学校，2个班级，8科成绩，共6人"), std::string::npos) << r.err;

    // 语文 and 数学 are out of 150 (seeded for 高二): excellent from 150 × 80 % = 120, a pass from
    // 150 × 60 % = 90, rates and averages to one decimal.
    //   class 9:  语文 132, 105, 88   → excellent 1 (132), pass 2, average 325 / 3 = 108.3
    //             数学 141, 96, 72    → excellent 1 (141), pass 2, average 309 / 3 = 103
    //   class 10: 语文 121, 97, 60    → excellent 1 (121), pass 2, average 278 / 3 = 92.7
    //             数学 150, 89.5, 118 → excellent 1 (150), pass 2 (89.5 fails), average 357.5 / 3 = 119.2
    //   each: 1 / 3 = 33.3 % excellent, 2 / 3 = 66.7 % pass
    auto classes = readSheet(out, "班级各科三率");
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        // row: 学科 label (first row of a block), 班级, 实考人数, 任课教师, 优秀人数, 优秀率, 及格人数,
        // 及格率, 平均分
        {"4", {"语文\n（150分）", "（9）班", "3", "许文静", "1", "33.3", "2", "66.7", "108.3"}},
        {"5", {"", "（10）班", "3", "许文静", "1", "33.3", "2", "66.7", "92.7"}},
        {"6", {"数学\n（150分）", "（9）班", "3", "马建国", "1", "33.3", "2", "66.7", "103"}},
        {"7", {"", "（10）班", "3", "邓超然", "1", "33.3", "2", "66.7", "119.2"}},
    };
    for (const auto& [row, cells] : expected) {
        const char* columns[] = {"A", "C", "D", "F", "G", "H", "J", "K", "M"};
        for (size_t i = 0; i < cells.size(); ++i)
            EXPECT_EQ(classes[columns[i] + row], cells[i]) << columns[i] << row;
    }
    EXPECT_EQ(classes["B4"], "育才中学");

    // The same sheets as BIFF8 give the same result workbook.
    const std::string xlsOut = dir.file("期末-xls.xlsx");
    ASSERT_EQ(exportPhysics("platform_sheets.xls", xlsOut, {"--school", "育才中学"}).status, 0);
    ASSERT_EQ(sheetNames(xlsOut), sheetNames(out));
    for (const std::string& sheet : sheetNames(out))
        EXPECT_EQ(readSheet(xlsOut, sheet), readSheet(out, sheet)) << sheet;

    // Without --school the sheet's missing 学校 column is named, and so is the option.
    RunResult noSchool = exportPhysics("platform_sheets.xlsx", dir.file("无校.xlsx"), {});
    EXPECT_EQ(noSchool.status, 1);
    EXPECT_NE(noSchool.err.find("工作表“任课教师”没有“学校”列"), std::string::npos) << noSchool.err;
    EXPECT_NE(noSchool.err.find("--school"), std::string::npos) << noSchool.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("无校.xlsx")));
}

// A class teacher's sheet (no 学校, no 班级: --school and --class), a sheet whose 总分 holds a
// 10-point 禁毒 test, and 按赋分统计 for one run: 班级各科三率 by hand.
TEST_F(CliTest, SheetsAsTeachersKeepThem) {
    IniFile ini = IniFile::load(settings);
    for (const char* subject : {"语文", "数学", "化学", "政治"})
        ini.set("高二", std::string(subject) + "优秀率", "80");
    ASSERT_TRUE(ini.save(settings));
    auto run = [&](const std::string& file, const std::string& sheet, const std::string& out,
                   std::vector<std::string> extra) {
        extra.insert(extra.end(), {"--reports", "班级各科三率"});
        return exportPlatform(file, sheet, "高二", out, extra);
    };
    // 语文 120, 100, 80 of 150: 1 excellent (from 120), 2 passes (from 90), average 100;
    // 数学 130, 90, 110: 1 excellent, 3 passes, average 110.
    const std::string one = dir.file("一个班.xlsx");
    RunResult r = run("高二4班期中.xlsx", "成绩", one, {"--school", "一中", "--class", "高二4班"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("  -> 高二4班 (--class)"), std::string::npos) << r.err;
    auto classes = readSheet(one, "班级各科三率");
    EXPECT_EQ(classes["C4"], "（4）班");
    EXPECT_EQ(classes["G4"], "1");
    EXPECT_EQ(classes["J4"], "2");
    EXPECT_EQ(classes["M4"], "100");
    EXPECT_EQ(classes["J5"], "3");
    EXPECT_EQ(classes["M5"], "110");
    RunResult noClass = run("高二4班期中.xlsx", "成绩", dir.file("无班.xlsx"), {"--school", "一中"});
    EXPECT_EQ(noClass.status, 1);
    EXPECT_NE(noClass.err.find("--class"), std::string::npos) << noClass.err;
    EXPECT_NE(noClass.err.find("或在表中加上“班级”列"), std::string::npos) << noClass.err;

    // The sheet's 总分 is each sum + 10: said in the log and the confirmation; the averages are
    // those of the scores (语文: class 1 110, class 2 (90 + 100) / 2 = 95).
    const std::string drugs = dir.file("禁毒.xlsx");
    r = run("real_sheets.xlsx", "禁毒", drugs, {"--full-mark", "语文=150,数学=150"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string said =
        "3名学生的表中总分比各科之和多10分，如第2行：表中220，各科之和210；表中“禁毒”一列未作分析";
    EXPECT_NE(r.err.find(said + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(said + "。统计按各科之和计算。"), std::string::npos) << r.err;
    classes = readSheet(drugs, "班级各科三率");
    EXPECT_EQ(classes["M4"], "110");
    EXPECT_EQ(classes["M5"], "95");

    // 化学 60, 40, 80 raw, 80, 70, 90 scaled: the class averages of (1) and (2).
    const std::string raw = dir.file("原始分.xlsx"), scaled = dir.file("赋分.xlsx");
    const std::vector<std::string> marks{"--full-mark", "语文=100,化学=100,政治=100"};
    ASSERT_EQ(run("real_sheets.xlsx", "原始分和赋分", raw, marks).status, 0);
    std::vector<std::string> withScaled = marks;
    withScaled.push_back("--scaled");
    r = run("real_sheets.xlsx", "原始分和赋分", scaled, withScaled);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("化学、政治按赋分统计"), std::string::npos) << r.err;
    auto rawRates = readSheet(raw, "班级各科三率"), scaledRates = readSheet(scaled, "班级各科三率");
    EXPECT_EQ(rawRates["A6"], "化学\n（100分）");
    EXPECT_EQ(rawRates["M6"], "50");
    EXPECT_EQ(rawRates["M7"], "80");
    EXPECT_EQ(scaledRates["M6"], "75");
    EXPECT_EQ(scaledRates["M7"], "90");
}

// With the seeded settings the score sheet decides what was examined: a physics-track sheet has
// no 历史, a monthly test only 语数英. The reports cover exactly the subjects in the sheet, the
// total's full mark is the sum over them, and the settings file is not changed; --full-mark still
// leaves out a subject that is in the sheet.
TEST_F(CliTest, TheScoreSheetDecidesWhichSubjectsWereExamined) {
    const std::string before = readFile(settings);
    auto run = [&](const std::string& sheet, const std::string& grade, const std::string& out,
                   std::vector<std::string> extra) {
        extra.insert(extra.end(), {"--school", "育才中学"});
        RunResult r = exportPlatform("platform_sheets.xlsx", sheet, grade, out, extra);
        EXPECT_EQ(r.status, 0) << r.err;
        return r;
    };
    auto allCells = [&](const std::string& path) {
        std::string text;
        for (const std::string& sheet : sheetNames(path)) {
            for (const auto& [address, cell] : readSheet(path, sheet)) text += cell + "|";
        }
        return text;
    };

    const std::string physics = dir.file("物理类.xlsx");
    RunResult r = run("高二物理类", "高二", physics, {"--teachers", "任课教师"});
    EXPECT_NE(r.err.find("表中没有：历史，本次不统计"), std::string::npos) << r.err;
    auto grade = readSheet(physics, "年级各科三率");
    const char* headers[] = {"语文150", "数学150", "英语150", "物理100", "化学100",
                             "生物100", "地理100", "政治100", "总分950"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(grade[CellName(3 + i, 3)], headers[i]) << i;
    EXPECT_EQ(allCells(physics).find("历史"), std::string::npos);
    // The total: excellent from 760 (= 950 × 80 %), a pass from 570 (= 950 × 60 %). Totals: class 9
    // 791, 623, 531; class 10 841, 659.5, 566. With 历史's 100 counted the lines would be 840 and
    // 630, giving 0 and 1 in class 9.
    auto classes = readSheet(physics, "班级各科三率");
    EXPECT_EQ(classes["A20"], "总分\n（950分）");
    EXPECT_EQ(classes["G20"], "1");
    EXPECT_EQ(classes["J20"], "2");
    EXPECT_EQ(classes["G21"], "1");
    EXPECT_EQ(classes["J21"], "2");
    EXPECT_EQ(grade["L4"], "2");  // 总分 excellent in the grade: 791 and 841

    const std::string monthly = dir.file("月考.xlsx");
    r = run("初二月考", "八年级", monthly, {});
    EXPECT_NE(r.err.find("表中没有：物理、生物、历史、地理、政治，本次不统计"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("以下各列不是可统计的学科，未作分析：信息技术、音乐。"), std::string::npos) << r.err;
    grade = readSheet(monthly, "年级各科三率");
    EXPECT_EQ(grade["D3"], "语文150");
    EXPECT_EQ(grade["E3"], "数学150");
    EXPECT_EQ(grade["F3"], "英语150");
    EXPECT_EQ(grade["G3"], "总分450");
    EXPECT_EQ(grade.count("H3"), 0u);

    const std::string noMaths = dir.file("无数学.xlsx");
    run("初二月考", "八年级", noMaths, {"--full-mark", "数学=0"});
    grade = readSheet(noMaths, "年级各科三率");
    EXPECT_EQ(grade["D3"], "语文150");
    EXPECT_EQ(grade["E3"], "英语150");
    EXPECT_EQ(grade["F3"], "总分300");

    EXPECT_EQ(readFile(settings), before);
}

// --full-mark, --excellence and --reports choose for one run; the settings file is not changed.
TEST_F(CliTest, FullMarksExcellenceAndReportsForOneRun) {
    const std::string before = readFile(settings);
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        extra.insert(extra.end(), {"--school", "育才中学"});
        return exportPlatform("platform_sheets.xlsx", "高二物理类", "高二", out, extra);
    };
    const std::string out = dir.file("一次.xlsx");
    RunResult r = run(out, {"--full-mark", "历史=0，外语=160", "--excellence", "语文=85,数学=90", "--reports",
                            "导出年级各科三率, 总分前3名"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(sheetNames(out), (std::vector<std::string>{"目录", "总分前3名", "年级各科三率"}));
    auto grade = readSheet(out, "年级各科三率");
    EXPECT_EQ(grade["F3"], "英语160");
    EXPECT_EQ(grade["D4"], "1");  // 语文 at 85 %: only 132 reaches 127.5 (at 80 % 121 would too)
    EXPECT_EQ(readFile(settings), before);

    const std::pair<std::vector<std::string>, const char*> wrong[] = {
        {{"--reports", "导出年级各科三率,成绩单"}, "未知的报表 / unknown report: 成绩单"},
        {{"--full-mark", "语文150"}, "--full-mark 的值应写作 学科=整数"},
        {{"--excellence", "考号=80"}, "未知的学科 / unknown subject: 考号"},
        {{"--full-mark", "语文排名=10"}, "未知的学科 / unknown subject: 语文排名"},
    };
    for (const auto& [extra, message] : wrong) {
        RunResult bad = run(dir.file("错.xlsx"), extra);
        EXPECT_EQ(bad.status, 2);
        EXPECT_NE(bad.err.find(message), std::string::npos) << bad.err;
    }
}

// A subject outside the list (禁毒, 10 points) is kept at the import and examined once it has a
// full mark, from the command line or from the settings file, like the subjects of the list: its
// rates, the totals with it and its teachers' rates, worked out by hand. Full marks 语文 100,
// 数学 100, 禁毒 10; lines at 80 % and 60 %: 禁毒 8 and 6, 总分 (210) 168 and 126.
//   class 1: 林一 90 80 10 (180), 林二 60 50 6 (116); class 2: 林三 70 95 8 (173), 林四 40 31 4 (75)
TEST_F(CliTest, AnExtraSubjectIsExaminedOnceItHasAFullMark) {
    examineOnly({{"语文", 100}, {"数学", 100}});
    IniFile ini = IniFile::load(settings);
    ini.set("导出选项", "教师个人三率", "1");
    ASSERT_TRUE(ini.save(settings));
    const std::string workbook = dir.file("禁毒.xlsx");
    testing::writeInputWorkbook(
        workbook, {{"成绩",
                    {{"学校", "班级", "姓名", "考号", "语文", "数学", "禁毒", "禁毒等级", "音乐"},
                     {"一中", "1", "林一", "1001", "90", "80", "10", "A", "优"},
                     {"一中", "1", "林二", "1002", "60", "50", "6", "C", "良"},
                     {"一中", "2", "林三", "2001", "70", "95", "8", "B", "优"},
                     {"一中", "2", "林四", "2002", "40", "31", "4", "D", "中"}}},
                   {"任课",
                    {{"学校", "班级", "语文", "数学", "禁毒"},
                     {"一中", "1", "周甲", "吴乙", "郑丙"},
                     {"一中", "2", "周甲", "吴乙", "王丁"}}}});
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export",     workbook,  "--scores", "成绩",   "--teachers",
                                         "任课",       "--grade", "七年级",   "--exam", "期中",
                                         "--settings", settings,  "--yes",    "-o",     out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };

    // Without a full mark it is named, with how to count it, and left out.
    const std::string without = dir.file("无禁毒.xlsx");
    RunResult r = run(without, {"--reports", "年级各科三率"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("以下各列不是可统计的学科，未作分析：禁毒、音乐。用 --full-mark 禁毒=分值 统计。"),
              std::string::npos)
        << r.err;
    auto grade = readSheet(without, "年级各科三率");
    EXPECT_EQ(grade["F3"], "总分200");

    const std::string out = dir.file("禁毒-结果.xlsx");
    // 科学 is not in the sheet: not examined. The previous exam is counted in 禁毒 too.
    const std::string previous = dir.file("上次.xlsx");
    testing::writeInputWorkbook(previous, {{"成绩",
                                            {{"学校", "班级", "姓名", "考号", "语文", "数学", "禁毒"},
                                             {"一中", "1", "林一", "1001", "80", "80", "9"},
                                             {"一中", "1", "林二", "1002", "70", "50", "5"},
                                             {"一中", "2", "林三", "2001", "70", "90", "10"},
                                             {"一中", "2", "林四", "2002", "50", "31", "3"}}}});
    r = run(out, {"--full-mark", "禁毒=10,科学=100", "--previous", previous, "--reports",
                  "年级各科三率,教师个人三率,进退步"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("以下各列不是可统计的学科，未作分析：音乐。用 --full-mark 音乐=分值 统计。"),
              std::string::npos)
        << r.err;
    grade = readSheet(out, "年级各科三率");
    // Rows: excellent, its rate, pass, its rate, average.
    const std::map<std::string, std::string> expected = {
        {"F3", "禁毒10"},  {"F4", "2"}, {"F5", "50"}, {"F6", "3"}, {"F7", "75"}, {"F8", "7"},
        {"G3", "总分210"}, {"G4", "2"}, {"G5", "50"}, {"G6", "2"}, {"G7", "50"}, {"G8", "136"}};
    for (const auto& [at, value] : expected) EXPECT_EQ(grade[at], value) << at;
    // Each student's total now and last time (with 禁毒's 9, 5, 10 and 3).
    std::map<std::string, std::pair<std::string, std::string>> totals;
    auto students = readSheet(out, "学生进退步");
    for (int row = 5; row <= 8; ++row) {
        const std::string at = std::to_string(row);
        totals[students["C" + at]] = {students["D" + at], students["F" + at]};
    }
    EXPECT_EQ(totals, (std::map<std::string, std::pair<std::string, std::string>>{{"林一", {"180", "169"}},
                                                                                  {"林二", {"116", "125"}},
                                                                                  {"林三", {"173", "170"}},
                                                                                  {"林四", {"75", "84"}}}));

    // Its teachers: 郑丙 in class 1 (10 and 6), 王丁 in class 2 (8 and 4).
    auto teachers = readSheet(out, "教师个人三率");
    const std::map<std::string, std::string> teacherCells = {
        {"A6", "禁毒\n（10分）"}, {"F6", "郑丙"}, {"G6", "1"}, {"J6", "2"}, {"M6", "8"}, {"C7", "2班"},
        {"F7", "王丁"},           {"G7", "1"},    {"J7", "1"}, {"M7", "6"}};
    for (const auto& [at, value] : teacherCells) EXPECT_EQ(teachers[at], value) << at;

    // The same from the settings file, kept per grade.
    ini = IniFile::load(settings);
    ini.set("七年级", "其他学科", "禁毒");
    ini.set("七年级", "禁毒", "10");
    ASSERT_TRUE(ini.save(settings));
    const std::string kept = dir.file("配置-结果.xlsx");
    r = run(kept, {"--reports", "年级各科三率,教师个人三率"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readSheet(kept, "年级各科三率"), grade);
    EXPECT_EQ(readSheet(kept, "教师个人三率"), teachers);
}

// The progress and 临界生 reports of a hand-worked pair of exams, and of a sample with the earlier
// exam that `sample --previous-of` makes of it.
TEST_F(CliTest, ProgressAgainstThePreviousExam) {
    const std::string now = dir.file("本次.xlsx"), before = dir.file("上次.xlsx"),
                      out = dir.file("进退步.xlsx");
    testing::writeInputWorkbook(now, {{"成绩", testing::kThisExamRows}});
    testing::writeInputWorkbook(before, {{"其他", {{"x"}}}, {"期中", testing::kPreviousExamRows}});
    RunResult r = runCli(dir, {"export",
                               now,
                               "--scores",
                               "成绩",
                               "--grade",
                               "七年级",
                               "--exam",
                               "期末",
                               "--settings",
                               settings,
                               "--full-mark",
                               "语文=100,数学=100,英语=100",
                               "--previous",
                               before,
                               "--previous-sheet",
                               "期中",
                               "--reports",
                               "进退步,临界生",
                               "--near",
                               "5",
                               "--yes",
                               "-o",
                               out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(sheetNames(out), (std::vector<std::string>{"目录", "学生进退步", "班级进退步", "临界生"}));
    auto expectRows = [&](const std::string& sheet, int firstRow,
                          const std::vector<std::vector<std::string>>& rows) {
        auto cells = readSheet(out, sheet);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (size_t c = 0; c < rows[i].size(); ++c) {
                std::string at = CellName(static_cast<int>(c), firstRow + static_cast<int>(i));
                EXPECT_EQ(cells[at], rows[i][c]) << sheet << " " << at;
            }
        }
    };
    expectRows("学生进退步", 5, testing::kStudentProgressRows);
    expectRows("班级进退步", 5, {testing::kClassProgressRows[0]});
    expectRows("班级进退步", 7, {testing::kClassProgressRows[1]});
    expectRows("临界生", 5, testing::kNearLineRows);
    EXPECT_NE(r.err.find(testing::kMatchNote), std::string::npos) << r.err;

    const std::string earlier = dir.file("示例上次.xlsx"), sampleOut = dir.file("示例进退步.xlsx");
    RunResult made = runCli(dir, {"sample", "--previous-of", sample, "-o", earlier});
    ASSERT_EQ(made.status, 0) << made.err;
    RunResult exported = exportSample(sampleOut, {"--yes", "--previous", earlier});
    ASSERT_EQ(exported.status, 0) << exported.err;
    auto names = sheetNames(sampleOut);
    EXPECT_NE(std::find(names.begin(), names.end(), "班级进退步"), names.end());
    EXPECT_NE(exported.err.find("（按考号对应）"), std::string::npos) << exported.err;
}

// 名次方式 from the newly seeded settings file (并列占位) or, for one run without saving, from
// --ranking; and figures ending in 5 rounded away from zero: 88.25 gives the total 88.3 and the
// 语文 average 466.25 / 5 = 93.25 gives 93.3.
TEST_F(CliTest, RankingRuleAndRounding) {
    examineOnly({{"语文", 100}});
    const std::string input = dir.file("并列.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "语文"},
                                          {"一中", "1", "甲", "95"},
                                          {"一中", "1", "乙", "98"},
                                          {"一中", "1", "丙", "88.25"},
                                          {"一中", "1", "丁", "95"},
                                          {"一中", "1", "戊", "90"}}}});
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export",
                                         input,
                                         "--scores",
                                         "成绩",
                                         "--grade",
                                         "七年级",
                                         "--exam",
                                         "期中",
                                         "--settings",
                                         settings,
                                         "--yes",
                                         "--reports",
                                         "导出总分前3名,导出年级各科三率",
                                         "-o",
                                         out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    struct Case {
        const char* option;  ///< --ranking's value; none: the settings file's
        const char* note;
        std::vector<std::string> places;  ///< column G (名次) from row 4
    };
    const Case cases[] = {
        {"1223", "名次：并列不占位（1,2,2,3）", {"1", "2", "2", "3"}},
        {nullptr, "名次：并列占位（1,2,2,4）", {"1", "2", "2"}},  // 90 takes place 4
        {"1224", "名次：并列占位（1,2,2,4）", {"1", "2", "2"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const std::string out = dir.file("名次" + std::to_string(n++) + ".xlsx");
        RunResult r =
            run(out, c.option ? std::vector<std::string>{"--ranking", c.option} : std::vector<std::string>{});
        ASSERT_EQ(r.status, 0) << r.err;
        auto top = readSheet(out, "总分前3名");
        EXPECT_EQ(top["A2"], c.note);
        std::vector<std::string> places;
        for (int row = 4; top.count("G" + std::to_string(row)); ++row)
            places.push_back(top["G" + std::to_string(row)]);
        EXPECT_EQ(places, c.places);
        auto grade = readSheet(out, "年级各科三率");
        EXPECT_EQ(grade["D8"], "93.3");  // 平均分 of 语文
        EXPECT_EQ(grade["E8"], "93.3");  // of 总分: 98 + 95 + 95 + 90 + 88.3
    }
    RunResult r = run(dir.file("错名次.xlsx"), {"--ranking", "1234"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--ranking must be 1224 or 1223: 1234"), std::string::npos) << r.err;
}

// --split school writes a folder of one workbook per school beside the result and says so; a value
// it cannot use stops the run with exit status 2.
TEST_F(CliTest, SplitForOneRun) {
    examineOnly({{"语文", 100}});
    const std::string input = dir.file("分校.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "语文"},
                                          {"一中", "1", "甲", "95"},
                                          {"二中", "1", "乙", "80"},
                                          {"二中", "2", "丙", "70"}}}});
    auto run = [&](const std::string& out, const char* split) {
        return runCli(
            dir, {"export", input, "--scores", "成绩", "--grade", "七年级", "--exam", "期中", "--settings",
                  settings, "--yes", "--reports", "导出班级总分排名", "--split", split, "-o", out});
    };
    RunResult r = run(dir.file("结果.xlsx"), "school");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(sheetNames(dir.file("结果/二中.xlsx")), sheetNames(dir.file("结果.xlsx")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("结果/一中.xlsx")));
    EXPECT_NE(r.err.find("另按学校分别导出了 2 个工作簿"), std::string::npos) << r.err;

    RunResult bad = run(dir.file("错.xlsx"), "grade");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--split must be school or class: grade"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("错.xlsx")));
}

// --reports 等级分布 with the grade's cuts or, for one run, --levels; a value --levels cannot use
// stops the run with exit status 2 and says why.
TEST_F(CliTest, LevelsForOneRun) {
    examineOnly({{"语文", 100}});
    const std::string input = dir.file("等级.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "语文"},
                                          {"一中", "1", "甲", "95"},
                                          {"一中", "1", "乙", "80"},
                                          {"一中", "1", "丙", "80"},
                                          {"一中", "1", "丁", "50"}}}});
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", input,       "--scores", "成绩",       "--grade",
                                         "七年级", "--exam",    "期中",     "--settings", settings,
                                         "--yes",  "--reports", "等级分布", "-o",         out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    struct Case {
        std::vector<std::string> levels;
        const char* firstCount;  ///< E4: the students of the first level in class 1
        const char* lastHeader;  ///< the header of the last level's count
    };
    const Case cases[] = {
        {{}, "1", "D人数"},
        {{"--levels", "share:25,50,25"}, "1", "C人数"},
        {{"--levels", "score:80,60:优秀,合格,待合格"}, "3", "待合格人数"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string out = dir.file("等级" + std::to_string(n++) + ".xlsx");
        RunResult r = run(out, c.levels);
        ASSERT_EQ(r.status, 0) << r.err;
        auto sheet = readSheet(out, "等级分布");
        EXPECT_EQ(sheet["E4"], c.firstCount);
        bool found = false;
        for (const auto& [address, text] : sheet)
            found = found || (address.ends_with("3") && text == c.lastHeader);
        EXPECT_TRUE(found) << c.lastHeader;
    }
    for (const char* bad : {"score:60,75", "share:60,50", "rank:1,2", "score", "score:90:A,B,C"}) {
        RunResult r = run(dir.file("错等级.xlsx"), {"--levels", bad});
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find(std::string("--levels takes")), std::string::npos) << r.err;
    }
}

// 四率 and 扩展指标 for one run, with 良好 and 低分 lines of one run: a settings file without them
// gives the three rates alone; a line outside 0 … 100 stops the run with exit status 2.
TEST_F(CliTest, FourRatesAndMoreFiguresForOneRun) {
    examineOnly({{"语文", 100}, {"数学", 100}});
    IniFile ini = IniFile::load(settings);
    ini.set("导出选项", "四率", "0");
    ASSERT_TRUE(ini.save(settings));
    const std::string input = dir.file("四率.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "语文", "数学"},
                                          {"一中", "1", "甲", "90", "75"},
                                          {"一中", "1", "乙", "70", "35"},
                                          {"一中", "1", "丙", "50", "40"}}}});
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", input,       "--scores",     "成绩",       "--grade",
                                         "七年级", "--exam",    "期中",         "--settings", settings,
                                         "--yes",  "--reports", "班级各科三率", "-o",         out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    const std::string plain = dir.file("三率.xlsx");
    ASSERT_EQ(run(plain, {}).status, 0);
    EXPECT_EQ(readSheet(plain, "班级各科三率").count("Q3"), 0U);

    const std::string out = dir.file("四率结果.xlsx");
    RunResult r = run(out, {"--four-rates", "--more-figures", "--good", "语文=80", "--low", "数学=36"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto sheet = readSheet(out, "班级各科三率");
    EXPECT_EQ(sheet["Q3"], "良好人数");
    EXPECT_EQ(sheet["Q4"], "1");  // 语文 at or above 80
    EXPECT_EQ(sheet["Q5"], "1");  // 数学 at or above 70
    EXPECT_EQ(sheet["T4"], "0");  // 语文 below 40
    EXPECT_EQ(sheet["T5"], "1");  // 数学 below 36
    EXPECT_EQ(sheet["Y4"], "16.33");
    EXPECT_EQ(sheet["AA5"], "35");

    RunResult bad = run(dir.file("错.xlsx"), {"--good", "语文=101"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("--good"), std::string::npos) << bad.err;
}

// --no-ranks for one run: the report of places alone is left out, the class listing shows levels.
TEST_F(CliTest, NoRanksForOneRun) {
    examineOnly({{"语文", 100}});
    const std::string input = dir.file("名次.xlsx");
    testing::writeInputWorkbook(
        input,
        {{"成绩", {{"学校", "班级", "姓名", "语文"}, {"一中", "1", "乙", "95"}, {"一中", "1", "甲", "60"}}}});
    const std::string out = dir.file("不公布名次.xlsx");
    RunResult r =
        runCli(dir, {"export", input, "--scores", "成绩", "--grade", "七年级", "--exam", "期中", "--settings",
                     settings, "--yes", "--reports", "班级总分排名,总分名次段", "--no-ranks", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> names = sheetNames(out);
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[1], "班级总分排名");
    EXPECT_EQ(std::count(names.begin(), names.end(), "总分名次段"), 0);
    auto listing = readSheet(out, "班级总分排名");
    EXPECT_EQ(listing["D4"], "甲");
    EXPECT_EQ(listing["F4"], "C");
    EXPECT_EQ(listing["H3"], "等级");
    EXPECT_EQ(listing.count("I3"), 0u);
}

// 高三 with a 选科 column: --lines by track and --lines-top for both give the sheet 上线分析,
// --near-lines 上线 lists 临界生 by those lines, --scale-electives adds the sheet 赋分 (化学 has
// fewer than 30 students: logged). Values the options cannot use stop with status 2.
TEST_F(CliTest, ScoreLinesAndScaledScoresForOneRun) {
    examineOnly({{"语文", 150}, {"化学", 100}});
    const std::string input = dir.file("高三.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "选科", "语文", "化学"},
                                          {"一中", "1", "甲", "物化生", "120", "90"},
                                          {"一中", "1", "乙", "物化地", "100", "80"},
                                          {"一中", "2", "丙", "史政地", "110", ""},
                                          {"一中", "2", "丁", "历史", "90", ""}}}});
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", input,    "--scores", "成绩",       "--grade",
                                         "高三",   "--exam", "期中",     "--settings", settings,
                                         "--yes",  "-o",     out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    const std::string out = dir.file("上线.xlsx");
    RunResult r =
        run(out, {"--reports", "上线分析,临界生", "--lines", "物理类:本科=195;历史类:本科=100", "--lines-top",
                  "特控=50%", "--near-lines", "上线", "--blank-scores", "exclude", "--scale-electives"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("化学只有2名学生有成绩，少于30名，不按比例赋分"), std::string::npos) << r.err;
    auto sheet = readSheet(out, "上线分析");
    EXPECT_EQ(sheet["A4"], "物理类 本科线 195分");
    EXPECT_EQ(sheet["E6"], "1");                             // 甲 at 210
    EXPECT_EQ(sheet["A7"], "物理类 特控线 210分（前50%）");  // the 1st of 2
    EXPECT_EQ(sheet["A10"], "历史类 本科线 100分");
    EXPECT_EQ(sheet["E12"], "1");  // 丙 at 110
    EXPECT_EQ(readSheet(out, "临界生")["C5"], "甲");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--lines", "本科"},
                                                {"--lines", "本科=60%"},
                                                {"--lines-top", "本科=480"},
                                                {"--near-lines", "及格"}}) {
        r = run(dir.file("错.xlsx"), bad);
        EXPECT_EQ(r.status, 2) << bad[0] << " " << bad[1];
    }
}

// --by-track for one run: the places of 总分前N名 within each track and the rate sheets once per
// track, the 历史类 one without 物理.
TEST_F(CliTest, ByTrackForOneRun) {
    examineOnly({{"语文", 100}, {"物理", 100}, {"历史", 100}});
    const std::string input = dir.file("科类.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "科类", "语文", "物理", "历史"},
                                          {"一中", "1", "甲", "物理类", "90", "80", ""},
                                          {"一中", "1", "乙", "物理", "70", "60", ""},
                                          {"一中", "2", "丙", "历史类", "60", "", "70"},
                                          {"一中", "2", "丁", "史政地", "80", "", "90"}}}});
    const std::string out = dir.file("按科类.xlsx");
    RunResult r =
        runCli(dir, {"export", input, "--scores", "成绩", "--grade", "高二", "--exam", "期中", "--settings",
                     settings, "--yes", "--reports", "年级各科三率,总分前N名", "--by-track", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> names = sheetNames(out);
    EXPECT_EQ(std::count(names.begin(), names.end(), "年级各科三率-物理类"), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), "年级各科三率"), 0);
    auto topName = std::find_if(names.begin(), names.end(),
                                [](const std::string& n) { return n.starts_with("总分前"); });
    ASSERT_NE(topName, names.end());
    auto top = readSheet(out, *topName);
    // 甲 170, 乙 130 of 物理类, then 丁 170, 丙 130 of 历史类.
    EXPECT_EQ(top["D4"], "甲");
    EXPECT_EQ(top["E4"], "物理类");
    EXPECT_EQ(top["D6"], "丁");
    EXPECT_EQ(top["J6"], "1");
    EXPECT_EQ(top["J7"], "2");
    for (const auto& [address, text] : readSheet(out, "年级各科三率-历史类"))
        EXPECT_EQ(text.find("物理"), std::string::npos) << address;
}

// 小题分析 from the committed platform sheet: --questions without --reports chooses it, a sheet
// without 满分 row takes --question-marks, and the options are checked before anything is read.
TEST_F(CliTest, QuestionAnalysisOfEachSubject) {
    examineOnly({{"语文", 100}, {"数学", 100}});
    const std::string input = fixture("question_sheets.xlsx");
    auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {"export", input,    "--scores", "成绩",       "--grade",
                                         "七年级", "--exam", "期中考试", "--settings", settings,
                                         "--yes",  "-o",     out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    const std::string out = dir.file("小题.xlsx");
    RunResult r = run(out, {"--questions", input, "--question-sheet", "数学小题", "--question-subject",
                            "数学", "--questions", input, "--question-sheet", "无满分行",
                            "--question-subject", "语文", "--question-marks", "1~3=5,17(1)=4,17(2)=6"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Beside the settings file's reports, one sheet per subject in the order given.
    const std::vector<std::string> tabs = sheetNames(out);
    const auto math = std::find(tabs.begin(), tabs.end(), "小题分析-数学");
    EXPECT_NE(math, tabs.end());
    EXPECT_EQ(std::find(tabs.begin(), tabs.end(), "小题分析-语文") - math, 1);
    EXPECT_EQ(std::find(tabs.begin(), tabs.end(), "小题明细-数学"), tabs.end());
    auto sheet = readSheet(out, "小题分析-数学");
    EXPECT_EQ(sheet["K8"], "0.43");
    EXPECT_NE(r.err.find("小题分表中在成绩表里找不到的 1 人：二中（2）班孔明"), std::string::npos) << r.err;

    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{"--question-sheet", "数学小题", "--questions", input}, 2, "--question-sheet 须跟在"},
        {{"--questions", input, "--question-sheet", "数学小题"},
         2,
         "须同时给出 --question-sheet 和 --question-subject"},
        {{"--questions", input, "--question-sheet", "无满分行", "--question-subject", "数学",
          "--question-marks", "1~3"},
         2,
         "无法识别小题满分“1~3”"},
        {{"--reports", "小题明细"}, 2, "报表“导出小题明细”需要小题分表"},
        {{"--questions", input, "--question-sheet", "无满分行", "--question-subject", "数学"},
         1,
         "这些小题没有满分：1、2、3、17(1)、17(2)"},
        {{"--questions", input, "--question-sheet", "超满分", "--question-subject", "数学"},
         1,
         "第3行 林晓：第1题得分：6不能大于满分：5"},
    };
    for (const Case& c : cases) {
        RunResult refused = run(dir.file("不应写出.xlsx"), c.args);
        EXPECT_EQ(refused.status, c.status) << c.says;
        EXPECT_NE(refused.err.find(c.says), std::string::npos) << refused.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("不应写出.xlsx")));
    }
}

// A junior sheet with 缺考 and "/": left out for one run, each subject counts only those who sat it
// and each 总分 is judged on the subjects sat; counted as 0 (the settings file's choice) they pull
// the averages down. A sheet with bad rows prints every problem, one a line, and writes nothing.
TEST_F(CliTest, BlankScoresAndEveryProblemAtOnce) {
    examineOnly({{"语文", 100}, {"数学", 100}, {"英语", 100}, {"物理", 100}});
    const std::string input = dir.file("初中.xlsx");
    testing::writeInputWorkbook(input, {{"成绩",
                                         {{"学校", "班级", "姓名", "语文", "数学", "英语", "物理"},
                                          {"一中", "1", "甲", "90", "80", "70", "60"},
                                          {"一中", "1", "乙", "缺考", "100", "90", "80"},
                                          {"一中", "2", "丙", "/", "60", "50", "40"},
                                          {"一中", "2", "丁", "50", "50", "50", "50"}}},
                                        {"有误",
                                         {{"学校", "班级", "姓名", "语文", "数学", "英语", "物理"},
                                          {"一中", "1", "张三", "152", "80", "70", "60"},
                                          {"一中", "1", "李四", "90", "优", "70", "60"},
                                          {"一中", "1", "王五", "90", "80", "70", "60"}}}});
    auto run = [&](const std::string& sheet, const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {
            "export",           input,          "--scores",   sheet,    "--grade", "七年级",
            "--exam",           "期中",         "--settings", settings, "--yes",   "--reports",
            "导出年级各科三率", "--excellence", "物理=80",    "-o",     out};
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(dir, args);
    };
    // One school: 实考人数 row 4, then 优秀人数 5, 优秀率 6, 及格人数 7, 及格率 8, 平均分 9; D 语文,
    // H 总分. Own full marks 400, 300, 300, 400: the header takes the higher of the two most common.
    const std::string excluded = dir.file("不计.xlsx");
    RunResult r = run("成绩", excluded, {"--blank-scores", "exclude", "--missing-rule", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    auto grade = readSheet(excluded, "年级各科三率");
    EXPECT_EQ(grade["H3"], "总分400");
    EXPECT_EQ(grade["C4"], "4");
    EXPECT_EQ(grade["D4"], "2");
    EXPECT_EQ(grade["D9"], "70");
    EXPECT_EQ(grade["H8"], "50");  // 甲 300 of 400 and 乙 270 of 300 pass; 丙 150 of 300 does not
    EXPECT_NE(r.err.find("语文：空白0个，缺考等文字2个，不计入该科统计。"), std::string::npos) << r.err;

    const std::string zero = dir.file("零分.xlsx");
    r = run("成绩", zero, {"--missing-rule", "2"});
    ASSERT_EQ(r.status, 0) << r.err;
    grade = readSheet(zero, "年级各科三率");
    EXPECT_EQ(grade["H3"], "总分400");
    EXPECT_EQ(grade["D4"], "1");  // 优秀人数: no 实考人数 block
    EXPECT_EQ(grade["D8"], "35");

    const std::string bad = dir.file("有误.xlsx");
    r = run("有误", bad, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("工作表“有误”中有2处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n"
                         "第2行 张三：语文分数：152不能大于语文满分：100\n"
                         "第3行 李四：数学分数：“优”不是分数，也不是“缺考”等表示没有成绩的文字\n"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(std::filesystem::exists(bad));

    r = run("成绩", dir.file("错.xlsx"), {"--blank-scores", "none"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--blank-scores must be zero or exclude: none"), std::string::npos) << r.err;
}

// Every cell of every sheet of a workbook, by sheet name.
std::map<std::string, std::map<std::string, std::string>> readWorkbook(const std::string& path) {
    std::map<std::string, std::map<std::string, std::string>> sheets;
    for (const std::string& name : sheetNames(path)) sheets[name] = readSheet(path, name);
    return sheets;
}

// A web page and an XML spreadsheet under an .xls name and a CSV list (committed fixtures, written
// by tests/fixtures/source/make_text_fixtures.py) list their sheets and export exactly like the
// same data written as .xlsx: 考场 merged over two rows, 备注 across two columns, an empty score.
TEST_F(CliTest, WebPagesXmlSpreadsheetsAndCsvListsExportLikeTheSameXlsx) {
    const std::vector<std::vector<std::string>> teachers = {
        {"学校", "年级", "班级", "语文", "数学", "英语", "物理", "化学", "生物", "历史", "地理", "政治",
         "体育", "实验"},
        {"第一中学", "七年级", "1班", "赵老师", "钱老师", "孙老师"},
        {"第一中学", "七年级", "2班", "李老师", "周老师", "吴老师"},
        {"第二中学", "七年级", "1班", "郑老师", "王老师", "冯老师"}};
    const std::vector<std::vector<std::string>> students = {
        {"考场", "学校", "班级", "姓名", "语文", "数学", "英语", "备注"},
        {"第1考场", "第一中学", "1班", "张三", "85", "92.5", "78"},
        {"", "第一中学", "1班", "李四", "90", "88", "", "缺考英语,\"补考\"待定"},
        {"第2考场", "第一中学", "2班", "王五", "72", "60.5", "81", "A&B"},
        {"第2考场", "第一中学", "2班", "赵六", "100", "95", "99", "转学\n复读"},
        {"第3考场", "第二中学", "1班", "孙七", "66", "70", "59"}};
    std::string xlsx = dir.file("成绩.xlsx");
    testing::writeInputWorkbook(xlsx, {{"教师任课表", teachers}, {"成绩", students}});
    IniFile ini = IniFile::load(settings);
    for (const auto& subject : kSubjects) {
        bool examined = std::string(subject.name) == "语文" || std::string(subject.name) == "数学" ||
                        std::string(subject.name) == "英语";
        ini.set("七年级", subject.name, examined ? "150" : "0");
    }
    ASSERT_TRUE(ini.save(settings));

    auto exportOf = [&](const std::string& input, bool withTeachers, const std::string& out) {
        std::vector<std::string> args = {"export",         input,    "--scores", "成绩",       "--grade",
                                         "七年级",         "--exam", "期中",     "--settings", settings,
                                         "--missing-rule", "2",      "--yes",    "-o",         out};
        if (withTeachers) args.insert(args.begin() + 2, {"--teachers", "教师任课表"});
        RunResult r = runCli(dir, args);
        EXPECT_EQ(r.status, 0) << input << "\n" << r.err;
        return readWorkbook(out);
    };
    auto expected = exportOf(xlsx, true, dir.file("xlsx-结果.xlsx"));
    // Every report of a newly seeded settings file, the charts included.
    ASSERT_EQ(expected.size(), 10u);
    EXPECT_EQ(expected["总分前50名"]["D4"], "赵六");
    EXPECT_EQ(expected["总分前50名"]["H4"], "294");
    for (const char* source : {"网页成绩.xls", "表格2003.xls"}) {
        SCOPED_TRACE(source);
        RunResult sheets = runCli(dir, {"sheets", fixture(source)});
        EXPECT_EQ(sheets.status, 0) << sheets.err;
        EXPECT_EQ(sheets.out, "教师任课表\n成绩\n");
        EXPECT_EQ(exportOf(fixture(source), true, dir.file(std::string(source) + "-结果.xlsx")), expected);
    }
    // The CSV list holds the students only: its one sheet is named after the file.
    ini.set("导出选项", "教师个人三率", "0");
    ASSERT_TRUE(ini.save(settings));
    EXPECT_EQ(runCli(dir, {"sheets", fixture("成绩.csv")}).out, "成绩\n");
    EXPECT_EQ(exportOf(fixture("成绩.csv"), false, dir.file("csv-结果.xlsx")),
              exportOf(xlsx, false, dir.file("xlsx-学生-结果.xlsx")));

    // A text file named .xls is still refused, naming the file.
    std::string text = dir.file("名单.xls");
    testing::writeFile(text, "学校,班级,姓名\n第一中学,1班,张三\n");
    RunResult refused = runCli(dir, {"sheets", text});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("文件不是有效的工作簿：名单.xls"), std::string::npos) << refused.err;
}

// The same assignments kept as schools keep them export exactly like the sheet with 学校, 年级,
// 班级 and all eleven subjects: a sheet with only the subjects taught and no 年级 column, a list
// of one row per teacher and class, and such a list with several classes in one cell. The teacher
// and class rate sheets are compared cell by cell, and so is the rest of the workbook.
TEST_F(CliTest, TeacherSheetsAsSchoolsKeepThemExportLikeTheFullSheet) {
    using Rows = std::vector<std::vector<std::string>>;
    // School, class, then the teachers of 语文, 数学, 英语, 物理.
    const Rows assignments = {{"一中", "1", "张三", "李四", "赵六", "钱七"},
                              {"一中", "2", "张三", "王五", "赵六", "钱七"},
                              {"二中", "1", "周一", "吴二", "郑三", "钱七"}};
    const std::vector<std::string> taught = {"语文", "数学", "英语", "物理"};
    Rows full = {{"学校", "年级", "班级", "语文", "数学", "英语", "物理", "化学", "生物", "历史", "地理",
                  "政治", "体育", "实验"}};
    Rows wide = {{"学校", "班级", "语文", "数学", "英语", "物理"}};
    Rows list = {{"学校", "年级", "班级", "学科", "教师"}};
    for (const auto& a : assignments) {
        full.push_back({a[0], "七年级", a[1] + "班", a[2], a[3], a[4], a[5]});
        wide.push_back(a);
        for (size_t s = 0; s < taught.size(); ++s)
            list.push_back({a[0], "七年级", a[1], taught[s], a[2 + s]});
    }
    const Rows joined = {{"学校", "班级", "科目", "任课教师"}, {"一中", "1、2班", "语文", "张三"},
                         {"一中", "1", "数学", "李四"},        {"一中", "２班", "数学", "王五"},
                         {"一中", "1-2", "英语", "赵六"},      {"一中", "1，2", "物理", "钱七"},
                         {"二中", "1", "语文", "周一"},        {"二中", "1", "数学", "吴二"},
                         {"二中", "1", "英语", "郑三"},        {"二中", "1", "物理", "钱七"}};
    const Rows students = {{"学校", "班级", "姓名", "语文", "数学", "英语", "物理"},
                           {"一中", "1", "甲", "95", "88", "72", "60"},
                           {"一中", "1", "乙", "58", "91", "85", "77"},
                           {"一中", "2", "丙", "81", "45", "90", "99"},
                           {"一中", "2", "丁", "66", "73", "59", "84"},
                           {"二中", "1", "戊", "88", "97", "61", "52"}};
    // One workbook per teacher sheet, each with the same score sheet.
    for (const auto& [name, rows] : std::vector<std::pair<std::string, Rows>>{
             {"全表", full}, {"各科", wide}, {"名单", list}, {"合班", joined}})
        testing::writeInputWorkbook(dir.file(name + ".xlsx"), {{name, rows}, {"成绩", students}});
    IniFile ini = IniFile::load(settings);
    for (const auto& subject : kSubjects) {
        const bool examined = std::find(taught.begin(), taught.end(), subject.name) != taught.end();
        ini.set("七年级", subject.name, examined ? "100" : "0");
        ini.set("七年级", std::string(subject.name) + "优秀率", "80");
    }
    ASSERT_TRUE(ini.save(settings));

    auto exportWith = [&](const std::string& teachers) {
        const std::string out = dir.file(teachers + "-结果.xlsx");
        RunResult r =
            runCli(dir, {"export", dir.file(teachers + ".xlsx"), "--teachers", teachers, "--scores", "成绩",
                         "--grade", "七年级", "--exam", "期中", "--settings", settings, "--yes", "-o", out});
        EXPECT_EQ(r.status, 0) << teachers << "\n" << r.err;
        EXPECT_NE(r.err.find("导入教师任课记录：12条。"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("没有“年级”列") != std::string::npos, teachers == "各科" || teachers == "合班")
            << r.err;
        return r.status == 0 ? readWorkbook(out) : decltype(readWorkbook(out)){};
    };
    auto expected = exportWith("全表");
    ASSERT_FALSE(expected.empty());
    // 钱七 teaches 物理 in both schools: a row of each; 张三's classes are 1班2班.
    EXPECT_EQ(expected["教师个人三率"]["F11"], "钱七");
    EXPECT_EQ(expected["教师个人三率"]["F12"], "钱七");
    EXPECT_EQ(expected["教师个人三率"]["C4"], "1班2班");
    for (const char* teachers : {"各科", "名单", "合班"}) {
        SCOPED_TRACE(teachers);
        auto got = exportWith(teachers);
        ASSERT_EQ(got.size(), expected.size());
        for (const auto& [sheet, cells] : expected) {
            std::map<std::string, std::string>& gotCells = got[sheet];
            for (const auto& [cell, text] : cells) EXPECT_EQ(gotCells[cell], text) << sheet << "!" << cell;
            EXPECT_EQ(gotCells.size(), cells.size()) << sheet;
        }
    }
}

// Title rows above the header, in a web page (the school spanning two rows is the school of both)
// and in an XML spreadsheet: each exports exactly like the same students written as .xlsx with
// the header in row 1.
TEST_F(CliTest, TitleRowSheetsOfEveryKindExportLikeThePlainXlsx) {
    IniFile ini = IniFile::load(settings);
    for (const auto& subject : kSubjects) {
        const std::string name = subject.name;
        ini.set("七年级", name, name == "语文" || name == "数学" || name == "英语" ? "150" : "0");
    }
    ASSERT_TRUE(ini.save(settings));
    std::string plainInput;
    auto exportOf = [&](const std::string& input, const std::string& sheet, const std::string& out) {
        RunResult r = runCli(dir, {"export", input, "--scores", sheet, "--grade", "七年级", "--exam", "期中",
                                   "--settings", settings, "--missing-rule", "2", "--yes", "-o", out});
        EXPECT_EQ(r.status, 0) << input << "\n" << r.err;
        EXPECT_EQ(r.err.find("“" + sheet + "”的标题在第2行。") != std::string::npos, input != plainInput)
            << r.err;
        return r.status == 0 ? readWorkbook(out) : decltype(readWorkbook(out)){};
    };
    struct Case {
        const char* file;
        const char* sheet;
        std::vector<std::vector<std::string>> plain;
    };
    const Case cases[] = {
        {"网页成绩-标题.xls",
         "七年级 期中成绩",
         {{"学校", "班级", "姓名", "语文", "数学", "英语", "总分"},
          {"第一中学", "1班", "张三", "85", "92.5", "78", "255.5"},
          {"第一中学", "1班", "李四", "90", "88", "", "178"},
          {"第二中学", "1班", "王 五", "72", "60", "81", "213"}}},
        {"表格2003-标题.xml",
         "七年级",
         {{"学校", "班级", "姓名", "语文", "数学", "英语"},
          {"第一中学", "1班", "张三", "85", "92.5", "78"},
          {"第一中学", "1班", "李四", "90", "", "88"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        plainInput = dir.file(std::string(c.file) + "-平.xlsx");
        testing::writeInputWorkbook(plainInput, {{"成绩", c.plain}});
        auto expected = exportOf(plainInput, "成绩", dir.file(std::string(c.file) + "-平-结果.xlsx"));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(exportOf(fixture(c.file), c.sheet, dir.file(std::string(c.file) + "-结果.xlsx")), expected);
    }
}

TEST_F(CliTest, TemplateAndHelp) {
    std::string out = dir.file("模板.xlsx");
    RunResult r = runCli(dir, {"template", "--exam", "期末考试", "-o", out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(sheetNames(out),
              (std::vector<std::string>{"一年级", "二年级", "三年级", "四年级", "五年级", "六年级", "七年级",
                                        "八年级", "九年级", "高一", "高二", "高三", "教师任课表"}));
    EXPECT_EQ(readSheet(out, "九年级")["R1"], "备注");
    EXPECT_NE(r.err.find("[信息] 期末考试的学生成绩表和教师任课表已经生成，保存为：\n" + out + "\n"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("剪贴板"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("将为你打开"), std::string::npos) << r.err;
    for (const char* command : {"sheets", "template", "sample", "export"}) {
        RunResult help = runCli(dir, {command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("用法 / usage"), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace varnex
