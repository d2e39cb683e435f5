// 16-bit Windows metafiles through libwmf, checked, converted to SVG and drawn as the picture registry
// would open them. A refusal is an exception; anything else must give a picture of its size.
#include "Metafile.h"
#include "MetafileSvg.h"

#include <QImage>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    if (!IsWindowsMetafile(bytes))
        return 0;
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TMetafile picture;
    try {
        picture.LoadFromStream(stream);
        if (picture.Width() < 1 || picture.Width() > kMetafileMaxSide || picture.ToImage().width() != picture.Width())
            __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
