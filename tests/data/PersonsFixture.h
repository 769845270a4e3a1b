#pragma once

class Database;

// A handful of persons that show what each search and list must do:
//   1 Ana Novak        three contacts, categories Stranke and Dobavitelji, a note, extra data,
//                      a birthday, place Ljubljana, employed at 3
//   2 Bojan Čeh        one contact, categories Dobavitelji and Poslovni partnerji, two notes,
//                      no place, employed at 5, linked with program "AB" as record 77
//   3 Čebelica d.o.o.  a company, one contact, category Stranke, place Maribor
//   4 Cvetka Zupan     nothing but her name
//   5 Alfa d.o.o.      a company with the same e-mail address twice
void insertPersonsFixture(const Database &database);
