// GetToken on any text, delimiter and field number: the fields, joined by the delimiter
// again, give back the text.

#include "FuzzSupport.h"
#include "PublicFunctions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<QByteArray> input = Fuzz::parts(data, size, 3);
    const QString delimiter = QString::fromUtf8(input[0]);
    const QString text = QString::fromUtf8(input[2]);
    GetToken(text, delimiter, input[1].toInt());
    if (delimiter.isEmpty())
        return 0;
    const QStringList fields = text.split(delimiter);
    // Fields are counted in eight bits, and an empty last field is no field.
    if (fields.size() > 255)
        return 0;
    for (int n = 1; n <= fields.size(); ++n) {
        const QString expected = n == fields.size() && fields.size() > 1 && fields.last().isEmpty() ? QString() : fields[n - 1];
        Fuzz::check(GetToken(text, delimiter, n) == expected, "a field as split", text);
    }
    Fuzz::check(GetToken(text, delimiter, int(fields.size()) + 1).isEmpty(), "nothing past the last field", text);
    return 0;
}
