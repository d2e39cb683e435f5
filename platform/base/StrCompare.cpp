#include "StrCompare.h"

#include <QString>

int AnsiCompareStr(const String& a, const String& b)
{
    return QString::localeAwareCompare(QString::fromStdString(a), QString::fromStdString(b));
}
