// The table of contents as the device reports it, and the CDDB disc id computed from it.
#include "CDPlayer.h"

#include "Mci.h"

namespace {

constexpr int kFramesPerSecond = 75;
constexpr int kFramesPerMinute = 4500;

int Frames(uint32_t msf)
{
    return MCI_MSF_MINUTE(msf) * kFramesPerMinute + MCI_MSF_SECOND(msf) * kFramesPerSecond + MCI_MSF_FRAME(msf);
}

const char* const kNoTOC = "Table of content is not initialized.";

}  // namespace

void TCDPlayer::ReadTOC()
{
    TTimeFormatScope msf(*this, MCI_FORMAT_MSF);
    int count = TrackCount();
    info_.Tracks.assign(count > 0 ? count : 0, TTOCEntry{});
    for (int k = 1; k <= count; ++k) {
        TTOCEntry& e = info_.Tracks[k - 1];
        int frames = Frames(TrackPosition(k));
        e.StartFrame = frames;
        e.StartMinute = frames / kFramesPerSecond / 60;
        e.StartSecond = frames / kFramesPerSecond % 60;
        uint32_t length = TrackLength(k);
        e.LengthMinute = MCI_MSF_MINUTE(length);
        e.LengthSecond = MCI_MSF_SECOND(length);
    }
}

int TCDPlayer::DigitSum(int value)
{
    int sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

uint32_t TCDPlayer::ComputeDiscId()
{
    int n = TrackCount();
    if (static_cast<int>(info_.Tracks.size()) != n)
        throw ECDPlayerError(kNoTOC);
    uint32_t s = 0;
    for (const TTOCEntry& e : info_.Tracks)
        s += static_cast<uint32_t>(DigitSum(e.StartMinute * 60 + e.StartSecond));
    TTimeFormatScope msf(*this, MCI_FORMAT_MSF);
    // The extra frame gives back the one the device leaves off the last track's length.
    int leadOut = Frames(TrackPosition(n)) + Frames(TrackLength(n)) + 1;
    uint32_t first = TrackPosition(1);
    int t = leadOut / kFramesPerSecond - (MCI_MSF_MINUTE(first) * 60 + MCI_MSF_SECOND(first));
    return ((s % 255) << 24) | (static_cast<uint32_t>(t) << 8) | static_cast<uint32_t>(n);
}

void TCDPlayer::RefreshCDInfo()
{
    ReadTOC();
    String artist, title, date, category;
    TStringList names;
    foundInIni_ = LoadCDInfo(MediaIdentity(), artist, title, date, category, names);
    info_.Artist = artist;
    info_.Title = title;
    info_.Date = date;
    info_.Category = category;
    for (int i = 0; i < names.Count() && i < static_cast<int>(info_.Tracks.size()); ++i)
        info_.Tracks[i].Name = names[i];
    discId_ = ComputeDiscId();
}

TTOCEntry TCDPlayer::GetTrack(int index) const
{
    if (index < 0 || index >= static_cast<int>(info_.Tracks.size()))
        throw ECDPlayerError(kNoTOC);
    return info_.Tracks[index];
}
