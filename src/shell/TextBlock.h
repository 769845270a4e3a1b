#pragma once

#include <QString>

// A text block of a file such as LastVer.ini: the lines after a line that contains
// "[" + name + "]" up to the next line that contains "[END]" (both found anywhere in the
// line, without regard to case), each line followed by CR LF. A block without an end runs
// to the end of the file; a second start line within it starts it again; a missing block
// or file gives empty text.
QString ReadTextBlock(const QString &fileName, const QString &blockName);
