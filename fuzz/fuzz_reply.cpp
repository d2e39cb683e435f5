// The catalogue reply on arbitrary bytes: parsing, binding and the result lines. A line may
// only hold the tags it builds itself, whatever the reply says.
#include "CoverReply.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        ReplyLines(bytes, [](const String& line) {
            size_t covers = 0, tags = 0;
            for (size_t at = line.find("</A>    "); at != String::npos; at = line.find("</A>    ", at + 1))
                ++covers;
            for (char c : line)
                tags += c == '<';
            if (tags != 8 + 2 * covers)
                __builtin_trap();
        });
    } catch (const Exception&) {
    }
    return 0;
}
