#include "DiscImage.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int kLeadIn = 150;
constexpr int kSector = 2352;

String MsfText(int frames)
{
    return Format("%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75);
}

// Sector 16 of a MODE1/2352 track: sync, header, then the primary volume descriptor.
void WriteVolumeDescriptor(std::fstream& bin, const String& volumeId)
{
    unsigned char sector[kSector] = {};
    std::memset(sector + 1, 0xFF, 10);
    int frames = 16 + kLeadIn;
    auto bcd = [](int v) { return static_cast<unsigned char>((v / 10) << 4 | (v % 10)); };
    sector[12] = bcd(frames / 4500);
    sector[13] = bcd(frames / 75 % 60);
    sector[14] = bcd(frames % 75);
    sector[15] = 1;
    unsigned char* pvd = sector + 16;
    pvd[0] = 1;
    std::memcpy(pvd + 1, "CD001", 5);
    pvd[6] = 1;
    std::memset(pvd + 8, ' ', 32);
    std::memset(pvd + 40, ' ', 32);
    std::memcpy(pvd + 40, volumeId.data(), std::min<size_t>(volumeId.size(), 32));
    bin.seekp(16 * kSector);
    bin.write(reinterpret_cast<const char*>(sector), kSector);
}

}  // namespace

String WriteDiscImage(const String& folder, const String& name, const std::vector<TImageTrack>& tracks,
                      int leadOutFrame, const String& volumeId)
{
    String dir = IncludeTrailingPathDelimiter(folder);
    String cue = "FILE \"" + name + ".bin\" BINARY\n";
    for (size_t i = 0; i < tracks.size(); ++i) {
        cue += Format("  TRACK %02d %s\n", static_cast<int>(i + 1), tracks[i].Audio ? "AUDIO" : "MODE1/2352");
        cue += "    INDEX 01 " + MsfText(tracks[i].StartFrame - kLeadIn) + "\n";
    }
    std::ofstream(dir + name + ".cue", std::ios::binary) << cue;
    String bin = dir + name + ".bin";
    {
        std::fstream out(bin, std::ios::binary | std::ios::out | std::ios::trunc);
        if (!tracks.empty() && !tracks[0].Audio)
            WriteVolumeDescriptor(out, volumeId);
    }
    if (::truncate(bin.c_str(), static_cast<off_t>(leadOutFrame - kLeadIn) * kSector) != 0)
        throw std::runtime_error("cannot size " + bin);
    return dir + name + ".cue";
}
