#include "ripunit.h"

#include "CDDBServer.h"
#include "CDDBUnit.h"
#include "Dialogs.h"
#include "FinderLook.h"

namespace {
// The date the finder files with every disc it stores.
const char* const kStoredDate = "2003";
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
    DriveComboBoxEx1 = new TDriveComboBoxEx(this);
    DriveComboBoxEx1->SetParent(Panel2);
    SetFinderFont(DriveComboBoxEx1->Font);
    DriveComboBoxEx1->SetBounds(4, 3, 311, 22);
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
    StatusBar1->Panels[0].SetText("Current Status");

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

    CDPlayer = new TCDPlayer(this);
    CDPlayer->CurrentDrive = 'E';
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

void TCDRipform::ScanCDClick(TObject*)
{
    CDPlayer->Reopen();
    CDPlayer->RefreshIfAudio();
    GetCDDBInfo();
    FillAfterExchange();
}

void TCDRipform::GetCDDBClick(TObject*)
{
    OpenDisc();
    CDPlayer->RefreshIfAudio();
    GetCDDBInfo();
    FillAfterExchange();
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

void TCDRipform::DriveComboBoxEx1Change(TObject*) { CDPlayer->CurrentDrive = DriveComboBoxEx1->Drive(); }

int TCDRipform::ChooseMatch(const std::vector<String>& rows)
{
    Tqueryform chooser(this);
    for (const String& row : rows)
        chooser.QueryBox->Items().Add(row);
    if (chooser.ShowModal() != mrOk)
        return -1;
    return chooser.QueryBox->ItemIndex();
}

void TCDRipform::GetCDDBInfo()
{
    exchangeFailure_.clear();
    // Only an audio CD has a CDDB entry; a data disc has no table of contents to send.
    if (!CDPlayer->IsAudioCD()) {
        exchangeFailure_ = "No Audio CD In Drive";
        return;
    }
    CDDB.GetCDDBInfo(*CDPlayer, *WIGetURL);
}

void TCDRipform::FillAfterExchange()
{
    FillTrackInfo();
    if (!exchangeFailure_.empty())
        StatusBar1->Panels[0].SetText(exchangeFailure_);
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
