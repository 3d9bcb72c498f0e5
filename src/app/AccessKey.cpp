#include "app/AccessKey.h"

namespace {

// The marked character as written, or a null QChar.
QChar marked(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1];
    }
    return {};
}

// U+FF01..U+FF5E are the full-width forms of U+0021..U+007E.
QChar folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(char16_t(u - 0xFF01 + 0x21));
    return c;
}

} // namespace

QChar AccessKey::Of(const QString &caption)
{
    const QChar c = marked(caption);
    if (c.isNull())
        return {};
    return folded(c).toUpper();
}

bool AccessKey::needsFolding(const QString &caption)
{
    const QChar c = marked(caption);
    return !c.isNull() && folded(c) != c;
}
