#pragma once
// The main window's dialog template: every control with its id, caption and rectangle in dialog
// units (x, y, width, height), and how it follows the window when the window is resized. The
// settings row's eleven subject columns are generated from kSubjectColumns below.

#include <span>

#include "app/app_texts.h"
#include "app/report_choices.h"
#include "ui/control_ids.h"

namespace varnex::ui {

/// Size of the window's client area in dialog units.
constexpr int kWindowWidthDlu = 651;
constexpr int kWindowHeightDlu = 381;
/// Widths of the two tables in the template (dialog units): their columns widen with them.
constexpr int kStudentTableWidthDlu = 625;
constexpr int kTeacherTableWidthDlu = 257;

/// How much shorter than the template the client area may become (dialog units): the two tables
/// and the log give up that height, so that the window still fits a 1280×720 screen with a panel.
constexpr int kShrinkableHeightDlu = 40;
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

/// How a control follows the window when its client area is dx pixels wider and dy pixels taller
/// than the template (dy may be negative): the control moves by moveX·dx/100, moveY·dy/100 and
/// grows by growX·dx/100, growY·dy/100. The template's size gives every control its place in it.
struct Anchor {
    int moveX = 0, moveY = 0, growX = 0, growY = 0;
};

/// Of the height the window gains, the student table takes this share (percent); the teacher
/// table and the log below it take the rest.
constexpr int kStudentsShare = 60;
/// Of the width the window gains, the teacher table takes this share; the export frame and the
/// log beside it take the rest.
constexpr int kTeachersShare = 40;
/// Of the width the window gains, the worksheet list of the first row takes this share; the
/// class list at the row's end takes the rest.
constexpr int kSheetListShare = 40;

namespace anchor {
constexpr Anchor Fixed{};
constexpr Anchor TopFrame{0, 0, 100, 0};
constexpr Anchor SheetList{0, 0, kSheetListShare, 0};
constexpr Anchor AfterSheetList{kSheetListShare, 0, 0, 0};
constexpr Anchor ClassList{kSheetListShare, 0, 100 - kSheetListShare, 0};
constexpr Anchor TopRight{100, 0, 0, 0};
constexpr Anchor Students{0, 0, 100, kStudentsShare};
constexpr Anchor Teachers{0, kStudentsShare, kTeachersShare, 100 - kStudentsShare};
constexpr Anchor ExportFrame{kTeachersShare, kStudentsShare, 100 - kTeachersShare, 0};
constexpr Anchor ExportItem{kTeachersShare, kStudentsShare, 0, 0};
constexpr Anchor ExportButton{100, kStudentsShare, 0, 0};
constexpr Anchor Log{kTeachersShare, kStudentsShare, 100 - kTeachersShare, 100 - kStudentsShare};
constexpr Anchor StatusBar{0, 100, 100, 0};
/// Column k (0..11, 11 for 总分) of the settings row: the columns spread over the gained width.
constexpr Anchor settingsColumn(int k) {
    return {k * 100 / 12, 0, 0, 0};
}
}  // namespace anchor

/// One control of the template; id -1 for static texts and frames nobody addresses.
struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    TextColour colour = TextColour::Default;
    Anchor anchor = {};
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
    {frame::DataImport, ControlKind::GroupBox, "数据导入", 7, 5, 638, 96, TextColour::Blue, anchor::TopFrame},
    {frame::ImportOptions, ControlKind::GroupBox, "导入选项", 14, 39, 122, 56, TextColour::Blue},
    {frame::ScoreSettings, ControlKind::GroupBox,
     "学科分值和优秀控制线（分值为零则表示本学科不参与本次考试；优秀控制线为学科分值的百分比）", 143, 39, 494,
     56, TextColour::Blue, anchor::TopFrame},
    {frame::Students, ControlKind::GroupBox, "学生成绩表", 7, 104, 638, 124, TextColour::Blue,
     anchor::Students},
    {frame::Teachers, ControlKind::GroupBox, "教师任课表", 7, 230, 269, 137, TextColour::Blue,
     anchor::Teachers},
    {frame::Export, ControlKind::GroupBox, "分析导出", 281, 230, 364, 101, TextColour::Blue,
     anchor::ExportFrame},
    {kNoId, ControlKind::GroupBox, "", 371, 281, 239, 22, TextColour::Default, anchor::ExportItem},

    {ctl::OpenFile, ControlKind::Button, "1.打开文件…", 14, 16, 60, 17},
    {kNoId, ControlKind::Label, "2.选择工作表", 79, 21, 49, 8},
    {ctl::WorksheetList, ControlKind::DropList, "", 131, 18, 96, 117, TextColour::Default, anchor::SheetList},
    {ctl::ImportTeachers, ControlKind::Button, "3.导入任课教师", 233, 16, 63, 17, TextColour::Default,
     anchor::AfterSheetList},
    {kNoId, ControlKind::LabelRight, "4.选择年级", 302, 21, 44, 8, TextColour::Default,
     anchor::AfterSheetList},
    {ctl::GradeList, ControlKind::DropList, "", 350, 18, 52, 117, TextColour::Default,
     anchor::AfterSheetList},
    {ctl::ImportStudents, ControlKind::Button, "5.导入学生成绩", 406, 16, 63, 17, TextColour::Default,
     anchor::AfterSheetList},
    {kNoId, ControlKind::Label, "学校和班级", 475, 21, 40, 8, TextColour::Default, anchor::AfterSheetList},
    {ctl::ClassListBox, ControlKind::DropList, "", 518, 18, 120, 204, TextColour::Default, anchor::ClassList},

    {ctl::MissingRule0, ControlKind::RadioFirst, "缺考学科超过一半，不导入", 20, 53, 109, 8,
     TextColour::Blue},
    {ctl::MissingRule1, ControlKind::Radio, "缺考超过", 20, 67, 44, 8, TextColour::Blue},
    {ctl::MissingLimit, ControlKind::Edit, "", 68, 65, 17, 12, TextColour::Blue},
    {frame::MissingLimitLabel, ControlKind::Label, "科，不导入", 89, 67, 41, 8, TextColour::Blue},
    {ctl::MissingRule2, ControlKind::Radio, "无论缺考几科，全部都导入", 20, 81, 110, 8, TextColour::Blue},

    {kNoId, ControlKind::Label, "分值：", 152, 63, 24, 8},
    {kNoId, ControlKind::Label, "优秀：", 152, 80, 24, 8},
    {ctl::TotalFullMark, ControlKind::EditReadOnly, "", 574, 61, 19, 12, TextColour::Default,
     anchor::settingsColumn(11)},
    {ctl::TotalExcellence, ControlKind::EditReadOnly, "", 574, 78, 19, 12, TextColour::Default,
     anchor::settingsColumn(11)},
    {ctl::SaveSettings, ControlKind::Button, "保存", 598, 58, 31, 14, TextColour::Default, anchor::TopRight},
    {ctl::DefaultExcellence, ControlKind::Button, "默认", 598, 76, 31, 14, TextColour::Default,
     anchor::TopRight},

    {ctl::StudentTable, ControlKind::List, "", 13, 115, kStudentTableWidthDlu, 107, TextColour::Default,
     anchor::Students},
    {ctl::TeacherTable, ControlKind::List, "", 13, 240, kTeacherTableWidthDlu, 120, TextColour::Default,
     anchor::Teachers},

    {kNoId, ControlKind::Label, "考试名称", 289, 242, 34, 8, TextColour::Default, anchor::ExportItem},
    {ctl::ExamNameBox, ControlKind::ComboEdit, "", 324, 239, 315, 117, TextColour::Default,
     anchor::ExportFrame},
    {ctl::GradeRates, ControlKind::Check, reportCaption(&ExportOptions::gradeRates), 289, 258, 76, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::ClassRates, ControlKind::Check, reportCaption(&ExportOptions::classRates), 289, 270, 76, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::TeacherRates, ControlKind::Check, reportCaption(&ExportOptions::teacherRates), 289, 282, 76, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::SubjectBands, ControlKind::Check, reportCaption(&ExportOptions::subjectBands), 289, 294, 69, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::Charts, ControlKind::Check, reportCaption(&ExportOptions::charts), 289, 306, 63, 8,
     TextColour::Default, anchor::ExportItem},
    {kNoId, ControlKind::Label, "上次考试", 289, 321, 32, 8, TextColour::Default, anchor::ExportItem},
    {ctl::PreviousFile, ControlKind::Button, "选择…", 322, 318, 30, 14, TextColour::Default,
     anchor::ExportItem},
    {ctl::PreviousSheetList, ControlKind::DropList, "", 356, 319, 120, 117, TextColour::Default,
     anchor::ExportItem},
    {ctl::Progress, ControlKind::Check, reportCaption(&ExportOptions::progress), 482, 321, 52, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::NearLine, ControlKind::Check, reportCaption(&ExportOptions::nearLine), 538, 321, 52, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::TotalBands, ControlKind::Check, reportCaption(&ExportOptions::totalBands), 377, 258, 69, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::TotalRankBands, ControlKind::Check, reportCaption(&ExportOptions::totalRankBands), 377, 272, 69, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::ClassRanking, ControlKind::Check, reportCaption(&ExportOptions::classRanking), 377, 290, 76, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::ClassRankingPerClass, ControlKind::RadioFirst, "一个班级一张表", 459, 290, 70, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::ClassRankingOneSheet, ControlKind::Radio, "所有班级一张表", 535, 290, 70, 8, TextColour::Default,
     anchor::ExportItem},
    {ctl::TopNEnabled, ControlKind::Check, reportCaption(&ExportOptions::topNEnabled), 456, 257, 52, 8,
     TextColour::Default, anchor::ExportItem},
    {ctl::TopNCount, ControlKind::Edit, "", 511, 255, 17, 12, TextColour::Default, anchor::ExportItem},
    {kNoId, ControlKind::Label, "名", 531, 257, 10, 8, TextColour::Default, anchor::ExportItem},
    {ctl::IgnoreZeroScores, ControlKind::Check, "零分学科不纳入学科三率计算", 456, 272, 118, 8,
     TextColour::Red, anchor::ExportItem},
    {ctl::BlankScoresExcluded, ControlKind::Check, app_texts::kBlankScoresExcludedCaption, 377, 306, 110, 8,
     TextColour::Red, anchor::ExportItem},
    {ctl::ExportResults, ControlKind::Button, "6.导出分析结果", 576, 257, 63, 17, TextColour::Default,
     anchor::ExportButton},
    {ctl::StatusLogBox, ControlKind::Log, "", 281, 336, 364, 31, TextColour::Blue, anchor::Log},
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
