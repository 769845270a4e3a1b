#pragma once

#include <QIcon>
#include <QString>

// The icon for a file, in this order: a module library's icon number n, the PNG
// "<library>.<n>.png" beside it; the file's own picture when it is an image; the icon of
// its type (by content when it exists, else by name); a generic icon for its extension;
// the style's file icon. Never null while an application with a style exists.
// The icon number counts only for libraries: other files have one icon.
QIcon GetFileIcon(const QString &fileName, int iconNumber = 0);
