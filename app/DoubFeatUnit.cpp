#include "DoubFeatUnit.h"

#include "FlipRotate.h"
#include "Jpeg.h"
#include "RegularFile.h"
#include "WorkingBitmap.h"
#include "resample.h"

#include <algorithm>

namespace {

const TFilterEntry& TriangleFilter()
{
    return *std::find_if(ResampleFilters.begin(), ResampleFilters.end(),
                         [](const TFilterEntry& e) { return String(e.Name) == "Triangle"; });
}

// Filtered resampling of all of Source into a new 24-bit bitmap of the given size.
std::unique_ptr<TBitmap> Resampled(const TBitmap& Source, int width, int height)
{
    auto work = std::make_unique<TBitmap>(width, height, pf24bit);
    Stretch(Source, *work, TriangleFilter().Filter, 1.0f);
    return work;
}

}  // namespace

TDoubFeatForm::TDoubFeatForm(TComponent* owner) : TForm(owner)
{
    SetCaption("Create Double Feature Cover");
    SetFormStyle(fsStayOnTop);
    Position = poScreenCenter;
    SetBounds(Left(), Top(), 385, 538);
    SetBorderStyle(bsDialog);
    SetColor(clWhite);

    TitlePanel = new TPanel(this);
    TitlePanel->SetParent(this);
    TitlePanel->SetBounds(0, 0, 385, 25);
    TitlePanel->SetColor(static_cast<TColor>(0xF9DCC9));
    TitlePanel->BevelOuter = bvNone;
    TitlePanel->Font.SetColor(clNavy);
    TitlePanel->Font.SetStyle(fsBold);
    TitlePanel->SetCaption("Create Double Feature Cover");

    Label1 = new TLabel(this);
    Label1->SetParent(this);
    Label1->SetBounds(8, 36, 100, 13);
    Label1->SetCaption("Top Cover");
    FilenameEdit1 = new TFilenameEdit(this);
    FilenameEdit1->SetParent(this);
    FilenameEdit1->SetBounds(8, 52, 241, 21);
    FilenameEdit1->SetNumGlyphs(1);
    FilenameEdit1->OnChange = [this](TObject* s) { TopCoverEditChange(s); };
    top_ = {FilenameEdit1, "Top Cover", {}};

    Label2 = new TLabel(this);
    Label2->SetParent(this);
    Label2->SetBounds(8, 80, 100, 13);
    Label2->SetCaption("Bottom Cover");
    FilenameEdit2 = new TFilenameEdit(this);
    FilenameEdit2->SetParent(this);
    FilenameEdit2->SetBounds(8, 96, 241, 21);
    FilenameEdit2->SetNumGlyphs(1);
    FilenameEdit2->OnChange = [this](TObject* s) { BottomCoverEditChange(s); };
    bottom_ = {FilenameEdit2, "Bottom Cover", {}};

    MyImage = new TImage(this);
    MyImage->SetParent(this);
    MyImage->SetBounds(264, 36, 110, 80);
    MyImage->Stretch = true;

    Prin = new TRadioGroup(this);
    Prin->SetParent(this);
    Prin->SetBounds(8, 128, 366, 113);
    Prin->SetCaption("Printing Style");
    Prin->SetItems({"Full Cover Top and Bottom", "Top Half of Cover Top and Bottom",
                    "Bottom Half of Cover Top and Bottom", "Diagonal Flip Split"});
    Prin->SetItemIndex(0);

    PreviewPanel = new TPanel(this);
    PreviewPanel->SetParent(this);
    PreviewPanel->SetBounds(8, 250, 366, 222);
    PreviewPanel->BevelOuter = bvLowered;
    Previewbox = new TPaintBox(this);
    Previewbox->SetParent(PreviewPanel);
    Previewbox->SetBounds(17, 8, 332, 206);
    Previewbox->OnPaint = [this](TObject*) {
        if (PreviewImage)
            Previewbox->Canvas().Draw(0, 0, *PreviewImage);
    };

    Button2 = new TButton(this);
    Button2->SetParent(this);
    Button2->SetBounds(118, 480, 81, 25);
    Button2->SetCaption("&Create");
    Button2->SetDefault(true);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button1 = new TButton(this);
    Button1->SetParent(this);
    Button1->SetBounds(206, 480, 81, 25);
    Button1->SetCaption("&Save");
    Button1->SetEnabled(false);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button3 = new TButton(this);
    Button3->SetParent(this);
    Button3->SetBounds(294, 480, 81, 25);
    Button3->SetCaption("&Cancel");
    Button3->ModalResult = mrCancel;

    SavePictureDialog1 = new TSavePictureDialog(this);
    SavePictureDialog1->DefaultExt = ".bmp";
    SavePictureDialog1->Filter = "Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*";

    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    Created();
}

TDoubFeatForm::~TDoubFeatForm() { Destroying(); }

void TDoubFeatForm::FormCreate(TObject*)
{
    ResultBitmap = std::make_unique<TBitmap>();
    TopBitmap = std::make_unique<TBitmap>();
    BottomBitmap = std::make_unique<TBitmap>();
}

void TDoubFeatForm::FormDestroy(TObject*)
{
    ResultBitmap.reset();
    TopBitmap.reset();
    BottomBitmap.reset();
}

void TDoubFeatForm::LoadCover(const String& fileName, TBitmap& cover)
{
    // A name that is no picture raises before the stored cover is touched.
    MyImage->Picture().LoadFromFile(fileName);
    CopyAsShown(MyImage->Picture(), cover);
}

// A path being typed names no picture on most keys: only a finished name is loaded, and a
// failure waits for "&Create" instead of interrupting the typing.
void TDoubFeatForm::CoverEditChange(CoverSource& source, TBitmap& cover)
{
    const String name = source.edit->FileName();
    if (!IsRegularFile(name) || !TPicture::HasRegisteredExtension(name))
        return;
    try {
        LoadCover(name, cover);
        source.loaded = name;
    } catch (const Exception&) {
        source.loaded.clear();
    }
}

void TDoubFeatForm::TopCoverEditChange(TObject*) { CoverEditChange(top_, *TopBitmap); }

void TDoubFeatForm::BottomCoverEditChange(TObject*) { CoverEditChange(bottom_, *BottomBitmap); }

bool TDoubFeatForm::CoverReady(CoverSource& source, TBitmap& cover)
{
    const String name = source.edit->FileName();
    if (name.empty() || name == source.loaded)
        return true;
    try {
        LoadCover(name, cover);
        source.loaded = name;
        return true;
    } catch (const Exception& e) {
        ShowMessage(Format("%s: \"%s\" cannot be loaded.\n%s", source.caption, name.c_str(), e.Message.c_str()));
        return false;
    }
}

bool TDoubFeatForm::CoverMissing(const CoverSource& source, const TBitmap& cover)
{
    if (!source.edit->FileName().empty() && !cover.Empty())
        return false;
    ShowMessage(Format("The %s is missing: choose a picture for \"%s\" first.", LowerCase(source.caption).c_str(),
                       source.caption));
    return true;
}

void TDoubFeatForm::Button2Click(TObject*)
{
    if (!CoverReady(top_, *TopBitmap) || !CoverReady(bottom_, *BottomBitmap))
        return;
    // Every style takes the result's size from the top cover and fills half of it from the
    // bottom one: without both there is nothing to make.
    if (CoverMissing(top_, *TopBitmap) || CoverMissing(bottom_, *BottomBitmap))
        return;
    Compose();
    DrawComposerPreview(*ResultBitmap);
    Button1->SetEnabled(true);
}

void TDoubFeatForm::Button1Click(TObject*)
{
    if (!SavePictureDialog1->Execute())
        return;
    // The main window opens the saved file by its extension, so the file must be what its name
    // says: a bitmap under another name would fail there and in every print of the batch.
    const String name = SavePictureDialog1->FileName;
    const String ext = LowerCase(ExtractFileExt(name));
    if (ext == ".bmp") {
        ResultBitmap->SaveToFile(name);
    } else if (ext == ".jpg" || ext == ".jpeg") {
        TJPEGImage jpeg;
        jpeg.Assign(*ResultBitmap);
        jpeg.SaveToFile(name);
    } else {
        ShowMessage(Format("Cannot save \"%s\": the double-feature cover is saved as a bitmap (.bmp) or a JPEG "
                           "picture (.jpg, .jpeg).",
                           ExtractFileName(name).c_str()));
        return;
    }
    SavedFileName = name;
    SetModalResult(mrOk);
}

void TDoubFeatForm::SourceRect(TBitmap& Cover, TRect& Rect)
{
    const int w = Cover.Width(), h = Cover.Height();
    switch (Prin->ItemIndex()) {
    case 0: {
        // Smooth the cover by halving it with the filter and stretching it back.
        std::unique_ptr<TBitmap> work = Resampled(Cover, w, h / 2);
        Cover.Canvas().CopyRect({0, 0, w, h}, work->Canvas(), {0, 0, work->Width(), work->Height()});
        Cover.Canvas().Release();
        work->Canvas().Release();
        Rect = {0, 0, w, h};
        break;
    }
    case 1:
        Rect = {0, 0, w, h / 2};
        break;
    case 2:
        Rect = {0, h / 2, w, h};
        break;
    default:
        Rect = {0, 0, w, h};
        break;
    }
}

void TDoubFeatForm::Compose()
{
    ResultBitmap->SetPixelFormat(pf24bit);
    ResultBitmap->SetSize(TopBitmap->Width(), TopBitmap->Height());
    if (Prin->ItemIndex() >= 0 && Prin->ItemIndex() <= 2) {
        TRect source;
        SourceRect(*TopBitmap, source);
        ResultBitmap->Canvas().CopyRect({0, 0, TopBitmap->Width(), TopBitmap->Height() / 2}, TopBitmap->Canvas(),
                                        source);
        // The lower half of the result, whatever the bottom cover's own size: placing it by
        // that size would leave part of the half empty or paint over the top cover.
        SourceRect(*BottomBitmap, source);
        ResultBitmap->Canvas().CopyRect({0, TopBitmap->Height() / 2, TopBitmap->Width(), TopBitmap->Height()},
                                        BottomBitmap->Canvas(), source);
        ResultBitmap->Canvas().Release();
        TopBitmap->Canvas().Release();
        BottomBitmap->Canvas().Release();
        return;
    }
    // The diagonal join reads the bottom cover at the top cover's size, so a bottom cover of
    // another size is first resampled to it.
    if (BottomBitmap->Width() != TopBitmap->Width() || BottomBitmap->Height() != TopBitmap->Height())
        BottomBitmap = Resampled(*BottomBitmap, TopBitmap->Width(), TopBitmap->Height());
    BottomBitmap = FlipReverse(true, true, *BottomBitmap);
    std::unique_ptr<TBitmap> merged = DiagonalMerge(*TopBitmap, *BottomBitmap);
    ResultBitmap->Assign(*merged);
}

void TDoubFeatForm::DrawComposerPreview(const TBitmap& Bitmap)
{
    const int w = Previewbox->Width(), h = Previewbox->Height();
    PreviewImage = std::make_unique<TBitmap>(w, h, pf24bit);
    TCanvas& canvas = PreviewImage->Canvas();
    canvas.Brush.Color = clBlack;
    canvas.FillRect({5, 5, w, h});
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, w - 5, h - 5});
    canvas.StretchDraw({0, 0, w - 5, h - 5}, Bitmap);
    canvas.Release();
    Previewbox->Invalidate();
}
