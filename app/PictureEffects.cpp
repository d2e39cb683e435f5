// The picture effects: they change only the picture on screen, never the file.
#include "PrintUnit.h"

#include "FlipRotate.h"

void TDVDForm::ApplyEffect(const String& status, const std::function<std::unique_ptr<TBitmap>(TBitmap& copy)>& effect)
{
    if (CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return;
    }
    SetStatus(status);
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    std::unique_ptr<TBitmap> result = effect(*copy);
    CDImage->Picture().Bitmap().Assign(result ? *result : *copy);
    SetStatus("OK");
}

void TDVDForm::ToolButton13Click(TObject*)
{
    ApplyEffect("Flipping Image", [](TBitmap& copy) { return FlipReverse(true, false, copy); });
}

void TDVDForm::ToolButton14Click(TObject*)
{
    ApplyEffect("Flipping Image", [](TBitmap& copy) { return FlipReverse(false, true, copy); });
}

void TDVDForm::RotateButtonClick(TObject*)
{
    ApplyEffect("Rotating Image", [](TBitmap& copy) {
        int angle = StrToInt(InputBox("Enter Rotation Angle", "Angle = 0,90,180,270 ", "0"));
        return RotateBitmap(angle, copy);
    });
}

// Sharpen and antialias change the working copy in place; each pixel of the sharpen sees its
// upper and left neighbours already sharpened.
void TDVDForm::SharpenImage1Click(TObject*)
{
    ApplyEffect("Sharpen Image", [](TBitmap& copy) {
        SharpenBitmap(copy, copy, 2.0f);
        return std::unique_ptr<TBitmap>();
    });
}

void TDVDForm::AntialiasImage1Click(TObject*)
{
    ApplyEffect("AntiAlias Image", [](TBitmap& copy) {
        AntiAliasBitmap(copy, 10);
        return std::unique_ptr<TBitmap>();
    });
}
