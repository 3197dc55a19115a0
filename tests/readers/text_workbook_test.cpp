// The readers of score files that are not binary workbooks: web pages, XML Spreadsheet 2003
// documents and CSV lists.
#include <gtest/gtest.h>
#include <iconv.h>

#include "readers/csv_reader.h"
#include "readers/html_reader.h"
#include "readers/workbook_reader.h"
#include "readers/xml_spreadsheet_reader.h"
#include "tests/readers/reader_test_util.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::fixture;
using testing::readSheet;
using Rows = std::vector<std::string>;

/// UTF-8 text in another encoding (for pages and lists as other systems write them).
std::string encoded(const std::string& text, const char* encoding) {
    iconv_t cd = iconv_open(encoding, "UTF-8");
    std::string out(text.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    iconv(cd, &in, &inLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

/// The sheet names, or "ERROR: …" when the workbook cannot be opened.
Rows sheetsOf(const Result<std::unique_ptr<WorkbookReader>>& opened) {
    if (!opened) return {"ERROR: " + opened.error()};
    return (*opened)->sheetNames();
}

/// Every row of sheet `index`, or the opening error.
Rows rowsOf(const Result<std::unique_ptr<WorkbookReader>>& opened, size_t index = 0) {
    if (!opened) return {"ERROR: " + opened.error()};
    const auto& names = (*opened)->sheetNames();
    if (index >= names.size()) return {"NO SHEET"};
    return readSheet(**opened, names[index]);
}

Result<std::unique_ptr<WorkbookReader>> page(const std::string& html) {
    return openWebPageFromMemory(html.data(), html.size(), "成绩.xls");
}

/// The rows of the one sheet "表" of an XML spreadsheet with these rows.
Rows xmlSheetRows(const std::string& rowsXml) {
    std::string xml =
        "<?xml version=\"1.0\"?><Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet ss:Name=\"表\"><Table>" +
        rowsXml + "</Table></Worksheet></Workbook>";
    return rowsOf(openXmlSpreadsheetFromMemory(xml.data(), xml.size(), "表格.xls"));
}

Result<std::unique_ptr<WorkbookReader>> csv(const std::string& text, const std::string& file = "名单.csv") {
    return openCsvWorkbookFromMemory(text.data(), text.size(), file);
}

TEST(TextWorkbooks, CommittedFixturesListTheirSheetsAndReadTheirCells) {
    struct Case {
        const char* file;
        Rows sheets;
        const char* sheet;
        Rows rows;
    };
    const Case cases[] = {
        // GBK without any declaration; the page title names the only table; a title row with a
        // line break above the header; the school spans two rows, is the school of both and pushes 1班
        // of the next row to B.
        {"网页成绩-标题.xls",
         {"七年级 期中成绩"},
         "七年级 期中成绩",
         {"1: 2024学年第一学期\n七年级期中考试成绩", "2: 学校|班级|姓名|语文|数学|英语|总分",
          "3: 第一中学|1班|张三|85|92.5|78|255.5", "4: 第一中学|1班|李四|90|88||178",
          "5: 第二中学|1班|王 五|72|60|81|213"}},
        // Two sheets, a title merged across the table, cells placed with ss:Index, a comment's text
        // left out.
        {"表格2003-标题.xml",
         {"七年级", "说明"},
         "七年级",
         {"1: 七年级期中考试成绩", "2: 学校|班级|姓名|语文|数学|英语", "3: 第一中学|1班|张三|85|92.5|78",
          "4: 第一中学|1班|李四|90||88"}},
        // A cell merged down (the next row's cell placed with ss:Index), a row placed with
        // ss:Index, a boolean, rich text, a formula's value.
        {"表格2003-标题.xml",
         {"七年级", "说明"},
         "说明",
         {"1: 说明|第一行", "2: |第二行", "5: TRUE|加粗文字 & 符号|3"}},
        // GBK declared in <meta http-equiv>; tables named by their captions; 考场 spans two rows (and
        // pushes the next row); &nbsp; is an empty cell; <br> a line break; entities decoded.
        {"网页成绩.xls",
         {"教师任课表", "成绩"},
         "成绩",
         {"1: 考场|学校|班级|姓名|语文|数学|英语|备注", "2: 第1考场|第一中学|1班|张三|85|92.5|78",
          "3: 第1考场|第一中学|1班|李四|90|88||缺考英语,\"补考\"待定",
          "4: 第2考场|第一中学|2班|王五|72|60.5|81|A&B", "5: 第2考场|第一中学|2班|赵六|100|95|99|转学\n复读",
          "6: 第3考场|第二中学|1班|孙七|66|70|59"}},
        {"表格2003.xls",
         {"教师任课表", "成绩"},
         "成绩",
         {"1: 考场|学校|班级|姓名|语文|数学|英语|备注", "2: 第1考场|第一中学|1班|张三|85|92.5|78",
          "3: |第一中学|1班|李四|90|88||缺考英语,\"补考\"待定", "4: 第2考场|第一中学|2班|王五|72|60.5|81|A&B",
          "5: 第2考场|第一中学|2班|赵六|100|95|99|转学\n复读", "6: 第3考场|第二中学|1班|孙七|66|70|59"}},
        // GB18030 with CRLF; quoted fields with a comma, doubled quotes and a line break.
        {"成绩.csv",
         {"成绩"},
         "成绩",
         {"1: 考场|学校|班级|姓名|语文|数学|英语|备注", "2: 第1考场|第一中学|1班|张三|85|92.5|78",
          "3: |第一中学|1班|李四|90|88||缺考英语,\"补考\"待定", "4: 第2考场|第一中学|2班|王五|72|60.5|81|A&B",
          "5: 第2考场|第一中学|2班|赵六|100|95|99|转学\n复读", "6: 第3考场|第二中学|1班|孙七|66|70|59"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto reader = openWorkbookReader(fixture(c.file));
        ASSERT_TRUE(reader) << reader.error();
        EXPECT_EQ((*reader)->sheetNames(), c.sheets);
        EXPECT_EQ(readSheet(**reader, c.sheet), c.rows);
    }
}

TEST(TextWorkbooks, FormatIsTakenFromTheContent) {
    struct Case {
        std::string head;
        WorkbookFormat format;
    };
    const std::string excel2003 =
        "<?xml version=\"1.0\"?>\n<?mso-application progid=\"Excel.Sheet\"?>\n<Workbook>";
    const Case cases[] = {
        {excel2003, WorkbookFormat::XmlSpreadsheet},
        {"<ss:Workbook xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">",
         WorkbookFormat::XmlSpreadsheet},
        {"\xEF\xBB\xBF<!-- export -->\r\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\">",
         WorkbookFormat::XmlSpreadsheet},
        {"\xFF\xFE" + encoded(excel2003, "UTF-16LE"), WorkbookFormat::XmlSpreadsheet},
        {"<Workbook xmlns=\"urn:example\">", WorkbookFormat::Unrecognised},  // another XML vocabulary
        {"<?xml version=\"1.0\"?><data/>", WorkbookFormat::Unrecognised},
        {"<html xmlns:x=\"urn:schemas-microsoft-com:office:excel\">", WorkbookFormat::WebPage},
        {"  <!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\n<x>", WorkbookFormat::WebPage},
        {"<?xml version=\"1.0\" encoding=\"gb2312\"?><!DOCTYPE html><html>", WorkbookFormat::WebPage},
        {"\r\n<TABLE border=1><tr><td>1</td></tr></TABLE>", WorkbookFormat::WebPage},
        {"<meta charset=\"gbk\"><table>", WorkbookFormat::WebPage},
        {encoded("<html><table>", "UTF-16LE"), WorkbookFormat::WebPage},
        {"学校,班级,姓名\r\n", WorkbookFormat::Unrecognised},
        {"<学生名单>", WorkbookFormat::Unrecognised},
        {"<!-- never closed", WorkbookFormat::Unrecognised},
        {"", WorkbookFormat::Unrecognised},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        EXPECT_EQ(detectWorkbookFormat(c.head.data(), c.head.size()), c.format);
    }
}

TEST(WebPage, EncodingFromTheMarkTheDeclarationOrTheBytes) {
    const std::string table = "<table><tr><td>张三</td><td>语文</td></tr></table>";
    const Rows expected = {"1: 张三|语文"};
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-8 without declaration", table},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + table},
        {"UTF-16 with a mark", "\xFF\xFE" + encoded(table, "UTF-16LE")},
        {"UTF-16BE with a mark", "\xFE\xFF" + encoded(table, "UTF-16BE")},
        {"GBK without declaration", encoded(table, "GBK")},
        {"<meta charset>", "<meta charset=\"GBK\">" + encoded(table, "GBK")},
        {"<meta http-equiv>",
         "<head><META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html;charset = 'gb2312'\"></head>" +
             encoded(table, "GBK")},
        {"UTF-8 declared, GBK written", "<meta charset=\"utf-8\">" + encoded(table, "GBK")},
        {"a declaration iconv does not know", "<meta charset=\"x-unknown\">" + encoded(table, "GB18030")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rowsOf(page(c.bytes)), expected);
    }
    EXPECT_EQ(rowsOf(page("<meta charset=big5>" + encoded("<table><tr><td>張三</td></tr></table>", "BIG5"))),
              Rows{"1: 張三"});
    EXPECT_EQ(rowsOf(page("<table><tr><td>\x80\xFF</td></tr></table>")),
              Rows{"ERROR: 文件“成绩.xls”的文字既不是 UTF-8 编码，也不是 GB18030 编码，无法读取"});
}

TEST(WebPage, TablesAreLaidOutAsASpreadsheetApplicationShowsThem) {
    struct Case {
        const char* what;
        std::string html;
        Rows rows;
    };
    const Case cases[] = {
        {"a rowspan pushes the cells of the rows below and gives its text to them; a colspan pushes the "
         "cells after it and keeps its text in its first column",
         "<table><tr><td rowspan=3>A</td><td colspan=2>B</td><td>C</td></tr><tr><td>D</td><td "
         "rowspan=2>E</td>"
         "</tr><tr><td>F</td><td>G</td></tr><tr><td>H</td></tr></table>",
         {"1: A|B||C", "2: A|D|E", "3: A|F|E|G", "4: H"}},
        {"spans are clamped like browsers do: rowspan=0 and colspan=0 are 1, \"2px\" is 2",
         "<table><tr><td rowspan=0>A</td><td colspan=0>B</td><td colspan=\"2px\">C</td><td>D</td></tr>"
         "<tr><td>E</td></tr></table>",
         {"1: A|B|C||D", "2: E"}},
        {"text trimmed, blanks collapsed, &nbsp; a space, <br> a line break, blocks apart, th like td",
         "<table><tr><th>\n  学校 </th><td> 张&nbsp;&nbsp;三 <br> 二班</td><td>&nbsp;</td><td>a &lt;b&gt; "
         "&amp;"
         " &#x4E00;&#19968;<span>c</span><div>d</div></td></tr></table>",
         {"1: 学校|张  三\n二班||a <b> & 一一c d"}},
        {"script, style and comments are no text; rows without text are no rows",
         "<table><tr><td><script>var x = 1;</script><style>td{}</style><!-- x -->1</td></tr><tr><td> "
         "</td></tr>"
         "<tr></tr><tr><td>2</td></tr></table>",
         {"1: 1", "4: 2"}},
        {"sections keep the page's order; cells outside a row start one",
         "<table><tfoot><tr><td>F</td></tr></tfoot><thead><tr><td>H</td></tr></thead><tbody><tr><td>B</td></"
         "tr>"
         "</tbody><td>X</td></table>",
         {"1: F", "2: H", "3: B", "4: X"}},
        {"unclosed cells, rows and tables are closed as the parser mends the page",
         "<table><tr><td>1<td>2<tr><td>3<font>4",
         {"1: 1|2", "2: 34"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rowsOf(page(c.html)), c.rows);
    }
}

TEST(WebPage, EveryTableIsASheetNamedByCaptionTitleOrPlace) {
    auto nested = page(
        "<title>成绩单</title><table><caption>外表</caption><tr><td>a<table><tr><td>内</td></tr></table>b</"
        "td>"
        "<td>c</td></tr></table><table><tr><td>3</td></tr></table><table><caption>外表</caption></table>");
    EXPECT_EQ(sheetsOf(nested), (Rows{"外表", "表2", "表3", "外表 (2)"}));
    EXPECT_EQ(rowsOf(nested, 0), Rows{"1: a b|c"});  // the inner table's text is its own sheet's
    EXPECT_EQ(rowsOf(nested, 1), Rows{"1: 内"});
    EXPECT_EQ(rowsOf(nested, 3), Rows{});
    EXPECT_EQ(sheetsOf(page("<title> 期中\n成绩 </title><table><tr><td>1</td></tr></table>")),
              Rows{"期中 成绩"});
    EXPECT_EQ(sheetsOf(page("<table></table><table><caption>  </caption></table>")), (Rows{"表1", "表2"}));
    EXPECT_EQ(sheetsOf(page("<html><title>成绩</title><body><p>没有数据</p></body></html>")),
              Rows{"ERROR: 文件“成绩.xls”是网页，但其中没有表格"});
}

TEST(WebPage, PagesBeyondTheCapsEndInTheirMessage) {
    std::string wide = "<table><tr>";
    for (int i = 0; i < 17; ++i) wide += "<td colspan=1000>x</td>";
    std::string spans = "<table><tr>";
    for (int i = 0; i < 16; ++i) spans += "<td colspan=1000 rowspan=65534>x</td>";
    for (int i = 0; i < 4200; ++i) spans += "<tr><td>y</td>";
    std::string tables;
    for (int i = 0; i < 4097; ++i) tables += "<table></table>";
    std::string deep = "<table><tr><td>";
    for (int i = 0; i < 300; ++i) deep += "<div>";
    const std::string longCell = "<table><tr><td>" + std::string(128 * 1024 + 1, 'x') + "</td></tr></table>";
    const std::string longTitle = "<title>" + std::string(128 * 1024 + 1, 'x') + "</title><table>";
    struct Case {
        std::string html;
        const char* error;
    };
    const Case cases[] = {
        {wide, "网页“成绩.xls”的第 1 个表格的第 1 行超过了 16384 列"},
        {spans, "网页“成绩.xls”的第 1 个表格中跨行的单元格过多"},
        {tables, "网页“成绩.xls”中的表格超过了 4096 个"},
        {deep, "网页“成绩.xls”的标记嵌套层数过多"},
        {longCell, "网页“成绩.xls”的第 1 个表格的第 1 行有单元格的文本过长"},
        {longTitle, "网页“成绩.xls”的标题文本过长"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(sheetsOf(page(c.html)), Rows{std::string("ERROR: ") + c.error});
    }
}

TEST(XmlSpreadsheet, CellsAndRowsTakeTheirPlaces) {
    struct Case {
        const char* what;
        std::string rows;
        Rows read;
    };
    const Case cases[] = {
        {"ss:Index skips cells and rows; MergeAcross moves the next cell; MergeDown does not",
         "<Row><Cell ss:MergeAcross=\"2\" ss:MergeDown=\"1\"><Data ss:Type=\"String\">T</Data></Cell>"
         "<Cell><Data ss:Type=\"Number\">1.50</Data></Cell></Row><Row><Cell><Data "
         "ss:Type=\"String\">a</Data></Cell>"
         "</Row><Row ss:Index=\"6\"><Cell ss:Index=\"3\"><Data ss:Type=\"Number\">-0</Data></Cell></Row>",
         {"1: T|||1.5", "2: a", "6: ||0"}},
        {"numbers follow the cell-text rules; other types are text as written; empty cells no values",
         "<Row><Cell><Data ss:Type=\"Number\">1E-05</Data></Cell><Cell><Data ss:Type=\"Number\"> 85.0 "
         "</Data></Cell>"
         "<Cell><Data ss:Type=\"Boolean\">0</Data></Cell><Cell><Data "
         "ss:Type=\"DateTime\">2024-01-05T00:00:00.000</Data>"
         "</Cell><Cell><Data ss:Type=\"Error\">#N/A</Data></Cell><Cell><Data "
         "ss:Type=\"Number\">abc</Data></Cell></Row>"
         "<Row><Cell/><Cell ss:StyleID=\"s1\"><Data ss:Type=\"String\"></Data></Cell></Row>"
         "<Row ss:Span=\"2\"><Cell><Data ss:Type=\"String\"> x "
         "</Data></Cell></Row><Row><Cell><Data>y</Data></Cell></Row>",
         {"1: 1e-05|85|FALSE|2024-01-05T00:00:00.000|#N/A|abc", "3:  x ", "6: y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(xmlSheetRows(c.rows), c.read);
    }
}

TEST(XmlSpreadsheet, DocumentsDeclaredInGbkAreRead) {
    for (const char* label : {"gb2312", "GBK", "GB18030"}) {
        SCOPED_TRACE(label);
        std::string xml =
            encoded(std::string("<?xml version=\"1.0\" encoding=\"") + label +
                        "\"?><Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet "
                        "Name=\"成绩\"><Table><Row><Cell><Data>张三</Data></Cell></Row></Table></Worksheet>"
                        "</Workbook>",
                    "GBK");
        auto opened = openXmlSpreadsheetFromMemory(xml.data(), xml.size(), "表格.xls");
        EXPECT_EQ(sheetsOf(opened), Rows{"成绩"});
        EXPECT_EQ(rowsOf(opened), Rows{"1: 张三"});
    }
}

TEST(XmlSpreadsheet, BrokenDocumentsEndInTheirMessage) {
    struct Case {
        std::string xml;  ///< a whole document, or the rows of the one sheet when it starts with "<Row"
        const char* error;
    };
    std::string deep = "<Row><Cell><Data>";
    for (int i = 0; i < 130; ++i) deep += "<B>";
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><?mso-application progid=\"Excel.Sheet\"?><Other/>",
         "ERROR: 文件“表格.xls”已损坏：根元素不是 Workbook"},
        {"<?xml version=\"1.0\"?><?mso-application progid=\"Excel.Sheet\"?><Workbook><Worksheet></Workbook>",
         "ERROR: 文件“表格.xls”已损坏：XML 有误（第 1 行）：mismatched tag"},
        {"<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><Workbook/>",
         "ERROR: 文件“表格.xls”已损坏：XML 含有文档类型定义"},
        {"<Row ss:Index=\"3\"/><Row ss:Index=\"2\"/>",
         "ERROR: 工作表“表”已损坏：行号“2”无效、超出范围或顺序有误"},
        {"<Row ss:Index=\"1048577\"/>", "ERROR: 工作表“表”已损坏：行号“1048577”无效、超出范围或顺序有误"},
        {"<Row><Cell ss:Index=\"2\"/><Cell ss:Index=\"2\"/></Row>",
         "ERROR: 工作表“表”已损坏：第 1 行的列号“2”无效、超出范围或顺序有误"},
        {"<Row><Cell ss:Index=\"16384\" ss:MergeAcross=\"1\"/></Row>",
         "ERROR: 工作表“表”已损坏：第 1 行的列号“16385”无效、超出范围或顺序有误"},
        {"<Row><Cell><Data>" + std::string(128 * 1024 + 1, 'x') + "</Data></Cell></Row>",
         "ERROR: 工作表“表”已损坏：单元格文本过长"},
        {deep, "ERROR: 文件“表格.xls”已损坏：XML 嵌套层数过多"},  // found while listing the sheets
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        if (c.xml.starts_with("<Row")) {
            Rows rows = xmlSheetRows(c.xml);  // an error found while listing the sheets comes alone
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows.back(), c.error);
        } else {
            EXPECT_EQ(sheetsOf(openXmlSpreadsheetFromMemory(c.xml.data(), c.xml.size(), "表格.xls")),
                      Rows{c.error});
        }
    }
}

TEST(Csv, FieldsAsRfc4180WritesThem) {
    struct Case {
        const char* what;
        std::string text;
        Rows rows;
    };
    const Case cases[] = {
        {"LF, CRLF and a lone CR end a record; a record without a value is skipped but counted",
         "a,b\nc,d\r\n,\r\ne\rf",
         {"1: a|b", "2: c|d", "4: e", "5: f"}},
        {"quoted fields hold commas, doubled quotes and line breaks; a record stays one row",
         "\"x,y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\n2",
         {"1: x,y|say \"hi\"|two\r\nlines", "2: 2"}},
        {"fields are text as written: blanks and quotes inside unquoted fields stay",
         " 85 ,a\"b\"c,\"q\"tail,,\"\"",
         {"1:  85 |a\"b\"c|qtail"}},
        {"UTF-8 with a mark", "\xEF\xBB\xBF学校,姓名\n", {"1: 学校|姓名"}},
        {"GB18030", encoded("学校,姓名\n", "GB18030"), {"1: 学校|姓名"}},
        {"an empty list", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(rowsOf(csv(c.text)), c.rows);
    }
    EXPECT_EQ(sheetsOf(csv("a", "七年级.成绩.CSV")), Rows{"七年级.成绩"});
    EXPECT_EQ(sheetsOf(csv("a", ".csv")), Rows{".csv"});
}

TEST(Csv, ListsBeyondTheCapsOrBrokenEndInTheirMessage) {
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"a\n\"open,\nb\n", "ERROR: 工作表“名单”的第 2 行有一个引号没有结束，文件可能不完整"},
        {"a\n" + std::string(16384, ','), "ERROR: 工作表“名单”的第 2 行超过了 16384 列"},
        {"\"" + std::string(128 * 1024 + 1, 'x') + "\"", "ERROR: 工作表“名单”的第 1 行有单元格的文本过长"},
        {std::string(1048576, '\n') + "x", "ERROR: 工作表“名单”超过了 1048576 行"},
        {std::string("a,b\0c", 5), "ERROR: 文件不是有效的工作簿：名单.csv"},
        {"\x80\xFF,1", "ERROR: 文件“名单.csv”的文字既不是 UTF-8 编码，也不是 GB18030 编码，无法读取"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        Rows rows = rowsOf(csv(c.text));
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back(), c.error);
    }
}

}  // namespace
}  // namespace varnex
