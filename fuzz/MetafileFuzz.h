#pragma once
// The metafile targets: bytes of one kind of metafile, measured and played onto a picture as
// the picture registry would open them, under limits small enough that each input is played
// quickly. A refusal is an exception; anything else must give a picture of its own size.
#include "FuzzSupport.h"
#include "Metafile.h"
#include "MetafilePlayers.h"

#include <QImage>

#include <cstdint>
#include <vector>

inline int FuzzMetafile(const uint8_t* data, size_t size, bool (*isKind)(const std::vector<uint8_t>&))
{
    const std::vector<uint8_t> bytes(data, data + size);
    if (!isKind(bytes))
        return 0;
    EnsureApplication();
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    TMetafile picture;
    picture.Limits.Work = 20 * 1000 * 1000;
    picture.Limits.BitmapPixels = 4 << 20;
    try {
        picture.LoadFromStream(stream);
        if (picture.Width() < 1 || picture.Width() > kMetafileMaxSide || picture.ToImage().width() != picture.Width())
            __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
