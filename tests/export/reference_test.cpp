// A random examination with many ties, run through the export and checked against the sheets'
// defining procedures carried out literally: a rank found by scanning the sorted totals, a pass
// over all students per count cell, and the selection that repeatedly takes the highest total
// (the later row among equals) and moves it to the bottom of the table, against the listings' orders.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "analysis/listings.h"
#include "base/text_util.h"
#include "tests/export/exam_fixture.h"
#include "workbook/cell_name.h"

namespace varnex::testing {
namespace {

struct Listed {
    std::string name;
    std::string total;
    int place;
};

// Builds an exam of `count` students in three schools of three classes, rows in random order, so
// that the SchoolList names schools more than once. Scores are multiples of five (many equal
// totals); some totals are written with ".0", some scores and totals are empty.
void randomExam(Exam& exam, int count, unsigned seed) {
    std::mt19937 rng(seed);
    exam.subjects({{"语文", 100}, {"数学", 100}, {"英语", 45}});
    const int fullMarks[] = {100, 100, 45};
    const char* schools[] = {"一中", "二中", "三中"};
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> scores;
        double sum = 0;
        for (int full : fullMarks) {
            int score = static_cast<int>(rng() % static_cast<unsigned>(full / 5 + 1)) * 5;
            if (rng() % 12 == 0) {
                scores.emplace_back();
            } else {
                scores.push_back(std::to_string(score));
                sum += score;
            }
        }
        std::string total = removeTrailingDotZero(strprintf("%.1f", sum));
        if (rng() % 15 == 0) total += ".0";
        if (rng() % 30 == 0) total.clear();
        exam.student(schools[rng() % 3], std::to_string(1 + rng() % 3), strprintf("生%03d", i), total,
                     scores);
    }
    exam.imported();
}

// The top-N selection and then the class selection, literally, on a copy of the table.
void selectLiterally(RowTable& table, const AppState& state, int n, std::vector<Listed>& topN,
                     std::vector<std::vector<Listed>>& classes) {
    auto takeBest = [&](int window, auto belongs) {
        int best = -1;
        double max = 0;
        for (int i = 0; i < window; ++i) {
            double t = cAtof(table.cellText(i, kTotalColumn));
            if (belongs(i) && t >= max) {
                max = t;
                best = i;
            }
        }
        return best;
    };
    auto moveDown = [&](int row) {
        std::vector<std::string> cells = table.row(row).texts();
        table.deleteRow(row);
        table.appendRow(cells);
    };
    int window = table.rowCount();
    std::string last;
    int place = 0;
    while (window > 0) {
        int best = takeBest(window, [](int) { return true; });
        std::string text(table.cellText(best, kTotalColumn));
        if (text != last) {
            last = text;
            ++place;
        }
        if (place > n) break;
        topN.push_back({std::string(table.cellText(best, 2)), text, place});
        --window;
        moveDown(best);
    }
    window = table.rowCount();
    for (size_t c = 0; c < state.imported.classList.size(); ++c) {
        auto [school, klass] = state.imported.classList.parts(c);
        classes.emplace_back();
        last.clear();
        place = 0;
        while (window > 0) {
            int best = takeBest(window, [&](int i) {
                return table.cellText(i, 0) == school && table.cellText(i, 1) == klass;
            });
            if (best < 0) break;
            std::string text(table.cellText(best, kTotalColumn));
            std::string name(table.cellText(best, 2));
            moveDown(best);
            --window;
            if (text != last) {
                last = text;
                ++place;
            }
            classes.back().push_back({name, text, place});
        }
    }
}

void expectListing(const SheetModel& sheet, int firstRow, int nameColumn, int totalColumn,
                   const std::vector<Listed>& listed) {
    for (size_t i = 0; i < listed.size(); ++i) {
        int row = firstRow + static_cast<int>(i);
        ASSERT_EQ(shown(sheet, CellName(nameColumn, row)), listed[i].name) << "row " << row;
        EXPECT_EQ(shown(sheet, CellName(0, row)), std::to_string(i + 1));
        EXPECT_EQ(shown(sheet, CellName(totalColumn + 1, row)), std::to_string(listed[i].place))
            << "row " << row;
    }
}

TEST(Reference, BandAndRankingSheetsMatchTheLiteralProcedures) {
    for (int layout : {0, 1}) {
        SCOPED_TRACE(layout);
        Exam exam;
        randomExam(exam, 260, 7u + static_cast<unsigned>(layout));
        exam.only([&](ExportOptions& o) {
            o.totalRankBands = o.totalBands = o.subjectBands = o.topNEnabled = o.classRanking = true;
            o.topN = 15;
            o.classRankingLayout = layout;
        });
        // An impossible output folder: the run writes every sheet, then fails to save; the
        // StudentTable is as it was.
        exam.state.outputPath = exam.dir.file("没有/结果.xlsx");
        const AppState before = exam.state;
        exam.run();
        ASSERT_TRUE(exam.outcome.workbook);

        const RowTable& rows = before.students;
        const int n = rows.rowCount();
        const auto& schools = before.imported.schoolList;
        const int schoolCount = static_cast<int>(schools.size());
        ASSERT_EQ(schoolCount, 3);  // each school once, though its rows come in many runs

        // 总分名次段
        std::vector<double> sorted;
        for (int i = 0; i < n; ++i) sorted.push_back(cAtof(rows.cellText(i, kTotalColumn)));
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        auto rankOf = [&](double t) {
            for (int i = 0; i < n; ++i) {
                if (t >= sorted[static_cast<size_t>(i)]) return i + 1;
            }
            return n;
        };
        const SheetModel& rankSheet = exam.sheet("总分名次段");
        for (int k = 0; k * 10 < n; ++k) {
            int first = 10 * k + 1;
            bool partial = first + 9 > n;
            for (int i = 0; i <= schoolCount; ++i) {
                int m = 0, c = 0;
                for (int r = 0; r < n; ++r) {
                    if (i < schoolCount && rows.cellText(r, 0) != schools[static_cast<size_t>(i)]) continue;
                    int p = rankOf(cAtof(rows.cellText(r, kTotalColumn)));
                    if (p <= first + 9) ++c;
                    if (p >= first && p <= (partial ? first + n % 10 : first + 9)) ++m;
                }
                EXPECT_EQ(shown(rankSheet, CellName(1 + i, k + 4)), strprintf("%3d/%-3d", m, c))
                    << k << "," << i;
            }
        }

        // 总分分数段 and 各科分数段: a pass over all students per cell.
        auto checkBands = [&](const SheetModel& sheet, int fullMark, int column, int firstColumn,
                              int topRow) {
            int r = fullMark % 10;
            int bands = fullMark / 10 + (r == 0 ? 1 : 2);
            for (int j = 0; j < bands; ++j) {
                double edge = j == bands - 1 ? fullMark : 10 * j;
                double width = j == bands - 1 ? 10 : (r != 0 && j == bands - 2 ? r : 10);
                for (int i = 0; i <= schoolCount; ++i) {
                    int m = 0, c = 0;
                    for (int row = 0; row < n; ++row) {
                        if (i < schoolCount && rows.cellText(row, 0) != schools[static_cast<size_t>(i)])
                            continue;
                        double t = cAtof(rows.cellText(row, column));
                        if (t >= edge && t < edge + width) ++m;
                        if (t >= edge) ++c;
                    }
                    EXPECT_EQ(shown(sheet, CellName(firstColumn + i, topRow + bands - 1 - j)),
                              strprintf("%3d/%-3d", m, c));
                }
            }
            return bands;
        };
        checkBands(exam.sheet("总分分数段"), 245, kTotalColumn, 1, 4);
        int top = 4;
        top += checkBands(exam.sheet("各科分数段"), 100, 3, 2, top);
        top += checkBands(exam.sheet("各科分数段"), 100, 4, 2, top);
        checkBands(exam.sheet("各科分数段"), 45, 5, 2, top);

        // 总分前15名 and 班级总分排名, and the table order they leave.
        RowTable table = before.students;
        std::vector<Listed> topN;
        std::vector<std::vector<Listed>> classes;
        selectLiterally(table, before, 15, topN, classes);
        ASSERT_GT(topN.size(), 15u);  // ties widen the list
        expectListing(exam.sheet("总分前15名"), 4, 3, 7, topN);
        EXPECT_EQ(shown(exam.sheet("总分前15名"), CellName(0, 4 + static_cast<int>(topN.size()))), "");
        const ClassList& classList = before.imported.classList;
        if (layout == 1) {
            int row = 4;
            for (const auto& listed : classes) {
                expectListing(exam.sheet("班级总分排名"), row, 3, 7, listed);
                row += static_cast<int>(listed.size());
            }
            EXPECT_EQ(row, n + 4);
        } else {
            for (size_t c = 0; c < classList.size(); ++c) {
                auto [school, klass] = classList.parts(c);
                expectListing(exam.sheet(school + klass), 4, 1, 5, classes[c]);
            }
        }
        // The order the listings leave is the table the literal moves leave; the run changed no row.
        const StudentListings listings = listStudents(varnex::Exam(before));
        ASSERT_EQ(listings.afterClasses.size(), static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(rows.row(listings.afterClasses[static_cast<size_t>(i)]).texts(), table.row(i).texts())
                << "row " << i;
            ASSERT_EQ(exam.state.students.row(i).texts(), rows.row(i).texts()) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace varnex::testing
