#pragma once
// Named integers in named sections: a registry key or an ini file, as the position store
// chooses.
#include "Classes.h"

#include <memory>

class TPositionStore {
public:
    virtual ~TPositionStore() = default;
    virtual int ReadInteger(const String& section, const String& name, int fallback) = 0;
    virtual void WriteInteger(const String& section, const String& name, int value) = 0;
};

// Registry: the key (a path under the current user) with one subkey per section.
std::unique_ptr<TPositionStore> OpenRegistryStore(const String& key);
std::unique_ptr<TPositionStore> OpenIniStore(const String& fileName);
