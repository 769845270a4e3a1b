#pragma once

#include <QString>
#include <QVariant>

// Routines shared by every part of the program.

inline constexpr auto ApplicationTitle = "Veldra";

QString GetProgramVersion();
QString GetComputerNameText();
QString GetUserNameText();

// The n-th field (from 1) of a text split at a delimiter; empty when there is no such field.
QString GetToken(const QString &text, const QString &delimiter, int n);

// Blank text becomes a database null; anything else is kept as it is.
QVariant TextToVariant(const QString &text);
// Null (or a value that is no whole number) gives 0.
int VariantToInt(const QVariant &value);

// The program's own modal message box; see TFMessageBox for the kinds and results.
int ShowMessageBox(const QString &text, int kind);

// Opens a file, folder or address with the desktop's default handler.
bool OpenDocument(const QString &path);
// The same, with the file's folder as the working folder of what is started.
bool OpenDocumentInFolder(const QString &path);
