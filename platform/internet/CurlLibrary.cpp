#include "CurlLibrary.h"

#include <dlfcn.h>

namespace {

// The library's binary interface has kept this name since 2006.
constexpr const char* kSoname = "libcurl.so.4";

template <class F>
bool Resolve(void* handle, const char* name, F& f)
{
    f = reinterpret_cast<F>(dlsym(handle, name));
    return f != nullptr;
}

const TCurlLibrary* Open()
{
    // Never closed: the library's global state lives until the program ends.
    void* handle = dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    static TCurlLibrary lib;
#define OMBRELLE_CURL_RESOLVE(name) &&Resolve(handle, "curl_" #name, lib.name)
    const bool complete = true OMBRELLE_CURL_ENTRIES(OMBRELLE_CURL_RESOLVE);
#undef OMBRELLE_CURL_RESOLVE
    if (!complete || lib.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &lib;
}

}  // namespace

const TCurlLibrary* CurlLibrary()
{
    static const TCurlLibrary* const lib = Open();
    return lib;
}
