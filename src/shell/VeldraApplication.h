#pragma once

#include <QApplication>

#include <exception>

// The application object: once the windows are being created, an error that escapes
// an event handler is written to the error log and shown, and the program goes on. An
// expected failure (see ExpectedFailure) is only told, in the program's message box.
class VeldraApplication : public QApplication
{
    Q_OBJECT
public:
    VeldraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    void setErrorReportingActive(bool active) { m_reportErrors = active; }

    // Logs the error, tells it on the error output and shows it in a platform message box
    // captioned with the application title.
    static void reportError(const QString &exceptionClass, const QString &place, const QString &message);
    static void reportError(const std::exception &error, const QString &place);

private:
    bool m_reportErrors = false;
};
