#pragma once

#include "ContactCard.h"

#include <QByteArray>
#include <QList>

// vCard files (2.1, 3.0 and 4.0) read into contact cards and written from them.

// Reads every card of a file. A broken card is reported where it begins and keeps what
// could be read of it; the other cards are read as if it were not there.
ReadCards ReadVCards(const QByteArray &file);

enum class VCardVersion { V30, V40 };

// UTF-8 with CRLF line ends, lines folded at 75 octets.
QByteArray WriteVCards(const QList<ContactCard> &cards, VCardVersion version);
