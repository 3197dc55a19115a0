#pragma once
// Two exams of one grade for the progress and 临界生 reports, small enough to work out by hand:
// in 一中 乙 and 丁 changed classes, 戊 came after the first exam, two 王芳 sit in different
// classes; in 二中 庚 missed this exam and both 李明 now sit in class 1 (one was in class 2), so
// neither can be told apart. The previous exam also examined 英语. Full marks 100 each.

#include <string>
#include <vector>

#include "tests/support/input_workbook.h"

namespace varnex::testing {

inline const std::vector<std::vector<std::string>> kThisExamRows = {
    {"学校", "班级", "姓名", "语文", "数学"},  //
    {"一中", "1", "甲", "90", "90"},           // 180, place 2
    {"一中", "1", "乙", "70", "60"},           // 130, place 7
    {"一中", "1", "王芳", "80", "78"},         // 158, place 4
    {"一中", "2", "丁", "85", "80"},           // 165, place 3
    {"一中", "2", "王芳", "60", "62"},         // 122, place 8
    {"一中", "2", "戊", "95", "90"},           // 185, place 1
    {"二中", "1", "己", "75", "70"},           // 145, place 6
    {"二中", "1", "李明", "60", "50"},         // 110, place 9
    {"二中", "1", "李明", "88", "70"},         // 158, place 4
};

inline const std::vector<std::vector<std::string>> kPreviousExamRows = {
    {"学校", "班级", "姓名", "语文", "数学", "英语"},  //
    {"一中", "1", "甲", "80", "85", "90"},             // 255, place 1
    {"一中", "1", "丁", "70", "70", "70"},             // 210, place 5
    {"一中", "1", "王芳", "85", "80", "75"},           // 240, place 3
    {"一中", "2", "乙", "60", "50", "55"},             // 165, place 8
    {"一中", "2", "王芳", "70", "60", "65"},           // 195, place 6
    {"二中", "1", "己", "90", "80", "85"},             // 255, place 1
    {"二中", "1", "庚", "50", "50", "50"},             // 150, place 9
    {"二中", "1", "李明", "60", "60", "60"},           // 180, place 7
    {"二中", "2", "李明", "75", "75", "75"},           // 225, place 4
};

/// 学生进退步 from row 5: 学校, 班级, 姓名, 本次总分, 本次名次, 上次总分, 上次名次, 名次变化.
inline const std::vector<std::vector<std::string>> kStudentProgressRows = {
    {"一中", "（1）班", "乙", "130", "7", "165", "8", "1"},
    {"一中", "（1）班", "甲", "180", "2", "255", "1", "-1"},
    {"一中", "（1）班", "王芳", "158", "4", "240", "3", "-1"},
    {"一中", "（2）班", "丁", "165", "3", "210", "5", "2"},
    {"一中", "（2）班", "王芳", "122", "8", "195", "6", "-2"},
    {"二中", "（1）班", "己", "145", "6", "255", "1", "-5"},
};

/// 班级进退步 rows 5 (一中 1班 语文) and 7 (一中 1班 总分), columns A to U: 学校, 班级, 学科, then for
/// 平均分, 优秀率 and 及格率 each 本次, 上次, 变化, 本次名次, 上次名次, 名次变化. Last time counts the
/// class's present students as they did then (甲 80, 乙 60, 王芳 85 in 语文; totals 255, 165, 240
/// out of 300, lines 240 and 180); this time the total's lines are 160 and 120.
inline const std::vector<std::vector<std::string>> kClassProgressRows = {
    {"一中", "（1）班", "语文", "80", "75",  "5",   "1", "2", "1", "66.7", "66.7",
     "0",    "1",       "2",    "1",  "100", "100", "0", "1", "1", "0"},
    {"一中",  "（1）班", "总分", "156", "220", "-64",  "2",    "2", "0", "33.3", "66.7",
     "-33.4", "2",       "2",    "0",   "100", "66.7", "33.3", "1", "3", "2"},
};

/// 临界生 with a band of 5 from row 5: 学校, 班级, 姓名, 总分, 临界线, 分数线, 差, 最弱学科.
inline const std::vector<std::vector<std::string>> kNearLineRows = {
    {"一中", "（1）班", "王芳", "158", "优秀线", "160", "-2", "数学"},
    {"一中", "（2）班", "丁", "165", "优秀线", "160", "5", "数学"},
    {"一中", "（2）班", "王芳", "122", "及格线", "120", "2", "语文"},
    {"二中", "（1）班", "李明", "158", "优秀线", "160", "-2", "数学"},
};

/// The note after the completion message.
inline const std::string kMatchNote =
    "与上次考试对应上的学生：6 人（按学校、班级、姓名对应）。\n"
    "只在本次考试中的 1 人：一中（2）班戊\n"
    "只在上次考试中的 1 人：二中（1）班庚\n"
    "本次考试中重名或号码重复、无法对应的 2 人：二中（1）班李明、二中（1）班李明\n"
    "上次考试中重名或号码重复、无法对应的 2 人：二中（1）班李明、二中（2）班李明";

}  // namespace varnex::testing
