#pragma once

#include <QString>

// The three-letter abbreviation of a language identifier (36 and 1060 are SLV,
// 9 and 1033 ENU); empty for an identifier the program does not know.
QString LanguageAbbreviation(int languageId);

// Chooses the language module: the program file's name with the extension replaced by the
// abbreviation (veldra.SLV), else by its first two letters (veldra.SL); without either the
// program's own texts stay. Returns the module file loaded, or empty text.
QString SetLanguage(int languageId);
