#include "ripunit.h"

#include "CDDBServer.h"
#include "CDDBUnit.h"
#include "CdDrives.h"
#include "Dialogs.h"
#include "FinderGlyphs.h"
#include "FinderLook.h"

#include <cctype>

namespace {
// The date the finder files with every disc it stores.
const char* const kStoredDate = "2003";
const char* const kCaption = "Audio CD CDDB Info Finder";
const char* const kNoDrive = "No CD Drive Found";

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool HasDrive(const TCDPlayer& player, char letter)
{
    for (int i = 0; i < player.Drives().Count(); ++i)
        if (!player.Drives()[i].empty() && Upper(player.Drives()[i][0]) == Upper(letter))
            return true;
    return false;
}

// The names the player holds for the disc's tracks, in track order.
TStringList TrackNames(const TTOC& info)
{
    TStringList names;
    for (const TTOCEntry& track : info.Tracks)
        names.Add(track.Name);
    return names;
}
}  // namespace

TCDRipform::TCDRipform(TComponent* owner)
    : TForm(owner), Server(CDDB.Server), Artist(CDDB.Artist), Title(CDDB.Title), Category(CDDB.Category),
      ReplyCode(CDDB.ReplyCode), Names(CDDB.Names)
{
    BuildComponents();
    XPLook1 = CreateProgramXPLook(this);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    Created();
}

TCDRipform::~TCDRipform() { Destroying(); }

TToolButton* TCDRipform::AddButton(const String& caption, const String& hint, int image,
                                   void (TCDRipform::*handler)(TObject*))
{
    auto* b = new TToolButton(this);
    b->SetParent(ToolBar1);
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetImageIndex(image);
    b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    return b;
}

TToolButton* TCDRipform::AddSeparator()
{
    auto* b = new TToolButton(this);
    b->SetStyle(tbsSeparator);
    b->SetWidth(8);
    b->SetParent(ToolBar1);
    return b;
}

void TCDRipform::BuildComponents()
{
    SetCaption(kCaption);
    Position = poScreenCenter;
    SetColor(clWhite);
    SetClientWidth(606);
    SetClientHeight(546);
    SetBorderStyle(bsDialog);

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetParent(this);
    ToolBar1->Flat = true;
    ToolBar1->ShowCaptions = true;
    ToolBar1->ButtonWidth = 95;
    ToolBar1->ButtonHeight = 36;
    ToolBar1->ShowHint = true;
    ToolBar1->SetHeight(38);
    ImageList1 = new TImageList(this, 16, 16);
    ImageList2 = new TImageList(this, 16, 16);
    DrawFinderGlyphs(*ImageList1, *ImageList2);
    ToolBar1->Images = ImageList1;
    ToolBar1->HotImages = ImageList2;
    ToolButton1 = AddSeparator();
    ScanCD = AddButton("Scan CD", "Scan Audio CD For CDDB No", kFinderScan, &TCDRipform::ScanCDClick);
    ToolButton2 = AddSeparator();
    GetCDDB = AddButton("Get CDDB", "Look The Disc Up In The Free CDDB Database (gnudb)", kFinderLookUp,
                        &TCDRipform::GetCDDBClick);
    ClearTracks = AddButton("Clear Tracks", "Empty All Tracks From TrackList", kFinderClear, &TCDRipform::ClearTracksClick);
    ToolButton3 = AddSeparator();
    WriteINI = AddButton("Write to INI File", "Save Track Details To INI File", kFinderWrite, &TCDRipform::WriteINIClick);
    ReadINI = AddButton("Read From INI File", "Retrieve Track Details From INI File", kFinderRead,
                        &TCDRipform::ReadINIClick);
    ToolButton4 = AddSeparator();
    CloseList = AddButton("Close", "Enter Tracks and Close Track List", kFinderClose, &TCDRipform::CloseListClick);

    Panel1 = new TPanel(this);
    Panel1->SetParent(this);
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(22);
    SetBarLook(*Panel1, "Audio CD CDDB Finder");

    Panel2 = new TPanel(this);
    Panel2->SetParent(this);
    Panel2->SetAlign(alTop);
    Panel2->SetHeight(29);
    Panel2->SetColor(clWhite);
    // Disc images listed since the program started have their drives too.
    CdReadImageList();
    CDPlayer = new TCDPlayer(this);
    CDPlayer->AfterInsert = [this](TObject* s, char letter) { CDPlayerAfterInsert(s, letter); };
    CDPlayer->AfterRemove = [this](TObject* s, char letter) { CDPlayerAfterRemove(s, letter); };
    // Drive E when the machine has one, as the finder always looked there; else the first CD
    // drive, which the player starts on.
    if (HasDrive(*CDPlayer, 'E'))
        CDPlayer->CurrentDrive = 'E';
    DriveComboBoxEx1 = new TDriveComboBoxEx(this);
    DriveComboBoxEx1->SetParent(Panel2);
    SetFinderFont(DriveComboBoxEx1->Font);
    DriveComboBoxEx1->SetBounds(4, 3, 311, 22);
    // The picker shows the drive the finder reads.
    if (CDPlayer->CurrentDrive != 0)
        DriveComboBoxEx1->SetDrive(CDPlayer->CurrentDrive);
    DriveComboBoxEx1->OnChange = [this](TObject* s) { DriveComboBoxEx1Change(s); };
    Label1 = new TLabel(this);
    Label1->SetParent(Panel2);
    Label1->SetBounds(324, 7, 200, 16);
    Label1->Font.SetStyle(fsBold);
    Label1->SetCaption("Choose Drive For Audio CD");

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetParent(this);
    StatusBar1->SimplePanel = false;
    StatusBar1->Panels.Add().SetWidth(470);
    StatusBar1->Panels.Add().SetWidth(200);
    StatusBar1->Panels[0].SetText(CDPlayer->Drives().Count() > 0 ? "Current Status" : kNoDrive);

    PopupMenu1 = new TPopupMenu(this);
    EditThisTrackName1 = new TMenuItem(this);
    EditThisTrackName1->Caption = "<--  Edit This Track Name";
    EditThisTrackName1->OnClick = [this](TObject* s) { EditThisTrackName1Click(s); };
    PopupMenu1->Items().Add(EditThisTrackName1);

    markupListBox1 = new TListBox(this);
    markupListBox1->SetParent(this);
    markupListBox1->SetAlign(alClient);
    markupListBox1->SetItemHeight(13);
    markupListBox1->SetPopupMenu(PopupMenu1);

    WIGetURL = new TWIGetURL(this);
    WIGetURL->ApplicationName = "http generic";
}

void TCDRipform::FormCreate(TObject*)
{
    Server = CDDBServer();
    CDDB.OnShowStatus = [this](const String& text, bool repaint) {
        if (repaint) {
            ShowStatus(text);
        } else {
            // Only failures are shown without a repaint.
            exchangeFailure_ = text;
            StatusBar1->Panels[0].SetText(text);
        }
    };
    CDDB.OnChoose = [this](const std::vector<String>& rows) { return ChooseMatch(rows); };
}

void TCDRipform::FormDestroy(TObject*) { CDPlayer->Close(); }

void TCDRipform::ShowStatus(const String& text)
{
    StatusBar1->Panels[0].SetText(text);
    StatusBar1->Repaint();
}

void TCDRipform::ScanCDClick(TObject*) { LookUp(); }

// The device keeps the disc it read at open: a lookup reads the drive anew, as a scan does, so
// that it never asks for a disc that has left.
void TCDRipform::GetCDDBClick(TObject*) { LookUp(); }

bool TCDRipform::DriveReady()
{
    if (CDPlayer->Drives().Count() > 0)
        return true;
    ShowStatus(kNoDrive);
    return false;
}

bool TCDRipform::IsCurrentDrive(char letter) const { return Upper(letter) == Upper(CDPlayer->CurrentDrive); }

int TCDRipform::DiscInPlayer() { return CDPlayer->IsAudioCD() ? CDPlayer->MediaIdentity() : 0; }

int TCDRipform::ReadDisc()
{
    CDPlayer->Reopen();
    return DiscInPlayer();
}

void TCDRipform::Shows(int disc)
{
    waits_.Shown(disc);
    shownDisc_ = disc;
    shownTracks_ = disc != 0 ? CDPlayer->TrackCount() : 0;
}

void TCDRipform::KeepShown()
{
    CDPlayer->SetCDInfo(Artist, Title, "", Category, Names);
    Artist = CDPlayer->Artist();
    Title = CDPlayer->Title();
    Category = CDPlayer->Category();
}

void TCDRipform::ShowDisc(int disc)
{
    Shows(disc);
    const bool known = disc != 0 && CDPlayer->FoundInIni();
    Artist = known ? CDPlayer->Artist() : String();
    Title = known ? CDPlayer->Title() : String();
    Category = known ? CDPlayer->Category() : String();
    Names.Clear();
    if (known)
        Names.Assign(TrackNames(CDPlayer->CDInfo()));
    FillTrackInfo();
}

void TCDRipform::LookUp()
{
    if (!DriveReady())
        return;
    const int disc = ReadDisc();
    // Another disc, or none to look up: what was shown is not the drive's.
    if (disc != shownDisc_ || disc == 0)
        ShowDisc(disc);
    bool read = false;
    if (!Await([&](const TDiscWaits::TWait& wait) { read = GetCDDBInfo(wait.GoneFlag()); }, kLookupStopped))
        return;  // the notice has shown the new disc
    if (read) {
        KeepShown();
        FillTrackInfo();
        return;
    }
    // What is shown stays; the player, which read the file back, keeps it too.
    if (disc != 0)
        KeepShown();
    StatusBar1->Panels[0].SetText(exchangeFailure_);
}

bool TCDRipform::Await(const std::function<void(const TDiscWaits::TWait&)>& wait, const String& stopped)
{
    const TDiscWaits::TWait during(waits_, shownDisc_);
    wait(during);
    if (!during.DiscGone())
        return true;
    StatusBar1->Panels[0].SetText(stopped);
    return false;
}

void TCDRipform::ClearTracksClick(TObject*) { markupListBox1->Items().Clear(); }

void TCDRipform::WriteINIClick(TObject*)
{
    if (!DriveReady())
        return;
    ShowStatus("Writing CDDB Info to File");
    // Nothing shown yet: the disc in the drive, as the file knows it.
    if (shownDisc_ == 0)
        ShowDisc(ReadDisc());
    // Under the disc the names belong to, even when another has taken its place since.
    if (CDPlayer->SaveCDInfo(shownDisc_, Artist, Title, kStoredDate, Category, Names))
        ShowStatus("CD Info Written To File!");
    else
        ShowStatus("No Audio CD : CD Info Not Written!");
}

void TCDRipform::ReadINIClick(TObject*)
{
    if (!DriveReady())
        return;
    ShowStatus("Reading CDDB Info to File");
    const int disc = ReadDisc();
    String artist = Artist, title = Title, category = Category, date;
    TStringList names;
    if (!CDPlayer->LoadCDInfo(disc, artist, title, date, category, names)) {
        // The disc shown stays as it was; another one shows as the file knows it: not at all.
        if (disc != shownDisc_)
            ShowDisc(disc);
        ShowStatus("No CD Info Found In File!");
        return;
    }
    Shows(disc);
    Artist = artist;
    Title = title;
    Category = category;
    Names.Assign(names);
    KeepShown();
    ShowStatus("CD Info Read From File!");
    FillTrackInfo();
}

void TCDRipform::CloseListClick(TObject*) { SetModalResult(mrOk); }

void TCDRipform::DriveComboBoxEx1Change(TObject*)
{
    const char drive = DriveComboBoxEx1->Drive();
    // The device open is the old drive's: the next command opens the one picked.
    if (Upper(drive) != Upper(CDPlayer->CurrentDrive))
        CDPlayer->Close();
    CDPlayer->CurrentDrive = drive;
}

void TCDRipform::CDPlayerAfterInsert(TObject*, char letter) { FollowDrive(letter); }

void TCDRipform::CDPlayerAfterRemove(TObject*, char letter) { FollowDrive(letter); }

void TCDRipform::FollowDrive(char letter)
{
    // The picker names the disc in each drive.
    DriveComboBoxEx1->Refresh();
    if (!IsCurrentDrive(letter))
        return;
    // Read anew: the device would go on answering for a disc that left, and a notice may come
    // late, for a disc that another has replaced since (which a lookup may have read already).
    // A drive that cannot be read (its image file gone) holds no disc: nobody asked for an error.
    int disc = 0;
    try {
        disc = ReadDisc();
    } catch (const Exception&) {
        CDPlayer->Close();
    }
    if (disc != shownDisc_)
        ShowDisc(disc);
    else if (disc != 0)
        KeepShown();  // the player read the file back
}

int TCDRipform::ChooseMatch(const std::vector<String>& rows)
{
    Tqueryform chooser(this);
    for (const String& row : rows)
        chooser.QueryBox->Items().Add(row);
    // "Choose" reads the selected row: the first is selected, so a single match needs no click.
    if (!rows.empty())
        chooser.QueryBox->SetItemIndex(0);
    if (chooser.ShowModal() != mrOk)
        return -1;
    return chooser.QueryBox->ItemIndex();
}

bool TCDRipform::GetCDDBInfo(const std::atomic<bool>* discGone)
{
    exchangeFailure_.clear();
    // Only an audio CD has a CDDB entry; a data disc has no table of contents to send.
    if (shownDisc_ == 0) {
        exchangeFailure_ = "No Audio CD In Drive";
        return false;
    }
    return CDDB.GetCDDBInfo(*CDPlayer, *WIGetURL, discGone);
}

void TCDRipform::FillTrackInfo()
{
    // From what the window holds: the player may have read another disc since.
    ShowStatus("Filling Track Info");
    TStringList& lines = markupListBox1->Items();
    lines.Clear();
    // Nothing of a disc that has left stays, its name in the caption neither.
    if (shownDisc_ == 0) {
        SetCaption(kCaption);
        return;
    }
    lines.Add(Artist);
    lines.Add(Title);
    SetCaption(Artist + " - " + Title + "    {" + Category + "}");
    if (Names.Count() == 0)
        return;
    // A disc may have more tracks than names: those tracks stay unnamed.
    for (int i = 0; i < shownTracks_; ++i) {
        lines.Add(IntToStr(i + 1) + "    " + (i < Names.Count() ? Names[i] : String()));
        ShowStatus("Filling Track Info : " + IntToStr(i + 1));
    }
}

void TCDRipform::EditThisTrackName1Click(TObject*)
{
    // Row 0 is the artist and row 1 the title; row r shows track r - 1.
    const int row = markupListBox1->ItemIndex();
    const int i = row - 2;
    if (i < 0 || i >= Names.Count())
        return;
    String name;
    if (!Await([&](const TDiscWaits::TWait&) { name = InputBox("Rename Track", "Track Name", Names[i]); },
               "Disc Changed : Track Not Renamed"))
        return;
    Names.Put(i, name);
    KeepShown();
    FillTrackInfo();
    // The keys go on from the track renamed.
    markupListBox1->SetItemIndex(row);
}
