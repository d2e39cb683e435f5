#pragma once
// TCDRipform: the track finder. It reads the audio CD in the chosen drive, looks it up in
// CDDB, lets the user choose a match and rename tracks, stores and reloads what it found in the
// CD information file, and leaves the track list in its list box for the window that opened it:
// line 0 the artist, line 1 the title, then "<track number>    <name>" for each track.
//
// What it shows belongs to one disc, which it remembers: the names are never looked up, read
// or written for another. When the disc in the drive changes, the finder shows what the file
// knows of the new one, or nothing, and a lookup that runs meanwhile ends.
#include "CDDBLookup.h"
#include "CDPlayer.h"
#include "DiscWaits.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "FlCtrlEx.h"
#include "Forms.h"
#include "XPLookSettings.h"
#include "GetURL.h"
#include "ImgList.h"
#include "ListBoxes.h"
#include "Menus.h"
#include "StdCtrls.h"

class TCDRipform : public TForm {
public:
    explicit TCDRipform(TComponent* owner);
    ~TCDRipform() override;

    // Published components.
    TToolBar* ToolBar1;
    TToolButton* ToolButton1;
    TToolButton* ScanCD;
    TToolButton* ToolButton2;
    TToolButton* GetCDDB;
    TToolButton* ClearTracks;
    TToolButton* ToolButton3;
    TToolButton* WriteINI;
    TToolButton* ReadINI;
    TToolButton* ToolButton4;
    TToolButton* CloseList;
    TPanel* Panel1;
    TPanel* Panel2;
    TDriveComboBoxEx* DriveComboBoxEx1;
    TLabel* Label1;
    TListBox* markupListBox1;
    TPopupMenu* PopupMenu1;
    TXPLook* XPLook1 = nullptr;
    TMenuItem* EditThisTrackName1;
    TStatusBar* StatusBar1;
    TCDPlayer* CDPlayer;
    TWIGetURL* WIGetURL;
    TImageList* ImageList1;  // the buttons' pictures
    TImageList* ImageList2;  // the same under the pointer

    // Handlers.
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void ScanCDClick(TObject* sender);
    void GetCDDBClick(TObject* sender);
    void ClearTracksClick(TObject* sender);
    void WriteINIClick(TObject* sender);
    void ReadINIClick(TObject* sender);
    void CloseListClick(TObject* sender);
    void DriveComboBoxEx1Change(TObject* sender);
    void EditThisTrackName1Click(TObject* sender);
    void CDPlayerAfterInsert(TObject* sender, char letter);
    void CDPlayerAfterRemove(TObject* sender, char letter);

    // True when an entry was read; otherwise the reason waits to be shown. discGone: as for
    // TCDDBLookup.
    bool GetCDDBInfo(const std::atomic<bool>* discGone = nullptr);
    void FillTrackInfo();
    // Shows the text in the first panel of the status bar at once.
    void ShowStatus(const String& text);

    // The CDDB exchange keeps what it found; the window's fields are its.
    TCDDBLookup CDDB;
    String& Server;
    String& Artist;
    String& Title;
    String& Category;
    String& ReplyCode;
    TStringList& Names;

private:
    void BuildComponents();
    TToolButton* AddButton(const String& caption, const String& hint, int image, void (TCDRipform::*handler)(TObject*));
    TToolButton* AddSeparator();
    // Offers the query's matches in the chooser; the chosen row's index, or -1.
    int ChooseMatch(const std::vector<String>& rows);
    // The media identity of the audio CD the player has read, 0 for none.
    int DiscInPlayer();
    // Reads the disc now in the drive (the open device keeps the one it read at open).
    int ReadDisc();
    // The names shown are now the disc's.
    void Shows(int disc);
    // Shows what the file knows of the disc the player has read, or nothing.
    void ShowDisc(int disc);
    // The player holds what is shown, as it stores it, and the window shows that.
    void KeepShown();
    // False, with the status saying so, on a machine without a CD drive.
    bool DriveReady();
    bool IsCurrentDrive(char letter) const;
    // A change notice for a drive: what is shown follows the disc the current drive holds.
    void FollowDrive(char letter);
    // Reads the disc and looks it up; what is shown changes only when the lookup reads an
    // entry or the drive holds another disc.
    void LookUp();
    // Every action that waits (a modal box, the chooser, an exchange) waits through here, for
    // the disc shown as it begins. False, with the status saying so, when that disc went
    // meanwhile: the caller then stops and leaves the names alone.
    bool Await(const std::function<void(const TDiscWaits::TWait&)>& wait, const String& stopped);
    String exchangeFailure_;
    // The media identity of the disc the shown names belong to (0 when none is shown) and its
    // number of tracks.
    int shownDisc_ = 0;
    int shownTracks_ = 0;
    TDiscWaits waits_;
};
