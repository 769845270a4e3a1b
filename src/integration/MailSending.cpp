#include "MailSending.h"

#include "PublicFunctions.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <memory>

namespace {

// xdg-email hands the message over and returns at once, but for some mail programs it
// stays until the program is closed again. Past this the message counts as handed over.
constexpr int MailProgramWaitMs = 5000;

// Mail programs still open, each kept until its program ends. A QProcess kills its program
// when it is destroyed, so these are never destroyed at exit, and the list is never freed
// either: it keeps them reachable, so a leak checker does not take them for lost.
QList<QProcess *> &openMailPrograms()
{
    static auto *programs = new QList<QProcess *>;
    return *programs;
}

struct Mail
{
    QString to;
    QString subject;
    QString body;
    QStringList attachments;
};

// The first line's value for the name; empty when there is none.
QString fieldValue(const QStringList &fields, const QString &name)
{
    for (const QString &line : fields) {
        const qsizetype at = line.indexOf(QLatin1Char('='));
        if (at >= 0 && QStringView(line).left(at).compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(at + 1);
    }
    return {};
}

Mail readFields(const QStringList &fields)
{
    Mail mail;
    mail.to = fieldValue(fields, QStringLiteral("to"));
    mail.subject = fieldValue(fields, QStringLiteral("subject"));
    mail.body = fieldValue(fields, QStringLiteral("body"));
    for (int n = 0;; ++n) {
        const QString path = fieldValue(fields, QStringLiteral("attachment%1").arg(n));
        if (path.isEmpty())
            break;
        mail.attachments.append(path);
    }
    return mail;
}

bool sendWithXdgEmail(const Mail &mail)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return false;
    // The values come from the database: they go as separate arguments, never through a shell.
    QStringList arguments;
    if (!mail.subject.isEmpty())
        arguments << QStringLiteral("--subject") << mail.subject;
    if (!mail.body.isEmpty())
        arguments << QStringLiteral("--body") << mail.body;
    for (const QString &path : mail.attachments)
        arguments << QStringLiteral("--attach") << path;
    if (!mail.to.isEmpty())
        arguments << mail.to;

    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted())
        return false;
    // The wait holds the event loop, so no window can be used meanwhile.
    if (!process->waitForFinished(MailProgramWaitMs)) {
        if (process->state() != QProcess::Running)
            return false;
        // Still running: the mail program is open, and stays open should Veldra quit first.
        QProcess *running = process.release();
        openMailPrograms().append(running);
        QObject::connect(running, &QProcess::finished, running, [running] {
            openMailPrograms().removeOne(running);
            running->deleteLater();
        });
        return true;
    }
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

// RFC 6068: everything but unreserved characters percent-encoded, lines of the body
// ending in CR LF.
QUrl mailtoUrl(const Mail &mail)
{
    QByteArray text = "mailto:" + QUrl::toPercentEncoding(mail.to, "@");
    QByteArrayList query;
    if (!mail.subject.isEmpty())
        query << "subject=" + QUrl::toPercentEncoding(mail.subject);
    if (!mail.body.isEmpty()) {
        QString body = mail.body;
        body.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        query << "body=" + QUrl::toPercentEncoding(body);
    }
    if (!query.isEmpty())
        text += '?' + query.join('&');
    return QUrl::fromEncoded(text, QUrl::StrictMode);
}

}

int SendMail(QWidget *window, const QStringList &fields)
{
    Q_UNUSED(window)
    const Mail mail = readFields(fields);
    if (sendWithXdgEmail(mail) || QDesktopServices::openUrl(mailtoUrl(mail)))
        return 0;
    ShowMessageBox(QStringLiteral("Prislo je do napake pri posiljanju email-a!"), 0);
    return 1;
}
