#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: one application object, a folder of its own, and the
// input cut into the parts a target feeds to different places.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace Fuzz {

// Makes the application object on first use, offscreen, with settings and program files
// in a temporary folder of the run (ProgramPaths points into it).
void startApplication(bool widgets = false);

// The run's temporary folder, ending in "/".
QString folder();

// Writes the bytes to the file of that name in the run's folder and returns its path.
QString writeFile(const QString &name, const QByteArray &bytes);

// The input as text parts separated by NUL bytes; missing parts are empty.
QList<QByteArray> parts(const std::uint8_t *data, std::size_t size, int count);

// A property the reader must keep; a broken one stops the run as a crash would, so the
// fuzzer keeps the input.
void check(bool holds, const char *what, const QString &detail = QString());

}
