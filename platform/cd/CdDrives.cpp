#include "CdDrives.h"

#include "CdDisc.h"
#include "CdWatcher.h"
#include "Registry.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace {

struct Drive {
    String Source;
    bool Virtual = false;
    int64_t LastIdentity = -1;
    bool Listed = false;  // its image comes from the list of disc images
};

std::mutex tableLock;

std::map<char, Drive>& Table()
{
    static std::map<char, Drive> table;
    return table;
}

char Letter(const String& root) { return root.empty() ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))); }

void FindDevices(std::map<char, Drive>& table)
{
    char letter = 'E';
    for (const String& device : FindCdDevices()) {
        while (table.count(letter) && letter < 'Z')
            ++letter;
        if (table.count(letter))
            break;
        table[letter++] = Drive{device, false, -1};
    }
}

std::vector<std::pair<char, String>> ConfiguredImages()
{
    std::vector<std::pair<char, String>> images;
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey("\\Software\\Ombrelle\\CD Images", false))
        return images;
    for (char c = 'A'; c <= 'Z'; ++c) {
        String cue = reg.ReadString(String(1, c));
        if (!cue.empty())
            images.emplace_back(c, cue);
    }
    return images;
}

// Puts the listed images in their drives and lets go of the drives of images no longer
// listed; a new drive starts from the identity given. The caller holds the lock. True when a
// drive changed.
bool ApplyImageList(std::map<char, Drive>& table, const std::vector<std::pair<char, String>>& images,
                    int64_t newIdentity)
{
    bool changed = false;
    for (auto it = table.begin(); it != table.end();) {
        const bool listed = std::any_of(images.begin(), images.end(), [&](const auto& i) { return i.first == it->first; });
        if (it->second.Listed && !listed) {
            it = table.erase(it);
            changed = true;
        } else {
            ++it;
        }
    }
    for (const auto& [letter, cue] : images) {
        Drive& d = table[letter];
        if (d.Listed && d.Source == cue)
            continue;
        if (!d.Virtual)
            d = Drive{"", true, newIdentity};
        d.Source = cue;
        d.Listed = true;
        changed = true;
    }
    return changed;
}

// First use fills the table; the caller holds the lock.
std::map<char, Drive>& Drives()
{
    static bool filled = false;
    if (!filled) {
        filled = true;
        FindDevices(Table());
        // What the drives hold at start is no change to announce.
        ApplyImageList(Table(), ConfiguredImages(), -1);
    }
    return Table();
}

}  // namespace

std::vector<String> GetLogicalDriveStrings()
{
    std::lock_guard<std::mutex> lock(tableLock);
    std::vector<String> roots;
    for (const auto& entry : Drives())
        roots.push_back(String(1, entry.first) + ":\\");
    return roots;
}

uint32_t GetLogicalDrives()
{
    std::lock_guard<std::mutex> lock(tableLock);
    uint32_t mask = 0;
    for (const auto& entry : Drives())
        if (entry.first >= 'A' && entry.first <= 'Z')
            mask |= 1u << (entry.first - 'A');
    return mask;
}

unsigned GetDriveType(const String& root)
{
    std::lock_guard<std::mutex> lock(tableLock);
    return Drives().count(Letter(root)) ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
}

String CdDriveSource(char letter)
{
    std::lock_guard<std::mutex> lock(tableLock);
    auto it = Drives().find(Letter(String(1, letter)));
    return it == Drives().end() ? String() : it->second.Source;
}

bool GetVolumeLabel(const String& root, String& label)
{
    String source = CdDriveSource(Letter(root));
    if (source.empty())
        return false;
    auto toc = ReadDiscToc(source);
    if (!toc)
        return false;
    label = toc->Audio.front() ? String("Audio CD") : toc->VolumeId.substr(0, 63);
    return true;
}

void CdInsertImage(char letter, const String& cueSheet)
{
    {
        std::lock_guard<std::mutex> lock(tableLock);
        Drive& d = Drives()[Letter(String(1, letter))];
        if (!d.Virtual)
            d = Drive{"", true, 0};
        d.Source = cueSheet;
    }
    CdCheckMediaNow();
}

void CdReadImageList()
{
    const auto images = ConfiguredImages();
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(tableLock);
        // A drive that appears now announces its disc.
        changed = ApplyImageList(Drives(), images, 0);
    }
    if (changed)
        CdCheckMediaNow();
}

void CdEjectImage(char letter)
{
    {
        std::lock_guard<std::mutex> lock(tableLock);
        auto it = Drives().find(Letter(String(1, letter)));
        if (it == Drives().end() || !it->second.Virtual)
            return;
        it->second.Source.clear();
    }
    CdCheckMediaNow();
}

void CdForgetDrive(char letter)
{
    std::lock_guard<std::mutex> lock(tableLock);
    Drives().erase(Letter(String(1, letter)));
}

void CdForgetAllDrives()
{
    std::lock_guard<std::mutex> lock(tableLock);
    Drives().clear();
}

std::vector<TCdDriveState> CdDriveStates()
{
    std::lock_guard<std::mutex> lock(tableLock);
    std::vector<TCdDriveState> states;
    for (const auto& [letter, d] : Drives())
        states.push_back(TCdDriveState{letter, d.Source, d.LastIdentity});
    return states;
}

bool CdUpdateIdentity(char letter, const String& source, int64_t identity, int64_t& previous)
{
    std::lock_guard<std::mutex> lock(tableLock);
    auto it = Drives().find(letter);
    if (it == Drives().end() || it->second.Source != source)
        return false;
    previous = it->second.LastIdentity;
    it->second.LastIdentity = identity;
    return true;
}

void CdTakeBaseline()
{
    std::vector<std::pair<char, String>> images;
    {
        std::lock_guard<std::mutex> lock(tableLock);
        for (auto& [letter, d] : Drives()) {
            if (d.Virtual)
                images.emplace_back(letter, d.Source);
            else
                d.LastIdentity = -1;
        }
    }
    for (const auto& [letter, source] : images) {
        auto toc = source.empty() ? std::nullopt : ReadDiscToc(source);
        int64_t previous = 0;
        CdUpdateIdentity(letter, source, toc ? DiscIdentity(*toc) : 0, previous);
    }
}
