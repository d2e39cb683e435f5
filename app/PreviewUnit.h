#pragma once
// The print preview window: the page at 74 pixels per inch on an inch grid.
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "XPLookSettings.h"

class TPreviewForm : public TForm {
public:
    explicit TPreviewForm(TComponent* owner);
    ~TPreviewForm() override;

    TPanel* Panel1;
    TToolBar* ToolBar1;
    TXPLook* XPLook1 = nullptr;
    TToolButton* ToolButton2;
    TToolButton* ToolButton3;
    TToolButton* ToolButton4;
    TPaintBox* PreviewBox;
    TStatusBar* StatusBar1;
    TPrinterSetupDialog* PrinterSetupDialog1;

    std::unique_ptr<TBitmap> FirstBitmap;
    std::unique_ptr<TBitmap> SecondBitmap;

    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void PreviewBoxPaint(TObject* sender);
    void ToolButton2Click(TObject* sender);
    void ToolButton3Click(TObject* sender);
    void ToolButton4Click(TObject* sender);
};

extern TPreviewForm* PreviewForm;
