// Layout, measuring and hit-testing against fixed metrics: characters 6 pixels wide, lines 13 high.
#include "MarkupCall.h"

#include "Forms.h"

#include <gtest/gtest.h>

namespace {
constexpr int W = TFixedTextMetrics::CharWidth;
constexpr int H = 13;
const TRect kBox{0, 0, 300, 200};

std::vector<String> Texts(const TFixedCanvas& c)
{
    std::vector<String> out;
    for (const auto& run : c.Drawn())
        out.push_back(run.text);
    return out;
}
}  // namespace

TEST(HtmlLayout, EmptyTextIsOneLineOfNothing)
{
    TFixedCanvas c;
    TMarkupCall call;
    EXPECT_FALSE(call.Run(c.canvas, "", kBox));
    EXPECT_EQ(call.textHeight, H);
    EXPECT_EQ(call.textWidth, 0);
    EXPECT_EQ(call.linkCount, 0);
    EXPECT_EQ(call.hoveredLink, -1);
    EXPECT_TRUE(call.plainText.empty());
    EXPECT_TRUE(c.Drawn().empty());
}

TEST(HtmlLayout, EntitiesAreDecodedOnce)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "a&amp;b", kBox);
    ASSERT_EQ(Texts(c), std::vector<String>{"a&b"});
    EXPECT_EQ(call.textWidth, 3 * W);

    TFixedCanvas all;
    call.Run(all.canvas, "&quot;&sect;&permil;&reg;&copy;&para;&trade;&euro;", kBox);
    EXPECT_EQ(Texts(all), std::vector<String>{"\"\xC2\xA7\xE2\x80\xB0\xC2\xAE\xC2\xA9\xC2\xB6\xE2\x84\xA2\xE2\x82\xAC"});

    TFixedCanvas caps;
    call.Run(caps.canvas, "&AMP; &Copy;", kBox);
    EXPECT_EQ(Texts(caps), (std::vector<String>{"& ", "\xC2\xA9"}));

    // What an entity stands for is text, never another entity or a tag.
    TFixedCanvas once;
    call.Run(once.canvas, "&amp;quot; &amp;lt;b&amp;gt;", kBox);
    EXPECT_EQ(Texts(once), (std::vector<String>{"&quot; ", "&lt;b&gt;"}));

    TFixedCanvas run;
    call.Run(run.canvas, "&lt;b&gt;x&nbsp;y", kBox);
    EXPECT_EQ(Texts(run), std::vector<String>{"<b>x y"});
    EXPECT_EQ(run.Drawn()[0].style & fsBold, 0u);
}

TEST(HtmlLayout, CrLfIsOneLineBreak)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.args.measureOnly = true;
    call.Run(c.canvas, "one\r\ntwo", kBox);
    EXPECT_EQ(call.textHeight, 2 * H);
    EXPECT_EQ(call.plainText, "one\rtwo");
    call.Run(c.canvas, "one\ntwo", kBox);
    EXPECT_EQ(call.textHeight, H);
    call.Run(c.canvas, "one<br>two<BR>three", kBox);
    EXPECT_EQ(call.textHeight, 3 * H);
    EXPECT_EQ(call.textWidth, 5 * W);
}

TEST(HtmlLayout, WordWrapBreaksAtBlanks)
{
    TFixedCanvas c;
    TMarkupCall call;
    // 7 characters' room: "aaa bbb " would not fit, nor would "bbb ccc".
    call.Run(c.canvas, "aaa bbb ccc", {0, 0, 1 + 7 * W, 200});
    EXPECT_EQ(Texts(c), (std::vector<String>{"aaa ", "bbb ", "ccc"}));
    EXPECT_EQ(c.Drawn()[1].cell, Bounds(1, H, 4 * W, H));
    EXPECT_EQ(call.textHeight, 3 * H);
    EXPECT_EQ(call.textWidth, 3 * W);  // the trailing blank does not count
    // A word split by a tag stays together.
    TFixedCanvas split;
    call.Run(split.canvas, "aaaaaa<b>bbbb</b>", {0, 0, 1 + 8 * W, 200});
    EXPECT_EQ(call.textHeight, H);
}

TEST(HtmlLayout, EllipsisWithoutWordWrapEndsTheText)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.args.wordWrap = false;
    // "defghij" does not fit after "abc "; it is cut where the room ends and nothing follows.
    call.Run(c.canvas, "abc <b>defghij</b><br>next line", {0, 0, 1 + 10 * W, 200});
    auto texts = Texts(c);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "abc ");
    EXPECT_EQ(texts[1], "def...");  // 6 characters fit between x 25 and 61
    EXPECT_EQ(c.Drawn()[1].cell.Left, 1 + 4 * W);
    EXPECT_NE(c.Drawn()[1].style & fsBold, 0u);
    EXPECT_EQ(call.textHeight, H);

    // A run wider than the whole line stays on it, cut, and the lines after it stay.
    TFixedCanvas first;
    call.Run(first.canvas, "abcdefghijklmnop<br>next", {0, 0, 1 + 10 * W, 200});
    EXPECT_EQ(Texts(first), (std::vector<String>{"abcdefg...", "next"}));
}

TEST(HtmlLayout, EllipsisIsDecidedOnTheWholeRun)
{
    // "cdefghijklmn" shortened to "cdef..." would fit after "ab "; the whole run does not.
    TFixedCanvas c;
    TMarkupCall call;
    call.args.wordWrap = false;
    call.Run(c.canvas, "ab <i>cdefghijklmn</i> more<br>next", {0, 0, 1 + 10 * W + 3, 200});
    EXPECT_EQ(Texts(c), (std::vector<String>{"ab ", "cdef..."}));
    EXPECT_EQ(call.textHeight, H);

    // A measuring call sees the same single line.
    TFixedCanvas m;
    call.args.measureOnly = true;
    call.Run(m.canvas, "ab <i>cdefghijklmn</i> more<br>next", {0, 0, 1 + 10 * W + 3, 200});
    EXPECT_EQ(call.textHeight, H);
    EXPECT_EQ(call.textWidth, 10 * W);
}

TEST(HtmlLayout, AnchorWrappedOntoTheNextLineEndsItsStyleThere)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.args.urlColor = clRed;
    c.canvas.Font.SetColor(clBlack);
    call.Run(c.canvas, "<a href=\"x\">aaa bbbbbb</a> after", {0, 0, 1 + 8 * W, 200});
    ASSERT_EQ(Texts(c), (std::vector<String>{"aaa ", "bbbbbb", " ", "after"}));
    for (int i : {0, 1}) {
        EXPECT_NE(c.Drawn()[i].style & fsUnderline, 0u) << i;
        EXPECT_EQ(c.Drawn()[i].color, clRed) << i;
    }
    for (int i : {2, 3}) {
        EXPECT_EQ(c.Drawn()[i].style & fsUnderline, 0u) << i;
        EXPECT_EQ(c.Drawn()[i].color, clBlack) << i;
    }
}

TEST(HtmlLayout, AttributesMayHaveBlanksAroundTheEqualsSign)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "<font color = \"#0000FF\" size= \"5\">a</font><p align =\"right\">b</p>", kBox);
    ASSERT_EQ(c.Drawn().size(), 2u);
    EXPECT_EQ(c.Drawn()[0].color, clBlue);  // #RRGGBB
    EXPECT_EQ(c.Drawn()[0].fontSize, 16);
    EXPECT_EQ(c.Drawn()[1].cell.Left, kBox.Right - W);

}

TEST(HtmlLayout, MeasureOnlyMeasuresPastTheBottomAndDrawsNothing)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.args.measureOnly = true;
    const String text = "1<br>2<br>3<br>4<br>5";
    call.Run(c.canvas, text, {0, 0, 100, 20});
    EXPECT_EQ(call.textHeight, 5 * H);
    EXPECT_TRUE(c.Drawn().empty());
    EXPECT_EQ(call.plainText, "1\r2\r3\r4\r5");

    TFixedCanvas drawing;
    TMarkupCall draw;
    draw.Run(drawing.canvas, text, {0, 0, 100, 2 * H + 5});
    // After the second line a third would start past the bottom.
    EXPECT_EQ(Texts(drawing), (std::vector<String>{"1", "2"}));
}

TEST(HtmlLayout, TwoAnchorsFocusAndHoverNumbers)
{
    const String text = "<a href=\"one\">first</a> and <a href=\"two\">second</a>";
    // "first" 1..31, " and " 31..61, "second" 61..97.
    TFixedCanvas c;
    TMarkupCall hit;
    hit.args.hitTestOnly = true;
    hit.args.x = 70;
    hit.args.y = 6;
    EXPECT_TRUE(hit.Run(c.canvas, text, kBox));
    EXPECT_EQ(hit.anchorUnderMouse, "two");
    EXPECT_EQ(hit.linkCount, 2);
    EXPECT_EQ(hit.hoveredLink, 2);
    EXPECT_EQ(hit.hoveredRect, TRect(1 + 10 * W, 0, 1 + 16 * W, H));
    EXPECT_TRUE(c.Drawn().empty());

    TMarkupCall first;
    first.args.hitTestOnly = true;
    first.args.x = 5;
    first.args.y = 6;
    EXPECT_TRUE(first.Run(c.canvas, text, kBox));
    EXPECT_EQ(first.anchorUnderMouse, "one");
    EXPECT_EQ(first.hoveredLink, 1);

    TMarkupCall between;
    between.args.hitTestOnly = true;
    between.args.x = 40;
    between.args.y = 6;
    EXPECT_FALSE(between.Run(c.canvas, text, kBox));
    EXPECT_EQ(between.hoveredLink, -1);
    EXPECT_EQ(between.hoveredRect, TRect(-9, -9, -9, -9));  // left alone

    for (int focus : {0, 1}) {
        TFixedCanvas d;
        TMarkupCall draw;
        draw.args.focusLink = focus;
        draw.Run(d.canvas, text, kBox);
        EXPECT_EQ(draw.focusAnchor, focus == 0 ? "one" : "two");
        EXPECT_EQ(draw.linkCount, 2);
    }
}

TEST(HtmlLayout, AnchorStyleFollowsHoverStyle)
{
    const String text = "<a href=\"one\">first</a> <a href=\"two\">second</a>";
    TFixedCanvas all;
    TMarkupCall call;
    call.args.urlColor = clRed;
    call.Run(all.canvas, text, kBox);
    ASSERT_EQ(all.Drawn().size(), 3u);
    EXPECT_NE(all.Drawn()[0].style & fsUnderline, 0u);
    EXPECT_EQ(all.Drawn()[0].color, clRed);
    EXPECT_EQ(all.Drawn()[1].style & fsUnderline, 0u);
    EXPECT_EQ(all.Drawn()[1].color, all.canvas.Font.Color());
    EXPECT_NE(all.Drawn()[2].style & fsUnderline, 0u);

    TFixedCanvas hover;
    call.args.hoverStyle = true;
    call.args.hoverLink = 2;
    call.args.hoverFontColor = clGreen;
    call.Run(hover.canvas, text, kBox);
    ASSERT_EQ(hover.Drawn().size(), 3u);
    EXPECT_EQ(hover.Drawn()[0].style & fsUnderline, 0u);
    EXPECT_EQ(hover.Drawn()[0].color, clRed);
    EXPECT_NE(hover.Drawn()[2].style & fsUnderline, 0u);
    EXPECT_EQ(hover.Drawn()[2].color, clGreen);

    TFixedCanvas selected;
    TMarkupCall sel;
    sel.args.selected = true;
    sel.args.urlColor = clRed;
    selected.canvas.Font.SetColor(clWhite);
    sel.Run(selected.canvas, text, kBox);
    EXPECT_EQ(selected.Drawn()[0].color, clWhite);
}

TEST(HtmlLayout, PointBelowAnAnchorIsNotOnIt)
{
    // Same column as the anchor, but on the plain line under it.
    TFixedCanvas c;
    TMarkupCall call;
    call.args.hitTestOnly = true;
    call.args.x = 10;
    call.args.y = H + 6;
    EXPECT_FALSE(call.Run(c.canvas, "<a href=\"up\">link</a><br>plain text", kBox));
    EXPECT_EQ(call.anchorUnderMouse, "");
    EXPECT_EQ(call.hoveredLink, -1);
}

TEST(HtmlLayout, AnchorAcrossLinesIsFoundOnItsSecondLine)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.args.hitTestOnly = true;
    call.args.x = 3;
    call.args.y = H + 6;
    EXPECT_TRUE(call.Run(c.canvas, "xxxx <a href=\"wrap\">aaaa bbbb</a>", {0, 0, 1 + 10 * W, 200}));
    EXPECT_EQ(call.anchorUnderMouse, "wrap");
    EXPECT_EQ(call.hoveredLink, 1);
    // Opened at the end of the first line, the anchor's words all wrap onto the second.
    EXPECT_EQ(call.hoveredRect, TRect(1, 0, 1 + 9 * W, 2 * H));
}

TEST(HtmlLayout, ListsHaveBulletsAndIndents)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "<ul><li>one<li>two<ul><li>deep</ul></ul>", kBox);
    auto& runs = c.Drawn();
    ASSERT_EQ(runs.size(), 6u);
    // The UL tag takes a line of its own.
    EXPECT_EQ(runs[0].text, "\xE2\x80\xA2");
    EXPECT_EQ(runs[0].fontName, "Symbol");
    EXPECT_EQ(runs[0].cell.Left, 1);
    EXPECT_EQ(runs[0].cell.Top, H);
    EXPECT_EQ(runs[1].text, "one");
    EXPECT_EQ(runs[1].cell.Left, 1 + 12);
    EXPECT_NE(runs[1].fontName, "Symbol");
    EXPECT_EQ(runs[2].cell.Top, 2 * H);  // a second item starts a new line
    EXPECT_EQ(runs[3].text, "two");
    EXPECT_EQ(runs[4].text, "o");
    EXPECT_EQ(runs[4].cell.Left, 1 + 12);
    EXPECT_EQ(runs[5].text, "deep");
    EXPECT_EQ(runs[5].cell.Left, 1 + 24);

    TMarkupCall measure;
    measure.args.measureOnly = true;
    measure.Run(c.canvas, "<ul><li>one</ul>", kBox);
    EXPECT_EQ(measure.textWidth, 12 + 3 * W);
}

TEST(HtmlLayout, ImageFromTheImageListMovesTheText)
{
    ASSERT_EQ(Screen()->PixelsPerInch(), 96);
    TImageList images(nullptr, 16, 16);
    for (int i = 0; i < 3; ++i) {
        QImage square(16, 16, QImage::Format_RGB32);
        square.fill(Qt::red);
        images.AddImage(square);
    }
    TFixedCanvas c;
    TMarkupCall call;
    call.args.images = &images;
    call.Run(c.canvas, "<img src=\"idx:2\">name", kBox);
    ASSERT_EQ(Texts(c), std::vector<String>{"name"});
    EXPECT_EQ(c.Drawn()[0].cell.Left, 1 + 16);
    EXPECT_EQ(c.Drawn()[0].cell.Bottom, 16);  // text sits on the line's bottom
    EXPECT_EQ(call.textWidth, 16 + 4 * W);
    EXPECT_EQ(call.textHeight, 16);

    // An index past the list takes no room, and so does a list that is not there.
    TFixedCanvas past;
    call.Run(past.canvas, "<IMG SRC=\"IDX:3\">name", kBox);
    EXPECT_EQ(past.Drawn()[0].cell.Left, 1);
    call.args.images = nullptr;
    TFixedCanvas none;
    call.Run(none.canvas, "<img src=\"idx:0\">name", kBox);
    EXPECT_EQ(none.Drawn()[0].cell.Left, 1);

    // Aligned to the top, the text's top meets the image's.
    call.args.images = &images;
    TFixedCanvas top;
    call.Run(top.canvas, "<img src=\"idx:0\" align=\"top\">name", kBox);
    EXPECT_EQ(top.Drawn()[0].cell.Top, 0);
}

TEST(HtmlLayout, FontSizesAndColours)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas,
             "<font size=\"7\">a</font><font size=\"3\" color=\"clRed\">b</font>"
             "<font color=\"#00ff00\">c</font><font size=\"99999999999\">d</font>e",
             kBox);
    auto& runs = c.Drawn();
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].fontSize, 7);
    EXPECT_EQ(runs[1].fontSize, 12);
    EXPECT_EQ(runs[1].color, clRed);
    EXPECT_EQ(runs[2].color, clLime);
    EXPECT_EQ(runs[3].fontSize, 200);  // held to a sane size
    EXPECT_EQ(runs[4].fontSize, c.canvas.Font.Size());
    EXPECT_EQ(runs[4].color, c.canvas.Font.Color());
}

TEST(HtmlLayout, StylesSwitchOnAndOff)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "<b>b</b><i>i</i><u>u</u><s>s</s>n<z>hidden</z>", kBox);
    auto& runs = c.Drawn();
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].style, unsigned(fsBold));
    EXPECT_EQ(runs[1].style, unsigned(fsItalic));
    EXPECT_EQ(runs[2].style, unsigned(fsUnderline));
    EXPECT_EQ(runs[3].style, unsigned(fsStrikeOut));
    EXPECT_EQ(runs[4].style, 0u);
    EXPECT_EQ(call.textWidth, 5 * W);
}

TEST(HtmlLayout, ParagraphAlignmentAndIndent)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "<p align=\"right\">ab</p><p align=\"center\">cd</p><p align=\"left\" indent=\"30\">ef", {0, 0, 101, 100});
    auto& runs = c.Drawn();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].cell.Left, 101 - 2 * W);
    EXPECT_EQ(runs[1].cell.Left, 1 + (100 - 2 * W) / 2);
    EXPECT_EQ(runs[2].cell.Left, 1 + 30);
}

TEST(HtmlLayout, SubscriptGrowsTheLine)
{
    TFixedCanvas c;
    TMarkupCall call;
    call.Run(c.canvas, "x<sub>2</sub>", kBox);
    EXPECT_EQ(call.textHeight, H + H / 4);
    ASSERT_EQ(c.Drawn().size(), 2u);
    EXPECT_EQ(c.Drawn()[0].cell.Bottom, H);
    EXPECT_EQ(c.Drawn()[1].cell.Bottom, H + H / 4);
}

TEST(HtmlLayout, HostileMarkupStaysInBounds)
{
    TFixedCanvas c;
    TMarkupCall call;
    for (const char* text : {"<", "<a", "abc<", "<a href=\"x\">no end", "<font size=\"\">x", "<ind x=\"999999999999\">x",
                             "<p indent=\"-5\">x", "<r a=\"720\">x</r>", "<ul><ul><ul><li>x", "</ul></ul><li>x",
                             "<img src=\"ssys:\">", "<img>", "<img width=\"99999999\" height=\"5\" src=\"a\">",
                             "<#>x", "<#", "<<<>>>", "\r\r\r\n", "<font face=\"\">x</font>"}) {
        call.Run(c.canvas, text, kBox);
        EXPECT_GE(call.textHeight, H) << text;
        EXPECT_GE(call.textWidth, 0) << text;
    }
    call.Run(c.canvas, "<ind x=\"999999999999\">x", kBox);
    EXPECT_EQ(call.textWidth, 32767);  // and the "x" wraps to the next line
}
