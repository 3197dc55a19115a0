#include "analysis/progress.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/progress_figures.h"
#include "import/open_workbook.h"
#include "import/previous_exam.h"
#include "import/student_import.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/progress_exams.h"
#include "workbook/cell_name.h"

namespace varnex {
namespace {

using testing::Exam;
using testing::shown;

// The export test's exam, imported for real from a workbook of this exam and one of the previous.
class ProgressExport : public ::testing::Test {
  protected:
    void SetUp() override {
        exam.state.workbook = {};
        exam.state.scores.fullMark = {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0};
        exam.state.scores.excellenceLine.fill(80);
        testing::writeInputWorkbook(exam.dir.file("本次.xlsx"), {{"成绩", testing::kThisExamRows}});
        testing::writeInputWorkbook(exam.dir.file("上次.xlsx"), {{"成绩", previousRows}});
        ASSERT_TRUE(openWorkbook(exam.state, exam.frontend, exam.dir.file("本次.xlsx")));
        exam.state.workbook.selectedSheet = 0;
        exam.frontend.expectQuestion("导入文件：本次.xlsx", true);
        ASSERT_TRUE(importStudents(exam.state, exam.frontend));
        ASSERT_EQ(exam.state.students.rowCount(), 9);
        exam.state.examNameText = "期中考试";
    }
    bool readPrevious() {
        return openPreviousWorkbook(exam.state, exam.frontend, exam.dir.file("上次.xlsx")) &&
               importPreviousExam(exam.state, exam.frontend);
    }
    void expectRows(const std::string& sheetName, int firstRow,
                    const std::vector<std::vector<std::string>>& rows) {
        const SheetModel& sheet = exam.sheet(sheetName);
        for (size_t r = 0; r < rows.size(); ++r) {
            for (size_t c = 0; c < rows[r].size(); ++c) {
                const std::string at = CellName(static_cast<int>(c), firstRow + static_cast<int>(r));
                EXPECT_EQ(shown(sheet, at), rows[r][c]) << sheetName << " " << at;
            }
        }
    }

    Exam exam;
    std::vector<std::vector<std::string>> previousRows = testing::kPreviousExamRows;
};

TEST_F(ProgressExport, SheetsEqualTheHandComputation) {
    ASSERT_TRUE(readPrevious());
    // The ranking sheets, written after the progress sheets, reorder the StudentTable: the note
    // still names the right students.
    exam.only([](ExportOptions& o) {
        o.progress = o.nearLine = o.topNEnabled = o.classRanking = true;
        o.topN = 3;
        o.nearBand = 5;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed)
        << (exam.frontend.messages.empty() ? "" : exam.frontend.messages[0].text);
    EXPECT_EQ(testing::tabNames(*exam.outcome.workbook),
              (std::vector<std::string>{"目录", "班级总分排名", "总分前3名", "学生进退步", "班级进退步",
                                        "临界生"}));
    expectRows("学生进退步", 5, testing::kStudentProgressRows);
    EXPECT_EQ(shown(exam.sheet("学生进退步"), "A11"), "");
    const std::vector<std::vector<std::string>>& classRows = testing::kClassProgressRows;
    expectRows("班级进退步", 5, {classRows[0]});
    expectRows("班级进退步", 7, {classRows[1]});
    EXPECT_EQ(shown(exam.sheet("班级进退步"), "C13"), "总分");  // 3 classes × 语文, 数学, 总分
    EXPECT_NE(shown(exam.sheet("班级进退步"), "A2").find("只在上次考试中的学科（英语）不作比较。"),
              std::string::npos);
    expectRows("临界生", 5, testing::kNearLineRows);
    EXPECT_EQ(shown(exam.sheet("临界生"), "A9"), "");
    EXPECT_EQ(shown(exam.sheet("目录"), "A4"), "学生进退步");
    EXPECT_EQ(shown(exam.sheet("目录"), "A6"), "临界生");

    const std::string& done = exam.frontend.messages.back().text;
    EXPECT_NE(done.find("\n\n" + testing::kMatchNote + "\n"), std::string::npos) << done;
}

// A previous sheet that cannot be read says why, naming its file, and leaves the previous exam
// read before and the current import as they were.
TEST_F(ProgressExport, UnreadablePreviousSheetChangesNothing) {
    ASSERT_TRUE(readPrevious());
    struct Case {
        const char* name;
        std::vector<std::string> header;
        const char* fragment;
    };
    const Case cases[] = {
        {"no name column", {"学校", "班级", "学生", "语文", "数学", "英语"}, "姓名"},
        {"two exam numbers",
         {"学校", "班级", "姓名", "考号", "准考证号", "语文"},
         "有两列都像考号：考号和准考证号"},
    };
    for (const Case& c : cases) {
        previousRows = testing::kPreviousExamRows;
        previousRows[0] = c.header;
        std::filesystem::remove(exam.dir.file("上次.xlsx"));
        testing::writeInputWorkbook(exam.dir.file("上次.xlsx"), {{"成绩", previousRows}});
        exam.frontend.messages.clear();
        EXPECT_FALSE(readPrevious()) << c.name;
        ASSERT_EQ(exam.frontend.messages.size(), 1u) << c.name;
        EXPECT_NE(exam.frontend.messages[0].text.find("上次考试“上次.xlsx”："), std::string::npos) << c.name;
        EXPECT_NE(exam.frontend.messages[0].text.find(c.fragment), std::string::npos)
            << c.name << ": " << exam.frontend.messages[0].text;
        EXPECT_EQ(exam.state.previous.students.rowCount(), 9) << c.name;
        EXPECT_EQ(exam.state.previous.examSubjects.size(), 3u) << c.name;
        EXPECT_EQ(exam.state.students.rowCount(), 9) << c.name;
        EXPECT_EQ(exam.state.imported.examSubjects, (std::vector<std::string>{"语文", "数学"})) << c.name;
    }
}

// With blank scores left out, a total is judged by the lines of the subjects sat: 甲 (no 英语)
// is near their own excellence line of 160, not the grade's 240, and their weakest subject is
// among those sat. A student without any score is ranked in neither exam, and students are still
// paired by 考号 when one without scores is left out of the export.
TEST(ProgressWithBlankScoresLeftOut, TotalsAndLinesAreEachStudentsOwn) {
    Exam exam;
    exam.state.scores.fullMark = {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0};
    exam.state.scores.excellenceLine.fill(80);
    exam.state.importOptions.missingRule = 2;
    exam.state.exportOptions.blankScoresExcluded = true;
    const std::vector<std::string> header = {"学校", "班级", "姓名", "考号", "语文", "数学", "英语"};
    testing::writeInputWorkbook(exam.dir.file("本次.xlsx"), {{"成绩",
                                                              {header,
                                                               {"一中", "1", "甲", "1", "90", "75", "缺考"},
                                                               {"一中", "1", "乙", "2", "70", "60", "70"},
                                                               {"一中", "1", "丙", "3", "缺考", "/", ""},
                                                               {"一中", "1", "丁", "4", "85", "80", "80"}}}});
    testing::writeInputWorkbook(exam.dir.file("上次.xlsx"), {{"成绩",
                                                              {header,
                                                               {"一中", "1", "甲", "1", "80", "80", "80"},
                                                               {"一中", "1", "乙", "2", "60", "60", "60"},
                                                               {"一中", "1", "丙", "3", "70", "70", "70"},
                                                               {"一中", "1", "丁", "4", "缺考", "", ""}}}});
    ASSERT_TRUE(openWorkbook(exam.state, exam.frontend, exam.dir.file("本次.xlsx")));
    exam.state.workbook.selectedSheet = 0;
    exam.frontend.expectQuestion("导入文件：本次.xlsx", true);
    ASSERT_TRUE(importStudents(exam.state, exam.frontend));
    ASSERT_EQ(exam.state.students.rowCount(), 4);
    ASSERT_TRUE(openPreviousWorkbook(exam.state, exam.frontend, exam.dir.file("上次.xlsx")) &&
                importPreviousExam(exam.state, exam.frontend));
    exam.state.examNameText = "期中考试";
    exam.only([](ExportOptions& o) {
        o.progress = o.nearLine = o.blankScoresExcluded = true;
        o.nearBand = 10;
    });
    exam.run();
    ASSERT_TRUE(exam.outcome.completed)
        << (exam.frontend.messages.empty() ? "" : exam.frontend.messages.back().text);
    const SheetModel& progress = exam.sheet("学生进退步");
    const std::vector<std::vector<std::string>> progressRows = {
        {"一中", "（1）班", "乙", "200", "2", "180", "3", "1"},
        {"一中", "（1）班", "甲", "165", "3", "240", "1", "-2"},
    };
    for (size_t r = 0; r < progressRows.size(); ++r) {
        for (size_t c = 0; c < progressRows[r].size(); ++c) {
            const std::string at = CellName(static_cast<int>(c), 5 + static_cast<int>(r));
            EXPECT_EQ(shown(progress, at), progressRows[r][c]) << "学生进退步 " << at;
        }
    }
    const SheetModel& near = exam.sheet("临界生");
    const std::vector<std::vector<std::string>> nearRows = {
        {"一中", "（1）班", "丁", "245", "优秀线", "240", "5", "数学"},
        {"一中", "（1）班", "甲", "165", "优秀线", "160", "5", "数学"},
    };
    for (size_t r = 0; r < nearRows.size(); ++r) {
        for (size_t c = 0; c < nearRows[r].size(); ++c) {
            const std::string at = CellName(static_cast<int>(c), 5 + static_cast<int>(r));
            EXPECT_EQ(shown(near, at), nearRows[r][c]) << "临界生 " << at;
        }
    }
    EXPECT_EQ(shown(near, "A7"), "");
    EXPECT_NE(shown(near, "A2").find("本人所考各科"), std::string::npos) << shown(near, "A2");
    const std::string& done = exam.frontend.messages.back().text;
    EXPECT_NE(done.find("考号"), std::string::npos) << done;
}

TEST_F(ProgressExport, WithoutPreviousExamTheExportDoesNotStart) {
    exam.only([](ExportOptions& o) { o.progress = true; });
    exam.run();
    EXPECT_FALSE(exam.outcome.completed);
    ASSERT_FALSE(exam.frontend.messages.empty());
    EXPECT_EQ(exam.frontend.messages.back().text, "导出进退步必须先选择并读入上次考试的成绩表！");
}

// Student numbers pair students whatever their names and classes; a number given twice pairs
// nobody, and a number found on one side only is not paired by name either.
TEST(MatchStudents, ByExamNumberWhenBothSheetsHaveIt) {
    RowTable now(kStudentTableColumns), before(kStudentTableColumns);
    auto add = [](RowTable& t, const char* klass, const char* name, const char* number) {
        std::vector<std::string> cells(15);
        cells[0] = "一中";
        cells[1] = klass;
        cells[2] = name;
        cells[14] = "100";
        t.setHiddenCells(t.appendRow(cells), {number, ""});
    };
    add(now, "1", "张三", "001");
    add(now, "2", "李四", "002");
    add(now, "2", "王五", "003");
    add(now, "1", "赵六", "004");
    add(now, "1", "钱七", "");
    add(before, "3", "张叁", "001");  // name written otherwise, other class
    add(before, "1", "李四", "003");  // 003 twice in the previous exam
    add(before, "2", "王五", "003");
    add(before, "1", "赵六", "009");  // same name, another number
    add(before, "1", "钱七", "");     // no number: paired by name
    StudentMatch match = matchStudents({now, {true, false}}, {before, {true, false}});
    EXPECT_EQ(match.idKind, 0);
    EXPECT_EQ(match.previousOf, (std::vector<int>{0, -1, -1, -1, 4}));
    EXPECT_EQ(match.ambiguousCurrent, (std::vector<int>{2}));
    EXPECT_EQ(match.ambiguousPrevious, (std::vector<int>{1, 2}));
    EXPECT_EQ(match.onlyCurrent, (std::vector<int>{1, 3}));
    EXPECT_EQ(match.onlyPrevious, (std::vector<int>{3}));
}

// The grade places of both exams follow 名次方式; without a choice they stay 1, 2, 2, 4.
TEST(ProgressFigures, GradePlacesFollowTheRankingRule) {
    Exam exam;
    const char* totals[] = {"200", "300", "200", "100"};
    for (int i = 0; i < 4; ++i) exam.student("一中", "1", "s" + std::to_string(i), totals[i]);
    exam.imported();
    PreviousExam& previous = exam.state.previous;
    previous.examSubjects = exam.state.imported.examSubjects;
    previous.scores = exam.state.scores;
    for (int i = 0; i < 4; ++i) {
        std::vector<std::string> cells(15);
        cells[0] = "一中";
        cells[1] = "1";
        cells[2] = "s" + std::to_string(i);
        cells[14] = totals[3 - i];
        previous.students.appendRow(cells);
    }
    const std::pair<RankingRule, std::vector<int>> cases[] = {{RankingRule::Unchosen, {2, 1, 2, 4}},
                                                              {RankingRule::Competition, {2, 1, 2, 4}},
                                                              {RankingRule::Dense, {2, 1, 2, 3}}};
    for (const auto& [rule, places] : cases) {
        exam.state.exportOptions.rankingRule = rule;
        const varnex::Exam counted(exam.state);
        const ProgressPairing pairing = pairWithPrevious(counted);
        EXPECT_EQ(pairing.currentPlaces, places);
        EXPECT_EQ(pairing.previousPlaces, (std::vector<int>(places.rbegin(), places.rend())));
    }
}

// The students not ranked in one exam follow the others of their class, ordered by the difference
// of their places all the same (C, last 4th, before B, last 1st); the class figures of the total
// are placed among the classes in each exam.
TEST(ProgressFigures, StudentsAndClassesInBothExams) {
    Exam exam;
    exam.student("一中", "1", "A", "300").student("一中", "1", "B", "").student("一中", "1", "C", "");
    exam.student("一中", "1", "D", "200").student("一中", "2", "F", "150").imported();
    PreviousExam& previous = exam.state.previous;
    previous.examSubjects = exam.state.imported.examSubjects;
    previous.scores = exam.state.scores;
    for (auto [klass, name, total] : {std::tuple{"1", "A", "100"},
                                      {"1", "B", "300"},
                                      {"1", "C", "200"},
                                      {"1", "D", "250"},
                                      {"2", "F", "280"}}) {
        std::vector<std::string> cells(15);
        cells[0] = "一中";
        cells[1] = klass;
        cells[2] = name;
        cells[14] = total;
        previous.students.appendRow(cells);
    }
    const varnex::Exam counted(exam.state);
    const ProgressPairing pairing = pairWithPrevious(counted);
    EXPECT_EQ(pairing.currentPlaces, (std::vector<int>{1, 0, 0, 2, 3}));
    EXPECT_EQ(pairing.previousPlaces, (std::vector<int>{5, 1, 4, 3, 2}));

    struct Line {
        int student, place, previousPlace;
        std::optional<int> change;
        bool operator==(const Line&) const = default;
    };
    std::vector<Line> lines;
    for (const StudentProgress& p : studentProgress(counted, pairing))
        lines.push_back({p.student, p.place, p.previousPlace, p.change});
    EXPECT_EQ(lines,
              (std::vector<Line>{{0, 1, 5, 4}, {3, 2, 3, 1}, {2, 0, 4, {}}, {1, 0, 1, {}}, {4, 3, 2, -1}}));

    const ClassProgressTable table = classProgress(counted, pairing);
    ASSERT_EQ(table.columns, (std::vector<std::string>{"语文", "数学", "英语", "总分"}));
    ASSERT_EQ(table.classCount, 2u);
    const ProgressFigure& one = table.at(0, 3)[static_cast<size_t>(ClassFigure::Average)];
    const ProgressFigure& two = table.at(1, 3)[static_cast<size_t>(ClassFigure::Average)];
    EXPECT_EQ(one.now, 250);  // B and C have no total
    EXPECT_EQ(one.last, 212.5);
    EXPECT_EQ(one.change, 37.5);
    EXPECT_EQ(std::tuple(one.nowPlace, one.lastPlace, one.placeChange),
              std::tuple(1, 2, std::optional<int>(1)));
    EXPECT_EQ(two.change, -130);
    EXPECT_EQ(std::tuple(two.nowPlace, two.lastPlace, two.placeChange),
              std::tuple(2, 1, std::optional<int>(-1)));
}

}  // namespace
}  // namespace varnex
