// The main window's commands that add and edit cover layouts through the layout editor.
#include "AddSetting.h"
#include "PrintUnit.h"
#include "WindowWait.h"

namespace {
// A distance is refused unless it lies on a page: beyond, the preview and the printer would
// place the picture nowhere (or overflow), and the record's 32-bit float would lose it.
float Inches(const TFloatSpinEdit& edit, const char* label)
{
    const double v = edit.Value();
    if (!(v >= 0 && v <= kMaxLayoutInches))
        throw EConvertError(Format("%s must be from 0 to %g inches, not %s", label,
                                   static_cast<double>(kMaxLayoutInches), Trim(edit.Text()).c_str()));
    return static_cast<float>(v);
}

// Copies the editor's values into a layout record.
void ReadEditor(TSettingsForm& editor, TCoverRec& rec)
{
    rec.Left = Inches(*editor.leftedit, "Dist From Left");
    rec.Top = Inches(*editor.topedit, "Dist From Top");
    rec.Width = Inches(*editor.widthedit, "Image Width");
    rec.Height = Inches(*editor.heightedit, "Image Height");
    rec.SetName(editor.SettingName->Text());
    rec.Style = editor.CDStyleCombo->ItemIndex();
    rec.IconIndex = editor.IconCombo->ItemIndex();
    rec.Dual = editor.twinprintcombo->ItemIndex() == 1 ? 1 : 0;
    rec.GapDist = Inches(*editor.TwinDistEdit, "Dual Print Gap Dist");
}

void FillEditor(TSettingsForm& editor, const TCoverRec& rec)
{
    editor.leftedit->SetValue(rec.Left);
    editor.topedit->SetValue(rec.Top);
    editor.widthedit->SetValue(rec.Width);
    editor.heightedit->SetValue(rec.Height);
    editor.SettingName->SetText(rec.Name());
    editor.CDStyleCombo->SetItemIndex(rec.Style);
    editor.IconCombo->SetItemIndex(rec.IconIndex);
    editor.twinprintcombo->SetItemIndex(rec.Dual == 1 ? 1 : 0);
    editor.TwinDistEdit->SetValue(rec.GapDist);
}

// A change reaches the file at once: another copy of the program started afterwards lists it,
// and a crash later on does not lose it. The layout stays in the list when the file refuses it,
// for the next save to write. While another copy saves, the windows repaint under the hourglass
// and Escape gives up.
void SaveLayouts(TCoverList& list)
{
    std::unique_ptr<TWindowWait> wait;
    const auto waiting = [&wait] {
        if (!wait && !(wait = TWindowWait::Begin()))
            return true;
        wait->ProcessEvents();
        return !wait->Cancelled();
    };
    try {
        list.Save(waiting);
    } catch (const Exception& e) {
        wait.reset();
        ShowMessage("The layouts could not be saved : " + e.Message);
    }
}
}  // namespace

void TDVDForm::ToolButton19Click(TObject*)
{
    auto editor = std::make_unique<TSettingsForm>(this);
    try {
        if (editor->ShowModal() == mrOk) {
            auto rec = std::make_unique<TCoverRec>();
            ReadEditor(*editor, *rec);
            CoverList->AddCover(std::move(rec));
            FillStyleCombo();
            SaveLayouts(*CoverList);
        }
    } catch (const std::exception& e) {
        ShowMessage(String("Error Adding Settings : ") + e.what());
    }
}

void TDVDForm::ToolButton20Click(TObject*)
{
    if (!CurrentCover)
        return;
    auto editor = std::make_unique<TSettingsForm>(this);
    try {
        FillEditor(*editor, *CurrentCover);
        if (editor->ShowModal() == mrOk) {
            // Read into a copy first, so a failure half-way leaves the layout as it was.
            TCoverRec edited = *CurrentCover;
            ReadEditor(*editor, edited);
            *CurrentCover = edited;
            FillStyleCombo();
            SaveLayouts(*CoverList);
        }
    } catch (const std::exception& e) {
        ShowMessage(String("Error Adding Settings : ") + e.what());
    }
}
