#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::vector<std::string> list(std::initializer_list<const char*> items) {
    return std::vector<std::string>(items.begin(), items.end());
}

TEST(RecentFiles, CarryDownMoveAndDrop) {
    TempDir dir;
    RecentFileList r;
    r.setStorePath(dir.file("s.ini"));
    for (const char* p : {"A", "B", "C", "D", "E"}) r.add(p);
    EXPECT_EQ(r.entries(), list({"E", "D", "C", "B"}));
    EXPECT_TRUE(r.add("C"));
    EXPECT_EQ(r.entries(), list({"C", "E", "D", "B"}));
    std::string before = readFile(dir.file("s.ini"));
    EXPECT_FALSE(r.add("c"));  // already first: nothing changes, nothing is written
    EXPECT_EQ(readFile(dir.file("s.ini")), before);
    r.add("/Data/Exam.xls");
    r.add("/x.xls");
    r.add("/data/exam.XLS");  // at position 2 in another case: moves up in the new case
    EXPECT_EQ(r.entries(), list({"/data/exam.XLS", "/x.xls", "C", "E"}));

    RecentFileList again;
    again.setStorePath(dir.file("s.ini"));
    again.load();
    EXPECT_EQ(again.entries(), r.entries());
}

TEST(RecentFiles, ClearWritesZeroAndFourEmptyKeys) {
    TempDir dir;
    RecentFileList r;
    r.setStorePath(dir.file("s.ini"));
    r.add("A");
    r.clear();
    EXPECT_EQ(r.count(), 0);
    EXPECT_EQ(readFile(dir.file("s.ini")),
              utf8ToGbk("[最近打开过的文件]\r\n文件数量=0\r\n1=\r\n2=\r\n3=\r\n4=\r\n"));
}

TEST(RecentFiles, APathWithLineBreaksCannotAddLinesToTheFile) {
    TempDir dir;
    writeFile(dir.file("s.ini"), utf8ToGbk("[七年级]\r\n语文=150\r\n"));
    RecentFileList r;
    r.setStorePath(dir.file("s.ini"));
    r.add("/data/a\n[七年级]\r\n语文=0\n.xls");
    EXPECT_EQ(
        readFile(dir.file("s.ini")),
        utf8ToGbk(
            "[七年级]\r\n语文=150\r\n[最近打开过的文件]\r\n文件数量=1\r\n1=/data/a\r\n2=\r\n3=\r\n4=\r\n"));
}

TEST(RecentFiles, LoadStopsAfterTheFourthEntry) {
    TempDir dir;
    writeFile(dir.file("s.ini"),
              utf8ToGbk("[最近打开过的文件]\r\n文件数量=9\r\n1=a\r\n2=b\r\n3=c\r\n4=d\r\n5=e\r\n"));
    RecentFileList r;
    r.setStorePath(dir.file("s.ini"));
    r.load();
    EXPECT_EQ(r.entries(), list({"a", "b", "c", "d"}));
}

TEST(RecentFiles, ExamNamesAreKeptApartExactlyAndTenDeep) {
    TempDir dir;
    RecentFileList recent;
    recent.setStorePath(dir.file("s.ini"));
    recent.add("/data/a.xls");
    RecentFileList names(kExamNamesStore);
    names.setStorePath(dir.file("s.ini"));
    for (int i = 1; i <= 12; ++i) names.add("第" + std::to_string(i) + "次月考");
    names.add("Exam");
    EXPECT_TRUE(names.add("EXAM"));  // names differ by case: two entries
    ASSERT_EQ(names.count(), 10);
    EXPECT_EQ(names.entries()[0], "EXAM");
    EXPECT_EQ(names.entries()[1], "Exam");
    EXPECT_EQ(names.entries()[9], "第5次月考");

    RecentFileList again(kExamNamesStore);
    again.setStorePath(dir.file("s.ini"));
    again.load();
    EXPECT_EQ(again.entries(), names.entries());
    recent.load();
    EXPECT_EQ(recent.entries(), list({"/data/a.xls"}));  // the recent files are untouched
    IniFile file = IniFile::load(dir.file("s.ini"));
    EXPECT_EQ(file.get("考试名称", "名称数量"), "10");
    EXPECT_EQ(file.get("考试名称", "1"), "EXAM");
}

}  // namespace
}  // namespace varnex
