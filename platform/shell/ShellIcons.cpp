#include "ShellIcons.h"

#include "CdDrives.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>

#include <cctype>

#include <map>
#include <memory>
#include <vector>

namespace {
struct IconTable {
    std::vector<QIcon> icons;
    std::map<QString, int> byKey;
    std::unique_ptr<TImageList> lists[2];
};

// The icon provider draws on the widget style, so it needs the widget application object.
bool ProviderAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

IconTable& Table()
{
    static IconTable table;
    if (table.icons.empty()) {
        const QAbstractFileIconProvider::IconType standard[] = {
            QAbstractFileIconProvider::Computer, QAbstractFileIconProvider::Desktop,
            QAbstractFileIconProvider::Trashcan, QAbstractFileIconProvider::Network,
            QAbstractFileIconProvider::Drive,    QAbstractFileIconProvider::Folder,
            QAbstractFileIconProvider::File,
        };
        QFileIconProvider provider;
        for (auto type : standard)
            table.icons.push_back(ProviderAvailable() ? provider.icon(type) : QIcon());
    }
    return table;
}

constexpr int kFileIndex = 6;
}  // namespace

int ShellIconIndex(const String& path, bool useFileAttributes)
{
    IconTable& table = Table();
    if (path.find('\0') != String::npos)
        return useFileAttributes ? kFileIndex : -1;  // no file is named so
    QFileInfo info(QString::fromStdString(path));
    if (!useFileAttributes && !info.exists())
        return -1;
    if (!ProviderAvailable())
        return info.isDir() ? 5 : kFileIndex;
    QFileIconProvider provider;
    QIcon icon = provider.icon(info);
    if (icon.isNull())
        return info.isDir() ? 5 : kFileIndex;
    QString key = icon.name().isEmpty() ? QString::number(icon.cacheKey()) : icon.name();
    auto found = table.byKey.find(key);
    if (found != table.byKey.end())
        return found->second;
    table.icons.push_back(icon);
    int index = static_cast<int>(table.icons.size()) - 1;
    table.byKey.emplace(key, index);
    return index;
}

TImageList& SystemImageList(bool large)
{
    IconTable& table = Table();
    int size = large ? 32 : 16;
    auto& list = table.lists[large ? 1 : 0];
    if (!list)
        list = std::make_unique<TImageList>(nullptr, size, size);
    while (list->Count() < static_cast<int>(table.icons.size())) {
        QImage image = table.icons[list->Count()].pixmap(size, size).toImage();
        if (image.isNull()) {
            image = QImage(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
        }
        list->AddImage(image);
    }
    return *list;
}

namespace {
constexpr int kNetworkIndex = 3;
constexpr int kDriveIndex = 4;

bool IsDriveRoot(const String& path)
{
    return path.size() == 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

TImageList* Found(int index, unsigned flags, SHFILEINFO& info)
{
    info.iIcon = index;
    return index < 0 ? nullptr : &SystemImageList(!(flags & SHGFI_SMALLICON));
}
}  // namespace

TImageList* ShellDriveTypeIcon(unsigned driveType, unsigned flags, SHFILEINFO& info)
{
    switch (driveType) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK: return Found(kDriveIndex, flags, info);
    case DRIVE_REMOTE: return Found(kNetworkIndex, flags, info);
    default: return Found(-1, flags, info);
    }
}

TImageList* SHGetFileInfo(const String& path, unsigned flags, SHFILEINFO& info)
{
    if (IsDriveRoot(path))
        return ShellDriveTypeIcon(GetDriveType(path), flags, info);
    return Found(ShellIconIndex(path, false), flags, info);
}
