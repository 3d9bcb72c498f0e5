#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class WorkArea;

// Text that a user types into the work area (a replacement, an edited or
// inserted line) ends up in its file when saved. A Shift-JIS file cannot
// hold a character without a code page 932 form (it would be written as
// "?"), so such text is refused where it is typed, with the characters and
// the Shift-JIS files named; a UTF file holds every character.
class UnsavableText
{
public:
    // Empty when text can be saved in every file of shiftJisFiles (the
    // Shift-JIS files among those the text goes to: none, and nothing is
    // refused); otherwise the refusal message, beginning with what (the
    // field's name, "置替文字"), naming the characters without a code page
    // 932 form, each once, in order of appearance (the search dialog refuses
    // the same characters in a search string), then the files, one a line
    // (the first few and how many more).
    static QString Refusal(const QString &what, const QString &text, const QStringList &shiftJisFiles);

    // The keys of those of files (indexes into the work area's file list)
    // that were read as code page 932.
    static QStringList shiftJisFiles(const WorkArea &work, const QList<int> &files);
};
