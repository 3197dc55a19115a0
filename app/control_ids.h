#pragma once
// Identifiers of the main window's controls and menu commands. Commands name controls by
// these numbers when they move the focus or enable a button through the Frontend.

namespace varnex::ctl {

// Buttons
constexpr int OpenFile = 1027;
constexpr int ImportStudents = 1028;
constexpr int ExportResults = 1029;
constexpr int ImportTeachers = 1288;
constexpr int SaveSettings = 1264;
constexpr int DefaultExcellence = 1279;

// Lists and boxes
constexpr int WorksheetList = 1211;
constexpr int GradeList = 1232;
constexpr int ClassListBox = 1216;
constexpr int ExamNameBox = 1237;
constexpr int StudentTable = 1213;
constexpr int TeacherTable = 1284;
constexpr int StatusLogBox = 1245;

// Options
constexpr int MissingRule0 = 1248;
constexpr int MissingRule1 = 1249;
constexpr int MissingRule2 = 1250;
constexpr int MissingLimit = 1243;
constexpr int GradeRates = 1208;
constexpr int ClassRates = 1210;
constexpr int TeacherRates = 1287;
constexpr int SubjectBands = 1222;
constexpr int TotalBands = 1223;
constexpr int TotalRankBands = 1224;
constexpr int TopNEnabled = 1226;
constexpr int TopNCount = 1258;
constexpr int ClassRanking = 1240;
constexpr int ClassRankingPerClass = 1260;
constexpr int ClassRankingOneSheet = 1261;
constexpr int IgnoreZeroScores = 1242;
constexpr int TotalFullMark = 1255;
constexpr int TotalExcellence = 1278;

// Menu commands
constexpr int CmdGenerateTemplates = 32828;
constexpr int CmdOpenFile = 32819;
constexpr int CmdImportStudents = 32820;
constexpr int CmdExport = 32821;
constexpr int CmdRecent1 = 32829;
constexpr int CmdRecent2 = 32830;
constexpr int CmdRecent3 = 32831;
constexpr int CmdRecent4 = 32832;
constexpr int CmdClearRecent = 32833;
constexpr int CmdExit = 32815;
constexpr int CmdQuickLaunch = 32822;
constexpr int CmdDesktopShortcut = 32823;
constexpr int CmdSettingsFolder = 32824;
constexpr int CmdAlwaysOnTop = 32825;
constexpr int CmdMusic = 32818;
constexpr int CmdCalculator = 32816;
constexpr int CmdNotepad = 32817;
constexpr int CmdHelp = 32813;
constexpr int CmdAbout = 32796;

}  // namespace varnex::ctl
