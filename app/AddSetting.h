#pragma once
// The layout editor: a modal dialog of the values of one cover layout. The main window fills it
// and reads it back; the editor itself only checks that the name can be stored.
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "MarkupCombo.h"
#include "SpinEdits.h"
#include "StdCtrls.h"

class TSettingsForm : public TForm {
public:
    explicit TSettingsForm(TComponent* owner);
    ~TSettingsForm() override;

    TPanel* Panel2;
    TImage* Image1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label7;
    TLabel* Label8;
    TFloatSpinEdit* leftedit;
    TFloatSpinEdit* topedit;
    TFloatSpinEdit* widthedit;
    TFloatSpinEdit* heightedit;
    TFloatSpinEdit* TwinDistEdit;
    TGroupBox* GroupBox1;
    TLabel* Label5;
    TLabel* Label6;
    TLabel* Label9;
    TLabel* Label10;
    TEdit* SettingName;
    TMarkupComboBox* CDStyleCombo;
    TMarkupComboBox* IconCombo;
    TComboBox* twinprintcombo;
    TButton* Button1;
    TButton* Button2;
    TImageList* ImageList2;

    // "&Ok": closes with OK unless the name holds characters a layout cannot store; those it names.
    void Button2Click(TObject* sender);

private:
    TFloatSpinEdit* AddInchEdit(TLabel*& label, const String& caption, int top, double value);
    TLabel* AddLabel(TWinControl* parent, const String& caption, int left, int top, int width);
    void DrawIllustration();
};
