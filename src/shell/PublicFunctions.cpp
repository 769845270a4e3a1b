#include "PublicFunctions.h"

#include "Messagebox.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHostInfo>
#include <QProcess>
#include <QUrl>

QString GetProgramVersion()
{
    return QStringLiteral("2.310");
}

QString GetComputerNameText()
{
    return QHostInfo::localHostName();
}

QString GetUserNameText()
{
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    return name;
}

QString GetToken(const QString &text, const QString &delimiter, int n)
{
    // Fields are counted in eight bits: there is no field beyond the 255th.
    if (n <= 0 || n > 255 || text.isEmpty())
        return {};
    qsizetype start = 0;
    for (int field = 1;; ++field) {
        const qsizetype at = delimiter.isEmpty() ? -1 : text.indexOf(delimiter, start);
        if (at < 0)
            return field == n ? text.mid(start) : QString();
        if (field == n)
            return text.mid(start, at - start);
        start = at + delimiter.size();
        if (start >= text.size())
            return {};
    }
}

QVariant TextToVariant(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    return text;
}

int VariantToInt(const QVariant &value)
{
    if (value.isNull())
        return 0;
    bool ok = false;
    const int result = value.toString().trimmed().toInt(&ok);
    return ok ? result : 0;
}

int ShowMessageBox(const QString &text, int kind)
{
    return TFMessageBox::instance()->ask(text, kind);
}

static QUrl documentUrl(const QString &path)
{
    if (QFileInfo::exists(path))
        return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    return QUrl::fromUserInput(path);
}

bool OpenDocument(const QString &path)
{
    return QDesktopServices::openUrl(documentUrl(path));
}

bool OpenDocumentInFolder(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return OpenDocument(path);
    const QString folder = file.absolutePath();
    if (file.isFile() && file.isExecutable())
        return QProcess::startDetached(file.absoluteFilePath(), {}, folder);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {file.absoluteFilePath()}, folder);
}
