// Enhanced metafiles through libemf2svg.
#include "Metafile.h"
#include "MetafileSvg.h"

#include <emf2svg.h>
#include <uemf_safe.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdlib>
#include <mutex>

namespace {
constexpr uint32_t kHeaderRecord = 1;
constexpr uint32_t kEofRecord = 14;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr size_t kHeaderSize = 88;

[[noreturn]] void Damaged(const char* why) { throw EInvalidGraphic(Format("Metafile is not valid: %s", why)); }

void PutU32(std::vector<uint8_t>& d, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        d[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

size_t CountRecords(const std::vector<uint8_t>& d)
{
    size_t count = 0;
    for (size_t at = 0; at + 8 <= d.size(); at += MetaU32(d, at + 4))
        ++count;
    return count;
}

// Record types the record library cannot check: reserved, OpenGL and colour-profile records and
// types beyond the format's last one. None of them draws anything.
bool Uncheckable(uint32_t type)
{
    static constexpr uint32_t kTypes[] = {69, 96, 97, 102, 103, 105, 106, 107, 109, 110, 111, 112, 113, 117, 119, 120, 121};
    return type == 0 || type > 122 || std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

// Walks the records as the library will, so that a file claiming more than it holds, or more
// records than any picture needs, never reaches the library. Returns the records the library is
// given: every one that passed the checks, without those that cannot be checked.
std::vector<uint8_t> CheckedRecords(const std::vector<uint8_t>& d)
{
    std::vector<uint8_t> played;
    played.reserve(d.size());
    size_t at = 0;
    int records = 0;
    while (at < d.size()) {
        if (d.size() - at < 8)
            Damaged("a record is cut short");
        const uint32_t type = MetaU32(d, at), bytes = MetaU32(d, at + 4);
        if (bytes < 8 || bytes % 4 != 0 || bytes > d.size() - at)
            Damaged("a record runs past the end of the file");
        if (++records > kMetafileMaxRecords)
            throw EInvalidGraphic("Metafile has too many records to draw");
        if (!Uncheckable(type)) {
            // The converter trusts the counts and offsets inside each record; the record library
            // under it knows every record's layout and checks them against the record's size.
            if (!U_emf_record_safe(reinterpret_cast<const char*>(d.data() + at)))
                Damaged("a record's contents do not fit in it");
            played.insert(played.end(), d.begin() + at, d.begin() + at + bytes);
        }
        if (type == kEofRecord) {
            // The header's totals describe what is played.
            PutU32(played, 48, static_cast<uint32_t>(played.size()));
            PutU32(played, 52, static_cast<uint32_t>(CountRecords(played)));
            return played;
        }
        at += bytes;
    }
    Damaged("it ends without its last record");
}

std::mutex& LibraryMutex()
{
    static std::mutex m;
    return m;
}
}  // namespace

bool IsEnhancedMetafile(const std::vector<uint8_t>& d)
{
    return d.size() >= kHeaderSize && MetaU32(d, 0) == kHeaderRecord && MetaU32(d, 40) == kSignature;
}

namespace {
// The header's description and pixel format lie inside the header record.
void CheckHeader(const std::vector<uint8_t>& d)
{
    const uint64_t size = MetaU32(d, 4);
    if (size < kHeaderSize || size > d.size())
        Damaged("no metafile header");
    auto inside = [size](uint64_t offset, uint64_t bytes) {
        return bytes == 0 || (offset >= kHeaderSize && offset <= size && bytes <= size - offset);
    };
    // A description of no characters at an offset is read up to a terminator that may not exist.
    const uint32_t characters = MetaU32(d, 60), offset = MetaU32(d, 64);
    if ((characters != 0 || offset != 0) && (characters == 0 || !inside(offset, uint64_t(characters) * 2)))
        Damaged("its description lies outside its header");
    if (size >= 100 && !inside(MetaU32(d, 92), MetaU32(d, 88)))
        Damaged("its pixel format lies outside its header");
}
}  // namespace

TMetafileSvg EmfToSvg(const std::vector<uint8_t>& d)
{
    if (!IsEnhancedMetafile(d))
        Damaged("no metafile header");
    CheckHeader(d);
    std::vector<uint8_t> bytes = CheckedRecords(d);
    // The frame is in hundredths of a millimetre; the bounds, in device pixels, stand in for an
    // empty frame.
    TMetafileSvg out;
    int64_t w = int64_t(MetaS32(d, 32)) - MetaS32(d, 24), h = int64_t(MetaS32(d, 36)) - MetaS32(d, 28);
    if (w > 0 && h > 0) {
        out.Width = static_cast<int>(std::llround(std::min<double>(w * 96.0 / 2540, kMetafileMaxSide + 1)));
        out.Height = static_cast<int>(std::llround(std::min<double>(h * 96.0 / 2540, kMetafileMaxSide + 1)));
    } else {
        w = int64_t(MetaS32(d, 16)) - MetaS32(d, 8) + 1;
        h = int64_t(MetaS32(d, 20)) - MetaS32(d, 12) + 1;
        out.Width = static_cast<int>(std::clamp<int64_t>(w, 0, kMetafileMaxSide + 1));
        out.Height = static_cast<int>(std::clamp<int64_t>(h, 0, kMetafileMaxSide + 1));
    }
    CheckMetafileSize(out.Width, out.Height);

    std::lock_guard lock(LibraryMutex());
    char nameSpace[] = "";
    generatorOptions options{};
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    options.imgWidth = out.Width;
    options.imgHeight = out.Height;
    char* text = nullptr;
    size_t length = 0;
    const int done = emf2svg(reinterpret_cast<char*>(bytes.data()), bytes.size(), &text, &length, &options);
    struct Free {
        char* p;
        ~Free() { std::free(p); }
    } release{text};
    if (!done || !text)
        Damaged("its drawing cannot be played");
    out.Svg = QByteArray(text, static_cast<qsizetype>(length));
    return out;
}
