#include "workbook/part_check.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "workbook/cell_name.h"
#include "workbook/excel_session.h"
#include "workbook/xlsx_writer.h"

namespace varnex {
namespace {

using testing::TempDir;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A zip of the given parts, each deflated unless `stored`.
std::string zipOf(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts,
                  bool stored = false) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    zip_close(archive);
    return bytesOf(path);
}

// The bytes written into an empty file in pieces, with pauses, while a PartCheck follows it.
struct Checked {
    bool whole;
    bool followed;
};
Checked checkWhileWriting(const std::string& path, const std::string& bytes) {
    { std::ofstream(path, std::ios::binary | std::ios::trunc); }
    PartCheck check(path);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (size_t at = 0; at < bytes.size(); at += 7000) {
            out.write(bytes.data() + at,
                      static_cast<std::streamsize>(std::min<size_t>(7000, bytes.size() - at)));
            out.flush();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    const bool whole = check.finish();
    return {whole, check.followedWhileWritten()};
}

std::string workbookBytes(const std::string& path, int rows) {
    ExcelSession s;
    s.AddWorkbook(OmittedArgument);
    ExcelSheet sheet = s.Sheet(1);
    for (int row = 1; row <= rows; ++row) {
        sheet.Range(CellName(0, row), CellName(0, row)).SetValue("学生" + std::to_string(row));
        sheet.Range(CellName(1, row), CellName(1, row)).SetValue(std::to_string(row * 7 % 150));
    }
    EXPECT_TRUE(writeXlsx(s.workbook(), path).ok());
    return bytesOf(path);
}

TEST(PartCheck, FollowsTheFileAsItIsWrittenAndFindsWhatIsCutShort) {
    TempDir dir;
    const std::string watched = dir.file("watched.xlsx");
    const std::string workbook = workbookBytes(dir.file("book.xlsx"), 3000);
    const std::string types =
        "<?xml version=\"1.0\"?>\n<Types xmlns=\"x\"><Default Extension=\"xml\"/></Types>\n";
    const std::string cutTypes = types.substr(0, types.size() - 12);
    struct Case {
        const char* what;
        std::string bytes;
        bool whole;
        bool followed;
    } cases[] = {
        {"a whole workbook", workbook, true, true},
        {"an XML part without its end", zipOf(dir.file("a.zip"), {{"[Content_Types].xml", cutTypes}}), false,
         true},
        {"the file cut short", workbook.substr(0, workbook.size() / 2), false, false},
        {"stored parts, whole", zipOf(dir.file("b.zip"), {{"a.xml", types}, {"b.bin", "xyz"}}, true), true,
         false},
        {"stored parts, one cut", zipOf(dir.file("c.zip"), {{"a.xml", cutTypes}}, true), false, false},
    };
    for (const Case& c : cases) {
        const Checked checked = checkWhileWriting(watched, c.bytes);
        EXPECT_EQ(checked.whole, c.whole) << c.what;
        EXPECT_EQ(checked.followed, c.followed) << c.what;
    }
}

// What the follower read is not what the file holds in the end (another program replaced it): the
// finished file decides.
TEST(PartCheck, WhatWasReadNotMatchingTheFinishedFileIsReadAgain) {
    TempDir dir;
    const std::string path = dir.file("watched.xlsx");
    const std::string first = zipOf(dir.file("a.zip"), {{"a.xml", "<a>1</a>"}});
    for (const auto& [last, whole] : {std::pair{zipOf(dir.file("b.zip"), {{"a.xml", "<a>22</a>"}}), true},
                                      std::pair{zipOf(dir.file("c.zip"), {{"a.xml", "<a>22"}}), false}}) {
        { std::ofstream(path, std::ios::binary | std::ios::trunc); }
        PartCheck check(path);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << first;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the follower reads it all
        std::ofstream(path, std::ios::binary | std::ios::trunc) << last;
        EXPECT_EQ(check.finish(), whole);
    }
}

TEST(PartCheck, AFileNotEmptyAtTheStartIsReadWhenFinished) {
    TempDir dir;
    const std::string path = dir.file("book.xlsx");
    workbookBytes(path, 10);
    PartCheck check(path);  // the writer has already written it: nothing to follow
    EXPECT_TRUE(check.finish());
    EXPECT_FALSE(check.followedWhileWritten());
    EXPECT_FALSE(PartCheck(dir.file("missing.xlsx")).finish());
}

}  // namespace
}  // namespace varnex
