#pragma once
// The drive combo box: one line per drive, the selected drive letter in the chosen text case,
// a picture per drive type, and OnChange when the user picks another drive. Its lines are
// drawn by the control itself, so that derived pickers can draw them differently.
#include "ListBoxes.h"
#include "StdCtrls.h"

#include <memory>

enum TTextCase { tcLowerCase, tcUpperCase };

class TDriveComboBox : public TComboBox {
public:
    explicit TDriveComboBox(TComponent* owner);
    ~TDriveComboBox() override;

    // The selected drive's letter in TextCase; 0 when no drive is listed.
    char Drive() const { return drive_; }
    // Selects the drive's line (either case); raises OnChange when the drive changes.
    void SetDrive(char drive);
    TTextCase TextCase() const { return textCase_; }
    // Lists the drives anew in the new case.
    void SetTextCase(TTextCase textCase);

    // One picture per drive type.
    TBitmap FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;

    // Lists the drives anew, keeping the selected one when it is still there. A derived
    // picker calls it at the end of its constructor, so that its own BuildList fills the list.
    void Refresh();
    // The user picked a line: it becomes the drive.
    void Change() override;

    // Drawing of a line into rect, with the brush and font set for its state.
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    // Height of a line.
    void MeasureItem(int index, int& height) override;

protected:
    // Fills Items with the drives; the base lists each drive as its letter and a colon.
    virtual void BuildList();
    const TBitmap* DriveTypeBitmap(unsigned driveType) const;

private:
    char drive_ = 0;
    TTextCase textCase_ = tcLowerCase;
};
