#include "MenuShortcuts.h"

#include "Settings.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <functional>
#include <utility>

namespace {

constexpr int ShiftCode = 8192;
constexpr int CtrlCode = 16384;
constexpr int AltCode = 32768;

// Keys whose virtual-key code differs from Qt's key number.
constexpr std::pair<int, int> keyCodes[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},         {Qt::Key_Return, 0x0D},     {Qt::Key_Enter, 0x0D},
    {Qt::Key_Pause, 0x13},     {Qt::Key_Escape, 0x1B},      {Qt::Key_Space, 0x20},      {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},  {Qt::Key_End, 0x23},         {Qt::Key_Home, 0x24},       {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},        {Qt::Key_Right, 0x27},       {Qt::Key_Down, 0x28},       {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},    {Qt::Key_Delete, 0x2E},      {Qt::Key_Semicolon, 0xBA},  {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},      {Qt::Key_Comma, 0xBC},       {Qt::Key_Minus, 0xBD},      {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},     {Qt::Key_QuoteLeft, 0xC0},   {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
};

constexpr std::pair<int, int> keypadCodes[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Slash, 0x6F},
};

int virtualKey(int key, bool keypad)
{
    if (keypad) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return 0x60 + key - Qt::Key_0;
        for (const auto &[qtKey, code] : keypadCodes)
            if (qtKey == key)
                return code;
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + key - Qt::Key_F1;
    for (const auto &[qtKey, code] : keyCodes)
        if (qtKey == key)
            return code;
    return 0;
}

QKeyCombination qtKey(int vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QKeyCombination(Qt::Key(vk));
    if (vk >= 0x70 && vk <= 0x87)
        return QKeyCombination(Qt::Key(Qt::Key_F1 + vk - 0x70));
    if (vk >= 0x60 && vk <= 0x69)
        return QKeyCombination(Qt::KeypadModifier, Qt::Key(Qt::Key_0 + vk - 0x60));
    for (const auto &[key, code] : keypadCodes)
        if (code == vk)
            return QKeyCombination(Qt::KeypadModifier, Qt::Key(key));
    for (const auto &[key, code] : keyCodes)
        if (code == vk)
            return QKeyCombination(Qt::Key(key));
    return QKeyCombination(Qt::Key_unknown);
}

QString valueName(const QAction *entry, int i, int j)
{
    const int tag = MenuTag(entry);
    return tag >= 1000 ? QString::number(tag) : QString::number(i) + QLatin1Char(';') + QString::number(j);
}

// A top-level menu made for a plug-in module: the modules' menus are built after the
// shortcuts are read at start, so they take no place in the positions.
bool isModuleMenu(const QAction *action)
{
    const int tag = MenuTag(action);
    return tag >= 2000 && tag <= 2999;
}

// Every entry directly below a top-level entry, with the name its shortcut is stored under.
void forEachEntry(QMenuBar *menu, const std::function<void(QAction *, const QString &)> &visit)
{
    int i = -1;
    for (const QAction *top : menu->actions()) {
        if (isModuleMenu(top))
            continue;
        ++i;
        const QMenu *submenu = top->menu();
        if (!submenu)
            continue;
        const QList<QAction *> entries = submenu->actions();
        for (int j = 0; j < entries.size(); ++j)
            visit(entries[j], valueName(entries[j], i, j));
    }
}

}

int ShortcutToCode(const QKeySequence &shortcut)
{
    if (shortcut.isEmpty())
        return 0;
    const QKeyCombination combination = shortcut[0];
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    const int vk = virtualKey(combination.key(), modifiers.testFlag(Qt::KeypadModifier));
    if (vk == 0)
        return 0;
    return vk + (modifiers.testFlag(Qt::ShiftModifier) ? ShiftCode : 0)
        + (modifiers.testFlag(Qt::ControlModifier) ? CtrlCode : 0) + (modifiers.testFlag(Qt::AltModifier) ? AltCode : 0);
}

QKeySequence CodeToShortcut(int code)
{
    const QKeyCombination key = qtKey(code & 0xFF);
    if (code <= 0 || key.key() == Qt::Key_unknown)
        return {};
    Qt::KeyboardModifiers modifiers = key.keyboardModifiers();
    if (code & ShiftCode)
        modifiers |= Qt::ShiftModifier;
    if (code & CtrlCode)
        modifiers |= Qt::ControlModifier;
    if (code & AltCode)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, key.key()));
}

int MenuTag(const QAction *action)
{
    return action->property("tag").toInt();
}

QString WithoutAccelerators(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

void SetMenuTag(QAction *action, int tag)
{
    action->setProperty("tag", tag);
}

void SetDefaultShortcut(QAction *action, const QKeySequence &shortcut)
{
    action->setShortcut(shortcut);
    action->setProperty("defaultShortcut", QVariant::fromValue(shortcut));
}

void SaveMenuShortcuts(QMenuBar *menu)
{
    const QString key = QString::fromLatin1(KeyMenuShortCuts);
    WriteRegString(key, QStringLiteral("DEF"), QStringLiteral("DEF"));
    forEachEntry(menu, [&](QAction *entry, const QString &name) {
        const int code = ShortcutToCode(entry->shortcut());
        // A removed shortcut is stored as 0, so that the stored or the default one does not
        // come back at the next start.
        const bool hasDefault = !entry->property("defaultShortcut").value<QKeySequence>().isEmpty();
        if (code != 0 || hasDefault || !ReadRegString(key, name).trimmed().isEmpty())
            WriteRegString(key, name, QString::number(code));
    });
}

void LoadMenuShortcuts(QMenuBar *menu)
{
    const QString key = QString::fromLatin1(KeyMenuShortCuts);
    if (ReadRegString(key, QStringLiteral("DEF")) != QLatin1String("DEF"))
        return;
    forEachEntry(menu, [&](QAction *entry, const QString &name) {
        const QString value = ReadRegString(key, name).trimmed();
        bool ok = false;
        const int code = value.toInt(&ok);
        // A value that is no number is passed over: the entry keeps its shortcut.
        if (ok)
            entry->setShortcut(CodeToShortcut(code));
    });
}
