// CUE sheets of configured disc images: every sheet goes through the check and, when it
// passes, its canonical form through the CD library. The data file is there under two names,
// one like the sheet's and one not, of a size the first two bytes choose.
#include "CdDisc.h"
#include "FuzzSupport.h"

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const off_t frames = static_cast<off_t>(data[0]) << 8 | data[1];
    for (const char* name : {"disc.bin", "data.img"}) {
        WriteFuzzFile(name, nullptr, 0);
        if (::truncate((FuzzFolder() + name).c_str(), frames * 2352) != 0)
            return 0;
    }
    const std::string cue = WriteFuzzFile("disc.cue", data + 2, size - 2);
    String refusal;
    ReadDiscToc(cue, &refusal);
    return 0;
}
