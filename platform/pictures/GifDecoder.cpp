#include "GifDecoder.h"

#include <QImage>

#include <gif_lib.h>

#include <algorithm>
#include <functional>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// Pictures larger than this are refused rather than allocated.
constexpr int64_t kMaxPixels = 64LL * 1024 * 1024;

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* s = static_cast<Source*>(gif->UserData);
    size_t n = std::min<size_t>(static_cast<size_t>(std::max(length, 0)), s->size - s->pos);
    std::memcpy(buffer, s->data + s->pos, n);
    s->pos += n;
    return static_cast<int>(n);
}

struct Closer {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// The control extension's settings for the next image.
struct Control {
    int transparent = -1;
    int disposal = 0;
};

bool SkipExtension(GifFileType* gif, Control& control)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        control.transparent = (block[1] & 1) ? block[4] : -1;
        control.disposal = (block[1] >> 2) & 7;
    }
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// Reads the image whose descriptor is next, storing the part inside keep (all of it when keep is
// null) and charging its declared pixels to budget first. Every row is read, kept or not: the
// data goes on behind it.
TGifRead ReadImage(GifFileType* gif, int transparent, const QRect& keep, int64_t& budget, TGifImage& image)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return TGifRead::Unreadable;
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colours || !colours->Colors)
        return TGifRead::Unreadable;
    const QRect whole(desc.Left, desc.Top, std::max(desc.Width, 0), std::max(desc.Height, 0));
    const QRect kept = keep.isNull() ? whole : whole & keep;
    image.Pixels = QImage();
    image.Left = kept.isEmpty() ? whole.left() : kept.left();
    image.Top = kept.isEmpty() ? whole.top() : kept.top();
    if (whole.isEmpty())
        return TGifRead::Read;
    const int64_t pixels = static_cast<int64_t>(whole.width()) * whole.height();
    if (pixels > budget)
        return TGifRead::TooLarge;
    budget -= pixels;
    QImage out;
    if (!kept.isEmpty()) {
        out = QImage(kept.size(), QImage::Format_ARGB32);
        if (out.isNull())
            return TGifRead::Unreadable;
    }
    std::vector<GifPixelType> line(static_cast<size_t>(whole.width()));
    // Columns of the image that are kept, and the row of out that image row y becomes.
    const int from = kept.left() - whole.left(), to = from + kept.width();
    auto readRow = [&](int y) {
        if (DGifGetLine(gif, line.data(), whole.width()) == GIF_ERROR)
            return false;
        const int outY = whole.top() + y - kept.top();
        if (out.isNull() || outY < 0 || outY >= out.height())
            return true;
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(outY));
        for (int x = from; x < to; ++x) {
            int i = line[static_cast<size_t>(x)];
            if (i == transparent)
                row[x - from] = qRgba(0, 0, 0, 0);
            else if (i < colours->ColorCount)
                row[x - from] = qRgb(colours->Colors[i].Red, colours->Colors[i].Green, colours->Colors[i].Blue);
            else
                row[x - from] = qRgb(0, 0, 0);
        }
        return true;
    };
    if (desc.Interlace) {
        static const int start[] = {0, 4, 2, 1};
        static const int step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < whole.height(); y += step[pass])
                if (!readRow(y))
                    return TGifRead::Unreadable;
    } else {
        for (int y = 0; y < whole.height(); ++y)
            if (!readRow(y))
                return TGifRead::Unreadable;
    }
    image.Pixels = out;
    return TGifRead::Read;
}
}  // namespace

TGifRead ReadGifImages(const uint8_t* data, size_t size, int64_t maxPixels, const QRect& keep,
                       const std::function<bool(TGifImage&)>& take)
{
    Source source{data, size, 0};
    int error = 0;
    std::unique_ptr<GifFileType, Closer> gif(DGifOpen(&source, ReadBytes, &error));
    if (!gif)
        return TGifRead::Unreadable;
    Control control;
    int64_t budget = maxPixels;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            return TGifRead::Unreadable;
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            TGifImage image;
            const TGifRead read = ReadImage(gif.get(), control.transparent, keep, budget, image);
            if (read != TGifRead::Read)
                return read;
            image.Disposal = control.disposal;
            control = Control{};  // a control extension is its next image's only
            if (!take(image))
                return TGifRead::Read;
            break;
        }
        case EXTENSION_RECORD_TYPE:
            if (!SkipExtension(gif.get(), control))
                return TGifRead::Unreadable;
            break;
        case TERMINATE_RECORD_TYPE:
            return TGifRead::Read;
        default:
            return TGifRead::Unreadable;
        }
    }
}

bool DecodeFirstGifImage(const uint8_t* data, size_t size, QImage& image)
{
    bool found = false;
    const TGifRead read = ReadGifImages(data, size, kMaxPixels, QRect(), [&](TGifImage& first) {
        image = first.Pixels;
        found = true;
        return false;
    });
    return read == TGifRead::Read && found;
}
