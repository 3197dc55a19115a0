#include "sheets/report_sheets.h"

#include <iterator>
#include <utility>

#include "analysis/near_line.h"
#include "analysis/progress_figures.h"
#include "sheets/chart_sheet.h"
#include "sheets/class_ranking.h"
#include "sheets/contents_sheet.h"
#include "sheets/level_distribution.h"
#include "sheets/line_reach.h"
#include "sheets/near_line.h"
#include "sheets/print_layout.h"
#include "sheets/progress_sheets.h"
#include "sheets/question_sheets.h"
#include "sheets/rank_bands.h"
#include "sheets/rate_sheets.h"
#include "sheets/scaled_scores.h"
#include "sheets/score_bands.h"
#include "sheets/standard_scores.h"
#include "sheets/subject_bands.h"
#include "sheets/top_n.h"

namespace varnex {

const StudentListings& SheetWork::listings() {
    if (!listings_) listings_ = listStudents(exam_);
    return *listings_;
}

const ProgressPairing& SheetWork::pairing() {
    if (!pairing_) pairing_ = pairWithPrevious(exam_);
    return *pairing_;
}

const ExamLevels& SheetWork::levels() {
    if (!levels_) levels_.emplace(exam_);
    return *levels_;
}

const QuestionAnalysis& SheetWork::questions(size_t i) {
    auto it = questions_.find(i);
    if (it == questions_.end()) {
        it = questions_.emplace(i, analyseQuestions(exam_, exam_.questionSheets()[i])).first;
        if (!it->second.unmatchedNote.empty()) log(it->second.unmatchedNote);
    }
    return it->second;
}

namespace {

/// Fills one sheet of a kind.
using SheetWriter = Status (*)(ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan& plan,
                               SheetWork& work);

/// One kind of report sheet. Every report sheet has its title in row 1 and its headers in row 3
/// (临界生 and the progress sheets have a note under the title, their headers in row 4); the ranking
/// sheets name each student in their first columns (序号, 学校, 班级, 姓名, or 序号, 姓名 for one
/// class); the rate sheets and 各科分数段 run in blocks merged down column A; the contents sheet
/// has its header in row 1; the chart sheet lays itself out.
struct ReportSheet {
    SheetKind kind;
    const char* family;
    SheetHeading heading;
    SheetWriter write;
};

// In SheetKind order.
constexpr ReportSheet kReportSheets[] = {
    {SheetKind::TotalRankBands,
     "rank bands",
     {3, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeRankBands(sheet, work.exam(), planned.title);
         return {};
     }},
    {SheetKind::TotalBands,
     "total bands",
     {3, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         Result<TotalBandsPlaces> places = writeScoreBands(sheet, work.exam(), planned.title);
         if (!places) return places.failure();
         work.figurePlaces.totalBands = std::move(*places);
         return {};
     }},
    {SheetKind::SubjectBands,
     "subject bands",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeSubjectBands(sheet, work.exam(), planned.title);
     }},
    {SheetKind::LevelDistribution,
     "level distribution",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         Result<LevelDistributionPlaces> places =
             writeLevelDistribution(sheet, work.exam(), levelDistribution(work.exam()), planned.title);
         if (!places) return places.failure();
         work.figurePlaces.levelDistribution = std::move(*places);
         return {};
     }},
    {SheetKind::StandardScores,
     "standard scores",
     {3, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeStandardScores(sheet, work.exam(), StandardScores(work.exam()), planned.title);
     }},
    {SheetKind::ScaledScores,
     "scaled scores",
     {3, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeScaledScores(sheet, work.exam(), *work.exam().scaledScores(), planned.title);
     }},
    {SheetKind::ScoreLines,
     "score lines",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeLineReach(sheet, work.exam(), lineReach(work.exam()), planned.title);
     }},
    {SheetKind::TeacherRates,
     "teacher rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeTeacherRates(sheet, work.exam(), planned.title);
     }},
    {SheetKind::ClassRates,
     "class rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         work.figurePlaces.classRates = writeClassRates(sheet, work.exam(), planned.title);
         return {};
     }},
    {SheetKind::GradeRates,
     "grade rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         work.figurePlaces.gradeRates = writeGradeRates(sheet, work.exam(), planned.title);
         return {};
     }},
    {SheetKind::TopN,
     "top N",
     {3, 4},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeTopN(sheet, work.exam(), work.listings().topN, planned.title);
         return {};
     }},
    {SheetKind::ClassRankingPerClass,
     "class ranking",
     {3, 2},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeClassSheet(sheet, work.exam(), work.listings().classes[static_cast<size_t>(planned.classIndex)],
                         planned.title, work.levelsInsteadOfPlaces());
         return {};
     }},
    {SheetKind::ClassRankingAll,
     "class ranking",
     {3, 4},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeAllClassesSheet(
             sheet, work.exam(), work.listings().classes, planned.title,
             [&work](const std::string& line) { work.log(line); }, work.levelsInsteadOfPlaces());
         return {};
     }},
    {SheetKind::NearLine,
     "near line",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeNearLine(sheet, work.exam(), nearLineStudents(work.exam()), planned.title);
     }},
    {SheetKind::ClassProgress,
     "progress",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeClassProgress(sheet, work.exam(), classProgress(work.exam(), work.pairing()), planned.title);
         return {};
     }},
    {SheetKind::StudentProgress,
     "progress",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         if (work.exam().options().noRanks) {
             const ExamLevels& levels = work.levels();
             std::vector<int> ownLevels(static_cast<size_t>(work.exam().studentCount()));
             const size_t total = levels.columnCount() - 1;
             for (size_t s = 0; s < ownLevels.size(); ++s)
                 ownLevels[s] = levels.level(static_cast<int>(s), total);
             return writeStudentLevelProgress(
                 sheet, work.exam(), levels.cuts(),
                 studentLevelProgress(work.exam(), work.pairing(), ownLevels,
                                      previousTotalLevels(work.exam(), levels.cuts())),
                 planned.title);
         }
         return writeStudentProgress(sheet, work.exam(), studentProgress(work.exam(), work.pairing()),
                                     planned.title);
     }},
    {SheetKind::QuestionAnalysis,
     "questions",
     {5, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeQuestionAnalysis(
             sheet, work.exam(), work.questions(static_cast<size_t>(planned.questionSheet)), planned.title);
     }},
    {SheetKind::QuestionDetail,
     "questions",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeQuestionDetail(
             sheet, work.exam(), work.questions(static_cast<size_t>(planned.questionSheet)), planned.title);
     }},
    {SheetKind::Charts,
     "charts",
     {1, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeChartSheet(sheet, work.exam(), work.figurePlaces, planned.title);
         return {};
     }},
    {SheetKind::Contents,
     "contents",
     {1, 0},
     [](ExcelSheet& sheet, const PlannedSheet&, const SheetPlan& plan, SheetWork&) -> Status {
         writeContentsSheet(sheet, plan);
         return {};
     }},
};
static_assert(std::size(kReportSheets) == static_cast<size_t>(SheetKind::Contents) + 1);

constexpr bool inKindOrder() {
    for (size_t i = 0; i < std::size(kReportSheets); ++i) {
        if (kReportSheets[i].kind != static_cast<SheetKind>(i)) return false;
    }
    return true;
}
static_assert(inKindOrder(), "kReportSheets lists the kinds in SheetKind order");

const ReportSheet& reportSheet(SheetKind kind) {
    return kReportSheets[static_cast<size_t>(kind)];
}

}  // namespace

Status writePlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan& plan,
                         SheetWork& work) {
    return reportSheet(planned.kind).write(sheet, planned, plan, work);
}

void layOutPlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const Exam& exam) {
    if (!exam.options().printLayout || planned.kind == SheetKind::Charts) return;
    const SheetHeading heading = sheetHeading(planned.kind);
    const std::string title = planned.kind == SheetKind::Contents
                                  ? sheetTitle(exam.examName(), planned.tabName, exam.gradeName())
                                  : planned.title;
    layOutReportSheet(
        sheet, title,
        {heading.rows, heading.nameColumns, planned.kind != SheetKind::Contents, heading.blocks});
}

const char* sheetFamily(SheetKind kind) {
    return reportSheet(kind).family;
}

SheetHeading sheetHeading(SheetKind kind) {
    return reportSheet(kind).heading;
}

}  // namespace varnex
