#pragma once
// TDoubFeatForm: joins two cover pictures into one double-feature cover, previews it and saves
// it as a bitmap or JPEG file.
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "RadioGroup.h"
#include "StdCtrls.h"
#include "ToolEdit.h"

#include <memory>

class TDoubFeatForm : public TForm {
public:
    explicit TDoubFeatForm(TComponent* owner);
    ~TDoubFeatForm() override;

    TPanel* TitlePanel;
    TLabel* Label1;  // "Top Cover"
    TFilenameEdit* FilenameEdit1;
    TLabel* Label2;  // "Bottom Cover"
    TFilenameEdit* FilenameEdit2;
    TRadioGroup* Prin;  // "Printing Style"
    TImage* MyImage;
    TPanel* PreviewPanel;
    TPaintBox* Previewbox;
    TButton* Button2;  // "&Create"
    TButton* Button1;  // "&Save"
    TButton* Button3;  // "&Cancel"
    TSavePictureDialog* SavePictureDialog1;

    std::unique_ptr<TBitmap> ResultBitmap;
    std::unique_ptr<TBitmap> TopBitmap;
    std::unique_ptr<TBitmap> BottomBitmap;
    String SavedFileName;
    // What the preview box shows, kept so that a repaint shows it again.
    std::unique_ptr<TBitmap> PreviewImage;

    void TopCoverEditChange(TObject* sender);
    void BottomCoverEditChange(TObject* sender);
    void Button2Click(TObject* sender);
    void Button1Click(TObject* sender);
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);

    void Compose();
    void SourceRect(TBitmap& Cover, TRect& Rect);
    void DrawComposerPreview(const TBitmap& Bitmap);

private:
    // One cover edit with the file its stored picture came from.
    struct CoverSource {
        TFilenameEdit* edit;
        const char* caption;
        String loaded;
    };
    void LoadCover(const String& fileName, TBitmap& cover);
    void CoverEditChange(CoverSource& source, TBitmap& cover);
    // Loads what an edit names when that is not what its cover holds; false after saying why.
    bool CoverReady(CoverSource& source, TBitmap& cover);
    // True, after naming the cover, when its edit names no file or nothing was loaded from it.
    bool CoverMissing(const CoverSource& source, const TBitmap& cover);
    CoverSource top_{};
    CoverSource bottom_{};
};
