// The preview command and the drawing of the preview page.
#include "PreviewUnit.h"
#include "PrintUnit.h"

namespace {
constexpr int kPreviewPpi = 74;  // screen pixels per inch of the preview
int At(long double inches) { return InchesToDevice(inches, kPreviewPpi); }
}  // namespace

void TDVDForm::ToolButton12Click(TObject*)
{
    if (CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return;
    }
    if (!EnsureCurrentCover())
        return;
    SetStatus("Print Preview Window");
    // The pictures are loaded here, once; the preview's repaints only draw them.
    LoadPicture(OpenPictureDialog->Files[0]);
    std::unique_ptr<TBitmap> first = WorkingBitmap();
    std::unique_ptr<TBitmap> second = std::make_unique<TBitmap>();
    if (CurrentCover->Dual == 1 && LastIndex >= 1) {
        LoadPicture(OpenPictureDialog->Files[1]);
        second = WorkingBitmap();
        LoadPicture(OpenPictureDialog->Files[0]);  // the main window is left showing the first file
    }
    if (OverlayTrackList)
        AddTracklistToBitmap(*first);
    PreviewForm->FirstBitmap->Assign(*first);
    PreviewForm->SecondBitmap->Assign(*second);
    PreviewForm->PreviewBox->Invalidate();
    PreviewForm->ShowModal();
    SetStatus("OK");
}

void TDVDForm::DrawPreviewImage(TPreviewForm& form, const TBitmap& bitmap, const TRect& rect)
{
    TCanvas& c = form.PreviewBox->Canvas();
    c.StretchDraw(rect, bitmap);
    DrawCutLines(c, rect);  // the pen keeps the grid's dash-dot style
}

void TDVDForm::DrawPreview(TPreviewForm& form, const TBitmap& bitmap1, const TBitmap& bitmap2)
{
    TCanvas& c = form.PreviewBox->Canvas();
    int w = form.PreviewBox->Width(), h = form.PreviewBox->Height();
    c.Brush.Style = bsSolid;
    c.Brush.Color = clBlack;
    c.FillRect({5, 5, w, h});
    c.Brush.Color = 0xFFFF00;
    c.FillRect({0, 0, w - 5, h - 5});
    c.Brush.Color = clWhite;
    c.FillRect({25, 25, w - 30, h - 30});

    c.Pen.Color = 0xC0C0C0;
    c.Pen.Style = psDashDot;
    for (int i = 0; i <= 891; i += kPreviewPpi) {
        String inches = IntToStr(i / kPreviewPpi);
        c.TextOut(i, 0, inches);
        c.MoveTo(i, 0);
        c.LineTo(i, h - 5);
        c.TextOut(0, i, inches);
        c.MoveTo(0, i);
        c.LineTo(w - 5, i);
    }

    if (!CurrentCover)
        return;
    const TCoverRec& cover = *CurrentCover;
    int x = At(cover.Left), y = At(cover.Top);
    TRect rect{x, y, x + At(cover.Width), y + At(cover.Height)};
    DrawPreviewImage(form, bitmap1, rect);
    if (cover.Dual == 1 && LastIndex > 0) {
        int x2 = At(static_cast<long double>(cover.Left) + cover.Width + cover.GapDist);
        DrawPreviewImage(form, bitmap2, {x2, rect.Top, x2 + rect.Width(), rect.Bottom});
    }
}
