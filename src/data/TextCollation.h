#pragma once

#include <QString>

#include <vector>

// The order in which lists show texts: as a Slovenian reader expects, without regard
// to case (c, č, ć, d, đ, ..., s, š, ..., z, ž), other accented letters with their base
// letter, digits before letters. Case and accents only break ties.
namespace TextCollation {

int compare(QStringView a, QStringView b);
int compareUtf8(const char *a, int lengthA, const char *b, int lengthB);

// Appends the text's primary weights, each cut to 16 bits: where two texts' weights
// differ (compared in order, the shorter first), they are ordered as compare() orders
// them; where they are equal, compare() decides. Sorting many texts compares mostly these.
void appendPrimaryWeights(QStringView text, std::vector<quint16> &weights);
// Compare texts by those weights alone. Texts in compare()'s order are in this order
// too; the texts whose weights begin with those of a prefix lie together in it.
int comparePrimary(QStringView a, QStringView b);
// 0 when the text's weights begin with the prefix's, otherwise on which side of those
// texts the text lies.
int comparePrimaryPrefix(QStringView text, QStringView prefix);

// Like with % and _ wildcards, without regard to case in any script.
bool like(QStringView pattern, QStringView text, QChar escape = QChar());

}
