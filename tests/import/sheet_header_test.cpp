// Finding the header of sheets laid out as schools and marking platforms export them, and reading
// class names as they write them.

#include "import/sheet_header.h"

#include <gtest/gtest.h>

#include "import/class_name.h"
#include "import/header_names.h"

namespace varnex {
namespace {

const HeaderRequest kScores{{"学校", "班级", "姓名"}, {"班级", "姓名"}};

// Rows from sheet row 1 down; an empty list is a row without values (left out, as readers do).
std::vector<SheetRow> sheetRows(const std::vector<std::vector<std::string>>& rows) {
    std::vector<SheetRow> out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].empty()) out.push_back({static_cast<uint32_t>(i + 1), rows[i]});
    }
    return out;
}

SheetHeader headerOf(const std::vector<std::vector<std::string>>& rows) {
    Result<SheetHeader> header = findHeader(sheetRows(rows), kScores, "成绩");
    EXPECT_TRUE(header) << header.error();
    return header ? *header : SheetHeader{};
}

std::optional<uint32_t> subject(const SheetHeader& header, const char* name) {
    return header.subjects[static_cast<size_t>(subjectIndex(name))];
}

TEST(SheetHeader, PlainHeaderIsTheFirstRowAsItStands) {
    SheetHeader header = headerOf({{"序号", "学校", "班级", "姓名", "语文", "数学", "总分"},
                                   {"1", "一中", "1", "甲", "90", "80", "170"}});
    EXPECT_TRUE(header.found);
    EXPECT_TRUE(header.plain);
    EXPECT_EQ(header.firstRow, 1u);
    EXPECT_EQ(header.lastRow, 1u);
    EXPECT_EQ(header.keys, (std::vector<std::optional<uint32_t>>{1u, 2u, 3u}));
    EXPECT_EQ(subject(header, "语文"), 4u);
    EXPECT_EQ(subject(header, "数学"), 5u);
    EXPECT_EQ(subject(header, "英语"), std::nullopt);
    EXPECT_TRUE(header.aliases.empty());
    EXPECT_TRUE(header.notAnalysed.empty());  // 序号 and 总分 are known columns without scores
}

// A title row above, texts as people type them, other names; columns Varnex does not know are
// named once, columns it knows to hold no scores are not.
TEST(SheetHeader, TitleRowsTypedTextsAndOtherNames) {
    SheetHeader header = headerOf({{"2025学年高二期末考试成绩表"},
                                   {},
                                   {"学生姓名", "班别", "语文 ", "数学\u3000", "外\n语", "道德与法治", "日语",
                                    "语文排名", "日语", "信息\n技术", "考号"},
                                   {"甲", "1", "90", "80", "70", "60", "50", "1", "50", "A", "01"}});
    EXPECT_TRUE(header.found);
    EXPECT_FALSE(header.plain);
    EXPECT_EQ(header.firstRow, 3u);
    EXPECT_EQ(header.lastRow, 3u);
    EXPECT_EQ(header.keys, (std::vector<std::optional<uint32_t>>{std::nullopt, 1u, 0u}));
    EXPECT_EQ(subject(header, "语文"), 2u);
    EXPECT_EQ(subject(header, "数学"), 3u);
    EXPECT_EQ(subject(header, "英语"), 4u);
    EXPECT_EQ(subject(header, "政治"), 5u);
    EXPECT_EQ(header.aliases,
              (std::vector<std::pair<std::string, std::string>>{
                  {"学生姓名", "姓名"}, {"班别", "班级"}, {"外语", "英语"}, {"道德与法治", "政治"}}));
    EXPECT_EQ(header.notAnalysed, (std::vector<std::string>{"日语", "信息技术"}));
}

// Subjects merged over their sub-columns: the raw score is read, else 得分/成绩/分数, else the
// first column that is no rank or scaled score; a subject with only ranks has no score column.
// Key columns merged down leave the sub-header row empty under them.
TEST(SheetHeader, TwoRowHeaderReadsEachSubjectsScoreColumn) {
    SheetHeader header = headerOf({
        {"高二期末成绩"},
        {"姓名", "班级", "语文", "", "", "数学", "", "", "物理", "", "化学", "", "总分", ""},
        {"", "", "班级排名", "赋分", "原始分", "赋分", "年级排名", "得分", "满分150", "名次", "等级",
         "年级排名", "原始分", "排名"},
        {"甲", "1", "3", "80", "120", "85", "2", "110", "95", "4", "A", "7", "325", "1"},
    });
    EXPECT_TRUE(header.found);
    EXPECT_EQ(header.firstRow, 2u);
    EXPECT_EQ(header.lastRow, 3u);
    EXPECT_EQ(subject(header, "语文"), 4u);
    EXPECT_EQ(subject(header, "数学"), 7u);
    EXPECT_EQ(subject(header, "物理"), 8u);
    EXPECT_EQ(subject(header, "化学"), std::nullopt);
    EXPECT_EQ(header.keys[1], 1u);
    EXPECT_EQ(header.keys[2], 0u);
    // The 赋分 sub-columns are the subjects' scaled scores; the sheet's 总分 is its 原始分 column.
    EXPECT_EQ(header.scaled[static_cast<size_t>(subjectIndex("语文"))], 3u);
    EXPECT_EQ(header.scaled[static_cast<size_t>(subjectIndex("数学"))], 5u);
    EXPECT_EQ(header.scaled[static_cast<size_t>(subjectIndex("化学"))], std::nullopt);
    EXPECT_EQ(header.total, 12u);
}

// Scaled-score columns beside the raw ones, in every way sheets head them; rank and 等级 columns
// beside them are never read; a sheet without 班级 column is found by 姓名 and a subject.
TEST(SheetHeader, ScaledScoreColumns) {
    const HeaderRequest oneClass{{"学校", "班级", "姓名"}, {"班级", "姓名"}, true, {"姓名"}};
    Result<SheetHeader> found =
        findHeader(sheetRows({{"高二4班成绩"},
                              {"姓名", "化学", "化赋", "化学等级", "化赋排名", "政治", "政治（赋分）",
                               "生物(赋分)", "道法赋分", "地理赋分", "总分", "赋分总分"}}),
                   oneClass, "成绩");
    ASSERT_TRUE(found) << found.error();
    const SheetHeader& header = *found;
    EXPECT_TRUE(header.found);
    EXPECT_EQ(header.firstRow, 2u);
    EXPECT_EQ(header.keys[1], std::nullopt);
    auto scaled = [&](const char* name) { return header.scaled[static_cast<size_t>(subjectIndex(name))]; };
    EXPECT_EQ(subject(header, "化学"), 1u);
    EXPECT_EQ(scaled("化学"), 2u);
    EXPECT_EQ(subject(header, "政治"), 5u);
    EXPECT_EQ(scaled("政治"), 6u);  // the first of 政治（赋分） and 道法赋分
    EXPECT_EQ(subject(header, "生物"), std::nullopt);
    EXPECT_EQ(scaled("生物"), 7u);
    EXPECT_EQ(scaled("地理"), 9u);
    EXPECT_EQ(header.total, 10u);
    EXPECT_EQ(header.scaledTotal, 11u);
    EXPECT_TRUE(header.notAnalysed.empty());

    const std::pair<const char*, const char*> texts[] = {
        {"化赋", "化学"},       {"政赋", "政治"},           {"化学赋分", "化学"},
        {"化学(赋分)", "化学"}, {"道德与法治赋分", "政治"}, {"化学等级", ""},
        {"化赋排名", ""},       {"等级赋分", ""},           {"赋分", ""},
        {"日语赋分", ""},
    };
    for (const auto& [text, name] : texts) {
        const int i = scaledSubjectOf(text);
        EXPECT_EQ(i < 0 ? std::string() : std::string(kSubjects[static_cast<size_t>(i)].name), name) << text;
    }
}

// The row below the header is data, not a sub-header, when it names a student (or holds no
// sub-column text).
TEST(SheetHeader, RowBelowWithAStudentIsData) {
    SheetHeader named = headerOf({{"姓名", "班级", "语文", ""}, {"甲", "1", "原始分", "排名"}});
    EXPECT_EQ(named.lastRow, 1u);
    SheetHeader numbers = headerOf({{"姓名", "班级", "语文", ""}, {"", "", "90", "3"}});
    EXPECT_EQ(numbers.lastRow, 1u);
    // A web page's cells spanning both header rows repeat their text in the second.
    SheetHeader page = headerOf({{"姓名", "班级", "语文", ""}, {"姓名", "班级", "排名", "原始分"}});
    EXPECT_EQ(page.lastRow, 2u);
    EXPECT_EQ(subject(page, "语文"), 3u);
}

TEST(SheetHeader, NoRowQualifiesThenTheFirstRowIsTakenAsItStands) {
    SheetHeader header = headerOf({{"成绩表"}, {"姓名", "语文"}, {"甲", "90"}});
    EXPECT_FALSE(header.found);
    EXPECT_EQ(header.firstRow, 1u);
    EXPECT_EQ(header.keys, (std::vector<std::optional<uint32_t>>{std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(headerOf({}).firstRow, 0u);
}

// Two columns read as the same column or subject: an error naming both, unless they carry the
// same text (then the first answers, as it always did).
TEST(SheetHeader, SameSubjectTwice) {
    Result<SheetHeader> twice =
        findHeader(sheetRows({{"姓名", "班级", "政治", "语文", "道德与法治"}}), kScores, "成绩");
    ASSERT_FALSE(twice);
    EXPECT_EQ(
        twice.error(),
        "工作表“成绩”的“政治”列（C列）和“道德与法治”列（E列）都按政治读取，请删去其中一列或改掉它的标题。");
    Result<SheetHeader> keys =
        findHeader(sheetRows({{"学校", "姓名", "班级", "学校名称", "语文"}}), kScores, "表");
    ASSERT_FALSE(keys);
    EXPECT_EQ(keys.error(),
              "工作表“表”的“学校”列（A列）和“学校名称”列（D列）都按学校读取，请删去其中一列或改掉它的标题。");
    SheetHeader same = headerOf({{"姓名", "班级", "语文", "语文 "}});
    EXPECT_EQ(subject(same, "语文"), 2u);
}

TEST(HeaderNames, TextsAreNormalisedBeforeTheyAreLookedUp) {
    EXPECT_EQ(normaliseHeaderText(" 语\u3000文\r\n"), "语文");
    EXPECT_EQ(normaliseHeaderText("ＡＢ１２（）"), "AB12()");
    EXPECT_EQ(plainText("\u3000９ 班\n"), "9 班");
    EXPECT_EQ(headerNameOf("思品").name, "政治");
    EXPECT_TRUE(headerNameOf("思品").alias);
    EXPECT_FALSE(headerNameOf("物理").alias);
    EXPECT_TRUE(isKnownNonScoreColumn("总分名次"));
    EXPECT_FALSE(isKnownNonScoreColumn("日语"));
}

// A column that names no subject and no column without scores may hold an extra subject; keys,
// other names, ranks, grades, scaled scores and student numbers never do.
TEST(SheetHeader, ExtraSubjectColumns) {
    SheetHeader header = headerOf({{"学校", "班级", "姓名", "语文", "禁毒", "考号", "禁毒等级", "信息技术",
                                    "总分", "名次", "禁毒", "科目", "备注"}});
    EXPECT_EQ(header.extraColumns,
              (std::vector<std::pair<std::string, uint32_t>>{{"禁毒", 4}, {"信息技术", 7}}));
    for (const char* text : {"禁毒", "科学", "信息技术", "音乐"})
        EXPECT_TRUE(isExtraSubjectColumn(text)) << text;
    for (const char* text : {"语文", "道德与法治", "学校", "班别", "学科", "教师", "考号", "学号", "准考证号",
                             "总分", "名次", "语文排名", "物理赋分", "等级", "序号", "备注", ""})
        EXPECT_FALSE(isExtraSubjectColumn(text)) << text;

    // Under a two-row header an extra subject's score column is read as a subject's.
    header =
        headerOf({{"班级", "姓名", "语文", "", "禁毒", ""}, {"", "", "原始分", "赋分", "等级", "原始分"}});
    EXPECT_EQ(header.extraColumns, (std::vector<std::pair<std::string, uint32_t>>{{"禁毒", 5}}));
}

TEST(ClassName, WrittenAsSchoolsAndPlatformsWriteIt) {
    const std::pair<const char*, const char*> cases[] = {
        {"9", "9"},           {"高二9班", "9"},   {"9班", "9"},
        {"９班", "9"},        {" 10 ", "10"},     {"（9）班", "9"},
        {"初二(4)班", "4"},   {"高二-9班", "9"},  {"七年级3班", "3"},
        {"高一年级2班", "2"}, {"2024级3班", "3"}, {"高2023级12班", "12"},
        {"实验 1", "实验 1"}, {"实验班", "实验"}, {"高二", ""},
        {"班", ""},           {"", ""},           {"1 班", "1"},
        {"二班", "二"},       {"高2班", "高2"},
    };
    for (const auto& [written, kept] : cases) EXPECT_EQ(normaliseClassName(written), kept) << written;
}

TEST(ClassName, TheClassAFileOrSheetNameHolds) {
    const std::pair<const char*, const char*> cases[] = {
        {"高二4班期中", "4"},   {"七年级（12）班成绩", "12"},
        {"初二(3)班月考", "3"}, {"９班", "9"},
        {"期中成绩", ""},       {"实验班", ""},
        {"班级成绩", ""},       {"2024届高三1班", "1"},
    };
    for (const auto& [name, klass] : cases) EXPECT_EQ(classInName(name), klass) << name;
}

// A teacher sheet's cell may name several classes; one class reads as normaliseClassName reads
// it, and a text that is neither is refused rather than taken as a class of that name.
TEST(ClassName, SeveralClassesInOneCell) {
    using Classes = std::vector<std::string>;
    const std::pair<const char*, std::optional<Classes>> cases[] = {
        {"1、2班", Classes{"1", "2"}},
        {"1,3", Classes{"1", "3"}},
        {"１，３", Classes{"1", "3"}},
        {"1；2/3", Classes{"1", "2", "3"}},
        {"3-4班", Classes{"3", "4"}},
        {"３－５班", Classes{"3", "4", "5"}},
        {"3班~5班", Classes{"3", "4", "5"}},
        {"08-10", Classes{"08", "09", "10"}},
        {"高二1、2班", Classes{"1", "2"}},
        {"1班、高二2班", Classes{"1", "2"}},
        {"1班3班", Classes{"1", "3"}},
        {"(1)、(2)班", Classes{"1", "2"}},
        {"1、3-4班", Classes{"1", "3", "4"}},
        // One class, as before.
        {"高二-9班", Classes{"9"}},
        {"7-1", Classes{"7-1"}},
        {"实验 1", Classes{"实验 1"}},
        {"重点班1", Classes{"重点班1"}},
        {"3", Classes{"3"}},
        {"", Classes{}},
        {"班", Classes{}},
        {"高二", Classes{}},
        // Not readable as classes.
        {"1,,3", std::nullopt},
        {"1、班", std::nullopt},
        {"1、", std::nullopt},
        {"1-60", std::nullopt},
        {"1-99999999999999999999", std::nullopt},
    };
    for (const auto& [written, classes] : cases) EXPECT_EQ(classListOf(written), classes) << written;
}

}  // namespace
}  // namespace varnex
