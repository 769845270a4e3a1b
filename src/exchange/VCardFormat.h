#pragma once

#include "ContactCard.h"

#include <QByteArray>
#include <QList>

// vCard files (2.1, 3.0 and 4.0) read into contact cards and written from them.

#include <functional>

// Reads every card of a file. A broken card is reported where it begins and left out;
// the other cards are read as if it were not there.
ReadCards ReadVCards(const QByteArray &file);

// The same, each card handed to take as soon as it is read, so that a large file is never
// held as cards all at once; the problems are returned.
QList<CardProblem> ReadVCards(const QByteArray &file, const std::function<void(ContactCard &&card)> &take);

// The number of cards a file holds, counted cheaply for a progress bar.
qsizetype CountVCards(const QByteArray &file);

enum class VCardVersion { V30, V40 };

// UTF-8 with CRLF line ends, lines folded at 75 octets.
QByteArray WriteVCards(const QList<ContactCard> &cards, VCardVersion version);
