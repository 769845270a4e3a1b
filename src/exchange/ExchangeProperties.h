#pragma once

#include "ContactCard.h"

#include <utility>

// How the program's own data goes into the properties of a card and comes back.

// The kinds of contact types.
namespace ContactKind {
enum : int { Unknown = 0, Email = 1, Internet = 2, Telephone = 3, Mobile = 4, Fax = 5, PostalAddress = 6, Person = 7 };
}

// A contact of a kind no format has a property for: "<type name>: <value>".
inline constexpr auto ContactProperty = "X-VELDRA-KONTAKT";
// Extra data whose name is no property's: "<name>: <value>".
inline constexpr auto ExtraProperty = "X-VELDRA-DODATNO";

// The extra data a property becomes: its name ("NICKNAME" is "Vzdevek") and value.
std::pair<QString, QString> ExtraFieldOfProperty(const CardProperty &property);
// And back.
CardProperty PropertyOfExtraField(const QString &field, const QString &value);

// "<name>: <value>" of the two properties above, split.
std::pair<QString, QString> NamedValue(const QString &text);
