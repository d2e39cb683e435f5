#include "helpUnit.h"

namespace {

// The page's picture: a DVD case with a disc slipping out of it.
void DrawHelpIcon(TImageList& list)
{
    TBitmap icon(list.Width, list.Height);
    TCanvas& c = icon.Canvas();
    c.Brush.Color = clWhite;
    c.FillRect({0, 0, list.Width, list.Height});
    c.Pen.Color = clGray;
    c.Brush.Color = 0xC0C0C0;
    c.Ellipse(12, 4, 32, 24);
    c.Brush.Color = clWhite;
    c.Ellipse(19, 11, 25, 17);
    c.Pen.Color = 0x800000;
    c.Brush.Color = 0xD07020;
    c.Rectangle(2, 2, 20, 30);
    c.Pen.Color = clWhite;
    c.MoveTo(5, 2);
    c.LineTo(5, 30);
    list.Add(icon);
}

}  // namespace

Thelpform* helpform = nullptr;

Thelpform::Thelpform(TComponent* owner) : TForm(owner)
{
    helpform = this;
    SetCaption("Ombrelle Help");
    SetColor(clWhite);
    SetBounds(0, 0, 709, 579);
    SetBorderStyle(bsSizeable);
    Position = poScreenCenter;

    ImageList1 = new TImageList(this, 32, 32);
    DrawHelpIcon(*ImageList1);
    HTMLPanel1 = new TMarkupPanel(this);
    HTMLPanel1->SetParent(this);
    HTMLPanel1->SetAlign(alClient);
    HTMLPanel1->SetColor(clWhite);
    HTMLPanel1->Caption().SetVisible(false);
    HTMLPanel1->CanMove = false;
    HTMLPanel1->SetCanSize(false);
    HTMLPanel1->Position().Save = false;
    HTMLPanel1->SetImages(ImageList1);
    HTMLPanel1->SetShadowOffset(2);
    HTMLPanel1->SetShadowColor(clGray);
    HTMLPanel1->SetURLColor(clBlue);
    HTMLPanel1->SetTextVAlign(tvaTop);
    // The page keeps clear of the window's edges on every side; the border is in the page's colour.
    HTMLPanel1->BorderWidth = 10;
    HTMLPanel1->SetBorderColor(clWhite);
    HTMLPanel1->SetText(HelpPageText());
    HTMLPanel1->Loaded();
    Created();
}

Thelpform::~Thelpform()
{
    Destroying();
    if (helpform == this)
        helpform = nullptr;
}
