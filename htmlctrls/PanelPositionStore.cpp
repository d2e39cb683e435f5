#include "PanelPositionStore.h"

#include "IniFiles.h"
#include "Registry.h"

namespace {

class RegistryStore : public TPositionStore {
public:
    explicit RegistryStore(const String& key) : key_(key) {}

    int ReadInteger(const String& section, const String& name, int fallback) override
    {
        TRegistry registry;
        if (!registry.OpenKey(Path(section), false))
            return fallback;
        return StrToIntDef(registry.ReadString(name), fallback);
    }

    void WriteInteger(const String& section, const String& name, int value) override
    {
        TRegistry registry;
        registry.OpenKey(Path(section), true);
        registry.WriteString(name, IntToStr(value));
    }

private:
    String Path(const String& section) const
    {
        String path = key_;
        if (path.empty() || path[0] != '\\')
            path = "\\" + path;
        return path + "\\" + section;
    }
    String key_;
};

class IniStore : public TPositionStore {
public:
    explicit IniStore(const String& fileName) : ini_(fileName) {}
    int ReadInteger(const String& section, const String& name, int fallback) override
    {
        return ini_.ReadInteger(section, name, fallback);
    }
    void WriteInteger(const String& section, const String& name, int value) override
    {
        ini_.WriteInteger(section, name, value);
    }

private:
    TIniFile ini_;
};

}  // namespace

std::unique_ptr<TPositionStore> OpenRegistryStore(const String& key) { return std::make_unique<RegistryStore>(key); }
std::unique_ptr<TPositionStore> OpenIniStore(const String& fileName) { return std::make_unique<IniStore>(fileName); }
