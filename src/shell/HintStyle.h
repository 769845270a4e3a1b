#pragma once

#include <QColor>

// Hints appear after 100 ms, in the title strip's colours.
void ApplyHintStyle(const QColor &background, const QColor &text);
