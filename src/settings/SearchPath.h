#pragma once

#include "platform/DirectoryListing.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The search folder: entering folders through the process's current
// directory, the folder history of ten entries (SEARCH_PATH section) and the
// folder and file lists of the path browser.
class SearchPath
{
public:
    static constexpr int kHistory = 10;

    // 1 while the folder history dialog was opened from the search settings
    // dialog: it then returns to that dialog and updates its path label.
    static inline qint16 Folder_From_Search_Flg = 0;

    // The process's current directory as the program shows it: "/" for the
    // root, no trailing "/" otherwise. Empty when it no longer exists.
    static QString currentDirectory();

    // Enters a folder. 0 when it was entered or is already current; 9 when it
    // cannot be (missing, not a folder, no permission, empty path), in which
    // case the current directory is left as it was. Reports nothing itself.
    static qint16 Change_Folder(const QString &path);

    // Enters a folder for browsing and makes sure it can be listed; on failure
    // the current directory is as before and *why holds a Japanese reason.
    static bool enterForBrowsing(const QString &path, QString *why);

    // Records a folder ("選択・登録" with the box ticked): an entry equal to it
    // becomes the default (the last such entry counts); otherwise it goes to
    // entry 0, entry 9 drops out, default 0. Folders compare exactly: /Data
    // and /data are two folders, and the default must name the one chosen.
    static void recordFolder(std::array<QString, kHistory> &history, qint32 &defaultIndex,
                              const QString &folder);

    // The ten lines of the history dialog: "* " before the default entry,
    // two spaces before the others, empty entries included.
    static QStringList historyLines(const std::array<QString, kHistory> &history, qint32 defaultIndex);

    struct FolderLists
    {
        QStringList folders; // List1: ".." and plain subfolders
        QStringList files;   // List2: files and folders with further attributes
    };
    // The lists of the path browser for one folder's entries (listing order).
    // ".." comes first unless the folder is the root.
    static FolderLists Fill_Folder_Lists(const QList<DirEntry> &entries, bool isRoot);
    // The same for a folder on disk; false with a Japanese reason when it
    // cannot be listed.
    static bool Fill_Folder_Lists(const QString &folder, FolderLists &lists, QString *why);

    // The drive list: "/" and the mounted volumes below /media, /mnt and
    // /run/media, in that order and each once.
    static QStringList driveList(const QStringList &mountPoints);
    static QStringList driveList();
    // The drive a folder lies on: the longest drive that contains it.
    static QString driveOf(const QStringList &drives, const QString &folder);
};
