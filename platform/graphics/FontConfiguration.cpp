#include "FontConfiguration.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

// Qt's font database asks for the same default configuration when it is first used; finding it
// already made, it goes on at once.
FontConfigurationReader::FontConfigurationReader()
{
    std::promise<void> read;
    read_ = read.get_future().share();
    reader_ = std::thread([read = std::move(read), application = application_.get_future()]() mutable {
        FcInit();
        read.set_value();
        if (application.get())
            QFontDatabase::families();
    });
}

FontConfigurationReader::~FontConfigurationReader()
{
    Release(false);
    Join();
}

void FontConfigurationReader::Wait() { read_.wait(); }

void FontConfigurationReader::Release(bool applicationMade)
{
    if (released_)
        return;
    released_ = true;
    application_.set_value(applicationMade);
}

void FontConfigurationReader::Join()
{
    if (reader_.joinable())
        reader_.join();
}

FontConfigurationReader::DatabaseFill::DatabaseFill(FontConfigurationReader& reader) : reader_(reader)
{
    reader_.Release(true);
}

FontConfigurationReader::DatabaseFill::~DatabaseFill() { reader_.Join(); }
