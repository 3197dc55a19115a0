#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/ini_file.h"
#include "app/recent_files.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(SettingsFile, SeedBeginsByteExactInGbk) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    std::string bytes = readFile(path);
    std::string expected =
        utf8ToGbk("[一年级]\r\n语文=100\r\n数学=100\r\n语文优秀率=80\r\n数学优秀率=80\r\n[二年级]\r\n");
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
    std::string tail = utf8ToGbk(
        "[导出选项]\r\n年级各科三率=1\r\n班级各科三率=1\r\n教师个人三率=1\r\n各科分数段=1\r\n总分分数段=1\r\n"
        "总分名次段=1\r\n统计图表=1\r\n班级总分排名=1\r\n总分前N名=50\r\n忽略零分学科=0\r\n"
        "名次方式=并列占位\r\n四率=1\r\n不公布名次=0\r\n按科类分别统计=0\r\n");
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
    // An existing file is left alone.
    writeFile(path, "[x]\r\n");
    seedIfMissing(path);
    EXPECT_EQ(readFile(path), "[x]\r\n");
}

TEST(SettingsFile, SeededGradesLoad) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_EQ(s.fullMark, (std::array<int, 11>{150, 150, 150, 0, 0, 100, 100, 100, 100, 0, 0}));
    EXPECT_EQ(s.excellenceLine, (std::array<int, 11>{80, 80, 80, 0, 0, 80, 80, 80, 80, 0, 0}));
    EXPECT_EQ(s.totalFullMark(), 850);
    EXPECT_EQ(s.totalExcellenceScore(), 680);
    ASSERT_TRUE(loadGrade(path, "九年级", s, o));
    EXPECT_EQ(s.totalFullMark(), 815);
    EXPECT_EQ(s.totalExcellenceScore(), 652);
    EXPECT_TRUE(o.classRanking);
    EXPECT_EQ(o.classRankingLayout, 1);
    EXPECT_EQ(o.topN, 50);
    // Senior high: 语文, 数学 and 英语 out of 150, as real senior-high papers are.
    for (const char* grade : {"高一", "高二", "高三"}) {
        ASSERT_TRUE(loadGrade(path, grade, s, o));
        EXPECT_EQ(s.fullMark, (std::array<int, 11>{150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0}))
            << grade;
    }
    // A file that was seeded with other values keeps them.
    IniFile older = IniFile::load(path);
    older.set("高二", "语文", "120");
    ASSERT_TRUE(older.save(path));
    seedIfMissing(path);
    ASSERT_TRUE(loadGrade(path, "高二", s, o));
    EXPECT_EQ(s.fullMark[0], 120);
}

// The school given last for a sheet without 学校 column survives a restart and leaves the rest
// of the file as it was; a file that cannot be written is named.
TEST(SettingsFile, SchoolNameGivenLast) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    EXPECT_EQ(loadSchoolName(path), "");
    seedIfMissing(path);
    const std::string seeded = readFile(path);
    ASSERT_TRUE(saveSchoolName(path, "育才中学"));
    EXPECT_EQ(loadSchoolName(path), "育才中学");
    EXPECT_EQ(readFile(path), seeded + utf8ToGbk("[导入选项]\r\n学校名称=育才中学\r\n"));
    Status failed = saveSchoolName(dir.file("无此目录/配置文件.ini"), "一中");
    ASSERT_FALSE(failed);
    EXPECT_NE(failed.error().find("无此目录/配置文件.ini"), std::string::npos) << failed.error();
}

// 按赋分统计 is kept among the import options; a file without it (or with no file) reads 0.
TEST(SettingsFile, ScaledScoresChoice) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    EXPECT_FALSE(loadScaledScores(path));
    seedIfMissing(path);
    const std::string seeded = readFile(path);
    EXPECT_FALSE(loadScaledScores(path));
    ASSERT_TRUE(saveScaledScores(path, true));
    EXPECT_TRUE(loadScaledScores(path));
    EXPECT_EQ(readFile(path), seeded + utf8ToGbk("[导入选项]\r\n按赋分统计=1\r\n"));
    ASSERT_TRUE(saveScaledScores(path, false));
    EXPECT_FALSE(loadScaledScores(path));
    EXPECT_FALSE(saveScaledScores(dir.file("无此目录/配置文件.ini"), true));
}

TEST(SettingsFile, SavingAZeroFullMarkKeepsTheStoredValue) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    loadGrade(path, "九年级", s, o);
    s.fullMark[9] = 0;  // 体育
    ASSERT_TRUE(saveGrade(path, "九年级", s, o));
    ScoreSettings again;
    loadGrade(path, "九年级", again, o);
    EXPECT_EQ(again.fullMark[9], 50);
}

// Extra subjects are kept per grade: the 其他学科 list, a full-mark key and an excellence key of
// each; a grade without the list has none, and a line not given reads as 80.
TEST(SettingsFile, ExtraSubjectsRoundTripPerGrade) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    loadGrade(path, "七年级", s, o);
    EXPECT_TRUE(s.extra.empty());
    const ScoreSettings seeded = s;
    s.setExtraFullMark("禁毒", 10);
    s.setExtraExcellenceLine("禁毒", 90);
    s.setExtraFullMark("信息技术", 50);
    s.setExtraFullMark("音乐", 0);  // without a full mark: not listed
    s.setExtraFullMark("语文", 1);  // a subject of the list is no extra subject
    EXPECT_EQ(s.fullMark[0], seeded.fullMark[0]);
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));

    IniFile file = IniFile::load(path);
    EXPECT_EQ(file.get("七年级", "其他学科"), "禁毒、信息技术");
    EXPECT_EQ(file.get("七年级", "禁毒"), "10");
    EXPECT_EQ(file.get("七年级", "禁毒优秀率"), "90");
    EXPECT_EQ(file.get("七年级", "信息技术优秀率"), "80");
    EXPECT_FALSE(file.find("八年级", "其他学科"));

    ScoreSettings again;
    loadGrade(path, "七年级", again, o);
    ASSERT_EQ(again.extra.size(), 2u);
    EXPECT_EQ(again.extraFullMark("禁毒"), 10);
    EXPECT_EQ(again.extraExcellenceLine("禁毒"), 90);
    EXPECT_EQ(again.extraFullMark("信息技术"), 50);
    EXPECT_EQ(again.fullMark, seeded.fullMark);
    EXPECT_EQ(again.totalFullMark(), seeded.totalFullMark() + 60);
    loadGrade(path, "八年级", again, o);  // another grade has none
    EXPECT_TRUE(again.extra.empty());

    // Written by hand: other separators, blanks, a name twice, a subject of the list, no line.
    file.set("八年级", "其他学科", " 科学 ,科学，语文、");
    file.set("八年级", "科学", "100");
    ASSERT_TRUE(file.save(path));
    loadGrade(path, "八年级", again, o);
    ASSERT_EQ(again.extra.size(), 1u);
    EXPECT_EQ(again.extra[0].name, "科学");
    EXPECT_EQ(again.extra[0].fullMark, 100);
    EXPECT_EQ(again.extra[0].excellenceLine, 80);
    restoreDefaultExcellence(s);
    EXPECT_EQ(s.extraExcellenceLine("禁毒"), 80);
}

struct OptionCase {
    const char* topN;
    const char* ranking;
    const char* layout;  ///< "班级总分排名方式", nullptr for none
    bool topNEnabled;
    int topNAfter;
    bool classRanking;
    int layoutAfter;
};

TEST(SettingsFile, StoredTopNAndClassRanking) {
    const OptionCase cases[] = {
        {"0", "0", nullptr, false, 33, true, 0},    // top-N off keeps the count; 0: one sheet per class
        {"12", "-1", nullptr, true, 12, false, 0},  // -1: off, layout kept as it was
        {"x", "7", nullptr, false, 33, true, 1},    // non-integer reads as 0; 7: all classes on one sheet
        {"1", "-1", "1", true, 1, false, 1},        // off: the layout stored on its own
        {"1", "0", "1", true, 1, true, 0},          // on: "班级总分排名" decides
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::string path = dir.file(kSettingsFileName);
        std::string layout = c.layout != nullptr ? std::string("班级总分排名方式=") + c.layout + "\r\n" : "";
        writeFile(path, utf8ToGbk(std::string("[导出选项]\r\n总分前N名=") + c.topN +
                                  "\r\n班级总分排名=" + c.ranking + "\r\n" + layout));
        ScoreSettings s;
        ExportOptions o;
        o.topN = 33;
        o.classRankingLayout = 0;
        ASSERT_TRUE(loadGrade(path, "七年级", s, o));
        EXPECT_EQ(o.topNEnabled, c.topNEnabled) << c.topN;
        EXPECT_EQ(o.topN, c.topNAfter) << c.topN;
        EXPECT_EQ(o.classRanking, c.classRanking) << c.ranking;
        EXPECT_EQ(o.classRankingLayout, c.layoutAfter) << c.ranking;
        // A section deleted by hand reads as zeros.
        EXPECT_EQ(s.totalFullMark(), 0);
    }
}

TEST(SettingsFile, TheClassRankingLayoutIsSavedAlsoWhileTheRankingIsOff) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    o.classRanking = false;
    o.classRankingLayout = 0;
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));
    IniFile file = IniFile::load(path);
    EXPECT_EQ(file.get("导出选项", "班级总分排名"), "-1");
    EXPECT_EQ(file.get("导出选项", "班级总分排名方式"), "0");
    ExportOptions again;  // starts with layout 1
    ASSERT_TRUE(loadGrade(path, "八年级", s, again));
    EXPECT_FALSE(again.classRanking);
    EXPECT_EQ(again.classRankingLayout, 0);
}

// 计算赋分 and 赋分规则 belong to the grade: a grade that never chose them keeps its section as it
// was; a rule is kept by its name or written out; one that cannot be used is logged and left for
// the default rule, and stays in the file.
TEST(SettingsFile, ScaledScoresRulePerGrade) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    ASSERT_TRUE(loadGrade(path, "高二", s, o));
    EXPECT_FALSE(s.computeScaled);
    EXPECT_FALSE(s.scaleRule);
    ASSERT_TRUE(saveGrade(path, "高二", s, o));
    EXPECT_FALSE(IniFile::load(path).find("高二", "计算赋分"));
    s.computeScaled = true;
    s.scaleRule = scaleRuleNamed("八等级");
    ASSERT_TRUE(saveGrade(path, "高二", s, o));
    IniFile file = IniFile::load(path);
    EXPECT_EQ(file.get("高二", "计算赋分"), "1");
    EXPECT_EQ(file.get("高二", "赋分规则"), "八等级");
    ScoreSettings again;
    ASSERT_TRUE(loadGrade(path, "高二", again, o));
    EXPECT_TRUE(again.computeScaled);
    EXPECT_EQ(again.scaleRule, scaleRuleNamed("八等级"));
    ASSERT_TRUE(loadGrade(path, "高三", again, o));
    EXPECT_FALSE(again.computeScaled);

    file.set("高三", "计算赋分", "1");
    file.set("高三", "赋分规则", "A:15:86-100,B:35:71-85");
    ASSERT_TRUE(file.save(path));
    std::vector<std::string> log;
    ASSERT_TRUE(loadGrade(path, "高三", again, o, [&](const std::string& line) { log.push_back(line); }));
    EXPECT_TRUE(again.computeScaled);
    EXPECT_FALSE(again.scaleRule);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("高三的赋分规则无法使用（赋分规则=A:15:86-100,B:35:71-85）"), std::string::npos);
    ASSERT_TRUE(saveGrade(path, "高三", again, o));
    EXPECT_EQ(IniFile::load(path).get("高三", "赋分规则"), "A:15:86-100,B:35:71-85");
}

// The grade's 上线 lines are read and kept as written; unusable ones are logged and give none. 临界线
// is written once chosen.
TEST(SettingsFile, ScoreLinesPerGradeAndTheNearLinesChoice) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    IniFile file = IniFile::load(path);
    file.set("高三", "上线", "物理类:本科=480;历史类:本科=470;特控=20%");
    file.set("高二", "上线", "本科");
    ASSERT_TRUE(file.save(path));
    ScoreSettings s;
    ExportOptions o;
    std::vector<std::string> log;
    auto logLine = [&](const std::string& line) { log.push_back(line); };
    ASSERT_TRUE(loadGrade(path, "高三", s, o, logLine));
    EXPECT_EQ(s.lines, *scoreLinesNamed("物理类:本科=480;历史类:本科=470;特控=20%"));
    EXPECT_FALSE(o.nearScoreLines);
    ASSERT_TRUE(loadGrade(path, "高二", s, o, logLine));
    EXPECT_TRUE(s.lines.empty());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("高二的上线设置无法使用（上线=本科）"), std::string::npos) << log[0];

    ASSERT_TRUE(saveGrade(path, "高一", s, o));
    EXPECT_FALSE(IniFile::load(path).find("导出选项", "临界线"));
    o.nearScoreLines = true;
    s.lines = *scoreLinesNamed("本科=60%");
    ASSERT_TRUE(saveGrade(path, "高一", s, o));
    EXPECT_EQ(IniFile::load(path).get("导出选项", "临界线"), "上线");
    EXPECT_EQ(IniFile::load(path).get("高一", "上线"), "本科=60%");
    ExportOptions again;
    ASSERT_TRUE(loadGrade(path, "高一", s, again));
    EXPECT_TRUE(again.nearScoreLines);
}

TEST(SettingsFile, ChartsAreOffInAFileWrittenBeforeThemAndKeptOnceSaved) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    writeFile(path, utf8ToGbk("[导出选项]\r\n年级各科三率=1\r\n总分名次段=1\r\n"));
    ScoreSettings s;
    ExportOptions o;
    o.charts = true;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_FALSE(o.charts);
    EXPECT_TRUE(o.gradeRates);
    o.charts = true;
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));
    EXPECT_NE(readFile(path).find(utf8ToGbk("\r\n统计图表=1\r\n")), std::string::npos);
    o.charts = false;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_TRUE(o.charts);
}

// 进退步 and 临界生 are off in a file written before them and in a newly seeded one; once chosen
// they are kept, with the 临界生 band (10 when the file has none).
TEST(SettingsFile, ProgressReportsAreOffUntilChosenAndKeepTheirBand) {
    TempDir dir;
    for (bool seeded : {false, true}) {
        std::string path = dir.file(seeded ? "seeded.ini" : "old.ini");
        if (seeded) {
            seedIfMissing(path);
        } else {
            writeFile(path, utf8ToGbk("[导出选项]\r\n年级各科三率=1\r\n"));
        }
        ScoreSettings s;
        ExportOptions o;
        o.progress = o.nearLine = true;
        o.nearBand = 3;
        ASSERT_TRUE(loadGrade(path, "七年级", s, o));
        EXPECT_FALSE(o.progress);
        EXPECT_FALSE(o.nearLine);
        EXPECT_EQ(o.nearBand, 3) << "no key: the band stays as it was";
        o.progress = o.nearLine = true;
        o.nearBand = 7;
        ASSERT_TRUE(saveGrade(path, "七年级", s, o));
        ExportOptions again;
        ASSERT_TRUE(loadGrade(path, "七年级", s, again));
        EXPECT_TRUE(again.progress);
        EXPECT_TRUE(again.nearLine);
        EXPECT_EQ(again.nearBand, 7);
    }
}

// Without its key (a file written before the choice existed, or a newly seeded one) blank scores
// count as 0; once saved, the choice to leave them out is read back.
TEST(SettingsFile, BlankScoresCountAsZeroUnlessTheFileSaysOtherwise) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    EXPECT_EQ(readFile(path).find(utf8ToGbk("缺考不计入统计")), std::string::npos);
    ScoreSettings s;
    ExportOptions o;
    o.blankScoresExcluded = true;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_FALSE(o.blankScoresExcluded);
    o.blankScoresExcluded = true;
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));
    EXPECT_NE(readFile(path).find(utf8ToGbk("\r\n缺考不计入统计=1\r\n")), std::string::npos);
    o.blankScoresExcluded = false;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_TRUE(o.blankScoresExcluded);
}

// 四率 and 扩展指标 are off in a file written before them, 四率 on in a newly seeded one. The
// 良好线 and 低分线 of a grade are 70 and 40 without keys (or with keys that hold no percent), and
// are kept per subject, an extra subject's too.
TEST(SettingsFile, FourRatesAndTheirLines) {
    TempDir dir;
    for (bool seeded : {false, true}) {
        std::string path = dir.file(seeded ? "seeded.ini" : "old.ini");
        if (seeded) {
            seedIfMissing(path);
        } else {
            writeFile(path, utf8ToGbk("[七年级]\r\n语文=100\r\n数学良好线=abc\r\n英语低分线=120\r\n"
                                      "[导出选项]\r\n年级各科三率=1\r\n"));
        }
        ScoreSettings s;
        ExportOptions o;
        o.fourRates = o.moreFigures = true;
        s.goodLine.fill(1);
        ASSERT_TRUE(loadGrade(path, "七年级", s, o));
        EXPECT_EQ(o.fourRates, seeded);
        EXPECT_FALSE(o.moreFigures);
        EXPECT_EQ(s.goodLineOf("数学"), 70);
        EXPECT_EQ(s.lowLineOf("英语"), 40);
    }
    std::string path = dir.file("seeded.ini");
    ScoreSettings s;
    ExportOptions o;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    s.goodLine[0] = 75;
    s.lowLine[1] = 30;
    s.extra.push_back({"科学", 50, 80, 65, 35});
    o.fourRates = false;
    o.moreFigures = true;
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));
    EXPECT_NE(readFile(path).find(utf8ToGbk("\r\n语文良好线=75\r\n")), std::string::npos);
    ScoreSettings again;
    ExportOptions read;
    ASSERT_TRUE(loadGrade(path, "七年级", again, read));
    EXPECT_FALSE(read.fourRates);
    EXPECT_TRUE(read.moreFigures);
    EXPECT_EQ(again.goodLineOf("语文"), 75);
    EXPECT_EQ(again.lowLineOf("数学"), 30);
    EXPECT_EQ(again.goodLineOf("科学"), 65);
    EXPECT_EQ(again.lowLineOf("科学"), 35);
    EXPECT_EQ(again.goodLineOf("英语"), 70);
}

// 不公布名次: seeded off, off in a file without the key, and read back once saved on.
TEST(SettingsFile, NoRanksIsSeededOffAndReadBack) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    EXPECT_NE(readFile(path).find(utf8ToGbk("\r\n不公布名次=0\r\n")), std::string::npos);
    ScoreSettings s;
    ExportOptions o;
    o.noRanks = true;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_FALSE(o.noRanks);
    o.noRanks = true;
    ASSERT_TRUE(saveGrade(path, "七年级", s, o));
    ExportOptions again;
    ASSERT_TRUE(loadGrade(path, "七年级", s, again));
    EXPECT_TRUE(again.noRanks);

    writeFile(path, utf8ToGbk("[导出选项]\r\n年级各科三率=1\r\n"));
    again.noRanks = true;
    ASSERT_TRUE(loadGrade(path, "七年级", s, again));
    EXPECT_FALSE(again.noRanks) << "a file without the key shows places";
}

// 名次方式: a file written before the choice (or holding another value) has none and keeps its
// places; a newly seeded file ranks 1, 2, 2, 4; each choice is saved and read back.
TEST(SettingsFile, TheRankingRuleIsSeededAsCompetitionAndUnchosenInOlderFiles) {
    TempDir dir;
    struct Case {
        const char* name;
        const char* content;  ///< nullptr: seeded
        RankingRule loaded;
    };
    const Case cases[] = {
        {"seeded", nullptr, RankingRule::Competition},
        {"old", "[导出选项]\r\n年级各科三率=1\r\n", RankingRule::Unchosen},
        {"dense", "[导出选项]\r\n名次方式=并列不占位\r\n", RankingRule::Dense},
        {"other", "[导出选项]\r\n名次方式=1224\r\n", RankingRule::Unchosen},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(std::string(c.name) + ".ini");
        if (c.content == nullptr) {
            seedIfMissing(path);
        } else {
            writeFile(path, utf8ToGbk(c.content));
        }
        ScoreSettings s;
        ExportOptions o;
        o.rankingRule = RankingRule::Dense;
        ASSERT_TRUE(loadGrade(path, "七年级", s, o));
        EXPECT_EQ(o.rankingRule, c.loaded) << c.name;
        // Saving an unmade choice writes no key; a choice is written and read back.
        ASSERT_TRUE(saveGrade(path, "七年级", s, o));
        ExportOptions again;
        ASSERT_TRUE(loadGrade(path, "七年级", s, again));
        EXPECT_EQ(again.rankingRule, c.loaded) << c.name;
        if (c.loaded == RankingRule::Unchosen) {
            EXPECT_EQ(readFile(path).find(utf8ToGbk("名次方式=并列")), std::string::npos) << c.name;
        }
        for (RankingRule rule : {RankingRule::Dense, RankingRule::Competition}) {
            o.rankingRule = rule;
            ASSERT_TRUE(saveGrade(path, "七年级", s, o));
            ASSERT_TRUE(loadGrade(path, "七年级", s, again));
            EXPECT_EQ(again.rankingRule, rule) << c.name;
        }
    }
    EXPECT_NE(readFile(dir.file("old.ini")).find(utf8ToGbk("\r\n名次方式=并列占位\r\n")), std::string::npos);
}

// 分别导出: missing or unknown reads 不分, and a file that never had the key gets none for 不分;
// each choice is saved and read back.
TEST(SettingsFile, SplitFilesChoiceIsKeptUnderItsName) {
    TempDir dir;
    const std::string path = dir.file("split.ini");
    writeFile(path, utf8ToGbk("[导出选项]\r\n分别导出=按年级\r\n"));
    ScoreSettings s;
    ExportOptions o;
    o.split = SplitFiles::ByClass;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_EQ(o.split, SplitFiles::None);
    const std::string fresh = dir.file("fresh.ini");
    seedIfMissing(fresh);
    ASSERT_TRUE(saveGrade(fresh, "七年级", s, o));
    EXPECT_EQ(readFile(fresh).find(utf8ToGbk("分别导出")), std::string::npos);
    for (SplitFiles split : {SplitFiles::BySchool, SplitFiles::ByClass, SplitFiles::None}) {
        o.split = split;
        ASSERT_TRUE(saveGrade(fresh, "七年级", s, o));
        ExportOptions again;
        again.split = SplitFiles::ByClass;
        ASSERT_TRUE(loadGrade(fresh, "七年级", s, again));
        EXPECT_EQ(again.split, split);
    }
    EXPECT_NE(readFile(fresh).find(utf8ToGbk("\r\n分别导出=不分\r\n")), std::string::npos);
}

TEST(SettingsFile, KeysInOtherCaseAndOrderAndGarbageLines) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    writeFile(path,
              "garbage line\n\x01\x02\x81\x40\n[Grade]\nX=1\n" + utf8ToGbk("[七年级]\n数学=abc\n语文=120\n"));
    ScoreSettings s;
    ExportOptions o;
    ASSERT_TRUE(loadGrade(path, "七年级", s, o));
    EXPECT_EQ(s.fullMark[0], 120);
    EXPECT_EQ(s.fullMark[1], 0);
    EXPECT_TRUE(loadGrade(path, "grade", s, o));
}

TEST(SettingsFile, NoFileKeepsTheValues) {
    ScoreSettings s;
    ExportOptions o;
    EXPECT_FALSE(loadGrade("/nonexistent/配置文件.ini", "七年级", s, o));
    EXPECT_EQ(s.fullMark[0], 100);
}

// Runs the check without the power to read every file: directly when not root, otherwise in a
// child process that has given root up. True when the check passed.
bool passesWithoutRoot(const std::string& dir, const std::function<bool()>& check) {
    if (::geteuid() != 0) return check();
    ::chmod(dir.c_str(), 0777);
    pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        // A container without the right to change users cannot show the refusal; count it as passed.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(0);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SettingsFile, AFileThatCannotBeReadIsNeitherLoadedNorReplaced) {
    TempDir dir;
    std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    std::string before = readFile(path);
    ::chmod(path.c_str(), 0);
    EXPECT_TRUE(passesWithoutRoot(dir.path(), [&] {
        ScoreSettings s;
        ExportOptions o;
        RecentFileList recent;
        recent.setStorePath(path);
        recent.load();
        recent.add("/data/a.xls");
        return !loadGrade(path, "七年级", s, o) && s.fullMark[0] == 100 && !saveGrade(path, "七年级", s, o) &&
               !recent.save();
    }));
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(readFile(path), before);

    // Something at the path that is no file at all does not read as a file of zeros.
    std::string folder = dir.file("folder.ini");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ScoreSettings s;
    ExportOptions o;
    EXPECT_FALSE(loadGrade(folder, "七年级", s, o));
    EXPECT_EQ(s.fullMark[0], 100);
    EXPECT_TRUE(o.gradeRates);
}

TEST(SettingsFile, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
    TempDir dir;
    testing::ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    const std::string inUserFolder = dir.file("config/varnex/") + kSettingsFileName;
    // Writable program folders of the system's layout, also in a package's unpacked tree.
    for (const char* folder : {"root/usr/bin", "root/usr/local/bin/", "usr-bin", "root/opt/varnex"}) {
        std::string programDir = dir.file(folder);
        ASSERT_TRUE(std::filesystem::create_directories(programDir));
        const bool system = std::string(folder).find("/bin") != std::string::npos;
        EXPECT_EQ(settingsPath(programDir), system ? inUserFolder : programDir + "/" + kSettingsFileName)
            << folder;
    }
}

// A settings file saved as UTF-16 (with its byte-order mark, as some Windows editors save it) is
// not taken for a file of zeros: it is not read, never rewritten, and the message names it and why.
TEST(SettingsFile, AFileInAnotherEncodingIsNeitherReadNorOverwritten) {
    TempDir dir;
    const std::string path = dir.file(kSettingsFileName);
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"[七年级]\r\n语文=120\r\n")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    writeFile(path, utf16);
    const std::string why =
        "无法读取配置文件：" + path +
        "\n它不是 GBK（GB18030）或 UTF-8 编码的文本文件（例如以 UTF-16 编码保存）。"
        "为免损坏其中的设置，本程序不会改写它；请用文本编辑器将它另存为 GBK 或 UTF-8 编码。";

    ScoreSettings s;
    ExportOptions o;
    EXPECT_FALSE(loadGrade(path, "七年级", s, o));
    EXPECT_EQ(s.fullMark[0], 100);  // the values held stay
    Status check = checkSettingsFile(path);
    ASSERT_FALSE(check);
    EXPECT_EQ(check.error(), why);
    seedIfMissing(path);
    Status saved = saveGrade(path, "七年级", s, o);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error(), why);
    RecentFileList recent;
    recent.setStorePath(path);
    recent.add("/data/a.xls");
    EXPECT_FALSE(recent.save());
    EXPECT_EQ(readFile(path), utf16);

    // 保存 tells the same; a file that reads fine passes the check.
    AppState state;
    state.settingsPath = path;
    testing::ScriptedFrontend ui;
    saveGradeCommand(state, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, why);
    EXPECT_EQ(ui.messages[0].caption, "错误");
    EXPECT_EQ(readFile(path), utf16);
    writeFile(path, utf8ToGbk("[七年级]\r\n语文=120\r\n"));
    EXPECT_TRUE(checkSettingsFile(path));
    EXPECT_TRUE(checkSettingsFile(dir.file("none.ini")));
}

// A settings file beside the program in a folder the user cannot write (an administrator's, or one
// carried over) is read; a change goes to the user's folder, and from then on that copy is read.
TEST(SettingsFile, AFileBesideAReadOnlyProgramIsReadAndChangesGoToTheUsersFolder) {
    TempDir dir;
    const std::string programDir = dir.file("program/");
    ASSERT_EQ(::mkdir(programDir.c_str(), 0755), 0);
    const std::string beside = programDir + kSettingsFileName;
    seedIfMissing(beside);
    {
        IniFile file = IniFile::load(beside);
        file.set("七年级", "语文", "120");
        file.set("管理员", "说明", "保留");
        ASSERT_TRUE(file.save(beside));
    }
    const std::string before = readFile(beside);
    ::chmod(programDir.c_str(), 0555);
    testing::ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
    const std::string copy = dir.file("config/varnex/") + kSettingsFileName;
    EXPECT_TRUE(passesWithoutRoot(dir.path(), [&] {
        auto expect = [](bool ok, const char* what) {
            if (!ok) std::fprintf(stderr, "failed: %s\n", what);
            return ok;
        };
        const std::string path = settingsPath(programDir);
        ScoreSettings s;
        ExportOptions o;
        bool ok = expect(path == beside, "the file beside the program is the one used") &&
                  expect(checkSettingsFile(path).ok(), "it can be used") &&
                  expect(loadGrade(path, "七年级", s, o) && s.fullMark[0] == 120, "its values are read");
        s.fullMark[0] = 130;
        ok = ok && expect(saveGrade(path, "七年级", s, o).ok(), "saving succeeds") &&
             expect(readFile(beside) == before, "the file beside the program is untouched") &&
             expect(settingsFileInUse(path) == copy, "the user's copy is in use");
        IniFile saved = IniFile::load(copy);
        ok = ok && expect(saved.get("七年级", "语文") == "130", "the change is in the user's copy") &&
             expect(saved.get("管理员", "说明") == "保留", "the rest of the file came along");
        // The next start reads the copy, and so do the recent files.
        ScoreSettings again;
        RecentFileList recent;
        recent.setStorePath(settingsPath(programDir));
        recent.add("/data/a.xls");
        RecentFileList reloaded;
        reloaded.setStorePath(settingsPath(programDir));
        reloaded.load();
        return ok && expect(loadGrade(settingsPath(programDir), "七年级", again, o), "loads again") &&
               expect(again.fullMark[0] == 130, "the copy is read from then on") &&
               expect(reloaded.entries() == std::vector<std::string>{"/data/a.xls"}, "recent files") &&
               expect(readFile(beside) == before, "still untouched");
    }));
    ::chmod(programDir.c_str(), 0755);
}

TEST(SettingsFile, FallsBackToTheConfigurationFolder) {
    TempDir dir;
    std::string programDir = dir.file("does-not-exist/");
    {
        testing::ScopedEnv config("XDG_CONFIG_HOME", dir.file("config"));
        EXPECT_EQ(settingsPath(programDir), dir.file("config/varnex/") + kSettingsFileName);
        EXPECT_EQ(settingsPath(dir.path()), dir.file(kSettingsFileName));
    }

    // No folder can take the file: no path, and the built-in values stay in force.
    testing::writeFile(dir.file("a-file"), "x");
    testing::ScopedEnv config("XDG_CONFIG_HOME", dir.file("a-file"));
    std::string path = settingsPath(programDir);
    EXPECT_EQ(path, "");
    seedIfMissing(path);
    ScoreSettings s;
    ExportOptions o;
    EXPECT_FALSE(loadGrade(path, "七年级", s, o));
    EXPECT_EQ(s.fullMark[0], 100);
    EXPECT_EQ(o.topN, 50);
    Status saved = saveGrade(path, "七年级", s, o);
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.error(),
              std::string("保存配置文件失败：") + kSettingsFileName + "\n请检查文件夹是否可写。");
}

TEST(SettingsFile, SaveCommandConfirmsOrReports) {
    TempDir dir;
    AppState state;
    state.settingsPath = dir.file(kSettingsFileName);
    testing::ScriptedFrontend ui;
    saveGradeCommand(state, ui);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "七年级学科分值和优秀控制线保存成功！");
    EXPECT_EQ(ui.messages[0].caption, "信息");
    state.settingsPath = dir.file("no/such/folder.ini");
    saveGradeCommand(state, ui);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].caption, "错误");
}

}  // namespace
}  // namespace varnex
