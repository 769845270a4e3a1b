#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program are UTF-8; files written by older installations are
// Windows-1250. Decoding tells which one it found so that a rewrite keeps it.
namespace TextCodec {

enum class Encoding { Utf8, Utf8WithBom, Windows1250 };

QString decode(const QByteArray &bytes, Encoding *found = nullptr);
// Falls back to UTF-8 when the text does not fit the legacy code page, so nothing is lost.
QByteArray encode(const QString &text, Encoding encoding);

}
