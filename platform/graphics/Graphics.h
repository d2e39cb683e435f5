#pragma once
// Colours, fonts, pens, brushes, the canvas and the graphic classes with their format registry.
#include "Classes.h"
#include "Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <set>

class QPainter;
class QPaintDevice;
class QImage;
class QFont;

// ---- colours ----------------------------------------------------------------------------------
using TColor = int32_t;  // low three bytes red, green, blue; system colours have the high bit set

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// System colours resolve through one fixed table so that drawing is repeatable.
TColor ColorToRGB(TColor color);
inline uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
inline uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
inline uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
inline TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// ---- fonts, pens, brushes ----------------------------------------------------------------------
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    void Changed() { Fire(OnChange, this); }
};

enum TFontQuality { fqDefault, fqNonAntialiased };

class TFont : public TGraphicsObject {
public:
    TFont();
    String Name() const { return name_; }
    void SetName(const String& name) { name_ = name; Changed(); }
    // Positive: the character cell's height in pixels; negative: the character height.
    int Height() const { return height_; }
    void SetHeight(int h) { height_ = h; Changed(); }
    // Points at PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    int PixelsPerInch = 96;
    TColor Color() const { return color_; }
    void SetColor(TColor c) { color_ = c; Changed(); }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s) { style_ = s; Changed(); }
    // Escapement of the text's base line, tenths of a degree counter-clockwise.
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenths) { orientation_ = tenths; Changed(); }
    // Whether the characters' edges are smoothed into the ground.
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality q) { quality_ = q; Changed(); }
    void Assign(const TPersistent& source) override;
    // The Qt font for this description, with installed stand-ins for Windows font names.
    QFont ToQFont() const;

private:
    String name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_ = 0;
    int orientation_ = 0;
    TFontQuality quality_ = fqDefault;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmNot, pmXor, pmMerge, pmMask };

class TPen : public TGraphicsObject {
public:
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
    void Assign(const TPersistent& source) override;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    void Assign(const TPersistent& source) override;
};

// ---- canvas ---------------------------------------------------------------------------------
// DrawText flags, as the Parts use them.
enum : unsigned {
    DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000,
    DT_PATH_ELLIPSIS = 0x4000, DT_WORD_ELLIPSIS = 0x40000, DT_RTLREADING = 0x20000,
};

class TBitmap;
class TGraphic;
class TTextMetrics;

// Drawing follows the class library's pixel rules: LineTo leaves out its end pixel, Rectangle
// and FillRect leave out the right and bottom edges, TextOut places the top-left of the
// character cell, and a solid brush gives text an opaque background.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TFont Font;
    TPen Pen;
    TBrush Brush;
    TPoint PenPos;

    void MoveTo(int x, int y) { PenPos = {x, y}; }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    void Polygon(const TPoint* points, int count);
    void Polyline(const TPoint* points, int count);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);
    // Opaque in the brush colour, transparent when the brush is clear or its colour is clNone.
    void TextOut(int x, int y, const String& text);
    void TextRect(const TRect& r, int x, int y, const String& text);
    TPoint TextExtent(const String& text);
    int TextWidth(const String& text) { return TextExtent(text).X; }
    int TextHeight(const String& text) { return TextExtent(text).Y; }
    // Returns the height of the text; with DT_CALCRECT only measures, widening or narrowing r.
    int DrawText(const String& text, TRect& r, unsigned flags);
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor c);
    // The 24- or 32-bit bitmap at (x, y) without its pixels of the key colour (an RGB colour):
    // each other pixel is set as SetPixel sets it.
    void DrawKeyed(int x, int y, const TBitmap& bitmap, TColor key);
    // Clipping, in device pixels; an empty optional removes it.
    void SetClipRect(const TRect& r);
    void ClearClip();
    bool HasClip() const { return clipped_; }
    TRect ClipRect() const;

    // Pixels per inch of the device (LOGPIXELSX, LOGPIXELSY).
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // Colour depth of the device (BITSPIXEL): 1, 8, 16, 24 or 32; the screen's without one.
    int BitsPerPixel() const;
    bool HandleAllocated() const { return painter_ != nullptr || device_ != nullptr; }
    // Measures text through these metrics instead of the font's (not owned; nullptr = the font's).
    void SetTextMetrics(TTextMetrics* metrics) { metrics_ = metrics; }
    TTextMetrics* TextMetrics() const { return metrics_; }

    // Platform side: where the canvas draws.
    void BeginOn(QPaintDevice* device);   // the canvas opens and owns a painter when first used
    void Attach(QPainter* painter);       // a painter owned by someone else (a paint event)
    void Release();                       // ends or forgets the painter
    QPainter* Painter();                  // nullptr when nothing to draw on

private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    void FillBackground(const TRect& r, TColor c);
    // Text gets an opaque background in the brush colour unless the brush is clear or clNone.
    bool OpaqueText() const;
    QPaintDevice* device_ = nullptr;
    QPainter* painter_ = nullptr;
    bool ownsPainter_ = false;
    bool clipped_ = false;
    TRect clip_{};
    TTextMetrics* metrics_ = nullptr;
};

// ---- graphics -------------------------------------------------------------------------------
class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    // Refuses a file that is not a regular file or is larger than kMaxPictureFileSize, and one
    // whose first bytes CheckHeader refuses, before the rest is read.
    virtual void LoadFromFile(const String& fileName);
    virtual void SaveToFile(const String& fileName) const;
    // The picture as an image, for drawing and copying; null image when empty.
    virtual QImage ToImage() const = 0;
    virtual void Draw(TCanvas& canvas, const TRect& r) const;
    bool Transparent = false;
    TNotifyEvent OnChange;

protected:
    void Changed() { Fire(OnChange, this); }
    // Raises EInvalidGraphic when the file's first bytes (up to kPictureHeaderSize) declare a
    // picture that must not be decoded.
    virtual void CheckHeader(const uint8_t* data, size_t size) const {}
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// A bitmap; 24-bit rows are blue, green, red, 4-byte aligned, row 0 at the top.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit);
    // A bitmap whose pixels the caller writes in full before anything reads them: they are not
    // cleared first, as they are for every other new bitmap.
    static std::unique_ptr<TBitmap> NewForOverwrite(int width, int height, TPixelFormat format = pf24bit);
    ~TBitmap() override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    TPixelFormat PixelFormat() const { return format_; }
    void SetPixelFormat(TPixelFormat format);
    uint8_t* ScanLine(int row);
    const uint8_t* ScanLine(int row) const;
    int BytesPerLine() const;
    TCanvas& Canvas();
    void Assign(const TPersistent& source) override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    QImage ToImage() const override;
    void SetImage(const QImage& image);  // takes the image's pixels in its nearest format
    void Dormant() {}
    // The colour drawn see-through: the one set (a fixed transparent colour), else the colour of
    // the bottom-left pixel; clDefault for an empty bitmap without a set colour.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

protected:
    void CheckHeader(const uint8_t* data, size_t size) const override;

private:
    void Allocate(int w, int h, TPixelFormat format, bool black = true);
    std::unique_ptr<QImage> image_;
    TPixelFormat format_ = pfDevice;
    std::unique_ptr<TCanvas> canvas_;
    TColor transparentColor_ = clDefault;
};

// A picture read by Qt's readers and kept as an image (icons, PNG).
class TImageGraphic : public TGraphic {
public:
    TImageGraphic();
    ~TImageGraphic() override;
    int Width() const override;
    int Height() const override;
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;
    QImage ToImage() const override;
    void Assign(const TPersistent& source) override;

protected:
    virtual const char* FormatName() const { return nullptr; }
    std::unique_ptr<QImage> image_;
};

class TIcon : public TImageGraphic {
protected:
    const char* FormatName() const override { return "ico"; }
    void CheckHeader(const uint8_t* data, size_t size) const override;
};

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Holds one graphic; loads files through the registry of picture formats.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The graphic as a bitmap; another kind of graphic is replaced by an empty bitmap.
    TBitmap& Bitmap();
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // Raises EInvalidGraphic "Unknown picture file extension (.%s)" for an unregistered extension.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;
    void Assign(const TPersistent& source) override;
    void Clear() { SetGraphic(nullptr); }
    TNotifyEvent OnChange;

    static void RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory);
    static void UnregisterFileFormat(const String& extension);
    // "All (*.bmp;*.jpg)|*.bmp;*.jpg|Bitmaps (*.bmp)|*.bmp|..." in registration order.
    static String GraphicFilter();
    static std::vector<String> RegisteredExtensions();
    // True when a registered format claims the file name's extension.
    static bool HasRegisteredExtension(const String& fileName);

private:
    void Changed();
    std::unique_ptr<TGraphic> graphic_;
};
