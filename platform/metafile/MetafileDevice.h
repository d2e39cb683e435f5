#pragma once
// The device context a metafile's records are played on: the drawing state that GDI keeps (the
// object table's pens, brushes, fonts, palettes and regions; the mapping mode with its window and
// viewport; the world transform; clipping; the path; saved states) over a QPainter on the
// picture. Without a painter it only measures where the records draw and what drawing them
// costs, so that a picture is sized and judged before memory is spent on it.
#include "MetafileFormat.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <variant>
#include <vector>

class QPainter;
class QPen;
class QBrush;

// The GDI values the records carry.
namespace gdi {
enum MapMode { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };
enum : int { TRANSPARENT = 1, OPAQUE = 2, ALTERNATE = 1, WINDING = 2, GM_ADVANCED = 2 };
enum : int { PS_NULL = 5, PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_GEOMETRIC = 0x10000 };
enum : int { BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3 };
enum : unsigned { TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24 };
enum : unsigned { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_GLYPH_INDEX = 0x10, ETO_NO_RECT = 0x100, ETO_SMALL_CHARS = 0x200, ETO_PDY = 0x2000 };
enum : int { RGN_AND = 1, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY };
enum : uint32_t { SRCCOPY = 0x00CC0020, PATCOPY = 0x00F00021 };
}  // namespace gdi

struct TMetaPen {
    int Style = 0;           // the PS_ style with its end cap, join and type bits
    double Width = 0;        // logical units; 0 is one device pixel
    bool Cosmetic = true;    // one device pixel whatever the mapping
    uint32_t Color = 0;      // a colour reference
    std::vector<double> Dashes;  // a user style, in pen widths
};

struct TMetaBrush {
    int Style = gdi::BS_SOLID;
    uint32_t Color = 0xFFFFFF;
    int Hatch = 0;
    QImage Pattern;          // BS_PATTERN; a monochrome one is drawn in the text and background colours
    bool Monochrome = false;
};

struct TMetaFont {
    int Height = 0, Width = 0, Escapement = 0, Weight = 0;
    bool Italic = false, Underline = false, StrikeOut = false;
    String Face;
};
// A font as the records describe it: 16-bit fields and an 8-bit face name in 16-bit metafiles,
// 32-bit fields and a UTF-16 name in enhanced ones.
std::shared_ptr<const TMetaFont> ReadLogFont(const TRecordReader& r, bool wide);

struct TMetaPalette {
    std::vector<uint32_t> Colors;  // colour references
};

using TMetaRegion = std::vector<QRectF>;  // logical units

using TMetaObject = std::variant<std::monostate, std::shared_ptr<const TMetaPen>, std::shared_ptr<const TMetaBrush>,
                                 std::shared_ptr<const TMetaFont>, std::shared_ptr<const TMetaPalette>,
                                 std::shared_ptr<const TMetaRegion>>;

// What SaveDC keeps.
struct TDcState {
    std::shared_ptr<const TMetaPen> Pen;
    std::shared_ptr<const TMetaBrush> Brush;
    std::shared_ptr<const TMetaFont> Font;
    std::shared_ptr<const TMetaPalette> Palette;
    uint32_t TextColor = 0, BkColor = 0xFFFFFF;
    int BkMode = gdi::OPAQUE, FillMode = gdi::ALTERNATE, Rop2 = 13, GraphicsMode = 1;
    unsigned TextAlign = 0;
    int CharExtra = 0;
    bool Clockwise = false;
    double MiterLimit = 10;
    int MapMode = gdi::MM_TEXT;
    QPointF WindowOrg, ViewportOrg;
    QSizeF WindowExt{1, 1}, ViewportExt{1, 1};
    QTransform World;
    QPointF Position;
    std::optional<QRegion> Clip;  // picture pixels
};

// One text record: where, what, and how it is spaced and boxed (logical units).
struct TTextRun {
    QPointF Origin;
    QString Text;
    unsigned Options = 0;
    QRectF Rect;
    std::vector<double> Dx;  // the advance after each character; empty for the font's own
};

enum class TArcKind { Arc, ArcTo, Chord, Pie };

class TMetafileDevice {
public:
    // toImage maps device units onto the picture; picture is the picture's rectangle, empty while
    // only the picture's extent is looked for (nothing is clipped or judged then). pixelsPerInch
    // are the device's, for the metric and English mapping modes.
    TMetafileDevice(QPainter* painter, const QTransform& toImage, const QRectF& picture, QPointF pixelsPerInch,
                    const TMetafileLimits& limits, std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now());
    ~TMetafileDevice();

    // Counts one record; raises EMetafileLimit once the picture has taken too long. Every so
    // often (between records, and between the drawings of one) it calls Waiting, which keeps
    // the windows alive.
    void Record();
    // Raises EMetafileLimit when the time is up, or would be by drawing what costs cost; calls
    // Waiting when it is time to.
    void CheckTime(double cost);
    std::function<void()> Waiting;
    // Raster operations can leave the picture's pixels with no alpha; this puts it back.
    void Finish(QImage& image) const;
    double Work() const { return work_; }
    // Counts work that draws nothing by itself, such as decoding a bitmap.
    void Spend(double cost);
    // False while only measuring: what is only drawn need not be decoded.
    bool Drawing() const { return painter_ != nullptr; }
    // The part of the picture that the records drew on (device units while there is no picture).
    QRectF Drawn() const { return drawn_; }
    // The first window extent set with the viewport following it, and whether there was one.
    std::optional<QSizeF> FirstWindowExt() const { return firstWindowExt_; }
    // A 16-bit metafile without a frame: the viewport takes the window's size, one device unit a
    // logical one, until the records set a viewport of their own.
    void FollowWindow() { followWindow_ = true; }
    // A placeable 16-bit metafile: its frame is both window and viewport until the records say otherwise.
    void SetFrame(const QRectF& frame);

    TDcState& State() { return state_; }
    QColor Color(uint32_t colorRef) const;

    // Mapping.
    void SetMapMode(int mode);
    void SetWindowOrg(QPointF p);
    void SetWindowExt(QSizeF s);
    void SetViewportOrg(QPointF p);
    void SetViewportExt(QSizeF s);
    void OffsetWindowOrg(QPointF d) { SetWindowOrg(state_.WindowOrg + d); }
    void OffsetViewportOrg(QPointF d) { SetViewportOrg(state_.ViewportOrg + d); }
    void ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void SetWorldTransform(const QTransform& t);
    void ModifyWorldTransform(const QTransform& t, int mode);
    void Changed() { transformDirty_ = true; }

    // Saved states and objects.
    void SaveDC();
    void RestoreDC(int which);
    void SetObjectTableSize(size_t size);
    bool AddObject(TMetaObject object);            // the lowest free slot, as 16-bit metafiles number them
    void PutObject(uint32_t index, TMetaObject object);
    void SelectObject(uint32_t index);
    void DeleteObject(uint32_t index);
    const TMetaObject* Object(uint32_t index) const;
    // Counts the pixels of a pattern brush against the limit before it is decoded.
    void AllowPattern(int64_t pixels);
    void AllowBitmap(int64_t width, int64_t height) const;
    // Raises EMetafileLimit for a record of more points (or rectangles) than the limits allow.
    void AllowPoints(uint64_t count) const;

    // Drawing, in logical units.
    void MoveTo(QPointF p);
    void LineTo(QPointF p);
    void Polyline(std::span<const QPointF> points, bool fromPosition = false);
    void Polygon(std::span<const QPointF> points);
    void PolyPolygon(std::span<const QPointF> points, std::span<const uint32_t> counts);
    void PolyPolyline(std::span<const QPointF> points, std::span<const uint32_t> counts);
    void PolyBezier(std::span<const QPointF> points, bool fromPosition);
    void PolyDraw(std::span<const QPointF> points, std::span<const uint8_t> types);
    void Rectangle(const QRectF& box);
    void RoundRect(const QRectF& box, QSizeF corner);
    void Ellipse(const QRectF& box);
    void Arc(TArcKind kind, const QRectF& box, QPointF start, QPointF end);
    void AngleArc(QPointF center, double radius, double startDegrees, double sweepDegrees);
    void SetPixel(QPointF p, uint32_t colorRef);
    void PatBlt(const QRectF& box, uint32_t rop);
    void FillRegion(const TMetaRegion& region, const TMetaBrush* brush);
    void FrameRegion(const TMetaRegion& region, const TMetaBrush* brush, QSizeF stroke);
    void GradientRect(const QRectF& box, QColor from, QColor to, bool vertical);
    void GradientTriangle(const QPointF (&corners)[3], QColor average);
    void Text(const TTextRun& run);
    // src is in the picture's pixels (top row first); a negative extent mirrors.
    void Bitmap(const QRectF& dest, const QImage& image, const QRectF& src, uint32_t rop, int constantAlpha = 255);

    // Paths.
    void BeginPath();
    void EndPath() { pathOpen_ = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);

    // Clipping.
    void IntersectClipRect(const QRectF& box);
    void ExcludeClipRect(const QRectF& box);
    void OffsetClip(QPointF d);
    // rects in device units; an empty list with RGN_COPY removes the clip.
    void SelectClipRegion(std::span<const QRectF> rects, int mode, bool logical);

private:
    const QTransform& Transform();
    QTransform PageTransform() const;
    QRegion ToRegion(const QRectF& logical);
    QRegion ToRegion(const QPainterPath& image, Qt::FillRule rule);
    void CombineClip(const QRegion& region, int mode);
    // The most rectangles that rects (picture pixels), combined with other, can make.
    double RegionBound(std::span<const QRect> rects, const QRegion* other) const;
    // Counts making a region of so many rectangles; raises EMetafileLimit for one too many to clip with.
    void AllowRegion(double rectangles);
    // What setting the clip on the painter costs, and whether it is given to it as a path.
    static double ClipCost(const QRegion& clip);
    static bool ClipAsPath(const QRegion& clip);
    // Sets the painter's clip to the region, in picture pixels.
    void SetPainterClip(const QRegion& clip);
    // Notes where the records draw (box, picture pixels) and counts what drawing it costs;
    // raises EMetafileLimit past the limit, and says whether there is anything to draw.
    bool Touch(const QRectF& box, double cost);
    bool TouchArea(const QRectF& box, double extra);  // the cost of filling box, plus extra
    double SeenArea(const QRectF& box) const;         // the part of box on the picture
    // What filling a shape (or stroking it with a pen w pixels wide) costs beyond its area; the
    // shape in logical units, or in the picture's pixels when image.
    double ScanCost(const QPainterPath& path, bool image, double w);
    double ScanCost(std::span<const QPointF> points, double w);
    // Filling a shape whose edges cross so many rows, and that is so wide.
    static double RowsCost(double rows, double width, double w);
    double Across() const;  // the picture's diagonal: the longest line seen on it
    // What drawing lines so long (picture pixels) with a pen w pixels wide costs, within box.
    double LineCost(double along, double w, const QRectF& box) const;
    // Runs draw, which paints within box (picture pixels) and costs cost, a band of rows at a
    // time; outlined when it draws with the painter's pen and brush.
    void InBands(const QRectF& box, double cost, const std::function<void()>& draw, bool outlined = true);
    double Scale();        // picture pixels a logical unit, along the longer axis
    double StrokeWidth();  // picture pixels
    bool Painting();       // a painter to draw with, its clip and raster operation set
    void UseLogical();
    void UseImage();
    bool SetPen(bool logical);
    bool SetBrush(const TMetaBrush* brush, bool logical);
    QBrush MakeBrush(const TMetaBrush& brush) const;
    void DrawShape(const QPainterPath& logical, bool fill, bool stroke);
    void AddToPath(const QPainterPath& logical);
    QPainterPath ArcPath(TArcKind kind, const QRectF& box, QPointF start, QPointF end, bool clockwise);
    // The font Qt draws a text with, and how its glyphs are scaled to the size the record asks for.
    struct TTextFont {
        QFont Font;
        double ScaleX = 1, ScaleY = 1;
        bool Outlines = false;  // drawn as filled outlines rather than Qt's glyphs
    };
    TTextFont FontFor(const TMetaFont& font, double pixels, double widthPixels);

    QPainter* painter_;
    QTransform toImage_;
    QRectF picture_;
    QPointF pixelsPerInch_;
    TMetafileLimits limits_;
    TDcState state_;
    std::vector<TDcState> saved_;
    int savedBeyondLimit_ = 0;
    std::vector<TMetaObject> objects_;
    size_t objectLimit_ = 0;
    bool followWindow_ = false;
    std::optional<QSizeF> firstWindowExt_;
    QTransform transform_;
    bool transformDirty_ = true;
    enum class Space { None, Logical, Image } painterSpace_ = Space::None;
    std::optional<QRegion> appliedClip_;
    bool clipKnown_ = false;
    int appliedRop_ = -1;
    bool rasterOps_ = false;
    bool pathOpen_ = false;
    QPainterPath path_;  // picture pixels
    double work_ = 0;
    double patternPixels_ = 0;
    QRectF drawn_;
    int records_ = 0;
    std::chrono::steady_clock::time_point start_, lastWait_;
    // Fonts made for a size, kept while the same font object draws.
    const TMetaFont* fontFor_ = nullptr;
    double fontPixels_ = 0, fontWidthPixels_ = 0;
    TTextFont font_;
};
