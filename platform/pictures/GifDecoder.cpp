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

bool ReadImage(GifFileType* gif, int transparent, QImage& image)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return false;
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colours || !colours->Colors)
        return false;
    if (desc.Width <= 0 || desc.Height <= 0) {
        image = QImage();
        return true;
    }
    if (static_cast<int64_t>(desc.Width) * desc.Height > kMaxPixels)
        return false;
    QImage out(desc.Width, desc.Height, QImage::Format_ARGB32);
    if (out.isNull())
        return false;
    std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
    auto readRow = [&](int y) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
            return false;
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < desc.Width; ++x) {
            int i = line[static_cast<size_t>(x)];
            if (i == transparent)
                row[x] = qRgba(0, 0, 0, 0);
            else if (i < colours->ColorCount)
                row[x] = qRgb(colours->Colors[i].Red, colours->Colors[i].Green, colours->Colors[i].Blue);
            else
                row[x] = qRgb(0, 0, 0);
        }
        return true;
    };
    if (desc.Interlace) {
        static const int start[] = {0, 4, 2, 1};
        static const int step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < desc.Height; y += step[pass])
                if (!readRow(y))
                    return false;
    } else {
        for (int y = 0; y < desc.Height; ++y)
            if (!readRow(y))
                return false;
    }
    image = out;
    return true;
}
}  // namespace

bool ReadGifImages(const uint8_t* data, size_t size, const std::function<bool(TGifImage&)>& take)
{
    Source source{data, size, 0};
    int error = 0;
    std::unique_ptr<GifFileType, Closer> gif(DGifOpen(&source, ReadBytes, &error));
    if (!gif)
        return false;
    Control control;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            return false;
        switch (type) {
        case IMAGE_DESC_RECORD_TYPE: {
            TGifImage image;
            if (!ReadImage(gif.get(), control.transparent, image.Pixels))
                return false;
            image.Left = gif->Image.Left;
            image.Top = gif->Image.Top;
            image.Disposal = control.disposal;
            control = Control{};  // a control extension is its next image's only
            if (!take(image))
                return true;
            break;
        }
        case EXTENSION_RECORD_TYPE:
            if (!SkipExtension(gif.get(), control))
                return false;
            break;
        case TERMINATE_RECORD_TYPE:
            return true;
        default:
            return false;
        }
    }
}

bool DecodeFirstGifImage(const uint8_t* data, size_t size, QImage& image)
{
    bool found = false;
    const bool read = ReadGifImages(data, size, [&](TGifImage& first) {
        image = first.Pixels;
        found = true;
        return false;
    });
    return read && found;
}
