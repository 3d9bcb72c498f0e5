#pragma once

#include "workarea/LineFormat.h"

#include <QString>

// Composing all-lines entries when an editor puts a file's lines back.
class StoredEntry
{
public:
    // key ":@:" line number ":@:" text, in one allocation: a reflect writes
    // tens of thousands of them.
    static QString Make(const QString &key, const QString &lineNo, const QString &text)
    {
        QString entry;
        entry.reserve(key.size() + lineNo.size() + text.size() + 2 * LineFormat::kSeparator.size());
        entry.append(key).append(LineFormat::kSeparator).append(lineNo).append(LineFormat::kSeparator).append(text);
        return entry;
    }
};
