#include "app/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

TEST(IniFile, MissingReadsAsEmptyAndNamesIgnoreLatinCase) {
    IniFile f = IniFile::fromBytes("[Export]\r\nTopN = 50 \r\nName=\"quoted\"\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(f.get("export", "topn"), "50");
    EXPECT_EQ(f.get("EXPORT", "name"), "quoted");
    EXPECT_EQ(f.get("Export", "x"), "");
    EXPECT_EQ(f.get("missing", "x"), "");
    EXPECT_FALSE(f.find("Other", "y").has_value());
}

TEST(IniFile, ReplacesInPlaceAndAppendsAtTheEnd) {
    IniFile f = IniFile::fromBytes("; comment\r\n[a]\r\nk=1\r\n\r\n[b]\r\nm=2\r\n");
    f.set("A", "K", "9");
    f.set("a", "new", "3");
    f.set("c", "z", "4");
    EXPECT_EQ(f.toBytes(), "; comment\r\n[a]\r\nk=9\r\nnew=3\r\n\r\n[b]\r\nm=2\r\n[c]\r\nz=4\r\n");
}

TEST(IniFile, GbkOnDiskWithTrailBytesThatLookLikeBrackets) {
    // 丂 is 0x81 0x40, 乗 is 0x81 0x5C ('\\'), 乚 is 0x81 0x5D (']').
    std::string gbk = utf8ToGbk("[乚区]\r\n名字=乗丂\r\n");
    ASSERT_EQ(gbk.substr(0, 3), std::string("[\x81\x5D", 3));
    IniFile f = IniFile::fromBytes(gbk);
    EXPECT_EQ(f.encoding(), IniFile::Encoding::Gbk);
    EXPECT_EQ(f.get("乚区", "名字"), "乗丂");
    f.set("乚区", "名字", "新");
    EXPECT_EQ(f.toBytes(), utf8ToGbk("[乚区]\r\n名字=新\r\n"));
}

TEST(IniFile, Utf8FilesStayUtf8) {
    IniFile plain = IniFile::fromBytes("[七年级]\n语文=150\n");
    EXPECT_EQ(plain.encoding(), IniFile::Encoding::Utf8);
    EXPECT_EQ(plain.get("七年级", "语文"), "150");
    plain.set("七年级", "数学", "120");
    EXPECT_EQ(plain.toBytes(), "[七年级]\n语文=150\n数学=120\n");
    IniFile bom = IniFile::fromBytes("\xEF\xBB\xBF[七年级]\r\n语文=150\r\n");
    EXPECT_EQ(bom.encoding(), IniFile::Encoding::Utf8Bom);
    EXPECT_EQ(bom.get("七年级", "语文"), "150");
    EXPECT_EQ(bom.toBytes().substr(0, 3), "\xEF\xBB\xBF");
}

TEST(IniFile, ReadsAreCutTo259BytesOfTheFileEncoding) {
    std::string longAscii(400, 'a');
    IniFile f = IniFile::fromBytes("[s]\r\nk=" + longAscii + "\r\n");
    EXPECT_EQ(f.get("s", "k").size(), 259u);
    std::string chinese;
    for (int i = 0; i < 200; ++i) chinese += "文";  // two bytes each in GBK
    IniFile g = IniFile::fromBytes(utf8ToGbk("[s]\r\nk=" + chinese + "\r\n"));
    EXPECT_EQ(utf8ToGbk(g.get("s", "k")).size(), 258u);  // 129 whole characters
}

TEST(IniFile, GarbageNeverCrashes) {
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
    IniFile f = IniFile::fromBytes(junk + "\n[s]\nk=1\n");
    EXPECT_TRUE(f.unreadable());  // no text: nothing is read from it
    EXPECT_EQ(f.get("s", "k"), "");
    f.set("s", "k", "2");
    EXPECT_FALSE(f.toBytes().empty());
}

// Only GB18030 (GBK) and UTF-8 text is read; anything else (UTF-16 as some Windows editors save
// it, a stray byte no encoding has, a NUL) is not, and a save never replaces it.
TEST(IniFile, TextInAnyOtherEncodingIsNotReadNorOverwritten) {
    const std::string gbk = utf8ToGbk("[七年级]\r\n语文=150\r\n");
    std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF", utf16NoMark;
    for (char c : std::string("[x]\r\nk=1\r\n")) {
        utf16le += std::string{c, '\0'};
        utf16be += std::string{'\0', c};
        utf16NoMark += std::string{c, '\0'};
    }
    const std::pair<const char*, std::string> notText[] = {
        {"UTF-16LE with its mark", utf16le},
        {"UTF-16BE with its mark", utf16be},
        {"UTF-16LE without a mark", utf16NoMark},
        {"GBK with a stray byte", gbk + "\xFF\r\n"},
        {"a NUL byte", std::string("[s]\r\nk=1\0\r\n", 11)},
        {"UTF-8 mark, then no UTF-8", "\xEF\xBB\xBF" + gbk},
    };
    TempDir dir;
    for (const auto& [name, bytes] : notText) {
        IniFile f = IniFile::fromBytes(bytes);
        EXPECT_EQ(f.problem(), IniFile::Problem::NotText) << name;
        EXPECT_FALSE(f.exists()) << name;
        const std::string path = dir.file("s.ini");
        testing::writeFile(path, bytes);
        IniFile loaded = IniFile::load(path);
        EXPECT_TRUE(loaded.unreadable()) << name;
        loaded.set("s", "k", "2");
        EXPECT_FALSE(loaded.save(path)) << name;
        EXPECT_EQ(testing::readFile(path), bytes) << name;
    }
    for (const std::string& text : {gbk, std::string("[七年级]\n语文=150\n"), std::string("[s]\nk=1\n")}) {
        IniFile f = IniFile::fromBytes(text);
        EXPECT_FALSE(f.unreadable()) << text;
        EXPECT_EQ(f.toBytes(), text) << text;
    }
}

TEST(IniFile, AFailedSaveLeavesNothingBehind) {
    TempDir dir;
    IniFile f = IniFile::fromBytes("[s]\r\nk=1\r\n");
    EXPECT_FALSE(f.save(dir.file("missing-folder/a.ini")));
    EXPECT_TRUE(f.save(dir.file("a.ini")));
    EXPECT_EQ(readFile(dir.file("a.ini")), "[s]\r\nk=1\r\n");
}

TEST(IniFile, AnInterruptedSaveLeavesThePreviousFileIntact) {
    TempDir dir;
    std::string path = dir.file("a.ini");
    writeFile(path, "[s]\r\nk=1\r\n");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string huge(512u << 20, 'x');
        writeFileAtomically(path, huge);
        _exit(0);
    }
    usleep(150 * 1000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    std::string now = readFile(path);
    EXPECT_TRUE(now == "[s]\r\nk=1\r\n" || now.size() == (512u << 20));
}

}  // namespace
}  // namespace varnex
