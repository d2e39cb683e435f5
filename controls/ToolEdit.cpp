#include "ToolEdit.h"

#include "CtrlUtils.h"
#include "FileUtil.h"

namespace {

// The 14 x 12 browse glyph: an open folder on the transparent colour (its bottom-left pixel).
std::unique_ptr<TBitmap> MakeFolderGlyph()
{
    auto glyph = std::make_unique<TBitmap>(14, 12, pf24bit);
    TCanvas& c = glyph->Canvas();
    c.Brush.Color = clFuchsia;
    c.FillRect({0, 0, 14, 12});
    c.Brush.Color = clBlack;
    c.FrameRect({1, 3, 12, 11});
    c.FillRect({2, 2, 6, 3});
    c.Brush.Color = clYellow;
    c.FillRect({2, 4, 11, 10});
    c.Release();
    return glyph;
}

String FolderPart(const String& name)
{
    const size_t slash = name.find_last_of('/');
    return slash == String::npos ? String() : name.substr(0, slash + 1);
}

String NamePart(const String& name)
{
    const size_t slash = name.find_last_of('/');
    return slash == String::npos ? name : name.substr(slash + 1);
}

}  // namespace

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner)
{
    creating_ = true;
    SetGlyphKind(gkDefault);
    creating_ = false;
    PlaceButton();
}

void TFileDirEdit::DropFiles(const std::vector<String>& names)
{
    ClearDialogFiles();
    for (const String& name : names) {
        TakeDroppedName(name);
        if (!multipleNames_)
            break;
    }
    Fire(OnDropFiles, this);
}

const TBitmap* TFileDirEdit::DefaultGlyphBitmap() const
{
    // Shared by every file-name edit, made on first need and kept to the end of the program.
    static const std::unique_ptr<TBitmap> glyph = MakeFolderGlyph();
    return glyph.get();
}

TFilenameEdit::TFilenameEdit(TComponent* owner) : TFileDirEdit(owner) { MakeDialog(); }

TFilenameEdit::~TFilenameEdit() = default;

void TFilenameEdit::MakeDialog()
{
    std::unique_ptr<TOpenDialog> made;
    switch (dialogKind_) {
    case dkOpen: made = std::make_unique<TOpenDialog>(nullptr); break;
    case dkSave: made = std::make_unique<TSaveDialog>(nullptr); break;
    case dkOpenPicture: made = std::make_unique<TOpenPictureDialog>(nullptr); break;
    case dkSavePicture: made = std::make_unique<TSavePictureDialog>(nullptr); break;
    }
    if (dialog_) {
        made->DefaultExt = dialog_->DefaultExt;
        made->FileEditStyle = dialog_->FileEditStyle;
        made->FileName = dialog_->FileName;
        made->Filter = dialog_->Filter;
        made->FilterIndex = dialog_->FilterIndex;
        made->HistoryList.Assign(dialog_->HistoryList);
        made->InitialDir = dialog_->InitialDir;
        made->Files.Assign(dialog_->Files);
        made->Options = dialog_->Options;
        made->Title = dialog_->Title;
    } else {
        made->Title = "Browse";
        made->Filter = "All files (*.*)|*.*";
        made->Options = ofHideReadOnly;
    }
    dialog_ = std::move(made);
}

void TFilenameEdit::SetDialogKind(TFileDialogKind value)
{
    if (value != dialogKind_) {
        dialogKind_ = value;
        MakeDialog();
    }
}

void TFilenameEdit::SetDialogOptions(unsigned value)
{
    if (value == dialog_->Options)
        return;
    dialog_->Options = value;
    multipleNames_ = (value & ofAllowMultiSelect) != 0;
    if (!multipleNames_)
        ClearDialogFiles();
}

String TFilenameEdit::NameFromText(const String& text)
{
    if (FileExists(text))
        return text;
    String first;
    ParamAt(text, 0, 0, first);
    return first;
}

String TFilenameEdit::QuoteIfBlank(const String& text)
{
    if (text.find(' ') != String::npos && (text.empty() || text[0] != '"'))
        return '"' + text + '"';
    return text;
}

String TFilenameEdit::FileName() const { return NameFromText(Text()); }

void TFilenameEdit::SetFileName(const String& value)
{
    if (!value.empty() && !IsValidFileName(NameFromText(value)))
        throw EComboEditError(Format("Invalid file name - %s", value.c_str()));
    SetText(QuoteIfBlank(value));
    ClearDialogFiles();
}

String TFilenameEdit::LongNamePart() const { return LongFileNamePart(FileName()); }
String TFilenameEdit::ShortNamePart() const { return ShortFileNamePart(FileName()); }

void TFilenameEdit::TakeDroppedName(const String& name)
{
    if (multipleNames_) {
        if (dialog_->Files.Count() == 0)
            SetFileName(name);
        dialog_->Files.Add(name);
    } else {
        SetFileName(name);
    }
}

void TFilenameEdit::DoButtonClick()
{
    TFileDirEdit::DoButtonClick();
    String temp = NameFromText(Text());
    bool action = true;
    FireBeforeDialog(temp, action);
    if (!action)
        return;
    // A strange current text never stops the dialog.
    try {
        if (IsValidFileName(temp)) {
            const String folder = FolderPart(temp);
            if (!folder.empty() && FolderExists(folder))
                SetInitialDir(folder);
            const String name = NamePart(temp);
            if (name.empty() || !IsValidFileName(name))
                temp.clear();
            dialog_->FileName = temp;
        }
    } catch (const std::exception&) {
    }
    dialog_->HelpContext = HelpContext;
    action = dialog_->Execute();
    if (action)
        temp = dialog_->FileName;
    if (Enabled() && Visible())
        SetFocus();
    FireAfterDialog(temp, action);
    if (action) {
        SetText(QuoteIfBlank(temp));
        SetInitialDir(FolderPart(dialog_->FileName));
    }
}
