#pragma once
// The main window's dialog template: every control with its id, caption and rectangle in dialog
// units (x, y, width, height). The settings row's eleven subject columns are generated from
// kSubjectColumns below.

#include <span>

#include "app/control_ids.h"

namespace varnex::ui {

/// Size of the window's client area in dialog units.
constexpr int kWindowWidthDlu = 651;
constexpr int kWindowHeightDlu = 381;
/// Size of the start-up splash in dialog units.
constexpr int kSplashWidthDlu = 251;
constexpr int kSplashHeightDlu = 155;

enum class ControlKind {
    GroupBox,
    Button,
    Label,       ///< static text, left-aligned
    LabelRight,  ///< static text, right-aligned
    DropList,    ///< combo box without an edit field
    ComboEdit,   ///< combo box with an edit field
    RadioFirst,  ///< first radio button of a group
    Radio,
    Check,
    Edit,  ///< numeric edit
    EditCentred,
    EditReadOnly,
    List,  ///< report list (row table)
    Log,   ///< multi-line read-only edit with a vertical scroll bar
};

enum class TextColour { Default, Blue, Red };

/// One control of the template; id -1 for static texts and frames nobody addresses.
struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    TextColour colour = TextColour::Default;
};

constexpr int kNoId = -1;

/// Ids of the frames and texts that only the window itself addresses (colours).
namespace frame {
constexpr int DataImport = 1239;
constexpr int ImportOptions = 1256;
constexpr int ScoreSettings = 1244;
constexpr int Students = 1285;
constexpr int Teachers = 1286;
constexpr int Export = 1238;
constexpr int MissingLimitLabel = 1251;
}  // namespace frame

// Group boxes come first so that they lie beneath the controls they frame.
inline constexpr ControlTemplate kControls[] = {
    {frame::DataImport, ControlKind::GroupBox, "数据导入", 7, 5, 638, 96, TextColour::Blue},
    {frame::ImportOptions, ControlKind::GroupBox, "导入选项", 14, 39, 122, 56, TextColour::Blue},
    {frame::ScoreSettings, ControlKind::GroupBox,
     "学科分值和优秀控制线（分值为零则表示本学科不参与本次考试；优秀控制线为学科分值的百分比）", 143, 39, 494,
     56, TextColour::Blue},
    {frame::Students, ControlKind::GroupBox, "学生成绩表", 7, 104, 638, 124, TextColour::Blue},
    {frame::Teachers, ControlKind::GroupBox, "教师任课表", 7, 230, 269, 137, TextColour::Blue},
    {frame::Export, ControlKind::GroupBox, "分析导出", 281, 230, 364, 89, TextColour::Blue},
    {kNoId, ControlKind::GroupBox, "", 371, 281, 239, 22},

    {ctl::OpenFile, ControlKind::Button, "1.打开文件…", 14, 16, 60, 17},
    {kNoId, ControlKind::Label, "2.选择工作表", 79, 21, 49, 8},
    {ctl::WorksheetList, ControlKind::DropList, "", 131, 18, 96, 117},
    {ctl::ImportTeachers, ControlKind::Button, "3.导入任课教师", 233, 16, 63, 17},
    {kNoId, ControlKind::LabelRight, "4.选择年级", 302, 21, 44, 8},
    {ctl::GradeList, ControlKind::DropList, "", 350, 18, 52, 117},
    {ctl::ImportStudents, ControlKind::Button, "5.导入学生成绩", 406, 16, 63, 17},
    {kNoId, ControlKind::Label, "学校和班级", 475, 21, 40, 8},
    {ctl::ClassListBox, ControlKind::DropList, "", 518, 18, 120, 204},

    {ctl::MissingRule0, ControlKind::RadioFirst, "缺考学科超过一半，不导入", 20, 53, 109, 8,
     TextColour::Blue},
    {ctl::MissingRule1, ControlKind::Radio, "缺考超过", 20, 67, 44, 8, TextColour::Blue},
    {ctl::MissingLimit, ControlKind::Edit, "", 68, 65, 17, 12, TextColour::Blue},
    {frame::MissingLimitLabel, ControlKind::Label, "科，不导入", 89, 67, 41, 8, TextColour::Blue},
    {ctl::MissingRule2, ControlKind::Radio, "无论缺考几科，全部都导入", 20, 81, 110, 8, TextColour::Blue},

    {kNoId, ControlKind::Label, "分值：", 152, 63, 24, 8},
    {kNoId, ControlKind::Label, "优秀：", 152, 80, 24, 8},
    {ctl::TotalFullMark, ControlKind::EditReadOnly, "", 574, 61, 19, 12},
    {ctl::TotalExcellence, ControlKind::EditReadOnly, "", 574, 78, 19, 12},
    {ctl::SaveSettings, ControlKind::Button, "保存", 598, 58, 31, 14},
    {ctl::DefaultExcellence, ControlKind::Button, "默认", 598, 76, 31, 14},

    {ctl::StudentTable, ControlKind::List, "", 13, 115, 625, 107},
    {ctl::TeacherTable, ControlKind::List, "", 13, 240, 257, 120},

    {kNoId, ControlKind::Label, "考试名称", 289, 242, 34, 8},
    {ctl::ExamNameBox, ControlKind::ComboEdit, "", 324, 239, 315, 117},
    {ctl::GradeRates, ControlKind::Check, "导出年级各科三率", 289, 258, 76, 8},
    {ctl::ClassRates, ControlKind::Check, "导出班级各科三率", 289, 270, 76, 8},
    {ctl::TeacherRates, ControlKind::Check, "导出教师个人三率", 289, 282, 76, 8},
    {ctl::SubjectBands, ControlKind::Check, "导出各科分数段", 289, 294, 69, 8},
    {ctl::Charts, ControlKind::Check, "导出统计图表", 289, 306, 63, 8},
    {ctl::TotalBands, ControlKind::Check, "导出总分分数段", 377, 258, 69, 8},
    {ctl::TotalRankBands, ControlKind::Check, "导出总分名次段", 377, 272, 69, 8},
    {ctl::ClassRanking, ControlKind::Check, "导出班级总分排名", 377, 290, 76, 8},
    {ctl::ClassRankingPerClass, ControlKind::RadioFirst, "一个班级一张表", 459, 290, 70, 8},
    {ctl::ClassRankingOneSheet, ControlKind::Radio, "所有班级一张表", 535, 290, 70, 8},
    {ctl::TopNEnabled, ControlKind::Check, "导出总分前", 456, 257, 52, 8},
    {ctl::TopNCount, ControlKind::Edit, "", 511, 255, 17, 12},
    {kNoId, ControlKind::Label, "名", 531, 257, 10, 8},
    {ctl::IgnoreZeroScores, ControlKind::Check, "零分学科不纳入学科三率计算", 456, 272, 118, 8,
     TextColour::Red},
    {ctl::ExportResults, ControlKind::Button, "6.导出分析结果", 576, 257, 63, 17},
    {ctl::StatusLogBox, ControlKind::Log, "", 281, 324, 364, 43, TextColour::Blue},
};

/// The settings row: subject column k (0..10, 11 for 总分) has its heading at
/// (kHeadingX + kColumnPitch·k, kHeadingY) and its edits at (kEditX + kColumnPitch·k, kFullMarkY)
/// and (…, kExcellenceY), each kEditWidth × kEditHeight; every excellence edit is followed by "%".
struct SubjectColumns {
    int headingX = 180, headingY = 50, headingWidth = 18, headingHeight = 8;
    int editX = 178, fullMarkY = 61, excellenceY = 78, editWidth = 19, editHeight = 12;
    int pitch = 36;
    int percentDx = 20, percentDy = 2, percentWidth = 8, percentHeight = 8;
};
inline constexpr SubjectColumns kSubjectColumns{};

inline std::span<const ControlTemplate> controlTemplates() {
    return kControls;
}

}  // namespace varnex::ui
