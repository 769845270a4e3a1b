#pragma once

#include <QColor>
#include <QString>

// The eight colours every window takes its look from, read once at start.
struct TColourScheme
{
    QColor CT_WBack;       // window background
    QColor CT_WTitleBack;  // title strips, tool bar
    QColor CT_WTitleFont;  // text on title strips
    QColor CT_WDetailBack; // detail panels, status bar
    QColor CT_BBack;       // flat button face
    QColor CT_BFocused;    // flat button face under the mouse
    QColor CT_BDown;       // flat button face when pressed
    QColor CT_BFont;       // flat button text and border

    static TColourScheme defaults();
};

extern TColourScheme ColourScheme;

// Reads the eight values under a settings key; a missing or unreadable value gives the default.
void LoadColours(const QString &keyPath);

// Stored colours are colour references 0x00BBGGRR; negative values name system colours.
QColor ColourFromRef(qint64 ref);
// The reference of the desktop's colour with that index, the platform's code 0xFF0000nn
// read as a signed number (button face, 15, is -16777201).
constexpr qint64 SystemColourRef(int index)
{
    return qint64(qint32(0xFF000000u | unsigned(index)));
}
qint64 ColourToRef(const QColor &colour);
