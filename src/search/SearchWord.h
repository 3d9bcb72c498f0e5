#pragma once

#include "platform/TextEncoding.h"

#include <QString>
#include <QStringView>

// The search word as a search looks for it, prepared in one way wherever it
// is typed: the search settings dialog and the batch search both take it
// from here.
class SearchWord
{
public:
    enum class Problem { None, Empty, LineBreak, NotShiftJis };

    struct Prepared
    {
        QString word;    // what the search looks for
        Problem problem = Problem::None;
        QString message; // why it is refused; empty when it is not
    };

    // Leading and trailing spaces removed: half-width (U+0020) and
    // full-width (U+3000) only. Tabs and line breaks are text.
    static QString trimSpaces(QStringView text);

    // The characters that Linux input methods produce in place of their code
    // page 932 look-alikes (U+301C WAVE DASH for U+FF5E and the like)
    // replaced, so that what the user typed can match what a Shift-JIS file
    // holds.
    static QString convertLookAlikes(QString text);


    // Trimmed, look-alikes converted, then checked: not empty, no line break
    // (a line never holds one), and, when every file is read as code page
    // 932, every character with a code page 932 form (with detection, a UTF
    // file may hold any character).
    static Prepared Prepare(QStringView typed, EncodingChoice choice);
};
