// 16-bit Windows metafiles: the header, the walk over the records, and each record played on the
// device context. Parameters are 16-bit words, most of them in the reverse order of the call.
#include "MetafileBitmaps.h"
#include "MetafilePlayers.h"

#include <algorithm>

namespace {
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kHeaderSize = 18;

enum : uint16_t {
    SAVEDC = 0x001E, REALIZEPALETTE = 0x0035, CREATEPALETTE = 0x00F7, SETBKMODE = 0x0102, SETMAPMODE = 0x0103,
    SETROP2 = 0x0104, SETPOLYFILLMODE = 0x0106, SETTEXTCHAREXTRA = 0x0108, RESTOREDC = 0x0127,
    INVERTREGION = 0x012A, PAINTREGION = 0x012B, SELECTCLIPREGION = 0x012C, SELECTOBJECT = 0x012D,
    SETTEXTALIGN = 0x012E, DIBCREATEPATTERNBRUSH = 0x0142, DELETEOBJECT = 0x01F0, CREATEPATTERNBRUSH = 0x01F9,
    SETBKCOLOR = 0x0201, SETTEXTCOLOR = 0x0209, SETWINDOWORG = 0x020B, SETWINDOWEXT = 0x020C,
    SETVIEWPORTORG = 0x020D, SETVIEWPORTEXT = 0x020E, OFFSETWINDOWORG = 0x020F, OFFSETVIEWPORTORG = 0x0211,
    LINETO = 0x0213, MOVETO = 0x0214, OFFSETCLIPRGN = 0x0220, FILLREGION = 0x0228, SELECTPALETTE = 0x0234,
    CREATEPENINDIRECT = 0x02FA, CREATEFONTINDIRECT = 0x02FB, CREATEBRUSHINDIRECT = 0x02FC, POLYGON = 0x0324,
    POLYLINE = 0x0325, SCALEWINDOWEXT = 0x0410, SCALEVIEWPORTEXT = 0x0412, EXCLUDECLIPRECT = 0x0415,
    INTERSECTCLIPRECT = 0x0416, ELLIPSE = 0x0418, RECTANGLE = 0x041B, SETPIXEL = 0x041F, FRAMEREGION = 0x0429,
    TEXTOUT = 0x0521, POLYPOLYGON = 0x0538, ROUNDRECT = 0x061C, PATBLT = 0x061D, CREATEREGION = 0x06FF,
    ARC = 0x0817, PIE = 0x081A, CHORD = 0x0830, BITBLT = 0x0922, DIBBITBLT = 0x0940, EXTTEXTOUT = 0x0A32,
    STRETCHBLT = 0x0B23, DIBSTRETCHBLT = 0x0B41, SETDIBTODEV = 0x0D33, STRETCHDIB = 0x0F43,
};

size_t HeaderAt(const std::vector<uint8_t>& d)
{
    return d.size() >= kPlaceableSize && TRecordReader(d.data(), d.size()).U32(0) == kPlaceableKey ? kPlaceableSize : 0;
}

class TWmfPlayer {
public:
    explicit TWmfPlayer(TMetafileDevice& device) : d_(device) {}
    void Play(uint16_t function, const TRecordReader& r);

private:
    // Two words, y first, as most records store a point.
    static QPointF YX(const TRecordReader& r, size_t at) { return {double(r.S16(at + 2)), double(r.S16(at))}; }
    // Four words: bottom, right, top, left.
    static QRectF Box(const TRecordReader& r, size_t at)
    {
        return QRectF(QPointF(r.S16(at + 6), r.S16(at + 4)), QPointF(r.S16(at + 2), r.S16(at)));
    }
    // count points stored x, y from at; false when the record holds fewer.
    bool Points(const TRecordReader& r, size_t at, size_t count)
    {
        if (!r.Has(at, uint64_t(count) * 4))
            return false;
        d_.AllowPoints(count);
        points_.resize(count);
        for (size_t i = 0; i < count; ++i)
            points_[i] = QPointF(r.S16(at + 4 * i), r.S16(at + 4 * i + 2));
        return true;
    }
    std::shared_ptr<const TMetaRegion> Region(uint16_t index) const
    {
        const TMetaObject* o = d_.Object(index);
        auto* region = o ? std::get_if<std::shared_ptr<const TMetaRegion>>(o) : nullptr;
        return region ? *region : nullptr;
    }
    const TMetaBrush* Brush(uint16_t index) const
    {
        const TMetaObject* o = d_.Object(index);
        auto* brush = o ? std::get_if<std::shared_ptr<const TMetaBrush>>(o) : nullptr;
        return brush ? brush->get() : nullptr;
    }
    void CreateRegion(const TRecordReader& r);
    void CreatePatternBrush(const TRecordReader& r, bool dib);
    void Text(const TRecordReader& r, bool extended);
    // A bitmap record: the destination, the source rectangle, and the bitmap from at.
    void DrawDib(const TRecordReader& r, size_t at, QRectF dest, double xSrc, double ySrc, double wSrc, double hSrc,
                 uint32_t rop, bool paletteIndices);

    TMetafileDevice& d_;
    std::vector<QPointF> points_;
};

void TWmfPlayer::CreateRegion(const TRecordReader& r)
{
    // The region's header, then its scans: a band of rows with its pairs of left and right edges.
    auto region = std::make_shared<TMetaRegion>();
    const int scans = r.S16(10);
    size_t at = 22;
    d_.AllowPoints(r.Size() / 2);  // each rectangle takes at least four bytes
    for (int s = 0; s < scans && r.Has(at, 6); ++s) {
        const size_t count = r.U16(at);
        const double top = r.S16(at + 2), bottom = r.S16(at + 4);
        if (!r.Has(at + 6, count * 2 + 2))
            break;
        for (size_t i = 0; i + 1 < count; i += 2)
            region->push_back(QRectF(QPointF(r.S16(at + 6 + 2 * i), top), QPointF(r.S16(at + 8 + 2 * i), bottom)));
        at += 6 + count * 2 + 2;
    }
    d_.AddObject(std::shared_ptr<const TMetaRegion>(region));
}

void TWmfPlayer::CreatePatternBrush(const TRecordReader& r, bool dib)
{
    auto brush = std::make_shared<TMetaBrush>();
    brush->Style = gdi::BS_PATTERN;
    if (dib) {
        const TRecordReader bitmap = r.Sub(4, r.Size() - std::min<size_t>(4, r.Size()));
        TDib info;
        if (ReadDib(bitmap, d_, info)) {
            d_.AllowPattern(int64_t(info.Width) * info.Height);
            const uint64_t colors = uint64_t(info.Colors) * (r.U16(2) == 1 ? 2 : info.ColorSize);
            const size_t bitsAt = std::min<uint64_t>(info.ColorsAt + colors, bitmap.Size());
            brush->Pattern = DecodeDib(info, bitmap, bitmap.Sub(bitsAt, bitmap.Size() - bitsAt), d_, r.U16(2) == 1);
        }
    } else if (r.U8(8) == 1 && r.U8(9) == 1) {
        // A one-plane, one-bit bitmap of the old kind: drawn in the text and background colours.
        const int w = r.S16(2), h = r.S16(4), stride = r.S16(6);
        if (w > 0 && h > 0 && stride * 8 >= w && r.Has(32, uint64_t(stride) * h)) {
            d_.AllowPattern(int64_t(w) * h);
            QImage pattern(w, h, QImage::Format_Indexed8);
            pattern.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    pattern.scanLine(y)[x] = r.U8(32 + size_t(y) * stride + size_t(x / 8)) >> (7 - x % 8) & 1;
            brush->Pattern = pattern;
            brush->Monochrome = true;
        }
    }
    d_.AddObject(std::shared_ptr<const TMetaBrush>(brush));
}

void TWmfPlayer::Text(const TRecordReader& r, bool extended)
{
    TTextRun run;
    size_t length, at;
    if (extended) {
        run.Origin = YX(r, 0);
        length = r.U16(4);
        run.Options = r.U16(6);
        at = 8;
        if (run.Options & (gdi::ETO_OPAQUE | gdi::ETO_CLIPPED)) {
            run.Rect = QRectF(QPointF(r.S16(8), r.S16(10)), QPointF(r.S16(12), r.S16(14)));
            at = 16;
        }
    } else {
        length = r.U16(0);
        at = 2;
        run.Origin = YX(r, 2 + (length + 1) / 2 * 2);
    }
    if (!r.Has(at, length))
        return;
    run.Text = QString::fromStdString(AnsiToUtf8(std::string(reinterpret_cast<const char*>(r.At(at)), length)));
    // The advances follow the text, padded to a word, when the record holds them.
    const size_t dxAt = at + (length + 1) / 2 * 2;
    if (extended && r.Has(dxAt, length * 2)) {
        run.Dx.resize(length);
        for (size_t i = 0; i < length; ++i)
            run.Dx[i] = r.S16(dxAt + 2 * i);
        if (run.Text.size() != qsizetype(length))
            run.Dx.clear();  // characters and bytes no longer pair up
    }
    d_.Text(run);
}

void TWmfPlayer::DrawDib(const TRecordReader& r, size_t at, QRectF dest, double xSrc, double ySrc, double wSrc,
                         double hSrc, uint32_t rop, bool paletteIndices)
{
    const TRecordReader bitmap = r.Sub(at, r.Size() - std::min(at, r.Size()));
    TDib info;
    if (!ReadDib(bitmap, d_, info))
        return;
    const uint64_t colors = uint64_t(info.Colors) * (paletteIndices ? 2 : info.ColorSize);
    const size_t bitsAt = std::min<uint64_t>(info.ColorsAt + colors, bitmap.Size());
    d_.Spend(double(info.Width) * info.Height);
    const QImage image = d_.Drawing() ? DecodeDib(info, bitmap, bitmap.Sub(bitsAt, bitmap.Size() - bitsAt), d_, paletteIndices)
                                      : QImage();
    d_.Bitmap(dest, image, DibSource(info, xSrc, ySrc, wSrc, hSrc), rop);
}

void TWmfPlayer::Play(uint16_t function, const TRecordReader& r)
{
    TDcState& s = d_.State();
    switch (function) {
    case SETBKCOLOR: s.BkColor = r.U32(0); break;
    case SETTEXTCOLOR: s.TextColor = r.U32(0); break;
    case SETBKMODE: s.BkMode = r.U16(0); break;
    case SETMAPMODE: d_.SetMapMode(r.U16(0)); break;
    case SETROP2: s.Rop2 = r.U16(0); break;
    case SETPOLYFILLMODE: s.FillMode = r.U16(0); break;
    case SETTEXTCHAREXTRA: s.CharExtra = r.S16(0); break;
    case SETTEXTALIGN: s.TextAlign = r.U16(0); break;
    case SAVEDC: d_.SaveDC(); break;
    case RESTOREDC: d_.RestoreDC(r.S16(0)); break;
    case SETWINDOWORG: d_.SetWindowOrg(YX(r, 0)); break;
    case SETWINDOWEXT: d_.SetWindowExt({double(r.S16(2)), double(r.S16(0))}); break;
    case SETVIEWPORTORG: d_.SetViewportOrg(YX(r, 0)); break;
    case SETVIEWPORTEXT: d_.SetViewportExt({double(r.S16(2)), double(r.S16(0))}); break;
    case OFFSETWINDOWORG: d_.OffsetWindowOrg(YX(r, 0)); break;
    case OFFSETVIEWPORTORG: d_.OffsetViewportOrg(YX(r, 0)); break;
    case SCALEWINDOWEXT: d_.ScaleWindowExt(r.S16(6), r.S16(4), r.S16(2), r.S16(0)); break;
    case SCALEVIEWPORTEXT: d_.ScaleViewportExt(r.S16(6), r.S16(4), r.S16(2), r.S16(0)); break;
    case MOVETO: d_.MoveTo(YX(r, 0)); break;
    case LINETO: d_.LineTo(YX(r, 0)); break;
    case POLYGON:
    case POLYLINE:
        if (Points(r, 2, r.U16(0)))
            function == POLYGON ? d_.Polygon(points_) : d_.Polyline(points_);
        break;
    case POLYPOLYGON: {
        const size_t polygons = r.U16(0);
        std::vector<uint32_t> counts;
        uint64_t total;
        if (r.Counts(2, polygons, 2, counts, total) && Points(r, 2 + polygons * 2, total))
            d_.PolyPolygon(points_, counts);
        break;
    }
    case RECTANGLE: d_.Rectangle(Box(r, 0)); break;
    case ELLIPSE: d_.Ellipse(Box(r, 0)); break;
    case ROUNDRECT: d_.RoundRect(Box(r, 4), {double(r.S16(2)), double(r.S16(0))}); break;
    case ARC:
    case PIE:
    case CHORD:
        d_.Arc(function == ARC ? TArcKind::Arc : function == PIE ? TArcKind::Pie : TArcKind::Chord, Box(r, 8), YX(r, 4),
               YX(r, 0));
        break;
    case SETPIXEL: d_.SetPixel(YX(r, 4), r.U32(0)); break;
    case PATBLT: d_.PatBlt(QRectF(YX(r, 8), QSizeF(r.S16(6), r.S16(4))), r.U32(0)); break;
    case INTERSECTCLIPRECT: d_.IntersectClipRect(Box(r, 0)); break;
    case EXCLUDECLIPRECT: d_.ExcludeClipRect(Box(r, 0)); break;
    case OFFSETCLIPRGN: d_.OffsetClip(YX(r, 0)); break;
    case SELECTOBJECT:
    case SELECTPALETTE: d_.SelectObject(r.U16(0)); break;
    case DELETEOBJECT: d_.DeleteObject(r.U16(0)); break;
    case SELECTCLIPREGION:
        if (auto region = Region(r.U16(0)))
            d_.SelectClipRegion(*region, gdi::RGN_COPY, true);
        else
            d_.SelectClipRegion({}, gdi::RGN_COPY, true);
        break;
    case CREATEPENINDIRECT: {
        auto pen = std::make_shared<TMetaPen>();
        pen->Style = r.U16(0);
        pen->Width = std::abs(r.S16(2));
        pen->Cosmetic = pen->Width == 0;
        pen->Color = r.U32(6);
        d_.AddObject(std::shared_ptr<const TMetaPen>(pen));
        break;
    }
    case CREATEBRUSHINDIRECT: {
        auto brush = std::make_shared<TMetaBrush>();
        const int style = r.U16(0);
        brush->Style = style == gdi::BS_NULL || style == gdi::BS_HATCHED ? style : gdi::BS_SOLID;
        brush->Color = r.U32(2);
        brush->Hatch = r.U16(6);
        d_.AddObject(std::shared_ptr<const TMetaBrush>(brush));
        break;
    }
    case CREATEFONTINDIRECT: d_.AddObject(ReadLogFont(r, false)); break;
    case CREATEPALETTE: {
        auto palette = std::make_shared<TMetaPalette>();
        const size_t count = r.U16(2);
        for (size_t i = 0; i < count && r.Has(4 + 4 * i, 4); ++i)
            palette->Colors.push_back(r.U32(4 + 4 * i) & 0xFFFFFF);
        d_.AddObject(std::shared_ptr<const TMetaPalette>(palette));
        break;
    }
    case CREATEREGION: CreateRegion(r); break;
    case CREATEPATTERNBRUSH: CreatePatternBrush(r, false); break;
    case DIBCREATEPATTERNBRUSH: CreatePatternBrush(r, true); break;
    case FILLREGION:
        if (auto region = Region(r.U16(0)); region && Brush(r.U16(2)))
            d_.FillRegion(*region, Brush(r.U16(2)));
        break;
    case PAINTREGION:
        if (auto region = Region(r.U16(0)))
            d_.FillRegion(*region, nullptr);
        break;
    case FRAMEREGION:
        if (auto region = Region(r.U16(0)); region && Brush(r.U16(2)))
            d_.FrameRegion(*region, Brush(r.U16(2)), {double(r.S16(6)), double(r.S16(4))});
        break;
    case TEXTOUT: Text(r, false); break;
    case EXTTEXTOUT: Text(r, true); break;
    case STRETCHDIB:
        DrawDib(r, 22, QRectF(YX(r, 18), QSizeF(r.S16(16), r.S16(14))), r.S16(12), r.S16(10), r.S16(8), r.S16(6),
                r.U32(0), r.U16(4) == 1);
        break;
    case DIBSTRETCHBLT:
    case STRETCHBLT:
        // Without a bitmap the record is a pattern fill; the old device-dependent bitmaps are not drawn.
        if (r.Size() == 22)
            d_.PatBlt(QRectF(YX(r, 18), QSizeF(r.S16(16), r.S16(14))), r.U32(0));
        else if (function == DIBSTRETCHBLT)
            DrawDib(r, 20, QRectF(YX(r, 16), QSizeF(r.S16(14), r.S16(12))), r.S16(10), r.S16(8), r.S16(6), r.S16(4),
                    r.U32(0), false);
        break;
    case DIBBITBLT:
    case BITBLT:
        if (r.Size() == 18)
            d_.PatBlt(QRectF(YX(r, 10), QSizeF(r.S16(8), r.S16(6))), r.U32(0));
        else if (function == DIBBITBLT)
            DrawDib(r, 16, QRectF(YX(r, 12), QSizeF(r.S16(10), r.S16(8))), r.S16(6), r.S16(4), r.S16(10), r.S16(8),
                    r.U32(0), false);
        break;
    case SETDIBTODEV:
        DrawDib(r, 18, QRectF(YX(r, 14), QSizeF(r.S16(12), r.S16(10))), r.S16(8), r.S16(6), r.S16(12), r.S16(10),
                gdi::SRCCOPY, r.U16(0) == 1);
        break;
    default: break;  // palettes' animation, escapes, flood fills and the like change nothing drawn here
    }
}
}  // namespace

void MetafileDamaged(const char* why) { throw EInvalidGraphic(Format("Metafile is not valid: %s", why)); }

bool IsWindowsMetafile(const std::vector<uint8_t>& d)
{
    const size_t at = HeaderAt(d);
    if (d.size() < at + kHeaderSize)
        return false;
    const TRecordReader r(d.data() + at, kHeaderSize);
    return (r.U16(0) == 1 || r.U16(0) == 2) && r.U16(2) == kHeaderSize / 2;
}

TWmfHeader ReadWmfHeader(const std::vector<uint8_t>& d)
{
    if (!IsWindowsMetafile(d))
        MetafileDamaged("no metafile header");
    TWmfHeader h;
    h.RecordsAt = HeaderAt(d) + kHeaderSize;
    h.Placeable = h.RecordsAt > kHeaderSize;
    const TRecordReader r(d.data(), d.size());
    if (h.Placeable) {
        h.Frame = QRectF(QPointF(r.S16(6), r.S16(8)), QPointF(r.S16(10), r.S16(12))).normalized();
        h.UnitsPerInch = r.U16(14);
        if (h.UnitsPerInch == 0)
            MetafileDamaged("no units per inch");
    }
    h.Objects = r.U16(h.RecordsAt - kHeaderSize + 10);
    return h;
}

void PlayWmf(const std::vector<uint8_t>& d, const TWmfHeader& header, TMetafileDevice& device)
{
    device.SetObjectTableSize(size_t(header.Objects));
    TWmfPlayer player(device);
    size_t at = header.RecordsAt;
    int records = 0;
    while (at < d.size()) {
        if (d.size() - at < 6)
            MetafileDamaged("a record is cut short");
        const TRecordReader head(d.data() + at, 6);
        const uint64_t bytes = uint64_t(head.U32(0)) * 2;
        const uint16_t function = head.U16(4);
        if (bytes < 6 || bytes > d.size() - at)
            MetafileDamaged("a record runs past the end of the file");
        if (++records > kMetafileMaxRecords)
            throw EInvalidGraphic("Metafile has too many records to draw");
        if (function == 0)
            return;
        device.Record();
        player.Play(function, TRecordReader(d.data() + at + 6, size_t(bytes) - 6));
        at += size_t(bytes);
    }
    MetafileDamaged("it ends without its last record");
}
