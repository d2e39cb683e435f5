#include "CDDBLookup.h"

#include "CDDBReply.h"
#include "CDDBServer.h"

TCDDBLookup::TCDDBLookup() : Server(CDDBServer()) {}

bool TCDDBLookup::Fetch(TWIGetURL& http, const String& address, const char* sending)
{
    ShowStatus("Getting CDDB Info");
    http.SetURL(address);
    ShowStatus(sending);
    http.Get();
    ShowStatus("Received CDDB Info");
    if (http.Failed()) {
        const String detail = http.ErrorDetail().empty() ? String() : " : " + http.ErrorDetail();
        ShowStatus("Cannot Contact CDDB : " + http.ErrorText() + detail, false);
        return false;
    }
    return true;
}

void TCDDBLookup::GetCDDBInfo(TCDPlayer& player, TWIGetURL& http)
{
    Category.clear();
    if (!Fetch(http, player.BuildQueryURL(Server), "Sending Query"))
        return;
    ShowStatus("Parsing CDDB Query Info");
    TCDDBQueryReply query = ParseQueryReply(http.Data());
    ReplyCode = query.ReplyCode;
    int chosen = OnChoose ? OnChoose(query.Rows) : -1;
    if (chosen < 0 || chosen >= static_cast<int>(query.Rows.size()))
        return;
    String discId;
    SplitQueryRow(query.Rows[chosen], Category, discId);
    if (Category.empty())
        return;
    // The chosen match may be filed under an id other than the disc's own.
    if (discId.empty())
        discId = IntToHex(player.DiscId(), 8);
    if (!Fetch(http, player.BuildReadURL(Server, Category, discId), "Sending CDDB Read"))
        return;
    ShowStatus("Parsing CDDB Info");
    TCDDBReadReply entry;
    bool read = ParseReadReply(http.Data(), entry);
    ReplyCode = entry.ReplyCode;
    if (!read) {
        String first = http.Data().substr(0, http.Data().find_first_of("\r\n"));
        ShowStatus("CDDB Entry Not Read : " + AnsiToUtf8(first), false);
        return;
    }
    Artist = entry.Artist;
    Title = entry.Title;
    Names.Assign(entry.Names);
    player.SetCDInfo(Artist, Title, "", Category, Names);
}
