#pragma once

#include <QString>

// How names and accounts are written when persons are entered.

// First character in upper case, the rest in lower case ("mARIJA" becomes "Marija").
// The text is trimmed for the rule; when it is already so, it is returned unchanged,
// so that a blank typed after a well-written name stays.
QString CapitaliseName(const QString &text);

// Title, first, middle and surname joined by single blanks and trimmed; each double
// blank is then made single in one pass from the left, so two adjacent empty parts
// leave a double blank (as it always was).
QString ComposeFullName(const QString &title, const QString &first, const QString &middle, const QString &surname);

// A Slovenian bank account: blanks and "-" removed, empty is valid, otherwise exactly
// 15 digits whose value leaves 1 when divided by 97 (ISO 7064 MOD 97-10).
bool CheckAccountNumber(const QString &account);
