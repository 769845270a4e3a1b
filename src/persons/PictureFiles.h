#pragma once

#include <QPixmap>
#include <QString>

// The pictures of contact types and categories, kept as files in a folder below the
// picture folder. A file is read once, and again only when it changed; a missing or
// unreadable one gives a null picture.
QPixmap PictureFile(const QString &subfolder, const QString &fileName);
