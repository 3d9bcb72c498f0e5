#pragma once

#include <QStringList>

// "quav search [options] WORD": the search run without a window, for scripts,
// tests and the benchmark. Exit status as grep: 0 when at least one file was
// added to the result, 1 when none was, 2 on an error.
class BatchSearch
{
public:
    static int run(const QStringList &args);
    static QString helpText();
};
