#include "import/open_workbook.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/spreadsheet_driver.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::ScriptedFrontend;
using testing::TempDir;
using testing::withoutTime;

constexpr const char* kNoSheets =
    "获取 Excel 工作表失败！\n请安装2007或更高版本的 Microsoft Office Excel，然后重试！";

class OpenWorkbookTest : public ::testing::Test {
  protected:
    /// Copies a fixture into the temporary folder under another name.
    std::string place(const std::string& fixtureName, const std::string& name) {
        std::filesystem::copy_file(fixture(fixtureName), dir.file(name));
        return dir.file(name);
    }
    /// A state that already shows an opened workbook.
    void openPrevious() {
        state.workbook.path = "/earlier/上次.xls";
        state.workbook.title = "上次";
        state.workbook.sheetNames = {"旧表"};
        state.workbook.selectedSheet = 0;
    }
    void expectOnlyMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].caption, caption);
        EXPECT_EQ(ui.messages[0].icon, icon);
        ASSERT_EQ(ui.logLines.size(), 1u);  // a refusal is in the log too
        EXPECT_EQ(withoutTime(ui.logLines[0]), text);
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_EQ(state.recentFiles.count(), 0);
    }
    TempDir dir;
    AppState state;
    ScriptedFrontend ui;
};

TEST_F(OpenWorkbookTest, OpensAWorkbookWithEveryStepInOrder) {
    std::string path = place("workbook.xls", "a.b.xls");
    Result<OpenOutcome> opened = openWorkbook(state, ui, path);
    ASSERT_TRUE(opened) << opened.error();
    EXPECT_EQ(opened->title, "a.b");
    EXPECT_EQ(opened->sheetNames, (std::vector<std::string>{"成绩", "教师任课表", "隐藏", "Sheet4"}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.titles, (std::vector<std::string>{"Varnex - a.b - 准备打开...", "Varnex - a.b - 正在打开...",
                                                   "Varnex - a.b", "Varnex - a.b：成绩"}));
    ASSERT_EQ(ui.logLines.size(), 1u);
    EXPECT_EQ(withoutTime(ui.logLines[0]), "打开文件：" + path);
    EXPECT_NE(ui.logLines[0], withoutTime(ui.logLines[0]));  // time-stamped
    EXPECT_EQ(ui.enabled, (std::vector<std::pair<Action, bool>>{{Action::ImportStudents, true},
                                                                {Action::ImportTeachers, true}}));
    EXPECT_EQ(ui.notifications, 1);
    EXPECT_EQ(ui.calls.back(), "sound");
    EXPECT_EQ(state.workbook.path, path);
    EXPECT_EQ(state.workbook.title, "a.b");
    EXPECT_EQ(state.workbook.driverName, kXlsxReaderName);
    EXPECT_EQ(state.workbook.sheetNames, (std::vector<std::string>{"成绩", "教师任课表", "隐藏", "Sheet4"}));
    EXPECT_EQ(state.workbook.selectedSheetName(), "成绩");
    EXPECT_EQ(state.recentFiles.entries(), std::vector<std::string>{path});
    EXPECT_EQ(state.examNames, std::vector<std::string>{"a.b"});
    EXPECT_EQ(state.examNameText, "a.b");
}

TEST_F(OpenWorkbookTest, ExamNameIsAddedOnceAndAlsoBesideALongerName) {
    state.examNames = {"期中考试"};
    state.examNameText = "期中考试";
    std::string path = place("workbook.xlsx", "期中.xlsx");
    EXPECT_TRUE(openWorkbook(state, ui, path));
    EXPECT_TRUE(openWorkbook(state, ui, path));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.examNames, (std::vector<std::string>{"期中考试", "期中"}));
    EXPECT_EQ(state.examNameText, "期中");
    EXPECT_EQ(state.recentFiles.entries(), std::vector<std::string>{path});
    EXPECT_EQ(ui.notifications, 2);
}

TEST_F(OpenWorkbookTest, FormatComesFromTheContentWhateverTheExtensionInAnyCase) {
    struct Case {
        const char* fixture;
        const char* name;
        std::vector<std::string> sheets;
    };
    const std::vector<std::string> four = {"成绩", "教师任课表", "隐藏", "Sheet4"};
    const std::vector<std::string> both = {"教师任课表", "成绩"};
    const Case cases[] = {
        {"workbook.xlsx", "包.xls", four},   // an .xlsx package named .xls
        {"workbook_xls.et", "旧.et", four},  // both kinds named .et
        {"workbook_xlsx.et", "新.ET", four},
        {"workbook.xlsx", "大写.XLSX", four},  // extensions in any case
        {"workbook.xls", "混合.Xls", four},
        {"网页成绩.xls", "网页.htm", both},  // a web page under .xls, .htm, .html, .xlsx
        {"网页成绩.xls", "网页.HTML", both},
        {"网页成绩.xls", "网页.xlsx", both},
        {"表格2003.xls", "表格.xml", both},  // an XML spreadsheet under .xls, .xml, .et
        {"表格2003.xls", "表格.et", both},
        {"成绩.csv", "名单.CSV", {"名单"}},  // a CSV list, named after the file
        {"workbook.xlsx", "包.csv", four},   // content first, also under .csv
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedFrontend fresh;
        std::string path = place(c.fixture, c.name);
        EXPECT_TRUE(openWorkbook(state, fresh, path));
        EXPECT_TRUE(fresh.messages.empty()) << (fresh.messages.empty() ? "" : fresh.messages[0].text);
        EXPECT_EQ(state.workbook.path, path);
        EXPECT_EQ(state.workbook.sheetNames, c.sheets);
    }
}

// The opened file's name is proposed as the exam name, also when the list holds it already (an
// earlier export's name, the file opened before) and another name is in the box.
TEST_F(OpenWorkbookTest, TheFileNameIsProposedAsTheExamName) {
    state.examNames = {"期中", "a.b"};
    state.examNameText = state.examNameProposal = "期中";
    ASSERT_TRUE(openWorkbook(state, ui, place("workbook.xls", "a.b.xls")));
    EXPECT_EQ(state.examNameText, "a.b");
    EXPECT_EQ(state.examNameProposal, "a.b");
    EXPECT_EQ(state.examNames, (std::vector<std::string>{"期中", "a.b"}));
}

TEST_F(OpenWorkbookTest, RefusalsBeforeReadingKeepThePreviousWorkbook) {
    struct Case {
        std::string path;
        std::string text;
        ErrorKind kind;
    };
    std::string text = place("workbook.xls", "成绩.txt");
    std::string none = place("workbook.xls", "成绩");
    const Case cases[] = {
        {dir.file("没有.xls"), "文件不存在：\n" + dir.file("没有.xls"), ErrorKind::FileRefused},
        {dir.path() + "/", "文件名不得为空！", ErrorKind::BadInput},
        {text, "请选择Excel工作表或WPS表格文件：\n" + text, ErrorKind::FileRefused},
        {none, "请选择Excel工作表或WPS表格文件：\n" + none, ErrorKind::FileRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ui = ScriptedFrontend();
        openPrevious();
        Result<OpenOutcome> opened = openWorkbook(state, ui, c.path);
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error(), c.text);  // what the message said
        EXPECT_EQ(opened.errorKind(), c.kind);
        expectOnlyMessage(c.text, "错误", MessageIcon::Error);
        EXPECT_TRUE(ui.titles.empty());
        EXPECT_EQ(state.workbook.path, "/earlier/上次.xls");
        EXPECT_EQ(state.workbook.title, "上次");
        EXPECT_EQ(state.workbook.sheetNames, std::vector<std::string>{"旧表"});
    }
}

// A file that cannot be read is named in the message and in the log; the previous workbook stays
// open: its path, title, sheets and selection, the exam names and the window title.
TEST_F(OpenWorkbookTest, FilesThatCannotBeReadLeaveEverythingAsItWas) {
    struct Case {
        const char* fixture;  ///< null: a few bytes of binary data; "": no bytes at all
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"", "零.xlsx", "文件“零.xlsx”是空文件（0 字节），其中没有任何工作表"},
        {"", "零.csv", "文件“零.csv”是空文件（0 字节），其中没有任何工作表"},
        {"not_a_workbook.xls", "名单.xls", "文件不是有效的工作簿：名单.xls"},  // text named .xls
        {"not_a_workbook.xls", "名单.xml", "文件不是有效的工作簿：名单.xml"},
        {"not_a_workbook.xls", "名单.htm", "文件不是有效的工作簿：名单.htm"},
        {nullptr, "数据.csv", "文件不是有效的工作簿：数据.csv"},  // binary data named .csv
        {"no_sheets.xlsx", "空.xlsx", kNoSheets},
        {"truncated.xlsx", "截断.xlsx", "文件“截断.xlsx”已损坏：Not a zip archive"},
        {"truncated.xls", "截断.xls", "文件“截断.xls”已损坏：复合文档结构无法读取"},
        {"deep.xlsx", "深.xlsx", "文件“深.xlsx”已损坏：XML 嵌套层数过多"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui = ScriptedFrontend();
        state = AppState();
        openPrevious();
        state.examNames = {"上次"};
        state.examNameText = "期中考试";
        std::string path = dir.file(c.name);
        if (c.fixture != nullptr && *c.fixture == '\0') {
            testing::writeFile(path, "");
        } else if (c.fixture != nullptr) {
            place(c.fixture, c.name);
        } else {
            testing::writeFile(path, std::string("\x01\x00\x02binary", 9));
        }
        Result<OpenOutcome> opened = openWorkbook(state, ui, path);
        EXPECT_EQ(opened.errorKind(), ErrorKind::FileRefused);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.text);
        EXPECT_EQ(ui.messages[0].caption, "不能识别的文件格式");
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        ASSERT_EQ(ui.logLines.size(), 1u);
        EXPECT_EQ(withoutTime(ui.logLines[0]), c.text);
        EXPECT_TRUE(ui.titles.empty());
        EXPECT_TRUE(ui.enabled.empty());
        EXPECT_EQ(ui.notifications, 0);
        EXPECT_EQ(state.recentFiles.count(), 0);
        EXPECT_EQ(state.workbook.path, "/earlier/上次.xls");
        EXPECT_EQ(state.workbook.title, "上次");
        EXPECT_EQ(state.workbook.sheetNames, std::vector<std::string>{"旧表"});
        EXPECT_EQ(state.workbook.selectedSheet, 0);
        EXPECT_EQ(state.examNames, std::vector<std::string>{"上次"});
        EXPECT_EQ(state.examNameText, "期中考试");
    }
}

TEST_F(OpenWorkbookTest, AWorkbookWhoseOnlySheetCarriesTheFileNameOpens) {
    // Chart sheets are not listed, the rest is fine.
    for (const auto& [source, name] :
         {std::pair{"单表.xlsx", "单表.xlsx"}, std::pair{"inline_chart.xlsx", "图.xlsx"}}) {
        ScriptedFrontend fresh;
        std::string path = place(source, name);
        EXPECT_TRUE(openWorkbook(state, fresh, path)) << name;
        EXPECT_TRUE(fresh.messages.empty()) << name;
        EXPECT_EQ(state.workbook.path, path);
    }
}

TEST_F(OpenWorkbookTest, MachinesWithoutTheRightReaderGetPlainBoxes) {
    std::string xlsx = place("workbook.xlsx", "新.xlsx");
    std::string xls = place("workbook.xls", "旧.xls");
    state.workbook.driverName = "earlier";
    EXPECT_FALSE(openWorkbook(state, ui, xls, {}));
    expectOnlyMessage(
        "在您的系统中未找到 Excel 驱动程序！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！",
        "Varnex", MessageIcon::None);
    EXPECT_EQ(state.workbook.driverName, "earlier");

    ui = ScriptedFrontend();
    const std::vector<std::string> xlsOnly = {"Other reader", std::string(kXlsReaderName) + " 2.0"};
    EXPECT_FALSE(openWorkbook(state, ui, xlsx, xlsOnly));
    expectOnlyMessage(
        "在您的系统中未找到 Excel 2007 驱动程序！\n请正确安装2007及之后版本的 Microsoft Office "
        "Excel，然后重试！",
        "Varnex", MessageIcon::None);
    EXPECT_EQ(state.workbook.driverName, std::string(kXlsReaderName) + " 2.0");
    EXPECT_EQ(state.workbook.path, "");

    ui = ScriptedFrontend();
    EXPECT_TRUE(openWorkbook(state, ui, xls, xlsOnly));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.workbook.path, xls);
}

TEST(SpreadsheetDriver, ChoosesTheXlsxReaderFirstAndFindsEntriesBySubstring) {
    std::string driver = "before";
    EXPECT_TRUE(chooseSpreadsheetDriver(driver, false));
    EXPECT_EQ(driver, kXlsxReaderName);
    const std::vector<std::string> both = {std::string(kXlsReaderName) + " extra", kXlsxReaderName};
    EXPECT_TRUE(chooseSpreadsheetDriver(driver, true, both));
    EXPECT_EQ(driver, kXlsxReaderName);
    // The .xls reader's name is no part of the .xlsx reader's, so each search finds its own.
    EXPECT_EQ(findInstalledDriver({kXlsxReaderName}, kXlsReaderName), "");
    EXPECT_EQ(findInstalledDriver(both, kXlsReaderName), std::string(kXlsReaderName) + " extra");
}

}  // namespace
}  // namespace varnex
