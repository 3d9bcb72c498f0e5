#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class WorkArea;
class SikibetuMatcher;

// One file of a chosen identifier met by the walk.
struct WalkFile
{
    QString dir;       // the folder as on disk, ending in "/"
    QString name;      // the name as on disk
    QString upperName; // the name in upper case
    qint64 size = 0;     // set once the file is open
    QDateTime modified;  // set once the file is open

    QString realPath() const { return dir + name; }
};

// The folder walk, one folder at a time in the order the search visits them:
// a folder's listing is taken whole before any of its subfolders, its files
// come first, then its plain subfolders (not hidden, not read-only, not a
// link), depth-first, in listing order, when subfolders are wanted.
//
// The walk is a cursor rather than a recursion so that the run can list the
// next folders while the files of the present one are still being read. It
// never changes the process's current directory; the run sets Search_Path
// and Current_Dir to the folder whose files it scans.
class FolderWalk
{
public:
    // A folder that cannot be listed: skipped; the reason goes here.
    using SkipNote = std::function<void(const QString &)>;

    FolderWalk(const QString &root, const SikibetuMatcher &sikibetu, bool subDirs, SkipNote skipped);

    // The next folder's files with a chosen identifier (possibly none), in
    // listing order; false when the walk is done. folder ends in "/".
    bool Next_Folder(QString &folder, QList<WalkFile> &files);

private:
    struct Level
    {
        QString dir;
        QStringList subDirs;
        qsizetype next = 0;
    };

    const SikibetuMatcher &m_sikibetu;
    bool m_subDirs;
    SkipNote m_skipped;
    QString m_pending; // the folder to list next; empty when none
    std::vector<Level> m_stack;
};
