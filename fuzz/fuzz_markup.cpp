// Mark-up from servers goes through the renderer: measuring, hit-testing and plain text must
// survive any bytes. The first two bytes choose the options and the point; the rest is the text.
#include "FuzzApplication.h"
#include "HtmlRender.h"
#include "HtmlStrip.h"
#include "MarkupPictureCache.h"
#include "PictureStore.h"
#include "TextMetrics.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {
class FixedMetrics : public TTextMetrics {
public:
    int TextWidth(const TFont&, const String& text) override { return static_cast<int>(text.size()) * 6; }
    int TextHeight(const TFont& font) override { return std::abs(font.Height()) + 2; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    EnsureFuzzApplication();
    static TImageList images(nullptr, 16, 16);
    if (images.Count() == 0) {
        QImage square(16, 16, QImage::Format_RGB32);
        square.fill(Qt::blue);
        images.AddImage(square);
        images.AddImage(square);
    }
    // A one-pixel GIF the mark-up can name as "pic"; addresses go to a cache of this input's own.
    static TPictureStore store;
    if (store.Items().Count() == 0) {
        static const uint8_t gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                                      0x21, 0xF9, 4, 0, 5, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44,
                                      1, 0, 0x3B};
        TPictureItem* item = store.Items().Add();
        item->Name = "pic";
        TMemoryStream stream;
        stream.WriteBuffer(gif, sizeof gif);
        item->Picture().LoadFromStream(stream);
    }
    TMarkupPictureCache cache;
    uint8_t options = data[0], point = data[1];
    String text(reinterpret_cast<const char*>(data + 2), size - 2);
    FixedMetrics metrics;
    TCanvas canvas;
    canvas.SetTextMetrics(&metrics);
    TRect rect{0, 0, 40 + (options & 0x3F) * 8, 400};
    bool wordWrap = options & 0x40;
    int x = (point & 0x0F) * 12, y = (point >> 4) * 7;
    for (int mode = 0; mode < 2; ++mode) {
        String anchor, plain, focus;
        int width = 0, height = 0, links = 0, hovered = -1;
        TRect hoveredRect{};
        HtmlDrawText(canvas, text, rect, &images, x, y, options & 3, (options >> 2) & 3, 2, mode == 1, mode == 0,
                     false, options & 0x80, options & 0x10, options & 0x20, wordWrap, 1.0, clBlue, clYellow, clRed,
                     clGray, anchor, plain, focus, width, height, links, hovered, hoveredRect, &cache, &store, 0);
        if (height <= 0 || width < 0 || links < 0)
            std::abort();
    }
    String stripped = HtmlStrip(text);
    if (stripped.size() > text.size() * 2)
        std::abort();
    return 0;
}
