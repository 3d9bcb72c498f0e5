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
        return text.indexOf(word, from, ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
    }

    static bool contains(QStringView text, QStringView word, bool ignoreCase)
    {
        return indexIn(text, word, ignoreCase) >= 0;
    }
};
