#include "Registry.h"

#include "IniText.h"
#include "UserConfig.h"

namespace {

const char* RootName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    default: return "HKEY_CURRENT_USER";
    }
}

// Separators collapsed and trimmed, so "A\\B\" and "A\B" are the same key.
String CleanPath(const String& path)
{
    String out;
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

String ValueName(const String& name) { return name.empty() ? "@" : name; }

}  // namespace

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

String TRegistry::StoreFileName() { return UserConfigFolder() + "Registry.ini"; }

String TRegistry::Section(const String& path) const
{
    return path.empty() ? String(RootName(rootKey_)) : String(RootName(rootKey_)) + "\\" + path;
}

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    rootKey_ = root;
}

bool TRegistry::OpenKey(const String& key, bool canCreate)
{
    String path = !key.empty() && key[0] == '\\' ? CleanPath(key)
                  : CleanPath(open_ && !currentPath_.empty() ? currentPath_ + "\\" + key : key);
    auto text = std::make_unique<TIniText>();
    text->Load(StoreFileName());
    if (!text->HasHeader(Section(path))) {
        if (!canCreate)
            return false;
        ForceUserConfigFolder();
        // Creating a key creates the keys above it.
        for (size_t sep = path.find('\\'); sep != String::npos; sep = path.find('\\', sep + 1))
            text->AddHeader(Section(path.substr(0, sep)));
        text->AddHeader(Section(path));
        text->Save(StoreFileName());
    }
    CloseKey();
    currentPath_ = path;
    open_ = true;
    text_ = std::move(text);
    return true;
}

void TRegistry::CloseKey()
{
    open_ = false;
    currentPath_.clear();
    text_.reset();
}

String TRegistry::ReadString(const String& name) const
{
    if (!open_)
        return "";
    String value;
    return text_->Find(Section(currentPath_), ValueName(name), value) ? value : "";
}

void TRegistry::WriteString(const String& name, const String& value)
{
    if (!open_)
        throw Exception(Format("Failed to set data for '%s'", name.c_str()));
    ForceUserConfigFolder();
    // Read again: another key object may have written the store since this key was opened.
    text_->Load(StoreFileName());
    text_->Set(Section(currentPath_), ValueName(name), value);
    text_->Save(StoreFileName());
}
