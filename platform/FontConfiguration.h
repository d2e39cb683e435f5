#pragma once
// The system's font configuration, read on a thread of its own while the program starts.

#include <thread>

// Reading the configuration (dozens of XML files) is the largest single piece of a start-up that
// draws text, and nothing needs it until the first text is measured. Made before the Qt
// application, it reads while Qt loads its platform and connects to the display; Wait() is
// called before anything measures or draws text, so the configuration is read once, not twice
// at the same time.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;
    void Wait();

private:
    std::thread reader_;
};
