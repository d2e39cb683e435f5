#include "PictureFormats.h"

#include "Jpeg.h"
#include "Metafile.h"

void RegisterPictureFormats()
{
    TPicture::RegisterFileFormat("bmp", "Bitmaps", [] { return std::make_unique<TBitmap>(); });
    TPicture::RegisterFileFormat("ico", "Icons", [] { return std::make_unique<TIcon>(); });
    TPicture::RegisterFileFormat("emf", "Enhanced Metafiles", [] { return std::make_unique<TMetafile>(); });
    TPicture::RegisterFileFormat("wmf", "Metafiles", [] { return std::make_unique<TMetafile>(); });
    TPicture::RegisterFileFormat("jpg", "JPEG Image File", [] { return std::make_unique<TJPEGImage>(); });
    TPicture::RegisterFileFormat("jpeg", "JPEG Image File", [] { return std::make_unique<TJPEGImage>(); });
}
