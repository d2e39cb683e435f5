#include "AddSetting.h"

#include "CoverTypes.h"
#include "Glyphs.h"
#include "PrintUnit.h"

TSettingsForm::TSettingsForm(TComponent* owner) : TForm(owner)
{
    SetCaption("Settings");
    SetClientWidth(735);
    SetClientHeight(398);
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;

    ImageList2 = new TImageList(this, 16, 16);
    DrawLayoutIcons(*ImageList2);

    Panel2 = MakeTitleStrip(this, 0xC35934, "Create / Edit Cover Settings");

    Image1 = new TImage(this);
    Image1->SetParent(this);
    Image1->SetBounds(12, 40, 260, 200);
    DrawIllustration();

    leftedit = AddInchEdit(Label1, "Dist From Left", 40, 0.5);
    topedit = AddInchEdit(Label2, "Dist From Top", 84, 0.5);
    widthedit = AddInchEdit(Label3, "Image Width", 128, 1);
    heightedit = AddInchEdit(Label4, "Image Height", 172, 1);
    TwinDistEdit = AddInchEdit(Label7, "Dual Print Gap Dist", 216, 1);

    Label8 = AddLabel(this, "All Settings are in Inches. And Page is in Landscape Mode", 12, 270, 400);

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetParent(this);
    GroupBox1->SetBounds(430, 36, 293, 300);
    GroupBox1->SetCaption("Other Settings");
    Label5 = AddLabel(GroupBox1, "Label Name", 12, 22, 260);
    SettingName = new TEdit(this);
    SettingName->SetParent(GroupBox1);
    SettingName->SetBounds(12, 40, 268, 22);
    SettingName->SetText("NewSetting");

    Label6 = AddLabel(GroupBox1, "Cover Style (Square - Rectangle)", 12, 74, 260);
    CDStyleCombo = new TMarkupComboBox(this);
    CDStyleCombo->SetImages(ImageList2);
    CDStyleCombo->SetParent(GroupBox1);
    CDStyleCombo->SetBounds(12, 92, 268, 24);
    CDStyleCombo->Items().Add("<IMG src=\"idx:0\">DVD / CD Disk Label Style");
    CDStyleCombo->Items().Add("<IMG src=\"idx:1\">DVD / CD Cover Style");
    CDStyleCombo->SetItemIndex(0);

    Label9 = AddLabel(GroupBox1, "Label Icon Style", 12, 128, 260);
    IconCombo = new TMarkupComboBox(this);
    IconCombo->SetImages(ImageList2);
    IconCombo->SetParent(GroupBox1);
    IconCombo->SetBounds(12, 146, 268, 24);
    for (const char* line : {"<IMG src=\"idx:0\">DVD / CD Type Icon", "<IMG src=\"idx:1\">Box Cover Type Icon",
                             "<IMG src=\"idx:2\">Audio CD Type Icon", "<IMG src=\"idx:3\">Audio Cd Insert Type Icon",
                             "<IMG src=\"idx:4\">CD Business Card Type Icon"})
        IconCombo->Items().Add(line);
    IconCombo->SetItemIndex(0);

    Label10 = AddLabel(GroupBox1, "Dual Print Labels (CD/DVD Disk Labels)", 12, 182, 260);
    twinprintcombo = new TComboBox(this);
    twinprintcombo->SetStyle(csDropDownList);
    twinprintcombo->SetParent(GroupBox1);
    twinprintcombo->SetBounds(12, 200, 268, 24);
    twinprintcombo->Items().Add("No Dual Printing");
    twinprintcombo->Items().Add("Yes, Print two Images per Page");
    twinprintcombo->SetItemIndex(0);

    Button2 = new TButton(this);
    Button2->SetParent(this);
    Button2->SetBounds(560, 356, 75, 27);
    Button2->SetCaption("&Ok");
    Button2->SetDefault(true);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button1 = new TButton(this);
    Button1->SetParent(this);
    Button1->SetBounds(646, 356, 75, 27);
    Button1->SetCaption("&Cancel");
    Button1->ModalResult = mrCancel;

    Created();
}

TSettingsForm::~TSettingsForm() { Destroying(); }

// Told now, while the name can still be changed, rather than finding "?" in the chooser later.
void TSettingsForm::Button2Click(TObject*)
{
    const std::vector<TUnmappable> unstorable = UnstorableNameCharacters(SettingName->Text());
    if (unstorable.empty()) {
        SetModalResult(mrOk);
        return;
    }
    String listed;
    for (const TUnmappable& c : unstorable)
        listed += Format("%s\"%s\" (U+%04X)", listed.empty() ? "" : ", ", c.Text.c_str(),
                         static_cast<unsigned>(c.CodePoint));
    ShowMessage("The label name cannot hold " + listed +
                ": layouts store their names in the Windows-1252 character set. Change or remove " +
                (unstorable.size() == 1 ? "it." : "them."));
    SettingName->SetFocus();
}

TLabel* TSettingsForm::AddLabel(TWinControl* parent, const String& caption, int left, int top, int width)
{
    auto* label = new TLabel(this);
    label->SetParent(parent);
    label->SetBounds(left, top, width, 16);
    label->SetCaption(caption);
    return label;
}

TFloatSpinEdit* TSettingsForm::AddInchEdit(TLabel*& label, const String& caption, int top, double value)
{
    label = AddLabel(this, caption, 290, top, 120);
    auto* edit = new TFloatSpinEdit(this);
    edit->SetParent(this);
    edit->SetBounds(290, top + 18, 121, 22);
    edit->Increment = 0.1;
    edit->SetValue(value);
    return edit;
}

// A landscape page with the picture placed on it and the distances marked.
void TSettingsForm::DrawIllustration()
{
    const int w = Image1->Width();
    const int h = Image1->Height();
    TBitmap& b = Image1->Picture().Bitmap();
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    TCanvas& c = b.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect({0, 0, w, h});
    c.Pen.Color = clBlack;
    c.Brush.Style = bsClear;
    c.Rectangle(10, 10, w - 10, h - 10);  // the page
    c.Brush.Style = bsSolid;
    c.Brush.Color = 0xE0C8A0;
    c.Rectangle(70, 60, 190, 150);  // the picture
    c.Pen.Color = clRed;
    c.MoveTo(11, 105);
    c.LineTo(70, 105);  // distance from left
    c.MoveTo(130, 11);
    c.LineTo(130, 60);  // distance from top
    c.Brush.Style = bsClear;
    c.Font.SetColor(clRed);
    c.TextOut(16, 88, "Left");
    c.TextOut(134, 30, "Top");
    c.Font.SetColor(clBlack);
    c.TextOut(100, 96, "Width x Height");
    c.Release();
}
