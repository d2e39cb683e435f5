#include "Graphics.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

constexpr TColor kKey = 0xFF00FF;

// A small picture with see-through pixels of the key colour scattered through it.
std::unique_ptr<TBitmap> Icon(TPixelFormat format)
{
    auto icon = std::make_unique<TBitmap>(7, 5, format);
    const int step = format == pf32bit ? 4 : 3;
    for (int y = 0; y < icon->Height(); ++y) {
        uint8_t* p = icon->ScanLine(y);
        for (int x = 0; x < icon->Width(); ++x, p += step) {
            const TColor c = (x + 2 * y) % 3 == 0 ? kKey : RGB(40 * x, 50 * y, 200 - 20 * x);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    return icon;
}

QImage Painted(const QTransform& transform, bool clip, const std::function<void(TCanvas&)>& draw)
{
    QImage image(24, 18, QImage::Format_RGB32);
    image.fill(QColor(90, 90, 90));
    QPainter painter(&image);
    painter.setTransform(transform);
    TCanvas canvas;
    canvas.Attach(&painter);
    if (clip)
        canvas.SetClipRect({4, 4, 8, 7});
    draw(canvas);
    canvas.Release();
    return image;
}

}  // namespace

// However the canvas is moved, scaled or clipped, the bitmap drawn without its key colour leaves
// exactly the pixels that setting each other pixel one by one leaves.
TEST(Canvas, KeyedBitmapSetsThePixelsSettingThemOneByOneSets)
{
    const struct {
        const char* name;
        QTransform transform;
        bool clip;
        TPixelFormat format;
    } rows[] = {
        {"plain", QTransform(), false, pf24bit},
        {"32-bit", QTransform(), false, pf32bit},
        {"moved by whole pixels", QTransform::fromTranslate(3, -1), false, pf24bit},
        {"moved by half a pixel", QTransform::fromTranslate(0.5, 1), false, pf24bit},
        {"scaled", QTransform::fromScale(2, 2), false, pf24bit},
        {"clipped", QTransform(), true, pf24bit},
    };
    for (const auto& row : rows) {
        const std::unique_ptr<TBitmap> picture = Icon(row.format);
        const TBitmap& icon = *picture;
        const QImage keyed = Painted(row.transform, row.clip, [&](TCanvas& c) { c.DrawKeyed(2, 3, icon, kKey); });
        const QImage bySetting = Painted(row.transform, row.clip, [&](TCanvas& c) {
            const int step = row.format == pf32bit ? 4 : 3;
            for (int y = 0; y < icon.Height(); ++y) {
                const uint8_t* p = icon.ScanLine(y);
                for (int x = 0; x < icon.Width(); ++x, p += step)
                    if (RGB(p[2], p[1], p[0]) != kKey)
                        c.SetPixel(2 + x, 3 + y, RGB(p[2], p[1], p[0]));
            }
        });
        EXPECT_EQ(keyed, bySetting) << row.name;
    }
}
