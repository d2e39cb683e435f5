#pragma once
// libcurl, opened the first time an exchange needs it rather than by the loader at start-up:
// the library brings some thirty others (TLS, name lookup, authentication) that a session
// without a search or a CD lookup never uses.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>

// The entry points the Internet client calls, named as in the library without "curl_".
#define OMBRELLE_CURL_ENTRIES(X)                                                                          \
    X(global_init) X(free) X(url) X(url_set) X(url_get) X(url_cleanup) X(easy_init) X(easy_setopt)        \
    X(easy_pause) X(easy_cleanup) X(slist_append) X(slist_free_all) X(multi_init) X(multi_add_handle)     \
    X(multi_remove_handle) X(multi_perform) X(multi_poll) X(multi_info_read) X(multi_cleanup)

struct TCurlLibrary {
#define OMBRELLE_CURL_MEMBER(name) decltype(&::curl_##name) name = nullptr;
    OMBRELLE_CURL_ENTRIES(OMBRELLE_CURL_MEMBER)
#undef OMBRELLE_CURL_MEMBER
};

// The library, opened and initialised once, from whichever thread asks first; null when it
// cannot be opened, lacks an entry point or fails to initialise.
const TCurlLibrary* CurlLibrary();
