// 分别导出: the schools' and classes' own workbooks beside the whole one, read back from their
// files and held against the whole workbook's file cell by cell.

#include "export/split_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/null_frontend.h"
#include "app/score_lines.h"
#include "import/question_import.h"
#include "import/student_import.h"
#include "readers/workbook_reader.h"
#include "tests/export/exam_fixture.h"
#include "tests/support/temp_dir.h"

namespace varnex::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Every sheet of a saved workbook by name: its rows from row 3 (the headers) on, each as wide as
// the widest, with the merged name cells of columns A and B (and 总平均分, O, of the rate
// sheets) filled down from the row above where the file leaves them empty.
std::map<std::string, Rows> readSheets(const std::string& path) {
    std::map<std::string, Rows> sheets;
    auto opened = openWorkbookReader(path);
    EXPECT_TRUE(opened) << opened.error();
    if (!opened) return sheets;
    WorkbookReader& reader = **opened;
    for (size_t i = 0; i < reader.sheetNames().size(); ++i) {
        auto stream = reader.openSheet(i);
        EXPECT_TRUE(stream) << stream.error();
        if (!stream) continue;
        Rows rows;
        SheetRow row;
        for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row)) {
            if (row.number >= 3) rows.push_back(row.cells);
        }
        size_t width = 0;
        for (const auto& r : rows) width = std::max(width, r.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            rows[r].resize(width);
            for (size_t c : {size_t{0}, size_t{1}, size_t{14}}) {
                if (r > 0 && c < width && rows[r][c].empty() && !rows[r - 1][c].empty())
                    rows[r][c] = rows[r - 1][c];
            }
        }
        sheets[reader.sheetNames()[i]] = std::move(rows);
    }
    return sheets;
}

// Three schools of two classes each, with made-up pupils; every report that can show a school, with
// 四率 and 扩展指标.
void threeSchools(Exam& exam) {
    exam.subjects({{"语文", 100}, {"数学", 100}});
    const char* schools[] = {"东湖中学", "西岭中学", "南桥中学"};
    int n = 0;
    for (const char* school : schools) {
        for (const char* klass : {"1", "2"}) {
            for (int k = 0; k < 4; ++k) {
                const int a = 40 + (n * 37) % 61, b = 35 + (n * 53) % 66;
                exam.student(school, klass, "学生" + std::to_string(++n), std::to_string(a + b),
                             {std::to_string(a), std::to_string(b)});
            }
        }
    }
    exam.imported().teachers();
    exam.only([](ExportOptions& o) {
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = o.classRanking = o.levelDistribution = o.standardScores = o.charts = true;
        o.fourRates = o.moreFigures = true;
        o.topN = 10;
        o.classRankingLayout = 1;
    });
}

// The rows of a sheet that `keep` keeps, each without the columns `skip` leaves out.
Rows rowsWhere(const Rows& rows, const std::function<bool(const std::vector<std::string>&)>& keep,
               const std::set<size_t>& skip = {}) {
    Rows kept;
    for (const auto& row : rows) {
        if (!keep(row)) continue;
        std::vector<std::string> cells;
        for (size_t c = 0; c < row.size(); ++c) {
            if (skip.count(c) == 0) cells.push_back(row[c]);
        }
        kept.push_back(std::move(cells));
    }
    return kept;
}

// The rows of a band sheet below its headers: the labels left of the first count column, then
// the school's count and the whole exam's ("合计/累计").
Rows bandRows(const Rows& rows, const std::string& school) {
    Rows bands;
    if (rows.empty()) return bands;
    const auto& headers = rows[0];
    const auto own = std::find(headers.begin(), headers.end(), school + "/累计");
    const auto all = std::find(headers.begin(), headers.end(), std::string("合计/累计"));
    const auto firstCount = std::find_if(headers.begin(), headers.end(),
                                         [](const std::string& h) { return h.ends_with("/累计"); });
    if (own == headers.end() || all == headers.end()) return bands;
    for (size_t r = 1; r < rows.size(); ++r) {
        std::vector<std::string> band(rows[r].begin(), rows[r].begin() + (firstCount - headers.begin()));
        band.push_back(rows[r][static_cast<size_t>(own - headers.begin())]);
        band.push_back(rows[r][static_cast<size_t>(all - headers.begin())]);
        bands.push_back(std::move(band));
    }
    return bands;
}

// The figure tables of a school's 统计图表, from column L, read from its own workbook's sheets: its
// classes' rows with the blocks' averages of all classes, its row of level shares, and its school's
// column of band counts (over the bands its totals fall in), each as in the whole workbook's; no
// other school named.
void expectSchoolsCharts(const Rows& own, const Rows& whole, const std::string& school) {
    constexpr size_t kTable = 11;  // L
    for (const auto& row : own) {
        for (const std::string other : {"东湖中学", "西岭中学", "南桥中学"}) {
            if (other != school) {
                EXPECT_EQ(std::find(row.begin(), row.end(), other), row.end()) << other;
            }
        }
    }
    auto fromTable = [&](const std::vector<std::string>& row) {
        return row.size() > kTable && row[kTable] == school;
    };
    auto tableColumns = [&](Rows rows) {
        for (auto& row : rows) row.erase(row.begin(), row.begin() + kTable);
        return rows;
    };
    EXPECT_EQ(tableColumns(rowsWhere(own, fromTable)).size(), 3u);
    EXPECT_EQ(tableColumns(rowsWhere(own, fromTable)), tableColumns(rowsWhere(whole, fromTable)));
    // The band counts: 分数段, then a column per school.
    auto bandTable = [&](const Rows& rows, size_t& column) {
        std::map<std::string, std::string> counts;
        auto header = std::find_if(rows.begin(), rows.end(), [&](const auto& row) {
            return row.size() > kTable && row[kTable] == "分数段";
        });
        if (header == rows.end()) return counts;
        column = static_cast<size_t>(std::find(header->begin(), header->end(), school) - header->begin());
        // Up to the table of level shares (the reader leaves out the empty row between them).
        for (auto row = header + 1; row != rows.end() && column < row->size() && !(*row)[kTable].empty() &&
                                    !(*row)[kTable].starts_with("总分等级分布图");
             ++row)
            counts[(*row)[kTable]] = (*row)[column];
        return counts;
    };
    size_t ownColumn = 0, wholeColumn = 0;
    const auto ownCounts = bandTable(own, ownColumn);
    const auto wholeCounts = bandTable(whole, wholeColumn);
    EXPECT_EQ(ownColumn, kTable + 1);
    EXPECT_FALSE(ownCounts.empty());
    for (const auto& [band, count] : ownCounts) {
        ASSERT_EQ(wholeCounts.count(band), 1u) << band;
        EXPECT_EQ(wholeCounts.at(band), count) << band;
    }
}

TEST(SplitFiles, EachSchoolsWorkbookHoldsItsOwnRowsWithTheWholeWorkbooksFigures) {
    Exam exam;
    threeSchools(exam);
    exam.state.exportOptions.split = SplitFiles::BySchool;
    exam.run();
    ASSERT_TRUE(exam.outcome.completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
    EXPECT_EQ(exam.outcome.splitFiles, 3);
    EXPECT_EQ(exam.outcome.splitFolder, exam.dir.file("结果"));
    const auto whole = readSheets(exam.outcome.savedPath);

    for (const std::string school : {"东湖中学", "西岭中学", "南桥中学"}) {
        SCOPED_TRACE(school);
        const auto own = readSheets(exam.dir.file("结果/" + school + ".xlsx"));
        std::set<std::string> names;
        for (const auto& [name, rows] : own) names.insert(name);
        EXPECT_EQ(names, (std::set<std::string>{"目录", "班级总分排名", "总分前10名", "年级各科三率",
                                                "班级各科三率", "教师个人三率", "等级分布", "各科分数段",
                                                "总分分数段", "总分名次段", "学生标准分", "统计图表"}));
        auto ofSchool = [&](const std::vector<std::string>& row) {
            return row.size() > 1 && row[1] == school;
        };
        auto named = [&](const std::vector<std::string>& row) {
            return row.size() > 1 && !row[1].empty() && row[1] != "学校" && row[1] != "任教学校";
        };
        // Student sheets: only its students, as the whole workbook lists them (序号 counted anew).
        for (const char* sheet : {"班级总分排名", "总分前10名"}) {
            SCOPED_TRACE(sheet);
            EXPECT_EQ(rowsWhere(own.at(sheet), named), rowsWhere(own.at(sheet), ofSchool));
            EXPECT_EQ(rowsWhere(own.at(sheet), ofSchool, {0}), rowsWhere(whole.at(sheet), ofSchool, {0}));
        }
        // 学生标准分: its students with the Z and T scores over the whole exam.
        auto inSchool = [&](const std::vector<std::string>& row) { return row[0] == school; };
        EXPECT_EQ(rowsWhere(own.at("学生标准分"), inSchool).size(), 8u);
        EXPECT_EQ(rowsWhere(own.at("学生标准分"), inSchool).size() + 1, own.at("学生标准分").size());
        EXPECT_EQ(rowsWhere(own.at("学生标准分"), inSchool), rowsWhere(whole.at("学生标准分"), inSchool));
        // Group sheets: its own rows cell for cell, places among all schools and classes included
        // (those of 良好率 and 低分率 too), 超均率 against the same school and exam.
        for (const char* sheet : {"班级各科三率", "教师个人三率", "等级分布"}) {
            SCOPED_TRACE(sheet);
            EXPECT_EQ(own.at(sheet)[0], whole.at(sheet)[0]) << "the same columns";
            EXPECT_FALSE(rowsWhere(own.at(sheet), ofSchool).empty());
            EXPECT_EQ(rowsWhere(own.at(sheet), ofSchool), rowsWhere(whole.at(sheet), ofSchool));
            EXPECT_EQ(rowsWhere(own.at(sheet), named).size(), rowsWhere(own.at(sheet), [&](const auto& row) {
                                                                  return ofSchool(row) || row[1] == "全体";
                                                              }).size());
        }
        EXPECT_EQ(rowsWhere(own.at("等级分布"), [](const auto& row) { return row[1] == "全体"; }),
                  rowsWhere(whole.at("等级分布"), [](const auto& row) { return row[1] == "全体"; }));
        for (const char* sheet : {"班级各科三率", "教师个人三率"}) {
            const auto& headers = own.at(sheet)[0];
            EXPECT_NE(std::find(headers.begin(), headers.end(), "低分率排名"), headers.end()) << sheet;
            EXPECT_EQ(headers.back(), "最低分") << sheet;
        }
        // 年级各科三率: its rows and places as in the whole workbook (the blocks of 四率 and 扩展指标
        // included), then 全体.
        const Rows grade = rowsWhere(own.at("年级各科三率"), named);
        EXPECT_NE(std::find_if(own.at("年级各科三率").begin(), own.at("年级各科三率").end(),
                               [](const auto& row) { return row[0] == "低分率排名"; }),
                  own.at("年级各科三率").end());
        EXPECT_EQ(rowsWhere(own.at("年级各科三率"), ofSchool), rowsWhere(whole.at("年级各科三率"), ofSchool));
        ASSERT_GE(grade.size(), 2u);
        EXPECT_EQ(grade[1][1], "全体");
        EXPECT_EQ(grade[1][2], "24");
        // Band sheets: its column and the whole exam's, band by band as in the whole workbook
        // (总分名次段 lists the bands that hold its students).
        for (const char* sheet : {"各科分数段", "总分分数段", "总分名次段"}) {
            SCOPED_TRACE(sheet);
            const Rows& mine = own.at(sheet);
            std::vector<std::string> headers = mine[0];
            std::erase(headers, "");
            ASSERT_EQ(std::vector<std::string>(headers.end() - 2, headers.end()),
                      (std::vector<std::string>{school + "/累计", "合计/累计"}));
            const Rows wanted = bandRows(whole.at(sheet), school);
            EXPECT_EQ(bandRows(mine, school).size(), mine.size() - 1);
            for (const auto& row : bandRows(mine, school)) {
                EXPECT_NE(std::find(wanted.begin(), wanted.end(), row), wanted.end()) << row.front();
            }
            if (std::string(sheet) != "总分名次段") {
                EXPECT_EQ(bandRows(mine, school), wanted);
            }
        }
        expectSchoolsCharts(own.at("统计图表"), whole.at("统计图表"), school);
    }
}

TEST(SplitFiles, EachClassesWorkbookHoldsItsStudentsBesideItsSchoolAndTheExam) {
    Exam exam;
    threeSchools(exam);
    exam.state.exportOptions.split = SplitFiles::ByClass;
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    EXPECT_EQ(exam.outcome.splitFiles, 6);
    const auto whole = readSheets(exam.outcome.savedPath);
    const auto own = readSheets(exam.dir.file("结果/西岭中学（2）班.xlsx"));
    auto ofClass = [](const std::vector<std::string>& row) {
        return row.size() > 2 && row[1] == "西岭中学" && row[2] == "（2）班";
    };
    const Rows students =
        rowsWhere(own.at("班级总分排名"), [](const auto& row) { return row[1] == "西岭中学"; });
    EXPECT_EQ(students.size(), 4u);
    EXPECT_EQ(students, rowsWhere(whole.at("班级总分排名"), ofClass));
    // One row per block, equal to the whole workbook's, ranks among all six classes included.
    EXPECT_EQ(rowsWhere(own.at("班级各科三率"), ofClass), rowsWhere(whole.at("班级各科三率"), ofClass));
    EXPECT_EQ(rowsWhere(own.at("班级各科三率"), ofClass).size(), 3u);
    EXPECT_EQ(rowsWhere(own.at("班级各科三率"), [](const auto& row) { return row[1] == "东湖中学"; }).size(),
              0u);
    // 等级分布: the class, its school and the exam.
    std::vector<std::string> groups;
    for (const auto& row : own.at("等级分布")) {
        if (row[0] == own.at("等级分布")[1][0] && row[1] != "学校") groups.push_back(row[1] + row[2]);
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"西岭中学（2）班", "西岭中学全校", "全体"}));
    EXPECT_EQ(rowsWhere(own.at("等级分布"), [](const auto& row) { return row[1] == "西岭中学"; }),
              rowsWhere(whole.at("等级分布"),
                        [](const auto& row) { return row[1] == "西岭中学" && row[2] != "（1）班"; }));
}

// 高二 of three schools, two classes each, 36 made-up pupils in alternating tracks: 化学 of every one
// (enough to be scaled), lines of the total for both tracks, one by score and one by share.
void seniorSchools(Exam& exam) {
    exam.state.gradeIndex = 10;
    exam.state.imported.gradeName = "高二";
    exam.subjects({{"语文", 150}, {"化学", 100}});
    int n = 0;
    for (const char* school : {"东湖中学", "西岭中学", "南桥中学"}) {
        for (const char* klass : {"1", "2"}) {
            for (int k = 0; k < 6; ++k, ++n) {
                const int chinese = 60 + (n * 37) % 81, chemistry = 30 + (n * 53) % 71;
                exam.student(school, klass, "考生" + std::to_string(n + 1),
                             std::to_string(chinese + chemistry),
                             {std::to_string(chinese), std::to_string(chemistry)});
                exam.state.students.setHiddenCells(n, {"", "", n % 2 == 0 ? "物理类" : "历史类"});
            }
        }
    }
    exam.imported();
    exam.state.scores.computeScaled = true;
    exam.state.scores.lines = *scoreLinesNamed("本科=150;特控=30%");
    exam.only([](ExportOptions& o) { o.scoreLines = true; });
}

// 赋分 and 上线分析 in a school's own workbook: its pupils and its rows only, each as the whole
// workbook has it (grades and scaled scores over all 36, the lines and subject lines of the exam),
// with the 学科线 and 全体 rows of every block.
TEST(SplitFiles, ScaledScoresAndLinesShowTheSchoolWithTheWholeExamsFigures) {
    Exam exam;
    seniorSchools(exam);
    exam.state.exportOptions.split = SplitFiles::BySchool;
    exam.run();
    ASSERT_TRUE(exam.outcome.completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
    const auto whole = readSheets(exam.outcome.savedPath);
    ASSERT_EQ(whole.count("赋分"), 1u);
    for (const std::string school : {"东湖中学", "西岭中学", "南桥中学"}) {
        SCOPED_TRACE(school);
        const auto own = readSheets(exam.dir.file("结果/" + school + ".xlsx"));
        ASSERT_EQ(own.count("赋分"), 1u);
        ASSERT_EQ(own.count("上线分析"), 1u);
        auto inSchool = [&](const std::vector<std::string>& row) { return row[0] == school; };
        const Rows scaled = rowsWhere(own.at("赋分"), inSchool);
        EXPECT_EQ(scaled.size(), 12u);
        EXPECT_EQ(scaled.size() + 1, own.at("赋分").size()) << "the header and its pupils only";
        EXPECT_EQ(scaled, rowsWhere(whole.at("赋分"), inSchool));

        auto ofSchool = [&](const std::vector<std::string>& row) { return row[1] == school; };
        auto ofExam = [](const std::vector<std::string>& row) {
            return row[1] == "学科线" || row[1] == "全体";
        };
        const Rows& lines = own.at("上线分析");
        EXPECT_FALSE(rowsWhere(lines, ofSchool).empty());
        EXPECT_EQ(rowsWhere(lines, ofSchool), rowsWhere(whole.at("上线分析"), ofSchool));
        EXPECT_EQ(rowsWhere(lines, ofExam), rowsWhere(whole.at("上线分析"), ofExam));
        // Two tracks of two lines: per block its classes, its school, 学科线 and 全体.
        EXPECT_EQ(rowsWhere(lines, ofExam).size(), 8u);
        EXPECT_EQ(lines.size(), 1 + 4 * 5u);
    }
}

// The platform's question sheet of two schools (tests/import/make_question_fixtures.py), paired
// with its score sheet.
void platformQuestions(Exam& exam) {
    const std::string path = fixture("question_sheets.xlsx");
    exam.state.workbook.path = path;
    exam.state.workbook.sheetNames = {"成绩"};
    exam.state.workbook.selectedSheet = 0;
    NullFrontend yes;
    ASSERT_TRUE(importStudents(exam.state, yes));
    ASSERT_TRUE(importQuestionSheet(exam.state, yes, {path, "数学小题", "数学", ""}));
    exam.only([](ExportOptions& o) { o.questionAnalysis = o.questionDetail = true; });
}

// 小题分析 and 小题明细 of a school's and of a class's own workbook: the whole exam's block, the
// school's and its classes', cell for cell as in the whole workbook (区分度 and α of the whole
// exam's pairing), and of the pupils only its own.
TEST(SplitFiles, QuestionSheetsShowThePartWithTheWholeExamsFigures) {
    for (const SplitFiles split : {SplitFiles::BySchool, SplitFiles::ByClass}) {
        Exam exam;
        platformQuestions(exam);
        exam.state.exportOptions.split = split;
        exam.run();
        ASSERT_TRUE(exam.outcome.completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
        const auto whole = readSheets(exam.outcome.savedPath);
        const bool bySchool = split == SplitFiles::BySchool;
        const std::string file = bySchool ? "结果/二中.xlsx" : "结果/二中（2）班.xlsx";
        SCOPED_TRACE(file);
        const auto own = readSheets(exam.dir.file(file));
        ASSERT_EQ(own.count("小题分析-数学"), 1u);
        ASSERT_EQ(own.count("小题明细-数学"), 1u);
        auto ofPart = [&](const std::vector<std::string>& row) {
            return row[0] == "二中" && (bySchool || row[1] == "全校" || row[1] == "（2）班");
        };
        auto ofExam = [](const std::vector<std::string>& row) { return row[0] == "全体"; };
        const Rows& analysis = own.at("小题分析-数学");
        // Rows 3 and 4 are notes, 5 the headers; five questions to a block.
        const Rows wholeAnalysis(whole.at("小题分析-数学").begin() + 3, whole.at("小题分析-数学").end());
        EXPECT_EQ(analysis.size(), 3 + 5 * (bySchool ? 4u : 3u));
        EXPECT_EQ(rowsWhere(analysis, ofExam), rowsWhere(wholeAnalysis, ofExam));
        EXPECT_EQ(rowsWhere(analysis, ofPart), rowsWhere(wholeAnalysis, ofPart));
        EXPECT_EQ(rowsWhere(analysis, ofExam).size() + rowsWhere(analysis, ofPart).size() + 3,
                  analysis.size());

        const Rows& detail = own.at("小题明细-数学");
        auto student = [](const std::vector<std::string>& row) {
            return !row[2].empty() && row[2] != "姓名";
        };
        const Rows pupils = rowsWhere(detail, student);
        EXPECT_EQ(pupils, rowsWhere(rowsWhere(whole.at("小题明细-数学"), student), ofPart));
        EXPECT_EQ(pupils.size(), bySchool ? 10u : 5u) << "those paired with a question row";
    }
}

TEST(SplitFiles, TheFolderIsNeverOneThatExists) {
    Exam exam;
    threeSchools(exam);
    exam.state.exportOptions.split = SplitFiles::BySchool;
    ASSERT_EQ(::mkdir(exam.dir.file("结果").c_str(), 0777), 0);
    exam.run();
    ASSERT_TRUE(exam.outcome.completed);
    EXPECT_EQ(exam.outcome.splitFolder, exam.dir.file("结果 (2)"));
    EXPECT_TRUE(std::filesystem::is_empty(exam.dir.file("结果")));
    EXPECT_TRUE(std::filesystem::exists(exam.dir.file("结果 (2)/南桥中学.xlsx")));
    const std::string done = exam.frontend.messages.back().text;
    EXPECT_NE(done.find("另按学校分别导出了 3 个工作簿，在文件夹“" + exam.dir.file("结果 (2)") + "”中。"),
              std::string::npos)
        << done;
}

// A workbook that cannot be saved ends the split: the ones written before it go with their folder,
// the run fails saying so, and the whole workbook stays. Here the second school's file name takes
// its path past the longest path the system opens, deep in a folder tree.
// 按科类分别统计: a school's workbook has the rate sheets of the tracks it has students of, each
// with its rows as the whole workbook has them and the 全体 row of the track.
TEST(SplitFiles, RateSheetsOfEachTrack) {
    Exam exam;
    exam.subjects({{"语文", 100}, {"物理", 100}, {"历史", 100}});
    for (const auto& [school, name, track, chinese, physics, history, total] :
         {std::tuple{"东湖中学", "甲", "物理类", "90", "80", "", "170"},
          {"东湖中学", "乙", "历史类", "70", "", "60", "130"},
          {"西岭中学", "丙", "物理类", "60", "70", "", "130"},
          {"西岭中学", "丁", "物理类", "85", "90", "", "175"}}) {
        exam.student(school, "1", name, total, {chinese, physics, history});
        exam.state.students.setHiddenCells(exam.state.students.rowCount() - 1, {"", "", track});
    }
    exam.imported().teachers();
    exam.only([](ExportOptions& o) { o.gradeRates = o.classRates = o.byTrack = true; });
    exam.state.exportOptions.split = SplitFiles::BySchool;
    exam.run();
    ASSERT_TRUE(exam.outcome.completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
    const auto whole = readSheets(exam.outcome.savedPath);
    const std::map<std::string, std::set<std::string>> sheetsOf = {
        {"东湖中学",
         {"目录", "年级各科三率-物理类", "年级各科三率-历史类", "班级各科三率-物理类",
          "班级各科三率-历史类"}},
        {"西岭中学", {"目录", "年级各科三率-物理类", "班级各科三率-物理类"}}};
    for (const auto& [school, sheets] : sheetsOf) {
        SCOPED_TRACE(school);
        const auto own = readSheets(exam.dir.file("结果/" + school + ".xlsx"));
        std::set<std::string> names;
        for (const auto& [name, rows] : own) names.insert(name);
        EXPECT_EQ(names, sheets);
        auto ofSchool = [&](const std::vector<std::string>& row) {
            return row.size() > 1 && row[1] == school;
        };
        for (const std::string& sheet : sheets) {
            if (sheet == "目录") continue;
            SCOPED_TRACE(sheet);
            EXPECT_FALSE(rowsWhere(own.at(sheet), ofSchool).empty());
            EXPECT_EQ(rowsWhere(own.at(sheet), ofSchool), rowsWhere(whole.at(sheet), ofSchool));
        }
    }
    const Rows physics = rowsWhere(readSheets(exam.dir.file("结果/西岭中学.xlsx")).at("年级各科三率-物理类"),
                                   [](const auto& row) { return row.size() > 2 && row[1] == "全体"; });
    ASSERT_FALSE(physics.empty());
    EXPECT_EQ(physics[0][2], "3");
}

TEST(SplitFiles, AFailureLeavesNoSplitFileBehind) {
    Exam exam;
    std::string deep = exam.dir.file("");
    while (deep.size() < 4010) {
        deep += "/" + std::string(std::min<size_t>(200, 4020 - deep.size()), 'd');
        ASSERT_EQ(::mkdir(deep.c_str(), 0777), 0) << deep.size();
    }
    exam.state.outputPath = deep + "/结果.xlsx";
    std::string longName;
    for (int i = 0; i < 33; ++i) longName += "校";
    exam.subjects({{"语文", 100}});
    exam.student("甲中", "1", "学生1", "90", {"90"}).student(longName, "1", "学生2", "80", {"80"}).imported();
    exam.only([](ExportOptions& o) { o.gradeRates = true; });
    exam.state.exportOptions.split = SplitFiles::BySchool;
    exam.run();
    ASSERT_FALSE(exam.outcome.completed);
    ASSERT_TRUE(exam.outcome.failure);
    EXPECT_NE(exam.outcome.failure->message.find("分别导出没有完成"), std::string::npos)
        << exam.outcome.failure->message;
    EXPECT_TRUE(std::filesystem::exists(deep + "/结果.xlsx"));
    EXPECT_FALSE(std::filesystem::exists(deep + "/结果"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(deep), {}), 1);
}

TEST(SplitFiles, NamesAreMadeSafeForEveryFileSystem) {
    const struct {
        const char* name;
        const char* file;
    } cases[] = {
        {"第一中学", "第一中学"},
        {"一中:二部/分校", "一中_二部_分校"},
        {"a<b>c\"d\\e|f?g*h", "a_b_c_d_e_f_g_h"},
        {"tab\there", "tab_here"},
        {"  前后有空格. . ", "前后有空格"},
        {"...", "_"},
        {"", "_"},
        {"CON", "CON_"},
        {"nul.一中", "nul_.一中"},
        {"com7", "com7_"},
        {"COM10", "COM10"},
        {"Console", "Console"},
    };
    for (const auto& c : cases) EXPECT_EQ(portableFileName(c.name), c.file) << c.name;

    // Long names are cut on a character edge.
    std::string longName;
    for (int i = 0; i < 60; ++i) longName += "校";
    const std::string cut = portableFileName(longName);
    EXPECT_LE(cut.size(), 100u);
    EXPECT_EQ(cut, longName.substr(0, cut.size()));
    EXPECT_EQ(cut.size() % 3, 0u);

    // Names made equal by the cleaning, or equal but for case, are told apart.
    EXPECT_EQ(portableFileNames({"一中/A", "一中:A", "一中_a", "二中"}),
              (std::vector<std::string>{"一中_A", "一中_A (2)", "一中_a (3)", "二中"}));
}

}  // namespace
}  // namespace varnex::testing
