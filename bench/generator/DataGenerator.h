#pragma once

#include <QtGlobal>

class Database;

// Synthetic persons for benchmarks and the demo: about one in eight a company, the others
// persons with Slovenian-looking names, many employed at one of the companies; each with
// about 4 contacts, 2 notes, 1 extra datum and 2 categories; most persons have their
// birthday as an alarm, and three in four persons and companies a reminder. The same seed gives the
// same persons.
namespace DataGenerator {

void addPersons(const Database &database, int count, quint32 seed = 1);

}
