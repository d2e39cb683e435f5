#include "CDDBLookup.h"
#include "CDPlayerFixture.h"
#include "LoopbackHttpServer.h"

namespace {

const char* const kGreeting = "&hello=AudioUser+hostname+Dunmarle+1.0&proto=4";

class CDDBLookupTest : public CDPlayerFixture {
protected:
    void SetUp() override
    {
        CDPlayerFixture::SetUp();
        CdInsertImage('E', twoTracks);
        player.Reopen();
        lookup.Server = Format("LOCALHOST:%d", server.Port());
        lookup.OnShowStatus = [this](const String& text, bool) { statuses.push_back(text); };
        lookup.OnChoose = [this](const std::vector<String>& rows) {
            offered = rows;
            return choice;
        };
    }
    void Answer(const std::string& query, const std::string& read)
    {
        server.SetHandler([query, read](const THttpRequest& r) {
            THttpReply reply;
            reply.Body = r.Target.find("cddb+query") != std::string::npos ? query : read;
            return reply;
        });
    }

    TLoopbackHttpServer server;
    TCDPlayer player;
    TWIGetURL http;
    TCDDBLookup lookup;
    std::vector<String> statuses, offered;
    int choice = 0;
};

TEST_F(CDDBLookupTest, ExactMatchIsReadIntoThePlayer)
{
    EXPECT_EQ(TCDDBLookup().Server, "gnudb.gnudb.org");
    Answer("200 rock 0c01ac02 Some Artist / Some Title\r\n",
           "210 rock 0c01ac02 CD database entry follows\r\nDTITLE=Some Artist / Some Title\r\n"
           "TTITLE0=One\r\nTTITLE1=Two\r\n.\r\n");
    EXPECT_TRUE(lookup.GetCDDBInfo(player, http));
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].Target,
              String("/~cddb/cddb.cgi?cmd=cddb+query+0c01ac02+2+150+14270+428") + kGreeting);
    EXPECT_EQ(server.Requests()[1].Target, String("/~cddb/cddb.cgi?cmd=cddb+read+rock+0c01ac02") + kGreeting);
    EXPECT_EQ(server.Requests()[0].Header("Host"), Format("localhost:%d", server.Port()));
    EXPECT_EQ(offered, std::vector<String>{"rock 0c01ac02 Some Artist / Some Title"});
    EXPECT_EQ(lookup.Category, "rock");
    EXPECT_EQ(player.Artist(), "Some Artist");
    EXPECT_EQ(player.Title(), "Some Title");
    EXPECT_EQ(player.Category(), "rock");
    EXPECT_EQ(player.GetTrack(1).Name, "Two");
    EXPECT_EQ(lookup.Names.Text(), "One\r\nTwo\r\n");
    EXPECT_EQ(statuses.back(), "Parsing CDDB Info");
}

TEST_F(CDDBLookupTest, InexactListReadsTheChosenRowsDiscId)
{
    choice = 1;
    Answer("211 Found inexact matches, list follows (until terminating `.')\r\n"
           "rock 0c01ac01 Near / Miss\r\nblues 0c01ac99 Other / Pressing\r\n.\r\n",
           "210 blues 0c01ac99\r\nDTITLE=Other / Pressing\r\nTTITLE0=A\r\n.\r\n");
    lookup.GetCDDBInfo(player, http);
    EXPECT_EQ(offered.size(), 2u);
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[1].Target, String("/~cddb/cddb.cgi?cmd=cddb+read+blues+0c01ac99") + kGreeting);
    EXPECT_EQ(player.Artist(), "Other");
    EXPECT_EQ(lookup.ReplyCode, "210");
}

TEST_F(CDDBLookupTest, EveryFailureSaysHowItEndedAndChangesNothing)
{
    player.SetCDInfo("Before", "Kept", "", "jazz", TStringList{"Old"});
    lookup.Category = "jazz";
    bool asked = false;
    lookup.OnChoose = [&](const std::vector<String>&) {
        asked = true;
        return choice;
    };
    Answer("202 No match for disc ID 0c01ac02.\r\n", "");
    EXPECT_FALSE(lookup.GetCDDBInfo(player, http));
    EXPECT_FALSE(asked);  // nothing to choose from: no chooser
    EXPECT_EQ(lookup.ReplyCode, "202");
    EXPECT_EQ(statuses.back(), "No Match Found In CDDB");
    EXPECT_EQ(server.Requests().size(), 1u);

    Answer("<html>gateway trouble</html>\r\n", "");
    EXPECT_FALSE(lookup.GetCDDBInfo(player, http));
    EXPECT_EQ(statuses.back(), "CDDB Query Not Understood : <html>gateway trouble</html>");
    Answer("", "");
    EXPECT_FALSE(lookup.GetCDDBInfo(player, http));
    EXPECT_EQ(statuses.back(), "CDDB Query Not Understood : empty reply");

    choice = -1;  // cancelled
    Answer("200 rock 0c01ac02 A / B\r\n", "");
    EXPECT_FALSE(lookup.GetCDDBInfo(player, http));
    EXPECT_TRUE(asked);
    EXPECT_EQ(statuses.back(), "CDDB Lookup Cancelled");
    EXPECT_EQ(server.Requests().size(), 4u);
    EXPECT_EQ(lookup.Category, "jazz");

    choice = 0;
    Answer("200 rock 0c01ac02 A / B\r\n", "401 rock 0c01ac02 No such CD entry in database\r\n");
    EXPECT_FALSE(lookup.GetCDDBInfo(player, http));
    EXPECT_EQ(server.Requests().size(), 6u);
    EXPECT_EQ(lookup.ReplyCode, "401");
    EXPECT_EQ(statuses.back(), "CDDB Entry Not Read : 401 rock 0c01ac02 No such CD entry in database");
    EXPECT_EQ(player.Artist(), "Before");
    EXPECT_EQ(player.Title(), "Kept");
    EXPECT_EQ(player.Category(), "jazz");
    EXPECT_EQ(player.GetTrack(0).Name, "Old");
    EXPECT_EQ(lookup.Category, "jazz");
}

TEST_F(CDDBLookupTest, ServerErrorsAreReported)
{
    server.SetHandler([](const THttpRequest&) {
        THttpReply reply;
        reply.Status = 500;
        reply.Reason = "Internal Server Error";
        return reply;
    });
    lookup.GetCDDBInfo(player, http);
    EXPECT_EQ(statuses.back(), "Cannot Contact CDDB : Internal Server Error");
    EXPECT_TRUE(offered.empty());
}

}  // namespace
