#include "Catalogue.h"

#include "UserConfig.h"

#include <cstdlib>
#include <fstream>

namespace {

// "Key=Value" lines; keys compared without regard to case, section headers and comments
// skipped.
void ReadSettings(const String& fileName, TCatalogue& catalogue)
{
    std::ifstream in(fileName);
    String line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t eq = line.find('=');
        if (eq == String::npos)
            continue;
        const String key = UpperCase(Trim(line.substr(0, eq)));
        const String value = Trim(line.substr(eq + 1));
        if (key == "HOST")
            catalogue.Host = value;
        else if (key == "DOMAIN")
            catalogue.DomainName = value;
    }
}

}  // namespace

TCatalogue CatalogueSettings()
{
    TCatalogue catalogue;
    ReadSettings(UserConfigFolder() + "Catalogue.ini", catalogue);
    if (const char* host = std::getenv("OMBRELLE_CATALOGUE_HOST"); host && *host)
        catalogue.Host = host;
    if (catalogue.DomainName.empty())
        catalogue.DomainName = catalogue.Host;
    return catalogue;
}

String CatalogueSearchAddress(const String& host, const String& text, const String& category)
{
    String address = "http://" + host + "/api/search/" + text;
    const String trimmed = Trim(category);
    if (!trimmed.empty())
        address += "/" + trimmed;
    // Characters, not bytes: a cut never splits a UTF-8 sequence.
    size_t characters = 0;
    for (size_t i = 0; i < address.size(); ++i) {
        if ((static_cast<unsigned char>(address[i]) & 0xC0) != 0x80 && ++characters > 255)
            return address.substr(0, i);
    }
    return address;
}
