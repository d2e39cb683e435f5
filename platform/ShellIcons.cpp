#include "ShellIcons.h"

#include "CdDrives.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <cctype>
#include <map>
#include <memory>

namespace {

struct TSystemImageList {
    std::unique_ptr<TImageList> List;
    std::map<String, int> Index;  // icon key -> index in List
};

TSystemImageList& SystemList(bool small)
{
    static TSystemImageList lists[2];
    TSystemImageList& l = lists[small ? 1 : 0];
    if (!l.List) {
        int size = small ? 16 : 32;
        l.List = std::make_unique<TImageList>(nullptr, size, size);
    }
    return l;
}

QFileIconProvider& Provider()
{
    static QFileIconProvider provider;
    return provider;
}

// The icon's place in the list, added on first use.
TImageList* Lookup(const String& key, const QIcon& icon, unsigned flags, SHFILEINFO& info)
{
    info.iIcon = -1;
    if (icon.isNull())
        return nullptr;
    TSystemImageList& l = SystemList(flags & SHGFI_SMALLICON);
    auto it = l.Index.find(key);
    if (it == l.Index.end()) {
        int size = l.List->Width;
        QImage image = icon.pixmap(size, size).toImage();
        if (image.isNull())
            return nullptr;
        it = l.Index.emplace(key, l.List->AddImage(image)).first;
    }
    info.iIcon = it->second;
    return l.List.get();
}

bool IsDriveRoot(const String& path)
{
    return path.size() == 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

}  // namespace

TImageList* ShellDriveTypeIcon(unsigned driveType, unsigned flags, SHFILEINFO& info)
{
    QAbstractFileIconProvider::IconType type;
    switch (driveType) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK: type = QAbstractFileIconProvider::Drive; break;
    case DRIVE_REMOTE: type = QAbstractFileIconProvider::Network; break;
    default: info.iIcon = -1; return nullptr;
    }
    return Lookup("drive:" + IntToStr(static_cast<int>(type)), Provider().icon(type), flags, info);
}

TImageList* SHGetFileInfo(const String& path, unsigned flags, SHFILEINFO& info)
{
    if (IsDriveRoot(path))
        return ShellDriveTypeIcon(GetDriveType(path), flags, info);
    QFileInfo file(QString::fromStdString(path));
    if (!file.exists()) {
        info.iIcon = -1;
        return nullptr;
    }
    // Files of one kind share their icon, as in the system list.
    String key = file.isDir() ? String("folder") : "file:" + file.suffix().toLower().toStdString();
    return Lookup(key, Provider().icon(file), flags, info);
}
