#include "CDPlayer.h"

#include "CdDrives.h"
#include "Controls.h"
#include "Mci.h"

#include <cctype>

namespace {
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
}

TCDPlayer::TCDPlayer(TComponent* owner) : TComponent(owner)
{
    about_ = "TCDPlayer 1.0: audio CD table of contents, CDDB disc id and CD information";
    listener_ = AddDeviceChangeListener([this](uint32_t event, const DEV_BROADCAST_VOLUME& volume) {
        GuardedCall([&] { DeviceChange(event, volume); });
    });
    notifyWindow_ = mciAllocateNotifyWindow([this](uint32_t notify, MCIDEVICEID) { MciNotify(notify); });
    drives_.BeginUpdate();
    for (const String& root : GetLogicalDriveStrings())
        if (GetDriveType(root) == DRIVE_CDROM)
            drives_.Add(root);
    drives_.EndUpdate();
    if (drives_.Count() > 0)
        CurrentDrive = drives_[0][0];
}

TCDPlayer::~TCDPlayer()
{
    info_.Tracks.clear();
    Close();
    mciDeallocateNotifyWindow(notifyWindow_);
    RemoveDeviceChangeListener(listener_);
}

void TCDPlayer::RaiseOnError(uint32_t result) const
{
    if (result != 0)
        throw EMCIDeviceError(mciGetErrorString(result));
}

uint16_t TCDPlayer::Open()
{
    if (deviceId_ != 0)
        return deviceId_;
    MCIDEVICEID id = 0;
    RaiseOnError(mciOpenCdAudio(Upper(CurrentDrive), id, notifyWindow_));
    deviceId_ = id;
    capabilities_ = 0;
    uint32_t value = 0;
    if (mciGetDevCaps(id, MCI_GETDEVCAPS_CAN_EJECT, value) == 0 && value)
        capabilities_ |= cdcCanEject;
    if (mciGetDevCaps(id, MCI_GETDEVCAPS_CAN_RECORD, value) == 0 && value)
        capabilities_ |= cdcCanRecord;
    if (mciGetDevCaps(id, MCI_GETDEVCAPS_CAN_PLAY, value) == 0 && value)
        capabilities_ |= cdcCanPlay;
    if (mciGetDevCaps(id, MCI_GETDEVCAPS_HAS_VIDEO, value) == 0 && value)
        capabilities_ |= cdcHasVideo;
    if (mciGetDevCaps(id, MCI_GETDEVCAPS_DEVICE_TYPE, value) == 0 &&
        (value == MCI_DEVTYPE_ANIMATION || value == MCI_DEVTYPE_DIGITAL_VIDEO ||
         value == MCI_DEVTYPE_OVERLAY || value == MCI_DEVTYPE_VCR))
        capabilities_ |= cdcAnimation;
    SetTimeFormat(MCI_FORMAT_TMSF);
    return deviceId_;
}

void TCDPlayer::Close()
{
    if (deviceId_ == 0)
        return;
    if (mciClose(deviceId_, notifyWindow_) == 0) {
        deviceId_ = 0;
        capabilities_ = 0;
    }
}

void TCDPlayer::Reopen()
{
    Close();
    Open();
    if (IsAudioCD())
        RefreshCDInfo();
}

void TCDPlayer::RefreshIfAudio()
{
    if (IsAudioCD())
        RefreshCDInfo();
}

bool TCDPlayer::IsAudioCD()
{
    try {
        return UpperCase(VolumeLabel(CurrentDrive)) == "AUDIO CD" || TrackCount() > 1;
    } catch (const std::exception&) {
        return false;
    }
}

uint32_t TCDPlayer::Status(uint32_t item, bool withTrack, int track)
{
    if (deviceId_ == 0)
        return 0;
    uint32_t value = 0;
    RaiseOnError(mciStatus(deviceId_, item, withTrack, static_cast<uint32_t>(track), value));
    return value;
}

int TCDPlayer::TrackCount() { return static_cast<int>(Status(MCI_STATUS_NUMBER_OF_TRACKS, false, 0)); }
uint32_t TCDPlayer::TrackPosition(int track) { return Status(MCI_STATUS_POSITION, true, track); }
uint32_t TCDPlayer::TrackLength(int track) { return Status(MCI_STATUS_LENGTH, true, track); }
uint32_t TCDPlayer::DiscLength() { return Status(MCI_STATUS_LENGTH, false, 0); }
uint8_t TCDPlayer::TimeFormat() { return static_cast<uint8_t>(Status(MCI_STATUS_TIME_FORMAT, false, 0)); }

void TCDPlayer::SetTimeFormat(uint8_t format)
{
    if (deviceId_ != 0)
        RaiseOnError(mciSetTimeFormat(deviceId_, format, notifyWindow_));
}

int TCDPlayer::MediaIdentity()
{
    String text;
    MCIERROR result = mciInfoMediaIdentity(deviceId_, text);
    if (result != 0)
        text = mciGetErrorString(result);
    return StrToIntDef(text, 0);
}

String TCDPlayer::VolumeLabel(char drive) const
{
    String label;
    return GetVolumeLabel(String(1, drive) + ":\\", label) ? label : String();
}

void TCDPlayer::ClearCDInfo()
{
    info_.Category.clear();
    info_.Artist.clear();
    info_.Title.clear();
    info_.Date.clear();
    info_.Tracks.clear();
}

void TCDPlayer::MciNotify(uint32_t notify)
{
    TNotifyValues value;
    switch (notify) {
    case MCI_NOTIFY_SUCCESSFUL: value = nvSuccessful; break;
    case MCI_NOTIFY_SUPERSEDED: value = nvSuperseded; break;
    case MCI_NOTIFY_ABORTED: value = nvAborted; break;
    case MCI_NOTIFY_FAILURE: value = nvFailure; break;
    default: return;
    }
    // Delivered from the message loop, where nothing else would catch what the handler raises.
    GuardedCall([&] { Fire(OnNotify, this, value); });
}

void TCDPlayer::DeviceChange(uint32_t event, const DEV_BROADCAST_VOLUME& volume)
{
    if (volume.dbcv_devicetype != DBT_DEVTYP_VOLUME || !(volume.dbcv_flags & DBTF_MEDIA) || volume.dbcv_unitmask == 0)
        return;
    int bit = 0;
    while (!(volume.dbcv_unitmask & (1u << bit)))
        ++bit;
    char letter = static_cast<char>('A' + bit);
    if (event == DBT_DEVICEARRIVAL) {
        // The picker hands letters over in lower case; broadcasts carry upper case.
        if (letter == Upper(CurrentDrive)) {
            Close();
            Reopen();
            if (IsAudioCD())
                RefreshCDInfo();
        }
        Fire(AfterInsert, this, letter);
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        ClearCDInfo();
        Fire(AfterRemove, this, letter);
    }
}

TTimeFormatScope::TTimeFormatScope(TCDPlayer& player, uint8_t format) : player_(player), saved_(player.TimeFormat())
{
    player_.SetTimeFormat(format);
}

TTimeFormatScope::~TTimeFormatScope()
{
    try {
        player_.SetTimeFormat(saved_);
    } catch (const std::exception&) {
        // The error that ended the scope is the one worth reporting.
    }
}
