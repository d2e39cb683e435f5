#pragma once
// Device-change broadcasts for CD media. A watcher thread looks at every drive of the drive
// table (re-reading the table of contents, since a changed disc need not announce itself) and
// each arrival or removal reaches the listeners on the UI thread as a volume broadcast.
#include <cstdint>
#include <functional>

enum : uint32_t {
    WM_DEVICECHANGE = 0x219,
    DBT_DEVICEARRIVAL = 0x8000,
    DBT_DEVICEREMOVECOMPLETE = 0x8004,
    DBT_DEVTYP_VOLUME = 2,
    DBTF_MEDIA = 1,
};

struct DEV_BROADCAST_VOLUME {
    uint32_t dbcv_devicetype;  // DBT_DEVTYP_VOLUME
    uint32_t dbcv_unitmask;    // bit 0 is drive A
    uint16_t dbcv_flags;       // DBTF_MEDIA
};

using TDeviceChangeListener = std::function<void(uint32_t event, const DEV_BROADCAST_VOLUME& volume)>;

// Called on the UI thread. The first listener starts the watcher, removing the last stops it.
int AddDeviceChangeListener(TDeviceChangeListener listener);
void RemoveDeviceChangeListener(int id);
// Makes the watcher look at the drives now instead of at its next round.
void CdCheckMediaNow();
