// The picture batch: the files chosen in the open-picture dialog, stepped through one by one.
#include "PrintUnit.h"
#include "WorkingBitmap.h"

void TDVDForm::LoadPicture(const String& fileName)
{
    CurrentFile = fileName;
    try {
        CDImage->Picture().LoadFromFile(fileName);
    } catch (Exception& e) {
        // A decoder's own text says what is wrong, not with which of the batch's files.
        if (e.Message.find(fileName) == String::npos)
            e.Message = Format("The picture \"%s\" cannot be opened: %s", fileName.c_str(), e.Message.c_str());
        throw;
    }
    PrintstyleChange(PrintStyle);
}

std::unique_ptr<TBitmap> TDVDForm::WorkingBitmap()
{
    auto bitmap = std::make_unique<TBitmap>();
    CopyAsShown(CDImage->Picture(), *bitmap);
    return bitmap;
}

void TDVDForm::ToolButton3Click(TObject*)
{
    if (!OpenPictureDialog->Execute())
        return;
    CurrentIndex = 0;
    LastIndex = OpenPictureDialog->Files.Count() - 1;
    Label2->SetCaption("  Batch Images 1 of " + IntToStr(OpenPictureDialog->Files.Count()));
    LoadPicture(OpenPictureDialog->Files[0]);
}

void TDVDForm::CDImageDblClick(TObject* sender) { ToolButton3Click(sender); }

void TDVDForm::PrevimageClick(TObject*)
{
    try {
        CurrentIndex = std::max(CurrentIndex - 1, 0);
        Label2->SetCaption("  Batch Images " + IntToStr(CurrentIndex + 1) + " of " + IntToStr(LastIndex + 1));
        LoadPicture(OpenPictureDialog->Files[CurrentIndex]);
    } catch (const std::exception&) {
        ShowMessage("Error Getting File :" + CurrentFile);
    }
}

void TDVDForm::NextImageClick(TObject*)
{
    try {
        CurrentIndex = CurrentIndex + 1;
        LastIndex = OpenPictureDialog->Files.Count() - 1;
        if (CurrentIndex > LastIndex)
            CurrentIndex = LastIndex;
        Label2->SetCaption("  Batch Images " + IntToStr(CurrentIndex + 1) + " of " + IntToStr(LastIndex + 1));
        LoadPicture(OpenPictureDialog->Files[CurrentIndex]);
    } catch (const std::exception&) {
        ShowMessage("Error Getting File :" + CurrentFile);
    }
}
