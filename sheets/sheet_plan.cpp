#include "sheets/sheet_plan.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <string_view>

#include "base/text_util.h"
#include "base/utf8.h"
#include "sheets/ranking_rows.h"
#include "sheets/report_sheets.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

bool plans(const SheetPlan& plan, SheetKind kind) {
    return std::any_of(plan.sheets.begin(), plan.sheets.end(),
                       [kind](const PlannedSheet& s) { return s.kind == kind; });
}

std::string sheetTitle(const std::string& examName, const std::string& item, const std::string& gradeName) {
    return strprintf(tx::kTitleFormat, examName.c_str(), item.c_str(), gradeName.c_str());
}

std::vector<const PlannedSheet*> SheetPlan::contentsOrder() const {
    std::vector<const PlannedSheet*> listed;
    for (const auto& s : sheets) {
        if (s.kind != SheetKind::Contents) listed.push_back(&s);
    }
    std::sort(listed.begin(), listed.end(),
              [](const PlannedSheet* a, const PlannedSheet* b) { return a->position < b->position; });
    return listed;
}

namespace {

// Cuts a UTF-8 text at a character edge so that it takes at most `units` UTF-16 units.
std::string cutToUnits(const std::string& utf8, size_t units) {
    size_t used = 0, i = 0;
    while (i < utf8.size()) {
        const Utf8Char ch = nextUtf8Char(utf8, i);
        const size_t cost = ch.codePoint > 0xFFFF ? 2 : 1;
        if (used + cost > units) break;
        used += cost;
        i += ch.length;
    }
    return utf8.substr(0, i);
}

std::string lowerAscii(std::string s) {
    for (char& ch : s) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return s;
}

// A tab name the spreadsheet accepts: at most 31 characters, none of : \ / ? * [ ], no quote at
// either end, and unique in the workbook. Names that already qualify stay as they are. Only the
// per-class names (school and class as imported) can fail; the fixed names are reserved first, so
// that a class never takes the name of 目录 or of another report. The new workbook's own names
// "Sheet1" … are reserved as well: a sheet further on still carries its one while a class sheet is
// being named.
void makeTabNamesUsable(std::vector<PlannedSheet>& sheets) {
    constexpr size_t kMaxUnits = 31;
    std::set<std::string> taken;
    for (const auto& sheet : sheets) {
        if (sheet.kind != SheetKind::ClassRankingPerClass) taken.insert(lowerAscii(sheet.tabName));
    }
    for (size_t k = 1; k <= std::max<size_t>(sheets.size(), 3); ++k)
        taken.insert("sheet" + std::to_string(k));
    for (auto& sheet : sheets) {
        if (sheet.kind != SheetKind::ClassRankingPerClass) continue;
        std::string name = sheet.tabName;
        for (char& ch : name) {
            if (std::string_view(":\\/?*[]").find(ch) != std::string_view::npos) ch = '_';
        }
        if (!name.empty() && name.front() == '\'') name.front() = '_';
        if (!name.empty() && name.back() == '\'') name.back() = '_';
        if (name.empty()) name = "_";
        name = cutToUnits(name, kMaxUnits);
        std::string candidate = name;
        for (int k = 2; taken.count(lowerAscii(candidate)) != 0 || lowerAscii(candidate) == "history"; ++k) {
            std::string suffix = " (" + std::to_string(k) + ")";
            candidate = cutToUnits(name, kMaxUnits - suffix.size()) + suffix;
        }
        taken.insert(lowerAscii(candidate));
        sheet.tabName = candidate;
    }
}

}  // namespace

SheetPlan buildSheetPlan(const Exam& exam, const SheetScope& scope) {
    const ExportOptions& o = exam.options();
    const std::string& examName = exam.examName();
    const std::string& grade = exam.gradeName();
    SheetPlan plan;
    auto add = [&](SheetKind kind, const char* name) {
        plan.sheets.push_back({kind, name, sheetTitle(examName, name, grade), name});
    };
    // Produced first, so that their tabs read 学生进退步, 班级进退步, 临界生 after all others.
    if (o.nearLine) add(SheetKind::NearLine, tx::kNearLine);
    if (o.progress) {
        add(SheetKind::ClassProgress, tx::kClassProgress);
        add(SheetKind::StudentProgress, tx::kStudentProgress);
    }
    // One pair per subject, produced last subject first so that their tabs read in the order read.
    const std::vector<QuestionScores>& questionSheets = exam.questionSheets();
    for (size_t i = questionSheets.size(); i-- > 0;) {
        const char* subject = questionSheets[i].source.subject.c_str();
        auto addQuestions = [&](SheetKind kind, const char* format) {
            const std::string name = strprintf(format, subject);
            plan.sheets.push_back({kind, name, sheetTitle(examName, name, grade), name});
            plan.sheets.back().questionSheet = static_cast<int>(i);
        };
        if (o.questionDetail) addQuestions(SheetKind::QuestionDetail, tx::kQuestionDetailFormat);
        if (o.questionAnalysis) addQuestions(SheetKind::QuestionAnalysis, tx::kQuestionAnalysisFormat);
    }
    if (o.totalRankBands) add(SheetKind::TotalRankBands, tx::kTotalRankBands);
    if (o.totalBands) add(SheetKind::TotalBands, tx::kTotalBands);
    if (o.subjectBands) add(SheetKind::SubjectBands, tx::kSubjectBands);
    // Its tab follows the rate sheets.
    if (o.levelDistribution) add(SheetKind::LevelDistribution, tx::kLevelDistribution);
    // With 计算赋分, when some subject was scaled.
    if (exam.scaledScores() != nullptr && !exam.scaledScores()->subjects.empty())
        add(SheetKind::ScaledScores, tx::kScaledScores);
    if (o.scoreLines) add(SheetKind::ScoreLines, tx::kScoreLines);
    // With tracks, one of each per track, produced last track first so that their tabs read in
    // track order.
    const std::vector<ExamTrack>& tracks = exam.tracks();
    auto addRates = [&](SheetKind kind, const char* name) {
        if (tracks.empty()) return add(kind, name);
        for (size_t t = tracks.size(); t-- > 0;) {
            if (kind == SheetKind::TeacherRates && !tracks[t].exam->hasTeachersOfExam()) continue;
            const std::string tabName = strprintf(tx::kTrackSheetFormat, name, trackLabel(tracks[t]).c_str());
            plan.sheets.push_back({kind, tabName, sheetTitle(examName, tabName, grade), tabName});
            plan.sheets.back().track = static_cast<int>(t);
        }
    };
    if (o.teacherRates) addRates(SheetKind::TeacherRates, tx::kTeacherRates);
    if (o.classRates) addRates(SheetKind::ClassRates, tx::kClassRates);
    if (o.gradeRates) addRates(SheetKind::GradeRates, tx::kGradeRates);
    if (o.topNEnabled) {
        std::string name = strprintf(tx::kTopNFormat, o.topN);
        plan.sheets.push_back({SheetKind::TopN, name, sheetTitle(examName, name, grade), name});
    }
    // Its tab follows 班级总分排名; it shows places of a kind, so 不公布名次 leaves it out.
    if (o.standardScores && !o.noRanks) add(SheetKind::StandardScores, tx::kStandardScores);
    const ClassList& classes = exam.imported().classList;
    if (o.classRanking && o.classRankingLayout == 0) {
        for (size_t i = 0; i < classes.size(); ++i) {
            auto [school, klass] = classes.parts(i);
            plan.sheets.push_back({SheetKind::ClassRankingPerClass, school + klass,
                                   strprintf(tx::kClassTitleFormat, examName.c_str(), school.c_str(),
                                             grade.c_str(), klass.c_str()),
                                   strprintf(tx::kClassItemFormat, school.c_str(), klass.c_str()),
                                   static_cast<int>(i)});
        }
    } else if (o.classRanking) {
        add(SheetKind::ClassRankingAll, tx::kClassRanking);
    }
    if (o.charts) add(SheetKind::Charts, tx::kCharts);
    plan.sheets.push_back({SheetKind::Contents, tx::kContents, std::string(), tx::kContents});
    // A part's own workbook: the sheets that can show a part, and of the classes' own sheets those
    // of its classes.
    if (!scope.wholeExam()) {
        std::erase_if(plan.sheets, [&](const PlannedSheet& s) {
            if (!followsScope(s.kind)) return true;
            if (s.track >= 0) {
                const ClassList& ofTrack = tracks[static_cast<size_t>(s.track)].exam->imported().classList;
                return scope.shownClasses(ofTrack).empty();
            }
            if (s.kind != SheetKind::ClassRankingPerClass) return false;
            auto [school, klass] = classes.parts(static_cast<size_t>(s.classIndex));
            return !scope.showsClass(school, klass);
        });
    }
    makeTabNamesUsable(plan.sheets);

    const int n = plan.sheetCount();
    for (int i = 0; i < n; ++i) plan.sheets[static_cast<size_t>(i)].position = n - i;
    // The sheets of one class each, produced in class order, read in class order from left to right
    // too: their block of tabs is turned round.
    auto perClass = [](const PlannedSheet& s) { return s.kind == SheetKind::ClassRankingPerClass; };
    auto first = std::find_if(plan.sheets.begin(), plan.sheets.end(), perClass);
    auto last = std::find_if_not(first, plan.sheets.end(), perClass);
    const auto count = last - first;
    for (std::ptrdiff_t k = 0; k < count / 2; ++k)
        std::swap(first[k].position, first[count - 1 - k].position);

    // The item list runs against production order. The sheets of one class each are one line:
    // a list of every class would make the confirmation taller than any screen.
    plan.itemList = std::string(tx::kContents) + "\n";
    if (o.classRanking && o.classRankingLayout == 0) {
        plan.itemList +=
            strprintf(tx::kClassSheetsItemFormat,
                      static_cast<int>(std::count_if(plan.sheets.begin(), plan.sheets.end(), perClass))) +
            "\n";
    } else if (o.classRanking) {
        plan.itemList += std::string(tx::kClassRanking) + "\n";
    }
    for (auto it = plan.sheets.rbegin(); it != plan.sheets.rend(); ++it) {
        if (it->kind != SheetKind::Contents && it->kind != SheetKind::ClassRankingPerClass &&
            it->kind != SheetKind::ClassRankingAll && it->kind != SheetKind::Charts)
            plan.itemList += it->item + "\n";
    }
    // The charts come last.
    if (plans(plan, SheetKind::Charts)) plan.itemList += std::string(tx::kCharts) + "\n";
    return plan;
}

}  // namespace varnex
