#include "export/template_generator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "readers/workbook_reader.h"
#include "tests/support/scoped_env.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_parts.h"

namespace varnex {
namespace {

using testing::ScopedEnv;
using testing::ScriptedFrontend;
using testing::TempDir;

constexpr uint8_t kBox = kBorderLeft | kBorderRight | kBorderTop | kBorderBottom;

struct GradeSheet {
    const char* name;
    std::vector<std::string> subjects;
};

// The twelve grade sheets in tab order with their subjects.
const std::vector<GradeSheet>& gradeSheets() {
    static const std::vector<std::string> two{"语文", "数学"};
    static const std::vector<std::string> three{"语文", "数学", "英语"};
    static const std::vector<std::string> senior{"语文", "数学", "英语", "物理", "化学",
                                                 "生物", "历史", "地理", "政治"};
    static const std::vector<GradeSheet> sheets{
        {"一年级", two},
        {"二年级", two},
        {"三年级", three},
        {"四年级", three},
        {"五年级", three},
        {"六年级", three},
        {"七年级", {"语文", "数学", "英语", "生物", "历史", "地理", "政治"}},
        {"八年级", {"语文", "数学", "英语", "物理", "生物", "历史", "地理", "政治"}},
        {"九年级", {"语文", "数学", "英语", "物理", "化学", "历史", "政治", "体育", "实验"}},
        {"高一", senior},
        {"高二", senior},
        {"高三", senior},
    };
    return sheets;
}

std::vector<std::string> gradeHeader(const GradeSheet& g) {
    std::vector<std::string> header{"序号", "学校", "班级", "姓名", "考场", "考号"};
    header.insert(header.end(), g.subjects.begin(), g.subjects.end());
    header.insert(header.end(), {"总分", "名次", "备注"});
    return header;
}

// What one cell must hold: its kind and text or number, whether it is boxed and centred.
void expectCell(const SheetModel& sheet, int column, int row, Cell::Kind kind, const std::string& text,
                bool centred) {
    const std::string where = sheet.name + "!" + CellName(column, row);
    const Cell* c = sheet.cell(row - 1, column);
    ASSERT_NE(c, nullptr) << where;
    EXPECT_EQ(c->kind, kind) << where;
    if (kind == Cell::Kind::Text) {
        EXPECT_EQ(c->text(), text) << where;
    }
    if (kind == Cell::Kind::Number) {
        EXPECT_EQ(c->number(), std::stod(text)) << where;
    }
    EXPECT_EQ(c->borders, kBox) << where;
    EXPECT_EQ(c->horizontalAlign, centred ? HAlign::Center : HAlign::General) << where;
    EXPECT_EQ(c->numberFormat, 0) << where;
}

TEST(TemplateWorkbook, SheetsHeadersWidthsBoxesAndSamples) {
    ExcelSession session;
    session.AddWorkbook(OmittedArgument);
    session.AddSheets(10);
    writeTemplateSheets(session);
    const WorkbookModel& book = session.workbook();
    ASSERT_EQ(book.sheetCount(), 13);
    EXPECT_TRUE(book.numberFormats().empty());

    for (size_t g = 0; g < gradeSheets().size(); ++g) {
        const SheetModel& sheet = *book.sheet(static_cast<int>(g) + 1);
        const std::vector<std::string> header = gradeHeader(gradeSheets()[g]);
        const int columns = static_cast<int>(header.size());
        EXPECT_EQ(sheet.name, gradeSheets()[g].name);
        EXPECT_TRUE(sheet.visible);
        EXPECT_TRUE(sheet.merges.empty());
        ASSERT_EQ(sheet.rowCount(), 3) << sheet.name;
        for (int row = 1; row <= 3; ++row) EXPECT_EQ(sheet.columnCount(row - 1), columns) << sheet.name;
        std::map<int, double> widths;
        for (int column = 0; column < columns; ++column) {
            widths[column] = 5;
            expectCell(sheet, column, 1, Cell::Kind::Text, header[static_cast<size_t>(column)], true);
            if (column > 0) {
                expectCell(sheet, column, 2, Cell::Kind::Empty, "", false);
                expectCell(sheet, column, 3, Cell::Kind::Empty, "", false);
            }
        }
        EXPECT_EQ(sheet.columnWidths, widths) << sheet.name;
        expectCell(sheet, 0, 2, Cell::Kind::Number, "1", true);
        expectCell(sheet, 0, 3, Cell::Kind::Number, "2", true);
    }
    // The sheets named in the edge cases: 九年级 to column R, 七年级's 总分 in column N.
    EXPECT_EQ(book.sheet(9)->at("R1")->text(), "备注");
    EXPECT_EQ(book.sheet(7)->at("N1")->text(), "总分");

    const SheetModel& teachers = *book.sheet(13);
    EXPECT_EQ(teachers.name, "教师任课表");
    EXPECT_TRUE(teachers.visible);
    const std::vector<std::string> header{"学校", "年级", "班级", "语文", "数学", "英语", "物理",
                                          "化学", "生物", "历史", "地理", "政治", "体育", "实验"};
    ASSERT_EQ(teachers.rowCount(), 13);
    std::map<int, double> widths;
    for (int column = 0; column < 14; ++column) {
        widths[column] = column == 2 ? 5 : 9;
        expectCell(teachers, column, 1, Cell::Kind::Text, header[static_cast<size_t>(column)], true);
        for (int row = 2; row <= 13; ++row) {
            EXPECT_EQ(teachers.columnCount(row - 1), 14);
            if (column == 1) {
                expectCell(teachers, column, row, Cell::Kind::Text,
                           gradeSheets()[static_cast<size_t>(row - 2)].name, true);
            } else if (column == 2) {
                expectCell(teachers, column, row, Cell::Kind::Number, "1", true);
            } else {
                expectCell(teachers, column, row, Cell::Kind::Empty, "", true);
            }
        }
    }
    EXPECT_EQ(teachers.columnWidths, widths);
}

// The calls a frontend saw, with the time stamps taken off the log lines.
std::vector<std::string> callsOf(const ScriptedFrontend& ui) {
    std::vector<std::string> calls;
    for (const auto& c : ui.calls)
        calls.push_back(c.rfind("log:", 0) == 0 ? "log:" + testing::withoutTime(c.substr(4)) : c);
    return calls;
}

// The tab names of a written workbook, in order.
std::vector<std::string> tabNames(const std::string& path) {
    const std::string xml = testing::zipPart(path, "xl/workbook.xml");
    std::vector<std::string> names;
    for (size_t at = xml.find("<sheet name=\""); at != std::string::npos;
         at = xml.find("<sheet name=\"", at + 1)) {
        size_t start = at + 13;
        names.push_back(xml.substr(start, xml.find('"', start) - start));
    }
    return names;
}

const char* const kExam = "2024学年第一学期期中考试";

TEST(GenerateTemplates, SavesOpensAndReports) {
    for (bool clipboardWorks : {true, false}) {
        TempDir dir;
        AppState state;
        state.examNameText = kExam;
        state.outputPath = dir.file("模板.xlsx");
        ScriptedFrontend ui;
        ui.clipboardWorks = clipboardWorks;
        Result<TemplateOutcome> made = generateTemplates(state, ui);
        ASSERT_TRUE(made) << made.error();
        EXPECT_EQ(made->savedPath, state.outputPath);

        // The message says where the file was saved and puts that path on the clipboard.
        const std::string done = std::string(kExam) + "的学生成绩表和教师任课表已经生成，保存为：\n" +
                                 state.outputPath +
                                 (clipboardWorks ? "\n文件路径已复制到了剪贴板，按 Ctrl+V 粘贴。" : "") +
                                 "\n\n点击确定后，将为你打开已生成的文件。";
        const std::vector<std::string> expected{
            std::string("log:生成导入模板：") + kExam,
            std::string("title:Varnex - 导入模板：") + kExam + " - 正在生成...",
            "log:保存文件：" + state.outputPath,
            std::string("title:Varnex - 导入模板：") + kExam + " - 生成完成",
            "clipboard:" + state.outputPath,
            "message:信息:" + done,
            "open:" + state.outputPath,
            "minimise",
        };
        EXPECT_EQ(callsOf(ui), expected);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(state.workbook.driverName, "Varnex workbook reader (*.xls, *.xlsx, *.et)");
        EXPECT_EQ(tabNames(state.outputPath).size(), 13u);
    }
}

// Every row of a sheet as our own reader gives it: the row number, then the cell texts.
std::vector<std::vector<std::string>> readSheet(WorkbookReader& reader, size_t index) {
    std::vector<std::vector<std::string>> rows;
    auto stream = reader.openSheet(index);
    EXPECT_TRUE(stream) << stream.error();
    if (!stream) return rows;
    SheetRow row;
    Result<bool> got = (*stream)->next(row);
    for (; got && *got; got = (*stream)->next(row)) {
        std::vector<std::string> cells{std::to_string(row.number)};
        cells.insert(cells.end(), row.cells.begin(), row.cells.end());
        while (cells.size() > 1 && cells.back().empty()) cells.pop_back();
        rows.push_back(cells);
    }
    EXPECT_TRUE(got) << got.error();
    return rows;
}

TEST(GenerateTemplates, TheWrittenFileReadsBack) {
    TempDir dir;
    AppState state;
    state.examNameText = kExam;
    state.outputPath = dir.file("模板.xlsx");
    ScriptedFrontend ui;
    ASSERT_TRUE(generateTemplates(state, ui));
    auto opened = openWorkbookReader(state.outputPath);
    ASSERT_TRUE(opened) << opened.error();
    WorkbookReader& reader = **opened;
    EXPECT_EQ(reader.sheetNames(),
              (std::vector<std::string>{"一年级", "二年级", "三年级", "四年级", "五年级", "六年级", "七年级",
                                        "八年级", "九年级", "高一", "高二", "高三", "教师任课表"}));
    for (size_t g = 0; g < gradeSheets().size(); ++g) {
        std::vector<std::string> header{"1"};
        for (const auto& h : gradeHeader(gradeSheets()[g])) header.push_back(h);
        EXPECT_EQ(readSheet(reader, g),
                  (std::vector<std::vector<std::string>>{header, {"2", "1"}, {"3", "2"}}))
            << gradeSheets()[g].name;
    }
    std::vector<std::vector<std::string>> teachers{{"1", "学校", "年级", "班级", "语文", "数学", "英语",
                                                    "物理", "化学", "生物", "历史", "地理", "政治", "体育",
                                                    "实验"}};
    for (size_t g = 0; g < gradeSheets().size(); ++g) {
        teachers.push_back({std::to_string(g + 2), "", gradeSheets()[g].name, "1"});
    }
    EXPECT_EQ(readSheet(reader, 12), teachers);
}

TEST(GenerateTemplates, StopsWithoutExamNameOrReaderOrWhenTheFileCannotBeSaved) {
    TempDir dir;
    {
        AppState state;
        state.examNameText = kExam;
        state.workbook.driverName = "earlier";
        ScriptedFrontend ui;
        EXPECT_FALSE(generateTemplates(state, ui, {}));
        const std::string missing =
            "在您的系统中未找到 Excel 驱动程序！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！";
        EXPECT_EQ(callsOf(ui), (std::vector<std::string>{"message:Varnex:" + missing, "log:" + missing}));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(state.workbook.driverName, "earlier");
    }
    {
        AppState state;
        state.workbook.driverName = "earlier";
        ScriptedFrontend ui;
        Result<TemplateOutcome> made = generateTemplates(state, ui);
        EXPECT_EQ(made.errorKind(), ErrorKind::BadInput);
        EXPECT_EQ(callsOf(ui), (std::vector<std::string>{"message:错误:请输入或选择考试名称！",
                                                         "log:请输入或选择考试名称！", "focus:ExamName"}));
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(state.workbook.driverName, "earlier");
    }
    {
        AppState state;
        state.examNameText = kExam;
        state.outputPath = dir.file("模板.xlsx");
        testing::writeFile(state.outputPath, "keep me");
        ScriptedFrontend ui;
        Result<TemplateOutcome> made = generateTemplates(state, ui);
        ASSERT_FALSE(made);
        EXPECT_EQ(made.error(), "无法保存文件“" + state.outputPath + "”：文件已经存在。");
        const std::vector<std::string> expected{
            std::string("log:生成导入模板：") + kExam,
            std::string("title:Varnex - 导入模板：") + kExam + " - 正在生成...",
            "message:错误:无法保存文件“" + state.outputPath + "”：文件已经存在。",
            "log:无法保存文件“" + state.outputPath + "”：文件已经存在。",
        };
        EXPECT_EQ(callsOf(ui), expected);
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(testing::readFile(state.outputPath), "keep me");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(GenerateTemplates, GoesToTheDocumentsFolderUnderTheExamName) {
    TempDir home;
    std::filesystem::create_directory(home.file("Documents"));
    ScopedEnv h("HOME", home.path());
    ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv documents("XDG_DOCUMENTS_DIR", std::nullopt);
    for (const char* name : {"2024学年第一学期期中考试.xlsx", "2024学年第一学期期中考试 (2).xlsx"}) {
        AppState state;
        state.examNameText = kExam;
        ScriptedFrontend ui;
        Result<TemplateOutcome> made = generateTemplates(state, ui);
        ASSERT_TRUE(made) << made.error();
        EXPECT_EQ(made->savedPath, home.file("Documents/") + name);
        ASSERT_EQ(ui.openedDocuments.size(), 1u) << (ui.messages.empty() ? "" : ui.messages[0].text);
        EXPECT_EQ(ui.openedDocuments[0], home.file("Documents/") + name);
        EXPECT_EQ(tabNames(ui.openedDocuments[0]).size(), 13u);
        // The second is numbered: the message and the clipboard name it as saved.
        EXPECT_EQ(ui.clipboard, std::vector<std::string>{home.file("Documents/") + name});
        EXPECT_NE(ui.messages[0].text.find("保存为：\n" + home.file("Documents/") + name + "\n"),
                  std::string::npos)
            << ui.messages[0].text;
    }
}

}  // namespace
}  // namespace varnex
