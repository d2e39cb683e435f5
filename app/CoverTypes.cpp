#include "CoverTypes.h"

#include "Forms.h"
#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

String TCoverRec::Name() const
{
    int n = std::min<int>(NameLength, kCoverNameMax);
    return AnsiToUtf8(std::string(NameChars, n));
}

void TCoverRec::SetName(const String& name)
{
    std::string bytes = Utf8ToAnsi(name);
    if (bytes.size() > kCoverNameMax)
        bytes.resize(kCoverNameMax);
    std::memset(NameChars, 0, sizeof NameChars);
    std::memcpy(NameChars, bytes.data(), bytes.size());
    NameLength = static_cast<uint8_t>(bytes.size());
}

std::vector<TUnmappable> UnstorableNameCharacters(const String& name)
{
    return AnsiUnmappable(LeftStr(name, kCoverNameMax));
}

namespace {
float Bounded(float inches)
{
    if (std::isnan(inches))
        return 0;
    return std::clamp(inches, 0.0f, kMaxLayoutInches);
}
}  // namespace

void BoundLayout(TCoverRec& rec)
{
    rec.Left = Bounded(rec.Left);
    rec.Top = Bounded(rec.Top);
    rec.Width = Bounded(rec.Width);
    rec.Height = Bounded(rec.Height);
    rec.GapDist = Bounded(rec.GapDist);
}

int InchesToDevice(long double inches, int pixelsPerInch)
{
    // Far beyond any page, yet a sum of two such positions still fits an int.
    constexpr long double kLimit = INT_MAX / 4;
    long double pixels = pixelsPerInch * inches;
    if (std::isnan(pixels))
        return 0;
    return static_cast<int>(Trunc(std::clamp(pixels, -kLimit, kLimit)));
}

TCoverList::~TCoverList()
{
    if (!saveAtExit_)
        return;
    try {
        Save();
    } catch (const Exception& e) {
        // A destructor cannot raise; the user still learns the layouts were not written.
        Application()->HandleException(e.Message);
    }
}

void TCoverList::SetCoverFileName(const String& name)
{
    fileName_ = name;
    saveAtExit_ = false;
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0 && errno == ENOENT) {
        // No file yet: the layouts of this run create it at exit.
        saveAtExit_ = true;
        throw EFOpenError(Format("Cannot open file \"%s\". %s", name.c_str(), SysErrorMessage(ENOENT).c_str()));
    }
    // One read of the whole file: no FIFO is waited on, nothing beyond the limit is taken in.
    const std::vector<uint8_t> bytes = ReadRegularFile(name, kMaxCoverFileSize);
    items_.reserve(items_.size() + (bytes.size() + sizeof(TCoverRec) - 1) / sizeof(TCoverRec));
    for (size_t at = 0; at < bytes.size(); at += sizeof(TCoverRec)) {
        auto rec = std::make_unique<TCoverRec>();
        std::memset(rec.get(), 0, sizeof(TCoverRec));  // a short last record is zero-filled
        std::memcpy(rec.get(), bytes.data() + at, std::min(sizeof(TCoverRec), bytes.size() - at));
        if (rec->NameLength > kCoverNameMax)
            rec->NameLength = kCoverNameMax;
        BoundLayout(*rec);
        items_.push_back(std::move(rec));
    }
    saveAtExit_ = true;
}

PCoverRec TCoverList::GetCover(int index)
{
    if (index < 0 || index > CoverNo())
        ListIndexError(index);
    lastFetched_ = items_[index].get();
    return lastFetched_;
}

void TCoverList::AddCover(std::unique_ptr<TCoverRec> record)
{
    items_.push_back(std::move(record));
}

void TCoverList::Save() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(items_.size() * sizeof(TCoverRec));
    for (const auto& rec : items_) {
        TCoverRec clean = *rec;
        // What carries no meaning is written as zero.
        int n = std::min<int>(clean.NameLength, kCoverNameMax);
        clean.NameLength = static_cast<uint8_t>(n);
        std::memset(clean.NameChars + n, 0, kCoverNameMax - n);
        clean.Pad1 = 0;
        std::memset(clean.Pad2, 0, sizeof clean.Pad2);
        auto* p = reinterpret_cast<const uint8_t*>(&clean);
        bytes.insert(bytes.end(), p, p + sizeof clean);
    }
    WriteFileAtomically(fileName_, bytes.data(), bytes.size());
}
