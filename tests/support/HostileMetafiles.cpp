#include "HostileMetafiles.h"

#include <cmath>

namespace {
enum : uint32_t {
    POLYGON16 = 86, POLYLINE16 = 87, BEGINPATH = 59, ENDPATH = 60, FILLPATH = 62, STROKEPATH = 64, SELECTCLIPPATH = 67,
    SELECTOBJECT = 37, CREATEBRUSH = 39, EXTCREATEPEN = 95, FILLRGN = 71, EXTSELECTCLIPRGN = 75, RECTANGLE = 43,
    GRADIENTFILL = 118, EXTCREATEFONT = 82, EXTTEXTOUTW = 84, SETTEXTALIGN = 22,
};

uint32_t Xy(int x, int y) { return uint32_t(x & 0xFFFF) | uint32_t(y & 0xFFFF) << 16; }
uint32_t U(int v) { return uint32_t(v); }

std::vector<uint32_t> Star(int points, int side)
{
    std::vector<uint32_t> xy;
    for (auto [x, y] : StarPoints(points, side))
        xy.push_back(Xy(x, y));
    return xy;
}

EmfRecord Poly16(uint32_t type, const std::vector<uint32_t>& xy, int side)
{
    EmfRecord r{type, {0, 0, U(side), U(side), U(int(xy.size()))}};
    r.Fields.insert(r.Fields.end(), xy.begin(), xy.end());
    return r;
}

// RGNDATA: its header, then the rectangles.
std::vector<uint32_t> RegionData(const std::vector<std::vector<int>>& rects)
{
    std::vector<uint32_t> f = {32, 1, U(int(rects.size())), U(int(rects.size() * 16)), 0, 0, 0, 0};
    for (const auto& r : rects)
        for (int v : r)
            f.push_back(U(v));
    return f;
}

EmfRecord Solid(uint32_t index, uint32_t color) { return {CREATEBRUSH, {index, 0, color, 0}}; }
EmfRecord Pen(uint32_t index, int width, uint32_t color) { return {EXTCREATEPEN, {index, 0, 0, 0, 0, 0x10000, U(width), 0, color, 0, 0}}; }

std::vector<uint32_t> LogFont(int height, int width, int escapement, int weight, const std::u16string& face)
{
    std::vector<uint32_t> f = {U(height), U(width), U(escapement), U(escapement), U(weight), 0, 0};
    std::u16string name = face;
    name.resize(32, u'\0');
    for (size_t i = 0; i < name.size(); i += 2)
        f.push_back(uint32_t(name[i]) | uint32_t(name[i + 1]) << 16);
    return f;
}
}  // namespace

std::vector<std::pair<int, int>> StarPoints(int points, int side)
{
    std::vector<std::pair<int, int>> xy;
    const int step = points / 2 - (points % 2 == 0);  // coprime with points: one closed figure
    const double r = side / 2.0;
    for (int i = 0; i < points; ++i) {
        const double a = 2 * 3.14159265358979 * double((int64_t(i) * step) % points) / points;
        xy.emplace_back(int(r + r * std::cos(a)), int(r + r * std::sin(a)));
    }
    return xy;
}

std::vector<uint8_t> WmfFontText(int height, int width, int escapement, int weight, const std::string& text)
{
    return WmfFile({{0x02FB, {height, width, escapement, escapement, weight, 0, 0, 0, 0, 'A' | 'r' << 8, 'i' | 'a' << 8, 'l'}},
                    {0x012D, {0}},
                    WmfTextOut(10, 40, text)});
}

std::vector<uint8_t> EmfFontText(int height, int width, int escapement, int weight, const std::u16string& text,
                                 int records, bool dx, int side)
{
    EmfRecord font{EXTCREATEFONT, {1}};
    const std::vector<uint32_t> logFont = LogFont(height, width, escapement, weight, u"Arial");
    font.Fields.insert(font.Fields.end(), logFont.begin(), logFont.end());
    const uint32_t n = U(int(text.size())), words = (n + 1) / 2;
    // On its base line half way down, so that a large font covers the picture.
    EmfRecord out{EXTTEXTOUTW, {0, 0, U(side), U(side), 1, 0, 0, 10, U(side / 2), n, 76, 0, 0, 0, 0, 0, dx ? 76 + 4 * words : 0}};
    for (uint32_t i = 0; i < words; ++i)
        out.Fields.push_back(uint32_t(text[2 * i]) | (2 * i + 1 < n ? uint32_t(text[2 * i + 1]) << 16 : 0));
    if (dx)
        out.Fields.insert(out.Fields.end(), n, 1);
    std::vector<EmfRecord> all = {font, {SELECTOBJECT, {1}}, {SETTEXTALIGN, {24}}};
    all.insert(all.end(), size_t(records), out);
    return EmfFile(all, side, side);
}

std::vector<uint8_t> EmfBars(int n, int side)
{
    std::vector<std::vector<int>> rects;
    for (int i = 0; i < n; ++i) {
        rects.push_back({2 * i, 0, 2 * i + 1, 2 * n});
        rects.push_back({0, 2 * i, 2 * n, 2 * i + 1});
    }
    EmfRecord clip{EXTSELECTCLIPRGN, {U(32 + 16 * 2 * n), 5}};  // RGN_COPY
    const std::vector<uint32_t> data = RegionData(rects);
    clip.Fields.insert(clip.Fields.end(), data.begin(), data.end());
    return EmfFile({clip, Solid(1, 0xFF), {SELECTOBJECT, {1}}, {RECTANGLE, {0, 0, U(side), U(side)}}}, side, side);
}

std::vector<uint8_t> WmfBars(int n)
{
    // One scan of the vertical bars, then a scan for each horizontal one.
    WmfRecord region{0x06FF, {0, 6, 0, 0, 0, n + 1, 0, 0, 2 * n, 2 * n, 0}};
    region.Words.insert(region.Words.end(), {2 * n, 0, 2 * n});
    for (int i = 0; i < n; ++i)
        region.Words.insert(region.Words.end(), {2 * i, 2 * i + 1});
    region.Words.push_back(2 * n);
    for (int i = 0; i < n; ++i)
        region.Words.insert(region.Words.end(), {2, 2 * i, 2 * i + 1, 0, 2 * n, 2});
    return WmfFile({region, {0x012C, {0}}, {0x041B, {2 * n, 2 * n, 0, 0}}}, WmfFrame{0, 0, 2 * n, 2 * n, 96});
}

std::vector<uint8_t> EmfCrossingPolygons(int count, int points, int side, int penWidth, bool polyline)
{
    std::vector<EmfRecord> all = {Solid(1, 0xFF0000), {SELECTOBJECT, {1}}};
    if (penWidth > 0)
        all.insert(all.end(), {Pen(2, penWidth, 0xFF), {SELECTOBJECT, {2}}});
    const EmfRecord shape = Poly16(polyline ? POLYLINE16 : POLYGON16, Star(points, side), side);
    all.insert(all.end(), size_t(count), shape);
    return EmfFile(all, side, side);
}

std::vector<uint8_t> EmfZigZagPath(int points, int side, bool clip, int penWidth)
{
    std::vector<EmfRecord> all = {Solid(1, 0xFF00), {SELECTOBJECT, {1}}, Pen(2, penWidth, 0xFF), {SELECTOBJECT, {2}},
                                  {BEGINPATH, {}}, Poly16(POLYLINE16, Star(points, side), side), {ENDPATH, {}}};
    if (clip)
        all.insert(all.end(), {{SELECTCLIPPATH, {1}}, {RECTANGLE, {0, 0, U(side), U(side)}}});
    else
        all.push_back({STROKEPATH, {0, 0, U(side), U(side)}});
    return EmfFile(all, side, side);
}

std::vector<uint8_t> EmfRegionFills(int fills, int rects, int side)
{
    std::vector<std::vector<int>> bars;
    for (int i = 0; i < rects; ++i)
        bars.push_back({i % side, 0, i % side + side / 2, side});
    const std::vector<uint32_t> data = RegionData(bars);
    EmfRecord fill{FILLRGN, {0, 0, U(side), U(side), U(int(data.size() * 4)), 1}};
    fill.Fields.insert(fill.Fields.end(), data.begin(), data.end());
    std::vector<EmfRecord> all = {Solid(1, 0xFF)};
    all.insert(all.end(), size_t(fills), fill);
    return EmfFile(all, side, side);
}

std::vector<uint8_t> EmfGradient(int meshes, int side, bool triangles)
{
    // Vertices: x, y, then red, green, blue and alpha as 16-bit values.
    EmfRecord g{GRADIENTFILL, {0, 0, U(side), U(side), 3, U(meshes), triangles ? 2u : 0u,
                               0, 0, 0xFF00, 0, U(side), U(side), 0, 0xFF00, 0, U(side), 0xFF000000, 0}};
    for (int i = 0; i < meshes; ++i) {
        g.Fields.insert(g.Fields.end(), {0, 1});
        if (triangles)
            g.Fields.push_back(2);
    }
    return EmfFile({g}, side, side);
}

std::vector<HostileMetafile> HostileMetafiles(bool small)
{
    std::vector<HostileMetafile> all;
    auto wmf = [&](std::string name, std::vector<uint8_t> bytes) { all.push_back({std::move(name), false, std::move(bytes)}); };
    auto emf = [&](std::string name, std::vector<uint8_t> bytes) { all.push_back({std::move(name), true, std::move(bytes)}); };
    // Fonts at every extreme, each asked to draw ordinary text and a character from a fallback face.
    const int heights[] = {-47, -50, 1, -32768, 32767, -16384};
    const int widths[] = {0, 1, 32767, -32768};
    for (int h : heights)
        for (int w : widths)
            wmf("font_" + std::to_string(h) + "_" + std::to_string(w), WmfFontText(h, w, 0, 400, "Hello metafile"));
    for (int esc : {3600, -3600, 32767, 900})
        for (int weight : {-1, 0, 1000, 32767})
            wmf("font_turned_" + std::to_string(esc) + "_" + std::to_string(weight), WmfFontText(-50, 32767, esc, weight, "Hello"));
    for (int h : {-16384, -8192, -2048, int(0x80000000), 0x7FFFFFFF})
        for (int w : {0, 0x7FFFFFFF})
            emf("glyph_" + std::to_string(h) + "_" + std::to_string(w), EmfFontText(h, w, 0, 400, u"A\u4E00\u2603\U0001F600"));
    // Regions that multiply: just under and over what a clip may hold.
    for (int n : small ? std::vector<int>{200, 1000} : std::vector<int>{1000, 2000, 3000, 8000}) {
        emf("bars_" + std::to_string(n), EmfBars(n, std::min(2 * n, 4000)));
        wmf("bars_" + std::to_string(n), WmfBars(n));
    }
    // Shapes that cross themselves, filled, outlined with wide pens, stroked as paths and made clips.
    const int points = small ? 2000 : 65000;
    emf("crossing_polygons", EmfCrossingPolygons(small ? 2 : 60, points, 1000));
    emf("crossing_polylines_thin", EmfCrossingPolygons(small ? 2 : 60, points, 1000, 1, true));
    emf("crossing_polylines_wide", EmfCrossingPolygons(small ? 2 : 60, points, 1000, 200, true));
    emf("clip_path", EmfZigZagPath(small ? 4000 : 300000, 1000, true));
    emf("stroke_path_wide", EmfZigZagPath(small ? 4000 : 300000, 1000, false, 500));
    emf("region_fills", EmfRegionFills(small ? 2 : 5, small ? 2000 : 200000, 1000));
    emf("gradient_rects", EmfGradient(small ? 4000 : 4000000, 1000));
    emf("gradient_triangles", EmfGradient(small ? 4000 : 1000000, 1000, true));
    if (!small) {
        // Just under what is refused: drawn, within the time.
        emf("under_bars_500", EmfBars(500, 1000));
        emf("under_crossing_polygon", EmfCrossingPolygons(1, 1500, 1000));
        emf("under_crossing_polyline_thin", EmfCrossingPolygons(1, 180000, 1000, 1, true));
        emf("under_crossing_polygon_tall", EmfCrossingPolygons(1, 120, 4000));
        emf("under_clip_path", EmfZigZagPath(700, 1000, true));
        emf("under_region_fill", EmfRegionFills(1, 500, 1000));
        emf("under_gradient", EmfGradient(1500, 1000));
        emf("under_text_one_by_one", EmfFontText(-12, 0, 0, 400, std::u16string(300, u'W'), 60, true, 1000));
    }
    // Characters drawn one by one, in long records.
    const std::u16string text(small ? 2000 : 30000, u'W');
    emf("text_one_by_one", EmfFontText(-12, 0, 0, 400, text, small ? 2 : 60, true, 1000));
    emf("text_long_lines", EmfFontText(-12, 0, 0, 400, text, small ? 2 : 60, false, 1000));
    emf("text_large_one_by_one", EmfFontText(-300, 0, 0, 400, std::u16string(small ? 200 : 3000, u'W'), small ? 2 : 60, true, 1000));
    return all;
}
