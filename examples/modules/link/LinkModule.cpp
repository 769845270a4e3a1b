// An example link module: it keeps a record of its own for every person linked with it,
// shows that record in a child window inside the person window, and offers two searches
// (by the record's name and by its note).
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#include "LinkRecords.h"
#include "LinkWindow.h"
#include "ModuleSupport.h"

#include <veldra/module.h>

#include <QPointer>
#include <QStringList>

using namespace veldra_example;

namespace {

constexpr auto ProgId = "PR";

// The child window as long as the program keeps it; the program destroys it, and then a
// new one is made at the next CREATECHILD.
QPointer<LinkWindow> &childWindow()
{
    static QPointer<LinkWindow> window;
    return window;
}

// Field index of a ";"-separated command as a whole number.
int number(const QStringList &fields, int index, const QString &what)
{
    if (index >= fields.size() || fields.at(index).isEmpty())
        throw ModuleError(QStringLiteral("Ukazu %1 manjka %2.").arg(fields.first(), what));
    bool ok = false;
    const int value = fields.at(index).toInt(&ok);
    if (!ok)
        throw ModuleError(QStringLiteral("%1 »%2« ni število.").arg(what, fields.at(index)));
    return value;
}

// The table column behind each query command of the search entries.
QString searchField(const QString &queryCommand)
{
    if (queryCommand == QStringLiteral("NAZIV"))
        return QStringLiteral("Naziv");
    if (queryCommand == QStringLiteral("OPOMBA"))
        return QStringLiteral("Opomba");
    throw ModuleError(QStringLiteral("Neznano iskanje »%1«.").arg(queryCommand));
}

QString append(const QStringList &fields)
{
    const int personId = number(fields, 1, QStringLiteral("ID osebe"));
    const QSqlDatabase db = LinkRecords::Database();
    return QString::number(LinkRecords::Add(db, personId, LinkRecords::PersonName(db, personId)));
}

// The record, checked to belong to the person; none when it is gone.
std::optional<LinkRecord> personsRecord(const QSqlDatabase &db, int personId, int record)
{
    std::optional<LinkRecord> found = LinkRecords::Find(db, record);
    if (found && found->PersonId != personId)
        throw ModuleError(QStringLiteral("Zapis %1 ne pripada osebi %2.").arg(record).arg(personId));
    return found;
}

QString remove(const QStringList &fields)
{
    const int personId = number(fields, 1, QStringLiteral("ID osebe"));
    const int record = number(fields, 2, QStringLiteral("številka zapisa"));
    const QSqlDatabase db = LinkRecords::Database();
    // A record that is gone already leaves nothing to remove: the program may drop its link.
    if (personsRecord(db, personId, record))
        LinkRecords::Remove(db, record);
    return QStringLiteral("OK");
}

QString edit(const QStringList &fields)
{
    const int personId = number(fields, 1, QStringLiteral("ID osebe"));
    const int record = number(fields, 2, QStringLiteral("številka zapisa"));
    // No dialog of its own: the record opens for editing in the child window.
    LinkWindow *window = childWindow();
    if (!window)
        return QStringLiteral("Okno modula še ne obstaja.");
    window->ShowRecord(personId, record, true);
    return QStringLiteral("OK");
}

QString update(const QStringList &fields)
{
    const int personId = number(fields, 1, QStringLiteral("ID osebe"));
    const int record = number(fields, 2, QStringLiteral("številka zapisa"));
    const QSqlDatabase db = LinkRecords::Database();
    if (!personsRecord(db, personId, record))
        throw ModuleError(QStringLiteral("Zapisa %1 ni.").arg(record));
    const QString name = LinkRecords::PersonName(db, personId);
    LinkRecords::SetName(db, record, name);
    if (LinkWindow *window = childWindow())
        window->NameChanged(record, name);
    return QStringLiteral("OK");
}

QString fillSearchQuery(const QStringList &fields)
{
    if (fields.size() < 2 || fields.at(1).isEmpty())
        throw ModuleError(QStringLiteral("Ukazu FILLSEARCHQUERY manjka iskanje."));
    const QString field = searchField(fields.at(1));
    LinkRecords::FillSearchRows(LinkRecords::Database(), QString::fromLatin1(ProgId), fields.at(1), field);
    return QStringLiteral("OK");
}

QString createChild(void *parentControl)
{
    if (!childWindow()) {
        // The window's code lives in this library, which must outlast it.
        PinLibrary();
        childWindow() = new LinkWindow(static_cast<QWidget *>(parentControl));
    }
    return QStringLiteral("OK");
}

QString execute(const QString &command, void *parentControl)
{
    const QStringList fields = command.split(QLatin1Char(';'));
    const QString keyword = fields.first();
    if (keyword == QStringLiteral("APPEND"))
        return append(fields);
    if (keyword == QStringLiteral("DELETE"))
        return remove(fields);
    if (keyword == QStringLiteral("EDIT"))
        return edit(fields);
    if (keyword == QStringLiteral("UPDATE"))
        return update(fields);
    if (keyword == QStringLiteral("FILLSEARCHQUERY"))
        return fillSearchQuery(fields);
    if (keyword == QStringLiteral("CREATECHILD"))
        return createChild(parentControl);
    if (keyword == QStringLiteral("FROMMENI"))
        return QStringLiteral("OK");
    return QStringLiteral("Neznan ukaz »%1«.").arg(keyword);
}

void refresh(const QString &command)
{
    LinkWindow *window = childWindow();
    if (!window)
        return;
    const QStringList fields = command.split(QLatin1Char(';'));
    if (fields.first() != QStringLiteral("REFRESH"))
        return;
    try {
        const int personId = number(fields, 1, QStringLiteral("ID osebe"));
        const int record = number(fields, 2, QStringLiteral("številka zapisa"));
        // The program refreshes right after EDIT: the record being edited stays in edit mode.
        const bool keepEditing = window->Editing() && window->Record() == record && window->PersonId() == personId;
        window->ShowRecord(personId, record, keepEditing);
    } catch (const ModuleError &error) {
        window->ShowMessage(error.Text());
    }
}

} // namespace

extern "C" {

VELDRA_MODULE_EXPORT const char *GetMainMeni()
{
    try {
        return InfoText("MainMeni", "Šifranti");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetSubMeni()
{
    try {
        // No "/": the item itself sends FROMMENI.
        return InfoText("SubMeni", "Primer povezave");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetDescription()
{
    try {
        return InfoText("Description", "Primer modula, ki vodi svoje zapise za osebe");
    } catch (...) {
        return "";
    }
}

VELDRA_MODULE_EXPORT const char *GetName()
{
    try {
        return InfoText("Name", "VELDRAPOVEZAVA_PRIMER");
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

VELDRA_MODULE_EXPORT const char *GetOtherData()
{
    try {
        return InfoText("OtherData", "PR;Primer povezave;2/Naziv,1,NAZIV/Opomba,2,OPOMBA");
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
        return Reply(execute(text, parentControl));
    } catch (const ModuleError &error) {
        return Reply(error.Text());
    } catch (const std::exception &error) {
        return Reply(QStringLiteral("Napaka v modulu: ") + QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return "Napaka v modulu.";
    }
}

VELDRA_MODULE_EXPORT int GetChild(void **child)
{
    try {
        if (!child)
            return 0;
        if (ConfiguredReply(QStringLiteral("GetChild")) == QStringLiteral("0") || !childWindow())
            return 0;
        *child = static_cast<QWidget *>(childWindow().data());
        return 1;
    } catch (...) {
        return 0;
    }
}

VELDRA_MODULE_EXPORT void RefreshChild(const char *command)
{
    try {
        const QString text = command ? QString::fromUtf8(command) : QString();
        LogCommand(text);
        refresh(text);
    } catch (...) {
        // Nothing to report back through this export.
    }
}

VELDRA_MODULE_EXPORT void Close()
{
    try {
        LogCommand(QStringLiteral("Close"));
        // The child window is the program's: only our pointer to it goes.
        childWindow() = nullptr;
        ReleaseTexts();
    } catch (...) {
    }
}

} // extern "C"
