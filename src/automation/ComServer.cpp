#include "ComServer.h"

#include "UIKor_Veldra.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

StartMode ParseStartMode(const QStringList &arguments)
{
    auto has = [&arguments](QLatin1String name) {
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            const QString &argument = arguments.at(i);
            if (argument.size() > 1 && (argument.front() == QLatin1Char('/') || argument.front() == QLatin1Char('-'))
                && QStringView(argument).mid(1).compare(name, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    };
    if (has(QLatin1String("AUTOMATION")) || has(QLatin1String("EMBEDDING")))
        return StartMode::ByBus;
    if (has(QLatin1String("REGSERVER")))
        return StartMode::Register;
    if (has(QLatin1String("UNREGSERVER")))
        return StartMode::Unregister;
    return StartMode::Ordinary;
}

QString ActivationFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/dbus-1/services/")
        + QLatin1String(TIKor_Veldra::ServiceName) + QStringLiteral(".service");
}

QString QuoteExecArgument(const QString &argument)
{
    // The desktop entry rules: an argument with a space or a reserved character goes in
    // double quotes, with ", `, $ and \ escaped by a backslash; then the file's value
    // rules double every backslash once more (the bus reads both levels).
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = !argument.isEmpty();
    for (const QChar c : argument)
        if (reserved.contains(c))
            plain = false;
    if (plain)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\\'))
            quoted += QStringLiteral("\\\\\\");
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

bool RegisterServer(const QString &programFile)
{
    // A line break would end the Exec line; no such program can be registered.
    for (const QChar c : programFile)
        if (c.category() == QChar::Other_Control)
            return false;
    const QString path = ActivationFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString text = QStringLiteral("[D-BUS Service]\nName=") + QLatin1String(TIKor_Veldra::ServiceName)
        + QStringLiteral("\nExec=") + QuoteExecArgument(QFileInfo(programFile).absoluteFilePath())
        + QStringLiteral(" -AUTOMATION\n");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool UnregisterServer()
{
    QFile file(ActivationFilePath());
    return !file.exists() || file.remove();
}

QString ComServerWarningText()
{
    return QStringLiteral("There are still active COM objects in this application.  One or more clients may have references "
                          "to these objects, so manually closing ")
        + QStringLiteral("this application may cause those client application(s) to fail.\r\n\r\n"
                         "Are you sure you want to close this application?");
}

bool ConfirmCloseWithClients(QWidget *parent)
{
    QMessageBox box(QMessageBox::Warning, QLatin1String(ComServerWarningCaption),
                    ComServerWarningText().replace(QLatin1String("\r\n"), QLatin1String("\n")),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
