#include "ripunit.h"

#include "CDDBServer.h"
#include "CDDBUnit.h"
#include "Dialogs.h"
#include "FinderLook.h"

#include <cctype>

namespace {
// The date the finder files with every disc it stores.
const char* const kStoredDate = "2003";
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

TToolButton* TCDRipform::AddButton(const String& caption, const String& hint, void (TCDRipform::*handler)(TObject*))
{
    auto* b = new TToolButton(this);
    b->SetParent(ToolBar1);
    b->SetCaption(caption);
    b->SetHint(hint);
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
    SetCaption("Audio CD CDDB Info Finder");
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
    ToolButton1 = AddSeparator();
    ScanCD = AddButton("Scan CD", "Scan Audio CD For CDDB No", &TCDRipform::ScanCDClick);
    ToolButton2 = AddSeparator();
    GetCDDB = AddButton("Get CDDB", "Look The Disc Up In The Free CDDB Database (gnudb)", &TCDRipform::GetCDDBClick);
    ClearTracks = AddButton("Clear Tracks", "Empty All Tracks From TrackList", &TCDRipform::ClearTracksClick);
    ToolButton3 = AddSeparator();
    WriteINI = AddButton("Write to INI File", "Save Track Details To INI File", &TCDRipform::WriteINIClick);
    ReadINI = AddButton("Read From INI File", "Retrieve Track Details From INI File", &TCDRipform::ReadINIClick);
    ToolButton4 = AddSeparator();
    CloseList = AddButton("Close", "Enter Tracks and Close Track List", &TCDRipform::CloseListClick);

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
    CDPlayer = new TCDPlayer(this);
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

void TCDRipform::ScanCDClick(TObject*) { LookUp(true); }

void TCDRipform::GetCDDBClick(TObject*) { LookUp(false); }

bool TCDRipform::DriveReady()
{
    if (CDPlayer->Drives().Count() > 0)
        return true;
    ShowStatus(kNoDrive);
    return false;
}

void TCDRipform::LookUp(bool rescan)
{
    if (!DriveReady())
        return;
    const TTOC shown = CDPlayer->CDInfo();
    const uint32_t shownDisc = CDPlayer->DiscId();
    if (rescan)
        CDPlayer->Reopen();
    else
        OpenDisc();
    CDPlayer->RefreshIfAudio();
    if (GetCDDBInfo()) {
        FillTrackInfo();
        return;
    }
    if (CDPlayer->IsAudioCD() && shownDisc != 0 && CDPlayer->DiscId() == shownDisc) {
        // The same disc: what is shown stays, and the player keeps what is shown, not what the
        // refresh read back from the file.
        CDPlayer->SetCDInfo(shown.Artist, shown.Title, shown.Date, shown.Category, TrackNames(shown));
    } else {
        // Another disc: what was shown belonged to the one before; show what the file knows.
        Artist = CDPlayer->Artist();
        Title = CDPlayer->Title();
        Category = CDPlayer->Category();
        Names.Clear();
        if (CDPlayer->IsAudioCD() && CDPlayer->FoundInIni())
            Names.Assign(TrackNames(CDPlayer->CDInfo()));
        FillTrackInfo();
    }
    StatusBar1->Panels[0].SetText(exchangeFailure_);
}

void TCDRipform::ClearTracksClick(TObject*) { markupListBox1->Items().Clear(); }

void TCDRipform::OpenDisc()
{
    // A disc not scanned yet has neither identity nor table of contents to work with.
    if (CDPlayer->DeviceID() == 0) {
        CDPlayer->Open();
        CDPlayer->RefreshIfAudio();
    }
}

void TCDRipform::WriteINIClick(TObject*)
{
    if (!DriveReady())
        return;
    ShowStatus("Writing CDDB Info to File");
    OpenDisc();
    if (CDPlayer->SaveCDInfo(CDPlayer->MediaIdentity(), CDPlayer->Artist(), CDPlayer->Title(), kStoredDate,
                             CDPlayer->Category(), Names))
        ShowStatus("CD Info Written To File!");
    else
        ShowStatus("No Audio CD : CD Info Not Written!");
}

void TCDRipform::ReadINIClick(TObject*)
{
    if (!DriveReady())
        return;
    ShowStatus("Reading CDDB Info to File");
    OpenDisc();
    String date;
    TStringList names;
    // A disc the file does not know leaves everything as it was.
    if (!CDPlayer->LoadCDInfo(CDPlayer->MediaIdentity(), Artist, Title, date, Category, names)) {
        ShowStatus("No CD Info Found In File!");
        return;
    }
    Names.Assign(names);
    CDPlayer->SetCDInfo(Artist, Title, "", Category, Names);
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

bool TCDRipform::GetCDDBInfo()
{
    exchangeFailure_.clear();
    // Only an audio CD has a CDDB entry; a data disc has no table of contents to send.
    if (!CDPlayer->IsAudioCD()) {
        exchangeFailure_ = "No Audio CD In Drive";
        return false;
    }
    return CDDB.GetCDDBInfo(*CDPlayer, *WIGetURL);
}

void TCDRipform::FillTrackInfo()
{
    ShowStatus("Filling Track Info");
    TStringList& lines = markupListBox1->Items();
    lines.Clear();
    try {
        if (!CDPlayer->IsAudioCD())
            return;
        lines.Add(CDPlayer->Artist());
        lines.Add(CDPlayer->Title());
        SetCaption(CDPlayer->Artist() + " - " + CDPlayer->Title() + "    {" + CDPlayer->Category() + "}");
        if (Names.Count() == 0)
            return;
        int count = CDPlayer->TrackCount();
        for (int i = 0; i < count; ++i) {
            String name = CDPlayer->GetTrack(i).Name;
            // A disc may have more tracks than names: those tracks stay unnamed.
            if (name.empty() && i < Names.Count())
                name = Names[i];
            lines.Add(IntToStr(i + 1) + "    " + name);
            ShowStatus("Filling Track Info : " + IntToStr(i + 1));
        }
    } catch (const std::exception&) {
        StatusBar1->Panels[0].SetText("Cannot enter CDDB Info");
    }
}

void TCDRipform::EditThisTrackName1Click(TObject*)
{
    // Row 0 is the artist and row 1 the title; row r shows track r - 1.
    int i = markupListBox1->ItemIndex() - 2;
    if (i < 0 || i >= Names.Count())
        return;
    Names.Put(i, InputBox("Rename Track", "Track Name", Names[i]));
    CDPlayer->SetCDInfo(Artist, Title, "", Category, Names);
    FillTrackInfo();
}
