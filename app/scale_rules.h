#pragma once
// 赋分: how the raw scores of an elective subject are turned into scaled scores. The students are
// cut into grades by share (as the 等级 by share: a tie never splits), and each grade's range of
// raw scores is mapped linearly onto the grade's range of scaled scores.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/level_cuts.h"

namespace varnex {

/// The subjects whose scaled scores are computed, in subject order.
inline constexpr const char* kScaledSubjectNames[] = {"化学", "生物", "政治", "地理"};
/// A subject with fewer students with a score is not scaled.
constexpr int kLeastScaledStudents = 30;

/// True for a subject of kScaledSubjectNames.
bool isScaledSubject(std::string_view name);

/// One grade of a rule: its name, its share of the students in hundredths of a percent, and the
/// lowest and highest scaled score it gives.
struct ScaleGrade {
    std::string name;
    int share = 0;
    int low = 0;
    int high = 0;
    bool operator==(const ScaleGrade&) const = default;
};

/// A rule: the grades from the top, their shares adding up to 100 %.
struct ScaleRule {
    std::string name;  ///< the built-in rule's name, "" for one written out
    std::vector<ScaleGrade> grades;
    bool operator==(const ScaleRule&) const = default;
};

/// The rule used when the settings name none: "3+1+2常用".
const ScaleRule& defaultScaleRule();

/// The rule of a settings value: the name of a built-in rule ("3+1+2常用", "八等级") or a rule
/// written out, grades separated by commas, each name:share:low-high
/// ("A:15:86-100,B:35:71-85,C:35:56-70,D:13:41-55,E:2:30-40"); none for any other text, shares
/// that do not add up to 100, or a range whose low end is above its high end.
std::optional<ScaleRule> scaleRuleNamed(std::string_view text);

/// The value the settings file keeps: the built-in rule's name, else the rule written out.
std::string scaleRuleText(const ScaleRule& rule);

/// The grades as 等级 cuts by share, for levelsByShare.
LevelCuts scaleRuleCuts(const ScaleRule& rule);

}  // namespace varnex
