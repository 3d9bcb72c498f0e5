#pragma once

#include <QString>
#include "search/BatchCommandLine.h"
#include "search/BatchCommandText.h"

#include <QStringList>

#include <cstdio>

// "quav duplicate": template duplication without a window. Every template is
// read as template read does, the parameter card is read and committed as the
// parameter dialog does, every template is duplicated for every parameter,
// and every new file is saved. Standard output gets the path of each new file
// written (or, with --dry-run, that would be written); messages go to
// standard error. Exit status 0 when every new file was written, 2 otherwise.
class BatchDuplicate
{
public:
    // argv: the arguments after "duplicate", bytes as given.
    static int run(const QList<QByteArray> &argv, std::FILE *out = stdout, std::FILE *err = stderr);
    static int run(const QStringList &args, std::FILE *out = stdout, std::FILE *err = stderr)
    {
        return run(BatchArguments::bytesOf(args), out, err);
    }
    static BatchCommandText text();
    static QString helpText();
};
