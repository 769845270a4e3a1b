#include "FileIcon.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QImageReader>
#include <QLibrary>
#include <QMimeDatabase>

namespace {

// The generic icons, by extension, for types the icon theme does not know.
QString genericIconName(const QString &extension)
{
    struct Row { const char *extensions; const char *icon; };
    static const Row rows[] = {
        {" doc docx odt rtf ", "x-office-document"},
        {" exe com ", "application-x-executable"},
        {" hlp chm ", "help-browser"},
        {" ini inf conf cfg txt ", "text-x-generic"},
        {" bat sh cmd ", "text-x-script"},
        {" dll so sys vbx ocx vxd ", "application-x-sharedlib"},
        {" fon ttf fot otf ", "font-x-generic"},
    };
    const QString word = QLatin1Char(' ') + extension.toLower() + QLatin1Char(' ');
    for (const Row &row : rows)
        if (QString::fromLatin1(row.extensions).contains(word))
            return QString::fromLatin1(row.icon);
    return QString();
}

QIcon themeIcon(const QString &name)
{
    return name.isEmpty() ? QIcon() : QIcon::fromTheme(name);
}

}

QIcon GetFileIcon(const QString &fileName, int iconNumber)
{
    const QFileInfo file(fileName);
    const bool exists = !fileName.isEmpty() && file.isFile();

    if (QLibrary::isLibrary(fileName)) {
        const QString picture = fileName + QLatin1Char('.') + QString::number(iconNumber) + QStringLiteral(".png");
        if (QFileInfo(picture).isFile()) {
            const QIcon icon(picture);
            if (!icon.availableSizes().isEmpty())
                return icon;
        }
    }

    if (exists && !QImageReader::imageFormat(fileName).isEmpty()) {
        const QIcon icon(fileName);
        if (!icon.availableSizes().isEmpty())
            return icon;
    }

    const QMimeDatabase mimes;
    const QMimeType type = exists ? mimes.mimeTypeForFile(file) : mimes.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    if (!type.isDefault()) {
        QIcon icon = themeIcon(type.iconName());
        if (icon.isNull())
            icon = themeIcon(type.genericIconName());
        if (!icon.isNull())
            return icon;
    }

    const QIcon generic = themeIcon(genericIconName(file.suffix()));
    if (!generic.isNull())
        return generic;
    // The style's icons stand in when no icon theme is installed.
    const QFileIconProvider provider;
    return provider.icon(QFileIconProvider::File);
}
