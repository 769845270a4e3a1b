#pragma once

#include <QString>

// "_errors_log.txt" in the program folder (the user's state folder when the program
// folder cannot be written): unexpected errors, each with where and when it happened.
// A new file begins with a header block that describes the machine.
namespace ErrorLog {

struct Entry
{
    QString exceptionClass;
    QString place;   // where the error surfaced
    QString message; // the error's own text
    QString userMessage; // what the user was shown
};

QString fileName();
QString headerBlock();
// Appends the entry; returns the path written, empty when no log could be written.
QString append(const Entry &entry);

}
