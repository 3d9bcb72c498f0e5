#pragma once

#include <QString>

// Replacing a text inside one line of the work area: the one routine that the
// replace dialog and template duplication share.
class TextReplace
{
public:
    // kind: what the line is, and so which of its leading part is protected.
    static constexpr qint16 kDisplayLine = 1; // "000012:" of a hit line; headers untouched
    static constexpr qint16 kStoredLine = 2;  // key ":@:" line number ":@:" of an all-lines entry
    static constexpr qint16 kPlainText = 3;   // nothing protected
    // method
    static constexpr qint16 kOverwrite = 1; // in place; the line keeps its length
    static constexpr qint16 kSplice = 2;
    // compare
    static constexpr qint16 kExactCase = 0;
    static constexpr qint16 kIgnoreCase = 1;
    // results
    static constexpr int kDone = 0;
    static constexpr int kBadKind = 91;
    static constexpr int kBadMethod = 92;
    static constexpr int kEmptySearch = 93;
    static constexpr int kBadCompare = 94;

    // Replaces every occurrence of search in line, left to right, without
    // overlaps; text put in is never searched again. Occurrences are found by
    // the search's own comparison (TextMatch; compare 1 folds ASCII and
    // full-width Latin, Greek, Cyrillic, Roman numerals), so that every hit
    // the search listed is replaced. On return, line holds the replaced text
    // without its protected prefix, output the whole new line (also when
    // nothing changed) and changed 1 when something was replaced. A non-zero
    // result writes none of line, output and changed.
    static int ReplaceInLine(qint16 kind, qint16 method, QString &line, const QString &search, qint16 compare,
                             const QString &replacement, QString &output, qint16 &changed);

    // The method callers choose: overwrite when both texts have the same
    // number of characters, else splice.
    static qint16 methodFor(const QString &search, const QString &replacement)
    {
        return search.size() == replacement.size() ? kOverwrite : kSplice;
    }
};
