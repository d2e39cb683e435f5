#include "Catalogue.h"
#include "CoverReply.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<String> Lines(const std::string& reply)
{
    std::vector<String> lines;
    ReplyLines(reply, [&](const String& line) { lines.push_back(line); });
    return lines;
}

TEST(CoverReply, TwoTitlesTheSecondWithoutCovers)
{
    const auto lines = Lines(
        "<rsp stat=\"ok\"><title><name>Alpha</name><added>1/2/07</added><uploader>ann</uploader>"
        "<image>http://h/a.jpg</image><covers><cover><type>Front</type><url>http://h/f.jpg</url></cover>"
        "<cover><type>Back</type><url>http://h/b.jpg</url></cover></covers></title>"
        "<title><name>Beta</name><added>3/4/08</added><image>http://h/b.gif</image></title></rsp>");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "<A href=\"http://h/a.jpg\">Alpha</A><br><FONT  size=\"7\" >Added : 1/2/07  (ann)</FONT><br>"
              "<A href=\"http://h/f.jpg\">Front</A>    <A href=\"http://h/b.jpg\">Back</A>    <br><hr>");
    EXPECT_EQ(lines[1],
              "<A href=\"http://h/b.gif\">Beta</A><br><FONT  size=\"7\" >Added : 3/4/08  ()</FONT><br><br><hr>");
}

TEST(CoverReply, HostileValuesAddNoMarkup)
{
    const auto lines = Lines(
        "<rsp><title><name>&lt;IMG src=\"http://x/p.gif\"&gt;&lt;A href=\"file:///etc\"&gt;x&amp;amp;</name>"
        "<image>http://h/a.jpg\"&gt;&lt;IMG src=\"y</image><added>a\nb</added>"
        "<covers><cover><type>&lt;/A&gt;</type><url>file:///etc/passwd</url></cover></covers></title></rsp>");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              "<A href=\"http://h/a.jpg%22%3E%3CIMG%20src=%22y\">&lt;IMG src=\"http://x/p.gif\"&gt;&lt;A "
              "href=\"file:///etc\"&gt;x&amp;amp;</A><br><FONT  size=\"7\" >Added : a b  ()</FONT><br>"
              "<A href=\"file:///etc/passwd\">&lt;/A&gt;</A>    <br><hr>");
    // Only the line's own anchors open tags.
    size_t tags = 0;
    for (char c : lines[0])
        tags += c == '<';
    EXPECT_EQ(tags, 10u);
}

TEST(CoverReply, EntityStartsInLinksAreEncodedOtherAmpersandsKept)
{
    EXPECT_EQ(MarkupLinkTarget("http://h/p?a=1&b=2"), "http://h/p?a=1&b=2");
    EXPECT_EQ(MarkupLinkTarget("http://h/p?a=&quot;"), "http://h/p?a=%26quot;");
    EXPECT_EQ(MarkupText("a & b"), "a &amp; b");
}

TEST(CoverReply, NotXmlAndWrongDocumentElementRaise)
{
    EXPECT_THROW(Lines("Service unavailable"), EDOMParseError);
    EXPECT_THROW(Lines("<html><body/></html>"), EXMLDocError);
    EXPECT_TRUE(Lines("<rsp stat=\"fail\"/>").empty());
}

TEST(CoverReply, TextOutsideTheCodePageShowsAsQuestionMarks)
{
    const auto lines = Lines("<rsp><title><name>\xE2\x82\xAC \xE6\x97\xA5</name></title></rsp>");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(">\xE2\x82\xAC ?</A>"), String::npos) << lines[0];
}

TEST(CoverReply, AReplyPutsBoundedLinesInABoundedList)
{
    // A name of 5 MB, far too many covers and far too many titles.
    std::string reply = "<rsp><title><name>" + std::string(5'000'000, 'n') + "</name><image>http://h/" +
                        std::string(10'000, 'i') + ".jpg</image><covers>";
    for (int i = 0; i < kMaxTitleCovers + 10; ++i)
        reply += "<cover><type>Front</type><url>http://h/f.jpg</url></cover>";
    reply += "</covers></title>";
    for (int i = 0; i < kMaxReplyTitles + 100; ++i)
        reply += "<title><name>T</name></title>";
    reply += "</rsp>";
    const auto lines = Lines(reply);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kMaxReplyTitles));
    const String first = lines[0];
    // The name is cut with an ellipsis; an address too long to be one is left out.
    EXPECT_EQ(first.substr(0, 11), "<A href=\"\">");
    EXPECT_NE(first.find(std::string(kMaxReplyText, 'n') + "\xE2\x80\xA6</A>"), String::npos);
    EXPECT_EQ(first.find(std::string(kMaxReplyText + 1, 'n')), String::npos);
    size_t covers = 0;
    for (size_t at = first.find(">Front</A>"); at != String::npos; at = first.find(">Front</A>", at + 1))
        ++covers;
    EXPECT_EQ(covers, static_cast<size_t>(kMaxTitleCovers));
    EXPECT_LT(first.size(), 5000u);
}

TEST(CatalogueAddress, SegmentsAndCut)
{
    EXPECT_EQ(CatalogueSearchAddress("h", "", "DVD Movie"), "http://h/api/search//DVD Movie");
    EXPECT_EQ(CatalogueSearchAddress("h", " x ", "  Music CD "), "http://h/api/search/ x /Music CD");
    EXPECT_EQ(CatalogueSearchAddress("h", "x", "  "), "http://h/api/search/x");
    const String cut = CatalogueSearchAddress("h", String(300, 'a'), "VHS");
    EXPECT_EQ(cut, "http://h/api/search/" + String(255 - 20, 'a'));
    // Characters are counted, so a multi-byte character is never split.
    const String wide = CatalogueSearchAddress("h", String(234, 'a') + "\xC3\xA9\xC3\xA9", "");
    EXPECT_EQ(wide, "http://h/api/search/" + String(234, 'a') + "\xC3\xA9");
    // What would end or split the text's segment is encoded; an escape is never cut apart.
    EXPECT_EQ(CatalogueSearchAddress("h", "C# 50%/a?b", "PC Apps"), "http://h/api/search/C%23 50%25%2Fa%3Fb/PC Apps");
    for (size_t filler = 0; filler < 3; ++filler) {
        const String slashes = CatalogueSearchAddress("h", String(filler, 'a') + String(100, '/'), "");
        EXPECT_EQ(slashes.substr(slashes.size() - 3), "%2F") << slashes;
        EXPECT_GE(slashes.size(), 253u);
    }
}

}  // namespace

#include "TempDir.h"
#include "UserConfig.h"

#include <cstdlib>
#include <fstream>

namespace {

TEST(CatalogueSettings, FileThenEnvironment)
{
    TempDir dir;
    SetUserConfigFolder(dir.Path());
    const char* saved = std::getenv("OMBRELLE_CATALOGUE_HOST");
    const std::string keep = saved ? saved : "";
    unsetenv("OMBRELLE_CATALOGUE_HOST");

    EXPECT_EQ(CatalogueSettings().Host, "");
    std::ofstream(dir.File("Catalogue.ini")) << "[Catalogue]\r\nHost=covers.example.test:8080\r\n";
    EXPECT_EQ(CatalogueSettings().Host, "covers.example.test:8080");
    EXPECT_EQ(CatalogueSettings().DomainName, "covers.example.test:8080");
    std::ofstream(dir.File("Catalogue.ini")) << "[Catalogue]\nHost=covers.example.test\nDomain=Covers Example\n";
    EXPECT_EQ(CatalogueSettings().DomainName, "Covers Example");
    setenv("OMBRELLE_CATALOGUE_HOST", "127.0.0.1:9", 1);
    EXPECT_EQ(CatalogueSettings().Host, "127.0.0.1:9");
    EXPECT_EQ(CatalogueSettings().DomainName, "Covers Example");

    if (saved)
        setenv("OMBRELLE_CATALOGUE_HOST", keep.c_str(), 1);
    else
        unsetenv("OMBRELLE_CATALOGUE_HOST");
    SetUserConfigFolder("");
}

}  // namespace
