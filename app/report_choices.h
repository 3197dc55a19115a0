#pragma once
// The reports a user can choose for an export, as the window's check boxes show them. The window,
// the settings file and the command line's --reports all go by this one table, so that a new
// report is one line here (and its place in the window).

#include "app/subjects.h"

namespace varnex {

/// How the settings file keeps a report's choice under its key in "导出选项".
enum class ReportSetting {
    Flag,          ///< 1 or 0
    TopN,          ///< the number of students N, or 0 when not chosen
    ClassRanking,  ///< the layout (0 one sheet per class, 1 all classes in one sheet), or -1
};

/// One report of the 分析导出 group.
struct ReportChoice {
    const char* caption;      ///< the text of its check box
    const char* settingsKey;  ///< its key in the settings file's section "导出选项"
    bool ExportOptions::*chosen;
    ReportSetting setting = ReportSetting::Flag;
    bool seededOn = true;  ///< a newly seeded settings file chooses it
};

/// The reports in the order the settings file keeps the plain flags (seeded on; a file without a
/// report's key, written before the report existed, leaves it off); the top-N
/// check box shows the number of students and "名" after its caption.
inline constexpr ReportChoice kReportChoices[] = {
    {"导出年级各科三率", "年级各科三率", &ExportOptions::gradeRates},
    {"导出班级各科三率", "班级各科三率", &ExportOptions::classRates},
    {"导出教师个人三率", "教师个人三率", &ExportOptions::teacherRates},
    {"导出各科分数段", "各科分数段", &ExportOptions::subjectBands},
    {"导出总分分数段", "总分分数段", &ExportOptions::totalBands},
    {"导出总分名次段", "总分名次段", &ExportOptions::totalRankBands},
    {"导出统计图表", "统计图表", &ExportOptions::charts},
    {"导出进退步", "进退步", &ExportOptions::progress, ReportSetting::Flag, false},
    {"导出临界生", "临界生", &ExportOptions::nearLine, ReportSetting::Flag, false},
    {"导出等级分布", "等级分布", &ExportOptions::levelDistribution, ReportSetting::Flag, false},
    {"导出学生标准分", "学生标准分", &ExportOptions::standardScores, ReportSetting::Flag, false},
    {"导出上线分析", "上线分析", &ExportOptions::scoreLines, ReportSetting::Flag, false},
    {"导出总分前", "总分前N名", &ExportOptions::topNEnabled, ReportSetting::TopN},
    {"导出班级总分排名", "班级总分排名", &ExportOptions::classRanking, ReportSetting::ClassRanking},
    // Their sheets come from the question-score sheets read beside the scores (小题分析).
    {"导出小题分析", "小题分析", &ExportOptions::questionAnalysis, ReportSetting::Flag, false},
    {"导出小题明细", "小题明细", &ExportOptions::questionDetail, ReportSetting::Flag, false},
};

/// The report kept in the settings file as `setting` (TopN or ClassRanking: there is one each).
constexpr const ReportChoice& reportKeptAs(ReportSetting setting) {
    for (const ReportChoice& choice : kReportChoices) {
        if (choice.setting == setting) return choice;
    }
    return kReportChoices[0];
}

/// The caption of the check box of the report that sets `chosen` ("" for a member no report sets).
constexpr const char* reportCaption(bool ExportOptions::*chosen) {
    for (const ReportChoice& choice : kReportChoices) {
        if (choice.chosen == chosen) return choice.caption;
    }
    return "";
}

}  // namespace varnex
