// The export run: validation, confirmation, the sheet plan's counts and positions, progress and
// completion reporting, saving, and the aborted runs.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <functional>

#include "readers/workbook_reader.h"
#include "sheets/sheet_plan.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/scoped_env.h"
#include "workbook/cell_name.h"

namespace varnex::testing {
namespace {

// Two schools, three classes, teachers for every class, 总分分数段 chosen.
void validExam(Exam& exam) {
    exam.student("一中", "1", "甲", "250", {"80", "90", "80"});
    exam.student("一中", "2", "乙", "200", {"70", "60", "70"});
    exam.student("二中", "1", "丙", "150", {"50", "50", "50"});
    exam.imported().teachers().only([](ExportOptions& o) { o.totalBands = true; });
}

struct ValidationCase {
    const char* name;
    std::function<void(Exam&)> change;
    const char* message;
    std::vector<Field> focus;  // the fields given the focus, in order
};

TEST(ExportRun, ValidationStopsWithItsMessage) {
    const ValidationCase cases[] = {
        {"excellence line 0",
         [](Exam& e) { e.state.scores.excellenceLine[1] = 0; },
         "数学学科的优秀控制线必须在0和100之间！",
         {}},
        {"excellence line 100, first subject only",
         [](Exam& e) {
             e.state.scores.excellenceLine[2] = 100;
             e.state.scores.excellenceLine[3] = 120;  // 物理 is not examined
             e.state.scores.fullMark[3] = 100;        // … until its full mark is set
         },
         "英语学科的优秀控制线必须在0和100之间！",
         {}},
        {"no exam name",
         [](Exam& e) { e.state.examNameText.clear(); },
         "请输入或选择考试名称！",
         {Field::ExamName}},
        {"no student rows",
         [](Exam& e) { e.state.students.clear(); },
         "请首先导入成绩，然后才能导出分析结果！",
         {}},
        {"no schools",
         [](Exam& e) { e.state.imported.schoolList.clear(); },
         "请先导入成绩，然后才能导出分析结果！",
         {}},
        {"nothing chosen", [](Exam& e) { e.only([](ExportOptions&) {}); }, "请选择需要导出的项目！", {}},
        {"top N of 0",
         [](Exam& e) {
             e.state.exportOptions.topNEnabled = true;
             e.state.exportOptions.topN = 0;
         },
         "总分名次必须填写一个大于零的数！",
         {Field::TopNCount}},
        {"no teacher rows, and no other report chosen",
         [](Exam& e) {
             e.only([](ExportOptions& o) { o.teacherRates = true; });
             e.state.teachers.clear();
         },
         "导出教师个人三率必须先导入教师任课表！",
         {}},
        {"teachers of another grade only, and no other report chosen",
         [](Exam& e) {
             e.only([](ExportOptions& o) { o.teacherRates = true; });
             e.state.teachers.clear();
             e.state.teachers.appendRow({"一中", "八年级", "1", "语文", "王"});
         },
         "教师任课表中没有七年级的任课记录，无法导出教师个人三率！请导入七年级的教师任课表。",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exam exam;
        validExam(exam);
        c.change(exam);
        Result<ExportOutcome> run = exportRun(exam.state, exam.frontend);
        ASSERT_FALSE(run);
        EXPECT_EQ(run.errorKind(), ErrorKind::BadInput);
        EXPECT_EQ(run.error(), c.message);
        ASSERT_EQ(exam.frontend.messages.size(), 1u);
        EXPECT_EQ(exam.frontend.messages[0].text, c.message);
        EXPECT_EQ(exam.frontend.messages[0].caption, "错误");
        EXPECT_EQ(exam.frontend.messages[0].icon, MessageIcon::Error);
        EXPECT_TRUE(exam.frontend.questions.empty());
        EXPECT_TRUE(exam.frontend.enabled.empty());
        EXPECT_EQ(exam.frontend.focused, c.focus);
        // The refusal is in the log too, and the title is the opened sheet's.
        ASSERT_FALSE(exam.frontend.logLines.empty());
        EXPECT_EQ(withoutTime(exam.frontend.logLines.back()), c.message);
        ASSERT_FALSE(exam.frontend.titles.empty());
        EXPECT_EQ(exam.frontend.titles.back(),
                  "Varnex - " + exam.state.workbook.title + "：" + exam.state.workbook.selectedSheetName());
    }
}

// A teacher table that does not cover the exported classes (another file, another grade) never
// stops the export: the confirmation lists the classes and subjects without a teacher, or says
// that the teacher rates are left out when no row is of the grade, and the run completes.
TEST(ExportRun, TeachersThatDoNotCoverTheClassesAreListed) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> teachers;
        std::string note;   ///< after the item list in the confirmation
        bool teacherSheet;  ///< 教师个人三率 among the sheets written
    };
    const Case cases[] = {
        {"some classes and subjects without a teacher",
         {{"一中", "七年级", "1", "数学", "张"},
          {"一中", "七年级", "2", "英语", "李"},
          {"二中", "七年级", "1", "英语", ""},     // no teacher named
          {"二中", "八年级", "1", "语文", "王"},   // another grade
          {"二中", "七年级", "1", "物理", "赵"}},  // not examined
         "\n教师任课表中没有以下班级学科的任课教师（任课教师一栏留空）：\n"
         "一中（1）班：语文、英语\n一中（2）班：语文、数学\n二中（1）班：全部学科\n",
         true},
        {"teachers of another grade only",
         {{"一中", "八年级", "1", "语文", "王"}},
         "\n教师任课表中没有七年级的任课记录：不导出教师个人三率，班级各科三率的任课教师一栏留空。\n",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exam exam;
        validExam(exam);
        exam.only([](ExportOptions& o) { o.classRates = o.teacherRates = true; });
        exam.state.teachers.clear();
        for (const auto& row : c.teachers) exam.state.teachers.appendRow(row);
        exam.run();
        ASSERT_TRUE(exam.outcome.completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
        const std::string& question = exam.frontend.questions.at(0).text;
        EXPECT_NE(
            question.find("班级各科三率\n" + std::string(c.teacherSheet ? "教师个人三率\n" : "") + c.note),
            std::string::npos)
            << question;
        const std::vector<std::string> tabs = tabNames(*exam.outcome.workbook);
        EXPECT_EQ(std::count(tabs.begin(), tabs.end(), "教师个人三率"), c.teacherSheet ? 1 : 0);
    }
}

TEST(ExportRun, ValidInputReachesTheConfirmation) {
    const std::pair<const char*, std::function<void(Exam&)>> cases[] = {
        {"excellence lines 1 and 99",
         [](Exam& e) {
             e.state.scores.excellenceLine[0] = 1;
             e.state.scores.excellenceLine[1] = 99;
         }},
        {"odd excellence lines of subjects not examined",
         [](Exam& e) {
             e.state.scores.excellenceLine[4] = 0;
             e.state.scores.excellenceLine[5] = 120;
         }},
        {"complete teacher rows", [](Exam& e) { e.state.exportOptions.teacherRates = true; }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        Exam exam;
        validExam(exam);
        change(exam);
        exam.frontend.expectQuestion("考试名称：", false);
        Result<ExportOutcome> run = exportRun(exam.state, exam.frontend);
        EXPECT_TRUE(exam.frontend.allQuestionsAsked());
        ASSERT_FALSE(run);
        EXPECT_EQ(run.errorKind(), ErrorKind::Cancelled);
        EXPECT_TRUE(exam.frontend.messages.empty());
        // Declining changes nothing but the workbook title, which holds the exam name.
        EXPECT_TRUE(exam.frontend.enabled.empty());
        EXPECT_EQ(exam.state.students.rowCount(), 3);
        EXPECT_EQ(exam.state.workbook.title, "期中考试");
    }
}

// Without a teacher sheet the teacher rates are left out of a run that has more to write, the
// confirmation says so in one line, the class rates keep their 任课教师 cells empty, and the
// options are as chosen afterwards.
TEST(ExportRun, WithoutTeachersTheTeacherRatesAreLeftOut) {
    struct Case {
        bool classRates;
        const char* note;
        std::vector<std::string> tabs;
    };
    const Case cases[] = {
        {true,
         "未导入教师任课表：不导出教师个人三率，班级各科三率的任课教师一栏留空。",
         {"目录", "班级各科三率", "总分分数段"}},
        {false,
         "未导入教师任课表：不导出教师个人三率。",
         {"目录", "总分分数段", "Sheet3"}},  // n = 2: the third sheet stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        Exam exam;
        validExam(exam);
        exam.state.teachers.clear();
        exam.state.exportOptions.teacherRates = true;
        exam.state.exportOptions.classRates = c.classRates;
        exam.run();
        ASSERT_TRUE(exam.outcome.completed);
        ASSERT_EQ(exam.frontend.questions.size(), 1u);
        const std::string items = c.classRates ? "目录\n班级各科三率\n总分分数段\n" : "目录\n总分分数段\n";
        EXPECT_EQ(exam.frontend.questions[0].text,
                  "考试名称：期中考试\n导出年级：七年级\n\n导出项目：\n" + items + "\n" + c.note +
                      "\n\n如果确认无误，单击“是”，导出分析结果；\n否则，单击“否”，返回修改。确认无误吗？");
        EXPECT_EQ(tabNames(*exam.outcome.workbook), c.tabs);
        if (c.classRates) {
            const SheetModel& classes = exam.sheet("班级各科三率");
            EXPECT_EQ(shown(classes, "F3"), "任课教师");
            for (const char* cell : {"F4", "F5", "F6"}) EXPECT_EQ(shown(classes, cell), "") << cell;
            EXPECT_EQ(shown(classes, "G4"), "1");
        }
        EXPECT_TRUE(exam.state.exportOptions.teacherRates);
        EXPECT_EQ(exam.state.exportOptions.classRates, c.classRates);
    }
}

// A subject with a full mark that the score sheet had no column for is not examined in the run,
// exactly as if its full mark were 0: its excellence line is not checked, and the class rates'
// total passes from 300 × 60 % = 180 (乙's 200 passes; with 物理's 100 counted it would need 240).
// The settings are as they were when the run ends.
TEST(ExportRun, SubjectsNotInTheSheetAreNotExamined) {
    Exam exam;
    validExam(exam);
    exam.state.scores.fullMark[3] = 100;  // 物理
    exam.state.scores.excellenceLine[3] = 0;
    exam.state.imported.subjectsNotInSheet = {"物理"};
    exam.only([](ExportOptions& o) { o.classRates = true; });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed)
        << (exam.frontend.messages.empty() ? "" : exam.frontend.messages[0].text);
    const SheetModel& classes = exam.sheet("班级各科三率");
    EXPECT_EQ(shown(classes, "A13"), "总分\n（300分）");
    EXPECT_EQ(shown(classes, "C14"), "（2）班");
    EXPECT_EQ(shown(classes, "J14"), "1");
    EXPECT_EQ(exam.state.scores.fullMark[3], 100);
    EXPECT_EQ(exam.state.scores.excellenceLine[3], 0);
}

TEST(ExportRun, CompletesSavesAndReports) {
    Exam exam;
    validExam(exam);
    exam.state.outputPath.clear();  // beside the opened workbook, named after the exam
    exam.run();
    const std::string path = exam.dir.file("期中考试 - 七年级成绩分析.xlsx");
    const auto& calls = exam.frontend.calls;
    std::vector<std::string> expected = {
        "question:确认:考试名称：期中考试\n导出年级：七年级\n\n导出项目：\n目录\n总分分数段\n\n"
        "如果确认无误，单击“是”，导出分析结果；\n否则，单击“否”，返回修改。确认无误吗？",
        "enable:ImportStudents:off",
        "title:Varnex - 期中考试：成绩 - 正在导出...",
        "log:导出：总分分数段",
        "log:导出：目录",
        "log:保存文件：" + path,
        "log:期中考试：七年级成绩分析 导出完成",
        "title:Varnex - 期中考试：成绩 - 导出完成",
        "clipboard:" + path,
        "message:信息:文件“" + path +
            "”已经生成并保存！\n（文件路径已复制到了剪贴板，按 Ctrl+V 粘贴）\n\n"
            "此次共导出了 2 张表格：\n目录\n总分分数段\n\n点击“确定”按钮，将为你打开生成的文件。",
        "enable:ImportStudents:on",
        "log:导入的成绩仍然保留，可以更改选项后再次导出。",
        "open:" + path,
        "minimise",
    };
    std::vector<std::string> seen;
    for (const auto& call : calls)
        seen.push_back(call.rfind("log:", 0) == 0 ? "log:" + withoutTime(call.substr(4)) : call);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(exam.frontend.messages.back().icon, MessageIcon::Information);
    EXPECT_TRUE(exam.outcome.completed);
    EXPECT_EQ(exam.outcome.savedPath, path);
    EXPECT_TRUE(std::filesystem::exists(path));

    // The imported data stays; the title keeps the exam name; another report is exported without
    // a new import.
    EXPECT_EQ(exam.state.students.rowCount(), 3);
    EXPECT_EQ(exam.state.imported.classList.size(), 3u);
    EXPECT_EQ(exam.state.imported.studentCount, 3);
    EXPECT_EQ(exam.state.workbook.title, "期中考试");
    EXPECT_EQ(exam.state.teachers.rowCount(), 9);
    exam.state.exportOptions.gradeRates = true;
    ScriptedFrontend again;
    again.expectQuestion("导出项目：\n目录\n年级各科三率\n总分分数段\n", true);
    Result<ExportOutcome> second = exportRun(exam.state, again);
    ASSERT_TRUE(second) << second.error();
    EXPECT_TRUE(again.allQuestionsAsked());
    EXPECT_EQ(second->savedPath, exam.dir.file("期中考试 - 七年级成绩分析 (2).xlsx"));
    EXPECT_EQ(exam.state.students.rowCount(), 3);
}

// What our reader should deliver for a model cell: numbers in their shortest form, formulas as
// their cached result.
std::string expectedText(const Cell& c) {
    auto number = [](double d) {
        char text[32];
        auto end = std::to_chars(text, text + sizeof text, d).ptr;
        return std::string(text, end);
    };
    switch (c.kind) {
        case Cell::Kind::Empty:
            return {};
        case Cell::Kind::Number:
            return number(c.number());
        case Cell::Kind::Text:
            return std::string(c.text());
        case Cell::Kind::Formula:
            return c.cached().isNumber() ? number(c.cached().number) : c.cached().text;
    }
    return {};
}

TEST(ExportRun, SavedWorkbookReadsBackAsBuilt) {
    Exam exam;
    validExam(exam);
    exam.only([](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = o.classRanking = true;
        o.classRankingLayout = 0;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    ASSERT_TRUE(exam.outcome.workbook);
    const WorkbookModel& book = *exam.outcome.workbook;
    auto opened = openWorkbookReader(exam.outcome.savedPath);
    ASSERT_TRUE(opened) << opened.error();
    WorkbookReader& reader = **opened;
    EXPECT_EQ(reader.sheetNames(), tabNames(book));
    for (size_t i = 0; i < reader.sheetNames().size(); ++i) {
        const SheetModel& sheet = *book.sheet(static_cast<int>(i) + 1);
        SCOPED_TRACE(sheet.name);
        auto rows = reader.openSheet(i);
        ASSERT_TRUE(rows) << rows.error();
        // Every row of the file against the model, and no row of the model left out.
        SheetRow row;
        int nonEmptyRows = 0;
        Result<bool> got = (*rows)->next(row);
        for (; got && *got; got = (*rows)->next(row)) {
            for (int c = 0;
                 c < std::max(static_cast<int>(row.cells.size()), sheet.columnCount(row.number - 1)); ++c) {
                const Cell* cell = sheet.cell(static_cast<int>(row.number) - 1, c);
                std::string file =
                    c < static_cast<int>(row.cells.size()) ? row.cells[static_cast<size_t>(c)] : "";
                if (cell != nullptr && cell->kind == Cell::Kind::Formula && cell->cached().isNumber()) {
                    // Cached formula results are stored to 15–17 digits.
                    EXPECT_NEAR(std::stod(file), cell->cached().number, 1e-9)
                        << CellName(c, static_cast<int>(row.number));
                    continue;
                }
                EXPECT_EQ(file, cell != nullptr ? expectedText(*cell) : "")
                    << CellName(c, static_cast<int>(row.number));
            }
            ++nonEmptyRows;
        }
        EXPECT_TRUE(got) << got.error();
        int modelRows = 0;
        for (int r = 0; r < sheet.rowCount(); ++r) {
            bool any = false;
            for (int c = 0; c < sheet.columnCount(r); ++c)
                any = any || sheet.cell(r, c)->kind != Cell::Kind::Empty;
            modelRows += any ? 1 : 0;
        }
        EXPECT_EQ(nonEmptyRows, modelRows);
    }
}

// The completion names the file exactly as saved, " (2)" included, and puts that path on the
// clipboard; without a clipboard it claims no copy, without a desktop it promises no opening.
TEST(ExportRun, CompletionNamesThePathAsSaved) {
    struct Case {
        bool clipboardWorks;
        bool documentsOpen;
        const char* after;  // what follows the first sentence
    };
    const Case cases[] = {
        {true, true,
         "\n（文件路径已复制到了剪贴板，按 Ctrl+V 粘贴）\n\n此次共导出了 2 张表格：\n目录\n总分分数段\n\n"
         "点击“确定”按钮，将为你打开生成的文件。"},
        {false, true,
         "\n\n此次共导出了 2 张表格：\n目录\n总分分数段\n\n点击“确定”按钮，将为你打开生成的文件。"},
        {false, false, "\n\n此次共导出了 2 张表格：\n目录\n总分分数段"},
    };
    for (const Case& c : cases) {
        Exam exam;
        validExam(exam);
        exam.state.outputPath.clear();  // beside the opened workbook, named after the exam
        const std::string taken = exam.dir.file("期中考试 - 七年级成绩分析.xlsx");
        testing::writeFile(taken, "an earlier result");
        exam.frontend.clipboardWorks = c.clipboardWorks;
        exam.frontend.documentsOpen = c.documentsOpen;
        exam.run();
        const std::string path = exam.dir.file("期中考试 - 七年级成绩分析 (2).xlsx");
        ASSERT_EQ(exam.outcome.savedPath, path);
        ASSERT_FALSE(exam.frontend.messages.empty());
        EXPECT_EQ(exam.frontend.messages.back().text, "文件“" + path + "”已经生成并保存！" + c.after);
        EXPECT_EQ(exam.frontend.messages.back().caption, "信息");
        EXPECT_EQ(exam.frontend.clipboard,
                  c.clipboardWorks ? std::vector<std::string>{path} : std::vector<std::string>{});
        EXPECT_EQ(testing::readFile(taken), "an earlier result");
    }
}

TEST(ExportRun, FailedSaveKeepsTheStudentsAndLeavesNoFile) {
    Exam exam;
    validExam(exam);
    exam.state.outputPath = exam.dir.file("没有这个文件夹/结果.xlsx");
    exam.run();
    ASSERT_EQ(exam.frontend.messages.size(), 1u);
    EXPECT_EQ(exam.frontend.messages[0].caption, "错误");
    EXPECT_EQ(exam.frontend.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(exam.frontend.messages[0].text.find("结果.xlsx"), std::string::npos);
    EXPECT_EQ(exam.frontend.enabled, (std::vector<std::pair<Action, bool>>{{Action::ImportStudents, false},
                                                                           {Action::ImportStudents, true}}));
    EXPECT_TRUE(exam.frontend.clipboard.empty());
    EXPECT_TRUE(exam.frontend.openedDocuments.empty());
    EXPECT_EQ(exam.frontend.minimised, 0);
    EXPECT_FALSE(exam.outcome.completed);
    EXPECT_EQ(exam.state.students.rowCount(), 3);
    EXPECT_EQ(exam.state.imported.studentCount, 3);
    EXPECT_FALSE(std::filesystem::exists(exam.state.outputPath));
}

TEST(ExportRun, UnwritableWorkbookFolderSavesInTheDocumentsFolder) {
    Exam exam;
    validExam(exam);
    ScopedEnv home("HOME", exam.dir.path());
    ScopedEnv documents("XDG_DOCUMENTS_DIR", std::nullopt);
    ScopedEnv config("XDG_CONFIG_HOME", exam.dir.file("config"));
    exam.state.outputPath.clear();
    exam.state.workbook.path = exam.dir.file("只读/成绩表.xlsx");  // a folder that cannot be written
    exam.keepCells = false;  // the folder is refused before any cell is released
    exam.run();
    ASSERT_TRUE(exam.outcome.completed) << exam.outcome.failure->message;
    EXPECT_EQ(exam.outcome.savedPath, exam.dir.file("期中考试 - 七年级成绩分析.xlsx"));
    EXPECT_TRUE(std::filesystem::exists(exam.outcome.savedPath));
    EXPECT_EQ(exam.frontend.messages.size(), 1u);
    EXPECT_EQ(exam.frontend.messages[0].caption, "信息");
}

// A save that the disk cuts short is reported as it is: another folder would be on the same disk,
// so the documents folder is not tried (its path is in no message, nothing is written there).
TEST(ExportRun, FullDiskIsNotRetriedInTheDocumentsFolder) {
    Exam exam;
    validExam(exam);
    TempDir home;
    ScopedEnv homeEnv("HOME", home.path());
    ScopedEnv documents("XDG_DOCUMENTS_DIR", std::nullopt);
    ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    exam.state.outputPath.clear();
    exam.state.workbook.path = exam.dir.file("成绩表.xlsx");  // a folder that takes files
    // The cells are kept, so that a second save would be possible; the file-size limit makes every
    // write beyond 2 KB fail as a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    exam.run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_FALSE(exam.outcome.completed);
    EXPECT_EQ(exam.outcome.failure->kind, ErrorKind::WriteFailed);
    // The workbook's own folder, named in the one message.
    const std::string named = "无法保存文件“" + exam.dir.file("期中考试 - 七年级成绩分析.xlsx") + "”：";
    EXPECT_EQ(exam.outcome.failure->message.rfind(named, 0), 0u) << exam.outcome.failure->message;
    ASSERT_EQ(exam.frontend.messages.size(), 1u);
    EXPECT_EQ(exam.frontend.messages[0].text, exam.outcome.failure->message);
    // No first attempt logged before a second: the one failure, logged as shown.
    const std::vector<std::string> log = logTexts(exam.frontend);
    EXPECT_EQ(
        std::count_if(log.begin(), log.end(),
                      [](const std::string& line) { return line.find("无法保存") != std::string::npos; }),
        1);
    EXPECT_EQ(log.back(), exam.outcome.failure->message);
    EXPECT_TRUE(std::filesystem::is_empty(home.path()));
    EXPECT_EQ(exam.state.students.rowCount(), 3);
}

TEST(ExportRun, FailingWriterEndsTheRunWithoutSaving) {
    Exam exam;
    validExam(exam);
    exam.state.exportOptions.totalRankBands = true;
    exam.state.imported.examFullMarkTotal = 2000000000;  // more bands than a sheet has rows
    exam.run();
    ASSERT_EQ(exam.frontend.messages.size(), 1u);
    EXPECT_EQ(exam.frontend.messages[0].text,
              "总分分数段：满分 2000000000 分需要 200000004 行，超过了工作表的最大行数 1048576 行！");
    EXPECT_EQ(exam.frontend.messages[0].caption, "错误");
    EXPECT_EQ(exam.frontend.enabled.back(), (std::pair<Action, bool>{Action::ImportStudents, true}));
    const std::vector<std::string> log = logTexts(exam.frontend);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "导出：总分分数段");  // the sheet begun last, then the failure
    EXPECT_EQ(log.back(), exam.frontend.messages[0].text);
    EXPECT_FALSE(std::filesystem::exists(exam.state.outputPath));
    EXPECT_EQ(exam.state.students.rowCount(), 3);
}

// ---------------------------------------------------------------- sheet counts and positions

struct CountCase {
    const char* name;
    int classes;  // classes of school 一中 (one student each)
    std::function<void(ExportOptions&)> options;
    int sheets;
    int added;
    std::vector<std::string> tabs;  // from the left; empty: not checked
    int exportLines;                // "导出：" lines in the log
};

TEST(ExportRun, SheetCountsAndPositions) {
    auto allSeven = [](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = true;
        o.topN = 5;
    };
    const CountCase cases[] = {
        {"contents only",
         0,
         [](ExportOptions& o) {
             o.classRanking = true;
             o.classRankingLayout = 0;
         },
         1,
         0,
         {"目录", "Sheet2", "Sheet3"},
         1},
        {"total bands",
         1,
         [](ExportOptions& o) { o.totalBands = true; },
         2,
         0,
         {"目录", "总分分数段", "Sheet3"},
         2},
        {"two band sheets",
         1,
         [](ExportOptions& o) { o.totalBands = o.subjectBands = true; },
         3,
         0,
         {"目录", "各科分数段", "总分分数段"},
         3},
        {"three band sheets",
         1,
         [](ExportOptions& o) { o.totalBands = o.subjectBands = o.totalRankBands = true; },
         4,
         1,
         {"目录", "各科分数段", "总分分数段", "总分名次段"},
         4},
        {"seven sheets and two classes",
         2,
         [&](ExportOptions& o) {
             allSeven(o);
             o.classRanking = true;
             o.classRankingLayout = 0;
         },
         10,
         7,
         {"目录", "一中1", "一中2", "总分前5名", "年级各科三率", "班级各科三率", "教师个人三率", "各科分数段",
          "总分分数段", "总分名次段"},
         10},
        {"seven sheets and twelve classes",
         12,
         [&](ExportOptions& o) {
             allSeven(o);
             o.classRanking = true;
             o.classRankingLayout = 0;
         },
         20,
         17,
         {},
         20},
        {"seven sheets and one class-ranking sheet",
         12,
         [&](ExportOptions& o) {
             allSeven(o);
             o.classRanking = true;
         },
         9,
         6,
         {},
         8 + 12},  // the one class-ranking sheet logs each class
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Exam exam;
        for (int i = 1; i <= std::max(c.classes, 1); ++i)
            exam.student("一中", std::to_string(i), "甲", "100");
        exam.imported().teachers().only(c.options);
        if (c.classes == 0) exam.state.imported.classList.clear();
        exam.run();
        EXPECT_EQ(exam.outcome.sheetCount, c.sheets);
        EXPECT_EQ(exam.outcome.addedSheets, c.added);
        ASSERT_TRUE(exam.outcome.workbook);
        const WorkbookModel& book = *exam.outcome.workbook;
        EXPECT_EQ(book.sheetCount(), std::max(c.sheets, 3));
        if (!c.tabs.empty()) {
            EXPECT_EQ(tabNames(book), c.tabs);
        }
        if (c.sheets < 3) {
            EXPECT_EQ(book.sheet(3)->cellCount(), 0u);  // the default sheet is left alone
        }
        if (c.sheets == 20) {
            EXPECT_EQ(book.sheet(2)->name, "一中1");  // the classes follow 目录 in class order
            EXPECT_EQ(book.sheet(13)->name, "一中12");
        }
        EXPECT_EQ(book.sheet(1)->name, "目录");
        for (int i = 1; i <= c.sheets; ++i) EXPECT_TRUE(book.sheet(i)->visible);
        std::vector<std::string> log = logTexts(exam.frontend);
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const std::string& l) { return l.rfind("导出：", 0) == 0; }),
                  c.exportLines);
    }
}

// The plan of an export of the state under that exam name.
SheetPlan planOf(AppState& state, const char* examName) {
    state.examNameText = examName;
    return buildSheetPlan(varnex::Exam(state));
}

TEST(SheetPlan, ItemListAndTitles) {
    Exam exam;
    exam.student("一中", "1", "甲", "100").student("二中", "3", "乙", "90").imported().teachers();
    exam.only([](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = o.classRanking = true;
        o.topN = 20;
        o.classRankingLayout = 0;
    });
    SheetPlan plan = planOf(exam.state, "期末");
    // The sheets of one class each are one line, however many classes there are.
    EXPECT_EQ(plan.itemList,
              "目录\n各班总分排名表 2 张\n总分前20名\n年级各科三率\n班级各科三率\n教师个人三率\n"
              "各科分数段\n总分分数段\n总分名次段\n");
    EXPECT_EQ(plan.sheets[7].item, "一中（1）班总分排名");  // still the log line of its sheet
    ASSERT_EQ(plan.sheetCount(), 10);
    EXPECT_EQ(plan.sheets[0].title, "期末 - 总分名次段（七年级）");
    EXPECT_EQ(plan.sheets[0].position, 10);
    EXPECT_EQ(plan.sheets[6].tabName, "总分前20名");
    EXPECT_EQ(plan.sheets[6].title, "期末 - 总分前20名（七年级）");
    EXPECT_EQ(plan.sheets[8].tabName, "二中3");
    EXPECT_EQ(plan.sheets[8].title, "期末 - 班级总分排名 - 二中七年级（3）班");
    EXPECT_EQ(plan.sheets[7].position, 2);  // the sheets of one class each read in class order
    EXPECT_EQ(plan.sheets[8].position, 3);
    EXPECT_EQ(plan.sheets[9].tabName, "目录");
    EXPECT_EQ(plan.sheets[9].position, 1);

    exam.state.exportOptions.classRankingLayout = 1;
    plan = planOf(exam.state, "期末");
    EXPECT_EQ(plan.itemList.substr(0, std::string("目录\n班级总分排名\n总分前20名\n").size()),
              "目录\n班级总分排名\n总分前20名\n");
    EXPECT_EQ(plan.sheets[7].title, "期末 - 班级总分排名（七年级）");
}

TEST(ExportRun, ImportedTextsThatLookLikeFormulasStayText) {
    Exam exam;
    exam.student("=1+1", "1", "=HYPERLINK(\"http://example.com\",\"甲\")", "250", {"80", "90", "=80"});
    exam.student("二中", "=A1", "乙", "200", {"70", "60", "70"});
    exam.imported().teachers().only([](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = o.classRanking = true;
        o.classRankingLayout = 1;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    // The only formulas are the rate sheets' own: ranks, block averages, deviations and rates.
    const auto ownFormula = [](std::string_view text) {
        for (const char* prefix : {"=RANK(", "=AVERAGE(", "=("}) {
            if (text.rfind(prefix, 0) == 0) return true;
        }
        return text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z' && text.find("$") != std::string::npos &&
               text.find('-') != std::string::npos && text.find('"') == std::string::npos;
    };
    const WorkbookModel& workbook = *exam.outcome.workbook;
    int dataTexts = 0;
    for (int p = 1; p <= workbook.sheetCount(); ++p) {
        const SheetModel& sheet = *workbook.sheet(p);
        for (int r = 0; r < sheet.rowCount(); ++r) {
            for (int c = 0; c < sheet.columnCount(r); ++c) {
                const Cell* cell = sheet.cell(r, c);
                if (cell == nullptr) continue;
                if (cell->kind == Cell::Kind::Formula) {
                    EXPECT_TRUE(ownFormula(cell->text())) << sheet.name << ": " << cell->text();
                }
                if (cell->kind == Cell::Kind::Text && cell->text().rfind("=", 0) == 0) ++dataTexts;
            }
        }
    }
    EXPECT_GT(dataTexts, 0);
    const SheetModel& ranking = exam.sheet("班级总分排名");
    EXPECT_EQ(shown(ranking, "B4"), "=1+1");
    EXPECT_EQ(ranking.at("B4")->kind, Cell::Kind::Text);
}

TEST(SheetPlan, ClassTabNamesAreMadeUsableAndUnique) {
    // 30 characters: with its class the tab name would pass the 31-character limit.
    const std::string longSchool = "某某市第一实验中学附属初级中学东校区本部分校某某市第一实验中";
    Exam exam;
    exam.student("一中1", "2", "甲", "100")
        .student("一中", "12", "乙", "90")
        .student("实验/中学", "3", "丙", "80")
        .student(longSchool, "10", "丁", "70")
        .student(longSchool, "11", "戊", "60")
        .student("目", "录", "己", "50")    // a class tab that would take the contents sheet's name
        .student("Sheet", "5", "庚", "40")  // a new workbook's own name, still on a later sheet
        .imported()
        .only([](ExportOptions& o) {
            o.classRanking = true;
            o.classRankingLayout = 0;
        });
    SheetPlan plan = planOf(exam.state, "期末");
    ASSERT_EQ(plan.sheetCount(), 8);
    EXPECT_EQ(plan.sheets[0].tabName, "一中12");
    EXPECT_EQ(plan.sheets[1].tabName, "一中12 (2)");
    EXPECT_EQ(plan.sheets[2].tabName, "实验_中学3");
    EXPECT_EQ(plan.sheets[3].tabName, longSchool + "1");  // cut to 31 characters
    EXPECT_EQ(plan.sheets[4].tabName, "某某市第一实验中学附属初级中学东校区本部分校某某市第一 (2)");
    EXPECT_EQ(plan.sheets[5].tabName, "目录 (2)");
    EXPECT_EQ(plan.sheets[6].tabName, "Sheet5 (2)");
    EXPECT_EQ(plan.sheets[7].tabName, "目录");
    EXPECT_EQ(plan.sheets[1].title, "期末 - 班级总分排名 - 一中七年级（12）班");

    // The run writes them all, the class tabs in class order from left to right; the contents sheet
    // lists the names the tabs carry, in tab order.
    exam.teachers();
    exam.run();
    ASSERT_TRUE(exam.outcome.workbook);
    const std::vector<std::string> tabs = tabNames(*exam.outcome.workbook);
    EXPECT_EQ(tabs, (std::vector<std::string>{"目录", "一中12", "一中12 (2)", "实验_中学3", longSchool + "1",
                                              "某某市第一实验中学附属初级中学东校区本部分校某某市第一 (2)",
                                              "目录 (2)", "Sheet5 (2)"}));
    for (size_t i = 1; i < tabs.size(); ++i)
        EXPECT_EQ(shown(exam.sheet("目录"), CellName(0, static_cast<int>(i) + 1)), tabs[i]) << i;
}

}  // namespace
}  // namespace varnex::testing
