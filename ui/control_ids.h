#pragma once
// Identifiers of the main window's controls and menu commands. The window keys its layout table
// and command table by the numbers, which are its own; the commands name fields, actions and
// reports, and the tables at the end say which control shows each.

#include <array>

#include "app/frontend.h"
#include "app/subjects.h"

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
    Progress = 1290,
    NearLine = 1291,
    PreviousFile = 1292,
    PreviousSheetList = 1293,
    BlankScoresExcluded = 1294,
    TotalFullMark = 1255,
    TotalExcellence = 1278,
    ConvertedScores = 1295,    ///< 按赋分统计
    RankingTiesSkip = 1296,    ///< 名次方式: 并列占位
    RankingTiesDense = 1297,   ///< 名次方式: 并列不占位
    LevelDistribution = 1298,  ///< 导出等级分布
    SplitFilesList = 1310,     ///< 分别导出: 不分, 按学校, 按班级
    FourRates = 1320,          ///< 四率: 良好率 and 低分率 beside the three rates
    MoreFigures = 1321,        ///< 扩展指标: 超均率, 标准差, 最高分, 最低分
    StandardScores = 1322,     ///< 导出学生标准分
    NoRanks = 1299,            ///< 不公布名次
    LevelByScore = 1300,       ///< 等级方式: 分数
    LevelByShare = 1301,       ///< 等级方式: 比例
    LevelLines = 1302,         ///< 等级线
    LevelNames = 1303,         ///< 等级名称
    LevelProblem = 1304,       ///< what is wrong with the 等级 boxes (a text)
    ComputeScaled = 1340,      ///< 计算赋分
    ScoreLines = 1341,         ///< 导出上线分析
    NearScoreLines = 1342,     ///< 临界线: 按上线
    QuestionAnalysis = 1343,   ///< 导出小题分析
    QuestionDetail = 1344,     ///< 导出小题明细 (in the 小题分析 dialog)
    QuestionSheets = 1345,     ///< 小题…: the 小题分析 dialog
    ScoreLineTable = 1346,     ///< 线…: the 上线设置 dialog
    ByTrack = 1347,            ///< 按科类分别统计

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
    CmdClearTeachers = 32834,
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
    CmdQuestionSheets = 32835,
    CmdScoreLines = 32836,
};

/// The id's name as written above ("ExportResults"); nullptr for a number that names no control.
const char* controlName(ControlId id);

}  // namespace varnex::ctl

namespace varnex {
using ctl::ControlId;
}  // namespace varnex

namespace varnex::ui {

/// The control that holds a field.
constexpr ControlId controlOf(Field field) {
    switch (field) {
        case Field::ExamName:
            return ctl::ExamNameBox;
        case Field::TopNCount:
            return ctl::TopNCount;
        case Field::PreviousExam:
            return ctl::PreviousFile;
    }
    return ctl::ExamNameBox;
}

/// The button that starts an action (its menu item follows the button).
constexpr ControlId controlOf(Action action) {
    switch (action) {
        case Action::ImportStudents:
            return ctl::ImportStudents;
        case Action::ImportTeachers:
            return ctl::ImportTeachers;
        case Action::Export:
            return ctl::ExportResults;
    }
    return ctl::ExportResults;
}

/// The check box of each report, by the ExportOptions member it sets.
struct ReportCheckBox {
    bool ExportOptions::*chosen;
    ControlId checkBox;
};
inline constexpr ReportCheckBox kReportCheckBoxes[] = {
    {&ExportOptions::gradeRates, ctl::GradeRates},
    {&ExportOptions::classRates, ctl::ClassRates},
    {&ExportOptions::teacherRates, ctl::TeacherRates},
    {&ExportOptions::subjectBands, ctl::SubjectBands},
    {&ExportOptions::totalBands, ctl::TotalBands},
    {&ExportOptions::totalRankBands, ctl::TotalRankBands},
    {&ExportOptions::charts, ctl::Charts},
    {&ExportOptions::progress, ctl::Progress},
    {&ExportOptions::nearLine, ctl::NearLine},
    {&ExportOptions::levelDistribution, ctl::LevelDistribution},
    {&ExportOptions::standardScores, ctl::StandardScores},
    {&ExportOptions::scoreLines, ctl::ScoreLines},
    {&ExportOptions::topNEnabled, ctl::TopNEnabled},
    {&ExportOptions::classRanking, ctl::ClassRanking},
    {&ExportOptions::questionAnalysis, ctl::QuestionAnalysis},
    {&ExportOptions::questionDetail, ctl::QuestionDetail},
};

/// The check box of the report that sets `chosen`; 0 for a member no report sets.
constexpr int reportCheckBox(bool ExportOptions::*chosen) {
    for (const ReportCheckBox& box : kReportCheckBoxes) {
        if (box.chosen == chosen) return box.checkBox;
    }
    return 0;
}

/// The two edits of a subject in the settings row (kSubjects order): its full mark and its
/// excellence line.
struct SubjectEdits {
    int fullMark;
    int excellence;
};
inline constexpr std::array<SubjectEdits, kSubjectCount> kSubjectEdits{{
    {1227, 1266},  // 语文
    {1228, 1267},  // 数学
    {1229, 1268},  // 英语
    {1230, 1270},  // 物理
    {1231, 1271},  // 化学
    {1233, 1272},  // 生物
    {1234, 1273},  // 历史
    {1235, 1274},  // 地理
    {1236, 1275},  // 政治
    {1252, 1276},  // 体育
    {1253, 1277},  // 实验
}};

/// The two edits of a subject in the 良好 and 低分 rows (kSubjects order): its 良好线 and its 低分线
/// in percent of the full mark.
struct SubjectLineEdits {
    int good;
    int low;
};
inline constexpr std::array<SubjectLineEdits, kSubjectCount> kSubjectLineEdits{{
    {1323, 1380},  // 语文
    {1324, 1381},  // 数学
    {1325, 1382},  // 英语
    {1326, 1383},  // 物理
    {1327, 1384},  // 化学
    {1328, 1385},  // 生物
    {1329, 1386},  // 历史
    {1330, 1387},  // 地理
    {1331, 1388},  // 政治
    {1332, 1389},  // 体育
    {1333, 1390},  // 实验
}};

}  // namespace varnex::ui
