#include "TimeZoneCache.h"

#include <QFileInfo>
#include <QtGlobal>

#include <ctime>

void UseCachedTimeZone()
{
    // A zone the user named is left as it is.
    if (qEnvironmentVariableIsSet("TZ") || !QFileInfo::exists(QStringLiteral("/etc/localtime")))
        return;
    qputenv("TZ", ":/etc/localtime");
    tzset();
}
