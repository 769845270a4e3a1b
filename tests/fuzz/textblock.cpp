// Text blocks of LastVer.ini: the about window's news and the main window's notice, and a
// block of any name; each line of a block comes with CR LF.

#include "FuzzSupport.h"
#include "TextBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    const QList<QByteArray> input = Fuzz::parts(data, size, 2);
    const QString path = Fuzz::writeFile(QStringLiteral("LastVer.ini"), input[1]);
    for (const QString &name : {QStringLiteral("Novosti"), QStringLiteral("Obvestilo"), QString::fromUtf8(input[0])}) {
        const QString block = ReadTextBlock(path, name);
        Fuzz::check(block.isEmpty() || block.endsWith(QLatin1String("\r\n")), "a block's lines end with CR LF", name);
    }
    return 0;
}
