#pragma once

#include "workarea/LineFormat.h"

#include <QList>
#include <QString>
#include <QStringList>

class MessagePort;

// A display line whose text changed: its new fitted text, byte length (the
// line's ItemData) and character count (its Mojisuu_Count_List item).
struct DisplayChange
{
    int index = 0;
    FittedLine fitted;
};

// An all-lines entry whose text changed.
struct StoredChange
{
    int index = 0;
    QString entry;
};

// One execution of the replace dialog over the files it was given. The passes
// read lines and return what changed; the caller writes each change at its own
// index (an in-place text change: no entry moves, so a pass over the whole
// store stays linear).
class ReplacePass
{
public:
    static const QString kCaption;        // "置替", the dialog's messages
    static const QString kFailureCaption; // "置替処理"

    // compare as ReplaceInLine takes it: 0 letter case matters, 1 ignored.
    ReplacePass(const QString &search, const QString &replacement, qint16 compare);

    const QString &search() const { return m_search; }
    const QString &replacement() const { return m_replacement; }
    qint16 method() const { return m_method; }

    // A display line (the file's header and hit lines): true with the new
    // fitted line when the text after the line-number field changed. A header
    // never changes.
    bool Display_Line(const QString &item, FittedLine *fitted);
    // The same, the new line not yet fitted: for a caller that fits it where
    // it stores it (WorkArea::replaceDisplayLines).
    bool displayOutput(const QString &item, QString *output);
    // An all-lines entry: true with the new entry when the text after its
    // second ":@:" changed; key and line number never do.
    bool storedLine(const QString &entry, QString *output);
    // A line's text alone (a file's line read from disk): true with its new
    // text when it changed.
    bool plainLine(QStringView text, QString *output);

    // The display block of one file, items[first..last] (header included).
    QList<DisplayChange> displayPass(const QStringList &items, int first, int last);
    // The stored lines of one file, entries[first..last]. A file is changed
    // exactly when this returns something.
    QList<StoredChange> storedPass(const QStringList &entries, int first, int last);

    // Lines ReplaceInLine refused so far (they stay as they were).
    int failures() const { return m_failures; }
    // The failure message, once for the whole run, when a line was refused.
    void reportFailures(MessagePort &messages) const;

    // The checks of Execute, in order, each refusal shown through the port:
    // empty search text; a line break in either text; a replacement with
    // characters that a Shift-JIS file among the targets cannot hold
    // (shiftJisFiles: their names); an empty replacement (a question: Yes
    // deletes every occurrence); no target file; two or more files (a
    // notice, then on). true when the replacement may run.
    static bool checkRequest(const QString &search, const QString &replacement, int selectedFiles,
                              const QStringList &shiftJisFiles, MessagePort &messages);

    // After a run: when the replacement is not empty and the search string of
    // the work area is the replaced text (letter case included), asks whether
    // the replacement becomes the search string. true on Yes.
    static bool askAdoption(const QString &searchWord, const QString &search, const QString &replacement,
                             MessagePort &messages);

private:
    // A line of the given TextReplace kind: true with the new line when its
    // unprotected text changed; a refused line counts as a failure.
    bool replaceIn(qint16 kind, const QString &text, QString *output);

    QString m_search;
    QString m_replacement;
    qint16 m_compare;
    qint16 m_method;
    int m_failures = 0;
};
