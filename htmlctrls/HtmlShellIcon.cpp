#include "HtmlShellIcon.h"

#include "ShellIcons.h"

#include <cctype>

namespace {
// -1 when path is not a plain decimal number that fits an int.
int IconNumber(const String& path)
{
    if (path.empty() || path.size() > 9)
        return -1;
    int n = 0;
    for (char c : path) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}
}  // namespace

void DrawShellIcon(TCanvas& canvas, int x, int y, int& size, double scale, bool printMode, bool paint, bool large,
                   const String& path)
{
    int index = IconNumber(path);
    if (index < 0)
        index = ShellIconIndex(path, false);  // an existing file or folder
    if (index < 0)
        index = ShellIconIndex(path, true);   // any other name, by its kind
    TImageList& list = SystemImageList(large);
    size = list.Width;
    if (!paint || index < 0 || index >= list.Count())
        return;
    if (!printMode) {
        list.Draw(canvas, x, y, index);
        return;
    }
    TBitmap icon(list.Width, list.Height);
    icon.Canvas().Brush.Color = clWhite;  // the page's colour behind the icon's transparent parts
    icon.Canvas().FillRect({0, 0, list.Width, list.Height});
    list.Draw(icon.Canvas(), 0, 0, index);
    canvas.StretchDraw(Rect(x, y, x + static_cast<int>(Round(list.Width * scale)),
                            y + static_cast<int>(Round(list.Height * scale))),
                       icon);
}
