// Enhanced metafiles: the header, the walk over the records, and each record played on the device
// context. Offsets inside a record count from the record's start.
#include "MetafileBitmaps.h"
#include "MetafilePlayers.h"

#include <algorithm>

namespace {
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr size_t kHeaderSize = 88;

enum : uint32_t {
    HEADER = 1, POLYBEZIER, POLYGON, POLYLINE, POLYBEZIERTO, POLYLINETO, POLYPOLYLINE, POLYPOLYGON,
    SETWINDOWEXTEX, SETWINDOWORGEX, SETVIEWPORTEXTEX, SETVIEWPORTORGEX, SETBRUSHORGEX, EOF_, SETPIXELV,
    SETMAPPERFLAGS, SETMAPMODE, SETBKMODE, SETPOLYFILLMODE, SETROP2, SETSTRETCHBLTMODE, SETTEXTALIGN,
    SETCOLORADJUSTMENT, SETTEXTCOLOR, SETBKCOLOR, OFFSETCLIPRGN, MOVETOEX, SETMETARGN, EXCLUDECLIPRECT,
    INTERSECTCLIPRECT, SCALEVIEWPORTEXTEX, SCALEWINDOWEXTEX, SAVEDC, RESTOREDC, SETWORLDTRANSFORM,
    MODIFYWORLDTRANSFORM, SELECTOBJECT, CREATEPEN, CREATEBRUSHINDIRECT, DELETEOBJECT, ANGLEARC, ELLIPSE,
    RECTANGLE, ROUNDRECT, ARC, CHORD, PIE, SELECTPALETTE, CREATEPALETTE, SETPALETTEENTRIES, RESIZEPALETTE,
    REALIZEPALETTE, EXTFLOODFILL, LINETO, ARCTO, POLYDRAW, SETARCDIRECTION, SETMITERLIMIT, BEGINPATH, ENDPATH,
    CLOSEFIGURE, FILLPATH, STROKEANDFILLPATH, STROKEPATH, FLATTENPATH, WIDENPATH, SELECTCLIPPATH, ABORTPATH,
    GDICOMMENT = 70, FILLRGN, FRAMERGN, INVERTRGN, PAINTRGN, EXTSELECTCLIPRGN, BITBLT, STRETCHBLT, MASKBLT, PLGBLT,
    SETDIBITSTODEVICE, STRETCHDIBITS, EXTCREATEFONTINDIRECTW, EXTTEXTOUTA, EXTTEXTOUTW, POLYBEZIER16, POLYGON16,
    POLYLINE16, POLYBEZIERTO16, POLYLINETO16, POLYPOLYLINE16, POLYPOLYGON16, POLYDRAW16, CREATEMONOBRUSH,
    CREATEDIBPATTERNBRUSHPT, EXTCREATEPEN, SMALLTEXTOUT = 108, ALPHABLEND = 114, TRANSPARENTBLT = 116,
    GRADIENTFILL = 118,
};

class TEmfPlayer {
public:
    explicit TEmfPlayer(TMetafileDevice& device) : d_(device) {}
    void Play(uint32_t type, const TRecordReader& r);

private:
    static QPointF Point(const TRecordReader& r, size_t at) { return {double(r.S32(at)), double(r.S32(at + 4))}; }
    static QSizeF Size(const TRecordReader& r, size_t at) { return {double(r.S32(at)), double(r.S32(at + 4))}; }
    static QRectF Box(const TRecordReader& r, size_t at) { return QRectF(Point(r, at), Point(r, at + 8)); }
    // count points from at, 32-bit or 16-bit; false when the record holds fewer.
    bool Points(const TRecordReader& r, size_t at, uint64_t count, bool small)
    {
        const size_t size = small ? 4 : 8;
        if (!r.Has(at, count * size))
            return false;
        d_.AllowPoints(count);
        points_.resize(size_t(count));
        for (size_t i = 0; i < count; ++i)
            points_[i] = small ? QPointF(r.S16(at + size * i), r.S16(at + size * i + 2)) : Point(r, at + size * i);
        return true;
    }
    void Poly(uint32_t type, const TRecordReader& r, bool small);
    void PolyPoly(uint32_t type, const TRecordReader& r, bool small);
    void SelectStock(uint32_t index);
    void CreatePen(const TRecordReader& r, bool extended);
    void CreatePatternBrush(const TRecordReader& r, bool mono);
    // A region's rectangles from its data at at; false when they do not fit in the record.
    bool RegionAt(const TRecordReader& r, size_t at, TMetaRegion& region) const;
    const TMetaBrush* Brush(uint32_t index) const;
    void Text(const TRecordReader& r, bool wide);
    void SmallText(const TRecordReader& r);
    void Blit(uint32_t type, const TRecordReader& r);
    void DibBits(const TRecordReader& r, bool stretch);
    // The bitmap a record carries at the given offsets.
    QImage Dib(const TRecordReader& r, size_t bmiAt, size_t bitsAt, TDib& info, bool paletteIndices, bool alpha = false);
    void Gradient(const TRecordReader& r);

    TMetafileDevice& d_;
    std::vector<QPointF> points_;
};

void TEmfPlayer::Poly(uint32_t type, const TRecordReader& r, bool small)
{
    if (!Points(r, 28, r.U32(24), small))
        return;
    switch (type) {
    case POLYBEZIER: case POLYBEZIER16: d_.PolyBezier(points_, false); break;
    case POLYGON: case POLYGON16: d_.Polygon(points_); break;
    case POLYLINE: case POLYLINE16: d_.Polyline(points_); break;
    case POLYBEZIERTO: case POLYBEZIERTO16: d_.PolyBezier(points_, true); break;
    case POLYLINETO: case POLYLINETO16: d_.Polyline(points_, true); break;
    default: break;
    }
}

void TEmfPlayer::PolyPoly(uint32_t type, const TRecordReader& r, bool small)
{
    const uint64_t polygons = r.U32(24), total = r.U32(28);
    std::vector<uint32_t> counts;
    uint64_t sum;
    if (!r.Counts(32, polygons, 4, counts, sum) || sum > total || !Points(r, 32 + polygons * 4, sum, small))
        return;
    if (type == POLYPOLYGON || type == POLYPOLYGON16)
        d_.PolyPolygon(points_, counts);
    else
        d_.PolyPolyline(points_, counts);
}

void TEmfPlayer::SelectStock(uint32_t index)
{
    TDcState& s = d_.State();
    auto brush = [](int style, uint32_t color) {
        auto b = std::make_shared<TMetaBrush>();
        b->Style = style;
        b->Color = color;
        return std::shared_ptr<const TMetaBrush>(b);
    };
    auto pen = [](int style, uint32_t color) {
        auto p = std::make_shared<TMetaPen>();
        p->Style = style;
        p->Color = color;
        return std::shared_ptr<const TMetaPen>(p);
    };
    static constexpr uint32_t kGreys[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
    const uint32_t n = index & 0x7FFFFFFF;
    if (n <= 4)
        s.Brush = brush(gdi::BS_SOLID, kGreys[n]);
    else if (n == 5)
        s.Brush = brush(gdi::BS_NULL, 0);
    else if (n == 6 || n == 7 || n == 8)
        s.Pen = pen(n == 8 ? gdi::PS_NULL : 0, n == 6 ? 0xFFFFFF : 0);
    else if (n == 15)
        s.Palette.reset();
    else if (n >= 10 && n <= 17)
        s.Font = std::make_shared<TMetaFont>();
    else if (n == 18)
        s.Brush = brush(gdi::BS_SOLID, 0xFFFFFF);
    else if (n == 19)
        s.Pen = pen(0, 0);
}

void TEmfPlayer::CreatePen(const TRecordReader& r, bool extended)
{
    auto pen = std::make_shared<TMetaPen>();
    if (!extended) {
        pen->Style = int(r.U32(12));
        pen->Width = std::abs(double(r.S32(16)));
        pen->Cosmetic = pen->Width == 0;
        pen->Color = r.U32(24);
    } else {
        pen->Style = int(r.U32(28));
        pen->Width = r.U32(32);
        pen->Cosmetic = !(pen->Style & gdi::PS_GEOMETRIC);
        if (r.U32(36) == gdi::BS_NULL)
            pen->Style = gdi::PS_NULL;
        pen->Color = r.U32(40);
        const uint64_t entries = std::min<uint32_t>(r.U32(48), 16);
        if (r.Has(52, entries * 4))
            for (size_t i = 0; i < entries; ++i)
                pen->Dashes.push_back(r.U32(52 + 4 * i));
    }
    d_.PutObject(r.U32(8), std::shared_ptr<const TMetaPen>(pen));
}

QImage TEmfPlayer::Dib(const TRecordReader& r, size_t bmiAt, size_t bitsAt, TDib& info, bool paletteIndices, bool alpha)
{
    const TRecordReader header = r.Sub(r.U32(bmiAt), r.U32(bmiAt + 4));
    const TRecordReader bits = r.Sub(r.U32(bitsAt), r.U32(bitsAt + 4));
    if (!header.Size() || !ReadDib(header, d_, info))
        return {};
    d_.Spend(double(info.Width) * info.Height);
    // While measuring, the bitmap stands in by its size alone.
    return d_.Drawing() ? DecodeDib(info, header, bits, d_, paletteIndices, alpha) : QImage(1, 1, QImage::Format_RGB32);
}

void TEmfPlayer::CreatePatternBrush(const TRecordReader& r, bool mono)
{
    auto brush = std::make_shared<TMetaBrush>();
    brush->Style = gdi::BS_PATTERN;
    const TRecordReader header = r.Sub(r.U32(16), r.U32(20));
    TDib info;
    if (header.Size() && ReadDib(header, d_, info)) {
        d_.AllowPattern(int64_t(info.Width) * info.Height);
        brush->Pattern = DecodeDib(info, header, r.Sub(r.U32(24), r.U32(28)), d_, r.U32(12) == 1);
        brush->Monochrome = mono && info.Bits == 1;
    }
    d_.PutObject(r.U32(8), std::shared_ptr<const TMetaBrush>(brush));
}

bool TEmfPlayer::RegionAt(const TRecordReader& r, size_t at, TMetaRegion& region) const
{
    const uint64_t count = r.U32(at + 8);
    if (!r.Has(at + 32, count * 16))
        return false;
    d_.AllowPoints(count);
    region.reserve(size_t(count));
    for (size_t i = 0; i < count; ++i)
        region.push_back(Box(r, at + 32 + 16 * i));
    return true;
}

const TMetaBrush* TEmfPlayer::Brush(uint32_t index) const
{
    const TMetaObject* o = d_.Object(index);
    auto* brush = o ? std::get_if<std::shared_ptr<const TMetaBrush>>(o) : nullptr;
    return brush ? brush->get() : nullptr;
}

void TEmfPlayer::Text(const TRecordReader& r, bool wide)
{
    TTextRun run;
    d_.State().GraphicsMode = int(r.U32(24));
    run.Origin = Point(r, 36);
    const uint64_t count = r.U32(44);
    const size_t textAt = r.U32(48);
    run.Options = r.U32(52);
    run.Rect = Box(r, 56);
    if (!r.Has(textAt, count * (wide ? 2 : 1)))
        return;
    if (wide) {
        run.Text.resize(qsizetype(count));
        for (size_t i = 0; i < count; ++i)
            run.Text[qsizetype(i)] = QChar(r.U16(textAt + 2 * i));
    } else {
        run.Text = QString::fromStdString(AnsiToUtf8(std::string(reinterpret_cast<const char*>(r.At(textAt)), count)));
    }
    // With ETO_PDY each character has an advance down as well as across.
    const size_t step = run.Options & gdi::ETO_PDY ? 8 : 4;
    const size_t dxAt = r.U32(72);
    if (dxAt && r.Has(dxAt, count * step) && run.Text.size() == qsizetype(count)) {
        run.Dx.resize(count);
        for (size_t i = 0; i < count; ++i)
            run.Dx[i] = r.S32(dxAt + step * i);
    }
    d_.Text(run);
}

void TEmfPlayer::SmallText(const TRecordReader& r)
{
    TTextRun run;
    run.Origin = Point(r, 8);
    const uint64_t count = r.U32(16);
    run.Options = r.U32(20);
    d_.State().GraphicsMode = int(r.U32(24));
    size_t at = 36;
    if (!(run.Options & gdi::ETO_NO_RECT)) {
        run.Rect = Box(r, 36);
        at = 52;
    }
    const bool small = run.Options & gdi::ETO_SMALL_CHARS;
    if (!r.Has(at, count * (small ? 1 : 2)))
        return;
    for (size_t i = 0; i < count; ++i)
        run.Text.append(QChar(small ? r.U8(at + i) : r.U16(at + 2 * i)));
    if (small)
        run.Text = QString::fromStdString(AnsiToUtf8(run.Text.toLatin1().toStdString()));
    d_.Text(run);
}

void TEmfPlayer::Blit(uint32_t type, const TRecordReader& r)
{
    const QRectF dest(Point(r, 24), Size(r, 32));
    const uint32_t rop = r.U32(40);
    if (r.U32(88) == 0) {  // no bitmap: the brush alone
        if (type == BITBLT || type == STRETCHBLT)
            d_.PatBlt(dest, rop);
        return;
    }
    const bool stretch = type != BITBLT;
    const QSizeF from = stretch ? Size(r, 100) : dest.size();
    const bool alpha = type == ALPHABLEND && (rop >> 24 & 0xFF) == 1;  // AC_SRC_ALPHA
    TDib info;
    QImage image = Dib(r, 84, 92, info, r.U32(80) == 1, alpha);
    if (image.isNull())
        return;
    const QRectF src = DibSource(info, r.S32(44), r.S32(48), from.width(), from.height());
    if (type == ALPHABLEND) {
        d_.Bitmap(dest, image, src, gdi::SRCCOPY, int(rop >> 16 & 0xFF));
    } else if (type == TRANSPARENTBLT) {
        // Pixels of the transparent colour let the picture behind show.
        const QRgb key = d_.Color(rop).rgb() & 0xFFFFFF;
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((row[x] & 0xFFFFFF) == key)
                    row[x] = 0;
        }
        d_.Bitmap(dest, image, src, gdi::SRCCOPY);
    } else {
        d_.Bitmap(dest, image, src, rop);
    }
}

void TEmfPlayer::DibBits(const TRecordReader& r, bool stretch)
{
    TDib info;
    const QImage image = Dib(r, 48, 56, info, r.U32(64) == 1);
    if (image.isNull())
        return;
    const QSizeF from = Size(r, 40);
    const QRectF dest(Point(r, 24), stretch ? Size(r, 72) : from);
    d_.Bitmap(dest, image, DibSource(info, r.S32(32), r.S32(36), from.width(), from.height()),
              stretch ? r.U32(68) : gdi::SRCCOPY);
}

void TEmfPlayer::Gradient(const TRecordReader& r)
{
    const uint64_t vertices = r.U32(24), meshes = r.U32(28);
    const uint32_t mode = r.U32(32);
    const size_t meshAt = 36 + size_t(std::min<uint64_t>(vertices, r.Size())) * 16;
    const size_t meshSize = mode == 2 ? 12 : 8;
    if (!r.Has(36, vertices * 16) || !r.Has(meshAt, meshes * meshSize))
        return;
    auto vertex = [&](uint32_t i) { return Point(r, 36 + 16 * size_t(i)); };
    auto color = [&](uint32_t i) {
        const size_t at = 36 + 16 * size_t(i) + 8;
        return QColor(r.U16(at) >> 8, r.U16(at + 2) >> 8, r.U16(at + 4) >> 8);
    };
    for (size_t m = 0; m < meshes; ++m) {
        const size_t at = meshAt + meshSize * m;
        uint32_t corner[3] = {r.U32(at), r.U32(at + 4), mode == 2 ? r.U32(at + 8) : 0};
        if (std::any_of(corner, corner + 3, [&](uint32_t i) { return i >= vertices; }))
            continue;
        if (mode == 2) {
            // A triangle of three colours is drawn in their mean.
            const QPointF corners[3] = {vertex(corner[0]), vertex(corner[1]), vertex(corner[2])};
            int sum[3] = {};
            for (uint32_t i : corner) {
                const QColor c = color(i);
                sum[0] += c.red(), sum[1] += c.green(), sum[2] += c.blue();
            }
            d_.GradientTriangle(corners, QColor(sum[0] / 3, sum[1] / 3, sum[2] / 3));
        } else {
            d_.GradientRect(QRectF(vertex(corner[0]), vertex(corner[1])), color(corner[0]), color(corner[1]), mode == 1);
        }
    }
}

void TEmfPlayer::Play(uint32_t type, const TRecordReader& r)
{
    TDcState& s = d_.State();
    switch (type) {
    case POLYBEZIER: case POLYGON: case POLYLINE: case POLYBEZIERTO: case POLYLINETO: Poly(type, r, false); break;
    case POLYBEZIER16: case POLYGON16: case POLYLINE16: case POLYBEZIERTO16: case POLYLINETO16: Poly(type, r, true); break;
    case POLYPOLYLINE: case POLYPOLYGON: PolyPoly(type, r, false); break;
    case POLYPOLYLINE16: case POLYPOLYGON16: PolyPoly(type, r, true); break;
    case POLYDRAW:
    case POLYDRAW16: {
        const uint64_t count = r.U32(24);
        const bool small = type == POLYDRAW16;
        const size_t typesAt = 28 + size_t(std::min<uint64_t>(count, r.Size())) * (small ? 4 : 8);
        if (Points(r, 28, count, small) && r.Has(typesAt, count))
            d_.PolyDraw(points_, std::span<const uint8_t>(r.At(typesAt), size_t(count)));
        break;
    }
    case SETWINDOWEXTEX: d_.SetWindowExt(Size(r, 8)); break;
    case SETWINDOWORGEX: d_.SetWindowOrg(Point(r, 8)); break;
    case SETVIEWPORTEXTEX: d_.SetViewportExt(Size(r, 8)); break;
    case SETVIEWPORTORGEX: d_.SetViewportOrg(Point(r, 8)); break;
    case SCALEVIEWPORTEXTEX: d_.ScaleViewportExt(r.S32(8), r.S32(12), r.S32(16), r.S32(20)); break;
    case SCALEWINDOWEXTEX: d_.ScaleWindowExt(r.S32(8), r.S32(12), r.S32(16), r.S32(20)); break;
    case SETWORLDTRANSFORM:
    case MODIFYWORLDTRANSFORM: {
        const QTransform t(r.F32(8), r.F32(12), r.F32(16), r.F32(20), r.F32(24), r.F32(28));
        type == SETWORLDTRANSFORM ? d_.SetWorldTransform(t) : d_.ModifyWorldTransform(t, int(r.U32(32)));
        break;
    }
    case SETPIXELV: d_.SetPixel(Point(r, 8), r.U32(16)); break;
    case SETMAPMODE: d_.SetMapMode(int(r.U32(8))); break;
    case SETBKMODE: s.BkMode = int(r.U32(8)); break;
    case SETPOLYFILLMODE: s.FillMode = int(r.U32(8)); break;
    case SETROP2: s.Rop2 = int(r.U32(8)); break;
    case SETTEXTALIGN: s.TextAlign = r.U32(8); break;
    case SETTEXTCOLOR: s.TextColor = r.U32(8); break;
    case SETBKCOLOR: s.BkColor = r.U32(8); break;
    case SETARCDIRECTION: s.Clockwise = r.U32(8) == 2; break;
    case SETMITERLIMIT: s.MiterLimit = std::clamp<double>(r.U32(8), 1, 100); break;
    case OFFSETCLIPRGN: d_.OffsetClip(Point(r, 8)); break;
    case EXCLUDECLIPRECT: d_.ExcludeClipRect(Box(r, 8)); break;
    case INTERSECTCLIPRECT: d_.IntersectClipRect(Box(r, 8)); break;
    case MOVETOEX: d_.MoveTo(Point(r, 8)); break;
    case LINETO: d_.LineTo(Point(r, 8)); break;
    case SAVEDC: d_.SaveDC(); break;
    case RESTOREDC: d_.RestoreDC(r.S32(8)); break;
    case SELECTOBJECT:
    case SELECTPALETTE:
        if (r.U32(8) & 0x80000000u)
            SelectStock(r.U32(8));
        else
            d_.SelectObject(r.U32(8));
        break;
    case DELETEOBJECT: d_.DeleteObject(r.U32(8)); break;
    case CREATEPEN: CreatePen(r, false); break;
    case EXTCREATEPEN: CreatePen(r, true); break;
    case CREATEBRUSHINDIRECT: {
        auto brush = std::make_shared<TMetaBrush>();
        const int style = int(r.U32(12));
        brush->Style = style == gdi::BS_NULL || style == gdi::BS_HATCHED ? style : gdi::BS_SOLID;
        brush->Color = r.U32(16);
        brush->Hatch = int(r.U32(20));
        d_.PutObject(r.U32(8), std::shared_ptr<const TMetaBrush>(brush));
        break;
    }
    case CREATEMONOBRUSH: CreatePatternBrush(r, true); break;
    case CREATEDIBPATTERNBRUSHPT: CreatePatternBrush(r, false); break;
    case EXTCREATEFONTINDIRECTW: d_.PutObject(r.U32(8), ReadLogFont(r.Sub(12, r.Size() - std::min<size_t>(12, r.Size())), true)); break;
    case CREATEPALETTE: {
        auto palette = std::make_shared<TMetaPalette>();
        const size_t count = r.U16(14);
        for (size_t i = 0; i < count && r.Has(16 + 4 * i, 4); ++i)
            palette->Colors.push_back(r.U32(16 + 4 * i) & 0xFFFFFF);
        d_.PutObject(r.U32(8), std::shared_ptr<const TMetaPalette>(palette));
        break;
    }
    case ANGLEARC: d_.AngleArc(Point(r, 8), r.U32(16), r.F32(20), r.F32(24)); break;
    case ELLIPSE: d_.Ellipse(Box(r, 8)); break;
    case RECTANGLE: d_.Rectangle(Box(r, 8)); break;
    case ROUNDRECT: d_.RoundRect(Box(r, 8), Size(r, 24)); break;
    case ARC: case CHORD: case PIE: case ARCTO: {
        const TArcKind kind = type == ARC ? TArcKind::Arc : type == CHORD ? TArcKind::Chord : type == PIE ? TArcKind::Pie : TArcKind::ArcTo;
        d_.Arc(kind, Box(r, 8), Point(r, 24), Point(r, 32));
        break;
    }
    case BEGINPATH: d_.BeginPath(); break;
    case ENDPATH: d_.EndPath(); break;
    case CLOSEFIGURE: d_.CloseFigure(); break;
    case FILLPATH: d_.FillPath(); break;
    case STROKEANDFILLPATH: d_.StrokeAndFillPath(); break;
    case STROKEPATH: d_.StrokePath(); break;
    case SELECTCLIPPATH: d_.SelectClipPath(int(r.U32(8))); break;
    case ABORTPATH: d_.AbortPath(); break;
    case FILLRGN:
    case PAINTRGN:
    case FRAMERGN: {
        TMetaRegion region;
        const size_t at = type == FILLRGN ? 32 : type == FRAMERGN ? 40 : 28;
        if (!RegionAt(r, at, region))
            break;
        const TMetaBrush* brush = type == PAINTRGN ? nullptr : Brush(r.U32(28));
        if (type == FRAMERGN && brush)
            d_.FrameRegion(region, brush, Size(r, 32));
        else if (type == PAINTRGN || brush)
            d_.FillRegion(region, brush);
        break;
    }
    case EXTSELECTCLIPRGN: {
        TMetaRegion region;
        if (r.U32(8) == 0 || RegionAt(r, 16, region))
            d_.SelectClipRegion(region, int(r.U32(12)), false);
        break;
    }
    case BITBLT: case STRETCHBLT: case ALPHABLEND: case TRANSPARENTBLT: Blit(type, r); break;
    case SETDIBITSTODEVICE: DibBits(r, false); break;
    case STRETCHDIBITS: DibBits(r, true); break;
    case EXTTEXTOUTA: Text(r, false); break;
    case EXTTEXTOUTW: Text(r, true); break;
    case SMALLTEXTOUT: SmallText(r); break;
    case GRADIENTFILL: Gradient(r); break;
    default: break;  // comments, colour management, OpenGL and the like draw nothing here
    }
}

// The header's description and pixel format lie inside the header record.
void CheckHeader(const std::vector<uint8_t>& d)
{
    const TRecordReader r(d.data(), d.size());
    const uint64_t size = r.U32(4);
    if (size < kHeaderSize || size > d.size())
        MetafileDamaged("no metafile header");
    auto inside = [size](uint64_t offset, uint64_t bytes) {
        return bytes == 0 || (offset >= kHeaderSize && offset <= size && bytes <= size - offset);
    };
    // A description of no characters at an offset would be read up to a terminator that may not exist.
    const uint32_t characters = r.U32(60), offset = r.U32(64);
    if ((characters != 0 || offset != 0) && (characters == 0 || !inside(offset, uint64_t(characters) * 2)))
        MetafileDamaged("its description lies outside its header");
    if (size >= 100 && !inside(r.U32(92), r.U32(88)))
        MetafileDamaged("its pixel format lies outside its header");
}
}  // namespace

bool IsEnhancedMetafile(const std::vector<uint8_t>& d)
{
    const TRecordReader r(d.data(), d.size());
    return d.size() >= kHeaderSize && r.U32(0) == HEADER && r.U32(40) == kSignature;
}

TEmfHeader ReadEmfHeader(const std::vector<uint8_t>& d)
{
    if (!IsEnhancedMetafile(d))
        MetafileDamaged("no metafile header");
    CheckHeader(d);
    const TRecordReader r(d.data(), d.size());
    TEmfHeader h;
    h.Bounds = QRectF(QPointF(r.S32(8), r.S32(12)), QPointF(r.S32(16), r.S32(20)));
    h.Frame = QRectF(QPointF(r.S32(24), r.S32(28)), QPointF(r.S32(32), r.S32(36)));
    h.Device = QSizeF(r.S32(72), r.S32(76));
    h.Millimeters = QSizeF(r.S32(80), r.S32(84));
    return h;
}

void PlayEmf(const std::vector<uint8_t>& d, TMetafileDevice& device)
{
    // Handle 0 is the metafile itself; a table too small for the handles used is widened to
    // what a 16-bit count can say.
    device.SetObjectTableSize(0x10000);
    TEmfPlayer player(device);
    size_t at = 0;
    int records = 0;
    while (at < d.size()) {
        if (d.size() - at < 8)
            MetafileDamaged("a record is cut short");
        const TRecordReader head(d.data() + at, 8);
        const uint32_t type = head.U32(0), bytes = head.U32(4);
        if (bytes < 8 || bytes % 4 != 0 || bytes > d.size() - at)
            MetafileDamaged("a record runs past the end of the file");
        if (++records > kMetafileMaxRecords)
            throw EInvalidGraphic("Metafile has too many records to draw");
        if (type == EOF_)
            return;
        device.Record();
        player.Play(type, TRecordReader(d.data() + at, bytes));
        at += bytes;
    }
    MetafileDamaged("it ends without its last record");
}
