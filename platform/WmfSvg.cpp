// 16-bit Windows metafiles through libwmf's SVG device layer.
#include "Metafile.h"
#include "MetafileSvg.h"

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kHeaderSize = 18;

[[noreturn]] void Damaged(const char* why) { throw EInvalidGraphic(Format("Metafile is not valid: %s", why)); }

size_t HeaderAt(const std::vector<uint8_t>& d)
{
    return d.size() >= kPlaceableSize && MetaU32(d, 0) == kPlaceableKey ? kPlaceableSize : 0;
}

// Walks the records as the library will, so that a file claiming more than it holds, or more
// records than any picture needs, never reaches the library. Returns the largest record's size
// in words.
uint32_t CheckRecords(const std::vector<uint8_t>& d, size_t at)
{
    int records = 0;
    uint32_t largest = 0;
    while (at < d.size()) {
        if (d.size() - at < 6)
            Damaged("a record is cut short");
        const uint64_t bytes = uint64_t(MetaU32(d, at)) * 2;
        const uint16_t function = MetaU16(d, at + 4);
        if (bytes < 6 || bytes > d.size() - at)
            Damaged("a record runs past the end of the file");
        if (++records > kMetafileMaxRecords)
            throw EInvalidGraphic("Metafile has too many records to draw");
        largest = std::max(largest, static_cast<uint32_t>(bytes / 2));
        if (function == 0)
            return largest;
        at += bytes;
    }
    Damaged("it ends without its last record");
}

std::mutex& LibraryMutex()
{
    static std::mutex m;
    return m;
}

struct Api {
    wmfAPI* api = nullptr;
    bool open = false;
    ~Api()
    {
        if (open)
            wmf_mem_close(api);
        if (api)
            wmf_api_destroy(api);
    }
};
}  // namespace

bool IsWindowsMetafile(const std::vector<uint8_t>& d)
{
    const size_t at = HeaderAt(d);
    if (d.size() < at + kHeaderSize)
        return false;
    const uint16_t type = MetaU16(d, at), headerWords = MetaU16(d, at + 2);
    return (type == 1 || type == 2) && headerWords == kHeaderSize / 2;
}

TMetafileSvg WmfToSvg(const std::vector<uint8_t>& d)
{
    const size_t at = HeaderAt(d);
    if (!IsWindowsMetafile(d))
        Damaged("no metafile header");
    const uint32_t largest = CheckRecords(d, at + kHeaderSize);
    TMetafileSvg out;
    if (at) {
        // A placeable header gives the frame in its own units and how many make an inch.
        const int units = MetaU16(d, 14);
        if (units == 0)
            Damaged("no units per inch");
        const int64_t w = std::abs(int64_t(MetaS16(d, 10)) - MetaS16(d, 6));
        const int64_t h = std::abs(int64_t(MetaS16(d, 12)) - MetaS16(d, 8));
        out.Width = static_cast<int>(std::llround(w * 96.0 / units));
        out.Height = static_cast<int>(std::llround(h * 96.0 / units));
        CheckMetafileSize(out.Width, out.Height);
    }

    std::lock_guard lock(LibraryMutex());
    Api api;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api.api, flags, &options) != wmf_E_None)
        throw EOutOfResources("Metafile reader could not start");
    // The library sizes its record buffer from the header's largest record: it gets the true one,
    // neither a claim of gigabytes nor one smaller than a record it will read.
    std::vector<uint8_t> bytes = d;
    for (int i = 0; i < 4; ++i)
        bytes[at + 12 + i] = static_cast<uint8_t>(largest >> (8 * i));
    if (wmf_mem_open(api.api, bytes.data(), static_cast<long>(bytes.size())) != wmf_E_None)
        Damaged("it cannot be read");
    api.open = true;
    wmfD_Rect box{};
    if (wmf_scan(api.api, 0, &box) != wmf_E_None)
        Damaged("its records cannot be read");
    if (!at) {
        // No placeable header: the library sizes the picture from what the records draw.
        unsigned int w = 0, h = 0;
        if (wmf_display_size(api.api, &w, &h, 96, 96) != wmf_E_None)
            Damaged("it has no size");
        out.Width = static_cast<int>(std::min<unsigned>(w, kMetafileMaxSide + 1));
        out.Height = static_cast<int>(std::min<unsigned>(h, kMetafileMaxSide + 1));
        CheckMetafileSize(out.Width, out.Height);
    }
    if (at) {
        // The picture is the placeable frame, not just the part the records draw on; the
        // library's device space is in points.
        const float points = 72.0f / MetaU16(d, 14);
        box.TL.x = MetaS16(d, 6) * points;
        box.TL.y = MetaS16(d, 8) * points;
        box.BR.x = MetaS16(d, 10) * points;
        box.BR.y = MetaS16(d, 12) * points;
    }
    wmf_svg_t* device = WMF_SVG_GetData(api.api);
    device->out = wmf_stream_create(api.api, nullptr);
    device->bbox = box;
    device->width = static_cast<unsigned>(out.Width);
    device->height = static_cast<unsigned>(out.Height);
    device->flags |= WMF_SVG_INLINE_IMAGES;
    const wmf_error_t played = wmf_play(api.api, 0, &box);
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api.api, device->out, &text, &length);
    device->out = nullptr;
    if (played != wmf_E_None || !text)
        Damaged("its drawing cannot be played");
    out.Svg = QByteArray(text, static_cast<qsizetype>(length));
    return out;
}
