#pragma once

#include "search/BatchCommandLine.h"
#include "search/BatchCommandText.h"

#include <QStringList>

// "quav search [options] WORD": the search run without a window, for scripts,
// tests and the benchmark. Exit status as grep: 0 when at least one file was
// added to the result (with -l or -n: had a hit), 1 when none was, 2 on an
// error.
class BatchSearch
{
public:
    // argv: the arguments after "search", bytes as given. processEndsAfter:
    // the caller ends the process right after, so the work area is left to
    // the system rather than freed entry by entry.
    static int run(const QList<QByteArray> &argv, bool processEndsAfter = false);
    static int run(const QStringList &args) { return run(BatchArguments::bytesOf(args)); }
    static BatchCommandText text();
    static QString helpText();
};
