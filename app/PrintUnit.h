#pragma once
// The main window: layouts, the picture batch, the track list and every user command.
#include "ComCtrls.h"
#include "CoverTypes.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "XPLookSettings.h"
#include "ImgList.h"
#include "MarkupCombo.h"
#include "MarkupList.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "VeskPopupUnit.h"
#include "TVeskCombo.h"
#include "VeskGaugeUnit.h"
#include "WebImageControl.h"

class TPreviewForm;

extern const char* const kNoImage;              // "No Image": no picture is open
extern const char* const kNeedImageMessage;     // "You need to open an image file!"
extern const char* const kHomePage;

class TDVDForm : public TForm {
public:
    explicit TDVDForm(TComponent* owner);
    ~TDVDForm() override;

    // Published components.
    TStatusBar* StatusBar;
    TPanel* Panel1;
    TToolBar* ToolBar1;
    TToolButton* ToolButton3;
    TToolButton* ToolButton4;
    TToolButton* ToolButton13;
    TToolButton* ToolButton19;
    TToolButton* ToolButton20;
    TToolButton* ToolButton12;
    TToolButton* ToolButton5;
    TToolButton* ToolButton9;
    TToolButton* ToolButton2;
    TToolButton* ToolButton6;
    TToolButton* ToolButton7;
    TToolBar* ToolBar2;
    TToolButton* Previmage;
    TToolButton* NextImage;
    TLabel* Label2;
    TGroupBox* GroupBox1;
    TLabel* Label4;
    TLabel* Label5;
    TVeskLookupCombo* StyleCombo;
    TEdit* SearchBox;
    TButton* Button1;
    TMarkupListBox* MarkupListBox;
    TWebImage* WebImage;
    TVeskGauge* VeskGauge1;
    TGroupBox* GroupBox2;
    TLabel* Label1;
    TMarkupComboBox* PrintStyle;
    TPanel* Panel2;
    TImage* CDImage;
    TImageList* ImageList2;
    TImageList* ImageList3;
    TOpenPictureDialog* OpenPictureDialog;
    TPrinterSetupDialog* PrinterSetupDialog1;
    TVeskPopupMenu* VeskPopupMenu1;
    TPopupMenu* PopupMenu1;
    TXPLook* XPLook1 = nullptr;
    TMenuItem* N1;
    TMenuItem* OverlayCDDBTrackList1;
    TMenuItem* CreateADoubleFeatureDVDCover1;
    TMenuItem* N3;
    TMenuItem* FlipImageVertical1;
    TMenuItem* FlipImageHorizontal1;
    TMenuItem* RotateImage1;
    TMenuItem* N2;
    TMenuItem* SharpenImage1;
    TMenuItem* AntialiasImage1;

    // Handlers.
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void ToolButton4Click(TObject* sender);
    void ToolButton9Click(TObject* sender);
    void ToolButton2Click(TObject* sender);
    void ToolButton6Click(TObject* sender);
    void ToolButton7Click(TObject* sender);
    void PrintstyleChange(TObject* sender);
    // Layout editor.
    void ToolButton19Click(TObject* sender);
    void ToolButton20Click(TObject* sender);
    // Picture batch.
    void ToolButton3Click(TObject* sender);
    void CDImageDblClick(TObject* sender);
    void PrevimageClick(TObject* sender);
    void NextImageClick(TObject* sender);
    // Printing and preview.
    void ToolButton5Click(TObject* sender);
    void ToolButton12Click(TObject* sender);
    // One job per picture of the batch.
    void PrintEachCover();
    void PrintSingleCover();
    void PrintDualCover();
    void DrawImageWithCutLines(TCanvas& canvas, const TRect& rect, const TBitmap& bitmap);
    int CenterX(const String& text);
    void PrintFooter(int x);
    int PointsToPixels(int points);
    void DrawPreview(TPreviewForm& form, const TBitmap& bitmap1, const TBitmap& bitmap2);
    void DrawPreviewImage(TPreviewForm& form, const TBitmap& bitmap, const TRect& rect);
    // Picture effects.
    void ToolButton13Click(TObject* sender);
    void ToolButton14Click(TObject* sender);
    void RotateButtonClick(TObject* sender);
    void SharpenImage1Click(TObject* sender);
    void AntialiasImage1Click(TObject* sender);
    // Track-list overlay.
    void OverlayCDDBTrackList1Click(TObject* sender);
    void CreateADoubleFeatureDVDCover1Click(TObject* sender);
    void PrintTrackList();
    void AddTracklistToBitmap(TBitmap& bitmap);
    void DrawRotatedText(TCanvas& canvas, int angle, int x, int y, const String& text);

    // Cover search.
    void Button1Click(TObject* sender);
    void SearchBoxKeyDown(TObject* sender, int& key, TShiftState shift);
    void MarkupListBoxAnchorHint(TObject* sender, int index, String& anchor);
    void MarkupListBoxAnchorClick(TObject* sender, int index, const String& anchor);
    void WebImageDownLoadProgress(TObject* sender, uint32_t dwSize, uint32_t dwTotSize);
    void WebImageDownLoadComplete(TObject* sender);
    void WebImageDownLoadEnd(TObject* sender);
    // A preview that failed says so, and why, in the status line, until a picture shows again.
    void WebImageDownLoadError(TObject* sender, const String& error);
    // Shows the link's picture, at once when it is kept, else once it has come.
    void ShowPreview(const String& anchor);
    // A picture is shown: a preview failure no longer applies.
    void PreviewShown();
    // False when the download failed: the status then says why.
    bool Search();
    bool DownloadToFile(const String& url, const String& fileName);
    bool DownloadURL(const String& url, const String& fileName);
    // Fills the result list from the reply's bytes; nothing for an empty reply.
    void ParseReply(const std::string& reply);

    void SetStatus(const String& text);
    // Loads a batch file into the picture area and makes the chooser's layout current.
    void LoadPicture(const String& fileName);
    // A 24-bit copy of the picture area's picture, drawn at (0, 0) on white as the area shows it.
    std::unique_ptr<TBitmap> WorkingBitmap();
    // Makes sure a layout is current; false (the user told) when there is none to use.
    bool EnsureCurrentCover();
    // "Printing Finished!", then where the job's file went when it went to one.
    void PrintingFinished();
    void FillStyleCombo();
    void AdjustImageWidth();

    // The window's state; other windows and the tests reach it directly.
    std::unique_ptr<TStringList> XmlText;
    PCoverRec CurrentCover = nullptr;
    std::unique_ptr<TCoverList> CoverList;
    String SettingsFileName;
    String CurrentFile;
    String AppDir;
    std::unique_ptr<TStringList> TrackList;
    bool OverlayTrackList = false;
    int LastIndex = 0;
    int CurrentIndex = 0;
    // The link pointed at while a preview downloaded; shown once that download is over.
    String PendingPreview;
    // The status a preview failure took the place of.
    String StatusBeforePreviewFailure;

private:
    void BuildComponents();
    void BuildGlyphs();
    TToolButton* AddToolButton(TToolBar* bar, const String& caption, const String& hint, int image);
    TToolButton* AddSeparator(TToolBar* bar);
    TMenuItem* AddMenuItem(const String& caption, const String& hint, int image, TNotifyEvent onClick = {});
    void ApplyEffect(const String& status, const std::function<std::unique_ptr<TBitmap>(TBitmap& copy)>& effect);
    String downloadFailure_;  // why the last search download failed
    String pageOverrun_;      // what the page cut off of the last print command, for the user
};

extern TDVDForm* DVDForm;

// Black guides on the rectangle's edges that reach 10 pixels past each corner, end pixels left out.
void DrawCutLines(TCanvas& canvas, const TRect& rect);

// A title strip along the top of a window.
TPanel* MakeTitleStrip(TForm* form, TColor color, const String& caption);

// The header line of a printed page.
String CoverHeader(const TCoverRec& cover, int ppiX, int ppiY);
