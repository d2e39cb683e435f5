#pragma once
// Object model, string lists, file streams and event types.
#include "SysUtils.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
    // The name of the object's own class ("TButton"), as painters that key on names need it.
    String ClassName() const;
};

class TPersistent : public TObject {
public:
    virtual void Assign(const TPersistent& source);
};

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    // Told of components inserted into (owned by) this component, and (opRemove) of a component
    // going: one this component asked for its free-notification, or one of the same owner.
    // Overrides clear their references and call the inherited one, which passes the news on to
    // the components it owns. A C++ object is complete only once its constructor has returned,
    // so the insertion of a new component is told from the event loop, right after its
    // construction, and not at all when it is freed before then.
    virtual void Notification(TComponent* component, TOperation operation);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    String Name;
    int Tag = 0;
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(i); }

    // The free-notification: component hears Notification(this, opRemove) when this one is
    // destroyed, so that it can drop its reference. The link goes both ways: whichever of the
    // two goes first, the other is never told about freed memory.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);


private:
    void Unlink(TComponent* component);
    TComponent* owner_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// Events are callables tested for assignment before each call.
using TNotifyEvent = std::function<void(TObject* sender)>;

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual const String& Get(int index) const = 0;
    virtual void Put(int index, const String& s) = 0;
    virtual void Insert(int index, const String& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    const String& operator[](int index) const { return Get(index); }
    // The object attached to a line (not owned); lists that keep none answer nullptr.
    virtual TObject* Objects(int index) const { return nullptr; }
    virtual void SetObjects(int index, TObject* object) {}
    int Add(const String& s);
    int AddObject(const String& s, TObject* object);
    // Copies the lines with their objects.
    void AddStrings(const TStrings& other);
    int IndexOf(const String& s) const;  // case-insensitive, as the class library compares
    // Lines joined with CR LF, each line ended.
    String Text() const;
    // Splits on CR LF, LF or CR.
    void SetText(const String& text);
    void BeginUpdate() { ++updateCount_; }
    // The last EndUpdate reports the changes made since the first BeginUpdate.
    void EndUpdate();
    void Assign(const TPersistent& source) override;
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName) const;

protected:
    virtual void Changed() {}
    int updateCount_ = 0;
    bool changedWhileUpdating_ = false;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<String> lines) : items_(lines), objects_(items_.size()) {}
    int Count() const override { return static_cast<int>(items_.size()); }
    const String& Get(int index) const override;
    void Put(int index, const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    TObject* Objects(int index) const override;
    void SetObjects(int index, TObject* object) override;
    TNotifyEvent OnChange;
    // What OnChange reports, while it runs: one line inserted or deleted at Index, as a list
    // window hears of its lines, or anything else (several changes at once among them).
    struct TChange {
        enum TKind { Other, Inserted, Deleted } Kind = Other;
        int Index = -1;
    };
    const TChange& LastChange() const { return change_; }

protected:
    void Changed() override;

private:
    void Note(TChange::TKind kind, int index);
    TChange change_;
    bool changePending_ = false;
    std::vector<String> items_;
    std::vector<TObject*> objects_;  // by line; a line added without one has nullptr
};

[[noreturn]] void ListIndexError(int index);

enum TFileMode : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00,
};

class TStream : public TObject {
public:
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, int origin) = 0;  // origin: 0 begin, 1 current, 2 end
    int64_t Position() { return Seek(0, 1); }
    void SetPosition(int64_t p) { Seek(p, 0); }
    int64_t Size();
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
};

// A file stream; opening failures raise EFOpenError, creating failures EFCreateError.
class TFileStream : public TStream {
public:
    TFileStream(const String& fileName, unsigned mode);
    ~TFileStream() override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;

private:
    int fd_ = -1;
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void Clear() { data_.clear(); pos_ = 0; }
    void LoadFromFile(const String& fileName);
    const std::vector<uint8_t>& Data() const { return data_; }
    std::vector<uint8_t>& Data() { return data_; }

private:
    std::vector<uint8_t> data_;
    int64_t pos_ = 0;
};

// Writes a whole file through a temporary file in the same folder and a rename, so a crash
// never leaves half a file; the folder is synced after the rename, and temporaries that earlier
// interrupted saves of the file left behind are removed first (SafeSave.h). A symbolic link is
// followed and its target replaced, so the link stays. The new file gets the lineage given
// (SafeSave.h), if any. Raises EFCreateError when the file cannot be written or is not a plain
// file.
void WriteFileAtomically(const String& fileName, const void* data, size_t size, const String& lineage = String());
