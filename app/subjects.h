#pragma once
// The fixed vocabularies (subjects, grade levels) and the settings records of one examination.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/level_cuts.h"
#include "app/scale_rules.h"
#include "app/score_lines.h"

namespace varnex {

constexpr int kSubjectCount = 11;
/// Index that stands for the total (总分) where a report or a column needs it.
constexpr int kTotalIndex = 11;
constexpr int kGradeCount = 12;
/// StudentTable column of the total.
constexpr int kTotalColumn = 14;
/// StudentTable column of the first extra subject: the columns of a score sheet that name no
/// subject of the list are kept after the total, in the sheet's order.
constexpr int kFirstExtraColumn = kTotalColumn + 1;
/// Excellence percent of an extra subject that has none set.
constexpr int kDefaultExcellenceLine = 80;
/// 良好线 and 低分线 of a subject that has none set, in percent of its full mark.
constexpr int kDefaultGoodLine = 70;
constexpr int kDefaultLowLine = 40;

/// One of the eleven subjects, with its StudentTable column.
struct Subject {
    const char* name;
    int column;          ///< StudentTable column (3..13)
    int plausibleLimit;  ///< largest full mark accepted without asking
};

extern const std::array<Subject, kSubjectCount> kSubjects;
extern const char* const kTotalName;  // "总分"

/// The twelve grade level names in order: 一年级 … 九年级, 高一, 高二, 高三.
extern const std::array<const char*, kGradeCount> kGradeNames;
/// The grade selected at start-up (七年级).
constexpr int kDefaultGradeIndex = 6;
/// The first senior-high grade (高一).
constexpr int kSeniorGradeIndex = 9;

/// Full marks seeded into the settings file per grade (0: subject not examined).
extern const std::array<std::array<int, kSubjectCount>, kGradeCount> kGradeSeedFullMarks;

/// Index of a subject name, or -1 for any other text.
int subjectIndex(std::string_view name);

/// A subject outside the list (禁毒, 科学, 信息技术 …), examined when its full mark is positive and
/// the score sheet has a column of its name.
struct ExtraSubject {
    std::string name;
    int fullMark = 0;
    int excellenceLine = kDefaultExcellenceLine;
    int goodLine = kDefaultGoodLine;
    int lowLine = kDefaultLowLine;
};

/// Full marks and excellence lines of the selected grade.
struct ScoreSettings {
    std::array<int, kSubjectCount> fullMark{100, 100, 100, 100, 100, 100, 100, 100, 100, 40, 15};
    std::array<int, kSubjectCount> excellenceLine{80, 80, 80, 80, 80, 80, 80, 80, 80, 80, 80};
    /// The extra subjects of the grade, in the order they were named.
    std::vector<ExtraSubject> extra;
    /// The grade's 等级 cuts; none for the grade's default (defaultLevelCuts).
    std::optional<LevelCuts> levels;
    /// 良好线 and 低分线 in percent of the full mark: good at or above the one, low below the other.
    std::array<int, kSubjectCount> goodLine{70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70};
    std::array<int, kSubjectCount> lowLine{40, 40, 40, 40, 40, 40, 40, 40, 40, 40, 40};
    /// 计算赋分 (senior grades): the scaled scores of 化学, 生物, 政治 and 地理 are computed from
    /// their raw scores over the students of the exam.
    bool computeScaled = false;
    /// The grade's 赋分 rule; none for the default one (defaultScaleRule).
    std::optional<ScaleRule> scaleRule;
    /// The grade's 上线 lines of the total, per track or for every track.
    std::vector<ScoreLine> lines;

    /// The extra subject of that name, or nullptr.
    const ExtraSubject* findExtra(std::string_view name) const;
    /// Full mark of an extra subject; 0 when it has none.
    int extraFullMark(std::string_view name) const;
    /// Excellence percent of an extra subject; 80 when it has none.
    int extraExcellenceLine(std::string_view name) const;
    /// Sets the full mark (excellence percent) of an extra subject, adding it when it is not there
    /// yet; a name of the list of subjects (or "") is left alone.
    void setExtraFullMark(std::string_view name, int mark);
    void setExtraExcellenceLine(std::string_view name, int line);
    void setExtraGoodLine(std::string_view name, int line);
    void setExtraLowLine(std::string_view name, int line);

    /// Sum of the positive full marks (the extra subjects' too).
    int totalFullMark() const;
    /// Sum of fullMark × excellenceLine / 100 (integer) over the subjects with a positive full
    /// mark and an excellence line in 1..99 (the extra subjects' too): an absolute score.
    int totalExcellenceScore() const;

    /// Full mark of the named subject or extra subject; any other name gives totalFullMark().
    int fullMarkOf(std::string_view name) const;
    /// Excellence percent of the named subject or extra subject; any other name gives the absolute
    /// totalExcellenceScore().
    int excellenceLineOf(std::string_view name) const;
    /// 良好线 (低分线) percent of the named subject or extra subject; the default for any other name.
    int goodLineOf(std::string_view name) const;
    int lowLineOf(std::string_view name) const;
};

/// Totals computed from the texts of the edits, as they follow every keystroke.
int totalFullMarkFromTexts(const std::array<std::string, kSubjectCount>& fullMarks);
int totalExcellenceFromTexts(const std::array<std::string, kSubjectCount>& fullMarks,
                             const std::array<std::string, kSubjectCount>& excellenceLines);

/// StudentTable column of a subject name: 3..13, or 14 for any other name.
int columnOfSubject(std::string_view name);
/// StudentTable column of a subject or of one of a table's extra columns (named in their order):
/// 3..13, kFirstExtraColumn and after, or 14 for any other name.
int columnOfSubject(std::string_view name, const std::vector<std::string>& extraColumns);

/// The missing-subject rule of the student import.
struct ImportOptions {
    int missingRule = 0;  ///< 0: more than half missing skips; 1: more than missingLimit; 2: never
    int missingLimit = 4;
    /// 按赋分统计: where a sheet has both a subject's raw and scaled scores (化学, 化学赋分), the
    /// scaled ones are analysed, totals included; otherwise the raw ones. A subject with only a
    /// scaled column is analysed from it either way.
    bool scaledScores = false;
};

/// 名次方式: how students with equal totals share a place in 总分前N名, 班级总分排名 and 学生进退步.
enum class RankingRule {
    /// No choice made (a settings file written before the choice existed): 1, 2, 2, 3 in 总分前N名
    /// and 班级总分排名, 1, 2, 2, 4 in 学生进退步, and no sheet names a rule.
    Unchosen,
    Competition,  ///< 并列占位: 1, 2, 2, 4, as the spreadsheet's RANK()
    Dense,        ///< 并列不占位: 1, 2, 2, 3
};

/// The rule's name, "并列占位" or "并列不占位"; "" for Unchosen.
const char* rankingRuleName(RankingRule rule);
/// The places the rule gives to four totals of which the middle two tie, "1,2,2,4" or "1,2,2,3";
/// "" for Unchosen.
const char* rankingRulePlaces(RankingRule rule);
/// The rule of a name ("并列占位", "并列不占位"); Unchosen for any other text.
RankingRule rankingRuleNamed(std::string_view name);

/// 分别导出: beside the whole result workbook, one workbook per school or per class.
enum class SplitFiles {
    None,      ///< 不分
    BySchool,  ///< 按学校
    ByClass,   ///< 按班级
};

/// The choice's name, "不分", "按学校" or "按班级" (the settings value and the window's caption).
const char* splitFilesName(SplitFiles split);
/// The choice of a name; None for any other text.
SplitFiles splitFilesNamed(std::string_view name);

/// The report choices of an export.
struct ExportOptions {
    bool gradeRates = true;
    bool classRates = true;
    bool teacherRates = true;
    bool subjectBands = true;
    bool totalBands = true;
    bool totalRankBands = true;
    bool topNEnabled = true;
    int topN = 50;
    bool classRanking = true;
    int classRankingLayout = 1;  ///< 0: one sheet per class, 1: all classes in one sheet
    bool ignoreZeroScores = false;
    /// How a blank score or a text such as 缺考 is counted: false, as a sat 0; true, the student
    /// did not sit that subject (left out of its counts, averages, bands and of the 总分 lines).
    bool blankScoresExcluded = false;
    /// 统计图表: charts of the other reports' figures. Off unless the settings file turns it on
    /// (a newly seeded file does; files written before it existed do not).
    bool charts = false;
    /// 学生进退步 and 班级进退步 against the previous exam, and 临界生 near the total's lines;
    /// off unless chosen (the settings file seeds them off).
    bool progress = false;
    bool nearLine = false;
    /// 等级分布: the students of each level per class, school and exam; off unless chosen.
    bool levelDistribution = false;
    /// 不公布名次: no sheet shows students' places.
    bool noRanks = false;
    /// 按科类分别统计: students' places counted within their track (物理类 / 历史类) and the rate
    /// sheets written once per track; off unless chosen.
    bool byTrack = false;
    /// 上线分析: per school, class and track, the students at or above the grade's 上线 lines.
    bool scoreLines = false;
    /// 临界线 上线: 临界生 are those near the grade's 上线 lines instead of the total's excellence
    /// and pass lines.
    bool nearScoreLines = false;
    /// Points below and above a line within which a total makes a student 临界生.
    int nearBand = 10;
    /// The places of students with equal totals (settings key 名次方式; a new settings file is
    /// seeded with 并列占位). 总分名次段 always counts 1, 2, 2, 4.
    RankingRule rankingRule = RankingRule::Unchosen;
    /// Page setup, frozen panes and fitted column widths of the result sheets. Not kept in the
    /// settings file; turned off only to measure what they cost.
    bool printLayout = true;
    /// 分别导出 (settings key 分别导出; missing: 不分).
    SplitFiles split = SplitFiles::None;
    /// 四率: 良好率 and 低分率 beside the three rates, with their counts and ranks.
    bool fourRates = false;
    /// 扩展指标: 超均率, 标准差, 最高分 and 最低分 beside the three rates.
    bool moreFigures = false;
    /// 学生标准分: each student's Z and T score per subject and for the total; off unless chosen.
    bool standardScores = false;
    /// 小题分析 and 小题明细 of each question-score sheet read; off unless chosen.
    bool questionAnalysis = false;
    bool questionDetail = false;
};

}  // namespace varnex
