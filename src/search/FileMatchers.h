#pragma once

#include "platform/TextEncoding.h"
#include "search/WordMatcher.h"

#include <QByteArrayView>
#include <QString>

class EventPump;
struct ScannedFile;
struct SearchRequest;

// The search word as each encoding a file may have holds it: one byte
// matcher for code page 932, one for UTF-8, and the word itself for UTF-16
// files, which are decoded whole. With the choice Cp932 every file is code
// page 932 and the UTF-8 matcher is never used.
class FileMatchers
{
public:
    FileMatchers(const QString &word, bool ignoreCase, EncodingChoice choice);
    explicit FileMatchers(const SearchRequest &request);

    EncodingChoice choice() const { return m_choice; }
    bool detects() const { return m_choice == EncodingChoice::Detect; }
    const QString &word() const { return m_cp932.word(); }
    bool ignoreCase() const { return m_ignoreCase; }

    // The byte matcher for a file of code page 932 or UTF-8.
    const WordMatcher &forEncoding(TextEncoding e) const
    {
        return TextEncodings::isUtf8(e) ? m_utf8 : m_cp932;
    }
    const WordMatcher &cp932() const { return m_cp932; }
    const WordMatcher &utf8() const { return m_utf8; }
    // For tuning the anchor bytes.
    WordMatcher &cp932() { return m_cp932; }
    WordMatcher &utf8() { return m_utf8; }

    // A whole file's bytes, its mark included, decoded into its all-lines
    // entries and hit lines as its encoding says.
    void collect(TextEncoding e, QByteArrayView bytes, const QString &key, ScannedFile &out, EventPump *pump,
                 qint64 lineCount) const;
    // The text of a UTF-16 file (its bytes, mark included).
    static QString utf16Text(TextEncoding e, QByteArrayView bytes);

private:
    bool m_ignoreCase;
    EncodingChoice m_choice;
    WordMatcher m_cp932;
    WordMatcher m_utf8;
};
