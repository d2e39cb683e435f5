#include "PreviewUnit.h"

#include "PrintUnit.h"

TPreviewForm* PreviewForm = nullptr;

TPreviewForm::TPreviewForm(TComponent* owner) : TForm(owner)
{
    PreviewForm = this;
    SetCaption("Preview Cover");
    SetColor(clWhite);
    SetClientWidth(916);
    SetClientHeight(730);
    SetBorderStyle(bsDialog);
    Position = poScreenCenter;

    Panel1 = MakeTitleStrip(this, 0xF9DCC9, "  Ombrelle  -  print preview");

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetHeight(40);
    ToolBar1->ButtonWidth = 68;
    ToolBar1->ButtonHeight = 36;
    ToolBar1->ShowCaptions = true;
    ToolBar1->Flat = true;
    ToolBar1->SetParent(this);
    auto add = [this](const String& caption, const String& hint) {
        auto* b = new TToolButton(this);
        if (caption.empty()) {
            b->SetStyle(tbsSeparator);
            b->SetWidth(8);
        }
        b->SetParent(ToolBar1);
        b->SetCaption(caption);
        b->SetHint(hint);
        return b;
    };
    add("", "");
    ToolButton2 = add("Print", "Print Cover");
    ToolButton3 = add("Printer Setup", "Printer Settings");
    add("", "");
    ToolButton4 = add("Close", "Close Preview Window");

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetParent(this);

    PreviewBox = new TPaintBox(this);
    PreviewBox->SetParent(this);
    PreviewBox->SetBounds(12, 72, 891, 630);

    PrinterSetupDialog1 = new TPrinterSetupDialog(this);

    PreviewBox->OnPaint = [this](TObject* s) { PreviewBoxPaint(s); };
    ToolButton2->OnClick = [this](TObject* s) { ToolButton2Click(s); };
    ToolButton3->OnClick = [this](TObject* s) { ToolButton3Click(s); };
    ToolButton4->OnClick = [this](TObject* s) { ToolButton4Click(s); };
    XPLook1 = CreateProgramXPLook(this);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    Created();
}

TPreviewForm::~TPreviewForm()
{
    Destroying();
    if (PreviewForm == this)
        PreviewForm = nullptr;
}

void TPreviewForm::FormCreate(TObject*)
{
    FirstBitmap = std::make_unique<TBitmap>();
    SecondBitmap = std::make_unique<TBitmap>();
}

void TPreviewForm::FormDestroy(TObject*)
{
    FirstBitmap.reset();
    SecondBitmap.reset();
}

void TPreviewForm::PreviewBoxPaint(TObject*)
{
    if (DVDForm)
        DVDForm->DrawPreview(*this, *FirstBitmap, *SecondBitmap);
}

void TPreviewForm::ToolButton2Click(TObject* sender)
{
    if (DVDForm)
        DVDForm->ToolButton5Click(sender);
}

void TPreviewForm::ToolButton3Click(TObject*) { PrinterSetupDialog1->Execute(); }

void TPreviewForm::ToolButton4Click(TObject*) { SetModalResult(mrOk); }
