// 不公布名次: which sheets are left out, what the listings show instead of places, what the
// confirmation says, and a sweep over every cell of a 九年级 export with every report chosen.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "import/open_workbook.h"
#include "import/previous_exam.h"
#include "import/student_import.h"
#include "readers/workbook_reader.h"
#include "sheets/sheet_texts.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/progress_exams.h"
#include "workbook/cell_name.h"

namespace varnex {
namespace {

using testing::Exam;
using testing::shown;

// The progress tests' two exams (语文, 数学 out of 100; the previous one also 英语), imported for
// real as a grade of `gradeIndex`, with a teacher for every class and subject.
void importAs(Exam& exam, int gradeIndex) {
    exam.state.workbook = {};
    exam.state.gradeIndex = gradeIndex;
    exam.state.scores.fullMark = {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0};
    exam.state.scores.excellenceLine.fill(80);
    testing::writeInputWorkbook(exam.dir.file("本次.xlsx"), {{"成绩", testing::kThisExamRows}});
    testing::writeInputWorkbook(exam.dir.file("上次.xlsx"), {{"成绩", testing::kPreviousExamRows}});
    ASSERT_TRUE(openWorkbook(exam.state, exam.frontend, exam.dir.file("本次.xlsx")));
    exam.state.workbook.selectedSheet = 0;
    exam.frontend.expectQuestion("导入文件：本次.xlsx", true);
    ASSERT_TRUE(importStudents(exam.state, exam.frontend));
    ASSERT_TRUE(openPreviousWorkbook(exam.state, exam.frontend, exam.dir.file("上次.xlsx")));
    ASSERT_TRUE(importPreviousExam(exam.state, exam.frontend));
    exam.teachers();
    exam.state.examNameText = "期中考试";
}

void chooseEverything(Exam& exam, bool noRanks, int classRankingLayout = 1) {
    exam.only([&](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = true;
        o.totalRankBands = o.charts = o.progress = o.nearLine = o.levelDistribution = true;
        o.topNEnabled = o.classRanking = true;
        o.classRankingLayout = classRankingLayout;
        o.noRanks = noRanks;
    });
}

const std::string& question(const Exam& exam) {
    return exam.frontend.questions.back().text;
}

class NoRanks : public ::testing::Test {
  protected:
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
};

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Every cell of every sheet: a sheet that lists students (it has a 姓名 header) has no header of a
// place below its title and notes; group places (the rate sheets, 班级进退步) may stay. Both
// layouts of 班级总分排名.
TEST_F(NoRanks, NoSheetListingStudentsHasAColumnOfPlaces) {
    importAs(exam, 8);  // 九年级
    exam.state.overwriteOutput = true;
    for (int layout : {0, 1}) {
        chooseEverything(exam, true, layout);
        ASSERT_TRUE(exam.run().completed) << layout;
        const WorkbookModel& workbook = *exam.outcome.workbook;
        int studentSheets = 0;
        for (int i = 1; i <= workbook.sheetCount(); ++i) {
            const SheetModel& sheet = *workbook.sheet(i);
            EXPECT_EQ(sheet.name.find("总分前"), std::string::npos) << sheet.name;
            EXPECT_NE(sheet.name, "总分名次段");
            int headerRow = -1;
            for (int r = 0; r < sheet.rowCount() && headerRow < 0; ++r) {
                for (int c = 0; c < sheet.columnCount(r); ++c) {
                    const Cell* cell = sheet.cell(r, c);
                    if (cell != nullptr && cell->kind == Cell::Kind::Text && cell->text() == "姓名")
                        headerRow = r;
                }
            }
            if (headerRow < 0) continue;
            ++studentSheets;
            for (int r = headerRow; r < sheet.rowCount(); ++r) {
                for (int c = 0; c < sheet.columnCount(r); ++c) {
                    const Cell* cell = sheet.cell(r, c);
                    if (cell == nullptr || cell->kind != Cell::Kind::Text) continue;
                    const std::string text(cell->text());
                    for (const char* word : {"名次", "排名", "校次", "班次"})
                        EXPECT_EQ(text.find(word), std::string::npos)
                            << sheet.name << " " << CellName(c, r + 1) << " " << text;
                }
            }
        }
        // 学生进退步, 临界生 and the class listing(s).
        EXPECT_EQ(studentSheets, layout == 0 ? 5 : 3) << layout;
        // The confirmation names what is left out and, the option being on, no advice.
        EXPECT_NE(question(exam).find("\n不公布名次：不导出总分前50名、总分名次段。\n"), std::string::npos)
            << question(exam);
        EXPECT_EQ(question(exam).find("义务教育"), std::string::npos);
        EXPECT_EQ(question(exam).find("总分名次段\n"), std::string::npos) << "not in the item list";
    }
}

// Every school's own workbook keeps 不公布名次 as the whole one does: no sheet of places, and no
// column of places on a sheet that lists students, read back cell by cell from the files.
TEST_F(NoRanks, EachSchoolsOwnWorkbookHasNoPlacesOfStudents) {
    importAs(exam, 8);
    exam.state.overwriteOutput = true;
    chooseEverything(exam, true);
    exam.state.exportOptions.standardScores = true;
    exam.state.exportOptions.split = SplitFiles::BySchool;
    ASSERT_TRUE(exam.run().completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
    ASSERT_EQ(exam.outcome.splitFiles, 2);
    for (const char* school : {"一中", "二中"}) {
        SCOPED_TRACE(school);
        auto opened = openWorkbookReader(exam.dir.file(std::string("结果/") + school + ".xlsx"));
        ASSERT_TRUE(opened) << opened.error();
        WorkbookReader& reader = **opened;
        std::set<std::string> studentSheets;
        for (size_t i = 0; i < reader.sheetNames().size(); ++i) {
            const std::string& name = reader.sheetNames()[i];
            EXPECT_EQ(name.find("总分前"), std::string::npos) << name;
            EXPECT_NE(name, "总分名次段");
            EXPECT_NE(name, "学生标准分");
            auto stream = reader.openSheet(i);
            ASSERT_TRUE(stream) << stream.error();
            bool listsStudents = false;
            SheetRow row;
            for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row)) {
                if (!listsStudents &&
                    std::find(row.cells.begin(), row.cells.end(), "姓名") == row.cells.end())
                    continue;
                listsStudents = true;
                for (size_t c = 0; c < row.cells.size(); ++c) {
                    for (const char* word : {"名次", "排名", "校次", "班次"})
                        EXPECT_EQ(row.cells[c].find(word), std::string::npos)
                            << name << " " << CellName(static_cast<int>(c), static_cast<int>(row.number))
                            << " " << row.cells[c];
                }
            }
            if (listsStudents) studentSheets.insert(name);
        }
        EXPECT_EQ(studentSheets, (std::set<std::string>{"班级总分排名", "临界生", "学生进退步"}));
    }
}

// Each class in pinyin order of the names (甲 jia, 王芳 wang, 乙 yi; 丁 ding, 王芳 wang, 戊 wu) with
// every score's level by 九年级's cuts (A ≥ 90 %, B ≥ 75 %, C ≥ 60 %) and no place.
TEST_F(NoRanks, ClassListingsInNameOrderWithLevels) {
    importAs(exam, 8);
    exam.only([](ExportOptions& o) { o.classRanking = o.noRanks = true; });
    ASSERT_TRUE(exam.run().completed);
    const SheetModel& sheet = exam.sheet("班级总分排名");
    EXPECT_EQ(
        shown(sheet, "A2"),
        "不公布名次：各班学生按姓名的拼音顺序排列，不排名次。等级按分数线：A ≥ 90%，B ≥ 75%，C ≥ 60%，D "
        "其余（占满分的百分比）");
    expectRows("班级总分排名", 3,
               {{"序号", "学校", "班级", "姓名", "语文100", "等级", "数学100", "等级", "总分200", "等级"},
                {"1", "一中", "（1）班", "甲", "90", "A", "90", "A", "180", "A"},
                {"2", "一中", "（1）班", "王芳", "80", "B", "78", "B", "158", "B"},
                {"3", "一中", "（1）班", "乙", "70", "C", "60", "C", "130", "C"},
                {"1", "一中", "（2）班", "丁", "85", "B", "80", "B", "165", "B"},
                {"2", "一中", "（2）班", "王芳", "60", "C", "62", "C", "122", "C"},
                {"3", "一中", "（2）班", "戊", "95", "A", "90", "A", "185", "A"}});
    EXPECT_EQ(shown(sheet, "K3"), "");
}

// 学生进退步 shows the total's level in both exams (200 and 300 points) and the levels moved up,
// ordered within each class by that change.
TEST_F(NoRanks, StudentProgressShowsLevels) {
    importAs(exam, 8);
    exam.only([](ExportOptions& o) { o.progress = o.noRanks = true; });
    ASSERT_TRUE(exam.run().completed);
    expectRows("学生进退步", 4,
               {{"学校", "班级", "姓名", "本次总分", "本次等级", "上次总分", "上次等级", "等级变化"},
                {"一中", "（1）班", "甲", "180", "A", "255", "B", "1"},
                {"一中", "（1）班", "乙", "130", "C", "165", "D", "1"},
                {"一中", "（1）班", "王芳", "158", "B", "240", "B", "0"},
                {"一中", "（2）班", "丁", "165", "B", "210", "C", "1"},
                {"一中", "（2）班", "王芳", "122", "C", "195", "C", "0"},
                {"二中", "（1）班", "己", "145", "C", "255", "B", "-1"}});
    EXPECT_NE(shown(exam.sheet("学生进退步"), "A2").find("等级按分数线"), std::string::npos);
    // 班级进退步 keeps the places of the classes.
    EXPECT_EQ(shown(exam.sheet("班级进退步"), "G4"), "本次名次");
}

// The advice of a 义务教育 grade appears once when the export shows students' places, and only then.
TEST(NoRanksConfirmation, AdviceForACompulsoryGradeShowingPlaces) {
    struct Case {
        int grade;
        bool noRanks;
        bool placesChosen;
        size_t advice;
    };
    const Case cases[] = {{8, false, true, 1},
                          {0, false, true, 1},
                          {8, false, false, 0},
                          {8, true, true, 0},
                          {9, false, true, 0}};
    for (const Case& c : cases) {
        Exam one;
        importAs(one, c.grade);
        chooseEverything(one, c.noRanks);
        if (!c.placesChosen) {
            ExportOptions& o = one.state.exportOptions;
            o.topNEnabled = o.totalRankBands = o.classRanking = o.progress = false;
        }
        ASSERT_TRUE(one.run().completed) << c.grade;
        EXPECT_EQ(occurrences(question(one), sheet_texts::kCompulsoryRanksNote), c.advice)
            << c.grade << " " << c.noRanks << " " << c.placesChosen << "\n"
            << question(one);
    }
}

// Reports made of places alone leave nothing to export: said as such, nothing written.
TEST_F(NoRanks, OnlyPlaceReportsChosenIsRefused) {
    importAs(exam, 8);
    exam.only([](ExportOptions& o) { o.topNEnabled = o.totalRankBands = o.noRanks = true; });
    const size_t asked = exam.frontend.questions.size();
    const Result<ExportOutcome> result = exportRun(exam.state, exam.frontend);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), sheet_texts::kOnlyPlaceReportsChosen);
    EXPECT_EQ(exam.frontend.questions.size(), asked) << "no confirmation";
}

}  // namespace
}  // namespace varnex
