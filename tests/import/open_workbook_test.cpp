#include "import/open_workbook.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/control_ids.h"
#include "app/spreadsheet_driver.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::ScriptedFrontend;
using testing::TempDir;
using testing::withoutTime;

constexpr const char* kRefused =
    "获取 Excel 工作表失败！\n请安装2007及之后版本的 Microsoft Office Excel，然后重试！";
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
        EXPECT_TRUE(ui.logLines.empty());
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
    openWorkbook(state, ui, path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.titles, (std::vector<std::string>{"Varnex - a.b - 准备打开...", "Varnex - a.b - 正在打开...",
                                                   "Varnex - a.b", "Varnex - a.b：成绩"}));
    ASSERT_EQ(ui.logLines.size(), 1u);
    EXPECT_EQ(withoutTime(ui.logLines[0]), "打开文件：" + path);
    EXPECT_NE(ui.logLines[0], withoutTime(ui.logLines[0]));  // time-stamped
    EXPECT_EQ(ui.enabled, (std::vector<std::pair<ControlId, bool>>{{ctl::ImportStudents, true},
                                                                   {ctl::ImportTeachers, true}}));
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
    openWorkbook(state, ui, path);
    openWorkbook(state, ui, path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state.examNames, (std::vector<std::string>{"期中考试", "期中"}));
    EXPECT_EQ(state.examNameText, "期中");
    EXPECT_EQ(state.recentFiles.entries(), std::vector<std::string>{path});
    EXPECT_EQ(ui.notifications, 2);
}

TEST_F(OpenWorkbookTest, FormatComesFromTheContentWhateverTheExtension) {
    // An .xlsx package named .xls, and both kinds named .et.
    for (const auto& [source, name] :
         {std::pair{"workbook.xlsx", "包.xls"}, std::pair{"workbook_xls.et", "旧.et"},
          std::pair{"workbook_xlsx.et", "新.et"}}) {
        ScriptedFrontend fresh;
        openWorkbook(state, fresh, place(source, name));
        EXPECT_TRUE(fresh.messages.empty()) << name;
        EXPECT_EQ(state.workbook.sheetNames.size(), 4u) << name;
    }
}

TEST_F(OpenWorkbookTest, RefusalsBeforeReadingKeepThePreviousWorkbook) {
    struct Case {
        std::string path;
        std::string text;
    };
    std::string upper = place("workbook.xls", "成绩.XLS");
    std::string none = place("workbook.xls", "成绩");
    const Case cases[] = {
        {dir.file("没有.xls"), "文件不存在：\n" + dir.file("没有.xls")},
        {dir.path() + "/", "文件名不得为空！"},
        {upper, "请选择Excel工作表或WPS表格文件：\n" + upper},
        {none, "请选择Excel工作表或WPS表格文件：\n" + none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ui = ScriptedFrontend();
        openPrevious();
        openWorkbook(state, ui, c.path);
        expectOnlyMessage(c.text, "错误", MessageIcon::Error);
        EXPECT_TRUE(ui.titles.empty());
        EXPECT_EQ(state.workbook.path, "/earlier/上次.xls");
        EXPECT_EQ(state.workbook.title, "上次");
        EXPECT_EQ(state.workbook.sheetNames, std::vector<std::string>{"旧表"});
    }
}

TEST_F(OpenWorkbookTest, FilesThatAreNoWorkbookEmptyTheListAndKeepThePath) {
    struct Case {
        const char* fixture;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"not_a_workbook.xls", "名单.xls", kRefused},  // text named .xls
        {"单表.xlsx", "单表.xlsx", nullptr},           // a single sheet named like the file opens
        {"no_sheets.xlsx", "空.xlsx", kNoSheets},
        {"inline_chart.xlsx", "图.xlsx", nullptr},  // chart sheets are not listed, the rest is fine
        {"truncated.xlsx", "截断.xlsx", kRefused},
        {"truncated.xls", "截断.xls", kRefused},
        {"missing_workbook.xlsx", "缺.xlsx", kRefused},
        {"deep.xlsx", "深.xlsx", kRefused},
        {"bad_record_length.xls", "长.xls", kRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui = ScriptedFrontend();
        state = AppState();
        openPrevious();
        std::string path = place(c.fixture, c.name);
        openWorkbook(state, ui, path);
        if (c.text == nullptr) {
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(state.workbook.path, path);
            continue;
        }
        expectOnlyMessage(c.text, "不能识别的文件格式", MessageIcon::Error);
        EXPECT_TRUE(state.workbook.sheetNames.empty());
        EXPECT_EQ(state.workbook.selectedSheet, -1);
        EXPECT_EQ(state.workbook.path, "/earlier/上次.xls");
        std::string title = std::string(c.name).substr(0, std::string(c.name).rfind('.'));
        EXPECT_EQ(ui.titles, (std::vector<std::string>{"Varnex - " + title + " - 准备打开...",
                                                       "Varnex - " + title + " - 正在打开..."}));
    }
}

TEST_F(OpenWorkbookTest, MachinesWithoutTheRightReaderGetPlainBoxes) {
    std::string xlsx = place("workbook.xlsx", "新.xlsx");
    std::string xls = place("workbook.xls", "旧.xls");
    state.workbook.driverName = "earlier";
    openWorkbook(state, ui, xls, {});
    expectOnlyMessage(
        "在您的系统中未找到 Excel 驱动程序！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！",
        "Varnex", MessageIcon::None);
    EXPECT_EQ(state.workbook.driverName, "earlier");

    ui = ScriptedFrontend();
    const std::vector<std::string> xlsOnly = {"Other reader", std::string(kXlsReaderName) + " 2.0"};
    openWorkbook(state, ui, xlsx, xlsOnly);
    expectOnlyMessage(
        "在您的系统中未找到 Excel 2007 驱动程序！\n请正确安装2007及之后版本的 Microsoft Office "
        "Excel，然后重试！",
        "Varnex", MessageIcon::None);
    EXPECT_EQ(state.workbook.driverName, std::string(kXlsReaderName) + " 2.0");
    EXPECT_EQ(state.workbook.path, "");

    ui = ScriptedFrontend();
    openWorkbook(state, ui, xls, xlsOnly);
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
