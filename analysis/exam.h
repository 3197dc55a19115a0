#pragma once
// The examination one export analyses, built once when the export starts and never changed while
// its sheets are written: the students counted (with every score as a number or "not there" and
// the text it was read as), the teachers, the examined subjects with their marks and lines, the
// classes and schools, the previous exam, and the report choices as the run applies them.
//
// Everything the run decides for its own length is decided here, without touching the state it
// was built from: the subjects the score sheet did not have are not examined (as if their full
// marks were 0), the extra subjects with a full mark that the sheet has are examined after the
// others (the 总分 of each student then adds their scores), the teacher rates are left out when no
// teacher of the grade was imported but other reports are chosen, and with blank scores left out a
// student without any score is counted nowhere and the 总分 full mark shown is the one most
// students sat for.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/scaled_scores.h"
#include "app/app_state.h"
#include "app/row_table.h"
#include "app/subjects.h"

namespace varnex {

class Exam;

/// 按科类分别统计: the students of one track and the exam of them alone.
struct ExamTrack {
    std::string name;           ///< one of kTracks, or "" for the students without a track
    std::vector<int> students;  ///< indices in the whole exam's students, in its order
    /// The track's students alone: the subjects none of them has a score in, the classes, schools
    /// and teacher rows without any of them left out; with blank scores left out, the 总分 full
    /// mark the most of them sat for.
    std::unique_ptr<const Exam> exam;
};

/// One examined subject: its name, where its scores are in the student table, its full mark and
/// its excellence line in percent of the full mark.
struct ExamSubject {
    std::string name;
    int column = 0;  ///< StudentTable column of its scores
    int fullMark = 0;
    int excellencePercent = 0;
};

/// A score as a number: `sat` when its text begins with a number (a score rather than "", "缺考"
/// or "/"), `value` the number read from the text as the C library's atof reads it (0 for a text
/// that is no number).
struct ExamScore {
    double value = 0;
    bool sat = false;
};

class Exam {
  public:
    /// The exam of the state's imported data, exam name and export options.
    explicit Exam(const AppState& state);
    Exam(const Exam&) = delete;
    Exam& operator=(const Exam&) = delete;

    const std::string& examName() const { return examName_; }
    const std::string& gradeName() const { return imported_.gradeName; }
    /// The settings as the run counts with them: subjects the score sheet did not have carry a
    /// full mark of 0.
    const ScoreSettings& scores() const { return scores_; }
    /// The report choices as the run applies them (the teacher rates off when left out; under
    /// 不公布名次 the kPlaceReports off).
    const ExportOptions& options() const { return options_; }
    /// The import's results as the run counts with them (the 总分 full mark of most students under
    /// the rule that leaves blank scores out).
    const ImportResults& imported() const { return imported_; }
    bool blankScoresExcluded() const { return options_.blankScoresExcluded; }
    /// True when the teacher rates were chosen but are left out for want of a teacher of the exam.
    bool teachersLeftOut() const { return teachersLeftOut_; }
    /// True when a teacher row teaches an examined subject in the grade and one of its schools.
    bool hasTeachersOfExam() const { return teachersOfExam_; }

    /// The examined subjects in subject order, the extra subjects last in the order of their columns.
    const std::vector<ExamSubject>& subjects() const { return subjects_; }
    /// The subjects' names in subject order.
    const std::vector<std::string>& subjectNames() const { return imported_.examSubjects; }

    /// The students counted, in the order of the student table (without those the run leaves out).
    const RowTable& students() const { return *students_; }
    int studentCount() const { return students_->rowCount(); }
    /// The score of a student in the i-th examined subject; i == subjects().size() is the total.
    ExamScore score(int student, size_t subject) const {
        const size_t i = static_cast<size_t>(student) * stride_ + subject;
        return {values_[i], sat_[i]};
    }
    /// The text a score was read as ("85", "缺考", "" …); i == subjects().size() is the total.
    std::string_view scoreText(int student, size_t subject) const;
    ExamScore total(int student) const { return score(student, subjects_.size()); }

    const RowTable& teachers() const { return *teachers_; }
    /// The previous exam as the run counts it: counted in the extra subjects that are examined
    /// this time and that it has a column of (its 总分 with their scores).
    const PreviousExam& previous() const { return *previous_; }
    /// The question-score sheets read for 小题分析, one per subject.
    const std::vector<QuestionScores>& questionSheets() const { return *questionSheets_; }

    /// The computed scaled scores (计算赋分 in a senior grade), per student of students(); nullptr
    /// when they are not computed. With 按赋分统计 the scores and totals of the exam are the scaled
    /// ones of the subjects scaled.
    const ScaledScores* scaledScores() const { return scaled_ ? &*scaled_ : nullptr; }

    /// With 按科类分别统计 and some student's track known: the groups of students the
    /// places and the rate sheets are counted in, in the order of kTracks (the tracks that have
    /// students), then the students without a track when there are any. Empty otherwise: the whole
    /// exam is one group. A track's own exam has none.
    const std::vector<ExamTrack>& tracks() const { return tracks_; }
    /// The index in tracks() of a student's group; 0 when the exam is one group.
    size_t trackIndexOf(int student) const {
        return trackOfStudent_.empty() ? 0 : trackOfStudent_[static_cast<size_t>(student)];
    }

  private:
    /// The exam of `students` of `whole` alone (ExamTrack::exam).
    Exam(const Exam& whole, const std::vector<int>& students);
    /// Splits the students into tracks when 按科类分别统计 asks for it.
    void splitIntoTracks();
    /// Counts the previous exam in the extra subjects examined this time that it has.
    void countPreviousInExtraSubjects(const AppState& state);

    std::string examName_;
    ScoreSettings scores_;
    ExportOptions options_;
    ImportResults imported_;
    bool teachersLeftOut_ = false;
    bool teachersOfExam_ = false;
    std::vector<ExamSubject> subjects_;
    const RowTable* students_ = nullptr;
    std::optional<RowTable> counted_;  ///< the students counted, when some are left out
    size_t stride_ = 1;
    // Per student, per subject and the total: the value and whether it was sat, kept apart so that
    // two hundred thousand students' scores take 8 bytes and a bit each.
    std::vector<double> values_;
    std::vector<bool> sat_;
    const RowTable* teachers_ = nullptr;
    const PreviousExam* previous_ = nullptr;
    std::optional<PreviousExam> previousCounted_;  ///< the previous exam, when counted in extra subjects
    std::optional<ScaledScores> scaled_;
    const std::vector<QuestionScores>* questionSheets_ = nullptr;
    std::optional<RowTable> teachersCounted_;  ///< a track's teacher rows, of its classes only
    std::vector<ExamTrack> tracks_;
    std::vector<unsigned char> trackOfStudent_;  ///< per student, its index in tracks_
};

/// The reports made of nothing but students' places (总分前N名, 总分名次段): 不公布名次 leaves them out.
inline constexpr bool ExportOptions::*kPlaceReports[] = {&ExportOptions::topNEnabled,
                                                         &ExportOptions::totalRankBands};

/// True when some report is chosen; `except`, when given, does not count.
bool anyReportChosen(const ExportOptions& options, bool ExportOptions::*except = nullptr);

}  // namespace varnex
