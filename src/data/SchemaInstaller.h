#pragma once

class Database;

// Makes an empty database ready for the program: the tables, their indexes, and the
// rows an installation starts with (the user row, the own company, contact and alarm
// types, delete rules, code lists). The program itself never does this; the template
// database and the server set-up do. Run again on a database it prepared before, it
// adds only what that database lacks. All of it is one transaction, or a part of the
// caller's.
namespace SchemaInstaller {

void install(Database &database);
// The tables, their indexes and the change tracking, without rows, in the caller's
// transaction: for an empty database whose rows come from another one.
void installTables(const Database &database);

}
