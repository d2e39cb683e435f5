// Printing covers: one picture per job, or the first two pictures of the batch side by side.
#include "PrintUnit.h"

#include "Printers.h"

#include <algorithm>

namespace {
const char* const kCredit = " - printed with Ombrelle";

// The default cursor comes back however the job ends.
struct HourGlass {
    HourGlass() { Screen()->SetCursor(crHourGlass); }
    ~HourGlass() { Screen()->SetCursor(crDefault); }
};

// A job whose drawing fails is aborted, so the printer is ready for the next one. Its name says what it
// prints, so that the print queue tells the jobs of a batch apart.
struct Job {
    explicit Job(const String& pictures)
    {
        Printer()->Title = "Ombrelle - " + pictures;
        Printer()->SetOrientation(poLandscape);
        Printer()->BeginDoc();
    }
    ~Job()
    {
        if (Printer()->Printing())
            Printer()->Abort();
    }
    void End() { Printer()->EndDoc(); }
};

// The jobs of one print command, so that jobs written to one chosen file are numbered.
struct Batch {
    explicit Batch(int jobs) { Printer()->BeginBatch(jobs); }
    ~Batch() { Printer()->EndBatch(); }
};
}  // namespace

String CoverHeader(const TCoverRec& cover, int ppiX, int ppiY)
{
    return LeftStr(cover.Name() + "      PPIY : ", 63) + IntToStr(ppiY) + "      PPIX : " + IntToStr(ppiX);
}

bool TDVDForm::EnsureCurrentCover()
{
    if (!CurrentCover && CoverList->CoverNo() >= 0)
        PrintstyleChange(PrintStyle);
    if (CurrentCover)
        return true;
    ShowMessage("There is no cover layout to use: add one with \"Add Layout\" first.");
    return false;
}

int TDVDForm::PointsToPixels(int points)
{
    return MulDiv(Printer()->Canvas().PixelsPerInchY(), points, 72);
}

int TDVDForm::CenterX(const String& text)
{
    return (Printer()->PageWidth() - Printer()->Canvas().TextWidth(text)) / 2;
}

void TDVDForm::PrintFooter(int x)
{
    TCanvas& c = Printer()->Canvas();
    c.Font.SetName("Arial");
    c.Brush.Color = clWhite;
    c.Brush.Style = bsSolid;
    c.Font.SetHeight(MulDiv(c.PixelsPerInchY(), 8, 72));
    String text = "Printed : " + FormatNow("m/d/yy  h:nn") + kCredit;
    c.TextOut(x, Printer()->PageHeight() - c.TextHeight("X"), text);
}

void TDVDForm::DrawImageWithCutLines(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap)
{
    canvas.StretchDraw(rect, bitmap);
    DrawCutLines(canvas, rect);
}

void DrawCutLines(TCanvas& canvas, const TRect& rect)
{
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(rect.Left - 10, rect.Top);
    canvas.LineTo(rect.Right + 10, rect.Top);
    canvas.MoveTo(rect.Left - 10, rect.Bottom);
    canvas.LineTo(rect.Right + 10, rect.Bottom);
    canvas.MoveTo(rect.Left, rect.Top - 10);
    canvas.LineTo(rect.Left, rect.Bottom + 10);
    canvas.MoveTo(rect.Right, rect.Top - 10);
    canvas.LineTo(rect.Right, rect.Bottom + 10);
}

namespace {
// Header font, header line and the layout's rectangle: the start of every page.
struct Page {
    int ppiX, ppiY, lineH;
    TRect rect;
};

Page StartPage(TDVDForm& form)
{
    TCanvas& c = Printer()->Canvas();
    Page page{};
    page.ppiX = c.PixelsPerInchX();
    page.ppiY = c.PixelsPerInchY();
    c.Font.SetHeight(MulDiv(page.ppiY, 8, 72));
    c.Font.SetName("Arial");
    page.lineH = c.TextHeight("X");
    String header = CoverHeader(*form.CurrentCover, page.ppiX, page.ppiY);
    c.TextOut(form.CenterX(header), page.lineH, header);
    const TCoverRec& cover = *form.CurrentCover;
    int x = InchesToDevice(cover.Left, page.ppiX), y = InchesToDevice(cover.Top, page.ppiY);
    page.rect = {x, y, x + InchesToDevice(cover.Width, page.ppiX), y + InchesToDevice(cover.Height, page.ppiY)};
    return page;
}

// What to tell the user when the pictures printed reach beyond the page, which cuts them off;
// empty when they fit. A printer's margins take a little of the paper, more on some papers than
// on others: a layout that loses less than a tenth of an inch to them is not worth a message
// at every print.
String PageOverrun(const TCoverRec& cover, const Page& page, int right)
{
    const int width = Printer()->PageWidth(), height = Printer()->PageHeight();
    if (right <= width + page.ppiX / 10 && page.rect.Bottom <= height + page.ppiY / 10)
        return String();
    auto inches = [](int pixels, int ppi) { return ppi > 0 ? static_cast<double>(pixels) / ppi : 0.0; };
    return Format("The layout \"%s\" runs past the printer's page: it reaches %.2f x %.2f inches on a page of "
                  "%.2f x %.2f inches, and what lies beyond the page is not printed.",
                  cover.Name().c_str(), inches(right, page.ppiX), inches(page.rect.Bottom, page.ppiY),
                  inches(width, page.ppiX), inches(height, page.ppiY));
}
}  // namespace

void TDVDForm::PrintSingleCover()
{
    SetStatus("Printing Cover : " + IntToStr(CurrentIndex) + " of " + IntToStr(LastIndex));
    {
        HourGlass cursor;
        Job job(ExtractFileName(CurrentFile));
        Page page = StartPage(*this);
        pageOverrun_ = PageOverrun(*CurrentCover, page, page.rect.Right);
        {
            std::unique_ptr<TBitmap> bitmap = WorkingBitmap();
            DrawImageWithCutLines(Printer()->Canvas(), page.rect, *bitmap);
            if (OverlayTrackList)
                PrintTrackList();
        }
        PrintFooter(page.rect.Left);
        job.End();
    }
    PrintingFinished();
}

void TDVDForm::PrintDualCover()
{
    SetStatus("Printing Dual Cover...");
    {
        HourGlass cursor;
        const TStrings& files = OpenPictureDialog->Files;
        Job job(ExtractFileName(files[0]) +
                (CurrentCover->Dual == 1 && files.Count() >= 2 ? ", " + ExtractFileName(files[1]) : String()));
        Page page = StartPage(*this);
        // The second position comes from the layout as it was before the batch files load.
        const TCoverRec before = *CurrentCover;
        int lastLeft = page.rect.Left;
        LoadPicture(OpenPictureDialog->Files[0]);
        std::unique_ptr<TBitmap> first = WorkingBitmap();
        DrawImageWithCutLines(Printer()->Canvas(), page.rect, *first);
        std::unique_ptr<TBitmap> second;
        if (before.Dual == 1 && OpenPictureDialog->Files.Count() >= 2) {
            long double sum = static_cast<long double>(before.Left) + before.Width + before.GapDist;
            int x2 = InchesToDevice(sum, page.ppiX);
            LoadPicture(OpenPictureDialog->Files[1]);
            second = WorkingBitmap();
            DrawImageWithCutLines(Printer()->Canvas(), {x2, page.rect.Top, x2 + page.rect.Width(), page.rect.Bottom},
                                  *second);
            lastLeft = x2;
        }
        pageOverrun_ = PageOverrun(before, page, std::max(page.rect.Right, lastLeft + page.rect.Width()));
        if (OverlayTrackList)
            PrintTrackList();
        first.reset();
        second.reset();
        PrintFooter(lastLeft);
        job.End();
    }
    PrintingFinished();
}

void TDVDForm::PrintingFinished()
{
    SetStatus("Printing Finished!");
    // A job written to a file is only useful once the user knows where it went.
    const String file = Printer()->OutputFile();
    if (!file.empty())
        SetStatus("Printing Finished! Saved as " + file);
}

void TDVDForm::ToolButton5Click(TObject*)
{
    if (CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return;
    }
    if (!EnsureCurrentCover())
        return;
    pageOverrun_.clear();
    try {
        if (CurrentCover->Dual != 1)
            PrintEachCover();
        else
            PrintDualCover();
    } catch (const std::exception& e) {
        // The message box says what went wrong; the status must not stay on a job that ended.
        SetStatus(String("Printing Failed! ") + e.what());
        throw;
    }
    // The print is made all the same, as the layout asks; the user learns why it is cut off.
    if (!pageOverrun_.empty())
        ShowMessage(pageOverrun_);
}

void TDVDForm::PrintEachCover()
{
    Batch batch(LastIndex + 1);
    std::vector<String> written;
    for (int i = 0; i <= LastIndex; ++i) {
        LoadPicture(OpenPictureDialog->Files[i]);
        PrintSingleCover();
        if (!Printer()->OutputFile().empty())
            written.push_back(Printer()->OutputFile());
    }
    // One status for the batch's files, which all go to one folder.
    if (written.size() > 1)
        SetStatus("Printing Finished! Saved " + IntToStr(static_cast<int>(written.size())) + " files in " +
                  ExtractFileDir(written.back()));
}
