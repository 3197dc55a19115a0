#include "app/subjects.h"

#include <climits>

#include "app/app_texts.h"
#include "base/text_util.h"

namespace varnex {

const std::array<Subject, kSubjectCount> kSubjects{{
    {"语文", 3, 150},
    {"数学", 4, 150},
    {"英语", 5, 150},
    {"物理", 6, 100},
    {"化学", 7, 100},
    {"生物", 8, 100},
    {"历史", 9, 100},
    {"地理", 10, 100},
    {"政治", 11, 100},
    {"体育", 12, 40},
    {"实验", 13, 15},
}};

const char* const kTotalName = "总分";

const std::array<const char*, kGradeCount> kGradeNames{
    "一年级", "二年级", "三年级", "四年级", "五年级", "六年级",
    "七年级", "八年级", "九年级", "高一",   "高二",   "高三",
};

// Columns: 语文 数学 英语 物理 化学 生物 历史 地理 政治 体育 实验
const std::array<std::array<int, kSubjectCount>, kGradeCount> kGradeSeedFullMarks{{
    {100, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {100, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0},
    {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0},
    {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0},
    {100, 100, 100, 0, 0, 0, 0, 0, 0, 0, 0},
    {150, 150, 150, 0, 0, 100, 100, 100, 100, 0, 0},
    {150, 150, 150, 100, 0, 100, 100, 100, 100, 0, 0},
    {150, 150, 150, 90, 60, 0, 70, 0, 80, 50, 15},
    {150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0},
    {150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0},
    {150, 150, 150, 100, 100, 100, 100, 100, 100, 0, 0},
}};

const char* rankingRuleName(RankingRule rule) {
    switch (rule) {
        case RankingRule::Competition:
            return app_texts::kCompetitionRanking;
        case RankingRule::Dense:
            return app_texts::kDenseRanking;
        case RankingRule::Unchosen:
            break;
    }
    return "";
}

const char* rankingRulePlaces(RankingRule rule) {
    switch (rule) {
        case RankingRule::Competition:
            return app_texts::kCompetitionPlaces;
        case RankingRule::Dense:
            return app_texts::kDensePlaces;
        case RankingRule::Unchosen:
            break;
    }
    return "";
}

RankingRule rankingRuleNamed(std::string_view name) {
    if (name == app_texts::kCompetitionRanking) return RankingRule::Competition;
    if (name == app_texts::kDenseRanking) return RankingRule::Dense;
    return RankingRule::Unchosen;
}

const char* splitFilesName(SplitFiles split) {
    switch (split) {
        case SplitFiles::BySchool:
            return app_texts::kSplitBySchool;
        case SplitFiles::ByClass:
            return app_texts::kSplitByClass;
        case SplitFiles::None:
            break;
    }
    return app_texts::kSplitNone;
}

SplitFiles splitFilesNamed(std::string_view name) {
    if (name == app_texts::kSplitBySchool) return SplitFiles::BySchool;
    if (name == app_texts::kSplitByClass) return SplitFiles::ByClass;
    return SplitFiles::None;
}

int subjectIndex(std::string_view name) {
    for (int i = 0; i < kSubjectCount; ++i) {
        if (name == kSubjects[static_cast<size_t>(i)].name) return i;
    }
    return -1;
}

namespace {

int excellenceContribution(int fullMark, int line) {
    if (fullMark <= 0) return 0;
    if (line < 1 || line > 99) return 0;
    return static_cast<int>(static_cast<long long>(fullMark) * line / 100);
}

// Eleven values of at most INT_MAX each cannot overflow a long long; a total beyond the int range
// (only from absurd entries) shows as the largest int rather than wrapping to a negative value.
int clampTotal(long long sum) {
    return sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

}  // namespace

const ExtraSubject* ScoreSettings::findExtra(std::string_view name) const {
    for (const ExtraSubject& subject : extra) {
        if (subject.name == name) return &subject;
    }
    return nullptr;
}

int ScoreSettings::extraFullMark(std::string_view name) const {
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->fullMark : 0;
}

int ScoreSettings::extraExcellenceLine(std::string_view name) const {
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->excellenceLine : kDefaultExcellenceLine;
}

namespace {

ExtraSubject* extraToSet(std::vector<ExtraSubject>& extra, std::string_view name) {
    if (name.empty() || subjectIndex(name) >= 0 || name == kTotalName) return nullptr;
    for (ExtraSubject& subject : extra) {
        if (subject.name == name) return &subject;
    }
    return &extra.emplace_back(ExtraSubject{std::string(name)});
}

}  // namespace

void ScoreSettings::setExtraFullMark(std::string_view name, int mark) {
    if (ExtraSubject* subject = extraToSet(extra, name)) subject->fullMark = mark;
}

void ScoreSettings::setExtraExcellenceLine(std::string_view name, int line) {
    if (ExtraSubject* subject = extraToSet(extra, name)) subject->excellenceLine = line;
}

void ScoreSettings::setExtraGoodLine(std::string_view name, int line) {
    if (ExtraSubject* subject = extraToSet(extra, name)) subject->goodLine = line;
}

void ScoreSettings::setExtraLowLine(std::string_view name, int line) {
    if (ExtraSubject* subject = extraToSet(extra, name)) subject->lowLine = line;
}

int ScoreSettings::totalFullMark() const {
    long long sum = 0;
    for (int f : fullMark) {
        if (f > 0) sum += f;
    }
    for (const ExtraSubject& subject : extra) {
        if (subject.fullMark > 0) sum += subject.fullMark;
    }
    return clampTotal(sum);
}

int ScoreSettings::totalExcellenceScore() const {
    long long sum = 0;
    for (size_t i = 0; i < fullMark.size(); ++i)
        sum += excellenceContribution(fullMark[i], excellenceLine[i]);
    for (const ExtraSubject& subject : extra)
        sum += excellenceContribution(subject.fullMark, subject.excellenceLine);
    return clampTotal(sum);
}

int ScoreSettings::fullMarkOf(std::string_view name) const {
    int i = subjectIndex(name);
    if (i >= 0) return fullMark[static_cast<size_t>(i)];
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->fullMark : totalFullMark();
}

int ScoreSettings::excellenceLineOf(std::string_view name) const {
    int i = subjectIndex(name);
    if (i >= 0) return excellenceLine[static_cast<size_t>(i)];
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->excellenceLine : totalExcellenceScore();
}

int ScoreSettings::goodLineOf(std::string_view name) const {
    int i = subjectIndex(name);
    if (i >= 0) return goodLine[static_cast<size_t>(i)];
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->goodLine : kDefaultGoodLine;
}

int ScoreSettings::lowLineOf(std::string_view name) const {
    int i = subjectIndex(name);
    if (i >= 0) return lowLine[static_cast<size_t>(i)];
    const ExtraSubject* subject = findExtra(name);
    return subject != nullptr ? subject->lowLine : kDefaultLowLine;
}

int totalFullMarkFromTexts(const std::array<std::string, kSubjectCount>& fullMarks) {
    long long sum = 0;
    for (const auto& text : fullMarks) {
        int f = cAtoi(text);
        if (f > 0) sum += f;
    }
    return clampTotal(sum);
}

int totalExcellenceFromTexts(const std::array<std::string, kSubjectCount>& fullMarks,
                             const std::array<std::string, kSubjectCount>& excellenceLines) {
    long long sum = 0;
    for (size_t i = 0; i < fullMarks.size(); ++i) {
        int f = cAtoi(fullMarks[i]);
        if (f <= 0) continue;
        sum += excellenceContribution(f, cAtoi(excellenceLines[i]));
    }
    return clampTotal(sum);
}

int columnOfSubject(std::string_view name) {
    int i = subjectIndex(name);
    return i < 0 ? kTotalColumn : kSubjects[static_cast<size_t>(i)].column;
}

int columnOfSubject(std::string_view name, const std::vector<std::string>& extraColumns) {
    if (subjectIndex(name) >= 0) return columnOfSubject(name);
    for (size_t k = 0; k < extraColumns.size(); ++k) {
        if (extraColumns[k] == name) return kFirstExtraColumn + static_cast<int>(k);
    }
    return kTotalColumn;
}

}  // namespace varnex
