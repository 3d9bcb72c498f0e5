#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// The program's one rule for upper case: code unit by code unit, with
// QChar's simple mapping, so that a key keeps the length of the path it
// stands for. Paths are mostly ASCII: those units skip the table look-up.
class TextCase
{
public:
    static char16_t upperUnit(char16_t c)
    {
        if (c < 0x80)
            return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
        return QChar(c).toUpper().unicode();
    }

    static QString upperUnits(QStringView text)
    {
        QString out(text.size(), Qt::Uninitialized);
        char16_t *p = reinterpret_cast<char16_t *>(out.data());
        const char16_t *s = text.utf16();
        for (qsizetype i = 0; i < text.size(); ++i)
            p[i] = upperUnit(s[i]);
        return out;
    }
};
