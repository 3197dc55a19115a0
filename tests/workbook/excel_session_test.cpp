#include "workbook/excel_session.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnex {
namespace {

struct NameCase {
    int column;
    int row;
    const char* name;
};

TEST(CellName, FormsLettersPastZ) {
    const NameCase cases[] = {{0, 3, "A3"},   {25, 1, "Z1"},  {26, 1, "AA1"},  {27, 9, "AB9"},
                              {51, 2, "AZ2"}, {52, 2, "BA2"}, {701, 5, "ZZ5"}, {702, 5, "AAA5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CellName(c.column, c.row), c.name);
        auto back = parseCellName(c.name);
        ASSERT_TRUE(back.has_value()) << c.name;
        EXPECT_EQ(back->column, c.column);
        EXPECT_EQ(back->row, c.row - 1);
    }
    EXPECT_EQ(parseCellName("$D$6")->column, 3);
    EXPECT_FALSE(parseCellName("6D").has_value());
    EXPECT_FALSE(parseCellName("D0").has_value());
    EXPECT_FALSE(parseCellName("").has_value());
}

struct TypedCase {
    const char* input;
    Cell::Kind kind;
    double number;
};

TEST(ExcelRange, SetValueParsesTypedInput) {
    const TypedCase cases[] = {
        {" 3/10 ", Cell::Kind::Text, 0},      {"85", Cell::Kind::Number, 85},
        {"85.0", Cell::Kind::Number, 85},     {"-5", Cell::Kind::Number, -5},
        {"33.3", Cell::Kind::Number, 33.3},   {" 12 ", Cell::Kind::Number, 12},
        {"（3）班", Cell::Kind::Text, 0},     {"1e5", Cell::Kind::Text, 0},
        {"第  1→10 名", Cell::Kind::Text, 0}, {"=RANK(A1,A$1:A$2)", Cell::Kind::Formula, 0},
        {"", Cell::Kind::Empty, 0},           {"-", Cell::Kind::Text, 0},
        {"2024-01-05", Cell::Kind::Text, 0},
    };
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    for (const auto& c : cases) {
        sheet.Range("B2", "B2").SetValue(c.input);
        const Cell* cell = s.workbook().sheet(1)->at("B2");
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->kind, c.kind) << c.input;
        if (c.kind == Cell::Kind::Number) {
            EXPECT_DOUBLE_EQ(cell->number(), c.number) << c.input;
        }
        if (c.kind == Cell::Kind::Text || c.kind == Cell::Kind::Formula) {
            EXPECT_EQ(cell->text(), c.input);
        }
    }
    sheet.Range("B2", "B2").SetValue("-0");
    EXPECT_FALSE(std::signbit(s.workbook().sheet(1)->at("B2")->number()));  // written as 0, not -0
}

TEST(ExcelSession, NewWorkbookAndAddedSheets) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    EXPECT_EQ(s.workbook().sheetCount(), 3);
    s.AddSheets(10);
    ASSERT_EQ(s.workbook().sheetCount(), 13);
    EXPECT_EQ(s.workbook().sheet(11)->name, "Sheet1");  // added before the active first sheet
    EXPECT_EQ(s.workbook().sheet(13)->name, "Sheet3");
    ExcelSheet sheet = s.Sheet(13);
    sheet.Activate();
    sheet.SetName("教师任课表");
    EXPECT_EQ(sheet.GetName(), "教师任课表");
    EXPECT_THROW(s.Sheet(14), AutomationError);
}

TEST(ExcelRange, BordersMergesWidthsAndFormats) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    ExcelRange r = sheet.Range("A4", "A7");
    r.BorderAround();
    r.SetHorizontalAlignment(HAlign::Center);
    r.SetVerticalAlignment(VAlign::Center);
    r.Merge(0);
    r.SetValue("优秀人数");
    const SheetModel& m = *s.workbook().sheet(1);
    EXPECT_EQ(m.at("A4")->borders, kBorderTop | kBorderLeft | kBorderRight);
    EXPECT_EQ(m.at("A5")->borders, kBorderLeft | kBorderRight);
    EXPECT_EQ(m.at("A7")->borders, kBorderBottom | kBorderLeft | kBorderRight);
    EXPECT_EQ(m.at("A4")->text(), "优秀人数");
    EXPECT_EQ(m.at("A5")->kind, Cell::Kind::Empty);
    ASSERT_EQ(m.merges.size(), 1u);
    EXPECT_EQ(m.merges[0], (CellRange{{3, 0}, {6, 0}}));
    EXPECT_TRUE(m.at("A6")->verticalCenter);

    ExcelRange t = sheet.Range("A1", "D1");
    t.SetHorizontalAlignment(HAlign::Center);
    t.Merge(1);
    t.SetValue("标题");
    EXPECT_EQ(m.at("A1")->text(), "标题");
    EXPECT_EQ(m.at("B1")->kind, Cell::Kind::Empty);
    EXPECT_EQ(m.at("A1")->borders, 0);

    ExcelRange w = sheet.Range("C3", "C3");
    w.SetColumnWidth(11);
    w.SetNumberFormat("0.0");
    w.SetValue("33.3");
    EXPECT_EQ(m.columnWidths.at(2), 11);
    EXPECT_EQ(s.workbook().numberFormats().at(m.at("C3")->numberFormat - 1u), "0.0");
    EXPECT_THROW(sheet.Range("A", "B2"), AutomationError);
}

TEST(ExcelRange, RangesAndSheetsTakenOneAfterAnotherStayOnTheirOwnCells) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet first = s.Sheet(1);
    ExcelSheet second = s.Sheet(2);
    ExcelRange a = first.Range("A1", "A1");
    ExcelRange b = first.Range("B2", "C3");
    ExcelRange c = second.Range(0, 0);
    a.SetValue("甲");
    b.BorderAround();
    c.SetNumber(7);
    first.SetName("一");
    const SheetModel& one = *s.workbook().sheet(1);
    const SheetModel& two = *s.workbook().sheet(2);
    EXPECT_EQ(one.name, "一");
    EXPECT_EQ(two.name, "Sheet2");
    EXPECT_EQ(one.at("A1")->text(), "甲");
    EXPECT_EQ(one.at("A1")->borders, 0);
    EXPECT_EQ(one.at("B2")->borders, kBorderTop | kBorderLeft);
    EXPECT_EQ(one.at("C3")->borders, kBorderBottom | kBorderRight);
    EXPECT_EQ(two.at("A1")->number(), 7);
    EXPECT_EQ(two.at("B2"), nullptr);
}

TEST(ExcelRange, PositionsAndNumbersWriteWhatAddressesAndTypedTextWrite) {
    // Each pair of calls must leave the same cell: by address and typed text, by position and number.
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    sheet.Range("B3", "B3").SetValue("42");
    sheet.Range(2, 3).SetNumber(42);  // D3
    sheet.Range("A5", "C6").SetValue("-0.5");
    sheet.Range(CellPos{5, 6}, CellPos{4, 4}).SetNumber(-0.5);  // E5:G6, given in either order
    sheet.Range("A8", "C8").Merge(1);
    sheet.Range("A8", "C8").SetValue("3");
    sheet.Range(CellRange{{7, 4}, {7, 6}}).Merge(1);
    sheet.Range(CellRange{{7, 4}, {7, 6}}).SetNumber(3);  // a merged area: the top-left cell only
    const SheetModel& m = *s.workbook().sheet(1);
    const std::pair<const char*, const char*> same[] = {
        {"B3", "D3"}, {"A5", "E5"}, {"C6", "G6"}, {"A8", "E8"}, {"B8", "F8"}, {"C8", "G8"},
    };
    for (const auto& [typed, numbered] : same) {
        ASSERT_NE(m.at(typed), nullptr) << typed;
        ASSERT_NE(m.at(numbered), nullptr) << numbered;
        EXPECT_EQ(m.at(typed)->kind, m.at(numbered)->kind) << numbered;
        EXPECT_EQ(m.at(typed)->number(), m.at(numbered)->number()) << numbered;
    }
    EXPECT_EQ(m.at("G6")->kind, Cell::Kind::Number);
    EXPECT_EQ(m.at("F8")->kind, Cell::Kind::Empty);
    EXPECT_THROW(sheet.Range(-1, 0), AutomationError);
}

TEST(WorkbookModel, CachedFormulaResults) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    auto put = [&](const char* at, const char* v) { sheet.Range(at, at).SetValue(v); };
    // Rates 33.3, 50.0, 33.3 in D6:D8; a text and an empty cell around them.
    put("D6", "33.3");
    put("D7", "50.0");
    put("D8", "33.3");
    put("D9", "缺考");
    put("D11", "=RANK(D6,D$6:D$9)");
    put("D12", "=RANK(D7,D$6:D$9)");
    put("D13", "=RANK(D8,D$6:D$9)");
    put("D14", "=RANK(D9,D$6:D$9)");
    put("D15", "=RANK(D10,D$6:D$9)");
    put("E6", "=AVERAGE(D$6:D$8)");
    put("E7", "=D$7-E$6");
    put("G5", "3");
    put("H5", "1");
    put("I5", "=(H$5/G$5)*100");
    put("J5", "=(H$5/F$5)*100");
    put("K5", "=AVERAGE(F$1:F$3)");
    put("L5", "=RANK(I5,I$5:I$5)");
    put("M5", "=D10");
    put("N5", "=G$5*1e308");
    // An empty rate ranks as 0 among the others; an error in the ranked range is the result.
    put("C6", "0.0");
    put("C8", "50");
    put("C11", "=RANK(C7,C$6:C$8)");
    put("C12", "=RANK(C8,C$6:C$9)");
    put("C13", "=RANK(I5,I$5:J$5)");
    // With an order other than 0, from the lowest (ties share the better place).
    put("E11", "=RANK(D7,D$6:D$9,1)");
    put("E12", "=RANK(D6,D$6:D$9,0)");
    put("E13", "=RANK(C8,C$6:C$8,2)");
    // A class average equal to the block average deviates by exactly 0.
    put("F6", "70.5");
    put("F7", "70.6");
    put("F8", "70.7");
    put("G6", "=AVERAGE(F$6:F$8)");
    put("G7", "=F$7-G$6");
    // Nesting far beyond any real formula (a data cell typed "=((((…") is an error, not a crash.
    const std::string deep = "=" + std::string(100000, '(') + "1" + std::string(100000, ')');
    put("O5", deep.c_str());
    put("P5", ("=" + std::string(100000, '-') + "1").c_str());
    put("Q5", ("=" + std::string(200, '(') + "1" + std::string(200, ')')).c_str());
    s.workbook().recalculate();
    const SheetModel& m = *s.workbook().sheet(1);
    auto num = [&](const char* at) { return m.at(at)->cached().number; };
    auto err = [&](const char* at) { return m.at(at)->cached().text; };
    EXPECT_EQ(num("D11"), 2);
    EXPECT_EQ(num("D12"), 1);
    EXPECT_EQ(num("D13"), 2);          // ties share the best rank
    EXPECT_EQ(err("D14"), "#VALUE!");  // a text is no number to rank
    EXPECT_EQ(err("D15"), "#N/A");     // an empty cell is 0, which the range lacks
    EXPECT_EQ(num("C11"), 2);
    EXPECT_EQ(num("C12"), 1);
    EXPECT_EQ(err("C13"), "#DIV/0!");
    EXPECT_EQ(num("E11"), 3);
    EXPECT_EQ(num("E12"), 2);
    EXPECT_EQ(num("E13"), 2);
    EXPECT_TRUE(m.at("G7")->cached().isNumber());
    EXPECT_EQ(num("G7"), 0);
    EXPECT_FALSE(std::signbit(num("G7")));
    EXPECT_NEAR(num("E6"), (33.3 + 50 + 33.3) / 3, 1e-9);
    EXPECT_NEAR(num("E7"), 50 - (33.3 + 50 + 33.3) / 3, 1e-9);
    EXPECT_NEAR(num("I5"), 100.0 / 3, 1e-9);
    EXPECT_EQ(err("J5"), "#DIV/0!");
    EXPECT_EQ(err("K5"), "#DIV/0!");
    EXPECT_EQ(num("L5"), 1);                       // a rank over a formula
    EXPECT_TRUE(m.at("M5")->cached().isNumber());  // an empty cell shows as 0
    EXPECT_EQ(num("M5"), 0);
    EXPECT_EQ(err("N5"), "#NUM!");
    EXPECT_EQ(err("O5"), "#NAME?");
    EXPECT_EQ(err("P5"), "#NAME?");
    EXPECT_EQ(num("Q5"), 1);
}

TEST(ExcelRange, MergedAreasNeverOverlap) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    sheet.Range("A1", "D1").Merge(1);
    sheet.Range("A1", "D1").Merge(1);  // the same area again
    sheet.Range("A3", "A6").Merge(0);
    sheet.Range("B2", "C3").Merge(0);
    const SheetModel& m = *s.workbook().sheet(1);
    EXPECT_EQ(m.merges, (std::vector<CellRange>{{{0, 0}, {0, 3}}, {{2, 0}, {5, 0}}, {{1, 1}, {2, 2}}}));
    // An area over part of another dissolves it.
    sheet.Range("A5", "B5").Merge(1);
    EXPECT_EQ(m.merges, (std::vector<CellRange>{{{0, 0}, {0, 3}}, {{1, 1}, {2, 2}}, {{4, 0}, {4, 1}}}));
    EXPECT_FALSE(m.at("A3")->inMerge);
    ExcelRange area = sheet.Range("B2", "C3");
    area.SetValue("85");
    EXPECT_EQ(m.at("B2")->number(), 85);
    EXPECT_EQ(m.at("C3")->kind, Cell::Kind::Empty);
    sheet.Range("A3", "A4").SetValue("x");  // not an area: every cell
    EXPECT_EQ(m.at("A4")->text(), "x");
}

TEST(ExcelSheet, RefusesNamesTheSpreadsheetRefuses) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    s.Sheet(2).SetName("目录");
    ExcelSheet sheet = s.Sheet(1);
    const std::string thirtyOne = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一";
    sheet.SetName(thirtyOne);
    sheet.SetName("一中 （3）班");
    sheet.SetName("Sheet1");  // its own name
    struct Case {
        std::string name;
        const char* reason;
    };
    const Case refused[] = {
        {"", "名称不能为空。"},
        {thirtyOne + "二", "名称不能超过 31 个字符。"},
        {"2024/2025", "名称不能含有 : \\ / ? * [ ] 这些字符。"},
        {"a[1]", "名称不能含有 : \\ / ? * [ ] 这些字符。"},
        {"'一中", "名称不能以单引号开头或结尾。"},
        {"history", "“History”是保留的名称。"},
        {"目录", "已有同名的工作表。"},
        {"sheet3", "已有同名的工作表。"},
    };
    for (const auto& c : refused) {
        try {
            sheet.SetName(c.name);
            ADD_FAILURE() << "accepted: " << c.name;
        } catch (const AutomationError& e) {
            EXPECT_EQ(std::string(e.what()), "无法将工作表命名为“" + c.name + "”：" + c.reason);
        }
    }
    EXPECT_EQ(sheet.GetName(), "Sheet1");
}

TEST(ExcelSheet, OneSheetStaysVisible) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    s.Sheet(1).SetVisible(0);
    s.Sheet(2).SetVisible(0);
    EXPECT_THROW(s.Sheet(3).SetVisible(0), AutomationError);
    s.Sheet(1).SetVisible(1);
    s.Sheet(3).SetVisible(0);
    EXPECT_FALSE(s.workbook().sheet(3)->visible);
}

}  // namespace
}  // namespace varnex
