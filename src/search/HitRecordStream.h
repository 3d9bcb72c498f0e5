#pragma once

#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

struct SearchRequest;
struct WalkFile;

// A search that hands every file with a hit to the caller, in the search's
// order, with its hit lines as HitLines records (number, place in the file,
// text), read by the scan pool ahead of the caller. Nothing else of a file
// is decoded or kept, and a file's records come in pieces of bounded size, so
// memory stays bounded however large the files are and however many lines
// they have.
class HitRecordStream
{
public:
    struct File
    {
        const WalkFile &walk;
        TextEncoding encoding;
        // As the file was when opened.
        qint64 size = 0;
        qint64 modifiedNsecs = 0; // since 1970
    };
    // The next piece of a file's records, in the file's order.
    using Records = std::function<void(const File &file, QByteArrayView records)>;
    // The file's pieces are all given; complete false: it could not be read
    // to its end (why is among the outcome's skipped), and the pieces given
    // are not all of its hits.
    using Done = std::function<void(const File &file, bool complete)>;

    struct Outcome
    {
        int files = 0;       // files with a hit
        QStringList skipped; // files and folders that could not be read, with the reason
    };

    // The walk and the word as the request has them.
    static Outcome run(const SearchRequest &request, const Records &records, const Done &done);
};
