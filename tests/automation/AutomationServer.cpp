// A program the bus starts for the automation tests: the automation object over a
// target whose only person has the ID 1, ending like the real program when the bus
// started it and its last client has gone.

#include "ComServer.h"
#include "UIKor_Veldra.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AutomationTarget target;
    target.locate = [](const QString &id) { return id == QLatin1String("1"); };
    TIKor_Veldra object(target);
    if (!object.registerOnBus())
        return 3;
    if (ParseStartMode(QCoreApplication::arguments()) == StartMode::ByBus)
        QObject::connect(&object, &TIKor_Veldra::lastClientGone, &app, &QCoreApplication::quit);
    // Never outlive a test that went wrong.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
