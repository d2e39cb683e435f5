#pragma once
// The multimedia device interface's "cdaudio" device, over the drive table: the requests the
// program makes, with the interface's item numbers, time formats and error codes.
#include "SysUtils.h"

#include <cstdint>
#include <functional>

using MCIERROR = uint32_t;
using MCIDEVICEID = uint16_t;

enum : uint32_t {
    MCI_FORMAT_MSF = 2,
    MCI_FORMAT_TMSF = 10,

    MCI_STATUS_LENGTH = 1,
    MCI_STATUS_POSITION = 2,
    MCI_STATUS_NUMBER_OF_TRACKS = 3,
    MCI_STATUS_TIME_FORMAT = 6,

    MCI_GETDEVCAPS_CAN_RECORD = 1,
    MCI_GETDEVCAPS_HAS_VIDEO = 3,
    MCI_GETDEVCAPS_DEVICE_TYPE = 4,
    MCI_GETDEVCAPS_CAN_PLAY = 7,
    MCI_GETDEVCAPS_CAN_EJECT = 8,

    MCI_DEVTYPE_VCR = 513,
    MCI_DEVTYPE_OVERLAY = 515,
    MCI_DEVTYPE_CD_AUDIO = 516,
    MCI_DEVTYPE_ANIMATION = 519,
    MCI_DEVTYPE_DIGITAL_VIDEO = 520,

    MCIERR_INVALID_DEVICE_ID = 257,
    MCIERR_INVALID_DEVICE_NAME = 263,
    MCIERR_DEVICE_NOT_READY = 276,
    MCIERR_OUTOFRANGE = 282,
    MCIERR_BAD_TIME_FORMAT = 293,
    MCIERR_INVALID_FILE = 296,
};

// Packed times: minutes in byte 0, seconds in byte 1, frames in byte 2 (MSF); the track in
// byte 0 and then minutes, seconds, frames (TMSF).
inline uint8_t MCI_MSF_MINUTE(uint32_t t) { return t & 0xFF; }
inline uint8_t MCI_MSF_SECOND(uint32_t t) { return (t >> 8) & 0xFF; }
inline uint8_t MCI_MSF_FRAME(uint32_t t) { return (t >> 16) & 0xFF; }

// MM_MCINOTIFY's values: how a command sent with the notify flag ended.
enum : uint32_t {
    MCI_NOTIFY_SUCCESSFUL = 1,
    MCI_NOTIFY_SUPERSEDED = 2,
    MCI_NOTIFY_ABORTED = 4,
    MCI_NOTIFY_FAILURE = 8,
};

// A window that takes MM_MCINOTIFY: the notify value and the device, on the UI thread. A
// command given a callback window (0 is none) and carried out posts MCI_NOTIFY_SUCCESSFUL to
// it; a command that fails posts nothing, its error is returned. What is posted to a window
// deallocated meanwhile goes nowhere.
using TMciNotifyProc = std::function<void(uint32_t notify, MCIDEVICEID id)>;
int mciAllocateNotifyWindow(TMciNotifyProc proc);
void mciDeallocateNotifyWindow(int window);

// Opens the "cdaudio" device of a drive letter (either case); letter 0 opens the first CD
// drive. The table of contents is read at open: a disc changed later needs a new open. A disc
// image whose CUE sheet is refused gives MCIERR_INVALID_FILE, whose text says why.
MCIERROR mciOpenCdAudio(char driveLetter, MCIDEVICEID& id, int callback = 0);
MCIERROR mciClose(MCIDEVICEID id, int callback = 0);
// Per-track items (position, length) with withTrack; lengths are always minutes, seconds and
// frames, the last track's ending one frame before the lead-out.
MCIERROR mciStatus(MCIDEVICEID id, uint32_t item, bool withTrack, uint32_t track, uint32_t& value);
MCIERROR mciSetTimeFormat(MCIDEVICEID id, uint32_t format, int callback = 0);
MCIERROR mciGetDevCaps(MCIDEVICEID id, uint32_t item, uint32_t& value);
// The media identity as decimal text.
MCIERROR mciInfoMediaIdentity(MCIDEVICEID id, String& text);
String mciGetErrorString(MCIERROR error);
