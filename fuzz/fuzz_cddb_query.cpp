// CDDB query replies as a server might send them.
#include "CDDBReply.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string reply(reinterpret_cast<const char*>(data), size);
    TCDDBQueryReply r = ParseQueryReply(reply);
    for (const String& row : r.Rows) {
        String category, id;
        SplitQueryRow(row, category, id);
        if (category.find(' ') != String::npos || id.find(' ') != String::npos)
            std::abort();
    }
    if (r.Rows.size() > size)
        std::abort();
    return 0;
}
