#include "VeldraApplication.h"

#include "TimeZoneCache.h"

#include "ErrorLog.h"
#include "ExpectedFailure.h"
#include "HintStyle.h"
#include "PublicFunctions.h"

#include <QMessageBox>
#include <QMetaEnum>

#include <cstdio>
#include <cxxabi.h>
#include <exception>
#include <memory>
#include <typeinfo>

namespace {

QString demangled(const char *name)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> readable(abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 && readable ? readable.get() : name);
}

QString describe(QObject *receiver, QEvent *event)
{
    QString place = receiver ? QString::fromLatin1(receiver->metaObject()->className()) : QStringLiteral("?");
    if (receiver && !receiver->objectName().isEmpty())
        place += QLatin1Char(' ') + receiver->objectName();
    if (event)
        place += QStringLiteral(", ")
            + QString::fromLatin1(QMetaEnum::fromType<QEvent::Type>().valueToKey(event->type()));
    return place;
}

}

VeldraApplication::VeldraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(ApplicationTitle));
    UseCachedTimeZone();
    InstallHintPause();
}

bool VeldraApplication::notify(QObject *receiver, QEvent *event)
{
    if (!m_reportErrors)
        return QApplication::notify(receiver, event);
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        // An expected failure is told as such; it is no fault to write to the log.
        if (dynamic_cast<const ExpectedFailure *>(&error))
            ShowMessageBox(QString::fromStdString(error.what()), 0);
        else
            reportError(error, describe(receiver, event));
    } catch (...) {
        reportError(demangled(abi::__cxa_current_exception_type()->name()), describe(receiver, event), QString());
    }
    return false;
}

void VeldraApplication::reportError(const std::exception &error, const QString &place)
{
    reportError(demangled(typeid(error).name()), place, QString::fromLocal8Bit(error.what()));
}

void VeldraApplication::reportError(const QString &exceptionClass, const QString &place, const QString &message)
{
    const QString shown = message.isEmpty() ? exceptionClass : message;
    ErrorLog::append({exceptionClass, place, message, shown});
    std::fprintf(stderr, "veldra: %s\n", qPrintable(shown));
    QMessageBox::critical(nullptr, QString::fromLatin1(ApplicationTitle), shown);
}
