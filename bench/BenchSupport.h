#pragma once

#include <QString>

#include <algorithm>
#include <functional>
#include <vector>

// Figures are printed one per line as "<figure> <persons> <value> <unit>", so that runs
// can be compared line by line.
namespace Bench {

void print(const char *figure, int persons, double value, const char *unit);
// Resident memory of the process, in megabytes.
double residentMegabytes();
// The median time of a few runs, in milliseconds.
double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &between = {});

}
