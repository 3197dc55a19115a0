#include "sheets/report_sheets.h"

#include <iterator>
#include <utility>
#include <vector>

#include "analysis/near_line.h"
#include "analysis/progress_figures.h"
#include "analysis/rates.h"
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

SheetWork SheetWork::scopedTo(SheetScope scope) const {
    SheetWork work(exam_, nullptr);
    work.shared_ = shared_;
    work.scope_ = std::move(scope);
    return work;
}

const StudentListings& SheetWork::listings() {
    if (!shared_->listings) shared_->listings = listStudents(exam_);
    return *shared_->listings;
}

const ProgressPairing& SheetWork::pairing() {
    if (!shared_->pairing) shared_->pairing = pairWithPrevious(exam_);
    return *shared_->pairing;
}

const ExamLevels& SheetWork::levels() {
    if (!shared_->levels) shared_->levels.emplace(exam_);
    return *shared_->levels;
}

const QuestionAnalysis& SheetWork::questions(size_t i) {
    auto it = shared_->questions.find(i);
    if (it == shared_->questions.end()) {
        it = shared_->questions.emplace(i, analyseQuestions(exam_, exam_.questionSheets()[i])).first;
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
    /// Its rows obey the work's SheetScope. A kind that does not say so is left out of a school's
    /// or class's own workbook, so that no part's workbook shows another part's students.
    bool followsScope = false;
};

// The students of the scope among the rows of a listing.
template <typename Row>
std::vector<Row> shownStudents(const SheetWork& work, const std::vector<Row>& rows) {
    return work.scope().studentsShown(work.exam(), rows, [](const Row& row) {
        if constexpr (requires { row.student; })
            return row.student;
        else
            return row.row;
    });
}

// The exam a rate sheet counts: its track's (按科类分别统计), else the whole exam.
const Exam& examOf(const PlannedSheet& planned, const SheetWork& work) {
    if (planned.track < 0) return work.exam();
    return *work.exam().tracks()[static_cast<size_t>(planned.track)].exam;
}

// The key of a figure table of the sheet's exam: the track's figures apart from the whole exam's.
std::string figuresKey(const char* key, const PlannedSheet& planned) {
    return planned.track < 0 ? std::string(key) : std::string(key) + " " + std::to_string(planned.track);
}

// 扩展指标's reference figures of the class and teacher sheets, none without 扩展指标.
const ClassReference* classReferenceOf(SheetWork& work, const PlannedSheet& planned) {
    if (!work.exam().options().moreFigures) return nullptr;
    const Exam& exam = examOf(planned, work);
    return &work.figures<ClassReference>(figuresKey("class reference", planned),
                                         [&] { return classReference(exam); });
}

// In SheetKind order.
constexpr ReportSheet kReportSheets[] = {
    {SheetKind::TotalRankBands,
     "rank bands",
     {3, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const BandTable& counts =
             work.figures<BandTable>("rank bands", [&] { return rankBandCounts(work.exam()); });
         writeScopedRankBands(sheet, work.exam(), counts, planned.title, work.scope());
         return {};
     },
     true},
    {SheetKind::TotalBands,
     "total bands",
     {3, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const BandTable& counts =
             work.figures<BandTable>("total bands", [&] { return totalBandCounts(work.exam()); });
         Result<TotalBandsPlaces> places =
             writeScopedScoreBands(sheet, work.exam(), counts, planned.title, work.scope());
         if (!places) return places.failure();
         work.figurePlaces.totalBands = std::move(*places);
         return {};
     },
     true},
    {SheetKind::SubjectBands,
     "subject bands",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const auto& counts = work.figures<std::vector<BandTable>>(
             "subject bands", [&] { return subjectBandCounts(work.exam()); });
         return writeScopedSubjectBands(sheet, work.exam(), counts, planned.title, work.scope());
     },
     true},
    {SheetKind::LevelDistribution,
     "level distribution",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const LevelDistribution& levels =
             work.figures<LevelDistribution>("levels", [&] { return levelDistribution(work.exam()); });
         Result<LevelDistributionPlaces> places =
             writeLevelDistribution(sheet, work.exam(), levels, planned.title, work.scope());
         if (!places) return places.failure();
         work.figurePlaces.levelDistribution = std::move(*places);
         return {};
     },
     true},
    {SheetKind::StandardScores,
     "standard scores",
     {3, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const StandardScores& scores =
             work.figures<StandardScores>("standard scores", [&] { return StandardScores(work.exam()); });
         return writeStandardScores(sheet, work.exam(), scores, planned.title, work.scope());
     },
     true},
    {SheetKind::ScaledScores,
     "scaled scores",
     {3, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeScaledScores(sheet, work.exam(), *work.exam().scaledScores(), planned.title,
                                  work.scope());
     },
     true},
    {SheetKind::ScoreLines,
     "score lines",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const auto& reach =
             work.figures<std::vector<TrackReach>>("line reach", [&] { return lineReach(work.exam()); });
         return writeLineReach(sheet, work.exam(), reach, planned.title, work.scope());
     },
     true},
    {SheetKind::TeacherRates,
     "teacher rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const Exam& exam = examOf(planned, work);
         const TeacherRateTable& found = work.figures<TeacherRateTable>(figuresKey("teacher rates", planned),
                                                                        [&] { return teacherRates(exam); });
         const ClassReference* reference = classReferenceOf(work, planned);
         if (work.scope().wholeExam())
             return writeScopedTeacherRates(sheet, exam, found, planned.title, work.scope(), nullptr,
                                            reference);
         const TeacherRateRanks& ranks = work.figures<TeacherRateRanks>(
             figuresKey("teacher rate ranks", planned), [&] { return teacherRateRanks(exam, found); });
         return writeScopedTeacherRates(sheet, exam, found, planned.title, work.scope(), &ranks, reference);
     },
     true},
    {SheetKind::ClassRates,
     "class rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const Exam& exam = examOf(planned, work);
         const auto& rates = work.figures<std::vector<ClassRates>>(figuresKey("class rates", planned),
                                                                   [&] { return classRates(exam); });
         const ClassReference* reference = classReferenceOf(work, planned);
         const ClassRateRanks* ranks =
             work.scope().wholeExam()
                 ? nullptr
                 : &work.figures<ClassRateRanks>(figuresKey("class rate ranks", planned),
                                                 [&] { return classRateRanks(exam, rates); });
         ClassRatesPlaces places =
             writeScopedClassRates(sheet, exam, rates, planned.title, work.scope(), ranks, reference);
         // The charts read the whole exam's classes only.
         if (planned.track < 0) work.figurePlaces.classRates = std::move(places);
         return {};
     },
     true},
    {SheetKind::GradeRates,
     "grade rates",
     {3, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const Exam& exam = examOf(planned, work);
         const auto& rates = work.figures<std::vector<SchoolRates>>(figuresKey("grade rates", planned),
                                                                    [&] { return gradeRates(exam); });
         const std::vector<RateGroup>* reference =
             exam.options().moreFigures
                 ? &work.figures<std::vector<RateGroup>>(figuresKey("grade reference", planned),
                                                         [&] { return gradeReference(exam); })
                 : nullptr;
         GradeRatesPlaces places =
             writeScopedGradeRates(sheet, exam, rates, planned.title, work.scope(), reference);
         if (planned.track < 0) work.figurePlaces.gradeRates = std::move(places);
         return {};
     },
     true},
    {SheetKind::TopN,
     "top N",
     {3, 4},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeTopN(sheet, work.exam(), shownStudents(work, work.listings().topN), planned.title);
         return {};
     },
     true},
    {SheetKind::ClassRankingPerClass,
     "class ranking",
     {3, 2},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeClassSheet(sheet, work.exam(), work.listings().classes[static_cast<size_t>(planned.classIndex)],
                         planned.title, work.levelsInsteadOfPlaces());
         return {};
     },
     true},
    {SheetKind::ClassRankingAll,
     "class ranking",
     {3, 4},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeAllClassesSheet(
             sheet, work.exam(), work.listings().classes, planned.title,
             [&work](const std::string& line) { work.log(line); }, work.scope(),
             work.levelsInsteadOfPlaces());
         return {};
     },
     true},
    {SheetKind::NearLine,
     "near line",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         NearLineStudents near =
             work.figures<NearLineStudents>("near line", [&] { return nearLineStudents(work.exam()); });
         near.students = shownStudents(work, near.students);
         return writeNearLine(sheet, work.exam(), near, planned.title);
     },
     true},
    {SheetKind::ClassProgress,
     "progress",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         const ClassProgressTable& table = work.figures<ClassProgressTable>(
             "class progress", [&] { return classProgress(work.exam(), work.pairing()); });
         writeClassProgress(sheet, work.exam(), table, planned.title, work.scope());
         return {};
     },
     true},
    {SheetKind::StudentProgress,
     "progress",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         if (work.exam().options().noRanks) {
             const auto& students =
                 work.figures<std::vector<StudentLevelProgress>>("student level progress", [&] {
                     const ExamLevels& levels = work.levels();
                     std::vector<int> ownLevels(static_cast<size_t>(work.exam().studentCount()));
                     const size_t total = levels.columnCount() - 1;
                     for (size_t s = 0; s < ownLevels.size(); ++s)
                         ownLevels[s] = levels.level(static_cast<int>(s), total);
                     return studentLevelProgress(work.exam(), work.pairing(), ownLevels,
                                                 previousTotalLevels(work.exam(), levels.cuts()));
                 });
             return writeStudentLevelProgress(sheet, work.exam(), work.levels().cuts(),
                                              shownStudents(work, students), planned.title);
         }
         const auto& students = work.figures<std::vector<StudentProgress>>(
             "student progress", [&] { return studentProgress(work.exam(), work.pairing()); });
         return writeStudentProgress(sheet, work.exam(), shownStudents(work, students), planned.title);
     },
     true},
    {SheetKind::QuestionAnalysis,
     "questions",
     {5, 0, true},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeQuestionAnalysis(sheet, work.exam(),
                                      work.questions(static_cast<size_t>(planned.questionSheet)),
                                      planned.title, work.scope());
     },
     true},
    {SheetKind::QuestionDetail,
     "questions",
     {4, 3},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         return writeQuestionDetail(sheet, work.exam(),
                                    work.questions(static_cast<size_t>(planned.questionSheet)), planned.title,
                                    work.scope());
     },
     true},
    {SheetKind::Charts,
     "charts",
     {1, 0},
     [](ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan&, SheetWork& work) -> Status {
         writeChartSheet(sheet, work.exam(), work.figurePlaces, planned.title, work.scope());
         return {};
     },
     true},
    {SheetKind::Contents,
     "contents",
     {1, 0},
     [](ExcelSheet& sheet, const PlannedSheet&, const SheetPlan& plan, SheetWork&) -> Status {
         writeContentsSheet(sheet, plan);
         return {};
     },
     true},
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

bool followsScope(SheetKind kind) {
    return reportSheet(kind).followsScope;
}

SheetHeading sheetHeading(SheetKind kind) {
    return reportSheet(kind).heading;
}

}  // namespace varnex
