#include "PrintUnit.h"

#include "Glyphs.h"
#include "helpUnit.h"
#include "SafeSave.h"
#include "Shell.h"
#include "UserConfig.h"

const char* const kNoImage = "No Image";
const char* const kNeedImageMessage = "You need to open an image file!";
const char* const kHomePage = "https://ombrelle.org/";

TDVDForm* DVDForm = nullptr;

TDVDForm::TDVDForm(TComponent* owner) : TForm(owner)
{
    DVDForm = this;
    BuildComponents();
    XPLook1 = CreateProgramXPLook(this);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    Created();
}

TDVDForm::~TDVDForm()
{
    Destroying();
    if (DVDForm == this)
        DVDForm = nullptr;
}

TToolButton* TDVDForm::AddToolButton(TToolBar* bar, const String& caption, const String& hint, int image)
{
    auto* b = new TToolButton(this);
    b->SetParent(bar);
    b->SetCaption(caption);
    b->SetHint(hint);
    b->SetImageIndex(image);
    return b;
}

TToolButton* TDVDForm::AddSeparator(TToolBar* bar)
{
    auto* b = new TToolButton(this);
    b->SetStyle(tbsSeparator);
    b->SetWidth(8);
    b->SetParent(bar);
    return b;
}

TMenuItem* TDVDForm::AddMenuItem(const String& caption, const String& hint, int image, TNotifyEvent onClick)
{
    auto* item = new TMenuItem(VeskPopupMenu1);
    item->Caption = caption;
    item->Hint = hint;
    item->ImageIndex = image;
    item->OnClick = std::move(onClick);
    VeskPopupMenu1->Items().Add(item);
    return item;
}

void TDVDForm::BuildComponents()
{
    SetCaption("Ombrelle - DVD & CD Cover Printer");
    SetColor(clWhite);
    SetClientWidth(1081);
    SetClientHeight(672);
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;

    ImageList2 = new TImageList(this, 16, 16);
    ImageList3 = new TImageList(this, 20, 20);
    BuildGlyphs();

    Panel1 = MakeTitleStrip(this, 0xC97F3A, "  Ombrelle  -  covers and disc labels for your DVD and CD cases");

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetHeight(40);
    ToolBar1->ButtonWidth = 79;
    ToolBar1->ButtonHeight = 36;
    ToolBar1->ShowCaptions = true;
    ToolBar1->Images = ImageList3;
    ToolBar1->SetParent(this);
    ToolButton3 = AddToolButton(ToolBar1, "Open Image", "Open a Cover or Disk Image", kGlyphOpen);
    ToolButton4 = AddToolButton(ToolBar1, "Remove Image", "Remove / Trash This Cover", kGlyphRemove);
    AddSeparator(ToolBar1);
    ToolButton13 = AddToolButton(ToolBar1, "Image Effects", "Image Manipulation", kGlyphEffects);
    ToolButton13->SetStyle(tbsDropDown);
    AddSeparator(ToolBar1);
    ToolButton19 = AddToolButton(ToolBar1, "Add Layout", "Add New Cover Setting to List", kGlyphAddLayout);
    ToolButton20 = AddToolButton(ToolBar1, "Edit Layout", "Edit this Cover setting", kGlyphEditLayout);
    AddSeparator(ToolBar1);
    ToolButton12 = AddToolButton(ToolBar1, "Preview", "Cover Print Preview", kGlyphPreview);
    ToolButton5 = AddToolButton(ToolBar1, "Print", "Print Cover or Disk Image", kGlyphPrint);
    ToolButton9 = AddToolButton(ToolBar1, "Print Setup", "Open Print Settings Dialog", kGlyphPrintSetup);
    AddSeparator(ToolBar1);
    ToolButton2 = AddToolButton(ToolBar1, "Web Home", "Visit the Ombrelle web site", kGlyphHome);
    ToolButton6 = AddToolButton(ToolBar1, "Help", "Help", kGlyphHelp);
    ToolButton7 = AddToolButton(ToolBar1, "Close", "Close Ombrelle", kGlyphClose);

    StatusBar = new TStatusBar(this);
    StatusBar->SetSimpleText("Ok");
    StatusBar->SetParent(this);

    ToolBar2 = new TToolBar(this);
    ToolBar2->SetHeight(22);
    ToolBar2->SetAlign(alBottom);
    ToolBar2->Images = ImageList2;
    ToolBar2->SetParent(this);
    Previmage = AddToolButton(ToolBar2, "", "Previous Image", kIconPrevious);
    NextImage = AddToolButton(ToolBar2, "", "Next Image", kIconNext);
    Label2 = new TLabel(this);
    Label2->SetWidth(300);
    Label2->SetHeight(16);
    Label2->SetParent(ToolBar2);
    Label2->SetCaption("  Batch Images Prev / Next");

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetWidth(333);
    GroupBox1->SetHeight(565);
    GroupBox1->SetAlign(alRight);
    GroupBox1->SetParent(this);
    Label4 = new TLabel(this);
    Label4->SetParent(GroupBox1);
    Label4->SetBounds(12, 24, 120, 16);
    Label4->SetCaption("Cover Style");
    // The categories are the catalogue's own: the user picks one, and letters typed select it.
    // Made a drop-down list from the start, the box never builds an edit field only to drop it.
    StyleCombo = new TVeskLookupCombo(this, csDropDownList);
    StyleCombo->SetParent(GroupBox1);
    StyleCombo->SetBounds(12, 42, 180, 24);
    StyleCombo->Font.SetName("Trebuchet MS");
    StyleCombo->Font.SetHeight(-11);
    StyleCombo->Items().BeginUpdate();  // the combo box takes the list once, not line by line
    for (const char* category : {"DVD Movie", "Blu-Ray Movie", "HD-DVD Movie", "GameCube", "Music CD", "Music DVD",
                                 "Other", "Other Console", "PC Apps", "PC Games", "Playstation", "Playstation 2",
                                 "Playstation 3", "PSP", "Soundtrack", "TV Series", "VCD", "VHS", "Wii", "Xbox",
                                 "Xbox 360"}) {
        StyleCombo->Items().Add(category);
        StyleCombo->LookUpItems().Add(category);
    }
    StyleCombo->Items().Add("Any Cover Type");  // no value: no category
    StyleCombo->Items().EndUpdate();
    StyleCombo->SetItemIndex(0);
    Label5 = new TLabel(this);
    Label5->SetParent(GroupBox1);
    Label5->SetBounds(12, 72, 120, 16);
    Label5->SetCaption("Search For");
    SearchBox = new TEdit(this);
    SearchBox->SetParent(GroupBox1);
    SearchBox->SetBounds(12, 90, 230, 22);
    Button1 = new TButton(this);
    Button1->SetParent(GroupBox1);
    Button1->SetBounds(250, 89, 71, 24);
    Button1->SetCaption("Search");
    MarkupListBox = new TMarkupListBox(this);
    MarkupListBox->SetParent(GroupBox1);
    MarkupListBox->SetBounds(12, 122, 309, 330);
    MarkupListBox->AnchorHint = true;
    WebImage = new TWebImage(this);
    WebImage->SetParent(GroupBox1);
    WebImage->SetBounds(12, 462, 149, 82);
    WebImage->SetAnimate(true);
    WebImage->Async = true;
    WebImage->SetPicturePosition(bpStretched);
    VeskGauge1 = new TVeskGauge(this);
    VeskGauge1->SetParent(GroupBox1);
    VeskGauge1->SetBounds(172, 492, 149, 20);

    GroupBox2 = new TGroupBox(this);
    GroupBox2->SetCaption("Cover Details");
    GroupBox2->SetAlign(alClient);
    GroupBox2->SetParent(this);
    Label1 = new TLabel(this);
    Label1->SetParent(GroupBox2);
    Label1->SetBounds(10, 24, 110, 16);
    Label1->SetCaption("Disk Cover Type");
    PrintStyle = new TMarkupComboBox(this);
    PrintStyle->SetImages(ImageList2);
    PrintStyle->SetParent(GroupBox2);
    PrintStyle->SetBounds(120, 20, 363, 24);
    PrintStyle->OnChange = [this](TObject* s) { PrintstyleChange(s); };
    Panel2 = new TPanel(this);
    Panel2->SetParent(GroupBox2);
    Panel2->SetBounds(8, 56, 733, 479);
    Panel2->SetColor(clWhite);
    Panel2->BevelOuter = bvLowered;
    CDImage = new TImage(this);
    CDImage->SetParent(Panel2);
    CDImage->SetBounds(2, 2, 729, 475);
    CDImage->Stretch = true;

    // Tab follows the window's reading order: the commands along the top, the layout column,
    // the search column, then the batch buttons along the bottom.
    GroupBox2->SetTabOrder(ToolBar1->TabOrder() + 1);
    GroupBox1->SetTabOrder(GroupBox2->TabOrder() + 1);
    ToolBar2->SetTabOrder(GroupBox1->TabOrder() + 1);

    OpenPictureDialog = new TOpenPictureDialog(this);
    OpenPictureDialog->Options = ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing;
    OpenPictureDialog->DefaultExt = ".jpg";
    PrinterSetupDialog1 = new TPrinterSetupDialog(this);

    VeskPopupMenu1 = new TVeskPopupMenu(this);
    VeskPopupMenu1->Images = ImageList2;
    N1 = AddMenuItem("-", "Special Features", -1);
    OverlayCDDBTrackList1 = AddMenuItem("&Overlay CDDB TrackList ( For CD Case Back Inserts)",
                                        "Use CDDB to Create a CD Music Tracklist", 9);
    CreateADoubleFeatureDVDCover1 = AddMenuItem("&Create A Double Feature DVD Cover",
                                                "Mix Two Covers Together to Create a  Double Feature Cover", 12);
    N3 = AddMenuItem("-", "Image Manipulation", -1);
    FlipImageVertical1 = AddMenuItem("Flip Image &Vertical", "Flip the Image end over end", 5,
                                     [this](TObject* s) { ToolButton13Click(s); });
    FlipImageHorizontal1 = AddMenuItem("Flip Image &Horizontal", "Flip the Image around", 6,
                                       [this](TObject* s) { ToolButton14Click(s); });
    RotateImage1 = AddMenuItem("&Rotate Image", "Rotate the Image around a center point", 7,
                               [this](TObject* s) { RotateButtonClick(s); });
    N2 = AddMenuItem("-", "Image Processing", -1);
    SharpenImage1 = AddMenuItem("&Sharpen Image", "Make the Image look Sharper", 8,
                                [this](TObject* s) { SharpenImage1Click(s); });
    AntialiasImage1 = AddMenuItem("&Antialias Image", "Soften and remove the Jaggy edges", 8,
                                  [this](TObject* s) { AntialiasImage1Click(s); });
    ToolButton13->SetDropdownMenu(VeskPopupMenu1);
    PopupMenu1 = new TPopupMenu(this);

    OverlayCDDBTrackList1->OnClick = [this](TObject* s) { OverlayCDDBTrackList1Click(s); };
    CreateADoubleFeatureDVDCover1->OnClick = [this](TObject* s) { CreateADoubleFeatureDVDCover1Click(s); };
    ToolButton3->OnClick = [this](TObject* s) { ToolButton3Click(s); };
    ToolButton4->OnClick = [this](TObject* s) { ToolButton4Click(s); };
    ToolButton19->OnClick = [this](TObject* s) { ToolButton19Click(s); };
    ToolButton20->OnClick = [this](TObject* s) { ToolButton20Click(s); };
    ToolButton12->OnClick = [this](TObject* s) { ToolButton12Click(s); };
    ToolButton5->OnClick = [this](TObject* s) { ToolButton5Click(s); };
    Previmage->OnClick = [this](TObject* s) { PrevimageClick(s); };
    NextImage->OnClick = [this](TObject* s) { NextImageClick(s); };
    CDImage->OnDblClick = [this](TObject* s) { CDImageDblClick(s); };
    ToolButton9->OnClick = [this](TObject* s) { ToolButton9Click(s); };
    ToolButton2->OnClick = [this](TObject* s) { ToolButton2Click(s); };
    ToolButton6->OnClick = [this](TObject* s) { ToolButton6Click(s); };
    ToolButton7->OnClick = [this](TObject* s) { ToolButton7Click(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    SearchBox->OnKeyDown = [this](TObject* s, int& key, TShiftState shift) { SearchBoxKeyDown(s, key, shift); };
    MarkupListBox->OnAnchorHint = [this](TObject* s, int i, String& a) { MarkupListBoxAnchorHint(s, i, a); };
    MarkupListBox->OnAnchorClick = [this](TObject* s, int i, const String& a) { MarkupListBoxAnchorClick(s, i, a); };
    WebImage->OnDownLoadProgress = [this](TObject* s, uint32_t size, uint32_t total) {
        WebImageDownLoadProgress(s, size, total);
    };
    WebImage->OnDownLoadComplete = [this](TObject* s) { WebImageDownLoadComplete(s); };
    WebImage->OnDownLoadEnd = [this](TObject* s) { WebImageDownLoadEnd(s); };
    WebImage->OnDownLoadError = [this](TObject* s, const String& error) { WebImageDownLoadError(s, error); };
}

TPanel* MakeTitleStrip(TForm* form, TColor color, const String& caption)
{
    auto* strip = new TPanel(form);
    strip->SetHeight(26);
    strip->SetAlign(alTop);
    strip->SetColor(color);
    strip->BevelOuter = bvNone;
    strip->Font.SetColor(clWhite);
    strip->Font.SetHeight(-16);
    strip->Font.SetStyle(fsBold);
    strip->Alignment = 0;
    strip->SetCaption(caption);
    strip->SetParent(form);
    return strip;
}

void TDVDForm::BuildGlyphs()
{
    DrawLayoutIcons(*ImageList2);
    DrawToolBarGlyphs(*ImageList3);
}

void TDVDForm::FormCreate(TObject*)
{
    SettingsFileName = IncludeTrailingPathDelimiter(ExtractFilePath(Application()->ExeName())) + "Settings.ini";
    CoverList = std::make_unique<TCoverList>();
    String loadError;
    try {
        CoverList->SetCoverFileName(SettingsFileName);
    } catch (const Exception& e) {
        // The rest of start-up still runs, so no later command meets a missing object.
        loadError = e.Message;
    }
    TrackList = std::make_unique<TStringList>();
    OverlayTrackList = false;
    XmlText = std::make_unique<TStringList>();
    AppDir = IncludeTrailingPathDelimiter(ExtractFilePath(Application()->ExeName()));
    // What saves interrupted in an earlier run left behind (the layouts' own go with their load).
    RemoveStaleTemporaries(AppDir + "Search.xml");
    RemoveStaleTemporariesIn(UserConfigFolder());
    FillStyleCombo();
    AdjustImageWidth();
    CurrentFile = kNoImage;
    SetStatus("OK");
    if (!loadError.empty())
        Application()->HandleException(loadError);
}

void TDVDForm::FormDestroy(TObject*)
{
    XmlText.reset();
    CoverList.reset();  // rewrites the settings file
    TrackList.reset();
}

void TDVDForm::SetStatus(const String& text) { StatusBar->SetSimpleText(text); }

void TDVDForm::FillStyleCombo()
{
    // One change for the whole list: the combo box rebuilds its lines on every change.
    TStringList& items = PrintStyle->Items();
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i <= CoverList->CoverNo(); ++i) {
        PCoverRec rec = CoverList->GetCover(i);
        items.Add("<IMG src=\"idx:" + IntToStr(rec->IconIndex) + "\">" + rec->Name());
    }
    items.EndUpdate();
    if (CoverList->CoverNo() >= 0)
        PrintStyle->SetItemIndex(0);
}

void TDVDForm::PrintstyleChange(TObject*)
{
    CurrentCover = CoverList->GetCover(PrintStyle->ItemIndex());
    AdjustImageWidth();
}

void TDVDForm::AdjustImageWidth()
{
    if (!CurrentCover)
        return;
    if (CurrentCover->Style == 0)
        CDImage->SetWidth(480);
    else if (CurrentCover->Style == 1)
        CDImage->SetWidth(729);
}

void TDVDForm::ToolButton4Click(TObject*)
{
    CDImage->Picture().Clear();
    CurrentFile = kNoImage;
    SetStatus("OK");
}

void TDVDForm::ToolButton9Click(TObject*)
{
    SetStatus("Printer Setup Dialog");
    PrinterSetupDialog1->Execute();
    SetStatus("OK");
}

void TDVDForm::ToolButton2Click(TObject*) { ShellOpen(kHomePage); }

void TDVDForm::ToolButton6Click(TObject*)
{
    if (helpform)
        helpform->ShowModal();
}

void TDVDForm::ToolButton7Click(TObject*) { Close(); }
