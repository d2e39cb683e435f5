#pragma once
// The CDDB exchange of the track finder: the disc in the player is looked up with a query,
// the user chooses one of the matches, and that match's entry is read into the player. Only a
// lookup that reads an entry changes what is known of the disc; every other ending leaves it
// as it was and says in the status how the lookup ended.
#include "CDPlayer.h"
#include "GetURL.h"

#include <atomic>
#include <vector>

extern const char* const kLookupStopped;  // "Disc Changed : Lookup Stopped"

class TCDDBLookup {
public:
    TCDDBLookup();

    String Server;  // host, or host:port
    String Artist;
    String Title;
    String Category;
    String ReplyCode;  // of the last reply
    TStringList Names;

    // A status text for the window; repaint asks for it to show at once.
    std::function<void(const String& text, bool repaint)> OnShowStatus;
    // Offers the match rows and gives the chosen one's index, or -1.
    std::function<int(const std::vector<String>& rows)> OnChoose;
    // True when an entry was read into the player and the fields above. discGone, when given,
    // is set once the disc looked up has left the drive: the exchange that runs then gives up
    // at once, and after every wait (the exchanges, the chooser) the lookup ends with
    // kLookupStopped, changing nothing.
    bool GetCDDBInfo(TCDPlayer& player, TWIGetURL& http, const std::atomic<bool>* discGone = nullptr);

private:
    bool Fail(const String& text);
    bool DiscChanged() const { return discGone_ && *discGone_; }
    bool Fetch(TWIGetURL& http, const String& address, const char* sending);
    void ShowStatus(const String& text, bool repaint = true) { Fire(OnShowStatus, text, repaint); }

    const std::atomic<bool>* discGone_ = nullptr;
};
