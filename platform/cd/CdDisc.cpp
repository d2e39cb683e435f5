#include "CdDisc.h"

#include "CueSheet.h"

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>

namespace {

bool IsCueSheet(const String& source) { return UpperCase(ExtractFileExt(source)) == ".CUE"; }

// libcdio's own handler ends the process on an error message, and an unreadable medium is an
// ordinary answer here; its CUE reader is not safe to run on two threads at once.
void QuietLog(cdio_log_level_t, const char*) {}
std::mutex cdioLock;

struct CdioCloser {
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};

// The checked sheet in canonical form beside a link named like it to the data file, because
// the CD library opens the data file by the sheet's name, not by its FILE line. Removed with
// everything in it when done.
class CanonicalImage {
public:
    explicit CanonicalImage(const TCheckedCue& checked)
    {
        std::error_code error;
        std::filesystem::path temp = std::filesystem::temp_directory_path(error);
        String pattern = (error ? std::filesystem::path("/tmp") : temp).string() + "/ombrelle-cue-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw ECueSheetError(Format("Cannot prepare the disc image \"%s\". %s", checked.DataPath.c_str(),
                                        SysErrorMessage(errno).c_str()));
        folder_ = pattern;
        std::filesystem::path data = std::filesystem::absolute(checked.DataPath, error);
        std::filesystem::create_symlink(data, folder_ / "disc.bin", error);
        std::ofstream(folder_ / "disc.cue", std::ios::binary) << CanonicalCueText(checked.Sheet, "disc.bin");
    }
    ~CanonicalImage()
    {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    String Sheet() const { return (folder_ / "disc.cue").string(); }

private:
    std::filesystem::path folder_;
};

CdIo_t* OpenSource(const String& source, String* refusal)
{
    if (!IsCueSheet(source))
        return cdio_open(source.c_str(), DRIVER_DEVICE);
    try {
        CanonicalImage image(ReadCueSheet(source));
        return cdio_open_cue(image.Sheet().c_str());
    } catch (const Exception& e) {
        if (refusal)
            *refusal = e.Message;
        return nullptr;
    }
}

}  // namespace

std::optional<TDiscToc> ReadDiscToc(const String& source, String* refusal)
{
    std::lock_guard<std::mutex> lock(cdioLock);
    cdio_log_set_handler(QuietLog);
    std::unique_ptr<CdIo_t, CdioCloser> cd(OpenSource(source, refusal));
    if (!cd)
        return std::nullopt;
    track_t first = cdio_get_first_track_num(cd.get());
    track_t count = cdio_get_num_tracks(cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return std::nullopt;
    TDiscToc toc;
    for (track_t t = first; t < first + count; ++t) {
        lsn_t start = cdio_get_track_lsn(cd.get(), t);
        if (start == CDIO_INVALID_LSN)
            return std::nullopt;
        toc.Starts.push_back(start);
        toc.Audio.push_back(cdio_get_track_format(cd.get(), t) == TRACK_FORMAT_AUDIO);
    }
    toc.LeadOut = cdio_get_track_lsn(cd.get(), CDIO_CDROM_LEADOUT_TRACK);
    if (toc.LeadOut == CDIO_INVALID_LSN || toc.LeadOut <= toc.Starts.back())
        return std::nullopt;
    if (!toc.Audio.front()) {
        iso9660_pvd_t pvd;
        if (iso9660_fs_read_pvd(cd.get(), &pvd)) {
            if (char* id = iso9660_get_volume_id(&pvd)) {
                toc.VolumeId = id;
                std::free(id);
            }
        }
    }
    return toc;
}

std::vector<String> FindCdDevices()
{
    std::lock_guard<std::mutex> lock(cdioLock);
    cdio_log_set_handler(QuietLog);
    std::vector<String> found, seen;
    char** devices = cdio_get_devices(DRIVER_DEVICE);
    if (!devices)
        return found;
    for (char** d = devices; *d; ++d) {
        std::error_code error;
        String real = std::filesystem::weakly_canonical(*d, error).string();
        if (error || std::find(seen.begin(), seen.end(), real) != seen.end())
            continue;
        seen.push_back(real);
        found.push_back(*d);
    }
    cdio_free_device_list(devices);
    return found;
}

uint32_t DiscIdentity(const TDiscToc& toc)
{
    // FNV-1a over the track starts and the lead-out, kept positive so that it reads back as an
    // integer; 0 is reserved for "no disc".
    uint32_t h = 2166136261u;
    auto mix = [&h](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            h ^= (v >> (8 * i)) & 0xFF;
            h *= 16777619u;
        }
    };
    mix(static_cast<uint32_t>(toc.Starts.size()));
    for (int32_t s : toc.Starts)
        mix(static_cast<uint32_t>(s));
    mix(static_cast<uint32_t>(toc.LeadOut));
    h &= 0x7FFFFFFF;
    return h == 0 ? 1 : h;
}
