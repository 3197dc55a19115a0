// 按科类分别统计: places within each track in the listings and 学生进退步, the rate sheets once per
// track without the subjects a track has no score in, the students without a track as a group of
// their own, and an exam without tracks left as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/listings.h"
#include "analysis/progress.h"
#include "analysis/rates.h"
#include "sheets/sheet_plan.h"
#include "sheets/sheet_texts.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

// 高二, 语文 物理 历史 of 100, one school. 物理类 all in (1)班: 甲 90+80=170, 乙 70+50=120, 丙
// 60+60=120, 戊 40+60=100. 历史类: (1)班 卯 65+70=135; (2)班 子 85+90=175, 丑 50+55=105.
// `untracked`: (2)班 辰 75+70=145 names no track.
void twoTrackExam(Exam& exam, bool untracked = true) {
    exam.state.gradeIndex = 10;
    exam.state.imported.gradeName = "高二";
    exam.subjects({{"语文", 100}, {"物理", 100}, {"历史", 100}});
    auto student = [&](const char* klass, const char* name, const char* track, const char* chinese,
                       const char* physics, const char* history, const char* total) {
        exam.student("一中", klass, name, total, {chinese, physics, history});
        exam.state.students.setHiddenCells(exam.state.students.rowCount() - 1, {"", "", track});
    };
    student("1", "甲", "物理类", "90", "80", "", "170");
    student("1", "乙", "物理类", "70", "50", "", "120");
    student("1", "丙", "物理类", "60", "60", "", "120");
    student("1", "戊", "物理类", "40", "60", "", "100");
    student("1", "卯", "历史类", "65", "", "70", "135");
    student("2", "子", "历史类", "85", "", "90", "175");
    student("2", "丑", "历史类", "50", "", "55", "105");
    if (untracked) student("2", "辰", "", "75", "70", "", "145");
    exam.imported().teachers();
}

struct Listed {
    std::string name;
    int place;
    bool operator==(const Listed&) const = default;
};

std::vector<Listed> listed(const varnex::Exam& exam, const std::vector<PlacedRow>& rows) {
    std::vector<Listed> out;
    for (const PlacedRow& row : rows)
        out.push_back({std::string(exam.students().cellText(row.row, 2)), row.place});
    return out;
}

// The texts of one row of a sheet (0-based), from column A to its last cell.
std::vector<std::string> rowTexts(const SheetModel& sheet, int row) {
    std::vector<std::string> texts;
    for (int column = 0; column < sheet.columnCount(row); ++column) {
        const Cell* cell = sheet.cell(row, column);
        if (cell == nullptr || cell->kind == Cell::Kind::Empty) {
            texts.emplace_back();
        } else if (cell->kind == Cell::Kind::Number) {
            texts.push_back(std::to_string(static_cast<long long>(cell->number())));
        } else {
            texts.emplace_back(cell->text());
        }
    }
    return texts;
}

// True when some cell's text contains `text`.
bool sheetHas(const SheetModel& sheet, const std::string& text) {
    for (int row = 0; row < sheet.rowCount(); ++row) {
        for (const std::string& cell : rowTexts(sheet, row)) {
            if (cell.find(text) != std::string::npos) return true;
        }
    }
    return false;
}

// Top 2 of each track and the class listings: the tie of 乙 and 丙 shares place 2 (the later one
// first), the next place by the rule; 卯 is first of 历史类 in (1)班 though 甲 is above.
TEST(ByTrack, PlacesWithinEachTrack) {
    struct Case {
        RankingRule rule;
        int placeOfWu;
    };
    for (const Case& c : {Case{RankingRule::Dense, 3}, Case{RankingRule::Competition, 4}}) {
        Exam exam;
        twoTrackExam(exam);
        exam.only([&](ExportOptions& o) {
            o.topNEnabled = o.classRanking = o.byTrack = true;
            o.topN = 2;
            o.rankingRule = c.rule;
        });
        const varnex::Exam counted(exam.state);
        ASSERT_EQ(counted.tracks().size(), 3u);
        const StudentListings listings = listStudents(counted);
        EXPECT_EQ(listed(counted, listings.topN),
                  (std::vector<Listed>{{"甲", 1}, {"丙", 2}, {"乙", 2}, {"子", 1}, {"卯", 2}, {"辰", 1}}));
        ASSERT_EQ(listings.classes.size(), 2u);
        // Along the order the top-N listing leaves: 乙 after 丙 there, so first of the tie here.
        EXPECT_EQ(listed(counted, listings.classes[0]),
                  (std::vector<Listed>{{"甲", 1}, {"乙", 2}, {"丙", 2}, {"戊", c.placeOfWu}, {"卯", 1}}));
        EXPECT_EQ(listed(counted, listings.classes[1]),
                  (std::vector<Listed>{{"子", 1}, {"丑", 2}, {"辰", 1}}));
    }

    Exam exam;
    twoTrackExam(exam);
    exam.only([](ExportOptions& o) {
        o.topNEnabled = o.classRanking = o.byTrack = true;
        o.topN = 1;
        o.classRankingLayout = 1;
        o.rankingRule = RankingRule::Competition;
    });
    ASSERT_TRUE(exam.run().completed);
    const SheetModel& top = exam.sheet("总分前1名");
    EXPECT_EQ(rowTexts(top, 1).front(), "名次：并列占位（1,2,2,4）；名次按科类分别排出");
    EXPECT_EQ(rowTexts(top, 2), (std::vector<std::string>{"序号", "学校", "班级", "姓名", "科类", "语文100",
                                                          "物理100", "历史100", "总分300", "名次"}));
    EXPECT_EQ(rowTexts(top, 3),
              (std::vector<std::string>{"1", "一中", "（1）班", "甲", "物理类", "90", "80", "", "170", "1"}));
    EXPECT_EQ(rowTexts(top, 5)[4], "未分科类");
    const SheetModel& classes = exam.sheet("班级总分排名");
    EXPECT_EQ(rowTexts(classes, 7),
              (std::vector<std::string>{"5", "一中", "（1）班", "卯", "历史类", "65", "", "70", "135", "1"}));
}

// One rate sheet of each kind per track, in track order with 未分科类 last; a track's sheets leave
// out the subject none of its students has a score in and the classes it has no student in; the
// figures are those of its students alone.
TEST(ByTrack, RateSheetsPerTrack) {
    Exam exam;
    twoTrackExam(exam);
    exam.only([](ExportOptions& o) { o.gradeRates = o.classRates = o.teacherRates = o.byTrack = true; });
    ASSERT_TRUE(exam.run().completed);
    EXPECT_EQ(tabNames(*exam.outcome.workbook),
              (std::vector<std::string>{"目录", "年级各科三率-物理类", "年级各科三率-历史类",
                                        "年级各科三率-未分科类", "班级各科三率-物理类", "班级各科三率-历史类",
                                        "班级各科三率-未分科类", "教师个人三率-物理类", "教师个人三率-历史类",
                                        "教师个人三率-未分科类"}));
    const std::string& confirmation = exam.frontend.questions.at(0).text;
    EXPECT_NE(confirmation.find("年级各科三率-历史类\n"), std::string::npos) << confirmation;
    EXPECT_NE(confirmation.find("按科类分别统计：1名学生没有科类，另作“未分科类”统计，排在最后。"),
              std::string::npos)
        << confirmation;

    const SheetModel& physics = exam.sheet("年级各科三率-物理类");
    EXPECT_TRUE(sheetHas(physics, "物理"));
    EXPECT_FALSE(sheetHas(physics, "历史"));
    EXPECT_FALSE(sheetHas(exam.sheet("班级各科三率-历史类"), "物理"));
    EXPECT_FALSE(sheetHas(exam.sheet("班级各科三率-物理类"), "（2）班"));
    EXPECT_TRUE(sheetHas(exam.sheet("班级各科三率-历史类"), "（2）班"));

    // By hand, lines at 80 and 60: 物理类 语文 90 70 60 40, 物理 80 50 60 60; 历史类 语文 65 85 50,
    // 历史 70 90 55.
    const varnex::Exam counted(exam.state);
    struct Row {
        size_t track;
        size_t subject;
        const char* name;
        int sat, excellent, pass;
        long long sum;
    };
    for (const Row& r : {Row{0, 0, "语文", 4, 1, 3, 260000}, Row{0, 1, "物理", 4, 1, 3, 250000},
                         Row{1, 0, "语文", 3, 1, 2, 200000}, Row{1, 1, "历史", 3, 1, 2, 215000}}) {
        const varnex::Exam& track = *counted.tracks()[r.track].exam;
        ASSERT_EQ(track.subjects().size(), 2u);
        EXPECT_EQ(track.subjects()[r.subject].name, r.name);
        const std::vector<SchoolRates> rates = gradeRates(track);
        const RateGroup& figures = rates.at(0).figures.at(r.subject);
        EXPECT_EQ(figures.satCount, r.sat) << r.track << r.name;
        EXPECT_EQ(figures.excellentCount, r.excellent) << r.track << r.name;
        EXPECT_EQ(figures.passCount, r.pass) << r.track << r.name;
        EXPECT_EQ(figures.scoreSumThousandths, r.sum) << r.track << r.name;
    }
    // Of the six teachers only those of 语文 and 物理 in (1)班 teach 物理类 students.
    const TeacherRateTable teachers = teacherRates(*counted.tracks()[0].exam);
    EXPECT_EQ(teachers.teacherCount, 2u);
}

// Without any student's track the option changes nothing but a line of the confirmation; without
// the option the tracks change nothing.
TEST(ByTrack, ExamWithoutTracks) {
    auto build = [](bool tracks, bool byTrack) {
        auto exam = std::make_unique<Exam>();
        twoTrackExam(*exam, false);
        if (!tracks) {
            for (int row = 0; row < exam->state.students.rowCount(); ++row)
                exam->state.students.setHiddenCells(row, {});
        }
        exam->only([&](ExportOptions& o) {
            o.gradeRates = o.classRates = o.topNEnabled = o.classRanking = true;
            o.byTrack = byTrack;
        });
        EXPECT_TRUE(exam->run().completed);
        return exam;
    };
    const auto plain = build(true, false);
    const auto without = build(false, true);
    EXPECT_EQ(tabNames(*without->outcome.workbook), tabNames(*plain->outcome.workbook));
    for (const std::string& name : tabNames(*plain->outcome.workbook)) {
        const SheetModel& a = plain->sheet(name);
        const SheetModel& b = without->sheet(name);
        ASSERT_EQ(a.rowCount(), b.rowCount()) << name;
        for (int row = 0; row < a.rowCount(); ++row)
            EXPECT_EQ(rowTexts(a, row), rowTexts(b, row)) << name << row;
    }
    const std::string& confirmation = without->frontend.questions.at(0).text;
    EXPECT_NE(confirmation.find("按科类分别统计：成绩表中没有学生的科类（物理类、历史类），仍按全年级统计。"),
              std::string::npos)
        << confirmation;
    EXPECT_EQ(plain->frontend.questions.at(0).text.find("按科类"), std::string::npos);
}

// 学生进退步: this exam's places within each track; the previous exam names no track, so its places
// are counted among the students paired with each track's.
TEST(ByTrack, ProgressPlacesWithinTrack) {
    Exam exam;
    twoTrackExam(exam, false);
    exam.only([](ExportOptions& o) { o.progress = o.byTrack = true; });
    PreviousExam& previous = exam.state.previous;
    previous.examSubjects = exam.state.imported.examSubjects;
    previous.scores = exam.state.scores;
    // Last time 戊 led the 物理类 and 丑 the 历史类.
    for (auto [klass, name, total] : {std::tuple{"1", "甲", "150"},
                                      {"1", "乙", "140"},
                                      {"1", "丙", "130"},
                                      {"1", "戊", "160"},
                                      {"1", "卯", "100"},
                                      {"2", "子", "90"},
                                      {"2", "丑", "120"}}) {
        std::vector<std::string> cells(15);
        cells[0] = "一中";
        cells[1] = klass;
        cells[2] = name;
        cells[kTotalColumn] = total;
        previous.students.appendRow(cells);
    }
    const varnex::Exam counted(exam.state);
    const ProgressPairing pairing = pairWithPrevious(counted);
    auto places = [&](const std::vector<int>& all) {
        std::vector<int> own;
        for (int row = 0; row < 7; ++row) own.push_back(all[static_cast<size_t>(row)]);
        return own;
    };
    //                        甲 乙 丙 戊 卯 子 丑
    EXPECT_EQ(places(pairing.currentPlaces), (std::vector<int>{1, 2, 2, 4, 2, 1, 3}));
    EXPECT_EQ(places(pairing.previousPlaces), (std::vector<int>{2, 3, 4, 1, 2, 3, 1}));

    ASSERT_TRUE(exam.run().completed);
    const SheetModel& sheet = exam.sheet("学生进退步");
    EXPECT_EQ(rowTexts(sheet, 3), (std::vector<std::string>{"学校", "班级", "姓名", "科类", "本次总分",
                                                            "本次名次", "上次总分", "上次名次", "名次变化"}));
    // (1)班: 物理类 by change (丙 +2, 甲 +1, 乙 +1, 戊 −3), then 卯.
    EXPECT_EQ(rowTexts(sheet, 4),
              (std::vector<std::string>{"一中", "（1）班", "丙", "物理类", "120", "2", "130", "4", "2"}));
    EXPECT_EQ(rowTexts(sheet, 8)[2], "卯");
}

// A part's own workbook has the rate sheets of the tracks it has students of.
TEST(ByTrack, PartsKeepTheirTracks) {
    Exam exam;
    twoTrackExam(exam);
    exam.only([](ExportOptions& o) { o.gradeRates = o.byTrack = true; });
    const varnex::Exam counted(exam.state);
    auto tabs = [&](const SheetScope& scope) {
        std::vector<std::string> names;
        const SheetPlan plan = buildSheetPlan(counted, scope);
        for (const PlannedSheet* s : plan.contentsOrder()) names.push_back(s->tabName);
        return names;
    };
    EXPECT_EQ(tabs(SheetScope::ofClass("一中", "1")),
              (std::vector<std::string>{"年级各科三率-物理类", "年级各科三率-历史类"}));
    EXPECT_EQ(tabs(SheetScope::ofClass("一中", "2")),
              (std::vector<std::string>{"年级各科三率-历史类", "年级各科三率-未分科类"}));
}

}  // namespace
}  // namespace varnex::testing
