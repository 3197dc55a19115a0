#pragma once
// The figures of the three-rate sheets, counted from the exam: per school of the grade, per class
// with its subject teachers, and per teacher over the classes they teach. Each figure group holds
// the head counts and the score sum; the sheets write the rates and averages from them.

#include <cstddef>
#include <optional>
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

/// 扩展指标's reference figures: the whole exam's, per exam subject and then the total, by the
/// grade sheet's rules (every student of the exam).
std::vector<RateGroup> gradeReference(const Exam& exam);

/// The class and teacher sheets' reference figures by the class sheet's rules: per SchoolList entry
/// every student of the school, and every student of the exam; each per exam subject, then the
/// total.
struct ClassReference {
    std::vector<std::vector<RateGroup>> schools;
    std::vector<RateGroup> exam;
};
ClassReference classReference(const Exam& exam);

/// 超均率 in percent: how far the group's average over its students lies above the reference's
/// average over its students, as a share of the latter. None when either group has nobody who sat
/// or the reference average is 0.
std::optional<double> aboveAverageRate(const RateGroup& group, const RateGroup& reference);

/// The population standard deviation of the group's scores (divided by the number of students),
/// in points: 0 for a group of one, none for a group without students.
std::optional<double> standardDeviation(const RateGroup& group);

}  // namespace varnex
