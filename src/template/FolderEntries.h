#pragma once

#include "platform/DirectoryListing.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// The folder and file lists of the template-read and parameter-card dialogs.
//
// Unlike the search walk, a name's identifier is the whole text after its
// last "." and is compared with the identifier list with letter case
// significant: readme.txt is not offered for TXT.
class FolderEntries
{
public:
    // Both in listing order (upper case, then the exact name).
    QStringList folders; // ".." and the plain sub-folders
    QStringList files;   // names whose identifier is a non-empty entry of SIKIBETU

    // Sorts a folder's entries into the two lists. Only a plain directory is
    // a folder; a hidden, read-only or linked one is treated like a file. Any
    // other entry named "RECYCLED" is left out. ".." is offered everywhere
    // but at "/".
    static FolderEntries ListFolderEntries(const QString &folder, const QList<DirEntry> &entries,
                                           const std::array<QString, 20> &SIKIBETU);
    // Lists the folder from disk; false with the reason when it cannot be read.
    static bool ListFolderEntries(const QString &folder, const std::array<QString, 20> &SIKIBETU,
                                  FolderEntries &out, QString *error = nullptr);

    // The text after the last "." of a name, empty when it has none.
    static QString identifierOfName(QStringView name);
};
