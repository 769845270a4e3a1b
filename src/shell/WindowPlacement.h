#pragma once

#include <QString>

class QWidget;

// A window's place on the screen, kept under a settings key with the values Flags,
// ShowCmd (1 normal, 2 minimised, 3 maximised), PixelsPerInch, MinMaxPos and NormPos
// (normal left, top, right, bottom as "%d,%d,%d,%d").
namespace WindowPlacement {

void save(const QWidget *window, const QString &keyPath);
// Shows the window where and how it was left; the first time, or when the stored place
// is on no screen any more, as the caller's default says.
void restore(QWidget *window, const QString &keyPath, bool maximisedByDefault);

}
