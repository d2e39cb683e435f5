#include "helpUnit.h"

#include "PictureFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

int Count(const String& text, const String& what)
{
    String upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    int n = 0;
    for (size_t at = upper.find(what); at != String::npos; at = upper.find(what, at + what.size()))
        ++n;
    return n;
}

TEST(HelpForm, OnePanelShowsTheTextAndNothingElse)
{
    Thelpform form(nullptr);
    TMarkupPanel& panel = *form.HTMLPanel1;
    EXPECT_EQ(form.Width(), 709);
    EXPECT_EQ(form.Height(), 579);
    EXPECT_EQ(panel.Parent(), &form);
    EXPECT_EQ(panel.Align(), alClient);
    EXPECT_EQ(panel.Width(), form.ClientWidth());
    EXPECT_EQ(panel.Height(), form.ClientHeight());
    EXPECT_EQ(panel.Color(), clWhite);
    EXPECT_FALSE(panel.Caption().Visible());
    EXPECT_FALSE(panel.CanMove);
    EXPECT_FALSE(panel.CanSize());
    EXPECT_FALSE(panel.Position().Save);
    EXPECT_EQ(panel.ShadowOffset(), 2);
    EXPECT_EQ(panel.ShadowColor(), clGray);
    EXPECT_EQ(panel.URLColor(), clBlue);
    EXPECT_EQ(panel.TextVAlign(), tvaTop);
    ASSERT_EQ(panel.Images(), form.ImageList1);
    EXPECT_EQ(form.ImageList1->Width, 32);
    EXPECT_EQ(form.ImageList1->Height, 32);
    EXPECT_EQ(form.ImageList1->Count(), 1);  // the page's "idx:0" picture
    EXPECT_EQ(panel.Text(), HelpPageText());
    EXPECT_EQ(panel.HitTest(300, 5), HTCLIENT);
}

TEST(HelpForm, PageShape)
{
    const String& text = HelpPageText();
    EXPECT_EQ(text.rfind("<IMG src=\"idx:0\">", 0), 0u);
    const size_t title = text.find("<FONT size=\"18\">");
    const size_t rule = text.find("<HR>");
    ASSERT_NE(title, String::npos);
    ASSERT_NE(rule, String::npos);
    EXPECT_LT(title, rule);
    EXPECT_EQ(Count(text.substr(0, rule), "<BR>"), 1);  // the title line, then the short line
    EXPECT_EQ(Count(text, "<BR>"), 28);
    EXPECT_EQ(Count(text, "<B>"), 4);
    for (const char* heading : {"<B>Easy Start</B>", "<B>Advanced Options</B>", "<B>CDDB TrackList Overlay</B>"})
        EXPECT_NE(text.find(heading), String::npos) << heading;
    EXPECT_GT(text.size(), 2700u);
    EXPECT_LT(text.size(), 2950u);
    EXPECT_EQ(text.find('\r'), String::npos);  // a CR would add breaks of its own
    EXPECT_NE(text.find("~/Documents/Ombrelle"), String::npos);
}

TEST(HelpForm, PageNamesEveryFormatTheProgramOpens)
{
    RegisterPictureFormats();
    const std::vector<String> formats = TPicture::RegisteredExtensions();
    ASSERT_GE(formats.size(), 6u);
    for (String ext : formats) {
        std::transform(ext.begin(), ext.end(), ext.begin(), ::toupper);
        // As a word of its own: "ICO" inside "icon" does not count.
        EXPECT_TRUE(std::regex_search(HelpPageText(), std::regex("[^A-Za-z]" + ext + "[^A-Za-z]"))) << ext;
    }
}

}  // namespace
