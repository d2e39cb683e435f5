#pragma once
// Where the cover search asks. Ombrelle ships no catalogue: the user names one, a plain HTTP
// host answering "GET /api/search/<text>[/<category>]" with the reply of DataBinder1.h.
//
// The host comes from, first found:
//   - the environment variable OMBRELLE_CATALOGUE_HOST ("name" or "name:port");
//   - the file "Catalogue.ini" in the per-user config folder, section [Catalogue], keys
//     "Host" and "Domain" (the name shown in the status line);
// and is empty otherwise: a search then fails with the usual message, its status naming the
// file. The domain name defaults to the host.
#include "SysUtils.h"

struct TCatalogue {
    String Host;
    String DomainName;
};

TCatalogue CatalogueSettings();
// The file the host is set in: "Catalogue.ini" in the per-user config folder.
String CatalogueFileName();

// "http://" host "/api/search/" text, then "/" and the trimmed category when that is not
// empty; the whole cut to its first 255 characters, never inside an escape. In the text, the
// characters that would end or split its segment ("#", "?", "/", "%") are percent-encoded;
// the rest, blanks included, is left to the internet layer, which encodes on the wire what
// cannot travel raw.
String CatalogueSearchAddress(const String& host, const String& text, const String& category);
