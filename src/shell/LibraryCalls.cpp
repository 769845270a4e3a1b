#include "LibraryCalls.h"

#include <QDir>

#include <cstring>

QStringList LibraryFiles(const QDir &folder)
{
#if defined(Q_OS_WIN)
    const QString pattern = QStringLiteral("*.dll");
#elif defined(Q_OS_MACOS)
    const QString pattern = QStringLiteral("*.dylib");
#else
    const QString pattern = QStringLiteral("*.so");
#endif
    return folder.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QString CopyLibraryText(const char *text, std::size_t longest)
{
    if (!text)
        return {};
    return QString::fromUtf8(text, qsizetype(strnlen(text, longest)));
}
