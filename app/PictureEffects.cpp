// The picture effects: they change only the picture on screen, never the file.
#include "PrintUnit.h"

#include "FlipRotate.h"

namespace {
// Shared frame of every effect; false (after the message) when no picture is open.
bool NeedPicture(TDVDForm& form, const String& status)
{
    if (form.CurrentFile == kNoImage) {
        ShowMessage(kNeedImageMessage);
        return false;
    }
    form.SetStatus(status);
    return true;
}
}  // namespace

void TDVDForm::ToolButton13Click(TObject*)
{
    if (!NeedPicture(*this, "Flipping Image"))
        return;
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    std::unique_ptr<TBitmap> result = FlipReverse(true, false, *copy);
    CDImage->Picture().Bitmap().Assign(*result);
    SetStatus("OK");
}

void TDVDForm::ToolButton14Click(TObject*)
{
    if (!NeedPicture(*this, "Flipping Image"))
        return;
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    std::unique_ptr<TBitmap> result = FlipReverse(false, true, *copy);
    CDImage->Picture().Bitmap().Assign(*result);
    SetStatus("OK");
}

void TDVDForm::RotateButtonClick(TObject*)
{
    if (!NeedPicture(*this, "Rotating Image"))
        return;
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    int angle = StrToInt(InputBox("Enter Rotation Angle", "Angle = 0,90,180,270 ", "0"));
    std::unique_ptr<TBitmap> result = RotateBitmap(angle, *copy);
    CDImage->Picture().Bitmap().Assign(*result);
    SetStatus("OK");
}

void TDVDForm::SharpenImage1Click(TObject*)
{
    if (!NeedPicture(*this, "Sharpen Image"))
        return;
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    SharpenBitmap(*copy, *copy, 2.0f);
    CDImage->Picture().Bitmap().Assign(*copy);
    SetStatus("OK");
}

void TDVDForm::AntialiasImage1Click(TObject*)
{
    if (!NeedPicture(*this, "AntiAlias Image"))
        return;
    std::unique_ptr<TBitmap> copy = WorkingBitmap();
    AntiAliasBitmap(*copy, 10);
    CDImage->Picture().Bitmap().Assign(*copy);
    SetStatus("OK");
}
