#include "app/row_table.h"

#include <gtest/gtest.h>

#include <set>

namespace varnex {
namespace {

struct ParseCase {
    const char* layout;
    std::vector<std::pair<std::string, int>> columns;
};

TEST(RowTable, ParsesColumnLayouts) {
    const ParseCase cases[] = {
        {"学校,100;班级", {{"学校", 100}}},
        {"学校,100;班级,", {{"学校", 100}, {"班级", 0}}},
        {"no commas at all", {}},
        {"", {}},
        {"a,12;b,x;c,7", {{"a", 12}, {"b", 0}, {"c", 7}}},
    };
    for (const auto& c : cases) {
        RowTable t;
        EXPECT_TRUE(t.setColumns(c.layout));
        ASSERT_EQ(t.columnCount(), static_cast<int>(c.columns.size())) << c.layout;
        for (size_t i = 0; i < c.columns.size(); ++i) {
            EXPECT_EQ(t.columns()[i].name, c.columns[i].first);
            EXPECT_EQ(t.columns()[i].width, c.columns[i].second);
        }
    }
    EXPECT_EQ(RowTable(kStudentTableColumns).columnCount(), 15);
    EXPECT_EQ(RowTable(kStudentTableColumns).columns()[14].name, "总分");
    EXPECT_EQ(RowTable(kTeacherTableColumns).columnCount(), 5);
}

TEST(RowTable, AppendDeleteClearAndRead) {
    RowTable t("a,1;b,1");
    EXPECT_EQ(t.appendRow({"x"}), -1);  // wrong count: refused, nothing appended
    EXPECT_EQ(t.appendRow({"1", "2", "3"}), -1);
    EXPECT_EQ(t.rowCount(), 0);
    EXPECT_EQ(t.appendRow({"r0", ""}), 0);
    EXPECT_EQ(t.appendRow({"r1", "y"}), 1);
    EXPECT_EQ(t.appendRow({"r2", "z"}), 2);
    t.deleteRow(1);
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.cellText(1, 0), "r2");
    EXPECT_EQ(t.cellText(0, 1), "");
    EXPECT_EQ(t.cellText(7, 0), "");  // out of range reads as empty
    t.deleteRow(9);                   // ignored
    t.clear();
    EXPECT_EQ(t.rowCount(), 0);
    t.clear();
    EXPECT_EQ(t.rowCount(), 0);
}

// A row keeps its texts (empty, long, with a NUL inside) through sorting and in an independent copy.
TEST(RowTable, RowsKeepTheirTextsThroughSortsAndCopies) {
    RowTable t("学校,1;姓名,1;总分,1");
    const std::string longText(100000, 'x');
    const std::string withNul("a\0b", 3);
    t.appendRow({"一中", "", "90"});
    t.appendRow({longText, withNul, "100"});
    t.appendRow({"", "王伟", ""});
    const uint64_t longRow = t.rowId(1);
    RowTable copy = t;
    t.sortBy(2, false);
    EXPECT_EQ(t.row(0).texts(), (std::vector<std::string>{longText, withNul, "100"}));
    EXPECT_EQ(t.row(1).texts(), (std::vector<std::string>{"一中", "", "90"}));
    EXPECT_EQ(t.row(2)[1], "王伟");
    EXPECT_EQ(t.rowId(0), longRow);  // the identity moves with the row
    EXPECT_EQ(copy.row(1).texts(), (std::vector<std::string>{longText, withNul, "100"}));
    EXPECT_EQ(copy.cellText(2, 1), "王伟");
    EXPECT_EQ(copy.rowId(1), longRow);
    t.clear();
    EXPECT_EQ(copy.rowCount(), 3);
}

// Rows appended later, to this table after clearing it or to another table that then replaces its
// rows (as an import does), never take the identity of a row that lived before.
TEST(RowTable, EveryAppendedRowHasAnIdentityOfItsOwn) {
    RowTable t("姓名,1");
    t.appendRow({"甲"});
    t.appendRow({"乙"});
    std::set<uint64_t> seen{t.rowId(0), t.rowId(1)};
    t.clear();
    t.appendRow({"甲"});
    EXPECT_TRUE(seen.insert(t.rowId(0)).second);
    RowTable fresh("姓名,1");
    fresh.appendRow({"乙"});
    t.replaceRows(std::move(fresh));
    EXPECT_TRUE(seen.insert(t.rowId(0)).second);
}

struct CompareCase {
    const char* a;
    const char* b;
    int expected;
};

TEST(RowTable, CompareChoosesTheKindFromTheFirstText) {
    const CompareCase cases[] = {
        {"", "5", -1},     // empty is the number 0
        {"90", "", 1},     // digits against empty: numeric
        {"100", "99", 1},  // numbers, not text
        {"85.5", "85.50", 0},
        {"12.5.1", "12.5.2", -1},         // two points: text
        {"01-02-2024", "31-12-2023", 1},  // day-month-year
        {"15-03-2024", "14-03-2024", 1},
        {"15-03-2024", "15-03-2024", 0},
        {"李", "张", -1},  // pinyin: li before zhang
        {"阿", "李", -1},
        {"王", "张", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(compareCells(c.a, c.b), c.expected) << c.a << " vs " << c.b;
    // A sign makes a text: as numbers -5 > -6, as text "-5" comes before "-6".
    EXPECT_EQ(compareCells("-5", "-6"), -1);
}

TEST(RowTable, HeadingClicksToggleTheDirection) {
    RowTable t("姓名,80;总分,80");
    t.appendRow({"张三", "90"});
    t.appendRow({"李四", "100"});
    t.appendRow({"王五", "85.5"});
    t.headingClicked(1);
    EXPECT_TRUE(t.sortAscending());
    EXPECT_EQ(t.cellText(0, 1), "85.5");
    EXPECT_EQ(t.cellText(2, 1), "100");
    t.headingClicked(1);
    EXPECT_FALSE(t.sortAscending());
    EXPECT_EQ(t.cellText(0, 1), "100");
    t.headingClicked(0);
    EXPECT_TRUE(t.sortAscending());
    EXPECT_EQ(t.sortColumn(), 0);
    EXPECT_EQ(t.cellText(0, 0), "李四");
    EXPECT_EQ(t.cellText(1, 0), "王五");
    EXPECT_EQ(t.cellText(2, 0), "张三");
    t.headingClicked(0);  // same column while ascending: descending
    EXPECT_EQ(t.cellText(0, 0), "张三");
    t.headingClicked(0);  // same column while descending: ascending again
    EXPECT_EQ(t.cellText(0, 0), "李四");
}

TEST(RowTable, SortingMixedKindsNeverMisbehaves) {
    RowTable t("v,10");
    const char* values[] = {"", "5", "abc", "-5", "12.5.1", "01-01-2020", "李", "3", "", "x9", "10"};
    for (int round = 0; round < 50; ++round) {
        for (const char* v : values) t.appendRow({v});
    }
    t.sortBy(0, true);
    t.sortBy(0, false);
    EXPECT_EQ(t.rowCount(), 50 * 11);
}

TEST(RowTable, ReorderRowsNeedsAPermutation) {
    RowTable t("v,10");
    t.appendRow({"a"});
    t.appendRow({"b"});
    t.appendRow({"c"});
    EXPECT_FALSE(t.reorderRows({0, 0, 1}));
    EXPECT_FALSE(t.reorderRows({0, 1}));
    EXPECT_TRUE(t.reorderRows({2, 0, 1}));
    EXPECT_EQ(t.cellText(0, 0), "c");
    EXPECT_EQ(t.cellText(2, 0), "b");
}

}  // namespace
}  // namespace varnex
