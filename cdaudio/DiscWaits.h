#pragma once
// The track finder's waits: a modal box, the chooser, a CDDB exchange. Each is for the disc
// shown when it began. The drive's change notices are handled while the finder waits and show
// the new disc at once; a wait whose disc has gone meanwhile is void, so that the action that
// waited stops on resuming and leaves the names alone. A disc that comes back does not revive
// the wait: the names shown were read afresh in between.
#include <atomic>
#include <vector>

class TDiscWaits {
public:
    class TWait {
    public:
        TWait(TDiscWaits& waits, int disc);
        ~TWait();
        TWait(const TWait&) = delete;
        TWait& operator=(const TWait&) = delete;

        bool DiscGone() const { return gone_; }
        // Set as the disc goes: an exchange that watches it gives up at once.
        const std::atomic<bool>* GoneFlag() const { return &gone_; }

    private:
        friend class TDiscWaits;
        TDiscWaits& waits_;
        int disc_;
        std::atomic<bool> gone_{false};
    };

    // The finder shows this disc now (0 for none): the waits begun for another are void.
    void Shown(int disc);

private:
    std::vector<TWait*> waits_;
};
