#include "WindowPlacement.h"

#include "Settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int ShowNormal = 1;
constexpr int ShowMinimised = 2;
constexpr int ShowMaximised = 3;

QString rectText(const QRect &r)
{
    return QStringLiteral("%1,%2,%3,%4").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}

bool parseRect(const QString &text, QRect *rect)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    *rect = QRect(QPoint(v[0], v[1]), QPoint(v[2] - 1, v[3] - 1));
    return rect->isValid();
}

bool onSomeScreen(const QRect &rect)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *screen) {
        return screen->availableGeometry().intersected(rect).width() >= 50;
    });
}

}

namespace WindowPlacement {

void save(const QWidget *window, const QString &keyPath)
{
    const int showCmd = window->isMaximized() ? ShowMaximised : window->isMinimized() ? ShowMinimised : ShowNormal;
    const QRect normal = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    WriteRegString(keyPath, QStringLiteral("Flags"), QStringLiteral("0"));
    WriteRegString(keyPath, QStringLiteral("ShowCmd"), QString::number(showCmd));
    WriteRegString(keyPath, QStringLiteral("PixelsPerInch"), QString::number(window->logicalDpiX()));
    WriteRegString(keyPath, QStringLiteral("MinMaxPos"), QStringLiteral("-1,-1,-1,-1"));
    WriteRegString(keyPath, QStringLiteral("NormPos"), rectText(normal));
}

void restore(QWidget *window, const QString &keyPath, bool maximisedByDefault)
{
    QRect normal;
    const bool stored = parseRect(ReadRegString(keyPath, QStringLiteral("NormPos")), &normal);
    if (stored) {
        // Positions follow the screen's density when it changed since they were saved.
        const int dpi = ReadRegInt(keyPath, QStringLiteral("PixelsPerInch"), window->logicalDpiX());
        if (dpi > 0 && dpi != window->logicalDpiX()) {
            const double factor = double(window->logicalDpiX()) / dpi;
            normal = QRect(normal.topLeft() * factor, normal.size() * factor);
        }
    }
    if (stored && onSomeScreen(normal))
        window->setGeometry(normal);
    const int showCmd = ReadRegInt(keyPath, QStringLiteral("ShowCmd"), maximisedByDefault ? ShowMaximised : ShowNormal);
    if (showCmd == ShowMaximised || (!stored && maximisedByDefault))
        window->showMaximized();
    else
        window->show();
}

}
