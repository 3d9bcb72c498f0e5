#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class WorkArea;
class SikibetuMatcher;

// One file of a chosen identifier met by the walk.
struct WalkFile
{
    QString dir;       // Current_Dir: the folder as on disk, ending in "/"
    QString name;      // the name as on disk
    QString upperName; // the name in upper case
    qint64 size = 0;     // set once the file is open
    QDateTime modified;  // set once the file is open

    QString realPath() const { return dir + name; }
};

// The folder walk: lists each folder whole before entering any of its
// subfolders, hands its files with a chosen identifier to the visitor, in
// listing order and all at once (so that they can be read ahead), then descends depth-first into the plain subfolders (not
// hidden, not read-only, not a link) when subfolders are wanted.
//
// The process's current directory is never changed; instead Search_Path holds
// the folder being listed (no trailing "/" except for the root) and
// Current_Dir the same with "/", as the rest of the program expects. Each
// level restores both for its parent when it returns.
//
// Search_Running is tested before each folder and before each subfolder; the
// visitor tests it after each file, and finishes a file it has begun.
class FolderWalk
{
public:
    using FileVisitor = std::function<void(const QList<WalkFile> &)>;
    // A folder that cannot be listed: skipped; the reason goes here.
    using SkipNote = std::function<void(const QString &)>;

    FolderWalk(WorkArea &work, const SikibetuMatcher &sikibetu, bool subDirs, FileVisitor visit,
               SkipNote skipped);

    // Walks Current_Dir (set from Search_Path when it has no trailing "/").
    void Walk_Folder();

private:
    void walk(QString dir); // by value: Current_Dir changes under it

    WorkArea &m_work;
    const SikibetuMatcher &m_sikibetu;
    bool m_subDirs;
    FileVisitor m_visit;
    SkipNote m_skipped;
};
