// CDDB read replies as a server might send them.
#include "CDDBReply.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string reply(reinterpret_cast<const char*>(data), size);
    TCDDBReadReply e;
    if (ParseReadReply(reply, e) && e.Names.Count() > 99)
        std::abort();
    return 0;
}
