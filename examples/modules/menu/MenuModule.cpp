// An example menu module: a menu item with two sub-items under the main menu "Orodja",
// which the program creates because it has no such menu. It keeps no records, has no
// child window, and leaves out the exports it does not need (GetOtherData, GetChild,
// RefreshChild): every export is optional.
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#include "ModuleSupport.h"

#include <veldra/module.h>

#include <QString>

#include <exception>

using namespace veldra_example;

namespace {

QString execute(const QString &command)
{
    const QString keyword = command.section(QLatin1Char(';'), 0, 0);
    if (keyword != QStringLiteral("FROMMENI"))
        return QStringLiteral("Neznan ukaz »%1«.").arg(keyword);
    // "FROMMENI;<caption>;<person ID>": the person ID is empty when no person is shown.
    if (command.count(QLatin1Char(';')) < 2)
        return QStringLiteral("Ukaz FROMMENI je nepopoln.");
    return QStringLiteral("OK");
}

} // namespace

extern "C" {

VELDRA_MODULE_EXPORT const char *GetMainMeni()
{
    try {
        return InfoText("MainMeni", "Orodja");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetSubMeni()
{
    try {
        // "<item>/<caption>,<hint>,<icon number>;...": icon -1 is a sub-item without a picture.
        return InfoText("SubMeni", "Primer menija/Pozdrav,Pozdrav iz modula,1;Brez slike,Postavka brez slike,-1");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetDescription()
{
    try {
        return InfoText("Description", "Primer modula z menijem");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetName()
{
    try {
        return InfoText("Name", "VELDRA_PRIMER_MENI");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetVersion()
{
    try {
        return InfoText("Version", "1.0");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *ExecuteAdvanced(void *application, void *screen, void *ownerForm,
                                                 void *parentControl, const char *command)
{
    (void)application;
    (void)screen;
    try {
        const QString text = command ? QString::fromUtf8(command) : QString();
        LogCommand(text, ownerForm, parentControl, true);
        if (const std::optional<QString> configured = ConfiguredReply(text.section(QLatin1Char(';'), 0, 0)))
            return Reply(*configured);
        return Reply(execute(text));
    } catch (const std::exception &error) {
        return Reply(QStringLiteral("Napaka v modulu: ") + QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return "Napaka v modulu.";
    }
}

VELDRA_MODULE_EXPORT void Close()
{
    try {
        LogCommand(QStringLiteral("Close"));
        ReleaseTexts();
    } catch (...) {
    }
}

} // extern "C"
