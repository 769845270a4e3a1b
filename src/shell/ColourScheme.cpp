#include "ColourScheme.h"

#include "Settings.h"

#include <QApplication>
#include <QPalette>

#include <array>

TColourScheme TColourScheme::defaults()
{
    return {ColourFromRef(16769734), ColourFromRef(9521152),  ColourFromRef(16777215), ColourFromRef(16750383),
            ColourFromRef(12615680), ColourFromRef(16744448), ColourFromRef(16758122), ColourFromRef(16777215)};
}

TColourScheme ColourScheme = TColourScheme::defaults();

namespace {

// System colour indices as the stored values use them, mapped onto the palette.
QColor systemColour(int index)
{
    struct Role { QPalette::ColorGroup group; QPalette::ColorRole role; };
    static const std::array<Role, 25> roles = {{
        {QPalette::Active, QPalette::Mid},             // scroll bar
        {QPalette::Active, QPalette::Window},          // desktop
        {QPalette::Active, QPalette::Highlight},       // active caption
        {QPalette::Inactive, QPalette::Highlight},     // inactive caption
        {QPalette::Active, QPalette::Window},          // menu
        {QPalette::Active, QPalette::Base},            // window
        {QPalette::Active, QPalette::Shadow},          // window frame
        {QPalette::Active, QPalette::WindowText},      // menu text
        {QPalette::Active, QPalette::Text},            // window text
        {QPalette::Active, QPalette::HighlightedText}, // caption text
        {QPalette::Active, QPalette::Light},           // active border
        {QPalette::Inactive, QPalette::Light},         // inactive border
        {QPalette::Active, QPalette::Dark},            // application workspace
        {QPalette::Active, QPalette::Highlight},       // highlight
        {QPalette::Active, QPalette::HighlightedText}, // highlighted text
        {QPalette::Active, QPalette::Button},          // button face
        {QPalette::Active, QPalette::Dark},            // button shadow
        {QPalette::Disabled, QPalette::Text},          // grey text
        {QPalette::Active, QPalette::ButtonText},      // button text
        {QPalette::Inactive, QPalette::HighlightedText},
        {QPalette::Active, QPalette::Light},           // button highlight
        {QPalette::Active, QPalette::Shadow},          // dark shadow
        {QPalette::Active, QPalette::Midlight},        // light
        {QPalette::Active, QPalette::ToolTipText},     // info text
        {QPalette::Active, QPalette::ToolTipBase},     // info background
    }};
    if (index < 0 || index >= int(roles.size()))
        return QColor(Qt::black);
    const QPalette palette = QApplication::palette();
    return palette.color(roles[index].group, roles[index].role);
}

QColor readColour(const QString &keyPath, const char *name, const QColor &fallback)
{
    bool ok = false;
    const qint64 ref = ReadRegString(keyPath, QString::fromLatin1(name)).trimmed().toLongLong(&ok);
    return ok ? ColourFromRef(ref) : fallback;
}

}

QColor ColourFromRef(qint64 ref)
{
    if (ref < 0)
        return systemColour(int(ref & 0xFF));
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

qint64 ColourToRef(const QColor &colour)
{
    return qint64(colour.red()) | (qint64(colour.green()) << 8) | (qint64(colour.blue()) << 16);
}

void LoadColours(const QString &keyPath)
{
    const TColourScheme d = TColourScheme::defaults();
    ColourScheme = {readColour(keyPath, "CT_WBack", d.CT_WBack),
                    readColour(keyPath, "CT_WTitleBack", d.CT_WTitleBack),
                    readColour(keyPath, "CT_WTitleFont", d.CT_WTitleFont),
                    readColour(keyPath, "CT_WDetailBack", d.CT_WDetailBack),
                    readColour(keyPath, "CT_BBack", d.CT_BBack),
                    readColour(keyPath, "CT_BFocused", d.CT_BFocused),
                    readColour(keyPath, "CT_BDown", d.CT_BDown),
                    readColour(keyPath, "CT_BFont", d.CT_BFont)};
}
