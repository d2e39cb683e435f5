#pragma once
// Points and rectangles; a rectangle's right and bottom edges lie outside it.

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
inline bool PtInRect(const TRect& r, const TPoint& p)
{
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
inline void OffsetRect(TRect& r, int dx, int dy)
{
    r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy;
}
inline void InflateRect(TRect& r, int dx, int dy)
{
    r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy;
}
// False (and an empty result) when the two do not overlap.
inline bool IntersectRect(TRect& out, const TRect& a, const TRect& b)
{
    out = {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
           a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
    if (out.IsEmpty()) {
        out = {};
        return false;
    }
    return true;
}
