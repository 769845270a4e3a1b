#pragma once

#include "Schema.h"

#include <QVariant>

#include <optional>

// A value brought from elsewhere, in the form the program uses for a column of ours:
// whole numbers for Long and Byte, a number for Double, bool for Yes/No, a moment for
// Date/Time, text for Text. Another type is converted as the original engine would (Yes
// is -1 as a number and "True" as text; numbers in text are read); nothing when the value
// has no meaning in that column (a word for a number, a picture for a text).
namespace ColumnValue {

std::optional<QVariant> convert(const Schema::Column &column, const QVariant &value);

// Whether a value is held as a number of some width, whole or not; as a whole one.
bool isNumber(const QVariant &value);
bool isWholeNumber(const QVariant &value);

}
