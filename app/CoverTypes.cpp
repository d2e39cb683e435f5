#include "CoverTypes.h"

#include "Forms.h"
#include "RegularFile.h"
#include "SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unordered_map>

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

namespace {
// A record as this program writes it: what carries no meaning is zero, distances bounded.
TCoverRec Normalised(const uint8_t* bytes, size_t size)
{
    TCoverRec rec;
    std::memset(&rec, 0, sizeof rec);  // a short last record is zero-filled
    std::memcpy(&rec, bytes, std::min(sizeof rec, size));
    rec.NameLength = static_cast<uint8_t>(std::min<int>(rec.NameLength, kCoverNameMax));
    std::memset(rec.NameChars + rec.NameLength, 0, kCoverNameMax - rec.NameLength);
    rec.Pad1 = 0;
    std::memset(rec.Pad2, 0, sizeof rec.Pad2);
    BoundLayout(rec);
    return rec;
}

TCoverRec Normalised(const TCoverRec& rec) { return Normalised(reinterpret_cast<const uint8_t*>(&rec), sizeof rec); }

bool Same(const TCoverRec& a, const TCoverRec& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<TCoverRec> Records(const std::vector<uint8_t>& bytes)
{
    std::vector<TCoverRec> records;
    records.reserve((bytes.size() + sizeof(TCoverRec) - 1) / sizeof(TCoverRec));
    for (size_t at = 0; at < bytes.size(); at += sizeof(TCoverRec))
        records.push_back(Normalised(bytes.data() + at, bytes.size() - at));
    return records;
}

// FNV-1a over the bytes a save writes.
uint64_t Checksum(const std::vector<uint8_t>& bytes)
{
    uint64_t sum = 14695981039346656037ull;
    for (uint8_t b : bytes)
        sum = (sum ^ b) * 1099511628211ull;
    return sum;
}

// A save marks the file with its lineage and the checksum of what it wrote: a file changed since
// by other means (rewritten in place, cut short, added to) fails the check and counts as made
// anew, so none of its places is taken for one this list knows.
String Mark(const String& lineage, const std::vector<uint8_t>& bytes)
{
    return Format("%s/%016llx", lineage.c_str(), static_cast<unsigned long long>(Checksum(bytes)));
}

// The file's records and its lineage, from one opening. A marked file changed since has its
// identity as its lineage, as one never marked has: copies that read it alike know it again.
std::vector<TCoverRec> ReadCovers(const String& name, String& lineage)
{
    TRegularFile file(name);
    std::vector<uint8_t> bytes;
    file.AppendRest(bytes, kMaxCoverFileSize);
    const String mark = FileLineage(file.Handle());
    const size_t slash = mark.rfind('/');
    lineage = slash != String::npos && mark == Mark(mark.substr(0, slash), bytes) ? mark.substr(0, slash)
                                                                                 : FileIdentity(file.Handle());
    return Records(bytes);
}

bool Missing(const String& name)
{
    struct stat st {};
    return ::stat(name.c_str(), &st) != 0 && errno == ENOENT;
}
}  // namespace

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
    RemoveStaleTemporaries(name);
    if (Missing(name)) {
        // No file yet: the layouts of this run create it at exit.
        saveAtExit_ = true;
        throw EFOpenError(Format("Cannot open file \"%s\". %s", name.c_str(), SysErrorMessage(ENOENT).c_str()));
    }
    // One read of the whole file: no FIFO is waited on, nothing beyond the limit is taken in.
    const std::vector<TCoverRec> records = ReadCovers(name, lineage_);
    leftCount_ = records.size();
    items_.reserve(items_.size() + records.size());
    places_.reserve(items_.size() + records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        items_.push_back(std::make_unique<TCoverRec>(records[i]));
        places_.push_back({true, i, records[i]});
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
    places_.emplace_back();
}

void TCoverList::Save(const std::function<bool()>& waiting)
{
    TFolderLock lock(fileName_, waiting);
    // A file gone meanwhile is written anew with every layout of this list.
    std::vector<TCoverRec> file;
    String lineage;
    if (!Missing(fileName_))
        file = ReadCovers(fileName_, lineage);
    // Other copies only ever change a file in place and append to it.
    const bool descends = !lineage.empty() && lineage == lineage_ && file.size() >= leftCount_;
    std::unordered_multimap<std::string, size_t> byValue;  // in a file of no known places
    if (!descends)
        for (size_t j = 0; j < file.size(); ++j)
            byValue.emplace(std::string(reinterpret_cast<const char*>(&file[j]), sizeof file[j]), j);
    const size_t before = file.size();
    std::vector<TFilePlace> places = places_;
    for (size_t i = 0; i < items_.size(); ++i) {
        const TCoverRec mine = Normalised(*items_[i]);
        TFilePlace& place = places[i];
        if (!descends) {
            const auto found = byValue.find(std::string(reinterpret_cast<const char*>(&mine), sizeof mine));
            if (found != byValue.end()) {
                place.Index = found->second;
                byValue.erase(found);  // a layout held twice here is found twice
            } else {
                place.Index = file.size();
                file.push_back(mine);
            }
        } else {
            const bool there = place.InFile && place.Index < before;
            const bool changedHere = !place.InFile || !Same(mine, place.MemoryValue);
            if (there && Same(file[place.Index], place.MemoryValue)) {
                file[place.Index] = mine;  // the file holds what this list last had: this list's value stands
            } else if (there && (!changedHere || Same(file[place.Index], mine))) {
                // Changed by the other copy alone, or by both alike: the file's value stands.
            } else {
                // New here, changed on both sides, or gone from the file: nothing is lost.
                place.Index = file.size();
                file.push_back(mine);
            }
        }
        place.InFile = true;
        place.MemoryValue = mine;
    }
    const auto* data = reinterpret_cast<const uint8_t*>(file.data());
    const std::vector<uint8_t> bytes(data, data + file.size() * sizeof(TCoverRec));
    WriteFileAtomically(fileName_, bytes.data(), bytes.size(), Mark(lineage.empty() ? NewLineage() : lineage, bytes));
    // Only a file written moves this list's places on: a failed save is made again in full.
    places_ = std::move(places);
    leftCount_ = ReadCovers(fileName_, lineage_).size();
}
