#include "Catalogue.h"

#include "IniFiles.h"
#include "UserConfig.h"

#include <cstdlib>


String CatalogueFileName() { return UserConfigFolder() + "Catalogue.ini"; }

TCatalogue CatalogueSettings()
{
    TCatalogue catalogue;
    const TIniFile settings(CatalogueFileName());
    catalogue.Host = Trim(settings.ReadString("Catalogue", "Host", ""));
    catalogue.DomainName = Trim(settings.ReadString("Catalogue", "Domain", ""));
    if (const char* host = std::getenv("OMBRELLE_CATALOGUE_HOST"); host && *host)
        catalogue.Host = host;
    if (catalogue.DomainName.empty())
        catalogue.DomainName = catalogue.Host;
    return catalogue;
}

namespace {

String EncodeSegment(const String& text)
{
    String out;
    for (char c : text) {
        if (c == '#' || c == '?' || c == '/' || c == '%')
            out += Format("%%%02X", static_cast<unsigned char>(c));
        else
            out += c;
    }
    return out;
}

}  // namespace

String CatalogueSearchAddress(const String& host, const String& text, const String& category)
{
    String address = "http://" + host + "/api/search/" + EncodeSegment(text);
    const String trimmed = Trim(category);
    if (!trimmed.empty())
        address += "/" + trimmed;
    // Characters, not bytes: a cut never splits a UTF-8 sequence. An escape counts as the
    // three characters it is made of and goes whole or not at all.
    size_t characters = 0;
    for (size_t i = 0; i < address.size(); ++i) {
        if ((static_cast<unsigned char>(address[i]) & 0xC0) != 0x80 && ++characters > 255) {
            size_t cut = i;
            if (cut >= 1 && address[cut - 1] == '%')
                cut -= 1;
            else if (cut >= 2 && address[cut - 2] == '%')
                cut -= 2;
            return address.substr(0, cut);
        }
    }
    return address;
}
