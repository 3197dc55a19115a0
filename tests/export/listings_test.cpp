// The place rule for ties and the listings of the ranking sheets as orders of the exam's students.

#include "analysis/listings.h"

#include <gtest/gtest.h>

#include "analysis/places.h"
#include "tests/export/exam_fixture.h"

namespace varnex::testing {
namespace {

TEST(Places, TiesByRule) {
    struct Case {
        const char* name;
        std::vector<double> values;
        std::vector<int> competition;
        std::vector<int> dense;
    };
    const Case cases[] = {
        {"empty", {}, {}, {}},
        {"one", {5}, {1}, {1}},
        {"a tie in the middle", {90, 80, 80, 70}, {1, 2, 2, 4}, {1, 2, 2, 3}},
        {"unsorted, tie at the top", {70, 90, 90, 90, 10}, {4, 1, 1, 1, 5}, {2, 1, 1, 1, 3}},
        {"all equal", {3, 3, 3}, {1, 1, 1}, {1, 1, 1}},
        {"negative and zero", {0, -5, 0, 2.5}, {2, 4, 2, 1}, {2, 3, 2, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(placesByValue(c.values, TieRule::Competition), c.competition) << c.name;
        EXPECT_EQ(placesByValue(c.values, TieRule::Dense), c.dense) << c.name;
        EXPECT_EQ(competitionRanks(c.values), c.competition) << c.name;
    }
}

std::vector<std::string> namesAlong(const varnex::Exam& exam, const std::vector<int>& order) {
    std::vector<std::string> names;
    for (int student : order) names.emplace_back(exam.students().cellText(student, 2));
    return names;
}

// The top-N listing leaves the listed students at the end of the order in listing order; the
// class listings, taken along that order, list the later of equal totals first and leave the
// classes at the end in ClassList order. A class text that matches no ClassList entry is not
// listed. The exam's table keeps its order.
TEST(Listings, EachListingLeavesItsStudentsAtTheEnd) {
    Exam exam;
    exam.student("一中", "1", "a", "80").student("一中", "2", "b", "90").student("一中", "1", "c", "85");
    exam.student("一中", "2", "d", "90").imported();
    exam.student("一中", "1 ", "stray", "99");
    exam.only([](ExportOptions& o) {
        o.topNEnabled = o.classRanking = true;
        o.topN = 2;
    });
    const varnex::Exam counted(exam.state);
    const StudentListings listings = listStudents(counted);
    EXPECT_EQ(namesAlong(counted, {listings.topN[0].row, listings.topN[1].row, listings.topN[2].row}),
              (std::vector<std::string>{"stray", "d", "b"}));
    EXPECT_EQ(listings.topN.size(), 3u);
    EXPECT_EQ(listings.topN[2].place, 2);
    EXPECT_EQ(namesAlong(counted, listings.afterTopN),
              (std::vector<std::string>{"a", "c", "stray", "d", "b"}));
    ASSERT_EQ(listings.classes.size(), 2u);
    EXPECT_EQ(namesAlong(counted, {listings.classes[1][0].row, listings.classes[1][1].row}),
              (std::vector<std::string>{"b", "d"}));
    EXPECT_EQ(listings.classes[1][1].place, 1);
    EXPECT_EQ(namesAlong(counted, listings.afterClasses),
              (std::vector<std::string>{"stray", "c", "a", "b", "d"}));
    EXPECT_EQ(namesInTable(exam.state), (std::vector<std::string>{"a", "b", "c", "d", "stray"}));
}

// 总分前N名 lists the students whose place is at most N: with 1, 2, 2, 4 students tied at place N
// are all listed and none whose place exceeds N; with 1, 2, 2, 3 (and without a choice) the next
// total after a tie still takes place N. The class listing places the same way.
TEST(Listings, TiesAtPlaceNUnderEachRule) {
    struct Case {
        const char* name;
        RankingRule rule;
        int n;
        std::vector<int> places;  ///< the top-N listing's places
    };
    // Totals 98, 95, 95, 90, 90, 90, 80.
    const Case cases[] = {
        {"competition, tie at N", RankingRule::Competition, 2, {1, 2, 2}},
        {"competition, N inside a tie's gap", RankingRule::Competition, 3, {1, 2, 2}},
        {"competition, tie starting at N", RankingRule::Competition, 4, {1, 2, 2, 4, 4, 4}},
        {"competition, N inside the second gap", RankingRule::Competition, 6, {1, 2, 2, 4, 4, 4}},
        {"competition, all", RankingRule::Competition, 7, {1, 2, 2, 4, 4, 4, 7}},
        {"dense, tie at N", RankingRule::Dense, 2, {1, 2, 2}},
        {"dense, after a tie", RankingRule::Dense, 3, {1, 2, 2, 3, 3, 3}},
        {"dense, all", RankingRule::Dense, 4, {1, 2, 2, 3, 3, 3, 4}},
        {"unchosen is dense", RankingRule::Unchosen, 3, {1, 2, 2, 3, 3, 3}},
    };
    Exam exam;
    int i = 0;
    for (const char* total : {"90", "95", "80", "98", "90", "95", "90"})
        exam.student("一中", "1", "s" + std::to_string(i++), total);
    exam.imported();
    for (const Case& c : cases) {
        exam.only([&](ExportOptions& o) {
            o.topNEnabled = o.classRanking = true;
            o.topN = c.n;
            o.rankingRule = c.rule;
        });
        const varnex::Exam counted(exam.state);
        const StudentListings listings = listStudents(counted);
        std::vector<int> places;
        for (const PlacedRow& placed : listings.topN) places.push_back(placed.place);
        EXPECT_EQ(places, c.places) << c.name;
        ASSERT_EQ(listings.classes.size(), 1u);
        std::vector<int> classPlaces;
        for (const PlacedRow& placed : listings.classes[0]) classPlaces.push_back(placed.place);
        const std::vector<int> every = c.rule == RankingRule::Competition
                                           ? std::vector<int>{1, 2, 2, 4, 4, 4, 7}
                                           : std::vector<int>{1, 2, 2, 3, 3, 3, 4};
        EXPECT_EQ(classPlaces, every) << c.name;
    }
}

TEST(Listings, OnlyTheChosenListingsAreTaken) {
    Exam exam;
    exam.student("一中", "1", "a", "90").student("一中", "1", "b", "80").imported();
    const std::vector<std::string> own = {"a", "b"}, moved = {"b", "a"};
    for (bool topN : {false, true}) {
        for (bool classRanking : {false, true}) {
            SCOPED_TRACE(std::to_string(topN) + std::to_string(classRanking));
            exam.only([&](ExportOptions& o) {
                o.topNEnabled = topN;
                o.classRanking = classRanking;
                o.topN = 1;
            });
            const varnex::Exam counted(exam.state);
            const StudentListings listings = listStudents(counted);
            EXPECT_EQ(listings.topN.size(), topN ? 1u : 0u);
            EXPECT_EQ(listings.classes.size(), classRanking ? 1u : 0u);
            EXPECT_EQ(namesAlong(counted, listings.afterTopN), topN ? moved : own);
            EXPECT_EQ(namesAlong(counted, listings.afterClasses), classRanking || !topN ? own : moved);
        }
    }
}

}  // namespace
}  // namespace varnex::testing
