#pragma once
// The dotted frame a control draws round its focus, found in a picture of the control.
#include <QImage>

#include <algorithm>

// The longest run of pixels along the picture's top rows that alternate one by one, as the top
// of a dotted frame does.
inline int LongestDottedRun(const QImage& image, int rows)
{
    int longest = 0;
    for (int y = 0; y < std::min(rows, image.height()); ++y)
        for (int x = 0, run = 0; x + 2 < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = image.pixel(x + 1, y), c = image.pixel(x + 2, y);
            longest = std::max(longest, run = a == c && a != b ? run + 1 : 0);
        }
    return longest;
}
