// Plain text of mark-up, and colours by name and by hexadecimal value.
#include "HtmlColors.h"
#include "HtmlStrip.h"

#include <gtest/gtest.h>

TEST(HtmlStrip, EveryConstruct)
{
    EXPECT_EQ(HtmlStrip("one<BR>two<z>hidden</z> <b>bold</b>"), "one\r\ntwo bold");
    EXPECT_EQ(HtmlStrip("a<br>b<hR>c"), "a\r\nb\r\nc");
    EXPECT_EQ(HtmlStrip("a<Z>x</Z>b<z>y</z>c"), "abc");
    EXPECT_EQ(HtmlStrip("<a href=\"http://x\">link</a> <font size=\"7\" color=\"clRed\">small</font>"), "link small");
    EXPECT_EQ(HtmlStrip("<img src=\"idx:2\">name"), "name");
    EXPECT_EQ(HtmlStrip("<ul><li>one<li>two</ul>"), "onetwo");
    EXPECT_EQ(HtmlStrip("a &amp; b &lt;"), "a &amp; b &lt;");  // entities stay as written
    EXPECT_EQ(HtmlStrip("plain"), "plain");
    EXPECT_EQ(HtmlStrip(""), "");
}

TEST(HtmlStrip, UnfinishedMarkupEndsTheText)
{
    EXPECT_EQ(HtmlStrip("before<b"), "before");
    EXPECT_EQ(HtmlStrip("shown<z>never closed"), "shown");
    EXPECT_EQ(HtmlStrip("a<z>x</Z>b"), "a");  // the closing tag must match the opening's case
    EXPECT_EQ(HtmlStrip("x>y"), "x>y");
}

TEST(HtmlColors, ByHexAndByName)
{
    EXPECT_EQ(HexToColor("#FF0000"), 0x0000FF);
    EXPECT_EQ(HexToColor("#ff0000"), 0x0000FF);
    EXPECT_EQ(HexToColor("#123456"), 0x563412);
    EXPECT_EQ(HtmlColorByName("#00ff00"), 0x00FF00);
    EXPECT_EQ(HtmlColorByName("clRed"), clRed);
    EXPECT_EQ(HtmlColorByName("clred"), clRed);
    EXPECT_EQ(HtmlColorByName("CLNAVY"), clNavy);
    EXPECT_EQ(HtmlColorByName("clMaroon"), clMaroon);
    EXPECT_EQ(HtmlColorByName("clBtnFace"), TColor(0x8000000F));
    EXPECT_EQ(HtmlColorByName("clInfoBk"), TColor(0x80000018));
    EXPECT_EQ(HtmlColorByName("clBlack"), clBlack);
    EXPECT_EQ(HtmlColorByName("clNoSuchColour"), 0);
    EXPECT_EQ(HtmlColorByName(""), clNone);
    EXPECT_EQ(HexToColor("#zz"), 0);  // not hexadecimal, and short: the missing digits are 0
}
