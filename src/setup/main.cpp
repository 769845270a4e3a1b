#include "Registry.h"
#include "SingleInstance.h"
#include "UFSetup.h"
#include "UNamestitev.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Setup"));

    // A second start brings the running installer to the front and ends.
    SingleInstance guard(QStringLiteral("KORSetup12"));
    if (!guard.claim())
        return 0;

    TFMain FMain(QCoreApplication::applicationDirPath());
    Registry::writeString(QStringLiteral("Software\\Setup\\Nastavitve"), QStringLiteral("Handle"),
                          QString::number(FMain.winId()));
    QObject::connect(&guard, &SingleInstance::activationRequested, &FMain, &TFMain::restoreAndRaise);
    FMain.show();
    FMain.raise();
    FMain.activateWindow();
    guard.deliverRequests();
    return app.exec();
}
