#pragma once

#include <QStringView>

// The one comparison by which the program finds a word in a line: the search
// confirms its hits with it, replace replaces what it finds and the views
// colour what it finds, so that a hit the search listed is the text replace
// changes and the views mark.
//
// Ignoring case is Unicode simple case folding on each character: ASCII and
// full-width Latin letters, Greek, Cyrillic and Roman numerals fold; half-width
// and full-width forms, and hiragana and katakana, stay different. A match is
// as long as the word.
class TextMatch
{
public:
    // The first position >= from where word stands in text, or -1 (also
    // when from lies beyond the end). An empty word stands at from: callers
    // that loop over matches refuse an empty word first.
    static qsizetype indexIn(QStringView text, QStringView word, bool ignoreCase, qsizetype from = 0)
    {
        if (from < 0 || from > text.size())
            return -1;
        const bool folding = ignoreCase && !caseless(word);
        return text.indexOf(word, from, folding ? Qt::CaseInsensitive : Qt::CaseSensitive);
    }

    static bool contains(QStringView text, QStringView word, bool ignoreCase)
    {
        return indexIn(text, word, ignoreCase) >= 0;
    }

private:
    // Kana, kanji and the CJK punctuation have no case, and no character
    // folds to one of them: a word of them alone is found where it is written
    // exactly, and the exact search is several times faster.
    static bool caseless(QStringView word)
    {
        for (QChar c : word) {
            const char16_t u = c.unicode();
            if (!((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF)
                  || (u >= 0xFF66 && u <= 0xFF9F)))
                return false;
        }
        return true;
    }
};
