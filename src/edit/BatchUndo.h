#pragma once

#include "search/BatchCommandText.h"

#include <QString>
#include <QStringList>

// "quav undo": puts the files of a save batch back from the undo journal
// (UndoRestore). Without an id the newest batch not yet undone; "--list"
// lists the batches; "--dry-run" writes nothing; "--keep ID" keeps what a
// batch cut short by a crash wrote. Standard output: each file put back (or,
// on a dry run, to be put back), its path's bytes, one a line; messages on
// standard error. Exit status: 0 every file put back, 1 nothing to undo,
// 2 an error or a file not put back.
class BatchUndo
{
public:
    static int run(const QStringList &args);
    static BatchCommandText text();
    static QString helpText();
    // For standard error at the start of every batch command: the batches a
    // crash cut short, the files they wrote, and what to do about them;
    // empty when there are none.
    static QString interruptedNotice();
};
