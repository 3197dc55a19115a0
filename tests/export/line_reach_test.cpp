// 上线分析: lines as the settings file and the command line write them, a two-track exam with a
// line by score per track and one by share for both, 单上线 and 双上线 worked out by hand, the
// sheet, and 临界生 near those lines.

#include "analysis/line_reach.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/near_line.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

TEST(ScoreLines, ReadAndWritten) {
    const std::optional<std::vector<ScoreLine>> lines =
        scoreLinesNamed("物理类:本科=480,特控=560.5;历史：本科＝470, 特控=20%");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<ScoreLine>{{"物理类", "本科", false, 480000},
                                              {"物理类", "特控", false, 560500},
                                              {"历史类", "本科", false, 470000},
                                              {"历史类", "特控", true, 2000}}));
    EXPECT_EQ(scoreLinesText(*lines), "物理类:本科=480,特控=560.5;历史类:本科=470,特控=20%");
    EXPECT_EQ(scoreLinesNamed(scoreLinesText(*lines)), lines);
    EXPECT_EQ(scoreLinesNamed("本科=62.5%")->front(), (ScoreLine{"", "本科", true, 6250}));
    EXPECT_EQ(scoreLineNames(*lines), (std::vector<std::string>{"本科", "特控"}));
    for (const char* bad : {"本科", "本科=", "本科=0", "本科=101%", "本科=abc", "化学类:本科=480",
                            "本科=480,本科=500", "=480", "本科=4.5.6"})
        EXPECT_FALSE(scoreLinesNamed(bad)) << bad;
    for (const auto& [cell, track] : std::vector<std::pair<const char*, const char*>>{{"物理类", "物理类"},
                                                                                      {"物理", "物理类"},
                                                                                      {" 物化生", "物理类"},
                                                                                      {"历史类", "历史类"},
                                                                                      {"史政地", "历史类"},
                                                                                      {"历政地", "历史类"},
                                                                                      {"化生地", ""},
                                                                                      {"", ""}})
        EXPECT_EQ(trackOf(cell), track) << cell;
    using Chosen = std::optional<std::vector<std::string>>;
    const std::vector<std::pair<const char*, Chosen>> combinations = {
        {"物化生", std::vector<std::string>{"物理", "化学", "生物"}},
        {"史政地", std::vector<std::string>{"历史", "政治", "地理"}},
        {"物理化学生物", std::vector<std::string>{"物理", "化学", "生物"}},
        {" 物理+政治+地理", std::vector<std::string>{"物理", "政治", "地理"}},
        {"历、生、化", std::vector<std::string>{"历史", "生物", "化学"}},
        {"物理类", std::nullopt},  // a track alone
        {"历史", std::nullopt},
        {"物化", std::nullopt},
        {"物化生地", std::nullopt},
        {"物史地", std::nullopt},  // both first subjects
        {"化生地", std::nullopt},  // no first subject
        {"物化化", std::nullopt},
        {"政史地", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [cell, chosen] : combinations) EXPECT_EQ(subjectsChosen(cell), chosen) << cell;
}

// 高三, 语文 and 数学 of 150. 物理类: (1)班 甲 120+140=260, 乙 100+130=230, 戊 80+80=160; (2)班 丙
// 110+100=210, 丁 90+120=210. 历史类, (3)班: 子 130+90=220, 丑 100+100=200, 寅 90+70=160, 卯
// 60+60=120. Lines: 物理类 本科 210, 历史类 本科 200, 特控 the top 40 % of each track.
void twoTrackExam(Exam& exam) {
    exam.state.gradeIndex = 11;
    exam.state.imported.gradeName = "高三";
    exam.subjects({{"语文", 150}, {"数学", 150}});
    auto student = [&](const char* klass, const char* name, const char* chinese, const char* maths,
                       const char* total, const char* track) {
        exam.student("一中", klass, name, total, {chinese, maths});
        exam.state.students.setHiddenCells(exam.state.students.rowCount() - 1, {"", "", track});
    };
    student("1", "甲", "120", "140", "260", "物理类");
    student("1", "乙", "100", "130", "230", "物理类");
    student("2", "丙", "110", "100", "210", "物理类");
    student("2", "丁", "90", "120", "210", "物理类");
    student("1", "戊", "80", "80", "160", "物理类");
    student("3", "子", "130", "90", "220", "历史类");
    student("3", "丑", "100", "100", "200", "历史类");
    student("3", "寅", "90", "70", "160", "历史类");
    student("3", "卯", "60", "60", "120", "历史类");
    exam.imported();
    exam.state.scores.lines = *scoreLinesNamed("物理类:本科=210;历史类:本科=200;特控=40%");
}

// 物理类 本科 210: 甲 乙 丙 丁 reach it; 语文 line (120+100+110+90)/4 = 105, 数学 (140+130+100+120)/4
// = 122.5; 双上线 语文 甲 丙, 数学 甲 乙. 特控: the ⌈5·0.4⌉ = 2nd total, 230: 甲 乙; lines 110 and
// 135; 双上线 甲 in both. 历史类 本科 200: 子 丑; lines 115, 95; 双上线 语文 子, 数学 丑. 特控: the
// ⌈4·0.4⌉ = 2nd total, 200.
TEST(LineReach, TwoTracksByHand) {
    Exam exam;
    twoTrackExam(exam);
    const varnex::Exam analysed(exam.state);
    const std::vector<TrackReach> reach = lineReach(analysed);
    ASSERT_EQ(reach.size(), 2u);
    const TrackReach& physics = reach[0];
    EXPECT_EQ(physics.track, "物理类");
    ASSERT_EQ(physics.lines.size(), 2u);
    EXPECT_EQ(physics.lines[0].line, 210000);
    EXPECT_EQ(physics.lines[1].line, 230000);
    EXPECT_EQ(physics.lines[0].subjectLine(0), 105000);
    EXPECT_EQ(physics.lines[0].subjectLine(1), 122500);
    EXPECT_EQ(physics.lines[1].subjectLine(1), 135000);
    EXPECT_EQ(physics.exam.sat, 5);
    EXPECT_EQ(physics.exam.reached, (std::vector<int>{4, 2}));
    EXPECT_EQ(physics.exam.both, (std::vector<std::vector<int>>{{2, 2}, {1, 1}}));
    // (1)班: 甲 乙 戊; (2)班: 丙 丁; (3)班 has no student of the track.
    EXPECT_EQ(physics.classes[0].sat, 3);
    EXPECT_EQ(physics.classes[0].reached, (std::vector<int>{2, 2}));
    EXPECT_EQ(physics.classes[0].both, (std::vector<std::vector<int>>{{1, 2}, {1, 1}}));
    EXPECT_EQ(physics.classes[1].both, (std::vector<std::vector<int>>{{1, 0}, {0, 0}}));
    EXPECT_EQ(physics.classes[2].sat, 0);

    const TrackReach& history = reach[1];
    EXPECT_EQ(history.track, "历史类");
    EXPECT_EQ(history.lines[0].line, 200000);
    EXPECT_EQ(history.lines[1].line, 200000);
    EXPECT_EQ(history.lines[0].subjectLine(0), 115000);
    EXPECT_EQ(history.lines[0].subjectLine(1), 95000);
    EXPECT_EQ(history.exam.reached, (std::vector<int>{2, 2}));
    EXPECT_EQ(history.exam.both, (std::vector<std::vector<int>>{{1, 1}, {1, 1}}));
}

TEST(LineReach, SheetAndNearLine) {
    Exam exam;
    twoTrackExam(exam);
    exam.only([](ExportOptions& o) {
        o.scoreLines = true;
        o.nearLine = true;
        o.nearScoreLines = true;
    });
    ASSERT_TRUE(exam.run().completed) << (exam.outcome.failure ? exam.outcome.failure->message : "");
    const SheetModel& sheet = exam.sheet("上线分析");
    EXPECT_TRUE(merged(sheet, "A4", "A7"));
    EXPECT_TRUE(merged(sheet, "A8", "A11"));
    for (const auto& [address, text] :
         std::vector<std::pair<const char*, const char*>>{{"A3", "分数线"},
                                                          {"D3", "实考人数"},
                                                          {"E3", "单上线"},
                                                          {"F3", "上线率"},
                                                          {"G3", "语文双上线"},
                                                          {"H3", "数学双上线"},
                                                          {"A4", "物理类 本科线 210分"},
                                                          {"B4", "学科线"},
                                                          {"G4", "105"},
                                                          {"H4", "122.5"},
                                                          {"B5", "一中"},
                                                          {"C5", "（1）班"},
                                                          {"D5", "3"},
                                                          {"E5", "2"},
                                                          {"F5", "66.7"},
                                                          {"G5", "1"},
                                                          {"H5", "2"},
                                                          {"C6", "（2）班"},
                                                          {"G6", "1"},
                                                          {"H6", "0"},
                                                          {"B7", "全体"},
                                                          {"D7", "5"},
                                                          {"E7", "4"},
                                                          {"F7", "80"},
                                                          {"A8", "物理类 特控线 230分（前40%）"},
                                                          {"G8", "110"},
                                                          {"H8", "135"},
                                                          {"E11", "2"},
                                                          {"A12", "历史类 本科线 200分"},
                                                          {"C13", "（3）班"},
                                                          {"D13", "4"},
                                                          {"E13", "2"},
                                                          {"F13", "50"},
                                                          {"B14", "全体"},
                                                          {"A15", "历史类 特控线 200分（前40%）"}})
        EXPECT_EQ(shown(sheet, address), text) << address;

    // 临界生 within 10 points: 物理类 乙 at 特控 230; 丙 and 丁 at 本科 210; 历史类 丑 at both 200.
    const SheetModel& near = exam.sheet("临界生");
    EXPECT_EQ(
        shown(near, "A2"),
        "总分在上线分数线（物理类 本科线210分，物理类 特控线230分，历史类 本科线200分，历史类 特控线200分）"
        "上下10分以内的学生；");
    std::vector<std::string> listed;
    for (int row = 5; row <= 10; ++row)
        listed.push_back(shown(near, "C" + std::to_string(row)) + shown(near, "E" + std::to_string(row)));
    EXPECT_EQ(listed, (std::vector<std::string>{"乙物理类特控线", "丙物理类本科线", "丁物理类本科线",
                                                "丑历史类本科线", "丑历史类特控线", ""}));

    // Chosen without lines: refused, saying where they are set.
    exam.state.scores.lines.clear();
    exam.state.overwriteOutput = true;
    EXPECT_FALSE(exam.run().completed);
}

}  // namespace
}  // namespace varnex::testing
