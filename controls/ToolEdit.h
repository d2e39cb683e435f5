#pragma once
// The file-name edit: an edit box whose button picks a file name through a file dialog.
#include "BaseEdit.h"
#include "Dialogs.h"

#include <functional>
#include <memory>

using TExecOpenDialogEvent = std::function<void(TObject* sender, String& name, bool& action)>;

// File-system names: dialog events and the shared default glyph.
class TFileDirEdit : public TCustomComboEdit {
public:
    explicit TFileDirEdit(TComponent* owner);
    TExecOpenDialogEvent OnBeforeDialog;
    TExecOpenDialogEvent OnAfterDialog;
    bool MultipleNames() const { return multipleNames_; }
    // Files dragged from the file manager can be dropped on the edit.
    bool AcceptFiles() const { return AcceptsFiles(); }
    void SetAcceptFiles(bool value) { DragAcceptFiles(value); }
    TNotifyEvent OnDropFiles;
    // The first dropped name, or all of them with MultipleNames; then OnDropFiles.
    void DropFiles(const std::vector<String>& names) override;

    virtual String LongNamePart() const = 0;
    virtual String ShortNamePart() const = 0;
    virtual void TakeDroppedName(const String& name) = 0;
    virtual void ClearDialogFiles() {}

protected:
    const TBitmap* DefaultGlyphBitmap() const override;
    void FireBeforeDialog(String& name, bool& action) { Fire(OnBeforeDialog, this, name, action); }
    void FireAfterDialog(String& name, bool& action) { Fire(OnAfterDialog, this, name, action); }
    bool multipleNames_ = false;
};

enum TFileDialogKind { dkOpen, dkSave, dkOpenPicture, dkSavePicture };

class TFilenameEdit : public TFileDirEdit {
public:
    explicit TFilenameEdit(TComponent* owner);
    ~TFilenameEdit() override;

    TFileDialogKind DialogKind() const { return dialogKind_; }
    void SetDialogKind(TFileDialogKind value);
    TOpenDialog& Dialog() { return *dialog_; }

    String FileName() const;
    // Raises EComboEditError "Invalid file name - %s" for a name that cannot be a file's.
    void SetFileName(const String& value);
    String DefaultExt() const { return dialog_->DefaultExt; }
    void SetDefaultExt(const String& value) { dialog_->DefaultExt = value; }
    String Filter() const { return dialog_->Filter; }
    void SetFilter(const String& value) { dialog_->Filter = value; }
    String InitialDir() const { return dialog_->InitialDir; }
    void SetInitialDir(const String& value) { dialog_->InitialDir = value; }
    String DialogTitle() const { return dialog_->Title; }
    void SetDialogTitle(const String& value) { dialog_->Title = value; }
    unsigned DialogOptions() const { return dialog_->Options; }
    void SetDialogOptions(unsigned value);
    int FilterIndex() const { return dialog_->FilterIndex; }
    void SetFilterIndex(int value) { dialog_->FilterIndex = value; }
    TStrings& HistoryList() { return dialog_->HistoryList; }
    void SetHistoryList(const TStrings& value) { dialog_->HistoryList.Assign(value); }
    TFileEditStyle FileEditStyle() const { return dialog_->FileEditStyle; }
    void SetFileEditStyle(TFileEditStyle value) { dialog_->FileEditStyle = value; }

    String LongNamePart() const override;
    String ShortNamePart() const override;
    void TakeDroppedName(const String& name) override;
    void ClearDialogFiles() override { dialog_->Files.Clear(); }

    // The text as a file name: itself when such a file exists, else its first parameter.
    static String NameFromText(const String& text);
    static String QuoteIfBlank(const String& text);

protected:
    void DoButtonClick() override;

private:
    void MakeDialog();
    std::unique_ptr<TOpenDialog> dialog_;
    TFileDialogKind dialogKind_ = dkOpen;
};
