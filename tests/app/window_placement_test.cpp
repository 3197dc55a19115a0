#include "app/window_placement.h"

#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "tests/support/temp_dir.h"

namespace varnex {
namespace {

using testing::TempDir;

TEST(WindowPlacement, SavedBesideTheOtherSettingsAndReadBack) {
    TempDir dir;
    const std::string path = dir.file("s.ini");
    testing::writeFile(path, utf8ToGbk("[七年级]\r\n语文=150\r\n"));
    EXPECT_FALSE(loadWindowPlacement(path));
    ASSERT_TRUE(saveWindowPlacement(path, {-20, 35, 1200, 680, true}));
    EXPECT_EQ(
        testing::readFile(path),
        utf8ToGbk("[七年级]\r\n语文=150\r\n[窗口]\r\n左=-20\r\n上=35\r\n宽=1200\r\n高=680\r\n最大化=1\r\n"));
    std::optional<WindowPlacement> placed = loadWindowPlacement(path);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->left, -20);
    EXPECT_EQ(placed->top, 35);
    EXPECT_EQ(placed->width, 1200);
    EXPECT_EQ(placed->height, 680);
    EXPECT_TRUE(placed->maximised);
}

TEST(WindowPlacement, IncompleteOrSenselessValuesAreNoPlacement) {
    TempDir dir;
    const std::string path = dir.file("s.ini");
    const char* const files[] = {
        "[窗口]\r\n左=1\r\n上=2\r\n宽=300\r\n",            // no height
        "[窗口]\r\n左=1\r\n上=2\r\n宽=0\r\n高=300\r\n",    // no width
        "[窗口]\r\n左=1\r\n上=2\r\n宽=abc\r\n高=300\r\n",  // not a number
    };
    for (const char* text : files) {
        testing::writeFile(path, utf8ToGbk(text));
        EXPECT_FALSE(loadWindowPlacement(path)) << text;
    }
    EXPECT_FALSE(loadWindowPlacement(""));
    EXPECT_FALSE(saveWindowPlacement("", {0, 0, 10, 10, false}));
    EXPECT_FALSE(saveWindowPlacement(dir.file("no/such/folder/s.ini"), {0, 0, 10, 10, false}));
}

}  // namespace
}  // namespace varnex
