#pragma once

#include "search/BatchCommandLine.h"
#include "search/BatchCommandText.h"

#include <QStringList>

// "quav replace [options] --with TEXT WORD": the batch search for WORD, then
// every occurrence replaced in the stored lines of every file with a hit and
// the changed files saved, without a window. One line per changed file on
// standard output (its path's bytes, a TAB, its number of changed lines);
// messages on standard error. Exit status: 0 when a file changed and every
// one was written, 1 when nothing changed, 2 on an error or when any file
// was not written.
class BatchReplace
{
public:
    // argv: the arguments after "replace", bytes as given.
    static int run(const QList<QByteArray> &argv);
    static int run(const QStringList &args) { return run(BatchArguments::bytesOf(args)); }
    static BatchCommandText text();
    static QString helpText();
};
