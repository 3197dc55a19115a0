#include "base/result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace varnex {
namespace {

Result<std::unique_ptr<int>> make(bool good) {
    if (!good) return fail("文件不存在：a.xls");
    return std::make_unique<int>(7);
}

Status check(int n) {
    if (n < 0) return fail("不能小于0");
    return {};
}

TEST(Result, CarriesTheValueOrTheMessage) {
    auto good = make(true);
    ASSERT_TRUE(good);
    EXPECT_EQ(**good, 7);
    std::unique_ptr<int> taken = std::move(good).value();
    EXPECT_EQ(*taken, 7);

    auto bad = make(false);
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error(), "文件不存在：a.xls");

    // A string value and a string message stay apart.
    Result<std::string> text = std::string("85");
    EXPECT_TRUE(text.ok());
    EXPECT_EQ(*text, "85");
}

TEST(Result, StatusHasOnlyTheMessage) {
    EXPECT_TRUE(check(1).ok());
    Status failed = check(-1);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error(), "不能小于0");
}

TEST(Result, TheKindTravelsWithTheMessage) {
    auto untyped = make(false);
    EXPECT_EQ(untyped.errorKind(), ErrorKind::BadInput);  // fail(message) alone

    Result<int> refused = fail(ErrorKind::FolderRefused, "无法保存");
    EXPECT_EQ(refused.errorKind(), ErrorKind::FolderRefused);
    EXPECT_EQ(refused.error(), "无法保存");
    // Passed on through another Result (and a Status) it keeps both.
    Result<std::string> passed = refused.failure();
    Status status = passed.failure();
    EXPECT_EQ(status.errorKind(), ErrorKind::FolderRefused);
    EXPECT_EQ(status.error(), "无法保存");
}

}  // namespace
}  // namespace varnex
