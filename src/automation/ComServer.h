#pragma once

#include <QString>
#include <QStringList>

// How the program was started with regard to automation, from its command line.
enum class StartMode {
    Ordinary,
    ByBus,      // "AUTOMATION" or "EMBEDDING": the bus started it for a client
    Register,   // "REGSERVER"
    Unregister, // "UNREGSERVER"
};

// Looks at the arguments after the program (QCoreApplication::arguments()) for the
// switches with "/" or "-" in front, in any letter case; the start by the bus wins over
// the others, registering over unregistering.
StartMode ParseStartMode(const QStringList &arguments);

// The bus's activation file for the automation service:
// $XDG_DATA_HOME/dbus-1/services/PVeldra.IKor_Veldra.service (default ~/.local/share).
QString ActivationFilePath();

// Writes the activation file, so that the bus starts programFile with -AUTOMATION when
// a client asks for the service while the program is not running. False when the file
// could not be written.
bool RegisterServer(const QString &programFile);
// Removes the activation file; true when none is left.
bool UnregisterServer();

// The quoted form of one argument in an activation file's Exec line.
QString QuoteExecArgument(const QString &argument);

class QWidget;

// The question when the user closes the program while clients still use it.
inline constexpr auto ComServerWarningCaption = "COM Server Warning";
QString ComServerWarningText();
// Asks it in a platform warning box with Yes and No, No being the default; true on Yes.
bool ConfirmCloseWithClients(QWidget *parent);
