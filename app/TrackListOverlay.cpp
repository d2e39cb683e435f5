// The track list of an audio CD drawn over a CD back insert: on the next printed page and on
// every preview.
#include "PrintUnit.h"

#include "Printers.h"

void TDVDForm::DrawRotatedText(TCanvas& canvas, int angle, int x, int y, const String& text)
{
    int previous = canvas.Font.Orientation();
    canvas.Font.SetOrientation(angle * 10);
    canvas.TextOut(x, y, text);
    canvas.Font.SetOrientation(previous);
}

void TDVDForm::PrintTrackList()
{
    if (CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return;
    }
    SetStatus("Adding Track List");
    TCanvas& c = Printer()->Canvas();
    int ppiX = c.PixelsPerInchX(), ppiY = c.PixelsPerInchY();
    const TStringList& lines = *TrackList;
    auto line = [&](int i) { return i < lines.Count() ? lines[i] : String(); };
    String spine = line(0) + "  " + line(1);

    c.Brush.Style = bsClear;
    c.Font.SetName("Verdana");
    c.Font.SetHeight(PointsToPixels(26));
    c.TextOut(InchesToDevice(1.3L, ppiX), InchesToDevice(0.7L, ppiY), line(0));
    c.Font.SetName("Arial");
    c.Font.SetHeight(PointsToPixels(20));
    if (lines.Count() > 1)
        c.TextOut(InchesToDevice(1.3L, ppiX), InchesToDevice(1.0L, ppiY), line(1));
    c.Font.SetHeight(PointsToPixels(12));
    const TCoverRec& cover = *CurrentCover;
    DrawRotatedText(c, 90, InchesToDevice(0.55L, ppiX),
                    InchesToDevice(static_cast<long double>(cover.Height) - 0.2L, ppiY), spine);
    DrawRotatedText(c, 270, InchesToDevice(0.4L + cover.Width, ppiX), InchesToDevice(0.65L, ppiY), spine);
    c.Font.SetName("Arial");
    int h = PointsToPixels(14);
    c.Font.SetHeight(h);
    for (int i = 2; i < lines.Count(); ++i)
        c.TextOut(InchesToDevice(1.1L, ppiX), InchesToDevice(1.2L, ppiY) + i * h, lines[i]);
    SetStatus("OK");
    OverlayTrackList = false;
}

void TDVDForm::AddTracklistToBitmap(TBitmap& bitmap)
{
    if (CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return;
    }
    SetStatus("Adding Track List");
    TCanvas& c = bitmap.Canvas();
    const TStringList& lines = *TrackList;
    auto line = [&](int i) { return i < lines.Count() ? lines[i] : String(); };
    String spine = line(0) + "  " + line(1);

    c.Brush.Style = bsClear;
    c.Font.SetName("Verdana");
    c.Font.SetHeight(20);
    c.TextOut(25, 20, line(0));
    c.Font.SetName("Arial");
    c.Font.SetHeight(14);
    if (lines.Count() > 1)
        c.TextOut(25, 40, line(1));
    c.Font.SetHeight(9);
    DrawRotatedText(c, 90, 5, bitmap.Height() - 15, spine);
    DrawRotatedText(c, 270, bitmap.Width() - 5, 15, spine);
    c.Font.SetName("Arial");
    c.Font.SetHeight(12);
    for (int i = 2; i < lines.Count(); ++i)
        c.TextOut(30, i * 12 + 45, lines[i]);
    c.Release();
    SetStatus("OK");
}
