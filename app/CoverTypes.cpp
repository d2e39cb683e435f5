#include "CoverTypes.h"

#include "Forms.h"

#include <algorithm>
#include <cerrno>
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
    TFileStream file(name, fmOpenRead);
    int64_t size = file.Size();
    std::vector<std::unique_ptr<TCoverRec>> loaded;
    while (file.Position() < size) {
        auto rec = std::make_unique<TCoverRec>();
        std::memset(rec.get(), 0, sizeof(TCoverRec));  // a short last record is zero-filled
        if (file.Read(rec.get(), sizeof(TCoverRec)) <= 0)
            throw EReadError(Format("Cannot read file \"%s\"", name.c_str()));
        if (rec->NameLength > kCoverNameMax)
            rec->NameLength = kCoverNameMax;
        loaded.push_back(std::move(rec));
    }
    for (auto& rec : loaded)
        items_.push_back(std::move(rec));
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
