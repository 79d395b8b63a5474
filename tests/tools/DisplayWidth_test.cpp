#include "tools/qncal/DisplayWidth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qncal::Centered;
using qncal::DisplayWidth;
using qncal::FitToWidth;

TEST(DisplayWidth, CountsChineseAndFullwidthAsTwoColumns)
{
    const struct {
        std::string text;
        int width;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"农历", 4},
        {"2010年6月", 9},
        {"１２", 4},              // fullwidth digits
        {"，。", 4},              // CJK punctuation
        {"孛儿只斤·忽必烈", 15},  // the middle dot is narrow
        {"赵㬎", 4},              // extension A
        {"𠀀", 2},                // extension B, four UTF-8 bytes
        {"e\xcc\x81", 1},         // e + combining acute accent
        {"\t\x1b", 0},            // control characters take no column
        {"\xff"
         "a",
         2},              // a stray byte counts as one column
        {"\xe5\x86", 2},  // a cut-off sequence: one column per byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(DisplayWidth, FitsLongTextsAtCharacterBoundaries)
{
    const struct {
        std::string text;
        int width;
        std::string fitted;
    } cases[] = {
        {"元宵节", 6, "元宵节"},     {"闰十一月", 6, "闰十一"},  // the trailing 月 goes first
        {"国际劳动节", 6, "国际劳"},                             // without 节 still too wide: cut from the end
        {"儿童节", 4, "儿童"},       {"儿童节", 5, "儿童"},      // never half a character
        {"abcdef", 3, "abc"},        {"a农b", 2, "a"},          {"", 6, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitToWidth(c.text, c.width), c.fitted) << c.text << " in " << c.width;
        EXPECT_LE(DisplayWidth(FitToWidth(c.text, c.width)), c.width);
    }
}

TEST(DisplayWidth, CentresWithTheOddColumnOnTheRight)
{
    EXPECT_EQ(Centered("十九", 6), " 十九 ");
    EXPECT_EQ(Centered("1", 6), "  1   ");
    EXPECT_EQ(Centered("儿童节", 6), "儿童节");
    EXPECT_EQ(Centered("闰十一月", 6), "闰十一");
    EXPECT_EQ(Centered("", 3), "   ");
}

}  // namespace
