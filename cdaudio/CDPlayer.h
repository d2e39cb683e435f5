#pragma once
// TCDPlayer: an audio CD through the multimedia "cdaudio" device: the CD drives, the table of
// contents, the CDDB disc id, the CDDB request addresses, the local CD information file, and
// the reaction to discs arriving and leaving.
#include "Classes.h"
#include "CdWatcher.h"

#include <cstdint>
#include <vector>

class ECDPlayerError : public Exception { using Exception::Exception; };
class EMCIDeviceError : public Exception { using Exception::Exception; };

enum TDisplayTimeFormats { tfTotalElapsed, tfTotalRemain, tfTrackElapsed, tfTrackRemain };
enum TNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

using TDeviceChangeEvent = std::function<void(TObject* sender, char firstDriveLetter)>;
using TMMNotifyEvent = std::function<void(TObject* sender, TNotifyValues notifyValue)>;

struct TTOCEntry {
    int32_t StartMinute = 0;
    int32_t StartSecond = 0;
    int32_t LengthMinute = 0;
    int32_t LengthSecond = 0;
    int32_t StartFrame = 0;  // from the start of the disc, lead-in included
    String Name;
    String Reserved;
};

struct TTOC {
    String Reserved;
    String Category;
    String Artist;
    String Title;
    String Date;
    std::vector<TTOCEntry> Tracks;
};

// Capability bits read at open.
enum : uint8_t {
    cdcAnimation = 1,
    cdcCanPlay = 2,
    cdcCanEject = 4,
    cdcCanRecord = 8,
    cdcHasVideo = 16,
};

// The file that keeps what is known of each disc, one section per media identity.
extern const char* const CDInfoFileName;

class TCDPlayer : public TComponent {
public:
    explicit TCDPlayer(TComponent* owner = nullptr);
    ~TCDPlayer() override;

    // Published
    String About() const { return about_; }
    void SetAbout(const String&) {}
    String DefaultPlayer() const;
    void SetDefaultPlayer(const String& command);
    bool AutoRun() const;
    void SetAutoRun(bool on);
    char CurrentDrive = 0;
    bool AutoRewind = true;
    TDisplayTimeFormats DisplayTimeMode = tfTotalElapsed;
    TDeviceChangeEvent AfterInsert;
    TDeviceChangeEvent AfterRemove;
    TMMNotifyEvent OnNotify;

    // The device
    const TStrings& Drives() const { return drives_; }
    uint16_t DeviceID() const { return deviceId_; }
    uint8_t Capabilities() const { return capabilities_; }
    uint16_t Open();
    void Close();
    void Reopen();
    void RefreshIfAudio();
    bool IsAudioCD();
    int TrackCount();
    uint32_t TrackPosition(int track);
    uint32_t TrackLength(int track);
    uint32_t DiscLength();
    uint8_t TimeFormat();
    void SetTimeFormat(uint8_t format);
    int MediaIdentity();
    String VolumeLabel(char drive) const;

    // Table of contents and disc id
    void ReadTOC();
    uint32_t ComputeDiscId();
    static int DigitSum(int value);
    void RefreshCDInfo();
    TTOCEntry GetTrack(int index) const;
    uint32_t DiscId() const { return discId_; }
    bool FoundInIni() const { return foundInIni_; }

    // CDDB requests and the CD information file
    String BuildQueryURL(const String& server);
    String BuildReadURL(const String& server, const String& category, const String& idText) const;
    // False, writing nothing, for the identity 0 (no disc).
    bool SaveCDInfo(int id, const String& artist, const String& title, const String& date,
                    const String& category, const TStrings& names) const;
    bool LoadCDInfo(int id, String& artist, String& title, String& date, String& category,
                    TStrings& names) const;
    void SetCDInfo(const String& artist, const String& title, const String& date,
                   const String& category, const TStrings& names);
    const String& Category() const { return info_.Category; }
    const String& Artist() const { return info_.Artist; }
    const String& Title() const { return info_.Title; }
    const String& Date() const { return info_.Date; }
    const TTOC& CDInfo() const { return info_; }

private:
    void RaiseOnError(uint32_t result) const;
    uint32_t Status(uint32_t item, bool withTrack, int track);
    void DeviceChange(uint32_t event, const DEV_BROADCAST_VOLUME& volume);
    void MciNotify(uint32_t notify);
    void ClearCDInfo();

    TStringList drives_;
    uint16_t deviceId_ = 0;
    int listener_ = 0;
    int notifyWindow_ = 0;  // where the device's notifications come
    String about_;
    TTOC info_;
    uint32_t discId_ = 0;
    uint8_t capabilities_ = 0;
    bool foundInIni_ = false;
};

// Switches the device to a time format and restores the one it found when the scope ends,
// errors included.
class TTimeFormatScope {
public:
    TTimeFormatScope(TCDPlayer& player, uint8_t format);
    ~TTimeFormatScope();
    TTimeFormatScope(const TTimeFormatScope&) = delete;
    TTimeFormatScope& operator=(const TTimeFormatScope&) = delete;

private:
    TCDPlayer& player_;
    uint8_t saved_;
};
