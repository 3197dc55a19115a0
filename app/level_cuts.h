#pragma once
// 等级: how scores are cut into levels (A, B, C, D …) for a grade. Either by score, lines in
// percent of the full mark, or by share of students, the shares of the levels from the top.
// Primary and junior-high grades cut by score (A ≥ 90 %, B ≥ 75 %, C ≥ 60 %, D below), senior
// grades by share (15, 35, 35, 13, 2 %, named A to E).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

enum class LevelMethod {
    Score,  ///< 分数: lines in percent of the full mark, highest first
    Share,  ///< 比例: the share of students of each level, from the top
};

/// The cuts of one grade. Lines are kept in hundredths of a percent (90 % is 9000, 12.5 % is
/// 1250), so that a score is compared with them exactly.
struct LevelCuts {
    LevelMethod method = LevelMethod::Score;
    /// Score: the lowest percent of each level but the last, strictly falling, in 0 < line ≤ 100.
    /// Share: the share of each level from the top, each positive, adding up to at most 100; when
    /// they add up to less, a last level takes the rest.
    std::vector<int> lines;
    std::vector<std::string> names;  ///< one per level, best first

    int levelCount() const { return static_cast<int>(names.size()); }
    /// The number of levels the lines make: the lines + 1, or for shares adding up to 100, the shares.
    int levelsOfLines() const;
    bool operator==(const LevelCuts&) const = default;
};

/// The cuts a grade uses when its settings name none (by score below 高一, by share from 高一 on).
LevelCuts defaultLevelCuts(int gradeIndex);

/// The method of a settings value: "分数" or "比例" (also "score" or "share"); none for another text.
std::optional<LevelMethod> levelMethodNamed(std::string_view text);
/// "分数" or "比例".
const char* levelMethodName(LevelMethod method);

/// The cuts of a method, its comma-separated lines (numbers of at most two decimals) and its
/// comma-separated names ("" gives the letters A, B, C …); none when the lines are not what the
/// method needs or the number of names is not the number of levels.
std::optional<LevelCuts> makeLevelCuts(LevelMethod method, std::string_view lines, std::string_view names);

/// A line in hundredths of a percent as written: "90", "12.5", "0.05".
std::string levelLineText(int hundredths);
/// The lines as the settings file keeps them: "90,75,60", "12.5".
std::string levelLinesText(const LevelCuts& cuts);
/// The names joined with commas.
std::string levelNamesText(const LevelCuts& cuts);

}  // namespace varnex
