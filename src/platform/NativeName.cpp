#include "platform/NativeName.h"

#include "platform/Cp932.h"

#include <QFile>

bool NativeName::isUtf8(QByteArrayView bytes)
{
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && uchar(c) < 0x80;
    if (ascii)
        return true;
    // Valid exactly when the text gives the same bytes back: overlong forms,
    // encoded surrogates and stray bytes all fail this.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

QString NativeName::decode(QByteArrayView bytes)
{
    return isUtf8(bytes) ? QString::fromUtf8(bytes) : Cp932::decode(bytes);
}

QString NativeName::decodePath(QByteArrayView path)
{
    QString out;
    qsizetype start = 0;
    for (;;) {
        const qsizetype slash = path.indexOf('/', start);
        const qsizetype end = slash < 0 ? path.size() : slash;
        out += decode(path.sliced(start, end - start));
        if (slash < 0)
            return out;
        out += QLatin1Char('/');
        start = slash + 1;
    }
}

QByteArray NativeName::encode(QStringView text)
{
    return QFile::encodeName(text.toString());
}

QByteArray NativeName::prefixBytes(QByteArrayView path, qsizetype chars)
{
    QByteArray out;
    qsizetype start = 0;
    while (chars > 0 && start <= path.size()) {
        const qsizetype slash = path.indexOf('/', start);
        const qsizetype end = slash < 0 ? path.size() : slash;
        const QByteArrayView part = path.sliced(start, end - start);
        const QString shown = decode(part);
        if (shown.size() <= chars) {
            out += part;
            chars -= shown.size();
            if (slash >= 0 && chars > 0) {
                out += '/';
                --chars;
            }
            start = end + 1;
            continue;
        }
        // Cut inside this name: the shortest run of its bytes that shows as
        // the first `chars` characters. Names are short; decoding each
        // candidate is cheap enough.
        const QStringView want = QStringView(shown).left(chars);
        const bool utf8 = isUtf8(part);
        for (qsizetype k = 1; k <= part.size(); ++k) {
            const QByteArrayView head = part.first(k);
            if ((utf8 ? QString::fromUtf8(head) : Cp932::decode(head)) == want) {
                out += head;
                break;
            }
        }
        break;
    }
    return out;
}
