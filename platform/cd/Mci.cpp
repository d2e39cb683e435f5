#include "Mci.h"

#include "CdDisc.h"
#include "CdDrives.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <map>
#include <optional>

namespace {

constexpr int32_t kLeadIn = 150;  // positions count the two-second lead-in

struct Device {
    std::optional<TDiscToc> Toc;
    uint32_t TimeFormat = MCI_FORMAT_MSF;
};

// The program opens devices on the UI thread only.
std::map<MCIDEVICEID, Device>& Devices()
{
    static std::map<MCIDEVICEID, Device> devices;
    return devices;
}

uint32_t PackMsf(int32_t frames)
{
    int32_t m = frames / 4500, s = frames / 75 % 60, f = frames % 75;
    return static_cast<uint32_t>(m) | static_cast<uint32_t>(s) << 8 | static_cast<uint32_t>(f) << 16;
}

// Why the last disc image was refused: the text of MCIERR_INVALID_FILE, naming the image.
String& LastRefusal()
{
    static String text;
    return text;
}

Device* Find(MCIDEVICEID id)
{
    auto it = Devices().find(id);
    return it == Devices().end() ? nullptr : &it->second;
}

std::map<int, TMciNotifyProc>& NotifyWindows()  // UI thread only
{
    static std::map<int, TMciNotifyProc> windows;
    return windows;
}

// A command carried out tells its callback window, as a posted message does: after the
// command has returned.
MCIERROR Notify(MCIERROR result, int callback, MCIDEVICEID id)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (result != 0 || callback == 0 || !app)
        return result;
    QMetaObject::invokeMethod(app, [callback, id] {
        auto it = NotifyWindows().find(callback);
        if (it != NotifyWindows().end())
            it->second(MCI_NOTIFY_SUCCESSFUL, id);
    }, Qt::QueuedConnection);
    return result;
}

}  // namespace

int mciAllocateNotifyWindow(TMciNotifyProc proc)
{
    static int last = 0;
    NotifyWindows()[++last] = std::move(proc);
    return last;
}

void mciDeallocateNotifyWindow(int window) { NotifyWindows().erase(window); }

MCIERROR mciOpenCdAudio(char driveLetter, MCIDEVICEID& id, int callback)
{
    id = 0;
    char letter = driveLetter;
    if (letter == 0) {
        auto roots = GetLogicalDriveStrings();
        for (const String& root : roots)
            if (GetDriveType(root) == DRIVE_CDROM) {
                letter = root[0];
                break;
            }
    }
    if (letter == 0 || GetDriveType(String(1, letter)) != DRIVE_CDROM)
        return MCIERR_INVALID_DEVICE_NAME;
    String source = CdDriveSource(letter);
    std::optional<TDiscToc> toc;
    if (!source.empty()) {
        String refusal;
        toc = ReadDiscToc(source, &refusal);
        if (!refusal.empty()) {
            LastRefusal() = refusal;
            return MCIERR_INVALID_FILE;
        }
    }
    MCIDEVICEID next = 1;
    while (Devices().count(next))
        ++next;
    Devices()[next].Toc = toc;
    id = next;
    return Notify(0, callback, id);
}

MCIERROR mciClose(MCIDEVICEID id, int callback)
{
    return Notify(Devices().erase(id) ? MCIERROR(0) : MCIERROR(MCIERR_INVALID_DEVICE_ID), callback, id);
}

MCIERROR mciStatus(MCIDEVICEID id, uint32_t item, bool withTrack, uint32_t track, uint32_t& value)
{
    value = 0;
    Device* d = Find(id);
    if (!d)
        return MCIERR_INVALID_DEVICE_ID;
    if (item == MCI_STATUS_TIME_FORMAT) {
        value = d->TimeFormat;
        return 0;
    }
    if (!d->Toc)
        return MCIERR_DEVICE_NOT_READY;
    const TDiscToc& toc = *d->Toc;
    const uint32_t count = static_cast<uint32_t>(toc.Starts.size());
    if (withTrack && (track < 1 || track > count))
        return MCIERR_OUTOFRANGE;
    switch (item) {
    case MCI_STATUS_NUMBER_OF_TRACKS:
        value = count;
        return 0;
    case MCI_STATUS_POSITION: {
        uint32_t k = withTrack ? track : 1;
        value = d->TimeFormat == MCI_FORMAT_TMSF ? k : PackMsf(toc.Starts[k - 1] + kLeadIn);
        return 0;
    }
    case MCI_STATUS_LENGTH:
        if (!withTrack)
            value = PackMsf(toc.LeadOut - toc.Starts.front());
        else if (track < count)
            value = PackMsf(toc.Starts[track] - toc.Starts[track - 1]);
        else
            value = PackMsf(toc.LeadOut - toc.Starts[track - 1] - 1);
        return 0;
    default:
        return MCIERR_OUTOFRANGE;
    }
}

MCIERROR mciSetTimeFormat(MCIDEVICEID id, uint32_t format, int callback)
{
    Device* d = Find(id);
    if (!d)
        return MCIERR_INVALID_DEVICE_ID;
    if (format != MCI_FORMAT_MSF && format != MCI_FORMAT_TMSF)
        return MCIERR_BAD_TIME_FORMAT;
    d->TimeFormat = format;
    return Notify(0, callback, id);
}

MCIERROR mciGetDevCaps(MCIDEVICEID id, uint32_t item, uint32_t& value)
{
    value = 0;
    if (!Find(id))
        return MCIERR_INVALID_DEVICE_ID;
    switch (item) {
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_CAN_EJECT:
        value = 1;
        return 0;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_HAS_VIDEO:
        return 0;
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        value = MCI_DEVTYPE_CD_AUDIO;
        return 0;
    default:
        return MCIERR_OUTOFRANGE;
    }
}

MCIERROR mciInfoMediaIdentity(MCIDEVICEID id, String& text)
{
    text.clear();
    Device* d = Find(id);
    if (!d)
        return MCIERR_INVALID_DEVICE_ID;
    if (!d->Toc)
        return MCIERR_DEVICE_NOT_READY;
    text = IntToStr(DiscIdentity(*d->Toc));
    return 0;
}

String mciGetErrorString(MCIERROR error)
{
    switch (error) {
    case 0: return "The specified command was carried out.";
    case MCIERR_INVALID_DEVICE_ID: return "Invalid MCI device ID. Use the ID returned when opening the MCI device.";
    case MCIERR_INVALID_DEVICE_NAME: return "The specified device is not open or is not recognized by MCI.";
    case MCIERR_DEVICE_NOT_READY: return "The device is not ready.";
    case MCIERR_OUTOFRANGE: return "The specified parameter is out of range for the specified command.";
    case MCIERR_BAD_TIME_FORMAT: return "The specified parameter value is out of range for the specified MCI command.";
    case MCIERR_INVALID_FILE: return LastRefusal();
    default: return Format("Unknown MCI error %u.", static_cast<unsigned>(error));
    }
}
