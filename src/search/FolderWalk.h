#pragma once

#include "search/SikibetuMatcher.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct SearchRequest;

// One file of a chosen identifier met by the walk.
struct WalkFile
{
    QString dir;       // the folder as shown (NativeName), ending in "/"
    QString name;      // the name as shown
    QByteArray nativeDir;  // the folder's bytes as on disk, ending in "/"
    QByteArray nativeName; // the name's bytes as on disk
    qint64 size = 0;          // set once the file is open
    qint64 modifiedNsecs = 0; // since 1970; set once the file is open
    QDateTime modified;       // for the header; set once the file is open

    // The file's key in the work area: its path as on disk, as shown.
    QString realPath() const { return dir + name; }
    QByteArray nativePath() const { return nativeDir + nativeName; }
};

// The folder walk, one folder at a time in the order the search visits them:
// a folder's listing is taken whole before any of its subfolders, its files
// come first, then its plain subfolders (not hidden, not read-only, not a
// link), depth-first, in listing order, when subfolders are wanted.
//
// Folders are walked by their bytes as on disk, so a folder whose name is not
// UTF-8 is listed and entered like any other; only the shown paths are
// decoded (NativeName). A path that cannot be a work-area key (LineFormat::
// holdsKey) is not searched: such a file, or such a folder with everything
// in it, is skipped with a note; so is the second of two names in a folder
// that show alike (and would share one key).
//
// The walk is a cursor rather than a recursion so that the run can list the
// next folders while the files of the present one are still being read. It
// never changes the process's current directory; the run sets Search_Path
// and Current_Dir to the folder whose files it scans.
class FolderWalk
{
public:
    // A folder that cannot be listed, or a path that cannot be held: skipped;
    // the path and the reason go here.
    using SkipNote = std::function<void(const QString &)>;

    static const QString kNameNotHeld;      // the note for a name holding ":@:"
    static const QString kNameShownTwice;   // the note for a second name that shows as the first

    // Below the request's root (by its bytes when it has them), its
    // identifiers, into subfolders when it asks for them.
    FolderWalk(const SearchRequest &request, SkipNote skipped);

    // The next folder's files with a chosen identifier (possibly none), in
    // listing order; false when the walk is done. folder ends in "/".
    bool nextFolder(QString &folder, QList<WalkFile> &files);

private:
    struct Dir
    {
        QString shown;     // ends in "/"
        QByteArray native; // ends in "/"
    };
    struct Level
    {
        Dir dir;
        std::vector<Dir> subDirs;
        size_t next = 0;
    };
    void skip(const QString &path, const QString &reason);

    const SikibetuMatcher m_sikibetu;
    bool m_subDirs;
    SkipNote m_skipped;
    Dir m_pending; // the folder to list next; empty when none
    std::vector<Level> m_stack;
};
