#include "base/text_conversion.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace varnex {
namespace {

TEST(TextConversion, ConvertsReplacesOrRefuses) {
    const std::string gbk = "\xD3\xEF\xCE\xC4";  // 语文
    EXPECT_EQ(convertText(gbk, "UTF-8", "GB18030"), "语文");
    EXPECT_EQ(convertText("语文", "GB18030", "UTF-8"), gbk);
    // A byte that starts no character: refused, or replaced and passed over.
    EXPECT_EQ(convertText("\xFF" + gbk, "UTF-8", "GBK"), std::nullopt);
    EXPECT_EQ(convertText("\xFF" + gbk, "UTF-8", "GBK", "?"), "?语文");
    // Cut off at the end: the lone lead byte is replaced.
    EXPECT_EQ(convertText(gbk + "\xD3", "UTF-8", "GB18030", "?"), "语文?");
    EXPECT_EQ(convertText("", "UTF-8", "GB18030"), "");
    EXPECT_EQ(convertText("abc", "UTF-8", "NO-SUCH-ENCODING", "?"), std::nullopt);
    // Longer than one round of the converter's buffer.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += gbk;
    EXPECT_EQ(convertText(many, "UTF-8", "GB18030")->size(), 5000u * 6);
}

TEST(TextConversion, AConverterServesManyTextsAndMoves) {
    TextConverter latin("UTF-8", "CP1252");
    ASSERT_TRUE(latin.ok());
    std::string out;
    EXPECT_TRUE(latin.append("caf\xE9", out));
    EXPECT_TRUE(latin.append(" \x80", out));
    EXPECT_EQ(out, "café €");
    TextConverter moved = std::move(latin);
    EXPECT_FALSE(latin.ok());  // NOLINT(bugprone-use-after-move): moved-from is empty
    EXPECT_TRUE(moved.ok());
    EXPECT_FALSE(latin.append("x", out));
    EXPECT_FALSE(TextConverter("UTF-8", "NO-SUCH-ENCODING").ok());
}

}  // namespace
}  // namespace varnex
