#include "analysis/listings.h"

namespace varnex {

namespace {

std::vector<int> rowsOf(const std::vector<PlacedRow>& listing) {
    std::vector<int> rows;
    rows.reserve(listing.size());
    for (const PlacedRow& placed : listing) rows.push_back(placed.row);
    return rows;
}

// The students of `order` in track `track`, in order.
std::vector<int> ofTrack(const Exam& exam, const std::vector<int>& order, size_t track) {
    std::vector<int> rows;
    for (int student : order) {
        if (exam.trackIndexOf(student) == track) rows.push_back(student);
    }
    return rows;
}

// 按科类分别统计: every listing track after track, its places counted within the track; the orders
// left behind are those of the listings one after the other.
StudentListings listStudentsByTrack(const Exam& exam) {
    const ExportOptions& options = exam.options();
    const size_t tracks = exam.tracks().size();
    const TieRule rule = listingTieRule(options.rankingRule);
    StudentListings listings;
    listings.afterTopN = examOrder(exam);
    if (options.topNEnabled) {
        for (size_t t = 0; t < tracks; ++t) {
            std::vector<PlacedRow> listed =
                selectTopN(exam, ofTrack(exam, listings.afterTopN, t), options.topN, rule);
            listings.topN.insert(listings.topN.end(), listed.begin(), listed.end());
        }
        listings.afterTopN = moveListedRowsToBottom(listings.afterTopN, rowsOf(listings.topN));
    }
    listings.afterClasses = listings.afterTopN;
    if (!options.classRanking) return listings;
    const ClassList& classes = exam.imported().classList;
    listings.classes.resize(classes.size());
    for (size_t t = 0; t < tracks; ++t) {
        std::vector<std::vector<PlacedRow>> listed =
            selectByClass(exam, ofTrack(exam, listings.afterTopN, t), classes, rule);
        for (size_t c = 0; c < classes.size(); ++c)
            listings.classes[c].insert(listings.classes[c].end(), listed[c].begin(), listed[c].end());
    }
    std::vector<int> listed;
    for (const auto& listing : listings.classes) {
        for (const PlacedRow& placed : listing) listed.push_back(placed.row);
    }
    listings.afterClasses = moveListedRowsToBottom(listings.afterTopN, listed);
    return listings;
}

}  // namespace

StudentListings listStudents(const Exam& exam) {
    const ExportOptions& options = exam.options();
    // Under 不公布名次 there are no places to count within a track.
    if (!exam.tracks().empty() && !options.noRanks) return listStudentsByTrack(exam);
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
