#pragma once
// Identifiers of the main window's controls and menu commands. Commands name a control by its
// ControlId when they move the focus or enable a button through the Frontend; the window keys its
// layout table and command table by the numbers, which are the window's own.

namespace varnex::ctl {

/// A control or menu command of the main window. Unscoped so that the window's tables, which
/// also hold the subjects' edits and frame numbers, take the ids as plain numbers; a plain number
/// does not turn into a ControlId by itself.
enum ControlId : int {
    // Buttons
    OpenFile = 1027,
    ImportStudents = 1028,
    ExportResults = 1029,
    ImportTeachers = 1288,
    SaveSettings = 1264,
    DefaultExcellence = 1279,

    // Lists and boxes
    WorksheetList = 1211,
    GradeList = 1232,
    ClassListBox = 1216,
    ExamNameBox = 1237,
    StudentTable = 1213,
    TeacherTable = 1284,
    StatusLogBox = 1245,

    // Options
    MissingRule0 = 1248,
    MissingRule1 = 1249,
    MissingRule2 = 1250,
    MissingLimit = 1243,
    GradeRates = 1208,
    ClassRates = 1210,
    TeacherRates = 1287,
    SubjectBands = 1222,
    TotalBands = 1223,
    TotalRankBands = 1224,
    TopNEnabled = 1226,
    TopNCount = 1258,
    ClassRanking = 1240,
    ClassRankingPerClass = 1260,
    ClassRankingOneSheet = 1261,
    IgnoreZeroScores = 1242,
    Charts = 1289,
    TotalFullMark = 1255,
    TotalExcellence = 1278,

    // Menu commands
    CmdGenerateTemplates = 32828,
    CmdOpenFile = 32819,
    CmdImportStudents = 32820,
    CmdExport = 32821,
    CmdRecent1 = 32829,
    CmdRecent2 = 32830,
    CmdRecent3 = 32831,
    CmdRecent4 = 32832,
    CmdClearRecent = 32833,
    CmdExit = 32815,
    CmdQuickLaunch = 32822,
    CmdDesktopShortcut = 32823,
    CmdSettingsFolder = 32824,
    CmdAlwaysOnTop = 32825,
    CmdMusic = 32818,
    CmdCalculator = 32816,
    CmdNotepad = 32817,
    CmdHelp = 32813,
    CmdAbout = 32796,
};

/// The id's name as written above ("ExportResults"); nullptr for a number that names no control.
const char* controlName(ControlId id);

}  // namespace varnex::ctl

namespace varnex {
using ctl::ControlId;
}  // namespace varnex
