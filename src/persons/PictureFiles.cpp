#include "PictureFiles.h"

#include "Settings.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPixmapCache>

QPixmap PictureFile(const QString &subfolder, const QString &fileName)
{
    if (fileName.trimmed().isEmpty())
        return {};
    const QFileInfo file(GetImageFolder() + subfolder + QLatin1Char('/') + fileName);
    if (!file.isFile())
        return {};
    const QString key = file.absoluteFilePath() + QLatin1Char('|') + QString::number(file.lastModified().toMSecsSinceEpoch());
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture) && picture.load(file.absoluteFilePath()))
        QPixmapCache::insert(key, picture);
    return picture;
}
