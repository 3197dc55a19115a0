#pragma once
// The figures of the three-rate sheets, counted from the exam: per school of the grade, per class
// with its subject teachers, and per teacher over the classes they teach. Each figure group holds
// the head counts and the score sum; the sheets write the rates and averages from them.

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/three_rates.h"

namespace varnex {

/// The figures of one SchoolList entry (a school listed twice shows the same figures twice).
struct SchoolRates {
    int studentCount = 0;            ///< every student of the school
    std::vector<RateGroup> figures;  ///< per exam subject, then the total
};

/// 年级各科三率: per SchoolList entry, every student of the school counted as having sat (with
/// blank scores left out, those with a score in the subject); the total's excellence by value.
std::vector<SchoolRates> gradeRates(const Exam& exam);

/// The figures of one ClassList entry: the students whose 学校 and 班级 equal its school and class
/// parts (a class listed twice counts its students under its first entry).
struct ClassRates {
    std::vector<RateGroup> figures;     ///< per exam subject, then the total
    std::vector<std::string> teachers;  ///< per exam subject: the first teacher row's name, or ""
};

/// 班级各科三率: per ClassList entry; a "0" sits out under 零分不计, and the total's excellence
/// compares the integer part of the total text.
std::vector<ClassRates> classRates(const Exam& exam);

/// One teacher of one subject in one school and what they teach there.
struct TeacherRates {
    std::string name;
    std::vector<std::string> classes;  ///< the 班级 texts, in teacher-table order, each once
    RateGroup figures;                 ///< every student of those classes, class after class
};

/// 教师个人三率: the teachers of each exam subject and SchoolList entry, in order of first
/// appearance among the teacher rows of the grade (a school listed twice keeps its teachers under
/// its first position).
struct TeacherRateTable {
    size_t schoolCount = 0;
    std::vector<std::vector<TeacherRates>> lists;  ///< subject × schoolCount + school
    size_t teacherCount = 0;

    const std::vector<TeacherRates>& of(size_t subject, size_t school) const {
        return lists[subject * schoolCount + school];
    }
};

TeacherRateTable teacherRates(const Exam& exam);

}  // namespace varnex
