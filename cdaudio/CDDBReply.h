#pragma once
// The two CDDB replies the track finder reads: the query reply (the discs that match) and the
// read reply (one disc's entry). Replies are 8-bit text as the server sends them; what comes
// out is UTF-8.
#include "Classes.h"

#include <vector>

struct TCDDBQueryReply {
    String ReplyCode;           // the reply's first word; empty when it has none
    std::vector<String> Rows;   // the matches, each "category discid artist / title"
};

// At most this many matches are offered, each cut to kMaxMatchLength characters.
constexpr size_t kMaxMatches = 300;
constexpr size_t kMaxMatchLength = 256;

// "200" gives its one match, "210" and "211" the lines of their list; other codes nothing.
TCDDBQueryReply ParseQueryReply(const std::string& reply);

// The category and disc id a match row names: its first and second words.
void SplitQueryRow(const String& row, String& category, String& discId);

// An entry's disc title and each track name are cut to this many characters, however many
// lines they are spread over; a cut ends in an ellipsis.
constexpr size_t kMaxEntryText = 1024;

struct TCDDBReadReply {
    String ReplyCode;
    String Artist;
    String Title;
    TStringList Names;  // by track index; a missing track reads as an empty name
};

// False, with only ReplyCode set, when the reply is not a "210" entry.
bool ParseReadReply(const std::string& reply, TCDDBReadReply& entry);
