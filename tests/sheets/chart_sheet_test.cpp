#include "sheets/chart_sheet.h"

#include <gtest/gtest.h>

#include "sheets/rate_sheets.h"
#include "tests/sheets/rate_fixture.h"

namespace varnex {
namespace {

using testing::RateFixture;

// 班级各科三率 puts the classes of each school together; each school's charts of the class
// averages read those rows and label each column with the class of its row, also when the
// ClassList mixes the schools.
TEST(ChartSheet, ClassLabelsFollowTheRowsOfTheClassRates) {
    RateFixture f({"语文"}, {100});
    f.school("一中");
    f.school("二中");
    f.classEntry("一中", "1");
    f.classEntry("二中", "3");
    f.classEntry("一中", "2");
    f.student("一中", "1", {"70"});
    f.student("二中", "3", {"80"});
    f.student("一中", "2", {"90"});
    FigurePlaces places;
    f.run([&](ExcelSheet& sheet, const Exam& exam, const std::string& title) {
        sheet.SetName("班级各科三率");
        places.classRates = writeClassRates(sheet, exam, title);
    });
    testing::expectCells(f, {{"C4", "（1）班"}, {"C5", "（2）班"}, {"C6", "（3）班"}, {"M5", "90.0"}});
    ASSERT_EQ(places.classRates->blocks.size(), 2u);
    EXPECT_EQ(places.classRates->blocks[1].first, 7);
    EXPECT_EQ(places.classRates->blocks[1].last, 9);

    f.runOnNextSheet([&](ExcelSheet& sheet, const Exam& exam, const std::string& title) {
        writeChartSheet(sheet, exam, places, title);
    });
    testing::expectCells(f, {{"L5", "一中"},
                             {"M5", "（1）班"},
                             {"L6", "一中"},
                             {"M6", "（2）班"},
                             {"L7", "二中"},
                             {"M7", "（3）班"}});
    EXPECT_EQ(f.formula("N5"), "='班级各科三率'!$O$4");
    EXPECT_EQ(f.formula("O7"), "='班级各科三率'!$O$7");
}

}  // namespace
}  // namespace varnex
