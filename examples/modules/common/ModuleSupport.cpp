// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#include "ModuleSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>

#include <map>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace veldra_example {

namespace {

QByteArray &replyStore()
{
    static QByteArray store;
    return store;
}

// One slot per information key, so that a text handed out stays put while others change.
std::map<std::string, QByteArray> &infoStore()
{
    static std::map<std::string, QByteArray> store;
    return store;
}

QString objectName(void *object)
{
    return object ? static_cast<QObject *>(object)->objectName() : QStringLiteral("-");
}

} // namespace

QString LibraryPath()
{
    static const QString path = [] {
#if defined(_WIN32)
        HMODULE module = nullptr;
        wchar_t name[MAX_PATH] = {};
        if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(&LibraryPath), &module))
            GetModuleFileNameW(module, name, MAX_PATH);
        return QFileInfo(QString::fromWCharArray(name)).absoluteFilePath();
#else
        Dl_info info = {};
        if (!dladdr(reinterpret_cast<void *>(&LibraryPath), &info) || !info.dli_fname)
            return QString();
        return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
#endif
    }();
    return path;
}

QString SiblingFile(const QString &suffix)
{
    const QFileInfo library(LibraryPath());
    return library.absoluteDir().filePath(library.completeBaseName() + suffix);
}

std::optional<QString> IniValue(const QString &section, const QString &key)
{
    QFile file(SiblingFile(QStringLiteral(".ini")));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // By hand rather than QSettings: its INI reading turns commas into lists and keeps a
    // cache, and replies and menu texts are full of commas.
    bool inSection = false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed();
    }
    return std::nullopt;
}

void LogCommand(const QString &command, void *ownerForm, void *parentControl, bool withObjects)
{
    QString line = command;
    if (withObjects && IniValue(QStringLiteral("Dnevnik"), QStringLiteral("Objekti")) == QStringLiteral("1"))
        line += QLatin1Char('\t') + objectName(ownerForm) + QLatin1Char('\t') + objectName(parentControl);
    QFile file(SiblingFile(QStringLiteral(".log")));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

const char *Reply(const QString &text)
{
    if (text == QStringLiteral("<null>"))
        return nullptr;
    replyStore() = text.toUtf8();
    return replyStore().constData();
}

std::optional<QString> ConfiguredReply(const QString &keyword)
{
    if (keyword.isEmpty())
        return std::nullopt;
    return IniValue(QStringLiteral("Odgovori"), keyword);
}

const char *InfoText(const char *key, const char *builtIn)
{
    const std::optional<QString> value = IniValue(QStringLiteral("Podatki"), QString::fromLatin1(key));
    if (!value)
        return builtIn;
    QByteArray &slot = infoStore()[key];
    slot = value->toUtf8();
    return slot.constData();
}

void PinLibrary()
{
    static bool pinned = false;
    if (pinned)
        return;
#if defined(_WIN32)
    HMODULE module = nullptr;
    pinned = GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                reinterpret_cast<LPCWSTR>(&PinLibrary), &module);
#else
    // Already loaded, so this only marks it never to be unmapped; the handle is kept.
    pinned = dlopen(QFile::encodeName(LibraryPath()).constData(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
#endif
}

void ReleaseTexts()
{
    replyStore() = QByteArray();
    infoStore().clear();
}

} // namespace veldra_example
