#pragma once
// Rankings of the StudentTable by total, each found with one sort (or one heap): competition
// ranks for the rank bands, and the listing order with dense places that the top-N and
// class-ranking sheets use.
//
// Those two sheets list students as a repeated "take the highest total of the rows still
// searched, the later row among equal totals, then move it to the bottom of the table" would.
// Since a move keeps the relative order of the rows left behind, that is the order of a sort by
// total (descending), ties by row index (descending); places grow by one whenever the total text
// differs from the one listed before it.

#include <vector>

#include "app/app_state.h"
#include "app/row_table.h"

namespace varnex {

/// A listed student: a StudentTable row (in the table's order when the listing began) and its place.
struct PlacedRow {
    int row;
    int place;
};

/// The competition rank of every total: 1 + the number of strictly greater totals.
std::vector<int> competitionRanks(const std::vector<double>& totals);

/// The top-N listing: every row whose dense place is at most `n`, in listing order.
std::vector<PlacedRow> selectTopN(const RowTable& students, int n);

/// The class listings: per ClassList entry, the rows whose 学校 and 班级 texts equal the entry's
/// school and class parts, in listing order; places start at 1 in every class.
std::vector<std::vector<PlacedRow>> selectByClass(const RowTable& students, const ClassList& classes);

/// Leaves the table as the moves of a listing leave it: the rows not listed keep their order at
/// the top, the listed rows follow in listing order.
void moveListedRowsToBottom(RowTable& students, const std::vector<int>& listed);

}  // namespace varnex
