#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <utility>

namespace TextCodec {

static QByteArray &legacyName()
{
    static QByteArray name = QByteArrayLiteral("windows-1250");
    return name;
}

QByteArray setLegacyCodePage(const QByteArray &name)
{
    return std::exchange(legacyName(), name);
}

QString decode(const QByteArray &bytes, Encoding *found)
{
    Encoding encoding = bytes.startsWith("\xEF\xBB\xBF") ? Encoding::Utf8WithBom : Encoding::Utf8;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        QStringDecoder legacy(legacyName().constData());
        if (legacy.isValid()) {
            text = legacy(bytes);
            encoding = Encoding::Windows1250;
        } else {
            encoding = Encoding::Undecodable;
        }
    }
    if (found)
        *found = encoding;
    return text;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Windows1250) {
        QStringEncoder legacy(legacyName().constData());
        QByteArray bytes = legacy(text);
        // The converter may substitute what the code page lacks; only a faithful round trip will do.
        if (!legacy.hasError() && QString(QStringDecoder(legacyName().constData())(bytes)) == text)
            return bytes;
    }
    QStringEncoder utf8(QStringEncoder::Utf8, encoding == Encoding::Utf8WithBom
                                                  ? QStringEncoder::Flag::WriteBom
                                                  : QStringEncoder::Flag::Default);
    return utf8(text);
}

}
