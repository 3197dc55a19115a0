// The imported list of classes: order of first appearance, one entry per school and class.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/class_order.h"

namespace varnex {
namespace {

TEST(ClassList, OneEntryPerSchoolAndClassEvenWhenTheirTextsReadAlike) {
    ClassList list;
    EXPECT_TRUE(list.add("一中", "1 班"));
    EXPECT_TRUE(list.add("一中", "2"));
    EXPECT_FALSE(list.add("一中", "1 班"));
    EXPECT_TRUE(list.add("一中 1", "2"));  // reads "一中 1 2", as school 一中 with class "1 2" would
    EXPECT_FALSE(list.add("一中 1", "2"));
    EXPECT_TRUE(list.add("一中", "1 2"));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "一中 1 班");
    EXPECT_EQ(list.parts(0), std::make_pair(std::string("一中"), std::string("1 班")));
    EXPECT_EQ(list.parts(2), std::make_pair(std::string("一中 1"), std::string("2")));
    EXPECT_EQ(list.parts(3), std::make_pair(std::string("一中"), std::string("1 2")));
    EXPECT_TRUE(list.add("二中", ""));  // an empty class is a class of its own
    EXPECT_EQ(list.parts(4), std::make_pair(std::string("二中"), std::string()));
}

// Schools as they first appear, their classes by number, names that are no number after them in
// sheet order.
TEST(ClassList, ClassOrder) {
    ClassList list;
    for (const char* entry :
         {"一中 9", "一中 10", "二中 2", "一中 实验", "一中 2", "二中 1", "一中 1", "一中 04", "一中 甲"})
        list.add(std::string(entry).substr(0, std::string(entry).find(' ')),
                 std::string(entry).substr(std::string(entry).find(' ') + 1));
    std::vector<std::string> ordered;
    for (size_t i : classOrder(list)) ordered.push_back(list[i]);
    EXPECT_EQ(ordered, (std::vector<std::string>{"一中 1", "一中 2", "一中 04", "一中 9", "一中 10",
                                                 "一中 实验", "一中 甲", "二中 1", "二中 2"}));
    EXPECT_EQ(schoolsOf(list), (std::vector<std::string>{"一中", "二中"}));
}

}  // namespace
}  // namespace varnex
