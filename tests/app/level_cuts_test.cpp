#include "app/level_cuts.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "app/settings_file.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

// Lines and names as the settings file and --levels give them: what is accepted and what not.
TEST(LevelCuts, MadeFromTexts) {
    struct Case {
        LevelMethod method;
        const char* lines;
        const char* names;
        std::optional<std::vector<int>> expectedLines;  // none: refused
        std::vector<std::string> expectedNames;
    };
    const Case cases[] = {
        {LevelMethod::Score, "90,75,60", "", std::vector<int>{9000, 7500, 6000}, {"A", "B", "C", "D"}},
        {LevelMethod::Score,
         "90, 75，60",
         "优秀,良好，合格, 待合格",
         std::vector<int>{9000, 7500, 6000},
         {"优秀", "良好", "合格", "待合格"}},
        {LevelMethod::Score, "87.5,60.05", "", std::vector<int>{8750, 6005}, {"A", "B", "C"}},
        {LevelMethod::Share,
         "15,35,35,13,2",
         "",
         std::vector<int>{1500, 3500, 3500, 1300, 200},
         {"A", "B", "C", "D", "E"}},
        // Shares adding up to less than 100: a last level takes the rest.
        {LevelMethod::Share, "20,30", "", std::vector<int>{2000, 3000}, {"A", "B", "C"}},
        {LevelMethod::Score, "90,75,60", "优秀,良好,合格", std::nullopt, {}},  // one name short
        {LevelMethod::Share, "15,35,35,13,2", "A,B,C,D,E,F", std::nullopt, {}},
        {LevelMethod::Score, "60,75", "", std::nullopt, {}},  // not falling
        {LevelMethod::Score, "90,90", "", std::nullopt, {}},
        {LevelMethod::Score, "101", "", std::nullopt, {}},
        {LevelMethod::Score, "0", "", std::nullopt, {}},
        {LevelMethod::Score, "90.125", "", std::nullopt, {}},
        {LevelMethod::Score, "9o", "", std::nullopt, {}},
        {LevelMethod::Score, "", "", std::nullopt, {}},
        {LevelMethod::Score, "90,,60", "", std::nullopt, {}},
        {LevelMethod::Share, "60,50", "", std::nullopt, {}},  // more than 100
        {LevelMethod::Score, "90,75", "A,,C", std::nullopt, {}},
    };
    for (const Case& c : cases) {
        std::optional<LevelCuts> cuts = makeLevelCuts(c.method, c.lines, c.names);
        ASSERT_EQ(cuts.has_value(), c.expectedLines.has_value()) << c.lines << " / " << c.names;
        if (!cuts) continue;
        EXPECT_EQ(cuts->lines, *c.expectedLines) << c.lines;
        EXPECT_EQ(cuts->names, c.expectedNames) << c.lines;
    }
    EXPECT_EQ(levelLinesText(*makeLevelCuts(LevelMethod::Score, "87.5,60.05,12", "")), "87.5,60.05,12");
    EXPECT_EQ(levelMethodNamed("比例"), LevelMethod::Share);
    EXPECT_EQ(levelMethodNamed("score"), LevelMethod::Score);
    EXPECT_EQ(levelMethodNamed("名次"), std::nullopt);
}

// A grade's keys: none gives the grade's default; set cuts survive a save; values that cannot be
// used fall back to the default with a log line and stay in the file.
TEST(LevelCuts, KeptPerGradeInTheSettingsFile) {
    testing::TempDir dir;
    const std::string path = dir.file(kSettingsFileName);
    seedIfMissing(path);
    ScoreSettings scores;
    ExportOptions options;
    ASSERT_TRUE(loadGrade(path, "七年级", scores, options));
    EXPECT_EQ(scores.levels, std::nullopt);
    EXPECT_EQ(defaultLevelCuts(6), *makeLevelCuts(LevelMethod::Score, "90,75,60", "A,B,C,D"));
    EXPECT_EQ(defaultLevelCuts(9), *makeLevelCuts(LevelMethod::Share, "15,35,35,13,2", "A,B,C,D,E"));

    scores.levels = makeLevelCuts(LevelMethod::Share, "10,40,50", "优秀,良好,合格");
    ASSERT_TRUE(saveGrade(path, "七年级", scores, options));
    ScoreSettings loaded;
    ASSERT_TRUE(loadGrade(path, "七年级", loaded, options));
    EXPECT_EQ(loaded.levels, scores.levels);
    ASSERT_TRUE(loadGrade(path, "八年级", loaded, options));
    EXPECT_EQ(loaded.levels, std::nullopt);

    // Only a method: its default lines and letters.
    IniFile file = IniFile::load(path);
    file.set("高一", "等级方式", "分数");
    file.set("高二", "等级方式", "名次");
    file.set("高三", "等级线", "90,75,60");
    file.set("高三", "等级名称", "优秀,良好,合格");
    ASSERT_TRUE(file.save(path));
    std::vector<std::string> log;
    auto logLine = [&log](const std::string& line) { log.push_back(line); };
    ASSERT_TRUE(loadGrade(path, "高一", loaded, options, logLine));
    EXPECT_EQ(loaded.levels, defaultLevelCuts(0));
    EXPECT_TRUE(log.empty());
    ASSERT_TRUE(loadGrade(path, "高二", loaded, options, logLine));
    EXPECT_EQ(loaded.levels, std::nullopt);
    // 高三 by share (its default) with score lines that add up to more than 100.
    ASSERT_TRUE(loadGrade(path, "高三", loaded, options, logLine));
    EXPECT_EQ(loaded.levels, std::nullopt);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].find("高二"), std::string::npos);
    EXPECT_NE(log[0].find("等级方式=名次"), std::string::npos);
    // Saving a grade on its default keeps what the file holds.
    ASSERT_TRUE(saveGrade(path, "高三", loaded, options));
    EXPECT_EQ(IniFile::load(path).get("高三", "等级名称"), "优秀,良好,合格");
}

}  // namespace
}  // namespace varnex
