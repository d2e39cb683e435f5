#pragma once
// TDriveComboBoxEx: the drive picker of the track finder. Each line shows the drive letter, a
// colon, a blank and the drive's name, after the shell's own small icon of the drive.
#include "FileCtrl.h"

class TDriveComboBoxEx : public TDriveComboBox {
public:
    explicit TDriveComboBoxEx(TComponent* owner);

    // Published; reads "1.2.0.0", assigning is ignored.
    String Version() const;
    void SetVersion(const String&) {}

    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;

protected:
    void BuildList() override;
};
