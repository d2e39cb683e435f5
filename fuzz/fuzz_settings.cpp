// "Settings.ini" as the program loads it: any bytes become layouts whose distances lie on a
// page, whose names fit their record, and which the preview and the printer place without
// overflow.
#include "CoverTypes.h"
#include "FuzzSupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = WriteFuzzFile("Settings.ini", data, size);
    TCoverList list;
    list.SetCoverFileName(file);
    for (int i = 0; i <= list.CoverNo(); ++i) {
        const TCoverRec& rec = *list.GetCover(i);
        for (float inches : {rec.Left, rec.Top, rec.Width, rec.Height, rec.GapDist})
            if (!(inches >= 0 && inches <= kMaxLayoutInches))
                std::abort();
        if (rec.Name().size() > 4 * kCoverNameMax)
            std::abort();
        const int x2 = InchesToDevice(static_cast<long double>(rec.Left) + rec.Width + rec.GapDist, 2400);
        if (x2 + InchesToDevice(rec.Width, 2400) < 0)
            std::abort();
    }
    return 0;
}
