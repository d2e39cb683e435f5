// Making a double-feature cover and adding it to the batch.
#include "PrintUnit.h"

#include "DoubFeatUnit.h"

void TDVDForm::CreateADoubleFeatureDVDCover1Click(TObject*)
{
    auto composer = std::make_unique<TDoubFeatForm>(this);
    if (composer->ShowModal() != mrOk)
        return;
    // Loaded before it joins the batch: a file that fails here must not fail every print after.
    CDImage->Picture().LoadFromFile(composer->SavedFileName);
    CurrentFile = composer->SavedFileName;
    OpenPictureDialog->Files.Add(CurrentFile);
    LastIndex = OpenPictureDialog->Files.Count() - 1;
    Label2->SetCaption("  Batch Images 1 of " + IntToStr(OpenPictureDialog->Files.Count()));
    PrintstyleChange(PrintStyle);
}
