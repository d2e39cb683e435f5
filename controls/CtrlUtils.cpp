#include "CtrlUtils.h"

#include "Controls.h"
#include "ImgList.h"

#include <algorithm>
#include <vector>

namespace {

void PutPixel(TBitmap& bitmap, int x, int y, TColor rgb)
{
    uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    p[0] = GetBValue(rgb);
    p[1] = GetGValue(rgb);
    p[2] = GetRValue(rgb);
}

TColor GetPixel(const TBitmap& bitmap, int x, int y)
{
    const uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

// Byte offsets where the UTF-8 characters of S begin, so that shortening never splits one.
std::vector<size_t> CharStarts(const String& S)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < S.size(); ++i)
        if ((static_cast<unsigned char>(S[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    return starts;
}

bool IsBlankOrControl(char c) { return c >= 1 && c <= 32; }
bool AboveBlank(char c) { return static_cast<unsigned char>(c) > 32; }

constexpr size_t ParamRoom = 256;

}  // namespace

std::unique_ptr<TBitmap> DisabledBitmap(const TBitmap& Source, TColor OutlineColor, TColor BackColor,
                                        TColor HighlightColor, TColor ShadowColor, bool DrawHighlight)
{
    const int w = Source.Width(), h = Source.Height();
    auto result = std::make_unique<TBitmap>(w, h, pf24bit);
    if (w <= 0 || h <= 0)
        return result;
    // The monochrome mask: white where the source shows the outline colour.
    TBitmap source(w, h, pf24bit);
    source.Canvas().Draw(0, 0, Source);
    source.Canvas().Release();
    const TColor outline = ColorToRGB(OutlineColor);
    std::vector<bool> mono(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            mono[static_cast<size_t>(y) * w + x] = GetPixel(source, x, y) == outline;

    const TColor back = ColorToRGB(BackColor), highlight = ColorToRGB(HighlightColor),
                 shadow = ColorToRGB(ShadowColor);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            PutPixel(*result, x, y, back);
    if (DrawHighlight)
        for (int y = 0; y + 1 < h; ++y)
            for (int x = 0; x + 1 < w; ++x)
                if (mono[static_cast<size_t>(y) * w + x])
                    PutPixel(*result, x + 1, y + 1, highlight);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (mono[static_cast<size_t>(y) * w + x])
                PutPixel(*result, x, y, shadow);
    return result;
}

std::unique_ptr<TBitmap> DisabledBitmapStd(const TBitmap& Source, TColor OutlineColor)
{
    return DisabledBitmap(Source, OutlineColor, clBtnFace, clBtnHighlight, clBtnShadow, true);
}

String FitTextWithEllipsis(const String& S, TCanvas& Canvas, int MaxWidth)
{
    const std::vector<size_t> starts = CharStarts(S);
    const int length = static_cast<int>(starts.size());
    String result = S;
    int i = 1;
    while (i <= length && Canvas.TextWidth(result) > MaxWidth) {
        ++i;
        const int keep = std::max(0, length - i);
        result = S.substr(0, keep < length ? starts[keep] : S.size()) + "...";
    }
    return result;
}

size_t NextParam(const String& Text, size_t P, String& Param)
{
    Param.clear();
    const size_t n = Text.size();
    for (;;) {
        if (P < n && IsBlankOrControl(Text[P]))
            ++P;
        else if (P + 1 < n && Text[P] == '"' && Text[P + 1] == '"')
            P += 2;
        else
            break;
    }
    auto collect = [&Param](char c) {
        if (Param.size() < ParamRoom)
            Param += c;
    };
    while (P < n && AboveBlank(Text[P])) {
        if (Text[P] == '"') {
            ++P;
            while (P < n && Text[P] != '"')
                collect(Text[P++]);
            if (P < n)
                ++P;
        } else {
            collect(Text[P++]);
        }
    }
    return P;
}

int CountParams(const String& Text, size_t P)
{
    int count = 0;
    String param;
    while (P < Text.size()) {
        P = NextParam(Text, P, param);
        if (!param.empty())
            ++count;
    }
    return count;
}

void ParamAt(const String& Text, size_t P, int Index, String& Param)
{
    Param.clear();
    String param;
    while (P < Text.size()) {
        P = NextParam(Text, P, param);
        if (param.empty())
            continue;
        if (Index-- == 0) {
            Param = param;
            return;
        }
    }
}

void SplitCmdLine(const String& CmdLine, String& ExeName, String& Params)
{
    ExeName.clear();
    Params.clear();
    const int count = CountParams(CmdLine);
    if (count <= 0)
        return;
    ParamAt(CmdLine, 0, 0, ExeName);
    for (int i = 1; i < count; ++i) {
        String param;
        ParamAt(CmdLine, 0, i, param);
        if (param.find(' ') != String::npos)
            param = '"' + param + '"';
        Params += param;
        if (i < count - 1)
            Params += ' ';
    }
}

void PaintParentBackground(TControl* Control, TCanvas& Dest)
{
    if (Control && Control->Parent())
        Control->PaintUnderneath(Dest);
}

void DrawListImageDisabled(const TImageList& Images, TCanvas& Canvas, int X, int Y, int Index,
                           TColor HighlightColor, TColor ShadowColor, bool DrawHighlight)
{
    if (Index < 0 || Index >= Images.Count())
        return;
    // The mask: the image's opaque pixels.
    const QImage image = Images.Image(Index).convertToFormat(QImage::Format_ARGB32);
    auto stamp = [&](int dx, int dy, TColor color) {
        const TColor rgb = ColorToRGB(color);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) >= 128)
                    Canvas.SetPixel(X + dx + x, Y + dy + y, rgb);
    };
    if (DrawHighlight)
        stamp(1, 1, HighlightColor);
    stamp(0, 0, ShadowColor);
}

bool AppIsForeground() { return AppHasActiveWindow(); }

void DropQueuedMessage(TControl* Wnd, unsigned Msg)
{
    if (Wnd && (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK))
        Wnd->DropQueuedPresses(Msg == WM_LBUTTONDBLCLK);
}
