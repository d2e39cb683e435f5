// Picture files opened through the picture-format registry, as "Open Image" opens them. The
// first byte chooses the extension (and so the graphic); the rest is the file.
#include "FuzzSupport.h"
#include "Graphics.h"
#include "PictureFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    EnsureApplication();
    static const bool registered = (RegisterPictureFormats(), true);
    (void)registered;
    static const char* const kExtensions[] = {"jpg", "jpeg", "bmp", "ico"};
    const std::string file = WriteFuzzFile(std::string("picture.") + kExtensions[data[0] % 4], data + 1, size - 1);
    TPicture picture;
    try {
        picture.LoadFromFile(file);
    } catch (const Exception&) {
    }
    return 0;
}
