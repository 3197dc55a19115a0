// A large worksheet is read in two halves at once; whatever the file holds around the middle, the
// rows and the end (or the message) are those of one pass, which a package in memory always gets.
#include <gtest/gtest.h>
#include <zip.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "readers/xlsx_reader.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::TempDir;

const char* const kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheets><sheet name=\"成绩\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
const char* const kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    "worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>";

/// A worksheet of `rows` rows (header first), one per line.
std::string sheetXml(int rows) {
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">\n"
           "<sheetData>\n"
           "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>姓名</t></is></c><c r=\"B1\" t=\"inlineStr\"><is>"
           "<t>语文</t></is></c></row>\n";
    for (int r = 2; r <= rows; ++r) {
        xml << "<row r=\"" << r << "\"><c r=\"A" << r << "\" t=\"inlineStr\"><is><t>学生" << r
            << "</t></is></c><c r=\"B" << r << "\"><v>" << (r * 7 % 1500) / 10.0 << "</v></c></row>\n";
    }
    xml << "</sheetData>\n</worksheet>\n";
    return xml.str();
}

/// The package with that worksheet, as bytes.
std::string packageOf(const std::string& sheet) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(memory);
    zip_t* archive = zip_open_from_source(memory, ZIP_TRUNCATE, &error);
    const std::pair<const char*, std::string> parts[] = {{"xl/workbook.xml", kWorkbook},
                                                         {"xl/_rels/workbook.xml.rels", kRelationships},
                                                         {"xl/worksheets/sheet1.xml", sheet}};
    for (const auto& [name, text] : parts) {
        zip_source_t* part = zip_source_buffer(archive, text.data(), text.size(), 0);
        zip_file_add(archive, name, part, ZIP_FL_ENC_UTF_8);
    }
    zip_close(archive);
    zip_source_open(memory);
    zip_source_seek(memory, 0, SEEK_END);
    std::string bytes(static_cast<size_t>(zip_source_tell(memory)), '\0');
    zip_source_seek(memory, 0, SEEK_SET);
    zip_source_read(memory, bytes.data(), bytes.size());
    zip_source_close(memory);
    zip_source_free(memory);
    return bytes;
}

/// Every row of the sheet with its number, then the end: "end" or the message.
std::vector<std::string> readAll(Result<std::unique_ptr<WorkbookReader>> reader) {
    std::vector<std::string> out;
    if (!reader) return {"open: " + reader.error()};
    auto stream = (*reader)->openSheet(0);
    if (!stream) return {"sheet: " + stream.error()};
    SheetRow row;
    for (bool header = true;; header = false) {
        Result<bool> got = (*stream)->next(row);
        if (!got) {
            out.push_back(got.error());
            break;
        }
        if (!*got) {
            out.push_back("end");
            break;
        }
        std::string line = std::to_string(row.number);
        for (const std::string& cell : row.cells) line += "|" + cell;
        out.push_back(line);
        if (header) (*stream)->setWantedColumns({true, true});
    }
    return out;
}

struct HalvesCase {
    const char* name;
    std::string (*change)(std::string sheet);  ///< what the file holds around the middle
    bool twoHalves;                            ///< read in two halves (otherwise in one pass)
};

// The first row element after the middle of the text.
size_t rowAfterMiddle(const std::string& sheet) {
    return sheet.find("<row ", sheet.size() / 2);
}

// The sheet with the attributes of every row element from `from` on taken away.
std::string withoutRowNumbersFrom(const std::string& sheet, size_t from) {
    std::string out = sheet.substr(0, from);
    for (size_t at = from; at < sheet.size();) {
        size_t row = sheet.find("<row ", at);
        if (row == std::string::npos) row = sheet.size();
        out.append(sheet, at, row - at);
        if (row == sheet.size()) break;
        out += "<row";
        at = sheet.find('>', row);
    }
    return out;
}

const HalvesCase kCases[] = {
    {"plain", [](std::string s) { return s; }, true},
    // Fake rows in a comment across the middle: the second half would begin inside it.
    {"comment across the middle",
     [](std::string s) {
         std::string comment = "<!-- ";
         while (comment.size() < 4000) comment += "<row r=\"3\"><c r=\"A3\"><v>9</v></c></row>\n";
         comment += " -->";
         s.insert(s.rfind('\n', s.size() / 2 - 100) + 1, comment);
         return s;
     },
     false},
    // The row after the middle goes back: the order check at the junction.
    {"rows out of order at the middle",
     [](std::string s) {
         size_t at = rowAfterMiddle(s) + 8;  // the digits of r="…"
         size_t end = s.find('"', at);
         s.replace(at, end - at, std::string(end - at, '0').replace(end - at - 1, 1, "2"));
         return s;
     },
     true},
    // Broken markup three quarters in: the same message with the same line.
    {"bad markup in the second half",
     [](std::string s) {
         s.insert(s.rfind('\n', s.size() * 3 / 4) + 1, "<row r=\"999999\"><c></row>\n");
         return s;
     },
     true},
    // Rows without numbers count on from the row before: from the second half's first row...
    {"rows without numbers after the middle",
     [](std::string s) { return withoutRowNumbersFrom(s, rowAfterMiddle(s) + 1); }, true},
    // ... which then needs its own number: without one, the first half goes on by itself.
    {"rows without any numbers", [](std::string s) { return withoutRowNumbersFrom(s, s.find("</row>")); },
     false},
};

TEST(XlsxTwoHalves, GiveWhatOnePassGives) {
    TempDir dir;
    const std::string plain = sheetXml(30000);
    ASSERT_GT(plain.size(), 2u << 20);  // past the size read in two halves
    for (const HalvesCase& c : kCases) {
        const std::string bytes = packageOf(c.change(plain));
        const std::string path = dir.file(std::string(c.name) + ".xlsx");
        std::ofstream(path, std::ios::binary) << bytes;
        const std::vector<std::string> onePass =
            readAll(openXlsxWorkbookFromMemory(bytes.data(), bytes.size(), std::string(c.name) + ".xlsx"));
        ASSERT_GT(onePass.size(), 100u) << c.name;
        const size_t before = worksheetsReadInTwoHalves();
        EXPECT_EQ(readAll(openXlsxWorkbook(path)), onePass) << c.name;
        EXPECT_EQ(worksheetsReadInTwoHalves() - before, c.twoHalves ? 1u : 0u) << c.name;
    }
}

}  // namespace
}  // namespace varnex
