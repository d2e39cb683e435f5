#include "Classes.h"

#include "SafeSave.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cxxabi.h>
#include <typeinfo>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

String TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    String name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    // Classes of a namespace (or a file's own) are known by their last name.
    const size_t colons = name.rfind("::");
    return colons == String::npos ? name : name.substr(colons + 2);
}

void TPersistent::Assign(const TPersistent&)
{
    throw EConvertError("Cannot assign");
}

namespace {
// Components made since the event loop last ran, whose owners have not been told yet.
std::vector<TComponent*>& PendingInsertions()
{
    static std::vector<TComponent*> pending;
    return pending;
}

void TellInsertions()
{
    auto& pending = PendingInsertions();
    // A notified component may make or free others meanwhile: take them one at a time.
    while (!pending.empty()) {
        TComponent* c = pending.front();
        pending.erase(pending.begin());
        if (c->Owner())
            c->Owner()->Notification(c, opInsert);
    }
}

// Insertions are told on the user-interface thread only, where windows and their parts live.
bool OnUserInterfaceThread()
{
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void QueueInsertion(TComponent* component)
{
    auto* app = QCoreApplication::instance();
    if (!OnUserInterfaceThread())
        return;
    auto& pending = PendingInsertions();
    if (pending.empty())
        QTimer::singleShot(0, app, [] { TellInsertions(); });
    pending.push_back(component);
}
}  // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_) {
        owner_->components_.push_back(this);
        QueueInsertion(this);
    }
}


TComponent::~TComponent()
{
    if (OnUserInterfaceThread())
        std::erase(PendingInsertions(), this);
    // Those that refer to this component let go of it before anything of it is freed.
    while (!freeNotifies_.empty()) {
        TComponent* c = freeNotifies_.back();
        freeNotifies_.pop_back();
        c->Unlink(this);
        c->Notification(this, opRemove);
    }
    // Owned components go first, newest first, as they were created after their owner.
    while (!components_.empty()) {
        TComponent* c = components_.back();
        components_.pop_back();
        c->owner_ = nullptr;
        delete c;
    }
    if (owner_) {
        auto& list = owner_->components_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        owner_->Notification(this, opRemove);
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    Unlink(component);
    component->Unlink(this);
}

void TComponent::Unlink(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove)
        Unlink(component);
    // Components inserted meanwhile are told themselves, from the queue; those freed meanwhile are not told.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void ListIndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}

int TStrings::Add(const String& s)
{
    int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::AddObject(const String& s, TObject* object)
{
    int i = Add(s);
    SetObjects(i, object);
    return i;
}

void TStrings::AddStrings(const TStrings& other)
{
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other[i], other.Objects(i));
}

int TStrings::IndexOf(const String& s) const
{
    String wanted = UpperCase(s);
    for (int i = 0; i < Count(); ++i)
        if (UpperCase(Get(i)) == wanted)
            return i;
    return -1;
}

String TStrings::Text() const
{
    String out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(const String& text)
{
    Clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t e = text.find_first_of("\r\n", i);
        if (e == String::npos) {
            Add(text.substr(i));
            break;
        }
        Add(text.substr(i, e - i));
        i = e + 1;
        if (text[e] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
}

void TStrings::Assign(const TPersistent& source)
{
    auto* other = dynamic_cast<const TStrings*>(&source);
    if (!other)
        return TPersistent::Assign(source);
    if (other == this)
        return;
    Clear();
    AddStrings(*other);
}

void TStrings::LoadFromFile(const String& fileName)
{
    TMemoryStream m;
    m.LoadFromFile(fileName);
    SetText(String(m.Data().begin(), m.Data().end()));
}

void TStrings::SaveToFile(const String& fileName) const
{
    String t = Text();
    WriteFileAtomically(fileName, t.data(), t.size());
}

const String& TStringList::Get(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return items_[index];
}

void TStringList::Put(int index, const String& s)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    items_[index] = s;
    Note(TChange::Other, index);
    Changed();
}

void TStringList::Insert(int index, const String& s)
{
    if (index < 0 || index > Count())
        ListIndexError(index);
    items_.insert(items_.begin() + index, s);
    objects_.insert(objects_.begin() + index, nullptr);
    Note(TChange::Inserted, index);
    Changed();
}

void TStringList::Delete(int index)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    items_.erase(items_.begin() + index);
    objects_.erase(objects_.begin() + index);
    Note(TChange::Deleted, index);
    Changed();
}

TObject* TStringList::Objects(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return objects_[index];
}

void TStringList::SetObjects(int index, TObject* object)
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    objects_[index] = object;
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && changedWhileUpdating_) {
        changedWhileUpdating_ = false;
        Changed();
    }
}

void TStringList::Note(TChange::TKind kind, int index)
{
    change_ = changePending_ ? TChange{} : TChange{kind, index};
    changePending_ = true;
}

void TStringList::Changed()
{
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    changePending_ = false;
    Fire(OnChange, this);
    change_ = {};
}

void TStringList::Clear()
{
    items_.clear();
    objects_.clear();
    Note(TChange::Other, -1);
    Changed();
}

int64_t TStream::Size()
{
    int64_t here = Seek(0, 1);
    int64_t end = Seek(0, 2);
    Seek(here, 0);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

TFileStream::TFileStream(const String& fileName, unsigned mode)
{
    // Opened without waiting and then checked: a FIFO would block the open or every read, a
    // device or a directory is no file to stream.
    const bool create = mode == fmCreate;
    int flags = create ? O_RDWR | O_CREAT | O_TRUNC
                : (mode & 3) == fmOpenReadWrite ? O_RDWR : (mode & 3) == fmOpenWrite ? O_WRONLY : O_RDONLY;
    fd_ = ::open(fileName.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
    auto fail = [&](int error) {
        String text = error ? SysErrorMessage(error) : String("Not a regular file");
        if (create)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), text.c_str()));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), text.c_str()));
    };
    if (fd_ < 0)
        fail(errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        int error = S_ISDIR(st.st_mode) ? EISDIR : 0;
        ::close(fd_);
        fd_ = -1;
        fail(error);
    }
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

TFileStream::~TFileStream()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count)
{
    auto* p = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count)
{
    auto* p = static_cast<const char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, p + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, int origin)
{
    int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : SEEK_END;
    return ::lseek(fd_, offset, whence);
}

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    int64_t n = std::clamp<int64_t>(static_cast<int64_t>(data_.size()) - pos_, 0, count);
    if (n > 0)
        std::copy_n(data_.begin() + pos_, n, static_cast<uint8_t*>(buffer));
    pos_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (count <= 0)
        return 0;
    if (pos_ + count > static_cast<int64_t>(data_.size()))
        data_.resize(pos_ + count);
    std::copy_n(static_cast<const uint8_t*>(buffer), count, data_.begin() + pos_);
    pos_ += count;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, int origin)
{
    int64_t base = origin == 0 ? 0 : origin == 1 ? pos_ : static_cast<int64_t>(data_.size());
    pos_ = std::max<int64_t>(0, base + offset);
    return pos_;
}

void TMemoryStream::LoadFromFile(const String& fileName)
{
    TFileStream f(fileName, fmOpenRead);
    int64_t size = f.Size();
    data_.resize(size > 0 ? size : 0);
    f.ReadBuffer(data_.data(), size);
    pos_ = 0;
}

namespace {
// The file a name finally stands for, following symbolic links (also dangling ones, whose
// target the write then creates), so that a link stays a link and its target gets the change.
String LinkTarget(const String& fileName)
{
    std::filesystem::path path = fileName;
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path.string();
}
}  // namespace

void WriteFileAtomically(const String& name, const void* data, size_t size, const String& lineage)
{
    const String fileName = LinkTarget(name);
    RemoveStaleTemporaries(fileName);
    String temp;
    int fd = CreateLockedTemporary(fileName, temp);
    auto fail = [&](int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        String text = error ? SysErrorMessage(error) : String("Not a regular file");
        throw EFCreateError(Format("Cannot create file \"%s\". %s", name.c_str(), text.c_str()));
    };
    if (fd < 0)
        fail(errno);
    auto* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : ENOSPC);
        done += n;
    }
    struct stat st {};
    bool exists = ::stat(fileName.c_str(), &st) == 0;
    // Only a plain file is replaced: a FIFO or a device of that name is no file of ours.
    if (exists && !S_ISREG(st.st_mode))
        fail(S_ISDIR(st.st_mode) ? EISDIR : 0);
    // A read-only file stays read-only even for a user whom the system would let write it.
    if (exists && ((st.st_mode & 0222) == 0 || ::access(fileName.c_str(), W_OK) != 0))
        fail(EACCES);
    mode_t mode = exists ? (st.st_mode & 07777) : 0644;
    ::fchmod(fd, mode);
    MarkLineage(fd, lineage);
    if (::fsync(fd) != 0)
        fail(errno);
    // The temporary stays open, and so locked, until it has its name: until then a clean-up
    // in another copy of the program would take it for a leftover.
    if (::rename(temp.c_str(), fileName.c_str()) != 0)
        fail(errno);
    ::close(fd);
    SyncFolderOf(fileName);
}
