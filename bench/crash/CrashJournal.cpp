#include "CrashJournal.h"

#include <QFile>

#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace CrashJournal {

namespace {

const QLatin1Char separator('\t');

}

Writer::Writer(const QString &path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644))
{
}

Writer::~Writer()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void Writer::begin(const QString &activity, const QString &target, const QString &value)
{
    line(QStringList{QStringLiteral("begin"), activity, target, value}.join(separator));
}

void Writer::done(const QString &activity, const QString &target, const QString &value)
{
    line(QStringList{QStringLiteral("done"), activity, target, value}.join(separator));
}

void Writer::line(const QString &text)
{
    // One write of the whole line: the kernel keeps it even when the process is killed right after.
    const QByteArray bytes = text.toUtf8() + '\n';
    if (m_fd < 0 || ::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qFatal("The journal cannot be written");
}

Reader::Reader(QString path)
    : m_path(std::move(path))
{
}

void Reader::readOn()
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    file.seek(m_offset);
    const QByteArray text = file.readAll();
    const qsizetype end = text.lastIndexOf('\n') + 1;
    if (end < text.size())
        file.resize(m_offset + end);
    m_offset += end;
    m_lastActivity = QStringLiteral("launch");
    for (const QByteArray &line : text.left(end).split('\n')) {
        if (!line.isEmpty())
            apply(QString::fromUtf8(line).split(separator));
    }
}

QStringList Reader::takeFailures()
{
    return std::exchange(m_failures, {});
}

void Reader::apply(const QStringList &fields)
{
    const QString kind = fields.value(0);
    const QString activity = fields.value(1), target = fields.value(2), value = fields.value(3);
    if (kind == QLatin1String("fail")) {
        m_failures << fields.mid(1).join(QLatin1Char(' '));
        return;
    }
    if (kind == QLatin1String("begin")) {
        m_lastActivity = activity;
    } else if (kind == QLatin1String("done")) {
        m_lastActivity = QStringLiteral("between");
    } else {
        return;
    }
    const bool done = kind == QLatin1String("done");
    if (activity == QLatin1String(Person) || activity == QLatin1String(Contact) || activity == QLatin1String(Note)) {
        if (done) {
            m_rows[activity].insert(target.toLongLong(), value);
            ++m_commits;
        }
    } else if (activity == QLatin1String(Group)) {
        if (done) {
            const QStringList keys = target.split(QLatin1Char(','));
            const char *tables[] = {Person, Contact, Note};
            for (qsizetype i = 0; i < keys.size() && i < 3; ++i)
                m_rows[QString::fromLatin1(tables[i])].insert(keys[i].toLongLong(), value);
            ++m_commits;
        }
    } else if (activity == QLatin1String(Backup)) {
        m_backups += done ? 1 : 0;
    } else if (activity != QLatin1String(Start)) {
        SetValue &set = m_values[activity][target];
        if (done) {
            set = {value, true, {}};
            if (activity == QLatin1String(Rename))
                ++m_commits;
        } else {
            set.begun << value;
        }
    }
}

}
