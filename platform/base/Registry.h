#pragma once
// The class library's registry wrapper over one ini-format store in the per-user config folder
// ("Registry.ini"): a key is a section named by its root and path, a value a line of it, the
// default (unnamed) value the name "@". Key paths and value names match without regard to case.
#include "Classes.h"

#include <cstdint>
#include <memory>

class TIniText;

enum class HKEY : uint32_t {
    HKEY_CLASSES_ROOT = 0x80000000,
    HKEY_CURRENT_USER = 0x80000001,
    HKEY_LOCAL_MACHINE = 0x80000002,
};
constexpr HKEY HKEY_CLASSES_ROOT = HKEY::HKEY_CLASSES_ROOT;
constexpr HKEY HKEY_CURRENT_USER = HKEY::HKEY_CURRENT_USER;
constexpr HKEY HKEY_LOCAL_MACHINE = HKEY::HKEY_LOCAL_MACHINE;

class TRegistry : public TObject {
public:
    TRegistry();
    ~TRegistry() override;
    HKEY RootKey() const { return rootKey_; }
    // Closes the open key, as changing the root does.
    void SetRootKey(HKEY root);

    // A path starting with "\" is taken from the root, any other from the open key. Without
    // CanCreate a key that does not exist is not opened. Raises EFCreateError when creating
    // the key cannot be stored.
    bool OpenKey(const String& key, bool canCreate);
    void CloseKey();
    const String& CurrentPath() const { return currentPath_; }

    // An empty name is the key's default value; a missing value reads as the empty string.
    // Values are read from the store as it was when the key was opened or last written.
    String ReadString(const String& name) const;
    // Raises EFCreateError when the store cannot be written, Exception when no key is open.
    void WriteString(const String& name, const String& value);

    static String StoreFileName();

private:
    String Section(const String& path) const;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    bool open_ = false;
    String currentPath_;
    std::unique_ptr<TIniText> text_;  // the store while a key is open: one read for many values
};
