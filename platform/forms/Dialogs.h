#pragma once
// Message boxes, input boxes and the common dialogs, behind one service that tests can script.
#include "Forms.h"

#include <memory>
#include <vector>

enum : unsigned { MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
                  MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40 };
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

enum TFileEditStyle { fsEdit, fsComboBox };

// What a file dialog shows besides its title, filter and default extension.
struct TFileDialogSetup {
    // The filter shown first, from 1; the dialog answers with the one the user chose.
    int FilterIndex = 1;
    // Names offered again in the dialog when the edit style is fsComboBox.
    std::vector<String> History;
    TFileEditStyle EditStyle = fsEdit;
    // The file the dialog opens with, selected (its folder shown); empty for none.
    String FileName;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // Returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(const String& text, const String& caption, unsigned flags);
    // Files chosen (full paths, in the order given); false when cancelled.
    virtual bool OpenFiles(const String& title, const String& filter, const String& defaultExt, bool multiSelect,
                           const String& initialDir, std::vector<String>& files, TFileDialogSetup& setup);
    // OpenFiles with the picture preview pane beside the real dialog's file list; a service that
    // answers OpenFiles itself answers this too.
    bool OpenPictureFiles(const String& title, const String& filter, const String& defaultExt, bool multiSelect,
                          const String& initialDir, std::vector<String>& files, TFileDialogSetup& setup);
    virtual bool SaveFile(const String& title, const String& filter, const String& defaultExt, String& fileName,
                          TFileDialogSetup& setup);
    // The printer setup dialog over the current printer; false when cancelled.
    virtual bool PrinterSetup();
    // False when cancelled.
    virtual bool InputQuery(const String& caption, const String& prompt, String& value);
    virtual TModalResult ShowModal(TForm& form);

private:
    bool picturePreview_ = false;
};

TDialogService& Dialogs();
// Replaces the service (tests); nullptr restores the real dialogs. The caller keeps ownership.
void SetDialogService(TDialogService* service);

void ShowMessage(const String& text);
String InputBox(const String& caption, const String& prompt, const String& defaultValue);
bool InputQuery(const String& caption, const String& prompt, String& value);

enum TOpenOption { ofReadOnly = 1, ofHideReadOnly = 2, ofAllowMultiSelect = 4, ofEnableSizing = 8, ofFileMustExist = 16 };

class TOpenDialog : public TComponent {
public:
    using TComponent::TComponent;
    String Title;
    String Filter;
    String DefaultExt;
    String InitialDir;
    unsigned Options = ofHideReadOnly | ofEnableSizing;
    String FileName;
    TStringList Files;
    // The filter shown first, from 1; after Execute the one the user chose.
    int FilterIndex = 1;
    TStringList HistoryList;
    TFileEditStyle FileEditStyle = fsEdit;
    // The help topic of the dialog; the platform's dialogs offer no help, so it is only carried.
    int HelpContext = 0;
    // False when cancelled; then FileName and Files keep the last selection.
    virtual bool Execute();

protected:
    TFileDialogSetup Setup() const;
    bool Take(const std::vector<String>& chosen);
};

// Its filter is built from the picture-format registry when left empty.
class TOpenPictureDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};

class TSavePictureDialog : public TSaveDialog {
public:
    using TSaveDialog::TSaveDialog;
};

class TPrinterSetupDialog : public TComponent {
public:
    using TComponent::TComponent;
    bool Execute() { return Dialogs().PrinterSetup(); }
};

// "Bitmaps (*.bmp)|*.bmp|..." as Qt name filters.
String QtNameFilters(const String& filter);
