#include "workbook/workbook_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "base/text_util.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_parts.h"
#include "workbook/excel_session.h"

namespace varnex {
namespace {

using testing::ScopedEnv;
using testing::TempDir;
using testing::zipPart;

namespace fs = std::filesystem;

// A workbook of `rows` rows of boxed cells with numbers, texts and a rank formula.
WorkbookModel sampleWorkbook(int rows) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    sheet.SetName("成绩");
    for (int row = 1; row <= rows; ++row) {
        for (int column = 0; column < 6; ++column) {
            ExcelRange r = sheet.Range(CellName(column, row), CellName(column, row));
            r.BorderAround();
            r.SetValue(column == 0 ? "学生" + std::to_string(row) : std::to_string(row * 7 % 101 + column));
        }
        sheet.Range(CellName(6, row), CellName(6, row)).SetValue(strprintf("=RANK(B%d,B$1:B$%d)", row, rows));
    }
    return std::move(s.workbook());
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.insert(e.path().filename().string());
    return names;
}

TEST(SaveWorkbook, AddsANumberWhenTheNameIsTaken) {
    TempDir dir;
    WorkbookModel model = sampleWorkbook(3);
    SaveTarget target{dir.path(), "期中考试", "", false};
    for (const char* expected : {"期中考试.xlsx", "期中考试 (2).xlsx", "期中考试 (3).xlsx"}) {
        Result<std::string> r = saveWorkbook(model, target);
        ASSERT_TRUE(r.ok()) << r.error();
        EXPECT_EQ(*r, dir.file(expected));
        EXPECT_NE(zipPart(*r, "xl/worksheets/sheet1.xml").find("<f>RANK(B3,B$1:B$3)</f>"), std::string::npos);
    }
    // A base name is a file name: a separator in it does not lead into another folder.
    Result<std::string> slash = saveWorkbook(model, {dir.path() + "/", "2024/2025学年", "", false});
    ASSERT_TRUE(slash.ok()) << slash.error();
    EXPECT_EQ(*slash, dir.file("2024_2025学年.xlsx"));
    EXPECT_EQ(filesIn(dir.path()), (std::set<std::string>{"期中考试.xlsx", "期中考试 (2).xlsx",
                                                          "期中考试 (3).xlsx", "2024_2025学年.xlsx"}));
}

TEST(SaveWorkbook, ExactPathIsReplacedOnlyWhenAsked) {
    TempDir dir;
    const std::string path = dir.file("结果.xlsx");
    testing::writeFile(path, "keep me");
    WorkbookModel model = sampleWorkbook(2);

    Result<std::string> refused = saveWorkbook(model, {"", "", path, false});
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), "无法保存文件“" + path + "”：文件已经存在。");
    EXPECT_EQ(testing::readFile(path), "keep me");

    Result<std::string> replaced = saveWorkbook(model, {"", "", path, true});
    ASSERT_TRUE(replaced.ok()) << replaced.error();
    EXPECT_EQ(*replaced, path);
    EXPECT_FALSE(zipPart(path, "xl/workbook.xml").empty());
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"结果.xlsx"});
}

TEST(SaveWorkbook, AFailedSaveNamesThePathAndLeavesNothingBehind) {
    TempDir dir;
    testing::writeFile(dir.file("a-file"), "x");
    fs::create_directory(dir.file("locked"));
    fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    const bool root = geteuid() == 0;  // permissions do not stop root
    struct Case {
        const char* name;
        SaveTarget target;
        std::string path;
        const char* reason;
        ErrorKind kind;  // a refused folder only is worth trying another folder
    };
    const std::string longName(300, 'x');
    const Case cases[] = {
        {"missing folder",
         {dir.file("none"), "成绩", "", false},
         dir.file("none/成绩.xlsx"),
         "文件夹不存在。",
         ErrorKind::FolderRefused},
        {"folder is a file",
         {dir.file("a-file"), "成绩", "", false},
         dir.file("a-file/成绩.xlsx"),
         "文件夹不存在。",
         ErrorKind::FolderRefused},
        {"name too long",
         {dir.path(), longName, "", false},
         dir.file(longName + ".xlsx"),
         "文件名或路径太长。",
         ErrorKind::BadInput},
        {"exact path too long",
         {"", "", dir.file(longName), true},
         dir.file(longName),
         "文件名或路径太长。",
         ErrorKind::BadInput},
        {"exact path is a folder",
         {"", "", dir.file("locked"), true},
         dir.file("locked"),
         "已有同名的文件夹。",
         ErrorKind::BadInput},
        {"folder not writable",
         {dir.file("locked"), "成绩", "", false},
         dir.file("locked/成绩.xlsx"),
         "没有写入该文件夹的权限。",
         ErrorKind::FolderRefused},
    };
    WorkbookModel model = sampleWorkbook(2);
    const std::set<std::string> before = filesIn(dir.path());
    for (const auto& c : cases) {
        if (root && std::string(c.name) == "folder not writable") continue;
        Result<std::string> r = saveWorkbook(model, c.target);
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.error(), "无法保存文件“" + c.path + "”：" + c.reason) << c.name;
        EXPECT_EQ(r.errorKind(), c.kind) << c.name;
        EXPECT_EQ(filesIn(dir.path()), before) << c.name;
        EXPECT_TRUE(filesIn(dir.file("locked")).empty()) << c.name;
    }
}

TEST(SaveWorkbook, TextBeyondTheCellLimitIsNamedInChinese) {
    TempDir dir;
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    s.Sheet(1).SetName("成绩");
    s.Sheet(1).Range("B2", "B2").SetValue(std::string(40000, 'x'));
    Result<std::string> r = saveWorkbook(s.workbook(), {dir.path(), "成绩", "", false});
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.error().find("工作表“成绩”的 B2：文字超过了一个单元格能容纳的 32767 个字符"),
              std::string::npos)
        << r.error();
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(SaveWorkbook, AFullDiskLeavesNoPartialFile) {
    TempDir dir;
    WorkbookModel model = sampleWorkbook(3000);
    // The file-size limit makes every write beyond 16 KB fail as a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Result<std::string> r = saveWorkbook(model, {dir.path(), "成绩", "", false});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error(), "无法保存文件“" + dir.file("成绩.xlsx") + "”：文件没有完整写入，磁盘空间可能不足。");
    EXPECT_EQ(r.errorKind(), ErrorKind::WriteFailed);  // the folder took the file: no other folder helps
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(DocumentsFolder, FollowsTheDesktopSettings) {
    struct Case {
        const char* name;
        const char* userDirs;     // contents of ~/.config/user-dirs.dirs, null for none
        const char* environment;  // XDG_DOCUMENTS_DIR relative to home ("" unset)
        bool documentsExists;     // ~/Documents
        const char* expected;     // relative to home ("" is home itself)
    };
    const Case cases[] = {
        {"user-dirs",
         "# written by "
         "xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOCUMENTS_DIR=\"$HOME/文档\"\n",
         "", true, "/文档"},
        {"user-dirs absolute", "XDG_DOCUMENTS_DIR=\"@/Papers\"\n", "", false, "/Papers"},
        {"user-dirs wins over the environment", "XDG_DOCUMENTS_DIR=\"$HOME/文档\"\n", "/Papers", false,
         "/文档"},
        {"environment", "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n", "/Papers", false, "/Papers"},
        {"configured folder missing", "XDG_DOCUMENTS_DIR=\"$HOME/不存在\"\n", "", true, "/Documents"},
        {"no settings", nullptr, "", true, "/Documents"},
        {"nothing at all", nullptr, "", false, ""},
    };
    for (const auto& c : cases) {
        TempDir home;
        fs::create_directories(home.file(".config"));
        fs::create_directory(home.file("文档"));
        fs::create_directory(home.file("Papers"));
        if (c.documentsExists) fs::create_directory(home.file("Documents"));
        if (c.userDirs != nullptr) {
            std::string text = c.userDirs;
            if (size_t at = text.find('@'); at != std::string::npos) text.replace(at, 1, home.path());
            testing::writeFile(home.file(".config/user-dirs.dirs"), text);
        }
        ScopedEnv h("HOME", home.path());
        ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
        ScopedEnv documents("XDG_DOCUMENTS_DIR", *c.environment
                                                     ? std::optional<std::string>(home.path() + c.environment)
                                                     : std::nullopt);
        EXPECT_EQ(documentsFolder(), home.path() + c.expected) << c.name;
    }
}

}  // namespace
}  // namespace varnex
