#include "Registry.h"
#include "SingleInstance.h"
#include "UFSetup.h"
#include "UNamestitev.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Setup"));
    // The standard message boxes answer in the user's language where Qt's own texts are installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

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
