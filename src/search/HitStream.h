#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

struct SearchRequest;

// A search that streams its hits instead of filling the work area: every file
// of the walk, in the search's order, is read by the scan pool and what it
// holds written out at once, so memory stays bounded however many files and
// hits there are. Files: the path of each file with a hit, read no further
// than its first hit. Lines: each hit line as "path:line:text" (HitLines).
// Paths are the bytes on disk.
class HitStream
{
public:
    enum class What { Files, Lines };

    struct Outcome
    {
        int files = 0;        // files with a hit
        QStringList skipped;  // files and folders that could not be read, with the reason
        QString outputError;  // out did not take everything; the run stopped there
    };

    // The walk and the word as the request has them; it writes no result
    // file and shows no time stamps.
    static Outcome run(const SearchRequest &request, What what, std::FILE *out);
};
