#include "CoverReply.h"
#include "DataBinder1.h"

#include <gtest/gtest.h>

namespace {

const char* const kTwoTitles =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<rsp stat=\"ok\">"
    "<title><name>Alpha</name><id>1</id><added>1/2/07</added><uploader>ann</uploader>"
    "<category>DVD Movie</category><image>http://h/a.jpg</image>"
    "<covers><cover><type>Front</type><width>640</width><url>http://h/f.jpg</url></cover>"
    "<cover><type>Back</type><url>http://h/b.jpg</url></cover></covers></title>"
    "<title><name>Beta</name><added>3/4/08</added><image>http://h/b.gif</image></title>"
    "</rsp>";

TEST(DataBinder, ReadsTitlesAndCoversInDocumentOrder)
{
    TXMLDocument doc;
    doc.LoadFromXML(kTwoTitles);
    IXMLRspType rsp = Getrsp(doc);
    EXPECT_EQ(rsp->Stat(), "ok");
    ASSERT_EQ(rsp->Count(), 2);
    IXMLTitleType first = rsp->Title(0);
    EXPECT_EQ(first->Name(), "Alpha");
    EXPECT_EQ(first->Category(), "DVD Movie");
    ASSERT_EQ(first->Covers()->Count(), 2);
    EXPECT_EQ(first->Covers()->Cover(0)->Type(), "Front");
    EXPECT_EQ(first->Covers()->Cover(0)->Width(), 640);
    EXPECT_EQ(first->Covers()->Cover(1)->Url(), "http://h/b.jpg");
    EXPECT_EQ(rsp->Title(1)->Name(), "Beta");
    EXPECT_THROW(rsp->Title(2), EListError);
    EXPECT_THROW(rsp->Title(-1), EListError);
}

TEST(DataBinder, MissingFieldsReadEmptyAndNumbersFailToConvert)
{
    TXMLDocument doc;
    doc.LoadFromXML(kTwoTitles);
    IXMLTitleType second = Getrsp(doc)->Title(1);
    EXPECT_EQ(second->Uploader(), "");
    EXPECT_EQ(second->Covers()->Count(), 0);
    IXMLCoverType back = Getrsp(doc)->Title(0)->Covers()->Cover(1);
    EXPECT_THROW(back->Height(), EConvertError);
    // Reading created the element: the same node answers again.
    EXPECT_EQ(second->Covers(), second->Covers());
}

TEST(DataBinder, NoTitlesAndCaseSensitiveNames)
{
    TXMLDocument doc;
    doc.LoadFromXML("<rsp stat=\"fail\"/>");
    EXPECT_EQ(Getrsp(doc)->Count(), 0);

    TXMLDocument upper;
    upper.LoadFromXML("<rsp><title><Name>X</Name></title><Title><name>Y</name></Title></rsp>");
    IXMLRspType rsp = Getrsp(upper);
    ASSERT_EQ(rsp->Count(), 1);
    EXPECT_EQ(rsp->Title(0)->Name(), "");

    TXMLDocument other;
    other.LoadFromXML("<RSP/>");
    EXPECT_THROW(Getrsp(other), EXMLDocError);
}

TEST(DataBinder, WritesAddAndInsertInPlace)
{
    TXMLDocument doc;
    IXMLRspType rsp = Getrsp(doc);
    rsp->SetStat("ok");
    rsp->Add()->SetName("B");
    rsp->Insert(0)->SetName("A");
    IXMLCoverType cover = rsp->Title(1)->Covers()->Add();
    cover->SetFilesize(1234);
    ASSERT_EQ(rsp->Count(), 2);
    EXPECT_EQ(rsp->Title(0)->Name(), "A");
    EXPECT_EQ(rsp->Title(1)->Covers()->Cover(0)->Filesize(), 1234);
    rsp->Delete(0);
    EXPECT_EQ(rsp->Title(0)->Name(), "B");
    rsp->Clear();
    EXPECT_EQ(rsp->Count(), 0);
    EXPECT_EQ(rsp->Stat(), "ok");
}

TEST(DataBinder, NotXmlGivesTheParserMessage)
{
    TXMLDocument doc;
    try {
        doc.LoadFromXML("<rsp><title></rsp>");
        FAIL() << "parsed";
    } catch (const EDOMParseError& e) {
        EXPECT_NE(e.Message.find("offset"), String::npos) << e.Message;
    }
    EXPECT_THROW(doc.LoadFromXML("<html>not closed"), EDOMParseError);
}

TEST(DataBinder, EncodingDeclarationIsHonoured)
{
    TXMLDocument latin;
    latin.LoadFromXML("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rsp><title><name>Caf\xE9</name></title></rsp>");
    EXPECT_EQ(Getrsp(latin)->Title(0)->Name(), "Caf\xC3\xA9");

    TXMLDocument windows;
    windows.LoadFromXML("<?xml version=\"1.0\" encoding=\"windows-1252\"?><rsp><title><name>\x80 5</name></title></rsp>");
    EXPECT_EQ(Getrsp(windows)->Title(0)->Name(), "\xE2\x82\xAC 5");

    // UTF-16 with its byte-order mark.
    const std::u16string text = u"<rsp><title><name>\u00e9t\u00e9</name></title></rsp>";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    TXMLDocument wide;
    wide.LoadFromXML(bytes);
    EXPECT_EQ(Getrsp(wide)->Title(0)->Name(), "\xC3\xA9t\xC3\xA9");
}

TEST(DataBinder, ElementTextRunsPastCommentsAndCdata)
{
    TXMLDocument doc;
    doc.LoadFromXML("<rsp><title><name>Tom &amp; Jerry<!--c--> part 2</name>"
                    "<uploader><![CDATA[a<b]]> and c</uploader></title></rsp>");
    IXMLTitleType title = Getrsp(doc)->Title(0);
    EXPECT_EQ(title->Name(), "Tom & Jerry part 2");
    EXPECT_EQ(title->Uploader(), "a<b and c");
    // Written text replaces every piece.
    title->SetName("New");
    EXPECT_EQ(title->Name(), "New");
}

}  // namespace
