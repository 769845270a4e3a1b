// The vCard reader on any file, and its cards written in both versions read again whole.

#include "FuzzSupport.h"
#include "VCardFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const ReadCards read = ReadVCards(file);
    CountVCards(file);
    // A file without cards is reported as such, the written one too.
    if (read.Cards.isEmpty())
        return 0;
    for (const VCardVersion version : {VCardVersion::V30, VCardVersion::V40}) {
        const ReadCards again = ReadVCards(WriteVCards(read.Cards, version));
        Fuzz::check(again.Problems.isEmpty(), "written cards read without a problem",
                    again.Problems.isEmpty() ? QString() : again.Problems.first().Reason);
        Fuzz::check(again.Cards.size() == read.Cards.size(), "every written card is read");
    }
    return 0;
}
