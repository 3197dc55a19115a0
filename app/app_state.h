#pragma once
// All state of a running Varnex: what the main window holds and every command reads and writes.

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/recent_files.h"
#include "app/row_table.h"
#include "app/subjects.h"

namespace varnex {

/// The workbook opened last and its worksheets.
struct WorkbookState {
    std::string path;        ///< WorkbookPath, exactly as received
    std::string title;       ///< WorkbookTitle; each export overwrites it with the exam name
    std::string driverName;  ///< description of the reader chosen for the workbook
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
    /// Appends the entry unless an equal one (same school, same class) is there; true when
    /// appended. Its school part ends at its last blank.
    bool add(const std::string& entry) {
        size_t blank = entry.rfind(' ');
        return append(entry, blank == std::string::npos ? entry.size() : blank);
    }
    /// Appends the entry formed by "%s %s" from school and class unless that class is there.
    bool add(const std::string& school, const std::string& klass) {
        return append(school + " " + klass, school.size());
    }
    void clear() {
        entries_.clear();
        schoolLengths_.clear();
        seen_.clear();
        selected = -1;
    }
    /// The school and class parts of entry i.
    std::pair<std::string, std::string> parts(size_t i) const {
        const std::string& entry = entries_[i];
        size_t length = schoolLengths_[i];
        return {entry.substr(0, length), length < entry.size() ? entry.substr(length + 1) : std::string()};
    }
    const std::vector<std::string>& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& operator[](size_t i) const { return entries_[i]; }

    int selected = -1;  ///< the entry shown in the 学校和班级 box

private:
    // Two entries are equal when school and class both are: "一中 1" + "2" and "一中" + "1 2"
    // read alike but are different classes.
    bool append(const std::string& entry, size_t schoolLength) {
        if (!seen_.insert(std::to_string(schoolLength) + ':' + entry).second) return false;
        entries_.push_back(entry);
        schoolLengths_.push_back(schoolLength);
        return true;
    }
    std::vector<std::string> entries_;
    std::vector<size_t> schoolLengths_;
    std::unordered_set<std::string> seen_;
};

/// Splits a ClassList entry at its last blank into school and class.
inline std::pair<std::string, std::string> splitClassEntry(const std::string& entry) {
    size_t pos = entry.rfind(' ');
    if (pos == std::string::npos) return {entry, std::string()};
    return {entry.substr(0, pos), entry.substr(pos + 1)};
}

/// What the imports leave behind for the export.
struct ImportResults {
    std::string gradeName;                  ///< ImportedGradeName
    std::string sheetName;                  ///< ImportedSheetName
    std::vector<std::string> examSubjects;  ///< examined subjects in subject order
    int examFullMarkTotal = 0;
    int studentCount = 0;
    int teacherCount = 0;
    int classCount = 0;
    ClassList classList;
    std::vector<std::string> schoolList;
};

struct AppState {
    ScoreSettings scores;
    ImportOptions importOptions;
    ExportOptions exportOptions;
    int gradeIndex = kDefaultGradeIndex;  ///< selection of the grade box
    std::string gradeName() const { return kGradeNames[static_cast<size_t>(gradeIndex)]; }

    RowTable students{kStudentTableColumns};
    RowTable teachers{kTeacherTableColumns};

    WorkbookState workbook;
    ImportResults imported;

    std::vector<std::string> examNames;  ///< entries of the exam-name box
    std::string examNameText;            ///< the exam-name box's current text

    std::string statusLog;  ///< the StatusLog text, lines ending with "\r\n"

    /// Where produced workbooks go: "" chooses the folder and name as the desktop does
    /// (results beside the opened workbook, templates in the documents folder, never
    /// overwriting); a path writes exactly there (the command-line front end's -o).
    std::string outputPath;
    bool overwriteOutput = false;  ///< with outputPath: replace an existing file
    RecentFileList recentFiles;
    std::string settingsPath;  ///< the settings file in use ("" when none could be placed)
};

}  // namespace varnex
