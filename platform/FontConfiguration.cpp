#include "FontConfiguration.h"

#include <fontconfig/fontconfig.h>

// Qt's font database asks for the same default configuration when it is first used; finding it
// already made, it goes on at once.
FontConfigurationReader::FontConfigurationReader() : reader_([] { FcInit(); }) {}

FontConfigurationReader::~FontConfigurationReader() { Wait(); }

void FontConfigurationReader::Wait()
{
    if (reader_.joinable())
        reader_.join();
}
