#pragma once

#include <QColor>

// Hints appear after 100 ms: set once for the whole program, before its windows exist.
void InstallHintPause();
// Hints in the given colours (the title strip's).
void ApplyHintColours(const QColor &background, const QColor &text);
