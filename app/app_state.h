#pragma once
// All state of a running Varnex: what the main window holds and every command reads and writes.

#include <array>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/recent_files.h"
#include "app/row_table.h"
#include "app/subjects.h"
#include "base/text_util.h"

namespace varnex {

/// The workbook opened last and its worksheets.
struct WorkbookState {
    std::string path;                     ///< WorkbookPath, exactly as received
    std::string title;                    ///< WorkbookTitle; each export overwrites it with the exam name
    std::string driverName;               ///< description of the reader chosen for the workbook
    std::vector<std::string> sheetNames;  ///< the worksheet box, in workbook order
    int selectedSheet = -1;               ///< index into sheetNames, -1 for none
    std::string selectedSheetName() const {
        return selectedSheet >= 0 && selectedSheet < static_cast<int>(sheetNames.size())
                   ? sheetNames[static_cast<size_t>(selectedSheet)]
                   : std::string();
    }
};

/// The ordered list of "school class" entries with a set beside it for constant-time look-ups.
/// Each entry remembers where its school part ends, so that a class name with a blank in it
/// ("1 班") is not taken for part of the school.
class ClassList {
  public:
    /// Appends the entry "school class" unless that school's class is there; true when appended.
    /// Two entries are equal when school and class both are: "一中 1" + "2" and "一中" + "1 2"
    /// read alike but are different classes.
    bool add(const std::string& school, const std::string& klass) {
        std::string entry = school + " " + klass;
        if (!seen_.insert(std::to_string(school.size()) + ':' + entry).second) return false;
        entries_.push_back(std::move(entry));
        schoolLengths_.push_back(school.size());
        return true;
    }
    void clear() {
        entries_.clear();
        schoolLengths_.clear();
        seen_.clear();
    }
    /// The school and class parts of entry i.
    std::pair<std::string, std::string> parts(size_t i) const {
        const std::string& entry = entries_[i];
        return {entry.substr(0, schoolLengths_[i]), entry.substr(schoolLengths_[i] + 1)};
    }
    const std::vector<std::string>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& operator[](size_t i) const { return entries_[i]; }

  private:
    std::vector<std::string> entries_;
    std::vector<size_t> schoolLengths_;
    std::unordered_set<std::string> seen_;
};

/// What the imports leave behind for the export.
struct ImportResults {
    std::string gradeName;                  ///< ImportedGradeName
    std::string sheetName;                  ///< ImportedSheetName
    std::vector<std::string> examSubjects;  ///< examined subjects in subject order
    /// Subjects with a full mark that the score sheet has no column for: not examined this time,
    /// as if their full marks were 0, while the settings keep them.
    std::vector<std::string> subjectsNotInSheet;
    /// The score sheet's columns that name no subject of the list and no column without scores
    /// (禁毒, 信息技术 …), in sheet order: their scores are in the StudentTable from column
    /// kFirstExtraColumn on, and each is examined as an extra subject once it has a full mark.
    std::vector<std::string> extraColumns;
    /// The examined subjects read from the sheet's scaled scores (赋分) rather than raw ones.
    std::vector<std::string> scaledSubjects;
    /// The student number columns the sheet has (kStudentIdColumns order, each a StudentTable
    /// row's hidden cell at the same place): true where it has exactly one column of that kind.
    std::array<bool, 2> idColumns{};
    /// Why the sheet's student numbers cannot be used (two columns that look like one kind), or "".
    std::string idProblem;
    int examFullMarkTotal = 0;
    /// How the score sheet's own 总分 differs from the sums Varnex forms (the log line, which the
    /// export's confirmation repeats), or "" when it has no such column or they agree.
    std::string sheetTotalDifference;
    int studentCount = 0;
    int teacherCount = 0;
    /// True when the teacher sheet had no 年级 column: its rows keep 年级 empty and belong to the
    /// grade of whichever score sheet is imported.
    bool teachersOfAnyGrade = false;
    int classCount = 0;
    ClassList classList;
    std::vector<std::string> schoolList;

    /// True when a TeacherTable row whose 年级 is `teacherGrade` belongs to the imported grade.
    bool ofImportedGrade(std::string_view teacherGrade) const {
        return teacherGrade == gradeName || (teachersOfAnyGrade && teacherGrade.empty());
    }
};

/// The hidden cells of a StudentTable row: its 考号 and its 学号.
inline constexpr std::array<const char*, 2> kStudentIdColumns{"考号", "学号"};
/// The hidden cell after them that holds the student's track (物理类, 历史类 or ""), when the score
/// sheet has a 选科 / 科类 / 首选科目 column.
inline constexpr size_t kTrackHiddenCell = 2;

/// An earlier exam of the same students, read for the progress reports into a table of its own.
struct PreviousExam {
    WorkbookState workbook;  ///< the 上次考试 file and its worksheet box
    std::string sheetName;   ///< the worksheet read, "" until one was read
    RowTable students{kStudentTableColumns};
    std::vector<std::string> examSubjects;  ///< the subjects it examined, in subject order
    /// The settings as it was read with: the subjects it did not examine have no full mark.
    ScoreSettings scores;
    /// Its extra columns, kept in its table as the student import keeps them.
    std::vector<std::string> extraColumns;
    std::array<bool, 2> idColumns{};
};

/// Where a table was read from: the file and its worksheet ("" for both when it is empty).
struct TableSource {
    std::string path;   ///< the workbook, as opened
    std::string sheet;  ///< the worksheet read
    bool empty() const { return path.empty() && sheet.empty(); }
    /// "成绩.xlsx · 高二" (the file's name without its folder), "" when empty.
    std::string text() const {
        if (empty()) return {};
        return fileNameOf(path) + " · " + sheet;
    }
};

struct AppState {
    ScoreSettings scores;
    ImportOptions importOptions;
    ExportOptions exportOptions;
    int gradeIndex = kDefaultGradeIndex;  ///< selection of the grade box
    std::string gradeName() const { return kGradeNames[static_cast<size_t>(gradeIndex)]; }

    RowTable students{kStudentTableColumns};
    RowTable teachers{kTeacherTableColumns};
    TableSource teacherSource;  ///< where the TeacherTable was imported from

    WorkbookState workbook;
    ImportResults imported;
    PreviousExam previous;

    /// The school given last for a sheet without 学校 column, offered when the next one asks.
    std::string schoolName;

    std::vector<std::string> examNames;  ///< entries of the exam-name box
    std::string examNameText;            ///< the exam-name box's current text
    /// The exam name Varnex proposed last (the opened file's name, then the score sheet's title):
    /// while the box still holds it, a better proposal replaces it; a name typed by the person stays.
    std::string examNameProposal;

    /// Where produced workbooks go: "" chooses the folder and name as the desktop does
    /// (results beside the opened workbook, templates in the documents folder, never
    /// overwriting); a path writes exactly there (the command-line front end's -o).
    std::string outputPath;
    bool overwriteOutput = false;  ///< with outputPath: replace an existing file
    RecentFileList recentFiles;
    std::string settingsPath;  ///< the settings file in use ("" when none could be placed)
};

}  // namespace varnex
