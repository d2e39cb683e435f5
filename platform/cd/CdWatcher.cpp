#include "CdWatcher.h"

#include "CdDisc.h"
#include "CdDrives.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {

// How often real drives are looked at; virtual drives announce their changes at once.
constexpr auto kRound = std::chrono::seconds(2);

std::map<int, TDeviceChangeListener>& Listeners()  // UI thread only
{
    static std::map<int, TDeviceChangeListener> listeners;
    return listeners;
}

// Each watcher run has its own number; a broadcast a stopped watcher left in the queue belongs
// to listeners that are gone and never reaches the ones that came later.
std::atomic<unsigned> watcherRun{0};

void Deliver(unsigned run, uint32_t event, char letter)
{
    if (run != watcherRun.load())
        return;
    DEV_BROADCAST_VOLUME volume{DBT_DEVTYP_VOLUME, 1u << (letter - 'A'), DBTF_MEDIA};
    std::map<int, TDeviceChangeListener> copy = Listeners();
    for (const auto& [id, listener] : copy)
        if (Listeners().count(id))
            listener(event, volume);
}

class Watcher {
public:
    Watcher() : run_(++watcherRun), thread_([this] { Run(); }) {}
    ~Watcher()
    {
        {
            std::lock_guard<std::mutex> lock(lock_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void Wake()
    {
        {
            std::lock_guard<std::mutex> lock(lock_);
            pending_ = true;
        }
        wake_.notify_all();
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> lock(lock_);
        while (!stop_) {
            pending_ = false;
            lock.unlock();
            LookAtDrives();
            lock.lock();
            wake_.wait_for(lock, kRound, [this] { return stop_ || pending_; });
        }
    }

    void LookAtDrives()
    {
        for (const TCdDriveState& d : CdDriveStates()) {
            auto toc = d.Source.empty() ? std::nullopt : ReadDiscToc(d.Source);
            int64_t now = toc ? DiscIdentity(*toc) : 0;
            int64_t before = 0;
            if (!CdUpdateIdentity(d.Letter, d.Source, now, before) || before < 0 || before == now)
                continue;
            if (before != 0)
                Post(DBT_DEVICEREMOVECOMPLETE, d.Letter);
            if (now != 0)
                Post(DBT_DEVICEARRIVAL, d.Letter);
        }
    }

    void Post(uint32_t event, char letter)
    {
        unsigned run = run_;
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [run, event, letter] { Deliver(run, event, letter); }, Qt::QueuedConnection);
    }

    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool pending_ = false;
    const unsigned run_;
    std::thread thread_;
};

std::mutex watcherLock;
std::unique_ptr<Watcher>& TheWatcher()
{
    static std::unique_ptr<Watcher> watcher;
    return watcher;
}

}  // namespace

int AddDeviceChangeListener(TDeviceChangeListener listener)
{
    static int nextId = 0;
    int id = ++nextId;
    Listeners()[id] = std::move(listener);
    std::lock_guard<std::mutex> lock(watcherLock);
    if (!TheWatcher()) {
        CdTakeBaseline();
        TheWatcher() = std::make_unique<Watcher>();
    }
    return id;
}

void RemoveDeviceChangeListener(int id)
{
    Listeners().erase(id);
    if (!Listeners().empty())
        return;
    ++watcherRun;  // what the stopping watcher already queued goes nowhere
    std::unique_ptr<Watcher> stopping;
    {
        std::lock_guard<std::mutex> lock(watcherLock);
        stopping = std::move(TheWatcher());
    }
}

void CdCheckMediaNow()
{
    std::lock_guard<std::mutex> lock(watcherLock);
    if (TheWatcher())
        TheWatcher()->Wake();
}
