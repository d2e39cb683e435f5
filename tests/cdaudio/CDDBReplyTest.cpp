#include "CDDBReply.h"

#include <gtest/gtest.h>

namespace {

TEST(CDDBQueryReply, ExactMatchIsOneRow)
{
    TCDDBQueryReply r = ParseQueryReply("200 rock 0c01ac02 Some Artist / Some Title\r\n");
    EXPECT_EQ(r.ReplyCode, "200");
    EXPECT_EQ(r.Rows, std::vector<String>{"rock 0c01ac02 Some Artist / Some Title"});
    String category, id;
    SplitQueryRow(r.Rows[0], category, id);
    EXPECT_EQ(category, "rock");
    EXPECT_EQ(id, "0c01ac02");
}

TEST(CDDBQueryReply, ListsOfferTheirMatchLinesOnly)
{
    for (const char* code : {"210", "211"}) {
        TCDDBQueryReply r = ParseQueryReply(String(code) + " Found matches, list follows (until terminating `.')\r\n"
                                            "rock 0c01ac02 A / B\r\nmisc 0c01ac03 C / D\r\n.\r\nafter\r\n");
        EXPECT_EQ(r.ReplyCode, code);
        EXPECT_EQ(r.Rows, (std::vector<String>{"rock 0c01ac02 A / B", "misc 0c01ac03 C / D"}));
    }
    TCDDBQueryReply latin = ParseQueryReply("210 list\nmisc 01020304 Bj\xF6rk / Post\n.\n");
    ASSERT_EQ(latin.Rows.size(), 1u);
    EXPECT_EQ(latin.Rows[0], "misc 01020304 Björk / Post");
    String category, id;
    SplitQueryRow("  jazz   ", category, id);
    EXPECT_EQ(category, "jazz");
    EXPECT_EQ(id, "");
}

TEST(CDDBQueryReply, NoMatchAndErrorsOfferNothing)
{
    for (const char* reply : {"202 No match found\r\n", "403 Database entry is corrupt\r\n",
                              "500 Command syntax error\r\n", "<html>not cddb</html>"}) {
        TCDDBQueryReply r = ParseQueryReply(reply);
        EXPECT_TRUE(r.Rows.empty()) << reply;
    }
    EXPECT_EQ(ParseQueryReply("202 No match").ReplyCode, "202");
    // Every reply has its own code: nothing is left from an earlier one.
    EXPECT_EQ(ParseQueryReply("").ReplyCode, "");
    EXPECT_EQ(ParseQueryReply("garbage").ReplyCode, "garbage");
    EXPECT_TRUE(ParseQueryReply("200 \r\n").Rows.empty());
}

TEST(CDDBReadReply, EntryWithTwoLineTitleAndContinuedNames)
{
    TCDDBReadReply e;
    ASSERT_TRUE(ParseReadReply("210 rock 0c01ac02 CD database entry follows (until terminating `.')\r\n"
                               "# xmcd\r\n#\r\nDISCID=0c01ac02\r\n"
                               "DTITLE=The Long Artist Name / A Title That Goes On\r\n"
                               "DTITLE= And On\r\n"
                               "TTITLE0=Opening\r\n"
                               "TTITLE1=A Name Too Long For One \r\n"
                               "TTITLE1=Line\r\n"
                               "EXTD=\r\n.\r\n",
                               e));
    EXPECT_EQ(e.ReplyCode, "210");
    EXPECT_EQ(e.Artist, "The Long Artist Name");
    EXPECT_EQ(e.Title, "A Title That Goes On And On");
    EXPECT_EQ(e.Names.Text(), "Opening\r\nA Name Too Long For One Line\r\n");
}

TEST(CDDBReadReply, SplitsAtTheFirstSeparatorOrNamesBothByTheWholeText)
{
    TCDDBReadReply e;
    ASSERT_TRUE(ParseReadReply("210 x\nDTITLE=A / B / C\nTTITLE0=t\n", e));
    EXPECT_EQ(e.Artist, "A");
    EXPECT_EQ(e.Title, "B / C");
    // Without a separator the whole text is artist and title alike; a slash alone is no separator.
    ASSERT_TRUE(ParseReadReply("210 x\nDTITLE=AC/DC Live\n", e));
    EXPECT_EQ(e.Artist, "AC/DC Live");
    EXPECT_EQ(e.Title, "AC/DC Live");
}

TEST(CDDBReadReply, NamesGoByTheirIndex)
{
    TCDDBReadReply e;
    ASSERT_TRUE(ParseReadReply("210 x\nDTITLE=A / T\nTTITLE2=Third\nTTITLE0=First\nTTITLEx=skipped\n"
                               "TTITLE999999999999=huge\nTTITLE1=Second\nTTITLE5\n",
                               e));
    EXPECT_EQ(e.Names.Text(), "First\r\nSecond\r\nThird\r\n");
    // Names must follow the title lines directly.
    ASSERT_TRUE(ParseReadReply("210 x\nDTITLE=A / T\nDYEAR=2003\nTTITLE0=First\n", e));
    EXPECT_EQ(e.Names.Count(), 0);
}

TEST(CDDBReadReply, OtherCodesChangeNothing)
{
    TCDDBReadReply e;
    e.Artist = "kept";
    e.Names.Add("kept");
    EXPECT_FALSE(ParseReadReply("401 Specified CDDB entry not found.\r\n", e));
    EXPECT_EQ(e.ReplyCode, "401");
    EXPECT_EQ(e.Artist, "kept");
    EXPECT_EQ(e.Names.Count(), 1);
    EXPECT_FALSE(ParseReadReply("", e));
    EXPECT_EQ(e.ReplyCode, "");
}

TEST(CDDBReadReply, LongValuesAreCut)
{
    TCDDBReadReply e;
    ASSERT_TRUE(ParseReadReply("210 x\nDTITLE=A / " + String(3000, 't') + "\nTTITLE0=" + String(2000, 'n') + "\n", e));
    EXPECT_EQ(e.Title.size(), 1024u - 4u);
    EXPECT_EQ(e.Names[0].size(), 1024u);
}

TEST(CDDBQueryReply, AHugeListOffersAFewHundredShortRows)
{
    std::string reply = "210 Found matches, list follows (until terminating `.')\r\n";
    reply += "rock 0c01ac02 " + std::string(5000, 'A') + "\r\n";
    for (int i = 0; i < 100000; ++i)
        reply += "misc 0c01ac03 Artist / Title\r\n";
    reply += ".\r\n";
    TCDDBQueryReply r = ParseQueryReply(reply);
    ASSERT_EQ(r.Rows.size(), kMaxMatches);
    EXPECT_EQ(r.Rows[0].substr(0, 16), "rock 0c01ac02 AA");
    EXPECT_EQ(r.Rows[0].substr(r.Rows[0].size() - 4), "A\xE2\x80\xA6");  // cut, with an ellipsis
    EXPECT_EQ(r.Rows[0].size(), kMaxMatchLength - 1 + 3);
    EXPECT_EQ(r.Rows.back(), "misc 0c01ac03 Artist / Title");
}

TEST(CDDBReadReply, TitlesAndNamesSpreadOverManyLinesAreCut)
{
    std::string reply = "210 rock 0c01ac02\r\n";
    for (int i = 0; i < 2000; ++i)
        reply += "DTITLE=Artist / " + std::string(200, 't') + "\r\n";
    for (int i = 0; i < 2000; ++i)
        reply += "TTITLE0=" + std::string(200, 'n') + "\r\n";
    reply += "TTITLE1=Short\r\n.\r\n";
    TCDDBReadReply entry;
    ASSERT_TRUE(ParseReadReply(reply, entry));
    EXPECT_EQ(entry.Artist, "Artist");
    EXPECT_EQ(entry.Title.size(), kMaxEntryText - 1 - 9 + 3);  // the artist, " / " and the cut mark
    EXPECT_EQ(entry.Title.substr(entry.Title.size() - 3), "\xE2\x80\xA6");
    ASSERT_EQ(entry.Names.Count(), 2);
    EXPECT_EQ(entry.Names[0], std::string(kMaxEntryText - 1, 'n') + "\xE2\x80\xA6");
    EXPECT_EQ(entry.Names[1], "Short");
}

}  // namespace
