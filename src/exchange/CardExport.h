#pragma once

#include "ContactCard.h"

#include <functional>
#include <optional>

class Database;

// The persons as cards, in the order of ids (all persons and companies when ids is
// empty), each once: the person's name and kind, the employer and function, the
// address, the office telephone, the contacts by their kind, notes, categories and extra
// data. Contacts of no exchanged kind and extra data without a property of their own go
// as X-VELDRA properties, so that an import of the file restores them.
QList<ContactCard> ExportCards(const Database &database, const QList<qint64> &ids = {});

// The same, telling progress how many of its steps are done (of ExportSteps) before each;
// when progress answers false the export stops and gives nothing.
inline constexpr int ExportSteps = 5;
std::optional<QList<ContactCard>> ExportCards(const Database &database, const QList<qint64> &ids,
                                              const std::function<bool(int done)> &progress);
