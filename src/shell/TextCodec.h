#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program are UTF-8; files written by older installations are
// Windows-1250. Decoding tells which one it found so that a rewrite keeps it.
namespace TextCodec {

// Undecodable: not UTF-8, and the legacy code page is not available here (Qt built
// without it). The text is then read as far as UTF-8 goes; such a file must not be
// written back, or its letters would be lost.
enum class Encoding { Utf8, Utf8WithBom, Windows1250, Undecodable };

QString decode(const QByteArray &bytes, Encoding *found = nullptr);
// Falls back to UTF-8 when the text does not fit the legacy code page, so nothing is lost.
QByteArray encode(const QString &text, Encoding encoding);

// Names the legacy code page and returns the name it replaces: tests name one the
// platform lacks.
QByteArray setLegacyCodePage(const QByteArray &name);

}
