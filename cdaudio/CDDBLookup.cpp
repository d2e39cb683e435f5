#include "CDDBLookup.h"

#include "CDDBReply.h"
#include "CDDBServer.h"

TCDDBLookup::TCDDBLookup() : Server(CDDBServer()) {}

const char* const kLookupStopped = "Disc Changed : Lookup Stopped";

namespace {

String FirstLine(const std::string& reply)
{
    String first = AnsiToUtf8(reply.substr(0, reply.find_first_of("\r\n")));
    return first.empty() ? String("empty reply") : first;
}

// The codes of a well-formed query reply, which then only lacks matches.
bool IsQueryCode(const String& code) { return code == "200" || code == "202" || code == "210" || code == "211"; }
}  // namespace

bool TCDDBLookup::Fail(const String& text)
{
    ShowStatus(text, false);
    return false;
}

bool TCDDBLookup::Fetch(TWIGetURL& http, const String& address, const char* sending)
{
    ShowStatus("Getting CDDB Info");
    http.SetURL(address);
    ShowStatus(sending);
    http.CancelFlag = discGone_;
    http.Get();
    http.CancelFlag = nullptr;
    // Stopped for the disc that went, or a reply about it: either way not the drive's.
    if (DiscChanged())
        return Fail(kLookupStopped);
    ShowStatus("Received CDDB Info");
    if (http.Failed()) {
        const String detail = http.ErrorDetail().empty() ? String() : " : " + http.ErrorDetail();
        return Fail("Cannot Contact CDDB : " + http.ErrorText() + detail);
    }
    return true;
}

bool TCDDBLookup::GetCDDBInfo(TCDPlayer& player, TWIGetURL& http, const std::atomic<bool>* discGone)
{
    struct Watching {
        const std::atomic<bool>*& watched;
        Watching(const std::atomic<bool>*& w, const std::atomic<bool>* flag) : watched(w) { watched = flag; }
        ~Watching() { watched = nullptr; }
    } watching(discGone_, discGone);
    if (!Fetch(http, player.BuildQueryURL(Server), "Sending Query"))
        return false;
    ShowStatus("Parsing CDDB Query Info");
    TCDDBQueryReply query = ParseQueryReply(http.Data());
    ReplyCode = query.ReplyCode;
    if (query.Rows.empty())
        return Fail(IsQueryCode(query.ReplyCode) ? String("No Match Found In CDDB")
                                                 : "CDDB Query Not Understood : " + FirstLine(http.Data()));
    int chosen = OnChoose ? OnChoose(query.Rows) : -1;
    if (DiscChanged())
        return Fail(kLookupStopped);
    if (chosen < 0 || chosen >= static_cast<int>(query.Rows.size()))
        return Fail("CDDB Lookup Cancelled");
    String category, discId;
    SplitQueryRow(query.Rows[chosen], category, discId);
    if (category.empty())
        return Fail("CDDB Query Not Understood : " + query.Rows[chosen]);
    // The chosen match may be filed under an id other than the disc's own.
    if (discId.empty())
        discId = IntToHex(player.DiscId(), 8);
    if (!Fetch(http, player.BuildReadURL(Server, category, discId), "Sending CDDB Read"))
        return false;
    ShowStatus("Parsing CDDB Info");
    TCDDBReadReply entry;
    bool read = ParseReadReply(http.Data(), entry);
    ReplyCode = entry.ReplyCode;
    if (!read)
        return Fail("CDDB Entry Not Read : " + FirstLine(http.Data()));
    Category = category;
    Artist = entry.Artist;
    Title = entry.Title;
    Names.Assign(entry.Names);
    player.SetCDInfo(Artist, Title, "", Category, Names);
    return true;
}
