#pragma once
// The listings of the top-N and class-ranking sheets, each taken along an order of the exam's
// students and found with one sort (or one heap).
//
// Those sheets list students as a repeated "take the highest total of the students still
// searched, the later one in the order among equal totals, then move it to the end of the order"
// would. Since a move keeps the relative order of the students left behind, that is the order of a
// sort by total (descending), ties by position in the order (descending). Equal total texts share
// a place; a different text takes the next place (dense, 1, 2, 2, 3) or one more than the number
// listed before it (competition, 1, 2, 2, 4).

#include <vector>

#include "analysis/exam.h"
#include "analysis/places.h"
#include "app/app_state.h"

namespace varnex {

/// A listed student: its index in the exam's students and its place.
struct PlacedRow {
    int row;
    int place;  ///< 0 in a listing without places
};

/// The exam's students in their own order: 0, 1, 2 …
std::vector<int> examOrder(const Exam& exam);

/// The top-N listing along `order`: every student whose place by `rule` is at most `n`, in listing
/// order (students tied at place n are all listed).
std::vector<PlacedRow> selectTopN(const Exam& exam, const std::vector<int>& order, int n, TieRule rule);

/// The class listings along `order`: per ClassList entry, the students whose 学校 and 班级 texts
/// equal the entry's school and class parts, in listing order; places by `rule` start at 1 in every
/// class.
std::vector<std::vector<PlacedRow>> selectByClass(const Exam& exam, const std::vector<int>& order,
                                                  const ClassList& classes, TieRule rule);

/// The class listings of 不公布名次: per ClassList entry, its students in name order (pinyin
/// collation, as the tables sort names), equal names in the exam's order; no places (0).
std::vector<std::vector<PlacedRow>> listByName(const Exam& exam, const ClassList& classes);

/// The order the moves of a listing leave: the students of `order` not listed keep their order at
/// the front, the listed ones follow in listing order.
std::vector<int> moveListedRowsToBottom(const std::vector<int>& order, const std::vector<int>& listed);

}  // namespace varnex
