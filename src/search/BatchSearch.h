#pragma once

#include <QStringList>

// "quav search [options] WORD": the search run without a window, for scripts,
// tests and the benchmark. Exit status as grep: 0 when at least one file was
// added to the result, 1 when none was, 2 on an error.
class BatchSearch
{
public:
    // processEndsAfter: the caller ends the process right after, so the work
    // area is left to the system rather than freed entry by entry.
    static int run(const QStringList &args, bool processEndsAfter = false);
    static QString helpText();
};
