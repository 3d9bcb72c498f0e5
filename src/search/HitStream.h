#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

struct Settings;

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

    // The walk as Settings choose it (identifiers, subfolders) below root,
    // shown and as on disk.
    static Outcome run(const Settings &settings, const QString &word, bool ignoreCase, const QString &root,
                       const QByteArray &nativeRoot, What what, std::FILE *out);
};
