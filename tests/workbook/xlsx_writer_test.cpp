#include "workbook/xlsx_writer.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <map>
#include <string>

#include "readers/workbook_reader.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xlsx_parts.h"
#include "workbook/excel_session.h"

namespace varnex {
namespace {

using testing::TempDir;
using testing::xmlCell;
using testing::zipPart;

size_t countOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(XlsxWriter, SheetsMergesWidthsAndOneFormatPerCombination) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(2);
    sheet.SetName("班级各科三率");
    sheet.SetVisible(0);
    ExcelSheet first = s.Sheet(1);
    first.SetName("目录");
    ExcelRange title = first.Range("A1", "D1");
    title.SetHorizontalAlignment(HAlign::Center);
    title.Merge(1);
    title.SetValue("期中考试 - 目录");
    ExcelRange block = first.Range("A4", "A7");
    block.BorderAround();
    block.SetHorizontalAlignment(HAlign::Center);
    block.SetVerticalAlignment(VAlign::Center);
    block.Merge(0);
    block.SetValue("优秀人数");
    ExcelRange rate = first.Range("C3", "C3");
    rate.SetColumnWidth(11);
    rate.SetNumberFormat("0.0");
    rate.SetValue("33.3");
    // 500 boxed, centred cells share one format.
    for (int row = 10; row < 60; ++row) {
        for (int column = 1; column <= 10; ++column) {
            ExcelRange cell = first.Range(CellName(column, row), CellName(column, row));
            cell.BorderAround();
            cell.SetHorizontalAlignment(HAlign::Center);
            cell.SetValue(column % 2 != 0 ? std::to_string(row * column) : "（3）班");
        }
    }

    TempDir dir;
    const std::string path = dir.file("out.xlsx");
    Status written = writeXlsx(s.workbook(), path);
    ASSERT_TRUE(written) << written.error();

    const std::string workbook = zipPart(path, "xl/workbook.xml");
    EXPECT_NE(workbook.find("<sheet name=\"目录\" sheetId=\"1\" r:id=\"rId1\"/>"), std::string::npos)
        << workbook;
    EXPECT_NE(workbook.find("<sheet name=\"班级各科三率\" sheetId=\"2\" state=\"hidden\""),
              std::string::npos);
    EXPECT_NE(workbook.find("<sheet name=\"Sheet3\" sheetId=\"3\" r:id=\"rId3\"/>"), std::string::npos);
    EXPECT_NE(workbook.find("fullCalcOnLoad=\"1\""), std::string::npos);  // recalculated on load

    const std::string xml = zipPart(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("tabSelected=\"1\""), std::string::npos);
    EXPECT_NE(
        xml.find("<mergeCells count=\"2\"><mergeCell ref=\"A1:D1\"/><mergeCell ref=\"A4:A7\"/></mergeCells>"),
        std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<cols><col min=\"3\" max=\"3\" width=\"11.7109375\" customWidth=\"1\"/></cols>"),
              std::string::npos);
    // The top-left cell holds the area's value; every other cell keeps its own edges.
    EXPECT_EQ(xmlCell(xml, "A4").type, "s");
    EXPECT_TRUE(xmlCell(xml, "A5").found);
    EXPECT_TRUE(xmlCell(xml, "A5").value.empty());
    EXPECT_NE(xmlCell(xml, "A5").style, xmlCell(xml, "A4").style);
    EXPECT_NE(xmlCell(xml, "A7").style, xmlCell(xml, "A5").style);
    EXPECT_EQ(xmlCell(xml, "A6").style, xmlCell(xml, "A5").style);
    EXPECT_EQ(xmlCell(xml, "C3").value, "33.3");
    EXPECT_EQ(xmlCell(xml, "B10").value, "10");
    EXPECT_EQ(xmlCell(xml, "K59").style, xmlCell(xml, "B10").style);

    const std::string styles = zipPart(path, "xl/styles.xml");
    EXPECT_NE(styles.find("<numFmt numFmtId=\"164\" formatCode=\"0.0\"/>"), std::string::npos);
    const std::string c3 = "<xf numFmtId=\"164\"";
    EXPECT_EQ(countOf(styles, c3), 1u);
    // default, centred title, "0.0", the block's top, middle and bottom, the boxed cells
    EXPECT_NE(styles.find("<cellXfs count=\"7\">"), std::string::npos) << styles;
    EXPECT_NE(styles.find("<borders count=\"5\">"), std::string::npos);
}

TEST(XlsxWriter, ConditionalFillIsARuleOnItsRangeAndLeavesTheCellsAlone) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    sheet.Range("B2", "B2").SetValue("-12.5");
    sheet.Range("B3", "B3").SetValue("3");
    sheet.AddConditionalFill({{1, 1}, {4, 2}}, -10, 0xFFC7CE);

    TempDir dir;
    const std::string path = dir.file("out.xlsx");
    Status written = writeXlsx(s.workbook(), path);
    ASSERT_TRUE(written) << written.error();
    const std::string xml = zipPart(path, "xl/worksheets/sheet1.xml");
    EXPECT_NE(xml.find("<conditionalFormatting sqref=\"B2:C5\"><cfRule type=\"cellIs\" dxfId=\"0\" "
                       "priority=\"1\" operator=\"lessThanOrEqual\"><formula>-10</formula></cfRule>"),
              std::string::npos)
        << xml;
    EXPECT_EQ(xmlCell(xml, "B2").value, "-12.5");
    EXPECT_EQ(xmlCell(xml, "B2").style, "");  // the fill is the rule's, not the cell's
    const std::string styles = zipPart(path, "xl/styles.xml");
    EXPECT_NE(styles.find("<dxfs count=\"1\">"), std::string::npos) << styles;
    EXPECT_NE(styles.find("FFFFC7CE"), std::string::npos) << styles;
}

TEST(XlsxWriter, FormulasCarryTheirComputedResults) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    auto put = [&](const char* at, const char* v) { sheet.Range(at, at).SetValue(v); };
    put("D6", "33.3");
    put("D7", "50.0");
    put("D8", "33.3");
    put("D9", "缺考");
    put("D11", "=RANK(D6,D$6:D$9)");
    put("D12", "=RANK(D7,D$6:D$9)");
    put("D13", "=RANK(D8,D$6:D$9)");
    put("D14", "=RANK(D9,D$6:D$9)");
    put("E6", "=AVERAGE(D$6:D$8)");
    put("E7", "=D$7-E$6");
    put("G5", "3");
    put("H5", "1");
    put("I5", "=(H$5/G$5)*100");
    put("J5", "=(H$5/F$5)*100");
    put("K5", "=RANK(I5,I$5:I$5)");
    s.workbook().recalculate();
    TempDir dir;
    const std::string path = dir.file("f.xlsx");
    Status written = writeXlsx(s.workbook(), path);
    ASSERT_TRUE(written) << written.error();
    const std::string xml = zipPart(path, "xl/worksheets/sheet1.xml");

    struct Expected {
        const char* cell;
        const char* formula;
        double number;      // when error is null
        const char* error;  // a text result
    };
    const Expected cases[] = {
        {"D11", "RANK(D6,D$6:D$9)", 2, nullptr},
        {"D12", "RANK(D7,D$6:D$9)", 1, nullptr},
        {"D13", "RANK(D8,D$6:D$9)", 2, nullptr},  // ties share the best rank
        {"D14", "RANK(D9,D$6:D$9)", 0, "#VALUE!"},
        {"E6", "AVERAGE(D$6:D$8)", (33.3 + 50 + 33.3) / 3, nullptr},
        {"E7", "D$7-E$6", 50 - (33.3 + 50 + 33.3) / 3, nullptr},
        {"I5", "(H$5/G$5)*100", 100.0 / 3, nullptr},
        {"J5", "(H$5/F$5)*100", 0, "#DIV/0!"},
        {"K5", "RANK(I5,I$5:I$5)", 1, nullptr},
    };
    for (const auto& c : cases) {
        testing::XmlCell cell = xmlCell(xml, c.cell);
        ASSERT_TRUE(cell.found) << c.cell;
        EXPECT_EQ(cell.formula, c.formula) << c.cell;
        if (c.error != nullptr) {
            EXPECT_EQ(cell.type, "str") << c.cell;
            EXPECT_EQ(cell.value, c.error) << c.cell;
        } else {
            EXPECT_EQ(cell.type, "") << c.cell;
            EXPECT_NEAR(std::stod(cell.value), c.number, 1e-12) << c.cell;
        }
    }
}

// Every part of a written file but the one that carries the time of writing.
std::map<std::string, std::string> partsOf(const std::string& path) {
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) return parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        if (name != "docProps/core.xml") parts[name] = zipPart(path, name);
    }
    zip_close(archive);
    return parts;
}

// Writing while releasing the cells gives the very same file, formulas reading other sheets
// included; the model keeps its sheets, names and merged areas but no cells.
TEST(XlsxWriter, ReleasingTheCellsWritesTheSameFile) {
    auto build = [](ExcelSession& s) {
        s.AddWorkbook(OmittedArgument);
        s.AddSheets(1);
        for (int position : {1, 2}) {
            ExcelSheet sheet = s.Sheet(position);
            sheet.SetName(position == 1 ? "目录" : "班级各科三率");
            ExcelRange title = sheet.Range("A1", "E1");
            title.SetHorizontalAlignment(HAlign::Center);
            title.Merge(1);
            title.SetValue("期中考试 - 班级各科三率（七年级）");
            for (int row = 3; row < 300; ++row) {
                for (int column = 0; column < 4; ++column) {
                    ExcelRange cell = sheet.Range(CellName(column, row), CellName(column, row));
                    cell.BorderAround();
                    cell.SetValue(column == 0 ? "（" + std::to_string(row % 7) + "）班"
                                              : std::to_string(row * column % 150) + ".5");
                }
                sheet.Range(CellName(4, row), CellName(4, row))
                    .SetValue("=RANK(B" + std::to_string(row) + ",B$3:B$299)");
            }
            sheet.Range("B300", "B300").SetValue("=AVERAGE(B3:B299)");
            sheet.Range("C300", "C300").SetValue("=B300/A3");  // an error result, kept as text
            // A figure of the other sheet: one written later, and one whose cells are gone by then.
            sheet.Range("F3", "F3").SetValue(position == 1 ? "='班级各科三率'!B300" : "='目录'!B300");
        }
    };
    TempDir dir;
    ExcelSession kept;
    build(kept);
    kept.workbook().recalculate();
    Status a = writeXlsx(kept.workbook(), dir.file("kept.xlsx"));
    ASSERT_TRUE(a) << a.error();
    ExcelSession released;
    build(released);
    Status b = writeXlsxReleasing(released.workbook(), dir.file("released.xlsx"));
    ASSERT_TRUE(b) << b.error();

    const auto keptParts = partsOf(dir.file("kept.xlsx"));
    ASSERT_GE(keptParts.size(), 8u);
    EXPECT_EQ(partsOf(dir.file("released.xlsx")), keptParts);
    const WorkbookModel& model = released.workbook();
    EXPECT_TRUE(model.cellsReleased());
    EXPECT_FALSE(kept.workbook().cellsReleased());
    EXPECT_EQ(model.sheet(1)->cellCount(), 0u);
    EXPECT_EQ(model.sheet(2)->name, "班级各科三率");
    EXPECT_EQ(model.sheet(2)->merges.size(), 1u);
}

// A sheet of many cells goes to the file row by row; it reads back as the same sheet held whole
// until the end (here kept whole by the link it carries), merged areas, formats and formulas'
// results included.
TEST(XlsxWriter, LargeSheetStreamsToTheSameCells) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    s.AddSheets(1);
    constexpr int kRows = 2700;  // 8 cells a row: over the size from which a sheet is streamed
    for (int position : {1, 2}) {
        ExcelSheet sheet = s.Sheet(position);
        sheet.SetName(position == 1 ? "学生成绩" : "学生成绩（保留）");
        ExcelRange title = sheet.Range("A1", "H1");
        title.Merge(1);
        title.SetHorizontalAlignment(HAlign::Center);
        title.SetValue("期末考试 - 学生成绩");
        ExcelRange block = sheet.Range("A5", "A8");
        block.BorderAround();
        block.Merge(0);
        block.SetValue("城关中学");
        for (int row = 3; row < kRows; ++row) {
            const std::string r = std::to_string(row);
            if (row < 5 || row > 8)
                sheet.Range("A" + r, "A" + r).SetValue("第" + std::to_string(row % 9) + "中学");
            sheet.Range("B" + r, "B" + r).SetValue("（" + std::to_string(row % 12) + "）班");
            sheet.Range("C" + r, "C" + r).SetValue("学生" + r);
            for (const char* column : {"D", "E", "F"}) {
                ExcelRange score = sheet.Range(column + r, column + r);
                score.SetNumberFormat("0.0");
                score.SetValue(std::to_string(row * 7 % 150) + ".5");
            }
            sheet.Range("G" + r, "G" + r).SetValue("=AVERAGE(D" + r + ":F" + r + ")");
            sheet.Range("H" + r, "H" + r).SetValue(row % 5 == 0 ? "缺考" : "");
        }
        if (position == 2) sheet.AddSheetLink("K1", "学生成绩");
    }
    TempDir dir;
    const std::string path = dir.file("large.xlsx");
    Status written = writeXlsxReleasing(s.workbook(), path);
    ASSERT_TRUE(written) << written.error();

    const std::string streamed = zipPart(path, "xl/worksheets/sheet1.xml");
    const std::string held = zipPart(path, "xl/worksheets/sheet2.xml");
    EXPECT_NE(streamed.find("t=\"inlineStr\""), std::string::npos);  // streamed: its texts inline
    EXPECT_EQ(held.find("t=\"inlineStr\""), std::string::npos);
    for (const std::string* xml : {&streamed, &held}) {
        EXPECT_NE(xml->find("<mergeCell ref=\"A1:H1\"/><mergeCell ref=\"A5:A8\"/>"), std::string::npos);
    }
    for (const char* at : {"A5", "A6", "A8", "D3", "G3", "G2699", "H2695"}) {
        SCOPED_TRACE(at);
        EXPECT_EQ(xmlCell(streamed, at).style, xmlCell(held, at).style);
        EXPECT_EQ(xmlCell(streamed, at).formula, xmlCell(held, at).formula);
    }
    EXPECT_EQ(xmlCell(streamed, "G2699").value, xmlCell(held, "G2699").value);

    auto opened = openWorkbookReader(path);
    ASSERT_TRUE(opened) << opened.error();
    auto rowsOf = [&](size_t index) {
        std::vector<std::vector<std::string>> rows;
        auto stream = (*opened)->openSheet(index);
        EXPECT_TRUE(stream) << stream.error();
        if (!stream) return rows;
        SheetRow row;
        for (Result<bool> got = (*stream)->next(row); got && *got; got = (*stream)->next(row)) {
            row.cells.resize(8);  // without the link's cell
            rows.push_back(row.cells);
        }
        return rows;
    };
    const auto streamedRows = rowsOf(0);
    ASSERT_EQ(streamedRows.size(), static_cast<size_t>(kRows - 2));  // row 2 is empty
    EXPECT_EQ(streamedRows, rowsOf(1));
    EXPECT_EQ(streamedRows[0][0], "期末考试 - 学生成绩");
    EXPECT_EQ(streamedRows[3][0], "城关中学");
    EXPECT_EQ(streamedRows.back()[6], "143.5");  // row 2699
}

TEST(XlsxWorkbook, ClosesExactlyOnce) {
    TempDir dir;
    XlsxWorkbook a(dir.file("a.xlsx"), "");
    ASSERT_TRUE(a.isOpen());
    workbook_add_worksheet(a.get(), "Sheet1");
    XlsxWorkbook b(std::move(a));
    EXPECT_FALSE(a.isOpen());
    EXPECT_EQ(a.close(), LXW_ERROR_NULL_PARAMETER_IGNORED);
    EXPECT_EQ(b.close(), LXW_NO_ERROR);
    EXPECT_EQ(b.close(), LXW_ERROR_NULL_PARAMETER_IGNORED);
    EXPECT_FALSE(zipPart(dir.file("a.xlsx"), "xl/workbook.xml").empty());

    // A failed close has freed the workbook too; a workbook never closed writes nothing.
    XlsxWorkbook c(dir.file("missing/c.xlsx"), "");
    workbook_add_worksheet(c.get(), "Sheet1");
    EXPECT_EQ(c.close(), LXW_ERROR_CREATING_XLSX_FILE);
    EXPECT_FALSE(c.isOpen());
    {
        XlsxWorkbook d(dir.file("d.xlsx"), "");
        workbook_add_worksheet(d.get(), "Sheet1");
        XlsxWorkbook e(dir.file("e.xlsx"), "");
        e = std::move(d);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.xlsx")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("e.xlsx")));
}

}  // namespace
}  // namespace varnex
