#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace TextCodec {

static constexpr char legacyName[] = "windows-1250";

QString decode(const QByteArray &bytes, Encoding *found)
{
    Encoding encoding = bytes.startsWith("\xEF\xBB\xBF") ? Encoding::Utf8WithBom : Encoding::Utf8;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder legacy(legacyName);
        text = legacy(bytes);
        encoding = Encoding::Windows1250;
    }
    if (found)
        *found = encoding;
    return text;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Windows1250) {
        QStringEncoder legacy(legacyName);
        QByteArray bytes = legacy(text);
        // The converter may substitute what the code page lacks; only a faithful round trip will do.
        if (!legacy.hasError() && QString(QStringDecoder(legacyName)(bytes)) == text)
            return bytes;
    }
    QStringEncoder utf8(QStringEncoder::Utf8, encoding == Encoding::Utf8WithBom
                                                  ? QStringEncoder::Flag::WriteBom
                                                  : QStringEncoder::Flag::Default);
    return utf8(text);
}

}
