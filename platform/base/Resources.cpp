#include "Resources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

bool LoadResourceData(const String& name, std::vector<uint8_t>& data)
{
    const QString wanted = QString::fromStdString(name);
    QDirIterator it(QStringLiteral(":/rcdata"), QDir::Files);
    while (it.hasNext()) {
        QString path = it.next();
        if (QFileInfo(path).fileName().compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QByteArray bytes = file.readAll();
        data.assign(bytes.begin(), bytes.end());
        return true;
    }
    return false;
}
