#include "analysis/listings.h"

namespace varnex {

namespace {

std::vector<int> rowsOf(const std::vector<PlacedRow>& listing) {
    std::vector<int> rows;
    rows.reserve(listing.size());
    for (const PlacedRow& placed : listing) rows.push_back(placed.row);
    return rows;
}

}  // namespace

StudentListings listStudents(const Exam& exam) {
    const ExportOptions& options = exam.options();
    StudentListings listings;
    const TieRule rule = listingTieRule(options.rankingRule);
    listings.afterTopN = examOrder(exam);
    if (options.topNEnabled) {
        listings.topN = selectTopN(exam, listings.afterTopN, options.topN, rule);
        listings.afterTopN = moveListedRowsToBottom(listings.afterTopN, rowsOf(listings.topN));
    }
    listings.afterClasses = listings.afterTopN;
    if (options.classRanking && options.noRanks) {
        // Name order leaves the exam's order as it is: nothing after it reads a moved order.
        listings.classes = listByName(exam, exam.imported().classList);
    } else if (options.classRanking) {
        listings.classes = selectByClass(exam, listings.afterTopN, exam.imported().classList, rule);
        std::vector<int> listed;
        for (const auto& listing : listings.classes) {
            for (const PlacedRow& placed : listing) listed.push_back(placed.row);
        }
        listings.afterClasses = moveListedRowsToBottom(listings.afterTopN, listed);
    }
    return listings;
}

}  // namespace varnex
