#pragma once
// The system's font configuration, read on a thread of its own while the program starts.

#include <future>
#include <thread>

// Reading the configuration (dozens of XML files) and filling Qt's font database from it are the
// largest pieces of a start-up that draws text, and nothing needs them until the first text is
// measured. Made before the Qt application, the reader reads while Qt loads its platform and
// connects to the display. Wait() is called before anything measures or draws text, so the
// configuration is read once, not twice at the same time.
class FontConfigurationReader {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;
    void Wait();

    // Made once the Qt application is: the reader goes on to fill Qt's font database while the
    // first window is built (Qt's own lock keeps it filled once). Made after the application,
    // it goes before it, and waits for the filling to end first.
    class DatabaseFill {
    public:
        explicit DatabaseFill(FontConfigurationReader& reader);
        ~DatabaseFill();
        DatabaseFill(const DatabaseFill&) = delete;
        DatabaseFill& operator=(const DatabaseFill&) = delete;

    private:
        FontConfigurationReader& reader_;
    };

private:
    void Release(bool applicationMade);
    void Join();

    std::promise<bool> application_;
    bool released_ = false;
    std::shared_future<void> read_;
    std::thread reader_;
};
