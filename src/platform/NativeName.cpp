#include "platform/NativeName.h"

#include "platform/Cp932.h"

#include <QFile>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

} // namespace

bool NativeName::isUtf8(QByteArrayView bytes)
{
    // Valid exactly when the text gives the same bytes back: overlong forms,
    // encoded surrogates and stray bytes all fail this.
    return isAscii(bytes) || QString::fromUtf8(bytes).toUtf8() == bytes;
}

QString NativeName::decode(QByteArrayView bytes)
{
    // Every name of a folder is decoded on each search: decoded once here.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes)
        return text;
    return Cp932::decode(bytes);
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

QByteArray NativeName::currentFolder()
{
    QByteArray buffer(PATH_MAX, Qt::Uninitialized);
    if (!::getcwd(buffer.data(), size_t(buffer.size())))
        return QByteArray();
    buffer.truncate(qsizetype(std::strlen(buffer.constData())));
    return buffer;
}

QByteArray NativeName::absolutePath(QByteArrayView path)
{
    const QByteArray whole = path.startsWith('/') ? path.toByteArray() : currentFolder() + '/' + path.toByteArray();
    QList<QByteArray> kept;
    for (const QByteArray &part : whole.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(part);
    }
    return '/' + kept.join('/');
}

QByteArray NativeName::realFile(const QByteArray &path)
{
    char *real = ::realpath(path.constData(), nullptr);
    if (!real)
        return path;
    QByteArray out(real);
    std::free(real);
    return out;
}
